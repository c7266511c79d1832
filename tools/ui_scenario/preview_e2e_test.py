#!/usr/bin/python3
"""The preview end to end, as a user meets it: scripts/ui-scenario scans the generated preview volume
(tools/images/preview/make_preview_volume.py: a sample of every kind the pane shows, a file over the size limit
and a damaged file of each kind) with the real Dorvane.exe under Wine, clicks each file's row on page 4 and
reads what the pane shows; each answer is held against the volume's list of expected views.

    preview_e2e_test.py --scenario scripts/ui-scenario --generator PATH --work DIR --shots DIR [--skip GROUP]...

One program run previews every file (about half a minute), then goes Back and exits: the temporary folder then
holds what it held before the run (every copy the preview was given is deleted once its viewer lets go of it).
A picture of the pane per group goes to DIR/<group>.png (the shots folder of the build: screenshots/preview/).
"""
import argparse
import json
import os
import re
import shutil
import subprocess
import sys

PICTURE_COLOURS = 64  # a decoded photo paints far more colours than any placeholder or drawing


def check(sample, shown):
    """None when the pane showed what the sample expects, else why not."""
    view, detail, boxes = shown["view"], shown["detail"], shown["boxes"]
    expect = sample["expect"]
    got = f"{view} {detail[:120]}".strip()
    if expect.startswith("placeholder "):
        if (view, detail) != ("placeholder", expect.split(" ", 1)[1]):
            return f"expected the {expect}, shown {got}"
    elif expect in ("picture", "drawing", "blank"):
        drawn = re.fullmatch(r"colours=(\d+) box=(\d+)x(\d+)", detail) if view == "drawn" else None
        colours = int(drawn[1]) if drawn else 0
        wanted = {"picture": (PICTURE_COLOURS, 1 << 24), "drawing": (3, PICTURE_COLOURS), "blank": (1, 2)}[expect]
        if "shape" in sample:
            wanted = (3, 1 << 24)  # a metafile at its own size paints few colours: its shape is the judge
        if not drawn or not wanted[0] <= colours <= wanted[1]:
            return f"expected a {expect}, shown {got}"
        # A picture of a known shape is drawn in its proportions: within two pixels of them.
        if "shape" in sample:
            w, h = sample["shape"]
            shown_w, shown_h = int(drawn[2]), int(drawn[3])
            if abs(shown_w * h - shown_h * w) > 2 * max(w, h):
                return f"the {w} x {h} picture is drawn {shown_w} x {shown_h}"
    elif expect in ("text", "list"):
        if view != expect:
            return f"expected {expect}, shown {got}"
        missing = [w for w in sample.get("text", []) + sample.get("rows", []) if w not in detail]
        if missing:
            return f"the {expect} lacks {missing}: {detail[:200]}"
    elif expect == "media":
        if view != "window":
            return f"expected a player's window, shown {got}"
    elif expect == "html":
        # Our page viewer with its page read: "Ready, ..." once its pictures are in, a page without pictures
        # stays at "Parsing N of N"; its title shows as the viewer's text.
        parsed = re.search(r"Parsing (\d+) of (\d+)", detail)
        if view != "window" or not ("Ready" in detail or (parsed and parsed[1] == parsed[2])):
            return f"expected the page read by our viewer, shown {got}"
        missing = [w for w in sample.get("text", []) if w not in detail]
        if missing:
            return f"the page lacks {missing}: {detail[:200]}"
        # The lines its canvas shows, counted by its pixels: words run together lose theirs.
        lines = re.search(r"lines=(\d+)", detail)
        if "lines" in sample and (not lines or int(lines[1]) != sample["lines"]):
            return f"the page shows {lines[1] if lines else 'no'} lines, not {sample['lines']}: {detail[:200]}"
    else:
        return f"no check for {expect}"
    wanted_box = sample.get("box", "")
    if not boxes.startswith(wanted_box) or (boxes and not wanted_box):
        return f"expected the message {wanted_box!r}, shown {boxes!r}"
    return None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--scenario", required=True)
    parser.add_argument("--generator", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--shots", required=True)
    parser.add_argument("--skip", action="append", default=[], help="a group or an expected view left out")
    args = parser.parse_args()
    os.makedirs(args.work, exist_ok=True)
    subprocess.run(["/usr/bin/python3", args.generator, "--out", args.work], check=True)
    with open(os.path.join(args.work, "preview.json"), encoding="utf-8") as f:
        listed = json.load(f)
    samples = [s for s in listed if s["group"] not in args.skip and s["expect"] not in args.skip]
    work_shots = os.path.join(args.work, "shots")
    shutil.rmtree(work_shots, ignore_errors=True)
    command = [args.scenario, "--image", os.path.join(args.work, "preview.fixed.vhd"), "--mode", "quick",
               "--partition", "0", "--no-tree", "--timeout", "60"]
    for i, sample in enumerate(samples):
        command += ["--preview", sample["path"], "--shot", os.path.join(work_shots, f"{i:02d}.png")]
    command += ["--step", "back", "--temp-unchanged"]
    result = subprocess.run(command, capture_output=True, text=True, errors="replace", timeout=900)
    shown = {}
    for line in result.stdout.split("\n"):
        fields = line.split("\t")
        if len(fields) == 6 and fields[0] == "preview":
            shown[fields[1]] = {"view": fields[2], "detail": fields[3], "boxes": fields[4]}
    failures, groups = [], {}
    for i, sample in enumerate(samples):
        path = sample["path"]
        if path not in shown:
            failures.append(f"{path}: not previewed")
            continue
        failure = check(sample, shown[path])
        print(f"{path}: {'FAIL ' + failure if failure else 'ok'}", flush=True)
        if failure:
            failures.append(f"{path}: {failure}")
        groups.setdefault(sample["group"], os.path.join(work_shots, f"{i:02d}.png"))
    if result.returncode != 0:
        reason = (result.stderr.strip().splitlines() or ["no reason given"])[-1]
        failures.append(f"the scenario failed: {reason}")
    # The folder also holds the viewers' own tests' pictures: only this run's groups are replaced.
    os.makedirs(args.shots, exist_ok=True)
    for group in {s["group"] for s in listed}:
        stale = os.path.join(args.shots, group + ".png")
        if os.path.exists(stale):
            os.remove(stale)
    for group, shot in groups.items():
        if os.path.exists(shot):
            shutil.copyfile(shot, os.path.join(args.shots, group + ".png"))
    for failure in failures:
        print("FAIL " + failure)
    checked = len(samples)
    print(f"{checked - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
