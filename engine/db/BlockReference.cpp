#include "engine/db/BlockReference.h"

#include <algorithm>
#include <cmath>

#include "engine/db/Attribute.h"
#include "engine/db/AttributeDefinition.h"
#include "engine/db/BlockTableRecord.h"
#include "engine/db/Database.h"
#include "engine/db/Dictionary.h"
#include "engine/db/IdMapping.h"
#include "engine/db/SymbolName.h"
#include "engine/db/UnknownObject.h"
#include "engine/geometry/BlockTransform.h"

namespace cad {

namespace {
constexpr std::size_t kMaxNesting = 32;

// Extents of blocks' contents in their own coordinates. A reference to a block still being
// measured (a cycle, which a drawing should not hold but may) adds nothing, and so does nesting
// deeper than any real drawing goes; results that no such cut touched are kept, so that each
// block is measured once however often it is placed.
class ExtentsWalk {
public:
    ExtentsWalk(const Database& db, BlockExtentsCache& cache) : db_(db), cache_(cache) {}

    Extents3d reference(const BlockReference& ref, bool& cut) {
        Extents3d result;
        const Extents3d content = blockContent(ref.blockTableRecord(), cut);
        if (!content.isEmpty()) result = placed(ref, content);
        for (ObjectId id : ref.attributeIds()) {
            const auto* attribute = dynamic_cast<const Attribute*>(db_.objectAt(id));
            Extents3d box;
            if (attribute && !attribute->isErased() && attribute->getGeomExtents(box) == ErrorStatus::eOk)
                result.addExtents(box);
        }
        return result;
    }

private:
    Extents3d blockContent(ObjectId blockId, bool& cut) {
        if (auto it = cache_.find(blockId); it != cache_.end()) return it->second;
        if (open_.size() >= kMaxNesting || std::find(open_.begin(), open_.end(), blockId) != open_.end()) {
            cut = true;
            return {};
        }
        Extents3d result;
        const auto* block = dynamic_cast<const BlockTableRecord*>(db_.objectAt(blockId));
        if (!block) return result;
        open_.push_back(blockId);
        bool cutHere = false;
        for (ObjectId id : block->entityIds()) {
            const auto* entity = dynamic_cast<const Entity*>(db_.objectAt(id));
            if (!entity || entity->isErased() || !entity->isVisible()) continue;
            // Attribute definitions do not show in references.
            if (entity->kind() == ObjectKind::AttributeDefinition) continue;
            Extents3d box;
            if (const auto* nested = dynamic_cast<const BlockReference*>(entity)) {
                box = reference(*nested, cutHere);
            } else if (entity->getGeomExtents(box) != ErrorStatus::eOk) {
                continue;
            }
            result.addExtents(box);
        }
        open_.pop_back();
        if (cutHere) cut = true;
        else cache_.emplace(blockId, result);
        return result;
    }

    Extents3d placed(const BlockReference& ref, const Extents3d& content) const {
        Extents3d result;
        const auto* block = dynamic_cast<const BlockTableRecord*>(db_.objectAt(ref.blockTableRecord()));
        BlockPlacement placement{ref.position(), ref.scaleFactors().x, ref.scaleFactors().y,
                                 ref.scaleFactors().z, ref.rotation(), ref.normal(),
                                 block ? block->origin() : Point3d{}};
        const int lastColumn = std::max(1, ref.columnCount()) - 1, lastRow = std::max(1, ref.rowCount()) - 1;
        const Vector3d& n = ref.normal();
        if (lastColumn == 0 && lastRow == 0 && n.x == 0.0 && n.y == 0.0 && n.z > 0.0) {
            // In the world plane the placement is a scale, a turn and a shift: done by hand, it
            // is what makes zooming a drawing of a hundred thousand references cheap.
            const double c = std::cos(ref.rotation()), s = std::sin(ref.rotation());
            const Point3d& b = placement.blockBasePoint;
            const Point3d& p = ref.position();
            const Point3d lo = content.minPoint(), hi = content.maxPoint();
            for (double x : {lo.x, hi.x})
                for (double y : {lo.y, hi.y}) {
                    const double lx = placement.scaleX * (x - b.x), ly = placement.scaleY * (y - b.y);
                    for (double z : {lo.z, hi.z})
                        result.addPoint({p.x + c * lx - s * ly, p.y + s * lx + c * ly, p.z + placement.scaleZ * (z - b.z)});
                }
        } else if (lastColumn == 0 && lastRow == 0) {
            Extents3d box = content;
            box.transformBy(blockTransform(placement));
            result.addExtents(box);
        } else {
            // The grid runs along the rotated axes: the corner cells bound it.
            Matrix3d toWorld = ocsToWorld(ref.normal());
            Matrix3d inner = Matrix3d::rotation(ref.rotation(), Vector3d::zAxis()) *
                             Matrix3d::scaling(ref.scaleFactors().x, ref.scaleFactors().y, ref.scaleFactors().z) *
                             Matrix3d::translation(-placement.blockBasePoint.asVector());
            for (int c : {0, lastColumn})
                for (int r : {0, lastRow}) {
                    Vector3d cell{c * ref.columnSpacing(), r * ref.rowSpacing(), 0};
                    Matrix3d m = toWorld * Matrix3d::translation(ref.position().asVector()) *
                                 Matrix3d::rotation(ref.rotation(), Vector3d::zAxis()) * Matrix3d::translation(cell) *
                                 Matrix3d::rotation(-ref.rotation(), Vector3d::zAxis()) * inner;
                    Extents3d box = content;
                    box.transformBy(m);
                    result.addExtents(box);
                }
        }
        return result;
    }

    const Database& db_;
    BlockExtentsCache& cache_;
    std::vector<ObjectId> open_;  // blocks being measured, outermost first
};
}  // namespace

const BlockReference::Uncommon& BlockReference::uncommon() const {
    static const Uncommon kDefault;
    return uncommon_.orDefault(kDefault);
}

std::string_view BlockReference::className() const {
    return (columnCount() > 1 || rowCount() > 1) ? "AcDbMInsertBlock" : "AcDbBlockReference";
}

void BlockReference::remapIds(const IdMapping& mapping) {
    Entity::remapIds(mapping);
    block_ = mapping.translate(block_);
    seqend_ = mapping.translate(seqend_);
    for (ObjectId& id : attributes_) id = mapping.translate(id);
}

void BlockReference::collectOwned(std::vector<ObjectId>& out) const {
    Entity::collectOwned(out);
    out.insert(out.end(), attributes_.begin(), attributes_.end());
    if (seqend_) out.push_back(seqend_);
}

void BlockReference::setGrid(int columns, int rows, double columnSpacing, double rowSpacing) {
    Uncommon grid = uncommon();
    grid.columns = static_cast<std::int16_t>(std::max(1, columns));
    grid.rows = static_cast<std::int16_t>(std::max(1, rows));
    grid.columnSpacing = columnSpacing;
    grid.rowSpacing = rowSpacing;
    const Uncommon& now = uncommon();
    if (grid.columns == now.columns && grid.rows == now.rows && grid.columnSpacing == now.columnSpacing &&
        grid.rowSpacing == now.rowSpacing)
        return;
    uncommon_.make() = grid;
    touch();
}

Matrix3d BlockReference::blockTransform() const {
    Point3d base;
    if (database())
        if (const auto* block = objectOfKind<BlockTableRecord>(database()->objectAt(block_), ObjectKind::BlockTableRecord))
            base = block->origin();
    return cad::blockTransform({position_, scale_.x, scale_.y, scale_.z, rotation_, normal(), base});
}

ErrorStatus BlockReference::setBlockTransform(const Matrix3d& transform) {
    Point3d base;
    if (database())
        if (const auto* block = dynamic_cast<const BlockTableRecord*>(database()->objectAt(block_)))
            base = block->origin();
    Vector3d xImage = transform.xAxisImage(), yImage = transform.yAxisImage(), zImage = transform.zAxisImage();
    Vector3d normal = xImage.cross(yImage).normal();
    if (normal.isZeroLength(0.0)) return ErrorStatus::eInvalidInput;
    // A mirror shows as a negative y scale about an unchanged normal direction where possible.
    double zScale = zImage.length();
    if (zImage.dot(normal) < 0) {
        normal = -normal;
    }
    Matrix3d fromWorld = ocsToWorld(normal).inverse();
    Vector3d x = fromWorld * xImage, y = fromWorld * yImage;
    double rotation = std::atan2(x.y, x.x);
    double sx = std::hypot(x.x, x.y);
    double sy = -std::sin(rotation) * y.x + std::cos(rotation) * y.y;
    if (sx == 0.0 || sy == 0.0 || zScale == 0.0) return ErrorStatus::eInvalidInput;
    Point3d insertion = fromWorld * (transform * base);
    setNormal(normal);
    assign(rotation_, rotation);
    assign(scale_, Vector3d{sx, sy, zScale});
    assign(position_, insertion);
    return ErrorStatus::eOk;
}

ErrorStatus BlockReference::appendAttribute(std::unique_ptr<Attribute>&& attribute, ObjectId* outId, Handle handle) {
    if (!attribute) return ErrorStatus::eInvalidInput;
    if (!database()) return ErrorStatus::eNotApplicable;
    Attribute* raw = attribute.get();
    ObjectId id;
    ErrorStatus es = database()->addObject(std::move(attribute), objectId(), handle, &id);
    if (es != ErrorStatus::eOk) return es;
    if (!raw->layerId()) raw->setLayer(layerId());
    // References with attributes mostly have a few: room for four spares two regrowths.
    if (attributes_.empty()) attributes_.reserve(4);
    attributes_.push_back(id);
    touch();
    if (outId) *outId = id;
    return ErrorStatus::eOk;
}

ErrorStatus BlockReference::appendAttributesFromBlock() {
    if (!database()) return ErrorStatus::eNotApplicable;
    const auto* block = dynamic_cast<const BlockTableRecord*>(database()->objectAt(block_));
    if (!block) return ErrorStatus::eWrongObjectType;
    Matrix3d transform = blockTransform();
    for (ObjectId id : block->entityIds()) {
        const auto* def = dynamic_cast<const AttributeDefinition*>(database()->objectAt(id));
        if (!def || def->isErased() || def->isConstant() || attributeId(def->tag())) continue;
        auto attribute = std::make_unique<Attribute>();
        attribute->setAttributeFromBlock(*def, transform);
        if (ErrorStatus es = appendAttribute(std::move(attribute)); es != ErrorStatus::eOk) return es;
    }
    return ErrorStatus::eOk;
}

ObjectId BlockReference::attributeId(std::string_view tag) const {
    if (!database()) return {};
    for (ObjectId id : attributes_) {
        const auto* a = dynamic_cast<const Attribute*>(database()->objectAt(id));
        if (a && !a->isErased() && symbolNamesEqual(a->tag(), tag)) return id;
    }
    return {};
}

std::string BlockReference::blockName() const {
    if (!database()) return {};
    const auto* block = dynamic_cast<const BlockTableRecord*>(database()->objectAt(block_));
    return block ? block->name() : std::string{};
}

std::string BlockReference::effectiveName() const {
    if (!database()) return {};
    const Database& db = *database();
    const auto* block = dynamic_cast<const BlockTableRecord*>(db.objectAt(block_));
    if (!block) return {};
    if (!block->isAnonymous() || block->isDynamicBlock()) return block->name();
    if (ObjectId source = block->dynamicBlockSourceId())
        if (const auto* dyn = dynamic_cast<const BlockTableRecord*>(db.objectAt(source))) return dyn->name();
    // Second path: the reference's extension dictionary names the definition too.
    const auto* xdict = dynamic_cast<const Dictionary*>(db.objectAt(extensionDictionary()));
    const auto* rep = xdict ? dynamic_cast<const Dictionary*>(db.objectAt(xdict->getAt("AcDbBlockRepresentation")))
                            : nullptr;
    const DbObject* data = rep ? db.objectAt(rep->getAt("AcDbRepData")) : nullptr;
    if (const auto* unknown = dynamic_cast<const UnknownObject*>(data)) {
        for (const RawTag& tag : unknown->tags) {
            if (tag.code != 340) continue;
            auto h = Handle::parse(tag.value);
            ObjectId id;
            if (h && db.getObjectId(id, *h) == ErrorStatus::eOk)
                if (const auto* dyn = dynamic_cast<const BlockTableRecord*>(db.objectAt(id))) return dyn->name();
        }
    }
    return block->name();
}

ErrorStatus BlockReference::transformBy(const Matrix3d& transform) {
    ErrorStatus es = setBlockTransform(transform * blockTransform());
    if (es != ErrorStatus::eOk) return es;
    if (!database()) return es;
    for (ObjectId id : attributes_)
        if (auto* a = dynamic_cast<Attribute*>(database()->objectAt(id))) a->transformBy(transform);
    return es;
}

ErrorStatus BlockReference::getGeomExtents(Extents3d& extents) const {
    BlockExtentsCache cache;
    return getGeomExtents(extents, cache);
}

ErrorStatus BlockReference::getGeomExtents(Extents3d& extents, BlockExtentsCache& cache) const {
    if (!database()) return ErrorStatus::eNotApplicable;
    bool cut = false;
    extents = ExtentsWalk(*database(), cache).reference(*this, cut);
    return extents.isEmpty() ? ErrorStatus::eInvalidInput : ErrorStatus::eOk;
}

}  // namespace cad
