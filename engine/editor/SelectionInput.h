#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/geometry/Point3d.h"

namespace cad {

// One line typed while a selection set is built or an object is picked:
//   ALL                      every entity of the current space
//   W x1,y1 x2,y2            entities lying inside the window
//   C x1,y1 x2,y2            entities inside or crossing the window
//   CP x1,y1 x2,y2 x3,y3 ..  entities inside or crossing the polygon (three corners or more)
//   x,y                      the entity nearest the point within the pick distance
//   #2F1A 2F1B ...           entities by handle; the "#" may be left out ("#C" for handle C)
// Points are in the current UCS. Words in any letter case.
struct SelectionLine {
    enum class Mode { All, Window, Crossing, CrossingPolygon, Point, Handles };
    Mode mode = Mode::Handles;
    std::vector<Point3d> points;
    std::vector<std::uint64_t> handles;
};

// Parses one line; nothing, with error set to a message, when it is not a selection.
std::optional<SelectionLine> parseSelectionLine(std::string_view line, std::string& error);

// Parses "#2F1A" or "2F1A" (hexadecimal, at most 16 digits, not 0).
std::optional<std::uint64_t> parseHandleText(std::string_view text);

}  // namespace cad
