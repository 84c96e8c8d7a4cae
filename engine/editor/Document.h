#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/db/Database.h"
#include "engine/editor/DocumentView.h"
#include "engine/editor/DrawingFileFormat.h"

namespace cad {

// One open drawing: its database, the file it came from, and its lock.
class Document {
public:
    Document(std::unique_ptr<Database> database, std::string fileName, std::string title);

    Database& database() { return *database_; }
    const Database& database() const { return *database_; }
    // The full path of the drawing file; empty for a drawing never saved.
    const std::string& fileName() const { return fileName_; }
    // "Drawing1.dxf" for a new drawing, else the file's name.
    const std::string& docTitle() const { return title_; }
    void setFile(std::string fileName, std::string title);

    // What the file format keeps about the file read (nullptr for a new drawing).
    const DrawingFileData* fileData() const { return fileData_.get(); }
    void setFileData(std::unique_ptr<DrawingFileData> data) { fileData_ = std::move(data); }

    // Views replaced by zooms, the last one first to come back.
    std::vector<ViewState>& viewHistory() { return viewHistory_; }

    // Changes made since the drawing was opened, created or last saved.
    bool hasUnsavedChanges() const { return database_->editCount() != savedEdits_; }
    void markSaved() { savedEdits_ = database_->editCount(); }

    int lockCount() const { return lockCount_; }
    bool isLocked() const { return lockCount_ > 0; }

private:
    friend class DocumentManager;
    std::unique_ptr<Database> database_;
    std::string fileName_;
    std::string title_;
    std::unique_ptr<DrawingFileData> fileData_;
    std::vector<ViewState> viewHistory_;
    int lockCount_ = 0;
    std::uint64_t savedEdits_ = 0;
};

}  // namespace cad
