#include <filesystem>

#include "engine/dialogs/FileDialog.h"
#include "engine/editor/DrawingCommands.h"
#include "engine/editor/HostApplication.h"
#include "engine/editor/HostOutput.h"

namespace cad {

namespace {

// With FILEDIA on the file dialog asks; off, a plain prompt. Empty when cancelled.
std::string askFileName(HostApplication& host, const std::string& prompt) {
    if (host.getVariable("FILEDIA").value_or(1) != 0) return openFileDialog("Drawing (*.dxf)|*.dxf");
    std::string name;
    if (host.editor().getString(true, prompt, name) != RTNORM) return "";
    return name;
}

void newDrawing(HostApplication& host) {
    Document& doc = host.documentManager().newDocument();
    host.editor().ucs() = CoordinateSystem::world();
    print("New drawing " + doc.docTitle() + ".\n");
}

void openDrawing(HostApplication& host) {
    std::string path = askFileName(host, "Drawing file to open: ");
    if (path.empty()) return;
    std::string error;
    Document* doc = host.documentManager().openDocument(path, error);
    if (doc == nullptr) {
        print(error + "\n");
        host.noteFileFailure();
        return;
    }
    for (const auto& warning : host.documentManager().lastWarnings()) print(warning + "\n");
    const Database& db = doc->database();
    host.editor().ucs() = CoordinateSystem(db.ucsOrigin(), db.ucsXDir(), db.ucsYDir());
    print("Opened " + doc->docTitle() + ".\n");
}

void save(HostApplication& host, bool askName) {
    Document* doc = host.documentManager().curDocument();
    if (doc == nullptr) {
        print("No drawing is open.\n");
        return;
    }
    std::string path;
    if (askName || doc->fileName().empty()) {
        if (host.editor().getString(true, "Save drawing as: ", path) != RTNORM || path.empty()) return;
    }
    std::string error;
    if (!host.documentManager().saveDocument(*doc, path, error)) {
        print(error + "\n");
        host.noteFileFailure();
        return;
    }
    print("Saved " + doc->docTitle() + ".\n");
}

void closeDrawing(HostApplication& host) {
    Document* doc = host.documentManager().curDocument();
    if (doc == nullptr) {
        print("No drawing is open.\n");
        return;
    }
    std::string title = doc->docTitle();
    if (host.documentManager().closeDocument(*doc) != ErrorStatus::eOk) {
        print("The drawing " + title + " is in use and cannot be closed.\n");
        return;
    }
    print("Closed " + title + ".\n");
    if (Document* next = host.documentManager().curDocument()) print(next->docTitle() + " is the active drawing.\n");
}

}  // namespace

void registerFileCommands(HostApplication& host) {
    CommandStack& stack = host.commandStack();
    const std::string group(CommandStack::kHostGroup);
    stack.addCommand(group, "NEW", "NEW", ACRX_CMD_SESSION, [&host] { newDrawing(host); });
    stack.addCommand(group, "OPEN", "OPEN", ACRX_CMD_SESSION, [&host] { openDrawing(host); });
    stack.addCommand(group, "SAVE", "SAVE", ACRX_CMD_SESSION, [&host] { save(host, false); });
    stack.addCommand(group, "SAVEAS", "SAVEAS", ACRX_CMD_SESSION, [&host] { save(host, true); });
    stack.addCommand(group, "CLOSE", "CLOSE", ACRX_CMD_SESSION, [&host] { closeDrawing(host); });
}

}  // namespace cad
