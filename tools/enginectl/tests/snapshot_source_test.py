#!/usr/bin/env python3
"""A snapshot belongs to the volume it was taken from. Volumes of one layout are made by the real tools: two cards of
each FAT kind (mkfs.fat and mtools, FAT16 and FAT32) holding the same DCIM folders and other photos, a volume of
each FAT kind whose files all lie in the root, and two NTFS volumes of one size made by mkntfs, whose MFTs start at
the same sector and whose files take the same records. Each volume gives four snapshots: a Quick Scan's and an
Extensive Scan's (--choose 1; the volumes without folders found by their boot sectors), each as scanned and with
every file renamed as page 4's Rename does (--rename-files). Each snapshot
- over its own volume loads, and saves every file (under its new name when renamed) with the bytes icat gives;
- over every other volume of its file system is refused (status 1, the mismatch message), and a save from it
  writes nothing.
A File Trace of each FAT16 card (a JPEG file at a different place on each) goes the same way: refused over the
other card, and over its own the hit saved with the JPEG's bytes first.

    snapshot_source_test.py --enginectl PATH --work DIR
"""
import argparse
import concurrent.futures
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from driver import CODES, TOOL_ENV, failure, run, saved_tree  # noqa: E402
from util import pseudo_bytes  # noqa: E402
import vhd  # noqa: E402

MISMATCH = "Source file and load recovery snapshot mismatch"
RENAMED = "Renamed "
CARD = "DCIM/100CANON/"

# Each volume: (file system, MiB, its files (path, size)). The cards of a kind share their folders and names;
# their photos differ in size. Volume B of NTFS puts its files in the records volume A uses for its own.
VOLUMES = {
    "fat16_card_a": ("fat16", 16, [(CARD + "IMG_0001.JPG", 9000), (CARD + "IMG_0002.JPG", 14000),
                                   (CARD + "IMG_0003.JPG", 5000)]),
    "fat16_card_b": ("fat16", 16, [(CARD + "IMG_0001.JPG", 12000), (CARD + "IMG_0002.JPG", 7000),
                                   (CARD + "IMG_0003.JPG", 5000)]),
    "fat16_root": ("fat16", 16, [("ONE.BIN", 3000), ("PIC.JPG", 5000), ("A longer name.txt", 700)]),
    "fat32_card_a": ("fat32", 40, [(CARD + "IMG_0001.JPG", 9000), (CARD + "IMG_0002.JPG", 14000)]),
    "fat32_card_b": ("fat32", 40, [(CARD + "IMG_0001.JPG", 12000), (CARD + "IMG_0002.JPG", 7000)]),
    "fat32_root": ("fat32", 40, [("ONE.BIN", 3000), ("PIC.JPG", 5000)]),
    "ntfs_a": ("ntfs", 16, [("alpha.txt", 9000), ("one.bin", 3000)]),
    "ntfs_b": ("ntfs", 16, [("zulu.txt", 9000), ("two.bin", 3000)]),
}
SNAPSHOTS = [("quick", False), ("quick", True), ("extensive", False), ("extensive", True)]


def content(name, path, size):
    """The bytes of a file: a JPEG's first bytes before those of a .JPG, which File Trace finds."""
    head = b"\xff\xd8\xff\xe0" if path.endswith(".JPG") else b""
    return head + pseudo_bytes(name + path, size - len(head))


def tool(*cmd):
    subprocess.run([str(c) for c in cmd], check=True, env=TOOL_ENV, capture_output=True)


def build(work, name):
    """The raw volume and its fixed VHD."""
    fs, mib, files = VOLUMES[name]
    raw = os.path.join(work, name + ".raw")
    with open(raw, "wb") as f:
        f.truncate(mib << 20)
    staging = os.path.join(work, name + ".files")
    os.makedirs(staging)
    if fs == "ntfs":
        tool("mkntfs", "-q", "-F", "-Q", "-T", "-c", 4096, "-s", 512, "-p", 0, "-H", 255, "-S", 63, raw)
    else:
        tool("mkfs.fat", "-F", 16 if fs == "fat16" else 32, "-s", 4 if fs == "fat16" else 1, "-i", "12345678", raw)
    made = set()
    for seed, (path, size) in enumerate(files):
        local = os.path.join(staging, str(seed))
        with open(local, "wb") as f:
            f.write(content(name, path, size))
        if fs == "ntfs":
            tool("ntfscp", "-f", raw, local, "/" + path)
            continue
        parts = path.split("/")
        for i in range(1, len(parts)):
            if "/".join(parts[:i]) not in made:
                made.add("/".join(parts[:i]))
                tool("mmd", "-i", raw, "-D", "s", "::/" + "/".join(parts[:i]))
        tool("mcopy", "-i", raw, "-D", "o", local, "::/" + path)
    image = os.path.join(work, name + ".vhd")
    shutil.copyfile(raw, image)
    with open(image, "ab") as f:
        f.write(vhd.make_footer(mib << 20, 2, vhd.unique_id(name), 0xFFFFFFFFFFFFFFFF))
    return raw, image


def icat_bytes(raw, path):
    """The bytes icat gives for the file at path of the raw volume (found through fls)."""
    listing = subprocess.run(["fls", "-r", "-p", "-u", raw], stdout=subprocess.PIPE, check=True, env=TOOL_ENV)
    for line in listing.stdout.decode("utf-8").splitlines():
        head, _, listed = line.partition("\t")
        if listed == path and head.split()[0].startswith("r/"):
            inode = head.split()[-1].rstrip(":")
            return subprocess.run(["icat", raw, inode], stdout=subprocess.PIPE, check=True).stdout
    return None


def take_snapshot(args, name, image, mode, renamed):
    """The snapshot's path, or a problem line."""
    fs, mib, _ = VOLUMES[name]
    snapshot = os.path.join(args.work, "%s_%s%s.vsnp" % (name, mode, "_renamed" if renamed else ""))
    source = ["--range", CODES[fs], 0, (mib << 20) // 512]
    extra = (["--choose", 1] if mode == "extensive" else []) + (["--rename-files", RENAMED] if renamed else [])
    scan = run(args.enginectl, mode, image, *source, *extra, "--snapshot-save", snapshot)
    return (snapshot, None) if scan.returncode == 0 else (None, "%s: %s" % (snapshot, failure(scan)))


def over_own(args, name, raw, image, snapshot):
    """Problems of the snapshot over its own volume: it loads, and saves icat's bytes under its names."""
    case = os.path.basename(snapshot)
    loaded = run(args.enginectl, "snapshot-load", snapshot, "--image", image)
    if loaded.returncode != 0:
        return ["%s over its own volume: not loaded (%s)" % (case, failure(loaded))]
    out = os.path.join(args.work, "saved", case)
    os.makedirs(out)
    saved = run(args.enginectl, "save", image, "--snapshot", snapshot, "--out", out)
    if saved.returncode != 0:
        return ["%s over its own volume: %s" % (case, failure(saved))]
    problems = []
    for path, size in VOLUMES[name][2]:
        want = icat_bytes(raw, path)
        folder, _, leaf = path.rpartition("/")
        shown = (RENAMED if "_renamed" in case else "") + leaf
        target = os.path.join(out, *(folder.split("/") if folder else []), shown)
        got = open(target, "rb").read() if os.path.isfile(target) else None
        if want is None or len(want) != size or got != want:
            problems.append("%s over its own volume: %s saved %s, icat %s" %
                            (case, path, None if got is None else len(got), None if want is None else len(want)))
    return problems


def over_other(args, snapshot, other, image, check_save):
    """Problems of the snapshot over another volume: refused, and (check_save) a save from it writes nothing."""
    case = "%s over %s" % (os.path.basename(snapshot), other)
    loaded = run(args.enginectl, "snapshot-load", snapshot, "--image", image)
    problems = []
    if loaded.returncode != 1 or MISMATCH not in loaded.stderr.decode("utf-8", "replace"):
        problems.append("%s: not refused (%s)" % (case, failure(loaded)))
    if check_save:
        out = os.path.join(args.work, "saved", case.replace(" ", "_"))
        os.makedirs(out)
        saved = run(args.enginectl, "save", image, "--snapshot", snapshot, "--out", out)
        if saved.returncode != 1 or os.listdir(out):
            problems.append("%s: the save was not refused: status %d, wrote %s" %
                            (case, saved.returncode, sorted(saved_tree(out))))
    return problems


def trace_problems(args, volumes):
    """File Trace snapshots of the FAT16 cards: refused over each other, saving the JPEG over their own."""
    problems = []
    snapshots = {}
    for name in ("fat16_card_a", "fat16_card_b"):
        snapshot = os.path.join(args.work, name + "_trace.vsnp")
        traced = run(args.enginectl, "trace", volumes[name][1], "--range", CODES["fat16"], 0, (16 << 20) // 512,
                     "--types", "jpg", "--snapshot-save", snapshot)
        if traced.returncode != 0 or len(traced.stdout.decode().splitlines()) != 3:
            problems.append("%s: the trace found %s" % (name, traced.stdout.decode().splitlines() or failure(traced)))
            continue
        snapshots[name] = snapshot
    for name, snapshot in snapshots.items():
        other = name[:-1] + ("b" if name.endswith("a") else "a")
        problems += over_other(args, snapshot, other, volumes[other][1], False)
        out = os.path.join(args.work, "saved", name + "_trace")
        os.makedirs(out)
        saved = run(args.enginectl, "save", volumes[name][1], "--snapshot", snapshot, "--out", out, "--file-size", 1)
        heads = sorted(open(os.path.join(out, f), "rb").read(len(b"\xff\xd8\xff\xe0") + 32)
                       for f in sorted(saved_tree(out)))
        want = sorted(content(name, path, size)[:36] for path, size in VOLUMES[name][2])
        # The cards' JPEGs are their first bytes alone, no end marker: each is saved at the size chosen and
        # counted as not read whole (status 3).
        if saved.returncode != 3 or heads != want:
            problems.append("%s's trace snapshot over its own volume: status %d, saved %s" %
                            (name, saved.returncode, sorted(saved_tree(out))))
    return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--enginectl", required=True)
    parser.add_argument("--work", required=True)
    args = parser.parse_args()
    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(os.path.join(args.work, "saved"))
    with concurrent.futures.ThreadPoolExecutor(max_workers=3) as pool:
        volumes = dict(zip(VOLUMES, pool.map(lambda n: build(args.work, n), VOLUMES)))
        cases = [(n, s) for n in VOLUMES for s in SNAPSHOTS]
        taken = list(pool.map(lambda c: (c[0], take_snapshot(args, c[0], volumes[c[0]][1], *c[1])), cases))
        problems = [problem for _, (_, problem) in taken if problem]
        jobs = []
        for name, (snapshot, _) in taken:
            if snapshot is None:
                continue
            raw, image = volumes[name]
            jobs.append(pool.submit(over_own, args, name, raw, image, snapshot))
            for other in VOLUMES:
                if other != name and VOLUMES[other][0] == VOLUMES[name][0]:
                    plain = snapshot.endswith("_quick.vsnp")
                    jobs.append(pool.submit(over_other, args, snapshot, other, volumes[other][1], plain))
        for job in jobs:
            problems += job.result()
        problems += trace_problems(args, volumes)
    for p in problems:
        print("FAILED:", p)
    print("%d volumes, %d snapshots, %d problems" % (len(volumes), len(taken), len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
