#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine/db/ObjectId.h"
#include "engine/geometry/Point2d.h"

namespace cad {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    std::uint8_t a = 255;  // opacity: 255 opaque, 0 clear
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A text or shape a complex linetype puts into its pattern, in the pattern's units.
struct LinetypeMark {
    double position = 0.0;  // along the pattern, where the element's record ends
    bool isShape = false;   // shapes need shape fonts, which this host has not: they are left out
    std::string text;
    ObjectId style;
    double scale = 1.0, rotation = 0.0, xOffset = 0.0, yOffset = 0.0;  // rotation in radians
    bool absoluteRotation = false;
};

// How a path is stroked, in device units (pixels, or points for PDF and SVG). Dashes alternate
// on and off starting with on; an empty list is a continuous line.
struct Pen {
    Rgb color;
    double width = 1.0;
    std::vector<double> dashes;
    double dashOffset = 0.0;
    // Texts and shapes of a complex linetype, repeated every `patternLength` device units and
    // scaled by `markScale` (device units per pattern unit); none for a plain pattern.
    const std::vector<LinetypeMark>* marks = nullptr;
    double markScale = 0.0;
    double patternLength = 0.0;
};

// A path in device coordinates: rings or runs of points, each with its closed flag.
struct DevicePath {
    struct Run {
        std::vector<Point2d> points;
        bool closed = false;
    };
    std::vector<Run> runs;

    bool empty() const { return runs.empty(); }
    void clear() { runs.clear(); }
};

// The affine map x' = xx*x + xy*y + x0, y' = yx*x + yy*y + y0 (cairo's order of terms).
struct Affine2d {
    double xx = 1, yx = 0, xy = 0, yy = 1, x0 = 0, y0 = 0;

    Point2d apply(const Point2d& p) const { return {xx * p.x + xy * p.y + x0, yx * p.x + yy * p.y + y0}; }
    Vector2d applyVector(const Vector2d& v) const { return {xx * v.x + xy * v.y, yx * v.x + yy * v.y}; }
    // this after `first`.
    Affine2d operator*(const Affine2d& first) const {
        return {xx * first.xx + xy * first.yx, yx * first.xx + yy * first.yx,
                xx * first.xy + xy * first.yy, yx * first.xy + yy * first.yy,
                xx * first.x0 + xy * first.y0 + x0, yx * first.x0 + yy * first.y0 + y0};
    }
    double determinant() const { return xx * yy - xy * yx; }
    // How much lengths grow on average (the square root of the area factor), and at most.
    double meanScale() const;
    double maxScale() const;
    static Affine2d translation(double dx, double dy) { return {1, 0, 0, 1, dx, dy}; }
    static Affine2d scaling(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
    static Affine2d rotation(double radians);
};

}  // namespace cad
