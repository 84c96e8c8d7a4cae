#!/usr/bin/python3
"""Reads back, with an independent DXF reader, what create_spaces.scr saved (created.dxf in the
folder given): the created space blocks, the gross area block, and what mdb put back."""
import math
import sys
from pathlib import Path

import ezdxf

folder = Path(sys.argv[1])
doc = ezdxf.readfile(folder / "created.dxf")
auditor = doc.audit()
assert not auditor.has_errors, [str(e.message) for e in auditor.errors]
msp = doc.modelspace()
problems = []


def check(condition, message):
    if not condition:
        problems.append(message)


def polygon_area(points):
    """Area of a closed polyline given as (x, y, bulge), arc segments included: the chord polygon
    plus, per bulge b over a chord c, the circular segment c^2 (theta - sin theta) / (8 sin^2(theta/2))
    with theta = 4 atan b, signed like the bulge."""
    area = 0.0
    n = len(points)
    for i in range(n):
        x0, y0, b = points[i]
        x1, y1, _ = points[(i + 1) % n]
        area += x0 * y1 - x1 * y0
    area /= 2.0
    for i in range(n):
        x0, y0, b = points[i]
        x1, y1, _ = points[(i + 1) % n]
        if b == 0:
            continue
        theta = 4 * math.atan(abs(b))
        chord = math.hypot(x1 - x0, y1 - y0)
        radius = chord / (2 * math.sin(theta / 2))
        segment = radius * radius * (theta - math.sin(theta)) / 2
        area += math.copysign(segment, b)
    return abs(area)


def reference(name):
    found = [e for e in msp.query("INSERT") if e.dxf.name == name]
    check(len(found) == 1, f"{name}: {len(found)} references in model space")
    return found[0] if found else None


def xdata_items(insert):
    tags = insert.get_xdata("ADE")
    return [t.value for t in tags]


def check_space(name, space_name, drawn, at, height, expected_area):
    ref = reference(name)
    if ref is None:
        return
    block = doc.blocks.get(name)
    entities = list(block)
    check(entities and entities[0].dxftype() == "LWPOLYLINE", f"{name}: the outline is not the first entity")
    outline = entities[0]
    ix, iy, _ = ref.dxf.insert
    check((ix, iy) == at, f"{name}: inserted at {(ix, iy)}, expected {at}")
    shown = [(x + ix, y + iy, b) for x, y, b in outline.get_points("xyb")]
    check(shown == drawn, f"{name}: outline shown at {shown}, drawn at {drawn}")
    check(outline.closed, f"{name}: outline not closed")
    # Attribute definitions: AREA at the point, NAME above, AUX below, in that order.
    definitions = [e for e in entities if e.dxftype() == "ATTDEF"]
    check([d.dxf.tag for d in definitions] == ["AREA", "NAME", "AUX"], f"{name}: definitions {definitions}")
    offsets = {"AREA": 0.0, "NAME": 1.5 * height, "AUX": -1.5 * height}
    layers = {"AREA": "ATT-AREA", "NAME": "ATT-NAME", "AUX": "ATT-AUX"}
    prompts = {"AREA": "Enter Area", "NAME": "Enter Name", "AUX": "Enter Auxillary Value"}
    for d in definitions:
        x, y, _ = d.dxf.insert
        check((x, y) == (0.0, offsets[d.dxf.tag]), f"{name}: {d.dxf.tag} definition at {(x, y)}")
        check(d.dxf.height == height, f"{name}: {d.dxf.tag} definition height {d.dxf.height}")
        check(d.dxf.width == 0.9, f"{name}: {d.dxf.tag} definition width factor {d.dxf.width}")
        check(d.dxf.layer == layers[d.dxf.tag], f"{name}: {d.dxf.tag} definition on {d.dxf.layer}")
        check(d.dxf.prompt == prompts[d.dxf.tag], f"{name}: {d.dxf.tag} prompt {d.dxf.prompt}")
    items = xdata_items(ref)
    check(len(items) + 1 == 19, f"{name}: XData has {len(items) + 1} items")
    record = dict(i.split("=", 1) for i in items if "=" in i)
    area = float(record["AREA"].replace("sq.m.", ""))
    check(abs(area - round(expected_area, 2)) < 1e-9, f"{name}: record area {area}, outline {expected_area:.4f}")
    measured = polygon_area(outline.get_points("xyb")) / 1e6
    check(abs(measured - expected_area) < 1e-6, f"{name}: measured {measured} but expected {expected_area}")
    check(record["NAME"] == space_name, f"{name}: record name {record['NAME']}")
    values = {a.dxf.tag: (a.dxf.text, a.dxf.insert, a.dxf.height) for a in ref.attribs}
    check(all(a.dxf.width == 0.9 for a in ref.attribs), f"{name}: attribute width factors")
    check(values["NAME"][0] == space_name, f"{name}: NAME attribute {values['NAME'][0]}")
    check(values["AREA"][0] == f"{expected_area:.2f}sq.m.", f"{name}: AREA attribute {values['AREA'][0]}")
    check(values["AUX"][0] == " ", f"{name}: AUX attribute {values['AUX'][0]!r}")
    for tag, (_, position, h) in values.items():
        check((position[0], position[1]) == (at[0], at[1] + offsets[tag]), f"{name}: {tag} attribute at {position}")
        check(h == height, f"{name}: {tag} attribute height {h}")


bulged = 24.0 + math.pi * 2.0 ** 2 / 2
check_space("ROOM-13", "Office 07", [(0, 0, 0), (6000, 0, 1.0), (6000, 4000, 0), (0, 4000, 0)], (3000, 2000), 200.0,
            bulged)
check_space("ROOM-14", "Office 13", [(10000, 0, 0), (16000, 0, 0), (16000, 4000, 0), (10000, 4000, 0)], (13000, 2000),
            200.0, 24.0)
gross = reference("ROOM-GROSS_AREA")
if gross is not None:
    items = xdata_items(gross)
    check("NAME=GROSS AREA" in items and "AREA=228.00sq.m." in items, f"gross area record {items}")
# The picked outlines moved into the blocks; the open one and the locked one stay.
outlines = [tuple(p[:2] for p in e.get_points("xy")) for e in msp.query("LWPOLYLINE")]
check(((0, 0), (6000, 0), (6000, 4000), (0, 4000)) not in outlines, "the bulged outline is still in model space")
check(((20000, 0), (26000, 0), (26000, 4000), (20000, 4000)) in outlines, "the open outline is gone")
# mdb: ROOM-12 is still shown by its second reference, ROOM-3 by nothing.
check("ROOM-12" in doc.blocks and "ROOM-3" not in doc.blocks, "definitions after mdb")
check(len([e for e in msp.query("INSERT") if e.dxf.name == "ROOM-12"]) == 1, "ROOM-12 references after mdb")
check(((0, 10000), (4000, 10000), (4000, 14000), (0, 14000)) in outlines, "ROOM-3's outline not put back")
check(((10000, 10000), (14000, 10000), (14000, 14000), (10000, 14000)) in outlines, "ROOM-12's outline not put back")
schedule = (folder / "created.csv").read_text(encoding="utf-8")
check("Office 07,30.28" in schedule and "Office 13,24.00" in schedule, f"schedule: {schedule}")

# The dialog's edits went to the preferences file as they were typed.
prefs = (folder / "appdata" / "KorvaSystems" / "Brinmo" / "prefs" / "prefs.cfg").read_text().split("\n")
saved = {prefs[i]: prefs[i + 1] for i in range(len(prefs) - 1) if prefs[i] in ("textSize", "textScale")}
check(saved == {"textSize": "200.00", "textScale": "0.90"}, f"preferences saved: {saved}")

if problems:
    print("\n".join(problems))
    sys.exit(1)
