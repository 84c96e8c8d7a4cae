// Pictures of the kinds drawn from their tags: infinite lines, leaders and multileaders with
// arrowheads, formatted multi-line texts, meshes, and hatches bounded by spline edges.
#include <gtest/gtest.h>

#include "../db/DbTestSupport.h"
#include "RenderTestSupport.h"
#include "engine/db/Arc.h"
#include "engine/db/Attribute.h"
#include "engine/db/BlockReference.h"
#include "engine/db/Circle.h"
#include "engine/db/Hatch.h"
#include "engine/db/LayerTableRecord.h"
#include "engine/db/Line.h"
#include "engine/db/Text.h"
#include "engine/db/TagValue.h"
#include "engine/db/UnknownObject.h"
#include "engine/dxf/DxfDrawing.h"
#include "engine/render/FontLibrary.h"

#include <array>
#include <numbers>

using namespace cad;
using namespace cad::test;

namespace {

std::string num(double v) { return formatDouble(v); }

bool isRed(const Pixel& p) { return p.r > 200 && p.g < 80 && p.b < 80; }

std::unique_ptr<UnknownEntity> construction(const std::string& name, Point3d base, Vector3d direction) {
    const std::string subclass = name == "RAY" ? "AcDbRay" : "AcDbXline";
    return rawEntity(name, subclass,
                     {{100, "AcDbEntity"}, {8, "0"}, {100, subclass}, {10, num(base.x)}, {20, num(base.y)},
                      {30, "0"}, {11, num(direction.x)}, {21, num(direction.y)}, {31, "0"}});
}

std::unique_ptr<UnknownEntity> mtext(double x, double y, double height, const std::string& body) {
    return rawEntity("MTEXT", "AcDbMText",
                     {{100, "AcDbEntity"}, {8, "0"}, {100, "AcDbMText"}, {10, num(x)}, {20, num(y)}, {30, "0"},
                      {40, num(height)}, {71, "1"}, {1, body}});
}

}  // namespace

TEST(RenderAnnotations, ConstructionLinesCrossTheViewAndRaysOnlyOneWay) {
    auto db = Database::createDefault();
    append(*db, construction("XLINE", {20, 10, 0}, {1, 0, 0}));
    append(*db, construction("RAY", {20, 30, 0}, {1, 0, 0}));
    append(*db, construction("RAY", {5, 5, 0}, {0, 0, 0}));  // no direction: nothing, no failure
    RenderDir dir;
    Shot shot = shoot(*db, dir, Extents2d({0, 0}, {40, 40}), 400);
    ASSERT_TRUE(shot.picture);
    EXPECT_TRUE(shot.at(0.5, 10).isInk() && shot.at(39.5, 10).isInk()) << "both ways to the edges";
    EXPECT_TRUE(shot.at(39.5, 30).isInk()) << "the ray runs on to the edge";
    EXPECT_FALSE(shot.at(10, 30).isInk()) << "and not behind its start";
    EXPECT_TRUE(shot.result.report.skipped.empty()) << shot.result.report.summary();

    // Measured extents take the base points only: the circle still fills the picture.
    auto alone = Database::createDefault();
    append(*alone, construction("XLINE", {0, 0, 0}, {1, 1, 0}));
    append(*alone, std::make_unique<Circle>(Point3d{10, 10, 0}, 10.0));
    RenderOptions options;
    options.width = 200;
    const RenderResult r = renderDrawingToFile(*alone, options, dir.file("extents.png"));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_NEAR(r.height, 200, 2) << "extents of the circle and the base point, a square";
    Picture picture(dir.file("extents.png"));
    EXPECT_TRUE(picture.at(100, 100).isInk()) << "the diagonal through the middle";
}

TEST(RenderAnnotations, LeaderArrowheadFollowsItsFlagAndSizeOverride) {
    // Arrow size 4 through the leader's own dimension-style override (variable 41).
    auto leader = [](int arrow) {
        return rawEntity("LEADER", "AcDbLeader",
                         {{100, "AcDbEntity"}, {8, "0"}, {100, "AcDbLeader"}, {3, "Standard"}, {71, std::to_string(arrow)},
                          {72, "0"}, {76, "2"}, {10, "5"}, {20, "20"}, {30, "0"}, {10, "35"}, {20, "20"}, {30, "0"},
                          {1001, "ACAD"}, {1000, "DSTYLE"}, {1002, "{"}, {1070, "41"}, {1040, "4.0"}, {1002, "}"}});
    };
    RenderDir dir;
    for (int arrow : {1, 0}) {
        auto db = Database::createDefault();
        append(*db, leader(arrow));
        Shot shot = shoot(*db, dir, Extents2d({0, 0}, {40, 40}), 400, "leader" + std::to_string(arrow) + ".png");
        ASSERT_TRUE(shot.picture);
        EXPECT_TRUE(shot.at(20, 20).isInk()) << "the line";
        // Three units from the tip the arrow is half a unit to each side.
        EXPECT_EQ(shot.at(8, 20.35).isInk(), arrow == 1) << "arrow flag " << arrow;
        EXPECT_EQ(shot.at(8, 19.65).isInk(), arrow == 1) << "arrow flag " << arrow;
        EXPECT_FALSE(shot.at(10, 20.35).isInk()) << "the arrow ends four units from its tip";
    }
}

TEST(RenderAnnotations, MultileaderDrawsLinesArrowLandingTextAndBlock) {
    auto db = Database::createDefault();
    const ObjectId block = addBlockRecord(*db, "MARK");
    auto ring = std::make_unique<Circle>(Point3d{0, 0, 0}, 3.0);
    ring->setColor(Color::byBlock());
    append(*db, std::move(ring), block);
    const std::string blockHandle = db->handleOf(block).toString();
    // One leader from (5, 10) to a landing at (20, 29), a dogleg of 2 to the right, the text
    // "NOTE" at (22.5, 30) two units high, arrowheads 3 long; a second one shows the block.
    auto note = rawEntity(
        "MULTILEADER", "AcDbMLeader",
        {{100, "AcDbEntity"}, {8, "0"}, {100, "AcDbMLeader"}, {270, "2"}, {300, "CONTEXT_DATA{"}, {40, "1.0"},
         {10, "20"}, {20, "29"}, {30, "0"}, {41, "2.0"}, {140, "3.0"}, {145, "0.5"}, {290, "1"},
         {304, "NOTE"}, {11, "0"}, {21, "0"}, {31, "1"}, {12, "22.5"}, {22, "30"}, {32, "0"}, {13, "1"}, {23, "0"},
         {33, "0"}, {43, "0"}, {45, "1"}, {171, "1"}, {290, "0"}, {302, "LEADER{"}, {290, "1"}, {291, "1"},
         {10, "20"}, {20, "29"}, {30, "0"}, {11, "1"}, {21, "0"}, {31, "0"}, {90, "0"}, {40, "2"},
         {304, "LEADER_LINE{"}, {10, "5"}, {20, "10"}, {30, "0"}, {91, "0"}, {305, "}"}, {303, "}"}, {301, "}"},
         {170, "1"}, {290, "1"}, {291, "1"}, {42, "0.18"}, {172, "2"}});
    append(*db, std::move(note));
    auto marked = rawEntity(
        "MULTILEADER", "AcDbMLeader",
        {{100, "AcDbEntity"}, {8, "0"}, {62, "1"}, {100, "AcDbMLeader"}, {300, "CONTEXT_DATA{"}, {40, "1.0"},
         {41, "2.0"}, {140, "3.0"}, {290, "0"}, {290, "1"}, {341, blockHandle}, {15, "33"}, {25, "8"}, {35, "0"},
         {16, "1"}, {26, "1"}, {36, "1"}, {46, "0"}, {302, "LEADER{"}, {10, "30"}, {20, "8"}, {30, "0"},
         {304, "LEADER_LINE{"}, {10, "30"}, {20, "1"}, {30, "0"}, {305, "}"}, {303, "}"}, {301, "}"}, {170, "1"}});
    append(*db, std::move(marked));
    RenderDir dir;
    Shot shot = shoot(*db, dir, Extents2d({0, 0}, {40, 40}), 400);
    ASSERT_TRUE(shot.picture);
    const Point2d mid(12.5, 19.5);
    EXPECT_TRUE(shot.at(mid.x, mid.y).isInk() || shot.at(mid.x, mid.y + 0.05).isInk()) << "the leader line";
    // Two units from the tip along the line the arrowhead is a third of a unit to each side.
    const Vector2d u = Vector2d(15, 19) * (1 / std::hypot(15.0, 19.0));
    const Point2d at = Point2d(5, 10) + u * 2.0;
    const Vector2d n{-u.y, u.x};
    EXPECT_TRUE(shot.at((at + n * 0.25).x, (at + n * 0.25).y).isInk()) << "arrowhead";
    EXPECT_TRUE(shot.at((at - n * 0.25).x, (at - n * 0.25).y).isInk()) << "arrowhead";
    EXPECT_TRUE(shot.at(21, 29).isInk()) << "dogleg";
    EXPECT_GT(inkIn(shot, 22.5, 28, 30, 30), 20) << "the text hangs from its location";
    EXPECT_EQ(inkIn(shot, 22.5, 30.5, 30, 33), 0) << "nothing above the text";
    EXPECT_GT(inkIn(shot, 35.8, 7.8, 36.2, 8.2, isRed), 0) << "the block's circle, in the multileader's colour";
    EXPECT_EQ(inkIn(shot, 32, 7, 34, 9), 0) << "inside the circle";
    EXPECT_TRUE(isRed(shot.at(30, 4))) << "the second leader";
    EXPECT_TRUE(shot.result.report.skipped.empty()) << shot.result.report.summary();
}

TEST(RenderAnnotations, MultilineTextColourAndHeightCodesShow) {
    auto db = Database::createDefault();
    // Base height 2: a red first word, then a second paragraph three times as high.
    append(*db, mtext(1, 39, 2, "{\\C1;RED} KK\\P{\\H3x;HH}"));
    RenderDir dir;
    Shot shot = shoot(*db, dir, Extents2d({0, 0}, {40, 40}), 400);
    ASSERT_TRUE(shot.picture);
    EXPECT_GT(inkIn(shot, 1, 37, 8, 39, isRed), 20) << "the red group";
    EXPECT_EQ(inkIn(shot, 9, 37, 20, 39, isRed), 0) << "red ends with its group";
    EXPECT_GT(inkIn(shot, 9, 37, 20, 39), 10) << "the rest in the entity's colour";
    // The second baseline is 2 + 5/3 * 6 below the top, at 27; its capitals reach 33.
    EXPECT_GT(inkIn(shot, 1, 28, 10, 31), 40) << "capitals six units high";
    EXPECT_EQ(inkIn(shot, 1, 22, 10, 26.5), 0) << "nothing below the baseline";
}

TEST(RenderAnnotations, MultilineTextWrapsUnderlinesAndStacks) {
    auto db = Database::createDefault();
    // Height 4, top at 20: the baseline is at 16, the underline 0.8 below it; the stack after
    // "H H " has its bar at 17.6, its upper half above and its lower half below.
    append(*db, mtext(1, 20, 4, "\\LH H\\l \\S1/2;"));
    RenderDir dir;
    Shot shot = shoot(*db, dir, Extents2d({0, 0}, {40, 40}), 400);
    ASSERT_TRUE(shot.picture);
    auto rowInk = [&](double x0, double x1, double y) {
        int n = 0, all = 0;
        for (double x = x0; x <= x1; x += 0.1, ++all) n += shot.at(x, y).isInk() || shot.at(x, y + 0.1).isInk();
        return static_cast<double>(n) / all;
    };
    EXPECT_GT(rowInk(1.5, 10, 15.2), 0.9) << "the underline runs under the space between the letters too";
    FontLibrary fonts;
    const FontFace& face = fonts.face("txt");
    const double stackLeft = 1 + fonts.advance(face, "H H ") * 4 / face.capHeight;
    EXPECT_GT(rowInk(stackLeft + 0.3, stackLeft + 1.8, 17.6), 0.9) << "the bar";
    EXPECT_GT(inkIn(shot, stackLeft, 18.3, stackLeft + 3, 21), 20) << "the upper half";
    EXPECT_GT(inkIn(shot, stackLeft, 14.3, stackLeft + 3, 17.1), 20) << "the lower half";

    // A box as wide as the two words' letters and half the space between: the space counts.
    const double em = 2 / face.capHeight;
    const double box = (2 * fonts.advance(face, "HH") + 0.5 * fonts.advance(face, " ")) * em;
    auto db2 = Database::createDefault();
    append(*db2, rawEntity("MTEXT", "AcDbMText",
                           {{100, "AcDbEntity"}, {8, "0"}, {100, "AcDbMText"}, {10, "1"}, {20, "10"}, {30, "0"},
                            {40, "2"}, {41, num(box)}, {71, "1"}, {1, "HH HH"}}));
    Shot wrapped = shoot(*db2, dir, Extents2d({0, 0}, {40, 40}), 400);
    ASSERT_TRUE(wrapped.picture);
    EXPECT_GT(inkIn(wrapped, 1, 4.9, 4, 6.5), 20) << "the second word on the second line";
}

TEST(RenderAnnotations, MasksAndWipeoutsHideWhatLiesUnderThem) {
    auto db = Database::createDefault();
    append(*db, solidHatch({{{0, 0}, {40, 0}, {40, 40}, {0, 40}}}, 1));
    auto masked = [&](double y, const RawTagList& mask) {
        RawTagList tags{{100, "AcDbEntity"}, {8, "0"}, {100, "AcDbMText"}, {10, "5"}, {20, num(y)}, {30, "0"},
                        {40, "2"}, {71, "1"}, {1, "MASKED"}};
        tags.insert(tags.end(), mask.begin(), mask.end());
        append(*db, rawEntity("MTEXT", "AcDbMText", tags));
    };
    masked(35, {{90, "3"}, {63, "256"}, {45, "1.5"}});  // the sheet's colour, half a height around
    masked(25, {{90, "1"}, {63, "3"}, {45, "1"}});       // green, fitting the text
    masked(15, {});                                       // none
    RenderDir dir;
    Shot shot = shoot(*db, dir, Extents2d({0, 0}, {40, 40}), 400);
    ASSERT_TRUE(shot.picture);
    EXPECT_TRUE(shot.at(4.5, 34).isWhite()) << "the margin left of the text";
    EXPECT_TRUE(shot.at(5.2, 35.6).isWhite()) << "above the capitals, within the margin";
    EXPECT_TRUE(isRed(shot.at(3.5, 34))) << "beyond the margin";
    const Pixel g = shot.at(5.1, 24.3);
    EXPECT_TRUE(g.g > 200 && g.r < 80 && g.b < 80) << "green behind the second text";
    EXPECT_TRUE(isRed(shot.at(4.8, 24))) << "no margin around it";
    EXPECT_TRUE(isRed(shot.at(5.1, 14.3))) << "no mask";

    // A wipeout blanks its polygon (pixel corners of a 20 by 10 image, y down) and draws its edge.
    append(*db, rawEntity("WIPEOUT", "AcDbWipeout",
                          {{100, "AcDbEntity"}, {8, "0"}, {100, "AcDbWipeout"}, {90, "0"}, {10, "10"}, {20, "2"},
                           {30, "0"}, {11, "1"}, {21, "0"}, {31, "0"}, {12, "0"}, {22, "1"}, {32, "0"}, {13, "20"},
                           {23, "10"}, {71, "2"}, {91, "4"}, {14, "-0.5"}, {24, "9.5"}, {14, "19.5"}, {24, "9.5"},
                           {14, "-0.5"}, {24, "-0.5"}, {14, "-0.5"}, {24, "9.5"}}));
    Shot wiped = shoot(*db, dir, Extents2d({0, 0}, {40, 40}), 400, "wiped.png");
    ASSERT_TRUE(wiped.picture);
    EXPECT_TRUE(wiped.at(12, 2.5).isWhite()) << "inside the triangle, near its bottom-left corner";
    EXPECT_TRUE(isRed(wiped.at(25, 10))) << "outside it, above the diagonal";
    EXPECT_TRUE(isRed(wiped.at(9, 3))) << "left of the wipeout";
}

TEST(RenderAnnotations, MultilineAttributeShowsItsLines) {
    auto db = Database::createDefault();
    const ObjectId tag = addBlockRecord(*db, "TAG");
    const ObjectId refId = append(*db, std::make_unique<BlockReference>(Point3d{0, 0, 0}, tag));
    auto attribute = std::make_unique<Attribute>();
    ASSERT_EQ(attribute->setTag("ROOM"), ErrorStatus::eOk);
    attribute->setHeight(2);
    attribute->setPosition({2, 30, 0});
    attribute->setTextString("HH");
    // Its multi-line part hangs the two lines from (2, 38): baselines at 36 and 36 - 10/3.
    attribute->editExtraTags() = {{101, "Embedded Object"}, {10, "2"}, {20, "38"}, {30, "0"}, {40, "2"},
                                  {41, "0"}, {71, "1"}, {1, "HH\\PHH"}};
    auto* ref = static_cast<BlockReference*>(db->objectAt(refId));
    ASSERT_EQ(ref->appendAttribute(std::move(attribute)), ErrorStatus::eOk);
    RenderDir dir;
    Shot shot = shoot(*db, dir, Extents2d({0, 0}, {40, 40}), 400);
    ASSERT_TRUE(shot.picture);
    EXPECT_GT(inkIn(shot, 2, 36.2, 6, 37.8), 20) << "the first line";
    EXPECT_GT(inkIn(shot, 2, 32.9, 6, 34.4), 20) << "the second line";
    EXPECT_EQ(inkIn(shot, 0, 28, 10, 32.3), 0) << "not the single-line text at its own position";
}

TEST(RenderAnnotations, MultilineWallsFollowTheirMitersInTheirStyleColours) {
    auto db = Database::createDefault();
    // A style of two elements, the second red, with a line across the start; a wall along y = 30
    // turning down at x = 30.
    auto style = std::make_unique<UnknownObject>("MLINESTYLE", "AcDbMlineStyle");
    style->tags = {{100, "AcDbMlineStyle"}, {2, "WALL"}, {70, "16"}, {71, "2"}, {49, "0"}, {62, "256"}, {6, "BYLAYER"},
                   {49, "-2"}, {62, "1"}, {6, "BYLAYER"}};
    ObjectId styleId;
    ASSERT_EQ(db->addObject(std::move(style), db->namedObjectsDictionaryId(), Handle(), &styleId), ErrorStatus::eOk);
    const double s = std::sqrt(0.5);
    RawTagList tags{{100, "AcDbEntity"}, {8, "0"}, {100, "AcDbMline"}, {2, "WALL"}, {340, db->handleOf(styleId).toString()},
                    {40, "1"}, {70, "0"}, {71, "1"}, {72, "3"}, {73, "2"}, {10, "5"}, {20, "30"}, {30, "0"}};
    // Each vertex: the point, the segment direction, the miter, then per element its parameters.
    const std::vector<std::array<double, 6>> vertices{{5, 30, 1, 0, 0, -1}, {30, 30, 0, -1, -s, -s}, {30, 5, 0, -1, -1, 0}};
    for (const auto& v : vertices) {
        tags.insert(tags.end(), {{11, num(v[0])}, {21, num(v[1])}, {31, "0"}, {12, num(v[2])}, {22, num(v[3])}, {32, "0"},
                                 {13, num(v[4])}, {23, num(v[5])}, {33, "0"}});
        const double second = v[4] != 0 && v[5] != 0 ? 2 / s : 2;  // along the miter, 2 units across
        tags.insert(tags.end(), {{74, "2"}, {41, "0"}, {41, "0"}, {75, "0"}, {74, "2"}, {41, num(second)}, {41, "0"}, {75, "0"}});
    }
    append(*db, rawEntity("MLINE", "AcDbMline", tags));
    RenderDir dir;
    Shot shot = shoot(*db, dir, Extents2d({0, 0}, {40, 40}), 400);
    ASSERT_TRUE(shot.picture);
    EXPECT_GT(inkIn(shot, 10, 29.9, 20, 30.1), 50) << "the first element on the vertices";
    // A one-pixel line on a pixel edge is half red on two rows.
    bool (*reddish)(const Pixel&) = [](const Pixel& p) { return p.r > 200 && p.g < 190 && p.b < 190; };
    EXPECT_GT(inkIn(shot, 10, 27.9, 20, 28.1, reddish), 50) << "the second, 2 below, red";
    EXPECT_GT(inkIn(shot, 27.9, 10, 28.1, 20, reddish), 50) << "and 2 inside after the turn";
    EXPECT_EQ(inkIn(shot, 10, 29.9, 20, 30.1, reddish), 0) << "the first in the entity's colour";
    EXPECT_EQ(inkIn(shot, 10, 28.5, 20, 29.5), 0) << "nothing between them";
    EXPECT_GT(inkIn(shot, 4.9, 28.5, 5.1, 29.5), 5) << "the start cap";
    EXPECT_EQ(inkIn(shot, 28.5, 4.8, 29.5, 5.2), 0) << "no cap at the end";
    EXPECT_TRUE(shot.result.report.skipped.empty()) << shot.result.report.summary();

    // Filled in green between its outer elements, with round ends and inner arcs: four elements
    // 1 apart along y = 10 from x = 10 to x = 30.
    auto filled = std::make_unique<UnknownObject>("MLINESTYLE", "AcDbMlineStyle");
    filled->tags = {{100, "AcDbMlineStyle"}, {2, "FILLED"}, {70, std::to_string(1 + 32 + 64 + 512 + 1024)}, {62, "3"},
                    {71, "4"}, {49, "1.5"}, {62, "256"}, {49, "0.5"}, {62, "256"}, {49, "-0.5"}, {62, "256"},
                    {49, "-1.5"}, {62, "256"}};
    ASSERT_EQ(db->addObject(std::move(filled), db->namedObjectsDictionaryId(), Handle(), &styleId), ErrorStatus::eOk);
    RawTagList wall{{100, "AcDbEntity"}, {8, "0"}, {100, "AcDbMline"}, {2, "FILLED"},
                    {340, db->handleOf(styleId).toString()}, {40, "1"}, {70, "0"}, {71, "1"}, {72, "2"}, {73, "4"}};
    for (const double x : {10.0, 30.0}) {
        wall.insert(wall.end(), {{11, num(x)}, {21, "10"}, {31, "0"}, {12, "1"}, {22, "0"}, {32, "0"}, {13, "0"},
                                 {23, "1"}, {33, "0"}});
        for (const char* offset : {"1.5", "0.5", "-0.5", "-1.5"})
            wall.insert(wall.end(), {{74, "2"}, {41, offset}, {41, "0"}, {75, "0"}});
    }
    append(*db, rawEntity("MLINE", "AcDbMline", wall));
    shot = shoot(*db, dir, Extents2d({0, 0}, {40, 40}), 400, "filled.png");
    ASSERT_TRUE(shot.picture);
    bool (*green)(const Pixel&) = [](const Pixel& p) { return p.g > 100 && p.r < 60 && p.b < 60; };
    EXPECT_GT(inkIn(shot, 12, 10.1, 28, 10.4, green), 200) << "the fill between the elements";
    EXPECT_EQ(inkIn(shot, 12, 11.7, 28, 13, green) + inkIn(shot, 12, 7, 28, 8.3, green), 0) << "and not beyond";
    EXPECT_GT(inkIn(shot, 8.4, 9.8, 8.6, 10.2), 2) << "the outer arc's crown, 1.5 before the start";
    EXPECT_GT(inkIn(shot, 31.4, 9.8, 31.6, 10.2), 2) << "and after the end";
    EXPECT_GT(inkIn(shot, 9.4, 9.8, 9.6, 10.2), 2) << "the inner arc's crown, 0.5 before the start";
    EXPECT_EQ(inkIn(shot, 7, 7, 8.2, 13), 0) << "nothing beyond the round end";
}

TEST(RenderAnnotations, MultilineTextFlowsIntoItsColumns) {
    auto db = Database::createDefault();
    // Columns 10 wide with a gutter of 2, the first 3 high, the rest without limit; the embedded
    // object repeats codes of the text's own (44 is a column's width there, not line spacing).
    append(*db, rawEntity("MTEXT", "AcDbMText",
                          {{100, "AcDbEntity"}, {8, "0"}, {100, "AcDbMText"}, {10, "1"}, {20, "39"}, {30, "0"},
                           {40, "1"}, {41, "10"}, {71, "1"}, {1, "KK\\PKK\\PKK\\NKK"}, {101, "Embedded Object"},
                           {70, "1"}, {10, "1"}, {20, "0"}, {30, "0"}, {11, "1"}, {21, "39"}, {31, "0"}, {40, "10"},
                           {41, "0"}, {71, "2"}, {72, "2"}, {44, "10"}, {45, "2"}, {73, "0"}, {74, "0"}, {46, "3"},
                           {46, "0"}}));
    RenderDir dir;
    Shot shot = shoot(*db, dir, Extents2d({0, 0}, {40, 40}), 400);
    ASSERT_TRUE(shot.picture);
    // Baselines 1 and 1 + 5/3 below the top fit the first column; the third would pass 3.
    EXPECT_GT(inkIn(shot, 1, 38.1, 11, 38.9), 20) << "first line";
    EXPECT_GT(inkIn(shot, 1, 36.4, 11, 37.2), 20) << "second line, at one and two thirds";
    EXPECT_EQ(inkIn(shot, 1, 20, 11, 35.8), 0) << "nothing more in the first column";
    EXPECT_GT(inkIn(shot, 13, 38.1, 23, 38.9), 20) << "the third line tops the second column";
    EXPECT_EQ(inkIn(shot, 13, 20, 23, 37.6), 0) << "a column break ends the second column";
    EXPECT_GT(inkIn(shot, 25, 38.1, 35, 38.9), 20) << "the fourth line tops the third";
}

TEST(RenderAnnotations, MeshShowsItsEdgesOrElseTheSidesOfItsFaces) {
    auto mesh = [](bool withEdges) {
        RawTagList tags{{100, "AcDbEntity"}, {8, "0"}, {100, "AcDbSubDMesh"}, {71, "2"}, {72, "0"}, {91, "0"}, {92, "4"}};
        for (const auto& [x, y] : {std::pair{5, 5}, {35, 5}, {35, 35}, {5, 35}})
            tags.insert(tags.end(), {{10, std::to_string(x)}, {20, std::to_string(y)}, {30, "0"}});
        tags.insert(tags.end(), {{93, "5"}, {90, "4"}, {90, "0"}, {90, "1"}, {90, "2"}, {90, "3"}});
        if (withEdges) tags.insert(tags.end(), {{94, "1"}, {90, "0"}, {90, "2"}});
        tags.insert(tags.end(), {{95, "0"}, {90, "0"}});
        return rawEntity("MESH", "AcDbSubDMesh", tags);
    };
    RenderDir dir;
    {
        auto db = Database::createDefault();
        append(*db, mesh(false));
        Shot shot = shoot(*db, dir, Extents2d({0, 0}, {40, 40}), 400, "faces.png");
        ASSERT_TRUE(shot.picture);
        EXPECT_TRUE(shot.at(20, 5).isInk() || shot.at(20, 5.05).isInk()) << "a side of the face";
        EXPECT_TRUE(shot.at(35, 20).isInk() || shot.at(34.95, 20).isInk());
        EXPECT_FALSE(shot.at(20, 20).isInk());
    }
    {
        auto db = Database::createDefault();
        append(*db, mesh(true));
        Shot shot = shoot(*db, dir, Extents2d({0, 0}, {40, 40}), 400, "edges.png");
        ASSERT_TRUE(shot.picture);
        EXPECT_TRUE(shot.at(20, 20).isInk() || shot.at(20.05, 20).isInk()) << "the one edge, corner to corner";
        EXPECT_FALSE(shot.at(20, 5).isInk() || shot.at(20, 5.05).isInk()) << "edges given: faces not outlined";
    }
}

TEST(RenderAnnotations, HatchLoopsFollowTheirSplineEdgesNotTheControlPolygon) {
    // A line from (0, 0) to (20, 0), back along a cubic whose control polygon is the square's
    // other three sides: the curve passes (10, 15), the polygon (10, 20).
    HatchLoop loop;
    loop.type = HatchLoop::kExternal;
    HatchEdge line;
    line.type = HatchEdge::Type::Line;
    line.start = {0, 0};
    line.end = {20, 0};
    HatchEdge curve;
    curve.type = HatchEdge::Type::Spline;
    curve.degree = 3;
    curve.knots = {0, 0, 0, 0, 1, 1, 1, 1};
    curve.controlPoints = {{20, 0}, {20, 20}, {0, 20}, {0, 0}};
    loop.edges = {line, curve};
    RenderDir dir;
    for (const std::string pattern : {"SOLID", "ANSI31"}) {
        auto db = Database::createDefault();
        auto hatch = std::make_unique<Hatch>();
        hatch->setPattern(Hatch::PatternType::Predefined, pattern);
        hatch->appendLoop(loop);
        hatch->setColorIndex(1);
        append(*db, std::move(hatch));
        Shot shot = shoot(*db, dir, Extents2d({-2, -2}, {22, 22}), 480, pattern + ".png");
        ASSERT_TRUE(shot.picture);
        EXPECT_GT(inkIn(shot, 6, 8, 14, 13, isRed), 20) << pattern << ": inside the curve";
        EXPECT_EQ(inkIn(shot, 9, 16.2, 11, 19.5, isRed), 0) << pattern << ": between curve and polygon";
        EXPECT_EQ(inkIn(shot, 17, 17, 19.5, 19.5, isRed), 0) << pattern << ": the polygon's corner";
        EXPECT_TRUE(shot.result.report.skipped.empty()) << shot.result.report.summary();
    }
}

TEST(RenderAnnotations, LinetypesReadFromAFileDrawTheirDashesAndTexts) {
    // GASX: a dash of 5, a gap of 2 ending where "GAS" (1 high, 0.1 back, 0.5 down) stands, a gap
    // of 2.5. SHAPEX puts a shape in its gap.
    const std::string pattern =
        "  0\nLTYPE\n  2\nGASX\n 70\n0\n  3\nGas\n 72\n65\n 73\n3\n 40\n9.5\n 49\n5.0\n 74\n0\n 49\n-2.0\n 74\n2\n"
        " 75\n0\n 46\n1.0\n 50\n0.0\n 44\n-0.1\n 45\n-0.5\n  9\nGAS\n 49\n-2.5\n 74\n0\n"
        "  0\nLTYPE\n  2\nSHAPEX\n 70\n0\n  3\nShape\n 72\n65\n 73\n2\n 40\n6\n 49\n4.0\n 74\n0\n 49\n-2.0\n 74\n4\n"
        " 75\n132\n 46\n1.0\n 50\n0.0\n 44\n0\n 45\n0\n";
    auto line = [](const char* linetype, int y) {
        return "  0\nLINE\n  8\n0\n  6\n" + std::string(linetype) + "\n 10\n0\n 20\n" + std::to_string(y) +
               "\n 30\n0\n 11\n40\n 21\n" + std::to_string(y) + "\n 31\n0\n";
    };
    const std::string dxf = "  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLTYPE\n 70\n2\n" + pattern +
                            "  0\nENDTAB\n  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n" + line("GASX", 10) +
                            line("SHAPEX", 20) + "  0\nENDSEC\n  0\nEOF\n";
    DxfDrawing drawing = readDxfDrawingText(dxf, "linetypes.dxf");
    RenderDir dir;
    Shot shot = shoot(*drawing.database, dir, Extents2d({0, 0}, {40, 30}), 400);
    ASSERT_TRUE(shot.picture);
    EXPECT_GT(inkIn(shot, 1, 9.8, 4, 10.2), 0) << "the dash";
    EXPECT_EQ(inkIn(shot, 5.3, 8, 6.6, 12), 0) << "the gap before the text";
    EXPECT_GT(inkIn(shot, 7, 10.15, 9, 10.45), 10) << "the upper half of the text, above the line";
    EXPECT_GT(inkIn(shot, 10, 9.8, 14, 10.2), 0) << "the next dash";
    EXPECT_EQ(inkIn(shot, 4.3, 19, 5.7, 21), 0) << "the shape's gap stays empty";
    EXPECT_GT(inkIn(shot, 1, 19.8, 3.5, 20.2), 0);
    EXPECT_EQ(shot.result.report.skipped.count("LTYPE shape (drawn as its gap)"), 1u) << shot.result.report.summary();
}

TEST(RenderAnnotations, MeasuredExtentsOfCirclesAndArcsAreExact) {
    auto db = Database::createDefault();
    append(*db, std::make_unique<Arc>(Point3d{0, 0, 0}, 10.0, std::numbers::pi / 4, 3 * std::numbers::pi / 4));
    FontLibrary fonts;
    {
        DrawingRenderer renderer(*db, fonts);
        const Extents2d box = renderer.measure();
        EXPECT_NEAR(box.minPoint().x, -10 * std::sqrt(0.5), 1e-9);
        EXPECT_NEAR(box.maxPoint().x, 10 * std::sqrt(0.5), 1e-9);
        EXPECT_NEAR(box.minPoint().y, 10 * std::sqrt(0.5), 1e-9);
        EXPECT_NEAR(box.maxPoint().y, 10.0, 1e-9) << "the top of the arc, between its ends";
    }
    // A circle in a reference turned by 30 degrees and scaled by 2 is still its centre +- 2r.
    const ObjectId block = addBlockRecord(*db, "RING");
    append(*db, std::make_unique<Circle>(Point3d{5, 0, 0}, 3.0), block);
    auto ref = std::make_unique<BlockReference>(Point3d{100, 100, 0}, block);
    ref->setRotation(std::numbers::pi / 6);
    ref->setScaleFactors(Vector3d(2, 2, 2));
    append(*db, std::move(ref));
    DrawingRenderer renderer(*db, fonts);
    const Extents2d box = renderer.measure();
    const Point2d center(100 + 10 * std::cos(std::numbers::pi / 6), 100 + 10 * std::sin(std::numbers::pi / 6));
    EXPECT_NEAR(box.maxPoint().x, center.x + 6, 1e-9);
    EXPECT_NEAR(box.maxPoint().y, center.y + 6, 1e-9);
    EXPECT_NEAR(box.minPoint().x, -10 * std::sqrt(0.5), 1e-9);
}

// Large model spaces are measured in two halves at once: the box is still the whole drawing's,
// with texts and references measured in either half, and hidden things in neither.
TEST(RenderAnnotations, LargeModelSpacesMeasureAsOne) {
    auto db = Database::createDefault();
    const ObjectId off = addLayer(*db, "OFF", 1);
    static_cast<LayerTableRecord*>(db->objectAt(off))->setOff(true);
    const ObjectId block = addBlockRecord(*db, "RING");
    append(*db, std::make_unique<Circle>(Point3d{0, 0, 0}, 3.0), block);
    auto text = [&](double x, double y) {
        auto t = std::make_unique<Text>();
        t->setPosition({x, y, 0});
        t->setHeight(10);
        t->setTextString("ROOM 101");
        append(*db, std::move(t));
    };
    text(-500, 0);  // first half: its left end is the box's
    constexpr int kLines = 30000;
    for (int i = 0; i < kLines; ++i) {
        append(*db, std::make_unique<Line>(Point3d{i * 0.01, 0, 0}, Point3d{i * 0.01, 1, 0}));
        if (i == kLines / 2 + 10) {
            auto hidden = std::make_unique<Line>(Point3d{-1e6, -1e6, 0}, Point3d{1e6, 1e6, 0});
            hidden->setLayer(off);
            append(*db, std::move(hidden));
        }
    }
    append(*db, std::make_unique<BlockReference>(Point3d{400, 200, 0}, block));
    text(600, -50);  // second half: the box reaches past its start by its width
    FontLibrary fonts;
    DrawingRenderer renderer(*db, fonts);
    const Extents2d box = renderer.measure();
    EXPECT_NEAR(box.minPoint().x, -500, 2.0);
    EXPECT_NEAR(box.maxPoint().y, 203, 1e-9) << "the circle of the reference";
    EXPECT_NEAR(box.minPoint().y, -50, 5.0) << "the second text's baseline";
    EXPECT_GT(box.maxPoint().x, 600 + 40) << "the second text's width";
    EXPECT_LT(box.maxPoint().x, 600 + 100);
}

TEST(RenderAnnotations, MalformedTagsOfTheNewKindsDrawWhatTheyCanAndNeverFail) {
    auto db = Database::createDefault();
    const RawTagList junk{{100, "AcDbEntity"}, {8, "0"}, {10, "x"}, {20, "nan"}, {30, "1e999"}, {11, "-inf"}};
    for (const char* kind : {"MULTILEADER", "MESH", "RAY", "XLINE", "LEADER", "MTEXT"})
        append(*db, rawEntity(kind, "AcDbEntity", junk));
    // A multileader whose sections never close, a mesh naming vertices it does not have and
    // counts beyond its lists, a leader with one point, texts with codes cut off.
    append(*db, rawEntity("MULTILEADER", "AcDbMLeader",
                          {{300, "CONTEXT_DATA{"}, {302, "LEADER{"}, {304, "LEADER_LINE{"}, {10, "1"}, {20, "1"},
                           {290, "1"}, {304, "LEADER_LINE{"}, {341, "FFFFFF"}, {290, "1"}}));
    append(*db, rawEntity("MESH", "AcDbSubDMesh",
                          {{92, "2"}, {10, "0"}, {20, "0"}, {30, "0"}, {93, "9223372036854775807"}, {90, "7"},
                           {90, "0"}, {90, "99"}, {94, "-5"}, {90, "1"}}));
    append(*db, rawEntity("LEADER", "AcDbLeader", {{71, "1"}, {10, "5"}, {20, "5"}, {30, "0"}}));
    append(*db, mtext(1, 1, 1, "{\\H0x;\\W1e400;\\C-3;\\f|;\\S^;\\P\\"));
    RenderDir dir;
    for (const char* file : {"junk.png", "junk.pdf"}) {
        RenderOptions options;
        options.width = 200;
        const RenderResult r = renderDrawingToFile(*db, options, dir.file(file));
        EXPECT_TRUE(r.ok) << file << ": " << r.error;
    }
}
