// mcsv and mlb: the area schedule written to a CSV file, and the block listing.
#include <fstream>
#include <string>

#include "data/Assets.h"
#include "engine/api/Editor.h"
#include "host/AcadDrawing.h"
#include "host/AcadUtilities.h"
#include "module/AreaSchedule.h"
#include "module/BlockListing.h"
#include "module/CommandFrame.h"
#include "module/CommandSupport.h"
#include "module/CsvOpener.h"
#include "module/MaintenanceCommands.h"
#include "module/Preferences.h"
#include "spaceblocks/BlockDWG.h"
#include "spaceblocks/Blocks.h"

using cad::acutPrintf;

namespace {

constexpr char kSpacePrefix[] = "ROOM-";
constexpr char kNoOpener[] = "NONE";

// The drawing's full name with its four-character extension replaced.
std::string csvPathFor(const std::string& drawingName) {
    return (drawingName.size() >= 4 ? drawingName.substr(0, drawingName.size() - 4) : std::string()) + ".csv";
}

}  // namespace

void createRoomAreaCSV() {
    CCommandFrame frame("createRoomAreaCSV");
    frame.setTitle("Korva Block Details");
    frame.run([&] {
        const CPreferences& preferences = loadPreferences(frame);
        CAcadDrawing& drawing = bindDrawing(frame);
        const std::string csvPath = csvPathFor(drawing.fullName());
        CBlocks& blocks = gatherSpaces(frame, drawing);
        blocks.sortBlocksByHandle(true);

        CAreaSchedule schedule(preferences.getPrecision());
        for (std::size_t i = 0; i < blocks.getLength(); ++i) {
            const CBlockDWG& block = spaceAt(blocks, i);
            const std::string& definition = block.getBlockName();
            if (definition.compare(0, 5, kSpacePrefix) != 0) continue;
            if (definition == CBlocks::kGrossArea)
                schedule.addGrossArea(block.getName(), block.getArea(), block.getPerimeter(), block.getUnits());
            else
                schedule.addSpace(block.getName(), block.getArea(), block.getPerimeter(), block.getUnits());
        }

        {
            std::ofstream file(csvPath, std::ios::binary | std::ios::trunc);
            if (!file) return;
            file << schedule.text();
        }
        acutPrintf("csv data successfully saved to file (%s)\n", csvPath);

        std::string opener = preferences.getCsvOpener();
        if (opener == kNoOpener) return;
        while (opener.empty())
            opener = CAcadUtilities::getString(
                "Please enter the path of the application you wish to open csv files with\n");
        CCsvOpener::start(opener, csvPath);
    });
}

void listBlockNameIdentifier() {
    CCommandFrame frame("listBlockNameIdentifier");
    frame.run([&] {
        CAcadDrawing& drawing = bindDrawing(frame);
        bool ascending = true;
        bool listAssets = false;
        CAcadUtilities::getBoolean("sort by handle in ascending order", true, ascending);
        CAcadUtilities::getBoolean("list assets", false, listAssets);
        CBlocks& blocks = gatherSpaces(frame, drawing, true);
        blocks.sortBlocksByHandle(ascending);

        // One print for the whole listing: thousands of lines through the command line one by one
        // would cost more than building them.
        std::string listing = std::string("\n") + CBlockListing::kHeader;
        for (std::size_t i = 0; i < blocks.getLength(); ++i) {
            const CBlockDWG& block = spaceAt(blocks, i);
            const CAssets* assets = block.getAssets();
            listing += CBlockListing::blockLine(block.getBlockName(), block.getName(), block.getArea(),
                                                block.getHandle(), assets ? assets->getCount() : 0);
            if (!listAssets || assets == nullptr) continue;
            for (std::size_t a = 0; a < assets->getCount(); ++a) {
                const CAsset& asset = assets->getAt(a);
                const CAttributes* attributes = asset.getAttributes();
                listing += CBlockListing::assetLine(asset.getBlockIdentifier(), asset.getHandleText(),
                                                    attributes ? attributes->getCount() : 0);
            }
        }
        acutPrintf("%s", listing);
    });
}
