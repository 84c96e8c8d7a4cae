// The codec table and what every codec shares. Invariant: a codec reads or writes one record and
// nothing else; it is called only for records that are generated (a modified or new object) or
// read, never for ones copied verbatim.
#include "engine/dxf/codecs/DxfCodec.h"

#include <array>

#include "engine/db/Entity.h"
#include "engine/db/UnknownEntity.h"
#include "engine/dxf/tags/DxfDocument.h"
#include "engine/dxf/tags/DxfTagWriter.h"
#include "engine/dxf/codecs/DxfCodecs.h"

namespace cad {

bool isModelledSubclassMarker(std::string_view m) {
    return m == "AcDbEntity" || m == "AcDbLine" || m == "AcDbCircle" || m == "AcDbArc" || m == "AcDbPolyline" ||
           m == "AcDbText" || m == "AcDbAttribute" || m == "AcDbAttributeDefinition" || m == "AcDbBlockReference" ||
           m == "AcDbMInsertBlock" || m == "AcDbBlockBegin" || m == "AcDbBlockEnd" || m == "AcDbSequenceEnd" ||
           m == "AcDbSymbolTableRecord" || m == "AcDbLayerTableRecord" || m == "AcDbRegAppTableRecord" ||
           m == "AcDbBlockTableRecord" || m == "AcDbTextStyleTableRecord" || m == "AcDbLinetypeTableRecord" ||
           m == "AcDbViewportTableRecord" || m == "AcDbDictionary" || m == "AcDbDictionaryWithDefault" ||
           m == "AcDbLayout" || m == "AcDbPlotSettings" || m == "AcDbSortentsTable" || m == "AcDbHatch";
}

DxfRecordRead::DxfRecordRead(DxfReadServices& services, const DxfRecord& rec, const std::vector<DxfTag>& tags,
                             const DxfRecordParts& split)
    : in(services), record(rec), all(tags), parts(split), extras(extraTags, split.body) {}

std::string_view DxfRecordRead::type() const { return record.type(); }

bool DxfRecordRead::common(const DxfTag& t, Entity& e) {
    switch (t.code) {
        case 100: marker(t); return true;
        case 8: layer = t.value; return true;
        case 6: linetype = in.text(t.value); return true;
        case 62: colorIndex = in.integer(t); return true;
        case 420: trueColor = static_cast<std::uint32_t>(in.integer(t)); return true;
        case 370: e.setLineWeight(static_cast<int>(in.integer(t))); return true;
        case 48: e.setLinetypeScale(in.num(t)); return true;
        case 60: e.setVisible(in.integer(t) == 0); return true;
        case 67: return true;  // paper space follows from the owner
        default: return false;
    }
}

void DxfRecordRead::marker(const DxfTag& t) {
    extras.marker(trimDxfBlanks(t.value), isModelledSubclassMarker(trimDxfBlanks(t.value)));
}

bool DxfRecordRead::commonRecord(const DxfTag& t) {
    if (t.code == 2) return true;
    if (t.code == 70) flags = static_cast<int>(in.integer(t));
    else if (t.code == 100) marker(t);
    else return false;
    return true;
}

std::unique_ptr<DbObject> readUnknownEntity(DxfRecordRead& r) {
    // Kept whole; the common part is still read so that layer queries work.
    auto e = std::make_unique<UnknownEntity>(r.type());
    for (const DxfTag& t : r.parts.body) {
        if (t.code == 100) {
            const std::string_view m = trimDxfBlanks(t.value);
            if (m != "AcDbEntity") e->setClassName(std::string(m));
        } else if (t.code == 8) {
            r.layer = t.value;
        }
    }
    // The whole record after its type, in file order.
    for (std::size_t k = 1; k < r.all.size(); ++k) e->tags.push_back(rawTag(r.all[k]));
    r.extraTags.clear();
    return e;
}

void DxfWriteServices::point(int base, const Point3d& p) {
    tags().real(base, p.x);
    tags().real(base + 10, p.y);
    tags().real(base + 20, p.z);
}

void DxfWriteServices::point(int base, const Vector3d& v) { point(base, Point3d{v.x, v.y, v.z}); }

namespace {

// Every codec, once; a name the table lacks is read as an unknown record and kept whole.
using S = DxfCodecSection;
constexpr std::array<DxfCodec, 27> kCodecs{{
    {S::Entity, "LINE", ObjectKind::Line, readLine, writeLine},
    {S::Entity, "CIRCLE", ObjectKind::Circle, readCircle, writeCircle},
    {S::Entity, "ARC", ObjectKind::Arc, readCircle, writeCircle},
    {S::Entity, "LWPOLYLINE", ObjectKind::Polyline, readPolyline, writePolyline},
    {S::Entity, "TEXT", ObjectKind::Text, readText, writeText},
    {S::Entity, "ATTRIB", ObjectKind::Attribute, readText, writeText},
    {S::Entity, "ATTDEF", ObjectKind::AttributeDefinition, readText, writeText},
    {S::Entity, "INSERT", ObjectKind::BlockReference, readInsert, writeInsert},
    {S::Entity, "SEQEND", ObjectKind::SequenceEnd, readSequenceEnd, writeSequenceEnd},
    {S::Entity, "HATCH", ObjectKind::Hatch, readHatch, writeHatch},
    // Viewports are made by layouts here; a file's own are kept whole.
    {S::Entity, "VIEWPORT", ObjectKind::Viewport, nullptr, writeViewport},
    // Tables are made here; a file's own are kept whole.
    {S::Entity, "ACAD_TABLE", ObjectKind::Table, nullptr, writeTable},
    {S::Object, "DICTIONARY", ObjectKind::Dictionary, readDictionary, writeDictionary},
    {S::Object, "ACDBDICTIONARYWDFLT", ObjectKind::Dictionary, readDictionary, writeDictionary},
    {S::Object, "LAYOUT", ObjectKind::Layout, readLayout, writeLayout},
    {S::Object, "SORTENTSTABLE", ObjectKind::SortentsTable, readSortentsTable, writeSortentsTable},
    // Made here only; read from a file they are kept whole.
    {S::Object, "XRECORD", ObjectKind::XRecord, nullptr, writeXRecord},
    {S::Object, "GROUP", ObjectKind::Group, nullptr, writeGroup},
    {S::Object, "TABLESTYLE", ObjectKind::TableStyle, nullptr, writeTableStyle},
    {S::Object, "ACDBPLACEHOLDER", ObjectKind::Placeholder, nullptr, writePlaceholder},
    {S::TableRecord, "LAYER", ObjectKind::LayerTableRecord, readLayer, writeLayer},
    {S::TableRecord, "APPID", ObjectKind::RegAppTableRecord, readAppId, nullptr},
    {S::TableRecord, "BLOCK_RECORD", ObjectKind::BlockTableRecord, readBlockRecord, writeBlockRecord},
    {S::TableRecord, "STYLE", ObjectKind::TextStyleTableRecord, readTextStyle, writeTextStyle},
    {S::TableRecord, "LTYPE", ObjectKind::LinetypeTableRecord, readLinetype, writeLinetype},
    {S::TableRecord, "VPORT", ObjectKind::ViewportTableRecord, readViewportRecord, writeViewportRecord},
    {S::TableRecord, "UCS", ObjectKind::UcsTableRecord, nullptr, writeUcs},
}};

}  // namespace

const DxfCodec* dxfCodec(DxfCodecSection section, std::string_view dxfName) {
    // Asked once per record: the first letter rules out nearly every other name before a comparison.
    if (dxfName.empty()) return nullptr;
    for (const DxfCodec& c : kCodecs)
        if (c.dxfName[0] == dxfName[0] && c.section == section && c.dxfName == dxfName && c.read) return &c;
    return nullptr;
}

const DxfCodec* dxfCodec(ObjectKind kind) {
    for (const DxfCodec& c : kCodecs)
        if (c.kind == kind) return &c;
    return nullptr;
}

}  // namespace cad
