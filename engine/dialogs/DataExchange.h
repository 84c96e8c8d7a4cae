#pragma once
#include <cstddef>
#include <string>

namespace cad {

class Dialog;

// Moves values between a dialog's members and its controls, with typed range checks. A refused
// entry shows the toolkit's standard message and stops the exchange; Dialog::updateData then
// reports false and the dialog stays open.
class DataExchange {
public:
    DataExchange(Dialog& dialog, bool saveAndValidate) : dialog_(dialog), save_(saveAndValidate) {}

    bool saveAndValidate() const { return save_; }
    Dialog& dialog() { return dialog_; }

    void text(int id, std::string& value);
    void text(int id, int& value);
    void text(int id, double& value);
    void check(int id, bool& value);
    // The index of the checked radio button among the group that starts with firstId (-1: none).
    void radio(int firstId, int& index);
    void listIndex(int id, int& index);
    void comboText(int id, std::string& value);

    void minMax(int id, int value, int min, int max);
    void minMax(int id, double value, double min, double max);
    void maxChars(int id, const std::string& value, std::size_t maxChars);

    // Thrown to stop an exchange after the message was shown.
    struct Failure {
        int controlId;
    };

private:
    [[noreturn]] void fail(int id, const std::string& message);

    Dialog& dialog_;
    bool save_;
};

}  // namespace cad
