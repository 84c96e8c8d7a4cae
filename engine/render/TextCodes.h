#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "engine/text/Utf8.h"

namespace cad {

// The text a single-line text shows: the %% control codes (%%c, %%d, %%p, %%nnn, %%%) become
// their characters, the underline and overline toggles (%%u, %%o) are dropped, and \U+XXXX
// escapes become the character.
std::string decodeTextCodes(std::string_view text);

// The paragraphs of a multi-line text with its formatting codes removed: \P starts a new
// paragraph, stacked fractions (\S1^2;) read "1/2", font, height, colour and other settings
// ({}, \f...; \H...; \C...; \L ...) are dropped, \~ is a space, \\ \{ \} are the characters.
std::vector<std::string> multilineParagraphs(std::string_view text);


}  // namespace cad
