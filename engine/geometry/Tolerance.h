#pragma once

namespace cad {

// Default absolute tolerance for coordinate comparisons. Drawings are often in millimetres with
// coordinates in the millions, so this is deliberately far below any meaningful drawing unit.
constexpr double kGeomTolerance = 1e-9;

}  // namespace cad
