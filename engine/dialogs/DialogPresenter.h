#pragma once

namespace cad {

class Dialog;

// Shows dialogs. The console installs one that prints a dialog and takes its actions as lines;
// the default one, for hosts without a user, shows nothing and ends modal dialogs with Cancel.
class DialogPresenter {
public:
    virtual ~DialogPresenter() = default;
    // Runs the dialog until it ends; the dialog is open when this is called.
    virtual void runModal(Dialog& dialog) = 0;
    // A modeless dialog was opened or has ended.
    virtual void opened(Dialog& dialog) = 0;
    virtual void closed(Dialog& dialog) = 0;
    // A modeless window was hidden, minimised or restored; a window was brought to the front.
    virtual void windowStateChanged(Dialog&) {}
    virtual void activated(Dialog&) {}
};

// The caller keeps ownership; nullptr restores the default presenter.
void setDialogPresenter(DialogPresenter* presenter);
DialogPresenter& dialogPresenter();

}  // namespace cad
