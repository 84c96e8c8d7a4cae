#!/usr/bin/python3
"""Prints what an independent reader finds in the first table of a drawing's model space: the
table's own groups read at tag level (ezdxf keeps no table data), and the anonymous block that
shows it, read as entities. Exits 1 when ezdxf's audit finds errors."""
import sys

import ezdxf
from ezdxf.lldxf.tagger import ascii_tags_loader, tag_compiler

path = sys.argv[1]
doc = ezdxf.readfile(path)
auditor = doc.audit()
if auditor.has_errors:
    print("audit:", [str(e.message) for e in auditor.errors])
    sys.exit(1)
with open(path, encoding="cp1252", errors="replace") as f:
    tags = list(tag_compiler(iter(ascii_tags_loader(f))))
start = next(i for i, t in enumerate(tags) if t.code == 0 and t.value == "ACAD_TABLE")
end = next(i for i in range(start + 1, len(tags)) if tags[i].code == 0)
body = tags[start + 1:end]
# ezdxf keeps a table's tags only; its block reference part names the block that shows it.
if len(doc.modelspace().query("ACAD_TABLE")) != 1:
    print("tables in model space:", len(doc.modelspace().query("ACAD_TABLE")))
    sys.exit(1)
reference = body[next(i for i, t in enumerate(body) if t.code == 100 and t.value == "AcDbBlockReference"):]
block_name = next(t.value for t in reference if t.code == 2)
insert = next(t.value for t in reference if t.code == 10)
print("block", block_name, "at", tuple(round(v, 6) for v in insert))
table_part = body[next(i for i, t in enumerate(body) if t.code == 100 and t.value == "AcDbTable"):]
values = {}
for t in table_part:
    values.setdefault(t.code, []).append(t.value)
print("rows", values[91][0], "columns", values[92][0])
print("heights", values[141], "widths", values[142])
cells = []
for i, t in enumerate(table_part):
    if t.code != 171:
        continue
    j = i + 1
    cell = {"type": t.value}
    while j < len(table_part) and table_part[j].code != 171:
        code, value = table_part[j].code, table_part[j].value
        if code == 173:
            cell["covered"] = value
        elif code == 175:
            cell["span"] = value
        elif code == 176 and "rows" not in cell:
            cell["rows"] = value
        elif code == 1 and value:
            cell["text"] = value
        elif code == 340:
            cell["block"] = doc.entitydb[value].dxf.name
        elif code == 140:
            cell["height"] = value
        elif code == 170:
            cell["align"] = value
        j += 1
    cells.append(cell)
for cell in cells:
    print("cell", " ".join(f"{k}={v}" for k, v in cell.items()))
shown = doc.blocks.get(block_name)
kinds = {}
for e in shown:
    kinds[e.dxftype()] = kinds.get(e.dxftype(), 0) + 1
print("shows", sorted(kinds.items()))
for e in shown:
    if e.dxftype() == "TEXT":
        print("text", repr(e.dxf.text), tuple(round(v, 6) for v in e.dxf.align_point)[:2], e.dxf.height)
    elif e.dxftype() == "INSERT":
        print("insert", e.dxf.name, tuple(round(v, 6) for v in e.dxf.insert)[:2])
