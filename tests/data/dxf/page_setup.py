"""Page set-ups of layouts, written and read by ezdxf.
Usage: page_setup.py make DRAWING   writes a drawing whose Model and "Sheet" layouts have page set-ups
       page_setup.py show DRAWING   prints every layout's LAYOUT attributes, one per line, sorted, and
                                    the number of problems ezdxf's audit finds"""
import sys

import ezdxf


def make(path):
    doc = ezdxf.new("R2018")
    msp = doc.modelspace()
    msp.add_lwpolyline([(0, 0), (8000, 0), (8000, 5000), (0, 5000)], close=True)
    model = msp.dxf_layout.dxf
    model.plot_configuration_file = "DWG to PDF.pc3"
    model.paper_size = "ISO_A4_(297.00_x_210.00_MM)"
    model.paper_width, model.paper_height = 297.0, 210.0
    model.plot_rotation = 1
    model.plot_type = 1
    model.plot_layout_flags = 16 | 4  # standard scale, centred
    model.standard_scale_type = 0
    sheet = doc.layouts.new("Sheet")
    sheet.page_setup(size=(420, 297), margins=(5, 5, 5, 5), units="mm", rotation=0, scale=16,
                     name="ISO_A3", device="PublishToWeb PNG.pc3")
    sheet.dxf_layout.dxf.paper_size = "ISO_A3_(420.00_x_297.00_MM)"  # page_setup adds the size to the name
    sheet.dxf_layout.dxf.limmin = (-10, -20)
    sheet.dxf_layout.dxf.limmax = (410, 277)
    doc.saveas(path)


def show(path):
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    for name in doc.layouts.names():
        layout = doc.layouts.get(name).dxf_layout
        for key, value in sorted(layout.dxf.all_existing_dxf_attribs().items()):
            if key in ("handle", "owner", "block_record_handle", "viewport_handle"):
                continue  # numbering may change on a save
            if isinstance(value, (tuple, list)) or hasattr(value, "x"):
                value = tuple(round(float(v), 6) for v in value)
            elif isinstance(value, float):
                value = round(value, 6)
            print(f"{name} {key} {value!r}")
    print(f"audit {len(auditor.errors)}")


if __name__ == "__main__":
    {"make": make, "show": show}[sys.argv[1]](sys.argv[2])
