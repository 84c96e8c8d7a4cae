#pragma once
#include <string>
#include <string_view>

namespace cad {

class Dialog;

// The dialog actions of the console, one per line (verbs in any letter case; ids are numbers or
// IDOK, IDCANCEL, IDYES, IDNO):
//   set ID TEXT        types TEXT into an edit or combo box (the rest of the line, may be empty)
//   click ID           clicks a button (or toggles a check box, picks a radio button)
//   check ID           ticks a check box or picks a radio button; uncheck ID clears a check box
//   select ID N|TEXT   chooses entry N (from 0) or the entry TEXT of a list or combo box, or a tab page
//   tab ID N|TEXT      switches the tab control to page N or to the page titled TEXT
//   ok | cancel        clicks OK or Cancel
//   escape             presses Escape            close   clicks the close box
//   menu CAPTION|ID    chooses a menu item ("&" in captions may be left out)
//   show               shows the dialog again
struct DialogActionResult {
    bool ok = true;
    std::string message;  // why the action was refused
    bool showAgain = false;
    bool notAnAction = false;  // the line names no dialog action at all
};

DialogActionResult applyDialogAction(Dialog& dialog, std::string_view line);

// The text block that shows a dialog: its caption, every visible control with id, kind, caption
// and value, and its menu.
std::string describeDialog(const Dialog& dialog);

}  // namespace cad
