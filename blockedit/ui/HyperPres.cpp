#include "ui/HyperPres.h"

#include "core/KorvaExceptions.h"
#include "core/KorvaWrap.h"
#include "core/Utilities.h"
#include "data/Hyperlink.h"
#include "data/Hyperlinks.h"
#include "engine/api/Editor.h"
#include "host/AcadUtilities.h"
#include "spaceblocks/BlockDWG.h"
#include "spaceblocks/Blocks.h"
#include "reports/DrawingLockScope.h"

using cad::ControlKind;

namespace {

constexpr const char* kFile = "HyperPres";

std::unique_ptr<CHyperlinks> copyOf(const CHyperlinks& hyperlinks) {
    auto copy = std::make_unique<CHyperlinks>();
    hyperlinks.copyTo(*copy);
    return copy;
}

}  // namespace

CHyperPres::CHyperPres() : cad::Dialog(IDD, "Korva Block Hyperlinking") {
    addControl(IDC_SELECT, ControlKind::Button, "Select Block").onClick = [this] { onSelectBlock(); };
    addControl(1401, ControlKind::Static, "Name");
    addControl(IDC_NAME, ControlKind::Static);
    addControl(1402, ControlKind::Static, "Handle");
    addControl(IDC_HANDLE, ControlKind::Static);
    addControl(1403, ControlKind::Static, "Hyperlink");
    addControl(1404, ControlKind::Static, "Description");
    for (std::size_t row = 0; row < kAddressIds.size(); ++row) {
        const std::string number = std::to_string(row + 1);
        addControl(kAddressIds[row], ControlKind::Edit, "Hyperlink " + number).onChange = [this, row] {
            onAddressChanged(row);
        };
        addControl(kDescriptionIds[row], ControlKind::Edit, "Description " + number);
    }
    addControl(IDC_APPLY_ALL, ControlKind::CheckBox, "Apply changes to all similar blocks");
    addControl(cad::IDOK, ControlKind::Button, "OK");
    addControl(IDC_APPLY, ControlKind::Button, "Apply").onClick = [this] {
        korvaTopLevel(kFile, "CHyperPres::OnBnClickedApply", [this] { apply(); });
    };
    addControl(IDC_CANCEL, ControlKind::Button, "Cancel").onClick = [this] { onCancel(); };
}

CHyperPres::~CHyperPres() = default;

bool CHyperPres::onInitDialog() {
    return korvaTopLevel(kFile, "CHyperPres::OnShowWindow", [this] {
        drawing_.bindToActiveDocument();
        cad::acutPrintf("Please select a block to hyperlink\n");
        item(cad::IDOK).enable(false);
        item(IDC_APPLY).enable(false);
    });
}

bool CHyperPres::drawingStillOpen() {
    if (drawing_.isDocumentOpen()) return true;
    cad::acutPrintf("The drawing of the hyperlink dialog has been closed.\n");
    onCancel();
    return false;
}

void CHyperPres::readControls() {
    for (std::size_t row = 0; row < kAddressIds.size(); ++row) {
        addresses_[row] = itemText(kAddressIds[row]);
        descriptions_[row] = itemText(kDescriptionIds[row]);
    }
    applyToAll_ = item(IDC_APPLY_ALL).isChecked();
}

void CHyperPres::writeControls() {
    for (std::size_t row = 0; row < kAddressIds.size(); ++row) {
        setItemText(kAddressIds[row], addresses_[row]);
        setItemText(kDescriptionIds[row], descriptions_[row]);
    }
    item(IDC_APPLY_ALL).setCheck(applyToAll_);
    item(IDC_NAME).setCaption(name_);
    item(IDC_HANDLE).setCaption(handle_);
}

void CHyperPres::onSelectBlock() {
    korvaTopLevel(kFile, "CHyperPres::OnBnClickedSelectBlock", [this] {
        if (!drawingStillOpen()) return;
        readControls();
        showWindow(cad::WindowState::Minimised);
        cad::ObjectId id;
        if (!CAcadUtilities::selectObjectId("\nSelect a Block: ", id)) {
            cad::acutPrintf("A new block has not been selected\n");
            showWindow(cad::WindowState::Shown);
            return;
        }
        cad::acutPrintf(" \n \n");
        std::string className;
        {
            auto object = drawing_.database().open(id);
            if (object) className = std::string(object->className());
        }
        if (className == "AcDbBlockReference") {
            setCurrentAcadBlock(id);
            item(cad::IDOK).enable(true);
            item(IDC_APPLY).enable(true);
            cad::acutPrintf("Block Selected\n");
        }
        writeControls();
        showWindow(cad::WindowState::Shown);
    });
}

void CHyperPres::setCurrentAcadBlock(cad::ObjectId id) {
    try {
        korvaWrap(kFile, "CHyperPres::setCurrentAcadBlock", [&] {
            CDrawingLockScope lock(drawing_);
            if (!lock.locked()) KORVA_HOST_CHECK(cad::ErrorStatus::eLockViolation, drawing_.getFilename());
            cad::Database& db = drawing_.database();
            auto reference = db.open<cad::BlockReference>(id);
            KORVA_HOST_CHECK(reference.openStatus(), drawing_.getFilename());
            auto block = std::make_unique<CBlockDWG>(*reference, db);
            block->setObjectId(id);
            current_ = std::move(block);
        });
    } catch (const CEXKorva& failure) {
        cad::acutPrintf("Unable to hyperlink block(s).\n");
        failure.printErrorTrace();
        return;
    }
    addresses_.fill({});
    descriptions_.fill({});
    applyToAll_ = false;
    name_ = current_->getName();
    handle_ = current_->getHandle();
    if (const CHyperlinks* links = current_->getHyperlinks()) {
        for (std::size_t row = 0; row < addresses_.size() && row < links->getCount(); ++row) {
            addresses_[row] = links->getAt(row).getHref();
            descriptions_[row] = links->getAt(row).getDescription();
        }
    }
    writeControls();
}

void CHyperPres::onAddressChanged(std::size_t row) {
    korvaTopLevel(kFile, "CHyperPres::OnEnChangeHyperlink", [&] {
        const std::string before = addresses_[row];
        readControls();
        if (descriptions_[row].empty() || descriptions_[row] == before) descriptions_[row] = addresses_[row];
        writeControls();
    });
}

bool CHyperPres::apply() {
    if (!drawingStillOpen() || !current_) return false;
    readControls();
    CHyperlinks hyperlinks;
    for (std::size_t row = 0; row < addresses_.size(); ++row) {
        if (addresses_[row].empty()) continue;
        if (descriptions_[row].empty()) descriptions_[row] = addresses_[row];
        hyperlinks.add(std::make_unique<CHyperlink>(addresses_[row], descriptions_[row]));
    }
    if (applyToAll_)
        hyperlinkAllBlocks(hyperlinks);
    else
        hyperlinkBlock(hyperlinks);
    setCurrentAcadBlock(current_->getObjectId());
    return true;
}

void CHyperPres::hyperlinkBlock(const CHyperlinks& hyperlinks) {
    korvaWrap(kFile, "CHyperPres::hyperlinkBlock", [&] {
        current_->setHyperlinks(copyOf(hyperlinks));
        CKorvaExceptions errors;
        current_->applyToDWG(*drawing_.getDocument(), errors);
        if (errors.getCount() > 0) errors.printAll();
        cad::acutPrintf("1 block affected.\n");
    });
}

void CHyperPres::hyperlinkAllBlocks(const CHyperlinks& hyperlinks) {
    korvaWrap(kFile, "CHyperPres::hyperlinkAllBlocks", [&] {
        const std::string definition = current_->getBlockName();
        CBlocks blocks;
        blocks.getAcadBlocks(*drawing_.getDocument());
        long count = 0;
        for (std::size_t i = 0; i < blocks.getLength(); ++i) {
            auto* block = dynamic_cast<CBlockDWG*>(&blocks.getAt(i));
            if (block == nullptr || block->getBlockName() != definition) continue;
            block->setHyperlinks(copyOf(hyperlinks));
            CKorvaExceptions errors;
            block->applyToDWG(*drawing_.getDocument(), errors);
            if (errors.getCount() > 0) errors.printAll();
            ++count;
        }
        cad::acutPrintf("%s block(s) affected.\n", CUtilities::LongToCString(count));
    });
}

void CHyperPres::onOK() {
    bool applied = false;
    korvaTopLevel(kFile, "CHyperPres::OnBnClickedOk", [this, &applied] { applied = apply(); });
    if (applied) endDialog(cad::IDOK);
}

void CHyperPres::onCancel() {
    current_.reset();
    endDialog(cad::IDCANCEL);
}
