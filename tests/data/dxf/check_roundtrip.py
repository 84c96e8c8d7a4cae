"""Compares a drawing we wrote with the drawing it came from, using ezdxf as an independent
reader. Prints one line per problem and "OK" when there is none.
Usage: check_roundtrip.py ORIGINAL WRITTEN [--damaged]"""
import sys

import ezdxf
from ezdxf import recover


def load(path, damaged):
    if damaged:
        doc, auditor = recover.readfile(path)
        return doc, auditor
    doc = ezdxf.readfile(path)
    return doc, doc.audit()


def file_handles(path):
    """Handles written in the file itself (ezdxf adds objects of its own while loading)."""
    with open(path, "rb") as f:
        lines = f.read().decode("utf-8", "replace").splitlines()
    handles, expect = set(), False
    for i in range(0, len(lines) - 1, 2):
        code = lines[i].strip()
        if code == "0":
            expect = True
        elif code in ("5", "105") and expect:
            handles.add(lines[i + 1].strip().upper())
            expect = False
        elif code in ("100", "9"):
            expect = False
    return handles


def xdata_of(entity):
    out = {}
    if entity.xdata is None:
        return out
    for app, tags in entity.xdata.data.items():
        out[app.upper()] = [(t.code, str(t.value)) for t in tags]
    return out


def main(argv):
    damaged = "--damaged" in argv
    orig_path, out_path = [a for a in argv[1:] if not a.startswith("--")]
    problems = []
    try:
        orig, _ = load(orig_path, damaged)
    except Exception:  # noqa: BLE001 - ezdxf cannot read some damaged originals at all
        if not damaged:
            raise
        orig = None
    try:
        out, auditor = load(out_path, damaged)
        ezdxf.readfile(out_path)  # the strict loader must take it as well
    except Exception as exc:  # noqa: BLE001 - any failure to load is the finding
        print(f"cannot load written file: {exc}")
        return 1
    if not damaged:
        for err in auditor.errors:
            problems.append(f"audit error: {err.message}")

    def describe(e):
        return f"{e.dxftype()}(#{e.dxf.handle})"

    if damaged and orig is None:
        # Nothing to compare with: the written file must load and audit clean on its own.
        problems = [f"audit error: {e.message}" for e in auditor.errors]
        for p in problems[:40]:
            print(p)
        print("OK" if not problems else "", end="" if problems else "\n")
        return 1 if problems else 0
    if damaged:
        # Handles of a damaged file are not stable across readers (duplicates are resolved
        # differently), so compare what each layout holds, per entity type.
        def census(doc):
            counts = {}
            for layout in doc.layouts:
                for e in layout:
                    key = (layout.name, e.dxftype())
                    counts[key] = counts.get(key, 0) + 1
            return counts
        before, after = census(orig), census(out)
        for key, n in sorted(before.items()):
            if after.get(key, 0) < n:
                problems.append(f"{key[0]}: {n} {key[1]} before, {after.get(key, 0)} after")
        for p in problems[:40]:
            print(p)
        print("OK" if not problems else "", end="" if problems else "\n")
        return 1 if problems else 0

    in_orig, in_out = file_handles(orig_path), file_handles(out_path)
    # Old-style 2D polylines are read as lightweight ones: their VERTEX and SEQEND records go.
    converted = set()
    for handle, entity in orig.entitydb.items():
        other = out.entitydb.get(handle)
        if entity.dxftype() == "POLYLINE" and other is not None and other.dxftype() == "LWPOLYLINE":
            converted.add(handle)
            if len(entity.vertices) != len(other):
                problems.append(f"{describe(entity)} has {len(entity.vertices)} vertices, {len(other)} after")
            for v in entity.vertices:
                converted.add(v.dxf.handle)
            if entity.seqend is not None:
                converted.add(entity.seqend.dxf.handle)
    for handle, entity in orig.entitydb.items():
        if entity.is_alive is False or handle not in in_orig or handle in converted:
            continue
        other = out.entitydb.get(handle)
        if other is None:
            problems.append(f"missing {describe(entity)}")
            continue
        if other.dxftype() != entity.dxftype():
            problems.append(f"{describe(entity)} became {describe(other)}")
            continue
        if entity.dxf.hasattr("layer") and entity.dxf.get("layer") != other.dxf.get("layer"):
            problems.append(f"{describe(entity)} layer {entity.dxf.layer} -> {other.dxf.get('layer')}")
        owner = entity.dxf.get("owner")
        if owner in in_orig and owner != other.dxf.get("owner"):
            problems.append(f"{describe(entity)} owner {entity.dxf.owner} -> {other.dxf.get('owner')}")
        xa, xb = xdata_of(entity), xdata_of(other)
        if xa != xb:
            problems.append(f"{describe(entity)} xdata {xa} -> {xb}")
        if entity.dxftype() == "LAYER":
            for attr in ("color", "flags"):
                if entity.dxf.get(attr) != other.dxf.get(attr):
                    problems.append(f"{describe(entity)} {attr} {entity.dxf.get(attr)} -> {other.dxf.get(attr)}")
        if entity.dxftype() in ("TEXT", "ATTRIB", "MTEXT"):
            if entity.dxf.get("text") != other.dxf.get("text"):
                problems.append(f"{describe(entity)} text {entity.dxf.get('text')!r} -> {other.dxf.get('text')!r}")

    registered = {a.dxf.name.upper() for a in out.appids}
    for entity in out.entitydb.values():
        for app in xdata_of(entity):
            if app not in registered:
                problems.append(f"{describe(entity)} uses unregistered application {app}")
    handles = [int(h, 16) for h in in_out if h]
    seed = out.header.get("$HANDSEED", "0")
    if out.dxfversion > "AC1009" and handles and int(seed, 16) <= max(handles):
        problems.append(f"$HANDSEED {seed} not above the largest handle {max(handles):X}")
    for p in problems[:40]:
        print(p)
    if not problems:
        print("OK")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
