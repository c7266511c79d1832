"""Whole disks: volumes placed at chosen sectors, partition tables written by sfdisk, and the damage kit."""

import os
import re

import fat
import ntfs
from util import SECTOR, copy_into, make_sparse, patch, run

CYLINDER = 255 * 63  # sectors per cylinder of the 255-head, 63-sector geometry that partition search walks


def volume_fs(volume_name):
    return "ntfs" if volume_name.startswith("ntfs") else ("fat32" if volume_name.startswith("fat32") else "fat16")


def volume_sectors(volumes_dir, volume_name):
    return os.path.getsize(os.path.join(volumes_dir, volume_name)) // SECTOR


def place_volume(disk, volumes_dir, volume_name, start):
    """Copies a volume image into the disk at sector start and records that start as its hidden sectors."""
    src = os.path.join(volumes_dir, volume_name)
    size = os.path.getsize(src)
    copy_into(src, disk, start * SECTOR)
    fs = volume_fs(volume_name)
    if fs == "ntfs":
        ntfs.set_hidden_sectors(disk, start * SECTOR, size, start)
    else:
        fat.set_hidden_sectors(disk, start * SECTOR, fs, start)
    return {"start": start, "sectors": size // SECTOR, "fs": fs, "volume": volume_name}


def write_table(disk, label_id, partitions):
    """Writes an MBR (and the chain of extended boot records) with sfdisk.

    partitions: dicts with start, size (sectors) and type (hex byte); primaries and the extended one first, in
    slot order, then the logical ones."""
    script = ["label: dos", f"label-id: 0x{label_id:08x}", "unit: sectors", ""]
    for p in partitions:
        script.append(f"start={p['start']}, size={p['size']}, type={p['type']:x}")
    run(["sfdisk", "-q", "--no-reread", "--no-tell-kernel", "--wipe", "never", "--wipe-partitions", "never", disk],
        input="\n".join(script).encode() + b"\n")


def build_disk(disk, volumes_dir, total_sectors, label_id, partitions, loose=()):
    """A disk of total_sectors; partitions as for write_table, each with an optional volume image name;
    loose: (volume name, start) pairs placed without any table entry. Returns the placed volumes."""
    make_sparse(disk, total_sectors * SECTOR)
    placed = []
    for p in partitions:
        if p.get("volume"):
            placed.append(place_volume(disk, volumes_dir, p["volume"], p["start"]))
    for name, start in loose:
        placed.append(place_volume(disk, volumes_dir, name, start))
    if partitions:
        write_table(disk, label_id, partitions)
    return placed


def clear_signature(disk, sector):
    patch(disk, sector * SECTOR + 510, b"\0\0")


def zero_sectors(disk, first, count):
    patch(disk, first * SECTOR, bytes(count * SECTOR))


def fat_table_sectors(disk, start):
    """First sector and length of the first allocation table, from fsstat's own report."""
    out = run(["fsstat", "-o", start, disk])
    m = re.search(r"\* FAT 0: (\d+) - (\d+)", out)
    first, last = int(m.group(1)), int(m.group(2))
    return start + first, last - first + 1


def ntfs_record_sectors(disk, start, record):
    """The two sectors holding MFT record `record`, found through the $MFT data runs that istat reports."""
    fsstat = run(["fsstat", "-o", start, disk])
    cluster = int(re.search(r"Cluster Size: (\d+)", fsstat).group(1))
    istat = run(["istat", "-o", start, disk, "0"])
    runs = istat.split("Type: $DATA (128-", 1)[1].split("\n", 1)[1]
    clusters = [int(x) for x in re.findall(r"\d+", runs.split("Type:", 1)[0])]
    sectors = []
    for byte in (record * 1024, record * 1024 + SECTOR):
        c = clusters[byte // cluster]
        sectors.append(start + (c * cluster + byte % cluster) // SECTOR)
    return sectors


def tsk_inode(disk, start, path):
    """TSK's address of an allocated path on the volume at start."""
    for line in run(["fls", "-r", "-p", "-o", start, disk]).splitlines():
        head, _, name = line.partition(":\t")
        if name == path and "*" not in head:
            return int(head.split()[-1].split("-")[0])
    raise KeyError(path)
