#!/usr/bin/env python3
"""The program end to end, as a user drives it: scripts/ui-scenario runs the real Dorvane.exe under Wine over the
generated disks, and what its window shows and saves is compared with the headless driver and with the images'
oracles (The Sleuth Kit's icat, photorec, the carving samples) on the same image.

    e2e_test.py --scenario scripts/ui-scenario --enginectl PATH --images DIR --work DIR [--shots DIR]

The matrix (a few minutes on 2 cores): mbr_primary (FAT16, FAT32 and NTFS partitions) as a fixed VHD, a
dynamic VHD and a VHDX. For each partition: an Extensive Scan of its sector range for its kind, the first file
system found chosen on page 3, then a Quick Scan of it chosen on page 2; each time everything ticked and saved.
The tree the runner prints equals `enginectl extensive --choose 1`'s or `enginectl quick`'s, the saved files
equal `enginectl save`'s, and every file TSK lists (deleted ones too) is saved at its place with icat's bytes
(the manifests' records of icat on the raw disk, whose bytes qemu-img finds in each wrapper; the engine tests'
oracle, tools/enginectl/tests/driver.py). Once: a snapshot saved after a scan and loaded again over the open
image (same tree, same saved files), and a File Trace of the carving volume for photorec's types at 1 MB with
every hit saved: each saved hit is the disk's bytes from a carving sample's sector to where its format ends, the
sample written there byte for byte (the JPEG cut short at 1 MB), every photorec hit is saved at its sector with
photorec's bytes, and no other sample is a hit unless photorec rejects it; its snapshot, loaded by a fresh start,
lists the same hits and saves the same files.
Then, on its FAT16 and NTFS partitions, a folder ticked in the tree with a file and a subfolder in it unticked
again, a folder's first file ticked with its only subfolder, a file ticked in a subfolder before a file of its
parent is ticked and unticked, a folder ticked whole before one file of its subfolder is unticked, the files a
file filter shows ticked (or a folder ticked whole and the files shown unticked) before the filter is cleared or
with the filter kept, and seeded random sessions of such clicks (scripts/ui-scenario --tick/--untick/--filters),
after a Quick Scan, an Extensive Scan and its snapshot loaded: what is saved is what a model of the user's clicks
(tick_model.py) says, each file in its folder's place, with icat's bytes. File Trace's loaded snapshot is ticked
at random the same way.
Once: a Quick Scan of partition 0, then Back from the results, partition 1 picked and Next (--rescan-partition 1):
the second tree and save are partition 1's.
DORVANE_E2E_FULL=1 adds every wrapper of the other partitioned disks. Each case runs one after the other: they
share the display.

With --shots DIR, one case per mode leaves a picture of every page it passes in DIR/scenario/<mode>/pageN.png
(quick, extensive, trace; load: the snapshot loaded).
"""
import argparse
import concurrent.futures
import filecmp
import hashlib
import importlib.util
import os
import random
import shutil
import subprocess
import sys
import time

ENGINE_TESTS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "enginectl", "tests")
sys.path.insert(0, ENGINE_TESTS)

import driver  # noqa: E402  (the engine tests' oracle: TSK listings, icat, the saved-file checks)
import tick_model  # noqa: E402  (what the user meant by the clicks of the tick cases)
import oracle  # noqa: E402  (TSK's listing of a volume; driver puts its folder on the path)

_spec = importlib.util.spec_from_file_location("engine_matrix", os.path.join(ENGINE_TESTS, "e2e_test.py"))
engine_matrix = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(engine_matrix)

WRAPPERS = ["fixed.vhd", "dynamic.vhd", "1m.vhdx"]
FULL_WRAPPERS = WRAPPERS + ["8m.vhdx", "32m.vhdx"]
FULL_DISKS = ["mbr_primary", "mbr_extended", "cyl_aligned", "notable"]
QEMU_FORMATS = {".vhd": "vpc", ".vhdx": "vhdx"}
MIB = 1 << 20
# How the save's report begins when it counts files that could not be read whole.
SAVE_REPORT_WITH_DAMAGE = "Files saved:"
# File Trace's size chosen in the File Types dialog: not its first choice (2 MB), which a snapshot load
# would give a snapshot that did not keep the size.
TRACE_FILE_MB = 1


def run(command, timeout=600):
    return subprocess.run(command, capture_output=True, text=True, timeout=timeout)


class EngineFailed(Exception):
    """enginectl ended with an error: the case's expectations are unknown."""


def engine_run(command, accepted=(0,)):
    """enginectl's output; EngineFailed with its last line when it fails (ends with a status not accepted)."""
    proc = run(command)
    if proc.returncode not in accepted:
        last = (proc.stderr.strip().splitlines() or proc.stdout.strip().splitlines() or ["no output"])[-1]
        raise EngineFailed(f"enginectl {command[1]} exited with {proc.returncode}: {last}")
    return proc.stdout


def partitions(enginectl, image, *options):
    """The partitions the driver finds, as page 2 lists them (Partition 0, 1, ...)."""
    out = engine_run([enginectl, "partitions", *options, image])
    return [line for line in out.splitlines() if line.strip() and not line.startswith("#")]


def same_tree(case, ui, engine):
    if ui == engine:
        return None
    ui_lines, engine_lines = set(ui.splitlines()), set(engine.splitlines())
    only_ui = sorted(ui_lines - engine_lines)[:5]
    only_engine = sorted(engine_lines - ui_lines)[:5]
    return f"{case}: tree differs; window only {only_ui}, enginectl only {only_engine}"


def same_files(case, ui_dir, engine_dir, other="enginectl save"):
    """Every file and folder under both, with the same bytes."""
    differences = []

    def walk(compare, path):
        differences.extend(os.path.join(path, n) for n in compare.left_only + compare.right_only)
        _, mismatch, errors = filecmp.cmpfiles(compare.left, compare.right, compare.common_files, shallow=False)
        differences.extend(os.path.join(path, n) for n in mismatch + errors)
        for name, sub in compare.subdirs.items():
            walk(sub, os.path.join(path, name))

    walk(filecmp.dircmp(ui_dir, engine_dir), "")
    count = sum(len(files) for _, _, files in os.walk(engine_dir))
    if differences:
        return f"{case}: saved files differ from {other}: {differences[:5]}"
    if count == 0:
        return f"{case}: nothing saved"
    return None


def first_problem(case, what, problems):
    """One line: the first problem, and how many more there are."""
    if not problems:
        return None
    more = f" (and {len(problems) - 1} more)" if len(problems) > 1 else ""
    return f"{case}: {what}: {problems[0]}{more}"


def same_disk(case, image, raw):
    """The wrapper's virtual disk holds the raw disk's bytes (which the oracles read), as qemu-img sees it."""
    form = QEMU_FORMATS[os.path.splitext(image)[1]]
    proc = run(["qemu-img", "compare", "-f", form, "-F", "raw", image, raw])
    return None if proc.returncode == 0 else f"{case}: qemu-img finds another disk than {raw}: {proc.stdout.strip()}"


def icat_files(case, saved, volume, pairs):
    """Every folder and file TSK lists (pairs: (TSK entry or None, the tree's entry)) is saved at the place the
    tree shows it, each file with icat's bytes and the saver's time stamp."""
    expected = [(tsk, e.path) for tsk, e in pairs if tsk is not None]
    problems = driver.saved_entry_problems(saved, expected, volume.raw, volume.raw_start, volume.fs != "ntfs",
                                           times=True)
    return first_problem(case, "saved files against icat", problems)


def saved_hits(saved):
    """{saved path: its size} of the files a File Trace save wrote."""
    return {path: os.path.getsize(os.path.join(saved, *path.split("/")))
            for path, kind in driver.saved_tree(saved).items() if kind == "F"}


def hit_sector(path, raw, candidates):
    """The candidate sector of the raw disk from which the saved file holds the disk's bytes (compound files share
    their first sector: the whole file decides), or None."""
    size = os.path.getsize(path)
    with open(path, "rb") as f:
        head = f.read(512)
    with open(raw, "rb") as f:
        for sector in candidates:
            f.seek(sector * 512)
            if f.read(len(head)) == head and engine_matrix.is_disk_bytes(path, raw, sector, size):
                return sector
    return None


def trace_size(case, saved):
    """Every hit saved at most at the size chosen in the File Types dialog, and none empty."""
    wrong = sorted(p for p, size in saved_hits(saved).items() if not 0 < size <= TRACE_FILE_MB * MIB)
    return f"{case}: hits saved past {TRACE_FILE_MB} MB or empty: {wrong[:5]}" if wrong else None


def hit_number(path):
    name = os.path.basename(path)
    return int(name.split(".", 1)[0]) if name.split(".", 1)[0].isdigit() else None


def trace_files(case, listing, saved, disk):
    """Each saved hit is the disk's bytes from a carving sample's sector to where its format ends (the sample written
    there byte for byte; the one cut short at the size chosen), named N.ext in the order of the sectors, as listed in
    the window; against photorec (the manifest's record of it): every hit of photorec is saved at its sector with
    photorec's carved bytes, and any other hit lies at a sample photorec rejects."""
    carving = disk.manifest["carving"]
    photorec = {h["sector"]: h for h in carving["photorec"]["hits"]}
    candidates = sorted(set(photorec) | {s["start_sector"] for s in carving["samples"]})
    samples = engine_matrix.carving_samples(disk.manifest)
    files = saved_hits(saved)
    # Each hit is listed under its group and under its type: the names N.ext, once each.
    listed = sorted({line.rsplit("/", 1)[-1] for line in listing.splitlines()
                     if line.startswith("F\t") and hit_number(line.rsplit("/", 1)[-1]) is not None})
    if not files:
        return f"{case}: nothing saved"
    if sorted(os.path.basename(p) for p in files) != listed:
        return f"{case}: saved {sorted(files)[:5]}, the window lists {listed[:5]}"
    problems, hits, places = [], {}, {}
    for path, size in sorted(files.items(), key=lambda item: hit_number(item[0]) or 0):
        full = os.path.join(saved, *path.split("/"))
        sector = hit_sector(full, disk.raw, candidates)
        if sector is None:
            problems.append(f"{path} ({size} bytes) is not the disk's bytes from a carving sample's sector")
            continue
        hits[sector], places[sector] = os.path.basename(path), full
        problems += engine_matrix.saved_hit_problems(full, disk.raw, sector, TRACE_FILE_MB * MIB, None,
                                                     samples.get(sector))
    numbers = [hit_number(name) for _, name in sorted(hits.items())]
    if numbers != list(range(1, len(numbers) + 1)):
        problems.append(f"hits not numbered in the order of their sectors: {sorted(hits.items())}")
    problems += engine_matrix.trace_hit_problems(hits, {s: h["ext"] for s, h in photorec.items()},
                                                 engine_matrix.invalid_samples(disk))
    for sector, h in photorec.items():
        if sector in hits:
            with open(places[sector], "rb") as f:
                if hashlib.sha256(f.read()).hexdigest() != h["sha256"]:
                    problems.append(f"{hits[sector]} is not photorec's {h['ext']} carved at {sector}")
    return first_problem(case, "saved hits against the carving samples", problems)


class Matrix:
    def __init__(self, args):
        self.args = args
        self.failures = []
        self.cases = set()  # the names of the cases run, passed or failed
        self.stopped = {}
        self.disks = {}
        self.timings = []
        # enginectl's side of a case runs while the window's does: the program mostly waits on its timers.
        self.pool = concurrent.futures.ThreadPoolExecutor(1)

    def engine(self, image, scan, out):
        """enginectl's tree of the scan and its save of everything into out, started now; their tree later."""
        def both():
            tree = engine_run([self.args.enginectl, *scan[:1], image, *scan[1:]])
            # 3: files counted damaged (the deleted FAT files whose clusters are in use again), which enginectl's
            # own end-to-end test counts; here the window's save must write what this one writes.
            engine_run([self.args.enginectl, "save", image, *scan[1:], "--out", out], accepted=(0, 3))
            return tree
        return self.pool.submit(both)

    def disk(self, name):
        """The disk as the engine matrix describes it (volumes, the raw disk and TSK's listing of each)."""
        if name not in self.disks:
            self.disks[name] = engine_matrix.Disk(self.args.images, self.args.work, name)
        return self.disks[name]

    def volume(self, disk, start):
        return next((v for v in self.disk(disk).volumes if v.start == start), None)

    def shots(self, mode):
        """The screenshot option of the case that shows the mode's pages."""
        return ["--shots", os.path.join(self.args.shots, "scenario", mode)] if self.args.shots else []

    def scenario(self, case, *arguments, timeout=60):
        mode = arguments[arguments.index("--mode") + 1] if "--mode" in arguments else "load"
        if "--save" in arguments:
            # A save that counts files damaged (the deleted FAT files whose clusters are in use again) ends with its
            # report as an error box; what it counts is enginectl's test, the files it writes this one's.
            arguments += ("--expect-box", SAVE_REPORT_WITH_DAMAGE)
        if mode in self.stopped:
            self.cases.add(case)
            self.failures.append(f"{case}: not run after {self.stopped[mode]}")
            return None
        # The generated disks scan in seconds: a minute per step is a hang.
        started = time.monotonic()
        result = run([self.args.scenario, *arguments, "--timeout", str(timeout)])
        self.timings.append((time.monotonic() - started, case))
        if result.returncode != 0:
            # A window that does not get through one scenario fails the others of its mode the same way.
            self.stopped[mode] = case
            self.cases.add(case)
            reason = (result.stderr.strip().splitlines() or ["no reason given"])[-1]
            self.failures.append(f"{case}: {reason}")
            return None
        return result.stdout

    def engine_result(self, case, future):
        """enginectl's tree of the case, or None (and the case failed) when enginectl failed."""
        try:
            return future.result()
        except EngineFailed as e:
            self.cases.add(case)
            self.failures.append(f"{case}: {e}")
            return None

    def fresh(self, *parts):
        path = os.path.join(self.args.work, *parts)
        shutil.rmtree(path, ignore_errors=True)
        os.makedirs(path)
        return path

    def check(self, case, *failures):
        """One case: the first failure of those given (None where a check passed)."""
        failure = next((f for f in failures if f), None)
        self.cases.add(case)
        if failure:
            self.failures.append(failure)
        print(("FAIL " + failure) if failure else "ok", flush=True)

    def saved_checks(self, case, tree, engine, saved, expected, image, volume, pairs):
        """The window's tree and saved files against enginectl's, then against icat."""
        yield same_tree(case, tree, engine)
        yield same_files(case, saved, expected)
        if volume is None:
            yield f"{case}: no volume of the manifest starts there"
        else:
            yield same_disk(case, image, volume.raw) if volume.raw_start == volume.start else None
            yield icat_files(case, saved, volume, pairs)

    def quick(self, disk, wrapper, index, start, snapshot=False):
        image = os.path.join(self.args.images, f"{disk}.{wrapper}")
        case = f"{disk}.{wrapper} quick partition {index}"
        print(case, end=": ", flush=True)
        saved = self.fresh(disk, wrapper, f"p{index}", "window")
        expected = self.fresh(disk, wrapper, f"p{index}", "enginectl")
        extra = []
        vsnp = os.path.join(self.args.work, disk, wrapper, f"p{index}", "s.vsnp")
        if os.path.exists(vsnp):
            os.remove(vsnp)  # a snapshot of an earlier run would be asked about
        if snapshot:
            extra = ["--snapshot-save", vsnp]
        engine = self.engine(image, ["quick", "--partition", str(index)], expected)
        tree = self.scenario(case, "--image", image, "--mode", "quick", "--partition", str(index), "--tick-all",
                             "--save", saved, *extra, *(self.shots("quick") if snapshot else []))
        engine = self.engine_result(case, engine)
        if tree is None or engine is None:
            print("FAIL", flush=True)
            return
        volume = self.volume(disk, start)
        pairs = driver.expected_tree(self.args.images, self.disk(disk).manifest, volume.listed)[1] if volume else []
        self.check(case, *self.saved_checks(case, tree, engine, saved, expected, image, volume, pairs))
        if snapshot:
            self.loaded(f"{disk}.{wrapper} snapshot of partition {index} loaded", vsnp, image, engine, expected,
                        (disk, wrapper, f"p{index}"), volume, pairs)

    def rescan(self, disk, wrapper, first, second):
        """A Quick Scan of one partition, then Back from page 4, another partition picked on page 2 and Next: the
        first tree is the first partition's, the second the other's, and the save takes the second."""
        image = os.path.join(self.args.images, f"{disk}.{wrapper}")
        case = f"{disk}.{wrapper} quick partition {first} then {second}"
        print(case, end=": ", flush=True)
        where = (disk, wrapper, f"rescan{second}")
        saved, expected = self.fresh(*where, "window"), self.fresh(*where, "enginectl")
        before = self.pool.submit(engine_run, [self.args.enginectl, "quick", image, "--partition", str(first)])
        engine = self.engine(image, ["quick", "--partition", str(second)], expected)
        out = self.scenario(case, "--image", image, "--mode", "quick", "--partition", str(first),
                            "--rescan-partition", str(second), "--tick-all", "--save", saved)
        before, engine = self.engine_result(case, before), self.engine_result(case, engine)
        if out is None or before is None or engine is None:
            print("FAIL", flush=True)
            return
        marker = f"# rescan partition {second}\n"
        if marker not in out:
            self.check(case, f"{case}: no second tree after the rescan")
            return
        first_tree, second_tree = out.split(marker, 1)
        self.check(case, same_tree(f"{case} (first)", first_tree, before),
                   same_tree(f"{case} (second)", second_tree, engine), same_files(case, saved, expected))

    def loaded(self, case, vsnp, image, engine, expected, where, volume, pairs):
        """The snapshot loaded over the open image: the same tree, the same saved files."""
        print(case, end=": ", flush=True)
        again = self.fresh(*where, "loaded")
        tree = self.scenario(case, "--snapshot-load", vsnp, "--image", image, "--tick-all", "--save", again,
                             *self.shots("load"))
        if tree is None:
            print("FAIL", flush=True)
            return
        self.check(case, *self.saved_checks(case, tree, engine, again, expected, image, volume, pairs))

    def extensive(self, disk, wrapper, code, start, count, snapshot=False):
        """The partition's sector range searched for its kind, the first file system found read on page 3."""
        image = os.path.join(self.args.images, f"{disk}.{wrapper}")
        case = f"{disk}.{wrapper} extensive {code} {start} {count}"
        print(case, end=": ", flush=True)
        where = (disk, wrapper, f"x{start}")
        saved, expected = self.fresh(*where, "window"), self.fresh(*where, "enginectl")
        vsnp = os.path.join(self.args.work, *where, "s.vsnp")
        if os.path.exists(vsnp):
            os.remove(vsnp)  # a snapshot of an earlier run would be asked about
        extra = ["--snapshot-save", vsnp] if snapshot else []
        scan = ["--range", str(code), str(start), str(count), "--choose", "1"]
        engine = self.engine(image, ["extensive", *scan], expected)
        tree = self.scenario(case, "--image", image, "--mode", "extensive", *scan, "--tick-all", "--save", saved,
                             *extra, *(self.shots("extensive") if snapshot else []))
        engine = self.engine_result(case, engine)
        if tree is None or engine is None:
            print("FAIL", flush=True)
            return
        # The first file system found in the partition's range is the partition's own.
        volume = self.volume(disk, start)
        pairs = driver.chosen_tree(self.args.images, self.disk(disk).manifest, volume.listed,
                                   chain=volume.chain) if volume else []
        self.check(case, *self.saved_checks(case, tree, engine, saved, expected, image, volume, pairs))
        if snapshot:
            self.loaded(f"{disk}.{wrapper} snapshot of extensive {code} {start} loaded", vsnp, image, engine,
                        expected, where, volume, pairs)

    def trace(self, disk, wrapper, code, start, count):
        """File Trace for photorec's types at a size other than the dialog's first, every hit ticked and saved;
        then its snapshot loaded by a fresh start and every hit saved again: the same files, byte for byte."""
        image = os.path.join(self.args.images, f"{disk}.{wrapper}")
        case = f"{disk}.{wrapper} trace {code} {start} {count}"
        print(case, end=": ", flush=True)
        saved = self.fresh(disk, wrapper, "trace", "window")
        vsnp = os.path.join(self.args.work, disk, wrapper, "trace", "s.vsnp")
        if os.path.exists(vsnp):
            os.remove(vsnp)  # a snapshot of an earlier run would be asked about
        # A disk without a partition table: the partition search finds the volume as partition 0.
        hits = self.scenario(case, "--image", image, "--mode", "trace", "--partition", "0", "--range", str(code),
                             str(start), str(count), "--types", ",".join(engine_matrix.TRACE_TYPES),
                             "--file-size", str(TRACE_FILE_MB), "--tick-all", "--save", saved, "--snapshot-save", vsnp,
                             *self.shots("trace"))
        if hits is None:
            print("FAIL", flush=True)
            return
        self.check(case, None if hits.strip() else f"{case}: no hits listed",
                   same_disk(case, image, self.disk(disk).raw), trace_files(case, hits, saved, self.disk(disk)),
                   trace_size(case, saved))
        case = f"{disk}.{wrapper} trace snapshot loaded"
        print(case, end=": ", flush=True)
        again = self.fresh(disk, wrapper, "trace", "loaded")
        loaded = self.scenario(case, "--snapshot-load", vsnp, "--image", image, "--tick-all", "--save", again)
        if loaded is None:
            print("FAIL", flush=True)
            return
        self.check(case, None if loaded == hits else f"{case}: the loaded snapshot lists other hits than the trace",
                   same_files(case, again, saved, "the trace's own save"))
        # Random ticks of groups, types and hits on the loaded snapshot: what is saved is what the model says.
        for seed in RANDOM_TRACE_SEEDS:
            case = f"{disk}.{wrapper} trace random ticks seed {seed}"
            print(case, end=": ", flush=True)
            intent = tick_model.TraceIntent(hits)
            clicks, filters = tick_model.random_trace_clicks(intent, tick_model.session_rng(seed), 8)
            print("clicks: " + " ".join(clicks), end=": ", flush=True)
            ticked = self.fresh(disk, wrapper, "trace", f"r{seed}")
            if self.scenario(case, "--snapshot-load", vsnp, "--image", image, "--no-tree", *clicks, "--save",
                             ticked) is None:
                print("FAIL", flush=True)
                continue
            written = {path for path, kind in driver.saved_tree(ticked).items()}
            wanted = set(intent.saved(filters))
            self.check(case, None if written == wanted else
                       f"{case}: saved {sorted(written - wanted)[:4]} not meant, missing {sorted(wanted - written)[:4]}",
                       trace_size(case, ticked))

    def big_root(self):
        """A FAT16 volume made by mkfs.fat and mtools (no partition table) with hundreds of folders in its root,
        far more than the tree shows at once, and a few thousand files: a Quick Scan with everything ticked and
        saved, against enginectl and icat."""
        case = "big root quick"
        print(case, end=": ", flush=True)
        raw, image = make_big_root(os.path.join(self.args.work, "bigroot"))
        saved = self.fresh("bigroot", "window")
        expected = self.fresh("bigroot", "enginectl")
        # No partition table: the window's partition search finds the volume, enginectl's gives its range.
        try:
            found = partitions(self.args.enginectl, image, "--search")
        except EngineFailed as e:
            self.cases.add(case)
            self.failures.append(f"{case}: {e}")
            print("FAIL", flush=True)
            return
        if len(found) != 1:
            self.check(case, f"{case}: enginectl's partition search finds {len(found)} volumes, not 1")
            return
        start, count, code = found[0].split("\t")[:3]
        engine = self.engine(image, ["quick", "--range", code, start, count], expected)
        tree = self.scenario(case, "--image", image, "--mode", "quick", "--partition", "0", "--tick-all",
                             "--save", saved, timeout=300)
        engine = self.engine_result(case, engine)
        if tree is None or engine is None:
            print("FAIL", flush=True)
            return
        entries = [e for e in oracle.fls(raw, "0") if not e["meta"] and not e["orphan"] and not e["stream"]
                   and (e["dir"] or e["size"])]
        folders = sum(1 for e in entries if e["dir"] and "/" not in e["path"])
        with concurrent.futures.ThreadPoolExecutor(4) as pool:
            problems = driver.saved_entry_problems(saved, [(e, e["path"]) for e in entries], raw, 0, True,
                                                   times=True, pool=pool)
        self.check(case, None if folders == BIG_ROOT_FOLDERS else f"{case}: TSK lists {folders} root folders",
                   same_tree(case, tree, engine), same_files(case, saved, expected),
                   first_problem(case, "saved files against icat", problems))


# Ticks on mbr_primary's partitions (how the results come: "quick", "extensive" (the partition's range, its file
# system chosen) or "loaded" (the snapshot the extensive case of that partition saved), partition, the runner's
# clicks). What the save must write comes from the model of what the user meant (tick_model.py), over the
# program's own listing of the volume, and the files' bytes from icat.
FAT_PARTLY = ["--tick", "/Documents", "--untick", "/Documents/old draft.txt", "--untick", "/Documents/Reports/2019"]
NTFS_PARTLY = ["--tick", "/Documents", "--untick", "/Documents/notes.txt", "--untick", "/Documents/Reports/summary.csv"]
# The folder's first file and its only subfolder ticked: the folder is not ticked whole by that.
NTFS_FIRST_FILE = ["--tick", "/Documents/notes.txt", "--tick", "/Documents/Reports"]
# A file ticked in a subfolder (whose row then shows unticked in its parent's list), then a file of the parent
# ticked and unticked, a root file ticked: the subfolder's file stays ticked.
FAT_HIDDEN = ["--tick", "/Documents/Reports/summary.csv", "--tick", "/Documents/Letter to the bank.txt",
              "--untick", "/Documents/Letter to the bank.txt", "--tick", "/README.TXT"]
NTFS_HIDDEN = ["--tick", "/Documents/Reports/summary.csv", "--tick", "/Documents/notes.txt",
               "--untick", "/Documents/notes.txt", "--tick", "/small.txt"]
# The issue's own: a file ticked in Documents/Reports, then a root file ticked and unticked.
FAT_ROOT_AGAIN = ["--tick", "/Documents/Reports/summary.csv", "--tick", "/README.TXT", "--untick", "/README.TXT"]
# A folder ticked whole, then one of two files unticked in its subfolder.
NTFS_DEEP = ["--tick", "/Documents/Reports", "--untick", "/Documents/Reports/2019/chart.bin"]
# Photos ticked, one picture unticked: the others stay in Photos.
FAT_PHOTOS = ["--tick", "/Photos", "--untick", "/Photos/IMG_0002.JPG"]
# Under a file filter the list shows some of a folder's files: its rows all ticked do not tick it whole, and
# its rows all unticked leave its hidden files as they were. The filter is cleared before Save (or kept: the
# files it hides are not saved).
FAT_FILTERED = ["--filters", "IMG*", "--tick", "/Photos/IMG_0001.JPG", "--tick", "/Photos/IMG_0002.JPG",
                "--no-filters"]
FAT_FILTERED_UNTICK = ["--tick", "/Photos", "--filters", "IMG*", "--untick", "/Photos/IMG_0001.JPG",
                       "--untick", "/Photos/IMG_0002.JPG", "--no-filters"]
FAT_FILTER_KEPT = ["--tick", "/Documents", "--filters", "*.txt"]
NTFS_FILTERED = ["--filters", "*.bin", "--tick", "/Documents/Reports/2019/chart.bin", "--no-filters"]
PARTLY_TICKED = [("quick", 0, FAT_FILTERED), ("quick", 0, FAT_FILTERED_UNTICK), ("quick", 2, NTFS_FILTERED),
                 ("quick", 0, FAT_PARTLY), ("quick", 2, NTFS_PARTLY), ("quick", 2, NTFS_FIRST_FILE),
                 ("extensive", 2, NTFS_PARTLY), ("loaded", 2, NTFS_PARTLY), ("quick", 0, FAT_HIDDEN),
                 ("quick", 2, NTFS_HIDDEN), ("loaded", 2, NTFS_HIDDEN), ("quick", 2, NTFS_DEEP),
                 ("extensive", 2, NTFS_DEEP), ("extensive", 2, NTFS_FILTERED), ("loaded", 2, NTFS_FILTERED),
                 ("quick", 0, FAT_ROOT_AGAIN), ("quick", 0, FAT_PHOTOS), ("quick", 0, FAT_FILTER_KEPT)]
# Random sessions through the window, seeded: (partition, seed); File Trace's below.
RANDOM_TICKED = [(0, 11), (0, 12), (0, 13), (2, 21), (2, 22), (2, 23)]
RANDOM_TRACE_SEEDS = [31, 32]


def model_of(listing, clicks):
    """The model after the runner's clicks, and the filters left on for the save."""
    intent = tick_model.Intent(tick_model.Volume(listing))
    filters = []
    at = 0
    while at < len(clicks):
        option = clicks[at]
        if option == "--no-filters":
            filters = []
            at += 1
            continue
        value = clicks[at + 1]
        at += 2
        if option == "--filters":
            filters = value.split(",")
        elif option in ("--tick", "--untick"):
            intent.tick(value.lstrip("/"), option == "--tick")
    return intent, filters


def tsk_entry(entries, path, fat):
    """TSK's entry of a path the program shows, or None (NTFS metafiles, Lost Dir)."""
    if not fat:
        return entries.get(path)
    parts = path.split("/")
    for e in entries.values():
        got = e["path"].split("/")
        if oracle.tsk_path_key(e["path"]) == oracle.tsk_path_key(path) and len(got) == len(parts) and \
                all(oracle.fat_names_match(a, b, e["deleted"]) for a, b in zip(got, parts)):
            return e
    return None


def model_problems(case, saved, intent, filters, volume):
    """What the save wrote against the model: the files meant where the model's judge allows (tick_model.judge),
    each with icat's bytes and the saver's time stamp."""
    problem, placed = tick_model.judge(intent, driver.saved_tree(saved), filters)
    if problem:
        return f"{case}: {problem}: {sorted(driver.saved_tree(saved))[:16]}"
    fat = volume.fs != "ntfs"
    entries = {e["path"]: e for e in oracle.user_entries(volume.listed) if not e["stream"]}
    pairs = []
    for path, source in placed:
        e = tsk_entry(entries, source, fat)
        if e is not None:
            pairs.append((e, path))
    problems = driver.saved_entry_problems(saved, pairs, volume.raw, volume.raw_start, fat, times=True)
    return first_problem(case, "saved files against icat", problems)


def tick_case(matrix, wrapper, found, case, how, index, clicks, listing):
    """The results, the clicks, Save; what is saved is what the model of the clicks says."""
    disk = "mbr_primary"
    image = os.path.join(matrix.args.images, f"{disk}.{wrapper}")
    print(case, end=": ", flush=True)
    saved = matrix.fresh(disk, wrapper, f"p{index}", case.rsplit(" ", 1)[-1].strip("()"))
    start, count, code = found[index].split("\t")[:3]
    # The extensive case keeps its snapshot for the loaded one, which follows it.
    vsnp = os.path.join(matrix.args.work, disk, wrapper, f"p{index}", "partly.vsnp")
    if how == "extensive" and os.path.exists(vsnp):
        os.remove(vsnp)  # a snapshot of an earlier run would be asked about
    results = {"quick": ["--mode", "quick", "--partition", str(index)],
               "extensive": ["--mode", "extensive", "--range", code, start, count, "--choose", "1",
                             "--snapshot-save", vsnp],
               "loaded": ["--snapshot-load", vsnp]}
    out = matrix.scenario(case, "--image", image, *results[how], "--no-tree", *clicks, "--save", saved)
    if out is None:
        print("FAIL", flush=True)
        return
    volume = matrix.volume(disk, int(start))
    if volume is None:
        matrix.check(case, f"{case}: no volume of the manifest starts there")
        return
    intent, filters = model_of(listing, list(clicks))
    matrix.check(case, model_problems(case, saved, intent, filters, volume))


def listings(matrix, image, found):
    """The program's listing of each partition ticked, by how its results come, from enginectl."""
    out = {}
    for how, index, _ in PARTLY_TICKED:
        if (how, index) in out:
            continue
        start, count, code = found[index].split("\t")[:3]
        if how == "quick":
            command = [matrix.args.enginectl, "quick", image, "--partition", str(index)]
        else:
            command = [matrix.args.enginectl, "extensive", image, "--range", code, start, count, "--choose", "1"]
        out[(how, index)] = engine_run(command)
    return out


def partly_ticked(matrix, wrapper, found):
    """Each PARTLY_TICKED case, then RANDOM_TICKED's sessions."""
    image = os.path.join(matrix.args.images, f"mbr_primary.{wrapper}")
    try:
        trees = listings(matrix, image, found)
    except EngineFailed as e:
        matrix.failures.append(f"mbr_primary.{wrapper} ticks: {e}")
        return
    for n, (how, index, clicks) in enumerate(PARTLY_TICKED, 1):
        case = f"mbr_primary.{wrapper} {how} partition {index} partly ticked ({n})"
        tick_case(matrix, wrapper, found, case, how, index, clicks, trees[(how, index)])
    for index, seed in RANDOM_TICKED:
        listing = trees[("quick", index)]
        clicks, _, _ = tick_model.random_clicks(tick_model.Volume(listing), tick_model.session_rng(seed), 10)
        case = f"mbr_primary.{wrapper} quick partition {index} random ticks seed {seed} (r{seed})"
        print("  clicks: " + " ".join(clicks), flush=True)
        tick_case(matrix, wrapper, found, case, "quick", index, clicks, listing)


BIG_ROOT_FOLDERS = 480
BIG_ROOT_FILES_PER_FOLDER = 6


def make_big_root(work):
    """The raw volume and its fixed VHD (made once; the same bytes every time): BIG_ROOT_FOLDERS folders in the
    root (short names: the root of FAT16 has room for 512 entries), each with files of long names and sizes from
    empty to a few clusters."""
    raw, image = os.path.join(work, "bigroot.raw"), os.path.join(work, "bigroot.vhd")
    if os.path.exists(image):
        return raw, image
    shutil.rmtree(work, ignore_errors=True)
    files = os.path.join(work, "files")
    rng = random.Random(73)
    stamp = time.mktime((2021, 6, 15, 12, 0, 0, 0, 0, -1))
    for folder in range(BIG_ROOT_FOLDERS):
        path = os.path.join(files, f"D{folder:04d}")
        os.makedirs(path)
        for n in range(BIG_ROOT_FILES_PER_FOLDER):
            name = os.path.join(path, f"Report {folder:04d} part {n}.txt")
            with open(name, "wb") as f:
                f.write(rng.randbytes(rng.choice([0, 1, 511, 512, 513, 2048, 5000, rng.randrange(1, 9000)])))
            os.utime(name, (stamp, stamp + folder * 86400))
    run(["mkfs.fat", "-C", "-F", "16", "-r", "512", "-n", "BIGROOT", raw + ".tmp", str(48 * 1024)]).check_returncode()
    tops = sorted(os.path.join(files, name) for name in os.listdir(files))
    proc = subprocess.run(["mcopy", "-s", "-m", "-i", raw + ".tmp", *tops, "::/"], capture_output=True, text=True,
                          env=dict(os.environ, MTOOLS_SKIP_CHECK="1"))
    if proc.returncode != 0:
        raise RuntimeError(f"mcopy failed: {proc.stderr.strip()}")
    run(["qemu-img", "convert", "-f", "raw", "-O", "vpc", "-o", "subformat=fixed", raw + ".tmp",
         image + ".tmp"]).check_returncode()
    os.replace(raw + ".tmp", raw)
    os.replace(image + ".tmp", image)
    shutil.rmtree(files)
    return raw, image


# The parts of the matrix, each run as a test of its own (they run side by side, each in a lane of its own):
# the scans of each wrapper of the disks, the partly ticked folders, and the File Trace with the rescan and
# the big root. "all" runs every part, one after the other.
WRAPPER_PARTS = {"fixed.vhd": ["fixed.vhd"], "dynamic.vhd": ["dynamic.vhd"], "vhdx": ["1m.vhdx", "8m.vhdx", "32m.vhdx"]}
PARTS = [*WRAPPER_PARTS, "ticks", "trace"]
# The modes whose pages a part leaves in SHOTS/scenario/<mode>.
PART_SHOTS = {"fixed.vhd": ["quick", "extensive", "load"], "trace": ["trace"]}


def part_images(args, matrix, part, full):
    """(disk, wrapper, partitions enginectl finds) of each image the part scans: every image of the matrix is
    there and enginectl lists every volume of its manifest, so that the matrix never shrinks without failing."""
    if part == "ticks":
        wrappers, disks = ["fixed.vhd"], ["mbr_primary"]
    else:
        wrappers = [w for p in WRAPPER_PARTS if part in ("all", p) for w in WRAPPER_PARTS[p]]
        disks = FULL_DISKS if full else ["mbr_primary"]
    images = []
    for disk in disks:
        for wrapper in wrappers:
            if wrapper not in (FULL_WRAPPERS if full else WRAPPERS):
                continue
            image = os.path.join(args.images, f"{disk}.{wrapper}")
            if not os.path.exists(image):
                if wrapper in WRAPPERS:
                    matrix.failures.append(f"{disk}.{wrapper}: no such image in {args.images}")
                continue
            try:
                found = partitions(args.enginectl, image)
            except EngineFailed as e:
                matrix.failures.append(f"{disk}.{wrapper}: {e}")
                continue
            volumes = len(matrix.disk(disk).volumes)
            if len(found) != volumes:
                matrix.failures.append(f"{disk}.{wrapper}: enginectl lists {len(found)} partitions, "
                                       f"the manifest {volumes} volumes")
            images.append((disk, wrapper, found))
    return images


def run_part(matrix, part, full):
    """Runs the part's cases; the number of cases it must have run."""
    args = matrix.args
    expected = 0
    if part in ("all", "ticks"):
        for disk, wrapper, found in part_images(args, matrix, "ticks", full):
            partly_ticked(matrix, wrapper, found)
            expected += len(PARTLY_TICKED) + len(RANDOM_TICKED)
    if part in ("all", "trace"):
        matrix.rescan("mbr_primary", "fixed.vhd", 0, 1)
        matrix.trace("carving", "dynamic.vhd", 200, 0, 81920)
        matrix.big_root()
        # A second partition scanned after a first, the File Trace, its snapshot loaded and ticked at random, the
        # big root.
        expected += 1 + 2 + len(RANDOM_TRACE_SEEDS) + 1
    if part not in ("ticks", "trace"):
        images = part_images(args, matrix, part, full)
        for disk, wrapper, found in images:
            for line in found:
                start, count, code = (int(v) for v in line.split("\t")[:3])
                first = disk == "mbr_primary" and wrapper == "fixed.vhd" and code == 300
                matrix.extensive(disk, wrapper, code, start, count, snapshot=first)
        for disk, wrapper, found in images:
            for index, line in enumerate(found):
                first = disk == "mbr_primary" and wrapper == "fixed.vhd" and index == 2
                matrix.quick(disk, wrapper, index, int(line.split("\t")[0]), snapshot=first)
        # Two scans of each partition, and a snapshot loaded after each mode's first.
        expected += sum(2 * len(found) for _, _, found in images)
        expected += 2 * sum(1 for disk, wrapper, _ in images if (disk, wrapper) == ("mbr_primary", "fixed.vhd"))
    return expected


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--scenario", required=True)
    parser.add_argument("--enginectl", required=True)
    parser.add_argument("--images", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--shots", default="")
    parser.add_argument("--part", default="all", choices=["all", *PARTS])
    args = parser.parse_args()
    if not os.access(args.enginectl, os.X_OK):
        print(f"no enginectl at {args.enginectl}: build the native preset first")
        return 1
    os.makedirs(args.work, exist_ok=True)
    # enginectl looks for a scan's end every 5 ms instead of the page's 1000 ms (only enginectl reads it).
    os.environ.setdefault("ENGINECTL_TICK_MS", "5")
    if args.shots:
        modes = [m for p, ms in PART_SHOTS.items() if args.part in ("all", p) for m in ms]
        for mode in modes:
            shutil.rmtree(os.path.join(args.shots, "scenario", mode), ignore_errors=True)
    started = time.monotonic()
    matrix = Matrix(args)
    expected = run_part(matrix, args.part, os.environ.get("DORVANE_E2E_FULL") == "1")
    if len(matrix.cases) != expected:
        matrix.failures.append(f"{len(matrix.cases)} cases ran, {expected} expected")
    window = sum(seconds for seconds, _ in matrix.timings)
    slowest = max(matrix.timings, default=(0, "none"))
    print(f"{time.monotonic() - started:.0f} s in all, {window:.0f} s in {len(matrix.timings)} program runs "
          f"(slowest {slowest[0]:.0f} s: {slowest[1]})")
    for failure in matrix.failures:
        print("FAIL " + failure)
    print(f"{max(0, len(matrix.cases) - len(matrix.failures))} passed, {len(matrix.failures)} failed")
    return 1 if matrix.failures else 0

if __name__ == "__main__":
    sys.exit(main())
