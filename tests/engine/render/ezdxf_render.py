"""Renders a DXF drawing's model space with ezdxf's drawing add-on and matplotlib, exactly over a
given window, as a reference picture for the renderer's tests.

usage: ezdxf_render.py DRAWING.dxf OUT.png WIDTH HEIGHT X1 Y1 X2 Y2
"""
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import ezdxf  # noqa: E402
from ezdxf.addons.drawing import Frontend, RenderContext  # noqa: E402
from ezdxf.addons.drawing.properties import LayoutProperties  # noqa: E402
from ezdxf.addons.drawing.matplotlib import MatplotlibBackend  # noqa: E402


def main():
    dxf, out = sys.argv[1], sys.argv[2]
    width, height = int(sys.argv[3]), int(sys.argv[4])
    x1, y1, x2, y2 = (float(v) for v in sys.argv[5:9])
    doc = ezdxf.readfile(dxf)
    msp = doc.modelspace()
    dpi = 100
    fig = plt.figure(figsize=(width / dpi, height / dpi), dpi=dpi)
    ax = fig.add_axes([0, 0, 1, 1])
    ctx = RenderContext(doc)
    # A white sheet, on which colour 7 is black, as our pictures have it.
    props = LayoutProperties.from_layout(msp)
    props.set_colors(bg="#FFFFFF")
    Frontend(ctx, MatplotlibBackend(ax)).draw_layout(msp, finalize=False, layout_properties=props)
    ax.set_xlim(x1, x2)
    ax.set_ylim(y1, y2)
    ax.set_aspect("auto")
    ax.set_axis_off()
    fig.savefig(out, dpi=dpi, facecolor="#FFFFFF")


if __name__ == "__main__":
    main()
