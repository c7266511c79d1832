#!/usr/bin/env python3
"""Compound-file samples for the tests of the compound-file naming, with what each should give.

Writes into --out: the samples and index.tsv (file name, application name, extension; "-" for none). Most
samples are written by tools/images/cfb.py; the rest (no application name, a name of another type, a
summary larger than the mini-stream cutoff, version 4 with 4096-byte sectors) by the small writers here.
From carving.raw (--images) it also cuts the 1 MB that File Trace reads at each compound sample and at the
ZIP sample, as the program sees them on a disk."""

import argparse
import json
import os
import struct
import sys
import zipfile
import io

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools", "images"))
import cfb  # noqa: E402

WINDOW = 16 * 128 * 512
SUMMARY = "\x05SummaryInformation"


def property_set(props):
    """A summary-information stream holding props [(id, value bytes with their type)]."""
    table, body = bytearray(), bytearray()
    start = 8 + 8 * len(props)
    for pid, value in props:
        table += struct.pack("<II", pid, start + len(body))
        body += value + bytes(-len(value) % 4)
    section = struct.pack("<II", 8 + len(table) + len(body), len(props)) + table + body
    header = struct.pack("<HHI16sI", 0xFFFE, 0, 0x00020006, bytes(16), 1)
    header += cfb.FMTID_SUMMARY.bytes_le + struct.pack("<I", 48)
    return bytes(header + section)


def codepage(cp=1252):
    return struct.pack("<HHh", cfb.VT_I2, 0, cp) + bytes(2)


def lpstr(text):
    b = text.encode("cp1252") + b"\0"
    return struct.pack("<II", cfb.VT_LPSTR, len(b)) + b


def lpwstr(text):
    b = text.encode("utf-16-le") + b"\0\0"
    return struct.pack("<II", 31, len(b) // 2) + b


def office(app, main="WordDocument"):
    return cfb.write([(SUMMARY, cfb.summary_information("A sample", app)), (main, b"body " * 1200)])


def version4(streams):
    """A version-4 compound file (4096-byte sectors) holding small streams [(name, bytes)] in the mini stream:
    sector 0 allocation table, 1 directory, 2 mini table, 3.. mini stream."""
    sector, mini_size = 4096, 64
    mini, minifat, starts = bytearray(), [], []
    for _, data in streams:
        first, count = len(mini) // mini_size, max(1, -(-len(data) // mini_size))
        starts.append(first)
        mini += data + bytes(count * mini_size - len(data))
        minifat += [first + i + 1 if i + 1 < count else cfb.END for i in range(count)]
    mini_sectors = -(-len(mini) // sector)
    fat = [cfb.FATSECT, cfb.END, cfb.END]
    fat += [3 + i + 1 if i + 1 < mini_sectors else cfb.END for i in range(mini_sectors)]
    fat += [cfb.FREE] * (1024 - len(fat))
    directory = bytearray()
    # Root, then the streams chained through their right links (a degenerate but valid tree).
    ids = list(range(1, len(streams) + 1))
    directory += entry("Root Entry", 5, 3, len(mini), child=ids[0])
    for i, (name, data) in enumerate(streams):
        right = ids[i + 1] if i + 1 < len(ids) else cfb.NOSTREAM
        directory += entry(name, 2, starts[i], len(data), right=right)
    directory += bytes(sector - len(directory))
    header = bytearray(sector)
    struct.pack_into("<8s16sHHHHH6sIIIIIIIII", header, 0, bytes.fromhex("D0CF11E0A1B11AE1"), bytes(16), 0x3E, 4,
                     0xFFFE, 12, 6, bytes(6), 1, 1, 1, 0, cfb.CUTOFF, 2, 1, cfb.END, 0)
    struct.pack_into("<109I", header, 76, *([0] + [cfb.FREE] * 108))
    body = struct.pack("<1024I", *fat) + directory
    body += struct.pack("<1024I", *(minifat + [cfb.FREE] * (1024 - len(minifat))))
    body += mini + bytes(mini_sectors * sector - len(mini))
    return bytes(header + body)


def entry(name, kind, start, size, left=cfb.NOSTREAM, right=cfb.NOSTREAM, child=cfb.NOSTREAM):
    e = bytearray(128)
    n = name.encode("utf-16-le") + b"\0\0"
    e[:len(n)] = n
    struct.pack_into("<HBB", e, 64, len(n), kind, 1)
    struct.pack_into("<III", e, 68, left, right, child)
    struct.pack_into("<IQ", e, 116, start, size)
    return bytes(e)


def zip_bytes():
    out = io.BytesIO()
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as z:
        for name, text in (("[Content_Types].xml", "<Types/>"), ("word/document.xml", "<w:document/>")):
            z.writestr(zipfile.ZipInfo(name, date_time=(2020, 9, 13, 12, 26, 40)), text * 50)
    return out.getvalue()


def summary_only(props):
    return cfb.write([(SUMMARY, property_set(props))])


def own_samples():
    """[(file name, bytes, application name or "")]."""
    excel = office("Microsoft Excel", "Workbook")
    big_summary = property_set([(1, codepage()), (2, lpstr("T" * 5000)), (18, lpstr("Microsoft Excel"))])
    return [
        ("excel.cfb", excel, "Microsoft Excel"),
        ("powerpoint.cfb", office("Microsoft PowerPoint", "PowerPoint Document"), "Microsoft PowerPoint"),
        ("word.cfb", office("Microsoft Word"), "Microsoft Word"),
        ("other_app.cfb", office("Dorvane Sample Writer"), "Dorvane Sample Writer"),
        ("no_app_name.cfb", summary_only([(1, codepage()), (2, lpstr("Untitled"))]), ""),
        ("app_name_wide.cfb", summary_only([(1, codepage()), (18, lpwstr("Microsoft Word"))]), ""),
        ("no_summary.cfb", cfb.write([("WordDocument", b"body " * 1200)]), ""),
        # Office suites other than Microsoft's name no application: the main stream says what the file is.
        ("unnamed_calc.cfb", cfb.write([(SUMMARY, property_set([(1, codepage()), (2, lpstr("Sheet"))])),
                                        ("Workbook", b"cells " * 1000)]), ""),
        ("unnamed_impress.cfb", cfb.write([(SUMMARY, property_set([(1, codepage()), (2, lpstr("Slides"))])),
                                           ("PowerPoint Document", b"slide " * 1000)]), ""),
        ("big_summary.cfb", cfb.write([(SUMMARY, big_summary), ("Workbook", b"x" * 600)]), "Microsoft Excel"),
        ("version4.cfb", version4([("WordDocument", b"body " * 100),
                                   (SUMMARY, cfb.summary_information("Four", "Microsoft Office PowerPoint"))]),
         "Microsoft Office PowerPoint"),
        ("truncated.cfb", excel[:1024], ""),
        ("in_window.cfb", excel + bytes(range(256)) * ((WINDOW - len(excel)) // 256 + 1), "Microsoft Excel"),
        ("office_open_xml.zip", zip_bytes(), ""),
        ("empty.bin", b"", ""),
    ]


def carving_windows(images):
    """The 1 MB that File Trace reads at the compound and ZIP samples of carving.raw."""
    with open(os.path.join(images, "carving.raw.manifest.json")) as f:
        manifest = json.load(f)
    notes = {s["path"]: s["note"] for s in manifest["built"]["samples"]}
    out = []
    with open(os.path.join(images, "carving.raw"), "rb") as raw:
        for sample in manifest["carving"]["samples"]:
            if sample["type"] not in ("doc", "xls", "ppt", "zip"):
                continue
            raw.seek(sample["start_sector"] * 512)
            window = raw.read(WINDOW)
            window += bytes(WINDOW - len(window))
            prefix = "compound file; application name "
            note = notes[sample["path"]]
            app = note[len(prefix):] if note.startswith(prefix) else ""
            out.append((f"carving_{sample['start_sector']}_{sample['type']}.bin", window, app))
    return out


MAIN_STREAMS = ((b"W\0o\0r\0d\0D\0o\0c\0u\0m\0e\0n\0t\0\0\0", ".doc"), (b"W\0o\0r\0k\0b\0o\0o\0k\0\0\0", ".xls"),
                (b"P\0o\0w\0e\0r\0P\0o\0i\0n\0t\0 \0D\0o\0c\0u\0m\0e\0n\0t\0\0\0", ".ppt"))


def extension(app, data=b""):
    """By the application's name; without one, by the main stream the writer put in the file."""
    for word, ext in (("PowerPoint", ".ppt"), ("Excel", ".xls"), ("Word", ".doc")):
        if word in app:
            return ext
    if app:
        return ".pub"
    if data.startswith(bytes.fromhex("D0CF11E0A1B11AE1")) and len(data) >= 2048:
        return next((ext for name, ext in MAIN_STREAMS if name in data[:WINDOW]), "-")
    return "-"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--images", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    samples = own_samples() + carving_windows(args.images)
    with open(os.path.join(args.out, "index.tsv"), "w") as index:
        for name, data, app in samples:
            with open(os.path.join(args.out, name), "wb") as f:
                f.write(data)
            index.write(f"{name}\t{app or '-'}\t{extension(app, data)}\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
