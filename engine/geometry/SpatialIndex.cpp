#include "engine/geometry/SpatialIndex.h"

#include <algorithm>
#include <limits>

#include "engine/geometry/PolygonOps.h"

namespace cad {

namespace {
constexpr std::size_t kMaxEntries = 16;
constexpr std::size_t kMinEntries = 6;

double areaOf(const Extents2d& e) { return e.width() * e.height(); }
double marginOf(const Extents2d& e) { return e.width() + e.height(); }
Extents2d unite(Extents2d a, const Extents2d& b) {
    a.addExtents(b);
    return a;
}
}  // namespace

struct SpatialIndex::Entry {
    Extents2d box;
    Id id = 0;
    std::unique_ptr<Node> child;  // set in inner nodes only
};

struct SpatialIndex::Node {
    bool leaf = true;
    std::vector<Entry> entries;

    Extents2d bounds() const {
        Extents2d e;
        for (const auto& en : entries) e.addExtents(en.box);
        return e;
    }
};

// Guttman's R-tree with the quadratic split: the two entries that would waste most area
// together seed two groups; the rest go where they enlarge a group least. Zero-area boxes
// (points, axis-parallel lines) are common in drawings, so ties fall back to the margin.
struct SpatialIndexAccess {
    using Node = SpatialIndex::Node;
    using Entry = SpatialIndex::Entry;

    static std::pair<std::size_t, std::size_t> pickSeeds(const std::vector<Entry>& entries) {
        std::size_t s1 = 0, s2 = 1;
        double worst = -std::numeric_limits<double>::infinity();
        double worstMargin = worst;
        for (std::size_t i = 0; i < entries.size(); ++i)
            for (std::size_t j = i + 1; j < entries.size(); ++j) {
                Extents2d u = unite(entries[i].box, entries[j].box);
                double d = areaOf(u) - areaOf(entries[i].box) - areaOf(entries[j].box);
                double dm = marginOf(u) - marginOf(entries[i].box) - marginOf(entries[j].box);
                if (d > worst || (d == worst && dm > worstMargin)) {
                    worst = d;
                    worstMargin = dm;
                    s1 = i;
                    s2 = j;
                }
            }
        return {s1, s2};
    }

    static std::unique_ptr<Node> split(Node& node) {
        std::vector<Entry> all = std::move(node.entries);
        node.entries.clear();
        auto sibling = std::make_unique<Node>();
        sibling->leaf = node.leaf;
        auto [s1, s2] = pickSeeds(all);
        Extents2d box1 = all[s1].box, box2 = all[s2].box;
        node.entries.push_back(std::move(all[s1]));
        sibling->entries.push_back(std::move(all[s2]));
        std::vector<Entry> rest;
        for (std::size_t i = 0; i < all.size(); ++i)
            if (i != s1 && i != s2) rest.push_back(std::move(all[i]));
        while (!rest.empty()) {
            if (node.entries.size() + rest.size() <= kMinEntries ||
                sibling->entries.size() + rest.size() <= kMinEntries) {
                Node& target = node.entries.size() + rest.size() <= kMinEntries ? node : *sibling;
                Extents2d& tbox = &target == &node ? box1 : box2;
                for (auto& e : rest) {
                    tbox.addExtents(e.box);
                    target.entries.push_back(std::move(e));
                }
                break;
            }
            // The entry with the strongest preference goes next.
            std::size_t best = 0;
            double bestDiff = -1.0;
            double bestD1 = 0, bestD2 = 0;
            for (std::size_t i = 0; i < rest.size(); ++i) {
                double d1 = areaOf(unite(box1, rest[i].box)) - areaOf(box1);
                double d2 = areaOf(unite(box2, rest[i].box)) - areaOf(box2);
                double diff = std::abs(d1 - d2);
                if (diff > bestDiff) {
                    bestDiff = diff;
                    best = i;
                    bestD1 = d1;
                    bestD2 = d2;
                }
            }
            bool toFirst;
            if (bestD1 != bestD2) {
                toFirst = bestD1 < bestD2;
            } else {
                double m1 = marginOf(unite(box1, rest[best].box)) - marginOf(box1);
                double m2 = marginOf(unite(box2, rest[best].box)) - marginOf(box2);
                if (m1 != m2)
                    toFirst = m1 < m2;
                else
                    toFirst = node.entries.size() <= sibling->entries.size();
            }
            if (toFirst) {
                box1.addExtents(rest[best].box);
                node.entries.push_back(std::move(rest[best]));
            } else {
                box2.addExtents(rest[best].box);
                sibling->entries.push_back(std::move(rest[best]));
            }
            rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(best));
        }
        return sibling;
    }

    static std::size_t chooseChild(const Node& node, const Extents2d& box) {
        std::size_t best = 0;
        double bestGrow = std::numeric_limits<double>::infinity();
        double bestArea = bestGrow, bestMarginGrow = bestGrow;
        for (std::size_t i = 0; i < node.entries.size(); ++i) {
            const Extents2d& eb = node.entries[i].box;
            Extents2d u = unite(eb, box);
            double grow = areaOf(u) - areaOf(eb);
            double marginGrow = marginOf(u) - marginOf(eb);
            double area = areaOf(eb);
            if (grow < bestGrow || (grow == bestGrow && (marginGrow < bestMarginGrow ||
                                                         (marginGrow == bestMarginGrow && area < bestArea)))) {
                best = i;
                bestGrow = grow;
                bestMarginGrow = marginGrow;
                bestArea = area;
            }
        }
        return best;
    }

    // Returns the new sibling when `node` had to split.
    static std::unique_ptr<Node> insert(Node& node, Entry&& entry) {
        if (node.leaf) {
            node.entries.push_back(std::move(entry));
        } else {
            std::size_t i = chooseChild(node, entry.box);
            Entry& target = node.entries[i];
            target.box.addExtents(entry.box);
            auto sibling = insert(*target.child, std::move(entry));
            if (sibling) {
                target.box = target.child->bounds();
                Entry e;
                e.box = sibling->bounds();
                e.child = std::move(sibling);
                node.entries.push_back(std::move(e));
            }
        }
        if (node.entries.size() > kMaxEntries) return split(node);
        return nullptr;
    }

    static void collectLeafEntries(Node& node, std::vector<Entry>& out) {
        for (auto& e : node.entries) {
            if (node.leaf)
                out.push_back(std::move(e));
            else
                collectLeafEntries(*e.child, out);
        }
        node.entries.clear();
    }

    static bool remove(Node& node, SpatialIndex::Id id, const Extents2d& box,
                       std::vector<Entry>& orphans) {
        if (node.leaf) {
            auto it = std::find_if(node.entries.begin(), node.entries.end(),
                                   [id](const Entry& e) { return e.id == id; });
            if (it == node.entries.end()) return false;
            node.entries.erase(it);
            return true;
        }
        for (std::size_t i = 0; i < node.entries.size(); ++i) {
            Entry& e = node.entries[i];
            if (!e.box.contains(box)) continue;
            if (!remove(*e.child, id, box, orphans)) continue;
            if (e.child->entries.size() < kMinEntries) {
                collectLeafEntries(*e.child, orphans);
                node.entries.erase(node.entries.begin() + static_cast<std::ptrdiff_t>(i));
            } else {
                e.box = e.child->bounds();
            }
            return true;
        }
        return false;
    }

    template <class Pred, class Visit>
    static void visit(const Node& node, const Pred& descend, const Visit& leafVisit) {
        for (const auto& e : node.entries) {
            if (!descend(e.box)) continue;
            if (node.leaf)
                leafVisit(e.id, e.box);
            else
                visit(*e.child, descend, leafVisit);
        }
    }
};

SpatialIndex::SpatialIndex() : root_(std::make_unique<Node>()) {}
SpatialIndex::~SpatialIndex() = default;
// A moved-from index has no root until it is used again; queries treat that as empty.
SpatialIndex::SpatialIndex(SpatialIndex&& o) noexcept
    : root_(std::move(o.root_)), boxes_(std::move(o.boxes_)) {
    o.boxes_.clear();
}
SpatialIndex& SpatialIndex::operator=(SpatialIndex&& o) noexcept {
    if (this != &o) {
        root_ = std::move(o.root_);
        boxes_ = std::move(o.boxes_);
        o.boxes_.clear();
    }
    return *this;
}

void SpatialIndex::insertEntry(Entry entry) {
    if (!root_) root_ = std::make_unique<Node>();
    auto sibling = SpatialIndexAccess::insert(*root_, std::move(entry));
    if (!sibling) return;
    auto newRoot = std::make_unique<Node>();
    newRoot->leaf = false;
    Entry a, b;
    a.box = root_->bounds();
    a.child = std::move(root_);
    b.box = sibling->bounds();
    b.child = std::move(sibling);
    newRoot->entries.push_back(std::move(a));
    newRoot->entries.push_back(std::move(b));
    root_ = std::move(newRoot);
}

void SpatialIndex::insert(Id id, const Extents2d& box) {
    if (box.isEmpty()) return;
    if (contains(id)) remove(id);
    boxes_[id] = box;
    Entry e;
    e.box = box;
    e.id = id;
    insertEntry(std::move(e));
}

bool SpatialIndex::remove(Id id) {
    auto it = boxes_.find(id);
    if (it == boxes_.end()) return false;
    Extents2d box = it->second;
    boxes_.erase(it);
    if (!root_) return false;
    std::vector<Entry> orphans;
    SpatialIndexAccess::remove(*root_, id, box, orphans);
    // Shrink the tree while the root has a single child.
    while (!root_->leaf && root_->entries.size() == 1) {
        auto child = std::move(root_->entries.front().child);
        root_ = std::move(child);
    }
    if (!root_->leaf && root_->entries.empty()) root_ = std::make_unique<Node>();
    for (auto& o : orphans) insertEntry(std::move(o));
    return true;
}

void SpatialIndex::clear() {
    root_ = std::make_unique<Node>();
    boxes_.clear();
}

std::optional<Extents2d> SpatialIndex::boxOf(Id id) const {
    auto it = boxes_.find(id);
    if (it == boxes_.end()) return std::nullopt;
    return it->second;
}

void SpatialIndex::visitIntersecting(const Extents2d& box,
                                     const std::function<void(Id, const Extents2d&)>& visit) const {
    if (box.isEmpty() || !root_) return;
    SpatialIndexAccess::visit(
        *root_, [&](const Extents2d& b) { return b.intersects(box); },
        [&](Id id, const Extents2d& b) { visit(id, b); });
}

std::vector<SpatialIndex::Id> SpatialIndex::queryBox(const Extents2d& box) const {
    std::vector<Id> out;
    if (box.isEmpty() || !root_) return out;
    SpatialIndexAccess::visit(
        *root_, [&](const Extents2d& b) { return b.intersects(box); },
        [&](Id id, const Extents2d&) { out.push_back(id); });
    return out;
}

std::vector<SpatialIndex::Id> SpatialIndex::queryInside(const Extents2d& box) const {
    std::vector<Id> out;
    if (box.isEmpty() || !root_) return out;
    SpatialIndexAccess::visit(
        *root_, [&](const Extents2d& b) { return b.intersects(box); },
        [&](Id id, const Extents2d& b) {
            if (box.contains(b)) out.push_back(id);
        });
    return out;
}

std::vector<SpatialIndex::Id> SpatialIndex::queryPolygonCandidates(
    const std::vector<Point2d>& polygon) const {
    std::vector<Id> out;
    if (polygon.size() < 3 || !root_) return out;
    Extents2d pbox = extentsOf(polygon);
    SpatialIndexAccess::visit(
        *root_, [&](const Extents2d& b) { return b.intersects(pbox); },
        [&](Id id, const Extents2d& b) {
            if (boxCrossesPolygon(b, polygon)) out.push_back(id);
        });
    return out;
}

int SpatialIndex::height() const {
    int h = 1;
    const Node* n = root_.get();
    if (!n) return h;
    while (!n->leaf) {
        n = n->entries.front().child.get();
        ++h;
    }
    return h;
}

}  // namespace cad
