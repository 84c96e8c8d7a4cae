// CIRCLE and ARC: centre (10), radius (40), thickness (39), extrusion (210); an ARC adds its
// angles in degrees (50, 51) in a subclass of its own.
#include "engine/db/Arc.h"
#include "engine/dxf/tags/DxfTagWriter.h"
#include "engine/dxf/codecs/DxfCodecs.h"

namespace cad {

std::unique_ptr<DbObject> readCircle(DxfRecordRead& r) {
    std::unique_ptr<Circle> e;
    Arc* arc = nullptr;
    if (r.type() == "ARC") {
        auto a = std::make_unique<Arc>();
        arc = a.get();
        e = std::move(a);
    } else {
        e = std::make_unique<Circle>();
    }
    Point3d c;
    Vector3d n = Vector3d::zAxis();
    for (const DxfTag& t : r.parts.body) {
        if (r.common(t, *e) || r.in.pointPart(t, 10, c) || r.in.vectorPart(t, 210, n)) continue;
        if (t.code == 40) e->setRadius(r.in.num(t));
        else if (t.code == 39) e->setThickness(r.in.num(t));
        else if (arc && t.code == 50) arc->setStartAngle(r.in.num(t) * kDxfRadiansPerDegree);
        else if (arc && t.code == 51) arc->setEndAngle(r.in.num(t) * kDxfRadiansPerDegree);
        else r.extras.add(t);
    }
    e->setCenter(c);
    e->setNormal(n);
    return e;
}

void writeCircle(DxfWriteServices& out, const DbObject& o, DxfExtraGroups& extras) {
    const auto& c = static_cast<const Circle&>(o);
    DxfTagWriter& w = out.tags();
    w.string(100, "AcDbCircle");
    if (c.thickness() != 0) w.real(39, c.thickness());
    out.point(10, c.center());
    w.real(40, c.radius());
    if (c.normal() != Vector3d::zAxis()) out.point(210, c.normal());
    out.extrasOf(extras, "AcDbCircle");
    if (o.kind() == ObjectKind::Arc) {
        const auto& a = static_cast<const Arc&>(o);
        w.string(100, "AcDbArc");
        w.real(50, a.startAngle() * kDxfDegreesPerRadian);
        w.real(51, a.endAngle() * kDxfDegreesPerRadian);
        out.extrasOf(extras, "AcDbArc");
    }
}

}  // namespace cad
