#include "spaceblocks/DrawingView.h"

#include <algorithm>
#include <cmath>

#include "core/KorvaWrap.h"
#include "engine/api/Drawing.h"

namespace {

constexpr const char* kFile = __FILE__;
constexpr const char* kActive = "*Active";

}  // namespace

CDrawingView::View CDrawingView::current(const cad::Database& db) {
    return korvaWrap(kFile, "CDrawingView::current", [&] {
        View view;
        const cad::ObjectId id = db.recordId(cad::TableKind::Viewport, kActive);
        if (const auto* record = dynamic_cast<const cad::ViewportTableRecord*>(db.objectAt(id))) {
            view.center = record->centerPoint();
            view.height = record->height();
            view.valid = true;
        }
        return view;
    });
}

void CDrawingView::restore(cad::Database& db, const View& view) {
    korvaWrap(kFile, "CDrawingView::restore", [&] {
        if (!view.valid) return;
        auto record =
            db.open<cad::ViewportTableRecord>(db.recordId(cad::TableKind::Viewport, kActive), cad::OpenMode::ForWrite);
        if (!record) return;
        record->setCenterPoint(view.center);
        record->setHeight(view.height);
    });
}

void CDrawingView::zoomWindow(cad::Database& db, const cad::Point3d& minPoint, const cad::Point3d& maxPoint) {
    korvaWrap(kFile, "CDrawingView::zoomWindow", [&] {
        auto record =
            db.open<cad::ViewportTableRecord>(db.recordId(cad::TableKind::Viewport, kActive), cad::OpenMode::ForWrite);
        if (!record) return;
        const double width = std::abs(maxPoint.x - minPoint.x);
        const double height = std::abs(maxPoint.y - minPoint.y);
        const double aspect = record->aspectRatio() > 0 ? record->aspectRatio() : 1.0;
        const double viewHeight = std::max(height, width / aspect);
        if (!(viewHeight > 0) || !std::isfinite(viewHeight)) return;
        record->setCenterPoint({(minPoint.x + maxPoint.x) / 2, (minPoint.y + maxPoint.y) / 2});
        record->setHeight(viewHeight);
    });
}

void CDrawingView::zoomExtents(cad::Database& db) {
    korvaWrap(kFile, "CDrawingView::zoomExtents", [&] {
        const cad::Extents3d extents = db.computeExtents();
        if (extents.isEmpty()) return;
        zoomWindow(db, extents.minPoint(), extents.maxPoint());
    });
}
