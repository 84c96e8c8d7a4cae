#!/usr/bin/python3
"""The campus job done with ezdxf, the baseline bench/campus_job.sh sets beside brinmo.

    /usr/bin/python3 bench/campus_job_ezdxf.py CAMPUS.dxf OUT.dxf

Does what `mus`, `mcsv` and `mlb` (with assets) do on the generated campus: every space block
(an INSERT with an ADE record) is measured again from the outline in its block, its AREA and AUX
texts follow the new values where they showed the stored ones, and the record is rewritten; the
area schedule goes to CAMPUS.csv; every space is listed as CSV with the furniture standing in it;
the drawing is saved. Run it with /usr/bin/python3, the interpreter that sees ezdxf.
"""
import math
import sys
from collections import defaultdict

import ezdxf

CELL = 5000.0  # mm: the grid that buckets furniture for the point-in-room test


def measure(points):
    """Area (mm^2) and perimeter (mm) of a closed bulge polyline [(x, y, bulge), ...]."""
    area = 0.0
    perimeter = 0.0
    n = len(points)
    for i in range(n):
        x0, y0, b = points[i]
        x1, y1, _ = points[(i + 1) % n]
        area += x0 * y1 - x1 * y0
        chord = math.hypot(x1 - x0, y1 - y0)
        if b == 0 or chord == 0:
            perimeter += chord
            continue
        theta = 4 * math.atan(b)
        radius = chord / (2 * math.sin(abs(theta) / 2))
        area += radius * radius * (theta - math.sin(theta))  # twice the segment, signed
        perimeter += radius * abs(theta)
    return abs(area) / 2, perimeter


def inside(x, y, polygon):
    hit = False
    n = len(polygon)
    for i in range(n):
        x0, y0 = polygon[i]
        x1, y1 = polygon[(i + 1) % n]
        if (y0 > y) != (y1 > y) and x < x0 + (y - y0) * (x1 - x0) / (y1 - y0):
            hit = not hit
    return hit


def record_value(items, key):
    for item in items:
        if item.startswith(key + "="):
            return item[len(key) + 1:]
    return None


def main(path, out_path):
    doc = ezdxf.readfile(path)
    msp = doc.modelspace()
    spaces = []
    assets = defaultdict(list)
    for insert in msp.query("INSERT"):
        if insert.has_xdata("ADE"):
            spaces.append(insert)
        elif insert.dxf.layer == "FURNITURE":
            x, y = insert.dxf.insert.x, insert.dxf.insert.y
            assets[(math.floor(x / CELL), math.floor(y / CELL))].append(insert)

    rows = []
    listing = []
    for insert in spaces:
        block = doc.blocks.get(insert.dxf.name)
        outline = next(iter(block.query("LWPOLYLINE")), None)
        if outline is None:
            continue
        ox, oy = insert.dxf.insert.x, insert.dxf.insert.y
        points = [(x + ox, y + oy, b) for x, y, b in outline.get_points("xyb")]
        area_mm, perimeter_mm = measure(points)
        area, perimeter = area_mm / 1e6, perimeter_mm / 1e3

        items = [value for code, value in insert.get_xdata("ADE") if code == 1000]
        old_area = record_value(items, "AREA") or ""
        old_aux = record_value(items, "PERIMETER") or ""
        attribs = {a.dxf.tag: a for a in insert.attribs}
        if "AREA" in attribs and attribs["AREA"].dxf.text == old_area:
            attribs["AREA"].dxf.text = "%.2fsq.m." % area
        if "AUX" in attribs and attribs["AUX"].dxf.text == old_aux:
            attribs["AUX"].dxf.text = "%.2fm." % perimeter
        updated = []
        for item in items:
            key = item.split("=", 1)[0]
            if key == "AREA":
                item = "AREA=%.2fsq.m." % area
            elif key == "PERIMETER":
                item = "PERIMETER=%.2fm." % perimeter
            elif key == "VOLUME":
                item = "VOLUME=%.2fcu.m." % (2.7 * area)
            updated.append(item)
        if updated != items:
            insert.set_xdata("ADE", [(1002, "{")] + [(1000, item) for item in updated] + [(1002, "}")])

        name = record_value(updated, "NAME") or ""
        rows.append((name, area, perimeter))
        polygon = [(x, y) for x, y, _ in points]
        xs = [p[0] for p in polygon]
        ys = [p[1] for p in polygon]
        found = []
        for cx in range(math.floor(min(xs) / CELL), math.floor(max(xs) / CELL) + 1):
            for cy in range(math.floor(min(ys) / CELL), math.floor(max(ys) / CELL) + 1):
                for asset in assets.get((cx, cy), ()):
                    if inside(asset.dxf.insert.x, asset.dxf.insert.y, polygon):
                        tags = {a.dxf.tag: a.dxf.text for a in asset.attribs}
                        found.append(tags.get("ASSET_TAG", asset.dxf.name))
        listing.append("%s,%s,%.2f,%s" % (insert.dxf.handle, name, area, ";".join(found)))

    gross = [r for r in rows if r[0] == "GROSS AREA"]
    rooms = sorted(r for r in rows if r[0] != "GROSS AREA")
    with open(path.rsplit(".", 1)[0] + ".csv", "w", encoding="utf-8") as csv:
        csv.write("Code,Area,Units,Perimeter,Units\n")
        for name, area, perimeter in rooms:
            csv.write("%s,%.2f,sq.m.,%.2f,m.\n" % (name, area, perimeter))
        csv.write("Total,%.2f,sq.m.,,\n" % sum(r[1] for r in rooms))
        if gross:
            csv.write("\n\nGross Area,%.2f,sq.m.,,\n" % gross[0][1])
    sys.stdout.write("\n".join(sorted(listing)) + "\n")
    doc.saveas(out_path)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit("usage: campus_job_ezdxf.py CAMPUS.dxf OUT.dxf")
    main(sys.argv[1], sys.argv[2])
