// msc_cal, msc_has, msc_hs and msc_dsd: attribute layers, test hatching, one space's record.
#include <ctime>
#include <memory>
#include <string>

#include "engine/api/Drawing.h"
#include "engine/api/Editor.h"
#include "host/AcadDrawing.h"
#include "host/AcadUtilities.h"
#include "module/CommandFrame.h"
#include "module/CommandSupport.h"
#include "module/MaintenanceCommands.h"
#include "module/Progress.h"
#include "reports/AcadDrawingState.h"
#include "reports/DrawingLockScope.h"
#include "reports/Hatch.h"
#include "reports/Layer.h"
#include "spaceblocks/BlockDWG.h"
#include "spaceblocks/Blocks.h"
#include "spaceblocks/KorvaAttribute.h"

using cad::acutPrintf;

namespace {

constexpr const char* kAttributeLayers[] = {"ATT-NAME", "ATT-AREA", "ATT-AUX"};

// The wall-clock time of day, and its seconds since midnight.
struct TimeOfDay {
    std::string text;
    long seconds;
};

TimeOfDay now() {
    const std::time_t clock = std::time(nullptr);
    std::tm local{};
    localtime_r(&clock, &local);
    char buffer[16] = {};
    std::strftime(buffer, sizeof buffer, "%H:%M:%S", &local);
    return {buffer, local.tm_hour * 3600L + local.tm_min * 60L + local.tm_sec};
}

// The test hatch: solid yellow on "#Hatch".
std::unique_ptr<CHatch> testHatch() {
    auto hatch = std::make_unique<CHatch>("SOLID");
    hatch->setAngle(0);
    hatch->setScale(500);
    hatch->setLayer("#Hatch");
    hatch->setColour(cad::Color::fromRgb(255, 255, 0));
    return hatch;
}

// The space the user picks, as a handle text; empty when nothing was picked.
std::string pickSpaceHandle() {
    cad::Handle handle;
    if (CAcadUtilities::selectSpaceHandle(handle) != 0) return {};
    return handle.toString();
}

CBlockDWG* findSpace(const CBlocks& blocks, const std::string& handle) {
    return dynamic_cast<CBlockDWG*>(blocks.getAt(handle));
}

}  // namespace

void checkAttributeLayers() {
    CCommandFrame frame("checkAttributeLayers");
    frame.run([&] {
        CAcadDrawing& drawing = bindDrawing(frame);
        CDrawingLockScope lock(drawing);
        if (!lock.locked()) return;
        for (const char* layer : kAttributeLayers) CLayer::ensureLayerExists(drawing, layer);
        // Attributes on locked or frozen layers cannot be moved: every layer is opened up for the
        // length of the work and put back as it was afterwards.
        CAcadDrawingState& saved = frame.own<CAcadDrawingState>(drawing);
        CAcadDrawingState takeOff(drawing);
        takeOff.setStateForTakeOff(drawing);
        CBlocks& blocks = gatherSpaces(frame, drawing);
        cad::Database& db = drawing.database();
        CProgress progress("Checking attribute layers", blocks.getLength());
        for (std::size_t i = 0; i < blocks.getLength(); ++i) {
            CBlockDWG& block = spaceAt(blocks, i);
            progress.step();
            CAttributes* attributes = block.getAttributes();
            if (attributes == nullptr) continue;
            bool changed = false;
            for (int kind = CKorvaAttribute::kName; kind <= CKorvaAttribute::kAux; ++kind) {
                CAttribute* attribute = attributes->getAtAttribute(kind);
                if (attribute == nullptr || attribute->getLayer() == kAttributeLayers[kind]) continue;
                attribute->setLayer(kAttributeLayers[kind]);
                changed = true;
            }
            if (!changed) continue;
            if (auto reference = db.open<cad::BlockReference>(block.getObjectId(), cad::OpenMode::ForWrite))
                CAttributes::applyToDWG(*reference, *attributes);
        }
        CLayers& layers = saved.getLayers();
        for (std::size_t i = 0; i < layers.getCount(); ++i) layers.getAt(i).setChanged(true);
        saved.applyState(drawing, false);
    });
}

void hatchAllSpaces() {
    CCommandFrame frame("hatchAllSpaces");
    frame.run([&] {
        const TimeOfDay start = now();
        acutPrintf("%s\n", start.text);
        CAcadDrawing& drawing = bindDrawing(frame);
        CBlocks& blocks = gatherSpaces(frame, drawing);
        const std::unique_ptr<CHatch> hatch = testHatch();
        int hatched = 0;
        CProgress progress("Hatching spaces", blocks.getLength());
        for (std::size_t i = 0; i < blocks.getLength(); ++i) {
            CBlockDWG& block = spaceAt(blocks, i);
            progress.step();
            if (block.getName() == "GROSS AREA") continue;
            block.setHatchSettings(hatch->clone());
            writeBack(block, drawing);
            ++hatched;
        }
        const TimeOfDay end = now();
        acutPrintf("%s\n", end.text);
        const long elapsed = end.seconds - start.seconds;
        // With nothing hatched there is no time per block to tell: 0 is printed rather than the
        // result of a division by zero.
        const double perBlock = hatched > 0 ? static_cast<double>(elapsed) / hatched : 0.0;
        acutPrintf("%i block(s) hatched in %d seconds (%.2f s/b)\n", hatched, static_cast<int>(elapsed), perBlock);
    });
}

void hatchSpace() {
    CCommandFrame frame("hatchSpace");
    frame.run([&] {
        const std::string handle = pickSpaceHandle();
        if (handle.empty()) return;
        CAcadDrawing& drawing = bindDrawing(frame);
        CBlocks& blocks = gatherSpaces(frame, drawing);
        CBlockDWG* block = findSpace(blocks, handle);
        if (block == nullptr) return;
        block->setHatchSettings(testHatch());
        writeBack(*block, drawing);
    });
}

void displaySpaceDetails() {
    CCommandFrame frame("displaySpaceDetails");
    frame.run([&] {
        const std::string handle = pickSpaceHandle();
        if (handle.empty()) return;
        CAcadDrawing& drawing = bindDrawing(frame);
        CBlocks& blocks = gatherSpaces(frame, drawing);
        const CBlockDWG* block = findSpace(blocks, handle);
        if (block == nullptr) return;
        acutPrintf("\n");
        acutPrintf("Block Identifier %s\n", block->getBlockName());
        acutPrintf("Handle\t\t\t %s\n", block->getHandle());
        if (const CAttributes* attributes = block->getAttributes()) {
            acutPrintf("Attributes\n");
            if (const CAttribute* name = attributes->getAtAttribute(CKorvaAttribute::kName))
                acutPrintf("\tName '%s'\n", name->getValue());
            if (const CAttribute* area = attributes->getAtAttribute(CKorvaAttribute::kArea))
                acutPrintf("\tArea '%s'\n", area->getValue());
            if (const CAttribute* aux = attributes->getAtAttribute(CKorvaAttribute::kAux))
                acutPrintf("\t Aux '%s'\n", aux->getValue());
            acutPrintf("\n");
        }
        acutPrintf("XDATA\n");
        acutPrintf("\t Area           %f\n", block->getArea());
        acutPrintf("\t Perimeter      %f\n", block->getPerimeter());
        acutPrintf("\t Tag Type       %s\n", block->getTagType());
        acutPrintf("\t Area Type      %s\n", block->getAreaType());
        acutPrintf("\t Cost Centre    %s\n", block->getCostCentre());
        acutPrintf("\t Date           %s\n", block->getDate());
        acutPrintf("\t Date Last Move %s\n", block->getDateLastMove());
        acutPrintf("\t Dept Charge    %s\n", block->getDeptCharge());
        acutPrintf("\t Room Height    %f\n", block->getRoomHeight());
        acutPrintf("\t Special Req    %s\n", block->getSpecialReq());
        acutPrintf("\t Tot Staff      %s\n", block->getTotStaff());
        acutPrintf("\t Tot Wk Stns    %s\n", block->getTotWkStns());
        acutPrintf("\t Vloume         %f\n", block->getVolume());
        acutPrintf("\n");
    });
}
