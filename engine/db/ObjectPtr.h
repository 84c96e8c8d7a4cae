#pragma once
#include <utility>

#include "engine/db/Database.h"

namespace cad {

// An object opened for read or write, closed when the guard goes out of scope. A failed open
// leaves the guard empty with its status in openStatus(); it never throws.
template <class T>
class ObjectPtr {
public:
    ObjectPtr() = default;
    ObjectPtr(Database& db, ObjectId id, OpenMode mode = OpenMode::ForRead, bool openErased = false) {
        open(db, id, mode, openErased);
    }
    ~ObjectPtr() { close(); }
    ObjectPtr(const ObjectPtr&) = delete;
    ObjectPtr& operator=(const ObjectPtr&) = delete;
    ObjectPtr(ObjectPtr&& other) noexcept { *this = std::move(other); }
    ObjectPtr& operator=(ObjectPtr&& other) noexcept {
        if (this != &other) {
            close();
            object_ = std::exchange(other.object_, nullptr);
            status_ = other.status_;
            mode_ = other.mode_;
        }
        return *this;
    }

    ErrorStatus open(Database& db, ObjectId id, OpenMode mode = OpenMode::ForRead,
                     bool openErased = false) {
        close();
        DbObject* raw = nullptr;
        status_ = db.openRaw(raw, id, mode, openErased);
        if (status_ != ErrorStatus::eOk) return status_;
        object_ = dynamic_cast<T*>(raw);
        if (!object_) return status_ = ErrorStatus::eWrongObjectType;
        mode_ = mode;
        return status_;
    }
    // Read -> write, with the same checks as opening for write.
    ErrorStatus upgradeOpen() {
        if (!object_) return status_;
        if (mode_ == OpenMode::ForWrite) return ErrorStatus::eOk;
        Database* db = object_->database();
        DbObject* raw = nullptr;
        ErrorStatus es = db->openRaw(raw, object_->objectId(), OpenMode::ForWrite, object_->isErased());
        if (es != ErrorStatus::eOk) return es;
        mode_ = OpenMode::ForWrite;
        return es;
    }
    void close() { object_ = nullptr; }

    ErrorStatus openStatus() const { return status_; }
    OpenMode openMode() const { return mode_; }
    explicit operator bool() const { return object_ != nullptr; }
    T* get() const { return object_; }
    T* operator->() const { return object_; }
    T& operator*() const { return *object_; }

private:
    T* object_ = nullptr;
    ErrorStatus status_ = ErrorStatus::eNullObjectId;
    OpenMode mode_ = OpenMode::ForRead;
};

template <class T>
ObjectPtr<T> Database::open(ObjectId id, OpenMode mode, bool openErased) {
    return ObjectPtr<T>(*this, id, mode, openErased);
}

}  // namespace cad
