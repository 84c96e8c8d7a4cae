#include "ui/PresBlock.h"

#include "core/KorvaExceptions.h"
#include "core/KorvaWrap.h"
#include "engine/api/Editor.h"
#include "host/AcadDrawing.h"
#include "module/Preferences.h"
#include "spaceblocks/BlockDWG.h"
#include "spaceblocks/KorvaAttribute.h"
#include "ui/PresBlockEdit.h"

using cad::ControlKind;

namespace {

constexpr const char* kFile = "PresBlock";

std::string captionFor(const CBlockDWG& record) {
    std::string name;
    if (record.getAttributes())
        if (const CAttribute* a = record.getAttributes()->getAtAttribute(CKorvaAttribute::kName)) name = a->getValue();
    return "Korva Block - " + (name.empty() ? record.getHandle() : name);
}

}  // namespace

CPresBlock::CPresBlock(std::unique_ptr<CBlockDWG> record, CPreferences& preferences, CAcadDrawing& drawing,
                       CPresBlockEdit& list)
    : cad::Dialog(IDD, captionFor(*record)),
      record_(std::move(record)),
      preferences_(preferences),
      drawing_(drawing),
      list_(list),
      tabs_(*this) {
    addControl(IDC_TAB, ControlKind::TabControl);
    addControl(cad::IDOK, ControlKind::Button, "OK");
    addControl(IDC_APPLY, ControlKind::Button, "Apply").onClick = [this] {
        korvaTopLevel(kFile, "CPresBlock::OnBnClickedApply", [this] { apply(); });
    };
    addControl(IDC_CANCEL, ControlKind::Button, "Cancel").onClick = [this] { onCancel(); };
    addControl(IDC_RESET, ControlKind::Button, "Reset").show(false);
    tabs_.init(IDC_TAB);
}

CPresBlock::~CPresBlock() = default;

bool CPresBlock::onInitDialog() {
    return korvaTopLevel(kFile, "CPresBlock::OnInitDialog", [this] {
        tabs_.data().initialiseData(*record_);
        tabs_.format().initialiseData(*record_);
    });
}

void CPresBlock::hideWindows() {
    showWindow(cad::WindowState::Hidden);
    list_.showWindow(cad::WindowState::Hidden);
}

void CPresBlock::showWindows() { showWindow(cad::WindowState::Shown); }

bool CPresBlock::apply() {
    if (!drawing_.isDocumentOpen()) {
        cad::acutPrintf("The drawing of the block editor has been closed.\n");
        return false;
    }
    tabs_.data().applyChanges(*record_);
    tabs_.format().applyChanges(*record_);
    CKorvaExceptions errors;
    record_->applyToDWG(*drawing_.getDocument(), errors);
    if (errors.getCount() > 0) errors.printAll();
    drawing_.regenDrawing();
    list_.fillList();
    return true;
}

void CPresBlock::onOK() {
    bool applied = false;
    korvaTopLevel(kFile, "CPresBlock::OnOK", [this, &applied] { applied = apply(); });
    if (applied) closeWindow();
}

void CPresBlock::onCancel() { closeWindow(); }

void CPresBlock::closeWindow() {
    korvaTopLevel(kFile, "CPresBlock::OnBnClickedCancel", [this] {
        if (drawing_.isDocumentOpen()) record_->highlightAreasSubtracted(*drawing_.getDocument(), false, false);
    });
    endDialog(cad::IDCANCEL);
    korvaTopLevel(kFile, "CPresBlock::OnBnClickedCancel", [this] {
        if (drawing_.isDocumentOpen()) list_.blockWindowClosed();
    });
}
