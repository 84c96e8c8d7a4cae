#include "engine/render/SplineCurve.h"

#include <algorithm>
#include <array>

namespace cad {

int splineSamples(std::size_t controlPoints) {
    return static_cast<int>(std::clamp<std::size_t>(controlPoints * 16, 16, 4096));
}

std::vector<Point3d> sampleSpline(int degree, const std::vector<double>& knots, const std::vector<Point3d>& control,
                                  std::vector<double> weights, int samples) {
    std::vector<Point3d> out;
    const std::size_t n = control.size();
    if (degree < 1 || n < 2 || n <= static_cast<std::size_t>(degree) - 1 || knots.size() != n + degree + 1 ||
        samples < 1)
        return out;
    if (weights.size() != n) weights.assign(n, 1.0);
    const double u0 = knots[degree], u1 = knots[n];
    if (!(u1 > u0)) return out;
    std::vector<std::array<double, 4>> d(static_cast<std::size_t>(degree) + 1);
    out.reserve(static_cast<std::size_t>(samples) + 1);
    for (int s = 0; s <= samples; ++s) {
        const double u = u0 + (u1 - u0) * s / samples;
        std::size_t span = degree;
        while (span < n - 1 && u >= knots[span + 1]) ++span;
        // de Boor on homogeneous points.
        for (int j = 0; j <= degree; ++j) {
            const std::size_t i = span - degree + j;
            const double w = weights[i];
            d[j] = {control[i].x * w, control[i].y * w, control[i].z * w, w};
        }
        for (int r = 1; r <= degree; ++r)
            for (int j = degree; j >= r; --j) {
                const std::size_t i = span - degree + j;
                const double denom = knots[i + degree - r + 1] - knots[i];
                const double a = denom > 0 ? (u - knots[i]) / denom : 0.0;
                for (int k = 0; k < 4; ++k) d[j][k] = (1 - a) * d[j - 1][k] + a * d[j][k];
            }
        const auto& h = d[degree];
        if (h[3] == 0) continue;
        out.emplace_back(h[0] / h[3], h[1] / h[3], h[2] / h[3]);
    }
    return out;
}

}  // namespace cad
