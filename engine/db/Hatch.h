#pragma once
#include <string>
#include <vector>

#include "engine/db/Entity.h"
#include "engine/geometry/Point2d.h"
#include "engine/geometry/PolylineGeometry.h"
#include "engine/geometry/Vector2d.h"
#include "engine/geometry/Vector3d.h"
#include "engine/hatch/HatchEvaluator.h"

namespace cad {

// One edge of an edge-defined hatch loop, in the hatch's plane.
struct HatchEdge {
    enum class Type : std::uint8_t { Line = 1, CircularArc = 2, EllipticArc = 3, Spline = 4 };
    Type type = Type::Line;
    Point2d start, end;         // line
    Point2d center;             // arcs
    Vector2d majorAxis;         // elliptic arc: end of the major axis relative to the centre
    double radius = 0.0;        // circular arc radius; elliptic arc minor/major ratio
    double startAngle = 0.0, endAngle = 0.0;  // radians
    bool counterClockwise = true;
    // spline
    int degree = 3;
    bool rational = false, periodic = false;
    std::vector<double> knots, weights;
    std::vector<Point2d> controlPoints, fitPoints;
    Vector2d startTangent, endTangent;

    friend bool operator==(const HatchEdge&, const HatchEdge&) = default;
};

// A boundary loop: either a bulge polyline or a chain of edges, with the objects it came from.
struct HatchLoop {
    // 92 flags.
    static constexpr int kDefault = 0, kExternal = 1, kPolyline = 2, kDerived = 4, kTextbox = 8,
                         kOutermost = 16;
    int type = kDefault;
    std::vector<BulgeVertex> vertices;  // polyline loop
    bool closed = true;
    std::vector<HatchEdge> edges;       // edge loop
    std::vector<ObjectId> sourceIds;    // boundary objects of an associative hatch
    friend bool operator==(const HatchLoop&, const HatchLoop&) = default;

    bool isPolyline() const { return (type & kPolyline) != 0; }
    // The loop as a closed bulge polyline; elliptic arcs and splines are flattened.
    PolylineGeometry toPolyline() const;
};

// A definition line as a hatch stores it: already rotated by the pattern angle and scaled.
struct HatchDefinitionLine {
    double angle = 0.0;  // radians
    Point2d basePoint;
    Vector2d offset;
    std::vector<double> dashes;
    friend bool operator==(const HatchDefinitionLine&, const HatchDefinitionLine&) = default;
};

class Hatch : public Entity {
public:
    enum class PatternType { UserDefined = 0, Predefined = 1, Custom = 2 };
    enum class Style { Normal = 0, Outer = 1, Ignore = 2 };

    Hatch() : Entity("HATCH") {}
    ObjectKind kind() const override { return ObjectKind::Hatch; }
    std::string_view className() const override { return "AcDbHatch"; }
    std::unique_ptr<DbObject> clone() const override { return std::make_unique<Hatch>(*this); }
    void remapIds(const IdMapping& mapping) override;

    const std::string& patternName() const { return patternName_; }
    PatternType patternType() const { return patternType_; }
    // Sets type and name; "SOLID" makes a solid fill. Definition lines are filled from the
    // database's pattern library (predefined) or from spacing and angle (user-defined) by
    // evaluate() when none are set.
    void setPattern(PatternType type, std::string name);
    // Radians.
    double patternAngle() const { return patternAngle_; }
    void setPatternAngle(double radians) { assign(patternAngle_, radians); }
    double patternScale() const { return patternScale_; }
    void setPatternScale(double scale) { assign(patternScale_, scale); }
    // Line spacing of a user-defined pattern, and whether it is crossed.
    double patternSpace() const { return patternSpace_; }
    void setPatternSpace(double space) { assign(patternSpace_, space); }
    bool patternDouble() const { return patternDouble_; }
    void setPatternDouble(bool on) { assign(patternDouble_, on); }
    bool isSolidFill() const { return solid_; }
    bool associative() const { return associative_; }
    void setAssociative(bool on) { assign(associative_, on); }
    Style hatchStyle() const { return style_; }
    void setHatchStyle(Style style) { assign(style_, style); }
    const Vector3d& normal() const { return normal_; }
    void setNormal(const Vector3d& n) { assign(normal_, n); }
    double elevation() const { return elevation_; }
    void setElevation(double z) { assign(elevation_, z); }
    double pixelSize() const { return pixelSize_; }
    void setPixelSize(double size) { assign(pixelSize_, size); }

    const std::vector<HatchLoop>& loops() const { return loops_; }
    std::size_t numLoops() const { return loops_.size(); }
    void appendLoop(HatchLoop loop) { loops_.push_back(std::move(loop)); touch(); }
    // A polyline loop from 2D vertices in the hatch plane.
    void appendLoop(int type, std::vector<BulgeVertex> vertices);
    // A loop from curves of the database (polylines, circles, arcs, lines, in order). A closed
    // polyline gives a polyline loop, other curves an edge loop. Curves must lie in the hatch's
    // plane: eInvalidInput otherwise, eWrongObjectType for other kinds.
    ErrorStatus appendLoop(int type, const std::vector<ObjectId>& curves);
    ErrorStatus removeLoopAt(std::size_t index);
    void setLoops(std::vector<HatchLoop> loops) { assign(loops_, std::move(loops)); }

    const std::vector<HatchDefinitionLine>& definitionLines() const { return lines_; }
    void setDefinitionLines(std::vector<HatchDefinitionLine> lines) { assign(lines_, std::move(lines)); }
    const std::vector<Point2d>& seedPoints() const { return seeds_; }
    void setSeedPoints(std::vector<Point2d> seeds) { assign(seeds_, std::move(seeds)); }

    // The pattern the hatch is drawn with, at angle 0 and scale 1 (the hatch's own angle and scale
    // are applied on evaluation): the library's for a predefined pattern, parallel (or crossed)
    // lines for a user-defined one, the stored definition lines for a custom one or a name the
    // library does not know. eKeyNotFound when there is nothing to draw with.
    ErrorStatus getPattern(HatchPattern& pattern, double& angle, double& scale) const;
    // Computes the visible pattern: eHatchTooDense (420) past the evaluator's limits,
    // eHatchTooSparse (5) when a line pattern leaves nothing inside the loops, eInvalidInput
    // without a usable loop. A solid fill evaluates to eOk.
    ErrorStatus evaluateHatch(HatchEvaluation* result = nullptr) const;
    // Fills definitionLines() from the pattern, angle and scale (files store them in full).
    ErrorStatus computeDefinitionLines();

    // Area enclosed by the loops (outer loops minus holes, by nesting parity).
    double area() const;

    ErrorStatus transformBy(const Matrix3d& transform) override;
    ErrorStatus getGeomExtents(Extents3d& extents) const override;

private:
    std::string patternName_ = "SOLID";
    std::vector<HatchLoop> loops_;
    std::vector<HatchDefinitionLine> lines_;
    std::vector<Point2d> seeds_;
    Vector3d normal_ = Vector3d::zAxis();
    double elevation_ = 0.0, patternAngle_ = 0.0, patternScale_ = 1.0, patternSpace_ = 1.0, pixelSize_ = 0.0;
    PatternType patternType_ = PatternType::Predefined;
    Style style_ = Style::Normal;
    bool solid_ = true, associative_ = false, patternDouble_ = false;
};

}  // namespace cad
