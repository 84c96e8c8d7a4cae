// INSERT (AcDbBlockReference, or AcDbMInsertBlock for a grid): attributes follow (66, derived),
// block name (2), insertion point (10), scales (41-43), rotation (50), grid columns and rows
// (70, 71) and spacings (44, 45), extrusion (210). SEQEND closes the attributes and has no data
// of its own.
#include "engine/db/BlockReference.h"
#include "engine/db/BlockTableRecord.h"
#include "engine/db/Database.h"
#include "engine/db/SymbolTable.h"
#include "engine/dxf/tags/DxfDocument.h"
#include "engine/dxf/tags/DxfTagWriter.h"
#include "engine/dxf/codecs/DxfCodecs.h"

namespace cad {

std::unique_ptr<DbObject> readInsert(DxfRecordRead& r) {
    DxfReadServices& in = r.in;
    auto e = std::make_unique<BlockReference>();
    Point3d p;
    Vector3d scale(1, 1, 1), n = Vector3d::zAxis();
    int columns = 1, rows = 1;
    double columnSpacing = 0, rowSpacing = 0;
    std::string blockName;
    for (const DxfTag& t : r.parts.body) {
        if (r.common(t, *e) || in.pointPart(t, 10, p) || in.vectorPart(t, 210, n)) continue;
        switch (t.code) {
            case 66: break;  // follows from the attributes
            case 2: blockName = in.text(t.value); break;
            case 41: scale.x = in.num(t); break;
            case 42: scale.y = in.num(t); break;
            case 43: scale.z = in.num(t); break;
            case 50: e->setRotation(in.num(t) * kDxfRadiansPerDegree); break;
            case 70: columns = static_cast<int>(in.integer(t)); break;
            case 71: rows = static_cast<int>(in.integer(t)); break;
            case 44: columnSpacing = in.num(t); break;
            case 45: rowSpacing = in.num(t); break;
            default: r.extras.add(t);
        }
    }
    e->setPosition(p);
    e->setScaleFactors(scale);
    e->setNormal(n);
    if (columns != 1 || rows != 1 || columnSpacing != 0 || rowSpacing != 0)
        e->setGrid(columns, rows, columnSpacing, rowSpacing);
    e->setBlockTableRecord(in.blockByName(blockName, r.record.line));
    return e;
}

void writeInsert(DxfWriteServices& out, const DbObject& o, DxfExtraGroups& extras) {
    const auto& ref = static_cast<const BlockReference&>(o);
    const Database& db = out.database();
    DxfTagWriter& w = out.tags();
    const bool grid = ref.columnCount() > 1 || ref.rowCount() > 1;
    w.string(100, grid ? "AcDbMInsertBlock" : "AcDbBlockReference");
    bool attributes = false;
    for (ObjectId a : ref.attributeIds()) {
        const DbObject* ao = db.objectAt(a);
        attributes = attributes || (ao && !ao->isErased());
    }
    if (attributes) w.integer(66, 1);
    const auto* btr = static_cast<const SymbolTableRecord*>(db.objectAt(ref.blockTableRecord()));
    w.string(2, btr ? out.text(btr->name()) : std::string());
    out.point(10, ref.position());
    if (ref.scaleFactors().x != 1.0) w.real(41, ref.scaleFactors().x);
    if (ref.scaleFactors().y != 1.0) w.real(42, ref.scaleFactors().y);
    if (ref.scaleFactors().z != 1.0) w.real(43, ref.scaleFactors().z);
    if (ref.rotation() != 0) w.real(50, ref.rotation() * kDxfDegreesPerRadian);
    if (grid) {
        w.integer(70, ref.columnCount());
        w.integer(71, ref.rowCount());
        w.real(44, ref.columnSpacing());
        w.real(45, ref.rowSpacing());
    }
    if (ref.normal() != Vector3d::zAxis()) out.point(210, ref.normal());
    out.extrasOf(extras, "AcDbBlockReference");
    out.extrasOf(extras, "AcDbMInsertBlock");
}

std::unique_ptr<DbObject> readSequenceEnd(DxfRecordRead& r) {
    auto e = std::make_unique<SequenceEnd>();
    for (const DxfTag& t : r.parts.body)
        if (!r.common(t, *e)) r.extras.add(t);
    return e;
}

void writeSequenceEnd(DxfWriteServices&, const DbObject&, DxfExtraGroups&) {}

}  // namespace cad
