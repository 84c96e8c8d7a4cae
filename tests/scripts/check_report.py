"""Prints what another reader sees of a drawing after a graphic report: the active layout, every
layer's states, each hatch with its settings, draw-order place and boundary loops, the link lines
and their labels, and the space blocks' attribute texts. Exit status 2 when the file does not load.

usage: check_report.py DRAWING.dxf
"""
import math
import sys

import ezdxf


def loops(hatch):
    for path in hatch.paths:
        if hasattr(path, "vertices"):
            points = [(v[0], v[1]) for v in path.vertices]
        else:
            points = [(e.start[0], e.start[1]) for e in path.edges]
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        yield "  loop %d %.0f,%.0f %.0f,%.0f" % (path.path_type_flags, min(xs), min(ys), max(xs), max(ys))


def main(path):
    try:
        doc = ezdxf.readfile(path)
    except Exception as error:  # noqa: BLE001 - any failure to load is the answer
        print("LOAD FAILED:", error)
        sys.exit(2)
    print("active layout:", doc.layouts.active_layout().name, "TILEMODE", doc.header.get("$TILEMODE"))
    for layer in sorted(doc.layers, key=lambda l: l.dxf.name.upper()):
        print("layer %s on=%d frozen=%d locked=%d plot=%d lineweight=%d" % (
            layer.dxf.name, layer.is_on(), layer.is_frozen(), layer.is_locked(), layer.dxf.get("plot", 1),
            layer.dxf.get("lineweight", -3)))
    msp = doc.modelspace()
    order = [e.dxf.handle for e in msp.entities_in_redraw_order()]
    for hatch in msp.query("HATCH"):
        place = order.index(hatch.dxf.handle)
        print("hatch %s angle=%g scale=%g colour=%06X layer=%s drawn=%s loops=%d" % (
            hatch.dxf.pattern_name, hatch.dxf.pattern_angle, hatch.dxf.pattern_scale,
            hatch.dxf.get("true_color", 0), hatch.dxf.layer, "first" if place < len(msp.query("HATCH")) else place,
            len(hatch.paths)))
        for line in loops(hatch):
            print(line)
    for line in msp.query("LINE"):
        print("line %s colour=%06X lineweight=%d layer=%s %.0f,%.0f -> %.0f,%.0f" % (
            line.dxf.linetype, line.dxf.get("true_color", 0), line.dxf.lineweight, line.dxf.layer,
            line.dxf.start[0], line.dxf.start[1], line.dxf.end[0], line.dxf.end[1]))
    for text in msp.query("TEXT"):
        print("label %r height=%g rotation=%g align=%d,%d colour=%06X layer=%s at %.0f,%.0f" % (
            text.dxf.text, text.dxf.height, round(text.dxf.rotation, 6), text.dxf.halign, text.dxf.valign,
            text.dxf.get("true_color", 0), text.dxf.layer, text.dxf.align_point[0], text.dxf.align_point[1]))
    if "T_E_S_T" in doc.linetypes:
        tags = doc.linetypes.get("T_E_S_T").pattern_tags.tags
        print("linetype T_E_S_T", [round(t.value, 3) for t in tags if t.code == 49])
    for insert in msp.query("INSERT"):
        if insert.dxf.name.startswith("ROOM-"):
            print("space %s %s" % (insert.dxf.name, " ".join(
                "%s=%r/%g" % (a.dxf.tag, a.dxf.text, a.dxf.height) for a in insert.attribs)))


if __name__ == "__main__":
    main(sys.argv[1])
