#!/usr/bin/env python3
"""Damage put into a built volume (a raw file from sector 0, as tools/images/history.py makes it), in the shapes
real disks come with, each on one file the seed picks from TSK's description of the volume
(oracle.describe_volume):

    FAT   cut        a live file's chain ends (an end mark in both tables) after its first cluster
          run-on     a live fragmented file: its last cluster moved to a free cluster further on, the chain going on
                     past it into another (an append cut off), what was left in the old place other bytes
          inflate    a live file's directory entry claims 200,000,000 bytes over the clusters it has
          last       a file's entry (a deleted one where there is one) starts at the volume's last cluster and
                     claims two clusters more than it
    NTFS  past-end   a non-resident file's first data run starts past the volume's end
          valid      a non-resident file's valid data length cut to within its first half: the bytes past it read
                     as zeros, whatever its clusters hold
          inflate    a non-resident file's sizes claim 200,000,000 bytes over the clusters it has

Damage to one of two copies, which the other copy still holds whole (TSK reads only the first table, so the
generator's own record of what it wrote judges these):

    FAT   first-table    a live file's chain in the first table only: cut after its first cluster, or running on
                         from its last cluster into a free one
          second-table   the same in the second table only
          table-sector   one entry in the first sector of one table differs from the other copy (a free cluster
                         marked in use, or where none is free a file's cluster marked free: a write that reached
                         one copy before a crash); the boot sector (and backup) zeroed, so the volume is rebuilt
          cross-files    the first table links a live file's first cluster into another live file's second cluster
                         (the second one's chain from there covers the first one's size)
          cross-folders  the first table links a live folder's first or last cluster into another live folder's
                         second cluster: the entries after the linked cluster are reached through the second table
                         alone, the other folder's from its second cluster on through both folders
          table-start    the first sector of one table lost (zeroed), the boot sector (and backup) zeroed: the other
                         copy's first sector places both
    FAT, both copies
          cross-both     cross-files written to both tables: the first file's own clusters are chained no more
                         (destroyed), the other's stay its own
    FAT32, NTFS
          boot-backup    the boot sector zeroed, its backup kept (FAT32 six sectors on, NTFS in the last sector)

    apply(raw, description, seed, shapes=None) -> [{"shape", "path", "inode", "fate", ...}]   what was damaged:
        fate "destroyed" (the file's bytes can no longer be read whole: a reader must count it damaged), "intact"
        (the other copy holds it whole), "tsk" (its bytes are what TSK reads now: the valid data length's zeros, a
        chain run on);
        "hidden": paths whose directory entries only the other copy reaches; "tied": paths whose clusters another
        file claims as well as they do; path None for a shape that damages no file (table-sector, boot-backup)
    python3 damage.py RAW SEED [SHAPE...]    (TSK describes RAW first; prints what was damaged)
"""
import random
import struct
import sys

import fat_boot
import ntfs_records
from util import SECTOR

FAT_SHAPES = ("cut", "run-on", "inflate", "last")
NTFS_SHAPES = ("past-end", "valid", "inflate")
ONE_COPY_FAT = ("first-table", "second-table", "table-sector", "cross-files", "cross-folders", "boot-backup",
                "table-start", "cross-both")
ONE_COPY_NTFS = ("boot-backup",)
INFLATED = 200000000


def shapes_of(fs):
    return NTFS_SHAPES if fs == "ntfs" else FAT_SHAPES


# ---------------------------------------------------------------- FAT

class Fat:
    """The geometry of a FAT12, FAT16 or FAT32 volume from its boot sector, its tables read and written in place."""

    def __init__(self, raw):
        self.raw = raw
        g = fat_boot.read(raw)
        self.spc, self.reserved, self.tables, self.table_sectors, self.fat32 = g.spc, g.reserved, g.fats, g.spf, g.fat32
        self.last_cluster = (g.total - g.data) // self.spc + 1
        # FAT12 by its cluster count, as the format defines: its entries are a byte and a half.
        self.bits = 32 if self.fat32 else 12 if self.last_cluster - 1 < 4085 else 16
        self.end_mark = {12: 0xFFF, 16: 0xFFFF, 32: 0x0FFFFFFF}[self.bits]
        self.base = g.data - 2 * self.spc  # the sector of cluster 0

    def _place(self, cluster):
        """The byte offset of cluster's entry in a table, and how many bytes hold it."""
        if self.bits == 12:
            return cluster * 3 // 2, 2
        return cluster * self.bits // 8, self.bits // 8

    def _decode(self, cluster, raw):
        if self.bits == 12:
            return raw >> 4 if cluster & 1 else raw & 0xFFF
        return raw & 0x0FFFFFFF if self.fat32 else raw

    def _encode(self, cluster, raw, value):
        """The bytes' new value with cluster's entry set to value, keeping the bits that are not its own."""
        if self.bits == 12:
            return (raw & 0x000F) | (value << 4) if cluster & 1 else (raw & 0xF000) | value
        return value | (raw & 0xF0000000) if self.fat32 else value

    def entry(self, cluster, table=0):
        offset, size = self._place(cluster)
        with open(self.raw, "rb") as f:
            f.seek((self.reserved + table * self.table_sectors) * SECTOR + offset)
            return self._decode(cluster, int.from_bytes(f.read(size), "little"))

    def set_entry(self, cluster, value, tables=None):
        """Sets the entry in every table, or in those of tables (their numbers from 0)."""
        offset, size = self._place(cluster)
        with open(self.raw, "r+b") as f:
            for t in range(self.tables) if tables is None else tables:
                at = (self.reserved + t * self.table_sectors) * SECTOR + offset
                f.seek(at)
                raw = int.from_bytes(f.read(size), "little")
                f.seek(at)
                f.write(self._encode(cluster, raw, value).to_bytes(size, "little"))

    def chain(self, first, table=0):
        out = [first]
        while len(out) <= self.last_cluster:
            nxt = self.entry(out[-1], table)
            if nxt < 2 or nxt > self.last_cluster:
                break
            out.append(nxt)
        return out

    def free_after(self, cluster):
        for c in range(cluster + 1, self.last_cluster + 1):
            if self.entry(c) == 0:
                return c
        return None

    def cluster_bytes(self, cluster, data=None):
        with open(self.raw, "rb" if data is None else "r+b") as f:
            f.seek((self.base + cluster * self.spc) * SECTOR)
            return f.read(self.spc * SECTOR) if data is None else f.write(data)

    def entry_offset(self, description, e):
        """The byte offset of TSK's entry e's directory entry: TSK numbers entries by their place, 16 to a sector
        from the data area (fsstat's) on, the first being 3."""
        area = int(description["fsstat"]["Data Area"].split()[0])
        return (area + (e["inode"] - 3) // 16) * SECTOR + (e["inode"] - 3) % 16 * 32

    def first_cluster(self, description, e):
        """The entry's first cluster as its directory entry holds it, and whether that is where TSK's runs start."""
        with open(self.raw, "rb") as f:
            f.seek(self.entry_offset(description, e))
            d = f.read(32)
        first = struct.unpack_from("<H", d, 26)[0] | (struct.unpack_from("<H", d, 20)[0] << 16 if self.fat32 else 0)
        runs = e.get("runs") or []
        return first, bool(runs) and runs[0][0] - description.get("start", 0) == self.base + first * self.spc

    def set_first_and_size(self, description, e, first=None, size=None):
        at = self.entry_offset(description, e)
        with open(self.raw, "r+b") as f:
            if first is not None:
                f.seek(at + 26)
                f.write(struct.pack("<H", first & 0xFFFF))
                if self.fat32:
                    f.seek(at + 20)
                    f.write(struct.pack("<H", first >> 16))
            if size is not None:
                f.seek(at + 28)
                f.write(struct.pack("<I", size))


def fat_files(fat, description, live=True):
    """TSK's file entries whose directory entry holds the cluster TSK starts them at (live or deleted)."""
    out = []
    for e in description.get("entries", []):
        if e["meta"] or e["orphan"] or e["dir"] or e["deleted"] == live or not e["size"]:
            continue
        if fat.first_cluster(description, e)[1]:
            out.append(e)
    return out


def fat_damage(fat, description, shape, rng):
    cluster_bytes = fat.spc * SECTOR
    live = fat_files(fat, description)
    if shape == "cut":
        chained = [e for e in live if len(fat.chain(fat.first_cluster(description, e)[0])) >= 2]
        if not chained:
            return None
        e = rng.choice(chained)
        fat.set_entry(fat.first_cluster(description, e)[0], fat.end_mark)
        return e
    if shape == "run-on":
        for e in rng.sample(live, len(live)):
            chain = fat.chain(fat.first_cluster(description, e)[0])
            if len(chain) < 2 or len(chain) * cluster_bytes < e["size"]:
                continue
            moved = fat.free_after(chain[-1] + 1)
            extra = moved and fat.free_after(moved)
            if not extra:
                continue
            fat.cluster_bytes(moved, fat.cluster_bytes(chain[-1]))
            fat.cluster_bytes(chain[-1], bytes([0xEE]) * cluster_bytes)
            fat.set_entry(chain[-2], moved)
            fat.set_entry(chain[-1], 0)
            fat.set_entry(moved, extra)
            fat.set_entry(extra, fat.end_mark)
            return e
        return None
    if shape == "inflate":
        if not live:
            return None
        e = rng.choice(live)
        fat.set_first_and_size(description, e, size=INFLATED)
        return e
    if shape == "last":
        candidates = fat_files(fat, description, live=False) or live
        if not candidates:
            return None
        e = rng.choice(candidates)
        fat.set_first_and_size(description, e, first=fat.last_cluster, size=3 * cluster_bytes)
        return e
    raise ValueError("no FAT damage %r" % shape)


# ---------------------------------------------------------------- damage to one copy (FAT)

def own_chains(fat, description, folders=False):
    """[(TSK entry, its chain)] of the live files (or folders) whose chain is their own: it starts where TSK
    starts them, and a file's holds exactly the clusters its size needs."""
    out = []
    for e in description.get("entries", []):
        if e["meta"] or e["orphan"] or e["deleted"] or e["dir"] != folders or not (folders or e["size"]):
            continue
        first, own = fat.first_cluster(description, e)
        if not own:
            continue
        chain = fat.chain(first)
        if folders or len(chain) == -(-e["size"] // (fat.spc * SECTOR)):
            out.append((e, chain))
    return out


def one_table(fat, description, table, rng):
    """A live file's chain changed in one table only: cut after its first cluster, or running on from its last."""
    chained = [(e, chain) for e, chain in own_chains(fat, description) if len(chain) >= 2]
    if not chained:
        return None
    e, chain = rng.choice(chained)
    free = fat.free_after(chain[-1])
    if rng.random() < 0.5 or free is None:
        fat.set_entry(chain[0], fat.end_mark, [table])
    else:
        fat.set_entry(chain[-1], free, [table])
        fat.set_entry(free, fat.end_mark, [table])
    return {"entry": e, "fate": "intact"}


def zero_boot(raw, sectors):
    with open(raw, "r+b") as f:
        for s in sectors:
            f.seek(s * SECTOR)
            f.write(bytes(SECTOR))


def table_sector(fat, rng):
    """One entry of the first sector of one table changed, the boot sector and its backup zeroed."""
    table = rng.randrange(2)
    first_sector = range(2, min(SECTOR * 8 // fat.bits, fat.last_cluster + 1))
    free = [c for c in first_sector if fat.entry(c) == 0]
    if free:
        fat.set_entry(rng.choice(free), fat.end_mark, [table])
    else:
        fat.set_entry(rng.choice(first_sector), 0, [table])
    zero_boot(fat.raw, [0, 6] if fat.fat32 else [0])
    return {"entry": None, "fate": "intact"}


def cross_files(fat, description, rng, both=False):
    """The first table (or both) links a live file's first cluster into another's second: the chain from there covers
    it."""
    chains = own_chains(fat, description)
    pairs = [(f, g) for f in chains for g in chains
             if f[0] is not g[0] and len(f[1]) >= 2 and len(g[1]) >= len(f[1])]
    if not pairs:
        return None
    (f, f_chain), (g, g_chain) = rng.choice(pairs)
    fat.set_entry(f_chain[0], g_chain[1], None if both else [0])
    # In both tables, a chain of exactly the first file's length from there claims the second's clusters as well as
    # its own chain does: nothing tells whose they are.
    tied = [g["path"]] if both and len(g_chain) == len(f_chain) else []
    return {"entry": f, "fate": "destroyed" if both else "intact", "into": g["path"], "tied": tied}


def table_start(fat, rng):
    """The first sector of one table zeroed, the boot sector and its backup too."""
    with open(fat.raw, "r+b") as f:
        f.seek((fat.reserved + rng.randrange(2) * fat.table_sectors) * SECTOR)
        f.write(bytes(SECTOR))
    zero_boot(fat.raw, [0, 6] if fat.fat32 else [0])
    return {"entry": None, "fate": "intact"}


def cross_folders(fat, description, rng):
    """The first table links a live folder's first or last cluster into another live folder's second cluster."""
    folders = own_chains(fat, description, folders=True)

    def related(a, b):
        return a["path"].startswith(b["path"] + "/") or b["path"].startswith(a["path"] + "/")

    pairs = [(a, b) for a in folders for b in folders
             if a[0] is not b[0] and len(b[1]) >= 2 and not related(a[0], b[0]) and not set(a[1]) & set(b[1])]
    # Folders side by side where there are some, as users meet them, the one linked from named first in their
    # folder or last as the seed draws: which of the two a reader comes to first must not matter.
    pairs = [p for p in pairs if p[0][0]["path"].rpartition("/")[0] == p[1][0]["path"].rpartition("/")[0]] or pairs
    first = rng.random() < 0.5
    pairs = [p for p in pairs if (p[0][0]["inode"] < p[1][0]["inode"]) == first] or pairs
    # The first cluster linked away (the rest of the folder left to the second table), where the linked chain is no
    # longer than the folder's own; or its last cluster running on into the other folder.
    linked_first = rng.random() < 0.5
    if linked_first:
        pairs = [p for p in pairs if len(p[0][1]) >= len(p[1][1])] or pairs
    if not pairs:
        return None
    (a, a_chain), (b, b_chain) = rng.choice(pairs)
    linked = 0 if linked_first else len(a_chain) - 1
    fat.set_entry(a_chain[linked], b_chain[1], [0])
    lost = set(a_chain[linked + 1:])
    cut = [e["path"] for e in description["entries"]
           if not e["meta"] and e["path"].rpartition("/")[0] == a["path"] and
           (fat.entry_offset(description, e) // SECTOR - fat.base) // fat.spc in lost]
    hidden = sorted(e["path"] for e in description["entries"]
                    if any(e["path"] == p or e["path"].startswith(p + "/") for p in cut))
    return {"entry": a, "fate": "intact", "into": b["path"], "hidden": hidden}


def one_copy(raw, fat, description, shape, rng):
    if shape == "boot-backup":
        if fat is not None and not fat.fat32:
            return None  # FAT16 and FAT12 keep no backup
        zero_boot(raw, [0])
        return {"entry": None, "fate": "intact"}
    if shape in ("first-table", "second-table"):
        return one_table(fat, description, 1 if shape == "second-table" else 0, rng)
    if shape == "table-sector":
        return table_sector(fat, rng)
    if shape in ("cross-files", "cross-both"):
        return cross_files(fat, description, rng, shape == "cross-both")
    if shape == "table-start":
        return table_start(fat, rng)
    if shape == "cross-folders":
        return cross_folders(fat, description, rng)
    raise ValueError("no damage %r" % shape)


# ---------------------------------------------------------------- NTFS

def ntfs_files(raw, description):
    """TSK's live non-resident files (their record's unnamed data attribute non-resident)."""
    out = []
    for e in description.get("entries", []):
        if e["meta"] or e["orphan"] or e["dir"] or e["deleted"] or e["stream"] or not e["size"] or e.get("resident"):
            continue
        try:
            record = ntfs_records.read_sector_record(raw, ntfs_records.record_sector(raw, e["inode"]))
            at = ntfs_records.find_attribute(record, ntfs_records.DATA)
        except ValueError:
            continue
        if record[at + 8] != 0 and struct.unpack_from("<Q", record, at + 16)[0] == 0:
            out.append(e)
    return out


def ntfs_damage(raw, description, shape, rng):
    files = ntfs_files(raw, description)
    rng.shuffle(files)
    spc, _ = ntfs_records.geometry(raw)
    with open(raw, "rb") as f:
        f.seek(40)
        clusters = struct.unpack("<Q", f.read(8))[0] // spc
    for e in files:
        done = []

        def edit(record, at):
            runs = ntfs_records.decode_runs(record, at)
            if shape == "past-end":
                if runs[0][0] is None:
                    return
                runs[0] = (clusters + 16 + rng.randrange(1024), runs[0][1])
                pos = at + struct.unpack_from("<H", record, at + 32)[0]
                encoded = ntfs_records.encode_runs(runs)
                if pos + len(encoded) > at + struct.unpack_from("<I", record, at + 4)[0]:
                    return
                record[pos:pos + len(encoded)] = encoded
            elif shape == "valid":
                real = struct.unpack_from("<Q", record, at + 48)[0]
                if real < 2 * SECTOR:
                    return
                struct.pack_into("<Q", record, at + 56, rng.randrange(1, real // 2))
            elif shape == "inflate":
                struct.pack_into("<QQQ", record, at + 40, -(-INFLATED // 4096) * 4096, INFLATED, INFLATED)
            else:
                raise ValueError("no NTFS damage %r" % shape)
            done.append(True)

        ntfs_records.patch_attribute(raw, e["inode"], ntfs_records.DATA, edit)
        if done:
            return e
    return None


# ---------------------------------------------------------------- the command

def apply(raw, description, seed, shapes=None):
    """Damages the volume in place, one file per shape (all of its file system's first shapes by default, in their
    order); returns what was damaged (see the module's text; a shape nothing fits is left out). Each shape takes a
    file no other shape took."""
    rng = random.Random(seed * 104729 + 17)
    fs = description["fs"]
    taken = set()
    fat = None if fs == "ntfs" else Fat(raw)
    done = []
    for shape in shapes or shapes_of(fs):
        trimmed = dict(description, entries=[e for e in description.get("entries", []) if e["inode"] not in taken])
        if shape in ONE_COPY_FAT:
            got = one_copy(raw, fat, trimmed, shape, rng)
        else:
            e = ntfs_damage(raw, trimmed, shape, rng) if fat is None else fat_damage(fat, trimmed, shape, rng)
            # A chain run on past its file's last cluster still gives the file whole, as TSK reads it.
            got = e and {"entry": e, "fate": "tsk" if shape in ("valid", "run-on") else "destroyed"}
        if got is None:
            continue
        e = got.pop("entry")
        if e is not None:
            taken.add(e["inode"])
        done.append(dict(got, shape=shape, path=e and e["path"], inode=e and e["inode"]))
    return done


def main():
    import oracle
    raw, seed, shapes = sys.argv[1], int(sys.argv[2]), sys.argv[3:] or None
    for d in apply(raw, oracle.describe_volume(raw, 0), seed, shapes):
        print("%s\t%s\t%s" % (d["shape"], d["path"], d["fate"]))


if __name__ == "__main__":
    main()
