#!/usr/bin/env python3
"""Writes what the partition tests expect of the shared test images, from the images' manifests.

Detection: mmls's partition rows (first sector, length, type); a row's file-system code is the one
fsstat read from its volume, or, where TSK could read none, the one the partition type gives (the
detection falls back to the type when no boot-sector mark matched). Where mmls finds no table (a blank or
damaged master boot record, a volume at sector 0) nothing is expected. The search: every volume of the manifest with the sector count its boot sector gives (fsstat's
range), and the VHD footer's geometry (VHDX: none; the search derives it).

Lines:  detect IMAGE [first:count:code ...]
        search IMAGE CYLINDERS HEADS SECTORS_PER_TRACK [first:count:code ...]
"""
import argparse
import glob
import json
import os

CODES = {"fat16": 100, "fat32": 200, "ntfs": 300}
SEARCH_IMAGES = ("cyl_aligned.fixed.vhd", "cyl_aligned.dynamic.vhd", "cyl_aligned.8m.vhdx",
                 "mbr_nosig.fixed.vhd", "notable.fixed.vhd", "notable.32m.vhdx")


def type_code(partition_type, logical):
    if partition_type == 1:
        return 100 if logical else 0
    return {4: 100, 6: 100, 14: 100, 11: 200, 12: 200, 7: 300}.get(partition_type, 0)


def detect_line(manifest):
    volumes = {v["start"]: v for v in manifest.get("volumes", [])}
    entries = []
    for row in manifest["partitions"].get("rows", []):
        if row["kind"] != "partition":
            continue
        volume = volumes.get(row["start"], {})
        code = CODES.get(volume.get("fs")) if "error" not in volume else None
        if code is None:
            code = type_code(row["type"], not row["table"].startswith("000:"))
        if code:
            entries.append((row["start"], row["length"], code))
    return "detect %s %s" % (manifest["image"], " ".join("%d:%d:%d" % e for e in sorted(entries)))


def boot_sector_count(volume):
    key = "Total Sector Range" if volume["fs"] == "ntfs" else "Total Range"
    return int(volume["fsstat"][key].split("-")[1]) + 1


def search_line(manifest):
    footer = manifest.get("layout", {}).get("footer") or {}
    geometry = [footer.get(k, 0) for k in ("cylinders", "heads", "sectors_per_track")]
    entries = sorted((v["start"], boot_sector_count(v), CODES[v["fs"]]) for v in manifest["volumes"])
    return "search %s %d %d %d %s" % (manifest["image"], *geometry, " ".join("%d:%d:%d" % e for e in entries))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--images", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    lines = []
    for path in sorted(glob.glob(os.path.join(args.images, "*.manifest.json"))):
        with open(path, encoding="utf-8") as f:
            manifest = json.load(f)
        if manifest["format"] == "raw":
            continue  # the engine reads VHD and VHDX only
        lines.append(detect_line(manifest))
        if manifest["image"] in SEARCH_IMAGES:
            lines.append(search_line(manifest))
    os.makedirs(os.path.dirname(os.path.abspath(args.out)), exist_ok=True)
    with open(args.out, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
