#include "engine/db/BlockTableRecord.h"

#include <algorithm>

#include "engine/db/AttributeDefinition.h"
#include "engine/db/Database.h"
#include "engine/db/IdMapping.h"
#include "engine/db/SymbolName.h"

namespace cad {

void BlockTableRecord::remapIds(const IdMapping& mapping) {
    SymbolTableRecord::remapIds(mapping);
    for (ObjectId& id : entities_) id = mapping.translate(id);
    layout_ = mapping.translate(layout_);
    begin_ = mapping.translate(begin_);
    end_ = mapping.translate(end_);
}

void BlockTableRecord::collectOwned(std::vector<ObjectId>& out) const {
    SymbolTableRecord::collectOwned(out);
    out.insert(out.end(), entities_.begin(), entities_.end());
    if (begin_) out.push_back(begin_);
    if (end_) out.push_back(end_);
}

ErrorStatus BlockTableRecord::appendEntityBase(std::unique_ptr<Entity>& entity, ObjectId* outId, Handle handle) {
    if (!entity) return ErrorStatus::eInvalidInput;
    if (!database()) return ErrorStatus::eNotApplicable;
    Entity* raw = entity.get();
    ObjectId id;
    ErrorStatus es = database()->addObject(std::move(entity), objectId(), handle, &id);
    if (es != ErrorStatus::eOk) return es;
    entities_.push_back(id);
    raw->setDatabaseDefaults();
    touch();
    if (outId) *outId = id;
    return ErrorStatus::eOk;
}

std::vector<ObjectId> BlockTableRecord::liveEntityIds() const {
    std::vector<ObjectId> live;
    live.reserve(entities_.size());
    for (ObjectId id : entities_) {
        const DbObject* obj = database() ? database()->objectAt(id) : nullptr;
        if (obj && !obj->isErased()) live.push_back(id);
    }
    return live;
}

bool BlockTableRecord::removeEntityId(ObjectId id) {
    auto it = std::find(entities_.begin(), entities_.end(), id);
    if (it == entities_.end()) return false;
    entities_.erase(it);
    if (DbObject* obj = database() ? database()->objectAt(id) : nullptr) obj->setOwnerId({});
    touch();
    return true;
}

bool BlockTableRecord::isModelSpace() const { return symbolNamesEqual(name(), "*Model_Space"); }

bool BlockTableRecord::isPaperSpace() const {
    return name().size() >= 12 && symbolNamesEqual(std::string_view(name()).substr(0, 12), "*Paper_Space");
}

bool BlockTableRecord::isLayout() const { return isModelSpace() || isPaperSpace(); }

bool BlockTableRecord::isAnonymous() const {
    if (blockFlags_ & 1) return true;
    return !name().empty() && name().front() == '*' && !isLayout();
}

bool BlockTableRecord::hasAttributeDefinitions() const {
    if (!database()) return false;
    for (ObjectId id : entities_) {
        const DbObject* obj = database()->objectAt(id);
        if (obj && !obj->isErased() && obj->kind() == ObjectKind::AttributeDefinition) return true;
    }
    return false;
}

ObjectId BlockTableRecord::dynamicBlockSourceId() const {
    if (!database()) return {};
    for (const XDataItem& item : xData("AcDbBlockRepBTag")) {
        if (item.code() != 1005) continue;
        ObjectId id;
        if (database()->getObjectId(id, item.asHandle()) == ErrorStatus::eOk) return id;
    }
    return {};
}

bool BlockTableRecord::isDynamicBlock() const { return !xData("AcDbDynamicBlockGUID").empty(); }

}  // namespace cad
