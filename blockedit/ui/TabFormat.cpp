#include "ui/TabFormat.h"

#include "core/KorvaWrap.h"
#include "core/Utilities.h"
#include "engine/api/Editor.h"
#include "host/AcadDrawing.h"
#include "host/AcadUtilities.h"
#include "spaceblocks/BlockDWG.h"
#include "ui/PresBlock.h"
#include "reports/DrawingLockScope.h"

using cad::ControlKind;

namespace {

constexpr const char* kFile = "TabFormat";

}  // namespace

CTabFormat::CTabFormat(CPresBlock& window) : cad::Dialog(IDD, "Format"), window_(window) {
    addControl(IDC_HEIGHT, ControlKind::Edit, "Height");
    addControl(IDC_WIDTH_FACTOR, ControlKind::Edit, "Width Factor");
    addControl(IDC_ROTATION, ControlKind::Edit, "Rotation");
    addControl(IDC_DEGREES, ControlKind::Static, "(in degrees)");
    addControl(IDC_MOVE, ControlKind::Button, "Move Attributes").onClick = [this] { onMoveAttributes(); };
}

void CTabFormat::initialiseData(const CBlockDWG& record) {
    korvaWrap(kFile, "CTabFormat::initialiseData", [&] {
        const CAttributes* attributes = record.getAttributes();
        if (attributes == nullptr) return;
        setItemText(IDC_HEIGHT, CUtilities::DoubleToCString(attributes->getTextHeight(), 2));
        setItemText(IDC_WIDTH_FACTOR, CUtilities::DoubleToCString(attributes->getWidthFactor(), 2));
        setItemText(IDC_ROTATION, CUtilities::DoubleToCString(attributes->getRotation(), 2));
    });
}

void CTabFormat::applyChanges(CBlockDWG& record) {
    korvaWrap(kFile, "CTabFormat::applyChanges", [&] {
        if (!record.getAttributes()) record.setAttributes(std::make_unique<CAttributes>());
        CAttributes& attributes = *record.getAttributes();
        attributes.setTextHeight(CUtilities::CStringToDouble(itemText(IDC_HEIGHT)));
        attributes.setWidthFactor(CUtilities::CStringToDouble(itemText(IDC_WIDTH_FACTOR)));
        attributes.setRotation(CUtilities::CStringToDouble(itemText(IDC_ROTATION)));
    });
}

void CTabFormat::onMoveAttributes() {
    korvaTopLevel(kFile, "CTabFormat::OnBnClickedCmdMoveAttributes", [this] {
        window_.showWindow(cad::WindowState::Minimised);
        cad::Point3d point;
        const int result = cad::acedGetPoint("\nPlease select a position for the Attributes\n", point);
        window_.showWindow(cad::WindowState::Shown);
        if (result != cad::RTNORM) return;
        CAcadDrawing& drawing = window_.drawing();
        CDrawingLockScope lock(drawing);
        if (!lock.locked()) return;
        // The prompt already answers in world coordinates.
        window_.record().updateAttributes(drawing.database(), CAcadUtilities::currentUcsMatrix(), &point);
    });
}
