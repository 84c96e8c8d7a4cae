#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "../TestFiles.h"
#include "core/EXUnhandled.h"
#include "engine/db/BlockTableRecord.h"
#include "engine/db/Database.h"
#include "engine/db/Line.h"
#include "engine/db/SymbolTable.h"
#include "engine/db/ViewportTableRecord.h"
#include "engine/dialogs/MessageBox.h"
#include "engine/editor/DrawingFileFormat.h"
#include "engine/editor/HostApplication.h"
#include "engine/editor/HostOutput.h"
#include "engine/editor/LineInput.h"
#include "host/AcadDrawing.h"

using cad::ErrorStatus;
namespace fs = std::filesystem;

namespace {

// A stand-in drawing file for the tests that save: its text is the number of model-space entities.
class CountingFormat : public cad::DrawingFileFormat {
public:
    std::optional<cad::LoadedDrawing> read(const std::string& path, std::string& error) override {
        std::ifstream in(path);
        int count = -1;
        if (!(in >> count) || count < 0) {
            error = "Drawing file \"" + path + "\", line 1: not a drawing.";
            return std::nullopt;
        }
        cad::LoadedDrawing loaded;
        loaded.database = cad::Database::createDefault();
        cad::Database& db = *loaded.database;
        auto ms = db.open<cad::BlockTableRecord>(db.modelSpaceId(), cad::OpenMode::ForWrite);
        for (int i = 0; i < count; ++i)
            ms->appendEntity(std::make_unique<cad::Line>(cad::Point3d(0, 0), cad::Point3d(i + 1.0, 1)));
        return loaded;
    }
    bool write(cad::Database& db, const cad::DrawingFileData*, const std::string& path, std::string&) override {
        std::ofstream(path) << db.open<cad::BlockTableRecord>(db.modelSpaceId())->liveEntityIds().size() << "\n";
        return true;
    }
};

class DrawingTest : public ::testing::Test {
protected:
    void writeMonitorSettings(const std::string& tempDirectory) {
        fs::create_directories(dir_ / "appdata" / "brinmo");
        std::ofstream(dir_ / "appdata" / "brinmo" / "documentMonitorPreferences.xml")
            << "<documentMonitorPreferences><server><acadTempDirectory>" << tempDirectory
            << "</acadTempDirectory></server></documentMonitorPreferences>\n";
    }
    std::string folder() const { return dir_.string() + "/"; }
    // Drawings are written and read as CountingFormat files.
    void useCountingFormat() { manager().setFileFormat(&counting_); }
    void writeDrawing(const std::string& name, int lines) { std::ofstream(dir_ / name) << lines << "\n"; }
    std::size_t entitiesInFile(const std::string& name) {
        std::ifstream in(dir_ / name);
        std::size_t count = 0;
        in >> count;
        return count;
    }
    cad::DocumentManager& manager() { return host_.documentManager(); }
    // The saved view, as a drawing read from a file has it.
    static void addActiveView(cad::Database& db) {
        auto table = db.open<cad::SymbolTable>(db.tableId(cad::TableKind::Viewport), cad::OpenMode::ForWrite);
        auto view = std::make_unique<cad::ViewportTableRecord>("*Active");
        view->setCenterPoint({210, 148.5});
        view->setHeight(297);
        view->setAspectRatio(420.0 / 297.0);
        if (db.recordId(cad::TableKind::Viewport, "*Active").isNull()) {
            ASSERT_EQ(table->add(std::move(view), nullptr, {}, false), ErrorStatus::eOk);
        }
    }
    struct ViewState {
        cad::Point2d center;
        double height, aspect;
    };
    static ViewState activeView(cad::Database& db) {
        auto view = db.open<cad::ViewportTableRecord>(db.recordId(cad::TableKind::Viewport, "*Active"));
        if (!view) {
            ADD_FAILURE() << "no active view";
            return {};
        }
        return {view->centerPoint(), view->height(), view->aspectRatio()};
    }

    testfiles::TempFolder scratch_;
    const fs::path dir_ = scratch_.path();
    // Settings of the test's own: none unless a test writes them.
    testfiles::ScopedEnvironment appData_{"BRINMO_APPDATA", (dir_ / "appdata").string()};
    cad::CapturedOutput out_;
    cad::RecordedMessageBoxes boxes_;
    cad::ScriptInput input_;
    cad::HostApplication host_{cad::HostProfile::AutoCAD, input_};
    CountingFormat counting_;
};

}  // namespace

TEST_F(DrawingTest, NestedLocksReleaseTheDocumentAtTheLastUnlock) {
    {
        CAcadDrawing unbound;
        EXPECT_THROW(unbound.bindToActiveDocument(), CEXKorva);  // no drawing is open
        EXPECT_THROW(unbound.lock(), CEXKorva);
        EXPECT_FALSE(unbound.isOpen());
    }
    cad::Document& doc = manager().newDocument();
    {
        CAcadDrawing drawing;
        drawing.bindToActiveDocument();
        EXPECT_EQ(drawing.getDocument(), &doc);
        EXPECT_EQ(drawing.getFilename(), "Drawing1.dxf");
        EXPECT_TRUE(drawing.isOpen());
        EXPECT_TRUE(drawing.getKeepOpen());

        EXPECT_EQ(drawing.unlock(), ErrorStatus::eNotApplicable);  // nothing held yet
        EXPECT_EQ(drawing.getLockCount(), 0);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(drawing.lock(), ErrorStatus::eOk);
        EXPECT_EQ(drawing.getLockCount(), 3);
        EXPECT_EQ(doc.lockCount(), 1);  // one document lock however deep the nesting
        EXPECT_EQ(drawing.unlock(), ErrorStatus::eLockViolation);
        EXPECT_EQ(drawing.unlock(), ErrorStatus::eLockViolation);
        EXPECT_TRUE(doc.isLocked());
        EXPECT_EQ(drawing.unlock(), ErrorStatus::eOk);
        EXPECT_FALSE(doc.isLocked());
        EXPECT_FALSE(drawing.isLocked());

        // A forced unlock releases at once; a lock still held when the object ends is released.
        drawing.lock();
        drawing.lock();
        EXPECT_EQ(drawing.unlock(true), ErrorStatus::eOk);
        EXPECT_FALSE(doc.isLocked());
        drawing.lock();
        drawing.lock();
    }
    EXPECT_FALSE(doc.isLocked());
    EXPECT_EQ(manager().documentCount(), 1u);  // attached, so kept open

    // The host's own lock around a modal command is not the object's to release.
    {
        cad::AcAxDocLock hostLock(doc);
        CAcadDrawing drawing;
        drawing.bindToActiveDocument();
        EXPECT_EQ(drawing.unlock(), ErrorStatus::eNotApplicable);
        EXPECT_EQ(drawing.unlock(true), ErrorStatus::eNotApplicable);
        EXPECT_EQ(drawing.lock(), ErrorStatus::eOk);
        EXPECT_EQ(drawing.unlock(), ErrorStatus::eOk);
        EXPECT_EQ(doc.lockCount(), 1);
    }
    EXPECT_FALSE(doc.isLocked());
    EXPECT_TRUE(boxes_.boxes().empty());
}

TEST_F(DrawingTest, OpenedDrawingIsClosedOrKeptOrSavedWhenTheObjectEnds) {
    useCountingFormat();
    writeDrawing("plan.dxf", 2);
    {
        CAcadDrawing drawing(folder(), "plan.dxf");
        EXPECT_TRUE(drawing.isOpen());
        EXPECT_EQ(drawing.fullName(), (dir_ / "plan.dxf").string());
        EXPECT_EQ(manager().curDocument(), drawing.getDocument());
    }
    EXPECT_EQ(manager().documentCount(), 0u);

    // Another drawing made active meanwhile stays open; the object closes its own.
    {
        CAcadDrawing drawing(folder(), "plan.dxf");
        cad::Document& other = manager().newDocument();
        EXPECT_EQ(manager().curDocument(), &other);
    }
    ASSERT_EQ(manager().documentCount(), 1u);
    EXPECT_EQ(manager().curDocument()->docTitle(), "Drawing1.dxf");
    manager().closeDocument(*manager().curDocument());

    {
        CAcadDrawing drawing(folder(), "plan.dxf");
        drawing.setKeepOpen(true);
    }
    ASSERT_EQ(manager().documentCount(), 1u);
    manager().closeDocument(*manager().curDocument());

    // Saved over the file on destruction, through a temporary copy that is deleted afterwards.
    std::string temp;
    {
        CAcadDrawing drawing(folder(), "plan.dxf");
        drawing.setSaveOnDestroy(true);
        cad::ObjectId id;
        drawing.postToDrawing(std::make_unique<cad::Line>(cad::Point3d(0, 0), cad::Point3d(5, 5)), id);
        EXPECT_EQ(entitiesInFile("plan.dxf"), 2u);
        temp = drawing.saveAsTemp();
        EXPECT_TRUE(fs::exists(temp));
        EXPECT_TRUE(temp.ends_with("_plan.zdk")) << temp;
        EXPECT_EQ(drawing.getDocument()->fileName(), (dir_ / "plan.dxf").string());  // a copy renames nothing
    }
    EXPECT_EQ(entitiesInFile("plan.dxf"), 3u);
    EXPECT_EQ(manager().documentCount(), 0u);
    EXPECT_FALSE(fs::exists(temp));

    // Locked when it ends: unlocked, not closed.
    {
        CAcadDrawing drawing(folder(), "plan.dxf");
        drawing.lock();
    }
    ASSERT_EQ(manager().documentCount(), 1u);
    EXPECT_FALSE(manager().curDocument()->isLocked());
    EXPECT_TRUE(boxes_.boxes().empty());
}

TEST_F(DrawingTest, OpenFailuresNameTheDrawing) {
    try {
        CAcadDrawing drawing(folder(), "missing.dxf");
        ADD_FAILURE() << "opened a missing drawing";
    } catch (const CEXKorva& e) {
        EXPECT_EQ(e.getProcSig(), "CAcadDrawing::CAcadDrawing");
        ASSERT_NE(e.getInnerException(), nullptr);
        const CEXKorva& inner = *e.getInnerException();
        EXPECT_EQ(inner.getClass(), "AcadDrawing");
        EXPECT_EQ(inner.getProcSig(), "CAcadDrawing::openDrawing");
        EXPECT_EQ(inner.getErrorCode(), static_cast<std::uint32_t>(ErrorStatus::eFileNotFound));
        EXPECT_TRUE(inner.getDescription().starts_with("The following AutoCAD error occurred on line#"));
        EXPECT_TRUE(inner.getDescription().ends_with(": eFileNotFound, whilst processing drawing " +
                                                     (dir_ / "missing.dxf").string() + "."))
            << inner.getDescription();
    }
    std::ofstream(dir_ / "bad.dxf") << "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nnot a number\n";
    try {
        CAcadDrawing drawing(folder(), "bad.dxf");
        ADD_FAILURE() << "opened an unreadable drawing";
    } catch (const CEXKorva& e) {
        ASSERT_NE(e.getInnerException(), nullptr);
        // The reader's own message, naming the file.
        EXPECT_NE(e.getInnerException()->getDescription().find("bad.dxf"), std::string::npos)
            << e.getInnerException()->getDescription();
        EXPECT_EQ(e.getInnerException()->getErrorCode(), static_cast<std::uint32_t>(ErrorStatus::eFileAccessErr));
    }
    EXPECT_EQ(manager().documentCount(), 0u);
}

TEST_F(DrawingTest, PostingAppendsToModelSpaceUnderItsOwnLock) {
    cad::Document& doc = manager().newDocument();
    CAcadDrawing drawing;
    drawing.bindToActiveDocument();
    cad::ObjectId id;
    drawing.postToDrawing(std::make_unique<cad::Line>(cad::Point3d(1, 2), cad::Point3d(3, 4)), id);
    ASSERT_FALSE(id.isNull());
    auto ms = doc.database().open<cad::BlockTableRecord>(doc.database().modelSpaceId());
    EXPECT_EQ(ms->liveEntityIds(), std::vector<cad::ObjectId>{id});
    ms.close();
    EXPECT_FALSE(doc.isLocked());

    // Inside a lock of the caller's, the caller's lock stays.
    drawing.lock();
    drawing.postToDrawing(std::make_unique<cad::Line>(cad::Point3d(0, 0), cad::Point3d(1, 0)), id);
    EXPECT_EQ(drawing.getLockCount(), 1);
    EXPECT_TRUE(doc.isLocked());
    drawing.unlock();

    // A refused entity: the host status under postToDrawing, and the lock is released.
    cad::ObjectId untouched;
    try {
        drawing.postToDrawing(nullptr, untouched);
        ADD_FAILURE() << "posted nothing";
    } catch (const CEXKorva& e) {
        EXPECT_EQ(e.getProcSig(), "CAcadDrawing::postToDrawing");
        EXPECT_EQ(e.getErrorCode(), static_cast<std::uint32_t>(ErrorStatus::eInvalidInput));
        EXPECT_NE(e.getDescription().find("whilst processing drawing Drawing1.dxf."), std::string::npos)
            << e.getDescription();
    }
    EXPECT_TRUE(untouched.isNull());
    EXPECT_FALSE(doc.isLocked());
    EXPECT_EQ(drawing.getLockCount(), 0);
}

TEST_F(DrawingTest, ZoomsMoveTheActiveViewAndPreviousRestoresIt) {
    cad::Document& doc = manager().newDocument();
    CAcadDrawing drawing;
    drawing.bindToActiveDocument();
    cad::Database& db = doc.database();
    addActiveView(db);
    const cad::Point2d center = activeView(db).center;
    const double height = activeView(db).height;

    drawing.zoomExtents();  // an empty drawing has no extents: the view stays
    EXPECT_EQ(activeView(db).center.x, center.x);

    drawing.zoomWindow({10, 20}, {30, 60});
    EXPECT_DOUBLE_EQ(activeView(db).center.x, 20);
    EXPECT_DOUBLE_EQ(activeView(db).center.y, 40);
    EXPECT_DOUBLE_EQ(activeView(db).height, 40);

    cad::ObjectId id;
    drawing.postToDrawing(std::make_unique<cad::Line>(cad::Point3d(0, 0), cad::Point3d(300, 100)), id);
    drawing.zoomExtents();
    EXPECT_DOUBLE_EQ(activeView(db).center.x, 150);
    EXPECT_DOUBLE_EQ(activeView(db).center.y, 50);
    EXPECT_DOUBLE_EQ(activeView(db).height, std::max(100.0, 300.0 / activeView(db).aspect));

    drawing.zoomPrevious();
    EXPECT_DOUBLE_EQ(activeView(db).center.x, 20);
    EXPECT_DOUBLE_EQ(activeView(db).height, 40);
    drawing.zoomPrevious();
    EXPECT_DOUBLE_EQ(activeView(db).center.x, center.x);
    EXPECT_DOUBLE_EQ(activeView(db).height, height);
    drawing.zoomPrevious();  // no more history: nothing happens
    EXPECT_DOUBLE_EQ(activeView(db).height, height);
    drawing.regenDrawing();
}

TEST_F(DrawingTest, SaveAsCopiesThroughTheTemporaryFolderAndClosingForgetsTheDocument) {
    useCountingFormat();
    writeDrawing("plan.dxf", 1);
    fs::create_directories(dir_ / "out");
    std::string temp;
    {
        CAcadDrawing drawing(folder(), "plan.dxf");
        drawing.saveAs(folder() + "out/", "copy.dxf");
        EXPECT_EQ(entitiesInFile("out/copy.dxf"), 1u);
        ASSERT_EQ(drawing.getTempFiles().getCount(), 1u);
        temp = drawing.getTempFiles().getAt(0);
        EXPECT_TRUE(temp.ends_with("/copy.zdk")) << temp;
        EXPECT_TRUE(fs::exists(temp));
        EXPECT_EQ(drawing.getDocument()->fileName(), (dir_ / "plan.dxf").string());

        try {
            drawing.saveAs(folder() + "no-such-folder/", "copy.dxf");
            ADD_FAILURE() << "copied into a missing folder";
        } catch (const CEXKorva& e) {
            ASSERT_NE(e.getInnerException(), nullptr);
            EXPECT_TRUE(e.getInnerException()->getDescription().starts_with(
                "unable to copy drawing from temp location - "));
        }

        // The document monitor settings name the temporary folder, created when missing.
        writeMonitorSettings(folder() + "monitor-temp");
        std::string stamped = drawing.saveAsTemp();
        EXPECT_EQ(fs::path(stamped).parent_path(), dir_ / "monitor-temp");
        EXPECT_TRUE(fs::exists(stamped));

        EXPECT_EQ(drawing.closeDrawing(), ErrorStatus::eOk);
        EXPECT_FALSE(drawing.isOpen());
        EXPECT_EQ(drawing.getDocument(), nullptr);
        EXPECT_EQ(manager().documentCount(), 0u);
    }
    EXPECT_FALSE(fs::exists(temp));
    EXPECT_TRUE(fs::is_empty(dir_ / "monitor-temp"));
}

TEST_F(DrawingTest, DxfDrawingSavedOnDestroyHoldsWhatWasPosted) {
    {
        cad::Document& doc = manager().newDocument();
        std::string error;
        ASSERT_TRUE(manager().saveDocument(doc, folder() + "plan.dxf", error)) << error;
        ASSERT_EQ(manager().closeDocument(doc), ErrorStatus::eOk);
    }
    {
        CAcadDrawing drawing(folder(), "plan.dxf");
        drawing.setSaveOnDestroy(true);
        cad::ObjectId id;
        drawing.postToDrawing(std::make_unique<cad::Line>(cad::Point3d(1, 1), cad::Point3d(4, 5)), id);
    }
    EXPECT_EQ(manager().documentCount(), 0u);
    std::string error;
    auto loaded = cad::makeDxfFileFormat()->read(folder() + "plan.dxf", error);
    ASSERT_TRUE(loaded) << error;
    cad::Database& db = *loaded->database;
    auto ms = db.open<cad::BlockTableRecord>(db.modelSpaceId());
    ASSERT_EQ(ms->liveEntityIds().size(), 1u);
    auto line = db.open<cad::Line>(ms->liveEntityIds()[0]);
    ASSERT_TRUE(line);
    EXPECT_DOUBLE_EQ(line->endPoint().y, 5);
    EXPECT_TRUE(boxes_.boxes().empty());
}
