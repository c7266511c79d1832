#!/usr/bin/env python3
"""Ordinary FAT histories made by mkfs.fat and mtools, in which two entries name one folder's cluster (a new folder
takes the cluster of a folder deleted before it; a folder is moved, then deleted), against The Sleuth Kit.

    fat_histories_test.py --enginectl PATH --work DIR [--only CASE...] [--list]

(a case is a history on a layout, HISTORY_FS_SPC: --list names them)

Each history runs on FAT16 and FAT32, with 1-sector clusters and with larger ones. The deleted folder's entry is
met before the new folder's (in the root, or deeper), after it, or in the same folder; the new folder holds live
files and a deleted one, and a deleted tree of files lies beside. A folder moved and then deleted leaves a deleted
entry in its old parent and one in its new; either is met first. A folder of more than 100 clusters is moved away
from the entry it leaves behind, or made on a deleted folder's cluster, the deleted entry met first (clusters of
one sector). For each volume:
- Quick Scan's tree (path, size, live or deleted) equals fls's, less the deleted folder entries whose cluster
  a live folder holds now, and less the deleted entry a move left behind with what TSK lists below it (the
  engine lists a cluster's folder once: under the live entry, else under the entry in the folder its ".."
  names);
- reading the file system an Extensive Scan finds (--choose 1) gives the same tree (beside it, "Lost Dir" and the
  deleted folders that no entry names any more, "Dir" + cluster, with what they hold);
- saving the Quick Scan's tree saves every file fls lists with icat's bytes; with "--deleted exclude" every live
  file is saved with icat's bytes and nothing else;
- the snapshots of both scans load over the volume.
The last line gives the cases and the failures.
"""
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from driver import (CODES, Entry, Save, case_arguments, check_save, compare, moved_fat_folders, run,  # noqa: E402
                    run_cases, saved_tree, scanned_entries)
from fat import _forget_next_free as forget_next_free  # noqa: E402  (driver.py puts tools/images on the path)
import oracle  # noqa: E402
from util import copy_sparse, pseudo_bytes, run as run_tool  # noqa: E402
import vhd  # noqa: E402

KEEP = "Keep these folders safe"  # a name of three entries: it cannot take the place of the deleted one
# Each history: mtools steps, ("mmd", path), ("mrd", path), ("put", path, size), ("mdel", path),
# ("mdeltree", path), ("mmove", path, new path), ("bulk", folder, count): count files of long names in one copy.
HISTORIES = {
    # The sequence: the deleted OldDir is met in the root, the new folder one level down.
    "reuse_deeper": [("mmd", "Docs"), ("mmd", "OldDir"), ("mrd", "OldDir"), ("mmd", "Docs/NewDir"),
                     ("put", "Docs/NewDir/FILE.TXT", 3000)],
    # The deleted folder is read before the new folder's entry is met (two levels down).
    "reuse_read_first": [("mmd", "Docs"), ("mmd", "Docs/Sub"), ("mmd", "OldDir"), ("mrd", "OldDir"),
                         ("mmd", "Docs/Sub/NewDir"), ("put", "Docs/Sub/NewDir/kept.txt", 5000),
                         ("put", "Docs/Sub/NewDir/Gone.bin", 700), ("mdel", "Docs/Sub/NewDir/Gone.bin"),
                         ("put", "Docs/Sub/NewDir/Last one.dat", 2100)],
    # The new folder's entry is met first; the deleted one lies deeper.
    "reuse_live_first": [("mmd", "A"), ("mmd", "A/Old"), ("mrd", "A/Old"), ("mmd", "New Folder"),
                         ("put", "New Folder/Inside.txt", 4000)],
    # Both in the same folder: a file after the deleted entry keeps its place too small for the longer name.
    "reuse_same_folder": [("mmd", "Docs"), ("mmd", "Docs/Old"), ("put", "Docs/B.TXT", 600), ("mrd", "Docs/Old"),
                          ("mmd", "Docs/A new folder name"), ("put", "Docs/A new folder name/A.TXT", 1500)],
    # Both in the same folder, the new folder's entry first: it takes the place an empty file left.
    "reuse_same_folder_live_first": [("mmd", "Docs"), ("put", "Docs/EMPTY.TXT", 0), ("mmd", "Docs/OLD"),
                                     ("mdel", "Docs/EMPTY.TXT"), ("mrd", "Docs/OLD"), ("mmd", "Docs/NEW"),
                                     ("put", "Docs/NEW/IN.TXT", 900)],
    # Moved, then deleted with its new parent: the entry left in the old parent is met first, or (deeper) after.
    "moved_then_deleted": [("mmd", "Old parent"), ("mmd", "New"), ("mmd", "Old parent/Moved one"),
                           ("put", "Old parent/Moved one/inside.txt", 2200), ("put", "Stay.txt", 300),
                           ("mmove", "Old parent/Moved one", "New/Moved one"), ("mdeltree", "New")],
    "moved_then_deleted_deeper": [("mmd", "A"), ("mmd", "A/Old parent"), ("mmd", "A/Old parent/MOVED"),
                                  ("put", "A/Old parent/MOVED/IN.TXT", 1700), ("mmd", "New parent"),
                                  ("mmove", "A/Old parent/MOVED", "New parent/MOVED"),
                                  ("put", "New parent/Stay here.txt", 500), ("put", "A/Live.txt", 800),
                                  ("mdeltree", "New parent")],
    # A deleted tree of files beside a new tree that takes its clusters.
    "reuse_tree": [("mmd", "Old"), ("mmd", "Old/Deep"), ("put", "Old/one.txt", 2500), ("put", "Old/Deep/two.txt", 900),
                   ("put", "Stay.txt", 300), ("mdeltree", "Old"), ("mmd", KEEP), ("mmd", KEEP + "/New"),
                   ("mmd", KEEP + "/New/Deeper"), ("put", KEEP + "/New/three.txt", 3300),
                   ("put", KEEP + "/New/four.txt", 1200), ("put", KEEP + "/New/Deeper/five.txt", 800),
                   ("mdel", KEEP + "/New/four.txt")],
    # A folder of more than 100 clusters moved away from the entry it leaves behind, which is met first.
    "big_folder_moved": [("mmd", "Photos"), ("mmd", "Photos/2023"), ("bulk", "Photos/2023", 620), ("mmd", "Archive"),
                         ("mmd", "Archive/Old"), ("mmove", "Photos/2023", "Archive/Old/2023")],
    # A folder of more than 100 clusters made on a deleted folder's cluster, the deleted entry met first.
    "big_folder_reuse": [("mmd", "Gone"), ("mmd", "B"), ("mmd", "B/C"), ("mmd", "Gone/Old"), ("mrd", "Gone/Old"),
                         ("mmd", "B/C/New"), ("bulk", "B/C/New", 620)],
}
# Folders past 100 clusters need clusters of one sector (a folder of 620 files fills 117 of them).
BIG = {"big_folder_moved", "big_folder_reuse"}
# (fs, sectors per cluster, MiB): the smallest sizes at which TSK takes each for what it is.
LAYOUTS = [("fat16", 1, 16), ("fat16", 8, 40), ("fat32", 1, 40), ("fat32", 2, 72)]


def build(work, name, history, fs, spc, mib):
    """The raw volume and its fixed VHD: (raw, vhd)."""
    raw = os.path.join(work, name + ".raw")
    with open(raw, "wb") as f:
        f.truncate(mib << 20)
    run_tool(["mkfs.fat", "--invariant", "-F", 16 if fs == "fat16" else 32, "-s", spc, raw])
    staging = os.path.join(work, name + ".files")
    os.makedirs(staging)
    for step in history:
        target = "::/" + step[1]
        if step[0] == "bulk":
            many = os.path.join(staging, "bulk%d" % len(os.listdir(staging)))
            os.makedirs(many)
            for i in range(step[2]):
                with open(os.path.join(many, "photo number %04d.jpg" % i), "wb") as f:
                    f.write(pseudo_bytes("%s%s%d" % (name, step[1], i), 100 + i % 300))
            run_tool(["mcopy", "-i", raw, "-s"] + [os.path.join(many, n) for n in sorted(os.listdir(many))] +
                     [target + "/"])
        elif step[0] == "put":
            local = os.path.join(staging, str(len(os.listdir(staging))))
            with open(local, "wb") as f:
                f.write(pseudo_bytes(name + step[1], step[2]))
            run_tool(["mcopy", "-i", raw, "-D", "o", local, target])
        else:
            run_tool([step[0], "-i", raw, target] + ["::/" + p for p in step[2:]])
            forget_next_free(raw, fs)  # so that FAT32 too gives the freed clusters out again
    image = os.path.join(work, name + ".vhd")
    copy_sparse(raw, image)  # the volumes are mostly empty: 40 of them stay a few MiB on disk
    with open(image, "ab") as f:
        f.write(vhd.make_footer(mib << 20, 2, vhd.unique_id(name), 0xFFFFFFFFFFFFFFFF))
    return raw, image


def tsk_entries(raw):
    """TSK's user entries, less the deleted folders whose first cluster a live folder holds now, and less the
    deleted entries a move left behind with what TSK lists below them; and how many folders were left out."""
    volume = oracle.describe_volume(raw, 0)
    entries = [e for e in oracle.user_entries(volume) if not e["stream"]]
    live = {e["runs"][0][0] for e in entries if e["dir"] and not e["deleted"] and e["runs"]}
    out = [e for e in entries if e["dir"] and e["deleted"] and e["runs"] and e["runs"][0][0] in live]
    moved = moved_fat_folders(volume, raw)
    kept = [e for e in entries if e not in out and e not in moved and
            not (e["deleted"] and any(e["path"].startswith(m["path"] + "/") for m in moved))]
    return kept, len(out) + len(moved)


def expected_tree(entries):
    return [Entry(e["dir"], 1 if e["deleted"] else 0, e["size"], e["path"]) for e in entries
            if e["dir"] or e["size"]]


def check(args, name, history, layout):
    fs, spc, mib = layout
    case = case_name(name, layout)
    work = os.path.join(args.work, case)
    os.makedirs(work)
    raw, image = build(work, case, history, fs, spc, mib)
    source = ["--range", CODES[fs], 0, (mib << 20) // 512]
    entries, reused = tsk_entries(raw)
    problems = [] if reused else ["the history left no folder that two entries name"]
    snapshots = [os.path.join(work, mode + ".vsnp") for mode in ("quick", "extensive")]
    quick = run(args.enginectl, "quick", image, *source, "--snapshot-save", snapshots[0])
    problems += ["quick " + p for p in compare(fs, expected_tree(entries), scanned_entries(quick.stdout.decode(), fs))]
    chosen = run(args.enginectl, "extensive", image, *source, "--choose", 1, "--snapshot-save", snapshots[1])
    # Beside TSK's tree, the Extensive Scan finds deleted folders that no entry names any more ("Dir" + cluster).
    got = [e for e in scanned_entries(chosen.stdout.decode(), fs)
           if e.path != "Lost Dir" and not re.search(r"(^|/)Dir\d+(/|$)", e.path)]
    problems += ["chosen " + p for p in compare(fs, expected_tree(entries), got)]
    # Their snapshots (deleted files and folders among what the check samples) load over the volume.
    for snapshot in snapshots:
        loaded = run(args.enginectl, "snapshot-load", snapshot, "--image", image)
        if loaded.returncode != 0:
            problems.append("%s over its own volume: %s" % (os.path.basename(snapshot), loaded.stderr.decode().strip()))
    files = [e for e in entries if not e["dir"] and e["size"]]
    for policy, wanted in (("include", entries), ("exclude", [e for e in entries if not e["deleted"]])):
        save = Save(args.enginectl, image, source, os.path.join(work, "save_" + policy), ["--deleted", policy])
        pairs = [(e, e["path"]) for e in wanted if e["dir"] or e["size"]]
        found = check_save(save, pairs, raw, 0, True)
        saved_files = sum(1 for kind in saved_tree(save.out).values() if kind == "F")
        want_files = sum(1 for e in wanted if not e["dir"] and e["size"])
        if saved_files != want_files:
            found.append("%d files saved, %d wanted" % (saved_files, want_files))
        problems += ["save --deleted %s: %s" % (policy, p) for p in found]
    if not any(not e["deleted"] for e in files) or not any(e["dir"] and not e["deleted"] for e in entries):
        problems.append("the history made no live file or folder")
    return case, problems


def case_name(name, layout):
    return "%s_%s_%d" % (name, layout[0], layout[1])


def main():
    table = {case_name(n, layout): (n, h, layout) for n, h in HISTORIES.items() for layout in LAYOUTS
             if n not in BIG or layout[1] == 1}
    args = case_arguments(list(table))
    return run_cases([c for name, c in table.items() if not args.only or name in args.only],
                     lambda c: check(args, *c))


if __name__ == "__main__":
    sys.exit(main())
