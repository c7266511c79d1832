#!/usr/bin/env python3
"""enginectl on make_listed_data_volume.py's NTFS volumes, whose files keep their records in more than one place:

    listed_data     spread.bin keeps its name and the rest of its data in extension records named by an
                    attribute list that lies in clusters of its own
    moved_data      the same, with no part of spread.bin's data left in its base record
    split_record    a record whose two sectors lie in two extents of a fragmented MFT (the last file made)

    listed_data_test.py --enginectl PATH --expected listed_data.tsv --work DIR

(moved_data.tsv and split_record.tsv lie beside listed_data.tsv.) For each volume, after a Quick Scan and after
an Extensive Scan (the file system it finds at sector 0 read as page 3 reads it):

- each file of the generator's list is listed once, with icat's size (after a Quick Scan: at the sector of its
  base record; the extension record that holds spread.bin's name is no file of its own);
- saving the whole tree, after the scan and from its snapshot loaded over the volume, writes icat's bytes for
  each of them; the snapshot loaded over a volume of another layout is refused and saves nothing;

and copies of listed_data whose attribute list is damaged (its run sent past the volume, its length beyond its
one cluster or beyond any real list) are scanned and saved without a crash or a hang: plain.txt is still listed
and saved as icat reads it, and spread.bin keeps its name.
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


MISMATCH = "Source file and load recovery snapshot mismatch"
VOLUMES = ["listed_data.tsv", "moved_data.tsv", "split_record.tsv"]


def source(image):
    """--range over the whole volume, which starts at sector 0 of the fixed VHD (its footer is the last sector)."""
    return ["--range", "300", "0", str(os.path.getsize(image) // SECTOR - 1)]


def chosen(enginectl, image):
    """["--choose", K] for the file system the Extensive Scan finds at sector 0."""
    proc = run(enginectl, "extensive", image, *source(image), timeout=TIMEOUT)
    for line in proc.stdout.decode("utf-8").splitlines():
        fields = line.split("\t")
        if len(fields) == 5 and fields[3] == "0":
            return ["--choose", fields[0]]
    raise RuntimeError(failure(proc, "extensive: no file system at sector 0: "))


def tree_files(proc):
    """{name: [(path, size)]} of the files of a printed tree."""
    files = {}
    for line in proc.stdout.decode("utf-8").splitlines():
        kind, _, size, path = line.split("\t", 3)
        if kind == "F":
            files.setdefault(path.rsplit("/", 1)[-1], []).append((path, int(size)))
    return files


def listed_rows(enginectl, image, folder):
    """{name: [(size, sector)]} of a folder's file rows after a Quick Scan."""
    proc = run(enginectl, "quick", image, *source(image), "--list", folder, timeout=TIMEOUT)
    if proc.returncode != 0:
        raise RuntimeError(failure(proc, "quick --list %s: " % folder))
    rows = {}
    for line in proc.stdout.decode("utf-8").splitlines():
        r = line.split("\t")
        if len(r) >= 6 and not r[1].endswith("Folder") and r[0] != "Parent...":
            rows.setdefault(r[0], []).append((int(r[2]), int(r[5])))
    return rows


def saved_problems(save, files, paths, what):
    problems = [p + what for p in save.problems()]
    for f in files:
        path = os.path.join(save.out, *paths[f["name"]].strip("/").split("/"))
        if not os.path.exists(path):
            problems.append("%s is not saved%s" % (f["name"], what))
        elif open(path, "rb").read() != open(f["expected"], "rb").read():
            problems.append("%s is saved with %d bytes, not icat's %d%s" % (f["name"], os.path.getsize(path),
                                                                              f["size"], what))
    if save.counts.get("unreadable", 0) != 0:
        problems.append("%d files unreadable%s" % (save.counts["unreadable"], what))
    return problems


def check_mode(args, image, files, mode, other):
    """The tree, the save and the snapshot after one scan (mode "quick" or "extensive")."""
    label = " (%s)" % mode
    scope = [] if mode == "quick" else chosen(args.enginectl, image)
    proc = run(args.enginectl, mode, image, *source(image), *scope, timeout=TIMEOUT)
    if proc.returncode != 0:
        return [failure(proc, mode + ": ")]
    listed = tree_files(proc)
    problems, paths = [], {}
    for f in files:
        rows = listed.get(f["name"], [])
        if [size for _, size in rows] != [f["size"]]:
            problems.append("%s is listed as %s, not once with icat's %d bytes%s" % (f["name"], rows, f["size"], label))
        else:
            paths[f["name"]] = rows[0][0]
    if problems:
        return problems
    stem = os.path.basename(image).split(".")[0]
    snapshot = os.path.join(args.work, "%s_%s.vsnp" % (stem, mode))
    if os.path.exists(snapshot):
        os.remove(snapshot)
    proc = run(args.enginectl, mode, image, *source(image), *scope, "--snapshot-save", snapshot, timeout=TIMEOUT)
    if proc.returncode != 0:
        problems.append(failure(proc, mode + " --snapshot-save: "))
    work = os.path.join(args.work, stem + "_" + mode)
    problems += saved_problems(Save(args.enginectl, image, source(image), work + "_scan", scope, timeout=TIMEOUT),
                               files, paths, label)
    problems += saved_problems(Save(args.enginectl, image, ["--snapshot", snapshot], work + "_snapshot",
                                    timeout=TIMEOUT), files, paths, " from the snapshot" + label)
    refused = run(args.enginectl, "snapshot-load", snapshot, "--image", other, timeout=TIMEOUT)
    if refused.returncode != 1 or MISMATCH not in refused.stderr.decode("utf-8"):
        problems.append("the snapshot%s is not refused over %s: %s" % (label, other, failure(refused)))
    save = Save(args.enginectl, other, ["--snapshot", snapshot], work + "_other", timeout=TIMEOUT)
    if save.status == 0 or os.listdir(save.out):
        problems.append("the snapshot%s saves %s over %s" % (label, sorted(os.listdir(save.out)), other))
    return problems


def check_volume(args, tsv, other):
    (name, spc, mft_cluster), files = read_expected(tsv)
    image = os.path.join(os.path.dirname(tsv), name)
    problems = []
    for mode in ("quick", "extensive"):
        problems += check_mode(args, image, files, mode, other)
    # A Quick Scan lists a file at the sector of its base record.
    for f in files:
        sector = mft_cluster * spc + 2 * f["inode"]
        folder = "/fill" if name.startswith("split") else "/"
        rows = listed_rows(args.enginectl, image, folder).get(f["name"])
        if rows != [(f["size"], sector)]:
            problems.append("%s is listed in %s as %s, not once at sector %d" % (f["name"], folder, rows, sector))
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
            rows = listed_rows(args.enginectl, path, "/")
            save = Save(args.enginectl, path, source(path), os.path.join(args.work, "damaged"), timeout=TIMEOUT)
        except (RuntimeError, subprocess.TimeoutExpired) as e:
            problems.append("%s%s" % (e, what))
            continue
        if "spread.bin" not in rows:
            problems.append("spread.bin is not listed%s" % what)
        problems += saved_problems(save, plain, {f["name"]: "/" + f["name"] for f in plain}, what)
    return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--enginectl", required=True)
    parser.add_argument("--expected", required=True)
    parser.add_argument("--work", required=True)
    args = parser.parse_args()
    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    folder = os.path.dirname(args.expected)
    tsvs = [os.path.join(folder, name) for name in VOLUMES]
    images = [os.path.join(folder, read_expected(tsv)[0][0]) for tsv in tsvs]
    failed = 0
    for i, tsv in enumerate(tsvs):
        # listed_data and moved_data hold the same files at the same places: the other is split_record.
        other = images[2] if i < 2 else images[0]
        try:
            problems = check_volume(args, tsv, other)
        except (RuntimeError, subprocess.TimeoutExpired) as e:
            problems = [str(e)]
        if tsv.endswith("listed_data.tsv"):
            (name, spc, mft_cluster), files = read_expected(tsv)
            problems += check_damaged(args, os.path.join(folder, name), spc, mft_cluster, files)
        print(("FAILED: " if problems else "ok: ") + os.path.basename(tsv))
        for line in problems:
            print("  " + line)
        failed += 1 if problems else 0
    print("%d volumes, %d failed" % (len(tsvs), failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
