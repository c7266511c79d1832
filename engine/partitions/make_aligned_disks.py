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

Disks past the engine's 32-bit sectors, sparse, as a VHDX alone (a VHD holds at most 2040 GiB):
beyond_reach (NAME.8m.vhdx): a GPT naming NTFS of 4,823,449,599 sectors (2.2 TiB) at sector 2048 and NTFS
(64 MiB) at sector 4823451648, past sector 2^32.
fat32_2tib (NAME.8m.vhdx): an MBR naming FAT32 of 2^32 - 1 sectors (2 TiB less one sector) at sector 2048.

FILE holds, as partition_oracle.py writes its lines,

    search IMAGE CYLINDERS HEADS SECTORS_PER_TRACK first:count:code ...
    detect IMAGE first:count:code ...

a search line per wrapper: the VHD footer's geometry (0 0 0 for VHDX, which has none), and each volume with the
sector count TSK's fsstat gives for it; a detect line per wrapper of a disk whose table names its volumes, with the
table's counts (fat32_2tib; its search would walk 2 TiB for nothing more).
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
M = MIB // SECTOR
# (name, disk sectors, [(fs, start sector, sectors)], table: "zeroed" (an MBR written, then its entries zeroed),
# "gpt", "mbr" (written here: sfdisk refuses a DOS table on a disk past 2 TiB) or None)
DISKS = [
    ("aligned_1m", 1708032, [("fat16", 2048, 512 * M), ("fat32", 1050624, 256 * M), ("ntfs", 1574912, 64 * M)],
     "zeroed"),
    ("aligned_past_geometry", 140 * 2048 * 1024, [("ntfs", 272629760, 64 * M)], None),
    ("beyond_reach", 4823584768, [("ntfs", 2048, 4823449599), ("ntfs", 4823451648, 64 * M)], "gpt"),
    ("fat32_2tib", 4294971392, [("fat32", 2048, 2 ** 32 - 1)], "mbr"),
]
GPT_BASIC_DATA = "EBD0A0A2-B9E5-4433-87C0-68B6B72699C7"
TYPES = {"fat16": 0x06, "fat32": 0x0C, "ntfs": 0x07}


def make_volume(path, fs, sectors):
    """A volume of sectors, sparse; one past 2 TiB with larger clusters, so that its tables stay small."""
    make_sparse(path, sectors * SECTOR)
    big = sectors >= 2 ** 32 - 1
    if fs == "ntfs":
        run(["mkntfs", "-q", "-F", "-Q", "-T", "-c", 65536 if big else 4096, "-s", SECTOR, "-p", 0, "-H", 255, "-S", 63,
             "-L", "ALIGNED", path])
    else:
        run(["mkfs.fat", "--invariant", "--mbr=n", "-F", fs[3:], "-g", "255/63", "-h", 0, "-n", "ALIGNED",
             *(["-s", 128] if big else []), path])


def write_table(raw, kind, entries):
    if kind == "gpt":
        script = "label: gpt\nunit: sectors\n\n" + "".join(
            "start=%d, size=%d, type=%s\n" % (e["start"], e["size"], GPT_BASIC_DATA) for e in entries)
        run(["sfdisk", "-q", "--no-reread", "--no-tell-kernel", "--wipe", "never", "--wipe-partitions", "never", raw],
            input=script.encode())
    elif kind == "mbr":
        for i, e in enumerate(entries):
            patch(raw, 446 + 16 * i, struct.pack("<B3sB3sII", 0, b"\xfe\xff\xff", e["type"], b"\xfe\xff\xff",
                                                 e["start"], e["size"]))
        patch(raw, 510, b"\x55\xaa")
    else:
        disks.write_table(raw, 0xA1167ED, entries)
        patch(raw, 446, bytes(64))  # the entries gone, the table's 55 AA kept


def wrappers(raw, vhdx_only):
    stem = raw[:-len(".raw")]
    out = []
    kinds = ((".fixed.vhd", ["-O", "vpc", "-o", "subformat=fixed,force_size=on"]),
             (".dynamic.vhd", ["-O", "vpc", "-o", "subformat=dynamic,force_size=on"]),
             (".8m.vhdx", ["-O", "vhdx", "-o", "subformat=dynamic,block_size=8M"]))
    for suffix, options in kinds[2:] if vhdx_only else kinds:
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
    for i, (fs, start, count) in enumerate(volumes):
        volume = os.path.join(work, "%s%d.raw" % (fs, i))
        make_volume(volume, fs, count)
        disks.place_volume(raw, work, os.path.basename(volume), start)
        os.remove(volume)
        entries.append({"start": start, "size": count, "type": TYPES[fs]})
    if table:
        write_table(raw, table, entries)
    found = sorted((start, boot_sector_count({"fs": fs, "fsstat": oracle.fsstat(raw, start)}), CODES[fs])
                   for fs, start, _ in volumes)
    lines = []
    for path in wrappers(raw, sectors > 2 ** 32):
        image = os.path.basename(path)
        if table == "mbr":
            lines.append("detect %s %s" % (image, " ".join("%d:%d:%d" % (e["start"], e["size"], CODES[fs])
                                                         for e, (fs, _, _) in zip(entries, volumes))))
        else:
            lines.append("search %s %d %d %d %s" % (image, *footer_geometry(path),
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
