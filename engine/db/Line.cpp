#include "engine/db/Line.h"

namespace cad {

ErrorStatus Line::transformBy(const Matrix3d& transform) {
    assign(start_, transform * start_);
    assign(end_, transform * end_);
    Vector3d n = transform.transformVector(normal_).normal();
    if (!n.isZeroLength(0.0)) assign(normal_, n);
    return ErrorStatus::eOk;
}

ErrorStatus Line::getGeomExtents(Extents3d& extents) const {
    extents = Extents3d(start_, end_);
    return ErrorStatus::eOk;
}

}  // namespace cad
