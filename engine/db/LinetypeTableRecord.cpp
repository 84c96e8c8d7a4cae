#include "engine/db/LinetypeTableRecord.h"

#include <cmath>

#include "engine/db/IdMapping.h"

namespace cad {

void LinetypeTableRecord::remapIds(const IdMapping& mapping) {
    SymbolTableRecord::remapIds(mapping);
    for (Dash& d : dashes_) d.style = mapping.translate(d.style);
}

double LinetypeTableRecord::patternLength() const {
    double total = 0.0;
    for (const Dash& d : dashes_) total += std::fabs(d.length);
    return total;
}

}  // namespace cad
