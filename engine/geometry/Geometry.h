#pragma once
// Convenience header: all basic geometry value types.
#include "engine/geometry/Extents2d.h"
#include "engine/geometry/Extents3d.h"
#include "engine/geometry/Matrix3d.h"
#include "engine/geometry/Point2d.h"
#include "engine/geometry/Point3d.h"
#include "engine/geometry/Tolerance.h"
#include "engine/geometry/Vector2d.h"
#include "engine/geometry/Vector3d.h"
