#!/usr/bin/python3
"""Reads back, with an independent DXF reader, the legend and pie chart legend_pie.scr drew
(outlines.dxf in the folder given). The legend block holds one table (read at tag level: ezdxf
keeps no table data) whose anonymous block shows it; the pie chart block holds a wedge, a hatch,
a line and a label per category with spaces, whose angles are worked out here from the report
file: the areas it gives its spaces against its total."""
import math
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

import ezdxf
from ezdxf.lldxf.tagger import ascii_tags_loader, tag_compiler

folder = Path(sys.argv[1])
path = folder / "outlines.dxf"
doc = ezdxf.readfile(path)
auditor = doc.audit()
assert not auditor.has_errors, [str(e.message) for e in auditor.errors]
problems = []


def check(condition, message):
    if not condition:
        problems.append(message)


TITLE = "Floor 1: by team"
legend_name = "[KORVA_LEGEND]_Floor 1_ by team"
pie_name = "[KORVA_PIECHART]_Floor 1_ by team"

# Each category's area: the sum of the areas the report file gives its spaces.
ns = {"r": "urn:brinmo:documentMonitor"}
report = ET.parse(folder / "legend_pie.xml").getroot()
total = float(report.find("r:grTotalChildAreas", ns).text)
areas = [sum(float(b.findtext("r:mbArea", "0", ns)) for b in c.iter("{urn:brinmo:documentMonitor}korvaBlock"))
         for c in report.iter("{urn:brinmo:documentMonitor}category")]
categories = [("Team A", (255, 0, 0)), ("Team B\\East", (0, 192, 0)), ("Empty", (0, 0, 255))]

# ---- legend ----
legend = doc.blocks.get(legend_name)
check(legend is not None, f"no legend block; blocks: {[b.name for b in doc.blocks]}")
refs = [e for e in doc.modelspace().query("INSERT") if e.dxf.name == legend_name]
check(len(refs) == 1, f"{len(refs)} legend references after applying twice")
if refs:
    check(tuple(refs[0].dxf.insert)[:2] == (40000, 14000), f"legend at {refs[0].dxf.insert}")
    # The report switches every layer but its own off; what it drew stays on show.
    check(not doc.layers.get(refs[0].dxf.layer).is_off(), f"the legend's layer {refs[0].dxf.layer} is off")
    check(doc.layers.get("OUTLINES").is_off(), "the report left OUTLINES on")
with open(path, encoding="cp1252", errors="replace") as f:
    tags = list(tag_compiler(iter(ascii_tags_loader(f))))
tables = [i for i, t in enumerate(tags) if t.code == 0 and t.value == "ACAD_TABLE"]
check(len(tables) == 1, f"{len(tables)} tables in the file")
start = tables[0]
end = next(i for i in range(start + 1, len(tags)) if tags[i].code == 0)
body = tags[start + 1:end]
owner = next(t.value for t in body if t.code == 330)
check(doc.entitydb[owner].dxf.name == legend_name, "the table is not in the legend block")
shown = next(t.value for t in body if t.code == 2)
table = body[next(i for i, t in enumerate(body) if t.code == 100 and t.value == "AcDbTable"):]
first = lambda code: next(t.value for t in table if t.code == code)
check((first(91), first(92)) == (5, 3), f"rows/columns {first(91)}, {first(92)}")
widths = [t.value for t in table if t.code == 142]
# Column widths count characters: "Description"+1 (the doubled backslash title is one longer),
# "Hatch"+1, "Area sq.m."+1, times the legend marker's text size.
check(widths == [13 * 4000.0, 6 * 4000.0, 11 * 4000.0], f"widths {widths}")
texts = [t.value for t in table if t.code == 1 and t.value]
check(texts == [TITLE, "Description", "Hatch", "Area sq.m.", "Team A", "16.00", "Team B\\\\East", "32.00", "Empty",
                "0.00"], f"table texts {texts}")
spans = [t.value for t in table if t.code == 175][:3]
covered = [t.value for t in table if t.code == 173][:3]
check(spans[0] == 3 and covered == [0, 1, 1], f"title not merged: spans {spans}, covered {covered}")
swatches = [doc.entitydb[t.value].dxf.name for t in table if t.code == 340]
check(swatches == ["[KORVA_LEGEND_HATCH]_Floor 1_ by team_Team A", "[KORVA_LEGEND_HATCH]_Floor 1_ by team_Team B_East",
                   "[KORVA_LEGEND_HATCH]_Floor 1_ by team_Empty"], f"swatches {swatches}")
for name, (title, rgb) in zip(swatches, categories):
    block = doc.blocks.get(name)
    kinds = sorted(e.dxftype() for e in block)
    if title == "Empty":
        # DOTS at scale 1 is far too dense for the swatch: a "<!" stands in for the hatch.
        marks = [e.dxf.text for e in block if e.dxftype() == "ATTDEF"]
        check(kinds == ["ATTDEF", "LWPOLYLINE"] and marks == ["<!"], f"{name}: {kinds} {marks}")
        continue
    check(kinds == ["HATCH", "LWPOLYLINE"], f"{name}: {kinds}")
    box = [e for e in block if e.dxftype() == "LWPOLYLINE"][0]
    check([tuple(p) for p in box.get_points("xy")] == [(0, 0), (0, 8000), (12000, 8000), (12000, 0), (0, 0)],
          f"{name}: swatch outline {list(box.get_points('xy'))}")
    hatch = [e for e in block if e.dxftype() == "HATCH"][0]
    check(hatch.rgb == rgb, f"{name}: hatch colour {hatch.rgb}")
graphics = doc.blocks.get(shown)
kinds = {}
for e in graphics:
    kinds[e.dxftype()] = kinds.get(e.dxftype(), 0) + 1
check(kinds.get("INSERT") == 3 and kinds.get("TEXT") == 10, f"the table's block shows {kinds}")
shown_texts = [e.dxf.text for e in graphics if e.dxftype() == "TEXT"]
check("Team B\\East" in shown_texts, f"the table's block shows the texts {shown_texts}")

# ---- pie chart ----
pie = doc.blocks.get(pie_name)
check(pie is not None, "no pie chart block")
refs = [e for e in doc.modelspace().query("INSERT") if e.dxf.name == pie_name]
check(len(refs) == 1 and tuple(refs[0].dxf.insert)[:2] == (45000, 0), f"pie references {[r.dxf.insert for r in refs]}")
if pie is not None:
    wedges = [e for e in pie if e.dxftype() == "LWPOLYLINE"]
    hatches = [e for e in pie if e.dxftype() == "HATCH"]
    lines = [e for e in pie if e.dxftype() == "LINE"]
    labels = [e for e in pie if e.dxftype() == "ATTDEF" and e.dxf.text.startswith("Team")]
    check(len(wedges) == 2 and len(hatches) == 2 and len(lines) == 2 and len(labels) == 2,
          f"pie holds {len(wedges)} wedges, {len(hatches)} hatches, {len(lines)} lines, {len(labels)} labels")
    radius, offset = 2000.0, 100.0
    start = 0.0
    for wedge, (title, rgb), area in zip(wedges, categories, areas):
        sweep = area / total * 2 * math.pi
        mid = start + sweep / 2
        ox, oy = offset * math.sin(mid), offset * math.cos(mid)
        points = list(wedge.get_points("xyb"))
        # Centre, the arc from the start angle clockwise to the end angle, back to the centre.
        cx, cy, _ = points[0]
        check(math.isclose(cx, ox, abs_tol=1e-6) and math.isclose(cy, oy, abs_tol=1e-6), f"{title}: centre {cx, cy}")
        x1, y1, bulge = points[1]
        x2, y2, _ = points[2]
        got_start = math.atan2(x1 - ox, y1 - oy) % (2 * math.pi)
        got_end = math.atan2(x2 - ox, y2 - oy) % (2 * math.pi)
        got_sweep = (got_end - got_start) % (2 * math.pi)
        check(math.isclose(got_start, start % (2 * math.pi), abs_tol=1e-9), f"{title}: starts at {got_start}")
        check(math.isclose(got_sweep, sweep, abs_tol=1e-9), f"{title}: sweeps {got_sweep}, wanted {sweep}")
        check(math.isclose(bulge, -math.tan(sweep / 4), abs_tol=1e-9), f"{title}: bulge {bulge}")
        check(math.isclose(math.hypot(x1 - ox, y1 - oy), radius), f"{title}: radius")
        start += sweep
    for hatch, (title, rgb) in zip(hatches, categories):
        check(hatch.rgb == rgb, f"{title}: wedge hatch colour {hatch.rgb}")
    got = sorted(label.dxf.text for label in labels)
    check(got == ["Team A (16.00 sq.m.)", "Team B\\East (32.00 sq.m.)"], f"labels {got}")
    texts = sorted(e.dxf.text for e in pie if e.dxftype() == "ATTDEF" and not e.dxf.text.startswith("Team"))
    check(texts == [TITLE, "Total: 64.00sq.m."], f"title and footer {texts}")

if problems:
    print("\n".join(problems))
    sys.exit(1)
