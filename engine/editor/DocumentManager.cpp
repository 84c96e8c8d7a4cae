#include "engine/editor/DocumentManager.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "engine/editor/DrawingFileFormat.h"
#include "engine/editor/HostApplication.h"

namespace cad {

namespace fs = std::filesystem;

DocumentManager::~DocumentManager() = default;

std::vector<Document*> DocumentManager::documents() const {
    std::vector<Document*> list;
    for (const auto& d : documents_) list.push_back(d.get());
    return list;
}

Document& DocumentManager::newDocument() {
    std::string title = "Drawing" + std::to_string(++untitledCount_) + ".dxf";
    documents_.push_back(std::make_unique<Document>(Database::createDefault(), "", title));
    active_ = documents_.back().get();
    return *active_;
}

Document* DocumentManager::openDocument(const std::string& path, std::string& error) {
    std::error_code ec;
    fs::path full = fs::absolute(path, ec).lexically_normal();
    for (const auto& d : documents_) {
        if (!d->fileName().empty() && fs::path(d->fileName()) == full) {
            active_ = d.get();
            return active_;
        }
    }
    if (!fs::exists(full, ec)) {
        error = "Drawing file \"" + path + "\" not found.";
        return nullptr;
    }
    if (format_ == nullptr) {
        error = "Cannot read \"" + path + "\": this build reads no drawing files.";
        return nullptr;
    }
    std::string why;
    auto loaded = format_->read(full.string(), why);
    if (!loaded || !loaded->database) {
        error = why.empty() ? "Cannot read drawing file \"" + path + "\"." : why;
        return nullptr;
    }
    warnings_ = std::move(loaded->warnings);
    auto document = std::make_unique<Document>(std::move(loaded->database), full.string(), full.filename().string());
    document->setFileData(std::move(loaded->fileData));
    documents_.push_back(std::move(document));
    active_ = documents_.back().get();
    return active_;
}

bool DocumentManager::saveDocument(Document& document, const std::string& path, std::string& error) {
    std::string target = path.empty() ? document.fileName() : path;
    if (target.empty()) {
        error = "The drawing has no file name yet: use SAVEAS.";
        return false;
    }
    if (format_ == nullptr) {
        error = "Cannot save \"" + target + "\": this build writes no drawing files.";
        return false;
    }
    std::error_code ec;
    fs::path full = fs::absolute(target, ec).lexically_normal();
    if (fs::is_directory(full, ec)) {
        error = "Cannot save \"" + target + "\": it is a folder.";
        return false;
    }
    if (!fs::is_directory(full.parent_path(), ec)) {
        error = "Cannot save \"" + target + "\": the folder \"" + fs::path(target).parent_path().string() +
                "\" does not exist.";
        return false;
    }
    // The format writes atomically: a failed save leaves the old file as it was.
    std::string why;
    if (!format_->write(document.database(), document.fileData(), full.string(), why)) {
        error = "Cannot save \"" + target + "\"" + (why.empty() ? "." : ": " + why);
        return false;
    }
    document.setFile(full.string(), full.filename().string());
    document.markSaved();
    return true;
}

void DocumentManager::abandonAtExit() {
#if !defined(__SANITIZE_ADDRESS__)
    for (auto& document : documents_) (void)document.release();
#endif
    documents_.clear();
    active_ = nullptr;
}

ErrorStatus DocumentManager::closeDocument(Document& document) {
    if (document.isLocked()) return ErrorStatus::eLockViolation;
    auto it = std::find_if(documents_.begin(), documents_.end(), [&](const auto& d) { return d.get() == &document; });
    if (it == documents_.end()) return ErrorStatus::eKeyNotFound;
    bool wasActive = active_ == &document;
    documents_.erase(it);
    if (wasActive) active_ = documents_.empty() ? nullptr : documents_.back().get();
    return ErrorStatus::eOk;
}

ErrorStatus DocumentManager::activateDocument(Document& document) {
    for (const auto& d : documents_) {
        if (d.get() == &document) {
            active_ = d.get();
            return ErrorStatus::eOk;
        }
    }
    return ErrorStatus::eKeyNotFound;
}

ErrorStatus DocumentManager::sendStringToExecute(Document& document, std::string_view text) {
    if (std::none_of(documents_.begin(), documents_.end(), [&](const auto& d) { return d.get() == &document; }))
        return ErrorStatus::eKeyNotFound;
    std::string line;
    for (char c : text) {
        if (c == '\n' || c == '\r') {
            queued_.push_back(line);
            line.clear();
        } else if (c != '\x1B') {
            line += c;
        }
    }
    if (!line.empty()) queued_.push_back(line);
    return ErrorStatus::eOk;
}

std::optional<std::string> DocumentManager::takeQueuedInput() {
    while (!queued_.empty()) {
        std::string line = std::move(queued_.front());
        queued_.pop_front();
        if (line.find_first_not_of(" \t") != std::string::npos) return line;
    }
    return std::nullopt;
}

ErrorStatus DocumentManager::lockDocument(Document& document) {
    ++document.lockCount_;
    return ErrorStatus::eOk;
}

ErrorStatus DocumentManager::unlockDocument(Document& document) {
    if (document.lockCount_ == 0) return ErrorStatus::eNotApplicable;
    --document.lockCount_;
    return ErrorStatus::eOk;
}

AcAxDocLock::AcAxDocLock() {
    DocumentManager* manager = acDocManagerPtr();
    if (manager == nullptr || manager->curDocument() == nullptr) return;
    document_ = manager->curDocument();
    status_ = manager->lockDocument(*document_);
}

AcAxDocLock::AcAxDocLock(Document& document) : document_(&document) {
    DocumentManager* manager = acDocManagerPtr();
    status_ = manager ? manager->lockDocument(document) : ErrorStatus::eNotApplicable;
}

AcAxDocLock::~AcAxDocLock() {
    DocumentManager* manager = acDocManagerPtr();
    if (manager && document_ && status_ == ErrorStatus::eOk) manager->unlockDocument(*document_);
}

DocumentManager* acDocManagerPtr() {
    HostApplication* host = HostApplication::current();
    return host ? &host->documentManager() : nullptr;
}

}  // namespace cad
