#pragma once
#include "engine/api/Drawing.h"

namespace cad {
class Database;
}

// The model-space view of a drawing (its active viewport), as zooming changes it. Stands in for
// the zoom operations of the drawing object until that object carries them.
class CDrawingView {
public:
    struct View {
        cad::Point2d center;
        double height = 0.0;
        bool valid = false;
    };

    // The active view; not valid when the drawing has none.
    static View current(const cad::Database& db);
    static void restore(cad::Database& db, const View& view);
    // Shows the window (world x,y of the two corners) whole, keeping the view's aspect ratio.
    static void zoomWindow(cad::Database& db, const cad::Point3d& minPoint, const cad::Point3d& maxPoint);
    // Shows every visible entity of model space; nothing changes for an empty drawing.
    static void zoomExtents(cad::Database& db);
};
