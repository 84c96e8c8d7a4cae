#pragma once
#include <string_view>

namespace cad {

// The patterns every drawing can use, in .pat syntax with lengths in inches.
std::string_view builtInPatternText();

}  // namespace cad
