#!/usr/bin/env python3
"""What users do to a volume after its history (tools/images/history.py), with the generator's own record of every
file written to it: the truth a recovery is judged by where The Sleuth Kit cannot judge (it reads the first
allocation table only, lists none of a quick-formatted volume's old files, and takes a torn record as it stands).

Acts, each drawn by a generator of its own from the seed, so that the history before it stays the seed's:
    reuse    a third of the live files deleted (on FAT those in one run of clusters: a deleted FAT file can only
             be read as consecutive clusters) and new files of their sizes (a half to twice a deleted one's) written,
             two for every five deleted, into the space they left (FAT32's next-free hint forgotten, so that mtools
             fills the holes, as Windows does)
    format   a quick format over the volume (mkfs.fat, or mkntfs -Q, of the same geometry), then new files
    reformat the same with another cluster size, twice or half the volume's as the seed draws (a camera formatting a
             card a PC formatted), where the file system allows it at the volume's size (none: the act does not fit)
    torn     two live files' MFT records with their second sector rewritten (a write torn by a power loss): their
             update sequence no longer checks; small files resident in their record first
    crowd    two new folders side by side, 20 to 50 files in each (the cross-linked folders of damage.py need
             folders of several clusters)
    reuse-format   reuse, then format: files deleted and written over before the format lie among the old ones
    reuse-delete   reuse, then the files it wrote deleted in turn, made a day later or the same day as the seed draws:
             a deleted file's place holds a later deleted file's bytes, which only the dates tell (an NTFS volume
             is first filled but for a quarter of its files' bytes by one live file, so that ntfs-3g's allocator
             writes into the space the deleted files left)
    reuse-copy     reuse-delete of copies of older files: made a day later, their last write dated a day before the
             history's (a copy keeps its source's, and gets a creation time of its own), the first of them a folder
             of 14 files (taking a deleted file's first cluster on FAT, on NTFS its index outgrowing its record),
             removed with them

The record of what was written: one row per file the generator wrote,
    path, size, sha256
    state     live; deleted (its folder is still there); lost (a quick format took its folders' entries)
    fate      intact (its bytes are still where its entry or record says); destroyed (they are not, or its record
              fails its check: a reader must count it damaged, never save it whole); unknown (not judged: a
              deletion of the history whose place it does not record, an old FAT file in more than one run, a
              file deleted before a quick format that only files or folders whose records the new MFT took wrote over)
    required  a reader must list it and save it whole (live, intact; an empty file too)
    day       1 for a file an act made a day later than the others (absent: 0): its creation time is the later
    taken     true for a deleted or lost file still intact whose bytes lie where the volume formatted over it gives
              its own (a cluster of another size given to a new file, whose end left them in the cluster's slack;
              the new tables or root folder): a reader may count it damaged

    user_history.py --seed N --act ACT [--kind KIND] --out DIR [--ntfs-helper PATH]
writes DIR/<kind>-<seed>-<act>.raw and DIR/<kind>-<seed>-<act>.written.json.
"""
import argparse
import json
import os
import random
import shutil
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import damage  # noqa: E402
import history  # noqa: E402
import ntfs_records  # noqa: E402
import oracle  # noqa: E402
from history import Op  # noqa: E402
from util import FIXED_EPOCH, MIB, SECTOR, copy_sparse, fresh_dir, pseudo_bytes, sha256_bytes, text_bytes  # noqa: E402

ACTS = ("reuse", "format", "torn", "crowd", "reuse-format", "reuse-delete", "reuse-copy", "reformat")
KINDS_OF_ACT = {"torn": ("ntfs512", "ntfs4k"), "reformat": ("fat16", "fat32", "ntfs512", "ntfs4k")}
DAY = 86400
# The tools' clock (util.TOOL_ENV): when the history's files were made.
CLOCK = FIXED_EPOCH
# The clusters mkfs.fat makes each FAT type of (FAT16: 4085 to 65524, FAT32: from 65525), with room for the tables.
FAT_CLUSTERS = {"fat16": (4200, 65000), "fat32": (65600, 1 << 28)}


class Target:
    """A built volume an act works on: its raw file (from sector 0), geometry (history.Geometry), label, live
    folders ("" the root), TSK's description of it as built, the seed and the NTFS helper."""

    def __init__(self, raw, geo, label, folders, description, seed, helper=None):
        self.raw, self.geo, self.label, self.description = raw, geo, label, description
        self.folders, self.seed, self.helper = [""] + sorted(folders), seed, helper
        self.fat = geo.fs != "ntfs"


def target_of(record, description, helper=None):
    geo = history.Geometry(record["kind"], record["sectors"] * SECTOR // MIB, record["cluster"])
    return Target(record["image"], geo, "H%d" % (record["seed"] % 100000), record["folders"], description,
                  record["seed"], helper)


def row(path, size, sha, state="live", fate="intact"):
    return {"path": path, "size": size, "sha256": sha, "state": state, "fate": fate,
            "required": state == "live" and fate == "intact"}


def written_of(record):
    """The rows of a history's record: its live files, and the versions it deleted or rewrote (fate unknown; on NTFS
    with the sectors their records still claim, "claims", where TSK lists them)."""
    rows = [row(p, f["size"], f["sha256"]) for p, f in record["files"].items()]
    return rows + [dict(row(d.get("path", d["name"]), d["size"], d["sha256"], "deleted", "unknown"),
                        **({"claims": d["claims"]} if d.get("claims") else {}))
                   for d in record["deleted"]]


def as_listed(record, description):
    """The record with its live FAT files and folders named in the capitals TSK lists them in on the volume as built
    (mtools writes an 8.3 name it renames to in capitals, without the lower-case flags); on NTFS with the sectors
    that each version the history deleted or rewrote still claims: the runs, up to its size, of the deleted records
    of its name and size TSK lists (an orphan's by its name alone), made on day 0 like every file of the history."""
    if record["fs"] == "ntfs":
        return dict(record, deleted=[dict(d, claims=deleted_claims(d, description)) for d in record["deleted"]])
    listed = {key(e["path"], True): e["path"] for e in oracle.user_entries(description) if not e["deleted"]}
    return dict(record, files={listed.get(key(p, True), p): f for p, f in record["files"].items()},
                folders=[listed.get(key(p, True), p) for p in record["folders"]])


def deleted_claims(version, description):
    """[(first, count)] of the sectors that the deleted NTFS records of a deleted version's name and size hold."""
    path = version.get("path", version["name"])
    out = []
    for e in description.get("entries", []):
        named = e["name"] == version["name"] if e["orphan"] else e["path"] == path
        if not e["deleted"] or e["realloc"] or e["dir"] or e["meta"] or e["stream"] or not e.get("runs") or \
                e["size"] != version["size"] or not named:
            continue
        out += [s for s in held_sectors({"size": version["size"], "place": {"runs": e["runs"]}}) if s not in out]
    return out


def key(path, fat):
    """A path as FAT compares names (without regard to case)."""
    return path.upper() if fat else path


def live_entries(target):
    """{key: TSK's entry} of the live files of the volume as TSK described it."""
    return {key(e["path"], target.fat): e for e in oracle.user_entries(target.description)
            if not e["deleted"] and not e["dir"] and not e["stream"]}


def locate(target, rows):
    """Gives each live row TSK's place of its bytes ("place": the runs, and a resident file's record sector), taken
    before an act moves them."""
    live = live_entries(target)
    for r in rows:
        e = live.get(key(r["path"], target.fat))
        if r["state"] == "live" and e is not None:
            r["place"] = {"runs": e["runs"] or [], "inode": e["inode"],
                          "sector": ntfs_records.record_sector(target.raw, e["inode"]) if e.get("resident") else None}


def resident_value(raw, sector):
    """The value of the unnamed resident data attribute of the record at sector; None when the record fails its
    update-sequence check or holds no such attribute."""
    with open(raw, "rb") as f:
        f.seek(sector * SECTOR)
        record = f.read(ntfs_records.RECORD)
    usa, count = struct.unpack_from("<HH", record, 4)
    if record[:4] != b"FILE" or any(record[i * SECTOR - 2:i * SECTOR] != record[usa:usa + 2] for i in range(1, count)):
        return None
    record = ntfs_records.unprotect(record)
    try:
        at = ntfs_records.find_attribute(record, ntfs_records.DATA)
    except ValueError:
        return None
    if record[at + 8] != 0:
        return None
    length, offset = struct.unpack_from("<IH", record, at + 16)
    return bytes(record[at + offset:at + offset + length])


def fate_now(target, r):
    """Whether the row's bytes are still at its place: intact, destroyed, or unknown (no place known, or a FAT file
    no longer live whose bytes lay in more than one run: its chain is gone)."""
    place = r.get("place")
    if place is None or target.fat and r["state"] != "live" and len(place["runs"]) > 1:
        return "unknown"
    if place["sector"] is not None:
        data = resident_value(target.raw, place["sector"])
    else:
        data = bytearray()
        with open(target.raw, "rb") as f:
            for first, count in place["runs"]:
                f.seek(first * SECTOR)
                data += f.read(count * SECTOR)
        data = bytes(data[:r["size"]])
    return "intact" if data is not None and sha256_bytes(data) == r["sha256"] else "destroyed"


def run_ops(target, ops, clock=None):
    """Takes the steps with the tools; NTFS's with the helper's clock at clock when given (FAT's steps carry their
    dates)."""
    staging = fresh_dir(target.raw + ".act")
    if target.fat:
        tools = history.FatTools(target.raw, staging)
        for op in ops:
            tools(op)
    else:
        history.replay_ntfs(ops, target.raw, staging, target.helper, clock)
    shutil.rmtree(staging)


def new_files(target, rows, rng, tag, count, room, folders, most=None, sizes=None, mtime=None):
    """count new files (name, size and bytes drawn; room bytes in all, each at most most, or of sizes like those
    of sizes) in the folders, names unused there, dated mtime (seconds since 1970) when given; (ops, rows)."""
    taken = {}
    for p in [r["path"] for r in rows] + target.folders:
        folder, _, name = p.rpartition("/")
        taken.setdefault(folder, set()).add(name.lower())
    ops, made, used = [], [], 0
    for n in range(count):
        folder = rng.choice(folders)
        name = history.draw_name(rng, target.fat, taken.setdefault(folder, set()))
        taken[folder].add(name.lower())
        drawn = int(rng.choice(sizes) * rng.uniform(0.5, 2)) if sizes else history.draw_size(rng, room - used)
        size = min(drawn, room - used, most or room) or 1
        used += size
        label = "%s/%d/%d" % (tag, target.seed, n)
        data = text_bytes(label, size) if rng.random() < 0.4 else pseudo_bytes(label, size)
        path = (folder + "/" if folder else "") + name
        ops.append(Op("put", "/" + path, size, data, mtime))
        made.append(row(path, size, sha256_bytes(data)))
    return ops, made


def reuse(target, rows, rng, deletions=None, additions=None, mtime=None, folder=None):
    """mtime: when the new files are made (seconds since 1970; else now); folder: a folder made first, 14 files of
    the new ones in it."""
    locate(target, rows)
    candidates = [r for r in rows if r["state"] == "live" and r["size"] and "place" in r and
                  (not target.fat or len(r["place"]["runs"]) == 1)]
    gone = rng.sample(candidates, min(len(candidates), deletions or max(1, len(candidates) // 3)))
    ops = [Op("rm", "/" + r["path"]) for r in gone]
    if target.geo.fs == "fat32":
        ops.append(Op("forget-next-free"))
    room = sum(r["size"] for r in gone) * 3 // 2 + target.geo.cluster
    more, made = new_files(target, rows, rng, "reuse", additions or max(1, (2 * len(gone) + 4) // 5), room,
                           target.folders, sizes=[r["size"] for r in gone], mtime=mtime)
    if folder:
        inside, made_inside = new_files(target, rows + made, rng, "folder", 14, 14 * 2 * target.geo.cluster, [folder],
                                        2 * target.geo.cluster, mtime=mtime)
        more = [Op("mkdir", "/" + folder)] + inside + more
        made += made_inside
    run_ops(target, ops + more, mtime)
    for r in gone:
        r.update(state="deleted", required=False)
        r["fate"] = fate_now(target, r)
    return rows + made


def untold(rows, writers):
    """Marks unknown the FAT rows destroyed where no writer's first run meets their own: a file deleted and written
    over by a later run of a file whose chain is gone too (deleted in turn, or from before a quick format) cannot be
    known for destroyed."""
    firsts = [w["place"]["runs"][0] for w in writers if w.get("place") and w["place"]["runs"]]
    for r in rows:
        if r["fate"] != "destroyed" or not r.get("place") or not r["place"]["runs"]:
            continue
        first = r["place"]["runs"][0][0]
        end = first + -(-r["size"] // SECTOR)
        if not any(start < end and first < start + count for start, count in firsts):
            r["fate"] = "unknown"


def held_sectors(r):
    """[(first, count)] of the sectors that hold the row's bytes (its runs, up to its size)."""
    left, out = -(-r["size"] // SECTOR), []
    for first, count in r["place"]["runs"]:
        if left <= 0:
            break
        out.append((first, min(count, left)))
        left -= count
    return out


def meet(a, b):
    return any(x < y + m and y < x + n for x, n in a for y, m in b)


def unnamed(target, rows, claims, old_extents):
    """Marks unknown the NTFS rows deleted before a quick format and destroyed where only records the new MFT took met
    their bytes (claims: the sectors each record in use at the format held; old_extents: the MFT's extents then):
    those clusters are free in the new $Bitmap and no record left names them, so the rows cannot be known for
    destroyed."""
    extents = ntfs_records.mft_extents(target.raw)
    spc, _ = ntfs_records.geometry(target.raw)
    bitmap = ntfs_records.cluster_bitmap(target.raw)

    def in_new_mft(number):
        sector = ntfs_records.sector_in(old_extents, number)
        return sector is not None and meet([(sector, ntfs_records.RECORD // SECTOR)], extents)
    gone = [s for number, held in claims.items() if in_new_mft(number) for s in held]
    named = [s for number, held in claims.items() if not in_new_mft(number) for s in held]
    for r in rows:
        if r["fate"] != "destroyed" or not r.get("place") or not r["place"]["runs"]:
            continue
        held = held_sectors(r)
        used = any(bitmap[c // 8] >> (c % 8) & 1 for first, count in held
                   for c in range(first // spc, (first + count - 1) // spc + 1) if c // 8 < len(bitmap))
        if meet(held, gone) and not used and not meet(held, named):
            r["fate"] = "unknown"


def given_out(target):
    """A test of sectors [(first, count)]: whether they meet what the volume as it is now gives out (a cluster its
    allocation gives to a file or folder; on FAT also its boot sector, tables and root folder)."""
    if target.fat:
        fat = damage.Fat(target.raw)
        spc, base, data = fat.spc, fat.base, fat.base + 2 * fat.spc

        def used(first, count):
            return first < data or any(fat.entry(c) != 0 for c in range((first - base) // spc,
                                                                          (first + count - 1 - base) // spc + 1))
    else:
        spc, _ = ntfs_records.geometry(target.raw)
        bitmap = ntfs_records.cluster_bitmap(target.raw)

        def used(first, count):
            return any(c // 8 < len(bitmap) and bitmap[c // 8] >> (c % 8) & 1
                       for c in range(first // spc, (first + count - 1) // spc + 1))
    return lambda held: any(used(first, count) for first, count in held)


def other_cluster(geo, rng):
    """A cluster size twice or half the volume's (the seed draws which it tries first) that its file system allows at
    its size; None when neither is."""
    sizes = [geo.cluster * 2, geo.cluster // 2]
    if rng.random() < 0.5:
        sizes.reverse()
    for cluster in sizes:
        if cluster < SECTOR or cluster > 64 * 1024:
            continue
        if geo.fs == "ntfs":
            return cluster
        low, high = FAT_CLUSTERS.get(geo.fs, (1, 0))
        if low <= geo.sectors * SECTOR // cluster <= high:
            return cluster
    return None


def quick_format(target, rows, rng, additions=None, cluster=None):
    """The volume formatted again (with clusters of `cluster` bytes when given), then new files."""
    locate(target, rows)
    deleted = [r for r in rows if r["state"] == "deleted"]
    live = [r for r in rows if r["state"] == "live"]
    claims = None if target.fat else ntfs_records.claimed_sectors(target.raw)
    old_extents = None if target.fat else ntfs_records.mft_extents(target.raw)
    if cluster is not None:
        target.geo = history.Geometry(target.geo.kind, target.geo.size_mib, cluster)
    history.format_volume(target.geo, target.raw, target.label)
    folders = ["", "New folder %d" % rng.randrange(100)]
    count = additions or max(3, sum(r["state"] == "live" for r in rows) // 5)
    more, made = new_files(target, [], rng, "format", count, target.geo.sectors * SECTOR // 10, folders)
    run_ops(target, [Op("mkdir", "/" + folders[1])] + more)
    for r in rows:
        if r["state"] != "lost" and "place" in r:
            r.update(state="lost", required=False)
            r["fate"] = fate_now(target, r)
        elif r["state"] == "live":
            r.update(state="lost", required=False, fate="unknown")
    if target.fat:
        # The new root holds none of the old root's entries.
        untold(deleted, [r for r in live if "/" in r["path"]])
    else:
        unnamed(target, deleted, claims, old_extents)
    taken = given_out(target)
    for r in rows:
        if r["state"] != "live" and r["fate"] == "intact" and r.get("place") and taken(held_sectors(r)):
            r["taken"] = True
    return rows + made


def tear(target, rows, rng, count=2):
    """Each chosen record's second sector takes another record's (a stale sector), its last two bytes not the
    record's update sequence number."""
    if target.fat:
        raise ValueError("a FAT volume has no records to tear")
    locate(target, rows)
    files = [r for r in rows if r["state"] == "live" and r["size"] and "place" in r]
    small = [r for r in files if r["place"]["sector"] is not None]
    chosen = rng.sample(small, min(count, len(small)))
    chosen += rng.sample([r for r in files if r not in chosen], min(count - len(chosen), len(files) - len(chosen)))
    with open(target.raw, "r+b") as f:
        for r in chosen:
            number = r["place"]["inode"]
            sector = ntfs_records.record_sector(target.raw, number)
            f.seek(sector * SECTOR)
            record = f.read(ntfs_records.RECORD)
            usa, = struct.unpack_from("<H", record, 4)
            f.seek(ntfs_records.record_sector(target.raw, rng.choice([n for n in range(16, 64) if n != number]))
                   * SECTOR + SECTOR)
            stale = bytearray(f.read(SECTOR))
            if stale[-2:] == record[usa:usa + 2]:
                stale[-1] ^= 0xFF
            f.seek((sector + 1) * SECTOR)
            f.write(stale)
            r.update(fate="destroyed", required=False)
    return rows


def crowd(target, rows, rng, files=None):
    """Two new folders side by side in a folder of the volume, each of the same number of files (several clusters
    of directory each)."""
    parent = rng.choice(target.folders)
    count = files or rng.randint(20, 50)
    ops, made = [], []
    for n in range(2):
        folder = (parent + "/" if parent else "") + "Crowded folder %d" % (rng.randrange(1000) * 2 + n)
        ops.append(Op("mkdir", "/" + folder))
        more, new = new_files(target, rows + made, rng, "crowd%d" % n, count, count * 8000, [folder], 8000)
        ops += more
        made += new
        target.folders.append(folder)
    run_ops(target, ops)
    return rows + made


def fill(target, rows):
    """Live files of 1 MiB (ntfs-3g cannot place a larger one in as many runs) that leave free a quarter of the bytes
    of the live files, a sixteenth of the space and a margin for the MFT to grow: what is written next goes where
    deleted files were."""
    bitmap = ntfs_records.cluster_bitmap(target.raw)
    clusters = min(len(bitmap) * 8, target.geo.sectors * SECTOR // target.geo.cluster)
    free = sum(1 for c in range(clusters) if not bitmap[c // 8] >> (c % 8) & 1)
    spare = sum(r["size"] for r in rows if r["state"] == "live") // 4 + 64 * target.geo.cluster + MIB // 2
    ops, made = [], []
    for n in range(max(0, free * target.geo.cluster * 15 // 16 - spare) // MIB):
        name = "nearly full %02d.bin" % n
        data = pseudo_bytes("fill/%d/%d" % (target.seed, n), MIB)
        ops.append(Op("put", "/" + name, MIB, data))
        made.append(row(name, MIB, sha256_bytes(data)))
    run_ops(target, ops)
    return rows + made


def reuse_delete(target, rows, rng, copies=False):
    """reuse, its new files made a day later or now as rng draws, then those deleted; copies: made a day later, their
    last write a day before the history's, a folder of them made first and removed."""
    later = rng.random() < 0.5 or copies
    if not target.fat:
        rows = fill(target, rows)
    before = len(rows)
    when = CLOCK + DAY if later else None
    folder = "Copied folder %d" % rng.randrange(1000) if copies else None
    rows = reuse(target, rows, rng, mtime=when, folder=folder)
    fresh = rows[before:]
    # TSK is asked for the new files' places alone: they are deleted next, which leaves any description behind.
    new = {key(r["path"], target.fat) for r in fresh}
    target.description = oracle.describe_volume(target.raw, 0, wanted=lambda e: key(e["path"], target.fat) in new)
    locate(target, fresh)
    writers = list(fresh)
    if folder:
        # The folder's first cluster begins with its "." entry (FAT): the one of its clusters that says whose it is.
        entry = next(e for e in oracle.user_entries(target.description) if e["dir"] and e["path"] == folder)
        writers.append({"place": {"runs": [[entry["runs"][0][0], target.geo.cluster // SECTOR]] if entry["runs"]
                                  else []}})
    redated = [Op("redate", "/" + r["path"], r["size"], CLOCK - DAY) for r in fresh] if copies else []
    run_ops(target, redated + [Op("rm", "/" + r["path"]) for r in fresh] +
            ([Op("rmtree", "/" + folder)] if folder else []), when)
    for r in fresh:
        r.update(state="deleted", required=False, day=1 if later else 0)
        r["fate"] = fate_now(target, r)
    if target.fat:
        untold([r for r in rows[:before] if r["state"] == "deleted"], listed_writers(target, writers))
    return rows


def listed_writers(target, writers):
    """The writers whose deleted entries TSK still lists (a file's entry in a later cluster of a deleted folder is
    lost with the folder's chain): only they tell whose the clusters they took are. Deleted short names are compared
    without their first letter."""
    def key(path, size):
        folder, _, name = path.upper().rpartition("/")
        return folder, name[1:], size
    listed = {key(e["path"], e["size"]) for e in oracle.user_entries(oracle.describe_volume(target.raw, 0))
              if e["deleted"] and not e["dir"]}
    return [w for w in writers if "path" not in w or key(w["path"], w["size"]) in listed]


def act(name, target, rows, seed, **counts):
    """Takes the act on the volume in place; returns the rows of every file written (None: the act does not fit the
    volume, which is left as it was)."""
    if name == "reuse-format":
        rows = act("reuse", target, rows, seed)
        target.description = oracle.describe_volume(target.raw, 0)
        return act("format", target, rows, seed)
    rng = random.Random(seed * 7907 + ACTS.index(name) + 1)
    if name == "reuse":
        return reuse(target, rows, rng, **counts)
    if name == "format":
        return quick_format(target, rows, rng, **counts)
    if name == "reformat":
        cluster = other_cluster(target.geo, rng)
        return None if cluster is None else quick_format(target, rows, rng, cluster=cluster, **counts)
    if name == "crowd":
        return crowd(target, rows, rng, **counts)
    if name == "reuse-delete":
        return reuse_delete(target, rows, rng)
    if name == "reuse-copy":
        return reuse_delete(target, rows, rng, copies=True)
    return tear(target, rows, rng, **counts)


def build(seed, kind, act_name, out_dir, helper=None):
    """The seed's history, then the act; (record of the history, TSK's description before the act, rows). The
    volume is DIR/<kind>-<seed>-<act>.raw."""
    record = history.build(seed, kind, out_dir, helper)
    description = oracle.describe_volume(record["image"], 0)
    raw = record["image"][:-len(".raw")] + "-%s.raw" % act_name
    copy_sparse(record["image"], raw)
    record = as_listed(dict(record, image=raw), description)
    rows = act(act_name, target_of(record, description, helper), written_of(record), seed)
    if rows is None:
        raise SystemExit("the act %s does not fit the volume of seed %d" % (act_name, seed))
    with open(raw[:-len(".raw")] + ".written.json", "w", encoding="utf-8") as f:
        json.dump(rows, f, indent=1, ensure_ascii=False)
    return record, description, rows


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--seed", type=int, required=True)
    parser.add_argument("--act", choices=ACTS, required=True)
    parser.add_argument("--kind", choices=history.KINDS)
    parser.add_argument("--out", required=True)
    parser.add_argument("--ntfs-helper")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    kind = args.kind or history.default_kind(args.seed)
    record, _, rows = build(args.seed, kind, args.act, args.out, args.ntfs_helper)
    counts = {}
    for r in rows:
        counts[(r["state"], r["fate"])] = counts.get((r["state"], r["fate"]), 0) + 1
    print(record["image"])
    print(", ".join("%s %s: %d" % (s, f, n) for (s, f), n in sorted(counts.items())))


if __name__ == "__main__":
    main()
