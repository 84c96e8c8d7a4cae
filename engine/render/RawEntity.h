#pragma once
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/db/RawTags.h"
#include "engine/geometry/Point3d.h"
#include "engine/geometry/Vector3d.h"

namespace cad {

// Read access to the tag body of an entity the database keeps without modelling it (ellipses,
// multi-line texts, solids, dimensions ...). Values that do not parse count as absent.
class RawEntity {
public:
  explicit RawEntity(std::span<const RawTag> tags) : tags_(tags) {}

  std::optional<double> real(int code) const;
  double real(int code, double fallback) const { return real(code).value_or(fallback); }
  std::optional<long long> integer(int code) const;
  long long integer(int code, long long fallback) const { return integer(code).value_or(fallback); }
  const std::string* text(int code) const;
  // The point of x code `xCode` (y and z at +10 and +20).
  std::optional<Point3d> point(int xCode) const;
  Vector3d normal() const;  // 210, +Z when absent
  // Every value of `code`, in order.
  std::vector<double> reals(int code) const;
  // Every point of x code `xCode`, in order (a point is taken when its x and y are both there).
  std::vector<Point3d> points(int xCode) const;

private:
  std::span<const RawTag> tags_;
};

}  // namespace cad
