#pragma once
#include <optional>
#include <vector>

#include "engine/geometry/Point3d.h"
#include "engine/geometry/Vector3d.h"

namespace cad {

// `samples` + 1 points evenly spread in parameter over a (rational) B-spline curve, from its
// first to its last valid knot. Empty when the definition does not fit together (the knot count
// must be control points + degree + 1); weights of the wrong count are taken as all 1.
std::vector<Point3d> sampleSpline(int degree, const std::vector<double>& knots, const std::vector<Point3d>& control,
                                  std::vector<double> weights, int samples);

// Points along a smooth cubic curve through `fit` (a spline kept by its fit points alone): chord
// lengths as the parameter, the end tangents' directions where given, else no bending at the ends.
// Repeated points count once; fewer than two points give nothing.
std::vector<Point3d> sampleThroughPoints(std::vector<Point3d> fit, std::optional<Vector3d> startTangent,
                                         std::optional<Vector3d> endTangent);

// Samples enough for a drawing: 16 per control point, within 16 and 4096.
int splineSamples(std::size_t controlPoints);

}  // namespace cad
