// Writes the sample drawings: `make_floor_plan office FILE` gives the demo's office floor,
// `make_floor_plan campus FILE [ROOMS [ASSETS_PER_ROOM]]` a large plan where every room is a space.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "FloorPlanGenerator.h"
#include "engine/dxf/DxfDrawing.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s office|campus FILE [ROOMS [ASSETS_PER_ROOM]]\n", argv[0]);
        return 2;
    }
    const std::string kind = argv[1];
    floorplan::Options options;
    if (kind == "campus") {
        const int rooms = argc > 3 ? std::atoi(argv[3]) : 10000;
        const int columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(rooms))));
        options.columns = columns;
        options.rows = (rooms + columns - 1) / columns;
        options.assetsPerRoom = argc > 4 ? std::atoi(argv[4]) : 5;
        options.spaceEvery = 1;
        options.arcEvery = 7;
        options.namePrefix = "C-";
    } else if (kind == "office") {
        options.handEditedEvery = 7;
    } else {
        std::fprintf(stderr, "%s: unknown plan kind \"%s\" (office or campus)\n", argv[0], kind.c_str());
        return 2;
    }
    try {
        auto db = cad::Database::createDefault();
        floorplan::Generator generator(*db, options);
        const floorplan::Counts counts = generator.build();
        db->updateExtents();
        cad::saveDxfDrawing(*db, cad::DxfFileInfo{}, argv[2]);
        std::printf("%s: %d rooms, %d space blocks, %d assets\n", argv[2], counts.rooms, counts.spaces, counts.assets);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", argv[0], error.what());
        return 1;
    }
    return 0;
}
