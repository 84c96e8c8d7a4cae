#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "engine/geometry/Extents2d.h"
#include "engine/geometry/Point2d.h"

namespace cad {

// Dynamic R-tree over 2D boxes with 64-bit payload ids (typically entity handles), so that
// window and crossing selections visit only the entities near the query.
struct SpatialIndexAccess;

class SpatialIndex {
public:
    using Id = std::uint64_t;

    SpatialIndex();
    ~SpatialIndex();
    SpatialIndex(SpatialIndex&&) noexcept;  // the source is left empty and usable
    SpatialIndex& operator=(SpatialIndex&&) noexcept;
    SpatialIndex(const SpatialIndex&) = delete;
    SpatialIndex& operator=(const SpatialIndex&) = delete;

    // Inserting an id that is already present moves it to the new box. Empty boxes are ignored.
    void insert(Id id, const Extents2d& box);
    bool remove(Id id);
    void clear();
    bool contains(Id id) const { return boxes_.count(id) != 0; }
    std::optional<Extents2d> boxOf(Id id) const;
    std::size_t size() const { return boxes_.size(); }

    // Calls `visit` for every entry whose box intersects (or touches) `box`.
    void visitIntersecting(const Extents2d& box,
                           const std::function<void(Id, const Extents2d&)>& visit) const;
    // Ids whose boxes intersect or touch `box`, in no particular order.
    std::vector<Id> queryBox(const Extents2d& box) const;
    // Ids whose boxes lie completely inside `box`.
    std::vector<Id> queryInside(const Extents2d& box) const;
    // Ids whose boxes share a point with the polygon (a ring, implicitly closed): the candidates
    // of a crossing-polygon selection, to be confirmed against the entities' own geometry.
    std::vector<Id> queryPolygonCandidates(const std::vector<Point2d>& polygon) const;

    // Height of the tree (1 for a single leaf); for tests and tuning.
    int height() const;

private:
    friend struct SpatialIndexAccess;
    struct Node;
    struct Entry;
    std::unique_ptr<Node> root_;
    std::unordered_map<Id, Extents2d> boxes_;

    void insertEntry(Entry entry);
};

}  // namespace cad
