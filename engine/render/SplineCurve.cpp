#include "engine/render/SplineCurve.h"

#include <algorithm>
#include <array>
#include <cmath>

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

std::vector<Point3d> sampleThroughPoints(std::vector<Point3d> fit, std::optional<Vector3d> startTangent,
                                         std::optional<Vector3d> endTangent) {
    fit.erase(std::unique(fit.begin(), fit.end(),
                          [](const Point3d& a, const Point3d& b) { return a.distanceTo(b) < 1e-12; }),
              fit.end());
    const std::size_t n = fit.size();
    if (n < 2) return {};
    std::vector<double> t(n, 0.0), h(n - 1);
    for (std::size_t i = 0; i + 1 < n; ++i) {
        h[i] = fit[i].distanceTo(fit[i + 1]);
        t[i + 1] = t[i] + h[i];
    }
    auto unit = [](const std::optional<Vector3d>& v) -> std::optional<Vector3d> {
        if (!v || !(v->length() > 1e-12) || !std::isfinite(v->length())) return std::nullopt;
        return v->normal();
    };
    const auto d0 = unit(startTangent), d1 = unit(endTangent);
    // Second derivatives at the points, one coordinate at a time, by the tridiagonal system of a
    // cubic spline (natural or clamped at each end).
    std::array<std::vector<double>, 3> second;
    std::vector<double> lower(n), diag(n), upper(n), rhs(n);
    for (int axis = 0; axis < 3; ++axis) {
        auto y = [&](std::size_t i) { return axis == 0 ? fit[i].x : axis == 1 ? fit[i].y : fit[i].z; };
        auto slope = [&](std::size_t i) { return (y(i + 1) - y(i)) / h[i]; };
        for (std::size_t i = 1; i + 1 < n; ++i) {
            lower[i] = h[i - 1];
            diag[i] = 2 * (h[i - 1] + h[i]);
            upper[i] = h[i];
            rhs[i] = 6 * (slope(i) - slope(i - 1));
        }
        const double end0 = d0 ? (axis == 0 ? d0->x : axis == 1 ? d0->y : d0->z) : 0.0;
        const double end1 = d1 ? (axis == 0 ? d1->x : axis == 1 ? d1->y : d1->z) : 0.0;
        diag[0] = d0 ? 2 * h[0] : 1.0;
        upper[0] = d0 ? h[0] : 0.0;
        rhs[0] = d0 ? 6 * (slope(0) - end0) : 0.0;
        lower[n - 1] = d1 ? h[n - 2] : 0.0;
        diag[n - 1] = d1 ? 2 * h[n - 2] : 1.0;
        rhs[n - 1] = d1 ? 6 * (end1 - slope(n - 2)) : 0.0;
        // Thomas algorithm: the matrix is diagonally dominant.
        std::vector<double> c(n), m(n);
        c[0] = upper[0] / diag[0];
        m[0] = rhs[0] / diag[0];
        for (std::size_t i = 1; i < n; ++i) {
            const double den = diag[i] - lower[i] * c[i - 1];
            c[i] = upper[i] / den;
            m[i] = (rhs[i] - lower[i] * m[i - 1]) / den;
        }
        for (std::size_t i = n - 1; i-- > 0;) m[i] -= c[i] * m[i + 1];
        second[axis] = std::move(m);
    }
    const int perSpan = std::clamp(static_cast<int>(4096 / (n - 1)), 1, 16);
    std::vector<Point3d> out;
    out.reserve((n - 1) * perSpan + 1);
    out.push_back(fit[0]);
    for (std::size_t i = 0; i + 1 < n; ++i)
        for (int k = 1; k <= perSpan; ++k) {
            const double s = h[i] * k / perSpan, r = h[i] - s;
            double v[3];
            for (int axis = 0; axis < 3; ++axis) {
                const double y0 = axis == 0 ? fit[i].x : axis == 1 ? fit[i].y : fit[i].z;
                const double y1 = axis == 0 ? fit[i + 1].x : axis == 1 ? fit[i + 1].y : fit[i + 1].z;
                const double m0 = second[axis][i], m1 = second[axis][i + 1], hi = h[i];
                v[axis] = (m0 * r * r * r + m1 * s * s * s) / (6 * hi) + (y0 / hi - m0 * hi / 6) * r +
                          (y1 / hi - m1 * hi / 6) * s;
            }
            out.emplace_back(v[0], v[1], v[2]);
        }
    return out;
}

}  // namespace cad
