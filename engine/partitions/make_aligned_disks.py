#!/usr/bin/env python3
"""Writes disks partitioned on 1 MiB boundaries whose partition table's entries were zeroed, for the partition
search, and what the search must find on them.

    make_aligned_disks.py --images DIR --out FILE

aligned_1m (NAME.raw, NAME.fixed.vhd, NAME.dynamic.vhd, NAME.8m.vhdx beside FILE): an MBR naming FAT16 (512 MiB,
mkfs.fat) at sector 2048, FAT32 (256 MiB) at 1050624 and NTFS (64 MiB, mkntfs) at 1574912, as partitioning tools
have placed them since the cylinder-aligned ones; then the four entries zeroed (the 55 AA kept). None of the
three starts on a cylinder of 255 x 63 sectors or 63 sectors after one.

aligned_past_geometry (the same wrappers): a 140 GiB sparse disk whose only volume, NTFS (64 MiB), lies at
sector 272629760 (130 GiB), past the 136 GiB that a VHD footer's geometry can describe; no table.

FILE holds, as partition_oracle.py writes its lines,

    search IMAGE CYLINDERS HEADS SECTORS_PER_TRACK first:count:code ...

one line per wrapper: the VHD footer's geometry (0 0 0 for VHDX, which has none), and each volume with the
sector count TSK's fsstat gives for it.
"""
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.abspath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, os.path.join(REPO, "tools", "images"))
sys.path.insert(0, HERE)

import disks  # noqa: E402
import oracle  # noqa: E402
from recipes import settle_vhd_footer  # noqa: E402
from partition_oracle import CODES, boot_sector_count  # noqa: E402
from util import SECTOR, fresh_dir, make_sparse, patch, run  # noqa: E402

MIB = 1024 * 1024
# (name, disk sectors, [(fs, start sector, MiB)], partition table written then zeroed)
DISKS = [
    ("aligned_1m", 1708032, [("fat16", 2048, 512), ("fat32", 1050624, 256), ("ntfs", 1574912, 64)], True),
    ("aligned_past_geometry", 140 * 2048 * 1024, [("ntfs", 272629760, 64)], False),
]
TYPES = {"fat16": 0x06, "fat32": 0x0C, "ntfs": 0x07}


def make_volume(path, fs, mib):
    make_sparse(path, mib * MIB)
    if fs == "ntfs":
        run(["mkntfs", "-q", "-F", "-Q", "-T", "-c", 4096, "-s", SECTOR, "-p", 0, "-H", 255, "-S", 63, "-L", "ALIGNED",
             path])
    else:
        run(["mkfs.fat", "--invariant", "--mbr=n", "-F", fs[3:], "-g", "255/63", "-h", 0, "-n", "ALIGNED", path])


def wrappers(raw):
    stem = raw[:-len(".raw")]
    out = []
    for suffix, options in ((".fixed.vhd", ["-O", "vpc", "-o", "subformat=fixed,force_size=on"]),
                            (".dynamic.vhd", ["-O", "vpc", "-o", "subformat=dynamic,force_size=on"]),
                            (".8m.vhdx", ["-O", "vhdx", "-o", "subformat=dynamic,block_size=8M"])):
        path = stem + suffix
        if os.path.exists(path):
            os.remove(path)
        run(["qemu-img", "convert", "-f", "raw", *options, raw, path])
        if path.endswith(".vhd"):
            settle_vhd_footer(path, os.path.basename(path))  # the geometry other writers put there
        out.append(path)
    return out


def footer_geometry(path):
    """The VHD footer's cylinders, heads and sectors per track; zeros for a VHDX."""
    if not path.endswith(".vhd"):
        return 0, 0, 0
    with open(path, "rb") as f:
        f.seek(-SECTOR, os.SEEK_END)
        footer = f.read(SECTOR)
    cylinders, heads, sectors = struct.unpack_from(">HBB", footer, 56)
    return cylinders, heads, sectors


def build(out_dir, name, sectors, volumes, table):
    work = fresh_dir(os.path.join(out_dir, name + "_work"))
    raw = os.path.join(out_dir, name + ".raw")
    make_sparse(raw, sectors * SECTOR)
    entries = []
    for i, (fs, start, mib) in enumerate(volumes):
        volume = os.path.join(work, "%s%d.raw" % (fs, i))
        make_volume(volume, fs, mib)
        disks.place_volume(raw, work, os.path.basename(volume), start)
        entries.append({"start": start, "size": mib * MIB // SECTOR, "type": TYPES[fs]})
    if table:
        disks.write_table(raw, 0xA1167ED, entries)
        patch(raw, 446, bytes(64))  # the entries gone, the table's 55 AA kept
    found = sorted((start, boot_sector_count({"fs": fs, "fsstat": oracle.fsstat(raw, start)}), CODES[fs])
                   for fs, start, _ in volumes)
    lines = []
    for path in wrappers(raw):
        lines.append("search %s %d %d %d %s" % (os.path.basename(path), *footer_geometry(path),
                                                 " ".join("%d:%d:%d" % f for f in found)))
    os.remove(raw)
    for leftover in os.listdir(work):
        os.remove(os.path.join(work, leftover))
    os.rmdir(work)
    return lines


def main():
    import argparse
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--images", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    out_dir = os.path.dirname(os.path.abspath(args.out))
    os.makedirs(out_dir, exist_ok=True)
    lines = []
    for name, sectors, volumes, table in DISKS:
        lines += build(out_dir, name, sectors, volumes, table)
    with open(args.out, "w", encoding="utf-8") as f:
        f.writelines(line + "\n" for line in lines)
    return 0


if __name__ == "__main__":
    sys.exit(main())
