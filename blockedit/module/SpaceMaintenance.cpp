// mus, msxta, mut, mrt, mbta and mfrs: whole-drawing updates of the space blocks.
#include <cmath>
#include <optional>
#include <string>

#include "core/Utilities.h"
#include "engine/api/Editor.h"
#include "host/AcadDrawing.h"
#include "host/AcadUtilities.h"
#include "module/CommandFrame.h"
#include "module/CommandSupport.h"
#include "module/MaintenanceCommands.h"
#include "module/Preferences.h"
#include "module/Progress.h"
#include "reports/DrawingLockScope.h"
#include "spaceblocks/BlockDWG.h"
#include "spaceblocks/Blocks.h"
#include "spaceblocks/KorvaAttribute.h"

using cad::acutPrintf;

namespace {

constexpr char kUpdateSpacesTitle[] = "Korva Update Spaces";

std::string attributeValue(const CBlockDWG& block, int kind) {
    const CAttributes* attributes = block.getAttributes();
    const CAttribute* attribute = attributes ? attributes->getAtAttribute(kind) : nullptr;
    return attribute ? attribute->getValue() : std::string();
}

// Sets the attribute of that kind when the block has it.
void setAttributeValue(CBlockDWG& block, int kind, const std::string& value) {
    CAttributes* attributes = block.getAttributes();
    if (CAttribute* attribute = attributes ? attributes->getAtAttribute(kind) : nullptr) attribute->setValue(value);
}

// One formatting value of mut: a number above 0 (or any number, when anyNumber), or nothing when
// the answer is "i". The prompts are the ones the user knows, the size's misspelt repeat included.
std::optional<double> askFormatting(const std::string& prompt, const std::string& invalidPrompt,
                                    const std::string& notPositivePrompt, double byDefault, int precision) {
    const std::string defaultText = CUtilities::DoubleToCString(byDefault, precision);
    std::string answer;
    CAcadUtilities::getString(prompt, defaultText, answer);
    while (true) {
        if (answer == "i") return std::nullopt;
        // A number too long for a double reads as infinity, which no drawing can save.
        const double value = CUtilities::isNumeric(answer) ? CUtilities::CStringToDouble(answer) : 0.0;
        if (!CUtilities::isNumeric(answer) || !std::isfinite(value)) {
            CAcadUtilities::getString(invalidPrompt, defaultText, answer);
            continue;
        }
        if (!notPositivePrompt.empty() && value <= 0.0) {
            CAcadUtilities::getString(notPositivePrompt, defaultText, answer);
            continue;
        }
        return value;
    }
}

}  // namespace

void updateSpaces() {
    CCommandFrame frame("updateSpaces");
    frame.setTitle(kUpdateSpacesTitle);
    frame.run([&] {
        CAcadDrawing& drawing = bindDrawing(frame);
        CBlocks& blocks = gatherSpaces(frame, drawing);
        const CPreferences& preferences = loadPreferences(frame);
        const int precision = preferences.getPrecision();
        const int units = preferences.getUnits();
        cad::Database& db = drawing.database();
        CProgress progress("Updating spaces", blocks.getLength());
        for (std::size_t i = 0; i < blocks.getLength(); ++i) {
            CBlockDWG& block = spaceAt(blocks, i);
            const std::string areaUnit = block.areaUnitText();
            const std::string lengthUnit = block.lengthUnitText();
            const std::string oldArea = CUtilities::DoubleToCString(block.getArea(), block.getPrecision()) + areaUnit;
            const std::string oldPerimeter =
                CUtilities::DoubleToCString(block.getPerimeter(), block.getPrecision()) + lengthUnit;
            const std::string areaAttribute = attributeValue(block, CKorvaAttribute::kArea);
            const std::string auxAttribute = attributeValue(block, CKorvaAttribute::kAux);
            block.setPrecision(precision);
            block.setUnits(units);
            // An attribute that was edited by hand no longer shows the record's value: it is
            // left as the user wrote it.
            block.recalculateArea(db);
            if (oldArea == areaAttribute)
                setAttributeValue(block, CKorvaAttribute::kArea,
                                  CUtilities::DoubleToCString(block.getArea(), precision) + areaUnit);
            block.recalculatePerimeter(db);
            if (oldPerimeter == auxAttribute)
                setAttributeValue(block, CKorvaAttribute::kAux,
                                  CUtilities::DoubleToCString(block.getPerimeter(), precision) + lengthUnit);
            writeBack(block, drawing);
            progress.step();
        }
    });
}

void syncXDataToAttributes() {
    CCommandFrame frame("syncXDataToAttributes");
    frame.setTitle(kUpdateSpacesTitle);
    frame.run([&] {
        bool syncName = true;
        bool syncArea = true;
        bool syncPerimeter = false;
        bool recalculate = false;
        CAcadUtilities::getBoolean("Sync XData name to name attribute?", true, syncName);
        CAcadUtilities::getBoolean("Sync XData area to area attribute?", true, syncArea);
        CAcadUtilities::getBoolean("Sync XData perimeter to aux attribute?", false, syncPerimeter);
        CAcadUtilities::getBoolean("Recalculate values before sync?", false, recalculate);
        CAcadDrawing& drawing = bindDrawing(frame);
        CBlocks& blocks = gatherSpaces(frame, drawing);
        const CPreferences& preferences = loadPreferences(frame);
        const int precision = preferences.getPrecision();
        const int units = preferences.getUnits();
        cad::Database& db = drawing.database();
        CProgress progress("Synchronising spaces", blocks.getLength());
        for (std::size_t i = 0; i < blocks.getLength(); ++i) {
            CBlockDWG& block = spaceAt(blocks, i);
            if (recalculate) {
                block.setPrecision(precision);
                block.setUnits(units);
                block.recalculateArea(db);
                block.recalculatePerimeter(db);
            }
            if (syncName) setAttributeValue(block, CKorvaAttribute::kName, block.getName());
            if (syncArea)
                setAttributeValue(block, CKorvaAttribute::kArea,
                                  CUtilities::DoubleToCString(block.getArea(), precision) +
                                      (units != 0 ? "sq.ft." : "sq.m."));
            if (syncPerimeter)
                setAttributeValue(block, CKorvaAttribute::kAux,
                                  CUtilities::DoubleToCString(block.getPerimeter(), precision) +
                                      (units != 0 ? "ft." : "m."));
            writeBack(block, drawing);
            progress.step();
        }
    });
}

void updateTextSize() {
    CCommandFrame frame("updateTextSize");
    frame.setTitle("Korva Update Text Size");
    frame.run([&] {
        CAcadDrawing& drawing = bindDrawing(frame);
        CBlocks& blocks = gatherSpaces(frame, drawing);
        const CPreferences& preferences = loadPreferences(frame);
        const int precision = preferences.getPrecision();
        const std::optional<double> size =
            askFormatting("Enter new Text Size or (i)gnore", "Invalid Input. Enter new Text Siz or (i)gnore",
                          "Text Size must be greater than 0\nEnter new Text Size or (i)gnore",
                          preferences.getTextSize(), precision);
        const std::optional<double> scale =
            askFormatting("Enter new Text Scale or (i)gnore", "Invalid Input. Enter new Text Scale or (i)gnore",
                          "Text Scale must be greater than 0\nEnter new Text Scale or (i)gnore",
                          preferences.getTextScale(), precision);
        const std::optional<double> rotation =
            askFormatting("Enter new Text Rotation or (i)gnore", "Invalid Input. Enter new Text Rotation or (i)gnore",
                          "", preferences.getTextRotation(), precision);
        CProgress progress("Updating text", blocks.getLength());
        for (std::size_t i = 0; i < blocks.getLength(); ++i) {
            CBlockDWG& block = spaceAt(blocks, i);
            if (CAttributes* attributes = block.getAttributes()) {
                if (size) attributes->setTextHeight(*size);
                if (scale) attributes->setWidthFactor(*scale);
                if (rotation) attributes->setRotation(*rotation);
            }
            writeBack(block, drawing);
            progress.step();
        }
    });
}

void korvaRefreshTags() {
    CCommandFrame frame("korvaRefreshTags");
    frame.run([&] {
        CAcadDrawing& drawing = bindDrawing(frame);
        CDrawingLockScope lock(drawing);
        if (!lock.locked()) return;
        CBlocks& blocks = gatherSpaces(frame, drawing);
        const cad::Matrix3d ucs = CAcadUtilities::currentUcsMatrix();
        CProgress progress("Refreshing attributes", blocks.getLength());
        for (std::size_t i = 0; i < blocks.getLength(); ++i) {
            spaceAt(blocks, i).updateAttributes(drawing.database(), ucs);
            progress.step();
        }
    });
}

void blankThirdAttribute() {
    CCommandFrame frame("blankThirdAttribute");
    frame.run([&] {
        CAcadDrawing& drawing = bindDrawing(frame);
        CBlocks& blocks = gatherSpaces(frame, drawing);
        int altered = 0;
        for (std::size_t i = 0; i < blocks.getLength(); ++i) {
            CBlockDWG& block = spaceAt(blocks, i);
            CAttributes* attributes = block.getAttributes();
            CAttribute* aux = attributes ? attributes->getAtAttribute(CKorvaAttribute::kAux) : nullptr;
            if (aux == nullptr) continue;
            aux->setValue(" ");
            writeBack(block, drawing);
            ++altered;
        }
        acutPrintf("%i block(s) altered\n", altered);
    });
}

void korvaFindReplaceStub() {
    CCommandFrame frame("korvaFindReplaceStub");
    frame.run([&] {
        const std::string find = CAcadUtilities::getString("Enter String to Find");
        const std::string replace = CAcadUtilities::getString("Enter String to Replace");
        CAcadDrawing& drawing = bindDrawing(frame);
        CBlocks& blocks = gatherSpaces(frame, drawing);
        int changes = 0;
        for (std::size_t i = 0; i < blocks.getLength(); ++i) {
            CBlockDWG& block = spaceAt(blocks, i);
            const std::string oldName = block.getName();
            if (oldName.compare(0, find.size(), find) != 0) continue;
            const std::string newName = replace + oldName.substr(find.size());
            setAttributeValue(block, CKorvaAttribute::kName, newName);
            block.setName(newName);
            writeBack(block, drawing);
            acutPrintf("%s changed to %s\n", oldName, newName);
            ++changes;
        }
        acutPrintf("%i blocks processed - %i changes made", static_cast<int>(blocks.getLength()), changes);
    });
}
