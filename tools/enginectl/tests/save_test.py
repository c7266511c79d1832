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
- time stamps: a file's last write and last access times are those TSK reads on the volume (FAT: the directory
  entry's write date and time, and its access date; NTFS: the standard information's), a few files' times of
  their own among them (tools/images/fat.py and ntfs.py: TIMES);
- the driver reports every file saved and none unreadable, but the deleted FAT files whose clusters are in use
  again (driver.fat_file_reused);
- the policies, on one FAT and one NTFS volume: "--deleted only" saves the deleted files alone,
  "--deleted exclude" the live ones; "--filter" keeps the names it matches; saving again renames every
  file to "Copy (1 ) of NAME", "--duplicates skip" leaves the folder as it was, "--duplicates overwrite"
  replaces files without copies.

The hostile volume (mkfs.fat and mtools, then long names patched in place): folders named "..", "." and
"NUL", files named "a:b", "CON", "name.", "trail " and "..\\..\\x" (which the directory parser refuses),
and a path of more than 300 characters. Nothing may be written outside the chosen folder; each file is
saved under its safe name with icat's bytes.

The shadowed volume (mkfs.fat and mtools): a file deleted in a folder, and a live folder renamed to its name. The
folder is saved under the name with its file, the deleted file beside it as "Copy (1 ) of" the name, each with
icat's bytes, and no question is asked.
"""
import argparse
import concurrent.futures
import hashlib
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from driver import CODES, Save, check_save, expected_files, fat_file_reused, find_saved, load, partition_starts, \
    saved_tree, sha256_file  # noqa: E402
import oracle  # noqa: E402  (driver.py puts tools/images on the path)
from util import run as run_tool  # noqa: E402

# Bare volumes (saved with --range) and a disk with a partition table (saved with --partition).
IMAGES = ["fat16.fixed.vhd", "fat32.fixed.vhd", "fat32_512.fixed.vhd", "ntfs_512.fixed.vhd", "ntfs_4k.fixed.vhd",
          "ntfs_64k.fixed.vhd", "mbr_primary.fixed.vhd"]
POLICY_IMAGES = ["fat16.fixed.vhd", "ntfs_4k.fixed.vhd"]


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
                starts = partition_starts(enginectl, os.path.join(images, name))
            yield ["--partition", str(starts.index(volume["start"]))], volume, manifest
        else:
            raw = os.path.join(images, manifest["built"]["source"])
            sectors = os.path.getsize(raw) // 512 - volume["start"]
            yield ["--range", str(CODES[volume["fs"]]), str(volume["start"]), str(sectors)], volume, manifest


def check_volume(save, volume, manifest, images, pool):
    raw = os.path.join(images, manifest["built"]["source"])
    folders, files = expected_files(volume)
    expected = [(e, e["path"]) for e in folders + files]
    return check_save(save, expected, raw, volume["start"], volume["fs"] != "ntfs", times="access",
                      pool=pool), len(files)


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


def check_policies(enginectl, image, source, volume, raw, work):
    """--deleted, --filter and --duplicates. raw: the volume's raw file; its deleted files whose clusters are in use
    again (driver.fat_file_reused) are counted damaged in every save that writes them."""
    problems = []
    files = lambda out: {p for p, kind in saved_tree(out).items() if kind == "F"}
    reused = [e for e in expected_files(volume)[1] if volume["fs"] != "ntfs" and fat_file_reused(raw, volume["start"], e)]
    # The status of a save whose filters let through the names that match `kept`.
    status = lambda kept=lambda name: True: 3 if any(kept(e["name"]) for e in reused) else 0
    whole = Save(enginectl, image, source, os.path.join(work, "whole"))
    everything = files(whole.out)
    deleted, live = deleted_paths(whole.out, volume)
    if not deleted or not live:
        problems.append("the volume needs live and deleted files")
    only = Save(enginectl, image, source, os.path.join(work, "only"), ["--deleted", "only"])
    excluded = Save(enginectl, image, source, os.path.join(work, "exclude"), ["--deleted", "exclude"])
    problems += only.problems(status()) + excluded.problems()
    if not deleted <= files(only.out) or files(only.out) & live:
        problems.append("--deleted only saved %s" % sorted(files(only.out)))
    if not live <= files(excluded.out) or files(excluded.out) & deleted:
        problems.append("--deleted exclude saved %s" % sorted(files(excluded.out)))
    filtered = Save(enginectl, image, source, os.path.join(work, "filter"), ["--filter", "*.TXT", "--filter", "*.bin"])
    problems += filtered.problems(status(lambda name: name.upper().endswith((".TXT", ".BIN"))))
    want = {p for p in everything if p.upper().endswith(".TXT") or p.upper().endswith(".BIN")}
    if files(filtered.out) != want or not want:
        problems.append("--filter saved %s, expected %s" % (sorted(files(filtered.out)), sorted(want)))
    # Saving again into the same folder: every file once more as "Copy (1 ) of NAME".
    again = Save(enginectl, image, source, whole.sandbox, out=whole.out)
    problems += again.problems(status())
    copies = {os.path.dirname(p) + ("/" if "/" in p else "") + "Copy (1 ) of " + os.path.basename(p) for p in everything}
    if files(whole.out) != everything | copies:
        problems.append("rename: %s" % sorted(files(whole.out) - everything - copies))
    before = {p: sha256_file(os.path.join(whole.out, *p.split("/"))) for p in files(whole.out)}
    skipped = Save(enginectl, image, source, whole.sandbox, ["--duplicates", "skip"], out=whole.out)
    problems += skipped.problems()
    if skipped.counts.get("saved") != 0 or {p: sha256_file(os.path.join(whole.out, *p.split("/"))) for p in files(whole.out)} != before:
        problems.append("skip changed the folder (%s)" % skipped.counts)
    overwritten = Save(enginectl, image, source, whole.sandbox, ["--duplicates", "overwrite"], out=whole.out)
    problems += overwritten.problems(status())
    if files(whole.out) != everything | copies or overwritten.counts.get("saved") != len(everything):
        problems.append("overwrite: %s" % overwritten.counts)
    return problems


# ---------------------------------------------------------------- the hostile volume

# Long names written by mtools, and what each becomes when patched (at most 13 characters: one long-name
# entry), with the safe name the saver must use (a long name no file may have gives way to the short name mtools
# wrote).
HOSTILE = [
    ("dotdot dir", "..", "__"),
    ("dot dir", ".", "_"),
    ("nul dir", "NUL", "_NUL"),
    ("colon file", "a:b", "a_b"),
    ("con file", "CON", "_CON"),
    ("dotted file", "name.", "name_"),
    ("trail file", "trail ", "trail_"),
    ("escape file", "..\\..\\x", "ESCAPE~1"),
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
    safe_of = {"/" + placeholder: "/" + safe for placeholder, _, safe in HOSTILE}
    saved = {}
    for path, data in contents.items():
        top = "/" + path.split("/")[1]
        saved[(safe_of.get(top, top) + path[len(top):])[1:]] = data
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


def check_shadowed(enginectl, work):
    """The shadowed volume saved whole: the live folder keeps the name, the deleted file takes a copy's name."""
    raw, vhd = os.path.join(work, "shadowed.raw"), os.path.join(work, "shadowed.fixed.vhd")
    for path in (raw, vhd):
        if os.path.exists(path):
            os.remove(path)
    run_tool(["mkfs.fat", "-C", "--invariant", "--mbr=n", "-F", "16", "-s", "4", "-n", "SHADOWED", raw, "16384"])
    local = os.path.join(work, "content.bin")
    contents = {}
    for folder in ("/Docs", "/Docs/Other folder"):
        run_tool(["mmd", "-i", raw, "::" + folder])
    for path, text in (("/Docs/Other folder/inside.txt", "inside"), ("/Docs/Report notes", "deleted"),
                       ("/Docs/after.txt", "after")):
        contents[path] = (text + " bytes\n") * 60
        open(local, "w").write(contents[path])
        run_tool(["mcopy", "-i", raw, local, "::" + path])
    # The folder renamed after the file's deletion takes its name, not its directory entries (the name's slots
    # are found where the folder's old name was).
    run_tool(["mdel", "-i", raw, "::/Docs/Report notes"])
    run_tool(["mren", "-i", raw, "::/Docs/Other folder", "::/Docs/Report notes"])
    run_tool(["qemu-img", "convert", "-f", "raw", "-O", "vpc", "-o", "subformat=fixed,force_size=on", raw, vhd])
    save = Save(enginectl, vhd, ["--range", "100", "0", "16384"], os.path.join(work, "shadowed"))
    problems = save.problems()
    want = {"Docs": "D", "Docs/Report notes": "D", "Docs/Report notes/inside.txt": "F",
            "Docs/Copy (1 ) of Report notes": "F", "Docs/after.txt": "F"}
    saved = saved_tree(save.out)
    if saved != want:
        problems.append("saved %s, expected %s" % (sorted(saved), sorted(want)))
    icat = {oracle.icat_sha256(raw, 0, e["addr"]) for e in oracle.fls(raw, 0) if not e["dir"]}
    for path, source in (("Docs/Report notes/inside.txt", "/Docs/Other folder/inside.txt"),
                         ("Docs/Copy (1 ) of Report notes", "/Docs/Report notes")):
        digest = hashlib.sha256(contents[source].encode()).hexdigest()
        if digest not in icat or not os.path.isfile(os.path.join(save.out, *path.split("/"))) or \
                sha256_file(os.path.join(save.out, *path.split("/"))) != digest:
            problems.append("%s does not hold icat's bytes of %s" % (path, source))
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
                    raw = os.path.join(args.images, manifest["built"]["source"])
                    problems += check_policies(args.enginectl, image, source, volume, raw, sandbox + ".policies")
                label = "%s at %d (%s, %d files)" % (name, volume["start"], volume["fs"], count)
                cases += 1
                failed += 1 if problems else 0
                print(("FAILED: " if problems else "ok: ") + label)
                for line in problems[:40]:
                    print("  " + line)
    for name, check, label in (("hostile", check_hostile, "hostile names"),
                               ("shadowed", check_shadowed, "a deleted file shadowed by a live folder")):
        if args.only and name not in args.only:
            continue
        problems = check(args.enginectl, args.work)
        cases += 1
        failed += 1 if problems else 0
        print(("FAILED: " if problems else "ok: ") + label)
        for line in problems[:40]:
            print("  " + line)
    print("%d cases, %d failed" % (cases, failed))
    return 1 if failed or not cases else 0


if __name__ == "__main__":
    sys.exit(main())
