#!/usr/bin/python3
"""Reads back, with an independent DXF reader, the hyperlinks hyperlink_spaces.scr saved
(outlines.dxf in the folder given): both references of ROOM-12 and their attributes carry the
three links in row order, Office 07 none."""
import sys
from pathlib import Path

import ezdxf

doc = ezdxf.readfile(Path(sys.argv[1]) / "outlines.dxf")
assert not doc.audit().has_errors
problems = []


def links(entity):
    """(address, description) pairs of the entity's hyperlink XData: each address is followed by
    a brace group holding its description."""
    if not entity.has_xdata("PE_URL"):
        return []
    tags = list(entity.get_xdata("PE_URL"))
    out, depth, address, description = [], 0, None, None
    for tag in tags:
        if tag.code == 1002:
            depth += 1 if tag.value == "{" else -1
            if depth == 0 and address is not None:
                out.append((address, description))
                address, description = None, None
        elif tag.code == 1000 and depth == 0:
            address = tag.value
        elif tag.code == 1000 and depth == 1:
            description = tag.value
    return out


wanted = [("http://example.org/b", "Room sheet"), ("http://example.org/plan", "http://example.org/plan"),
          ("http://example.org/c", "http://example.org/c")]
for handle in ("50", "55"):
    ref = doc.entitydb[handle]
    if links(ref) != wanted:
        problems.append(f"{handle}: {links(ref)}")
    for attribute in ref.attribs:
        if links(attribute) != wanted:
            problems.append(f"{handle} {attribute.dxf.tag}: {links(attribute)}")
if links(doc.entitydb["44"]):
    problems.append(f"Office 07 was hyperlinked: {links(doc.entitydb['44'])}")

if problems:
    print("\n".join(problems))
    sys.exit(1)
