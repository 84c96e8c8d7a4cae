#pragma once
#include <cstddef>
#include <vector>

#include "engine/db/ErrorStatus.h"
#include "engine/geometry/Point2d.h"
#include "engine/geometry/PolylineGeometry.h"
#include "engine/hatch/HatchPattern.h"

namespace cad {

// Limits of one evaluation. A pattern line family contributes one line per spacing across the
// boundary's extents; past maxFamilyLines (summed over the families) or past maxSegments
// drawn pieces the hatch is too dense to evaluate.
struct HatchLimits {
    std::size_t maxFamilyLines = 10000;
    std::size_t maxSegments = 100000;
    // Arcs of the loops are flattened to within this fraction of the boundary's larger side.
    double relativeChordTolerance = 1e-4;
};

struct HatchSegment {
    Point2d start;
    Point2d end;  // equal to start for a dot
};

struct HatchEvaluation {
    // eOk; eHatchTooDense (limits exceeded); eHatchTooSparse (a line pattern leaves nothing
    // inside); eInvalidInput (no usable loop, scale not positive, pattern without lines).
    ErrorStatus status = ErrorStatus::eOk;
    bool solid = false;
    std::vector<HatchSegment> segments;
    // The flattened boundary loops the segments were clipped against (for drawing a fill).
    std::vector<std::vector<Point2d>> loops;
    std::size_t familyLines = 0;  // lines crossing the extents, counted before clipping
};

// Computes the visible pattern pieces of a hatch: every family line is clipped against all
// loops at once with the even-odd rule (so inner loops are holes, islands in holes are
// hatched again), then cut into dashes.
class HatchEvaluator {
public:
    explicit HatchEvaluator(HatchLimits limits = {}) : limits_(limits) {}

    const HatchLimits& limits() const { return limits_; }

    // Loops are closed bulge polylines in the hatch plane (open ones are closed by a chord);
    // `angle` in radians, `scale` multiplies every pattern length.
    HatchEvaluation evaluate(const std::vector<PolylineGeometry>& loops, const HatchPattern& pattern,
                             double angle, double scale) const;

private:
    HatchLimits limits_;
};

}  // namespace cad
