#pragma once
#include <array>

#include "engine/geometry/Point3d.h"
#include "engine/geometry/Vector3d.h"

namespace cad {

// 4x4 affine transform acting on column vectors: p' = M * p. The last row stays (0 0 0 1) for
// every transform built here; entry(3, c) is kept general so that inverse() stays exact anyway.
class Matrix3d {
public:
    Matrix3d() : m_{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}} {}  // identity

    static Matrix3d identity() { return Matrix3d{}; }
    static Matrix3d translation(const Vector3d& offset);
    // Right-handed rotation by `radians` about the line through `center` along `axis`.
    static Matrix3d rotation(double radians, const Vector3d& axis,
                             const Point3d& center = Point3d::origin());
    static Matrix3d scaling(double factor, const Point3d& center = Point3d::origin());
    static Matrix3d scaling(double sx, double sy, double sz,
                            const Point3d& center = Point3d::origin());
    // Maps the coordinate system (fromOrigin, fromX, fromY, fromZ) onto (toOrigin, toX, ...).
    static Matrix3d alignCoordSys(const Point3d& fromOrigin, const Vector3d& fromX,
                                  const Vector3d& fromY, const Vector3d& fromZ,
                                  const Point3d& toOrigin, const Vector3d& toX,
                                  const Vector3d& toY, const Vector3d& toZ);
    // Columns are the images of the axes, the last column the image of the origin.
    static Matrix3d fromColumns(const Vector3d& xAxis, const Vector3d& yAxis,
                                const Vector3d& zAxis, const Point3d& origin);

    double entry(int row, int col) const { return m_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)]; }
    void setEntry(int row, int col, double v) { m_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = v; }

    // Inline: drawing a reference multiplies a few of these for every copy of a block.
    Matrix3d operator*(const Matrix3d& o) const {
        Matrix3d r(Unset{});
        for (std::size_t i = 0; i < 4; ++i)
            for (std::size_t j = 0; j < 4; ++j) {
                double sum = 0.0;
                for (std::size_t k = 0; k < 4; ++k) sum += m_[i][k] * o.m_[k][j];
                r.m_[i][j] = sum;
            }
        return r;
    }
    Matrix3d& operator*=(const Matrix3d& o) { return *this = *this * o; }
    // Apply `o` first, then this: same as operator*, named for readability at call sites.
    Matrix3d postMultBy(const Matrix3d& o) const { return *this * o; }
    Matrix3d preMultBy(const Matrix3d& o) const { return o * *this; }

    double det() const;
    bool isSingular(double tol = 1e-12) const;
    // The inverse; a singular matrix yields the identity (callers check isSingular first when
    // it matters).
    Matrix3d inverse() const;
    Matrix3d transpose() const;

    Point3d transformPoint(const Point3d& p) const;
    // Translation is ignored for displacements.
    Vector3d transformVector(const Vector3d& v) const;

    Vector3d xAxisImage() const { return {m_[0][0], m_[1][0], m_[2][0]}; }
    Vector3d yAxisImage() const { return {m_[0][1], m_[1][1], m_[2][1]}; }
    Vector3d zAxisImage() const { return {m_[0][2], m_[1][2], m_[2][2]}; }
    Vector3d translationPart() const { return {m_[0][3], m_[1][3], m_[2][3]}; }

    bool isEqualTo(const Matrix3d& o, double tol = 1e-9) const;
    bool isIdentity(double tol = 1e-12) const { return isEqualTo(Matrix3d{}, tol); }

private:
    struct Unset {};
    explicit Matrix3d(Unset) {}  // every entry written next

    std::array<std::array<double, 4>, 4> m_;
};

inline Point3d operator*(const Matrix3d& m, const Point3d& p) { return m.transformPoint(p); }
inline Vector3d operator*(const Matrix3d& m, const Vector3d& v) { return m.transformVector(v); }

}  // namespace cad
