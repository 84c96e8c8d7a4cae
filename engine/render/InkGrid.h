#pragma once
#include <cstdint>
#include <vector>

#include "engine/geometry/Point2d.h"
#include "engine/render/RenderTypes.h"

namespace cad {

// A rectangle of cells of an InkGrid, inclusive.
struct CellBox {
    int x0 = 0, y0 = 0, x1 = -1, y1 = -1;
};

// Which batches of primitives put ink into which coarse cells of the page. Batches are numbered
// in drawing order from 1; for each cell the grid keeps the last batch that marked it and the last
// one before it in another colour, which is enough to tell the last batch of any other colour
// than a given one there. A primitive may join an earlier batch of its colour only when no batch
// after it of another colour put ink under it. Cells cover more than the ink (never less), so the
// answer errs towards "in the way".
class InkGrid {
public:
    // A page of `width` x `height` device units cut into cells of at least one unit, at most
    // `maxCells` a side. 512 keeps the grid at 2 MB, fresh pages every picture pays for; twice as
    // fine gave the campus plan's PDF the very same batches.
    InkGrid(double width, double height, int maxCells = 512);

    // Cells under the box from `a` to `b`, grown by `margin` device units.
    CellBox cellsOf(const Point2d& a, const Point2d& b, double margin) const;
    // Appends the cell boxes that cover a stroke of the segment `a`-`b` reaching `margin` to its sides.
    void coverSegment(const Point2d& a, const Point2d& b, double margin, std::vector<CellBox>& out) const;

    // A number for a new batch of `color`, after all numbers given so far.
    std::uint32_t newBatch(Rgb color);
    // The last batch of another colour than `color` with ink in the cells (0 for none).
    std::uint32_t lastOtherColour(const CellBox& box, Rgb color) const;
    void mark(const CellBox& box, std::uint32_t batch);

private:
    struct Cell {
        std::uint32_t last = 0;   // last batch to mark the cell
        std::uint32_t other = 0;  // last batch before it in another colour than `last`'s
    };
    int columns_ = 1, rows_ = 1;
    double cell_ = 1.0;
    std::vector<Cell> cells_;
    // The colour of each batch, by number, as one word: compared for every cell a primitive covers.
    // Number 0 stands for no batch; its colour never decides anything.
    std::vector<std::uint32_t> colours_{0};
};

}  // namespace cad
