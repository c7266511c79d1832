#!/usr/bin/env python3
"""Writes the disks the tests of reading a chosen file system use besides the shared test images.

    make_chosen_disks.py --images DIR --out FILE

Disks (beside FILE, each as NAME.raw and NAME.fixed.vhd):

    two_ntfs              the shared ntfs_512.raw at 2048 and ntfs_4k.raw at 36864, no partition table: two NTFS
                          file systems whose files have the same names and parents
    dmg_fat16_boot_fat1   the shared dmg_fat16_fat1.raw (first allocation table zeroed) with its boot sector
                          zeroed too: only the second table is left to find

FILE, tab-separated, one line per volume: DISK  START  VOLUME  where VOLUME is the shared raw volume whose
manifest lists what it holds.
"""
import argparse
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.abspath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, os.path.join(REPO, "tools", "images"))

import disks  # noqa: E402
from util import SECTOR, copy_sparse, make_sparse, run  # noqa: E402

TWO_NTFS = [("ntfs_512.raw", 2048), ("ntfs_4k.raw", 36864)]
TWO_NTFS_SECTORS = 71680
DAMAGED_START = 2048


def fixed_vhd(raw):
    vhd = raw[:-len(".raw")] + ".fixed.vhd"
    if os.path.exists(vhd):
        os.remove(vhd)
    run(["qemu-img", "convert", "-f", "raw", "-O", "vpc", "-o", "subformat=fixed,force_size=on", raw, vhd])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--images", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    out_dir = os.path.dirname(os.path.abspath(args.out))
    os.makedirs(out_dir, exist_ok=True)
    lines = []

    two = os.path.join(out_dir, "two_ntfs.raw")
    make_sparse(two, TWO_NTFS_SECTORS * SECTOR)
    for name, start in TWO_NTFS:
        disks.place_volume(two, args.images, name, start)
        lines.append(("two_ntfs", start, name))
    fixed_vhd(two)

    damaged = os.path.join(out_dir, "dmg_fat16_boot_fat1.raw")
    copy_sparse(os.path.join(args.images, "dmg_fat16_fat1.raw"), damaged)
    disks.zero_sectors(damaged, DAMAGED_START, 1)
    lines.append(("dmg_fat16_boot_fat1", DAMAGED_START, "fat16.raw"))
    fixed_vhd(damaged)

    with open(args.out, "w", encoding="utf-8") as f:
        f.writelines("%s\t%d\t%s\n" % line for line in lines)
    return 0


if __name__ == "__main__":
    sys.exit(main())
