#!/usr/bin/python3
"""Reads back what legend_pie_lt.scr saved (outlines.dxf in the folder given): the legend and the
pie chart exist as block definitions only; the legend, built again by mlbd with text size 200 and
empty categories kept, holds one table of five rows; the pie chart, built again by mpbd with
radius 2500, leaves the empty category out."""
import sys
from pathlib import Path

import ezdxf
from ezdxf.lldxf.tagger import ascii_tags_loader, tag_compiler

path = Path(sys.argv[1]) / "outlines.dxf"
doc = ezdxf.readfile(path)
assert not doc.audit().has_errors
problems = []
legend, pie = "[KORVA_LEGEND]_Floor 1_ by team", "[KORVA_PIECHART]_Floor 1_ by team"
if legend not in doc.blocks or pie not in doc.blocks:
    problems.append(f"blocks: {[b.name for b in doc.blocks]}")
inserted = [e.dxf.name for e in doc.modelspace().query("INSERT") if e.dxf.name in (legend, pie)]
if inserted:
    problems.append(f"inserted on a host that is not a full CAD host: {inserted}")
with open(path, encoding="cp1252", errors="replace") as f:
    tags = list(tag_compiler(iter(ascii_tags_loader(f))))
tables = [i for i, t in enumerate(tags) if t.code == 0 and t.value == "ACAD_TABLE"]
if len(tables) != 1:
    problems.append(f"{len(tables)} tables")
else:
    body = tags[tables[0] + 1:]
    body = body[:next(i for i, t in enumerate(body) if t.code == 0)]
    table = body[next(i for i, t in enumerate(body) if t.code == 100 and t.value == "AcDbTable"):]
    rows = next(t.value for t in table if t.code == 91)
    heights = [t.value for t in table if t.code == 141]
    if rows != 5 or heights != [300.0] * 5:
        problems.append(f"rows {rows}, heights {heights}")
if pie in doc.blocks:
    wedges = [e for e in doc.blocks[pie] if e.dxftype() == "LWPOLYLINE"]
    if len(wedges) != 2:
        problems.append(f"{len(wedges)} wedges")
    elif abs(max(y for _, y in wedges[0].get_points("xy")) - 2500) > 1e-6:
        problems.append("the pie chart kept its first radius")
if problems:
    print("\n".join(problems))
    sys.exit(1)
