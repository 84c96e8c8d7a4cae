#include "engine/hatch/BuiltInPatterns.h"

namespace cad {

std::string_view builtInPatternText() {
    // Lengths in inches; a metric library multiplies them by 25.4.
    static constexpr std::string_view kText = R"PAT(;; Brinmo built-in hatch patterns
*SOLID, Solid fill
45, 0,0, 0,.125
*ANSI31, Diagonal lines at 45 degrees
45, 0,0, 0,.125
*LINES, Horizontal lines
0, 0,0, 0,.125
*VLINES, Vertical lines
90, 0,0, 0,.125
*DIAG135, Diagonal lines at 135 degrees
135, 0,0, 0,.125
*CROSS, Diagonal crosshatch
45, 0,0, 0,.125
135, 0,0, 0,.125
*WIDECROSS, Wide diagonal crosshatch
45, 0,0, 0,.25
135, 0,0, 0,.25
*GRID, Square grid
0, 0,0, 0,.25
90, 0,0, 0,.25
*TILES, Large square tiles
0, 0,0, 0,1
90, 0,0, 0,1
*BRICK, Running bond brickwork
0, 0,0, 0,.25
90, 0,0, .25,.25, .25,-.25
*PLANKS, Staggered floor boards
0, 0,0, 0,.25
90, 0,0, .25,.5, .25,-.25
*DOTS, Staggered dots
0, 0,0, .0625,.125, 0,-.125
*DASH, Staggered dashes
0, 0,0, .125,.125, .125,-.125
*DASHDOT, Dash and dot lines
0, 0,0, .125,.25, .25,-.0625,0,-.0625
*DOUBLE45, Paired diagonal lines
45, 0,0, 0,.25
45, 0,.0625, 0,.25
*HATCH3, Diagonal lines of three weights of spacing
45, 0,0, 0,.375
45, 0,.0625, 0,.375
45, 0,.1875, 0,.375
*STRIPES, Horizontal bands of close lines
0, 0,0, 0,.5
0, 0,.0625, 0,.5
0, 0,.125, 0,.5
*SQUAREDOTS, Dots on a square grid
0, 0,0, 0,.125, 0,-.125
*ZIGZAG, Zig-zag lines
45, 0,0, .1767767,.1767767, .1767767,-.1767767
135, .25,0, .1767767,.1767767, .1767767,-.1767767
)PAT";
    return kText;
}

}  // namespace cad
