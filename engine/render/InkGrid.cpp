#include "engine/render/InkGrid.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace cad {

namespace {

std::uint32_t colourKey(Rgb color) {
    static_assert(sizeof(Rgb) == sizeof(std::uint32_t));
    std::uint32_t key = 0;
    std::memcpy(&key, &color, sizeof key);
    return key;
}

}  // namespace

InkGrid::InkGrid(double width, double height, int maxCells) {
    const double side = std::max({width, height, 1.0});
    cell_ = std::max(1.0, side / maxCells);
    columns_ = std::clamp(static_cast<int>(std::ceil(std::max(width, 1.0) / cell_)), 1, maxCells);
    rows_ = std::clamp(static_cast<int>(std::ceil(std::max(height, 1.0) / cell_)), 1, maxCells);
    cells_.resize(static_cast<std::size_t>(columns_) * rows_);
}

CellBox InkGrid::cellsOf(const Point2d& a, const Point2d& b, double margin) const {
    // Anything off the page clamps to its border cells: still counted, never lost. Clamped as a
    // double: far enough off, a cell's number does not fit an int.
    const auto col = [&](double x) {
        return static_cast<int>(std::clamp(std::floor(x / cell_), 0.0, static_cast<double>(columns_ - 1)));
    };
    const auto row = [&](double y) {
        return static_cast<int>(std::clamp(std::floor(y / cell_), 0.0, static_cast<double>(rows_ - 1)));
    };
    const double lx = std::min(a.x, b.x) - margin, hx = std::max(a.x, b.x) + margin;
    const double ly = std::min(a.y, b.y) - margin, hy = std::max(a.y, b.y) + margin;
    if (!(lx <= hx) || !(ly <= hy)) return {0, 0, columns_ - 1, rows_ - 1};  // not a number: all
    return {col(lx), row(ly), col(hx), row(hy)};
}

void InkGrid::coverSegment(const Point2d& a, const Point2d& b, double margin, std::vector<CellBox>& out) const {
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    // A long slanted segment is covered by the boxes of short pieces of it, not by its whole box.
    const bool whole = !std::isfinite(length) || a.x == b.x || a.y == b.y;
    const int pieces = whole ? 1
                             : static_cast<int>(std::clamp(length / (4 * cell_), 1.0,
                                                           static_cast<double>(4 * std::max(columns_, rows_))));
    if (pieces == 1) {
        out.push_back(cellsOf(a, b, margin));
        return;
    }
    Point2d from = a;
    for (int i = 1; i <= pieces; ++i) {
        const double t = static_cast<double>(i) / pieces;
        const Point2d to = i == pieces ? b : Point2d(a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t);
        out.push_back(cellsOf(from, to, margin));
        from = to;
    }
}

std::uint32_t InkGrid::newBatch(Rgb color) {
    colours_.push_back(colourKey(color));
    return static_cast<std::uint32_t>(colours_.size() - 1);
}

std::uint32_t InkGrid::lastOtherColour(const CellBox& box, Rgb color) const {
    const std::uint32_t key = colourKey(color);
    const std::uint32_t* colours = colours_.data();
    std::uint32_t found = 0;
    for (int y = box.y0; y <= box.y1; ++y) {
        const Cell* row = cells_.data() + static_cast<std::size_t>(y) * columns_;
        for (int x = box.x0; x <= box.x1; ++x) {
            const Cell& c = row[x];
            found = std::max(found, colours[c.last] == key ? c.other : c.last);
        }
    }
    return found;
}

void InkGrid::mark(const CellBox& box, std::uint32_t batch) {
    const std::uint32_t* colours = colours_.data();
    const std::uint32_t key = colours[batch];
    for (int y = box.y0; y <= box.y1; ++y) {
        Cell* row = cells_.data() + static_cast<std::size_t>(y) * columns_;
        for (int x = box.x0; x <= box.x1; ++x) {
            Cell& c = row[x];
            if (c.last == batch) continue;
            if (colours[c.last] != key) c.other = c.last;
            c.last = batch;
        }
    }
}

}  // namespace cad
