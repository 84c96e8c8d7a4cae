#pragma once
#include <string>
#include <vector>

#include "engine/db/Database.h"

namespace cad {

// Completes what an R2000+ file must hold and an R12 or damaged file may lack: the nine tables
// and their standard records, the named object dictionary with ACAD_GROUP, ACAD_LAYOUT (layouts
// linked both ways with their blocks) and ACAD_PLOTSTYLENAME. `report` adds a warning per repair
// (R12 input is upgraded silently: nothing there is damage).
void completeDrawingStructure(Database& db, bool report, std::vector<std::string>& warnings);

}  // namespace cad
