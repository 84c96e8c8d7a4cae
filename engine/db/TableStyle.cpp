#include "engine/db/TableStyle.h"

#include "engine/db/IdMapping.h"

namespace cad {

TableStyle::TableStyle() : DbObject("TABLESTYLE") {
    cells_[Title].textHeight = 6.0;
    cells_[Title].alignment = 5;
    cells_[Header].alignment = 5;
}

void TableStyle::remapIds(const IdMapping& mapping) {
    DbObject::remapIds(mapping);
    for (CellStyle& c : cells_) c.textStyle = mapping.translate(c.textStyle);
}

}  // namespace cad
