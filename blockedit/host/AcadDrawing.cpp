#include "host/AcadDrawing.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "core/EXKinds.h"
#include "core/FileUtilities.h"
#include "core/HostError.h"
#include "core/KorvaWrap.h"
#include "core/ModuleInfo.h"
#include "engine/api/Documents.h"
#include "engine/api/Drawing.h"
#include "logging/PreferencesZerOda.h"

namespace {

constexpr char kFile[] = __FILE__;

// Drawings here are DXF files; their copies in the temporary folder carry this extension instead.
constexpr char kDrawingExtension[] = ".dxf";
constexpr char kTempExtension[] = ".zdk";

cad::DocumentManager& documentManager(const std::string& drawingName) {
    cad::DocumentManager* manager = cad::acDocManagerPtr();
    if (manager == nullptr) throw CHostError(cad::ErrorStatus::eNotInitialized, __LINE__, drawingName);
    return *manager;
}

// The temporary folder for drawing copies, checked and created: the one the first server of the
// document monitor settings names, else the platform's own.
std::string tempFolder() {
    CPreferencesZerOda settings;
    std::string folder;
    if (loadDocumentMonitorSettings(settings) && settings.getCount() > 0)
        folder = settings.getAt(0).getAcadTempDirectory();
    if (folder.empty()) {
        std::error_code ec;
        folder = std::filesystem::temp_directory_path(ec).string();
        if (ec || folder.empty()) folder = "/tmp";
    }
    CFileUtilities::checkPathSyntax(folder);
    CFileUtilities::ensureDirectoryExists(folder);
    return folder;
}

// "%Y%m%d%Hh%M%S_" of the current local time; "" when it cannot be written.
std::string timeStamp() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr) return {};
    char text[32];
    std::size_t length = std::strftime(text, sizeof text, "%Y%m%d%Hh%M%S_", &local);
    return std::string(text, length);
}

// The document's own view: the "*Active" viewport record; null when the drawing has none.
cad::ObjectPtr<cad::ViewportTableRecord> activeView(cad::Database& db, cad::OpenMode mode) {
    cad::ObjectId id = db.recordId(cad::TableKind::Viewport, "*Active");
    if (id.isNull()) return {};
    return db.open<cad::ViewportTableRecord>(id, mode);
}

}  // namespace

CAcadDrawing::CAcadDrawing(std::string path, std::string filename) {
    korvaWrap(kFile, "CAcadDrawing::CAcadDrawing", [&] {
        CFileUtilities::checkPathSyntax(path);
        CFileUtilities::checkFilenameSyntax(filename, true);
        path_ = std::move(path);
        filename_ = std::move(filename);
        openDrawing();
    });
}

CAcadDrawing::~CAcadDrawing() {
    // A destructor cannot pass a failure on: it is shown, and the temporary copies still go.
    korvaTopLevel(kFile, "CAcadDrawing::~CAcadDrawing", [&] {
        if (isOpen_ && !locked_ && !keepOpen_) {
            std::string copy;
            if (saveOnDestroy_) copy = saveAsTemp();
            if (closeDrawing() == cad::ErrorStatus::eOk && !copy.empty()) {
                std::error_code ec;
                std::filesystem::copy_file(copy, fullName(), std::filesystem::copy_options::overwrite_existing, ec);
                if (ec)
                    throw CEXCustom("unable to copy drawing from temp location - " + ec.message(), kModuleDescription,
                                    kFile, "CAcadDrawing::~CAcadDrawing");
            }
        } else if (locked_) {
            unlock(true);
        }
    });
    tempFiles_.deleteTempFiles();
}

void CAcadDrawing::bindToActiveDocument() {
    korvaWrap(kFile, "CAcadDrawing::bindToActiveDocument", [&] {
        cad::Document* active = documentManager(fullName()).curDocument();
        if (active == nullptr) throw CHostError(cad::ErrorStatus::eNotApplicable, __LINE__);
        document_ = active;
        std::filesystem::path file(active->fileName());
        if (active->fileName().empty()) {
            path_.clear();
            filename_ = active->docTitle();
        } else {
            path_ = file.parent_path().string();
            CFileUtilities::checkPathSyntax(path_);
            filename_ = file.filename().string();
        }
        isOpen_ = true;
        keepOpen_ = true;
    });
}

void CAcadDrawing::setFilename(std::string filename) {
    korvaWrap(kFile, "CAcadDrawing::setFilename", [&] {
        CFileUtilities::checkFilenameSyntax(filename, true);
        filename_ = std::move(filename);
    });
}

cad::Document& CAcadDrawing::document() const {
    if (document_ == nullptr) throw CHostError(cad::ErrorStatus::eNotApplicable, __LINE__, fullName());
    return *document_;
}

cad::Database& CAcadDrawing::database() const {
    return korvaWrap(kFile, "CAcadDrawing::database", [&]() -> cad::Database& { return document().database(); });
}

void CAcadDrawing::openDrawing() {
    const std::string name = fullName();
    try {
        cad::DocumentManager& manager = documentManager(name);
        std::string error;
        cad::Document* opened = manager.openDocument(name, error);
        if (opened == nullptr) {
            if (!CFileUtilities::fileExists(name)) throw CHostError(cad::ErrorStatus::eFileNotFound, __LINE__, name);
            // The reader's own message names the file and the line at fault.
            throw CEXUnhandled(error, kModuleDescription, kFile, "CAcadDrawing::openDrawing",
                               static_cast<std::uint32_t>(cad::ErrorStatus::eFileAccessErr));
        }
        document_ = manager.curDocument();
        isOpen_ = true;
    } catch (const CHostError& status) {
        throw CEXUnhandled(status.status(), kModuleDescription, kFile, "CAcadDrawing::openDrawing", status.line(),
                           status.drawingName());
    }
}

cad::ErrorStatus CAcadDrawing::lock() {
    return korvaWrap(kFile, "CAcadDrawing::lock", [&] {
        if (locked_) {
            ++lockCount_;
            return cad::ErrorStatus::eOk;
        }
        cad::ErrorStatus status = documentManager(fullName()).lockDocument(document());
        if (status == cad::ErrorStatus::eOk) {
            locked_ = true;
            lockCount_ = 1;
        }
        return status;
    });
}

cad::ErrorStatus CAcadDrawing::unlock(bool force) {
    return korvaWrap(kFile, "CAcadDrawing::unlock", [&] {
        // Nothing of ours to release; a lock someone else holds (the host's around a modal
        // command) is not ours to take away.
        if (!locked_) return cad::ErrorStatus::eNotApplicable;
        if (!force && --lockCount_ > 0) return cad::ErrorStatus::eLockViolation;
        cad::ErrorStatus status = documentManager(fullName()).unlockDocument(document());
        if (status == cad::ErrorStatus::eOk) {
            locked_ = false;
            lockCount_ = 0;
        }
        return status;
    });
}

void CAcadDrawing::postToDrawing(std::unique_ptr<cad::Entity> entity, cad::ObjectId& id) {
    korvaWrap(kFile, "CAcadDrawing::postToDrawing", [&] {
        const std::string name = fullName();
        KORVA_HOST_CHECK(lock(), name);
        // Unlocks on every path; the status of the pairing unlock is of no further use.
        struct Unlock {
            CAcadDrawing& drawing;
            ~Unlock() {
                try {
                    drawing.unlock();
                } catch (...) {
                }
            }
        } unlockAtEnd{*this};

        cad::Database& db = document().database();
        auto blockTable = db.open(db.blockTableId());
        KORVA_HOST_CHECK(blockTable.openStatus(), name);
        auto modelSpace = db.open<cad::BlockTableRecord>(db.modelSpaceId(), cad::OpenMode::ForWrite);
        KORVA_HOST_CHECK(modelSpace.openStatus(), name);
        // The entity is taken only when it was appended; otherwise it goes with this frame.
        KORVA_HOST_CHECK(modelSpace->appendEntity(std::move(entity), &id), name);
    });
}

bool CAcadDrawing::isDocumentOpen() const {
    if (document_ == nullptr) return false;
    for (cad::Document* open : documentManager(fullName()).documents())
        if (open == document_) return true;
    return false;
}

void CAcadDrawing::regenDrawing() {
    korvaWrap(kFile, "CAcadDrawing::regenDrawing", [&] {
        // This host draws from the database whenever it renders and keeps no display lists, so
        // there is nothing to regenerate; the document must still be there.
        document();
    });
}

void CAcadDrawing::setView(const cad::Point3d& first, const cad::Point3d& second) {
    cad::Database& db = document().database();
    auto view = activeView(db, cad::OpenMode::ForWrite);
    if (!view) return;  // a drawing without a saved view has nothing to change
    previousViews_.push_back({view->centerPoint(), view->height()});
    double width = std::abs(second.x - first.x);
    double height = std::abs(second.y - first.y);
    double aspect = view->aspectRatio() > 0 ? view->aspectRatio() : 1.0;
    view->setCenterPoint({(first.x + second.x) / 2, (first.y + second.y) / 2});
    double fitted = std::max(height, width / aspect);
    if (fitted > 0) view->setHeight(fitted);
}

void CAcadDrawing::zoomExtents() {
    korvaWrap(kFile, "CAcadDrawing::zoomExtents", [&] {
        cad::Extents3d extents = document().database().computeExtents();
        if (extents.isEmpty()) return;
        setView(extents.minPoint(), extents.maxPoint());
    });
}

void CAcadDrawing::zoomWindow(const cad::Point3d& first, const cad::Point3d& second) {
    korvaWrap(kFile, "CAcadDrawing::zoomWindow", [&] { setView(first, second); });
}

void CAcadDrawing::zoomPrevious() {
    korvaWrap(kFile, "CAcadDrawing::zoomPrevious", [&] {
        if (previousViews_.empty()) return;
        auto view = activeView(document().database(), cad::OpenMode::ForWrite);
        if (!view) return;
        view->setCenterPoint(previousViews_.back().center);
        view->setHeight(previousViews_.back().height);
        previousViews_.pop_back();
    });
}

cad::ErrorStatus CAcadDrawing::closeDrawing() {
    return korvaWrap(kFile, "CAcadDrawing::closeDrawing", [&] {
        cad::DocumentManager& manager = documentManager(fullName());
        // The drawing's own document: another one may have become active since it was opened.
        cad::Document* closing = document_ ? document_ : manager.curDocument();
        if (closing == nullptr) return cad::ErrorStatus::eNotApplicable;
        cad::ErrorStatus status = manager.closeDocument(*closing);
        if (status == cad::ErrorStatus::eOk && closing == document_) {
            document_ = nullptr;
            isOpen_ = false;
        }
        return status;
    });
}

void CAcadDrawing::saveCopy(const std::string& file, const char* procSig) {
    cad::Document& doc = document();
    const std::string ownFile = doc.fileName(), ownTitle = doc.docTitle();
    std::string error;
    bool saved = documentManager(fullName()).saveDocument(doc, file, error);
    // Saving names the document after the file written; a copy must not.
    doc.setFile(ownFile, ownTitle);
    if (!saved)
        throw CEXCustom("unable to save drawing to temp location " + file, kModuleDescription, kFile, procSig);
}

void CAcadDrawing::saveAs(const std::string& path, const std::string& filename) {
    korvaWrap(kFile, "CAcadDrawing::saveAs", [&] {
        const std::string temp =
            tempFolder() + CFileUtilities::swapFileExtension(filename, kDrawingExtension, kTempExtension);
        saveCopy(temp, "CAcadDrawing::saveAs");
        std::error_code ec;
        std::filesystem::copy_file(temp, path + filename, std::filesystem::copy_options::overwrite_existing, ec);
        if (ec) {
            CFileUtilities::deleteFile(temp);
            throw CEXCustom("unable to copy drawing from temp location - " + ec.message(), kModuleDescription, kFile,
                            "CAcadDrawing::saveAs");
        }
        tempFiles_.add(temp);
    });
}

std::string CAcadDrawing::saveAsTemp() {
    return korvaWrap(kFile, "CAcadDrawing::saveAsTemp", [&] {
        const std::string stamp = timeStamp();
        if (stamp.empty()) return std::string();
        const std::string temp =
            tempFolder() + stamp + CFileUtilities::swapFileExtension(filename_, kDrawingExtension, kTempExtension);
        saveCopy(temp, "CAcadDrawing::saveAsTemp");
        tempFiles_.add(temp);
        return temp;
    });
}
