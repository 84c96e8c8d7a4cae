#pragma once
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "../TestFiles.h"
#include "engine/dialogs/Dialog.h"
#include "engine/dialogs/DialogPresenter.h"
#include "engine/dialogs/DialogScript.h"

namespace moduletest {

using testfiles::readText;
using testfiles::ScopedEnvironment;
using testfiles::TempFolder;
using testfiles::writeText;

// Plays dialog actions (the console's grammar) into every modal dialog shown while in scope and
// records what each dialog showed when it opened. When the actions run out, a dialog still open
// is ended with Escape.
class ScriptedDialogs : public cad::DialogPresenter {
public:
    struct Shown {
        std::string caption;
        std::string text;  // the dialog as the console shows it when it opens
        int result = 0;
    };

    explicit ScriptedDialogs(std::vector<std::string> actions) : actions_(std::move(actions)) {
        cad::setDialogPresenter(this);
    }
    ~ScriptedDialogs() override { cad::setDialogPresenter(nullptr); }
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    void runModal(cad::Dialog& dialog) override {
        std::size_t index = shown_.size();
        shown_.push_back({dialog.caption(), cad::describeDialog(dialog), 0});
        while (dialog.isOpen() && next_ < actions_.size()) {
            cad::DialogActionResult result = cad::applyDialogAction(dialog, actions_[next_++]);
            if (!result.ok) refused_.push_back(result.message);
        }
        if (dialog.isOpen()) dialog.escape();
        shown_[index].result = dialog.result();
    }
    void opened(cad::Dialog&) override {}
    void closed(cad::Dialog&) override {}

    const std::vector<Shown>& shown() const { return shown_; }
    const std::vector<std::string>& refused() const { return refused_; }
    std::size_t unusedActions() const { return actions_.size() - next_; }

private:
    std::vector<std::string> actions_;
    std::size_t next_ = 0;
    std::vector<Shown> shown_;
    std::vector<std::string> refused_;
};

}  // namespace moduletest
