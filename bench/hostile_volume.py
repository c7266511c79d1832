#!/usr/bin/python3
"""A fixed VHD holding one FAT32 volume of damaged and hostile files that the preview pane must answer for
quickly, each beside a sound file of the same kind; beside it `hostile.json` (path, kind, "hostile" or
"good", size).

    hostile_volume.py --out DIR       # DIR/hostile.fixed.vhd and DIR/hostile.json

The files of bench/hostile_html.py join them when that module is there: its files() returns a list of
(name, bytes), each previewed as a hostile file. The same sources give the same bytes.
"""

import argparse
import json
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(HERE)
sys.path.insert(0, os.path.join(REPO, "tools", "images", "preview"))
sys.path.insert(0, os.path.join(REPO, "preview", "archive"))

import make_preview_volume as preview  # noqa: E402
from make_test_archives import damaged_central_zip, many_member_cabinet, many_member_zip, zip64_claim_zip  # noqa: E402


def dbf_zero_field(size=4 << 20):
    """A table whose one field is zero bytes long: every byte after the header is a record."""
    header = struct.pack("<BBBBIHH20x", 0x03, 120, 9, 13, 0, 32 + 32 + 1, 1)
    field = struct.pack("<11sc4xBB14x", b"EMPTY", b"C", 0, 0)
    head = header + field + b"\x0d"
    return head + b" " * (size - len(head))


def dxf_drawing(entities, blocks):
    header = "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1009\n0\nENDSEC\n"
    return (header + "0\nSECTION\n2\nBLOCKS\n" + blocks + "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n" + entities +
            "0\nENDSEC\n0\nEOF\n").encode()


def dxf_insert(block):
    return "0\nINSERT\n2\n%s\n10\n0\n20\n0\n" % block


def dxf_self_naming_block(references=500):
    """13 KB: a block that names itself over and over, inserted once; no entity anywhere."""
    return dxf_drawing(dxf_insert("SELF"), "0\nBLOCK\n2\nSELF\n" + dxf_insert("SELF") * references + "0\nENDBLK\n")


def dxf_nested_circles(fan=10):
    """Ten circles in a block named fan times by each of five levels of blocks: a million circles."""
    blocks = "0\nBLOCK\n2\nL0\n" + "".join("0\nCIRCLE\n10\n0\n20\n0\n40\n%d\n" % (10 * i) for i in range(1, 11))
    blocks += "0\nENDBLK\n"
    for level in range(1, 6):
        blocks += "0\nBLOCK\n2\nL%d\n" % level + dxf_insert("L%d" % (level - 1)) * fan + "0\nENDBLK\n"
    return dxf_drawing(dxf_insert("L5"), blocks)


def good_files(work):
    """A sound file of each kind, small as a user's are."""
    im = preview.landscape(64, 48)
    members = preview.archive_members(im)
    table = preview.dbf([("NAME", "C", 12, 0), ("CITY", "C", 10, 0), ("AMOUNT", "N", 8, 2)],
                        [["Alice", "Lyon", "12.50"], ["Bob", "Porto", "7.25"], ["Carol", "Turku", "100.00"]])
    page = (b"<html><head><title>Holiday</title></head><body><h1>Holiday pictures</h1>"
            b"<p>Two pictures of the lake.</p><table border=\"1\"><tr><td>Day</td><td>Weather</td></tr>"
            b"<tr><td>Monday</td><td>Sunny</td></tr></table></body></html>\n")
    return {".zip": ("Good.zip", preview.zip_archive(members)),
            ".dbf": ("Good.dbf", table),
            ".cab": ("Good.cab", preview.cabinet(work, members)),
            ".dxf": ("Good.dxf", preview.dxf()),
            ".html": ("Good.html", page), ".htm": ("Good.htm", page)}


def listed_name(name):
    """A lower-case short name is stored without a long name and listed in capitals: a capital first letter
    keeps the name as given."""
    stem, dot, extension = name.partition(".")
    if name == name.lower() and 0 < len(stem) <= 8 and len(extension) <= 3 and " " not in name:
        return name[:1].upper() + name[1:]
    return name


def hostile_files():
    files = [("Damaged central header.zip", damaged_central_zip()), ("Zip64 claim.zip", zip64_claim_zip()),
             ("Zero length field.dbf", dbf_zero_field()), ("Many members.cab", many_member_cabinet()),
             ("Many members.zip", many_member_zip(50000)), ("Self naming block.dxf", dxf_self_naming_block()),
             ("Nested circles.dxf", dxf_nested_circles())]
    module = os.path.join(HERE, "hostile_html.py")
    if os.path.exists(module):
        sys.path.insert(0, HERE)
        import hostile_html  # the hostile pages beside this script
        files += list(hostile_html.files())
    return files


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    out = os.path.abspath(args.out)
    work = os.path.join(out, ".work")
    os.makedirs(work, exist_ok=True)
    good = good_files(work)
    listing, used = [], set()
    for name, data in hostile_files():
        extension = os.path.splitext(name)[1].lower()
        listing.append({"path": "/" + listed_name(name), "kind": extension, "role": "hostile", "data": data})
        if extension in good and extension not in used:
            used.add(extension)
            listing.append({"path": "/" + good[extension][0], "kind": extension, "role": "good",
                            "data": good[extension][1]})
    total_mib = sum(len(f["data"]) for f in listing) >> 20
    preview.build_volume(out, "hostile", listing, max(64, 2 * total_mib + 32), "HOSTILE")
    with open(os.path.join(out, "hostile.json"), "w", encoding="utf-8") as fh:
        json.dump([{k: v for k, v in f.items() if k != "data"} | {"size": len(f["data"])} for f in listing], fh,
                  indent=1)
        fh.write("\n")


if __name__ == "__main__":
    main()
