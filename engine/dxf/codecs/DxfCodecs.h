#pragma once
// The codecs the table in DxfCodec.cpp lists, each defined in the file named beside it.
#include <numbers>

#include "engine/dxf/codecs/DxfCodec.h"

namespace cad {

std::unique_ptr<DbObject> readLine(DxfRecordRead& read);                    // DxfLineCodec.cpp
void writeLine(DxfWriteServices& out, const DbObject& object, DxfExtraGroups& extras);
std::unique_ptr<DbObject> readCircle(DxfRecordRead& read);                  // DxfCircleCodec.cpp (and ARC)
void writeCircle(DxfWriteServices& out, const DbObject& object, DxfExtraGroups& extras);
std::unique_ptr<DbObject> readPolyline(DxfRecordRead& read);                // DxfPolylineCodec.cpp
void writePolyline(DxfWriteServices& out, const DbObject& object, DxfExtraGroups& extras);
std::unique_ptr<DbObject> readText(DxfRecordRead& read);                    // DxfTextCodec.cpp (ATTRIB, ATTDEF)
void writeText(DxfWriteServices& out, const DbObject& object, DxfExtraGroups& extras);
std::unique_ptr<DbObject> readInsert(DxfRecordRead& read);                  // DxfInsertCodec.cpp (and SEQEND)
void writeInsert(DxfWriteServices& out, const DbObject& object, DxfExtraGroups& extras);
std::unique_ptr<DbObject> readSequenceEnd(DxfRecordRead& read);
void writeSequenceEnd(DxfWriteServices& out, const DbObject& object, DxfExtraGroups& extras);
std::unique_ptr<DbObject> readHatch(DxfRecordRead& read);                   // DxfHatchCodec.cpp
void writeHatch(DxfWriteServices& out, const DbObject& object, DxfExtraGroups& extras);
void writeViewport(DxfWriteServices& out, const DbObject& object, DxfExtraGroups& extras);  // DxfViewportCodec.cpp
void writeTable(DxfWriteServices& out, const DbObject& object, DxfExtraGroups& extras);     // DxfTableCodec.cpp

// Objects.
std::unique_ptr<DbObject> readDictionary(DxfRecordRead& read);          // DxfDictionaryCodec.cpp
void writeDictionary(DxfWriteServices& out, const DbObject& object, DxfExtraGroups& extras);
std::unique_ptr<DbObject> readLayout(DxfRecordRead& read);              // DxfLayoutCodec.cpp
void writeLayout(DxfWriteServices& out, const DbObject& object, DxfExtraGroups& extras);
std::unique_ptr<DbObject> readSortentsTable(DxfRecordRead& read);       // DxfSortentsCodec.cpp
void writeSortentsTable(DxfWriteServices& out, const DbObject& object, DxfExtraGroups& extras);
void writeXRecord(DxfWriteServices& out, const DbObject& object, DxfExtraGroups& extras);     // DxfMadeObjectCodecs.cpp
void writeGroup(DxfWriteServices& out, const DbObject& object, DxfExtraGroups& extras);
void writeTableStyle(DxfWriteServices& out, const DbObject& object, DxfExtraGroups& extras);
void writePlaceholder(DxfWriteServices& out, const DbObject& object, DxfExtraGroups& extras);

// Table records (after name and flags).                               DxfTableRecordCodecs.cpp
std::unique_ptr<DbObject> readLayer(DxfRecordRead& read);
void writeLayer(DxfWriteServices& out, const DbObject& object, DxfExtraGroups& extras);
std::unique_ptr<DbObject> readAppId(DxfRecordRead& read);
std::unique_ptr<DbObject> readBlockRecord(DxfRecordRead& read);
void writeBlockRecord(DxfWriteServices& out, const DbObject& object, DxfExtraGroups& extras);
std::unique_ptr<DbObject> readTextStyle(DxfRecordRead& read);
void writeTextStyle(DxfWriteServices& out, const DbObject& object, DxfExtraGroups& extras);
std::unique_ptr<DbObject> readLinetype(DxfRecordRead& read);
void writeLinetype(DxfWriteServices& out, const DbObject& object, DxfExtraGroups& extras);
std::unique_ptr<DbObject> readViewportRecord(DxfRecordRead& read);
void writeViewportRecord(DxfWriteServices& out, const DbObject& object, DxfExtraGroups& extras);
void writeUcs(DxfWriteServices& out, const DbObject& object, DxfExtraGroups& extras);

// DXF gives angles in degrees; the database holds radians.
constexpr double kDxfRadiansPerDegree = std::numbers::pi / 180.0;
constexpr double kDxfDegreesPerRadian = 180.0 / std::numbers::pi;

}  // namespace cad
