// LINE: start (10), end (11), thickness (39), extrusion (210).
#include "engine/db/Line.h"
#include "engine/dxf/tags/DxfTagWriter.h"
#include "engine/dxf/codecs/DxfCodecs.h"

namespace cad {

std::unique_ptr<DbObject> readLine(DxfRecordRead& r) {
    auto e = std::make_unique<Line>();
    Point3d a, b;
    Vector3d n = Vector3d::zAxis();
    for (const DxfTag& t : r.parts.body) {
        if (r.common(t, *e) || r.in.pointPart(t, 10, a) || r.in.pointPart(t, 11, b) || r.in.vectorPart(t, 210, n))
            continue;
        if (t.code == 39) e->setThickness(r.in.num(t));
        else r.extras.add(t);
    }
    e->setStartPoint(a);
    e->setEndPoint(b);
    e->setNormal(n);
    return e;
}

void writeLine(DxfWriteServices& out, const DbObject& o, DxfExtraGroups& extras) {
    const auto& l = static_cast<const Line&>(o);
    DxfTagWriter& w = out.tags();
    w.string(100, "AcDbLine");
    if (l.thickness() != 0) w.real(39, l.thickness());
    out.point(10, l.startPoint());
    out.point(11, l.endPoint());
    if (l.normal() != Vector3d::zAxis()) out.point(210, l.normal());
    out.extrasOf(extras, "AcDbLine");
}

}  // namespace cad
