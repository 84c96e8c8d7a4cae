"""Writes small seed drawings for fuzz_dxf_reader: every entity and object type the reader
builds, plus some it keeps as read, in versions on both sides of the change to UTF-8, so the
fuzzer does not have to discover a type name byte by byte. Usage: make_seeds.py OUTDIR"""
import sys
from pathlib import Path

import ezdxf


def fill(doc):
    msp = doc.modelspace()
    doc.layers.add("ROOMS", color=2)
    doc.appids.add("SEED")
    blk = doc.blocks.new("TAG")
    blk.add_attdef("NAME", (0, 0), dxfattribs={"height": 0.2})
    blk.add_arc((0, 0), 1, 0, 90)
    ref = msp.add_blockref("TAG", (5, 5), dxfattribs={"layer": "ROOMS"})
    ref.add_auto_attribs({"NAME": "Store"})
    ref.set_xdata("SEED", [(1000, "a"), (1040, 1.5), (1005, ref.dxf.handle)])
    msp.add_line((0, 0), (3, 0))
    msp.add_arc((1, 1), 2, 30, 300)
    msp.add_circle((4, 4), 0.5)
    msp.add_text("seed B\u00fcro \u00d8 \u4e2d", dxfattribs={"height": 0.3})
    msp.add_point((2, 2))
    msp.add_solid([(0, 0), (1, 0), (0, 1)])
    msp.add_polyline2d([(0, 0), (2, 0), (2, 2)], close=True)
    msp.add_polyline3d([(0, 0, 0), (1, 1, 1), (2, 0, 2)])
    if doc.dxfversion > "AC1009":
        msp.add_lwpolyline([(0, 0, 0, 0, 0.5), (3, 0, 0, 0, 0), (3, 3)], format="xyseb", close=True)
        msp.add_ellipse((0, 0), major_axis=(2, 0), ratio=0.5)
        msp.add_spline([(0, 0), (1, 2), (3, 1), (4, 4)])
        msp.add_mtext("multi\\Pline", dxfattribs={"char_height": 0.2})
        hatch = msp.add_hatch(color=3)
        hatch.paths.add_polyline_path([(0, 0), (2, 0), (2, 2)], is_closed=True)
        pattern = msp.add_hatch()
        pattern.set_pattern_fill("ANSI31", scale=0.5)
        pattern.paths.add_polyline_path([(5, 5), (6, 5), (6, 6)], is_closed=True)
        line = msp.add_line((0, 9), (9, 9))
        group = doc.groups.new("PAIR")
        group.extend([line, ref])
        xrec = doc.rootdict.add_xrecord("SEED_DATA")
        xrec.extend([(1, "value"), (40, 2.5)])
        msp.set_redraw_order([(line.dxf.handle, "A0")])
        layout = doc.layouts.new("Sheet")
        layout.add_viewport(center=(5, 5), size=(8, 6), view_center_point=(2, 2), view_height=5)
        layout.add_arc((1, 1), 1, 0, 180)
        msp.add_linear_dim(base=(0, 3), p1=(0, 0), p2=(3, 0)).render()


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    for version in ("R12", "R2000", "R2004", "R2007", "R2018"):
        doc = ezdxf.new(version)
        fill(doc)
        doc.saveas(out / f"seed_{version}.dxf")
    # Code pages of one and of two bytes a character, for the decoding before UTF-8.
    for codec, words in (("cp1251", "\u041a\u0443\u0445\u043d\u044f"), ("cp932", "\u4f1a\u8b70\u5ba4")):
        doc = ezdxf.new("R2000")
        doc.encoding = codec
        doc.modelspace().add_text(words)
        doc.modelspace().add_line((0, 0), (1, 1)).set_xdata("ACAD", [(1000, words)])
        doc.saveas(out / f"seed_R2000_{codec}.dxf")


if __name__ == "__main__":
    main()
