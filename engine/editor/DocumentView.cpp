#include "engine/editor/DocumentView.h"

#include <algorithm>
#include <cmath>

#include "engine/db/ViewportTableRecord.h"
#include "engine/editor/Document.h"

namespace cad {

namespace {

ObjectPtr<ViewportTableRecord> activeView(Database& db, OpenMode mode) {
    ObjectId id = db.recordId(TableKind::Viewport, "*Active");
    if (id.isNull()) return {};
    return db.open<ViewportTableRecord>(id, mode);
}

}  // namespace

std::optional<ViewState> DocumentView::current() const {
    auto view = activeView(document_.database(), OpenMode::ForRead);
    if (!view) return std::nullopt;
    return ViewState{view->centerPoint(), view->height()};
}

bool DocumentView::show(const ViewState& state, bool remember) {
    auto view = activeView(document_.database(), OpenMode::ForWrite);
    if (!view) return false;
    if (remember) document_.viewHistory().push_back({view->centerPoint(), view->height()});
    view->setCenterPoint(state.center);
    view->setHeight(state.height);
    return true;
}

bool DocumentView::zoomWindow(const Point3d& first, const Point3d& second) {
    double width = std::fabs(second.x - first.x);
    double height = std::fabs(second.y - first.y);
    if (width <= 0 && height <= 0) return false;
    auto view = current();
    if (!view) return false;
    double aspect = 1.0;
    if (auto record = activeView(document_.database(), OpenMode::ForRead); record && record->aspectRatio() > 0)
        aspect = record->aspectRatio();
    // The window must fit whole: a wide window sets the height through the view's proportions.
    double shown = std::max(height, width / aspect);
    return show({{(first.x + second.x) / 2, (first.y + second.y) / 2}, shown}, true);
}

bool DocumentView::zoomExtents() {
    Extents3d extents = document_.database().computeExtents();
    if (extents.isEmpty()) return false;
    return zoomWindow(extents.minPoint(), extents.maxPoint());
}

bool DocumentView::zoomPrevious() {
    auto& history = document_.viewHistory();
    if (history.empty()) return false;
    ViewState previous = history.back();
    if (!show(previous, false)) return false;
    history.pop_back();
    return true;
}

}  // namespace cad
