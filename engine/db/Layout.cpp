#include "engine/db/Layout.h"

#include "engine/db/BlockTableRecord.h"
#include "engine/db/Database.h"
#include "engine/db/IdMapping.h"
#include "engine/db/Viewport.h"

namespace cad {

void Layout::remapIds(const IdMapping& mapping) {
    DbObject::remapIds(mapping);
    block_ = mapping.translate(block_);
    lastViewport_ = mapping.translate(lastViewport_);
}

bool Layout::isModelLayout() const {
    if (!database()) return name_ == "Model";
    const auto* block = dynamic_cast<const BlockTableRecord*>(database()->objectAt(block_));
    return block ? block->isModelSpace() : name_ == "Model";
}

std::vector<ObjectId> Layout::viewportIds() const {
    std::vector<ObjectId> ids;
    if (!database()) return ids;
    const auto* block = dynamic_cast<const BlockTableRecord*>(database()->objectAt(block_));
    if (!block) return ids;
    for (ObjectId id : block->entityIds()) {
        const DbObject* obj = database()->objectAt(id);
        if (obj && !obj->isErased() && obj->kind() == ObjectKind::Viewport) ids.push_back(id);
    }
    return ids;
}

}  // namespace cad
