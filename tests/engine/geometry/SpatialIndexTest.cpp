#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <unordered_map>

#include "engine/geometry/PolygonOps.h"
#include "engine/geometry/SpatialIndex.h"

using namespace cad;

namespace {

std::vector<SpatialIndex::Id> sorted(std::vector<SpatialIndex::Id> v) {
    std::sort(v.begin(), v.end());
    return v;
}

Extents2d randomBox(std::mt19937_64& rng) {
    std::uniform_real_distribution<double> pos(0, 10000), size(0, 300);
    Point2d p{pos(rng), pos(rng)};
    // Some boxes are degenerate (points and axis-parallel lines), as entity extents often are.
    double w = rng() % 7 == 0 ? 0.0 : size(rng);
    double h = rng() % 5 == 0 ? 0.0 : size(rng);
    return {p, {p.x + w, p.y + h}};
}

}  // namespace

TEST(SpatialIndex, QueriesMatchBruteForceThroughInsertsAndRemovals) {
    std::mt19937_64 rng(12345);
    SpatialIndex index;
    std::unordered_map<SpatialIndex::Id, Extents2d> truth;
    for (SpatialIndex::Id id = 1; id <= 5000; ++id) {
        Extents2d b = randomBox(rng);
        index.insert(id * 7919, b);
        truth[id * 7919] = b;
    }
    EXPECT_GT(index.height(), 2);
    auto check = [&](int rounds) {
        ASSERT_EQ(index.size(), truth.size());
        for (int q = 0; q < rounds; ++q) {
            Extents2d query = randomBox(rng);
            query.expandBy(static_cast<double>(rng() % 800));
            std::vector<SpatialIndex::Id> expectHit, expectInside;
            for (const auto& [id, b] : truth) {
                if (b.intersects(query)) expectHit.push_back(id);
                if (query.contains(b)) expectInside.push_back(id);
            }
            EXPECT_EQ(sorted(index.queryBox(query)), sorted(expectHit));
            EXPECT_EQ(sorted(index.queryInside(query)), sorted(expectInside));
        }
    };
    check(50);
    // Remove every third entry, move every fifth: removals condense and reinsert.
    for (SpatialIndex::Id id = 1; id <= 5000; ++id) {
        if (id % 3 == 0) {
            EXPECT_TRUE(index.remove(id * 7919));
            truth.erase(id * 7919);
        } else if (id % 5 == 0) {
            Extents2d b = randomBox(rng);
            index.insert(id * 7919, b);
            truth[id * 7919] = b;
        }
    }
    EXPECT_FALSE(index.remove(3 * 7919));
    EXPECT_FALSE(index.contains(3 * 7919));
    ASSERT_TRUE(index.boxOf(5 * 7919).has_value());
    EXPECT_TRUE(index.boxOf(5 * 7919)->isEqualTo(truth[5 * 7919]));
    check(50);
    // Draining the index completely leaves a usable empty tree.
    for (const auto& [id, b] : truth) EXPECT_TRUE(index.remove(id));
    truth.clear();
    EXPECT_EQ(index.height(), 1);
    EXPECT_TRUE(index.queryBox({{0, 0}, {1e5, 1e5}}).empty());
    index.insert(42, {{1, 1}, {2, 2}});
    EXPECT_EQ(index.queryBox({{0, 0}, {1, 1}}), std::vector<SpatialIndex::Id>{42});  // touching
    index.insert(43, Extents2d{});  // nothing to index
    EXPECT_FALSE(index.contains(43));

    // Moving hands the entries over and leaves an empty index that still works.
    SpatialIndex moved = std::move(index);
    EXPECT_EQ(moved.size(), 1u);
    EXPECT_EQ(index.size(), 0u);  // NOLINT(bugprone-use-after-move): defined to be empty
    EXPECT_TRUE(index.queryBox({{0, 0}, {5, 5}}).empty());
    index.insert(7, {{0, 0}, {1, 1}});
    EXPECT_EQ(index.queryBox({{0, 0}, {5, 5}}), std::vector<SpatialIndex::Id>{7});
}

TEST(SpatialIndex, PolygonCandidatesMatchBruteForce) {
    std::mt19937_64 rng(777);
    SpatialIndex index;
    std::vector<Extents2d> boxes;
    for (SpatialIndex::Id id = 0; id < 3000; ++id) {
        boxes.push_back(randomBox(rng));
        index.insert(id, boxes.back());
    }
    std::uniform_real_distribution<double> pos(0, 10000);
    for (int q = 0; q < 30; ++q) {
        // A random star-shaped polygon, often concave.
        Point2d c{pos(rng), pos(rng)};
        std::vector<Point2d> poly;
        for (int k = 0; k < 9; ++k) {
            double a = k * 2 * 3.141592653589793 / 9;
            double r = 200 + static_cast<double>(rng() % 1500);
            poly.push_back({c.x + r * std::cos(a), c.y + r * std::sin(a)});
        }
        std::vector<SpatialIndex::Id> expect;
        for (SpatialIndex::Id id = 0; id < boxes.size(); ++id)
            if (boxCrossesPolygon(boxes[id], poly)) expect.push_back(id);
        EXPECT_EQ(sorted(index.queryPolygonCandidates(poly)), expect);
    }
    EXPECT_TRUE(index.queryPolygonCandidates({{0, 0}, {1, 1}}).empty());
}
