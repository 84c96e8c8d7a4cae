#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/db/Color.h"

namespace cad {

// A stretch of a multi-line text drawn with one setting of font, height, colour and width.
struct MTextRun {
    std::string text;              // UTF-8, codes resolved
    double height = 0.0;           // capital height, drawing units
    double widthFactor = 1.0;
    std::optional<Color> color;    // nothing: the entity's own
    std::string font;              // font file or family; empty: the text style's
    bool underline = false, overline = false, strikeout = false;
    // A stacked run: `text` above `below`, split by a bar ('/'), a slash ('#') or nothing ('^').
    char stack = 0;
    std::string below;
};

struct MTextParagraph {
    std::vector<MTextRun> runs;
    bool newColumn = false;  // begun by a column break
};

// The paragraphs of a multi-line text with its inline formatting applied: \P starts a paragraph,
// \N one in the next column; { } group settings; \H height (absolute, or relative with a trailing
// x), \C palette colour, \c true colour, \W width factor, \f and \F font; \S stacked fractions
// stack ("1/2", "1#2", "1^2"); \L \O \K underline, overline and strike out until \l \o \k;
// \~ is a space; \\ \{ \} are the characters; %% codes and \U+XXXX become characters. Other
// settings (\A \Q \T \p ...) are read past and not applied.
// `height` is the text's own height.
std::vector<MTextParagraph> parseMText(std::string_view text, double height);

}  // namespace cad
