#!/usr/bin/env python3
"""A crafted FAT volume whose folders all run on into one long shared chain of directory clusters: each of
`folders` folders (entries of the root) has a first cluster of its own, beginning with "." and "..", that the
first allocation table links to the head of a chain of `chain` clusters full of file entries. A reader that
follows every folder's whole chain reads the shared clusters once per folder (folders x chain clusters); one
that reads each cluster once per scan reads folders + chain clusters.

    fat_shared_chains.py RAW FOLDERS CHAIN [--fat32] [--size-mib N]

The volume is made by mkfs.fat (512-byte clusters) and then written over: both table copies link the chains,
the root holds the folders' entries. Prints the number of directory entries the volume holds (folders, then
the file entries of their first clusters and of the shared chain), the most a scan can list.
"""
import argparse
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import fat_boot  # noqa: E402
from util import SECTOR, run  # noqa: E402

ENTRIES_PER_SECTOR = SECTOR // 32


def entry(name, ext, attributes, cluster, size, fat32):
    """A 32-byte short entry."""
    high = cluster >> 16 if fat32 else 0
    return struct.pack("<8s3sBBBHHHHHHHI", name.ljust(8).encode(), ext.ljust(3).encode(), attributes, 0, 0, 0,
                       0x5121, 0x5121, high, 0, 0x5121, cluster & 0xFFFF, size)


def file_entries(seed, count, fat32):
    """count file entries named after seed; each names cluster 2 (data nobody checks) and 100 bytes."""
    return b"".join(entry("F%07d" % (seed * ENTRIES_PER_SECTOR + i), "TXT", 0x20, 2, 100, fat32)
                    for i in range(count))


class Volume:
    def __init__(self, raw):
        self.raw = raw
        g = fat_boot.read(raw)
        self.spc, self.reserved, self.fats, self.fat32, self.spf = g.spc, g.reserved, g.fats, g.fat32, g.spf
        self.root_cluster, self.root_sector, self.data = g.root_cluster, g.root_sector, g.data
        self.writes = {}
        self.links = {}

    def cluster_sector(self, cluster):
        return self.data + (cluster - 2) * self.spc

    def link(self, cluster, value):
        self.links[cluster] = value

    def write_sector(self, sector, data):
        self.writes[sector] = data.ljust(SECTOR, b"\0")[:SECTOR]

    def flush(self):
        width, end = (4, 0x0FFFFFFF) if self.fat32 else (2, 0xFFFF)
        with open(self.raw, "r+b") as f:
            for copy in range(self.fats):
                table = self.reserved + copy * self.spf
                for cluster, value in self.links.items():
                    f.seek(table * SECTOR + cluster * width)
                    f.write(struct.pack("<I" if self.fat32 else "<H", end if value is None else value))
            for sector, data in self.writes.items():
                f.seek(sector * SECTOR)
                f.write(data)


def build(raw, folders, chain, fat32=False, size_mib=32):
    """Writes the volume; returns the number of directory entries it holds."""
    with open(raw, "wb") as f:
        f.truncate(size_mib << 20)
    run(["mkfs.fat", "--invariant", "-F", 32 if fat32 else 16, "-s", 1, "-n", "SHARED", raw])
    v = Volume(raw)
    root = b"".join(entry("D%07d" % i, "", 0x10, 0, 0, fat32) for i in range(folders))
    root_sectors = (len(root) + SECTOR - 1) // SECTOR
    next_cluster = v.root_cluster + 1 if fat32 else 2
    root_clusters = [v.root_cluster] if fat32 else []
    while fat32 and len(root_clusters) * v.spc < root_sectors:
        root_clusters.append(next_cluster)
        next_cluster += 1
    heads = list(range(next_cluster, next_cluster + folders))
    shared = list(range(next_cluster + folders, next_cluster + folders + chain))
    root = b"".join(entry("D%07d" % i, "", 0x10, c, 0, fat32) for i, c in enumerate(heads))
    if fat32:
        for i, c in enumerate(root_clusters):
            v.link(c, root_clusters[i + 1] if i + 1 < len(root_clusters) else None)
        sectors = [v.cluster_sector(c) + j for c in root_clusters for j in range(v.spc)]
    else:
        sectors = [v.root_sector + j for j in range(root_sectors)]
    for i in range(0, len(root), SECTOR):
        v.write_sector(sectors[i // SECTOR], root[i:i + SECTOR])
    listed = folders
    for i, c in enumerate(heads):
        dots = entry(".", "", 0x10, c, 0, fat32) + entry("..", "", 0x10, 0, 0, fat32)
        v.write_sector(v.cluster_sector(c), dots + file_entries(i, ENTRIES_PER_SECTOR - 2, fat32))
        listed += ENTRIES_PER_SECTOR - 2
        v.link(c, shared[0] if shared else None)
    for i, c in enumerate(shared):
        v.write_sector(v.cluster_sector(c), file_entries(folders + i, ENTRIES_PER_SECTOR, fat32))
        listed += ENTRIES_PER_SECTOR
        v.link(c, shared[i + 1] if i + 1 < len(shared) else None)
    v.flush()
    return listed


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("raw")
    parser.add_argument("folders", type=int)
    parser.add_argument("chain", type=int)
    parser.add_argument("--fat32", action="store_true")
    parser.add_argument("--size-mib", type=int, default=32)
    args = parser.parse_args()
    print(build(args.raw, args.folders, args.chain, args.fat32, args.size_mib))


if __name__ == "__main__":
    main()
