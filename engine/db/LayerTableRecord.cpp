#include "engine/db/LayerTableRecord.h"

#include "engine/db/IdMapping.h"

namespace cad {

void LayerTableRecord::remapIds(const IdMapping& mapping) {
    SymbolTableRecord::remapIds(mapping);
    linetype_ = mapping.translate(linetype_);
}

}  // namespace cad
