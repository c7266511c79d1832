#!/usr/bin/env python3
"""The wizard's pages end to end, as a user drives them: scripts/ui-scenario runs the real Dorvane.exe under Wine
over mbr_primary (FAT16, FAT32 and NTFS partitions) and reads what the menu and the toolbar offer on each page.

    pages_e2e_test.py --scenario scripts/ui-scenario --enginectl PATH --images DIR --work DIR --case NAME

--case commands.PART: the enable state of every command with an update rule, on page 4 and on the pages Back and
Home lead to from there, for each mode (Quick Scan, Extensive Scan, File Trace) and partition, reached by each
way: a scan, Load Recovery Snapshot, the command line and the shell (snapshots enginectl saved of each mode and
partition). A page with results enables their commands, a page without greys them; loaded results enable
exactly what the same results reached by a scan enable. Prints the whole table.

--case pages: page 2's Next with no partition picked (after the search of a fresh start, and after an earlier
scan) asks for one and scans nothing; a snapshot opened through the shell while page 3 lists file systems, then
Home and another Extensive Scan: page 3 lists that scan's file systems alone.
"""
import argparse
import os
import shutil
import subprocess
import sys
import time

DISK = "mbr_primary.fixed.vhd"
MODES = ["quick", "extensive", "trace"]
FILE_SYSTEMS = {100: "fat16", 200: "fat32", 300: "ntfs"}
TRACE_TYPES = "jpg,png,gif,bmp,pdf,zip"
# The columns, as the runner names the commands, and as the table shows them.
COMMANDS = [("Open", "Open"), ("Recover Selected", "Recover"), ("Save Recovery Snapshot", "SaveSnap"),
            ("Load Recovery Snapshot", "LoadSnap"), ("Icons", "Icons"), ("List", "List"), ("Details", "Details"),
            ("File Filters", "Filters"), ("Save All", "SaveAll"), ("Drive Information", "DriveInfo"),
            ("Find Files", "Find"), ("Settings", "Settings")]
# Open and Load follow the way to the page (an image accepted, a mode chosen, a search begun), not its results.
WAY_COMMANDS = {"Open", "Load Recovery Snapshot"}
SELECT_PARTITION = "Please select the partition that you want to recover"
MISMATCH = "Source file and load recovery snapshot mismatch"


def allowed(command, page, mode):
    """What a page allows, whatever way led there: the results commands while it shows results (Find Files never
    in File Trace, whose Save All and Drive Information stay enabled everywhere), Settings outside File Trace."""
    results, trace = page == 4, mode == "trace"
    if command in ("Save All", "Drive Information"):
        return results or trace
    if command == "Find Files":
        return results and not trace
    if command == "Settings":
        return not trace
    return results


class Runs:
    def __init__(self, args):
        self.args = args
        self.failures = []
        self.image = os.path.join(args.images, DISK)

    def scenario(self, case, *arguments, fail_ok=False):
        """The runner's output lines; None (the case failed) when it failed."""
        started = time.monotonic()
        proc = subprocess.run([self.args.scenario, *arguments, "--no-tree", "--timeout", "120"],
                              capture_output=True, text=True, timeout=900)
        print(f"  {case}: {time.monotonic() - started:.0f} s", flush=True)
        if proc.returncode != 0 and not fail_ok:
            reason = (proc.stderr.strip().splitlines() or ["no reason given"])[-1]
            self.failures.append(f"{case}: {reason}")
            return None
        return proc.stdout.splitlines()

    def partitions(self):
        out = subprocess.run([self.args.enginectl, "partitions", self.image], capture_output=True, text=True,
                             check=True).stdout
        return [tuple(int(v) for v in line.split("\t")[:3]) for line in out.splitlines() if line.strip()]


def commands_of(lines):
    """Each "commands" line: (page, {command: enabled})."""
    shown = []
    for line in lines:
        fields = line.split("\t")
        if fields[0] == "commands":
            shown.append((int(fields[1].split()[1]), {k: v == "1" for k, v in (f.split("=") for f in fields[2:])}))
    return shown


def reach(mode, index, start, count, code):
    """Steps from page 0 to page 4 by a scan of the partition."""
    steps = ["--step", "mode", mode, "--step", "next"]
    if mode == "extensive":
        steps += ["--step", "pick", "-1", "--step", "range", str(code), str(start), str(count), "--step", "next",
                  "--step", "choose", "1"]
    else:
        steps += ["--step", "pick", str(index)]
    return steps + ["--step", "next"]


def back_chain(mode):
    pages = ([3] if mode == "extensive" else []) + [2, 1, 0]
    steps, where = [], []
    for page in pages:
        steps += ["--step", "back", "--step", "commands"]
        where.append(f"Back: page {page}")
    return steps, where


def snapshots(runs):
    """The snapshots of each mode and partition, saved by enginectl."""
    out = os.path.join(runs.args.work, "snapshots")
    script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "app", "make_command_snapshots.sh")
    subprocess.run(["bash", script, runs.args.enginectl, runs.args.images, out], check=True)
    return out


# The commands case in parts that run side by side: a scan of each mode, and the three ways of opening a
# snapshot. Every row is held to what its page allows (allowed), so loaded results enable exactly what the
# same results reached by a scan enable, part by part.
COMMAND_PARTS = {"scan-quick": ["quick"], "scan-extensive": ["extensive"], "scan-trace": ["trace"], "opened": []}


def commands_case(runs, part):
    parts = runs.partitions()
    scan_modes = COMMAND_PARTS[part]
    opened = part == "opened"
    folder = snapshots(runs) if opened else None
    rows = []  # (way, mode, fs, where, page shown, {command: enabled})

    def record(way, places, lines):
        """The "commands" lines of a run, one for each of places ((mode, fs, where)), in order."""
        shown = commands_of(lines or [])
        if lines is not None and len(shown) != len(places):
            runs.failures.append(f"{way}: {len(shown)} pages read, {len(places)} expected")
        for (mode, fs, where), (page, states) in zip(places, shown):
            rows.append((way, mode, fs, where, page, states))

    # A scan: page 4, Home; the same scan again, then Back page by page.
    for mode in scan_modes:
        steps, places = [], []
        for index, (start, count, code) in enumerate(parts):
            chain, chain_where = back_chain(mode)
            steps += reach(mode, index, start, count, code) + ["--step", "commands", "--step", "home", "--step",
                                                                "commands"]
            steps += reach(mode, index, start, count, code) + chain
            places += [(mode, FILE_SYSTEMS[code], w) for w in ["page 4", "Home: page 0", *chain_where]]
        record("scan", places, runs.scenario(f"scan {mode}", "--image", runs.image, "--types", TRACE_TYPES, *steps))

    if not opened:
        print_table(rows)
        check_table(runs, rows, scan_modes, opened)
        return

    # Load Recovery Snapshot on page 1 (the image open), then Home.
    steps, places = [], []
    for mode in MODES:
        for fs in FILE_SYSTEMS.values():
            steps += ["--step", "mode", "quick", "--step", "load", os.path.join(folder, f"{mode}_{fs}.vsnp"),
                      "--step", "commands", "--step", "home", "--step", "commands"]
            places += [(mode, fs, "page 4"), (mode, fs, "Home: page 0")]
    record("Load", places, runs.scenario("Load", "--image", runs.image, *steps))

    # The command line, at start (no image open: an NTFS snapshot, whose records are read again from the image,
    # is refused and the program stays on page 0).
    for mode in MODES:
        for fs in FILE_SYSTEMS.values():
            refused = fs == "ntfs" and mode != "trace"
            steps = ["--step", "commands"] + ([] if refused else ["--step", "home", "--step", "commands"])
            expect = ["--expect-box", MISMATCH] if refused else []
            lines = runs.scenario(f"command line {mode} {fs}", "--command-line",
                                  os.path.join(folder, f"{mode}_{fs}.vsnp"), *expect, *steps)
            wheres = ["page 0 (refused)"] if refused else ["page 4", "Home: page 0"]
            record("command line", [(mode, fs, w) for w in wheres], lines)
            if refused and lines is not None and f"box\t{MISMATCH}" not in lines:
                runs.failures.append(f"command line {mode} {fs}: not refused")

    # The shell, while the copy shows page 2 after the partition search (the image open), then Home.
    steps, places = [], []
    for mode in MODES:
        for fs in FILE_SYSTEMS.values():
            steps += ["--step", "mode", "quick", "--step", "next", "--step", "shell",
                      os.path.join(folder, f"{mode}_{fs}.vsnp"), "--step", "commands", "--step", "home", "--step",
                      "commands"]
            places += [(mode, fs, "page 4"), (mode, fs, "Home: page 0")]
    record("shell", places, runs.scenario("shell", "--image", runs.image, *steps))

    print_table(rows)
    check_table(runs, rows, scan_modes, opened)


def print_table(rows):
    print(f"{'way':13} {'mode':10} {'fs':6} {'where':18} " + " ".join(short for _, short in COMMANDS))
    for way, mode, fs, where, page, states in rows:
        cells = " ".join(("1" if states[name] else "0").center(len(short)) for name, short in COMMANDS)
        print(f"{way:13} {mode:10} {fs:6} {where:18} {cells}")


def check_table(runs, rows, scan_modes, opened):
    # A scan: page 4, Home, and Back page by page (page 3 too after an Extensive Scan) on each of the 3 file
    # systems; Load and the shell: page 4 and Home; the command line the same, except the two NTFS snapshots it
    # refuses.
    expected = sum(3 * (6 if mode == "extensive" else 5) for mode in scan_modes)
    expected += (9 * 2 + (7 * 2 + 2) + 9 * 2) if opened else 0
    if len(rows) != expected:
        runs.failures.append(f"{len(rows)} pages read in all, {expected} expected")
    scanned = {}
    for way, mode, fs, where, page, states in rows:
        for name, _ in COMMANDS:
            if name not in WAY_COMMANDS and states[name] != allowed(name, page, mode):
                runs.failures.append(f"{way} {mode} {fs} {where}: {name} {'enabled' if states[name] else 'greyed'}")
        results = {k: v for k, v in states.items() if k not in WAY_COMMANDS}
        if where == "page 4" and way == "scan":
            scanned[mode, fs] = results
        elif where == "page 4" and scanned.get((mode, fs)) not in (None, results):
            runs.failures.append(f"{way} {mode} {fs}: loaded results enable other commands than scanned ones")


def pages_case(runs):
    parts = runs.partitions()
    folder = snapshots(runs)
    # Page 2 after the search with nothing picked there, on a fresh start and after an earlier scan.
    for mode in ["quick", "trace"]:
        start, count, code = parts[0]
        for earlier in (False, True):
            case = f"{mode}: Next on page 2 with no pick" + (" after an earlier scan" if earlier else "")
            steps = (reach(mode, 0, start, count, code) + ["--step", "home"]) if earlier else []
            steps += ["--step", "mode", mode, "--step", "next", "--step", "next", "--step", "commands"]
            lines = runs.scenario(case, "--image", runs.image, "--types", TRACE_TYPES, "--expect-box",
                                  SELECT_PARTITION, *steps)
            if lines is None:
                continue
            boxes = [line for line in lines if line.startswith("box\t") and SELECT_PARTITION in line]
            shown = commands_of(lines)
            if len(boxes) != 1:
                runs.failures.append(f"{case}: asked {len(boxes)} times for a partition")
            if not shown or shown[-1][0] != 2:
                runs.failures.append(f"{case}: page 2 not kept ({shown[-1][0] if shown else 'nothing'} shown)")
    # The shell's snapshot over page 3's file systems, Home, and an Extensive Scan again: its own file systems.
    start, count, code = parts[0]
    scan = ["--step", "mode", "extensive", "--step", "next", "--step", "pick", "-1", "--step", "range", str(code),
            str(start), str(count), "--step", "next", "--step", "fs-roots"]
    case = "shell over page 3, Home, Extensive Scan"
    lines = runs.scenario(case, "--image", runs.image, *scan, "--step", "shell",
                          os.path.join(folder, "quick_fat32.vsnp"), "--step", "home", *scan)
    if lines is not None:
        roots = [line.split("\t")[1:] for line in lines if line.startswith("fs-roots")]
        if len(roots) != 2 or roots[0] != roots[1] or len(roots[0]) != 1:
            runs.failures.append(f"{case}: page 3 lists {roots}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--scenario", required=True)
    parser.add_argument("--enginectl", required=True)
    parser.add_argument("--images", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--case", required=True, choices=[*(f"commands.{p}" for p in COMMAND_PARTS), "pages"])
    args = parser.parse_args()
    if not os.access(args.enginectl, os.X_OK):
        print(f"no enginectl at {args.enginectl}: build the native preset first")
        return 1
    args.work = os.path.join(args.work, args.case)
    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    runs = Runs(args)
    started = time.monotonic()
    if args.case == "pages":
        pages_case(runs)
    else:
        commands_case(runs, args.case.split(".", 1)[1])
    print(f"{time.monotonic() - started:.0f} s")
    for failure in runs.failures:
        print("FAIL " + failure)
    print(f"{len(runs.failures)} failed")
    return 1 if runs.failures else 0


if __name__ == "__main__":
    sys.exit(main())
