#!/usr/bin/env python3
"""Writes what the NTFS record tests expect of the NTFS test volumes, from their manifests (fsstat, fls -r -p -l,
istat) and, for the folders' index allocations, which the manifests do not hold, from istat itself.

    ntfs_oracle.py --images DIR --out FILE

Tab-separated lines (the engine reads the fixed VHD of each volume; its manifest names the raw file as source):

    volume  IMAGE  START  SECTORS_PER_CLUSTER  MFT_CLUSTER  MFT_EXTENT  INDEX_RECORD_BYTES
    entry   IMAGE  INODE  D|F  DELETED  META  PARENT  SIZE  RESIDENT  CREATED  MODIFIED  RUNS  NAME
    folder  IMAGE  INODE  ALLOCATION  OWNER

MFT_EXTENT is "first:count" of the MFT's data in image sectors (it is one extent on these volumes). RESIDENT is 1, 0 or - (not known); CREATED and MODIFIED are file times, - for metafiles; RUNS is
"first:count,..." in image sectors with sparse holes left out (istat), - when unknown, "" for none.
ALLOCATION is "first:count" of the $I30 index allocation in image sectors, - when there is none. OWNER is the
record number the first entry of the folder's $I30 index root names: the folder itself when that index holds
any entry (a folder with live children and no index allocation), 0 when it holds none (no live children),
? when it cannot be told (the entries went to the allocation).
"""
import argparse
import calendar
import json
import os
import re
import subprocess
import sys

REPO = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(REPO, "tools", "images"))

from util import tool_env  # noqa: E402

IMAGES = ("ntfs_512", "ntfs_4k", "ntfs_64k")
ROOT = 5
EPOCH_DIFFERENCE = 11644473600  # seconds from 1601-01-01 to 1970-01-01


def file_time(text):
    match = re.match(r"(\d{4})-(\d\d)-(\d\d) (\d\d):(\d\d):(\d\d)", text)
    if not match or match.group(1) == "0000":
        return "-"
    seconds = calendar.timegm(tuple(int(g) for g in match.groups()) + (0, 0, 0))
    return str((seconds + EPOCH_DIFFERENCE) * 10_000_000)


def attribute_extent(raw, start, inode, cluster_sectors, attribute, to_size=False):
    """First image sector and sector count of the clusters istat lists for the attribute ("$DATA (128-",
    "$INDEX_ALLOCATION (160-"), or None; with to_size, no further than the attribute's size (the MFT's records
    end with its data, though its clusters may go on). TSK lists clusters past the initialised size as 0; the
    extent must otherwise be contiguous."""
    out = subprocess.run(["istat", "-o", str(start), raw, str(inode)], stdout=subprocess.PIPE, check=True,
                         env=tool_env()).stdout.decode("utf-8", "replace")
    lines = out.splitlines()
    for i, line in enumerate(lines):
        if line.startswith("Type: " + attribute):
            clusters = []
            for more in lines[i + 1:]:
                if more.startswith("Type: "):
                    break
                clusters.extend(int(n) for n in more.split())
            used = [c for c in clusters if c != 0]
            if not used or used != list(range(used[0], used[0] + len(used))) or clusters[:len(used)] != used:
                raise SystemExit("%s: %s of %d is not one extent" % (raw, attribute, inode))
            sectors = len(clusters) * cluster_sectors
            if to_size:
                sectors = min(sectors, int(re.search(r"\bsize: (\d+)", line).group(1)) // 512)
            return start + used[0] * cluster_sectors, sectors
    return None


def runs_text(entry):
    if entry["runs"] is None:
        return "-"
    return ",".join("%d:%d" % (first, count) for first, count in entry["runs"])


def lines_of(images, name):
    with open(os.path.join(images, name + ".fixed.vhd.manifest.json"), encoding="utf-8") as f:
        manifest = json.load(f)
    if manifest["built"].get("source") != name + ".raw":
        raise SystemExit("%s.fixed.vhd does not hold %s.raw" % (name, name))
    (volume,) = manifest["volumes"]
    raw = os.path.join(images, name + ".raw")
    start = volume["start"]
    fsstat = volume["fsstat"]
    cluster_sectors = int(fsstat["Cluster Size"]) // 512
    mft = attribute_extent(raw, start, 0, cluster_sectors, "$DATA (128-", to_size=True)
    index_bytes = int(fsstat["Size of Index Records"].split()[0])
    image = name + ".fixed.vhd"
    yield "\t".join(["volume", image, str(start), str(cluster_sectors), fsstat["First Cluster of MFT"],
                     "%d:%d" % mft, str(index_bytes)])

    listed = [e for e in volume["entries"] if not e["orphan"]]
    inodes = {e["path"]: e["inode"] for e in listed}

    def parent_of(e):
        return inodes.get(e["path"].rpartition("/")[0], ROOT) if "/" in e["path"] else ROOT

    children = {}
    for e in listed:
        if not e["deleted"]:
            children.setdefault(parent_of(e), []).append(e)
    # Records: one per inode of an unnamed stream; named streams are not records of their own.
    entries = [e for e in listed if e["stream"] is None]
    for e in entries:
        parent = parent_of(e)
        resident = "-" if "resident" not in e else ("1" if e["resident"] else "0")
        times = ("-", "-") if e["meta"] else (file_time(e["crtime"]), file_time(e["mtime"]))
        yield "\t".join(["entry", image, str(e["inode"]), "D" if e["dir"] else "F", "1" if e["deleted"] else "0",
                         "1" if e["meta"] else "0", str(parent), str(e["size"]), resident, *times, runs_text(e),
                         e["name"]])

    folders = [ROOT] + [e["inode"] for e in entries if e["dir"]]
    for inode in folders:
        allocation = attribute_extent(raw, start, inode, cluster_sectors, "$INDEX_ALLOCATION (160-")
        if allocation:
            where, owner = "%d:%d" % allocation, "?"
        else:
            where, owner = "-", str(inode) if children.get(inode) else "0"
        yield "\t".join(["folder", image, str(inode), where, owner])


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--images", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    out = []
    for name in IMAGES:
        out.extend(lines_of(args.images, name))
    os.makedirs(os.path.dirname(os.path.abspath(args.out)), exist_ok=True)
    with open(args.out, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
