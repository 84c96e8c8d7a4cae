"""Writes a space block the way another drawing tool makes one: the record under "AECXDATA",
attribute tags in lower case, a 10 m x 5 m room drawn in millimetres."""
import sys

import ezdxf

doc = ezdxf.new("R2010")
doc.appids.new("AECXDATA")
block = doc.blocks.new("ROOM-9")
block.add_lwpolyline([(0, 0), (10000, 0), (10000, 5000), (0, 5000)], close=True)
for tag, y in (("area", 2000), ("name", 2375), ("aux", 1625)):
    block.add_attdef(tag, (1000, y), dxfattribs={"height": 200})
msp = doc.modelspace()
insert = msp.add_blockref("ROOM-9", (0, 0))
insert.add_auto_attribs({"name": "Lab 3", "area": "49.99 sq.m.", "aux": "Science"})
insert.set_xdata("AECXDATA", [
    (1002, "{"),
    (1000, "AREA=49.990sq.m."),
    (1000, "PERIMETER=30.00m."),
    (1000, "NAME=Lab 3"),
    (1000, "TAGTYPE=Lab"),
    (1000, "ROOM_HEIGHT=3.10m."),
    (1000, "TOT_STAFF=12"),
    (1002, "}"),
])
doc.saveas(sys.argv[1])
