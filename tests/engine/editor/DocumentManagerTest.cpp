#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/db/Database.h"
#include "engine/io/AtomicFile.h"
#include "engine/editor/DocumentManager.h"
#include "engine/editor/DrawingFileFormat.h"
#include "engine/editor/HostApplication.h"
#include "engine/editor/HostOutput.h"
#include "engine/editor/LineInput.h"
#include "tests/engine/dxf/DxfTestSupport.h"

using namespace cad;
namespace fs = std::filesystem;

namespace {

// Writes a marker file, or fails, as told; reads any file as a new drawing.
class FakeFormat : public DrawingFileFormat {
public:
    bool failWrites = false;
    std::optional<LoadedDrawing> read(const std::string& path, std::string& error) override {
        if (path.ends_with("bad.dxf")) {
            error = path + ", line 7: broken";
            return std::nullopt;
        }
        LoadedDrawing d;
        d.database = Database::createDefault();
        d.warnings.push_back(path + ", line 3: repaired");
        return d;
    }
    bool write(Database&, const DrawingFileData*, const std::string& path, std::string& error) override {
        try {
            replaceFileAtomically(path, [this](const ContentSink& sink) {
                sink("half");
                if (failWrites) throw FileWriteError("disk full");
                sink("drawing");
            });
        } catch (const FileWriteError& e) {
            error = e.what();
            return false;
        }
        return true;
    }
};

}  // namespace

TEST(DocumentManager, OpenActivateSaveAtomicallyAndClose) {
    dxftest::TempDir dir;
    FakeFormat format;
    DocumentManager docs;
    std::string error;
    EXPECT_EQ(docs.openDocument((dir.path() / "a.dxf").string(), error), nullptr);
    EXPECT_NE(error.find("a.dxf\" not found"), std::string::npos);

    std::ofstream(dir.path() / "a.dxf") << "x";
    std::ofstream(dir.path() / "bad.dxf") << "x";
    EXPECT_EQ(docs.openDocument((dir.path() / "a.dxf").string(), error), nullptr);  // no format yet
    docs.setFileFormat(&format);
    EXPECT_EQ(docs.openDocument((dir.path() / "bad.dxf").string(), error), nullptr);
    EXPECT_NE(error.find("line 7: broken"), std::string::npos);

    Document* a = docs.openDocument((dir.path() / "a.dxf").string(), error);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->docTitle(), "a.dxf");
    EXPECT_EQ(docs.lastWarnings().size(), 1u);
    Document& fresh = docs.newDocument();
    EXPECT_EQ(fresh.docTitle(), "Drawing1.dxf");
    EXPECT_EQ(docs.curDocument(), &fresh);
    // Opening a file that is open already activates it.
    EXPECT_EQ(docs.openDocument((dir.path() / "sub/../a.dxf").string(), error), a);
    EXPECT_EQ(docs.curDocument(), a);
    EXPECT_EQ(docs.documentCount(), 2u);

    EXPECT_FALSE(docs.saveDocument(fresh, "", error));  // never saved: needs a name
    fs::path target = dir.path() / "b.dxf";
    std::ofstream(target) << "old";
    format.failWrites = true;
    EXPECT_FALSE(docs.saveDocument(fresh, target.string(), error));
    EXPECT_EQ(error, "Cannot save \"" + target.string() + "\": disk full");
    format.failWrites = false;
    ASSERT_TRUE(docs.saveDocument(fresh, target.string(), error)) << error;
    EXPECT_EQ(dxftest::slurp(target), "halfdrawing");
    EXPECT_EQ(fresh.docTitle(), "b.dxf");
    EXPECT_EQ(fresh.fileName(), target.string());
    EXPECT_FALSE(docs.saveDocument(fresh, dir.path().string(), error));  // a folder

    EXPECT_EQ(docs.lockDocument(*a), ErrorStatus::eOk);
    EXPECT_EQ(docs.lockDocument(*a), ErrorStatus::eOk);
    EXPECT_EQ(docs.closeDocument(*a), ErrorStatus::eLockViolation);
    EXPECT_EQ(docs.unlockDocument(*a), ErrorStatus::eOk);
    EXPECT_TRUE(a->isLocked());
    EXPECT_EQ(docs.unlockDocument(*a), ErrorStatus::eOk);
    EXPECT_EQ(docs.unlockDocument(*a), ErrorStatus::eNotApplicable);
    EXPECT_EQ(docs.closeDocument(*a), ErrorStatus::eOk);
    EXPECT_EQ(docs.curDocument(), &fresh);
}

TEST(DocumentManager, ModalCommandsRunWithTheDocumentLocked) {
    ScriptInput input;
    HostApplication host(HostProfile::AutoCAD, input);
    Document& doc = host.documentManager().newDocument();
    int seenModal = -1, seenSession = -1, seenGuard = -1;
    host.commandStack().addCommand("T", "modal", "modal", ACRX_CMD_MODAL, [&] { seenModal = doc.lockCount(); });
    host.commandStack().addCommand("T", "session", "session", ACRX_CMD_SESSION, [&] {
        seenSession = doc.lockCount();
        AcAxDocLock lock;
        seenGuard = doc.lockCount();
    });
    host.runCommandLine("modal");
    host.runCommandLine("session");
    EXPECT_EQ(seenModal, 1);
    EXPECT_EQ(seenSession, 0);
    EXPECT_EQ(seenGuard, 1);
    EXPECT_EQ(doc.lockCount(), 0);
    EXPECT_EQ(acDocManagerPtr(), &host.documentManager());
    EXPECT_EQ(acrxSysRegistry()->at<DocumentManager>("AcApDocManager"), &host.documentManager());
}

TEST(DocumentManager, StringsSentToADocumentRunAfterTheCurrentCommand) {
    CapturedOutput out;
    ScriptInput input;
    input.addLine("queue");
    input.addLine("GETVAR");
    input.addLine("SORTENTS");
    HostApplication host(HostProfile::AutoCAD, input);
    Document& doc = host.documentManager().newDocument();
    host.commandStack().addCommand("T", "queue", "queue", ACRX_CMD_SESSION, [&] {
        EXPECT_EQ(host.documentManager().sendStringToExecute(doc, "\x1B\x1B"), ErrorStatus::eOk);
        EXPECT_EQ(host.documentManager().sendStringToExecute(doc, "_GETVAR filedia\n"), ErrorStatus::eOk);
    });
    host.run();
    EXPECT_EQ(out.text(),
              "Command: queue\n"
              "Command: _GETVAR filedia\nVariable name: filedia\nFILEDIA = 1\n"
              "Command: GETVAR\nVariable name: SORTENTS\nSORTENTS = 127\n");
}
