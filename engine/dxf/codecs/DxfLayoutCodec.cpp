// LAYOUT: AcDbPlotSettings (the page set-up: device, media, margins, paper size, window, scale,
// flags, rotation, plot type, style sheet, shading), then AcDbLayout: name (1), flags (70), tab
// order (71), limits, insertion base, extents, elevation and UCS, the block record (330) and last
// active viewport (331). Codes neither part models stay among the extras, in their place.
#include "engine/db/Layout.h"
#include "engine/db/Database.h"
#include "engine/dxf/tags/DxfTagWriter.h"
#include "engine/dxf/codecs/DxfCodecs.h"

namespace cad {

namespace {

// A page set-up code; false when AcDbPlotSettings has no field for it.
bool readPlotSetting(DxfRecordRead& r, const DxfTag& t, PlotSettings& p) {
    DxfReadServices& in = r.in;
    switch (t.code) {
        case 1: p.pageSetupName = in.text(t.value); return true;
        case 2: p.plotConfigurationName = in.text(t.value); return true;
        case 4: p.canonicalMediaName = in.text(t.value); return true;
        case 6: p.plotViewName = in.text(t.value); return true;
        case 7: p.styleSheet = in.text(t.value); return true;
        case 40: p.marginLeft = in.num(t); return true;
        case 41: p.marginBottom = in.num(t); return true;
        case 42: p.marginRight = in.num(t); return true;
        case 43: p.marginTop = in.num(t); return true;
        case 44: p.paperWidth = in.num(t); return true;
        case 45: p.paperHeight = in.num(t); return true;
        case 46: p.plotOrigin.x = in.num(t); return true;
        case 47: p.plotOrigin.y = in.num(t); return true;
        case 48: p.windowMin.x = in.num(t); return true;
        case 49: p.windowMin.y = in.num(t); return true;
        case 140: p.windowMax.x = in.num(t); return true;
        case 141: p.windowMax.y = in.num(t); return true;
        case 142: p.scaleNumerator = in.num(t); return true;
        case 143: p.scaleDenominator = in.num(t); return true;
        case 70: p.layoutFlags = static_cast<int>(in.integer(t)); return true;
        case 72: p.paperUnits = static_cast<int>(in.integer(t)); return true;
        case 73: p.rotation = static_cast<int>(in.integer(t)); return true;
        case 74: p.plotType = static_cast<int>(in.integer(t)); return true;
        case 75: p.standardScaleType = static_cast<int>(in.integer(t)); return true;
        case 76: p.shadePlotMode = static_cast<int>(in.integer(t)); return true;
        case 77: p.shadePlotResLevel = static_cast<int>(in.integer(t)); return true;
        case 78: p.shadePlotDpi = static_cast<int>(in.integer(t)); return true;
        case 147: p.standardScale = in.num(t); return true;
        case 148: p.paperImageOrigin.x = in.num(t); return true;
        case 149: p.paperImageOrigin.y = in.num(t); return true;
        default: return false;
    }
}

// A code of AcDbLayout's own part after name, flags and tab order; false when it has no field.
bool readLayoutPart(DxfRecordRead& r, const DxfTag& t, Layout& l) {
    DxfReadServices& in = r.in;
    switch (t.code) {
        case 10: l.limitsMin.x = in.num(t); return true;
        case 20: l.limitsMin.y = in.num(t); return true;
        case 11: l.limitsMax.x = in.num(t); return true;
        case 21: l.limitsMax.y = in.num(t); return true;
        case 146: l.elevation = in.num(t); return true;
        case 76: l.ucsType = static_cast<int>(in.integer(t)); return true;
        default: break;
    }
    return in.pointPart(t, 12, l.insertionBase) || in.pointPart(t, 14, l.extentsMin) ||
           in.pointPart(t, 15, l.extentsMax) || in.pointPart(t, 13, l.ucsOrigin) ||
           in.vectorPart(t, 16, l.ucsXAxis) || in.vectorPart(t, 17, l.ucsYAxis);
}

}  // namespace

std::unique_ptr<DbObject> readLayout(DxfRecordRead& r) {
    auto l = std::make_unique<Layout>();
    PlotSettings settings;
    std::string_view subclass;
    for (const DxfTag& t : r.parts.body) {
        if (t.code == 100) {
            subclass = trimDxfBlanks(t.value);
            r.extras.marker(subclass, subclass == "AcDbLayout" || subclass == "AcDbPlotSettings");
            continue;
        }
        if (subclass == "AcDbPlotSettings") {
            if (!readPlotSetting(r, t, settings)) r.extras.add(t);
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
        else if (!readLayoutPart(r, t, *l)) r.extras.add(t);
    }
    l->plotSettings() = std::move(settings);
    return l;
}

void writeLayout(DxfWriteServices& out, const DbObject& o, DxfExtraGroups& extras) {
    DxfTagWriter& w = out.tags();
    const auto& l = static_cast<const Layout&>(o);
    const PlotSettings& p = l.plotSettings();
    w.string(100, "AcDbPlotSettings");
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
    out.extrasOf(extras, "AcDbPlotSettings");
    w.string(100, "AcDbLayout");
    w.string(1, out.text(l.layoutName()));
    w.integer(70, l.layoutFlags());
    w.integer(71, l.tabOrder());
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
    out.handleTag(330, l.blockTableRecordId());
    if (l.lastActiveViewportId()) out.handleTag(331, l.lastActiveViewportId());
    out.extrasOf(extras, "AcDbLayout");
}

}  // namespace cad
