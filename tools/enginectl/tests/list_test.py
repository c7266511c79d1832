#!/usr/bin/env python3
"""enginectl quick --list on folders of the FAT16, FAT32 and NTFS test volumes and of the sparse NTFS volume of
the listing tests, against what TSK lists there (engine/listing/make_listing_volume.py writes that, one line per
folder or file; its docstring gives the columns).

    list_test.py --enginectl PATH --images DIR --expected FILE

Each folder's rows must be: "Parent..." first with empty columns below the root, none in the root; then one row
per entry TSK lists there, named as TSK names it (FAT names compared by oracle.fat_names_match), with "Folder" or
"Deleted Folder", or a file type that begins "Deleted " exactly for deleted files, the size (0 for folders), the
creation and modification columns (empty where TSK gives no time or the volume never set one), and a decimal id.
The NTFS root also shows the metafiles and "Lost Dir", without times. A path the tree does not have ends with
status 1.
"""
import argparse
import concurrent.futures
import os
import subprocess
import sys

REPO = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..", ".."))
sys.path.insert(0, os.path.join(REPO, "tools", "images"))

import oracle  # noqa: E402

CASES = [
    ("fat16.fixed.vhd", "/"),
    ("fat16.fixed.vhd", "/Documents"),
    ("fat32.fixed.vhd", "/ToDelete"),
    ("fat32.fixed.vhd", "/Deep/Nested/Folder/Chain"),
    ("ntfs_4k.fixed.vhd", "/"),
    ("ntfs_4k.fixed.vhd", "/ToDelete"),
    ("listing_sparse.fixed.vhd", "/"),
    ("listing_sparse.fixed.vhd", "/Nested"),
    ("listing_sparse.fixed.vhd", "/Nested/Deeper"),
]


def load(path):
    volumes, entries = {}, {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            fields = line.rstrip("\n").split("\t")
            if fields[0] == "#volume":
                volumes[fields[1]] = (int(fields[2]), int(fields[3]))
            else:
                image, folder, name, kind, deleted, size, created, modified = fields
                entries.setdefault((image, folder), []).append(
                    {"name": name, "dir": kind == "D", "deleted": deleted == "1", "size": int(size),
                     "created": created, "modified": modified})
    return volumes, entries


def image_path(images, expected, image):
    own = os.path.join(os.path.dirname(os.path.abspath(expected)), image)
    return own if os.path.exists(own) else os.path.join(images, image)


def run(enginectl, path, code, sectors, folder):
    return subprocess.run([enginectl, "quick", path, "--range", str(code), "0", str(sectors), "--list", folder],
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE)


def check(rows, want, fat, root):
    problems = []
    if not root:
        if not rows or rows[0] != ["Parent...", "", "", "", "", ""]:
            return ["the first row is not an empty Parent... row: %r" % (rows[:1],)]
        rows = rows[1:]
    elif rows and rows[0][0] == "Parent...":
        problems.append("Parent... row in the root")
    left = list(rows)
    for e in want:
        match = next((r for r in left if (r[1] in ("Folder", "Deleted Folder")) == e["dir"] and
                      (oracle.fat_names_match(e["name"], r[0], e["deleted"]) if fat else e["name"] == r[0])), None)
        if match is None:
            problems.append("missing " + e["name"])
            continue
        left.remove(match)
        name, kind, size, created, modified, ident = match
        if e["dir"]:
            ok_type = kind == ("Deleted Folder" if e["deleted"] else "Folder")
        else:
            ok_type = kind.startswith("Deleted ") == e["deleted"] and kind not in ("Folder", "Deleted Folder")
        if not ok_type:
            problems.append("%s: type %s" % (name, kind))
        if size != ("0" if e["dir"] else str(e["size"])):
            problems.append("%s: size %s instead of %d" % (name, size, e["size"]))
        for got, exp in ((created, e["created"]), (modified, e["modified"])):
            if got != ("" if exp == "-" else exp):
                problems.append("%s: time %r instead of %r" % (name, got, exp))
        if not ident.isdigit():
            problems.append("%s: id %r" % (name, ident))
    for r in left:
        if not (not fat and root and (r[0].startswith("$") or r[0] == "Lost Dir")):
            problems.append("extra " + r[0])
        if r[0] == "Lost Dir" and (r[3] or r[4]):
            problems.append("Lost Dir shows the times %r and %r, which no volume set" % (r[3], r[4]))
    return problems


def run_case(args, volumes, entries, image, folder):
    code, sectors = volumes[image]
    proc = run(args.enginectl, image_path(args.images, args.expected, image), code, sectors, folder)
    if proc.returncode != 0:
        return ["exit status %d: %s" % (proc.returncode, proc.stderr.decode("utf-8", "replace").strip())]
    rows = [line.split("\t") for line in proc.stdout.decode("utf-8").splitlines()]
    if any(len(r) != 6 for r in rows):
        return ["a row without six columns"]
    want = entries.get((image, folder.strip("/")), [])
    return check(rows, want, code != 300, folder == "/")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--enginectl", required=True)
    parser.add_argument("--images", required=True)
    parser.add_argument("--expected", required=True)
    args = parser.parse_args()
    volumes, entries = load(args.expected)
    failed = 0
    with concurrent.futures.ThreadPoolExecutor(4) as pool:
        results = list(pool.map(lambda c: run_case(args, volumes, entries, *c), CASES))
    for (image, folder), problems in zip(CASES, results):
        label = "%s %s" % (image, folder)
        if problems:
            failed += 1
            print("FAILED: " + label)
            for line in problems[:40]:
                print("  " + line)
        else:
            print("ok: " + label)
    code, sectors = volumes["fat16.fixed.vhd"]
    proc = run(args.enginectl, image_path(args.images, args.expected, "fat16.fixed.vhd"), code, sectors, "/No such")
    if proc.returncode != 1 or proc.stdout:
        failed += 1
        print("FAILED: a missing folder gives status %d and %d bytes of output" % (proc.returncode, len(proc.stdout)))
    print("%d folders, %d failed" % (len(CASES), failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
