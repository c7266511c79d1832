#!/usr/bin/env python3
"""Writes the FAT volumes whose long names span three directory sectors (tools/images/fat_long_names.py) and
what was written to them, for the long-name tests.

    make_long_name_volumes.py --images DIR --out FILE

The volumes go beside FILE as IMAGE (raw) and IMAGE.fixed.vhd (for the engine driver, which opens VHD and VHDX
only). FILE holds, tab-separated, the generator's own list (TSK's fls drops the last pieces of such names):

    #volume  IMAGE  CODE                      (100 FAT16, 200 FAT32)
    IMAGE  KIND  DELETED  SIZE  SHA256  PATH  (KIND D or F; "-" for a folder's size and digest)

It fails when a name meant to span three sectors does not (TSK's entry addresses give where its short entry lies).
"""
import argparse
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "images"))

import fat_long_names  # noqa: E402
from util import run  # noqa: E402

CODES = {"fat16": 100, "fat32": 200}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--images", required=True)  # the shared images: not read, named by every oracle script
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    out_dir = os.path.dirname(os.path.abspath(args.out))
    os.makedirs(out_dir, exist_ok=True)
    lines = []
    for image, fs, size_mib, spc, folder, sector_in_cluster in fat_long_names.VOLUMES:
        raw = os.path.join(out_dir, image)
        files = fat_long_names.build(raw, os.path.join(out_dir, "work", image), fs, size_mib, spc, folder,
                                     sector_in_cluster)
        spanning = fat_long_names.three_sector_names(raw, files)
        meant = [f for f in files if len(f["path"].rsplit("/", 1)[-1]) > 12]
        if len(spanning) != len(meant) - 1:  # all but the deleted name written right in front of another
            sys.exit(f"{image}: {len(spanning)} of {len(meant)} long names span three sectors")
        vhd = raw + ".fixed.vhd"
        if os.path.exists(vhd):
            os.remove(vhd)
        run(["qemu-img", "convert", "-O", "vpc", "-o", "subformat=fixed,force_size=on", raw, vhd])
        lines.append(f"#volume\t{image}\t{CODES[fs]}")
        for made in fat_long_names.folders(folder):
            lines.append("\t".join([image, "D", "0", "-", "-", made]))
        for f in files:
            lines.append("\t".join([image, "F", "1" if f["deleted"] else "0", str(f["size"]), f["sha256"], f["path"]]))
    with open(args.out, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
