#pragma once
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/db/DeepCopyPtr.h"
#include "engine/db/Entity.h"
#include "engine/geometry/Point3d.h"
#include "engine/geometry/Vector3d.h"

namespace cad {

class Attribute;

// Extents of block definitions' contents, shared by the references measured in one pass.
using BlockExtentsCache = std::unordered_map<ObjectId, Extents3d>;

// A reference to a block definition (INSERT; with rows or columns, a MINSERT). It owns its
// attributes, in order, and the SEQEND that closes their list.
class BlockReference : public Entity {
public:
    BlockReference() : Entity("INSERT") {}
    BlockReference(const Point3d& position, ObjectId block) : Entity("INSERT"), block_(block), position_(position) {}
    ObjectKind kind() const override { return ObjectKind::BlockReference; }
    std::string_view className() const override;
    std::unique_ptr<DbObject> clone() const override { return std::make_unique<BlockReference>(*this); }
    void remapIds(const IdMapping& mapping) override;
    void collectOwned(std::vector<ObjectId>& out) const override;

    ObjectId blockTableRecord() const { return block_; }
    void setBlockTableRecord(ObjectId block) { assign(block_, block); }
    // Insertion point in the object coordinate system of the normal.
    const Point3d& position() const { return position_; }
    void setPosition(const Point3d& p) { assign(position_, p); }
    const Vector3d& scaleFactors() const { return scale_; }
    void setScaleFactors(const Vector3d& s) { assign(scale_, s); }
    // Radians about the normal.
    double rotation() const { return rotation_; }
    void setRotation(double radians) { assign(rotation_, radians); }
    const Vector3d& normal() const { return uncommon().normal; }
    void setNormal(const Vector3d& n) {
        if (n != normal()) assign(uncommon_.make().normal, n);
    }

    // MINSERT grid; 1 x 1 for a plain reference.
    int columnCount() const { return uncommon().columns; }
    int rowCount() const { return uncommon().rows; }
    double columnSpacing() const { return uncommon().columnSpacing; }
    double rowSpacing() const { return uncommon().rowSpacing; }
    void setGrid(int columns, int rows, double columnSpacing, double rowSpacing);

    // Block definition coordinates -> world.
    Matrix3d blockTransform() const;
    // Sets position, scales, rotation and normal from a transform, as far as one reference can
    // express it (no shear).
    ErrorStatus setBlockTransform(const Matrix3d& transform);

    // Attributes (erased ones included) in order.
    const std::vector<ObjectId>& attributeIds() const { return attributes_; }
    // Adds an attribute owned by this reference. The attribute is taken only on success.
    ErrorStatus appendAttribute(std::unique_ptr<Attribute>&& attribute, ObjectId* outId = nullptr,
                                Handle handle = {});
    // One attribute per non-constant attribute definition of the block, in the block's order,
    // placed by the block transform and holding the definition's default text. Tags the
    // reference already has are skipped.
    ErrorStatus appendAttributesFromBlock();
    ObjectId sequenceEndId() const { return seqend_; }
    void setSequenceEndId(ObjectId id) { assign(seqend_, id); }
    // An attribute by tag (ignoring case), or the null id.
    ObjectId attributeId(std::string_view tag) const;

    // The name of the block this reference shows; for a reference to an anonymous
    // representation of a dynamic block, the dynamic block's own name.
    std::string effectiveName() const;
    std::string blockName() const;

    // Moves the attributes with the reference.
    ErrorStatus transformBy(const Matrix3d& transform) override;
    ErrorStatus getGeomExtents(Extents3d& extents) const override;
    // The same, reusing block contents measured before (the block must not change in between).
    ErrorStatus getGeomExtents(Extents3d& extents, BlockExtentsCache& cache) const;

private:
    // What most references leave at the default, apart so that they do not pay for it.
    struct Uncommon {
        Vector3d normal = Vector3d::zAxis();
        double columnSpacing = 0.0, rowSpacing = 0.0;
        std::int16_t columns = 1, rows = 1;
    };
    const Uncommon& uncommon() const;

    ObjectId block_, seqend_;
    std::vector<ObjectId> attributes_;
    Point3d position_;
    Vector3d scale_{1, 1, 1};
    double rotation_ = 0.0;
    DeepCopyPtr<Uncommon> uncommon_;
};

}  // namespace cad
