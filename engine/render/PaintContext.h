#pragma once
#include "engine/db/ObjectId.h"
#include "engine/geometry/Matrix3d.h"
#include "engine/geometry/Vector2d.h"
#include "engine/render/RenderTypes.h"

namespace cad {

class Viewport;

// What the entities of a block inherit from the reference that shows them.
struct PaintContext {
    Matrix3d xform;               // the block's coordinates -> the space being drawn
    ObjectId insertLayer;         // layer of the innermost reference: what layer "0" means inside it
    Rgb blockColor;               // what BYBLOCK colour means here
    ObjectId blockLinetype;       // what BYBLOCK linetype means here (null: continuous)
    int blockLineweight = -3;     // what BYBLOCK line weight means here
    int depth = 0;                // nesting of references
    ObjectId block;               // the block being drawn
    const PaintContext* outer = nullptr;  // the context that placed it, up to the space drawn
    const Viewport* viewport = nullptr;  // the paper-space viewport drawn through, for its frozen layers
    // Filled by the painter before the block's entities are drawn: block (x, y) -> device, how a
    // block z moves on the device, and the mean device scale.
    bool prepared = false;
    Affine2d deviceMap;
    Vector2d deviceZ;
    double deviceScale = 1.0;
};

}  // namespace cad
