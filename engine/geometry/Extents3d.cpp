#include "engine/geometry/Extents3d.h"

#include "engine/geometry/Matrix3d.h"

namespace cad {

void Extents3d::transformBy(const Matrix3d& m) {
    if (isEmpty()) return;
    Extents3d out;
    for (int i = 0; i < 8; ++i) {
        Point3d corner{(i & 1) ? max_.x : min_.x, (i & 2) ? max_.y : min_.y,
                       (i & 4) ? max_.z : min_.z};
        out.addPoint(m.transformPoint(corner));
    }
    *this = out;
}

}  // namespace cad
