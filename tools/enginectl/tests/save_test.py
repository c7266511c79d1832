#!/usr/bin/env python3
"""enginectl save on the FAT16, FAT32 and NTFS test volumes against icat on their raw images, and on a
FAT volume whose names try to leave the chosen folder.

    save_test.py --enginectl PATH --images DIR --work DIR [--only NAME...]

Each volume is saved whole (its results tree ticked from the top node) into a folder of its own, two
levels below a sandbox folder that must hold nothing else afterwards. Then:

- every file TSK lists (no metafiles, orphans or named streams; not the empty FAT files, which the
  directory parser never lists), live or deleted, is saved at its path (names paired as oracle.py says:
  TSK's "_" for a deleted short name's first character, its NT lower-case flags) with the bytes icat
  gives on the raw image (deleted FAT files as contiguous clusters, as both take them; where a deleted
  file's later clusters belong to another file by now, icat stops before them: its bytes must then begin
  the saved file, which is the whole contiguous run); every folder is there;
- time stamps: a FAT file's last-write date (UTC) is its directory entry's date as TSK gives it; an NTFS
  file's last-write time is the creation time of its file-name attribute (istat);
- the driver reports every file saved and none unreadable;
- the policies, on one FAT and one NTFS volume: "--deleted only" saves the deleted files alone,
  "--deleted exclude" the live ones; "--filter" keeps the names it matches; saving again renames every
  file to "Copy (1 ) of NAME", "--duplicates skip" leaves the folder as it was, "--duplicates overwrite"
  replaces files without copies.

The hostile volume (mkfs.fat and mtools, then long names patched in place): folders named "..", "." and
"NUL", files named "a:b", "CON", "name.", "trail " and "..\\..\\x" (which the directory parser refuses),
and a path of more than 300 characters. Nothing may be written outside the chosen folder; each file is
saved under its safe name with icat's bytes.
"""
import argparse
import concurrent.futures
import datetime
import hashlib
import json
import os
import re
import shutil
import subprocess
import sys

REPO = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..", ".."))
sys.path.insert(0, os.path.join(REPO, "tools", "images"))

import oracle  # noqa: E402
from util import run as run_tool  # noqa: E402

CODES = {"fat16": 100, "fat32": 200, "ntfs": 300}
# Bare volumes (saved with --range) and a disk with a partition table (saved with --partition).
IMAGES = ["fat16.fixed.vhd", "fat32.fixed.vhd", "fat32_512.fixed.vhd", "ntfs_512.fixed.vhd", "ntfs_4k.fixed.vhd",
          "ntfs_64k.fixed.vhd", "mbr_primary.fixed.vhd"]
POLICY_IMAGES = ["fat16.fixed.vhd", "ntfs_4k.fixed.vhd"]
TOOL_ENV = dict(os.environ, TZ="UTC", LANG="C.UTF-8")


def load(path):
    with open(path, encoding="utf-8") as f:
        return json.load(f)


def sha256_file(path):
    h = hashlib.sha256()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            h.update(block)
    return h.hexdigest()


def saved_tree(out):
    """{relative path with '/': 'D' or 'F'} of everything under out."""
    found = {}
    for folder, dirs, files in os.walk(out):
        rel = os.path.relpath(folder, out)
        prefix = "" if rel == "." else rel.replace(os.sep, "/") + "/"
        for d in dirs:
            found[prefix + d] = "D"
        for f in files:
            found[prefix + f] = "F"
    return found


class Save:
    """One run of enginectl save into sandbox/inner/out."""

    def __init__(self, enginectl, image, source, sandbox, extra=(), out=None):
        self.sandbox = sandbox
        self.out = out or os.path.join(sandbox, "inner", "out")
        if out is None:
            shutil.rmtree(sandbox, ignore_errors=True)
            os.makedirs(self.out)
        cmd = [enginectl, "save", image] + source + ["--out", self.out] + list(extra)
        proc = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        self.status = proc.returncode
        self.stderr = proc.stderr.decode("utf-8", "replace").strip()
        self.counts = dict((k, int(v)) for k, v in (l.split("\t") for l in proc.stdout.decode().splitlines()))

    def problems(self, expect_status=0):
        out = []
        if self.status != expect_status:
            out.append("exit status %d (expected %d): %s" % (self.status, expect_status, self.stderr))
        if os.listdir(self.sandbox) != ["inner"] or os.listdir(os.path.join(self.sandbox, "inner")) != ["out"]:
            out.append("written outside the chosen folder: %s" % sorted(saved_tree(self.sandbox)))
        return out


# ---------------------------------------------------------------- the test volumes

def sources(enginectl, images, name):
    """(source arguments, manifest volume) of each FAT or NTFS volume of the image."""
    manifest = load(os.path.join(images, name + ".manifest.json"))
    starts = None
    for volume in manifest["volumes"]:
        if volume.get("fs") not in CODES:
            continue
        if volume["origin"] == "table":
            if starts is None:
                out = subprocess.run([enginectl, "partitions", os.path.join(images, name)], stdout=subprocess.PIPE,
                                     check=True).stdout.decode()
                starts = [int(line.split("\t")[0]) for line in out.splitlines()]
            yield ["--partition", str(starts.index(volume["start"]))], volume, manifest
        else:
            raw = os.path.join(images, manifest["built"]["source"])
            sectors = os.path.getsize(raw) // 512 - volume["start"]
            yield ["--range", str(CODES[volume["fs"]]), str(volume["start"]), str(sectors)], volume, manifest


def expected_files(volume):
    """TSK's folders and files of the volume as a recovery program lists them."""
    fat = volume["fs"] != "ntfs"
    folders, files = [], []
    for e in oracle.user_entries(volume):
        if e["stream"]:
            continue
        if e["dir"]:
            folders.append(e)
        elif not (fat and e["size"] == 0):
            files.append(e)
    return folders, files


def find_saved(saved, e, fat):
    """The saved path that stands for TSK's entry e, or None."""
    if not fat:
        return e["path"] if e["path"] in saved else None
    key = oracle.tsk_path_key(e["path"])
    parts = e["path"].split("/")
    for path in saved:
        if oracle.tsk_path_key(path) != key:
            continue
        got = path.split("/")
        if len(got) == len(parts) and all(oracle.fat_names_match(a, b, e["deleted"]) for a, b in zip(parts, got)):
            return path
    return None


def fn_created(raw, start, inode):
    """The creation time of the first file-name attribute, as istat gives it (seconds since 1970, UTC)."""
    out = subprocess.run(["istat", "-z", "UTC", "-o", str(start), raw, str(inode)], stdout=subprocess.PIPE,
                         env=TOOL_ENV, check=True).stdout.decode("utf-8", "replace")
    section = out.split("$FILE_NAME Attribute Values:", 1)[1]
    text = re.search(r"Created:\s+(\d+-\d+-\d+ \d+:\d+:\d+)", section).group(1)
    stamp = datetime.datetime.strptime(text, "%Y-%m-%d %H:%M:%S").replace(tzinfo=datetime.timezone.utc)
    return int(stamp.timestamp())


def is_contiguous_with_icat_prefix(saved, raw, start, e):
    """A deleted FAT file whose clusters after the first belong to another file by now: icat gives the
    clusters up to the first one in use, the saver the whole contiguous run. What icat gives must begin
    the saved file, and the saved file must be the contiguous run from the file's first sector."""
    icat = subprocess.run(["icat", "-o", str(start), raw, e["addr"]], stdout=subprocess.PIPE, env=TOOL_ENV,
                          check=True).stdout
    data = open(saved, "rb").read()
    if len(icat) >= e["size"] or not e["runs"] or not data.startswith(icat):
        return False
    with open(raw, "rb") as f:
        f.seek(e["runs"][0][0] * 512)
        return f.read(e["size"]) == data


def check_volume(save, volume, manifest, images, pool):
    raw = os.path.join(images, manifest["built"]["source"])
    fat = volume["fs"] != "ntfs"
    folders, files = expected_files(volume)
    saved = saved_tree(save.out)
    problems = save.problems()
    for e in folders:
        path = find_saved(saved, e, fat)
        if path is None or saved[path] != "D":
            problems.append("folder missing: " + e["path"])

    def check_file(e):
        path = find_saved(saved, e, fat)
        if path is None or saved[path] != "F":
            return ["file missing: " + e["path"]]
        full = os.path.join(save.out, *path.split("/"))
        if sha256_file(full) != oracle.icat_sha256(raw, volume["start"], e["addr"]) and not (
                fat and e["deleted"] and is_contiguous_with_icat_prefix(full, raw, volume["start"], e)):
            return ["content differs from icat: %s (%d bytes saved, %d listed)" % (e["path"], os.path.getsize(full),
                                                                                    e["size"])]
        mtime = int(os.stat(full).st_mtime)
        if fat:
            want_date = e["mtime"][:10]
            got_date = datetime.datetime.fromtimestamp(mtime, datetime.timezone.utc).strftime("%Y-%m-%d")
            if got_date != want_date:
                return ["date of %s: %s, TSK %s" % (e["path"], got_date, want_date)]
        elif mtime != fn_created(raw, volume["start"], e["inode"]):
            return ["time of %s: %d, istat %d" % (e["path"], mtime, fn_created(raw, volume["start"], e["inode"]))]
        return []

    for found in pool.map(check_file, files):
        problems += found
    if save.counts.get("unreadable") != 0 or save.counts.get("unwritten") != 0:
        problems.append("counts: %s" % save.counts)
    saved_files = sum(1 for kind in saved.values() if kind == "F")
    if save.counts.get("saved") != saved_files:
        problems.append("the driver says %s saved, %d files are there" % (save.counts.get("saved"), saved_files))
    return problems, len(files)


def deleted_paths(saved_out, volume):
    """The saved files that stand for deleted files, and those that stand for live ones."""
    fat = volume["fs"] != "ntfs"
    saved = saved_tree(saved_out)
    deleted, live = set(), set()
    for e in expected_files(volume)[1]:
        path = find_saved(saved, e, fat)
        if path:
            (deleted if e["deleted"] else live).add(path)
    return deleted, live


def check_policies(enginectl, image, source, volume, work):
    problems = []
    files = lambda out: {p for p, kind in saved_tree(out).items() if kind == "F"}
    whole = Save(enginectl, image, source, os.path.join(work, "whole"))
    everything = files(whole.out)
    deleted, live = deleted_paths(whole.out, volume)
    if not deleted or not live:
        problems.append("the volume needs live and deleted files")
    only = Save(enginectl, image, source, os.path.join(work, "only"), ["--deleted", "only"])
    excluded = Save(enginectl, image, source, os.path.join(work, "exclude"), ["--deleted", "exclude"])
    problems += only.problems() + excluded.problems()
    if not deleted <= files(only.out) or files(only.out) & live:
        problems.append("--deleted only saved %s" % sorted(files(only.out)))
    if not live <= files(excluded.out) or files(excluded.out) & deleted:
        problems.append("--deleted exclude saved %s" % sorted(files(excluded.out)))
    filtered = Save(enginectl, image, source, os.path.join(work, "filter"), ["--filter", "*.TXT", "--filter", "*.bin"])
    problems += filtered.problems()
    want = {p for p in everything if p.upper().endswith(".TXT") or p.upper().endswith(".BIN")}
    if files(filtered.out) != want or not want:
        problems.append("--filter saved %s, expected %s" % (sorted(files(filtered.out)), sorted(want)))
    # Saving again into the same folder: every file once more as "Copy (1 ) of NAME".
    again = Save(enginectl, image, source, whole.sandbox, out=whole.out)
    problems += again.problems()
    copies = {os.path.dirname(p) + ("/" if "/" in p else "") + "Copy (1 ) of " + os.path.basename(p) for p in everything}
    if files(whole.out) != everything | copies:
        problems.append("rename: %s" % sorted(files(whole.out) - everything - copies))
    before = {p: sha256_file(os.path.join(whole.out, *p.split("/"))) for p in files(whole.out)}
    skipped = Save(enginectl, image, source, whole.sandbox, ["--duplicates", "skip"], out=whole.out)
    problems += skipped.problems()
    if skipped.counts.get("saved") != 0 or {p: sha256_file(os.path.join(whole.out, *p.split("/"))) for p in files(whole.out)} != before:
        problems.append("skip changed the folder (%s)" % skipped.counts)
    overwritten = Save(enginectl, image, source, whole.sandbox, ["--duplicates", "overwrite"], out=whole.out)
    problems += overwritten.problems()
    if files(whole.out) != everything | copies or overwritten.counts.get("saved") != len(everything):
        problems.append("overwrite: %s" % overwritten.counts)
    return problems


# ---------------------------------------------------------------- the hostile volume

# Long names written by mtools, and what each becomes when patched (at most 13 characters: one long-name
# entry), with the safe name the saver must use.
HOSTILE = [
    ("dotdot dir", "..", "__"),
    ("dot dir", ".", "_"),
    ("nul dir", "NUL", "_NUL"),
    ("colon file", "a:b", "a_b"),
    ("con file", "CON", "_CON"),
    ("dotted file", "name.", "name_"),
    ("trail file", "trail ", "trail_"),
    ("escape file", "..\\..\\x", None),
]


def patch_long_name(image, old, new):
    """Rewrites the one long-name entry that holds old (13 characters at most) to hold new."""
    def slots(name):
        units = [ord(c) for c in name] + ([0] if len(name) < 13 else [])
        units += [0xFFFF] * (13 - len(units))
        return b"".join(u.to_bytes(2, "little") for u in units)

    def entry_chars(entry):
        return entry[1:11] + entry[14:26] + entry[28:32]

    data = bytearray(open(image, "rb").read())
    want = slots(old)
    hits = [i for i in range(0, len(data) - 31, 32) if data[i + 11] == 0x0F and entry_chars(data[i:i + 32]) == want]
    if len(hits) != 1:
        raise RuntimeError("long name %r found %d times" % (old, len(hits)))
    chars = slots(new)
    i = hits[0]
    data[i + 1:i + 11], data[i + 14:i + 26], data[i + 28:i + 32] = chars[0:10], chars[10:22], chars[22:26]
    open(image, "wb").write(bytes(data))


def build_hostile(work):
    """The hostile volume as a fixed VHD: (raw image, VHD, the deep folder's path, {saved path: bytes})."""
    raw = os.path.join(work, "hostile.raw")
    vhd = os.path.join(work, "hostile.fixed.vhd")
    if os.path.exists(raw):
        os.remove(raw)
    run = lambda *cmd: run_tool(list(cmd))
    contents = {}
    run("mkfs.fat", "-C", "--invariant", "--mbr=n", "-F", "16", "-s", "4", "-g", "255/63", "-h", "0", "-n", "HOSTILE",
        raw, 32768)

    def put(path, text):
        local = os.path.join(work, "content.bin")
        data = (text * 50).encode()
        open(local, "wb").write(data)
        run("mcopy", "-i", raw, local, "::" + path)
        contents[path] = data

    for placeholder, _, _ in HOSTILE:
        if placeholder.endswith("dir"):
            run("mmd", "-i", raw, "::/" + placeholder)
            put("/" + placeholder + "/inside file.txt", "inside " + placeholder)
        else:
            put("/" + placeholder, "file " + placeholder)
    deep = "/" + "/".join(c * 80 for c in "pqrs")
    for depth in range(1, 5):
        run("mmd", "-i", raw, "::" + deep[: 81 * depth])
    put(deep + "/" + "d" * 60 + ".txt", "deep")
    for placeholder, name, _ in HOSTILE:
        patch_long_name(raw, placeholder, name)
    run("qemu-img", "convert", "-f", "raw", "-O", "vpc", "-o", "subformat=fixed,force_size=on", raw, vhd)
    # Where each file must be saved: the patched names made safe.
    safe_of = {"/" + placeholder: "/" + safe for placeholder, _, safe in HOSTILE if safe is not None}
    saved = {}
    for path, data in contents.items():
        top = "/" + path.split("/")[1]
        if top in safe_of:
            saved[(safe_of[top] + path[len(top):])[1:]] = data
        elif top != "/escape file":
            saved[path[1:]] = data
    return raw, vhd, deep, saved


def check_hostile(enginectl, work):
    raw, vhd, deep, contents = build_hostile(work)
    sectors = os.path.getsize(raw) // 512
    save = Save(enginectl, vhd, ["--range", "100", "0", str(sectors)], os.path.join(work, "hostile"))
    problems = save.problems()
    saved = saved_tree(save.out)
    want = {path: "F" for path in contents}
    for placeholder, _, safe in HOSTILE:
        if placeholder.endswith("dir"):
            want[safe] = "D"
    for depth in range(1, 5):
        want[deep[1: 81 * depth]] = "D"
    if saved != want:
        problems.append("saved %s, expected %s" % (sorted(saved), sorted(want)))
    if max(len(os.path.join(save.out, path)) for path in contents) <= 300:
        problems.append("no saved path is longer than 300 characters")
    # Each file holds what was written to it; where TSK lists the file (it does not go into folders named
    # "." and ".."), that is also what icat gives.
    icat = {oracle.icat_sha256(raw, 0, e["addr"]) for e in oracle.fls(raw, 0) if not e["dir"]}
    for path, data in contents.items():
        full = os.path.join(save.out, *path.split("/"))
        if not os.path.isfile(full) or open(full, "rb").read() != data:
            problems.append("content of %s differs from what was written" % path)
        elif not path.startswith(("_/", "__/")) and hashlib.sha256(data).hexdigest() not in icat:
            problems.append("icat gives no file with the content of %s" % path)
    return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--enginectl", required=True)
    parser.add_argument("--images", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--only", nargs="*", default=[])
    args = parser.parse_args()
    os.makedirs(args.work, exist_ok=True)
    failed = cases = 0
    with concurrent.futures.ThreadPoolExecutor(4) as pool:
        for name in IMAGES:
            if args.only and name not in args.only:
                continue
            image = os.path.join(args.images, name)
            for n, (source, volume, manifest) in enumerate(sources(args.enginectl, args.images, name)):
                sandbox = os.path.join(args.work, "%s.%d" % (name, n))
                save = Save(args.enginectl, image, source, sandbox)
                problems, count = check_volume(save, volume, manifest, args.images, pool)
                if name in POLICY_IMAGES:
                    problems += check_policies(args.enginectl, image, source, volume, sandbox + ".policies")
                label = "%s at %d (%s, %d files)" % (name, volume["start"], volume["fs"], count)
                cases += 1
                failed += 1 if problems else 0
                print(("FAILED: " if problems else "ok: ") + label)
                for line in problems[:40]:
                    print("  " + line)
    if not args.only or "hostile" in args.only:
        problems = check_hostile(args.enginectl, args.work)
        cases += 1
        failed += 1 if problems else 0
        print(("FAILED: " if problems else "ok: ") + "hostile names")
        for line in problems[:40]:
            print("  " + line)
    print("%d cases, %d failed" % (cases, failed))
    return 1 if failed or not cases else 0


if __name__ == "__main__":
    sys.exit(main())
