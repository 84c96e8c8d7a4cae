#include <filesystem>

#include "engine/dialogs/FileDialog.h"
#include "engine/editor/DrawingCommands.h"
#include "engine/editor/HostApplication.h"
#include "engine/editor/HostOutput.h"
#include "engine/text/AsciiText.h"

namespace cad {

namespace fs = std::filesystem;

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

// Yes, No or Cancel to a question; an empty answer takes the default, ^C or the end of the input
// cancels. Anything else asks again.
enum class Answer { Yes, No, Cancel };

Answer ask(HostApplication& host, const std::string& question, bool withCancel, Answer byDefault) {
    const std::string choices = withCancel ? " [Yes/No/Cancel] <" : " [Yes/No] <";
    const std::string prompt =
        question + choices + (byDefault == Answer::Yes ? "Yes" : byDefault == Answer::No ? "No" : "Cancel") + ">: ";
    while (true) {
        std::string line;
        if (host.editor().getLine(prompt, line) != RTNORM) return Answer::Cancel;
        const std::string answer = toUpperAscii(trimBlanks(line));
        if (answer.empty()) return byDefault;
        if (std::string_view("YES").starts_with(answer)) return Answer::Yes;
        if (std::string_view("NO").starts_with(answer)) return Answer::No;
        if (withCancel && std::string_view("CANCEL").starts_with(answer)) return Answer::Cancel;
        print(withCancel ? "Please answer Yes, No or Cancel.\n" : "Please answer Yes or No.\n");
    }
}

bool saveAs(HostApplication& host, Document& doc, const std::string& path) {
    std::string error;
    if (!host.documentManager().saveDocument(doc, path, error)) {
        print(error + "\n");
        host.noteFileFailure();
        return false;
    }
    print("Saved " + doc.docTitle() + ".\n");
    return true;
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
        std::error_code ec;
        const fs::path chosen = fs::absolute(path, ec).lexically_normal();
        if (fs::exists(chosen, ec) && chosen.string() != doc->fileName() &&
            ask(host, "\"" + path + "\" already exists. Replace it?", false, Answer::No) != Answer::Yes) {
            print("*Cancel*\n");
            return;
        }
    }
    saveAs(host, *doc, path);
}

}  // namespace

bool confirmDiscard(HostApplication& host, Document& doc) {
    if (!doc.hasUnsavedChanges()) return true;
    switch (ask(host, "Save changes to " + doc.docTitle() + "?", true, Answer::Yes)) {
        case Answer::No: return true;
        case Answer::Cancel: print("*Cancel*\n"); return false;
        case Answer::Yes: break;
    }
    std::string path;
    if (doc.fileName().empty() &&
        (host.editor().getString(true, "Save drawing as: ", path) != RTNORM || path.empty())) {
        print("*Cancel*\n");
        return false;
    }
    return saveAs(host, doc, path);
}

namespace {

void closeDrawing(HostApplication& host) {
    Document* doc = host.documentManager().curDocument();
    if (doc == nullptr) {
        print("No drawing is open.\n");
        return;
    }
    std::string title = doc->docTitle();
    if (doc->isLocked()) {
        print("The drawing " + title + " is in use and cannot be closed.\n");
        return;
    }
    if (!confirmDiscard(host, *doc)) return;
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
