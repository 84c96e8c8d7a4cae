#pragma once
#include "engine/api/Drawing.h"
#include "host/AcadDrawing.h"

// Holds one nesting level of a drawing's document lock for a scope. Work that needs the lock
// checks locked() and skips itself when the lock was refused; the unlock's own status is of no
// further use and is dropped.
class CDrawingLockScope {
public:
    explicit CDrawingLockScope(CAcadDrawing& drawing) : drawing_(drawing) {
        locked_ = drawing_.lock() == cad::ErrorStatus::eOk;
    }
    ~CDrawingLockScope() {
        if (!locked_) return;
        try {
            drawing_.unlock();
        } catch (...) {
        }
    }
    CDrawingLockScope(const CDrawingLockScope&) = delete;
    CDrawingLockScope& operator=(const CDrawingLockScope&) = delete;

    bool locked() const { return locked_; }

private:
    CAcadDrawing& drawing_;
    bool locked_ = false;
};
