#pragma once
#include <optional>

#include "engine/geometry/Point2d.h"
#include "engine/geometry/Point3d.h"

namespace cad {

class Document;

// A model-space view: the point at the middle of the screen and the height shown.
struct ViewState {
    Point2d center;
    double height = 0.0;
};

// The document's current view. It lives in the drawing's "*Active" viewport record, so it is saved
// with the drawing and other programs open the drawing where the user left it; each zoom remembers
// the view it replaces in the document, for ZOOM Previous.
class DocumentView {
public:
    explicit DocumentView(Document& document) : document_(document) {}

    // Empty when the drawing keeps no view.
    std::optional<ViewState> current() const;
    // Shows the window between two corners (world coordinates), widened to the view's proportions.
    // False when the drawing keeps no view or the window is empty.
    bool zoomWindow(const Point3d& first, const Point3d& second);
    // Shows every entity; false for an empty drawing.
    bool zoomExtents();
    // Goes back to the view before the last zoom; false when there is none.
    bool zoomPrevious();

private:
    bool show(const ViewState& view, bool remember);

    Document& document_;
};

}  // namespace cad
