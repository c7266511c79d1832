#!/usr/bin/env python3
"""The user-disk check: a 1,300 MiB disk (sparse) of a FAT32, a FAT16 and an NTFS volume at the 1 MiB boundaries
a partitioning tool gives them (sectors 2048, 1050624 and 1574912), holding about 2,000 files of 0 B to 3 MiB in
nested folders with long and accented names (and lower-case short names), made by mkfs.fat and mtools, mkntfs and
the NTFS helper. Then, as users bring disks (tools/images/user_history.py):
    reuse    150 files deleted on each volume, 60 new ones written into the space they left
    format   each volume quick-formatted over its files (mkfs.fat, mkntfs -Q), 40 new files written
After each, a Quick Scan of each partition and an Extensive Scan of the disk (the file system found at each
volume's place), each saved whole with `enginectl save --audit` and judged by the files written
(tools/enginectl/tests/written.py): files listed, saved whole with other bytes, counted damaged, sectors read
outside the volume, and the other classes. Every problem goes to WORK/problems.txt.

    bench/user_disk.py --enginectl PATH --ntfs-helper PATH --work DIR [--seed N] [--files N]
"""
import argparse
import concurrent.futures
import os
import random
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tools", "enginectl", "tests"))

import diff_test  # noqa: E402
import driver  # noqa: E402
import written  # noqa: E402
import written_test  # noqa: E402
import disks  # noqa: E402  (driver.py puts tools/images on the path)
import history  # noqa: E402
import oracle  # noqa: E402
import user_history  # noqa: E402
from history import Op  # noqa: E402
from util import MIB, SECTOR, fresh_dir, make_sparse, pseudo_bytes, sha256_bytes  # noqa: E402

DISK_MIB = 1300
# (kind, first sector, MiB, cluster bytes, partition type)
VOLUMES = [("fat32", 2048, 512, 4096, 0x0C), ("fat16", 1050624, 256, 8192, 0x06), ("ntfs4k", 1574912, 530, 4096, 0x07)]
DEPTH = 5


def draw_size(rng):
    """0 B to 3 MiB, most files small, as on a used disk."""
    r = rng.random()
    if r < 0.05:
        return 0
    if r < 0.45:
        return rng.randint(1, 16 << 10)
    if r < 0.8:
        return rng.randint(16 << 10, 256 << 10)
    if r < 0.95:
        return rng.randint(256 << 10, 1 << 20)
    return rng.randint(1 << 20, 3 << 20)


def plan(rng, fat, files, tag):
    """(folders, ops, rows): nested folders, then files spread over them, written folder by folder."""
    folders, taken = [""], {"": set()}
    for _ in range(max(8, files // 20)):
        parent = rng.choice([f for f in folders if f.count("/") < DEPTH - 1])
        name = history.draw_name(rng, fat, taken[parent])
        taken[parent].add(name.lower())
        path = (parent + "/" if parent else "") + name
        folders.append(path)
        taken[path] = set()
    by_folder = {}
    rows = []
    for n in range(files):
        folder = rng.choice(folders)
        name = history.draw_name(rng, fat, taken[folder])
        taken[folder].add(name.lower())
        path = (folder + "/" if folder else "") + name
        data = pseudo_bytes("%s/%d" % (tag, n), draw_size(rng))
        by_folder.setdefault(folder, {})[path] = data
        rows.append(user_history.row(path, len(data), sha256_bytes(data)))
    # Each folder made, then its files written, folder after folder: folders and files lie across the volume.
    ops = []
    for folder in folders:
        held = by_folder.get(folder, {})
        ops += [Op("mkdir", "/" + folder)] if folder else []
        if fat and held:
            ops.append(Op("many", "/" + folder, len(held), held))
        else:
            ops += [Op("put", "/" + p, len(d), d) for p, d in sorted(held.items())]
    return folders, ops, rows


class Volume:
    def __init__(self, work, kind, start, mib, cluster, ptype, seed, helper):
        self.kind, self.start, self.ptype = kind, start, ptype
        self.geo = history.Geometry(kind, mib, cluster)
        self.fs, self.fat = self.geo.fs, self.geo.fs != "ntfs"
        self.sectors = self.geo.sectors
        self.raw = os.path.join(work, "%s-user.raw" % ("ntfs" if not self.fat else self.fs))
        self.seed, self.helper = seed, helper
        self.label = "USER%d" % len(kind)
        self.code = history.CODES[self.fs]

    def build(self, files, rng, pool):
        history.make_volume(self.geo, self.raw, self.label)
        self.folders, ops, self.rows = plan(rng, self.fat, files, "%s/%d" % (self.kind, self.seed))
        target = self.target(None)
        user_history.run_ops(target, ops)
        self.describe(pool)
        record = {"seed": self.seed, "kind": self.kind, "fs": self.fs, "image": self.raw, "sectors": self.sectors,
                  "code": self.code, "folders": self.folders[1:],
                  "files": {r["path"]: {"size": r["size"], "sha256": r["sha256"]} for r in self.rows}}
        return diff_test.history_problems(diff_test.Volume(record, self.description))

    def describe(self, pool):
        self.description = oracle.describe_volume(self.raw, 0, pool)

    def target(self, description):
        return user_history.Target(self.raw, self.geo, self.label, self.folders[1:], description, self.seed,
                                   self.helper)


def compose(work, volumes):
    disk = os.path.join(work, "disk.raw")
    make_sparse(disk, DISK_MIB * MIB)
    for v in volumes:
        disks.place_volume(disk, work, os.path.basename(v.raw), v.start)
    disks.write_table(disk, 0x05E2D15C, [{"start": v.start, "size": v.sectors, "type": v.ptype} for v in volumes])
    return diff_test.make_vhd(disk, disk[:-len(".raw")] + ".vhd")


def scan(args, image, volumes, stage, report):
    """Quick Scan of each partition, Extensive Scan of the disk; the judged save of each volume."""
    starts = driver.partition_starts(args.enginectl, image)
    found = {}
    for v in volumes:
        if v.code not in found:
            proc = driver.run(args.enginectl, "extensive", image, "--range", v.code, 0, DISK_MIB * MIB // SECTOR,
                              timeout=3600)
            found[v.code] = [line.split("\t") for line in proc.stdout.decode().splitlines()]
    for v in volumes:
        base = driver.cluster_base(v.description, v.start)
        k = next((line[0] for line in found[v.code] if int(line[3]) == base), None)
        for mode in ("quick", "extensive"):
            rows = [dict(r) for r in v.rows]
            if mode == "quick":
                if v.start not in starts:
                    report(stage, v, mode, [("not-found", "partition not listed")], {}, 0)
                    continue
                source, extra = ["--partition", str(starts.index(v.start))], []
            else:
                if k is None:
                    report(stage, v, mode, [("not-found", "no file system found at sector %d" % base)], {}, 0)
                    continue
                written_test.required_where_found(rows, v.description, v.fs)
                source, extra = ["--range", str(v.code), "0", str(DISK_MIB * MIB // SECTOR)], ["--choose", k]
            sandbox = os.path.join(args.work, "save-%s-%s-%s" % (stage, v.fs, mode))
            started = time.time()
            save, audit = diff_test.audited_save(args.enginectl, image, source, sandbox, extra)
            seconds = time.time() - started
            problems = [("save", p) for p in save.problems(expect_status=3 if save.status == 3 else 0)]
            judged, figures = written.judge(rows, save.out, audit, (v.start, v.sectors), v.fat)
            report(stage, v, mode, problems + judged, figures, seconds)
            fresh_dir(sandbox)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--enginectl", required=True)
    parser.add_argument("--ntfs-helper", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--files", type=int, default=2000)
    args = parser.parse_args()
    work = fresh_dir(args.work)
    rng = random.Random(args.seed)
    volumes = [Volume(work, *v, args.seed, args.ntfs_helper) for v in VOLUMES]
    columns = ("written", "destroyed", "recoverable", "recovered", "listed", "whole", "damaged") + written.CLASSES
    log = open(os.path.join(work, "problems.txt"), "w", encoding="utf-8")
    print(" ".join(["%-7s %-6s %-9s" % ("stage", "volume", "scan")] + ["%*s" % (len(c), c) for c in columns] +
                   ["seconds"]))

    def report(stage, v, mode, problems, figures, seconds):
        counts = dict(figures)
        for c, line in problems:
            log.write("%s %s %s %s: %s\n" % (stage, v.fs, mode, c, line))
            if c not in figures:
                counts[c] = counts.get(c, 0) + 1
        cells = ["%*d" % (len(c), counts.get(c, 0)) for c in columns]
        print(" ".join(["%-7s %-6s %-9s" % (stage, v.fs, mode)] + cells + ["%7.1f" % seconds] +
                       ["%s %d" % (c, n) for c, n in counts.items() if c not in columns]))
        sys.stdout.flush()

    with concurrent.futures.ThreadPoolExecutor(4) as pool:
        started = time.time()
        for v in volumes:
            problems = v.build(args.files // len(volumes), rng, pool)
            if problems:
                print("the generator's volume is not what TSK lists: %s" % problems[:5])
                return 1
        print("# volumes made and checked against TSK: %d files, %.0f s" %
              (sum(len(v.rows) for v in volumes), time.time() - started))
        for stage in ("reuse", "format"):
            for v in volumes:
                counts = {"deletions": 150, "additions": 60} if stage == "reuse" else {"additions": 40}
                v.rows = user_history.act(stage, v.target(v.description), v.rows, args.seed, **counts)
                v.describe(pool)
            scan(args, compose(work, volumes), volumes, stage, report)
    log.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
