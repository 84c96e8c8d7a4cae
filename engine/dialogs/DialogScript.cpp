#include "engine/dialogs/DialogScript.h"
#include "engine/text/AsciiText.h"

#include <strings.h>

#include <functional>
#include <optional>

#include "engine/dialogs/Dialog.h"
#include "engine/editor/Editor.h"

namespace cad {

namespace {

bool same(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

// Splits off the first word.
std::string_view nextWord(std::string_view& rest) {
    rest = trimBlanks(rest);
    auto blank = rest.find_first_of(" \t");
    std::string_view word = rest.substr(0, blank);
    rest = blank == std::string_view::npos ? std::string_view{} : rest.substr(blank + 1);
    return word;
}

std::optional<int> controlId(std::string_view word) {
    if (same(word, "IDOK")) return IDOK;
    if (same(word, "IDCANCEL")) return IDCANCEL;
    if (same(word, "IDYES")) return IDYES;
    if (same(word, "IDNO")) return IDNO;
    return parseIntegerText(word);
}

std::string withoutAmpersands(std::string_view s) {
    std::string out;
    for (char c : s)
        if (c != '&') out += c;
    return out;
}

DialogActionResult refuse(std::string message) { return {false, std::move(message), false}; }

// The control an action names; refuses unknown, hidden and disabled controls. A page on show and
// its window may share an id: the control whose kind suits the action wins, the page's first.
Control* target(Dialog& dialog, std::string_view word, DialogActionResult& error, Dialog*& owner,
                const std::function<bool(const Control&)>& suits = nullptr) {
    auto id = controlId(word);
    if (!id) {
        error = refuse("\"" + std::string(word) + "\" is not a control id.");
        return nullptr;
    }
    Control* c = dialog.findShownItem(*id, suits, owner);
    if (c == nullptr) c = dialog.findShownItem(*id, nullptr, owner);
    if (c == nullptr) {
        error = refuse("The dialog has no control " + std::to_string(*id) + ".");
        return nullptr;
    }
    if (!c->isEnabled()) {
        error = refuse("Control " + std::to_string(*id) + " is disabled.");
        return nullptr;
    }
    return c;
}

// A list box shows an entry up to where a long run of blanks pushes the rest out of sight.
constexpr std::string_view kOutOfSight = "        ";

std::string_view visiblePart(std::string_view entry) {
    auto cut = entry.find(kOutOfSight);
    return cut == std::string_view::npos ? entry : entry.substr(0, cut);
}

std::optional<int> entryIndex(const Control& c, std::string_view which) {
    if (auto n = parseIntegerText(which); n && *n >= 0 && *n < c.count()) return n;
    const std::string wanted = withoutAmpersands(which);
    for (int i = 0; i < c.count(); ++i) {
        const std::string& entry = c.items()[static_cast<std::size_t>(i)];
        if (withoutAmpersands(entry) == wanted || withoutAmpersands(visiblePart(entry)) == wanted) return i;
    }
    return std::nullopt;
}

std::string quoted(std::string_view s) { return "\"" + std::string(s) + "\""; }

}  // namespace

DialogActionResult applyDialogAction(Dialog& dialog, std::string_view line) {
    std::string_view rest = line;
    std::string_view verb = nextWord(rest);
    DialogActionResult error;
    if (same(verb, "ok")) {
        dialog.command(IDOK);
        return {};
    }
    if (same(verb, "cancel")) {
        dialog.command(IDCANCEL);
        return {};
    }
    if (same(verb, "escape")) {
        dialog.escape();
        return {};
    }
    if (same(verb, "close")) {
        dialog.closeBox();
        return {};
    }
    if (same(verb, "show")) return {true, "", true};
    if (same(verb, "menu")) {
        std::string_view which = trimBlanks(rest);
        auto id = parseIntegerText(which);
        for (const auto& item : dialog.menu()) {
            if ((id && item.id == *id) || same(withoutAmpersands(item.caption), withoutAmpersands(which))) {
                if (item.handler) item.handler();
                return {};
            }
        }
        return refuse("The dialog has no menu item " + quoted(which) + ".");
    }
    if (same(verb, "set")) {
        // The text is the rest of the line after one blank, kept as typed.
        std::string_view idWord = nextWord(rest);
        Dialog* owner = &dialog;
        auto isEdit = [](const Control& k) { return k.kind() == ControlKind::Edit || k.kind() == ControlKind::ComboBox; };
        Control* c = target(dialog, idWord, error, owner, isEdit);
        if (c == nullptr) return error;
        if (!isEdit(*c)) return refuse("Control " + std::to_string(c->id()) + " is not an edit box.");
        c->setText(std::string(rest));
        owner->changed(c->id());
        return {};
    }
    if (same(verb, "click") || same(verb, "check") || same(verb, "uncheck")) {
        Dialog* owner = &dialog;
        auto clickable = [](const Control& k) {
            return k.kind() == ControlKind::Button || k.kind() == ControlKind::CheckBox ||
                   k.kind() == ControlKind::RadioButton;
        };
        Control* c = target(dialog, nextWord(rest), error, owner, clickable);
        if (c == nullptr) return error;
        bool isButton = c->kind() == ControlKind::Button;
        bool isBox = c->kind() == ControlKind::CheckBox;
        bool isRadio = c->kind() == ControlKind::RadioButton;
        if (same(verb, "click")) {
            if (!isButton && !isBox && !isRadio)
                return refuse("Control " + std::to_string(c->id()) + " cannot be clicked.");
            owner->command(c->id());
            return {};
        }
        bool wanted = same(verb, "check");
        if (!isBox && !(isRadio && wanted))
            return refuse("Control " + std::to_string(c->id()) + " is not a check box.");
        if (c->isChecked() != wanted) owner->command(c->id());
        return {};
    }
    if (same(verb, "select") || same(verb, "tab")) {
        Dialog* owner = &dialog;
        const bool tabVerb = same(verb, "tab");
        auto choosable = [tabVerb](const Control& k) {
            if (k.kind() == ControlKind::TabControl) return true;
            return !tabVerb && (k.kind() == ControlKind::ListBox || k.kind() == ControlKind::ComboBox);
        };
        Control* c = target(dialog, nextWord(rest), error, owner, choosable);
        if (c == nullptr) return error;
        bool list = c->kind() == ControlKind::ListBox || c->kind() == ControlKind::ComboBox;
        bool tab = c->kind() == ControlKind::TabControl;
        if (same(verb, "tab") ? !tab : !(list || tab))
            return refuse("Control " + std::to_string(c->id()) + " has no entries to choose from.");
        auto index = entryIndex(*c, trimBlanks(rest));
        if (!index) return refuse("Control " + std::to_string(c->id()) + " has no entry " + quoted(trimBlanks(rest)) + ".");
        c->setSelection(*index);
        owner->changed(c->id());
        return {true, "", tab};
    }
    if (verb.empty()) return refuse("Type a dialog action (set, click, check, select, tab, ok, cancel, escape, close, menu, show).");
    DialogActionResult unknown = refuse("Unknown dialog action \"" + std::string(verb) + "\".");
    unknown.notAnAction = true;
    return unknown;
}

namespace {

void describeControls(const Dialog& dialog, const std::string& indent, std::string& out) {
    for (const auto& c : dialog.controls()) {
        if (!dialog.isShown(*c)) continue;
        out += indent + std::to_string(c->id()) + " " + controlKindName(c->kind());
        if (!c->caption().empty()) out += " " + quoted(c->caption());
        switch (c->kind()) {
            case ControlKind::Edit: out += " = " + quoted(c->text()); break;
            case ControlKind::CheckBox:
            case ControlKind::RadioButton: out += c->isChecked() ? " [x]" : " [ ]"; break;
            case ControlKind::ComboBox: out += " = " + quoted(c->text()); [[fallthrough]];
            case ControlKind::ListBox:
            case ControlKind::TabControl:
                for (int i = 0; i < c->count(); ++i) {
                    out += i == 0 ? ": " : ", ";
                    out += (i == c->selection() ? "*" : "") + std::to_string(i) + " " +
                           quoted(visiblePart(c->items()[static_cast<std::size_t>(i)]));
                }
                break;
            default: break;
        }
        if (!c->isEnabled()) out += " (disabled)";
        out += "\n";
        if (c->kind() != ControlKind::TabControl) continue;
        for (const auto& page : dialog.pages())
            if (page.tabControlId == c->id() && page.index == c->selection())
                describeControls(*page.page, indent + "  ", out);
    }
}

}  // namespace

std::string describeDialog(const Dialog& dialog) {
    std::string out = "[" + dialog.caption() + "]\n";
    describeControls(dialog, "  ", out);
    for (const auto& item : dialog.menu()) out += "  menu " + quoted(item.caption) + "\n";
    return out;
}

}  // namespace cad
