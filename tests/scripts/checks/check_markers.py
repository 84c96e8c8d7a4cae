#!/usr/bin/python3
"""Reads back, with an independent DXF reader, the markers markers.scr made (outlines.dxf in the
folder given): each definition holds the picked entity with its base point at the origin and the
attribute definitions in order below it; each reference stands at the base point on its marker
layer, which is off."""
import math
import sys
from pathlib import Path

import ezdxf

doc = ezdxf.readfile(Path(sys.argv[1]) / "outlines.dxf")
assert not doc.audit().has_errors
problems = []


def check(condition, message):
    if not condition:
        problems.append(message)


def marker(name, layer, entity_type, base, rotation, height, rows):
    block = doc.blocks.get(name)
    if block is None:
        problems.append(f"no block {name}")
        return None
    entities = list(block)
    check(entities[0].dxftype() == entity_type, f"{name}: first entity {entities[0].dxftype()}")
    definitions = [e for e in entities if e.dxftype() == "ATTDEF"]
    got = [(d.dxf.tag, d.dxf.prompt, d.dxf.text) for d in definitions]
    check(got == rows, f"{name}: definitions {got}")
    for i, d in enumerate(definitions):
        x, y, _ = d.dxf.insert
        check((x, y) == (0, -(i + 1) * height), f"{name}: {d.dxf.tag} at {(x, y)}")
        check(d.dxf.height == height and d.dxf.layer == layer, f"{name}: {d.dxf.tag} height/layer")
        check(d.dxf.get("field_length", 0) in (0, len(d.dxf.text) + 1) and not d.is_const, f"{name}: {d.dxf.tag} flags")
    refs = [e for e in doc.modelspace().query("INSERT") if e.dxf.name == name]
    check(len(refs) == 1, f"{name}: {len(refs)} references")
    if refs:
        ref = refs[0]
        check(tuple(ref.dxf.insert)[:2] == base, f"{name}: inserted at {tuple(ref.dxf.insert)}")
        check(math.isclose(ref.dxf.rotation, rotation), f"{name}: rotation {ref.dxf.rotation}")
        check(ref.dxf.layer == layer, f"{name}: on {ref.dxf.layer}")
        values = [(a.dxf.tag, a.dxf.text) for a in ref.attribs]
        check(values == [(t, v) for t, _, v in rows], f"{name}: attributes {values}")
    check(doc.layers.get(layer).is_off(), f"{layer} is on")
    return entities[0]


frame = marker("MARKER-LEGEND", "KORVA_LEGEND_MARKER", "LWPOLYLINE", (40000, 14000), 90.0, 400.0,
               [("LEGENDTITLE", "", "LEGEND BLOCK"), ("LEGENDTEXTSIZE", "Enter legend text size", "400.000"),
                ("LEGENDPRECISION", "Enter precision", "3"), ("LEGENDROTATION", "Enter Rotation", "90.000"),
                ("LEGENDUNITS", "Enter legend units", "0")])
if frame is not None:
    points = [tuple(p) for p in frame.get_points("xy")]
    check(points == [(0, -6000), (8000, -6000), (8000, 0), (0, 0)], f"legend frame {points}")
circle = marker("MARKER-PIECHART", "KORVA_PIECHART_MARKER", "CIRCLE", (45000, 0), 0.0, 300.0,
                [("PIETITLE", "", "PIE BLOCK"), ("PIETEXTSIZE", "Enter pie text size", "300.0"),
                 ("PIEPRECISION", "Enter precision", "1"), ("PIERADIUS", "Enter Radius", "2000.0"),
                 ("PIEXYOFFSETVALUE", "Enter pie chart offset value", "500.0")])
if circle is not None:
    check(tuple(circle.dxf.center)[:2] == (0, 0) and circle.dxf.radius == 2000, "pie circle not at the origin")
# The picked entities moved into the markers.
check(doc.entitydb.get("5A") is None or doc.entitydb["5A"].is_alive is False, "the frame is still in model space")

if problems:
    print("\n".join(problems))
    sys.exit(1)
