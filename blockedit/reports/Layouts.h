#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "reports/Layout.h"

class CAcadDrawing;
class CStoredProcedure;

// The layouts of a drawing, in tab order. Owns them; names are unique.
class CLayouts {
public:
    CLayouts() = default;
    virtual ~CLayouts() = default;
    CLayouts(const CLayouts&) = delete;
    CLayouts& operator=(const CLayouts&) = delete;

    // A layout whose name is already held is dropped (and false answered).
    bool add(std::unique_ptr<CLayout> layout);
    std::size_t getCount() const { return items_.size(); }
    // std::invalid_argument outside the collection.
    CLayout& getAt(std::size_t index) const;
    void deleteObjects() { items_.clear(); }

    // One record per layout of the drawing (model space first), under the drawing's lock; a
    // refused lock gathers nothing.
    void getDWGLayouts(CAcadDrawing& drawing);
    // Makes the named layout the drawing's current one, under the drawing's lock. False when the
    // lock is refused or the drawing has no layout of that name.
    // Replaces the layouts recorded for the drawing `attachID` with these ("__to_deleteDrawingLayouts",
    // then "__to_addDrawingLayout" per layout).
    void addLayoutsToIPR(CStoredProcedure& procedure, int timeout, int attachID);
    static bool setCurrentLayout(CAcadDrawing& drawing, const std::string& name);

private:
    std::vector<std::unique_ptr<CLayout>> items_;
};
