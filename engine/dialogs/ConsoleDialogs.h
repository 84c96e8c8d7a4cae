#pragma once
#include <string_view>
#include <vector>

#include "engine/dialogs/DialogPresenter.h"
#include "engine/dialogs/FileDialog.h"
#include "engine/dialogs/MessageBox.h"

namespace cad {

class Editor;

// Message boxes and dialogs on the command line, installed while in scope.
// A message box prints "[caption]" and its text; a Yes/No box then asks "Yes/No: " for a line.
// A dialog prints its text block (see describeDialog) and takes actions (see applyDialogAction):
// a modal one reads every line until it ends ("Dialog: " prompt); a modeless one stays open and
// gets the lines typed at the command prompt as "dialog ACTION". The end of the input cancels.
// The open-file dialog asks "File name (FILTER): " on the command line; an empty answer cancels.
class ConsoleDialogs : public MessageBoxPresenter, public DialogPresenter, public FileDialogPresenter {
public:
    explicit ConsoleDialogs(Editor& editor);
    ~ConsoleDialogs() override;
    ConsoleDialogs(const ConsoleDialogs&) = delete;
    ConsoleDialogs& operator=(const ConsoleDialogs&) = delete;

    MessageBoxResult show(const std::string& caption, const std::string& text, MessageBoxIcon icon,
                          MessageBoxButtons buttons) override;

    std::string openFile(const std::string& filter) override;

    void runModal(Dialog& dialog) override;
    void opened(Dialog& dialog) override;
    void closed(Dialog& dialog) override;
    void windowStateChanged(Dialog& dialog) override;
    void activated(Dialog& dialog) override;

    // A command-prompt line "dialog ACTION" goes to the modeless dialog on show that was opened
    // last (hidden and minimised windows take none); true when the line was such a line (handled
    // or refused with a message).
    bool handleCommandLine(std::string_view line);
    const std::vector<Dialog*>& modelessDialogs() const { return modeless_; }

private:
    void act(Dialog& dialog, std::string_view action);

    Editor& editor_;
    std::vector<Dialog*> modeless_;
    MessageBoxPresenter* previousBoxes_;
    FileDialogPresenter* previousFiles_;
};

}  // namespace cad
