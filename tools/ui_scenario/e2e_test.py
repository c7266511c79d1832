#!/usr/bin/env python3
"""The program end to end, as a user drives it: scripts/ui-scenario runs the real Dorvane.exe under Wine over the
generated disks, and what its window shows and saves is compared with the headless driver on the same image.

    e2e_test.py --scenario scripts/ui-scenario --enginectl PATH --images DIR --work DIR

The matrix (a few minutes on 2 cores): mbr_primary (FAT16, FAT32 and NTFS partitions) as a fixed VHD, a
dynamic VHD and a VHDX. For each partition: an Extensive Scan of its sector range for its kind, the first file
system found chosen on page 3, then a Quick Scan of it chosen on page 2; each time everything ticked and saved.
The tree the runner prints equals `enginectl extensive --choose 1`'s or `enginectl quick`'s and the saved files
equal `enginectl save`'s (whose bytes the enginectl tests hold against icat's). Once: a snapshot saved after a
scan and loaded again over the open image (same tree, same saved files), and a File Trace of the carving volume
(it lists hits). DORVANE_E2E_FULL=1 adds every wrapper of the other
partitioned disks. Each case runs one after the other: they share the display.
"""
import argparse
import filecmp
import os
import shutil
import subprocess
import sys

WRAPPERS = ["fixed.vhd", "dynamic.vhd", "1m.vhdx"]
FULL_WRAPPERS = WRAPPERS + ["8m.vhdx", "32m.vhdx"]
FULL_DISKS = ["mbr_primary", "mbr_extended", "cyl_aligned", "notable"]


def run(command, timeout=600):
    return subprocess.run(command, capture_output=True, text=True, timeout=timeout)


def partitions(enginectl, image):
    """The partitions the driver finds, as page 2 lists them (Partition 0, 1, ...)."""
    out = run([enginectl, "partitions", image]).stdout
    return [line for line in out.splitlines() if line.strip() and not line.startswith("#")]


def same_tree(case, ui, engine):
    if ui == engine:
        return None
    ui_lines, engine_lines = set(ui.splitlines()), set(engine.splitlines())
    only_ui = sorted(ui_lines - engine_lines)[:5]
    only_engine = sorted(engine_lines - ui_lines)[:5]
    return f"{case}: tree differs; window only {only_ui}, enginectl only {only_engine}"


def same_files(case, ui_dir, engine_dir):
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
        return f"{case}: saved files differ from enginectl save: {differences[:5]}"
    if count == 0:
        return f"{case}: nothing saved"
    return None


class Matrix:
    def __init__(self, args):
        self.args = args
        self.failures = []
        self.cases = 0
        self.stopped = {}

    def scenario(self, case, *arguments):
        mode = arguments[arguments.index("--mode") + 1] if "--mode" in arguments else "load"
        if mode in self.stopped:
            self.cases += 1
            self.failures.append(f"{case}: not run after {self.stopped[mode]}")
            return None
        # The generated disks scan in seconds: a minute per step is a hang.
        result = run([self.args.scenario, *arguments, "--timeout", "60"])
        if result.returncode != 0:
            # A window that does not get through one scenario fails the others of its mode the same way.
            self.stopped[mode] = case
            self.cases += 1
            reason = (result.stderr.strip().splitlines() or ["no reason given"])[-1]
            self.failures.append(f"{case}: {reason}")
            return None
        return result.stdout

    def fresh(self, *parts):
        path = os.path.join(self.args.work, *parts)
        shutil.rmtree(path, ignore_errors=True)
        os.makedirs(path)
        return path

    def check(self, failure):
        self.cases += 1
        if failure:
            self.failures.append(failure)
        print(("FAIL " + failure) if failure else "ok", flush=True)

    def quick(self, disk, wrapper, index, snapshot=False):
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
        shots = ["--shots", self.args.shots] if self.args.shots and snapshot else []
        tree = self.scenario(case, "--image", image, "--mode", "quick", "--partition", str(index), "--tick-all",
                             "--save", saved, *extra, *shots)
        if tree is None:
            print("FAIL", flush=True)
            return
        engine = run([self.args.enginectl, "quick", image, "--partition", str(index)]).stdout
        run([self.args.enginectl, "save", image, "--partition", str(index), "--out", expected])
        self.check(same_tree(case, tree, engine) or same_files(case, saved, expected))
        if snapshot:
            case = f"{disk}.{wrapper} snapshot of partition {index} loaded"
            print(case, end=": ", flush=True)
            again = self.fresh(disk, wrapper, f"p{index}", "loaded")
            tree = self.scenario(case, "--snapshot-load", vsnp, "--image", image, "--tick-all", "--save", again,
                                 *shots)
            if tree is None:
                print("FAIL", flush=True)
                return
            self.check(same_tree(case, tree, engine) or same_files(case, again, expected))

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
        shots = ["--shots", self.args.shots] if self.args.shots and snapshot else []
        scan = ["--range", str(code), str(start), str(count), "--choose", "1"]
        tree = self.scenario(case, "--image", image, "--mode", "extensive", *scan, "--tick-all", "--save", saved,
                             *extra, *shots)
        if tree is None:
            print("FAIL", flush=True)
            return
        engine = run([self.args.enginectl, "extensive", image, *scan]).stdout
        run([self.args.enginectl, "save", image, *scan, "--out", expected])
        self.check(same_tree(case, tree, engine) or same_files(case, saved, expected))
        if snapshot:
            case = f"{disk}.{wrapper} snapshot of extensive {code} {start} loaded"
            print(case, end=": ", flush=True)
            again = self.fresh(*where, "loaded")
            tree = self.scenario(case, "--snapshot-load", vsnp, "--image", image, "--tick-all", "--save", again,
                                 *shots)
            if tree is None:
                print("FAIL", flush=True)
                return
            self.check(same_tree(case, tree, engine) or same_files(case, again, expected))

    def trace(self, disk, wrapper, code, start, count):
        image = os.path.join(self.args.images, f"{disk}.{wrapper}")
        case = f"{disk}.{wrapper} trace {code} {start} {count}"
        print(case, end=": ", flush=True)
        shots = ["--shots", self.args.shots] if self.args.shots else []
        # A disk without a partition table: the partition search finds the volume as partition 0.
        hits = self.scenario(case, "--image", image, "--mode", "trace", "--partition", "0", "--range", str(code),
                             str(start), str(count), *shots)
        if hits is None:
            print("FAIL", flush=True)
            return
        self.check(None if hits.strip() else f"{case}: no hits listed")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--scenario", required=True)
    parser.add_argument("--enginectl", required=True)
    parser.add_argument("--images", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--shots", default="")
    args = parser.parse_args()
    if not os.access(args.enginectl, os.X_OK):
        print(f"no enginectl at {args.enginectl}: build the native preset first")
        return 1
    os.makedirs(args.work, exist_ok=True)
    matrix = Matrix(args)
    full = os.environ.get("DORVANE_E2E_FULL") == "1"
    disks = FULL_DISKS if full else ["mbr_primary"]
    for disk in disks:
        for wrapper in FULL_WRAPPERS if full else WRAPPERS:
            image = os.path.join(args.images, f"{disk}.{wrapper}")
            if not os.path.exists(image):
                continue
            for line in partitions(args.enginectl, image):
                start, count, code = (int(v) for v in line.split("\t")[:3])
                first = disk == "mbr_primary" and wrapper == "fixed.vhd" and code == 300
                matrix.extensive(disk, wrapper, code, start, count, snapshot=first)
    for disk in disks:
        for wrapper in FULL_WRAPPERS if full else WRAPPERS:
            image = os.path.join(args.images, f"{disk}.{wrapper}")
            if not os.path.exists(image):
                continue
            for index in range(len(partitions(args.enginectl, image))):
                first = disk == "mbr_primary" and wrapper == "fixed.vhd" and index == 2
                matrix.quick(disk, wrapper, index, snapshot=first)
    matrix.trace("carving", "dynamic.vhd", 200, 0, 81920)
    for failure in matrix.failures:
        print("FAIL " + failure)
    print(f"{matrix.cases - len(matrix.failures)} passed, {len(matrix.failures)} failed")
    return 1 if matrix.failures else 0


if __name__ == "__main__":
    sys.exit(main())
