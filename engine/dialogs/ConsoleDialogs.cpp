#include "engine/dialogs/ConsoleDialogs.h"
#include "engine/text/AsciiText.h"

#include "engine/editor/LineInput.h"

#include <strings.h>

#include <algorithm>
#include <filesystem>

#include "engine/dialogs/Dialog.h"
#include "engine/dialogs/DialogScript.h"
#include "engine/editor/Editor.h"
#include "engine/editor/HostOutput.h"

namespace cad {

namespace {

bool same(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

// "dialog ACTION" -> ACTION; anything else unchanged.
bool stripDialogWord(std::string_view& line) {
    std::string_view t = trimBlanks(line);
    if (t.size() >= 6 && same(t.substr(0, 6), "dialog") && (t.size() == 6 || t[6] == ' ' || t[6] == '\t')) {
        line = trimBlanks(t.substr(6));
        return true;
    }
    return false;
}

}  // namespace

ConsoleDialogs::ConsoleDialogs(Editor& editor)
    : editor_(editor), previousBoxes_(&messageBoxPresenter()), previousFiles_(&fileDialogPresenter()) {
    setMessageBoxPresenter(this);
    setDialogPresenter(this);
    setFileDialogPresenter(this);
}

ConsoleDialogs::~ConsoleDialogs() {
    setFileDialogPresenter(previousFiles_);
    setDialogPresenter(nullptr);
    setMessageBoxPresenter(previousBoxes_);
}

std::string ConsoleDialogs::openFile(const std::string& filter) {
    // "XML (*.xml)|*.xml|All (*.*)|*.*||": the descriptions are every other part.
    std::string shown;
    std::size_t start = 0;
    for (int part = 0; start <= filter.size(); ++part) {
        std::size_t bar = filter.find('|', start);
        std::string piece = filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
        if (part % 2 == 0 && !piece.empty()) shown += (shown.empty() ? "" : ", ") + piece;
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    std::string answer;
    std::string prompt = shown.empty() ? "File name: " : "File name (" + shown + "): ";
    if (editor_.getString(true, prompt, answer) != RTNORM) return "";
    std::string_view name = trimBlanks(answer);
    if (name.empty()) return "";
    std::error_code ec;
    auto full = std::filesystem::absolute(std::filesystem::path(name), ec);
    return ec ? std::string(name) : full.lexically_normal().string();
}

MessageBoxResult ConsoleDialogs::show(const std::string& caption, const std::string& text, MessageBoxIcon,
                                      MessageBoxButtons buttons) {
    print("[" + caption + "]\n" + text + "\n");
    if (buttons != MessageBoxButtons::YesNo) return MessageBoxResult::Ok;
    while (true) {
        std::string answer;
        if (editor_.getLine("Yes/No: ", answer) != RTNORM) return MessageBoxResult::No;
        std::string_view a = trimBlanks(answer);
        if (same(a, "y") || same(a, "yes")) return MessageBoxResult::Yes;
        if (same(a, "n") || same(a, "no")) return MessageBoxResult::No;
        print("Please answer Yes or No.\n");
    }
}

namespace {

void nameRefusedControl(Dialog& dialog) {
    const std::optional<int> id = dialog.takeRefusedControl();
    if (!id) return;
    const Control* c = dialog.findItem(*id);
    if (c == nullptr) return;
    print("The value of control " + std::to_string(*id) + " (" + controlKindName(c->kind()) +
          (c->caption().empty() ? "" : " \"" + c->caption() + "\"") + ") was refused.\n");
}

}  // namespace

void ConsoleDialogs::act(Dialog& dialog, std::string_view action) {
    DialogActionResult result = applyDialogAction(dialog, action);
    nameRefusedControl(dialog);
    if (!result.ok) print(result.message + "\n");
    if (result.showAgain && dialog.isOpen()) print(describeDialog(dialog));
}

void ConsoleDialogs::runModal(Dialog& dialog) {
    print(describeDialog(dialog));
    while (dialog.isOpen()) {
        std::string line;
        if (editor_.getLine("Dialog: ", line) != RTNORM) {
            // Input that simply ran out leaves through the close box, so an unattended run
            // behaves as if the user dismissed the window; an explicit ^C is Escape.
            if (editor_.input().atEnd())
                dialog.closeBox();
            else
                dialog.escape();
            if (dialog.isOpen()) dialog.endDialog(IDCANCEL);
            break;
        }
        std::string_view action = line;
        stripDialogWord(action);
        DialogActionResult result = applyDialogAction(dialog, action);
        nameRefusedControl(dialog);
        // A script written for a drawing that had no dialog to answer (a fresh data folder opens
        // the first-run preferences) goes on: the dialog closes as by its close box and the line
        // runs at the command line.
        if (result.notAnAction && editor_.input().giveBack(line)) {
            print("\"" + std::string(trimBlanks(line)) +
                  "\" is not a dialog action: the dialog is closed as by its close box, and the line runs as a command.\n");
            dialog.closeBox();
            if (dialog.isOpen()) dialog.endDialog(IDCANCEL);
            break;
        }
        if (!result.ok) print(result.message + "\n");
        if (result.showAgain && dialog.isOpen()) print(describeDialog(dialog));
    }
    print("[" + dialog.caption() + "] closed\n");
}

void ConsoleDialogs::opened(Dialog& dialog) {
    modeless_.push_back(&dialog);
    print(describeDialog(dialog));
}

void ConsoleDialogs::closed(Dialog& dialog) {
    auto it = std::find(modeless_.begin(), modeless_.end(), &dialog);
    if (it == modeless_.end()) return;
    modeless_.erase(it);
    print("[" + dialog.caption() + "] closed\n");
}

void ConsoleDialogs::windowStateChanged(Dialog& dialog) {
    switch (dialog.windowState()) {
        case WindowState::Hidden: print("[" + dialog.caption() + "] hidden\n"); break;
        case WindowState::Minimised: print("[" + dialog.caption() + "] minimised\n"); break;
        case WindowState::Shown: print(describeDialog(dialog)); break;
    }
}

void ConsoleDialogs::activated(Dialog& dialog) { print(describeDialog(dialog)); }

bool ConsoleDialogs::handleCommandLine(std::string_view line) {
    if (!stripDialogWord(line)) return false;
    if (modeless_.empty()) {
        print("No dialog is open.\n");
        return true;
    }
    for (auto it = modeless_.rbegin(); it != modeless_.rend(); ++it) {
        if ((*it)->windowState() == WindowState::Shown) {
            act(**it, line);
            return true;
        }
    }
    print("No dialog is on show.\n");
    return true;
}

}  // namespace cad
