#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "DbTestSupport.h"
#include "engine/db/Arc.h"
#include "engine/db/Circle.h"
#include "engine/db/Hatch.h"
#include "engine/db/Line.h"

using namespace cad;

TEST(Hatch, LoopsFromCurvesAndTheirArea) {
    auto db = Database::createDefault();
    ObjectId outer = test::append(*db, test::rectangle(0, 0, 10, 10));
    ObjectId hole = test::append(*db, std::make_unique<Circle>(Point3d{5, 5, 0}, 2));
    ObjectId line = test::append(*db, std::make_unique<Line>(Point3d{20, 0, 0}, Point3d{30, 0, 0}));
    ObjectId arc = test::append(*db, std::make_unique<Arc>(Point3d{25, 0, 0}, 5, 0, std::numbers::pi));

    auto owned = std::make_unique<Hatch>();
    owned->setPattern(Hatch::PatternType::Predefined, "ANSI31");
    EXPECT_FALSE(owned->isSolidFill());
    ObjectId hatchId = test::append(*db, std::move(owned));
    auto hatch = db->open<Hatch>(hatchId, OpenMode::ForWrite);
    ASSERT_EQ(hatch->appendLoop(HatchLoop::kOutermost | HatchLoop::kExternal, {outer}), ErrorStatus::eOk);
    ASSERT_EQ(hatch->appendLoop(HatchLoop::kDefault, {hole}), ErrorStatus::eOk);
    EXPECT_TRUE(hatch->loops()[0].isPolyline());
    EXPECT_FALSE(hatch->loops()[1].isPolyline());
    EXPECT_TRUE(hatch->loops()[0].sourceIds.empty());  // not associative
    EXPECT_NEAR(hatch->area(), 100 - std::numbers::pi * 4, 1e-9);

    // A half disc from a line and an arc.
    ASSERT_EQ(hatch->appendLoop(HatchLoop::kExternal, {line, arc}), ErrorStatus::eOk);
    EXPECT_NEAR(hatch->loops()[2].toPolyline().area(), std::numbers::pi * 25 / 2, 1e-9);
    EXPECT_EQ(hatch->appendLoop(0, {db->layerTableId()}), ErrorStatus::eWrongObjectType);

    Extents3d box;
    ASSERT_EQ(hatch->getGeomExtents(box), ErrorStatus::eOk);
    EXPECT_TRUE(box.maxPoint().isEqualTo({30, 10, 0}, 1e-9));

    double area = hatch->area();
    ASSERT_EQ(hatch->transformBy(Matrix3d::rotation(0.5, Vector3d::zAxis()) * Matrix3d::scaling(2.0)),
              ErrorStatus::eOk);
    EXPECT_NEAR(hatch->area(), 4 * area, 1e-6);
    EXPECT_NEAR(hatch->patternAngle(), 0.5, 1e-12);
    EXPECT_DOUBLE_EQ(hatch->patternScale(), 2.0);
    EXPECT_EQ(hatch->transformBy(Matrix3d::scaling(1, 3, 1)), ErrorStatus::eNotApplicable);
}

TEST(Hatch, ClockwiseEdgeArcsAndFullCircles) {
    HatchLoop loop;
    HatchEdge full;
    full.type = HatchEdge::Type::CircularArc;
    full.center = {1, 1};
    full.radius = 1;
    full.startAngle = 0;
    full.endAngle = 2 * std::numbers::pi;
    loop.edges.push_back(full);
    EXPECT_NEAR(loop.toPolyline().area(), std::numbers::pi, 1e-9);

    // Upper half disc traversed clockwise: the arc's angles are stored mirrored.
    HatchLoop cw;
    HatchEdge arcEdge;
    arcEdge.type = HatchEdge::Type::CircularArc;
    arcEdge.radius = 1;
    arcEdge.counterClockwise = false;
    arcEdge.startAngle = -std::numbers::pi;  // real start: 180 degrees
    arcEdge.endAngle = 0;                    // real end: 0 degrees
    HatchEdge chord;
    chord.start = {1, 0};
    chord.end = {-1, 0};
    cw.edges = {arcEdge, chord};
    PolylineGeometry ring = cw.toPolyline();
    EXPECT_NEAR(ring.area(), std::numbers::pi / 2, 1e-9);
    EXPECT_GT(ring.extents().maxPoint().y, 0.99);

    // An elliptic edge's angles are true angles: from 45 to 135 degrees it starts and ends where
    // the diagonals cross the ellipse (x = y = 4 / sqrt(5) on one 4 by 2), not at parameter 45.
    HatchLoop cap;
    HatchEdge ellipse;
    ellipse.type = HatchEdge::Type::EllipticArc;
    ellipse.majorAxis = {4, 0};
    ellipse.radius = 0.5;
    ellipse.startAngle = std::numbers::pi / 4;
    ellipse.endAngle = 3 * std::numbers::pi / 4;
    const double d = 4 / std::sqrt(5.0);
    HatchEdge back;
    back.start = {-d, d};
    back.end = {d, d};
    cap.edges = {ellipse, back};
    const PolylineGeometry capRing = cap.toPolyline();
    EXPECT_TRUE(capRing.vertices().front().point.isEqualTo({d, d}, 1e-9));
    EXPECT_NEAR(capRing.extents().minPoint().y, d, 1e-9);
    EXPECT_NEAR(capRing.extents().maxPoint().y, 2, 1e-3);
}

TEST(Hatch, EvaluationDensityStatuses) {
    auto db = Database::createDefault();  // metric: pattern lengths in millimetres
    auto makeHatch = [&](const char* pattern, double scale, double x = 0) {
        auto hatch = std::make_unique<Hatch>();
        hatch->setPattern(Hatch::PatternType::Predefined, pattern);
        hatch->setPatternScale(scale);
        hatch->appendLoop(HatchLoop::kOutermost,
                          {{{x, 0}, 0}, {{x + 1000, 0}, 0}, {{x + 1000, 1000}, 0}, {{x, 1000}, 0}});
        return static_cast<Hatch*>(db->objectAt(test::append(*db, std::move(hatch))));
    };
    HatchEvaluation result;
    EXPECT_EQ(makeHatch("ANSI31", 1.0)->evaluateHatch(&result), ErrorStatus::eOk);
    EXPECT_FALSE(result.segments.empty());
    // Lines 3.175 mm apart at scale 0.001 are far too many for a metre-wide room.
    EXPECT_EQ(makeHatch("ANSI31", 0.001)->evaluateHatch(), ErrorStatus::eHatchTooDense);
    // At scale 10000 the lines are 45 m apart along x: the one through the origin misses a room
    // 5 m to the right, and no other comes near.
    EXPECT_EQ(makeHatch("ANSI31", 10000, 5000)->evaluateHatch(), ErrorStatus::eHatchTooSparse);
    EXPECT_EQ(makeHatch("SOLID", 1.0)->evaluateHatch(&result), ErrorStatus::eOk);
    EXPECT_TRUE(result.solid);
    EXPECT_EQ(makeHatch("NO_SUCH_PATTERN", 1.0)->evaluateHatch(), ErrorStatus::eKeyNotFound);

    Hatch* empty = makeHatch("ANSI31", 1.0);
    empty->setLoops({});
    EXPECT_EQ(empty->evaluateHatch(), ErrorStatus::eInvalidInput);

    Hatch* user = makeHatch("_USER", 1.0);
    user->setPattern(Hatch::PatternType::UserDefined, "_USER");
    user->setPatternSpace(100);
    user->setPatternDouble(true);
    ASSERT_EQ(user->evaluateHatch(&result), ErrorStatus::eOk);
    EXPECT_GE(result.segments.size(), 18u);  // about nine lines each way
}

TEST(Hatch, DefinitionLinesAsFilesStoreThem) {
    auto db = Database::createDefault();
    auto owned = std::make_unique<Hatch>();
    owned->setPattern(Hatch::PatternType::Predefined, "ANSI31");
    owned->setPatternScale(2.0);
    owned->setPatternAngle(std::numbers::pi / 4);
    auto* hatch = static_cast<Hatch*>(db->objectAt(test::append(*db, std::move(owned))));
    ASSERT_EQ(hatch->computeDefinitionLines(), ErrorStatus::eOk);
    ASSERT_EQ(hatch->definitionLines().size(), 1u);
    const HatchDefinitionLine& line = hatch->definitionLines()[0];
    EXPECT_NEAR(line.angle, std::numbers::pi / 2, 1e-12);  // 45 of the pattern + 45 of the hatch
    // 0.125 in = 3.175 mm across the line, doubled, turned with the line to point along -x.
    EXPECT_NEAR(line.offset.x, -6.35, 1e-9);
    EXPECT_NEAR(line.offset.y, 0.0, 1e-9);

    // Evaluating from the stored lines alone (a custom pattern) gives the same picture.
    hatch->appendLoop(HatchLoop::kOutermost, {{{0, 0}, 0}, {{100, 0}, 0}, {{100, 100}, 0}, {{0, 100}, 0}});
    HatchEvaluation fromLibrary, fromLines;
    ASSERT_EQ(hatch->evaluateHatch(&fromLibrary), ErrorStatus::eOk);
    std::vector<HatchDefinitionLine> lines = hatch->definitionLines();
    hatch->setPattern(Hatch::PatternType::Custom, "MINE");
    hatch->setDefinitionLines(lines);
    ASSERT_EQ(hatch->evaluateHatch(&fromLines), ErrorStatus::eOk);
    EXPECT_EQ(fromLines.segments.size(), fromLibrary.segments.size());
}
