#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "engine/text/Utf8.h"

namespace cad {

// A stretch of a single-line text with a line under, over or through it ('u', 'o', 'k'); byte
// offsets into the decoded text.
struct TextRule {
    char kind;
    std::size_t begin, end;
};

// The text a single-line text shows: the %% control codes (%%c, %%d, %%p, %%nnn, %%%) become
// their characters, \U+XXXX escapes become the character, and the toggles of underline,
// overline and strike-out (%%u, %%o, %%k) are taken out; where they apply goes to `rules` when
// given.
std::string decodeTextCodes(std::string_view text, std::vector<TextRule>* rules = nullptr);

}  // namespace cad
