#include "engine/db/Polyline.h"

#include <cmath>

#include "engine/db/PlanarTransform.h"
#include "engine/geometry/BlockTransform.h"

namespace cad {

ErrorStatus Polyline::addVertexAt(std::size_t index, const Point2d& point, double bulge, double startWidth,
                                  double endWidth) {
    if (index > vertices_.size()) return ErrorStatus::eInvalidInput;
    vertices_.insert(vertices_.begin() + static_cast<std::ptrdiff_t>(index),
                     Vertex{point, bulge, startWidth, endWidth});
    touch();
    return ErrorStatus::eOk;
}

ErrorStatus Polyline::removeVertexAt(std::size_t index) {
    if (index >= vertices_.size()) return ErrorStatus::eInvalidInput;
    vertices_.erase(vertices_.begin() + static_cast<std::ptrdiff_t>(index));
    touch();
    return ErrorStatus::eOk;
}

Point3d Polyline::pointAt3d(std::size_t index) const {
    return ocsToWorld(normal_) * Point3d(vertices_.at(index).point, elevation_);
}

ErrorStatus Polyline::setPointAt(std::size_t index, const Point2d& point) {
    if (index >= vertices_.size()) return ErrorStatus::eInvalidInput;
    assign(vertices_[index].point, point);
    return ErrorStatus::eOk;
}

ErrorStatus Polyline::setBulgeAt(std::size_t index, double bulge) {
    if (index >= vertices_.size()) return ErrorStatus::eInvalidInput;
    assign(vertices_[index].bulge, bulge);
    return ErrorStatus::eOk;
}

ErrorStatus Polyline::setWidthsAt(std::size_t index, double startWidth, double endWidth) {
    if (index >= vertices_.size()) return ErrorStatus::eInvalidInput;
    assign(vertices_[index].startWidth, startWidth);
    assign(vertices_[index].endWidth, endWidth);
    return ErrorStatus::eOk;
}

PolylineGeometry Polyline::geometry() const {
    std::vector<BulgeVertex> points;
    points.reserve(vertices_.size());
    for (const Vertex& v : vertices_) points.push_back({v.point, v.bulge});
    return PolylineGeometry(std::move(points), closed_);
}

double Polyline::area() const { return geometry().area(); }
double Polyline::length() const { return geometry().length(); }

double Polyline::endParam() const {
    if (vertices_.empty()) return 0.0;
    return static_cast<double>(closed_ ? vertices_.size() : vertices_.size() - 1);
}

ErrorStatus Polyline::distAtParam(double param, double& dist) const {
    if (vertices_.empty() || param < 0.0 || param > endParam() + 1e-12) return ErrorStatus::eInvalidInput;
    PolylineGeometry geom = geometry();
    dist = 0.0;
    std::size_t whole = static_cast<std::size_t>(std::floor(param));
    for (std::size_t i = 0; i < whole && i < geom.segmentCount(); ++i) dist += geom.segment(i).length();
    double fraction = param - static_cast<double>(whole);
    if (fraction > 0.0 && whole < geom.segmentCount()) dist += fraction * geom.segment(whole).length();
    return ErrorStatus::eOk;
}

ErrorStatus Polyline::transformBy(const Matrix3d& transform) {
    PlanarTransform t(normal_, transform);
    double widthScale = std::sqrt(t.scaleX() * t.scaleY());
    std::vector<Vertex> moved = vertices_;
    double elevation = elevation_;
    for (std::size_t i = 0; i < moved.size(); ++i) {
        Point3d p = t.apply(Point3d(moved[i].point, elevation_));
        moved[i].point = p.toPoint2d();
        moved[i].startWidth *= widthScale;
        moved[i].endWidth *= widthScale;
        if (i == 0) elevation = p.z;
    }
    if (moved.empty()) elevation = t.apply(Point3d(0, 0, elevation_)).z;
    assign(vertices_, std::move(moved));
    assign(elevation_, elevation);
    if (constantWidth_ > 0) assign(constantWidth_, constantWidth_ * widthScale);
    assign(thickness_, thickness_ * transform.transformVector(normal_).length());
    assign(normal_, t.newNormal());
    return ErrorStatus::eOk;
}

ErrorStatus Polyline::getGeomExtents(Extents3d& extents) const {
    if (vertices_.empty()) return ErrorStatus::eInvalidInput;
    extents = ocsBoxExtents(geometry().extents(), normal_, elevation_);
    return ErrorStatus::eOk;
}

}  // namespace cad
