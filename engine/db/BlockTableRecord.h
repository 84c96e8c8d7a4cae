#pragma once
#include <memory>
#include <vector>

#include "engine/db/Entity.h"
#include "engine/db/SymbolTable.h"
#include "engine/geometry/Point3d.h"

namespace cad {

// A block definition: its entities in order, its base point, and the BLOCK/ENDBLK records that
// frame it in a DXF file. *Model_Space and the *Paper_Space blocks are block records too.
class BlockTableRecord : public SymbolTableRecord {
public:
    explicit BlockTableRecord(std::string_view name = {}) : SymbolTableRecord("BLOCK_RECORD", name) {}
    ObjectKind kind() const override { return ObjectKind::BlockTableRecord; }
    std::string_view className() const override { return "AcDbBlockTableRecord"; }
    TableKind tableKind() const override { return TableKind::Block; }
    std::unique_ptr<DbObject> clone() const override { return std::make_unique<BlockTableRecord>(*this); }
    void remapIds(const IdMapping& mapping) override;
    void collectOwned(std::vector<ObjectId>& out) const override;

    // Adds the entity at the end (or under `handle`); an entity without a layer gets the current
    // layer. The entity is taken only on success.
    template <class T>
    ErrorStatus appendEntity(std::unique_ptr<T>&& entity, ObjectId* outId = nullptr, Handle handle = {}) {
        std::unique_ptr<Entity> base(entity.release());
        ErrorStatus es = appendEntityBase(base, outId, handle);
        if (base) entity.reset(static_cast<T*>(base.release()));
        return es;
    }
    ErrorStatus appendEntityBase(std::unique_ptr<Entity>& entity, ObjectId* outId = nullptr, Handle handle = {});
    // Appends an entity already added to the database with this record as owner (file readers,
    // copies).
    void appendEntityId(ObjectId id) { entities_.push_back(id); touch(); }
    // Ids in order, erased entities included.
    const std::vector<ObjectId>& entityIds() const { return entities_; }
    std::vector<ObjectId> liveEntityIds() const;
    // Takes an entity out of the list (it stays in the database, ownerless).
    bool removeEntityId(ObjectId id);

    const Point3d& origin() const { return origin_; }
    void setOrigin(const Point3d& p) { assign(origin_, p); }
    const std::string& comments() const { return comments_; }
    void setComments(std::string text) { assign(comments_, std::move(text)); }
    const std::string& pathName() const { return xrefPath_; }
    void setPathName(std::string path) { assign(xrefPath_, std::move(path)); }

    // BLOCK 70 flags: 1 anonymous, 2 has attribute definitions, 4 xref, 8 overlay ...
    int blockFlags() const { return blockFlags_; }
    void setBlockFlags(int flags) { assign(blockFlags_, flags); }
    bool isAnonymous() const;
    bool isLayout() const;  // *Model_Space or a *Paper_Space block
    bool isModelSpace() const;
    bool isPaperSpace() const;
    bool hasAttributeDefinitions() const;

    ObjectId layoutId() const { return layout_; }
    void setLayoutId(ObjectId id) { assign(layout_, id); }
    // The BLOCK and ENDBLK records.
    ObjectId blockBeginId() const { return begin_; }
    ObjectId blockEndId() const { return end_; }
    void setBlockBeginId(ObjectId id) { assign(begin_, id); }
    void setBlockEndId(ObjectId id) { assign(end_, id); }

    int insertUnits() const { return insertUnits_; }
    void setInsertUnits(int units) { assign(insertUnits_, static_cast<std::int16_t>(units)); }
    bool explodable() const { return explodable_; }
    void setExplodable(bool on) { assign(explodable_, on); }
    bool scaleUniformly() const { return scaleUniformly_; }
    void setScaleUniformly(bool on) { assign(scaleUniformly_, on); }

    // For an anonymous representation of a dynamic block, the block record it came from (the
    // "AcDbBlockRepBTag" extended data); null otherwise.
    ObjectId dynamicBlockSourceId() const;
    // Whether this is a dynamic block definition ("AcDbDynamicBlockGUID" extended data).
    bool isDynamicBlock() const;

private:
    std::vector<ObjectId> entities_;
    Point3d origin_;
    std::string comments_, xrefPath_;
    ObjectId layout_, begin_, end_;
    int blockFlags_ = 0;
    std::int16_t insertUnits_ = 0;
    bool explodable_ = true, scaleUniformly_ = false;
};

// The BLOCK and ENDBLK records of a block definition; they carry a handle, a layer and extended
// data of their own.
class BlockBegin : public Entity {
public:
    BlockBegin() : Entity("BLOCK") {}
    ObjectKind kind() const override { return ObjectKind::BlockBegin; }
    std::string_view className() const override { return "AcDbBlockBegin"; }
    std::unique_ptr<DbObject> clone() const override { return std::make_unique<BlockBegin>(*this); }
};

class BlockEnd : public Entity {
public:
    BlockEnd() : Entity("ENDBLK") {}
    ObjectKind kind() const override { return ObjectKind::BlockEnd; }
    std::string_view className() const override { return "AcDbBlockEnd"; }
    std::unique_ptr<DbObject> clone() const override { return std::make_unique<BlockEnd>(*this); }
};

// Ends the list of sub-entities of a block reference or an old-style polyline.
class SequenceEnd : public Entity {
public:
    SequenceEnd() : Entity("SEQEND") {}
    ObjectKind kind() const override { return ObjectKind::SequenceEnd; }
    std::string_view className() const override { return "AcDbSequenceEnd"; }
    std::unique_ptr<DbObject> clone() const override { return std::make_unique<SequenceEnd>(*this); }
};

}  // namespace cad
