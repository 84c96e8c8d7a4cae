#include "engine/dialogs/MessageBox.h"

#include "engine/editor/HostOutput.h"

namespace cad {

namespace {

class CommandLinePresenter : public MessageBoxPresenter {
public:
    MessageBoxResult show(const std::string& caption, const std::string& text, MessageBoxIcon,
                          MessageBoxButtons buttons) override {
        print("[" + caption + "]\n" + text + "\n");
        return buttons == MessageBoxButtons::YesNo ? MessageBoxResult::No : MessageBoxResult::Ok;
    }
};

CommandLinePresenter& defaultPresenter() {
    static CommandLinePresenter presenter;
    return presenter;
}

// One modal message box service per host process, as on the platform.
MessageBoxPresenter* g_presenter = nullptr;

}  // namespace

void setMessageBoxPresenter(MessageBoxPresenter* presenter) { g_presenter = presenter; }

MessageBoxPresenter& messageBoxPresenter() { return g_presenter ? *g_presenter : defaultPresenter(); }

MessageBoxResult messageBox(const std::string& caption, const std::string& text, MessageBoxIcon icon,
                            MessageBoxButtons buttons) {
    return messageBoxPresenter().show(caption, text, icon, buttons);
}

RecordedMessageBoxes::RecordedMessageBoxes(MessageBoxResult yesNoAnswer)
    : yesNoAnswer_(yesNoAnswer), previous_(g_presenter) {
    g_presenter = this;
}

RecordedMessageBoxes::~RecordedMessageBoxes() { g_presenter = previous_; }

MessageBoxResult RecordedMessageBoxes::show(const std::string& caption, const std::string& text,
                                            MessageBoxIcon icon, MessageBoxButtons buttons) {
    boxes_.push_back({caption, text, icon, buttons});
    return buttons == MessageBoxButtons::YesNo ? yesNoAnswer_ : MessageBoxResult::Ok;
}

}  // namespace cad
