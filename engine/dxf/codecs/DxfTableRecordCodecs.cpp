// Table records, after the head, AcDbSymbolTableRecord, their own marker, name (2) and flags
// (70), which the reader and writer handle for all of them. LAYER: colour (62, negative when off;
// 420 true colour), linetype (6), plottable (290), lineweight (370). BLOCK_RECORD: layout (340),
// insertion units (70, not flags), explodable (280), scale uniformly (281). STYLE: size, x scale,
// oblique, generation, last size, font files. LTYPE: description (3), the pattern (kept as read,
// or written from the dashes). VPORT and UCS: the view and axes the engine uses.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/db/BlockTableRecord.h"
#include "engine/db/LayerTableRecord.h"
#include "engine/db/LinetypeTableRecord.h"
#include "engine/db/SymbolTable.h"
#include "engine/db/TextStyleTableRecord.h"
#include "engine/db/UcsTableRecord.h"
#include "engine/db/ViewportTableRecord.h"
#include "engine/dxf/tags/DxfDocument.h"
#include "engine/db/Database.h"
#include "engine/dxf/tags/DxfTagWriter.h"
#include "engine/dxf/codecs/DxfCodecs.h"

namespace cad {

std::unique_ptr<DbObject> readLayer(DxfRecordRead& r) {
    auto layer = std::make_unique<LayerTableRecord>(r.name);
    std::string linetype;
    long long color = 7;
    std::optional<std::uint32_t> trueColor;
    for (const DxfTag& t : r.parts.body) {
        if (r.commonRecord(t)) continue;
        if (t.code == 62) color = r.in.integer(t);
        else if (t.code == 420) trueColor = static_cast<std::uint32_t>(r.in.integer(t));
        else if (t.code == 6) linetype = r.in.text(t.value);
        else if (t.code == 290) layer->setPlottable(r.in.integer(t) != 0);
        else if (t.code == 370) layer->setLineWeight(static_cast<int>(r.in.integer(t)));
        else r.extras.add(t);
    }
    layer->setOff(color < 0);
    color = std::min<long long>(std::llabs(color), 256);
    layer->setColor(trueColor ? Color::fromTrueColorValue(*trueColor) : Color::fromIndex(static_cast<int>(color)));
    if (!linetype.empty()) {
        ObjectId lt = r.in.database().recordId(TableKind::Linetype, linetype);
        if (lt) layer->setLinetypeId(lt);
        else r.in.warn(r.record.line, "layer " + r.name + " names linetype " + linetype + ", which does not exist");
    }
    return layer;
}

void writeLayer(DxfWriteServices& out, const DbObject& o, DxfExtraGroups&) {
    DxfTagWriter& w = out.tags();
    const auto& l = static_cast<const LayerTableRecord&>(o);
    const int index = l.color().isTrueColor() || l.color().isByLayer() || l.color().isByBlock()
                          ? (l.color().isTrueColor() ? l.color().colorIndex() : 7)
                          : l.color().colorIndex();
    w.integer(62, l.isOff() ? -std::abs(index) : std::abs(index));
    if (l.color().isTrueColor()) w.integer(420, l.color().trueColorValue());
    // A layer without a linetype is written with the table's own spelling of
    // Continuous, or the next read resolves it and writes a different name.
    std::string lt = "Continuous";
    ObjectId ltId = l.linetypeId() ? l.linetypeId() : out.database().recordId(TableKind::Linetype, lt);
    if (const auto* ltr = static_cast<const SymbolTableRecord*>(out.database().objectAt(ltId))) lt = ltr->name();
    w.string(6, out.text(lt));
    if (!l.isPlottable()) w.integer(290, 0);
    w.integer(370, l.lineWeight());
}

std::unique_ptr<DbObject> readAppId(DxfRecordRead& r) {
    auto app = std::make_unique<RegAppTableRecord>(r.name);
    for (const DxfTag& t : r.parts.body)
        if (!r.commonRecord(t)) r.extras.add(t);
    return app;
}

std::unique_ptr<DbObject> readBlockRecord(DxfRecordRead& r) {
    auto btr = std::make_unique<BlockTableRecord>(r.name);
    for (const DxfTag& t : r.parts.body) {
        if (r.commonRecord(t)) continue;
        if (t.code == 340) btr->setLayoutId(r.in.idOf(Handle::parse(t.value).value_or(Handle())));
        else if (t.code == 280) btr->setExplodable(r.in.integer(t) != 0);
        else if (t.code == 281) btr->setScaleUniformly(r.in.integer(t) != 0);
        else r.extras.add(t);
    }
    // 70 of a block record is its insertion units, not flags.
    btr->setInsertUnits(r.flags);
    r.flags = 0;
    return btr;
}

void writeBlockRecord(DxfWriteServices& out, const DbObject& o, DxfExtraGroups& extras) {
    DxfTagWriter& w = out.tags();
    const std::string marker(o.className());
    const auto& b = static_cast<const BlockTableRecord&>(o);
    out.handleTag(340, b.layoutId());
    out.extrasOf(extras, marker);
    w.integer(70, b.insertUnits());
    w.integer(280, b.explodable() ? 1 : 0);
    w.integer(281, b.scaleUniformly() ? 1 : 0);
}

std::unique_ptr<DbObject> readTextStyle(DxfRecordRead& r) {
    auto style = std::make_unique<TextStyleTableRecord>(r.name);
    DxfReadServices& in = r.in;
    for (const DxfTag& t : r.parts.body) {
        if (r.commonRecord(t)) continue;
        if (t.code == 40) style->setTextSize(in.num(t));
        else if (t.code == 41) style->setXScale(in.num(t));
        else if (t.code == 50) style->setObliquingAngle(in.num(t) * kDxfRadiansPerDegree);
        else if (t.code == 71) style->setGenerationFlags(static_cast<int>(in.integer(t)));
        else if (t.code == 42) style->setPriorSize(in.num(t));
        else if (t.code == 3) style->setFileName(in.text(t.value));
        else if (t.code == 4) style->setBigFontFileName(in.text(t.value));
        else r.extras.add(t);
    }
    return style;
}

void writeTextStyle(DxfWriteServices& out, const DbObject& o, DxfExtraGroups&) {
    DxfTagWriter& w = out.tags();
    const auto& s = static_cast<const TextStyleTableRecord&>(o);
    w.real(40, s.textSize());
    w.real(41, s.xScale());
    w.real(50, s.obliquingAngle() * kDxfDegreesPerRadian);
    w.integer(71, s.generationFlags());
    w.real(42, s.priorSize());
    w.string(3, out.text(s.fileName()));
    w.string(4, out.text(s.bigFontFileName()));
}

std::unique_ptr<DbObject> readLinetype(DxfRecordRead& r) {
    auto lt = std::make_unique<LinetypeTableRecord>(r.name);
    for (const DxfTag& t : r.parts.body) {
        if (r.commonRecord(t)) continue;
        if (t.code == 3) lt->setDescription(r.in.text(t.value));
        else r.extras.add(t);  // the pattern stays as read
    }
    return lt;
}

void writeLinetype(DxfWriteServices& out, const DbObject& o, DxfExtraGroups& extras) {
    DxfTagWriter& w = out.tags();
    const std::string marker(o.className());
    const auto& l = static_cast<const LinetypeTableRecord&>(o);
    w.string(3, out.text(l.description()));
    if (!extras.has(marker)) {
        w.integer(72, 65);
        w.integer(73, static_cast<std::int64_t>(l.dashes().size()));
        double total = 0;
        for (const auto& d : l.dashes()) total += std::abs(d.length);
        w.real(40, total);
        for (const auto& d : l.dashes()) {
            w.real(49, d.length);
            w.integer(74, d.complexFlags);
            if (d.complexFlags != 0) {
                w.integer(75, d.shapeNumber);
                out.handleTag(340, d.style);
                w.real(46, d.scale);
                w.real(50, d.rotation * kDxfDegreesPerRadian);
                w.real(44, d.xOffset);
                w.real(45, d.yOffset);
                if (d.complexFlags & 2) w.string(9, out.text(d.text));
            }
        }
    }
}

std::unique_ptr<DbObject> readViewportRecord(DxfRecordRead& r) {
    auto vport = std::make_unique<ViewportTableRecord>(r.name);
    for (const DxfTag& t : r.parts.body)
        if (!r.commonRecord(t)) r.extras.add(t);
    return vport;
}

void writeViewportRecord(DxfWriteServices& out, const DbObject& o, DxfExtraGroups& extras) {
    DxfTagWriter& w = out.tags();
    const std::string marker(o.className());
    if (extras.has(marker)) return;
    const auto& v = static_cast<const ViewportTableRecord&>(o);
    w.real(10, v.lowerLeft().x);
    w.real(20, v.lowerLeft().y);
    w.real(11, v.upperRight().x);
    w.real(21, v.upperRight().y);
    w.real(12, v.centerPoint().x);
    w.real(22, v.centerPoint().y);
    w.real(13, 0);
    w.real(23, 0);
    w.real(14, 0.5);
    w.real(24, 0.5);
    w.real(15, 0.5);
    w.real(25, 0.5);
    out.point(16, v.viewDirection());
    out.point(17, v.target());
    w.real(40, v.height());
    w.real(41, v.aspectRatio());
    w.real(42, 50);
    w.real(43, 0);
    w.real(44, 0);
    w.real(50, 0);
    w.real(51, 0);
    w.integer(71, 0);
    w.integer(72, 1000);
    w.integer(73, 1);
    w.integer(74, 3);
    w.integer(75, 0);
    w.integer(76, 0);
    w.integer(77, 0);
    w.integer(78, 0);
}

void writeUcs(DxfWriteServices& out, const DbObject& o, DxfExtraGroups& extras) {
    const std::string marker(o.className());
    if (extras.has(marker)) return;
    const auto& u = static_cast<const UcsTableRecord&>(o);
    out.point(10, u.origin());
    out.point(11, u.xAxis());
    out.point(12, u.yAxis());
}

}  // namespace cad
