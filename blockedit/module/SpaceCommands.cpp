#include "module/SpaceCommands.h"

#include "core/KorvaWrap.h"
#include "core/Utilities.h"
#include "engine/api/Documents.h"
#include "engine/api/Editor.h"
#include "host/AcadDrawing.h"
#include "host/AcadUtilities.h"
#include "module/CommandFrame.h"
#include "module/Preferences.h"
#include "reports/DrawingLockScope.h"
#include "spaceblocks/BlockDWG.h"
#include "spaceblocks/Blocks.h"
#include "ui/HyperPres.h"
#include "ui/ModelessWindows.h"
#include "ui/PresBlockCreation.h"
#include "ui/PresBlockEdit.h"

void blockCreate() {
    printCommandTitle("Korva Block Create");
    CPresBlockCreation dialog;
    dialog.doModal();
}

namespace {

// The gross-area block: the floor's outline as one block with its own name and no question about
// duplicates. A user-level refusal is printed and ends the command.
void createGrossAreaBlock(CAcadDrawing& drawing, const CPreferences& preferences) {
    if (drawing.database().recordId(cad::TableKind::Block, CBlocks::kGrossArea)) {
        cad::acutPrintf("\n\nGross Area Block Already Exists\n");
        return;
    }
    CDrawingLockScope lock(drawing);
    if (!lock.locked()) {
        cad::acutPrintf("Block Creation Failed - Error Code %s\n",
                        CUtilities::IntToCString(static_cast<int>(cad::ErrorStatus::eLockViolation)));
        return;
    }
    cad::ObjectId polylineId;
    if (CAcadUtilities::selectObjectId(polylineId, "\nPlease select a polyline:\n", "AcDbPolyline") != 0) return;
    {
        auto polyline = drawing.database().open<cad::Polyline>(polylineId, cad::OpenMode::ForWrite);
        if (polyline.openStatus() == cad::ErrorStatus::eOnLockedLayer) {
            cad::acutPrintf("\nPolyline On Locked Layer - Block Creation Failed\n");
            return;
        }
        if (!polyline) {
            cad::acutPrintf("\nUnable get Polyline - Error %s - Block Creation Failed\n",
                            CUtilities::IntToCString(static_cast<int>(polyline.openStatus())));
            return;
        }
        if (!polyline->isClosed()) {
            cad::acutPrintf("\nInvalid Selection - Polyline is not closed\n\n");
            return;
        }
    }
    cad::Point3d point;
    if (!CPresBlockCreation::askAttributePoint(point)) return;
    const int units = preferences.getUnits();
    const int precision = preferences.getPrecision();
    double area = 0.0;
    double perimeter = 0.0;
    if (!CPresBlockCreation::measureOutline(drawing.database(), polylineId, units, precision, area, perimeter)) return;
    const std::string areaText = CUtilities::DoubleToCString(area, precision);
    CBlockDWGFloor record;
    record.setUnits(units);
    record.setPrecision(precision);
    record.setBlockName(CBlocks::kGrossArea);
    record.setName("GROSS AREA");
    // Stored as shown: rounded to the precision.
    record.setArea(CUtilities::CStringToDouble(areaText));
    record.setPerimeter(CUtilities::CStringToDouble(CUtilities::DoubleToCString(perimeter, precision)));
    CPresBlockCreation::addSpaceAttributes(record, areaText, preferences.getTextSize(), preferences.getTextScale(),
                                           preferences.getTextRotation());
    const int status = CPresBlockCreation::createBlockFromRecord(drawing, record, polylineId, point);
    if (status != 0)
        cad::acutPrintf("Block Creation Failed - Error Code %s\n", CUtilities::IntToCString(status));
    else
        cad::acutPrintf("Block Created Successfully\n");
}

}  // namespace

void grossAreaBlockCreate() {
    CCommandFrame frame("grossAreaBlockCreate");
    frame.setTitle("Korva Create Gross Area Block")
        .setFailureLine("\nUnhandled Error - Block Creation Failed\n")
        .run([&] {
            CAcadDrawing& drawing = frame.own<CAcadDrawing>();
            drawing.bindToActiveDocument();
            CPreferences preferences;
            preferences.loadPreferences();
            createGrossAreaBlock(drawing, preferences);
        });
}

void deleteSpaceBlock() {
    printCommandTitle("Korva Block Delete");
    korvaTopLevel(__FILE__, "deleteBlock", [] {
        cad::ObjectId id;
        if (CAcadUtilities::selectObjectId(id, "Select the Korva Block to delete", "AcDbBlockReference") != 0) return;
        CAcadDrawing drawing;
        drawing.bindToActiveDocument();
        CBlockDWG block;
        block.setObjectId(id);
        block.deleteBlock(*drawing.getDocument());
    });
}

void blockEdit() {
    CCommandFrame frame("blockEdit");
    frame.setTitle("Korva Block Edit").setFailureLine("\nUnhandled Error - Block Edit Failed\n").run([&] {
        // One list window at a time: a second mbe brings the open one back.
        if (auto* open = CModelessWindows::module().findOpen<CPresBlockEdit>()) {
            if (open->windowState() == cad::WindowState::Shown) open->activate();
            return;
        }
        auto& window = CModelessWindows::module().adopt(std::make_unique<CPresBlockEdit>());
        if (!window.create()) cad::acutPrintf("unable to create the edit dialog box\n");
    });
}

void blockHyperlink() {
    printCommandTitle("Korva Block Hyperlink");
    korvaTopLevel(__FILE__, "korvaBlockHyperlink", [] {
        if (auto* open = CModelessWindows::module().findOpen<CHyperPres>()) {
            open->activate();
            return;
        }
        CModelessWindows::module().adopt(std::make_unique<CHyperPres>()).create();
    });
}

void closeModelessWindows() { CModelessWindows::module().closeAll(); }
