#!/usr/bin/python3
"""Reads back, with an independent DXF reader, what edit_spaces.scr saved (outlines.dxf in the
folder given), against the fixture it started from."""
import sys
from pathlib import Path

import ezdxf

saved = ezdxf.readfile(Path(sys.argv[1]) / "outlines.dxf")
original = ezdxf.readfile(Path(__file__).resolve().parent.parent / "fixtures" / "outlines.dxf")
assert not saved.audit().has_errors
problems = []


def check(condition, message):
    if not condition:
        problems.append(message)


def state(doc, handle):
    ref = doc.entitydb[handle]
    record = [t.value for t in ref.get_xdata("ADE")]
    attributes = {a.dxf.tag: (a.dxf.text, tuple(a.dxf.insert)[:2], a.dxf.height) for a in ref.attribs}
    return record, attributes


record, attributes = state(saved, "44")
items = dict(i.split("=", 1) for i in record if "=" in i)
# 16 m2 + the bulged room (24 + 2 pi) - the locked room (24).
check(items["AREA"] == "22.28sq.m.", f"Store 07 area {items['AREA']}")
check(items["NAME"] == "Store 07", f"Store 07 record name {items['NAME']}")
check(items["HANDLESTOADD"] == "37," and items["HANDLESTOMINUS"] == "3A,", f"Store 07 handle lists {items}")
expected = {"NAME": ("Store 07", (2000, 12450), 300.0), "AREA": ("22.28sq.m.", (2000, 12000), 300.0),
            "AUX": (" ", (2000, 11550), 300.0)}
check(attributes == expected, f"Store 07 attributes {attributes}")
# Cancelled: exactly as it was.
check(state(saved, "50") == state(original, "50"), f"the cancelled Office 12 changed: {state(saved, '50')}")
# Added and subtracted, applied, both deleted, applied: back to no lists and its own area.
record, _ = state(saved, "55")
items = dict(i.split("=", 1) for i in record if "=" in i)
check(items["HANDLESTOADD"] == "" and items["HANDLESTOMINUS"] == "" and items["AREA"] == "16.00sq.m.",
      f"second Office 12 {items}")
# The picked areas are plain polylines still.
check(saved.entitydb["37"].dxftype() == "LWPOLYLINE" and saved.entitydb["3A"].dxftype() == "LWPOLYLINE",
      "the added or subtracted outline is gone")

if problems:
    print("\n".join(problems))
    sys.exit(1)
