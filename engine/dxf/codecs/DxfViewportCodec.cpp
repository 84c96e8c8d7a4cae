// VIEWPORT as layouts make it: centre (10), paper size (40, 41), status and id (68, 69), the
// view's centre, direction, target, lens and height, twist (51), frozen layers (331) and flags
// (90). Viewports read from a file are kept whole, so only the writing side is here.
#include "engine/db/Viewport.h"
#include "engine/dxf/tags/DxfTagWriter.h"
#include "engine/dxf/codecs/DxfCodecs.h"

namespace cad {

void writeViewport(DxfWriteServices& out, const DbObject& o, DxfExtraGroups& extras) {
    DxfTagWriter& w = out.tags();
    const auto& v = static_cast<const Viewport&>(o);
    w.string(100, "AcDbViewport");
    out.point(10, v.centerPoint());
    w.real(40, v.width());
    w.real(41, v.height());
    w.integer(68, v.status());
    w.integer(69, v.number());
    w.real(12, v.viewCenter().x);
    w.real(22, v.viewCenter().y);
    w.real(13, 0);
    w.real(23, 0);
    w.real(14, 10);
    w.real(24, 10);
    w.real(15, 10);
    w.real(25, 10);
    out.point(16, v.viewDirection());
    out.point(17, v.viewTarget());
    w.real(42, v.lensLength());
    w.real(43, 0);
    w.real(44, 0);
    w.real(45, v.viewHeight());
    w.real(50, 0);
    w.real(51, v.twistAngle() * kDxfDegreesPerRadian);
    w.integer(72, 1000);
    for (ObjectId layer : v.frozenLayers()) out.handleTag(331, layer);
    w.integer(90, v.statusFlags());
    w.string(1, "");
    w.integer(281, 0);
    w.integer(71, 1);
    w.integer(74, 0);
    out.point(110, Point3d{0, 0, 0});
    out.point(111, Point3d{1, 0, 0});
    out.point(112, Point3d{0, 1, 0});
    w.integer(79, 0);
    w.real(146, 0);
    w.integer(170, 0);
    out.extrasOf(extras, "AcDbViewport");
}

}  // namespace cad
