"""Writes the drawings the DXF tests read: one per version, each with the features the reader
must carry through a save. Usage: make_fixtures.py OUTDIR"""
import math
import sys
from pathlib import Path

import ezdxf
from ezdxf.math import Vec3


def add_common(doc, modern):
    msp = doc.modelspace()
    doc.layers.add("WALLS", color=1)
    off = doc.layers.add("HIDDEN", color=3)
    off.off()
    frozen = doc.layers.add("FROZEN", color=4)
    frozen.freeze()
    locked = doc.layers.add("LOCKED", color=5)
    locked.lock()
    doc.appids.add("ROOMDATA")
    doc.appids.add("ASSETS")

    blk = doc.blocks.new("ROOM")
    blk.add_line((0, 0), (4, 0))
    blk.add_attdef("NAME", (0, 1), dxfattribs={"height": 0.25})
    blk.add_attdef("AREA", (0, 2), dxfattribs={"height": 0.25})
    ref = msp.add_blockref("ROOM", (10, 10), dxfattribs={"layer": "WALLS"})
    ref.add_auto_attribs({"NAME": "Kitchen", "AREA": "12.5"})
    ref.set_xdata("ROOMDATA", [(1000, "room-1"), (1070, 3), (1040, 12.5)])
    ref.set_xdata("ASSETS", [(1000, "chair"), (1002, "{"), (1071, 70000), (1002, "}")])

    msp.add_line((0, 0), (10, 0), dxfattribs={"layer": "HIDDEN"})
    msp.add_circle((5, 5), 2, dxfattribs={"layer": "FROZEN"})
    msp.add_text("Ground floor", dxfattribs={"height": 0.5, "layer": "LOCKED"}).set_placement((1, 1))
    line = msp.add_line((0, 5), (10, 5))
    line.set_xdata("ROOMDATA", [(1000, "edge"), (1010, (1, 2, 3)), (1005, line.dxf.handle)])

    if modern:
        pl = msp.add_lwpolyline([(0, 0, 0, 0, 0.5), (10, 0, 0, 0, 0), (10, 8, 0, 0, -0.25), (0, 8)],
                                format="xyseb", close=True)
        pl.set_hyperlink("https://example.com/room", description="Room A")
        hatch = msp.add_hatch(color=2)
        hatch.paths.add_polyline_path([(0, 0), (3, 0), (3, 3), (0, 3)], is_closed=True)
        pattern = msp.add_hatch(color=3)
        pattern.set_pattern_fill("ANSI31", scale=0.5)
        pattern.paths.add_polyline_path([(4, 0), (7, 0), (7, 3)], is_closed=True)
        msp.add_mtext("Line one\\PLine two", dxfattribs={"char_height": 0.3}).set_location((2, 12))
        msp.add_spline([(0, 0), (2, 3), (5, 1), (8, 4)])
        dim = msp.add_linear_dim(base=(0, -2), p1=(0, 0), p2=(10, 0))
        dim.render()
        layout = doc.layouts.new("Plan")
        layout.add_line((0, 0), (50, 50))
        layout.add_circle((20, 20), 5)
        # XDATA under an application nobody registered: the writer has to add it.
        msp.add_point((1, 1)).set_xdata("UNREGISTERED_APP", [(1000, "x")])
        text = msp.add_text("Gr\u00fc\u00dfe \u4e2d\u6587", dxfattribs={"height": 0.4})
        text.set_placement((1, 20))
    else:
        msp.add_polyline2d([(0, 0), (10, 0), (10, 8), (0, 8)], close=True)
        msp.add_polyline3d([(0, 0, 0), (1, 1, 1), (2, 0, 2)])


def main(out):
    out = Path(out)
    out.mkdir(parents=True, exist_ok=True)
    for version in ("R2000", "R2010", "R2018"):
        doc = ezdxf.new(version)
        add_common(doc, True)
        doc.saveas(out / f"fixture_{version}.dxf")
    doc = ezdxf.new("R12")
    add_common(doc, False)
    doc.saveas(out / "fixture_R12.dxf")


if __name__ == "__main__":
    main(sys.argv[1])
