#include "module/CommandSupport.h"

#include <stdexcept>

#include "core/KorvaExceptions.h"
#include "host/AcadDrawing.h"
#include "module/CommandFrame.h"
#include "module/Preferences.h"
#include "spaceblocks/BlockDWG.h"
#include "spaceblocks/Blocks.h"

CAcadDrawing& bindDrawing(CCommandFrame& frame) {
    CAcadDrawing& drawing = frame.own<CAcadDrawing>();
    drawing.bindToActiveDocument();
    return drawing;
}

CBlocks& gatherSpaces(CCommandFrame& frame, CAcadDrawing& drawing, bool withAssets) {
    CBlocks& blocks = frame.own<CBlocks>();
    blocks.getKorvaDWGBlocks_SS(*drawing.getDocument(), withAssets, CBlocks::kLevelFloor);
    return blocks;
}

CPreferences& loadPreferences(CCommandFrame& frame) {
    CPreferences& preferences = frame.own<CPreferences>();
    preferences.loadPreferences();
    return preferences;
}

CBlockDWG& spaceAt(const CBlocks& blocks, std::size_t index) {
    auto* block = dynamic_cast<CBlockDWG*>(&blocks.getAt(index));
    if (block == nullptr) throw std::invalid_argument("a gathered record is not a drawing record");
    return *block;
}

void writeBack(CBlockDWG& block, CAcadDrawing& drawing) {
    CKorvaExceptions errors;
    block.applyToDWG(*drawing.getDocument(), errors);
    if (errors.getCount() > 0) errors.showAll();
}
