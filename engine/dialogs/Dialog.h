#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/dialogs/Control.h"

namespace cad {

class DataExchange;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// How a modeless window stands on the screen. A hidden or minimised window takes no actions; it
// comes back when its owner restores it (while the command line picks objects in the drawing).
enum class WindowState { Shown, Minimised, Hidden };

// A dialog: controls by id, a menu, data exchange and the standard OK / Cancel / close
// behaviour. Subclasses fill in the controls in their constructor, the data exchange in
// doDataExchange, and react in handlers. How it is shown is the dialog presenter's business.
class Dialog {
public:
    Dialog(int resourceId, std::string caption);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    int resourceId() const { return resourceId_; }
    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption) { caption_ = std::move(caption); }

    Control& addControl(int id, ControlKind kind, std::string caption = {});
    // The control of that id; std::out_of_range naming the dialog and the id when there is none.
    Control& item(int id);
    const Control& item(int id) const;
    Control* findItem(int id);
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }

    std::string itemText(int id) const { return item(id).text(); }
    void setItemText(int id, std::string text) { item(id).setText(std::move(text)); }
    // Checks the radio button and clears the others of its group.
    void checkRadioButton(int id);
    // Whether the control is visible now: shown, and on the current page of its tab control.
    bool isShown(const Control& control) const;

    // ---- child pages of a tab control ----
    // The page becomes the tab control's next entry (titled with the page's caption); its controls
    // show while that entry is selected. The caller keeps the page alive as long as this dialog.
    void addPage(int tabControlId, Dialog& page);
    struct Page {
        int tabControlId;
        int index;
        Dialog* page;
    };
    const std::vector<Page>& pages() const { return pages_; }
    // The pages whose tab entry is selected now.
    std::vector<Dialog*> currentPages() const;
    Dialog* parentDialog() const { return parent_; }
    // A control of this dialog or of a page on show, by id: the pages first, since a page may reuse
    // an id of its window. `accepts` picks among controls sharing an id (nullptr: any).
    Control* findShownItem(int id, const std::function<bool(const Control&)>& accepts, Dialog*& owner);

    struct MenuItem {
        int id;
        std::string caption;  // "&About": the ampersand marks the access key
        std::function<void()> handler;
    };
    void addMenuItem(int id, std::string caption, std::function<void()> handler);
    const std::vector<MenuItem>& menu() const { return menu_; }

    // Modal: shows the dialog and returns the code it ended with.
    int doModal();
    // Modeless: shows the dialog and returns at once; it stays open until it ends itself or is
    // destroyed.
    bool create();
    void destroyWindow();
    // Hides, minimises or restores a modeless window; the presenter shows the change.
    void showWindow(WindowState state);
    WindowState windowState() const { return state_; }
    // Brings the window to the front again, e.g. after a session at the command line: the
    // presenter shows it anew.
    void activate();
    bool isOpen() const { return open_; }
    bool isModal() const { return modal_; }
    void endDialog(int result);
    int result() const { return result_; }

    // Copies member values into the controls (false) or checks and reads them back (true). On a
    // refused entry the standard message is shown, the dialog stays open and false is returned.
    bool updateData(bool saveAndValidate = true);
    // The control whose value the last updateData refused, once: the console names it, where a
    // window would put the focus on it.
    std::optional<int> takeRefusedControl() { return std::exchange(refused_, std::nullopt); }

    // The actions a user can take; presenters call them.
    void command(int id);  // a button, check box or radio button was clicked
    void changed(int id);  // an edit's text or a list's selection was changed by the user
    void escape() { onCancel(); }
    void closeBox() { onClose(); }

protected:
    virtual bool onInitDialog();
    virtual void onOK();
    virtual void onCancel();
    virtual void onClose() { onCancel(); }
    virtual void doDataExchange(DataExchange&) {}

private:
    friend class DialogPresenter;
    void open(bool modal);

    int resourceId_;
    std::string caption_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<MenuItem> menu_;
    bool open_ = false;
    bool modal_ = false;
    int result_ = 0;
    std::optional<int> refused_;
    WindowState state_ = WindowState::Shown;
    std::vector<Page> pages_;
    Dialog* parent_ = nullptr;
};

}  // namespace cad
