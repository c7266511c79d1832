"""A fixed VHD holding one FAT32 volume with two recovered documents: a UTF-16 text file with its byte-order
mark and an RTF file. Made with mkfs.fat and mtools; the VHD footer comes from the image generator."""

import argparse
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "..", "tools", "images"))
import vhd  # noqa: E402

VOLUME_KIB = 40 * 1024  # the smallest FAT32 volume mkfs.fat makes with 512-byte clusters

NOTES = ("Recovered notes\r\n"
         "\u039a\u03b1\u03bb\u03b7\u03bc\u03ad\u03c1\u03b1 \u03ba\u03cc\u03c3\u03bc\u03b5\r\n"
         "\u041f\u0440\u0438\u0432\u0435\u0442, \u043c\u0438\u0440\r\n"
         "Saved as UTF-16 with its byte-order mark.\r\n")

REPORT = (r"{\rtf1\ansi\deff0{\fonttbl{\f0 Arial;}{\f1 Courier New;}}{\colortbl;\red0\green0\blue0;"
          r"\red31\green78\blue121;}\f0\fs20 \cf2\b Recovered report\b0\cf1\par "
          r"Found on the FAT32 volume of a scanned disk image.\par "
          r"\i Totals\i0 : \u945?\u946?\u947? 1, 2, 3\par \f1 status = ok;\f0\par }")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--out", required=True)
    out = parser.parse_args().out
    os.makedirs(out, exist_ok=True)
    raw = os.path.join(out, "documents.raw")
    if os.path.exists(raw):
        os.remove(raw)
    subprocess.run(["mkfs.fat", "-C", "--invariant", "--mbr=n", "-F", "32", "-s", "1", "-n", "DOCUMENTS", raw,
                    str(VOLUME_KIB)], check=True, stdout=subprocess.DEVNULL)
    files = {"Notes utf16.txt": b"\xff\xfe" + NOTES.encode("utf-16-le"), "Recovered report.rtf": REPORT.encode()}
    for name, data in files.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
    subprocess.run(["mcopy", "-i", raw] + list(files) + ["::/"], cwd=out, check=True)
    size = os.path.getsize(raw)
    with open(raw, "ab") as f:
        f.write(vhd.make_footer(size, 2, vhd.unique_id("documents"), 0xFFFFFFFFFFFFFFFF))
    os.replace(raw, os.path.join(out, "documents.fixed.vhd"))


if __name__ == "__main__":
    main()
