"""A fixed VHD holding one FAT32 volume with a recovered web page ("Saved page.html") that has a table, a
list, a link and a picture beside it, and a damaged one ("Damaged page.html": cut inside its body's colour,
garbage behind). Made with mkfs.fat and mtools; the VHD footer comes from the image
generator."""

import argparse
import os
import random
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools", "images"))
import vhd  # noqa: E402

VOLUME_KIB = 40 * 1024  # the smallest FAT32 volume mkfs.fat makes with 512-byte clusters

PAGE = """<html><head><title>Saved page</title></head>
<body><h2>Holiday plans</h2>
<p>Found on a <b>scanned disk image</b>. The <a href="other.html">other page</a> was not recovered.</p>
<table border=1 cellpadding=3><tr><th>Day</th><th>Place</th></tr>
<tr><td>Monday</td><td>Harbour</td></tr><tr><td>Tuesday</td><td>Old town</td></tr></table>
<ul><li>Tickets booked</li><li>Hotel paid</li></ul>
<img src="photo.bmp" width=60 height=40>
</body></html>
"""


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--out", required=True)
    out = parser.parse_args().out
    os.makedirs(out, exist_ok=True)
    raw = os.path.join(out, "html.raw")
    if os.path.exists(raw):
        os.remove(raw)
    subprocess.run(["mkfs.fat", "-C", "--invariant", "--mbr=n", "-F", "32", "-s", "1", "-n", "PAGES", raw,
                    str(VOLUME_KIB)], check=True, stdout=subprocess.DEVNULL)
    name = "Saved page.html"
    with open(os.path.join(out, name), "wb") as f:
        f.write(PAGE.replace("\n", "\r\n").encode("ascii"))
    damaged = "Damaged page.html"
    with open(os.path.join(out, damaged), "wb") as f:
        rnd = random.Random(7)
        f.write(PAGE[:PAGE.index("<body") + 5].encode("ascii") + b' bgcolor="#ff' +
                bytes(rnd.randrange(256) for _ in range(512)))
    subprocess.run(["mcopy", "-i", raw, name, damaged, "::/"], cwd=out, check=True)
    size = os.path.getsize(raw)
    with open(raw, "ab") as f:
        f.write(vhd.make_footer(size, 2, vhd.unique_id("html"), 0xFFFFFFFFFFFFFFFF))
    os.replace(raw, os.path.join(out, "html.fixed.vhd"))


if __name__ == "__main__":
    main()
