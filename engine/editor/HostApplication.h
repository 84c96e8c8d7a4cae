#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "engine/editor/CommandStack.h"
#include "engine/editor/DocumentManager.h"
#include "engine/editor/DrawingFileFormat.h"
#include "engine/editor/DynamicLinker.h"
#include "engine/editor/Editor.h"
#include "engine/editor/HostProfile.h"
#include "engine/editor/SystemRegistry.h"
#include "engine/editor/SystemVariables.h"

namespace cad {

class LineInput;

// The running host: what a loaded module reaches through the platform's entry points. There is
// one per process while it lives, as on the platform; modules find it with hostApplication().
class HostApplication {
public:
    HostApplication(HostProfile profile, LineInput& input);
    ~HostApplication();
    HostApplication(const HostApplication&) = delete;
    HostApplication& operator=(const HostApplication&) = delete;

    // The host of this process, or nullptr when none runs (unit tests of module code).
    static HostApplication* current();

    HostProfile profile() const { return profile_; }
    const std::string& productName() const { return productName_; }

    SystemRegistry& systemRegistry() { return registry_; }
    CommandStack& commandStack() { return commands_; }
    DynamicLinker& dynamicLinker() { return linker_; }
    Editor& editor() { return editor_; }
    SystemVariables& systemVariables() { return variables_; }
    DocumentManager& documentManager() { return documents_; }
    // System variables; LUNITS and INSUNITS belong to the active drawing when one is open.
    std::optional<int> getVariable(std::string_view name);
    // Empty when set, else why the value was refused.
    std::string setVariable(std::string_view name, int value);
    // The active drawing's database, nullptr when no drawing is open.
    Database* workingDatabase();

    // Runs one command line: the first word names the command, any rest answers its first prompt.
    // False when the command is unknown (the message is printed).
    bool runCommandLine(std::string_view line);
    // Reads and runs commands until the input ends or a command asks to quit.
    void run();
    void requestQuit() { quit_ = true; }
    // Sees every line typed at the command prompt first; returns true when it took the line
    // (the console routes "dialog ..." lines to open dialogs this way).
    void setCommandLineHook(std::function<bool(std::string_view)> hook) { hook_ = std::move(hook); }
    bool quitRequested() const { return quit_; }

    // A drawing could not be opened or saved during the run: the run did not do what it was asked,
    // and the console ends with a failing status even though the input went on.
    void noteFileFailure() { fileFailure_ = true; }
    bool fileFailed() const { return fileFailure_; }

private:
    HostProfile profile_;
    std::string productName_;
    SystemRegistry registry_;
    CommandStack commands_;
    Editor editor_;
    SystemVariables variables_;
    std::unique_ptr<DrawingFileFormat> fileFormat_;
    DocumentManager documents_;
    DynamicLinker linker_;  // last: modules are unloaded while everything they use still exists
    std::function<bool(std::string_view)> hook_;
    bool quit_ = false;
    bool fileFailure_ = false;
};

// The running host; throws std::logic_error when there is none.
HostApplication& hostApplication();

// Registers the host's own commands (APPLOAD, QUIT, SETVAR ...) in CommandStack::kHostGroup.
void registerHostCommands(HostApplication& host);
// The drawing commands: NEW, OPEN, SAVE, SAVEAS, CLOSE, LINE, CIRCLE, PLINE, INSERT, ERASE, LAYER,
// UCS, LIST, ZOOM, REGEN.
void registerDrawingCommands(HostApplication& host);

}  // namespace cad
