// Timings of the geometry a floor plan leans on: crossing-polygon selection of assets by
// room through the spatial index against a plain scan, and hatch evaluation of rooms.
// Usage: bench_geometry [runs]   (default 5; each figure is the median over the runs)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "bench/Median.h"
#include "engine/geometry/PolygonOps.h"
#include "engine/geometry/PolylineGeometry.h"
#include "engine/geometry/SpatialIndex.h"
#include "engine/hatch/HatchEvaluator.h"
#include "engine/hatch/HatchPatternLibrary.h"

using namespace cad;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRoomsPerSide = 100;       // 10,000 rooms
constexpr int kAssets = 50000;
constexpr double kRoomW = 6000, kRoomH = 4500;  // millimetres
constexpr int kBruteRooms = 200;         // the scan is timed on a sample and scaled up

template <class F>
double seconds(F&& f) {
    auto t0 = Clock::now();
    f();
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

// Rectangles and L-shapes on a grid of plots, slightly jittered.
std::vector<std::vector<Point2d>> makeRooms(std::mt19937_64& rng) {
    std::uniform_real_distribution<double> jitter(0, 300);
    std::vector<std::vector<Point2d>> rooms;
    for (int i = 0; i < kRoomsPerSide; ++i)
        for (int j = 0; j < kRoomsPerSide; ++j) {
            double x = i * kRoomW + jitter(rng), y = j * kRoomH + jitter(rng);
            double w = kRoomW - 400, h = kRoomH - 400;
            if ((i + j) % 3 == 0)
                rooms.push_back({{x, y}, {x + w, y}, {x + w, y + h / 2}, {x + w / 2, y + h / 2},
                                 {x + w / 2, y + h}, {x, y + h}});
            else
                rooms.push_back({{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}});
        }
    return rooms;
}

std::vector<Extents2d> makeAssets(std::mt19937_64& rng) {
    std::uniform_real_distribution<double> px(0, kRoomsPerSide * kRoomW), py(0, kRoomsPerSide * kRoomH);
    std::uniform_real_distribution<double> size(300, 1200);
    std::vector<Extents2d> assets;
    for (int a = 0; a < kAssets; ++a) {
        Point2d p{px(rng), py(rng)};
        assets.push_back({p, {p.x + size(rng), p.y + size(rng)}});
    }
    return assets;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::mt19937_64 rng(2026);
    auto rooms = makeRooms(rng);
    auto assets = makeAssets(rng);
    std::printf("%zu rooms, %zu assets, median of %d runs\n", rooms.size(), assets.size(), runs);

    std::vector<double> tBuild, tIndexed, tBrute, tBoxScan, tHatch, tArea;
    std::size_t hitsIndexed = 0, hitsBrute = 0, hitsIndexedSample = 0, segments = 0;
    for (int run = 0; run < runs; ++run) {
        SpatialIndex index;
        tBuild.push_back(seconds([&] {
            for (std::size_t a = 0; a < assets.size(); ++a) index.insert(a, assets[a]);
        }));
        tIndexed.push_back(seconds([&] {
            hitsIndexed = 0;
            for (const auto& room : rooms) hitsIndexed += index.queryPolygonCandidates(room).size();
        }));
        tBrute.push_back(seconds([&] {
            hitsBrute = 0;
            for (int r = 0; r < kBruteRooms; ++r) {
                const auto& room = rooms[static_cast<std::size_t>(r) * rooms.size() / kBruteRooms];
                for (const auto& box : assets)
                    if (boxCrossesPolygon(box, room)) ++hitsBrute;
            }
        }) * static_cast<double>(rooms.size()) / kBruteRooms);
        // The fairer scan: every asset's box against the room's box first.
        tBoxScan.push_back(seconds([&] {
            std::size_t hits = 0;
            for (const auto& room : rooms) {
                Extents2d roomBox = extentsOf(room);
                for (const auto& box : assets)
                    if (box.intersects(roomBox) && boxCrossesPolygon(box, room)) ++hits;
            }
            if (hits != hitsIndexed) std::printf("box scan found %zu hits\n", hits);
        }));
        hitsIndexedSample = 0;
        for (int r = 0; r < kBruteRooms; ++r)
            hitsIndexedSample +=
                index.queryPolygonCandidates(rooms[static_cast<std::size_t>(r) * rooms.size() / kBruteRooms]).size();

        tArea.push_back(seconds([&] {
            double sum = 0;
            for (const auto& room : rooms) sum += PolylineGeometry::fromPoints(room, true).area();
            if (sum <= 0) std::printf("impossible area\n");
        }));

        HatchPatternLibrary lib(PatternUnits::Metric);
        HatchEvaluator ev;
        tHatch.push_back(seconds([&] {
            segments = 0;
            for (int r = 0; r < 1000; ++r) {
                auto res = ev.evaluate({PolylineGeometry::fromPoints(rooms[static_cast<std::size_t>(r)], true)},
                                       *lib.find("ANSI31"), 0.0, 20.0);
                segments += res.segments.size();
            }
        }));
    }

    double build = median(tBuild), indexed = median(tIndexed), brute = median(tBrute);
    std::printf("index build (%d inserts):          %9.3f ms  (%.3f us per insert)\n", kAssets,
                build * 1e3, build * 1e6 / kAssets);
    std::printf("crossing selection, indexed:       %9.3f ms  (%.3f us per room, %zu hits)\n",
                indexed * 1e3, indexed * 1e6 / static_cast<double>(rooms.size()), hitsIndexed);
    std::printf("crossing selection, scan (est.):   %9.3f ms  (%.3f us per room, from %d rooms)\n",
                brute * 1e3, brute * 1e6 / static_cast<double>(rooms.size()), kBruteRooms);
    double boxScan = median(tBoxScan);
    std::printf("crossing selection, box-first scan: %8.3f ms  (%.3f us per room)\n", boxScan * 1e3,
                boxScan * 1e6 / static_cast<double>(rooms.size()));
    std::printf("scan / indexed:                    %9.1f x\n", brute / indexed);
    std::printf("box-first scan / indexed:          %9.1f x\n", boxScan / indexed);
    std::printf("sample agreement:                  %s (%zu hits)\n",
                hitsBrute == hitsIndexedSample ? "same hits" : "DIFFERENT HITS", hitsBrute);
    std::printf("room areas (%zu):                %9.3f ms\n", rooms.size(), median(tArea) * 1e3);
    std::printf("ANSI31 hatch of 1000 rooms:        %9.3f ms  (%zu segments)\n", median(tHatch) * 1e3,
                segments);
    return hitsBrute == hitsIndexedSample ? 0 : 1;
}
