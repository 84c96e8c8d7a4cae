#pragma once
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/dialogs/Dialog.h"
#include "engine/dialogs/DialogPresenter.h"
#include "engine/dialogs/DialogScript.h"

namespace moduletest {

// A fresh folder under the system temp folder, removed with its content at the end of the test.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "brinmo-module-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// Sets (or, with nullptr, removes) an environment variable for a scope.
class ScopedEnvironment {
public:
    ScopedEnvironment(std::string name, const char* value) : name_(std::move(name)) {
        if (const char* old = std::getenv(name_.c_str())) {
            hadValue_ = true;
            old_ = old;
        }
        if (value != nullptr) {
            setenv(name_.c_str(), value, 1);
        } else {
            unsetenv(name_.c_str());
        }
    }
    ~ScopedEnvironment() {
        if (hadValue_) {
            setenv(name_.c_str(), old_.c_str(), 1);
        } else {
            unsetenv(name_.c_str());
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string name_;
    std::string old_;
    bool hadValue_ = false;
};

inline std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void writeText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

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
