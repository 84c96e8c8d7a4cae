"""Prints the hatches of a DXF file's model space as ezdxf reads them.

One line per hatch: pattern|true colour|layer|path count, then one line per boundary path:
path flags|min x,min y|max x,max y (rounded to 3 decimals).
"""
import sys

import ezdxf


def main(path):
    doc = ezdxf.readfile(path)
    for hatch in doc.modelspace().query("HATCH"):
        print("%s|%s|%s|%d" % (hatch.dxf.pattern_name, hatch.dxf.get("true_color", -1), hatch.dxf.layer,
                               len(hatch.paths)))
        for path in hatch.paths:
            if hasattr(path, "vertices"):
                points = [(v[0], v[1]) for v in path.vertices]
            else:
                points = [(e.start[0], e.start[1]) for e in path.edges]
            xs = [p[0] for p in points]
            ys = [p[1] for p in points]
            print("%d|%.3f,%.3f|%.3f,%.3f" % (path.path_type_flags, min(xs), min(ys), max(xs), max(ys)))


if __name__ == "__main__":
    main(sys.argv[1])
