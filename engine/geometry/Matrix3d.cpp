#include "engine/geometry/Matrix3d.h"

#include <cmath>
#include <utility>

namespace cad {

Matrix3d Matrix3d::translation(const Vector3d& offset) {
    Matrix3d t;
    t.m_[0][3] = offset.x;
    t.m_[1][3] = offset.y;
    t.m_[2][3] = offset.z;
    return t;
}

Matrix3d Matrix3d::rotation(double radians, const Vector3d& axis, const Point3d& center) {
    Vector3d u = axis.normal();
    if (u.isZeroLength(0.0) || radians == 0.0) return Matrix3d{};
    double c = std::cos(radians), s = std::sin(radians), t = 1.0 - c;
    Matrix3d r;
    // Rodrigues' rotation formula.
    r.m_[0][0] = t * u.x * u.x + c;
    r.m_[0][1] = t * u.x * u.y - s * u.z;
    r.m_[0][2] = t * u.x * u.z + s * u.y;
    r.m_[1][0] = t * u.x * u.y + s * u.z;
    r.m_[1][1] = t * u.y * u.y + c;
    r.m_[1][2] = t * u.y * u.z - s * u.x;
    r.m_[2][0] = t * u.x * u.z - s * u.y;
    r.m_[2][1] = t * u.y * u.z + s * u.x;
    r.m_[2][2] = t * u.z * u.z + c;
    if (center.x == 0.0 && center.y == 0.0 && center.z == 0.0) return r;
    Vector3d cv = center.asVector();
    return translation(cv) * r * translation(-cv);
}

Matrix3d Matrix3d::scaling(double factor, const Point3d& center) {
    return scaling(factor, factor, factor, center);
}

Matrix3d Matrix3d::scaling(double sx, double sy, double sz, const Point3d& center) {
    Matrix3d s;
    s.m_[0][0] = sx;
    s.m_[1][1] = sy;
    s.m_[2][2] = sz;
    s.m_[0][3] = center.x * (1.0 - sx);
    s.m_[1][3] = center.y * (1.0 - sy);
    s.m_[2][3] = center.z * (1.0 - sz);
    return s;
}

Matrix3d Matrix3d::fromColumns(const Vector3d& xAxis, const Vector3d& yAxis, const Vector3d& zAxis,
                               const Point3d& origin) {
    Matrix3d m;
    const Vector3d cols[4] = {xAxis, yAxis, zAxis, origin.asVector()};
    for (std::size_t c = 0; c < 4; ++c) {
        m.m_[0][c] = cols[c].x;
        m.m_[1][c] = cols[c].y;
        m.m_[2][c] = cols[c].z;
    }
    return m;
}

Matrix3d Matrix3d::alignCoordSys(const Point3d& fromOrigin, const Vector3d& fromX,
                                 const Vector3d& fromY, const Vector3d& fromZ,
                                 const Point3d& toOrigin, const Vector3d& toX, const Vector3d& toY,
                                 const Vector3d& toZ) {
    Matrix3d from = fromColumns(fromX, fromY, fromZ, fromOrigin);
    Matrix3d to = fromColumns(toX, toY, toZ, toOrigin);
    return to * from.inverse();
}

double Matrix3d::det() const {
    // Laplace expansion through 2x2 minors of the top and bottom row pairs.
    const auto& a = m_;
    double s0 = a[0][0] * a[1][1] - a[1][0] * a[0][1];
    double s1 = a[0][0] * a[1][2] - a[1][0] * a[0][2];
    double s2 = a[0][0] * a[1][3] - a[1][0] * a[0][3];
    double s3 = a[0][1] * a[1][2] - a[1][1] * a[0][2];
    double s4 = a[0][1] * a[1][3] - a[1][1] * a[0][3];
    double s5 = a[0][2] * a[1][3] - a[1][2] * a[0][3];
    double c5 = a[2][2] * a[3][3] - a[3][2] * a[2][3];
    double c4 = a[2][1] * a[3][3] - a[3][1] * a[2][3];
    double c3 = a[2][1] * a[3][2] - a[3][1] * a[2][2];
    double c2 = a[2][0] * a[3][3] - a[3][0] * a[2][3];
    double c1 = a[2][0] * a[3][2] - a[3][0] * a[2][2];
    double c0 = a[2][0] * a[3][1] - a[3][0] * a[2][1];
    return s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;
}

bool Matrix3d::isSingular(double tol) const { return std::abs(det()) <= tol; }

Matrix3d Matrix3d::inverse() const {
    // Gauss-Jordan with partial pivoting on a working copy.
    auto a = m_;
    Matrix3d inv;
    auto& b = inv.m_;
    for (std::size_t col = 0; col < 4; ++col) {
        std::size_t pivot = col;
        for (std::size_t r = col + 1; r < 4; ++r)
            if (std::abs(a[r][col]) > std::abs(a[pivot][col])) pivot = r;
        if (std::abs(a[pivot][col]) < 1e-300) return Matrix3d{};
        std::swap(a[pivot], a[col]);
        std::swap(b[pivot], b[col]);
        double d = a[col][col];
        for (std::size_t c = 0; c < 4; ++c) {
            a[col][c] /= d;
            b[col][c] /= d;
        }
        for (std::size_t r = 0; r < 4; ++r) {
            if (r == col) continue;
            double f = a[r][col];
            if (f == 0.0) continue;
            for (std::size_t c = 0; c < 4; ++c) {
                a[r][c] -= f * a[col][c];
                b[r][c] -= f * b[col][c];
            }
        }
    }
    return inv;
}

Matrix3d Matrix3d::transpose() const {
    Matrix3d t;
    for (std::size_t r = 0; r < 4; ++r)
        for (std::size_t c = 0; c < 4; ++c) t.m_[r][c] = m_[c][r];
    return t;
}

Point3d Matrix3d::transformPoint(const Point3d& p) const {
    double x = m_[0][0] * p.x + m_[0][1] * p.y + m_[0][2] * p.z + m_[0][3];
    double y = m_[1][0] * p.x + m_[1][1] * p.y + m_[1][2] * p.z + m_[1][3];
    double z = m_[2][0] * p.x + m_[2][1] * p.y + m_[2][2] * p.z + m_[2][3];
    double w = m_[3][0] * p.x + m_[3][1] * p.y + m_[3][2] * p.z + m_[3][3];
    if (w != 1.0 && w != 0.0) return {x / w, y / w, z / w};
    return {x, y, z};
}

Vector3d Matrix3d::transformVector(const Vector3d& v) const {
    return {m_[0][0] * v.x + m_[0][1] * v.y + m_[0][2] * v.z,
            m_[1][0] * v.x + m_[1][1] * v.y + m_[1][2] * v.z,
            m_[2][0] * v.x + m_[2][1] * v.y + m_[2][2] * v.z};
}

bool Matrix3d::isEqualTo(const Matrix3d& o, double tol) const {
    for (std::size_t r = 0; r < 4; ++r)
        for (std::size_t c = 0; c < 4; ++c)
            if (std::abs(m_[r][c] - o.m_[r][c]) > tol) return false;
    return true;
}

}  // namespace cad
