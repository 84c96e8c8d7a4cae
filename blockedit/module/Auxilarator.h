#pragma once

namespace cad {
class BlockReference;
class BlockTableRecord;
class Database;
}  // namespace cad

// Lays the NAME and AUX attributes out around the AREA attribute, one and a half text heights
// above and below it along the text's up direction, with the AREA attribute's rotation, width
// factor and height; adds the AUX attribute where it is missing. Every position is computed from
// the AREA attribute, never from one moved before.
//
// Without an AREA attribute nothing supplies the position, rotation, width and height of the
// layout, so such a definition or reference is left exactly as it is: nothing is moved and no AUX
// attribute is added.

// The attribute definitions of a space block definition (opened for write).
void iterateThroughKorvaBlockDefinition(cad::Database& db, cad::BlockTableRecord& definition);
// The attributes of a space block reference (opened for write).
void iterateThroughKorvaBlockReference(cad::Database& db, cad::BlockReference& reference);
