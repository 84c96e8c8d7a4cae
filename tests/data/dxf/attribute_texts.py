"""Prints every attribute of a drawing's model space as ezdxf reads it: tag, value, and for a
multi-line attribute its text and insertion point.
Usage: attribute_texts.py DRAWING"""
import sys

import ezdxf

doc = ezdxf.readfile(sys.argv[1])
for insert in doc.modelspace().query("INSERT"):
    for attrib in insert.attribs:
        line = f"{attrib.dxf.tag} {attrib.dxf.text!r}"
        if attrib.has_embedded_mtext_entity:
            mtext = attrib.virtual_mtext_entity()
            p = mtext.dxf.insert
            line += f" multi-line {mtext.text!r} at {p.x:g},{p.y:g} height {mtext.dxf.char_height:g}"
        print(line)
