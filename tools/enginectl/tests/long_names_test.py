#!/usr/bin/env python3
"""enginectl on the FAT volumes whose long names of 230 to 255 characters span three directory sectors
(engine/fat/make_long_name_volumes.py), against the generator's own list of what it wrote (TSK's fls drops the
last pieces of such names, so it cannot serve here).

    long_names_test.py --enginectl PATH --list FILE --work DIR

For each volume (its fixed VHD beside FILE, read with --range):
- Quick Scan: the tree is exactly what was written: every folder and file under its full name, the deleted
  long names deleted, files with their sizes;
- reading the file system an Extensive Scan finds (extensive --choose 1): the same files at the same paths
  (the tree also has its "Lost Dir");
- saving the Quick Scan's whole tree: every file saved under its full name with the bytes written, deleted
  ones included (their clusters are untouched), and nothing else.
The last line gives the cases and the failures.
"""
import argparse
import hashlib
import os
import shutil
import subprocess
import sys


def written(list_path):
    """[(image, code, {(kind, deleted, size, path)}, {path: sha256})] from the generator's list."""
    volumes = []
    for line in open(list_path, encoding="utf-8").read().splitlines():
        fields = line.split("\t")
        if fields[0] == "#volume":
            volumes.append((fields[1], int(fields[2]), set(), {}))
            continue
        image, kind, deleted, size, digest, path = fields
        volumes[-1][2].add((kind, int(deleted), 0 if size == "-" else int(size), path))
        if kind == "F":
            volumes[-1][3][path] = digest
    return volumes


def tree(output):
    rows = set()
    for line in output.decode("utf-8").splitlines():
        kind, deleted, size, path = line.split("\t", 3)
        rows.add((kind, int(deleted), int(size) if kind == "F" else 0, path[1:]))
    return rows


def saved(out):
    found = {}
    for folder, _, files in os.walk(out):
        for f in files:
            full = os.path.join(folder, f)
            with open(full, "rb") as data:
                found[os.path.relpath(full, out).replace(os.sep, "/")] = hashlib.sha256(data.read()).hexdigest()
    return found


def differences(what, want, got):
    lines = ["%s: missing %s" % (what, row) for row in sorted(want - got)]
    return lines + ["%s: not written %s" % (what, row) for row in sorted(got - want)]


def run(enginectl, *args):
    proc = subprocess.run([enginectl, *map(str, args)], stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=600)
    if proc.returncode != 0:
        raise RuntimeError("%s: exit %d: %s" % (args[0], proc.returncode, proc.stderr.decode(errors="replace")))
    return proc.stdout


def check(enginectl, folder, work, image, code, rows, digests):
    vhd = os.path.join(folder, image + ".fixed.vhd")
    source = ["--range", code, 0, os.path.getsize(os.path.join(folder, image)) // 512]
    cases = {}
    cases["quick"] = differences("quick", rows, tree(run(enginectl, "quick", vhd, *source)))
    chosen = {r for r in tree(run(enginectl, "extensive", vhd, *source, "--choose", 1)) if r[0] == "F"}
    cases["chosen"] = differences("chosen", {r for r in rows if r[0] == "F"}, chosen)
    out = os.path.join(work, image)
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    run(enginectl, "save", vhd, *source, "--out", out)
    got = saved(out)
    cases["save"] = differences("save", set(digests.items()), set(got.items()))
    return cases


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--enginectl", required=True)
    parser.add_argument("--list", required=True)
    parser.add_argument("--work", required=True)
    args = parser.parse_args()
    folder = os.path.dirname(os.path.abspath(args.list))
    passed = failed = 0
    for image, code, rows, digests in written(args.list):
        try:
            cases = check(args.enginectl, folder, args.work, image, code, rows, digests)
        except (RuntimeError, subprocess.TimeoutExpired) as e:
            cases = {"run": [str(e)]}
        for mode, problems in cases.items():
            print("%s %s: %s" % (image, mode, "ok" if not problems else "FAILED"))
            for p in problems[:10]:
                print("  " + p[:300])
            passed, failed = passed + (not problems), failed + bool(problems)
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
