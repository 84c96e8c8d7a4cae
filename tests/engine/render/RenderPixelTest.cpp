// Pictures of small drawings whose right answer is known pixel by pixel.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <numbers>

#include "../db/DbTestSupport.h"
#include "RenderTestSupport.h"
#include "engine/db/Attribute.h"
#include "engine/db/AttributeDefinition.h"
#include "engine/db/BlockReference.h"
#include "engine/db/Circle.h"
#include "engine/db/Hatch.h"
#include "engine/db/Layout.h"
#include "engine/db/Line.h"
#include "engine/db/LinetypeTableRecord.h"
#include "engine/db/SortentsTable.h"
#include "engine/db/TagValue.h"
#include "engine/db/Text.h"
#include "engine/db/Viewport.h"
#include "engine/dxf/DxfDrawing.h"
#include "engine/render/FontLibrary.h"

using namespace cad;
using namespace cad::test;

namespace {

std::vector<Point2d> square(double x0, double y0, double x1, double y1) {
    return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

std::unique_ptr<UnknownEntity> solid(double x0, double y0, double x1, double y1, int color) {
    auto f = [](double v) { return formatDouble(v); };
    return rawEntity("SOLID", "AcDbTrace",
                     {{100, "AcDbEntity"}, {8, "0"}, {62, std::to_string(color)}, {100, "AcDbTrace"},
                      {10, f(x0)}, {20, f(y0)}, {30, "0"}, {11, f(x1)}, {21, f(y0)}, {31, "0"},
                      {12, f(x0)}, {22, f(y1)}, {32, "0"}, {13, f(x1)}, {23, f(y1)}, {33, "0"}});
}

bool isRed(const Pixel& p) { return p.r > 200 && p.g < 60 && p.b < 60; }
bool isBlue(const Pixel& p) { return p.b > 200 && p.r < 60 && p.g < 60; }
bool isGreen(const Pixel& p) { return p.g > 200 && p.r < 60 && p.b < 60; }

}  // namespace

TEST(RenderPixels, SolidHatchFillsTheRoomAndLeavesItsHoleEmpty) {
    auto db = Database::createDefault();
    append(*db, rectangle(0, 0, 10, 10));
    append(*db, solidHatch({square(0, 0, 10, 10), square(4, 4, 6, 6)}, 1));
    RenderDir dir;
    Shot shot = shoot(*db, dir, Extents2d({-1, -1}, {11, 11}));
    ASSERT_TRUE(shot.picture);
    EXPECT_TRUE(isRed(shot.at(2, 2)));
    EXPECT_TRUE(isRed(shot.at(8, 7)));
    EXPECT_TRUE(shot.at(5, 5).isWhite()) << "the inner loop is a hole";
    EXPECT_TRUE(shot.at(10.5, 5).isWhite()) << "nothing outside the room";
    EXPECT_EQ(shot.result.report.drawn, 2u);

    // A gradient from red to blue is drawn flat in their mean, not in the hatch's own colour.
    auto gradient = solidHatch({square(0, 0, 10, 10)}, 7);
    gradient->editExtraTags() = {{450, "1"}, {452, "0"}, {453, "2"}, {463, "0"}, {63, "1"}, {421, "16711680"},
                                 {463, "1"}, {63, "5"}, {421, "255"}, {470, "LINEAR"}};
    auto flat = Database::createDefault();
    append(*flat, std::move(gradient));
    Shot mean = shoot(*flat, dir, Extents2d({-1, -1}, {11, 11}), 200, "gradient.png");
    ASSERT_TRUE(mean.picture);
    const Pixel p = mean.at(5, 5);
    EXPECT_NEAR(p.r, 127, 2);
    EXPECT_NEAR(p.g, 0, 2);
    EXPECT_NEAR(p.b, 127, 2);
}

TEST(RenderPixels, LayersOffFrozenOrNotPlottedShowNothingAndAreCounted) {
    auto db = Database::createDefault();
    const ObjectId off = addLayer(*db, "OFF", 1);
    const ObjectId frozen = addLayer(*db, "FROZEN", 3);
    const ObjectId unplotted = addLayer(*db, "NOPLOT", 5);
    auto a = std::make_unique<Line>(Point3d{0, 2, 0}, Point3d{10, 2, 0});
    a->setLayer(off);
    a->setLineWeight(100);
    append(*db, std::move(a));
    auto b = std::make_unique<Line>(Point3d{0, 8, 0}, Point3d{10, 8, 0});
    b->setLayer(frozen);
    append(*db, std::move(b));
    auto c = std::make_unique<Line>(Point3d{0, 5, 0}, Point3d{10, 5, 0});
    c->setLayer(unplotted);
    append(*db, std::move(c));
    // Definition points of dimensions never print, even on a layer a file marks as plotted.
    const ObjectId defpoints = db->recordId(TableKind::Layer, "Defpoints");
    ASSERT_FALSE(defpoints.isNull());
    static_cast<LayerTableRecord*>(db->objectAt(defpoints))->setPlottable(true);
    auto d = std::make_unique<Line>(Point3d{0, 6, 0}, Point3d{10, 6, 0});
    d->setLayer(defpoints);
    append(*db, std::move(d));
    static_cast<LayerTableRecord*>(db->objectAt(off))->setOff(true);
    static_cast<LayerTableRecord*>(db->objectAt(frozen))->setFrozen(true);
    static_cast<LayerTableRecord*>(db->objectAt(unplotted))->setPlottable(false);
    RenderDir dir;
    Shot hidden = shoot(*db, dir, Extents2d({0, 0}, {10, 10}), 200, "hidden.png");
    ASSERT_TRUE(hidden.picture);
    EXPECT_EQ(hidden.picture->inkCount(), 0u);
    EXPECT_EQ(hidden.result.report.hidden, 4u);
    EXPECT_EQ(hidden.result.report.drawn, 0u);

    static_cast<LayerTableRecord*>(db->objectAt(off))->setOff(false);
    Shot shown = shoot(*db, dir, Extents2d({0, 0}, {10, 10}), 200, "shown.png");
    ASSERT_TRUE(shown.picture);
    EXPECT_TRUE(isRed(shown.at(5, 2))) << "layer colour through BYLAYER";
    EXPECT_TRUE(shown.at(5, 8).isWhite());
}

TEST(RenderPixels, DashedLinetypeLeavesItsGaps) {
    auto db = Database::createDefault();
    const ObjectId lt = addDashedLinetype(*db);
    auto line = std::make_unique<Line>(Point3d{0, 5, 0}, Point3d{30, 5, 0});
    line->setLinetype(lt);
    append(*db, std::move(line));
    RenderDir dir;
    Shot shot = shoot(*db, dir, Extents2d({0, 0}, {30, 10}), 600);
    ASSERT_TRUE(shot.picture);
    // 20 pixels per unit: dashes on [0,2), [3,5) ..., gaps on [2,3), [5,6) ...
    for (int k = 0; k < 10; ++k) {
        EXPECT_TRUE(shot.at(3 * k + 1.0, 5).isInk()) << "dash " << k;
        EXPECT_TRUE(shot.at(3 * k + 2.5, 5).isWhite()) << "gap " << k;
    }
    std::size_t inked = 0;
    const int y = shot.py(5);
    for (int x = 0; x < shot.picture->width(); ++x) inked += shot.picture->at(x, y).isInk();
    EXPECT_NEAR(static_cast<double>(inked) / shot.picture->width(), 2.0 / 3.0, 0.03);

    db->header().setDouble("$LTSCALE", 40, 2.0);  // the pattern doubles: gap now on [4,6)
    Shot scaled = shoot(*db, dir, Extents2d({0, 0}, {30, 10}), 600, "scaled.png");
    ASSERT_TRUE(scaled.picture);
    EXPECT_TRUE(scaled.at(3, 5).isInk());
    EXPECT_TRUE(scaled.at(5, 5).isWhite());
}

TEST(RenderPixels, RotatedTextCoversTheBoxItsFontGives) {
    auto db = Database::createDefault();
    auto text = textAt("HHHH", {10, 10, 0}, 5);
    text->setRotation(std::numbers::pi / 2);
    append(*db, std::move(text));
    RenderDir dir;
    Shot shot = shoot(*db, dir, Extents2d({0, 0}, {40, 40}), 400);
    ASSERT_TRUE(shot.picture);
    FontLibrary fonts;
    const FontFace& face = fonts.face("txt");
    const double length = fonts.advance(face, "HHHH") * 5 / face.capHeight;  // along the baseline
    const auto box = inkBox(*shot.picture);
    const double s = shot.scale();
    // Turned a quarter: the capitals stand 5 units to the left of the anchor and the text runs up.
    EXPECT_NEAR((box[2] - box[0] + 1) / s, 5.0, 0.35);
    EXPECT_NEAR(box[2] / s, 10.0, 0.3);
    EXPECT_NEAR(box[0] / s, 5.0, 0.35);
    // The run is the advance less the side bearings of the first and last letter.
    const double run = (box[3] - box[1] + 1) / s;
    EXPECT_LT(run, length);
    EXPECT_GT(run, length - 1.5);
    EXPECT_NEAR(40 - (box[3] + 1) / s, 10.0, 0.8);
}

TEST(RenderPixels, AlignedTextAndWidthFactorFollowTheirPoints) {
    auto db = Database::createDefault();
    auto text = std::make_unique<Text>();
    text->setTextString("WIDE");
    text->setHeight(2);
    text->setHorizontalMode(Text::HorizontalMode::Fit);
    text->setPosition({2, 2, 0});
    text->setAlignmentPoint({38, 2, 0});
    append(*db, std::move(text));
    auto right = std::make_unique<Text>();
    right->setTextString("R");
    right->setHeight(3);
    right->setHorizontalMode(Text::HorizontalMode::Right);
    right->setVerticalMode(Text::VerticalMode::Top);
    right->setAlignmentPoint({38, 38, 0});
    append(*db, std::move(right));
    RenderDir dir;
    Shot shot = shoot(*db, dir, Extents2d({0, 0}, {40, 40}), 400);
    ASSERT_TRUE(shot.picture);
    const auto box = inkBox(*shot.picture);
    const double s = shot.scale();
    EXPECT_NEAR(box[0] / s, 2.0, 0.5);
    EXPECT_NEAR((box[2] + 1) / s, 38.0, 0.5);
    // "R" hangs from its top-right point.
    EXPECT_NEAR(box[1] / s, 2.0, 0.3);
    EXPECT_TRUE(shot.at(37.5, 36.5).isInk() || shot.at(37.2, 37.5).isInk());
    EXPECT_TRUE(shot.at(37, 38.5).isWhite());
}

TEST(RenderPixels, BackwardAndUpsideDownTextsAreMirroredAboutTheirAnchor) {
    auto db = Database::createDefault();
    auto addText = [&](Point3d at, int flags) {
        auto text = textAt("HHH", at, 4);
        text->setGenerationFlags(flags);
        append(*db, std::move(text));
    };
    addText({20, 30, 0}, 2);  // backward
    addText({20, 10, 0}, 4);  // upside down
    RenderDir dir;
    Shot shot = shoot(*db, dir, Extents2d({0, 0}, {40, 40}), 400);
    ASSERT_TRUE(shot.picture);
    EXPECT_GT(inkIn(shot, 12, 30.5, 19.8, 33.5), 100) << "backward: to the left of its insertion point";
    EXPECT_EQ(inkIn(shot, 20.3, 26, 40, 36), 0);
    EXPECT_GT(inkIn(shot, 20.2, 6.5, 28, 9.5), 100) << "upside down: below its baseline";
    EXPECT_EQ(inkIn(shot, 14, 10.3, 40, 16), 0);
}

TEST(RenderPixels, TextUnderlineAndOverlineCoverTheirStretch) {
    auto db = Database::createDefault();
    // Underlined "H H", then plain; overlined from the last "H" to the end (never switched off).
    append(*db, textAt("%%uH H%%u H %%oH", {2, 20, 0}, 4));
    RenderDir dir;
    Shot shot = shoot(*db, dir, Extents2d({0, 0}, {40, 40}), 400);
    ASSERT_TRUE(shot.picture);
    FontLibrary fonts;
    const FontFace& face = fonts.face("txt");
    const double em = 4 / face.capHeight;
    const double underlineEnd = 2 + fonts.advance(face, "H H") * em, overlineFrom = 2 + fonts.advance(face, "H H H ") * em;
    // Two pixel rows: a thin line may fall on either.
    auto row = [&](double x0, double x1, double y) { return inkIn(shot, x0, y, x1, y + 0.1); };
    const double under = 20 - 0.8, over = 20 + 4.8;
    EXPECT_GT(row(2.3, underlineEnd - 0.3, under), (underlineEnd - 2.6) / 0.1 * 0.9) << "under the first two letters";
    EXPECT_EQ(row(underlineEnd + 0.3, 40, under), 0) << "and no further";
    EXPECT_GT(row(overlineFrom + 0.3, overlineFrom + 2, over), 12) << "over the last letter";
    EXPECT_EQ(row(0, overlineFrom - 0.3, over), 0);
}

TEST(RenderPixels, DrawOrderTableDecidesWhichSolidIsOnTop) {
    auto db = Database::createDefault();
    const ObjectId red = append(*db, solid(0, 0, 6, 6, 1));
    const ObjectId blue = append(*db, solid(4, 4, 10, 10, 5));
    RenderDir dir;
    Shot before = shoot(*db, dir, Extents2d({0, 0}, {10, 10}), 200, "before.png");
    ASSERT_TRUE(before.picture);
    EXPECT_TRUE(isBlue(before.at(5, 5))) << "the later entity is drawn last";
    EXPECT_TRUE(isRed(before.at(2, 2)));

    ObjectId tableId;
    ASSERT_EQ(db->getSortentsTable(db->modelSpaceId(), tableId, true), ErrorStatus::eOk);
    ASSERT_EQ(static_cast<SortentsTable*>(db->objectAt(tableId))->moveToBottom({blue}), ErrorStatus::eOk);
    Shot after = shoot(*db, dir, Extents2d({0, 0}, {10, 10}), 200, "after.png");
    ASSERT_TRUE(after.picture);
    EXPECT_TRUE(isRed(after.at(5, 5)));
    EXPECT_TRUE(isBlue(after.at(8, 8)));
    (void)red;
}

TEST(RenderPixels, NestedReferencesPassColourLayerAndAttributesDown) {
    auto db = Database::createDefault();
    const ObjectId green = addLayer(*db, "GREEN", 3);
    // Inner block: a ByBlock square; outer block: the inner one scaled by 2, on layer 0.
    const ObjectId inner = addBlockRecord(*db, "INNER");
    auto sq = rectangle(0, 0, 1, 1);
    sq->setColor(Color::byBlock());
    append(*db, std::move(sq), inner);
    auto hatch = solidHatch({square(0, 0, 1, 1)}, 0);
    hatch->setColor(Color::byBlock());
    append(*db, std::move(hatch), inner);
    const ObjectId outer = addBlockRecord(*db, "OUTER");
    auto innerRef = std::make_unique<BlockReference>(Point3d{1, 1, 0}, inner);
    innerRef->setScaleFactors({2, 2, 1});
    innerRef->setColor(Color::byLayer());
    append(*db, std::move(innerRef), outer);
    auto def = std::make_unique<AttributeDefinition>();
    ASSERT_EQ(def->setTag("NAME"), ErrorStatus::eOk);
    def->setHeight(1);
    def->setPosition({0, 5, 0});
    append(*db, std::move(def), outer);

    auto ref = std::make_unique<BlockReference>(Point3d{10, 10, 0}, outer);
    ref->setLayer(green);
    ref->setScaleFactors({-1, 1, 1});  // mirrored
    const ObjectId refId = append(*db, std::move(ref));
    auto* placed = static_cast<BlockReference*>(db->objectAt(refId));
    ASSERT_EQ(placed->appendAttributesFromBlock(), ErrorStatus::eOk);
    ASSERT_EQ(placed->attributeIds().size(), 1u);
    static_cast<Attribute*>(db->objectAt(placed->attributeIds()[0]))->setTextString("ZZZZ");

    RenderDir dir;
    Shot shot = shoot(*db, dir, Extents2d({0, 0}, {20, 20}), 400);
    ASSERT_TRUE(shot.picture);
    // The inner square lands mirrored at x 7..9, y 11..13, green through layer 0 -> GREEN.
    EXPECT_TRUE(isGreen(shot.at(8, 12)));
    EXPECT_TRUE(shot.at(12, 12).isWhite()) << "mirrored to the left of the insertion point";
    // The attribute (ink above y 15) is drawn; the definition's tag is not.
    bool attributeInk = false;
    for (double x = 0; x < 20 && !attributeInk; x += 0.05) attributeInk = shot.at(x, 15.5).isInk();
    EXPECT_TRUE(attributeInk);
    EXPECT_EQ(shot.result.report.skippedCount(), 0u);
}

TEST(RenderPixels, GridReferenceShowsItsAttributesWithEveryCopy) {
    auto db = Database::createDefault();
    const ObjectId flag = addBlockRecord(*db, "FLAG");
    append(*db, rectangle(0, 0, 1, 1), flag);
    auto def = std::make_unique<AttributeDefinition>();
    ASSERT_EQ(def->setTag("NAME"), ErrorStatus::eOk);
    def->setHeight(1);
    def->setPosition({0, 2, 0});
    append(*db, std::move(def), flag);
    auto ref = std::make_unique<BlockReference>(Point3d{1, 1, 0}, flag);
    ref->setGrid(3, 2, 6, 8);
    const ObjectId refId = append(*db, std::move(ref));
    auto* placed = static_cast<BlockReference*>(db->objectAt(refId));
    ASSERT_EQ(placed->appendAttributesFromBlock(), ErrorStatus::eOk);
    static_cast<Attribute*>(db->objectAt(placed->attributeIds()[0]))->setTextString("HH");

    RenderDir dir;
    Shot shot = shoot(*db, dir, Extents2d({0, 0}, {20, 20}), 400);
    ASSERT_TRUE(shot.picture);
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 3; ++col) {
            const double x = 1 + 6 * col, y = 1 + 8 * row;
            int ink = 0;
            for (double px = x; px < x + 1.5; px += 0.05) ink += shot.at(px, y + 2.5).isInk();
            EXPECT_GT(ink, 3) << "the attribute of copy " << col << ", " << row;
        }
}

TEST(RenderPixels, LineWeightsWidenLines) {
    auto db = Database::createDefault();
    auto thin = std::make_unique<Line>(Point3d{0, 2, 0}, Point3d{10, 2, 0});
    append(*db, std::move(thin));
    auto thick = std::make_unique<Line>(Point3d{0, 8, 0}, Point3d{10, 8, 0});
    thick->setLineWeight(200);  // 2 mm: about 7.6 pixels at 96 per inch
    append(*db, std::move(thick));
    RenderDir dir;
    Shot shot = shoot(*db, dir, Extents2d({0, 0}, {10, 10}), 200);
    ASSERT_TRUE(shot.picture);
    auto column = [&](double y0, double y1) {
        int n = 0;
        for (int y = shot.py(y1); y <= shot.py(y0); ++y) n += shot.picture->at(100, y).isInk();
        return n;
    };
    EXPECT_LE(column(1, 3), 2);
    EXPECT_GE(column(7, 9), 7);
    EXPECT_LE(column(7, 9), 9);
}

TEST(RenderPixels, PaperLayoutShowsModelSpaceThroughItsViewport) {
    auto db = Database::createDefault();
    append(*db, std::make_unique<Circle>(Point3d{100, 100, 0}, 50));
    const ObjectId layoutId = db->layoutId("Layout1");
    ASSERT_FALSE(layoutId.isNull());
    const auto* layout = static_cast<const Layout*>(db->objectAt(layoutId));
    auto vp = std::make_unique<Viewport>();
    vp->setCenterPoint({50, 50, 0});
    vp->setWidth(40);
    vp->setHeight(40);
    vp->setViewCenter({100, 100});
    vp->setViewHeight(200);  // 0.2 paper units per model unit: the circle has radius 10 on paper
    vp->setNumber(2);
    append(*db, std::move(vp), layout->blockTableRecordId());
    append(*db, rectangle(0, 0, 100, 100), layout->blockTableRecordId());
    RenderDir dir;
    Shot shot = shoot(*db, dir, Extents2d({0, 0}, {100, 100}), 500, "paper.png", "layout1");
    ASSERT_TRUE(shot.picture);
    EXPECT_TRUE(shot.at(60, 50).isInk() || shot.at(59.9, 50).isInk()) << "circle's right end";
    EXPECT_TRUE(shot.at(50, 50).isWhite());
    EXPECT_TRUE(shot.at(75, 50).isWhite());
    // The viewport's border, 40 x 40 about (50, 50).
    for (const auto& [x, y] : {std::pair{30.0, 50.0}, {70.0, 50.0}, {50.0, 30.0}, {50.0, 70.0}})
        EXPECT_TRUE(shot.at(x, y).isInk() || shot.at(x + 0.1, y + 0.1).isInk() || shot.at(x - 0.1, y - 0.1).isInk())
            << "border at " << x << "," << y;
    EXPECT_TRUE(shot.at(27, 50).isWhite());

    // A viewport read from a file is kept as its tags, and shows the same.
    const std::string dxf = dir.file("paper.dxf");
    saveDxfDrawing(*db, DxfFileInfo{}, dxf);
    const DxfDrawing reread = readDxfDrawing(dxf);
    Shot again = shoot(*reread.database, dir, Extents2d({0, 0}, {100, 100}), 500, "reread.png", "layout1");
    ASSERT_TRUE(again.picture);
    EXPECT_TRUE(again.at(60, 50).isInk() || again.at(59.9, 50).isInk()) << "circle's right end";
    EXPECT_TRUE(again.at(50, 50).isWhite());
    EXPECT_TRUE(again.at(30, 50).isInk() || again.at(30.1, 50).isInk() || again.at(29.9, 50).isInk()) << "border";
    EXPECT_EQ(again.result.report.skippedCount(), 0u) << again.result.report.summary();

    // Each viewport draws the model again: past a hundred in one layout the rest are counted.
    for (int i = 0; i < 100; ++i) {
        auto more = std::make_unique<Viewport>();
        more->setCenterPoint({1.0 + i % 10, 90.0 + i / 10, 0});
        more->setWidth(0.5);
        more->setHeight(0.5);
        more->setViewCenter({100, 100});
        more->setViewHeight(200);
        more->setNumber(3 + i);
        append(*db, std::move(more), layout->blockTableRecordId());
    }
    Shot many = shoot(*db, dir, Extents2d({0, 0}, {100, 100}), 100, "many.png", "layout1");
    ASSERT_TRUE(many.picture);
    EXPECT_NE(many.result.report.summary().find("VIEWPORT (beyond 100 in the layout)"), std::string::npos)
        << many.result.report.summary();

    std::string error;
    FontLibrary fonts;
    DrawingRenderer renderer(*db, fonts);
    EXPECT_FALSE(renderer.selectLayout("NoSuch", error));
    EXPECT_NE(error.find("Layout1"), std::string::npos) << error;
}

TEST(RenderPixels, EllipseMultilineTextAndPointsAreDrawnAndUnknownKindsCounted) {
    auto db = Database::createDefault();
    append(*db, rawEntity("ELLIPSE", "AcDbEllipse",
                          {{100, "AcDbEntity"}, {8, "0"}, {100, "AcDbEllipse"}, {10, "10"}, {20, "10"}, {30, "0"},
                           {11, "8"}, {21, "0"}, {31, "0"}, {40, "0.5"}, {41, "0"}, {42, "6.283185307179586"}}));
    append(*db, rawEntity("MTEXT", "AcDbMText",
                          {{100, "AcDbEntity"}, {8, "0"}, {100, "AcDbMText"}, {10, "1"}, {20, "39"}, {30, "0"},
                           {40, "2"}, {71, "1"}, {1, "{\\fArial|b1;TOP}\\PSECOND"}}));
    append(*db, rawEntity("REGION", "AcDbModelerGeometry", {{100, "AcDbEntity"}, {8, "0"}, {100, "AcDbModelerGeometry"}}));
    RenderDir dir;
    Shot shot = shoot(*db, dir, Extents2d({0, 0}, {40, 40}), 400);
    ASSERT_TRUE(shot.picture);
    EXPECT_TRUE(shot.at(18, 10).isInk() || shot.at(17.95, 10).isInk()) << "end of the major axis";
    EXPECT_TRUE(shot.at(10, 14).isInk() || shot.at(10, 13.95).isInk()) << "end of the minor axis";
    EXPECT_TRUE(shot.at(10, 10).isWhite());
    // Two lines hang from the top-left corner: the second baseline is 2 * 5/3 lower than the first.
    bool first = false, second = false;
    for (double x = 1; x < 10; x += 0.05) {
        first = first || shot.at(x, 38).isInk();
        second = second || shot.at(x, 38 - 10.0 / 3).isInk();
    }
    EXPECT_TRUE(first);
    EXPECT_TRUE(second);
    EXPECT_EQ(shot.result.report.skipped.at("REGION"), 1u);
    EXPECT_NE(shot.result.report.summary().find("skipped: 1 REGION"), std::string::npos);

    // Points in the drawing's style: a plus in a circle 4 units across ($PDMODE 34, $PDSIZE 4).
    auto points = Database::createDefault();
    points->header().setInt("$PDMODE", 70, 34);
    points->header().setDouble("$PDSIZE", 40, 4);
    append(*points, rawEntity("POINT", "AcDbPoint", {{100, "AcDbEntity"}, {8, "0"}, {100, "AcDbPoint"}, {10, "20"},
                                                      {20, "20"}, {30, "0"}}));
    Shot marked = shoot(*points, dir, Extents2d({0, 0}, {40, 40}), 400, "points.png");
    ASSERT_TRUE(marked.picture);
    EXPECT_TRUE(marked.at(21, 20).isInk()) << "the plus";
    EXPECT_TRUE(marked.at(20, 18.95).isInk() || marked.at(20, 19.05).isInk()) << "its arm's end on the circle";
    EXPECT_TRUE(marked.at(20 + std::sqrt(2.0), 20 + std::sqrt(2.0)).isInk() ||
                marked.at(20 + 1.38, 20 + 1.38).isInk())
        << "the circle";
    EXPECT_TRUE(marked.at(20.7, 20.7).isWhite()) << "inside, off the arms";
}

TEST(RenderFiles, FormatsByExtensionAndClearErrors) {
    auto db = Database::createDefault();
    append(*db, rectangle(0, 0, 10, 5));
    RenderDir dir;
    RenderOptions options;
    options.width = 300;
    for (const char* name : {"a.pdf", "a.svg", "a.PNG", "a.jpg"}) {
        const RenderResult r = renderDrawingToFile(*db, options, dir.file(name));
        ASSERT_TRUE(r.ok) << name << ": " << r.error;
        EXPECT_EQ(r.width, 300);
        EXPECT_NEAR(r.height, 300 * (5 + 0.4) / (10 + 0.4), 1.0) << "aspect of the box with its margin";
    }
    auto head = [&](const char* name) {
        std::ifstream in(dir.file(name), std::ios::binary);
        std::string s(8, '\0');
        in.read(s.data(), 8);
        return s;
    };
    EXPECT_EQ(head("a.pdf").substr(0, 5), "%PDF-");
    EXPECT_NE(head("a.svg").find("<?xml"), std::string::npos);
    EXPECT_EQ(head("a.PNG").substr(1, 3), "PNG");
    EXPECT_EQ(static_cast<unsigned char>(head("a.jpg")[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(head("a.jpg")[1]), 0xD8);

    RenderResult bad = renderDrawingToFile(*db, options, dir.file("a.bmp"));
    EXPECT_FALSE(bad.ok);
    EXPECT_NE(bad.error.find("a.bmp"), std::string::npos);
    bad = renderDrawingToFile(*db, options, dir.file("missing/folder/a.png"));
    EXPECT_FALSE(bad.ok);
    EXPECT_NE(bad.error.find("missing/folder/a.png"), std::string::npos) << bad.error;
    options.width = 5;
    bad = renderDrawingToFile(*db, options, dir.file("b.png"));
    EXPECT_FALSE(bad.ok);
    EXPECT_FALSE(std::filesystem::exists(dir.file("b.png")));
}

TEST(RenderPixels, DegeneratePlacementsAreLeftOutAndTheRestIsDrawn) {
    auto db = Database::createDefault();
    const ObjectId block = addBlockRecord(*db, "FLAT");
    auto label = std::make_unique<Text>();
    label->setTextString("X");
    label->setHeight(1);
    append(*db, std::move(label), block);
    append(*db, rectangle(0, 0, 1, 1), block);
    auto flat = std::make_unique<BlockReference>(Point3d{5, 5, 0}, block);
    flat->setScaleFactors({0, 0, 1});
    append(*db, std::move(flat));
    auto odd = std::make_unique<Line>(Point3d{std::nan(""), 0, 0}, Point3d{10, 10, 0});
    append(*db, std::move(odd));
    auto truecolour = std::make_unique<Line>(Point3d{0, 2, 0}, Point3d{10, 2, 0});
    truecolour->setColor(Color::fromRgb(0, 200, 0));
    truecolour->setLineWeight(100);
    append(*db, std::move(truecolour));
    auto white = std::make_unique<Line>(Point3d{0, 8, 0}, Point3d{10, 8, 0});
    white->setColorIndex(7);
    white->setLineWeight(100);
    append(*db, std::move(white));
    RenderDir dir;
    Shot shot = shoot(*db, dir, Extents2d({0, 0}, {10, 10}), 200);
    ASSERT_TRUE(shot.picture) << shot.result.error;
    const Pixel green = shot.at(5, 2);
    EXPECT_TRUE(green.g > 150 && green.r < 60 && green.b < 60) << "true colour";
    const Pixel black = shot.at(5, 8);
    EXPECT_TRUE(black.r < 60 && black.g < 60 && black.b < 60) << "colour 7 is black on the white sheet";
}

TEST(RenderPixels, BlocksThatMultiplyWithoutEndAreCutAndCounted) {
    auto db = Database::createDefault();
    // A block placed in itself draws its own line once; the copies inside are counted.
    const ObjectId self = addBlockRecord(*db, "SELF");
    append(*db, std::make_unique<Line>(Point3d{0, 0, 0}, Point3d{10, 10, 0}), self);
    for (double x : {10.0, 20.0}) {
        auto inner = std::make_unique<BlockReference>(Point3d{x, 0, 0}, self);
        inner->setScaleFactors({0.5, 0.5, 1});
        append(*db, std::move(inner), self);
    }
    append(*db, std::make_unique<BlockReference>(Point3d{}, self));
    RenderDir dir;
    Shot shot = shoot(*db, dir, Extents2d({0, 0}, {10, 10}), 100);
    ASSERT_TRUE(shot.picture);
    EXPECT_TRUE(shot.at(5, 5).isInk());
    EXPECT_EQ(shot.result.report.skipped["INSERT (block inside itself)"], 2u);

    // A grid of a thousand by a thousand grids of a thousand by a thousand: a trillion copies, drawn
    // up to the limit and the rest counted.
    const ObjectId dot = addBlockRecord(*db, "DOT");
    append(*db, std::make_unique<Line>(Point3d{0, 0, 0}, Point3d{1, 0, 0}), dot);
    const ObjectId grid = addBlockRecord(*db, "GRID");
    auto dots = std::make_unique<BlockReference>(Point3d{}, dot);
    dots->setGrid(1000, 1000, 2, 2);
    append(*db, std::move(dots), grid);
    auto grids = std::make_unique<BlockReference>(Point3d{100, 0, 0}, grid);
    grids->setGrid(1000, 1000, 3000, 3000);
    append(*db, std::move(grids));
    shot = shoot(*db, dir, Extents2d({0, 0}, {10, 10}), 100);
    ASSERT_TRUE(shot.picture);
    EXPECT_EQ(shot.result.report.blockCopies, 2'000'000u);
    EXPECT_GT(shot.result.report.skipped["INSERT (beyond 2000000 block copies)"], 0u);
}
