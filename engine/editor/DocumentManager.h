#pragma once
#include <deque>
#include <memory>
#include <optional>
#include <string_view>
#include <string>
#include <vector>

#include "engine/db/ErrorStatus.h"
#include "engine/editor/Document.h"
#include "engine/editor/RxService.h"

namespace cad {

class DrawingFileFormat;

// The open drawings and which one is active. Locks nest: every lockDocument needs its
// unlockDocument; the document is free again at the last one.
class DocumentManager : public RxService {
public:
    DocumentManager() = default;
    ~DocumentManager() override;
    DocumentManager(const DocumentManager&) = delete;
    DocumentManager& operator=(const DocumentManager&) = delete;

    void setFileFormat(DrawingFileFormat* format) { format_ = format; }
    bool canReadFiles() const { return format_ != nullptr; }

    Document* curDocument() const { return active_; }
    Document* mdiActiveDocument() const { return active_; }
    std::vector<Document*> documents() const;
    std::size_t documentCount() const { return documents_.size(); }

    // A new, empty drawing, made active.
    Document& newDocument();
    // Opens the drawing file and makes it active; a file already open is just activated. Nothing,
    // with error set to a message naming the file, when it cannot be read.
    Document* openDocument(const std::string& path, std::string& error);
    // Saves to the path (the document's own file when empty) through a temporary file renamed over
    // the target, so that a failed save never leaves a half-written drawing. The document takes
    // the new file name.
    // The repairs listed by the last openDocument.
    const std::vector<std::string>& lastWarnings() const { return warnings_; }
    bool saveDocument(Document& document, const std::string& path, std::string& error);
    // eLockViolation (320) while the document is locked.
    ErrorStatus closeDocument(Document& document);
    ErrorStatus activateDocument(Document& document);

    // Queues text to run at the command prompt of the document once the current command has ended,
    // as if typed; escape characters in it only clear the prompt.
    ErrorStatus sendStringToExecute(Document& document, std::string_view text);
    // The next queued command line, if any.
    std::optional<std::string> takeQueuedInput();

    // For a program about to end: the documents are dropped without being freed object by
    // object, which for a large drawing takes longer than the exit that returns the memory whole.
    void abandonAtExit();

    ErrorStatus lockDocument(Document& document);
    // eNotApplicable when the document is not locked.
    ErrorStatus unlockDocument(Document& document);

private:
    std::vector<std::unique_ptr<Document>> documents_;
    Document* active_ = nullptr;
    DrawingFileFormat* format_ = nullptr;
    int untitledCount_ = 0;
    std::vector<std::string> warnings_;
    std::deque<std::string> queued_;
};

// Holds the lock of a document (the active one by default) while in scope.
class AcAxDocLock {
public:
    AcAxDocLock();
    explicit AcAxDocLock(Document& document);
    ~AcAxDocLock();
    AcAxDocLock(const AcAxDocLock&) = delete;
    AcAxDocLock& operator=(const AcAxDocLock&) = delete;

    ErrorStatus lockStatus() const { return status_; }

private:
    Document* document_ = nullptr;
    ErrorStatus status_ = ErrorStatus::eNotApplicable;
};

// The document manager of the running host, nullptr when none runs.
DocumentManager* acDocManagerPtr();

}  // namespace cad
