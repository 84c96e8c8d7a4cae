// Objects the engine makes and writes but keeps whole when a file has them: XRECORD (cloning
// flag 280 and its data as given), GROUP (description 300, anonymous 70, selectable 71, members
// 340), TABLESTYLE (the R2010 version tag, description, flow, margins and three cell styles) and
// ACDBPLACEHOLDER, which has no data.
#include "engine/db/Group.h"
#include "engine/db/SymbolTable.h"
#include "engine/db/TableStyle.h"
#include "engine/db/XRecord.h"
#include "engine/db/Database.h"
#include "engine/dxf/tags/DxfTagWriter.h"
#include "engine/dxf/codecs/DxfCodecs.h"

namespace cad {

void writeXRecord(DxfWriteServices& out, const DbObject& o, DxfExtraGroups&) {
    DxfTagWriter& w = out.tags();
    const auto& x = static_cast<const XRecord&>(o);
    w.string(100, "AcDbXrecord");
    w.integer(280, x.cloning());
    for (const RawTag& t : x.data()) w.string(t.code, t.value);
}

void writeGroup(DxfWriteServices& out, const DbObject& o, DxfExtraGroups&) {
    DxfTagWriter& w = out.tags();
    const auto& g = static_cast<const Group&>(o);
    w.string(100, "AcDbGroup");
    w.string(300, out.text(g.description()));
    w.integer(70, g.isAnonymous() ? 1 : 0);
    w.integer(71, g.isSelectable() ? 1 : 0);
    for (ObjectId m : g.entityIds()) {
        const DbObject* e = out.database().objectAt(m);
        if (e && !e->isErased()) out.handleTag(340, m);
    }
}

void writeTableStyle(DxfWriteServices& out, const DbObject& o, DxfExtraGroups& extras) {
    DxfTagWriter& w = out.tags();
    const auto& t = static_cast<const TableStyle&>(o);
    w.string(100, "AcDbTableStyle");
    if (out.version() >= 1024) w.integer(280, 0);
    w.string(3, out.text(t.description()));
    w.integer(70, t.flowDirection());
    w.integer(71, t.flags());
    w.real(40, t.horizontalMargin());
    w.real(41, t.verticalMargin());
    w.integer(280, t.isTitleSuppressed() ? 1 : 0);
    w.integer(281, t.isHeaderSuppressed() ? 1 : 0);
    for (int row = 0; row < 3; ++row) {
        const TableStyle::CellStyle& c = t.cellStyle(static_cast<TableStyle::Row>(row));
        std::string style = "Standard";
        if (const auto* s = static_cast<const SymbolTableRecord*>(out.database().objectAt(c.textStyle))) style = s->name();
        w.string(7, out.text(style));
        w.real(140, c.textHeight);
        w.integer(170, c.alignment);
        w.integer(62, c.textColor.colorIndex());
        w.integer(63, c.fillColor.colorIndex());
        w.integer(283, c.fillEnabled ? 1 : 0);
        w.integer(90, 512);
        w.integer(91, 0);
        w.string(1, "");
        for (int k = 274; k <= 279; ++k) w.integer(k, -2);
        for (int k = 284; k <= 289; ++k) w.integer(k, 1);
        for (int k = 64; k <= 69; ++k) w.integer(k, 0);
    }
    out.extrasOf(extras, "AcDbTableStyle");
}

void writePlaceholder(DxfWriteServices&, const DbObject&, DxfExtraGroups&) {}

}  // namespace cad
