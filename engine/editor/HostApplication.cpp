#include "engine/editor/HostApplication.h"

#include <strings.h>

#include <exception>
#include <stdexcept>

#include "engine/editor/HostOutput.h"
#include "engine/editor/LineInput.h"
#include "engine/text/AsciiText.h"

namespace cad {

namespace {

// The platform model has exactly one host per process; modules reach it from free functions.
HostApplication* g_current = nullptr;

// Feeds the rest of a command line to the first prompt of the command, then the real input.
class PrefixedInput : public LineInput {
public:
    PrefixedInput(LineInput& next, std::string first) : next_(next), first_(std::move(first)) {}
    std::optional<std::string> readLine(std::string_view prompt) override {
        if (!used_) {
            used_ = true;
            print(std::string(prompt) + first_ + "\n");
            return first_;
        }
        return next_.readLine(prompt);
    }
    bool atEnd() const override { return used_ && next_.atEnd(); }
    bool isInteractive() const override { return next_.isInteractive(); }
    bool giveBack(std::string line) override { return next_.giveBack(std::move(line)); }

private:
    LineInput& next_;
    std::string first_;
    bool used_ = false;
};

}  // namespace

HostApplication::HostApplication(HostProfile profile, LineInput& input)
    : profile_(profile),
      productName_(cad::productName(profile)),
      editor_(input),
      fileFormat_(makeDxfFileFormat()),
      linker_(commands_) {
    documents_.setFileFormat(fileFormat_.get());
    if (g_current != nullptr) throw std::logic_error("a host application is already running");
    registry_.add("ACAD_REGISTERED_COMMANDS", commands_);
    registry_.add("DynamicLinker", linker_);
    registry_.add("AcApDocManager", documents_);
    g_current = this;
    registerHostCommands(*this);
}

HostApplication::~HostApplication() {
    linker_.unloadAll();
    g_current = nullptr;
}

HostApplication* HostApplication::current() { return g_current; }

Database* HostApplication::workingDatabase() {
    Document* doc = documents_.curDocument();
    return doc ? &doc->database() : nullptr;
}

HostApplication& hostApplication() {
    if (g_current == nullptr) throw std::logic_error("no host application is running");
    return *g_current;
}

SystemRegistry* acrxSysRegistry() { return g_current ? &g_current->systemRegistry() : nullptr; }

namespace {

bool isDrawingVariable(std::string_view name, std::string_view which) {
    return name.size() == which.size() && strncasecmp(name.data(), which.data(), name.size()) == 0;
}

}  // namespace

std::optional<int> HostApplication::getVariable(std::string_view name) {
    if (Database* db = workingDatabase()) {
        if (isDrawingVariable(name, "LUNITS")) return db->lunits();
        if (isDrawingVariable(name, "INSUNITS")) return db->insunits();
    }
    return variables_.get(name);
}

std::string HostApplication::setVariable(std::string_view name, int value) {
    std::string problem = variables_.checkValue(name, value);
    if (!problem.empty()) return problem;
    variables_.set(name, value);
    if (Database* db = workingDatabase()) {
        if (isDrawingVariable(name, "LUNITS")) db->setLunits(value);
        if (isDrawingVariable(name, "INSUNITS")) db->setInsunits(value);
    }
    return "";
}

bool HostApplication::runCommandLine(std::string_view line) {
    line = trimBlanks(line);
    auto blank = line.find_first_of(" \t");
    std::string name(line.substr(0, blank));
    std::string rest = blank == std::string_view::npos ? "" : std::string(trimBlanks(line.substr(blank)));
    const Command* command = commands_.lookup(name);
    if (command == nullptr) {
        print("Unknown command \"" + name + "\".\n");
        return false;
    }
    // A handler may remove its own group while it runs.
    CommandHandler handler = command->handler;
    std::string commandName = command->localName;
    bool session = command->isSession();
    LineInput& input = editor_.input();
    PrefixedInput prefixed(input, rest);
    if (!rest.empty()) editor_.setInput(prefixed);
    try {
        // A modal command works in the active document, which the host locks around it.
        Document* document = session ? nullptr : documents_.curDocument();
        if (document) {
            AcAxDocLock lock(*document);
            handler();
        } else {
            handler();
        }
    } catch (const std::exception& e) {
        print("Command " + commandName + " failed: " + e.what() + "\n");
    } catch (...) {
        print("Command " + commandName + " failed.\n");
    }
    editor_.setInput(input);
    return true;
}

void HostApplication::run() {
    while (!quit_) {
        if (auto queued = documents_.takeQueuedInput()) {
            print("Command: " + *queued + "\n");
            runCommandLine(*queued);
            continue;
        }
        if (editor_.input().atEnd()) break;
        auto line = editor_.input().readLine("Command: ");
        if (!line) break;
        if (trimBlanks(*line) == "^C") print("*Cancel*\n");
        if (trimBlanks(*line).empty() || trimBlanks(*line) == "^C") continue;
        if (hook_ && hook_(*line)) continue;
        runCommandLine(*line);
    }
}

}  // namespace cad
