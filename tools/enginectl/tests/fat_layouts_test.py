#!/usr/bin/env python3
"""FAT volumes of the layouts that real disks have and small tests miss, made by mkfs.fat and mtools, against The
Sleuth Kit:

    fat_layouts_test.py --enginectl PATH --work DIR [--only NAME...] [--list]

- two volumes on a disk without a table, an 8 MiB FAT16 and a FAT32 behind it, every boot sector zeroed: each is
  rebuilt by an Extensive Scan, its allocation tables its own and not the other volume's;
- a FAT32 volume of two million clusters (1 GiB at 512-byte clusters, sparse), whose two tables span 32,000
  sectors, its boot sectors zeroed;
- FAT16 volumes of 32 KiB and 64 KiB clusters, their boot sectors zeroed: their tables lie at or above the sector
  of cluster 0;
- FAT12 volumes: in a logical partition of type 1 (Quick Scan of the partition) and bare, its boot sector zeroed.
Every volume holds folders, files and a fragmented file (a hole left by a deleted file, filled by a longer file
that goes on after the next one). For each volume read (Quick Scan of its partition, or the file system an
Extensive Scan finds at its place): every live folder and file fls lists is listed at its path with its size,
and saved with icat's bytes; what a volume lists beyond that is only "Lost Dir" and folders no entry names
("Dir" + cluster), never a file.
The last line gives the cases and the failures.
"""
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from driver import (CODES, Entry, Save, case_arguments, check_save, cluster_base, compare, run, run_cases,  # noqa: E402
                    scanned_entries)
from fat import _forget_next_free as forget_next_free  # noqa: E402  (driver.py puts tools/images on the path)
import disks  # noqa: E402
import oracle  # noqa: E402
from util import copy_sparse, make_sparse, pseudo_bytes, run as run_tool  # noqa: E402
import vhd  # noqa: E402

CODES = dict(CODES, fat12=100)
ALIGN = 2048


class Volume:
    """fs (fat12, fat16, fat32), size in MiB, sectors per cluster."""

    def __init__(self, fs, mib, spc):
        self.fs, self.mib, self.spc = fs, mib, spc
        self.sectors = mib * 2048


# Each case: the volumes, in disk order; how the disk holds them ("bare": one after another from sector 0,
# "logical1": each in a logical partition of type 1); whether their boot sectors are zeroed.
CASES = {
    "bare_fat16_then_fat32": ([Volume("fat16", 8, 1), Volume("fat32", 40, 1)], "bare", True),
    "fat32_two_million_clusters": ([Volume("fat32", 1024, 1)], "bare", True),
    "fat16_32k_clusters": ([Volume("fat16", 160, 64)], "bare", True),
    "fat16_64k_clusters": ([Volume("fat16", 300, 128)], "bare", True),
    "fat12_logical_type1": ([Volume("fat12", 4, 4)], "logical1", False),
    "fat12_bare": ([Volume("fat12", 6, 4)], "bare", True),
}


def make_volume(work, name, v):
    """The raw volume: folders, files, and a file fragmented around another."""
    raw = os.path.join(work, name + ".raw")
    make_sparse(raw, v.mib << 20)
    run_tool(["mkfs.fat", "--invariant", "--mbr=n", "-F", v.fs[3:], "-s", v.spc, "-n", name[:11].upper(), raw])
    cluster = v.spc * 512
    staging = os.path.join(work, name + ".files")
    os.makedirs(staging)

    def put(path, size):
        local = os.path.join(staging, str(len(os.listdir(staging))))
        with open(local, "wb") as f:
            f.write(pseudo_bytes(name + path, size))
        run_tool(["mcopy", "-i", raw, local, "::/" + path])

    run_tool(["mmd", "-i", raw, "::/Docs", "::/Docs/Sub", "::/Pictures", "::/Pictures/2023"])
    for i in range(6):
        put("Read me %d.txt" % i, 300 + 700 * i)
        put("Docs/letter %d.doc" % i, cluster * (i % 3) + 900)
        put("Docs/Sub/data %d.bin" % i, 5000 + i)
        put("Pictures/2023/IMG_%04d.JPG" % i, 3 * cluster + 17 * i)
    put("Pictures/hole.tmp", 2 * cluster)
    put("Pictures/after.tmp", cluster)
    run_tool(["mdel", "-i", raw, "::/Pictures/hole.tmp"])
    forget_next_free(raw, v.fs)
    put("Docs/report.pdf", 5 * cluster - 100)
    return raw


def compose(work, name, volumes, how):
    """The disk (raw and fixed VHD) and the volumes' starts."""
    raws = [make_volume(work, "%s_%d" % (name, i), v) for i, v in enumerate(volumes)]
    if how == "bare":
        starts, at = [], 0
        for v in volumes:
            starts.append(at)
            at += v.sectors
        total = at
    else:
        starts = [ALIGN * (2 * i + 2) + sum(v.sectors for v in volumes[:i]) for i in range(len(volumes))]
        total = starts[-1] + volumes[-1].sectors + ALIGN
    disk = os.path.join(work, name + ".disk.raw")
    make_sparse(disk, total * 512)
    for raw, start in zip(raws, starts):
        disks.place_volume(disk, work, os.path.basename(raw), start)
    if how == "logical1":
        parts = [{"start": ALIGN, "size": total - 2 * ALIGN, "type": 0x05}]
        parts += [{"start": s, "size": v.sectors, "type": 0x01} for v, s in zip(volumes, starts)]
        disks.write_table(disk, 0x12AB0000 + len(name), parts)
    image = os.path.join(work, name + ".vhd")
    copy_sparse(disk, image)
    with open(image, "ab") as f:
        f.write(vhd.make_footer(total * 512, 2, vhd.unique_id(name), 0xFFFFFFFFFFFFFFFF))
    return disk, image, starts, total


def fragmented(entries):
    """Whether the history left a live file in two runs or more (TSK's runs)."""
    return any(len(e["runs"]) > 1 for e in entries if not e["dir"])


def check_volume(args, work, truth, image, total, v, volume, index, how):
    """volume: TSK's description of the volume as made (truth: the disk before its boot sectors were zeroed)."""
    start = volume["start"]
    entries = [e for e in oracle.user_entries(volume) if not e["stream"] and not e["deleted"]]
    problems = [] if fragmented(entries) else ["the history left no fragmented file"]
    if how == "logical1":
        source, extra, mode = ["--partition", index], [], "quick"
    else:
        source, mode = ["--range", CODES[v.fs], 0, total], "extensive"
        found = run(args.enginectl, "extensive", image, *source)
        base = cluster_base(volume, start)
        k = next((line.split("\t")[0] for line in found.stdout.decode().splitlines()
                  if int(line.split("\t")[3]) == base), None)
        if k is None:
            return problems + ["no file system found at sector %d: %s" % (base, found.stdout.decode().strip())]
        extra = ["--choose", k]
    listed = run(args.enginectl, mode, image, *source, *extra)
    got = [e for e in scanned_entries(listed.stdout.decode(), "fat") if e.path != "Lost Dir" and
           not (e.folder and re.search(r"(^|/)Dir\d+$", e.path)) and not e.deleted]
    want = [Entry(e["dir"], 0, e["size"], e["path"]) for e in entries if e["dir"] or e["size"]]
    problems += ["listed " + p for p in compare("fat", want, got)]
    save = Save(args.enginectl, image, source, os.path.join(work, "save%d" % index), ["--deleted", "exclude"] + extra)
    pairs = [(e, e["path"]) for e in entries if e["dir"] or e["size"]]
    problems += ["saved " + p for p in check_save(save, pairs, truth, start, True)]
    return problems


def check(args, name):
    volumes, how, wiped = CASES[name]
    work = os.path.join(args.work, name)
    os.makedirs(work)
    truth, image, starts, total = compose(work, name, volumes, how)
    described = [oracle.describe_volume(truth, start) for start in starts]
    if wiped:
        for v, start in zip(volumes, starts):
            disks.zero_sectors(image, start, 1)  # a fixed VHD holds the disk's sectors at their own offsets
            if v.fs == "fat32":
                disks.zero_sectors(image, start + 6, 1)
    problems = []
    for index, (v, volume) in enumerate(zip(volumes, described)):
        if volume.get("fs") != v.fs:
            problems.append("volume %d: TSK reads %s, not %s" % (index, volume.get("fs"), v.fs))
            continue
        problems += ["volume %d (%s): %s" % (index, v.fs, p)
                     for p in check_volume(args, work, truth, image, total, v, volume, index, how)]
    return name, problems


def main():
    args = case_arguments(list(CASES))
    names = [n for n in CASES if not args.only or n in args.only]
    return run_cases(names, lambda n: check(args, n))


if __name__ == "__main__":
    sys.exit(main())
