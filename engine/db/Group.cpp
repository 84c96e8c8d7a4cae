#include "engine/db/Group.h"

#include "engine/db/IdMapping.h"

namespace cad {

void Group::remapIds(const IdMapping& mapping) {
    DbObject::remapIds(mapping);
    for (ObjectId& id : members_) id = mapping.translate(id);
}

}  // namespace cad
