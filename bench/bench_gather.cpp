// Timings of gathering the space blocks of a campus: 10,000 rooms and 50,000 assets built in
// memory, gathered as a floor plan without and with the assets of each room.
// Usage: bench_gather [runs]   (default 3; each figure is the median over the runs)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/Median.h"
#include "data/AssetIndex.h"
#include "data/Assets.h"
#include "engine/db/BlockReference.h"
#include "engine/db/BlockTableRecord.h"
#include "engine/db/Database.h"
#include "engine/db/Polyline.h"
#include "engine/db/SymbolTable.h"
#include "engine/editor/DocumentManager.h"
#include "engine/editor/HostApplication.h"
#include "engine/editor/LineInput.h"
#include "spaceblocks/BlockDWG.h"
#include "spaceblocks/Blocks.h"

using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRoomsPerSide = 100;  // 10,000 rooms
constexpr int kAssetsPerRoom = 5;   // 50,000 assets
constexpr double kRoomW = 6000, kRoomH = 4500, kGap = 200;  // millimetres

template <class F>
double seconds(F&& f) {
    const auto t0 = Clock::now();
    f();
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

cad::ObjectId addDefinition(cad::Database& db, const std::string& name, const std::vector<cad::Point2d>& outline) {
    cad::ObjectId id;
    db.open<cad::SymbolTable>(db.blockTableId(), cad::OpenMode::ForWrite)
        ->add(std::make_unique<cad::BlockTableRecord>(name), &id);
    auto polyline = std::make_unique<cad::Polyline>();
    for (std::size_t i = 0; i < outline.size(); ++i) polyline->addVertexAt(i, outline[i]);
    polyline->setClosed(true);
    db.open<cad::BlockTableRecord>(id, cad::OpenMode::ForWrite)->appendEntity(std::move(polyline));
    return id;
}

void insert(cad::BlockTableRecord& space, cad::ObjectId block, const cad::Point3d& at) {
    space.appendEntity(std::make_unique<cad::BlockReference>(at, block));
}

// Every room its own definition (as drawn by the creation command), placed on a grid; the
// assets are references to a few furniture blocks scattered inside the rooms.
void makeCampus(cad::Database* db) {
    std::mt19937_64 rng(42);
    std::uniform_real_distribution<double> ux(300, kRoomW - 1300), uy(300, kRoomH - 1300);
    std::vector<cad::ObjectId> furniture;
    for (const char* name : {"CHAIR", "DESK", "TABLE", "CABINET", "PRINTER"})
        furniture.push_back(addDefinition(*db, name, {{0, 0}, {800, 0}, {800, 600}, {0, 600}}));
    std::vector<cad::ObjectId> rooms;
    for (int i = 0; i < kRoomsPerSide * kRoomsPerSide; ++i)
        rooms.push_back(addDefinition(*db, "ROOM-" + std::to_string(i + 1),
                                      {{0, 0}, {kRoomW, 0}, {kRoomW, kRoomH}, {0, kRoomH}}));
    auto space = db->open<cad::BlockTableRecord>(db->modelSpaceId(), cad::OpenMode::ForWrite);
    for (int row = 0; row < kRoomsPerSide; ++row) {
        for (int column = 0; column < kRoomsPerSide; ++column) {
            const double x = column * (kRoomW + kGap), y = row * (kRoomH + kGap);
            insert(*space, rooms[static_cast<std::size_t>(row * kRoomsPerSide + column)], {x, y, 0});
            for (int a = 0; a < kAssetsPerRoom; ++a)
                insert(*space, furniture[static_cast<std::size_t>(a) % furniture.size()],
                       {x + ux(rng), y + uy(rng), 0});
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    cad::ScriptInput input;
    cad::HostApplication host(cad::HostProfile::AutoCAD, input);

    cad::Document& drawing = host.documentManager().newDocument();
    cad::Database* db = &drawing.database();
    const double build = seconds([&] { makeCampus(db); });
    std::printf("campus: %d rooms, %d assets built in %.3f s\n", kRoomsPerSide * kRoomsPerSide,
                kRoomsPerSide * kRoomsPerSide * kAssetsPerRoom, build);

    std::vector<double> plain, withAssets, index;
    std::size_t rooms = 0, assets = 0;
    for (int run = 0; run < runs; ++run) {
        plain.push_back(seconds([&] {
            CBlocks blocks;
            blocks.getKorvaDWGBlocks_SS(drawing, false, "f");
            rooms = blocks.getLength();
        }));
        index.push_back(seconds([&] { CAssetIndex assetIndex(*db); }));
        withAssets.push_back(seconds([&] {
            CBlocks blocks;
            blocks.getKorvaDWGBlocks_SS(drawing, true, "f");
            assets = 0;
            for (std::size_t i = 0; i < blocks.getLength(); ++i)
                if (const auto* room = dynamic_cast<const CBlockDWG*>(&blocks.getAt(i)); room && room->getAssets())
                    assets += room->getAssets()->getCount();
        }));
    }
    std::printf("gather rooms without assets: %zu rooms in %.3f s\n", rooms, median(plain));
    std::printf("asset index of the drawing:  %.3f s\n", median(index));
    std::printf("gather rooms with assets:    %zu rooms, %zu assets in %.3f s\n", rooms, assets, median(withAssets));
    return 0;
}
