#pragma once
#include <string_view>

namespace cad {

// Matches text against a wildcard pattern in the editor's syntax, the one used by selection
// filters and name lookups:
//   *  any run of characters (also none)     ?  any one character
//   #  any one digit                         @  any one letter
//   .  any one character that is neither letter nor digit
//   [abc] [a-z]  any one of the set           [~abc]  any one character not in the set
//   ~  at the start of a pattern: anything the rest does not match
//   `  takes the next character literally    ,  separates alternatives (any may match)
// With ignoreCase, letters compare without regard to case (filters on names and types do).
bool wildcardMatch(std::string_view text, std::string_view pattern, bool ignoreCase = false);

}  // namespace cad
