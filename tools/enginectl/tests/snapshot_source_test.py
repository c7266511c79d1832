#!/usr/bin/env python3
"""A snapshot belongs to the volume it was taken from: two volumes of one layout (two NTFS volumes of one size
made by mkntfs, whose MFTs start at the same sector, and two FAT16 volumes made by mkfs.fat and mtools) are
scanned and each scan's snapshot is loaded over the other volume (refused: status 1, the mismatch message,
nothing saved) and over its own (loaded: every file saved with the bytes icat gives). A File Trace of each FAT16
volume (a JPEG file at a different place on each) goes the same way: refused over the other volume, and over
its own the hit saved with the JPEG's bytes first.

    snapshot_source_test.py --enginectl PATH --work DIR
"""
import argparse
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from driver import CODES, TOOL_ENV, failure, run, saved_tree  # noqa: E402
from util import pseudo_bytes  # noqa: E402
import vhd  # noqa: E402

MISMATCH = "Source file and load recovery snapshot mismatch"
SIZE_MIB = 16

# Each volume's files (path, size). Volume B puts a file before its folder, so that its folder lies where
# volume A keeps file data, and the other way round; the NTFS volumes' files take the same MFT records.
FILES = {
    "fat16_a": [("DIRA/ALPHA.TXT", 9000), ("ONE.BIN", 3000), ("PIC.JPG", 5000)],
    "fat16_b": [("ZULU.BIN", 20000), ("DIRB/BRAVO.TXT", 7000), ("PIC.JPG", 5000)],
    "ntfs_a": [("alpha.txt", 9000), ("one.bin", 3000)],
    "ntfs_b": [("zulu.txt", 9000), ("two.bin", 3000)],
}


def content(name, path, size):
    """The bytes of a file: a JPEG's first bytes before those of a .JPG, which File Trace finds."""
    head = b"\xff\xd8\xff\xe0" if path.endswith(".JPG") else b""
    return head + pseudo_bytes(name + path, size - len(head))


def tool(*cmd):
    subprocess.run([str(c) for c in cmd], check=True, env=TOOL_ENV, capture_output=True)


def build(work, name):
    """The raw volume and its fixed VHD; returns the VHD's path."""
    raw = os.path.join(work, name + ".raw")
    with open(raw, "wb") as f:
        f.truncate(SIZE_MIB << 20)
    staging = os.path.join(work, name + ".files")
    os.makedirs(staging)
    fat = name.startswith("fat")
    if fat:
        tool("mkfs.fat", "-F", 16, "-s", 4, "-i", "12345678", raw)
    else:
        tool("mkntfs", "-q", "-F", "-Q", "-T", "-c", 4096, "-s", 512, "-p", 0, "-H", 255, "-S", 63, raw)
    for seed, (path, size) in enumerate(FILES[name]):
        local = os.path.join(staging, str(seed))
        with open(local, "wb") as f:
            f.write(content(name, path, size))
        if fat:
            if "/" in path:
                tool("mmd", "-i", raw, "-D", "s", "::/" + path.split("/")[0])
            tool("mcopy", "-i", raw, "-D", "o", local, "::/" + path)
        else:
            tool("ntfscp", "-f", raw, local, "/" + path)
    image = os.path.join(work, name + ".vhd")
    shutil.copyfile(raw, image)
    with open(image, "ab") as f:
        f.write(vhd.make_footer(SIZE_MIB << 20, 2, vhd.unique_id(name), 0xFFFFFFFFFFFFFFFF))
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


def trace_problems(args, volumes):
    """File Trace snapshots of the FAT16 volumes: refused over each other, saving the JPEG over their own."""
    problems = []
    snapshots = {}
    for name in ("fat16_a", "fat16_b"):
        if name not in volumes:
            continue
        snapshot = os.path.join(args.work, name + "_trace.vsnp")
        traced = run(args.enginectl, "trace", volumes[name][1], "--range", CODES["fat16"], 0, (SIZE_MIB << 20) // 512,
                     "--types", "jpg", "--snapshot-save", snapshot)
        if traced.returncode != 0 or len(traced.stdout.decode().splitlines()) != 1:
            problems.append("%s: the trace found %s" % (name, traced.stdout.decode().splitlines() or failure(traced)))
            continue
        snapshots[name] = snapshot
    for name, snapshot in snapshots.items():
        other = name[:-1] + ("b" if name.endswith("a") else "a")
        loaded = run(args.enginectl, "snapshot-load", snapshot, "--image", volumes[other][1])
        if loaded.returncode != 1 or MISMATCH not in loaded.stderr.decode("utf-8", "replace"):
            problems.append("%s's trace snapshot over %s: not refused (%s)" % (name, other, failure(loaded)))
        out = os.path.join(args.work, "saved", name + "_trace")
        os.makedirs(out)
        saved = run(args.enginectl, "save", volumes[name][1], "--snapshot", snapshot, "--out", out, "--file-size", 1)
        files = sorted(saved_tree(out))
        want = content(name, "PIC.JPG", 5000)
        got = open(os.path.join(out, files[0]), "rb").read(len(want)) if len(files) == 1 else None
        if saved.returncode != 0 or got != want:
            problems.append("%s's trace snapshot over its own volume: status %d, saved %s" %
                            (name, saved.returncode, files))
    return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--enginectl", required=True)
    parser.add_argument("--work", required=True)
    args = parser.parse_args()
    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    problems = []
    volumes = {}
    for name in FILES:
        raw, image = build(args.work, name)
        snapshot = os.path.join(args.work, name + ".vsnp")
        code = CODES["fat16" if name.startswith("fat") else "ntfs"]
        scan = run(args.enginectl, "quick", image, "--range", code, 0, (SIZE_MIB << 20) // 512,
                   "--snapshot-save", snapshot)
        if scan.returncode != 0:
            problems.append("%s: the scan failed: %s" % (name, failure(scan)))
            continue
        volumes[name] = (raw, image, snapshot)

    for name, (raw, image, snapshot) in volumes.items():
        other = name[:-1] + ("b" if name.endswith("a") else "a")
        if other in volumes:
            case = "%s's snapshot over %s" % (name, other)
            loaded = run(args.enginectl, "snapshot-load", snapshot, "--image", volumes[other][1])
            if loaded.returncode != 1 or MISMATCH not in loaded.stderr.decode("utf-8", "replace"):
                problems.append("%s: not refused (%s)" % (case, failure(loaded)))
            out = os.path.join(args.work, "saved", name + "_over_" + other)
            os.makedirs(out)
            saved = run(args.enginectl, "save", volumes[other][1], "--snapshot", snapshot, "--out", out)
            if saved.returncode != 1 or os.listdir(out):
                problems.append("%s: the save was not refused: status %d, wrote %s" %
                                (case, saved.returncode, sorted(saved_tree(out))))
        # Over its own volume: every file saved with icat's bytes.
        out = os.path.join(args.work, "saved", name)
        os.makedirs(out)
        saved = run(args.enginectl, "save", image, "--snapshot", snapshot, "--out", out)
        if saved.returncode != 0:
            problems.append("%s over its own volume: %s" % (name, failure(saved)))
            continue
        for path, size in FILES[name]:
            want = icat_bytes(raw, path)
            target = os.path.join(out, *path.split("/"))
            got = open(target, "rb").read() if os.path.isfile(target) else None
            if want is None or len(want) != size or got != want:
                problems.append("%s over its own volume: %s saved %s, icat %s" %
                                (name, path, None if got is None else len(got), None if want is None else len(want)))

    problems += trace_problems(args, volumes)
    for p in problems:
        print("FAILED:", p)
    print("%d volumes, %d problems" % (len(volumes), len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
