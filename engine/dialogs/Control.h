#pragma once
#include <functional>
#include <string>
#include <vector>

namespace cad {

enum class ControlKind { Static, Edit, Button, CheckBox, RadioButton, ListBox, ComboBox, TabControl, GroupBox };

// One control of a dialog. Edits and combo boxes hold a text, check boxes and radio buttons a
// check, list and combo boxes and tab controls a list of entries with the selected one.
class Control {
public:
    Control(int id, ControlKind kind, std::string caption) : id_(id), kind_(kind), caption_(std::move(caption)) {}

    int id() const { return id_; }
    ControlKind kind() const { return kind_; }

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption) { caption_ = std::move(caption); }

    const std::string& text() const { return text_; }
    void setText(std::string text) { text_ = std::move(text); }

    bool isEnabled() const { return enabled_; }
    void enable(bool on = true) { enabled_ = on; }
    bool isVisible() const { return visible_; }
    void show(bool on = true) { visible_ = on; }

    bool isChecked() const { return checked_; }
    void setCheck(bool on) { checked_ = on; }

    const std::vector<std::string>& items() const { return items_; }
    int addString(std::string item) {
        items_.push_back(std::move(item));
        return static_cast<int>(items_.size()) - 1;
    }
    void resetContent() {
        items_.clear();
        selection_ = -1;
    }
    int count() const { return static_cast<int>(items_.size()); }
    int selection() const { return selection_; }
    // -1 clears the selection; an index out of range is refused.
    bool setSelection(int index);

    // Radio buttons of one group exclude each other.
    int group() const { return group_; }
    void setGroup(int group) { group_ = group; }

    // A control on a page of a tab control is shown only while that page is current.
    int tabControl() const { return tabControl_; }
    int tabPage() const { return tabPage_; }
    void placeOnTab(int tabControlId, int page) {
        tabControl_ = tabControlId;
        tabPage_ = page;
    }

    // Handlers: a click (button, check box, radio button, menu-like use), a change (edit text,
    // list or combo selection, tab page).
    std::function<void()> onClick;
    std::function<void()> onChange;

private:
    int id_;
    ControlKind kind_;
    std::string caption_;
    std::string text_;
    bool enabled_ = true;
    bool visible_ = true;
    bool checked_ = false;
    std::vector<std::string> items_;
    int selection_ = -1;
    int group_ = 0;
    int tabControl_ = 0;
    int tabPage_ = 0;
};

const char* controlKindName(ControlKind kind);

}  // namespace cad
