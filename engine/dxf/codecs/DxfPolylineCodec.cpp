// LWPOLYLINE: count (90, derived), flags (70: 1 closed, 128 plinegen), constant width (43),
// elevation (38), thickness (39), then per vertex 10/20 with optional 91 id, 40/41 widths and
// 42 bulge; extrusion (210). The vertex codes repeat, so they are read in order.
#include "engine/db/Polyline.h"
#include "engine/dxf/tags/DxfTagWriter.h"
#include "engine/dxf/codecs/DxfCodecs.h"

namespace cad {

std::unique_ptr<DbObject> readPolyline(DxfRecordRead& r) {
    auto e = std::make_unique<Polyline>();
    std::vector<Polyline::Vertex> vertices;
    Vector3d n = Vector3d::zAxis();
    bool inVertices = false;
    for (const DxfTag& t : r.parts.body) {
        if (r.common(t, *e) || r.in.vectorPart(t, 210, n)) continue;
        switch (t.code) {
            case 90: break;  // the count follows from the vertices
            case 70:
                e->setClosed((r.in.integer(t) & 1) != 0);
                e->setPlinegen((r.in.integer(t) & 128) != 0);
                break;
            case 43: e->setConstantWidth(r.in.num(t)); break;
            case 38: e->setElevation(r.in.num(t)); break;
            case 39: e->setThickness(r.in.num(t)); break;
            case 10:
                vertices.push_back({});
                vertices.back().point.x = r.in.num(t);
                inVertices = true;
                break;
            case 20:
                if (inVertices) vertices.back().point.y = r.in.num(t);
                break;
            case 40:
                if (inVertices) vertices.back().startWidth = r.in.num(t);
                break;
            case 41:
                if (inVertices) vertices.back().endWidth = r.in.num(t);
                break;
            case 42:
                if (inVertices) vertices.back().bulge = r.in.num(t);
                break;
            case 91:
                if (inVertices) {
                    vertices.back().id = static_cast<std::int32_t>(r.in.integer(t));
                    e->setHasVertexIds(true);
                } else {
                    r.extras.add(t);
                }
                break;
            default: r.extras.add(t);
        }
    }
    e->setVertices(std::move(vertices));
    e->setNormal(n);
    return e;
}

void writePolyline(DxfWriteServices& out, const DbObject& o, DxfExtraGroups& extras) {
    const auto& p = static_cast<const Polyline&>(o);
    DxfTagWriter& w = out.tags();
    w.string(100, "AcDbPolyline");
    w.integer(90, static_cast<std::int64_t>(p.vertices().size()));
    w.integer(70, (p.isClosed() ? 1 : 0) | (p.hasPlinegen() ? 128 : 0));
    bool widths = false;
    for (const auto& v : p.vertices()) widths = widths || v.startWidth != 0 || v.endWidth != 0;
    // A width never set is no width: -1 in the file would read elsewhere as a width of one unit.
    if (!widths && p.constantWidth() >= 0) w.real(43, p.constantWidth());
    if (p.elevation() != 0) w.real(38, p.elevation());
    if (p.thickness() != 0) w.real(39, p.thickness());
    for (const auto& v : p.vertices()) {
        w.real(10, v.point.x);
        w.real(20, v.point.y);
        if (p.hasVertexIds() && out.version() >= 1024) w.integer(91, v.id);
        if (widths) {
            w.real(40, v.startWidth);
            w.real(41, v.endWidth);
        }
        if (v.bulge != 0) w.real(42, v.bulge);
    }
    if (p.normal() != Vector3d::zAxis()) out.point(210, p.normal());
    out.extrasOf(extras, "AcDbPolyline");
}

}  // namespace cad
