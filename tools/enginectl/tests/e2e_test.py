#!/usr/bin/env python3
"""The end-to-end matrix: every test disk in every wrapper, through enginectl in each recovery mode, against the
manifests (what The Sleuth Kit, icat and photorec say the disk holds), with a snapshot round trip after each scan.

    e2e_test.py --enginectl PATH --images DIR --wrappers DIR --work DIR --disk NAME [--round-trips first|all]
                [--jobs N]
    e2e_test.py --list                       the disks, one per line (one CTest test each)
    e2e_test.py --images DIR --check-disks   fails when build/images holds a disk the matrix does not name

Disks: the raw disks of RAW_DISKS (bare volumes, the carving volume, the five partitioned disks, the damage kit),
each in every wrapper of WRAPPERS (those build/images lacks are made by make_wrappers.py into --wrappers), and the
disks that come in one wrapper of their own (big.vhd, big5g.vhdx; badfooter.vhd and badfooter.fixed.vhd, whose
footer at the end has a wrong checksum, as more wrappers of mbr_primary). The raw file itself is read as the
disk it is, whatever its name: its partitions and Quick Scan trees are the first wrapper's (checked once per disk).

For each wrapper:
- Quick Scan of every FAT or NTFS volume (chosen as the source page chooses it: --partition N where the table
  names it, --range otherwise): the tree against TSK's listing (driver.py's normalisation).
- Extensive Scan of the whole disk (above 1 GiB of the sectors from its first volume to its last) for each code (100 FAT16, 200 FAT32,
  300 NTFS): the file systems found are
  those of the disk's volumes of that kind that the scan can find (Volume.found_by_extensive), matched by the
  first sector the scan gives them, and no others; each volume of the kind the code names is chosen and its tree
  compared as driver.chosen_tree says.
- File Trace of the whole disk, as a FAT range of the first FAT volume's kind (of each volume on disks without
  FAT or above 1 GiB), for the types photorec looks for: every hit of photorec (the manifest's, or photorec run
  now over the raw disk) is a hit of the same type at the same sector; any other hit lies at a carving sample
  photorec rejects (invalid).
- Each scan saves its snapshot (--snapshot-save), and loading it over the same image prints the same tree, or
  the same hits.
With --round-trips all for every wrapper, by default for the first (the fixed VHD) only, the round trips go on:
- the rows of the results list for the top folder and two others are the same after the load;
- saving the whole tree after the scan writes every file at its place with icat's bytes and the saver's time
  stamp, every folder, nothing outside the chosen folder; saving after the load writes the same files with the
  same bytes; File Trace: saving the hits after the load writes each hit as the disk holds it from its sector to
  where its format ends, at most the size chosen (zeros past the disk's end), counted not read whole when cut
  there, each carving sample byte for byte.

Each (wrapper, mode, volume or file system) is one case; the last line gives the cases and the failures.
"""
import argparse
import concurrent.futures
import os
import shutil
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import driver  # noqa: E402
from driver import CODES, Save, chosen_tree, compare, failure, load, run, saved_contents, scanned_entries  # noqa: E402
import oracle  # noqa: E402  (driver.py puts tools/images on the path)
from util import sha256_file  # noqa: E402

RAW_DISKS = ["fat16", "fat32", "fat32_512", "ntfs_512", "ntfs_4k", "ntfs_64k", "carving",
             "mbr_primary", "mbr_extended", "cyl_aligned", "mbr_nosig", "notable",
             "dmg_fat16_sig", "dmg_fat16_boot", "dmg_fat32_boot", "dmg_fat16_fat1", "dmg_fat32_fat1",
             "dmg_ntfs_boot", "dmg_ntfs_dirrec"]
# suffix, qemu-img format and options of each wrapper.
WRAPPERS = [(".fixed.vhd", "vpc", "subformat=fixed,force_size=on"),
            (".dynamic.vhd", "vpc", "subformat=dynamic,force_size=on"),
            (".1m.vhdx", "vhdx", "subformat=dynamic,block_size=1M"),
            (".8m.vhdx", "vhdx", "subformat=dynamic,block_size=8M"),
            (".32m.vhdx", "vhdx", "subformat=dynamic,block_size=32M")]
# Disks in one wrapper of their own.
SINGLE = ["big.vhd", "big5g.vhdx"]
# mbr_primary with a wrong checksum in the footer (at the end; the dynamic disk's copy at offset 0 intact): the
# engine reads both, as it tests no checksum of the footer.
EXTRA_WRAPPERS = {"mbr_primary": ["badfooter.vhd", "badfooter.fixed.vhd"]}
# Images of build/images that are no disk of the matrix, with the reason.
LEFT_OUT = {
    "mbr_extended.diff.vhd": "differencing disk: its volumes live in the parent, which the engine does not open",
    "mbr_extended.diff.vhdx": "differencing disk: its volumes live in the parent, which the engine does not open",
}
# Disks whose Quick Scan is not compared, with the reason (none: a zeroed first allocation table leaves the chains of
# the second, which the scans follow as well).
QUICK_LEFT_OUT = {}
# The Extensive Scan's file-system codes: the kind of volume each searches for, and the one it reads as.
SEARCHED = {100: (("fat16", "fat32"), "fat16"), 200: (("fat16", "fat32"), "fat32"), 300: (("ntfs",), "ntfs")}
# photorec's types; its "doc" covers Office's compound files, which it names .doc, .xls or .ppt, and File Trace
# names .xls or .ppt only when those types are ticked too.
TRACE_TYPES = oracle.PHOTOREC_TYPES + ["xls", "ppt"]
BIG_DISK = 1 << 30
TRACE_FILE_MB = 1


def disk_names():
    return RAW_DISKS + [name.split(".")[0] for name in SINGLE]


# ---------------------------------------------------------------- the disk and its volumes

class Volume:
    """A volume of the disk that holds a file system the engine reads. listed: TSK's description of what it holds
    (driver.listed_volume); raw, raw_start: the file and sector icat reads it from (a disk without a raw file:
    the volume the generator copied in)."""

    def __init__(self, images, manifest, volume, raw):
        self.volume, self.start = volume, volume["start"]
        self.fs = driver.volume_fs(images, manifest, volume)
        self.listed = driver.listed_volume(images, manifest, volume)
        damage = driver.damage_of(images, manifest) or {}
        self.boot_lost = self.start in damage.get("sectors", [])
        backup = damage.get("backup_boot_sector")
        self.backup_kept = backup is not None and backup not in damage.get("sectors", [])
        # Reading a found FAT file system follows folder chains through both allocation tables: only where both are
        # lost does a folder end with its first cluster.
        fsstat = self.listed.get("fsstat", {})
        lost = [t for t in ("FAT 0", "FAT 1") if t in fsstat and
                self.start + int(fsstat[t].split()[0]) in damage.get("sectors", [])]
        self.chain = 1 if len(lost) == 2 else None
        if raw is None:
            placed = next(p for p in manifest["built"]["placed_volumes"] if p["start"] == self.start)
            self.raw, self.raw_start, self.sectors = os.path.join(images, placed["volume"]), 0, placed["sectors"]
            (self.listed,) = load(self.raw + ".manifest.json")["volumes"]
            return
        if self.listed is volume:
            self.raw, self.raw_start = raw, self.start
        else:
            self.raw, self.raw_start = os.path.join(images, damage["intact"]), self.listed["start"]
        self.sectors = driver.volume_sectors(images, manifest, volume)

    def label(self):
        return "%s at %d" % (self.fs, self.start)

    def found_by_extensive(self):
        """Whether an Extensive Scan finds the file system: FAT16 and FAT32 from their boot sector (its tables where
        it says), or without one from two subfolder candidates; NTFS from its boot sector or the backup in its last
        sector, or without either from two folders with index allocations."""
        if self.fs == "ntfs":
            indexed = [e for e in oracle.user_entries(self.listed) if e["dir"] and e["runs"] and not e.get("resident")]
            return not self.boot_lost or self.backup_kept or len(indexed) >= 2
        folders = [c for c in driver.fat_clusters(self.listed).values() if c >= driver.LOWEST_CANDIDATE_CLUSTER]
        return not self.boot_lost or len(folders) >= 2


class Disk:
    def __init__(self, images, wrappers_dir, name):
        self.images, self.name = images, name
        single = next((s for s in SINGLE if s.split(".")[0] == name), None)
        if single:
            self.manifest = load(os.path.join(images, single + ".manifest.json"))
            self.raw = None
            self.wrappers = [os.path.join(images, single)]
        else:
            self.manifest = load(os.path.join(images, name + ".raw.manifest.json"))
            self.raw = os.path.join(images, name + ".raw")
            self.wrappers = []
            for suffix, _, _ in WRAPPERS:
                shared = os.path.join(images, name + suffix)
                self.wrappers.append(shared if os.path.exists(shared) else os.path.join(wrappers_dir, name + suffix))
            self.wrappers += [os.path.join(images, w) for w in EXTRA_WRAPPERS.get(name, [])]
        self.sectors = self.manifest["virtual_disk"]["size"] // 512
        self.volumes = [Volume(images, self.manifest, v, self.raw) for v in self.manifest.get("volumes", [])]
        self.volumes = [v for v in self.volumes if v.fs in CODES]
        # What an Extensive Scan searches: the whole disk; above 1 GiB the sectors of its volumes (the disks that
        # big are there for their volumes' places past 4 GiB, not for the gigabytes of holes around them).
        self.big = self.sectors * 512 > BIG_DISK
        first = min(v.start for v in self.volumes) if self.big else 0
        end = max(v.start + v.sectors for v in self.volumes) if self.big else self.sectors
        self.search = [first, end - first]


# ---------------------------------------------------------------- one wrapper

class Wrapper:
    """The cases of one wrapper of the disk; work: a folder of its own."""

    def __init__(self, args, disk, image, work, full):
        self.args, self.disk, self.image, self.work, self.full = args, disk, image, work, full
        self.ctl = args.enginectl
        self.name = os.path.basename(image)
        self.results = []  # (case label, problems)
        shutil.rmtree(work, ignore_errors=True)
        os.makedirs(work)

    def case(self, label, problems):
        self.results.append(("%s %s" % (self.name, label), problems))

    def snapshot_path(self, tag):
        return os.path.join(self.work, tag + ".vsnp")

    # -- a scan and its snapshot round trip

    def scan_case(self, scan, save_source, tag, tree, volume):
        """The scan (its snapshot saved afterwards) and its tree against tree's entries; loading the snapshot gives
        the same tree. With full, also the rows of three folders after the load, saving after the scan against
        icat, and saving after the load against saving after the scan."""
        snapshot = self.snapshot_path(tag)
        proc = run(self.ctl, *scan, "--snapshot-save", snapshot)
        if proc.returncode != 0:
            return [failure(proc)]
        problems = compare(volume.fs, [e for _, e in tree], scanned_entries(proc.stdout.decode("utf-8"), volume.fs))
        problems += self.same_load(snapshot, proc.stdout)
        if not self.full:
            return problems
        for folder in listed_folders(proc.stdout):
            before = run(self.ctl, *scan, "--list", folder)
            after = run(self.ctl, "snapshot-load", snapshot, "--image", self.image, "--list", folder)
            if before.returncode != 0 or after.returncode != 0 or after.stdout != before.stdout:
                problems.append("rows of %s after the load differ:\n%s" % (folder, diff_lines(before.stdout,
                                                                                             after.stdout)))
        saved, scanned = self.same_save(snapshot, save_source)
        expected = [(tsk, e.path) for tsk, e in tree if tsk is not None]
        problems += saved + driver.check_save(scanned, expected, volume.raw, volume.raw_start, volume.fs != "ntfs",
                                              times=True)
        return problems

    def same_load(self, snapshot, printed):
        """Loading the snapshot over the image prints what the scan printed (its tree, or its hits)."""
        proc = run(self.ctl, "snapshot-load", snapshot, "--image", self.image)
        if proc.returncode != 0:
            return [failure(proc, "snapshot-load: ")]
        if proc.stdout != printed:
            return ["snapshot-load prints another tree than the scan:\n" + diff_lines(printed, proc.stdout)]
        return []

    def same_save(self, snapshot, scan_source):
        """Saving after the scan and after loading its snapshot: the same files with the same bytes, counted the same
        way (the status and counts of the first, which check_save judges). The problems of the second, and the first
        Save."""
        tag = os.path.basename(snapshot)[:-5]
        scanned = Save(self.ctl, self.image, scan_source, os.path.join(self.work, tag + ".saved"))
        loaded = Save(self.ctl, self.image, ["--snapshot", snapshot], os.path.join(self.work, tag + ".loaded"))
        problems = loaded.problems(scanned.status)
        if loaded.counts != scanned.counts:
            problems.append("saving after the load counts %s, after the scan %s" % (loaded.counts, scanned.counts))
        a, b = driver.saved_tree(scanned.out), driver.saved_tree(loaded.out)
        if a != b or saved_contents(scanned.out) != saved_contents(loaded.out):
            problems.append("saving after the load writes other files: %s" % sorted(set(a.items()) ^ set(b.items()))[:20])
        return problems, scanned

    # -- the modes

    def quick(self, volume, starts):
        args = driver.source_args(starts, self.disk.images, self.disk.manifest, volume.volume, volume.fs)
        if args is None:
            return ["enginectl partitions does not list the volume"]
        _, tree = driver.expected_tree(self.disk.images, self.disk.manifest, volume.listed)
        return self.scan_case(["quick", self.image, *args], args, "quick-%d" % volume.start, tree, volume)

    def extensive(self, code):
        """One case for the file systems found, and one for each of those read as the code says (chosen)."""
        proc = run(self.ctl, "extensive", self.image, "--range", code, *self.disk.search)
        if proc.returncode != 0:
            self.case("extensive %d" % code, [failure(proc)])
            return
        found = [line.split("\t") for line in proc.stdout.decode().splitlines()]
        kinds, read_as = SEARCHED[code]
        wanted = {driver.cluster_base(v.listed, v.start): v for v in self.disk.volumes
                  if v.fs in kinds and v.found_by_extensive()}
        at = {int(first): k for k, _, _, first, _ in found}
        problems = ["not found: %s (first sector %d)" % (v.label(), base) for base, v in wanted.items() if base not in at]
        problems += ["found a file system no volume holds: %s" % "\t".join(f) for f in found if int(f[3]) not in wanted]
        self.case("extensive %d: %d found" % (code, len(found)), problems)
        for base, volume in wanted.items():
            if base in at and volume.fs == read_as:
                self.case("extensive %d --choose %s (%s)" % (code, at[base], volume.label()),
                          self.chosen(code, at[base], volume))

    def chosen(self, code, k, volume):
        source = ["--range", str(code)] + [str(n) for n in self.disk.search] + ["--choose", k]
        tree = chosen_tree(self.disk.images, self.disk.manifest, volume.listed, chain=volume.chain)
        return self.scan_case(["extensive", self.image] + source, source, "extensive-%d-%s" % (code, k), tree, volume)

    def trace(self, label, source, photorec, invalid):
        snapshot = self.snapshot_path("trace-" + label.replace(" ", "-"))
        proc = run(self.ctl, "trace", self.image, *source, "--types", ",".join(TRACE_TYPES), "--file-size", TRACE_FILE_MB,
                   "--snapshot-save", snapshot)
        if proc.returncode != 0:
            return [failure(proc)]
        hits = {}
        for line in proc.stdout.decode("utf-8").splitlines():
            sector, name, _ = line.split("\t")
            hits[int(sector)] = name
        problems = trace_hit_problems(hits, photorec, invalid)
        problems += self.same_load(snapshot, proc.stdout)
        if hits and self.disk.raw and self.full:
            problems += self.trace_saved(snapshot, hits)
        return problems

    def trace_saved(self, snapshot, hits):
        """Saving the hits after the load: each hit the disk's bytes from its sector to where its format ends, at
        most the size the trace chose (zeros past the disk's end), counted not read whole when cut there; a
        carving sample byte for byte."""
        audit = os.path.join(self.work, "trace.audit")
        save = Save(self.ctl, self.image, ["--snapshot", snapshot], os.path.join(self.work, "trace.loaded"),
                    extra=["--audit", audit])
        with open(audit, encoding="utf-8") as f:
            damaged = {line.split("\t", 1)[1] for line in f.read().splitlines() if line.startswith("damaged\t")}
        problems = save.problems(3 if damaged else 0)
        if save.counts.get("saved") != len(hits) or save.counts.get("unreadable") != len(damaged):
            problems.append("save after the load: %s for %d hits" % (save.counts, len(hits)))
        samples = carving_samples(self.disk.manifest)
        for s, name in hits.items():
            problems += saved_hit_problems(os.path.join(save.out, name), self.disk.raw, s, TRACE_FILE_MB << 20,
                                           name in damaged, samples.get(s))
        return problems

    def run_all(self, photorec, invalid):
        proc = run(self.ctl, "partitions", self.image)
        if proc.returncode != 0:
            self.case("partitions", [failure(proc)])
            return self.results
        starts = [int(line.split("\t")[0]) for line in proc.stdout.decode().splitlines()]
        for volume in self.disk.volumes:
            if self.disk.name not in QUICK_LEFT_OUT:
                self.case("quick (%s)" % volume.label(), self.quick(volume, starts))
        for code in SEARCHED:
            self.extensive(code)
        fat = next((CODES[v.fs] for v in self.disk.volumes if v.fs != "ntfs"), None)
        if fat and not self.disk.big:
            self.case("trace %d whole disk" % fat, self.trace("disk", ["--range", fat, 0, self.disk.sectors], photorec,
                                                                invalid))
            return self.results
        for volume in self.disk.volumes:
            window = {s: e for s, e in photorec.items() if volume.start <= s < volume.start + volume.sectors}
            source = driver.source_args(starts, self.disk.images, self.disk.manifest, volume.volume, volume.fs)
            self.case("trace (%s)" % volume.label(), self.trace("at %d" % volume.start, source, window, invalid))
        return self.results


def listed_folders(printed):
    """The folders whose rows a round trip compares: the top one, the first and the last of the tree."""
    folders = [line.split("\t", 3)[3] for line in printed.decode("utf-8").splitlines() if line.startswith("D\t")]
    return ["/"] + sorted({folders[0], folders[-1]}) if folders else ["/"]


def diff_lines(a, b, limit=12):
    a, b = a.decode("utf-8", "replace").splitlines(), b.decode("utf-8", "replace").splitlines()
    only_a = [l for l in a if l not in set(b)]
    only_b = [l for l in b if l not in set(a)]
    return "\n".join(["    - " + l for l in only_a[:limit]] + ["    + " + l for l in only_b[:limit]])


# ---------------------------------------------------------------- the oracle of File Trace

def photorec_hits(disk, work):
    """{sector: extension} of what photorec carves from the disk: the manifest's record, or photorec run over
    the raw disk (over each volume's own raw file when the disk has none)."""
    recorded = disk.manifest.get("carving", {}).get("photorec")
    if recorded:
        return {h["sector"]: h["ext"] for h in recorded["hits"]}
    sources = [(disk.raw, 0)] if disk.raw else \
        [(os.path.join(disk.images, p["volume"]), p["start"]) for p in disk.manifest["built"]["placed_volumes"]]
    hits = {}
    for raw, offset in sources:
        with tempfile.TemporaryDirectory(dir=work) as tmp:
            for h in oracle.photorec(raw, tmp, TRACE_TYPES)["hits"]:
                hits[h["sector"] + offset] = h["ext"]
    return hits


def trace_hit_problems(hits, photorec, invalid):
    """Every hit of photorec ({sector: extension}) is a File Trace hit ({sector: name}) of its type; any other hit
    lies at a carving sample photorec rejects (invalid: their sectors)."""
    problems = ["photorec's %s at %d: File Trace gives %s" % (ext, s, hits.get(s)) for s, ext in photorec.items()
                if hits.get(s, "").split(".", 1)[-1] != ext]
    problems += ["hit %s at %d: neither photorec's nor an invalid sample's" % (name, s) for s, name in hits.items()
                 if s not in photorec and s not in invalid]
    return problems


def is_disk_bytes(path, raw, sector, size):
    """Whether the file holds size bytes of the raw disk from the sector on, zeros past the disk's end."""
    with open(raw, "rb") as f:
        f.seek(sector * 512)
        want = f.read(size)
    with open(path, "rb") as f:
        return f.read() == want + bytes(size - len(want))


def carving_samples(manifest):
    """{first sector: built sample} of a disk's carving samples."""
    built = {b["path"]: b for b in manifest.get("built", {}).get("samples", [])}
    return {s["start_sector"]: built[s["path"]] for s in manifest.get("carving", {}).get("samples", [])
            if s["path"] in built}


def saved_hit_problems(path, raw, sector, cap, damaged, sample):
    """A saved File Trace hit: the disk's bytes from its sector, at most cap bytes, cut there exactly when counted
    damaged (damaged None: not known); a whole carving sample byte for byte, one that is not saved at cap."""
    if not os.path.isfile(path):
        return ["hit at sector %d not saved" % sector]
    size = os.path.getsize(path)
    name = os.path.basename(path)
    problems = []
    if size == 0 or size > cap or not is_disk_bytes(path, raw, sector, size):
        problems.append("saved hit %s (%d bytes) is not the disk's bytes from sector %d" % (name, size, sector))
    if damaged is not None and damaged != (size == cap):
        problems.append("saved hit %s of %d bytes counted %s" % (name, size, "damaged" if damaged else "whole"))
    if sample and sample["valid"] and sample["size"] <= cap and sha256_file(path) != sample["sha256"]:
        problems.append("saved hit %s is not the sample %s written at sector %d" % (name, sample["path"], sector))
    if sample and not sample["valid"] and size != cap:
        problems.append("saved hit %s, the sample %s cut short, is not saved at the size chosen" % (name, sample["path"]))
    return problems


def invalid_samples(disk):
    return {s["start_sector"] for s in disk.manifest.get("carving", {}).get("samples", []) if not s["valid"]}


# ---------------------------------------------------------------- the disk's cases

def raw_reads(args, disk):
    """The raw file is the disk as it stands, whatever its name: its partitions and each volume's Quick Scan tree are
    those of the disk's first wrapper."""
    if not disk.raw:
        return []
    problems = []
    first = disk.wrappers[0]
    listed = [run(args.enginectl, "partitions", image) for image in (disk.raw, first)]
    if listed[0].returncode != listed[1].returncode or listed[0].stdout != listed[1].stdout:
        problems.append("partitions of the raw file differ:\n" + diff_lines(listed[1].stdout, listed[0].stdout))
    starts = [int(line.split("\t")[0]) for line in listed[1].stdout.decode().splitlines()]
    for volume in disk.volumes:
        source = driver.source_args(starts, disk.images, disk.manifest, volume.volume, volume.fs)
        if source is None:
            continue
        trees = [run(args.enginectl, "quick", image, *source) for image in (disk.raw, first)]
        if trees[0].returncode != trees[1].returncode or trees[0].stdout != trees[1].stdout:
            problems.append("quick %s of the raw file differs:\n%s" % (volume.label(),
                                                                      diff_lines(trees[1].stdout, trees[0].stdout)))
    return problems


def run_disk(args):
    disk = Disk(args.images, args.wrappers, args.disk)
    work = os.path.join(args.work, disk.name)
    os.makedirs(work, exist_ok=True)
    photorec, invalid = photorec_hits(disk, work), invalid_samples(disk)
    wrappers = [Wrapper(args, disk, image, os.path.join(work, os.path.basename(image)),
                        args.round_trips == "all" or n == 0) for n, image in enumerate(disk.wrappers)]
    results = [("raw file", raw_reads(args, disk))]
    with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
        for done in pool.map(lambda w: w.run_all(photorec, invalid), wrappers):
            results += done
    failed = 0
    for label, problems in results:
        print(("FAILED: " if problems else "ok: ") + label)
        for line in problems[:30]:
            print("  " + line)
        failed += 1 if problems else 0
    print("%s: %d cases, %d failed" % (disk.name, len(results), failed))
    return 1 if failed else 0


def check_disks(images):
    """Every image of build/images belongs to a disk of the matrix or is left out with a reason."""
    named = set(RAW_DISKS) | {s.split(".")[0] for s in SINGLE}
    extra = {w for ws in EXTRA_WRAPPERS.values() for w in ws} | set(SINGLE) | set(LEFT_OUT)
    stray = [name for name in sorted(os.listdir(images)) if name.endswith((".raw", ".vhd", ".vhdx"))
             and name not in extra and name.split(".")[0] not in named]
    for name in stray:
        print("not in the matrix: " + name)
    print("%d disks, %d images outside the matrix" % (len(named), len(stray)))
    return 1 if stray else 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--enginectl")
    parser.add_argument("--images")
    parser.add_argument("--wrappers")
    parser.add_argument("--work")
    parser.add_argument("--disk")
    parser.add_argument("--round-trips", choices=("all", "first"), default="first")
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--list", action="store_true")
    parser.add_argument("--check-disks", action="store_true")
    args = parser.parse_args()
    if args.list:
        print("\n".join(disk_names()))
        return 0
    if args.check_disks:
        return check_disks(args.images)
    return run_disk(args)


if __name__ == "__main__":
    sys.exit(main())
