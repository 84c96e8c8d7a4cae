// The grid decides which primitives may be drawn out of order: a box it gives too small would let
// one jump over another's ink.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "engine/render/InkGrid.h"

using namespace cad;

TEST(InkGrid, PrimitivesFarOffThePageLandOnItsBorderCells) {
    const InkGrid grid(100, 50, 10);  // cells of 10 units: 10 columns, 5 rows
    const double far = 1e17, inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* name;
        Point2d a, b;
        int x0, y0, x1, y1;
    };
    const Case cases[] = {
        {"far to the top right", {far, far}, {2 * far, 2 * far}, 9, 4, 9, 4},
        {"far to the bottom left", {-2 * far, -far}, {-far, -far}, 0, 0, 0, 0},
        {"across the page from far away", {-far, 25}, {far, 25}, 0, 2, 9, 2},
        {"to infinity", {5, 5}, {inf, 5}, 0, 0, 9, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CellBox box = grid.cellsOf(c.a, c.b, 1);
        EXPECT_EQ(box.x0, c.x0);
        EXPECT_EQ(box.y0, c.y0);
        EXPECT_EQ(box.x1, c.x1);
        EXPECT_EQ(box.y1, c.y1);
    }

    // A slanted stroke from far off is cut into a bounded number of pieces that end where it ends.
    std::vector<CellBox> boxes;
    grid.coverSegment({-far, -far}, {95, 45}, 1, boxes);
    ASSERT_FALSE(boxes.empty());
    EXPECT_LE(boxes.size(), 40u);
    EXPECT_EQ(boxes.back().x1, 9);
    EXPECT_EQ(boxes.back().y1, 4);
    for (const CellBox& box : boxes) {
        EXPECT_GE(box.x0, 0);
        EXPECT_LE(box.x1, 9);
        EXPECT_GE(box.y0, 0);
        EXPECT_LE(box.y1, 4);
    }
}
