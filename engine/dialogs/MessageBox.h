#pragma once
#include <string>
#include <vector>

namespace cad {

enum class MessageBoxIcon { None, Error, Warning, Information, Question };
enum class MessageBoxButtons { Ok, YesNo };
enum class MessageBoxResult { Ok, Yes, No, Cancel };

// Shows message boxes. The console installs one that prints the box and, for Yes/No, reads the
// answer from its input; the default prints to the command line and answers Ok (or No).
class MessageBoxPresenter {
public:
    virtual ~MessageBoxPresenter() = default;
    virtual MessageBoxResult show(const std::string& caption, const std::string& text, MessageBoxIcon icon,
                                  MessageBoxButtons buttons) = 0;
};

// The caller keeps ownership; nullptr restores the default presenter.
void setMessageBoxPresenter(MessageBoxPresenter* presenter);
MessageBoxPresenter& messageBoxPresenter();

MessageBoxResult messageBox(const std::string& caption, const std::string& text,
                            MessageBoxIcon icon = MessageBoxIcon::None,
                            MessageBoxButtons buttons = MessageBoxButtons::Ok);

// Records every box shown while in scope and answers Yes/No boxes with a fixed answer (tests).
class RecordedMessageBoxes : public MessageBoxPresenter {
public:
    struct Box {
        std::string caption;
        std::string text;
        MessageBoxIcon icon;
        MessageBoxButtons buttons;
    };

    explicit RecordedMessageBoxes(MessageBoxResult yesNoAnswer = MessageBoxResult::No);
    ~RecordedMessageBoxes() override;
    RecordedMessageBoxes(const RecordedMessageBoxes&) = delete;
    RecordedMessageBoxes& operator=(const RecordedMessageBoxes&) = delete;

    MessageBoxResult show(const std::string& caption, const std::string& text, MessageBoxIcon icon,
                          MessageBoxButtons buttons) override;
    const std::vector<Box>& boxes() const { return boxes_; }

private:
    std::vector<Box> boxes_;
    MessageBoxResult yesNoAnswer_;
    MessageBoxPresenter* previous_;
};

}  // namespace cad
