#!/usr/bin/env python3
"""enginectl over copies of the shared NTFS volumes (512-byte, 4 KiB and 64 KiB clusters) with one record
damaged or crafted, against what TSK lists of the intact volume (its manifest):

- $MFT's first run given the length 0x7FFFFFFF: Quick Scan ends (the MFT map stays inside the volume), lists
  every live file with its size, and reads at most a few times the volume's bytes;
- the real and allocated sizes of a file (and of the sparse file) set to 1 TiB: saving, after a Quick Scan and
  after an Extensive Scan, ends at once; the file holds icat's bytes, no more than its clusters (the sparse file:
  its runs, holes included, so its size) and counts as damaged; every other file is saved with icat's bytes;
- one base record whose attribute list of 256 KiB, in clusters of its own, names hundreds of extension records
  that name it as their base: Quick Scan and the file system an Extensive Scan finds list the file once (and
  none of its extension records), reading the list once: at most a few times the volume's bytes in all.

    damaged_records_test.py --enginectl PATH --images DIR --work DIR

A run that does not end within TIMEOUT seconds fails.
"""
import argparse
import hashlib
import os
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from driver import Save, failure, load, run, scanned_entries  # noqa: E402
import ntfs_records  # noqa: E402  (driver.py puts tools/images on the path)
import oracle  # noqa: E402

VOLUMES = ["ntfs_512", "ntfs_4k", "ntfs_64k"]
TEBIBYTE = 1 << 40
SIZED = "Documents/Reports/2019/chart.bin"
SPARSE = "Sparse file.bin"
# Scans and saves of these 16-32 MiB volumes take a second or two; a walk of 2^31 records or a tail of 1 TiB
# does not end in this time.
TIMEOUT = 60
# Everything a scan reads, the image's own bytes counted once, is at most this many times the image.
READ_FACTOR = 4


def read_bytes():
    """Bytes read by this process and the children it has waited for (/proc/self/io rchar)."""
    with open("/proc/self/io") as f:
        for line in f:
            if line.startswith("rchar:"):
                return int(line.split()[1])
    raise RuntimeError("no rchar in /proc/self/io")


def timed(enginectl, *args):
    """(finished process, bytes it read); raises TimeoutExpired past TIMEOUT."""
    before = read_bytes()
    proc = run(enginectl, *args, timeout=TIMEOUT)
    return proc, read_bytes() - before


def fixed_vhd(raw):
    vhd = raw[:-len(".raw")] + ".fixed.vhd"
    if os.path.exists(vhd):
        os.remove(vhd)
    subprocess.run(["qemu-img", "convert", "-f", "raw", "-O", "vpc", "-o", "subformat=fixed,force_size=on", raw, vhd],
                   check=True)
    return vhd


class Volume:
    def __init__(self, args, name, damage):
        self.name = name
        self.manifest = load(os.path.join(args.images, name + ".raw.manifest.json"))
        self.volume = self.manifest["volumes"][0]
        self.entries = {e["path"]: e for e in oracle.user_entries(self.volume) if not e["stream"]}
        self.raw = os.path.join(args.work, "%s_%s.raw" % (name, damage))
        shutil.copyfile(os.path.join(args.images, name + ".raw"), self.raw)
        self.sectors = os.path.getsize(self.raw) // 512
        self.range = ["--range", "300", "0", str(self.sectors)]

    def wrap(self):
        self.image = fixed_vhd(self.raw)

    def live_files(self):
        return {p: e for p, e in self.entries.items() if not e["dir"] and not e["deleted"]}


def listed(proc):
    return {e.path: e for e in scanned_entries(proc.stdout.decode("utf-8"), "ntfs")}


def check_mft_run(args, name):
    v = Volume(args, name, "mft_run")
    ntfs_records.set_first_run_length(v.raw, 0, ntfs_records.DATA, 0x7FFFFFFF)
    v.wrap()
    proc, read = timed(args.enginectl, "quick", v.image, *v.range)
    if proc.returncode != 0:
        return [failure(proc, "quick: ")]
    problems = []
    got = listed(proc)
    for path, e in v.live_files().items():
        if path not in got or got[path].size != e["size"]:
            problems.append("%s is listed as %s, not with %d bytes" % (path, got.get(path), e["size"]))
    if read > READ_FACTOR * os.path.getsize(v.image):
        problems.append("the scan read %d bytes of a %d-byte image" % (read, os.path.getsize(v.image)))
    return problems


def saved_bytes(out, path):
    full = os.path.join(out, *path.split("/"))
    return open(full, "rb").read() if os.path.isfile(full) else None


def check_sizes(args, name):
    v = Volume(args, name, "sizes")
    sized, sparse = v.entries[SIZED], v.entries[SPARSE]
    for e in (sized, sparse):
        ntfs_records.set_sizes(v.raw, e["inode"], ntfs_records.DATA, TEBIBYTE, TEBIBYTE)
    v.wrap()
    clusters = sum(n for _, n in sized["runs"]) * 512
    problems = []
    for mode, source, extra in (("Quick Scan", v.range, []), ("Extensive Scan", v.range, ["--choose", "1"])):
        sandbox = os.path.join(args.work, "%s_%s" % (name, mode.split()[0].lower()))
        try:
            save = Save(args.enginectl, v.image, source, sandbox, extra, timeout=TIMEOUT)
        except subprocess.TimeoutExpired:
            problems.append("%s: the save did not end in %d s" % (mode, TIMEOUT))
            continue
        problems += ["%s: %s" % (mode, p) for p in save.problems(expect_status=3)]  # 3: files were damaged
        data = saved_bytes(save.out, SIZED)
        if data is None or len(data) > clusters or len(data) < sized["size"] or \
                hashlib.sha256(data[:sized["size"]]).hexdigest() != sized["sha256"]:
            problems.append("%s: %s is saved with %s bytes, not icat's %d within its %d bytes of clusters" %
                            (mode, SIZED, None if data is None else len(data), sized["size"], clusters))
        data = saved_bytes(save.out, SPARSE)
        if data is None or hashlib.sha256(data).hexdigest() != sparse["sha256"]:
            problems.append("%s: %s is saved with %s bytes, not icat's %d" %
                            (mode, SPARSE, None if data is None else len(data), sparse["size"]))
        if save.counts.get("unreadable") != 2:
            problems.append("%s: %s files counted damaged, not the two" % (mode, save.counts.get("unreadable")))
        for path, e in v.live_files().items():
            if path in (SIZED, SPARSE) or path.startswith("$"):
                continue
            data = saved_bytes(save.out, path)
            if data is None or hashlib.sha256(data).hexdigest() != e["sha256"]:
                problems.append("%s: %s is not saved with icat's bytes" % (mode, path))
    return problems


def check_listed_base(args, name):
    v = Volume(args, name, "listed_base")
    base, extensions = ntfs_records.add_listed_base(v.raw, None, 256 * 1024)
    v.wrap()
    problems = [] if extensions >= 200 else ["only %d extension records fit" % extensions]
    for mode, extra in (("Quick Scan", ["quick", v.image, *v.range]),
                        ("Extensive Scan", ["extensive", v.image, *v.range, "--choose", "1"])):
        try:
            proc, read = timed(args.enginectl, *extra)
        except subprocess.TimeoutExpired:
            problems.append("%s did not end in %d s" % (mode, TIMEOUT))
            continue
        if proc.returncode != 0:
            problems.append(failure(proc, mode + ": "))
            continue
        got = [e for e in scanned_entries(proc.stdout.decode("utf-8"), "ntfs") if not e.folder]
        names = [e.path for e in got]
        if names.count("listed base.bin") != 1:
            problems.append("%s lists the base record %d times" % (mode, names.count("listed base.bin")))
        for path in v.live_files():
            if not path.startswith("$") and path not in names:
                problems.append("%s does not list %s" % (mode, path))
        if read > READ_FACTOR * os.path.getsize(v.image):
            problems.append("%s read %d bytes of a %d-byte image (base record %d, %d extension records)" %
                            (mode, read, os.path.getsize(v.image), base, extensions))
    return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--enginectl", required=True)
    parser.add_argument("--images", required=True)
    parser.add_argument("--work", required=True)
    args = parser.parse_args()
    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    failed = 0
    for check in (check_mft_run, check_sizes, check_listed_base):
        for name in VOLUMES:
            try:
                problems = check(args, name)
            except subprocess.TimeoutExpired as e:
                problems = ["did not end in %d s: %s" % (TIMEOUT, " ".join(str(a) for a in e.cmd[1:2]))]
            label = "%s %s" % (check.__name__[len("check_"):], name)
            print(("FAILED: " if problems else "ok: ") + label)
            for line in problems[:20]:
                print("  " + line)
            failed += 1 if problems else 0
    print("%d cases, %d failed" % (3 * len(VOLUMES), failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
