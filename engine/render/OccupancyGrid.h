#pragma once
#include <cstdint>
#include <vector>

#include "engine/geometry/Point2d.h"

namespace cad {

// A rectangle of cells of an OccupancyGrid, inclusive.
struct CellBox {
    int x0 = 0, y0 = 0, x1 = -1, y1 = -1;
};

// Which coarse cells of the page hold ink: lets a later primitive be drawn together with earlier
// ones of its style when nothing of another colour drawn in between lies under it. Cells cover
// more than the ink (never less), so the answer errs towards "occupied".
class OccupancyGrid {
public:
    // A page of `width` x `height` device units cut into at most `maxCells` cells a side.
    OccupancyGrid(double width, double height, int maxCells = 512);

    // Cells under the box from `a` to `b`, grown by `margin` device units.
    CellBox cellsOf(const Point2d& a, const Point2d& b, double margin) const;
    // Appends the cell boxes that cover a stroke of the segment `a`-`b` reaching `margin` to its sides.
    void coverSegment(const Point2d& a, const Point2d& b, double margin, std::vector<CellBox>& out) const;

    bool anyMarked(const CellBox& box) const;
    void mark(const CellBox& box);
    void clear();
    bool isEmpty() const { return empty_; }

private:
    int columns_ = 1, rows_ = 1;
    double cell_ = 1.0;
    bool empty_ = true;
    std::vector<std::uint64_t> bits_;  // row after row, columns_ bits a row rounded to words
    int wordsPerRow_ = 1;
};

}  // namespace cad
