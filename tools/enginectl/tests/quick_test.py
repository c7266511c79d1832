#!/usr/bin/env python3
"""enginectl quick on every FAT16, FAT32 and NTFS volume of the shared test images, in every wrapper the
engine opens (fixed and dynamic VHD, VHDX), against what The Sleuth Kit lists in the images' manifests.

    quick_test.py --enginectl PATH --images DIR [--jobs N] [--only NAME...]

A volume that the partition table names is scanned as the source page chooses it (--partition N, N its
place in `enginectl partitions`); one that only the generator placed (bare volumes, disks without a valid
table) with --range. Both lists are compared after the normalisation driver.py documents. The images whose
first allocation table is zeroed are left out: Quick Scan follows folder chains through the first table.
"""
import argparse
import concurrent.futures
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from driver import CODES, compare, expected_entries, load, partition_starts, scanned_entries, source_args, \
    volume_fs  # noqa: E402

WRAPPERS = (".fixed.vhd", ".dynamic.vhd", ".1m.vhdx", ".8m.vhdx", ".32m.vhdx", ".vhd", ".vhdx")
# Left out, with the reason.
SKIPPED = {
    "mbr_extended.diff": "differencing disk: its volumes live in the parent",
    "badfooter.fixed": "the footer's checksum is wrong: the image is refused",
}


def stem(image):
    for suffix in WRAPPERS:
        if image.endswith(suffix):
            return image[: -len(suffix)], suffix
    return image, ""


# ---------------------------------------------------------------- running

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
            fs = volume_fs(images, manifest, volume)
            if fs in CODES:
                yield image, manifest, volume, fs


def run_case(enginectl, images, image, manifest, volume, fs):
    path = os.path.join(images, image)
    starts = partition_starts(enginectl, path) if volume["origin"] == "table" else []
    args = source_args(starts, images, manifest, volume, fs)
    if args is None:
        return ["enginectl partitions does not list the volume at %d" % volume["start"]]
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
