#!/usr/bin/env python3
"""enginectl extensive on every case that make_extensive_disks.py describes (its own disks and shared test
images, each scanned whole for one file-system code), against the file systems TSK's view of them says an
Extensive Scan finds: number, code, label, first and last sector, in the order found.

    extensive_test.py --enginectl PATH --images DIR --expected FILE [--jobs N]

Each case runs with the default sectors per read; the first also with 1 and 100, which must give the same list.
"""
import argparse
import concurrent.futures
import os
import subprocess
import sys


def read_cases(path):
    cases = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            cells = line.rstrip("\n").split("\t")
            if cells[0] == "#case":
                cases.append({"image": cells[1], "code": cells[2], "sectors": cells[3], "where": cells[4], "lines": []})
            elif cases:
                cases[-1]["lines"].append("\t".join(cells[2:]))
    return cases


def run(enginectl, image, case, per_read):
    cmd = [enginectl, "extensive", image, "--range", case["code"], "0", case["sectors"]]
    if per_read is not None:
        cmd += ["--sectors-per-read", str(per_read)]
    proc = subprocess.run(cmd, capture_output=True, text=True, timeout=600)
    return proc.returncode, proc.stdout.splitlines(), proc.stderr


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--enginectl", required=True)
    parser.add_argument("--images", required=True)
    parser.add_argument("--expected", required=True)
    parser.add_argument("--jobs", type=int, default=4)
    args = parser.parse_args()
    own = os.path.dirname(os.path.abspath(args.expected))
    cases = read_cases(args.expected)
    if not cases:
        print(f"no cases in {args.expected}")
        return 1
    runs = [(c, None) for c in cases] + [(cases[0], 1), (cases[0], 100)]
    failures = 0
    with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
        futures = {}
        for case, per_read in runs:
            image = os.path.join(own if case["where"] == "own" else args.images, case["image"])
            futures[pool.submit(run, args.enginectl, image, case, per_read)] = (case, per_read)
        for future in futures:
            case, per_read = futures[future]
            code, lines, err = future.result()
            name = f"{case['image']} {case['code']} (sectors per read {per_read or 'default'})"
            if code != 0 or lines != case["lines"]:
                failures += 1
                print(f"FAIL {name}: exit {code}\n  expected {case['lines']}\n  got      {lines}\n  {err.strip()}")
            else:
                print(f"ok   {name}: {len(lines)} found")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
