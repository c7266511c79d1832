#!/usr/bin/env python3
"""FAT volumes whose folders all run on into one shared chain of directory clusters (tools/images/
fat_shared_chains.py), on FAT16 and FAT32 at two shapes. Each folder is read along its own chain, so a cluster two
folders reach is listed under both; but a scan reads the clusters it has read once at most once more in all, so
Quick Scan and the reading of the file system an Extensive Scan finds (--choose 1) list every entry the volume holds
(folders, and the files of their first clusters and of the shared chain), none from a directory cluster read more
than twice, the shared chain's files first under the first folder that reaches them.

    fat_shared_chains_test.py --enginectl PATH --work DIR
"""
import argparse
import collections
import os
import shutil
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from driver import CODES, run  # noqa: E402  (driver.py puts tools/images on the path)
import fat_shared_chains  # noqa: E402
import vhd  # noqa: E402

# (fs, folders, shared chain clusters, MiB)
SHAPES = [("fat16", 20, 200, 16), ("fat16", 60, 600, 16), ("fat32", 20, 200, 40), ("fat32", 60, 600, 40)]


def check(args, fs, folders, chain, mib):
    name = "%s_%d_%d" % (fs, folders, chain)
    raw = os.path.join(args.work, name + ".raw")
    held = fat_shared_chains.build(raw, folders, chain, fs == "fat32", mib)
    image = os.path.join(args.work, name + ".vhd")
    shutil.copyfile(raw, image)
    with open(image, "ab") as f:
        f.write(vhd.make_footer(mib << 20, 2, vhd.unique_id(name), 0xFFFFFFFFFFFFFFFF))
    source = ["--range", CODES[fs], 0, (mib << 20) // 512]
    problems = []
    for mode, extra in (("quick", []), ("chosen", ["--choose", 1])):
        proc = run(args.enginectl, "quick" if mode == "quick" else "extensive", image, *source, *extra)
        lines = [l for l in proc.stdout.decode().splitlines() if not l.endswith("\t/Lost Dir")]
        names = collections.Counter(l.rsplit("/", 1)[-1] for l in lines)
        # Every entry has a name of its own; no directory cluster is read more than twice (16 entries each, the
        # folders' clusters, the shared chain's and a FAT32 root's).
        clusters = folders + chain + (-(-folders * 32 // 512) if fs == "fat32" else 0)
        if proc.returncode != 0 or len(names) != held or len(lines) > 2 * 16 * clusters:
            problems.append("%s %s: status %d, %d entries listed (%d names), %d held" %
                            (name, mode, proc.returncode, len(lines), len(names), held))
        shared = [l for l in lines if l.rsplit("/", 1)[-1] == "F%07d.TXT" % (folders * 16)]
        if not shared or not shared[0].endswith("/D0000000/F%07d.TXT" % (folders * 16)):
            problems.append("%s %s: the shared chain's first file listed %d times, first at %s" %
                            (name, mode, len(shared), shared[:1]))
    return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--enginectl", required=True)
    parser.add_argument("--work", required=True)
    args = parser.parse_args()
    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    problems = [p for shape in SHAPES for p in check(args, *shape)]
    for p in problems:
        print("FAILED:", p)
    print("%d shapes, %d problems" % (len(SHAPES), len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
