"""Prints what another reader sees of the space blocks of a DXF file: for every INSERT of model
space its block name, then each XData string of the given application in order, then each
attribute as TAG=text. Exit status 2 when the file does not load."""
import sys

import ezdxf

try:
    doc = ezdxf.readfile(sys.argv[1])
except Exception as error:  # noqa: BLE001 - any failure to load is the answer
    print("LOAD FAILED:", error)
    sys.exit(2)
app = sys.argv[2]
for insert in doc.modelspace().query("INSERT"):
    print("INSERT", insert.dxf.name)
    if insert.has_xdata(app):
        for code, value in insert.get_xdata(app):
            print("X", code, value)
    for attrib in insert.attribs:
        print("A", attrib.dxf.tag + "=" + attrib.dxf.text)
