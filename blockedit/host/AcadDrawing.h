#pragma once
#include <memory>
#include <string>
#include <vector>

#include "core/TempFiles.h"
#include "engine/api/Drawing.h"
#include "engine/api/Plotting.h"

namespace cad {
class Database;
class Document;
class Entity;
}  // namespace cad

// One drawing document of the host: opened from a file, or attached to the active document.
// Changes happen between lock and unlock; locks nest, and only the last unlock frees the document.
class CAcadDrawing {
public:
    // Unbound: attach it with bindToActiveDocument, or with the setters.
    CAcadDrawing() = default;
    // Opens path + filename (path ends with its separator); both are checked and repaired first.
    CAcadDrawing(std::string path, std::string filename);
    // Closes a document it opened (saving it first when saveOnDestroy is set), unless it is kept
    // open; unlocks a document still locked; deletes the temporary copies.
    virtual ~CAcadDrawing();
    CAcadDrawing(const CAcadDrawing&) = delete;
    CAcadDrawing& operator=(const CAcadDrawing&) = delete;

    // Attaches to the document the user works in: it stays open when this object ends.
    void bindToActiveDocument();

    void setDocument(cad::Document* document) { document_ = document; }
    void setFilename(std::string filename);
    void setIsOpen(bool isOpen) { isOpen_ = isOpen; }
    void setKeepOpen(bool keepOpen) { keepOpen_ = keepOpen; }
    void setSaveOnDestroy(bool saveOnDestroy) { saveOnDestroy_ = saveOnDestroy; }

    cad::Document* getDocument() const { return document_; }
    // The document's database; a host error when no document is bound.
    cad::Database& database() const;
    const std::string& getPath() const { return path_; }
    const std::string& getFilename() const { return filename_; }
    // Path followed directly by filename.
    std::string fullName() const { return path_ + filename_; }
    bool isOpen() const { return isOpen_; }
    // Whether the bound document is still one of the host's: a window that outlives its command
    // asks before it touches the drawing.
    bool isDocumentOpen() const;
    bool isLocked() const { return locked_; }
    int getLockCount() const { return lockCount_; }
    bool getKeepOpen() const { return keepOpen_; }
    bool getSaveOnDestroy() const { return saveOnDestroy_; }
    const CTempFiles& getTempFiles() const { return tempFiles_; }

    // Opens path + filename through the host's document manager; it becomes the active document.
    void openDrawing();

    // Locks the document for writing, or counts one more nesting level. The host's status.
    cad::ErrorStatus lock();
    // Counts one level down; eLockViolation (320) while levels remain. The last one (or a forced
    // one) releases the document. eNotApplicable when this object holds no lock.
    cad::ErrorStatus unlock(bool force = false);

    // Appends the entity to model space under a lock of its own; id receives its object id.
    void postToDrawing(std::unique_ptr<cad::Entity> entity, cad::ObjectId& id);

    void regenDrawing();
    void zoomExtents();
    // Back to the view before the last zoom made through this object.
    void zoomPrevious();
    void zoomWindow(const cad::Point3d& first, const cad::Point3d& second);

    // Closes the drawing's document (the active one when none is bound) without saving changes.
    cad::ErrorStatus closeDrawing();

    // Saves a copy as path + filename by way of the temporary folder.
    void saveAs(const std::string& path, const std::string& filename);
    // Saves a time-stamped copy into the temporary folder and returns its full name ("" when the
    // time cannot be written).
    std::string saveAsTemp();

    // Plot statuses: the file was produced; the output folder does not exist; the device (DWF,
    // device 0 and unknown codes) has no driver on this host, so nothing was written; the file
    // could not be produced (the reason is printed).
    static constexpr int kPlotted = 3;
    static constexpr int kPlotFolderMissing = 8;
    static constexpr int kPlotDeviceNotAvailable = 9;
    static constexpr int kPlotFailed = 14;
    // Plots one layout (the current one when `layout` is empty; its name is returned) to
    // outputPath + outputFilename, whose extension is made the device's first. On a BricsCAD
    // host through the EXPORT command, on the others through the publishing engine.
    int plot(std::string& layout, const std::string& outputPath, std::string& outputFilename, int plotTypeID,
             int usePlotSettings, int plotCentred, int plotScaleTypeID, int plotAreaTypeID, int plotMediaSizeID,
             int unrotated);
    // Gives the publishing path's progress dialog its caption (naming the device's configuration),
    // button and progress texts and its range.
    static void preparePlotProgress(cad::PlotProgressDialog& dialog, const std::string& configuration);

private:
    struct View {
        cad::Point2d center;
        double height;
    };

    cad::Document& document() const;
    // Saves the document's database to `file` without renaming the document.
    void saveCopy(const std::string& file, const char* procSig);
    void setView(const cad::Point3d& first, const cad::Point3d& second);
    // Makes the layout current, or names the current one when `layout` is empty.
    void selectPlotLayout(std::string& layout, const char* procSig);
    int autoCADPlotToFile(std::string& layout, const std::string& file, int plotTypeID, int usePlotSettings,
                          int plotCentred, int plotScaleTypeID, int plotAreaTypeID, int plotMediaSizeID, int unrotated);
    int bricsCADPlotToFile(std::string& layout, const std::string& file, int plotTypeID, int plotCentred,
                           int plotScaleTypeID, int plotAreaTypeID, int plotMediaSizeID);

    std::string path_;
    std::string filename_;
    cad::Document* document_ = nullptr;  // the host's; never owned
    bool isOpen_ = false;
    bool locked_ = false;
    int lockCount_ = 0;
    CTempFiles tempFiles_;
    bool keepOpen_ = false;
    bool saveOnDestroy_ = false;
    std::vector<View> previousViews_;
};
