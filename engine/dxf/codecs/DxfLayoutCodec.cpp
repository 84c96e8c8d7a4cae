// LAYOUT: AcDbPlotSettings (not modelled: kept whole with its marker, or written from the
// defaults for a layout made here), then AcDbLayout: name (1), flags (70), tab order (71), limits,
// insertion base, extents, elevation and UCS, the block record (330) and last active viewport (331).
#include "engine/db/Layout.h"
#include "engine/db/Database.h"
#include "engine/dxf/tags/DxfTagWriter.h"
#include "engine/dxf/codecs/DxfCodecs.h"

namespace cad {

std::unique_ptr<DbObject> readLayout(DxfRecordRead& r) {
    auto l = std::make_unique<Layout>();
    std::string_view subclass;
    for (const DxfTag& t : r.parts.body) {
        if (t.code == 100) {
            subclass = trimDxfBlanks(t.value);
            r.extras.marker(subclass, subclass == "AcDbLayout");
            continue;
        }
        if (subclass != "AcDbLayout") {
            r.extras.add(t);
            continue;
        }
        if (t.code == 1) l->setLayoutName(r.in.text(t.value));
        else if (t.code == 70) l->setLayoutFlags(static_cast<int>(r.in.integer(t)));
        else if (t.code == 71) l->setTabOrder(static_cast<int>(r.in.integer(t)));
        else if (t.code == 330) l->setBlockTableRecordId(r.in.idOf(Handle::parse(t.value).value_or(Handle())));
        else if (t.code == 331) l->setLastActiveViewportId(r.in.idOf(Handle::parse(t.value).value_or(Handle())));
        else r.extras.add(t);
    }
    return l;
}

void writeLayout(DxfWriteServices& out, const DbObject& o, DxfExtraGroups& extras) {
    DxfTagWriter& w = out.tags();
    const auto& l = static_cast<const Layout&>(o);
    w.string(100, "AcDbPlotSettings");
    if (extras.has("AcDbPlotSettings")) {
        out.extrasOf(extras, "AcDbPlotSettings");
    } else {
        const PlotSettings& p = l.plotSettings();
        w.string(1, out.text(p.pageSetupName));
        w.string(2, out.text(p.plotConfigurationName));
        w.string(4, out.text(p.canonicalMediaName));
        w.string(6, out.text(p.plotViewName));
        w.real(40, p.marginLeft);
        w.real(41, p.marginBottom);
        w.real(42, p.marginRight);
        w.real(43, p.marginTop);
        w.real(44, p.paperWidth);
        w.real(45, p.paperHeight);
        w.real(46, p.plotOrigin.x);
        w.real(47, p.plotOrigin.y);
        w.real(48, p.windowMin.x);
        w.real(49, p.windowMin.y);
        w.real(140, p.windowMax.x);
        w.real(141, p.windowMax.y);
        w.real(142, p.scaleNumerator);
        w.real(143, p.scaleDenominator);
        w.integer(70, p.layoutFlags);
        w.integer(72, p.paperUnits);
        w.integer(73, p.rotation);
        w.integer(74, p.plotType);
        w.string(7, out.text(p.styleSheet));
        w.integer(75, p.standardScaleType);
        w.integer(76, p.shadePlotMode);
        w.integer(77, p.shadePlotResLevel);
        w.integer(78, p.shadePlotDpi);
        w.real(147, p.standardScale);
        w.real(148, p.paperImageOrigin.x);
        w.real(149, p.paperImageOrigin.y);
    }
    w.string(100, "AcDbLayout");
    w.string(1, out.text(l.layoutName()));
    w.integer(70, l.layoutFlags());
    w.integer(71, l.tabOrder());
    if (extras.has("AcDbLayout")) {
        out.extrasOf(extras, "AcDbLayout");
    } else {
        w.real(10, l.limitsMin.x);
        w.real(20, l.limitsMin.y);
        w.real(11, l.limitsMax.x);
        w.real(21, l.limitsMax.y);
        out.point(12, l.insertionBase);
        out.point(14, l.extentsMin);
        out.point(15, l.extentsMax);
        w.real(146, l.elevation);
        out.point(13, l.ucsOrigin);
        out.point(16, l.ucsXAxis);
        out.point(17, l.ucsYAxis);
        w.integer(76, l.ucsType);
    }
    out.handleTag(330, l.blockTableRecordId());
    if (l.lastActiveViewportId()) out.handleTag(331, l.lastActiveViewportId());
}

}  // namespace cad
