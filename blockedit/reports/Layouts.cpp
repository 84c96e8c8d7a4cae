#include "reports/Layouts.h"

#include <stdexcept>

#include "core/KorvaWrap.h"
#include "engine/api/Drawing.h"
#include "host/AcadDrawing.h"
#include "reports/DrawingLockScope.h"

namespace {

constexpr const char* kFile = __FILE__;

}  // namespace

bool CLayouts::add(std::unique_ptr<CLayout> layout) {
    return korvaWrap(kFile, "CLayouts::add", [&] {
        for (const auto& held : items_)
            if (held->getName() == layout->getName()) return false;
        items_.push_back(std::move(layout));
        return true;
    });
}

CLayout& CLayouts::getAt(std::size_t index) const {
    if (index >= items_.size()) throw std::invalid_argument("CLayouts::getAt: index outside the collection");
    return *items_[index];
}

void CLayouts::getDWGLayouts(CAcadDrawing& drawing) {
    korvaWrap(kFile, "CLayouts::getDWGLayouts", [&] {
        CDrawingLockScope lock(drawing);
        if (!lock.locked()) return;
        cad::Database& db = drawing.database();
        for (cad::ObjectId id : db.layouts()) {
            auto layout = db.open<cad::Layout>(id);
            if (layout) add(std::make_unique<CLayout>(layout->layoutName(), id));
        }
    });
}

bool CLayouts::setCurrentLayout(CAcadDrawing& drawing, const std::string& name) {
    return korvaWrap(kFile, "CLayouts::setCurrentLayout", [&] {
        CDrawingLockScope lock(drawing);
        if (!lock.locked()) return false;
        return drawing.database().setCurrentLayout(name) == cad::ErrorStatus::eOk;
    });
}
