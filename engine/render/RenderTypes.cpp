#include "engine/render/RenderTypes.h"

#include <algorithm>
#include <cmath>

namespace cad {

double Affine2d::meanScale() const { return std::sqrt(std::fabs(determinant())); }

double Affine2d::maxScale() const {
    const double sum = xx * xx + yx * yx + xy * xy + yy * yy;
    const double det = determinant();
    return std::sqrt((sum + std::sqrt(std::max(0.0, sum * sum - 4 * det * det))) / 2);
}

Affine2d Affine2d::rotation(double radians) {
    const double c = std::cos(radians), s = std::sin(radians);
    return {c, s, -s, c, 0, 0};
}

}  // namespace cad
