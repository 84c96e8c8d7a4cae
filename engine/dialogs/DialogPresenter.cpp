#include "engine/dialogs/DialogPresenter.h"

#include "engine/dialogs/Dialog.h"

namespace cad {

namespace {

// Without a user nothing can answer a dialog: modal ones end as if cancelled.
class NoUserPresenter : public DialogPresenter {
public:
    void runModal(Dialog& dialog) override { dialog.endDialog(IDCANCEL); }
    void opened(Dialog&) override {}
    void closed(Dialog&) override {}
};

NoUserPresenter& defaultPresenter() {
    static NoUserPresenter presenter;
    return presenter;
}

// One user interface per host process.
DialogPresenter* g_presenter = nullptr;

}  // namespace

void setDialogPresenter(DialogPresenter* presenter) { g_presenter = presenter; }

DialogPresenter& dialogPresenter() { return g_presenter ? *g_presenter : defaultPresenter(); }

}  // namespace cad
