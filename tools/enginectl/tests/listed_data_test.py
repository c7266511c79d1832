#!/usr/bin/env python3
"""enginectl quick and save on make_listed_data_volume.py's NTFS volume, whose spread.bin keeps its name and
the rest of its data in extension records named by an attribute list that lies in clusters of its own.

    listed_data_test.py --enginectl PATH --expected listed_data.tsv --work DIR

- Quick Scan lists each file of the generator's list once, with icat's size, at the sector of its base record
  (the extension record that holds spread.bin's name is no file of its own);
- saving the whole tree, after the scan and from its snapshot, writes icat's bytes for each of them;
- copies whose attribute list is damaged (its run sent past the volume, its length beyond its one cluster or
  beyond any real list) are scanned and saved without a crash or a hang: plain.txt is still listed and saved
  as icat reads it, and spread.bin keeps its name.
"""
import argparse
import os
import shutil
import struct
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from driver import Save, failure, run  # noqa: E402

SECTOR = 512
RECORD = 1024
# A scan or save of this 8 MiB volume takes well under a second; past this it hangs.
TIMEOUT = 120


def read_expected(tsv):
    volume, files = None, []
    for line in open(tsv, encoding="utf-8").read().splitlines():
        fields = line.split("\t")
        if fields[0] == "#volume":
            volume = (fields[1], int(fields[2]), int(fields[3]))
        elif fields[0] == "file":
            files.append({"inode": int(fields[1]), "size": int(fields[2]), "name": fields[3],
                          "expected": os.path.join(os.path.dirname(tsv), fields[4])})
    return volume, files


def source(image):
    """--range over the whole volume, which starts at sector 0 of the fixed VHD (its footer is the last sector)."""
    return ["--range", "300", "0", str(os.path.getsize(image) // SECTOR - 1)]


def listed_rows(enginectl, image):
    """{name: [(size, sector)]} of the root folder's file rows after a Quick Scan."""
    proc = run(enginectl, "quick", image, *source(image), "--list", "/", timeout=TIMEOUT)
    if proc.returncode != 0:
        raise RuntimeError(failure(proc, "quick --list /: "))
    rows = {}
    for line in proc.stdout.decode("utf-8").splitlines():
        r = line.split("\t")
        if len(r) >= 6 and not r[1].endswith("Folder") and r[0] != "Parent...":
            rows.setdefault(r[0], []).append((int(r[2]), int(r[5])))
    return rows


def saved_problems(save, files, what):
    problems = [p + what for p in save.problems()]
    for f in files:
        path = os.path.join(save.out, f["name"])
        if not os.path.exists(path):
            problems.append("%s is not saved%s" % (f["name"], what))
        elif open(path, "rb").read() != open(f["expected"], "rb").read():
            problems.append("%s is saved with %d bytes, not icat's %d%s" % (f["name"], os.path.getsize(path),
                                                                              f["size"], what))
    if save.counts.get("unreadable", 0) != 0:
        problems.append("%d files unreadable%s" % (save.counts["unreadable"], what))
    return problems


def check_intact(args, image, spc, mft_cluster, files):
    problems = []
    rows = listed_rows(args.enginectl, image)
    for f in files:
        sector = mft_cluster * spc + 2 * f["inode"]
        if rows.get(f["name"]) != [(f["size"], sector)]:
            problems.append("%s is listed as %s, not once with %d bytes at sector %d" %
                            (f["name"], rows.get(f["name"]), f["size"], sector))
    snapshot = os.path.join(args.work, "listed_data.vsnp")
    if os.path.exists(snapshot):
        os.remove(snapshot)
    proc = run(args.enginectl, "quick", image, *source(image), "--snapshot-save", snapshot, timeout=TIMEOUT)
    if proc.returncode != 0:
        problems.append(failure(proc, "quick --snapshot-save: "))
    problems += saved_problems(Save(args.enginectl, image, source(image), os.path.join(args.work, "scan")), files, "")
    problems += saved_problems(Save(args.enginectl, image, ["--snapshot", snapshot],
                                    os.path.join(args.work, "snapshot")), files, " from the snapshot")
    return problems


def attribute_list(image, spc, mft_cluster, inode):
    """(offset in the image of the record, offset in the record of its non-resident attribute list)."""
    at = (mft_cluster * spc + 2 * inode) * SECTOR
    with open(image, "rb") as f:
        f.seek(at)
        record = f.read(RECORD)
    offset = struct.unpack_from("<H", record, 20)[0]
    while offset + 16 <= RECORD:
        kind, length = struct.unpack_from("<II", record, offset)
        if kind == 0x20 and record[offset + 8] == 1:
            return at, offset
        if kind in (0, 0xFFFFFFFF) or length == 0:
            break
        offset += length
    raise RuntimeError("record %d has no non-resident attribute list" % inode)


def patch(path, at, data):
    # The update sequence keeps the last two bytes of each sector: what is patched must lie clear of them.
    if any((at + i) % SECTOR >= SECTOR - 2 for i in range(len(data))):
        raise RuntimeError("a patch at %d would touch a sector's update-sequence bytes" % at)
    with open(path, "r+b") as f:
        f.seek(at)
        f.write(data)


def damaged_copies(image, spc, mft_cluster, spread, work):
    """(label, path) of copies of the image whose spread.bin attribute list is damaged."""
    at, offset = attribute_list(image, spc, mft_cluster, spread["inode"])
    with open(image, "rb") as f:
        f.seek(at + offset + 32)
        runs = at + offset + struct.unpack("<H", f.read(2))[0]
        f.seek(runs)
        header = f.read(1)[0]
    if header & 0x0F != 1 or header >> 4 < 2:
        raise RuntimeError("the list's first run has the header %#x: a 1-byte length and a 2-byte offset at least "
                           "were expected" % header)
    # The offset's top bytes set to 0x7F: its cluster lies far past the volume's 8192.
    outside = b"\xff" * ((header >> 4) - 1) + b"\x7f"
    damages = [("a run past the volume", runs + 2, outside),
               ("a length beyond its run", at + offset + 48, struct.pack("<Q", 16 * 1024)),
               ("a length beyond any list", at + offset + 48, struct.pack("<Q", 1 << 62))]
    for i, (label, where, data) in enumerate(damages):
        path = os.path.join(work, "damaged%d.vhd" % i)
        shutil.copyfile(image, path)
        patch(path, where, data)
        yield label, path


def check_damaged(args, image, spc, mft_cluster, files):
    spread = next(f for f in files if f["name"] == "spread.bin")
    plain = [f for f in files if f["name"] != "spread.bin"]
    problems = []
    for label, path in damaged_copies(image, spc, mft_cluster, spread, args.work):
        what = " (%s)" % label
        try:
            rows = listed_rows(args.enginectl, path)
            save = Save(args.enginectl, path, source(path), os.path.join(args.work, "damaged"))
        except (RuntimeError, subprocess.TimeoutExpired) as e:
            problems.append("%s%s" % (e, what))
            continue
        if "spread.bin" not in rows:
            problems.append("spread.bin is not listed%s" % what)
        problems += saved_problems(save, plain, what)
    return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--enginectl", required=True)
    parser.add_argument("--expected", required=True)
    parser.add_argument("--work", required=True)
    args = parser.parse_args()
    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    (name, spc, mft_cluster), files = read_expected(args.expected)
    image = os.path.join(os.path.dirname(args.expected), name)
    problems = check_intact(args, image, spc, mft_cluster, files)
    problems += check_damaged(args, image, spc, mft_cluster, files)
    for line in problems:
        print("FAILED: " + line)
    print("%d problems" % len(problems))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
