#!/usr/bin/env python3
"""enginectl quick on every FAT16, FAT32 and NTFS volume of the shared test images, in every wrapper the
engine opens (fixed and dynamic VHD, VHDX), against what The Sleuth Kit lists in the images' manifests.

    quick_test.py --enginectl PATH --images DIR [--jobs N] [--only NAME...]

A volume that the partition table names is scanned as the source page chooses it (--partition N, N its
place in `enginectl partitions`); one that only the generator placed (bare volumes, disks without a valid
table) with --range. Both lists are compared after the normalisation oracle.py documents:

- TSK's listing without metafiles, orphans and named streams; the engine's without the NTFS metafiles
  ($MFT ... and $Extend's contents), which it lists as ordinary files;
- FAT names: TSK's "_" for the first character of a deleted short name and its NT lower-case flags
  (oracle.fat_names_match); FAT files without clusters (empty files), which the directory parser never
  lists;
- NTFS: the folder "Lost Dir", always added; files whose folder record is gone (the damage kit's
  built.damage.lost, which TSK does not list) are expected in "Lost Dir/Dir<n>" in place of that folder;
- folders are compared by path and deleted mark, files also by size.

The damage kit: a volume TSK cannot read (boot sector cleared) is expected to list as its intact volume
(built.damage.intact) does. The images whose first allocation table is zeroed are left out: Quick Scan
follows folder chains through the first table.
"""
import argparse
import concurrent.futures
import json
import os
import re
import subprocess
import sys

REPO = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..", ".."))
sys.path.insert(0, os.path.join(REPO, "tools", "images"))

import oracle  # noqa: E402

CODES = {"fat16": 100, "fat32": 200, "ntfs": 300}
WRAPPERS = (".fixed.vhd", ".dynamic.vhd", ".1m.vhdx", ".8m.vhdx", ".32m.vhdx", ".vhd", ".vhdx")
# Left out, with the reason.
SKIPPED = {
    "dmg_fat16_fat1": "first allocation table zeroed",
    "dmg_fat32_fat1": "first allocation table zeroed",
    "mbr_extended.diff": "differencing disk: its volumes live in the parent",
    "badfooter.fixed": "the footer's checksum is wrong: the image is refused",
}
LOST_DIR = "Lost Dir"


def load(path):
    with open(path, encoding="utf-8") as f:
        return json.load(f)


def stem(image):
    for suffix in WRAPPERS:
        if image.endswith(suffix):
            return image[: -len(suffix)], suffix
    return image, ""


class Entry:
    def __init__(self, folder, deleted, size, path):
        self.folder, self.deleted, self.size, self.path = folder, deleted, size, path

    def text(self):
        return "%s\t%d\t%s\t/%s" % ("D" if self.folder else "F", self.deleted, "-" if self.folder else self.size,
                                     self.path)


# ---------------------------------------------------------------- what TSK lists

def volume_sectors(images, manifest, volume):
    """The volume's sector count: as the generator placed it, or the bare volume's whole file."""
    source = manifest["built"].get("source")
    built = load(os.path.join(images, source + ".manifest.json"))["built"] if source else manifest["built"]
    for placed in built.get("placed_volumes", []):
        if placed["start"] == volume["start"] and "sectors" in placed:
            return placed["sectors"]
    raw = os.path.join(images, source or manifest["image"])
    return os.path.getsize(raw) // 512 - volume["start"]


def damage_of(images, manifest):
    """built.damage of the image, or of the raw disk a wrapper holds; None when it is not damaged."""
    source = manifest["built"].get("source")
    built = load(os.path.join(images, source + ".manifest.json"))["built"] if source else manifest["built"]
    return built.get("damage")


def expected_entries(images, manifest, volume):
    damage = damage_of(images, manifest)
    listed = volume
    if "error" in volume:
        intact = load(os.path.join(images, damage["intact"] + ".manifest.json"))
        (listed,) = intact["volumes"]
    fs = volume.get("fs") or listed["fs"]
    entries = []
    for e in oracle.user_entries(listed):
        if e["stream"]:
            continue
        folder = e["dir"]
        if fs != "ntfs" and not folder and e["size"] == 0:
            continue
        entries.append(Entry(folder, 1 if e["deleted"] else 0, e["size"], e["path"]))
    if fs == "ntfs":
        entries.append(Entry(True, 0, 0, LOST_DIR))
    if damage and damage.get("lost"):
        gone = damage["folder"]
        entries = [e for e in entries if e.path != gone]
        entries.append(Entry(True, 0, 0, LOST_DIR + "/Dir#"))
        for lost in damage["lost"]:
            path = LOST_DIR + "/Dir#" + lost["path"][len(gone):]
            entries.append(Entry(lost["dir"], 1 if lost["deleted"] else 0, lost["size"], path))
    return fs, entries


# ---------------------------------------------------------------- what the engine lists

def scanned_entries(out, fs):
    entries = []
    for line in out.splitlines():
        kind, deleted, size, path = line.split("\t", 3)
        path = path[1:]
        if fs == "ntfs":
            if path.startswith("$"):
                continue  # the metafiles, and $Extend with what it holds
            path = re.sub(r"^Lost Dir/Dir\d+", LOST_DIR + "/Dir#", path)
        entries.append(Entry(kind == "D", int(deleted), int(size), path))
    return entries


# ---------------------------------------------------------------- comparing

def same(expected, got, fs):
    if expected.folder != got.folder or expected.deleted != got.deleted:
        return False
    if not expected.folder and expected.size != got.size:
        return False
    if fs == "ntfs":
        return expected.path == got.path
    a, b = expected.path.split("/"), got.path.split("/")
    return len(a) == len(b) and all(oracle.fat_names_match(x, y, expected.deleted == 1) for x, y in zip(a, b))


def compare(fs, expected, got):
    """The differences, as lines; empty when the listings agree."""
    key = (lambda e: e.path) if fs == "ntfs" else (lambda e: oracle.tsk_path_key(e.path))
    pending = {}
    for e in got:
        pending.setdefault(key(e), []).append(e)
    problems = []
    for e in expected:
        candidates = pending.get(key(e), [])
        match = next((g for g in candidates if same(e, g, fs)), None)
        if match is None:
            problems.append("missing: " + e.text() + ("" if not candidates else "  (got " + candidates[0].text() + ")"))
        else:
            candidates.remove(match)
    problems += ["extra:   " + g.text() for rest in pending.values() for g in rest]
    return problems


# ---------------------------------------------------------------- running

def partition_index(enginectl, image):
    out = subprocess.run([enginectl, "partitions", image], stdout=subprocess.PIPE, check=True).stdout.decode()
    return [int(line.split("\t")[0]) for line in out.splitlines()]


def cases(images, only):
    for name in sorted(os.listdir(images)):
        if not name.endswith(".manifest.json"):
            continue
        image = name[: -len(".manifest.json")]
        if not stem(image)[1] or (only and image not in only):
            continue
        if any(image.startswith(skipped + ".") for skipped in SKIPPED):
            continue
        manifest = load(os.path.join(images, name))
        for volume in manifest.get("volumes", []):
            fs = volume.get("fs")
            if fs is None and "error" in volume and damage_of(images, manifest):
                fs = expected_entries(images, manifest, volume)[0]
            if fs in CODES:
                yield image, manifest, volume, fs


def run_case(enginectl, images, image, manifest, volume, fs):
    path = os.path.join(images, image)
    if volume["origin"] == "table":
        starts = partition_index(enginectl, path)
        if volume["start"] not in starts:
            return ["enginectl partitions does not list the volume at %d" % volume["start"]]
        args = ["--partition", str(starts.index(volume["start"]))]
    else:
        args = ["--range", str(CODES[fs]), str(volume["start"]), str(volume_sectors(images, manifest, volume))]
    proc = subprocess.run([enginectl, "quick", path] + args, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    if proc.returncode != 0:
        return ["exit status %d: %s" % (proc.returncode, proc.stderr.decode("utf-8", "replace").strip())]
    fs, expected = expected_entries(images, manifest, volume)
    return compare(fs, expected, scanned_entries(proc.stdout.decode("utf-8"), fs))


def refusals(enginectl, images):
    """The driver's answers when there is nothing to scan: problems, as lines."""
    disk = os.path.join(images, "mbr_primary.fixed.vhd")
    not_found = ("2\tDorvane was unable to find correct partition parameters. \\r\\nPlease go back to the first "
                 "step and select Extensive Scan \\r\\nfor recovery.\n")
    expected = [
        (["--partition", "9"], 2, None),
        (["--range", "400", "2048", "100"], 2, None),
        (["--range", "300"], 2, None),
        # The blank partition holds no file system: reported, and no tree.
        (["--range", "300", "247808", "2048"], 1, not_found),
        (["--range", "100", "247808", "2048"], 1, not_found),
    ]
    problems = []
    for args, status, stderr in expected:
        proc = subprocess.run([enginectl, "quick", disk] + args, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        err = proc.stderr.decode("utf-8", "replace")
        if proc.returncode != status or proc.stdout or (stderr is not None and err != stderr):
            problems.append("quick %s: status %d, output %r, messages %r" % (" ".join(args), proc.returncode,
                                                                          proc.stdout[:80], err))
    return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--enginectl", required=True)
    parser.add_argument("--images", required=True)
    parser.add_argument("--jobs", type=int, default=4)
    parser.add_argument("--only", nargs="*", default=[])
    args = parser.parse_args()
    todo = list(cases(args.images, set(args.only)))
    failed = 0
    with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
        results = pool.map(lambda c: run_case(args.enginectl, args.images, *c), todo)
        for (image, _, volume, fs), problems in zip(todo, results):
            label = "%s at %d (%s)" % (image, volume["start"], fs)
            if problems:
                failed += 1
                print("FAILED: " + label)
                for line in problems[:40]:
                    print("  " + line)
            else:
                print("ok: " + label)
    print("%d volumes, %d failed" % (len(todo), failed))
    for line in refusals(args.enginectl, args.images):
        failed += 1
        print("FAILED: " + line)
    return 1 if failed or not todo else 0


if __name__ == "__main__":
    sys.exit(main())
