#!/usr/bin/env python3
"""The engine against The Sleuth Kit on random volume histories (tools/images/history.py): every seed makes a
FAT16, FAT32 or NTFS volume with the real tools and a random history, and the engine's results tree and saved
files are compared with what fls and icat give of the same volume.

    diff_test.py --enginectl PATH --ntfs-helper PATH --work DIR (--seeds FIRST-LAST[,...] | --pinned | --faults)
                 [--jobs N] [--kind KIND] [--cases quick,extensive,pair,bare-pair]

For each seed:
- quick: the volume alone, Quick Scan (enginectl quick --range) and the whole tree saved (enginectl save);
- extensive: the volume with its boot sector (and backup: FAT32 at +6, NTFS in its last sector) zeroed, an
  Extensive Scan of it, the file system found at the volume's place read (--choose) and saved;
- pair: a disk with the volume and a partner volume (the history of another seed, of a kind drawn from this seed)
  behind an MBR: a Quick Scan of each partition (--partition N), and an Extensive Scan of the disk with the file
  system found at each volume's place read and saved;
- bare-pair: the same two volumes without a table, every boot sector (and backup) zeroed: an Extensive Scan of the
  disk with each volume's own file-system code, the file system at its place read and saved;
- damaged: the volume with one file of each shape of tools/images/damage.py (chains cut short and run on, sizes
  inflated, a first cluster at the volume's last, NTFS runs past the end, valid data lengths cut), before the
  partner volume behind an MBR: a Quick Scan of its partition and the whole tree saved. Only the save's oracle
  below is asked of it (TSK describes the damaged volume).

Every save is audited (enginectl save --audit): every sector it reads lies inside the volume of its files, and every
file it counts saved whole, at the path of a file this test compares, holds icat's bytes of that file, read whole
by icat (at its listed size); a file it cannot read whole must be counted damaged, never saved with other bytes.
A deleted FAT file contested only by TSK's orphans (entries of a folder whose first cluster was written over, which
no folder leads a reader to) whose bytes icat gives as the history deleted them may be counted either way.

What must agree (TSK's listing normalised as tools/enginectl/tests/driver.py says; "Lost Dir" and the Extensive
Scan's placing of FAT folders as driver.chosen_tree says):
- every entry fls lists as live: the engine lists it at the same path, live, with the same size (files), and
  saves icat's bytes there;
- every deleted file TSK recovers whole, and each deleted folder above one: listed at the same path, deleted, with
  the same size, and saved with icat's bytes. TSK recovers a deleted file whole when it lists it under its own
  name (fls's "_" for the first letter of a deleted FAT short name allowed), not as reallocated, and icat's bytes
  are byte for byte a version of a file of that name and size that the history deleted (or, on FAT, rewrote
  whole when it grew); on FAT also only when those bytes lie in consecutive clusters. Both readers guess where a
  deleted FAT file's clusters after the first lie: the engine takes the consecutive clusters, TSK the next
  clusters not in use, so a file laid around clusters in use is TSK's guess alone. A deleted file TSK gives other
  bytes of (its clusters reused, or a fragmented FAT file) is compared neither way;
- nothing else the engine lists is live, except what only the engine looks for: "Lost Dir" and the folders under
  it, and after an Extensive Scan a FAT folder that no directory entry names ("Dir" + its cluster).
Left out on both sides, with what TSK lists below them when they are deleted folders:
- deleted FAT folders whose cluster another entry of the same folder names too (ambiguous_folders): renamed in
  place and then deleted, they had either name last;
- deleted FAT folders whose entry a move left behind in the old parent, when the folder's own ".." names another
  deleted entry of it (moved_folders): the engine lists a folder once, under the entry in the folder its ".."
  names; TSK lists it under both;
- after an Extensive Scan, deleted FAT folders that it finds elsewhere than TSK (misplaced_folders): it files a
  folder under the folder its ".." names, TSK under an entry a move left behind;
- what TSK cannot be an oracle for (unreadable_by_tsk): an index entry whose record TSK does not find, which it
  lists as live ("r/-");
- NTFS entries that only a freed index record still holds (stale_index_entries), with what TSK lists below them:
  TSK lists the entries of an index record the index's bitmap marks free as live, so a file moved out of a folder
  whose index then shrank back into its root is listed under both folders, and a file deleted there is listed as
  live; the engine lists a file where its record's file-name attribute puts it, deleted when its record is free.
Saved files are found by their path; where a folder holds two files of one name (a live file and a deleted one,
say), the saver writes "Copy (n ) of NAME" beside NAME, and any of those may hold the bytes; of a live and a deleted
folder of one name it makes the deleted one as "Copy (n ) of" the name, where the deleted entries below it are found.

An Extensive Scan case is not applicable ("n/a") to a volume with too few folders to find its file system by
(geometry_folders): a FAT16 or FAT32 boot sector is enough, an NTFS one's geometry must place one folder, and
without a boot sector two are needed. An NTFS volume followed by one that cannot be found is checked: it reaches
to the range's end, and its MFT's map tells its records from the other volume's. A FAT12 volume in a primary
partition of type 1 is not listed as a partition (only the Extensive Scan reads it there).

From seed 2000 on, a seed also draws its partner's shape (normal, small, or nearly empty: no folder and a few
files at most) and whether the partner lies before or after its volume (history.py's shapes); the seeds of the
kinds history.py added (fat12, fat16big, fat32huge, fat16dirs) bring FAT12, clusters of 32 and 64 KiB, FAT32 of
two million clusters and folders of more than 100 clusters.

Before the engine is compared, the history itself is checked against TSK: every file the history left on the
volume is listed live with the history's bytes. A difference there is the generator's (or TSK's), not the
engine's.

A failure prints the seed and the command that replays its volume, and leaves the seed's volumes and disks
in WORK/<kind>-<seed>/ (a seed whose cases all pass leaves nothing); a FAT failure notes the folders whose cluster
a deleted entry in another folder names too. --pinned runs the PINNED table: seeds whose histories once showed a mismatch,
each kept as a fixed case; a row that names a fault is skipped with that fault's name until the fault is fixed.
--faults runs every pinned row, those that name a fault too (to see whether a fix holds).
"""
import argparse
import concurrent.futures
import functools
import json
import os
import random
import re
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import driver  # noqa: E402
from driver import (CODES, LOST_DIR, chosen_tree, compare, expected_tree, lost_dir_key, run, saved_tree,  # noqa: E402
                    scanned_entries)
import damage  # noqa: E402  (driver.py puts tools/images on the path)
import disks  # noqa: E402
import history  # noqa: E402
import oracle  # noqa: E402
import vhd  # noqa: E402
from util import SECTOR, copy_sparse, fresh_dir, make_sparse, sha256_file  # noqa: E402

CASES = ("quick", "extensive", "pair", "bare-pair", "damaged")
# The result of an Extensive Scan case whose volume holds too few folders for a file system to be found by.
NOT_APPLICABLE = None
PARTITION_TYPES = {"fat12": 0x01, "fat16": 0x06, "fat32": 0x0C, "ntfs": 0x07}
PARTNER_OFFSET = 1000000  # the partner volume of seed s is the history of seed s + PARTNER_OFFSET
ALIGN = 2048
ROOT_RECORD = 5

# Seeds kept as fixed cases: (seed, kind, case, fault). fault None: the case must pass; otherwise the case is skipped
# with the fault's name until its fix is in.
PINNED = [
    # The allocation tables of a volume at sector 0 lay below the sector their search began at: the root was not
    # read and files were saved as consecutive clusters.
    (8, "fat16", "extensive", None),
    # And a folder renamed in place: its old, deleted entry named the folder after the live one.
    (1, "fat32", "extensive", None),
    (4, "fat16", "pair", None),
    # A folder deleted and made again under one name: the live one took the deleted one's MFT number and was
    # dropped.
    (153, "fat32", "pair", None),
    # A live folder and a deleted entry named one cluster (a folder moved or renamed): Quick Scan named the folder
    # after the entry met first and kept that entry's parent and deleted mark.
    (5, "fat32", "quick", None),
    (80, "fat16", "quick", None),
    # Two deleted entries in two folders named one folder's cluster (a folder moved, then deleted): it was filed
    # under the entry met first, not under the folder its own ".." names.
    (44, "fat16", "pair", None),
    (589, "fat32", "quick", None),
    # A folder whose name lies in an extension record (renamed when its index root filled its record): after an
    # Extensive Scan the extension record was listed as a file of 0 bytes and the folder was lost.
    (47, "ntfs4k", "extensive", None),
    (359, "ntfs512", "extensive", None),
    (720, "ntfs4k", "bare-pair", None),
    # A file moved out of a folder whose index then shrank back into its root: TSK lists it in both folders, from
    # the freed index record too.
    (670, "ntfs512", "quick", None),
    # And a file deleted in such a folder: TSK lists it as live, its record free.
    (1530, "ntfs512", "pair", None),
    # Two NTFS volumes of one cluster size without boot sectors: the first took the second's files.
    (50, "ntfs512", "bare-pair", None),
    (215, "ntfs4k", "bare-pair", None),
    # Damaged files read past their volume (a live FAT file claiming 200,000,000 bytes over its chain, a first
    # cluster at the volume's last, an NTFS run past the end) and saved whole with other bytes (a FAT chain cut
    # short or run on read as contiguous clusters, bytes past an NTFS valid data length read from the disk).
    (1, "fat32", "damaged", None),
    (2, "ntfs512", "damaged", None),
    (3, "ntfs4k", "damaged", None),
    (4, "fat16", "damaged", None),
    # The damage of a FAT12 volume, its table's entries a byte and a half, saved from a partition of the small FAT16
    # type (a primary partition of type 1 is not listed).
    (2204, "fat12", "damaged", None),
    # Two deleted NTFS files of one name, one listed by TSK in the folder, the other among its orphans: the engine
    # saves both in the folder, one as "Copy (1 ) of" the name, and the audit may not take it for the first.
    (450, "ntfs512", "quick", None),
    # An NTFS volume without boot sectors before one that cannot be found (a small or nearly empty partner) took
    # that volume's records as its own, and saved some with other bytes.
    (2458, "ntfs512", "bare-pair", None),
    (2810, "ntfs512", "bare-pair", None),
    # A FAT12 volume was read with 16-bit table entries (alone, and as the partner of an NTFS and a FAT16 volume).
    (2004, "fat12", "quick", None),
    (2002, "ntfs512", "bare-pair", None),
    (2007, "fat16dirs", "pair", None),
    # The allocation tables of a rebuilt volume: FAT32 tables longer than the 30,000 sectors searched, FAT16
    # tables of 32 and 64 KiB clusters at or above the sector of cluster 0 (alone, and as an NTFS volume's partner).
    (2006, "fat32huge", "extensive", None),
    (2013, "fat16big", "extensive", None),
    (2003, "ntfs4k", "bare-pair", None),
    # A table sector of end-of-chain entries only (a folder of small files written in a row) begins like a table in
    # each copy, one table length apart: a FAT16 volume without its boot sector was read along such a false pair
    # (this too at 2013, since its volumes end with such a folder).
    (2000, "fat16", "extensive", None),
    (2000, "fat16", "bare-pair", None),
    (2007, "fat16dirs", "extensive", None),
    (2007, "fat16dirs", "bare-pair", None),
    (2013, "fat16big", "bare-pair", None),
    (2021, "fat16big", "extensive", None),
    (2021, "fat16big", "bare-pair", None),
    (2023, "fat16dirs", "extensive", None),
    (2023, "fat16dirs", "bare-pair", None),
    # A FAT12 partner in a partition table: its boot sector is no candidate, so it is found by two folders or not
    # at all (the test asked for one).
    (2123, "ntfs4k", "pair", None),
    # TSK gave an inflated entry's long name to the next entry (a deleted file whose clusters are in use again, a
    # file whose chain was cut): the file counted damaged was not found under its own name.
    (45, "fat32", "damaged", None),
    (48, "fat16", "damaged", None),
    # A FAT12 volume without boot sectors before a partner of no folder, the partner's root folder on the volume's
    # cluster grid inside what its tables number: the root's files were listed under "Lost Dir" and saved from the
    # volume's own clusters.
    (9012, "fat12", "pair", None),
    (9012, "fat12", "bare-pair", None),
    # And before a small FAT16 partner (a folder, a few files), its root right after its second table copy: the
    # root's files were listed under the FAT12 volume's "Lost Dir" and counted damaged.
    (9132, "fat12", "bare-pair", None),
    # A deleted FAT32 folder made again under its name, its first cluster taken, its later clusters' entries TSK's
    # orphans: files written over their clusters later and deleted are intact by the history, though the orphans
    # contest them (seed 9020's partner).
    (1009020, "fat32huge", "quick", None),
    # And a FAT16 folder of more than 100 clusters removed with what it held, its first cluster taken by a folder
    # made later: files written over its later clusters and deleted are intact by the history.
    (9095, "fat16dirs", "quick", None),
    # A live and a deleted NTFS folder of one name: the deleted one is saved as "Copy (1 ) of" the name.
    (9027, "ntfs4k", "quick", None),
    # A deleted FAT file written on both sides of a folder's cluster, the folder removed since and its own entry written
    # over (found only by its "." entry): read as consecutive clusters it reads the folder's entries, and is damaged
    # though nothing gives its clusters out again (FAT32 of one-sector clusters; FAT16 folder of a removed folder).
    (9177, "fat32", "bare-pair", None),
    (9135, "fat16dirs", "bare-pair", None),
]


def replay_hint(seed, kind):
    return "python3 tools/images/history.py --seed %d --kind %s --out DIR" % (seed, kind)


# ---------------------------------------------------------------- volumes and disks

class Volume:
    """A history's volume (the raw file, from sector 0) with TSK's description of it."""

    def __init__(self, record, description):
        self.record, self.description = record, description
        self.seed, self.kind, self.fs = record["seed"], record["kind"], record["fs"]
        self.raw, self.sectors, self.code = record["image"], record["sectors"], record["code"]
        self.label = "%s-%d" % (self.kind, self.seed)
        self._must = None

    def must(self):
        """must_be_damaged of the volume as built (made once)."""
        if self._must is None:
            self._must = must_be_damaged(self)
        return self._must

    def at(self, start):
        """TSK's description of the volume placed at sector start of a disk (its runs moved there)."""
        moved = json.loads(json.dumps(self.description))
        moved["start"] = start
        for e in moved.get("entries", []):
            for r in e.get("runs") or []:
                r[0] += start
        for r in moved.get("root_runs", []):
            r[0] += start
        return moved


def make_vhd(raw, image):
    """A fixed VHD of the raw file: its bytes and a footer."""
    copy_sparse(raw, image)
    size = os.path.getsize(raw)
    with open(image, "ab") as f:
        f.write(vhd.make_footer(size, vhd.FIXED, vhd.unique_id(os.path.basename(image)), 0xFFFFFFFFFFFFFFFF))
    return image


def zero_boot_sectors(disk, fs, start, sectors):
    """Zeroes a volume's boot sector and its backup (FAT32 six sectors on, NTFS in the volume's last sector)."""
    disks.zero_sectors(disk, start, 1)
    if fs == "fat32":
        disks.zero_sectors(disk, start + 6, 1)
    if fs == "ntfs":
        disks.zero_sectors(disk, start + sectors - 1, 1)


def align(n):
    return -(-n // ALIGN) * ALIGN


def place(disk, volume, start):
    """Copies the volume into the disk at start, with its hidden sectors set as a partitioning tool sets them."""
    disks.place_volume(disk, os.path.dirname(volume.raw), os.path.basename(volume.raw), start)


def compose_pair(path, first, second, table, wiped, types=None):
    """A disk holding both volumes, the second after the first, their partitions of the types their file systems
    take (or those types names for them); returns (image, [(volume, start)])."""
    types = dict(PARTITION_TYPES, **(types or {}))
    starts = [ALIGN, align(ALIGN + first.sectors)]
    total = starts[1] + second.sectors + ALIGN
    make_sparse(path, total * SECTOR)
    placed = list(zip((first, second), starts))
    for v, start in placed:
        place(path, v, start)
    if table:
        disks.write_table(path, 0x5EED0000 + first.seed % 0x10000,
                          [{"start": s, "size": v.sectors, "type": types[v.fs]} for v, s in placed])
    if wiped:
        for v, s in placed:
            zero_boot_sectors(path, v.fs, s, v.sectors)
    return make_vhd(path, path[:-len(".raw")] + ".vhd"), placed


def partner_kind(seed):
    return random.Random(seed * 7919 + 1).choice(history.kinds_for(seed))


def partner_shape(seed):
    """The partner volume's shape (history.SHAPES) and whether it lies before the seed's volume on the disk: from
    seed history.SHAPED_SEEDS on, drawn from the seed (below it, a normal partner after the volume, as when those
    seeds were pinned)."""
    if seed < history.SHAPED_SEEDS:
        return "plain", False
    rng = random.Random(seed * 7919 + 2)
    return rng.choice(history.SHAPES), rng.random() < 0.5


# ---------------------------------------------------------------- what must agree

def deleted_versions(record):
    """{(size, sha256): [names]} of every version of a file the history deleted or rewrote."""
    versions = {}
    for d in record["deleted"]:
        versions.setdefault((d["size"], d["sha256"]), []).append(d["name"])
    return versions


def recovered_whole(e, versions, fat):
    """Whether TSK's deleted file entry e is one TSK recovers whole (see the module's text)."""
    if e["realloc"] or e["dir"] or e.get("sha256") is None:
        return False
    if fat and len(e["runs"] or []) > 1:
        return False  # TSK passed over clusters in use: a guess of its own, where the engine reads on
    names = versions.get((e["size"], e["sha256"]), [])
    return any(oracle.fat_names_match(e["name"], n, True) if fat else e["name"] == n for n in names)


def ambiguous_folders(volume):
    """Deleted FAT folders whose cluster another entry of the same folder names too (a folder renamed in place,
    then deleted): which name the folder had last, neither reader can tell, and TSK lists its contents under one
    of them. Only the live one, when there is one, is the folder's."""
    if volume.fs == "ntfs":
        return []
    by_place = {}
    for e in oracle.user_entries(volume.description):
        if e["dir"] and e["runs"]:
            by_place.setdefault((e["path"].rpartition("/")[0], e["runs"][0][0]), []).append(e)
    return [e for group in by_place.values() if len(group) > 1 for e in group if e["deleted"]]


def unreadable_by_tsk(t):
    """TSK entries that are no oracle: a name of an index entry whose record TSK does not find ("r/-": TSK lists
    it as live, with no size). (A short name's characters outside ASCII, which TSK shows as "^", compare as
    oracle.fat_names_match says.)"""
    return t["type"].endswith("/-")


def stale_index_entries(volume):
    """TSK's paths of NTFS entries that only a freed index record still holds: a folder whose index shrank back
    into its root keeps its old index record, marked free in the index's bitmap, with the entries it held; TSK
    lists them as live (a file moved out of the folder, then, under both folders; a file deleted in it, live).
    Such an entry names a record that TSK lists live elsewhere too and whose file-name attributes name another
    parent, or a record that is free."""
    if volume.fs != "ntfs":
        return []
    entries = oracle.user_entries(volume.description)
    listing = subprocess.run(["ils", "-A", volume.raw], stdout=subprocess.PIPE, env=driver.TOOL_ENV, check=True)
    free = {int(line.split("|")[0]) for line in listing.stdout.decode("utf-8", "replace").splitlines()
            if re.match(r"\d+\|f\|", line)}
    folders = {e["path"]: e["inode"] for e in entries if e["dir"] and not e["deleted"]}
    folders[""] = ROOT_RECORD
    by_inode = {}
    for e in entries:
        if not e["deleted"] and not e["stream"]:
            by_inode.setdefault(e["inode"], []).append(e)
    stale = [e["path"] for e in entries if not e["deleted"] and e["inode"] in free]
    for inode, listed in sorted(by_inode.items()):
        if len(listed) < 2:
            continue
        report = subprocess.run(["istat", volume.raw, str(inode)], stdout=subprocess.PIPE, env=driver.TOOL_ENV)
        parents = {int(p) for p in re.findall(r"Parent MFT Entry: (\d+)", report.stdout.decode("utf-8", "replace"))}
        stale += [e["path"] for e in listed if folders.get(e["path"].rpartition("/")[0]) not in parents]
    return stale


def wanted_pairs(pairs, volume):
    """The (TSK entry, Entry) pairs the engine must show: live entries, deleted files TSK recovers whole and the
    deleted folders above them, and the engine's own stand-ins (TSK entry None)."""
    versions = deleted_versions(volume.record)
    fat = volume.fs != "ntfs"
    ambiguous = ambiguous_folders(volume)
    stale = stale_index_entries(volume)
    pairs = [(t, e) for t, e in pairs if t is None or not (unreadable_by_tsk(t) or below(t, ambiguous) or
                                                          any(t["path"] == p or t["path"].startswith(p + "/")
                                                              for p in stale))]
    # By TSK's address: a folder may hold two deleted files of one name, one of them whole.
    whole = {t["addr"]: t["path"] for t, _ in pairs
             if t is not None and t["deleted"] and recovered_whole(t, versions, fat)}
    out = []
    for t, e in pairs:
        if t is None or not t["deleted"]:
            out.append((t, e))
        elif t["dir"] and any(p.startswith(t["path"] + "/") for p in whole.values()):
            out.append((t, e))
        elif not t["dir"] and t["addr"] in whole:
            out.append((t, e))
    return out


def allowed_extra(extensive):
    """Which entries the engine may list beyond TSK's: deleted ones, what it keeps under "Lost Dir", and after an
    Extensive Scan a FAT folder no entry names ("Dir" + cluster) with what it holds."""
    def allowed(entry):
        if entry.deleted or entry.path == LOST_DIR or entry.path.startswith(LOST_DIR + "/"):
            return True
        return extensive and any(re.fullmatch(r"Dir\d+", part) for part in entry.path.split("/"))
    return allowed


def geometry_folders(volume):
    """How many folders an Extensive Scan can take the volume's geometry from: FAT the live folders (each found by
    its "." sector), NTFS the live folders (the root among them) whose index has clusters of its own."""
    live = [e for e in oracle.user_entries(volume.description) if e["dir"] and not e["deleted"]]
    if volume.fs != "ntfs":
        return len(live)
    inodes = [5] + [e["inode"] for e in live]
    return sum(1 for i in inodes
               if "$INDEX_ALLOCATION" in subprocess.run(["istat", volume.raw, str(i)], stdout=subprocess.PIPE,
                                                          env=driver.TOOL_ENV).stdout.decode("utf-8", "replace"))


def history_problems(volume):
    """Where TSK does not list what the history left on the volume (a fault of the generator or of TSK)."""
    live = {e["path"]: e for e in oracle.user_entries(volume.description) if not e["deleted"] and not e["stream"]}
    problems = []
    for path, f in volume.record["files"].items():
        e = live.get(path)
        if e is None and volume.fs != "ntfs":
            e = next((x for p, x in live.items() if oracle.tsk_path_key(p) == oracle.tsk_path_key(path) and
                      all(oracle.fat_names_match(a, b) for a, b in zip(p.split("/"), path.split("/")))), None)
        if e is None or e["size"] != f["size"] or e["sha256"] != f["sha256"]:
            problems.append("history of %s: %s (%d bytes) is not listed live with its bytes by TSK" %
                            (volume.label, path, f["size"]))
    for path in volume.record["folders"]:
        if path not in live and not any(oracle.tsk_path_key(p) == oracle.tsk_path_key(path) for p in live):
            problems.append("history of %s: folder %s is not listed live by TSK" % (volume.label, path))
    return problems


def shared_folder_clusters(volume):
    """Notes on the FAT folders whose cluster a deleted folder entry elsewhere names too (a folder moved or
    renamed, or one made where a deleted one was), beside a failure, to sort the soak's findings."""
    if volume.fs == "ntfs":
        return []
    entries = [e for e in oracle.user_entries(volume.description) if e["dir"] and e["runs"]]
    notes = []
    for e in entries:
        others = [o for o in entries if o is not e and o["deleted"] and o["runs"][0][0] == e["runs"][0][0] and
                  o["path"].rpartition("/")[0] != e["path"].rpartition("/")[0]]
        if others and not e["deleted"]:
            notes.append("live folder %s shares its cluster with a deleted folder entry" % e["path"])
        elif others and e["path"] < min(o["path"] for o in others):
            notes.append("deleted folders %s share a cluster" % ", ".join([e["path"]] + [o["path"] for o in others]))
    return notes


def tree_problems(output, pairs, fs, extensive):
    got = scanned_entries(output.decode("utf-8"), fs)
    return compare(fs, [e for _, e in pairs], got, allowed_extra(extensive))


# ---------------------------------------------------------------- saved files

COPY_OF = re.compile(r"^Copy \(\d+ \) of (.*)$")


def saved_problems(save, pairs, fs, raw, start):
    """Every wanted file saved with icat's bytes at its place (or as a "Copy (n ) of" it there)."""
    fat = fs != "ntfs"
    problems = []
    by_folder = {}
    for path, kind in saved_tree(save.out).items():
        if kind == "F":
            folder, _, name = path.rpartition("/")
            m = COPY_OF.match(name)
            by_folder.setdefault(folder, NameIndex(fat, tsk_names=False)).add(m.group(1) if m else name, path)
    used = set()
    digests = {}
    same_folder = functools.lru_cache(maxsize=None)(lambda a, b, deleted: same_path(a, b, fat, deleted))
    for t, e in pairs:
        if t is None or e.folder:
            continue
        folder, _, name = e.path.rpartition("/")
        want = driver.icat_sha256(raw, start, t)
        found = False
        for saved_folder, files in by_folder.items():
            if not same_folder(folder, saved_folder, t["deleted"]):
                continue
            for path in files.find(name, lambda base, _: name_matches(name, base, fat, t["deleted"])):
                if path in used:
                    continue
                if path not in digests:
                    digests[path] = sha256_file(os.path.join(save.out, *path.split("/")))
                if digests[path] == want:
                    used.add(path)
                    found = True
                    break
            if found:
                break
        if not found:
            problems.append("not saved with icat's bytes: %s/%s (%d bytes%s)" %
                            (folder, name, e.size, ", deleted" if t["deleted"] else ""))
    return problems


@functools.lru_cache(maxsize=None)
def saved_name(name):
    """The name as the saver writes it: trailing full stops and blanks, and characters no file name may hold,
    as "_" (engine/save/safe_path_component.h; the names the histories draw hold no device names)."""
    stripped = name.rstrip(". ")
    safe = "".join("_" if c in '<>:"/\\|?*' or ord(c) < 32 else c for c in stripped)
    return (safe + "_" * (len(name) - len(stripped))) or "_"


def name_matches(tsk_name, name, fat, deleted):
    tsk_name = saved_name(tsk_name)
    return oracle.fat_names_match(tsk_name, name, deleted) if fat else tsk_name == name


def same_path(a, b, fat, deleted):
    """Whether TSK's path a names the saved path b. Of a live and a deleted folder of one name the saver makes the
    deleted one as "Copy (n ) of" that name, so a deleted entry's folders may bear one."""
    def same(p, q):
        m = COPY_OF.match(q) if deleted else None
        return name_matches(p, q, fat, deleted) or m is not None and name_matches(p, m.group(1), fat, deleted)

    x, y = a.split("/") if a else [], b.split("/") if b else []
    return len(x) == len(y) and all(same(p, q) for p, q in zip(x, y))


class NameIndex:
    """The items of one folder by name, found again by a name of the other side (TSK's, or as saved): the items whose
    names name_matches pairs with it, without comparing it with every name of the folder (a history's folders hold
    hundreds of files, each looked for once per save). Each item is filed under keys that two names name_matches
    pairs always share: the name as saved, and on FAT, where a short name of TSK's matches whatever its first letter
    and case ("^" standing for a letter outside ASCII), the letters after the first in capitals (of a saved name,
    with "^" for those outside ASCII)."""

    def __init__(self, fat, tsk_names):
        self.fat, self.tsk_names = fat, tsk_names
        self.by_key = {}
        self.count = 0

    def keys(self, name, tsk):
        if tsk:
            name = saved_name(name)
            loose = name.upper()[1:] if self.fat and oracle.SHORT_NAME.fullmatch(name) else None
        else:
            loose = oracle.as_tsk_short_name(name).upper()[1:] if self.fat else None
        return {("=", name)} | ({("~", loose)} if loose is not None else set())

    def add(self, name, item):
        for k in self.keys(name, self.tsk_names):
            self.by_key.setdefault(k, []).append((self.count, name, item))
        self.count += 1

    def find(self, name, matches):
        """The items, in the order they were added, for which matches(their name, item) holds, among those filed under
        the keys of name (a name of the other side)."""
        found = {i: (n, item) for k in self.keys(name, not self.tsk_names) for i, n, item in self.by_key.get(k, ())}
        return [item for _, (n, item) in sorted(found.items()) if matches(n, item)]


def read_audit(path):
    """([(first sector, count)] read, [(path, damaged)] of the files counted saved) of enginectl save --audit; nothing
    for a save whose scan failed before the audit began."""
    reads, files = [], []
    if not os.path.exists(path):
        return reads, files
    with open(path, encoding="utf-8") as f:
        for line in f.read().splitlines():
            kind, _, rest = line.partition("\t")
            if kind == "read":
                first, count = rest.split("\t")
                reads.append((int(first), int(count)))
            elif kind in ("saved", "damaged"):
                files.append((rest, kind == "damaged"))
    return reads, files


def outside_reads(reads, first, count):
    """(sectors read outside the volume of count sectors from first, a line naming them or None)."""
    outside = [(a, n) for a, n in reads if a < first or a + n > first + count]
    if not outside:
        return 0, None
    sectors = sum(max(0, first - a) + max(0, a + n - first - count) for a, n in outside)
    return sectors, "read %d sectors outside the volume (%d-%d): %s" % (
        sectors, first, first + count - 1, ", ".join("%d+%d" % r for r in outside[:4]))


def audit_problems(save, audit, extent, pairs, fs, raw, start, extensive=False):
    """The oracle of a save: its status and its own problems (save.problems), sectors read outside the volume
    (extent: its first sector and count on the image, TSK's description of it there, and the TSK addresses of the
    files a save must count damaged: must_be_damaged), files counted saved whole without icat's bytes of every file
    the test compares at their path (pairs), and the files counted damaged (damaged_problems). A path where TSK
    lists a file that is not compared too (a deleted file whose bytes TSK guesses otherwise) is not judged by its
    bytes; one where every file TSK lists must be counted damaged must not be counted whole."""
    reads, files = read_audit(audit)
    first, count, desc, must = extent
    damaged_files = sum(damaged for _, damaged in files)
    problems = save.problems(3 if damaged_files else 0)
    if save.counts.get("unreadable") != damaged_files or save.counts.get("unwritten") != 0:
        problems.append("counts: %s (%d counted damaged in the audit)" % (save.counts, damaged_files))
    sectors, outside = outside_reads(reads, first, count)
    problems += [outside] if sectors else []
    fat = fs != "ntfs"
    by_folder = {}
    compared = set()
    for t, e in pairs:
        if t is not None and not e.folder:
            folder, _, name = e.path.rpartition("/")
            by_folder.setdefault(folder, NameIndex(fat, tsk_names=True)).add(name, t)
            compared.add(t["addr"])
    # The other files where TSK lists them, and where the tree shows them (after an Extensive Scan, under "Lost Dir"
    # and "Dir<n>" too).
    tree = chosen_tree(None, {"built": {}}, desc) if extensive else expected_tree(None, {"built": {}}, desc)[1]
    placed = set()
    for t, path in [(t, t["path"]) for t in oracle.user_entries(desc)] + [(t, e.path) for t, e in tree if t]:
        if not t["dir"] and t["addr"] not in compared and (t["addr"], path) not in placed:
            placed.add((t["addr"], path))
            folder, _, name = path.rpartition("/")
            by_folder.setdefault(folder, NameIndex(fat, tsk_names=True)).add(name, t)

    def base_of(path):
        folder, _, name = (path if fat else lost_dir_key(path)).rpartition("/")
        m = COPY_OF.match(name)
        return folder, m.group(1) if m else name

    @functools.lru_cache(maxsize=None)
    def folders_of(folder):
        return [listed for f, listed in by_folder.items() if same_path(f, folder, fat, True)]

    def candidates_of(path):
        folder, base = base_of(path)
        return [t for listed in folders_of(folder)
                for t in listed.find(base, lambda n, t: name_matches(n, base, fat, t["deleted"]))]

    # Files saved under one name in one folder ("Copy (n ) of" it beside it), as many as there are.
    namesakes = {}
    for path, _ in files:
        namesakes[base_of(path)] = namesakes.get(base_of(path), 0) + 1
    for path, damaged in files:
        candidates = candidates_of(path)
        if damaged:
            continue
        if candidates and all(t["addr"] in must and t["addr"] not in getattr(must, "intact", ()) for t in candidates):
            problems.append("counted saved whole, though its clusters are in use again or destroyed: %s" % path)
            continue
        # More files of the name than TSK lists there: one is a deleted file TSK lists elsewhere (an NTFS
        # record whose folder no longer names it, among its orphans), and which is which cannot be told.
        if not candidates or any(t["addr"] not in compared for t in candidates) or \
                namesakes[base_of(path)] > len(candidates):
            continue
        full = os.path.join(save.out, *path.split("/"))
        size, digest = os.path.getsize(full), sha256_file(full)
        if not any(t["size"] == size and driver.icat_sha256(raw, start, t) == digest for t in candidates):
            problems.append("counted saved whole without icat's bytes: %s (%d bytes)" % (path, size))
    return problems + damaged_problems(save.out, [p for p, damaged in files if damaged], candidates_of, desc, must,
                                       fat, raw)


def damaged_problems(out, damaged, candidates_of, desc, must, fat, raw):
    """Each file counted damaged must stand for a file of TSK's that must be (must), each such file for one: one of
    its name at its place (candidates_of), else, for a file the tree shows elsewhere than TSK (a lost folder's,
    TSK's orphans among them), a deleted one of its name and size anywhere ("^", a character TSK cannot decode,
    standing for any); else, in a FAT folder no entry names ("Dir<n>", n its cluster), whose files TSK does not
    list, a deleted entry of its size there whose clusters are in use again or read over a folder
    (lost_fat_entries)."""
    files = {t["addr"]: t for t in desc.get("entries", []) if not t["dir"] and not t["meta"]}
    used, problems = set(), []
    for path in damaged:
        doomed = [t for t in candidates_of(path) if t["addr"] in must and t["addr"] not in used]
        folder, _, name = path.rpartition("/")
        name = COPY_OF.sub(r"\1", name)
        size = os.path.getsize(os.path.join(out, *path.split("/")))
        if not doomed:
            doomed = [t for a, t in files.items() if a in must and a not in used and t["deleted"] and
                      t["size"] == size and loose_name_match(t["name"], name, fat)]
        lost = re.fullmatch(r"Dir(\d+)", folder.rpartition("/")[2])
        if not doomed and fat and lost:
            doomed = [e for e in lost_fat_entries(raw, int(lost.group(1))) if e["size"] == size and
                      e["addr"] not in used and
                      (driver.fat_file_reused(raw, 0, e) or driver.fat_run_meets_folder(raw, 0, e))]
        if doomed:
            used.add(doomed[0]["addr"])
        else:
            problems.append("counted damaged, though no file of its name there is reused or destroyed: %s" % path)
    return problems


def lost_fat_entries(raw, cluster):
    """The deleted file entries of the first cluster of the FAT folder at cluster of the volume raw (from sector 0),
    as driver.fat_file_reused takes them: their size and first cluster's sector as runs, their place as address."""
    base, spc, _ = driver.fat_layout(raw, 0)
    with open(raw, "rb") as f:
        fat32 = f.read(SECTOR)[22:24] == b"\0\0"  # no table length of 16 bits
        f.seek((base + cluster * spc) * SECTOR)
        data = f.read(spc * SECTOR)
    out = []
    for at in range(0, len(data) - 31, 32):
        entry = data[at:at + 32]
        if entry[0] != 0xE5 or entry[11] == 0x0F or entry[11] & 0x18:  # files: no long-name piece, folder or label
            continue
        first = int.from_bytes(entry[26:28], "little") | (int.from_bytes(entry[20:22], "little") << 16 if fat32 else 0)
        out.append({"addr": "lost-%d-%d" % (cluster, at // 32), "deleted": True, "dir": False,
                    "size": int.from_bytes(entry[28:32], "little"), "runs": [[base + first * spc, spc]]})
    return out


def loose_name_match(tsk_name, name, fat):
    """Whether a deleted file's name as the saver writes it is TSK's, a "^" of TSK's (a character it cannot decode)
    standing for any one; on FAT without the first character (TSK's "_") and without regard to case."""
    tsk_name = saved_name(tsk_name)
    if fat:
        tsk_name, name = tsk_name[1:].upper(), name[1:].upper()
    return len(tsk_name) == len(name) and all(a == b or a == "^" for a, b in zip(tsk_name, name))


class Doomed(set):
    """must_be_damaged's addresses; intact: those of them a save may count whole with icat's bytes, which are the
    history's (see must_be_damaged)."""

    def __init__(self, addresses, intact=()):
        super().__init__(addresses)
        self.intact = set(intact)


def must_be_damaged(volume, destroyed=()):
    """TSK's addresses of the volume's files that no reader can save whole, as the volume itself tells: deleted files
    (TSK's orphans among them) whose clusters its allocation gives out again (the first FAT, as
    driver.fat_file_reused reads it; NTFS the $Bitmap icat gives), deleted files whose clusters another deleted file
    or a deleted folder claims where nothing makes them the newer (driver.fat_contested, driver.ntfs_contested), and
    the files of the MFT or entry numbers destroyed (by the damage). A FAT file that only TSK's orphans contest (entries
    of a deleted folder whose first cluster was written over: no folder leads a reader to them) and whose bytes icat
    gives as the history deleted them (recovered_whole) is intact: a save may count it whole (with those bytes) or
    damaged."""
    listed = [e for e in volume.description.get("entries", []) if not e["meta"]]
    files = [e for e in listed if not e["dir"]]
    out = {e["addr"] for e in files if e["inode"] in destroyed}
    if volume.fs != "ntfs":
        out |= {e["addr"] for e in files if driver.fat_file_reused(volume.raw, 0, e)}
        contested = driver.fat_contested(volume.raw, 0, listed)
        by_orphans = contested - driver.fat_contested(volume.raw, 0, [e for e in listed if not e["orphan"]])
        versions = deleted_versions(volume.record)
        return Doomed(out | contested, {e["addr"] for e in files if e["addr"] in by_orphans and e["addr"] not in out and
                                        not e["orphan"] and recovered_whole(e, versions, True)})
    bitmap = subprocess.run(["icat", volume.raw, "6"], stdout=subprocess.PIPE, env=driver.TOOL_ENV,
                            check=True).stdout
    spc = volume.record["cluster"] // SECTOR
    in_use = lambda c: c // 8 < len(bitmap) and bitmap[c // 8] >> c % 8 & 1  # noqa: E731
    return out | {e["addr"] for e in files if e["deleted"] and
                  any(in_use(c) for s, n in e["runs"] or [] for c in range(s // spc, (s + n) // spc))} | \
        driver.ntfs_contested(volume.raw, 0, listed, spc)


def audited_save(enginectl, image, source, sandbox, extra=()):
    """driver.Save with an audit beside the sandbox; (save, audit path)."""
    audit = sandbox.rstrip("/") + ".audit"
    return driver.Save(enginectl, image, source, sandbox, list(extra) + ["--audit", audit]), audit


# ---------------------------------------------------------------- running the engine

class Runner:
    def __init__(self, args):
        self.args = args

    def quick(self, image, source, pairs, fs, raw, start, sandbox, extent):
        problems = []
        proc = run(self.args.enginectl, "quick", image, *source)
        if proc.returncode != 0:
            return ["quick: " + driver.failure(proc)]
        problems += ["quick: " + p for p in tree_problems(proc.stdout, pairs, fs, False)]
        save, audit = audited_save(self.args.enginectl, image, source, sandbox)
        problems += ["save: " + p for p in saved_problems(save, pairs, fs, raw, start)]
        problems += ["save: " + p for p in audit_problems(save, audit, extent, pairs, fs, raw, start)]
        return problems

    def damaged(self, image, source, pairs, fs, raw, sandbox, extent):
        """Only the oracle of the save."""
        save, audit = audited_save(self.args.enginectl, image, source, sandbox)
        return ["damaged save: " + p for p in audit_problems(save, audit, extent, pairs, fs, raw, 0)]

    def found_file_systems(self, image, code, sectors):
        proc = run(self.args.enginectl, "extensive", image, "--range", code, 0, sectors)
        if proc.returncode != 0:
            return None, driver.failure(proc)
        return [line.split("\t") for line in proc.stdout.decode().splitlines()], None

    def extensive(self, image, code, sectors, volume_desc, at, pairs_of, fs, raw, start, sandbox, extent, found=None):
        """The file system the Extensive Scan finds at the volume's place, read and saved."""
        if found is None:
            found, failed = self.found_file_systems(image, code, sectors)
            if failed:
                return ["extensive: " + failed]
        base = driver.cluster_base(volume_desc, at)
        k = next((line[0] for line in found if int(line[3]) == base and int(line[1]) in
                  ((300,) if fs == "ntfs" else (100, 200))), None)
        if k is None:
            return ["extensive: no file system found at sector %d (found: %s)" %
                    (base, "; ".join(" ".join(line[1:]) for line in found) or "none")]
        source = ["--range", str(code), "0", str(sectors)]
        proc = run(self.args.enginectl, "extensive", image, *source, "--choose", k)
        if proc.returncode != 0:
            return ["extensive --choose: " + driver.failure(proc)]
        pairs = pairs_of()
        problems = ["extensive: " + p for p in tree_problems(proc.stdout, pairs, fs, True)]
        save, audit = audited_save(self.args.enginectl, image, source, sandbox, ["--choose", k])
        problems += ["extensive save: " + p for p in saved_problems(save, pairs, fs, raw, start)]
        problems += ["extensive save: " + p for p in
                     audit_problems(save, audit, extent, pairs, fs, raw, start, True)]
        return problems


def quick_pairs(volume, desc):
    moved = moved_folders(volume)
    _, pairs = expected_tree(None, {"built": {}}, desc)
    return wanted_pairs([(t, e) for t, e in pairs if t is None or not below(t, moved)], volume)


def misplaced_folders(volume):
    """TSK's entries of the deleted FAT folders that an Extensive Scan does not show where TSK does: a folder is
    found by its own first sector and filed under the folder its ".." entry names, while TSK follows the entry
    a move left behind in the old parent too (and a folder whose first sector was written over is not found)."""
    return [] if volume.fs == "ntfs" else [e for e, own in driver.fat_folder_owners(volume.description, volume.raw)
                                           if not own]


def moved_folders(volume):
    """TSK's entries of deleted FAT folders a move left behind (driver.moved_fat_folders)."""
    return [] if volume.fs == "ntfs" else driver.moved_fat_folders(volume.description, volume.raw)


def below(t, folders):
    """Whether TSK's entry t is one of the folders, or a deleted entry below one of their paths (a live folder of
    the same path keeps its own)."""
    return any(t["addr"] == f["addr"] or t["deleted"] and t["path"].startswith(f["path"] + "/") for f in folders)


def chosen_pairs(volume, desc):
    """What the tree of the volume's file system must show after an Extensive Scan: driver.chosen_tree less the
    misplaced folders and what lies below them."""
    misplaced = misplaced_folders(volume)
    return wanted_pairs([(t, e) for t, e in chosen_tree(None, {"built": {}}, desc) if t is None or
                         not below(t, misplaced)], volume)


def build_volume(seed, kind, work, helper, pool, shape="normal"):
    out = os.path.join(work, "volumes")
    os.makedirs(out, exist_ok=True)
    record = history.build(seed, kind, out, helper, shape)
    description = oracle.describe_volume(record["image"], 0, pool)
    if record["fs"] == "fat32" and "error" not in description:
        # The root's chain as istat gives it: fsstat names its first and last sectors only.
        description["root_runs"] = oracle.content_runs(record["image"], 0, "2", 1)[0]
    return Volume(record, description)


def check_seed(args, seed, kind, cases, pool):
    """Problems of the seed's cases: {case: [lines]} (a case that ran clean has an empty list)."""
    work = fresh_dir(os.path.join(args.work, entry_name(seed, kind)))
    volume = build_volume(seed, kind, work, args.ntfs_helper, pool)
    runner = Runner(args)
    results = {}
    base_problems = history_problems(volume)
    if "error" in volume.description:
        base_problems.append("TSK cannot read the volume: " + volume.description["error"])
    if base_problems:
        return {case: base_problems for case in cases}
    desc = volume.description
    if "quick" in cases:
        image = make_vhd(volume.raw, os.path.join(work, "volume.vhd"))
        results["quick"] = runner.quick(image, ["--range", str(volume.code), "0", str(volume.sectors)],
                                        quick_pairs(volume, desc), volume.fs, volume.raw, 0,
                                        os.path.join(work, "quick-save"), (0, volume.sectors, desc, volume.must()))
    if "extensive" in cases and geometry_folders(volume) < 2:
        results["extensive"] = NOT_APPLICABLE
    elif "extensive" in cases:
        wiped = os.path.join(work, "wiped.raw")
        copy_sparse(volume.raw, wiped)
        zero_boot_sectors(wiped, volume.fs, 0, volume.sectors)
        image = make_vhd(wiped, os.path.join(work, "wiped.vhd"))
        results["extensive"] = runner.extensive(image, volume.code, volume.sectors, desc, 0,
                                                lambda: chosen_pairs(volume, desc), volume.fs, volume.raw, 0,
                                                os.path.join(work, "extensive-save"),
                                                (0, volume.sectors, desc, volume.must()))
    pair_cases = [c for c in ("pair", "bare-pair", "damaged") if c in cases]
    volumes = [volume]
    if pair_cases:
        shape, before = partner_shape(seed)
        partner = build_volume(seed + PARTNER_OFFSET, partner_kind(seed), work, args.ntfs_helper, pool, shape)
        volumes.append(partner)
        partner_problems = history_problems(partner)
        first, second = (partner, volume) if before else (volume, partner)
        for case in pair_cases:
            results[case] = partner_problems or (check_damaged(runner, work, volume, partner, pool) if case == "damaged"
                                                 else check_pair(runner, work, first, second, case == "pair"))
    notes = ["note: %s: %s" % (v.label, note) for v in volumes for note in shared_folder_clusters(v)]
    return {case: notes + problems if problems else problems for case, problems in results.items()}


def check_damaged(runner, work, volume, partner, pool):
    """The damaged case: the volume damaged (a copy), before the partner behind an MBR, saved after a Quick Scan of
    its partition; NOT_APPLICABLE when no file fits a shape of the damage."""
    raw = os.path.join(work, "volumes", volume.label + "-damaged.raw")
    copy_sparse(volume.raw, raw)
    done = damage.apply(raw, volume.description, volume.seed)
    if not done:
        return NOT_APPLICABLE
    desc = oracle.describe_volume(raw, 0, pool)
    if "error" in desc:
        return ["TSK cannot read the damaged volume: " + desc["error"]]
    # TSK lists no file whose entry claims more than its clusters hold (inflate): the damage's record names it.
    listed = {e["inode"] for e in desc.get("entries", [])}
    destroyed = {d["inode"] for d in done if d["fate"] == "destroyed"}
    if volume.fs != "ntfs":
        keep_names(desc, volume.description)
    desc["entries"] = desc.get("entries", []) + [e for e in volume.description.get("entries", [])
                                                 if e["inode"] in destroyed and e["inode"] not in listed]
    damaged = Volume(dict(volume.record, image=raw), desc)
    # A primary partition of type 1 is not listed: a FAT12 volume is saved from one of the small FAT16 type, whose
    # table's length still tells its 12-bit entries.
    image, placed = compose_pair(os.path.join(work, "damaged.raw"), damaged, partner, True, False, {"fat12": 0x04})
    at = placed[0][1]
    starts = driver.partition_starts(runner.args.enginectl, image)
    if at not in starts:
        return ["partition at %d not listed (%s)" % (at, starts)]
    moved = damaged.at(at)
    return runner.damaged(image, ["--partition", str(starts.index(at))], quick_pairs(damaged, moved),
                          damaged.fs, raw, os.path.join(work, "damaged-save"),
                          (at, damaged.sectors, moved, must_be_damaged(damaged, destroyed)))


def keep_names(desc, before):
    """The names TSK gave the FAT entries before the damage. TSK carries the long name of an entry it refuses (one
    whose size its clusters cannot hold) over to the next short entry, whatever its checksum; the damage renames no
    entry (it changes chains, sizes and first clusters), so the name read before it is the entry's."""
    names = {e["inode"]: e["path"] for e in before.get("entries", []) if not e["meta"]}
    moved = {}
    for e in desc.get("entries", []):
        was = names.get(e["inode"])
        if not e["meta"] and was and was != e["path"] and was.rpartition("/")[0] == e["path"].rpartition("/")[0]:
            moved[e["path"]] = was
    for e in desc.get("entries", []):
        for old, new in moved.items():
            if e["path"] == old or e["path"].startswith(old + "/"):
                e["path"] = new + e["path"][len(old):]
                e["name"] = e["path"].rpartition("/")[2]


def check_pair(runner, work, first, second, table):
    name = "pair" if table else "bare-pair"
    image, placed = compose_pair(os.path.join(work, name + ".raw"), first, second, table, not table)
    sectors = os.path.getsize(image[:-len(".vhd")] + ".raw") // SECTOR
    problems = []
    if table:
        starts = driver.partition_starts(runner.args.enginectl, image)
        for v, at in placed:
            desc = v.at(at)
            if v.fs == "fat12":
                continue  # a primary partition of type 1 is not listed: only the Extensive Scan reads it
            if at not in starts:
                problems.append("partition at %d not listed (%s)" % (at, starts))
                continue
            problems += ["%s at %d: %s" % (v.label, at, p) for p in
                         runner.quick(image, ["--partition", str(starts.index(at))], quick_pairs(v, desc), v.fs,
                                      v.raw, 0, os.path.join(work, "%s-quick-%d" % (name, at)),
                                      (at, v.sectors, desc, v.must()))]
    found = {}
    # A FAT16 or FAT32 boot sector whose tables lie where it says is enough; an NTFS one's geometry must place a
    # folder; without one, two folders give the geometry. A FAT12 boot sector is never a candidate (the search knows
    # the FAT16 and FAT32 marks): two folders give it.
    findable = [table and v.fs in ("fat16", "fat32") or geometry_folders(v) >= (1 if table and v.fs != "fat12" else 2)
                for v, _ in placed]
    checked = 0
    for i, (v, at) in enumerate(placed):
        if not findable[i]:
            continue
        checked += 1
        # With boot sectors a FAT search finds both FAT kinds; without them the rebuilt kind follows the code.
        code = CODES["ntfs"] if v.fs == "ntfs" else (CODES["fat16"] if table else v.code)
        if code not in found:
            found[code], failed = runner.found_file_systems(image, code, sectors)
            if failed:
                problems.append("%s at %d: extensive: %s" % (v.label, at, failed))
                continue
        desc = v.at(at)
        problems += ["%s at %d: %s" % (v.label, at, p) for p in
                     runner.extensive(image, code, sectors, desc, at, lambda: chosen_pairs(v, desc), v.fs, v.raw, 0,
                                      os.path.join(work, "%s-extensive-%d" % (name, at)),
                                      (at, v.sectors, desc, v.must()), found[code])]
    return problems if table or checked else NOT_APPLICABLE


# ---------------------------------------------------------------- the command

def parse_seeds(text):
    """The seeds of "FIRST-LAST[,FIRST-LAST...]" (a range may be one seed)."""
    seeds = []
    for part in text.split(","):
        first, _, last = part.partition("-")
        seeds += range(int(first), int(last or first) + 1)
    return seeds


def selection(args):
    """([(seed, kind, [cases])], {(seed, kind): [skipped rows]}) of the arguments: each seed's volumes are made once
    for all of its cases."""
    cases = args.cases.split(",")
    wanted, skipped = {}, {}  # (seed, kind) -> cases
    if args.pinned or args.faults:
        for seed, kind, case, fault in PINNED:
            if fault and not args.faults:
                skipped.setdefault((seed, kind), []).append("SKIPPED: %s %s-%d: %s" % (case, kind, seed, fault))
            elif case in cases:
                wanted.setdefault((seed, kind), set()).add(case)
    for seed in parse_seeds(args.seeds) if args.seeds else []:
        wanted.setdefault((seed, args.kind or history.default_kind(seed)), set()).update(cases)
    todo = [(seed, kind, [c for c in CASES if c in chosen]) for (seed, kind), chosen in sorted(wanted.items())]
    return todo, skipped


def entry_name(seed, kind):
    """A seed's name in --list and --only, and its folder in the work folder."""
    return "%s-%d" % (kind, seed)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--enginectl")
    parser.add_argument("--ntfs-helper")
    parser.add_argument("--work")
    parser.add_argument("--seeds")
    parser.add_argument("--kind", choices=history.KINDS, help="every seed of this kind (default: by the seed)")
    parser.add_argument("--pinned", action="store_true")
    parser.add_argument("--faults", action="store_true", help="the pinned rows too that name a fault not yet fixed")
    parser.add_argument("--cases", default=",".join(CASES))
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--list", action="store_true", help="print the seeds chosen (KIND-SEED), one a line")
    parser.add_argument("--only", help="of the seeds chosen, these (KIND-SEED[,...])")
    args = parser.parse_args()
    todo, skipped = selection(args)
    names = sorted({entry_name(s, k) for s, k, _ in todo} | {entry_name(s, k) for s, k in skipped},
                   key=lambda n: (int(n.rpartition("-")[2]), n))
    if args.list:
        print("\n".join(names))
        return 0
    if args.only:
        only = args.only.split(",")
        unknown = [n for n in only if n not in names]
        if unknown:
            parser.error("not among the seeds chosen: %s" % ", ".join(unknown))
        todo = [(s, k, c) for s, k, c in todo if entry_name(s, k) in only]
        skipped = {key: rows for key, rows in skipped.items() if entry_name(*key) in only}
    if not todo and not skipped:
        parser.error("nothing to run: give --seeds, --pinned or --faults")
    for option in ("enginectl", "ntfs_helper", "work"):
        if not getattr(args, option):
            parser.error("--%s is needed" % option.replace("_", "-"))
    os.makedirs(args.work, exist_ok=True)
    started = time.time()
    failed = ran = 0
    # One tool at a time per seed, so that --jobs bounds the processes that run at once.
    with concurrent.futures.ThreadPoolExecutor(args.jobs) as seeds:
        jobs = [(s, k, c, seeds.submit(check_seed, args, s, k, c, None)) for s, k, c in todo]
        for seed, kind, case_list, job in jobs:
            try:
                results = job.result()
            except Exception as e:  # a tool that failed while making the volume: the generator's fault
                results = {c: ["the volume could not be made: %s" % e] for c in case_list}
            if not any(results.get(case) for case in case_list):
                shutil.rmtree(os.path.join(args.work, entry_name(seed, kind)), ignore_errors=True)
            for case in case_list:
                problems = results.get(case, [])
                if problems is NOT_APPLICABLE:
                    why = "no file fits a shape of damage" if case == "damaged" else \
                        "too few folders to find the file system by"
                    print("n/a: %s %s-%d (%s)" % (case, kind, seed, why))
                    continue
                ran += 1
                if problems:
                    failed += 1
                    print("FAILED: %s %s-%d (replay: %s)" % (case, kind, seed, replay_hint(seed, kind)))
                    for line in problems[:30]:
                        print("  " + line)
                    if len(problems) > 30:
                        print("  ... %d more" % (len(problems) - 30))
                else:
                    print("ok: %s %s-%d" % (case, kind, seed))
                sys.stdout.flush()
    for rows in skipped.values():
        for line in rows:
            print(line)
    print("%d cases, %d failed, %d skipped, %.0f s" % (ran, failed, sum(map(len, skipped.values())),
                                                      time.time() - started))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
