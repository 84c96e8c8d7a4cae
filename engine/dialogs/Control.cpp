#include "engine/dialogs/Control.h"

namespace cad {

bool Control::setSelection(int index) {
    if (index < -1 || index >= count()) return false;
    selection_ = index;
    if (kind_ == ControlKind::ComboBox) text_ = index >= 0 ? items_[static_cast<std::size_t>(index)] : "";
    return true;
}

const char* controlKindName(ControlKind kind) {
    switch (kind) {
        case ControlKind::Static: return "static";
        case ControlKind::Edit: return "edit";
        case ControlKind::Button: return "button";
        case ControlKind::CheckBox: return "check";
        case ControlKind::RadioButton: return "radio";
        case ControlKind::ListBox: return "list";
        case ControlKind::ComboBox: return "combo";
        case ControlKind::TabControl: return "tab";
        case ControlKind::GroupBox: return "group";
    }
    return "control";
}

}  // namespace cad
