#!/usr/bin/env python3
"""enginectl extensive --choose (and save --choose): the results tree of a file system that an Extensive Scan
found, read as page 3 reads it, against what The Sleuth Kit lists of that volume; and what saving from it
writes, against icat.

    chosen_test.py --enginectl PATH --images DIR --disks DIR --work DIR [--jobs N]

Volumes: every volume of the multi-partition disks (mbr_primary, mbr_extended); the bare NTFS volumes of 512-byte,
4 KiB and 64 KiB clusters; the two NTFS file systems of
make_chosen_disks.py's two_ntfs (same names, different sectors); the damage kit's FAT volumes whose boot
sector is cleared (the allocation tables are found by their F8 FF FF); dmg_fat16_boot_fat1 (boot sector and
first table cleared: only the second table is found, so the root is not read); an NTFS volume without any
boot sector (make_extensive_disks.py's mixed_noboot); dmg_ntfs_dirrec (a folder record zeroed); and
make_chosen_disks.py's own volumes: fat32_long_chains (a root and a folder whose chains run past a hundred
clusters), fat16_first_folder (its first folder at cluster 2), ntfs_lost_files (the zeroed record of a folder
that holds only files), ntfs_listed_data (a file whose name and data go on in records its attribute list
names) and ntfs_healthy (as mkntfs leaves a volume). Each is chosen by the first sector the Extensive Scan
gives it (FAT: the sector of cluster 0; NTFS: its first).

The trees are compared whole, after driver.py's normalisation (TSK's metafiles, orphans and streams
out; the engine's NTFS metafiles out; FAT names as oracle.py pairs them; empty FAT files out; "Lost Dir/Dir<n>"
of NTFS as "Lost Dir/Dir#"), and with what reading a found file system does on its own:

- FAT: "Lost Dir" is always there. A folder whose "." entry names cluster 2 (the first folder made on a FAT16
  volume) is a folder like any other.
- FAT whose root is not read: its files are not listed; its folders keep the names "Dir" + their cluster,
  not deleted (no entry names them).
- NTFS: "Lost Dir" is always there; the files of a zeroed folder record are under "Lost Dir/Dir#", the files
  fls lists as orphans among them.

On every NTFS volume the top folder lists each entry fls lists there once, the metafiles among them (the
records kept in the MFT's mirror are no files of their own). On two_ntfs, the rows the results list shows for a
folder (--list) hold only records of the chosen file system. Saving (whole tree ticked) writes every listed file at its place with icat's bytes. The NTFS volume
without a boot sector (its MFT sector unknown) is saved as a snapshot too: it loads over its image with the
same tree and saves the same files, and is refused over another image.
"""
import argparse
import concurrent.futures
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import driver  # noqa: E402
from driver import CODES, Save, chosen_tree, compare, damage_of, failure, load, run, scanned_entries  # noqa: E402
import oracle  # noqa: E402  (driver.py puts tools/images on the path)


MISMATCH = "Source file and load recovery snapshot mismatch"


class Case:
    """One volume of a disk: image, the scan's code and sectors, TSK's description of the volume (volume) and
    the raw file icat reads it from (raw, the volume at volume["start"]); at: where the volume lies on the
    scanned disk. root_read False: the Extensive Scan cannot read its root (FAT)."""

    def __init__(self, label, image, code, sectors, volume, raw, at, root_read=True, manifest=None, save=False,
                 snapshot=None):
        self.images = os.path.dirname(image)
        self.label, self.image, self.code, self.sectors = label, image, code, sectors
        self.volume, self.raw, self.at, self.root_read = volume, raw, at, root_read
        self.manifest = manifest or {"built": {}}
        self.save = save
        self.snapshot = snapshot  # another image, over which the snapshot of the scan must be refused
        self.fs = volume["fs"]

    def cluster_base(self):
        """The first sector the Extensive Scan gives the file system on the scanned disk."""
        return driver.cluster_base(self.volume, self.at)


def cases(images, disks, extensive):
    out = []
    for disk in ("mbr_primary", "mbr_extended"):
        manifest = load(os.path.join(images, disk + ".fixed.vhd.manifest.json"))
        sectors = manifest["virtual_disk"]["size"] // 512
        for v in manifest["volumes"]:
            if v.get("fs") in CODES:
                code = CODES["ntfs"] if v["fs"] == "ntfs" else CODES["fat16"]
                out.append(Case("%s at %d" % (disk, v["start"]), os.path.join(images, disk + ".fixed.vhd"), code,
                                sectors, v, os.path.join(images, disk + ".raw"), v["start"], manifest=manifest,
                                save=True))
    # The bare NTFS volumes of three cluster sizes (the 64 KiB one's mirror holds 64 records).
    for name in ("ntfs_512", "ntfs_4k", "ntfs_64k"):
        manifest = load(os.path.join(images, name + ".fixed.vhd.manifest.json"))
        v = manifest["volumes"][0]
        out.append(Case(name, os.path.join(images, name + ".fixed.vhd"), CODES["ntfs"],
                        manifest["virtual_disk"]["size"] // 512, v, os.path.join(images, name + ".raw"), 0,
                        manifest=manifest, save=True))
    for name, start, volume in (line.split("\t") for line in open(os.path.join(disks, "disks.tsv")).read().splitlines()):
        v = load(os.path.join(images, volume + ".manifest.json"))["volumes"][0]
        raw = os.path.join(disks, name + ".raw")
        code = CODES["ntfs"] if v["fs"] == "ntfs" else CODES["fat16"]
        out.append(Case("%s at %s" % (name, start), os.path.join(disks, name + ".fixed.vhd"), code,
                        os.path.getsize(raw) // 512, v, os.path.join(images, volume), int(start),
                        save=name == "two_ntfs" and start != "2048"))
    # The damage kit: the FAT volumes without a boot sector as their intact volumes list them.
    for name, code in (("dmg_fat16_boot", 100), ("dmg_fat32_boot", 200), ("dmg_ntfs_dirrec", 300)):
        manifest = load(os.path.join(images, name + ".fixed.vhd.manifest.json"))
        damage = damage_of(images, manifest)
        intact = load(os.path.join(images, damage["intact"] + ".manifest.json"))["volumes"][0]
        volume, raw = (manifest["volumes"][0], os.path.join(images, name + ".raw")) if code == 300 else \
            (intact, os.path.join(images, damage["intact"]))
        out.append(Case(name, os.path.join(images, name + ".fixed.vhd"), code, manifest["virtual_disk"]["size"] // 512,
                        volume, raw, damage["volume_start"], manifest=manifest, save=code != 300))
    # make_chosen_disks.py's own bare volumes, as TSK lists them (own.json).
    for own in load(os.path.join(disks, "own.json")):
        raw = os.path.join(disks, own["name"] + ".raw")
        has_files = any(not e["dir"] for e in oracle.user_entries(own["volume"]))
        out.append(Case(own["name"], os.path.join(disks, own["name"] + ".fixed.vhd"), own["code"],
                        os.path.getsize(raw) // 512, own["volume"], raw, 0, manifest={"built": own["built"]},
                        save=has_files))
    # Two NTFS volumes one after the other (two cluster sizes; one cluster size; one layout twice), the boot
    # sectors of one or both zeroed (pairs.json): each lists and saves what TSK lists of its own bare volume,
    # nothing of the other.
    for pair in load(os.path.join(disks, "pairs.json")):
        for v in pair["volumes"]:
            out.append(Case("%s at %d" % (pair["name"], v["at"]), os.path.join(disks, pair["name"] + ".fixed.vhd"), 300,
                            pair["sectors"], v["volume"], v["raw"], v["at"], save=True))
    # NTFS without any boot sector, as TSK lists the same volume on the disk that still has its boot sector.
    mixed = os.path.join(extensive, "mixed.raw")
    volume = oracle.describe_volume(mixed, 2048)
    out.append(Case("mixed_noboot at 2048", os.path.join(extensive, "mixed_noboot.fixed.vhd"), 300,
                    os.path.getsize(mixed) // 512, volume, mixed, 2048, save=True,
                    snapshot=os.path.join(images, "mbr_primary.fixed.vhd")))
    return out


def expected_tree(case):
    return chosen_tree(case.images, case.manifest, case.volume, case.root_read)


# ---------------------------------------------------------------- running

def choose(args, case):
    """The number the Extensive Scan gives the case's file system, or None."""
    proc = run(args.enginectl, "extensive", case.image, "--range", case.code, 0, case.sectors)
    for line in proc.stdout.decode().splitlines():
        k, _, _, first, _ = line.split("\t")
        if int(first) == case.cluster_base():
            return k
    return None


def snapshot_path(args, case):
    return os.path.join(args.work, case.label.replace(" ", "_") + ".vsnp")


def check_tree(args, case, k):
    """The tree against TSK's; with case.snapshot, the snapshot saved after the scan loads over the image with
    the same tree, and is refused over another image."""
    extra = []
    if case.snapshot:
        extra = ["--snapshot-save", snapshot_path(args, case)]
        if os.path.exists(extra[1]):
            os.remove(extra[1])
    proc = run(args.enginectl, "extensive", case.image, "--range", case.code, 0, case.sectors, "--choose", k, *extra)
    if proc.returncode != 0:
        return [failure(proc)]
    got = scanned_entries(proc.stdout.decode("utf-8"), case.fs)
    problems = compare(case.fs, [e for _, e in expected_tree(case)], got)
    if case.snapshot:
        loaded = run(args.enginectl, "snapshot-load", extra[1], "--image", case.image)
        if loaded.returncode != 0 or loaded.stdout != proc.stdout:
            problems.append("the snapshot loads as %s" % (failure(loaded) if loaded.returncode else "another tree"))
        refused = run(args.enginectl, "snapshot-load", extra[1], "--image", case.snapshot)
        if refused.returncode != 1 or MISMATCH not in refused.stderr.decode("utf-8"):
            problems.append("the snapshot is not refused over %s: %s" % (case.snapshot, failure(refused)))
    return problems


def check_root_once(args, case, k):
    """NTFS: the top folder lists each of the entries fls lists there once, metafiles among them: a record found
    in the MFT's mirror is the same file as the MFT's own."""
    proc = run(args.enginectl, "extensive", case.image, "--range", case.code, 0, case.sectors, "--choose", k)
    got = sorted(line.split("\t", 3)[3][1:] for line in proc.stdout.decode("utf-8").splitlines()
                 if line.count("/") == 1 and line.split("\t", 3)[3] != "/" + driver.LOST_DIR)
    # A folder whose record was zeroed TSK still lists from its parent's index; its record is gone.
    zeroed = (damage_of(case.images, case.manifest) or {}).get("folder")
    expected = sorted(e["path"] for e in case.volume["entries"]
                      if "/" not in e["path"] and not e["stream"] and not e["orphan"] and e["name"] != "$OrphanFiles"
                      and e["path"] != zeroed)
    if got == expected:
        return []
    extra = sorted(set(got) - set(expected)) + [p for p in set(got) if got.count(p) > 1]
    return ["the top folder lists %s more and %s fewer than fls" % (extra, sorted(set(expected) - set(got)))]


def check_list_ids(args, case, k):
    """Every file row of the listed folders names a record sector inside the chosen volume."""
    problems = []
    last = case.at + int(case.volume["fsstat"]["Total Sector Range"].split(" - ")[1])
    for folder in ("/", "/Documents", "/Documents/Reports"):
        proc = run(args.enginectl, "extensive", case.image, "--range", case.code, 0, case.sectors, "--choose", k,
                   "--list", folder)
        rows = [r.split("\t") for r in proc.stdout.decode("utf-8").splitlines()]
        files = [r for r in rows if not r[1].endswith("Folder") and r[0] != "Parent..."]
        if proc.returncode != 0 or not files:
            problems.append("--list %s: status %d, %d files" % (folder, proc.returncode, len(files)))
        for r in files:
            if not case.at < int(r[5]) <= last:
                problems.append("--list %s: %s at sector %s, outside %d..%d" % (folder, r[0], r[5], case.at, last))
    return problems


def orphan_problems(case):
    """Every file fls lists as an orphan by its name must be among the files of the zeroed folder record that the
    tree shows under "Lost Dir" (TSK lists only the deleted ones there; the live ones it no longer lists at all)."""
    damage = damage_of(case.images, case.manifest) or {}
    lost = {e["inode"]: e for e in damage.get("lost", [])}
    problems = []
    for e in case.volume.get("entries", []):
        if not e["orphan"] or e["dir"] or re.fullmatch(r"OrphanFile-\d+", e["name"]):
            continue
        mine = lost.get(e["inode"])
        if mine is None or mine["path"].rsplit("/", 1)[-1] != e["name"] or mine["size"] != e["size"]:
            problems.append("fls's orphan %s (record %d) is not one of the lost files" % (e["name"], e["inode"]))
    return problems


def check_save(args, case, k):
    """Saving the whole tree after the scan (and after loading its snapshot) against icat."""
    sources = [("", ["--range", str(case.code), "0", str(case.sectors)], ["--choose", k])]
    if case.snapshot:
        sources.append((" from the snapshot", ["--snapshot", snapshot_path(args, case)], []))
    expected = [(tsk, e.path) for tsk, e in expected_tree(case) if tsk is not None and not e.folder]
    problems = [] if expected else ["no file to save"]
    for what, source, extra in sources:
        sandbox = os.path.join(args.work, case.label.replace(" ", "_") + what.replace(" ", "_"))
        save = Save(args.enginectl, case.image, source, sandbox, extra)
        problems += [line + what for line in
                     driver.check_save(save, expected, case.raw, case.volume["start"], case.fs != "ntfs")]
    return problems


def run_case(args, case):
    k = choose(args, case)
    if k is None:
        return ["the Extensive Scan found no file system at %d" % case.cluster_base()]
    problems = check_tree(args, case, k) + orphan_problems(case)
    if case.fs == "ntfs":
        problems += check_root_once(args, case, k)
    if case.label.startswith("two_ntfs"):
        problems += check_list_ids(args, case, k)
    if case.save:
        problems += check_save(args, case, k)
    return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--enginectl", required=True)
    parser.add_argument("--images", required=True)
    parser.add_argument("--disks", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--jobs", type=int, default=4)
    args = parser.parse_args()
    extensive = os.path.join(os.path.dirname(os.path.abspath(args.disks)), "extensive")
    todo = cases(args.images, args.disks, extensive)
    failed = 0
    with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
        for case, problems in zip(todo, pool.map(lambda c: run_case(args, c), todo)):
            if problems:
                failed += 1
                print("FAILED: %s (%s)" % (case.label, case.fs))
                for line in problems[:40]:
                    print("  " + line)
            else:
                print("ok: %s (%s)" % (case.label, case.fs))
    print("%d volumes, %d failed" % (len(todo), failed))
    return 1 if failed or not todo else 0


if __name__ == "__main__":
    sys.exit(main())
