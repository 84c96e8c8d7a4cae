#pragma once
// The entity codecs the table in DxfCodec.cpp lists, each defined in the file named after it.
#include <numbers>

#include "engine/dxf/codecs/DxfCodec.h"

namespace cad {

std::unique_ptr<Entity> readLine(DxfEntityRead& read);                    // DxfLineCodec.cpp
void writeLine(DxfWriteServices& out, const DbObject& object, DxfExtraGroups& extras);
std::unique_ptr<Entity> readCircle(DxfEntityRead& read);                  // DxfCircleCodec.cpp (and ARC)
void writeCircle(DxfWriteServices& out, const DbObject& object, DxfExtraGroups& extras);
std::unique_ptr<Entity> readPolyline(DxfEntityRead& read);                // DxfPolylineCodec.cpp
void writePolyline(DxfWriteServices& out, const DbObject& object, DxfExtraGroups& extras);
std::unique_ptr<Entity> readText(DxfEntityRead& read);                    // DxfTextCodec.cpp (ATTRIB, ATTDEF)
void writeText(DxfWriteServices& out, const DbObject& object, DxfExtraGroups& extras);
std::unique_ptr<Entity> readInsert(DxfEntityRead& read);                  // DxfInsertCodec.cpp (and SEQEND)
void writeInsert(DxfWriteServices& out, const DbObject& object, DxfExtraGroups& extras);
std::unique_ptr<Entity> readSequenceEnd(DxfEntityRead& read);
void writeSequenceEnd(DxfWriteServices& out, const DbObject& object, DxfExtraGroups& extras);
std::unique_ptr<Entity> readHatch(DxfEntityRead& read);                   // DxfHatchCodec.cpp
void writeHatch(DxfWriteServices& out, const DbObject& object, DxfExtraGroups& extras);
void writeViewport(DxfWriteServices& out, const DbObject& object, DxfExtraGroups& extras);  // DxfViewportCodec.cpp

// DXF gives angles in degrees; the database holds radians.
constexpr double kDxfRadiansPerDegree = std::numbers::pi / 180.0;
constexpr double kDxfDegreesPerRadian = 180.0 / std::numbers::pi;

}  // namespace cad
