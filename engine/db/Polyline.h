#pragma once
#include <cstdint>
#include <vector>

#include "engine/db/Entity.h"
#include "engine/geometry/Point2d.h"
#include "engine/geometry/Point3d.h"
#include "engine/geometry/PolylineGeometry.h"
#include "engine/geometry/Vector3d.h"

namespace cad {

// A lightweight polyline: 2D vertices in the object coordinate system of its normal at one
// elevation, each with the bulge and widths of the segment that starts there.
class Polyline : public Entity {
public:
    struct Vertex {
        Point2d point;
        double bulge = 0.0;
        double startWidth = 0.0, endWidth = 0.0;
        std::int32_t id = 0;  // the vertex identifier some programs give (group 91)
        friend bool operator==(const Vertex&, const Vertex&) = default;
    };

    Polyline() : Entity("LWPOLYLINE") {}
    ObjectKind kind() const override { return ObjectKind::Polyline; }
    std::string_view className() const override { return "AcDbPolyline"; }
    std::unique_ptr<DbObject> clone() const override { return std::make_unique<Polyline>(*this); }

    std::size_t numVerts() const { return vertices_.size(); }
    const std::vector<Vertex>& vertices() const { return vertices_; }
    void setVertices(std::vector<Vertex> vertices) { assign(vertices_, std::move(vertices)); }
    // Inserts before `index` (index == numVerts() appends). eInvalidInput past the end.
    ErrorStatus addVertexAt(std::size_t index, const Point2d& point, double bulge = 0.0,
                            double startWidth = 0.0, double endWidth = 0.0);
    ErrorStatus removeVertexAt(std::size_t index);
    Point2d pointAt(std::size_t index) const { return vertices_.at(index).point; }
    // World position of a vertex.
    Point3d pointAt3d(std::size_t index) const;
    ErrorStatus setPointAt(std::size_t index, const Point2d& point);
    double bulgeAt(std::size_t index) const { return vertices_.at(index).bulge; }
    ErrorStatus setBulgeAt(std::size_t index, double bulge);
    ErrorStatus setWidthsAt(std::size_t index, double startWidth, double endWidth);

    bool isClosed() const { return closed_; }
    void setClosed(bool closed) { assign(closed_, closed); }
    // Linetype generated continuously along the whole polyline (flag 128).
    bool hasPlinegen() const { return plinegen_; }
    void setPlinegen(bool on) { assign(plinegen_, on); }
    double elevation() const { return elevation_; }
    void setElevation(double z) { assign(elevation_, z); }
    const Vector3d& normal() const { return normal_; }
    void setNormal(const Vector3d& n) { assign(normal_, n); }
    double thickness() const { return thickness_; }
    void setThickness(double t) { assign(thickness_, t); }
    // Global width (43); negative when not set.
    double constantWidth() const { return constantWidth_; }
    void setConstantWidth(double w) { assign(constantWidth_, w); }
    // Whether the vertices carry identifiers; they are written with them then.
    bool hasVertexIds() const { return vertexIds_; }
    void setHasVertexIds(bool on) { assign(vertexIds_, on); }

    // Measures in the polyline's plane, arcs included. An open polyline's area is taken as if it
    // were closed by a straight segment.
    PolylineGeometry geometry() const;
    double area() const;
    double length() const;
    // Parameters run from 0 at the first vertex to one per segment.
    double startParam() const { return 0.0; }
    double endParam() const;
    // eInvalidInput for a parameter outside [startParam, endParam].
    ErrorStatus distAtParam(double param, double& dist) const;

    ErrorStatus transformBy(const Matrix3d& transform) override;
    ErrorStatus getGeomExtents(Extents3d& extents) const override;

private:
    std::vector<Vertex> vertices_;
    Vector3d normal_ = Vector3d::zAxis();
    double elevation_ = 0.0, thickness_ = 0.0, constantWidth_ = -1.0;
    bool closed_ = false, plinegen_ = false, vertexIds_ = false;
};

}  // namespace cad
