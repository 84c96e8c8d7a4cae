#include "engine/dialogs/Dialog.h"

#include <stdexcept>

#include "engine/dialogs/DataExchange.h"
#include "engine/dialogs/DialogPresenter.h"

namespace cad {

Dialog::Dialog(int resourceId, std::string caption) : resourceId_(resourceId), caption_(std::move(caption)) {}

Dialog::~Dialog() {
    if (open_ && !modal_) dialogPresenter().closed(*this);
}

Control& Dialog::addControl(int id, ControlKind kind, std::string caption) {
    if (findItem(id)) throw std::logic_error("dialog \"" + caption_ + "\" already has a control " + std::to_string(id));
    controls_.push_back(std::make_unique<Control>(id, kind, std::move(caption)));
    return *controls_.back();
}

Control* Dialog::findItem(int id) {
    for (auto& c : controls_)
        if (c->id() == id) return c.get();
    return nullptr;
}

Control& Dialog::item(int id) {
    if (Control* c = findItem(id)) return *c;
    throw std::out_of_range("dialog \"" + caption_ + "\" has no control " + std::to_string(id));
}

const Control& Dialog::item(int id) const { return const_cast<Dialog*>(this)->item(id); }

void Dialog::checkRadioButton(int id) {
    Control& chosen = item(id);
    for (auto& c : controls_)
        if (c->kind() == ControlKind::RadioButton && c->group() == chosen.group()) c->setCheck(false);
    chosen.setCheck(true);
}

bool Dialog::isShown(const Control& control) const {
    if (!control.isVisible()) return false;
    if (control.tabControl() == 0) return true;
    const Control& tab = item(control.tabControl());
    return isShown(tab) && tab.selection() == control.tabPage();
}

void Dialog::addPage(int tabControlId, Dialog& page) {
    Control& tab = item(tabControlId);
    int index = tab.addString(page.caption());
    pages_.push_back({tabControlId, index, &page});
    page.parent_ = this;
}

std::vector<Dialog*> Dialog::currentPages() const {
    std::vector<Dialog*> out;
    for (const Page& p : pages_) {
        const Control& tab = item(p.tabControlId);
        if (isShown(tab) && tab.selection() == p.index) out.push_back(p.page);
    }
    return out;
}

Control* Dialog::findShownItem(int id, const std::function<bool(const Control&)>& accepts, Dialog*& owner) {
    for (Dialog* page : currentPages()) {
        if (Control* c = page->findShownItem(id, accepts, owner)) return c;
    }
    for (auto& c : controls_) {
        if (c->id() != id || !isShown(*c)) continue;
        if (accepts && !accepts(*c)) continue;
        owner = this;
        return c.get();
    }
    return nullptr;
}

void Dialog::showWindow(WindowState state) {
    if (state_ == state) return;
    state_ = state;
    if (open_ && !modal_) dialogPresenter().windowStateChanged(*this);
}

void Dialog::activate() {
    if (open_ && state_ == WindowState::Shown) dialogPresenter().activated(*this);
}

void Dialog::addMenuItem(int id, std::string caption, std::function<void()> handler) {
    menu_.push_back({id, std::move(caption), std::move(handler)});
}

void Dialog::open(bool modal) {
    open_ = true;
    modal_ = modal;
    result_ = 0;
    state_ = WindowState::Shown;
    // A dialog whose initialisation failed (and said why) does not come up.
    if (!onInitDialog()) open_ = false;
}

int Dialog::doModal() {
    open(true);
    if (open_) dialogPresenter().runModal(*this);
    open_ = false;
    return result_;
}

bool Dialog::create() {
    open(false);
    if (open_) dialogPresenter().opened(*this);
    return open_;
}

void Dialog::destroyWindow() {
    if (!open_) return;
    open_ = false;
    if (!modal_) dialogPresenter().closed(*this);
}

void Dialog::endDialog(int result) {
    result_ = result;
    if (modal_) {
        open_ = false;
    } else {
        destroyWindow();
    }
}

bool Dialog::updateData(bool saveAndValidate) {
    DataExchange dx(*this, saveAndValidate);
    try {
        doDataExchange(dx);
    } catch (const DataExchange::Failure& failure) {
        refused_ = failure.controlId;
        return false;
    }
    return true;
}

bool Dialog::onInitDialog() {
    updateData(false);
    return true;
}

void Dialog::onOK() {
    if (updateData(true)) endDialog(IDOK);
}

void Dialog::onCancel() { endDialog(IDCANCEL); }

void Dialog::command(int id) {
    Control* c = findItem(id);
    if (c != nullptr) {
        if (c->kind() == ControlKind::CheckBox) c->setCheck(!c->isChecked());
        if (c->kind() == ControlKind::RadioButton) checkRadioButton(id);
        if (c->onClick) {
            c->onClick();
            return;
        }
    }
    if (id == IDOK) {
        onOK();
    } else if (id == IDCANCEL) {
        onCancel();
    }
}

void Dialog::changed(int id) {
    Control& c = item(id);
    if (c.onChange) c.onChange();
}

}  // namespace cad
