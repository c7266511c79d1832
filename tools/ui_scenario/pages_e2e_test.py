#!/usr/bin/env python3
"""The wizard's pages end to end, as a user drives them: scripts/ui-scenario runs the real Dorvane.exe under Wine
over mbr_primary (FAT16, FAT32 and NTFS partitions) and reads what the menu and the toolbar offer on each page.

    pages_e2e_test.py --scenario scripts/ui-scenario --enginectl PATH --images DIR --work DIR --case NAME

--case commands.PART: the enable state of every command with an update rule on every page, by every way there
(Next, Back, Home, Stop, a failed scan, Load Recovery Snapshot, the command line and the shell), for each mode
(Quick Scan, Extensive Scan, File Trace) and partition (snapshots enginectl saved of each mode and partition),
held to the table written down in app/expected_commands.tsv. Page 3 is read right after an Extensive Scan's
Next, before a file system is chosen. Prints the whole table.

--case pages: page 2's Next with no partition picked (after the search of a fresh start, and after an earlier
scan) asks for one and scans nothing; a snapshot opened through the shell while page 3 lists file systems, then
Home and another Extensive Scan: page 3 lists that scan's file systems alone; a snapshot named on the command
line, without an image (FAT16 Quick Scan, FAT32 Extensive Scan, File Trace): the files clicked show the pane's
"disk image needed" placeholder, no box, and the temporary folder is left as it was
(screenshots/preview/no-image.png).
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
# The columns, as the runner names the commands, and as the printed table shows them.
COMMANDS = [("Open", "Open"), ("Recover Selected", "Recover"), ("Save Recovery Snapshot", "SaveSnap"),
            ("Load Recovery Snapshot", "LoadSnap"), ("Icons", "Icons"), ("List", "List"), ("Details", "Details"),
            ("File Filters", "Filters"), ("Save All", "SaveAll"), ("Drive Information", "DriveInfo"),
            ("Find Files", "Find"), ("Settings", "Settings")]
TABLE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "app", "expected_commands.tsv")
TABLE_MODES = ["extensive", "quick", "trace"]
NO_FILE_SYSTEM = "Dorvane was unable to identify a file system"
SELECT_PARTITION = "Please select the partition that you want to recover"
# An NTFS snapshot named on the command line: no image is open, and its loader reads the image's MFT.
IMAGE_FIRST = "Open the disk image this recovery snapshot was taken from first"


def read_table():
    """The rules ({command: {mode: flag}}) and the pages ([row]) of the table."""
    rules, pages = {}, []
    with open(TABLE, encoding="utf-8") as table:
        for line in table:
            f = line.rstrip("\n").split("\t")
            if not f[0] or f[0].startswith("#"):
                continue
            if f[0] == "rule":
                rules[f[1]] = dict(zip(TABLE_MODES, f[2:5]))
            else:
                pages.append({"way": f[1], "where": f[2], "page": int(f[3]), "fs": f[4],
                              "stage": dict(zip(TABLE_MODES, f[5:8])), "load": f[8] == "1", "open": f[9] == "1"})
    return rules, pages


def expected(table, way, where, mode, fs):
    """The page the table gives (page, {command: enabled}), or None where the way does not lead there."""
    rules, pages = table
    for row in pages:
        if row["way"] == way and row["where"] == where and row["fs"] in (fs, "*"):
            stage = row["stage"][mode]
            if stage == "-":
                return None
            flags = {"F": stage == "F", "R": stage == "R", "L": row["load"], "O": row["open"], "1": True, "0": False}
            return row["page"], {name: flags[by_mode[mode]] for name, by_mode in rules.items()}
    return None


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


def reach(mode, index, start, count, code, read=False):
    """Steps from page 0 to page 4 by a scan of the partition; with read, the commands of each page Next shows."""
    look = ["--step", "commands"] if read else []
    steps = ["--step", "mode", mode, *look, "--step", "next", *look]
    if mode == "extensive":
        steps += ["--step", "pick", "-1", "--step", "range", str(code), str(start), str(count), "--step", "next",
                  *look, "--step", "choose", "1"]
    else:
        steps += ["--step", "pick", str(index)]
    return steps + ["--step", "next", *look]


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
# snapshot.
COMMAND_PARTS = {"scan-quick": ["quick"], "scan-extensive": ["extensive"], "scan-trace": ["trace"], "opened": []}
SCAN_WAYS = ["next", "back", "home", "stop", "failed"]
OPEN_WAYS = ["Load", "command line", "shell"]


def scan_runs(runs, mode, parts, record):
    """A scan of each partition: each page Next shows, then Home; the scan again and Back page by page; Stop
    while page 2 scans (and, in an Extensive Scan, while page 3 reads); a scan that finds nothing."""
    steps, places = [], []
    for index, (start, count, code) in enumerate(parts):
        fs = FILE_SYSTEMS[code]
        steps += reach(mode, index, start, count, code, read=True) + ["--step", "home", "--step", "commands"]
        places += [("next", mode, fs, w) for w in ["page 1", "page 2"] + (["page 3"] if mode == "extensive" else [])]
        places += [("next", mode, fs, "page 4"), ("home", mode, fs, "Home: page 0")]
        chain, chain_where = back_chain(mode)
        steps += reach(mode, index, start, count, code) + chain
        places += [("back", mode, fs, w) for w in chain_where]
        scan = ["--step", "mode", mode, "--step", "next"]
        scan += (["--step", "pick", "-1", "--step", "range", str(code), str(start), str(count)] if mode == "extensive"
                 else ["--step", "pick", str(index)])
        steps += scan + ["--step", "stop", "--step", "commands", "--step", "home"]
        places.append(("stop", mode, fs, "page 3" if mode == "extensive" else "page 4"))
        if mode == "extensive":
            steps += scan + ["--step", "next", "--step", "choose", "1", "--step", "stop", "--step", "commands",
                             "--step", "home"]
            places.append(("stop", mode, fs, "page 4"))
    # Stopped early, an Extensive Scan may have found no file system yet: page 3 says so.
    expect = ["--expect-box", NO_FILE_SYSTEM] if mode == "extensive" else []
    lines = runs.scenario(f"scan {mode}", "--image", runs.image, "--types", TRACE_TYPES, *expect, *steps)
    record(f"scan {mode}", places, lines)
    # A scan may end before Stop is pressed: the page it leads to is the same; say how many were stopped.
    asked = sum(line.startswith("box\tDo you want to stop file searching") for line in lines or [])
    print(f"  Stop asked {asked} times of {sum(place[0] == 'stop' for place in places)}")

    if mode == "extensive":
        # The disk's first sectors hold its partition table and no file system.
        steps = ["--step", "mode", mode, "--step", "next", "--step", "pick", "-1", "--step", "range", "100", "0",
                 "2048", "--step", "next", "--step", "commands", "--step", "home"]
        record("failed extensive", [("failed", mode, "none", "page 3")],
               runs.scenario("failed extensive", "--image", runs.image, "--expect-box", NO_FILE_SYSTEM, *steps))
    elif mode == "quick":
        # A blank disk: its search finds no partition, and the wizard starts again.
        blank = os.path.join(runs.args.work, "blank.vhd")
        subprocess.run(["qemu-img", "create", "-q", "-f", "vpc", "-o", "subformat=fixed", blank, "8M"], check=True)
        steps = ["--step", "mode", mode, "--step", "next", "--step", "commands"]
        record("failed quick", [("failed", mode, "none", "page 0")], runs.scenario("failed quick", "--image", blank,
                                                                                 *steps))


def commands_case(runs, part):
    parts = runs.partitions()
    table = read_table()
    opened = part == "opened"
    rows = []  # (way, mode, fs, where, page shown, {command: enabled})

    def record(run, places, lines):
        """The "commands" lines of a run, one for each of places ((way, mode, fs, where)), in order."""
        shown = commands_of(lines or [])
        if lines is not None and len(shown) != len(places):
            runs.failures.append(f"{run}: {len(shown)} pages read, {len(places)} expected")
        for (way, mode, fs, where), (page, states) in zip(places, shown):
            rows.append((way, mode, fs, where, page, states))

    for mode in COMMAND_PARTS[part]:
        scan_runs(runs, mode, parts, record)
    if opened:
        open_runs(runs, snapshots(runs), table, record)

    ways = OPEN_WAYS if opened else SCAN_WAYS
    modes = TABLE_MODES if opened else COMMAND_PARTS[part]
    print_table(rows, table)
    check_table(runs, rows, table, ways, modes)


def open_runs(runs, folder, table, record):
    """Each mode's snapshot of each partition opened by Load on page 1, by the command line at start and by the
    shell while the running copy shows page 2; then Home."""
    steps, places = [], []
    for mode in MODES:
        for fs in FILE_SYSTEMS.values():
            steps += ["--step", "mode", "quick", "--step", "load", os.path.join(folder, f"{mode}_{fs}.vsnp"),
                      "--step", "commands", "--step", "home", "--step", "commands"]
            places += [("Load", mode, fs, "page 4"), ("Load", mode, fs, "Home: page 0")]
    record("Load", places, runs.scenario("Load", "--image", runs.image, *steps))

    for mode in MODES:
        for fs in FILE_SYSTEMS.values():
            refused = expected(table, "command line", "page 0 (refused)", mode, fs) is not None
            steps = ["--step", "commands"] + ([] if refused else ["--step", "home", "--step", "commands"])
            expect = ["--expect-box", IMAGE_FIRST] if refused else []
            lines = runs.scenario(f"command line {mode} {fs}", "--command-line",
                                  os.path.join(folder, f"{mode}_{fs}.vsnp"), *expect, *steps)
            wheres = ["page 0 (refused)"] if refused else ["page 4", "Home: page 0"]
            record(f"command line {mode} {fs}", [("command line", mode, fs, w) for w in wheres], lines)
            if refused and lines is not None and not any(line.startswith(f"box\t{IMAGE_FIRST}") for line in lines):
                runs.failures.append(f"command line {mode} {fs}: not refused")

    steps, places = [], []
    for mode in MODES:
        for fs in FILE_SYSTEMS.values():
            steps += ["--step", "mode", "quick", "--step", "next", "--step", "shell",
                      os.path.join(folder, f"{mode}_{fs}.vsnp"), "--step", "commands", "--step", "home", "--step",
                      "commands"]
            places += [("shell", mode, fs, "page 4"), ("shell", mode, fs, "Home: page 0")]
    record("shell", places, runs.scenario("shell", "--image", runs.image, *steps))


def print_table(rows, table):
    """The pages read; a cell the table gives otherwise is marked with *."""
    print(f"{'way':13} {'mode':10} {'fs':6} {'where':18} " + " ".join(short for _, short in COMMANDS))
    for way, mode, fs, where, page, states in rows:
        want = expected(table, way, where, mode, fs)
        cells = []
        for name, short in COMMANDS:
            cell = "1" if states[name] else "0"
            if want is not None and want[1][name] != states[name]:
                cell += "*"
            cells.append(cell.center(len(short)))
        print(f"{way:13} {mode:10} {fs:6} {where:18} " + " ".join(cells))


def check_table(runs, rows, table, ways, modes):
    """Every page the table gives for the part's ways and modes is read once, and shows what the table gives."""
    _, pages = table
    wanted = set()
    for row in pages:
        if row["way"] not in ways:
            continue
        for mode in modes:
            systems = ["none"] if row["way"] == "failed" else list(FILE_SYSTEMS.values())
            for fs in systems:
                if expected(table, row["way"], row["where"], mode, fs) is not None:
                    wanted.add((row["way"], row["where"], mode, fs))
    read = [(way, where, mode, fs) for way, mode, fs, where, _, _ in rows]
    for missing in sorted(wanted - set(read)):
        runs.failures.append(f"not read: {' '.join(missing)}")
    print(f"{len(set(read) & wanted)} of the table's {len(wanted)} pages read")
    for way, mode, fs, where, page, states in rows:
        want = expected(table, way, where, mode, fs)
        if want is None:
            runs.failures.append(f"{way} {mode} {fs} {where}: a page the table does not give")
            continue
        if page != want[0]:
            runs.failures.append(f"{way} {mode} {fs} {where}: page {page} shown, {want[0]} expected")
        for name, _ in COMMANDS:
            if states[name] != want[1][name]:
                runs.failures.append(f"{way} {mode} {fs} {where}: {name} {'enabled' if states[name] else 'greyed'}")


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
    preview_without_image(runs, folder)


def preview_without_image(runs, folder):
    """Snapshots opened at start, no image (FAT16 Quick Scan, FAT32 Extensive Scan, a File Trace): each file
    clicked writes no copy of zeros, and the pane itself says the disk image is needed, with no box."""
    shots = os.path.join(runs.args.work, "no-image-shots")
    os.makedirs(shots, exist_ok=True)
    cases = [("quick_fat16", ["/Documents/Letter to the bank.txt", "/Photos/IMG_0001.JPG"]),
             ("extensive_fat32", ["/Documents/Letter to the bank.txt"]),
             ("trace_carving", ["/JPEG Image/.jpg/1.jpg", "/PDF Document/5.pdf"])]
    for name, files in cases:
        case = f"preview without the image: {name}"
        steps = [a for path in files for a in ("--preview", path)]
        # The first case's results page as the user then sees it, the last file's placeholder in the pane.
        if name == cases[0][0]:
            steps += ["--shots", shots, "--step", "shot", "no-image"]
        lines = runs.scenario(case, "--command-line", os.path.join(folder, f"{name}.vsnp"), *steps,
                              "--temp-unchanged")
        if lines is None:
            continue
        if name == cases[0][0]:
            shot = os.path.join(os.environ.get("DORVANE_BUILD", "build/win32"), "screenshots", "preview")
            os.makedirs(shot, exist_ok=True)
            shutil.copyfile(os.path.join(shots, "no-image.png"), os.path.join(shot, "no-image.png"))
        shown = {f[1]: f[2:5] for f in (line.split("\t") for line in lines) if f[0] == "preview" and len(f) == 6}
        for path in files:
            view = shown.get(path)
            if view != ["placeholder", "image-needed", ""]:
                runs.failures.append(f"{case}: {path} shown as {view}")


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
