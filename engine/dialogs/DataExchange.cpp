#include "engine/dialogs/DataExchange.h"

#include <fmt/format.h>

#include "engine/dialogs/Dialog.h"
#include "engine/dialogs/MessageBox.h"
#include "engine/editor/Editor.h"

namespace cad {

namespace {

std::string numberText(double v) { return fmt::format("{:g}", v); }

}  // namespace

void DataExchange::fail(int id, const std::string& message) {
    messageBox(dialog_.caption(), message, MessageBoxIcon::Warning, MessageBoxButtons::Ok);
    throw Failure{id};
}

void DataExchange::text(int id, std::string& value) {
    Control& c = dialog_.item(id);
    if (save_) {
        value = c.text();
    } else {
        c.setText(value);
    }
}

void DataExchange::text(int id, int& value) {
    Control& c = dialog_.item(id);
    if (!save_) {
        c.setText(std::to_string(value));
        return;
    }
    auto v = parseIntegerText(c.text());
    if (!v) fail(id, "Please enter an integer.");
    value = *v;
}

void DataExchange::text(int id, double& value) {
    Control& c = dialog_.item(id);
    if (!save_) {
        c.setText(numberText(value));
        return;
    }
    auto v = parseRealText(c.text());
    if (!v) fail(id, "Please enter a number.");
    value = *v;
}

void DataExchange::check(int id, bool& value) {
    Control& c = dialog_.item(id);
    if (save_) {
        value = c.isChecked();
    } else {
        c.setCheck(value);
    }
}

void DataExchange::radio(int firstId, int& index) {
    const Control& first = dialog_.item(firstId);
    int position = 0;
    bool inGroup = false;
    for (const auto& c : dialog_.controls()) {
        if (c.get() == &first) inGroup = true;
        if (!inGroup || c->kind() != ControlKind::RadioButton || c->group() != first.group()) continue;
        if (save_) {
            if (c->isChecked()) {
                index = position;
                return;
            }
        } else {
            c->setCheck(position == index);
        }
        ++position;
    }
    if (save_) index = -1;
}

void DataExchange::listIndex(int id, int& index) {
    Control& c = dialog_.item(id);
    if (save_) {
        index = c.selection();
    } else {
        c.setSelection(index);
    }
}

void DataExchange::comboText(int id, std::string& value) {
    Control& c = dialog_.item(id);
    if (save_) {
        value = c.text();
        return;
    }
    c.setText(value);
    for (int i = 0; i < c.count(); ++i)
        if (c.items()[static_cast<std::size_t>(i)] == value) c.setSelection(i);
}

void DataExchange::minMax(int id, int value, int min, int max) {
    if (save_ && (value < min || value > max))
        fail(id, fmt::format("Please enter an integer between {} and {}.", min, max));
}

void DataExchange::minMax(int id, double value, double min, double max) {
    if (save_ && (value < min || value > max))
        fail(id, "Please enter a number between " + numberText(min) + " and " + numberText(max) + ".");
}

void DataExchange::maxChars(int id, const std::string& value, std::size_t maxChars) {
    if (save_ && value.size() > maxChars)
        fail(id, fmt::format("Please enter no more than {} characters.", maxChars));
}

}  // namespace cad
