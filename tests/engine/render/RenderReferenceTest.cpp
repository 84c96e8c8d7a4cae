// Our pictures against an independent renderer: ezdxf's drawing add-on with matplotlib, run by
// the system Python, draws the same saved drawing over the same window at the same size.
#include <gtest/gtest.h>

#include <cstdlib>
#include <numbers>

#include "../db/DbTestSupport.h"
#include "RenderTestSupport.h"
#include "engine/db/Arc.h"
#include "engine/db/BlockReference.h"
#include "engine/db/Circle.h"
#include "engine/db/Hatch.h"
#include "engine/db/Line.h"
#include "engine/db/Text.h"
#include "engine/dxf/DxfDrawing.h"

using namespace cad;
using namespace cad::test;

namespace {

bool ezdxfAvailable() {
    const std::string cmd = std::string(BRINMO_PYTHON) +
                            " -c 'import ezdxf, matplotlib; from ezdxf.addons.drawing import Frontend' >/dev/null 2>&1";
    return std::system(cmd.c_str()) == 0;
}

std::unique_ptr<Database> floorFixture() {
    auto db = Database::createDefault();
    // Four rooms with walls, one solid-filled with a hole, one hatched with a pattern of the library.
    for (int i = 0; i < 4; ++i) {
        append(*db, rectangle(i * 25.0, 0, i * 25.0 + 24, 30));
    }
    auto solid = std::make_unique<Hatch>();
    solid->setPattern(Hatch::PatternType::Predefined, "SOLID");
    solid->appendLoop(HatchLoop::kPolyline | HatchLoop::kExternal,
                      std::vector<BulgeVertex>{{{1, 1}, 0}, {{23, 1}, 0}, {{23, 29}, 0}, {{1, 29}, 0}});
    solid->appendLoop(HatchLoop::kPolyline,
                      std::vector<BulgeVertex>{{{8, 10}, 0}, {{16, 10}, 0}, {{16, 20}, 0}, {{8, 20}, 0}});
    solid->setColorIndex(4);
    append(*db, std::move(solid));
    auto pattern = std::make_unique<Hatch>();
    pattern->setPattern(Hatch::PatternType::Predefined, "ANSI31");
    pattern->setPatternScale(1.5);
    pattern->appendLoop(HatchLoop::kPolyline | HatchLoop::kExternal,
                        std::vector<BulgeVertex>{{{26, 1}, 0}, {{48, 1}, 0}, {{48, 29}, 0}, {{26, 29}, 0}});
    pattern->setColorIndex(1);
    const ObjectId patternId = append(*db, std::move(pattern));
    // Files carry the pattern's lines in full, which the library fills in once the hatch is placed.
    EXPECT_EQ(static_cast<Hatch*>(db->objectAt(patternId))->computeDefinitionLines(), ErrorStatus::eOk);
    // A door swing, a column, a bulged wall.
    append(*db, std::make_unique<Arc>(Point3d{50, 30, 0}, 8, std::numbers::pi, 1.5 * std::numbers::pi));
    append(*db, std::make_unique<Circle>(Point3d{87, 15, 0}, 5));
    auto bulged = std::make_unique<Polyline>();
    bulged->addVertexAt(0, {75, 30}, -0.4);
    bulged->addVertexAt(1, {99, 30});
    append(*db, std::move(bulged));
    // A block of furniture placed twice, turned and scaled.
    auto* blocks = static_cast<SymbolTable*>(db->objectAt(db->blockTableId()));
    ObjectId desk;
    EXPECT_EQ(blocks->add(std::make_unique<BlockTableRecord>("DESK"), &desk), ErrorStatus::eOk);
    auto top = rectangle(0, 0, 6, 3);
    append(*db, std::move(top), desk);
    append(*db, std::make_unique<Line>(Point3d{0, 0, 0}, Point3d{6, 3, 0}), desk);
    auto ref = std::make_unique<BlockReference>(Point3d{55, 5, 0}, desk);
    ref->setRotation(std::numbers::pi / 6);
    append(*db, std::move(ref));
    auto ref2 = std::make_unique<BlockReference>(Point3d{60, 20, 0}, desk);
    ref2->setScaleFactors({1.5, 1.5, 1});
    append(*db, std::move(ref2));
    auto text = std::make_unique<Text>();
    text->setTextString("ROOM 101");
    text->setHeight(3);
    text->setPosition({76, 3, 0});
    append(*db, std::move(text));
    return db;
}

}  // namespace

TEST(RenderReference, InkAgreesWithEzdxfAndMatplotlib) {
    if (!ezdxfAvailable()) GTEST_SKIP() << BRINMO_PYTHON << " cannot import ezdxf's drawing add-on and matplotlib";
    auto db = floorFixture();
    RenderDir dir;
    const std::string dxf = dir.file("fixture.dxf");
    saveDxfDrawing(*db, DxfFileInfo{}, dxf);
    auto reread = readDxfDrawing(dxf);
    ASSERT_TRUE(reread.database);

    const Extents2d window({-2, -4}, {102, 36});
    const int width = 832, height = 320;  // 8 pixels per unit both ways
    Shot ours = shoot(*reread.database, dir, window, width, "ours.png");
    ASSERT_TRUE(ours.picture);
    ASSERT_EQ(ours.picture->height(), height);
    EXPECT_EQ(ours.result.report.skippedCount(), 0u) << ours.result.report.summary();

    const std::string theirsPath = dir.file("theirs.png");
    const std::string cmd = std::string(BRINMO_PYTHON) + " " + BRINMO_SOURCE_DIR +
                            "/tests/engine/render/ezdxf_render.py " + dxf + " " + theirsPath + " " +
                            std::to_string(width) + " " + std::to_string(height) + " -2 -4 102 36 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    Picture theirs(theirsPath);
    if (const char* keep = std::getenv("BRINMO_KEEP_RENDER")) { std::filesystem::copy_file(theirsPath, std::string(keep) + "/theirs.png", std::filesystem::copy_options::overwrite_existing); std::filesystem::copy_file(dir.file("ours.png"), std::string(keep) + "/ours.png", std::filesystem::copy_options::overwrite_existing); }
    ASSERT_EQ(theirs.width(), width);
    ASSERT_EQ(theirs.height(), height);

    // Tolerance: both draw the same geometry through the same window, but line widths (our 0.25 mm
    // default is one pixel, matplotlib's is its own), antialiasing and the glyph outlines of the
    // text differ. Two pixels (a quarter of a drawing unit here) covers width and rounding; a
    // share of 90 % each way leaves room for the text's different glyphs, while a wall, a hatch
    // or a block drawn in the wrong place, or missing, costs far more than 10 % of the ink.
    const double oursNearTheirs = inkNear(*ours.picture, theirs, 2);
    const double theirsNearOurs = inkNear(theirs, *ours.picture, 2);
    EXPECT_GE(oursNearTheirs, 0.90);
    EXPECT_GE(theirsNearOurs, 0.90);
    // The amounts of ink agree within a factor that line width differences alone explain.
    const double ratio = static_cast<double>(ours.picture->inkCount()) / std::max<std::size_t>(theirs.inkCount(), 1);
    EXPECT_GT(ratio, 0.7);
    EXPECT_LT(ratio, 1.4);
}
