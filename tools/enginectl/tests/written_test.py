#!/usr/bin/env python3
"""The engine judged by the files that were written, on damage The Sleuth Kit cannot judge: damage to one of two
copies (tools/images/damage.py; TSK reads only the first allocation table) and the histories users bring
(tools/images/user_history.py: space used again after a delete, a quick format, torn MFT records; and a partition
table whose entries are gone over partitions on 1 MiB boundaries), and the image file itself as users bring it
(tools/images/vhd.py: a copy cut short, a block placed past the file's end, files named otherwise than their bytes,
VHDX files as Hyper-V leaves them).

    written_test.py --enginectl PATH --ntfs-helper PATH --work DIR [--shapes SHAPE,...] [--seeds FIRST-LAST[,...]]
                    [--jobs N] [--faults]
(without --seeds, the seeds CI_SEEDS names for each shape; a case FAULTS names is skipped with the name of its fault
until the fault is fixed, and --faults runs it)

Each seed makes a volume with a random history (tools/images/history.py, of a kind the shape takes, drawn from the
seed), checks that TSK lists every file the history left on it with the history's bytes (the generator's own
check), damages a copy of it in the shape, puts it on a disk behind an MBR at sector 2048 and reads it as a user
would:
    quick      a Quick Scan of its partition
    extensive  an Extensive Scan of the disk, the file system found at the volume's place read
    search     the partition search over the disk (the table's entries zeroed), a Quick Scan of each volume found
then saves the whole tree with `enginectl save --audit` and judges the save by the generator's record of every file
it wrote (written.py): a file counted saved whole has exactly the bytes written under its name and folder, a file
the damage destroyed is counted damaged, never saved whole, every live file the damage did not touch is saved
whole, and no sector outside the volume is read. A live file an Extensive Scan cannot place where it was written
(driver.chosen_tree: TSK's view of what it must find), or whose entry the damage left to the other table alone, is
not required.

Shapes (damage.py's one-copy shapes, user_history.py's acts):
    first-table, second-table, cross-files, cross-folders   quick
    table-sector                                           extensive (its boot sector zeroed)
    table-start                                            extensive (one table's first sector and the boot sector
                                                           zeroed)
    cross-both                                             quick (cross-files written to both tables)
    other-type                                             extensive, run for the other FAT type (table-sector's
                                                           damage)
    boot-backup                                            quick and extensive, a small FAT16 volume after it; on NTFS
                                                           a file's first run moved past the volume's end as well
    reuse, torn                                            quick
    format                                                 quick and extensive
    reformat                                               quick and extensive (a quick format with another
                                                           cluster size, twice or half the volume's)
    reuse-format                                           extensive (files written over, then a quick format)
    reuse-delete                                           quick and extensive (files written over, deleted again)
    reuse-copy                                             quick and extensive (the same of copies of older files,
                                                           a folder made and removed among them)
    aligned-table                                          search: the volume and two small partners, each on a
                                                           1 MiB boundary that is no cylinder start (nor start + 63)
    cut-footer, cut-blocks, bat-past-end                   quick: the disk as a dynamic VHD whose file lost its
                                                           footer, or was cut inside one of its last blocks, or whose
                                                           table places a block past its end
    raw-vhd                                                quick and search: the raw disk named .vhd
    cut-fixed                                              quick: the disk as a fixed VHD cut inside the volume
    raw-vhdx, vhd-vhdx                                     quick: the raw disk, or a dynamic VHD, named .vhdx
    vhdx-vhd                                               quick and search: a VHDX, its blocks in the order a
                                                           guest wrote them, named .vhd
    vhdx-guest, vhdx-log                                   quick: a VHDX, its blocks in the order a guest wrote
                                                           them; and the latest changes of its table in its log
    vhdx-4k                                                quick: a VHDX of 4096-byte sectors (its partition table
                                                           counting them), which must be refused by name
For the image-file shapes qemu-img's reading of the damaged file is the second opinion: a live file whose bytes it
no longer gives is destroyed, and one TSK cannot find through it (its entry or record lost) is not required.

The last lines give, per shape, the files listed, counted saved whole, saved whole with other bytes, counted
damaged, the sectors read outside the volume, and the problems of the other classes (written.py).
"""
import argparse
import concurrent.futures
import copy
import functools
import os
import shutil
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import diff_test  # noqa: E402
import driver  # noqa: E402
import written  # noqa: E402
import damage  # noqa: E402  (driver.py puts tools/images on the path)
import disks  # noqa: E402
import history  # noqa: E402
import oracle  # noqa: E402
import user_history  # noqa: E402
import vhd  # noqa: E402
from util import MIB, SECTOR, copy_sparse, fresh_dir, make_sparse  # noqa: E402

ALIGN = 2048
CYLINDER = 255 * 63
FAT_KINDS = ("fat16", "fat32", "fat12")
MAIN_KINDS = ("fat16", "fat32", "ntfs512", "ntfs4k")
IMAGE_KINDS = ("fat32", "ntfs4k", "fat16", "ntfs512")
FAT = ("fat12", "fat16", "fat32", "fat16dirs")
NTFS = ("ntfs512", "ntfs4k")


class Shape:
    """The kinds of volume a shape takes, the modes it is read in, whether damage.py or an act of user_history.py
    makes it, and the act that prepares the volume first. An act that formats the volume again leaves its old file
    system for an Extensive Scan to find beside the new one (formats): each other file system found inside the volume
    is read and judged too, no file required of it."""

    def __init__(self, kinds, modes, how, prepare=None, formats=False):
        self.kinds, self.modes, self.how, self.prepare, self.formats = kinds, modes, how, prepare, formats


QUICK, EXTENSIVE, BOTH = ("quick",), ("extensive",), ("quick", "extensive")
SHAPES = {
    "first-table": Shape(FAT_KINDS, QUICK, "damage"),
    "second-table": Shape(FAT_KINDS, QUICK, "damage"),
    "cross-files": Shape(FAT_KINDS, QUICK, "damage"),
    "cross-folders": Shape(FAT_KINDS, QUICK, "damage", "crowd"),
    "table-sector": Shape(("fat16", "fat32"), EXTENSIVE, "damage"),
    "boot-backup": Shape(("fat32", "ntfs512", "ntfs4k"), BOTH, "damage"),
    "reuse": Shape(MAIN_KINDS, QUICK, "act"),
    "torn": Shape(("ntfs512", "ntfs4k"), QUICK, "act"),
    "format": Shape(MAIN_KINDS, BOTH, "act", formats=True),
    "reuse-format": Shape(MAIN_KINDS, EXTENSIVE, "act", formats=True),
    "aligned-table": Shape(("fat16", "fat32", "ntfs4k"), ("search",), None),
    "cut-footer": Shape(IMAGE_KINDS, QUICK, "image"),
    "cut-blocks": Shape(IMAGE_KINDS, QUICK, "image"),
    "bat-past-end": Shape(IMAGE_KINDS, QUICK, "image"),
    "raw-vhd": Shape(IMAGE_KINDS, ("quick", "search"), "image"),
    "cut-fixed": Shape(IMAGE_KINDS, QUICK, "image"),
    "raw-vhdx": Shape(IMAGE_KINDS, QUICK, "image"),
    "vhd-vhdx": Shape(IMAGE_KINDS, QUICK, "image"),
    "vhdx-vhd": Shape(IMAGE_KINDS, ("quick", "search"), "image"),
    "vhdx-guest": Shape(IMAGE_KINDS, QUICK, "image"),
    "vhdx-log": Shape(IMAGE_KINDS, QUICK, "image"),
    "vhdx-4k": Shape(IMAGE_KINDS, QUICK, "image"),
    "table-start": Shape(("fat16", "fat32"), EXTENSIVE, "damage"),
    "cross-both": Shape(FAT_KINDS, QUICK, "damage"),
    "other-type": Shape(("fat16", "fat32"), ("extensive-other",), "damage"),
    # FAT's kinds where its seeds had them before NTFS's joined.
    "reuse-delete": Shape(FAT_KINDS + ("fat16",) + NTFS, BOTH, "act"),
    "reuse-copy": Shape(MAIN_KINDS, BOTH, "act"),
    "reformat": Shape(MAIN_KINDS, BOTH, "act", formats=True),
}
# Partners of the boot-backup and aligned-table disks: the seed's history of another seed, small.
PARTNER_OFFSET = diff_test.PARTNER_OFFSET

# The seeds scripts/test runs of each shape (written_test.py without --seeds): each shape's kinds take turns.
CI_SEEDS = {
    "first-table": (1, 3), "second-table": (2, 3), "cross-files": (1, 2, 10, 38),
    # cross-folders 9019: a full one-cluster folder run on into another's second cluster, which names a live folder of
    # 84 files whose ".." names the other (FAT32).
    "cross-folders": (3, 7, 9019),
    # 7001 and 7014: sectors of chains' ends that began like a nearer pair of tables (FAT32, FAT16).
    "table-sector": (1, 2, 7001, 7014), "boot-backup": (1, 3, 7014), "torn": (1, 2),
    # reuse 9010 and 9103 (NTFS, 512 B and 4 KiB clusters): a file the act deleted shares a run with one the history
    # deleted, both of one clock: nothing on the volume tells whose the run is.
    "reuse": (1, 8, 14, 7047, 9010, 9103),
    # reuse-format 7030: a file deleted before the format, its clusters then a folder's index (NTFS).
    "format": (1, 6), "reuse-format": (9, 12, 14, 16, 22, 23, 7030),
    # reformat: 2 NTFS 512 B to 1 KiB, 3 and 7 NTFS 4 KiB to 2 and 8 KiB, 5 FAT32 1 KiB to 512 B; FAT16 16 from 4 to 2
    # KiB, 44 from 512 B to 1 KiB and 60 from 2 to 4 KiB, the folders of each layout on the other's cluster grid.
    "reformat": (2, 3, 5, 7, 16, 44, 60), "aligned-table": (1,), "cut-footer": (1, 4),
    "cut-blocks": (5, 8), "bat-past-end": (1, 8), "raw-vhd": (2, 3), "cut-fixed": (1, 2), "raw-vhdx": (3,),
    "vhd-vhdx": (2,), "vhdx-vhd": (1, 2), "vhdx-guest": (3,), "vhdx-log": (1, 2), "vhdx-4k": (2,),
    # table-start 7018: a lone copy with entries in its first sector alone; 9014: the same on FAT16 with the second
    # copy's first sector lost, its root before the data area (its snapshot loads); cross-both 7007: two chains of one
    # length.
    "table-start": (1, 2, 7018, 9014), "cross-both": (1, 2, 7005, 7007), "other-type": (1, 2),
    # reuse-delete 16 and 23: NTFS (ntfs512 a day later, ntfs4k the same day), deleted files written over by files
    # deleted in turn; reuse-copy 1, 3 and 12: copies over deleted files, on FAT32, NTFS and FAT16.
    "reuse-delete": (1, 3, 7015, 16, 23), "reuse-copy": (1, 2, 3, 12),
}
# Cases the soak found failing on a fault whose fix is not in yet: (shape, seed) -> the fault.
FAULTS = {}


def kind_of(shape, seed):
    kinds = SHAPES[shape].kinds
    return kinds[seed % len(kinds)]


def replay_hint(shape, kind, seed):
    """The commands that make the case's damaged volume again."""
    how, prepare = SHAPES[shape].how, SHAPES[shape].prepare
    if how == "act":
        return "python3 tools/images/user_history.py --seed %d --act %s --kind %s --out DIR" % (seed, shape, kind)
    if how == "image":
        return "%s (the disk: vhd.damaged_copy(DISK, IMAGE, %r, %d))" % (diff_test.replay_hint(seed, kind), shape, seed)
    made = "python3 tools/images/user_history.py --seed %d --act %s --kind %s --out DIR" % (seed, prepare, kind) \
        if prepare else diff_test.replay_hint(seed, kind)
    if how is None:
        return made + " (and partners of seeds %d and %d)" % (seed + PARTNER_OFFSET, seed + 2 * PARTNER_OFFSET)
    shapes = damage_shapes(shape, kind)
    return "%s; python3 tools/images/damage.py DIR/%s-%d%s.raw %d %s" % (
        made, kind, seed, "-" + prepare if prepare else "", seed, " ".join(shapes))


def damage_shapes(shape, kind):
    """damage.py's shapes a case takes: on NTFS, boot-backup moves a file's first run past the volume's end first
    (the boot sector gives the geometry); other-type is table-sector's damage, read as the other FAT type."""
    return (["past-end"] if shape == "boot-backup" and kind in NTFS else []) + \
        ["table-sector" if shape == "other-type" else shape]


# ---------------------------------------------------------------- disks

def compose(path, placed, wrapped=True, unit=1):
    """A fixed VHD (unless wrapped is False: the raw disk) of a disk holding the volumes [(raw, fs, sectors, start)]
    behind an MBR naming them (a FAT12 one with the small FAT16 type: a primary partition of type 1 is not
    listed), in sectors of unit times 512 bytes."""
    types = dict(diff_test.PARTITION_TYPES, fat12=0x04)
    make_sparse(path, (max(start + sectors for _, _, sectors, start in placed) + ALIGN) * SECTOR)
    for raw, _, _, start in placed:
        disks.place_volume(path, os.path.dirname(raw), os.path.basename(raw), start)
    disks.write_table(path, 0x5EED0000 + len(placed), [{"start": start // unit, "size": sectors // unit,
                                                        "type": types[fs]} for _, fs, sectors, start in placed])
    return diff_test.make_vhd(path, path[:-len(".raw")] + ".vhd") if wrapped else path


def extract(disk, start, sectors, path):
    """The sectors of the disk from start, as a file of their own."""
    with open(disk, "rb") as src, open(path, "wb") as dst:
        src.seek(start * SECTOR)
        for _ in range(0, sectors * SECTOR, MIB):
            dst.write(src.read(MIB))
        dst.truncate(sectors * SECTOR)
    return path


def aligned_starts(sizes):
    """Each volume on the first 1 MiB boundary after the last that is no cylinder start nor cylinder start + 63."""
    starts, at = [], ALIGN
    for sectors in sizes:
        while at % CYLINDER in (0, 63):
            at += ALIGN
        starts.append(at)
        at = diff_test.align(at + sectors + ALIGN)
    return starts


# ---------------------------------------------------------------- one case

class Case:
    def __init__(self, args, shape, seed):
        self.args, self.shape, self.seed = args, shape, seed
        self.kind = kind_of(shape, seed)
        self.name = "%s %s-%d" % (shape, self.kind, seed)
        self.work = fresh_dir(os.path.join(args.work, "%s-%s-%d" % (shape, self.kind, seed)))

    def volume(self, seed, kind, shape="normal"):
        v = diff_test.build_volume(seed, kind, self.work, self.args.ntfs_helper, None, shape)
        problems = diff_test.history_problems(v)
        if "error" in v.description:
            problems.append("TSK cannot read the volume: " + v.description["error"])
        return v, problems

    def run(self):
        """(problems [(class, line)], figures) or None when the shape fits nothing on the seed's volume."""
        v, problems = self.volume(self.seed, self.kind)
        if problems:
            return [("generator", p) for p in problems], {}
        if self.shape == "aligned-table":
            return self.aligned(v)
        raw = os.path.join(self.work, "volumes", "%s-%d-%s.raw" % (self.kind, self.seed, self.shape))
        copy_sparse(v.raw, raw)
        record = user_history.as_listed(dict(v.record, image=raw), v.description)
        rows = user_history.written_of(record)
        fat = v.fs != "ntfs"
        shape = SHAPES[self.shape]
        description = v.description
        if shape.how == "image":
            return self.image_file(v, raw, record, rows)
        if shape.prepare:
            target = user_history.target_of(record, description, self.args.ntfs_helper)
            rows = user_history.act(shape.prepare, target, rows, self.seed)
            description = oracle.describe_volume(raw, 0)
        if shape.how == "act":
            target = user_history.target_of(record, description, self.args.ntfs_helper)
            rows = user_history.act(self.shape, target, rows, self.seed)
            if rows is None:
                return None
            after = oracle.describe_volume(raw, 0) if "extensive" in shape.modes else None
            now = after
        else:
            shapes = damage_shapes(self.shape, self.kind)
            done = damage.apply(raw, description, self.seed, shapes)
            if shapes[-1] not in [d["shape"] for d in done]:
                return None
            mark_damage(rows, done, fat)
            after, now = description, None
        return self.read(v, raw, rows, after, functools.cache(lambda: tsk_contested(raw, v.fs, now)))

    def read(self, v, raw, rows, description, contested):
        """Puts the damaged volume on a disk, reads it in each of the shape's modes, saves it and judges the save;
        None when no mode applies. contested(): tsk_contested of the volume as the case left it, asked once for all
        modes."""
        placed = [(raw, v.fs, v.sectors, ALIGN)]
        if self.shape == "boot-backup":
            partner, problems = self.volume(self.seed + PARTNER_OFFSET, "fat16", "small")
            if problems:
                return [("generator", p) for p in problems], {}
            placed.append((partner.raw, partner.fs, partner.sectors, diff_test.align(ALIGN + v.sectors + ALIGN)))
        image = compose(os.path.join(self.work, "disk.raw"), placed)
        result = None
        for mode in SHAPES[self.shape].modes:
            got = self.read_mode(mode, v, image, copy.deepcopy(rows), description, contested)
            if got is not None:
                problems, figures = result or ([], {})
                result = problems + [(c, "%s: %s" % (mode, p)) for c, p in got[0]], add(figures, got[1])
        return result

    def read_mode(self, mode, v, image, rows, description, contested):
        sandbox = os.path.join(self.work, "save-" + mode)
        if mode == "quick":
            source, extra = ["--partition", "0"], []
        else:
            required_where_found(rows, description, v.fs)
            total = os.path.getsize(image[:-len(".vhd")] + ".raw") // SECTOR
            # extensive-other: the scan run for the other FAT type, which the volume's tables correct.
            code = v.code if mode == "extensive" else 300 - v.code
            source = ["--range", str(code), "0", str(total)]
            k, problem, others = self.found(image, source, description, (ALIGN, v.sectors))
            if problem:
                # Without a boot sector at its start two folders give a volume's geometry; its boot sector is enough.
                if self.shape not in ("format", "reformat") and diff_test.geometry_folders(v) < 2:
                    return None
                return [("not-found", problem)], {}
            extra = ["--choose", k]
        contested = contested()
        problems, figures = self.judged_saves(mode, image, source, extra, rows, (ALIGN, v.sectors), v.fs != "ntfs",
                                              sandbox, contested)
        if mode == "quick" or not SHAPES[self.shape].formats:
            return problems, figures
        # The old file system, found beside the new one: its files may be listed, never counted whole with other bytes.
        for other in others:
            old_rows = [dict(r, required=False) for r in rows]
            more, got = self.judged_saves(mode, image, source, ["--choose", other], old_rows, (ALIGN, v.sectors),
                                          v.fs != "ntfs", "%s-%s" % (sandbox, other), contested)
            problems += [(c, "file system %s: %s" % (other, p)) for c, p in more]
            figures = add(figures, {"other " + k: n for k, n in got.items()})
        return problems, figures

    def judged_saves(self, mode, image, source, extra, rows, extent, fat, sandbox, contested=()):
        """The tree saved from the scan, and again from the snapshot of that scan loaded over the image, each judged
        alike by the rows: (problems, figures); the snapshot's problems say so."""
        save, audit = diff_test.audited_save(self.args.enginectl, image, source, sandbox, extra)
        problems = [("save", p) for p in save.problems(expect_status=3 if save.status == 3 else 0)]
        judged, figures = written.judge(rows, save.out, audit, extent, fat, contested)
        problems += judged
        snapshot = sandbox + ".vsnp"
        proc = driver.run(self.args.enginectl, "extensive" if mode.startswith("extensive") else "quick", image, *source,
                          *extra, "--snapshot-save", snapshot)
        if proc.returncode != 0:
            return problems + [("save", driver.failure(proc, "snapshot: "))], figures
        save, audit = diff_test.audited_save(self.args.enginectl, image, ["--snapshot", snapshot], sandbox + "-snapshot")
        problems += [("save", "snapshot: " + p) for p in save.problems(expect_status=3 if save.status == 3 else 0)]
        judged, more = written.judge(rows, save.out, audit, extent, fat, contested)
        problems += [(c, "snapshot: " + p) for c, p in judged]
        return problems, add(figures, {"snapshot " + k: n for k, n in more.items()})

    def image_file(self, v, raw, record, rows):
        """The disk as an image file damaged in the shape (vhd.damaged_copy), read and judged: the rows of the files
        whose bytes qemu-img no longer reads from the file are destroyed, and those TSK cannot find whole through its
        reading are not required; None when the shape fits nothing on the disk. A disk of 4096-byte sectors must be
        refused by name (what it saved otherwise is judged too)."""
        four_k = self.shape == "vhdx-4k"
        disk = compose(os.path.join(self.work, "disk.raw"), [(raw, v.fs, v.sectors, ALIGN)], wrapped=False,
                       unit=8 if four_k else 1)
        image = os.path.join(self.work, vhd.image_name(self.shape))
        seen = vhd.damaged_copy(disk, image, self.shape, self.seed, (ALIGN, v.sectors))
        if seen is None:
            return None
        if four_k:
            proc = driver.run(self.args.enginectl, "partitions", image)
            if proc.returncode != 0 and b"4096-byte sectors" in proc.stderr:
                return [], {"written": len(rows)}
            refused = [("save", "a disk of 4096-byte sectors was not refused by name: " + driver.failure(proc))]
            problems, figures = self.read_mode("quick", v, image, raw, copy.deepcopy(rows), v.description)
            return refused + problems, figures
        seen = extract(seen, ALIGN, v.sectors, os.path.join(self.work, "seen.raw"))
        target = user_history.target_of(record, v.description)
        user_history.locate(target, rows)
        before = {id(r): user_history.fate_now(target, r) for r in rows if r["state"] == "live"}
        target.raw = seen
        through = oracle.describe_volume(seen, 0)
        found = {user_history.key(e["path"], target.fat): e["sha256"] for e in oracle.user_entries(through)
                 if not e["deleted"] and not e["dir"]}
        for r in rows:
            if r["state"] != "live":
                continue
            if before[id(r)] == "intact" and user_history.fate_now(target, r) != "intact":
                r["fate"] = "destroyed"
            if r["fate"] != "intact" or found.get(user_history.key(r["path"], target.fat)) != r["sha256"]:
                r["required"] = False
        result = None
        # The volume itself is as built (the image file is what is damaged): its description holds.
        contested = functools.cache(lambda: tsk_contested(raw, v.fs, v.description))
        for mode in SHAPES[self.shape].modes:
            if mode == "search":
                got = self.searched(image, [(v, ALIGN)], rows)
            else:
                got = self.read_mode(mode, v, image, copy.deepcopy(rows), v.description, contested)
            problems, figures = result or ([], {})
            result = problems + [(c, "%s: %s" % (mode, p)) for c, p in got[0]], add(figures, got[1])
        return result

    def found(self, image, source, description, extent):
        """The number of the file system the Extensive Scan finds at the volume's place, or a problem; and the numbers
        of the others found whose first sector lies inside the volume's extent (first, count)."""
        proc = driver.run(self.args.enginectl, "extensive", image, *source)
        if proc.returncode != 0:
            return None, "extensive: " + driver.failure(proc), []
        lines = [line.split("\t") for line in proc.stdout.decode().splitlines()]
        base = driver.cluster_base(description, ALIGN)
        k = next((line[0] for line in lines if int(line[3]) == base), None)
        others = [line[0] for line in lines if line[0] != k and extent[0] <= int(line[3]) < extent[0] + extent[1]]
        return k, None if k else "no file system found at sector %d (found: %s)" % (
            base, "; ".join(" ".join(line[1:]) for line in lines) or "none"), others

    def aligned(self, v):
        """The volume and two small partners of other file systems on 1 MiB boundaries, the table's entries
        zeroed: each volume the partition search finds is Quick Scanned and saved."""
        others = [k for k in ("fat16", "fat32", "ntfs4k") if history.Geometry(k, 1, 512).fs != v.fs]
        volumes = [(v, [])] + [self.volume(self.seed + PARTNER_OFFSET * (i + 1), k, "small")
                               for i, k in enumerate(others)]
        problems = [("generator", p) for _, ps in volumes for p in ps]
        if problems:
            return problems, {}
        volumes = [x for x, _ in volumes]
        starts = aligned_starts([x.sectors for x in volumes])
        image = compose(os.path.join(self.work, "disk.raw"),
                        [(x.raw, x.fs, x.sectors, s) for x, s in zip(volumes, starts)])
        with open(image, "r+b") as f:  # the boot code and signature kept, the four entries gone
            f.seek(446)
            f.write(bytes(64))
        return self.searched(image, list(zip(volumes, starts)))

    def searched(self, image, placed, rows=None):
        """The partition search over the image: each volume [(volume, start)] it must find is Quick Scanned and
        saved, judged by its rows (those of its history when None)."""
        proc = driver.run(self.args.enginectl, "partitions", "--search", image)
        found = {int(line.split("\t")[0]): line.split("\t") for line in proc.stdout.decode().splitlines()}
        problems, figures = [], {}
        for x, start in placed:
            if start not in found:
                problems.append(("not-found", "%s at sector %d not found by the partition search (found: %s)" %
                                 (x.fs, start, sorted(found))))
                continue
            _, count, code = found[start]
            judged_rows = rows if rows is not None else \
                user_history.written_of(user_history.as_listed(x.record, x.description))
            judged, got = self.judged_saves("search", image, ["--range", code, str(start), count], [],
                                            copy.deepcopy(judged_rows), (start, x.sectors), x.fs != "ntfs",
                                            os.path.join(self.work, "save-%d" % start))
            problems += judged
            figures = add(figures, got)
        return problems, figures


def add(figures, more):
    return {k: figures.get(k, 0) + more.get(k, 0) for k in set(figures) | set(more)}


def tsk_contested(raw, fs, description=None):
    """(folder, name without its first letter, size) in capitals of the deleted files TSK lists on the volume that
    another deleted file or a deleted folder claims clusters of, where their creation times do not tell
    (driver.fat_contested). description: TSK's of the volume as it is now, where the case has it; else TSK is asked
    for what this needs alone, the runs of the deleted files and folders."""
    if fs == "ntfs":
        return set()
    if description is None:
        description = oracle.describe_volume(raw, 0, wanted=lambda e: e["deleted"] and (e["dir"] or e["size"]))
    listed = [e for e in description.get("entries", []) if not e["meta"]]
    contested = driver.fat_contested(raw, 0, listed)
    return {(folder, name[1:], e["size"]) for e in listed if e["addr"] in contested
            for folder, _, name in [e["path"].upper().rpartition("/")]}


def mark_damage(rows, done, fat):
    """The fates damage.apply gives its files, and the entries it left to the other table alone or to a tie with
    another file's claim, on the rows."""
    by_key = {user_history.key(r["path"], fat): r for r in rows if r["state"] == "live"}

    def rows_of(path):
        """The live rows TSK's path names: a "^" of TSK's (a letter of a short name it cannot decode) stands for
        any one character."""
        k = user_history.key(path, fat)
        if k in by_key or "^" not in k:
            return [by_key[k]] if k in by_key else []
        return [r for name, r in by_key.items()
                if len(name) == len(k) and all(a == b or a == "^" for a, b in zip(k, name))]

    for d in done:
        found = rows_of(d["path"]) if d["path"] else []
        if len(found) == 1 and d["fate"] != "intact":
            found[0].update(fate="unknown" if d["fate"] == "tsk" else d["fate"], required=False)
        elif d["fate"] != "intact":
            for r in found:  # nothing tells which of them it is
                r["required"] = False
        for path in d.get("hidden", []) + d.get("tied", []):
            for hidden in rows_of(path):
                hidden["required"] = False


def required_where_found(rows, description, fs):
    """Only the live files an Extensive Scan finds where they were written (driver.chosen_tree) stay required."""
    fat = fs != "ntfs"
    key = user_history.key
    placed = {key(t["path"], fat) for t, e in driver.chosen_tree(None, {"built": {}}, description)
              if t is not None and not t["deleted"] and key(t["path"], fat) == key(e.path, fat)}
    for r in rows:
        if r["required"] and key(r["path"], fat) not in placed:
            r["required"] = False


# ---------------------------------------------------------------- the command

def outcome(result):
    """(status, lines): ok, n/a or FAILED."""
    if result is None:
        return "n/a", []
    # The classes in written.CLASSES's order (letter case last), so that the first lines say the most.
    order = {c: i for i, c in enumerate(written.CLASSES)}
    problems = sorted(result[0], key=lambda x: order.get(x[0], -1))
    if not problems:
        return "ok", []
    return "FAILED", ["%s: %s" % (c, p) for c, p in problems[:30]] + (
        ["... %d more" % (len(problems) - 30)] if len(problems) > 30 else [])


def entry_name(shape, seed):
    """A case's name in --list and --only."""
    return "%s.%s-%d" % (shape, kind_of(shape, seed), seed)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--enginectl")
    parser.add_argument("--ntfs-helper")
    parser.add_argument("--work")
    parser.add_argument("--shapes", default=",".join(SHAPES))
    parser.add_argument("--seeds", help="these seeds of every shape (default: CI_SEEDS)")
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--faults", action="store_true", help="the cases FAULTS names too")
    parser.add_argument("--list", action="store_true", help="print the cases chosen (SHAPE.KIND-SEED), one a line")
    parser.add_argument("--only", help="of the cases chosen, these (SHAPE.KIND-SEED[,...])")
    args = parser.parse_args()
    todo = [(shape, seed) for shape in args.shapes.split(",")
            for seed in (diff_test.parse_seeds(args.seeds) if args.seeds else CI_SEEDS[shape])]
    if args.list:
        print("\n".join(entry_name(shape, seed) for shape, seed in todo))
        return 0
    if args.only:
        only = args.only.split(",")
        unknown = [n for n in only if n not in {entry_name(*c) for c in todo}]
        if unknown:
            parser.error("not among the cases chosen: %s" % ", ".join(unknown))
        todo = [c for c in todo if entry_name(*c) in only]
    for option in ("enginectl", "ntfs_helper", "work"):
        if not getattr(args, option):
            parser.error("--%s is needed" % option.replace("_", "-"))
    os.makedirs(args.work, exist_ok=True)
    started = time.time()
    totals, counts = {}, {}
    if not args.faults:
        for shape, seed in [c for c in todo if c in FAULTS]:
            print("SKIPPED: %s %s-%d: %s" % (shape, kind_of(shape, seed), seed, FAULTS[(shape, seed)]))
            counts["skipped"] = counts.get("skipped", 0) + 1
        todo = [c for c in todo if c not in FAULTS]
    with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
        jobs = [(shape, seed, pool.submit(lambda s, n: (lambda c: (c, c.run()))(Case(args, s, n)), shape, seed))
                for shape, seed in todo]
        for shape, seed, job in jobs:
            try:
                case, result = job.result()
            except Exception as e:  # a tool that failed while making the volume: the generator's fault
                print("FAILED: %s seed %d: the volume could not be made: %r" % (shape, seed, e))
                counts["FAILED"] = counts.get("FAILED", 0) + 1
                continue
            status, lines = outcome(result)
            counts[status] = counts.get(status, 0) + 1
            print("%s: %s%s" % (status, case.name, "" if status != "FAILED" else
                                " (replay: %s)" % replay_hint(shape, case.kind, seed)))
            for line in lines:
                print("  " + line)
            if status in ("ok", "n/a"):
                shutil.rmtree(case.work, ignore_errors=True)
            if result:
                figures = totals.setdefault(shape, {"cases": 0})
                figures["cases"] += 1
                for k, n in result[1].items():
                    figures[k] = figures.get(k, 0) + n
            sys.stdout.flush()
    columns = ("cases", "written", "destroyed", "recoverable", "recovered", "listed", "whole",
               "damaged") + written.CLASSES
    print(" ".join(["%-27s" % "shape"] + ["%*s" % (len(c), c) for c in columns]))
    titles = {"": "", "snapshot ": " from snapshot", "other ": " old volume", "other snapshot ": " old from snapshot"}
    for shape in SHAPES:
        for prefix, title in titles.items():
            got = totals.get(shape, {})
            if shape in totals and (not prefix.startswith("other") or prefix + "listed" in got):
                print(" ".join(["%-27s" % (shape + title)] +
                               ["%*d" % (len(c), got.get(c if c in ("cases", "written", "destroyed", "recoverable")
                                                        else prefix + c, 0)) for c in columns]))
    print("%s, %.0f s" % (", ".join("%d %s" % (n, s) for s, n in sorted(counts.items())), time.time() - started))
    return 1 if counts.get("FAILED") else 0


if __name__ == "__main__":
    sys.exit(main())
