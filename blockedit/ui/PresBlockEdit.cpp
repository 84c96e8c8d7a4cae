#include "ui/PresBlockEdit.h"

#include "core/KorvaWrap.h"
#include "core/Utilities.h"
#include "engine/api/Editor.h"
#include "host/AcadUtilities.h"
#include "spaceblocks/BlockDWG.h"
#include "spaceblocks/KorvaAttribute.h"
#include "ui/PresBlock.h"

using cad::ControlKind;

namespace {

constexpr const char* kFile = "PresBlockEdit";

}  // namespace

CPresBlockEdit::CPresBlockEdit() : cad::Dialog(IDD, "Korva Block Editor") {
    addControl(IDC_LIST, ControlKind::ListBox).onChange = [this] { onListChanged(); };
    addControl(IDC_COMBO, ControlKind::ComboBox);
    addControl(IDC_SELECT, ControlKind::Button, "Select Space").onClick = [this] { onCmdSelect(); };
    addControl(IDC_COUNT, ControlKind::Static, "X blocks found");
    addControl(IDC_DRAWING_NAME, ControlKind::Static, "Drawing Name");
    addControl(IDC_CLOSE, ControlKind::Button, "Close").onClick = [this] { onCancel(); };
}

CPresBlockEdit::~CPresBlockEdit() = default;

bool CPresBlockEdit::onInitDialog() {
    return korvaTopLevel(kFile, "CPresBlockEdit::OnInitDialog", [this] {
        preferences_.loadPreferences();
        drawing_.bindToActiveDocument();
        setCaption("Korva Block Editor");
        item(IDC_DRAWING_NAME).setCaption(drawing_.getFilename());
        fillList();
    });
}

void CPresBlockEdit::onCancel() {
    if (blockWindow_) blockWindow_->destroyWindow();
    endDialog(cad::IDCANCEL);
}

bool CPresBlockEdit::drawingStillOpen() {
    if (drawing_.isDocumentOpen()) return true;
    cad::acutPrintf("The drawing of the block editor has been closed.\n");
    onCancel();
    return false;
}

void CPresBlockEdit::fillList() {
    korvaWrap(kFile, "CPresBlockEdit::fillList", [this] {
        cad::Control& list = item(IDC_LIST);
        list.resetContent();
        blocks_.deleteObjects();
        blocks_.getKorvaDWGBlocks_SS(*drawing_.getDocument(), false, CBlocks::kLevelFloor);
        int entries = 0;
        for (std::size_t i = 0; i < blocks_.getLength(); ++i) {
            const auto* record = dynamic_cast<const CBlockDWG*>(&blocks_.getAt(i));
            if (record == nullptr) continue;
            const std::string& blockName = record->getBlockName();
            if (blockName.compare(0, 5, "ROOM-") != 0 || blockName == CBlocks::kMarkerLegend ||
                blockName == CBlocks::kMarkerPie)
                continue;
            std::string name;
            if (record->getAttributes())
                if (const CAttribute* a = record->getAttributes()->getAtAttribute(CKorvaAttribute::kName))
                    name = a->getValue();
            list.addString(name + std::string(kHandleIndent, ' ') + record->getHandle());
            ++entries;
        }
        item(IDC_COUNT).setCaption(CUtilities::IntToCString(entries) + " item(s) found.");
    });
}

void CPresBlockEdit::onListChanged() {
    korvaTopLevel(kFile, "CPresBlockEdit::OnLbnSelchange", [this] {
        if (!drawingStillOpen()) return;
        const cad::Control& list = item(IDC_LIST);
        if (list.selection() < 0) return;
        const std::string& entry = list.items()[static_cast<std::size_t>(list.selection())];
        const auto blank = entry.find_last_of(' ');
        showBlock(blank == std::string::npos ? entry : entry.substr(blank + 1));
    });
}

void CPresBlockEdit::onCmdSelect() {
    korvaTopLevel(kFile, "CPresBlockEdit::OnCmdSelect", [this] {
        if (!drawingStillOpen()) return;
        showWindow(cad::WindowState::Minimised);
        cad::ObjectId id;
        if (CAcadUtilities::selectObjectId(id, "\nPlease select a space\n", "AcDbBlockReference") != 0) {
            showWindow(cad::WindowState::Shown);
            return;
        }
        std::string handle;
        {
            if (drawing_.lock() != cad::ErrorStatus::eOk)
                KORVA_HOST_CHECK(cad::ErrorStatus::eLockViolation, drawing_.getFilename());
            auto reference = drawing_.database().open(id);
            if (reference) handle = reference->handle().toString();
            reference.close();
            drawing_.unlock();
        }
        if (blocks_.getAt(handle) == nullptr) {
            cad::acutPrintf(
                "The specified AcDbBlockReference cannot be found in the list of Korva blocks.  The selected object "
                "may not be a Korva block.");
            cad::acutPrintf("\n");
            showWindow(cad::WindowState::Shown);
            return;
        }
        showBlock(handle);
    });
}

void CPresBlockEdit::showBlock(const std::string& handle) {
    korvaWrap(kFile, "CPresBlockEdit::showBlock", [&] {
        auto* found = dynamic_cast<CBlockDWG*>(blocks_.getAt(handle));
        if (found == nullptr) return;
        found->setUnits(preferences_.getUnits());
        found->setPrecision(preferences_.getPrecision());
        auto copy = std::make_unique<CBlockDWG>();
        found->copyInto(*copy);
        if (blockWindow_) blockWindow_->destroyWindow();
        blockWindow_ = std::make_unique<CPresBlock>(std::move(copy), preferences_, drawing_, *this);
        if (!blockWindow_->create()) return;
        showWindow(cad::WindowState::Hidden);
    });
}

void CPresBlockEdit::blockWindowClosed() {
    fillList();
    showWindow(cad::WindowState::Shown);
}
