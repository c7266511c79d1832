#!/usr/bin/env python3
"""What the File Trace tests expect of the carving samples, and a small disk of samples of their own.

Writes into --out:
- carving.tsv: one row per carving sample of carving.raw's manifest: start sector, type, valid, deleted,
  photorec_hit (0/1), then what File Trace should give there with every sample type ticked (TYPES): hit (0/1),
  extension and group. The first signature of the signature table (in the file-types tree's order) whose bytes
  begin the sample's sector names the hit; a compound file found through ".doc" takes the extension of the
  application that the sample's summary information names.
- photorec.tsv: photorec's hits in the manifest: sector, extension.
- disks.tsv: the sectors of the disks the tests trace: carving.raw (and its wrappers), trace.fixed.vhd.
- trace.fixed.vhd and trace.tsv: a FAT16 volume (mkfs.fat) in a fixed VHD, with samples written at sectors of
  its free data area: sector, sample name, the extension its compound-file naming gives ("-" for none).
"""

import argparse
import io
import json
import os
import struct
import sys
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tools", "images"))
sys.path.insert(0, HERE)
import make_compound_samples as compound  # noqa: E402
import vhd  # noqa: E402
from util import SECTOR, run  # noqa: E402

TYPES = ["jpg", "png", "gif", "bmp", "pdf", "zip", "doc", "xls", "ppt"]
TRACE_SECTORS = 8192


def read_table(path):
    """The signature table's rows: (group, extension, description, signature bytes), usable ones only."""
    rows = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line or line.startswith("#") or line.startswith("group\t"):
                continue
            group, ext, description, compare, signature, _ = line.split("\t")
            data = bytes.fromhex(signature)
            if 1 <= len(data) <= 15 and int(compare) == len(data):
                rows.append((group, ext, description, data))
    return rows


def ticked_rows(rows, extensions):
    """The rows of the ticked extensions in the file-types tree's order: groups as they first appear, types
    within a group likewise, the rows of a type in table order."""
    groups = []
    for group, ext, _, _ in rows:
        entry = next((g for g in groups if g[0] == group), None)
        if entry is None:
            entry = (group, [])
            groups.append(entry)
        if ext not in entry[1]:
            entry[1].append(ext)
    return [r for _, types in groups for t in types if t in extensions for r in rows if r[1] == t]


def first_match(rows, sector_bytes):
    return next((r for r in rows if sector_bytes.startswith(r[3])), None)


def app_extension(app):
    ext = compound.extension(app)
    return "-" if ext == "-" else ext


def carving_expectations(images, table):
    with open(os.path.join(images, "carving.raw.manifest.json")) as f:
        manifest = json.load(f)
    notes = {s["path"]: s["note"] for s in manifest["built"]["samples"]}
    rows = ticked_rows(table, ["." + t for t in TYPES])
    prefix = "compound file; application name "
    out = []
    with open(os.path.join(images, "carving.raw"), "rb") as raw:
        for s in manifest["carving"]["samples"]:
            raw.seek(s["start_sector"] * SECTOR)
            match = first_match(rows, raw.read(SECTOR))
            ext, group = "-", "-"
            if match:
                ext, group = match[1], match[2]
                note = notes[s["path"]]
                named = app_extension(note[len(prefix):]) if note.startswith(prefix) else "-"
                if ext in (".doc", ".docx") and named in [r[1] for r in rows]:
                    ext = named
            out.append([s["start_sector"], s["type"], int(s["valid"]), int(s["deleted"]), int(s["photorec_hit"]),
                        int(match is not None), ext, group])
    hits = [[h["sector"], "." + h["ext"]] for h in manifest["carving"]["photorec"]["hits"]]
    return out, hits, manifest["virtual_disk"]["size"] // SECTOR


def office_open_xml():
    """A ZIP as Office writes its documents: version 2.0 and flags 6 in every local header, as the ".docx"
    signature has them."""
    data = bytearray(compound.zip_bytes())
    at = 0
    while True:
        at = data.find(b"PK\x03\x04", at)
        if at < 0:
            break
        struct.pack_into("<HH", data, at + 4, 0x14, 6)
        at += 4
    at = 0
    while True:
        at = data.find(b"PK\x01\x02", at)
        if at < 0:
            break
        struct.pack_into("<H", data, at + 8, 6)
        at += 4
    assert zipfile.ZipFile(io.BytesIO(bytes(data))).testzip() is None
    return bytes(data)


def sibling_past_the_end(data):
    """The compound file with its first stream entry's right link past the end of the directory."""
    data = bytearray(data)
    directory = (struct.unpack_from("<I", data, 0x30)[0] + 1) * SECTOR
    struct.pack_into("<I", data, directory + 128 + 0x48, SECTOR // 128 + 1)
    return bytes(data)


def trace_samples():
    """[(sector, name, bytes, extension of the compound-file naming)]."""
    other = compound.office("Dorvane Sample Writer")
    return [
        (2048, "office_open_xml.docx", office_open_xml(), "-"),
        (2304, "other_app.cfb", other, ".pub"),
        (2560, "sibling_past_the_end.cfb", sibling_past_the_end(compound.office("Microsoft Excel", "Workbook")), "-"),
        (2816, "word.cfb", compound.office("Microsoft Word"), ".doc"),
    ]


def write_trace_disk(out):
    volume = os.path.join(out, "trace.raw")
    if os.path.exists(volume):
        os.remove(volume)
    run(["mkfs.fat", "-C", "--invariant", "--mbr=n", "-F", "16", "-s", 1, "-g", "255/63", "-h", 0, "-n", "TRACE",
         volume, TRACE_SECTORS // 2])
    rows = []
    with open(volume, "r+b") as f:
        for sector, name, data, ext in trace_samples():
            f.seek(sector * SECTOR)
            f.write(data)
            rows.append([sector, name, ext])
        f.seek(TRACE_SECTORS * SECTOR)
        f.write(vhd.make_footer(TRACE_SECTORS * SECTOR, vhd.FIXED, vhd.unique_id("trace"), 0xFFFFFFFFFFFFFFFF))
    os.replace(volume, os.path.join(out, "trace.fixed.vhd"))
    return rows


def write_tsv(path, rows):
    with open(path, "w") as f:
        for row in rows:
            f.write("\t".join(str(c) for c in row) + "\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--images", required=True)
    parser.add_argument("--table", default=os.path.join(ROOT, "tools", "signatures", "signatures.tsv"))
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    samples, hits, carving_sectors = carving_expectations(args.images, read_table(args.table))
    write_tsv(os.path.join(args.out, "carving.tsv"), samples)
    write_tsv(os.path.join(args.out, "photorec.tsv"), hits)
    write_tsv(os.path.join(args.out, "trace.tsv"), write_trace_disk(args.out))
    write_tsv(os.path.join(args.out, "disks.tsv"), [["carving", carving_sectors], ["trace", TRACE_SECTORS]])
    return 0


if __name__ == "__main__":
    sys.exit(main())
