#!/usr/bin/env python3
"""enginectl over the NTFS volumes make_ntfs_histories.py writes (rebuilt without boot sectors before another
volume, a valid data length in an extension record, a quick format over used files, torn records, space used
again after a delete) and the disks make_aligned_disks.py writes (partitions on 1 MiB boundaries without table
entries), against the bytes the generators wrote:

- save (a Quick Scan of the volume, or an Extensive Scan of the disk and the volume chosen by its first sector),
  whole tree ticked, with --audit: every sector read lies inside the volume; every file the generator says must be
  listed is saved; a file counted whole holds the bytes written; one the generator knows damaged (its record
  torn, its bytes gone) is counted damaged, one it knows intact is not; one whose data is not in it (compressed by
  Windows into a stream of its own, kept online only, deduplicated, moved or tiered away) is not saved; a symbolic
  link or junction is neither saved nor made as a folder, and the save's report names it with its target; and all
  of it again from the snapshot of that scan, loaded over the image;
- partitions --search: the volumes of each disk at their sectors with the counts TSK reads.

The stop cases (a stop while the chosen volume is read again) need the page's stop: the native test drives them;
here they are saved without one.

    ntfs_histories_test.py --enginectl PATH --cases FILE --aligned FILE --work DIR [--figures]

--figures prints each case's figures (files saved, saved whole with other bytes, counted damaged, missing, sectors
read outside the volume; from the scan and from its snapshot) and checks nothing, for comparing two builds.
"""
import argparse
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from diff_test import COPY_OF  # noqa: E402
from driver import Save, failure, run, saved_tree  # noqa: E402


def read_cases(path):
    cases = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            field = line.rstrip("\n").split("\t")
            if field[0] == "case":
                name, image, mode = field[1:4]
                start, count, volume_start, volume_sectors = (int(v) for v in field[4:8])
                cases[name] = {"image": image, "mode": mode, "range": (start, count), "volume": (volume_start,
                               volume_sectors), "stop": int(field[9]), "files": {}}
            elif field[0] == "file":
                cases[field[1]]["files"][field[2]] = dict(zip(("state", "listed", "expected"), field[3:6]))
    return cases


def read_audit(path):
    """(reads, {path: damaged} of the files counted saved, {name: target} of the links passed over)."""
    reads, files, links = [], {}, {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            kind, rest = line.rstrip("\n").split("\t", 1)
            if kind == "read":
                first, count = rest.split("\t")
                reads.append((int(first), int(count)))
            elif kind == "link":
                where, target = rest.split("\t")
                links[where.rsplit("/", 1)[-1]] = target
            else:
                files[rest] = kind == "damaged"
    return reads, files, links


def choice(enginectl, image, case):
    """The number of the file system an Extensive Scan finds at the volume's first sector; None when none."""
    start, count = case["range"]
    proc = run(enginectl, "extensive", image, "--range", 300, start, count)
    for line in proc.stdout.decode().splitlines():
        fields = line.split("\t")
        if int(fields[3]) == case["volume"][0]:
            return int(fields[0])
    return None


def check_case(args, name, case):
    """(problems, figures) of one case, the snapshot's problems and figures after the scan's."""
    folder = os.path.dirname(os.path.abspath(args.cases))
    image = os.path.join(folder, case["image"])
    start, count = case["range"]
    source = ["--range", 300, start, count]
    if case["mode"] == "extensive":
        k = choice(args.enginectl, image, case)
        if k is None:
            return ["no file system found at sector %d" % case["volume"][0]], None
        source += ["--choose", k]
    problems, figures = check_save(args, name, case, folder, image, source)
    snapshot = os.path.join(args.work, name + ".vsnp")
    if os.path.exists(snapshot):
        os.remove(snapshot)
    proc = run(args.enginectl, case["mode"], image, *source, "--snapshot-save", snapshot)
    if proc.returncode != 0:
        return problems + ["snapshot: " + failure(proc)], figures
    more, got = check_save(args, name + "-snapshot", case, folder, image, ["--snapshot", snapshot])
    return problems + ["snapshot: " + p for p in more], dict(figures, **{"snapshot " + k: n for k, n in got.items()})


def check_save(args, name, case, folder, image, source):
    """(problems, figures) of the whole tree saved from source."""
    audit = os.path.join(args.work, name + ".audit")
    save = Save(args.enginectl, image, source, os.path.join(args.work, name), ["--audit", audit])
    damaged = any(f["state"] in ("damaged", "elsewhere") and f["listed"] == "must" for f in case["files"].values())
    problems = save.problems(expect_status=3 if damaged else 0)
    if not os.path.exists(audit):
        return problems, {"listed": 0, "wrong": 0, "damaged": 0, "outside": 0, "links": 0,
                          "missing": sum(f["listed"] == "must" and f["state"] in ("whole", "damaged")
                                         for f in case["files"].values())}
    reads, files, links = read_audit(audit)
    first, sectors = case["volume"]
    outside = sum(c for s, c in reads if s < first or s + c > first + sectors)
    if outside:
        problems.append("%d sectors read outside the volume" % outside)
    figures = {"listed": 0, "wrong": 0, "damaged": 0, "outside": outside, "links": 0}
    saved = set()
    for path, damaged in files.items():
        base = path.rsplit("/", 1)[-1]
        want = case["files"].get(base)
        if want is None:
            if COPY_OF.match(base) and COPY_OF.match(base).group(1) in case["files"]:
                problems.append("%s saved twice" % path)  # each name of a file is saved once
            continue
        saved.add(base)
        figures["listed"] += 1
        figures["damaged"] += damaged
        if want["state"] in ("elsewhere", "link"):
            figures["wrong"] += not damaged
            problems.append("%s saved, though %s" % (path, "its data is not in it" if want["state"] == "elsewhere"
                                                     else "a link holds no data"))
            continue
        with open(os.path.join(save.out, *path.split("/")), "rb") as f:
            data = f.read()
        with open(os.path.join(folder, "expected", want["expected"]), "rb") as f:
            right = f.read() == data
        if not damaged and not right:
            figures["wrong"] += 1
            problems.append("%s saved whole with other bytes" % path)
        if damaged != (want["state"] == "damaged"):
            problems.append("%s %s" % (path, "counted damaged" if damaged else "not counted damaged"))
    for base, want in case["files"].items():
        if want["listed"] == "must" and want["state"] in ("whole", "damaged") and base not in saved:
            problems.append("%s not saved" % base)
        if want["state"] == "link":
            problems += link_problems(base, want, folder, links, save)
            figures["links"] += links.get(base) is not None
    figures["missing"] = sum(f["listed"] == "must" and f["state"] in ("whole", "damaged") and b not in saved
                             for b, f in case["files"].items())
    return problems, figures


def link_problems(base, want, folder, links, save):
    """What is wrong with how a save met a link (a symbolic link or a junction): it must be passed over, named in
    the audit and in the report with the target written, and never made as a file or folder."""
    with open(os.path.join(folder, "expected", want["expected"]), encoding="utf-8") as f:
        target = f.read()
    problems = []
    if links.get(base) != target:
        problems.append("link %s reported as pointing to %r, not %r" % (base, links.get(base), target))
    if "%s points to %s" % (base, target) not in save.stderr:
        problems.append("the report does not name link %s with its target" % base)
    made = [p for p in saved_tree(save.out) if p.rsplit("/", 1)[-1] == base]
    if made:
        problems.append("link %s made as %s" % (base, made))
    return problems


def check_aligned(args):
    folder = os.path.dirname(os.path.abspath(args.aligned))
    problems = []
    with open(args.aligned, encoding="utf-8") as f:
        for line in f:
            fields = line.split()
            if fields[0] != "search":
                continue
            image, expected = fields[1], fields[5:]
            proc = run(args.enginectl, "partitions", "--search", os.path.join(folder, image))
            if proc.returncode != 0:
                problems.append("%s: %s" % (image, failure(proc)))
                continue
            got = ["%s:%s:%s" % tuple(l.split("\t")[:3]) for l in proc.stdout.decode().splitlines()]
            if sorted(got) != sorted(expected):
                problems.append("%s: the search found %s, not %s" % (image, got, expected))
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--enginectl", required=True)
    parser.add_argument("--cases", required=True)
    parser.add_argument("--aligned", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--figures", action="store_true")
    args = parser.parse_args()
    os.makedirs(args.work, exist_ok=True)
    failed = 0
    for name, case in read_cases(args.cases).items():
        problems, figures = check_case(args, name, case)
        if args.figures:
            for prefix in ("", "snapshot ") if figures else ():
                got = {k: figures.get(prefix + k, 0)
                       for k in ("listed", "wrong", "damaged", "missing", "outside", "links")}
                print("%-34s saved %d of %d, saved whole with other bytes %d, counted damaged %d, missing %d, "
                      "sectors read outside %d, links reported %d" % (
                          name + (" from snapshot" if prefix else ""), got["listed"], len(case["files"]),
                          got["wrong"], got["damaged"], got["missing"], got["outside"], got["links"]))
            if not figures:
                print("%-34s %s" % (name, problems))
            continue
        for p in problems:
            print("%s: %s" % (name, p))
        failed += bool(problems)
    if not args.figures:
        problems = check_aligned(args)
        for p in problems:
            print("aligned: %s" % p)
        failed += bool(problems)
        print("%s" % ("ok" if not failed else "%d failed" % failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
