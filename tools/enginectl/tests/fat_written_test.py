#!/usr/bin/env python3
"""FAT volumes judged by the files that were written to them (fat_written_volumes.py: mkfs.fat and mtools, the
bytes and clusters of every file kept), after damage to ONE allocation table copy as well as to both, and after the
histories users bring, where The Sleuth Kit (which reads the first table only) is no judge:

    fat_written_test.py --enginectl PATH --work DIR [--only NAME...] [--figures] [--list]

- run-on: a live file's first cluster linked into a longer file's chain in one table copy, or in both;
- crossed folders: the first cluster of one folder of 40 files linked into the second cluster of another's, in one
  copy or in both (its later clusters then found by the Extensive Scan alone), the two root entries in either
  order; a full folder of one cluster run on into another's second cluster, which names a subfolder, in one copy;
- one copy's first sector lost on a FAT16 volume of 8 KiB clusters (its tables at 16), read by Quick Scan;
- copies that differ: a volume without its boot sector whose two table copies differ in one entry of their first
  sector (an allocation written to one copy before a crash);
- a 1.44 MB FAT12 floppy found by the Extensive Scan;
- tables away from where a search window looks: both boot sectors lost, FAT32 with 6,158 reserved sectors (as card
  formatters align the data area), FAT16 with 64, and the usual 32 for FAT32;
- files deleted and their space written again; written again and deleted in turn, a day later or the same day, or
  a day later as copies of older files (their last write older than the old files'); a folder made over a deleted
  file's first cluster and removed again;
- a volume quick-formatted over its files, then written; a new file beginning where an old one of its length did,
  an old file written around another; a folder of 60 long names on 4 KiB clusters;
- short names in lower case by their case flags (byte 12), some with letters of the DOS code page, through a
  snapshot too, and through an old snapshot that named those one character per byte;
- a stick as people fill it: hundreds of small files written in a row, a folder of long names over more than one
  cluster, names as Windows writes them (a short entry alone in the DOS code page, a first byte 0x05), empty files,
  a long name damaged by a character no name may hold;
- a healthy volume without folders, all its files in the root, found by an Extensive Scan by its boot sector;
- a stick of photos that keeps a disk image file (a DOS floppy, a small VM disk of a FAT12 partition), live,
  deleted, or deleted and its entry taken by a later file, on clusters of 512 bytes to 32 KiB: the image's folders
  are its bytes, never lost folders of the stick;
- FAT32 tables as a camera's FAT library writes them (F8 FF FF FF FF FF FF FF), both boot sectors lost, at 40 MiB
  and at 400 MiB;
- FAT12, FAT16 and FAT32 volumes in partitions whose type names another kind (or their own), primary and logical,
  their boot sectors lost or not, read by a Quick Scan of the partition.

For every case and way of reading it (quick: Quick Scan; extensive: the file system an Extensive Scan finds at the
volume's place; snapshot: a Quick Scan's snapshot loaded over the volume; old-snapshot: the same with its names as
an old snapshot holds them; extensive-snapshot: the Extensive Scan's, loaded; partition: a Quick Scan of the
partition that holds it, and partition-snapshot its snapshot, loaded), the tree is listed and saved whole
(enginectl save --audit). A file the history left whole must be listed at its place (live or deleted) with its size
and saved with the bytes written, not counted damaged; a file the damage or history destroyed may be missing or
counted damaged, never counted whole with other bytes; no file is counted whole with bytes other than those written
under its name; where the case knows every file the volume held (Truth.complete), no other file is listed.
--figures prints for each case and way: files written, listed, missing, listed though never written, counted whole,
counted whole with wrong bytes, and counted damaged (with how many were destroyed). The last line gives the cases and
the failures.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from driver import CODES, Save, case_arguments, run, run_cases  # noqa: E402  (driver.py puts tools/images on the path)
from fat_written_volumes import Volume  # noqa: E402
from save_test import patch_long_name  # noqa: E402
from disks import write_table  # noqa: E402
from util import SECTOR, make_sparse, patch, run as run_tool  # noqa: E402
import vhd  # noqa: E402

CODES = dict(CODES, fat12=100)
WHOLE, DESTROYED, EITHER = "whole", "destroyed", "either"


class Truth:
    """What a case wrote: (path as the reader shows it, bytes, deleted, fate) for each file."""

    def __init__(self):
        self.files = []
        self.complete = False  # whether every file the volume ever held is here: any other file listed is a phantom

    def add(self, path, data, deleted, fate):
        self.files.append((path, data, deleted, fate))


def live_truth(v, place=lambda p: p, fates=None):
    """The live files of v, whole unless fates says otherwise, at place(path)."""
    truth = Truth()
    for path, data in v.files.items():
        truth.add(place(path), data, False, (fates or {}).get(path, WHOLE))
    return truth


def deleted_fate(v, path):
    """A deleted file is whole when the clusters it had are all free still and hold its bytes (it was contiguous);
    destroyed when any of them is in use again."""
    clusters = v.clusters[path]
    if any(v.allocated(c) for c in clusters):
        return DESTROYED
    return WHOLE if v.intact(path, v.deleted[path]) else DESTROYED


def entries_in_cluster(v, cluster):
    """(name, first cluster) of the live entries whose short entry lies in one directory cluster: the long name its
    pieces there spell (all of them, from the one marked last), else the 8.3 name as stored (the test's own reading,
    names of one case only)."""
    data = v.read_cluster(cluster)
    out, pieces, whole = [], [], False
    for i in range(0, len(data), 32):
        e = data[i:i + 32]
        if e[0] == 0:
            break
        if e[11] == 0x0F:
            if e[0] & 0x40:
                pieces, whole = [], True
            chars = e[1:11] + e[14:26] + e[28:32]
            pieces.insert(0, chars.decode("utf-16-le").split("\0")[0].rstrip("\uffff"))
            continue
        if e[0] not in (0xE5, ord(".")):
            base, ext = e[:8].decode().rstrip(), e[8:11].decode().rstrip()
            first = int.from_bytes(e[26:28], "little") | int.from_bytes(e[20:22], "little") << 16 * v.fat32
            out.append(("".join(pieces) if pieces and whole else base + ("." + ext if ext else ""), first))
        pieces, whole = [], False
    return out


def names_in_cluster(v, cluster):
    return [n for n, _ in entries_in_cluster(v, cluster)]


# ---------------------------------------------------------------- the cases

def run_on(work, name, fs, copies):
    """F.BIN (3 clusters) and G.BIN (10): F's first cluster linked into G's second cluster in the copies named. The
    other copy holds F's exact chain."""
    v = Volume(work, name, fs, 16 if fs == "fat16" else 40)
    cluster = v.spc * SECTOR
    v.mkdir("Work")
    for i in range(4):
        v.put("Work/before %d.dat" % i, 700 + 900 * i)
    v.put("F.BIN", 3 * cluster - 100)
    v.put("G.BIN", 10 * cluster - 7)
    v.put("AFTER.TXT", 5000)
    v.link(v.clusters["F.BIN"][0], v.clusters["G.BIN"][1], copies)
    # Linked in both copies, F.BIN's own clusters are no longer chained: it runs into G.BIN's, which stays G's.
    fates = {"F.BIN": DESTROYED} if len(copies) == 2 else {}
    return v, live_truth(v, fates=fates), ["quick", "extensive"]


def crossed_folders(work, name, fs, copies, beta_first, sub=False):
    """/ALPHA and /BETA of 40 files each: ALPHA's first cluster linked into BETA's second in the copies named. With
    sub, ALPHA's 14 files fill its one cluster (its directory goes on), which runs on into BETA's second, and BETA/SUB
    (5 files) is named after BETA's files: a reader of ALPHA meets SUB there, though SUB's ".." names BETA."""
    v = Volume(work, name, fs, 16 if fs == "fat16" else 40)
    order = ["BETA", "ALPHA"] if beta_first else ["ALPHA", "BETA"]
    v.mkdir(*order)
    for folder in order:
        count = 14 if sub and folder == "ALPHA" else 40
        v.put_many(folder, {"%s%02d.TXT" % (folder[0], i): 300 + 37 * i for i in range(count)})
    if sub:
        v.mkdir("BETA/SUB")
        v.put_many("BETA/SUB", {"S%02d.TXT" % i: 500 + 41 * i for i in range(5)})
    alpha, beta = v.chain_of("ALPHA"), v.chain_of("BETA")
    if (len(alpha) != 1 if sub else len(alpha) < 2) or len(beta) < 2 or (sub and "SUB" in names_in_cluster(v, beta[0])):
        raise RuntimeError("the folders fill fewer clusters than the case needs")
    v.link(alpha[-1 if sub else 0], beta[1], copies)
    if sub or set(copies) != {1, 2}:
        return v, live_truth(v), ["quick", "extensive"]
    # Both copies lead ALPHA into BETA: what ALPHA's first cluster holds is all its chain keeps; its later clusters
    # are whole on the disk, found by their entries (the Extensive Scan, under "Lost Dir").
    kept = set(names_in_cluster(v, alpha[0]))
    lost = {p for p in v.files if p.startswith("ALPHA/") and p.split("/")[1] not in kept}
    truth = live_truth(v, place=lambda p: "Lost Dir/" + p.split("/")[1] if p in lost else p,
                       fates={p: EITHER for p in lost})
    return v, truth, ["quick", "extensive"]


def fill_documents(v):
    """Files as a user keeps them: a few in the root, 60 long-named letters in a folder of several clusters, and a
    picture written around the place of a deleted one (Pictures/HOLE.TMP)."""
    cluster = v.spc * SECTOR
    v.mkdir("Docs", "Docs/Letters", "Pictures")
    for i in range(5):
        v.put("Read me %d.txt" % i, 400 + 500 * i)
    v.put_many("Docs/Letters", {"letter to the bank number %02d.doc" % i: 900 + 61 * i for i in range(60)})
    v.put("Pictures/HOLE.TMP", 2 * cluster)
    v.put("Pictures/AFTER.JPG", cluster + 50)
    v.delete("Pictures/HOLE.TMP")
    v.put("Pictures/fragmented.jpg", 5 * cluster - 30)


def copies_differ(work, name, fs, copy):
    """Boot sectors zeroed; one free entry of the first sector of table copy `copy` marked in use."""
    v = Volume(work, name, fs, 16 if fs == "fat16" else 40)
    v.put("SPARE.TMP", v.spc * SECTOR)  # freed at the end: a free entry in the tables' first sector
    fill_documents(v)
    v.delete("SPARE.TMP")
    v.link(v.clusters["SPARE.TMP"][0], None, (copy,))
    v.zero_sectors(0, *([6] if v.fat32 else []))
    truth = live_truth(v)
    truth.add("SPARE.TMP", v.deleted["SPARE.TMP"], True, EITHER)
    truth.add("Pictures/HOLE.TMP", v.deleted["Pictures/HOLE.TMP"], True, deleted_fate(v, "Pictures/HOLE.TMP"))
    return v, truth, ["extensive"]


def table_start(work, name, fs, copy, spc):
    """The first sector of table copy `copy` lost (zeroed) on a volume whose formatter aligned its tables to the
    cluster: Quick Scan takes its boot sector by the other copy, and reads every file along its chain."""
    v = Volume(work, name, fs, (16 if fs == "fat16" else 40) * spc, spc=spc)
    fill_documents(v)
    v.zero_sectors(v.reserved + (copy - 1) * v.spf)
    truth = live_truth(v)
    truth.add("Pictures/HOLE.TMP", v.deleted["Pictures/HOLE.TMP"], True, deleted_fate(v, "Pictures/HOLE.TMP"))
    return v, truth, ["quick"]


def format_overlaps(work, name, fs):
    """Old files that the new tables of a quick format no longer chain, read by their entries: A.BIN begins where a
    new file of its length begins (moved into Old, its clusters left first on the volume), X.BIN was written
    around B.BIN (its consecutive clusters hold B.BIN's first). Neither holds its own bytes there; B.BIN does."""
    v = Volume(work, name, fs, 16 if fs == "fat16" else 40)
    cluster = v.spc * SECTOR
    v.put("A.BIN", 3 * cluster)
    v.mkdir("Old")
    run_tool(["mmove", "-i", v.raw, "::/A.BIN", "::/Old/A.BIN"])
    v.files["Old/A.BIN"], v.clusters["Old/A.BIN"] = v.files.pop("A.BIN"), v.clusters.pop("A.BIN")
    v.put("Old/HOLE.TMP", cluster)
    v.put("Old/B.BIN", 2 * cluster)
    v.delete("Old/HOLE.TMP")
    v.put("Old/X.BIN", 3 * cluster - 5)
    v.put("Old/KEEP.TXT", 5000)
    x, b = v.clusters["Old/X.BIN"], v.clusters["Old/B.BIN"]
    if x[1] != b[-1] + 1 or b[0] != x[0] + 1:
        raise RuntimeError("X.BIN was not written around B.BIN: %s %s" % (x, b))
    old = dict(v.files)
    old_folder = v.clusters["Old"][0]
    v.format()
    v.put("NEW.BIN", 3 * cluster)
    if v.clusters["NEW.BIN"] != v.clusters["Old/A.BIN"]:
        raise RuntimeError("NEW.BIN does not take A.BIN's clusters")
    truth = live_truth(v)
    fates = {"Old/A.BIN": DESTROYED, "Old/X.BIN": DESTROYED, "Old/B.BIN": WHOLE, "Old/KEEP.TXT": WHOLE}
    for p, fate in fates.items():
        truth.add("Dir%d/%s" % (old_folder, p.split("/")[1]), old[p], False, fate)
    return v, truth, ["extensive"]


def deleted_twice(work, name, fs, when):
    """Files deleted, new files written into their place and deleted in turn, made a day later ("later"), the same day
    ("same_day") or a day later as copies of older files ("copied": their last write a day before the old files'):
    an old file's clusters hold a new one's bytes, and only the creation dates tell whose they are."""
    v = Volume(work, name, fs, 16 if fs == "fat16" else 40)
    cluster = v.spc * SECTOR
    day = 1600000000
    v.mkdir("Old", "New")
    for i in range(10):
        v.put("Old/old file %d.bin" % i, (2 + i % 3) * cluster - 17 * i, mtime=day)
    gone = ["Old/old file %d.bin" % i for i in (1, 2, 5, 6)]
    v.delete(*gone)
    fresh = ["New/new file %d.bin" % i for i in range(3)]
    # Each new file fits the holes in turn: the first two where old files 1 and 2 were, the third over 5 and into 6.
    for i, p in enumerate(fresh):
        v.put(p, (3 + i) * cluster - 3, mtime=day + (0 if when == "same_day" else 86400))
        if when == "copied":
            v.redate(p, day - 86400)
    v.delete(*fresh)
    truth = live_truth(v)
    for p in gone:
        truth.add(p, v.deleted[p], True, deleted_fate(v, p))
    for p in fresh:
        contiguous = v.clusters[p] == list(range(v.clusters[p][0], v.clusters[p][0] + len(v.clusters[p])))
        fate = deleted_fate(v, p) if when != "same_day" and contiguous else EITHER
        truth.add(p, v.deleted[p], True, fate)
    if all(deleted_fate(v, p) == WHOLE for p in gone):
        raise RuntimeError("no new file took an old one's place")
    return v, truth, ["quick", "extensive"]


def folder_over_deleted(work, name, fs, spc=1):
    """A deleted file whose first cluster a folder made afterwards took, the folder removed again (its cluster begins
    with its "." entry, not with the file's bytes), and a deleted file after it whose clusters nothing took."""
    v = Volume(work, name, fs, (16 if fs == "fat16" else 40) * spc, spc=spc)
    cluster = v.spc * SECTOR
    v.mkdir("Docs")
    v.put("Docs/keep.txt", 2000)
    v.put("Docs/OLD.BIN", 3 * cluster - 10)
    v.put("Docs/AFTER.TXT", 2 * cluster - 5)
    v.delete("Docs/OLD.BIN", "Docs/AFTER.TXT")
    v.mkdir("Made")  # in the root: its entry takes no deleted entry's place in Docs
    if v.clusters["Made"][0] != v.clusters["Docs/OLD.BIN"][0]:
        raise RuntimeError("the folder did not take OLD.BIN's first cluster")
    run_tool(["mrd", "-i", v.raw, "::/Made"])
    truth = live_truth(v)
    truth.add("Docs/xLD.BIN", v.deleted["Docs/OLD.BIN"], True, DESTROYED)
    truth.add("Docs/xFTER.TXT", v.deleted["Docs/AFTER.TXT"], True, deleted_fate(v, "Docs/AFTER.TXT"))
    return v, truth, ["quick", "extensive", "snapshot"]


def floppy(work, name):
    """A 1.44 MB FAT12 floppy (media F0, 224 root entries) of folders and files, one of them fragmented."""
    v = Volume(work, name, "fat12", 0)
    v.mkdir("DOCS", "PHOTOS", "DOCS/OLD")
    for i in range(6):
        v.put("note %d.txt" % i, 300 + 800 * i)
        v.put("DOCS/report %d.doc" % i, 2000 + 300 * i)
        v.put("PHOTOS/IMG_%04d.JPG" % i, 9000 + 100 * i)
    v.put("DOCS/OLD/HOLE.TMP", 1500)
    v.put("DOCS/OLD/AFTER.TXT", 700)
    v.delete("DOCS/OLD/HOLE.TMP")
    v.put("DOCS/OLD/PIECES.BIN", 4000)
    return v, live_truth(v), ["extensive"]


def reserved(work, name, fs, sectors):
    """Both boot sectors zeroed over a volume whose tables begin `sectors` in; 600 files in six folders."""
    v = Volume(work, name, fs, 64 if fs == "fat32" else 32, mkfs=["-R", sectors])
    folders = ["Folder %d" % i for i in range(6)]
    v.mkdir(*folders)
    for folder in folders:
        v.put_many(folder, {"F%04d.DAT" % i: 200 + 13 * i for i in range(100)})
    v.put("TOP.TXT", 3000)
    v.zero_sectors(0, *([6] if v.fat32 else []))
    return v, live_truth(v), ["quick"]


def reused(work, name, fs, spc):
    """30 files written, 12 deleted, then 6 new files in another folder that take freed clusters."""
    v = Volume(work, name, fs, (16 if fs == "fat16" else 40) * spc, spc=spc)
    cluster = v.spc * SECTOR
    v.mkdir("Old", "New")
    for i in range(30):
        v.put("Old/old file %02d.bin" % i, 200 + (i % 6) * cluster + 31 * i)
    gone = ["Old/old file %02d.bin" % i for i in range(0, 24, 2)]
    for p in gone:
        if v.clusters[p] != list(range(v.clusters[p][0], v.clusters[p][0] + len(v.clusters[p]))):
            raise RuntimeError("%s was not written contiguous" % p)
    v.delete(*gone)
    for i in range(6):
        v.put("New/new file %d.bin" % i, (2 + i) * cluster - 11)
    truth = live_truth(v)
    for p in gone:
        truth.add(p, v.deleted[p], True, deleted_fate(v, p))
    return v, truth, ["quick", "extensive"]


def quick_format(work, name, fs):
    """A used volume formatted again by mkfs.fat, then 5 new files: the old folders keep their entries, the new
    files take the low clusters (and the old files moved there)."""
    v = Volume(work, name, fs, 16 if fs == "fat16" else 40)
    cluster = v.spc * SECTOR
    v.mkdir("Stage")
    for i in range(4):
        v.put("Stage/moved %d.bin" % i, 2 * cluster + 100 * i)
    v.put("BIG.BIN", 20 * cluster)
    v.mkdir("Old1", "Old2", "Old2/Deep")
    for i in range(4):
        run_tool(["mmove", "-i", v.raw, "::/Stage/moved %d.bin" % i, "::/Old1/moved %d.bin" % i])
        v.files["Old1/moved %d.bin" % i] = v.files.pop("Stage/moved %d.bin" % i)
        v.clusters["Old1/moved %d.bin" % i] = v.clusters["Stage/moved %d.bin" % i]
    for i in range(10):
        v.put("Old1/kept %d.dat" % i, (1 + i % 5) * cluster - 9)
    v.put_many("Old2", {"photo %03d.jpg" % i: 700 + 97 * i for i in range(40)})
    for i in range(5):
        v.put("Old2/Deep/deep %d.txt" % i, 1000 * (i + 1))
    old = dict(v.files)
    v.format()
    # The new files reach past the moved files into BIG.BIN, short of the old folders; each old file that they
    # take begins inside a new file's chain. (One beginning where a new file begins, as long as it, cannot be
    # told from that file by the tables: both entries are live.)
    for i in range(5):
        v.put("new %d.bin" % i, 4 * cluster)
    for p in old:
        if p.startswith("Old1/moved") and any(v.clusters[p][0] == v.clusters["new %d.bin" % i][0] for i in range(5)):
            raise RuntimeError("%s begins where a new file begins" % p)
    tops = {"Old1": "Dir%d" % v.clusters["Old1"][0], "Old2": "Dir%d" % v.clusters["Old2"][0]}

    def place(path):
        top, _, rest = path.partition("/")
        return tops[top] + "/" + rest if top in tops else path

    # The new tables no longer chain the old folders: what their first clusters name is all that is found.
    first = {}
    for folder in ("Old1", "Old2", "Old2/Deep"):
        first.update({folder + "/" + n: True for n in names_in_cluster(v, v.clusters[folder][0])})
    truth = live_truth(v)
    for p, data in old.items():
        if p.split("/")[0] not in tops:
            continue
        taken = any(v.allocated(c) for c in v.clusters[p])
        fate = DESTROYED if taken or not v.intact(p, data) else WHOLE if p in first else EITHER
        truth.add(place(p), data, False, fate)
    return v, truth, ["extensive"]


def long_folder_format(work, name, fs):
    """A folder of 60 long-named files on 4 KiB clusters (its entries fill more than one cluster), the volume
    quick-formatted and one file written: what the folder's later clusters hold is whole on the disk, listed under
    "Lost Dir" (the new tables no longer chain them to its first), a name whose long name begins in the cluster
    before by its 8.3 name."""
    v = Volume(work, name, fs, 280 if fs == "fat32" else 40, spc=8)
    v.put("FIRST.BIN", 4 * v.spc * SECTOR)  # the new file takes its place, not the folder's
    v.mkdir("Letters")
    v.put_many("Letters", {"letter to the bank number %02d.doc" % i: 900 + 61 * i for i in range(60)})
    chain = v.chain_of("Letters")
    if len(chain) < 2:
        raise RuntimeError("the folder fills one cluster")
    old = dict(v.files)
    by_cluster = {v.clusters[p][0]: p for p in old}
    v.format()
    v.put("NEW.TXT", 3000)
    truth = live_truth(v)
    for cluster in chain:
        for n, first in entries_in_cluster(v, cluster):
            path = by_cluster[first]
            taken = any(v.allocated(c) for c in v.clusters[path])
            fate = DESTROYED if taken or not v.intact(path, old[path]) else WHOLE
            truth.add(("Dir%d/" % chain[0] if cluster == chain[0] else "Lost Dir/") + n, old[path], False, fate)
    return v, truth, ["extensive"]


def lower_case(work, name, fs):
    """Short names written in lower case (the case flags of byte 12), a folder and a file among them deleted; some
    with letters of the DOS code page (café.txt as CAF 0x90, as Windows and mtools write it). An old snapshot, which
    named those one character per byte, loads too."""
    v = Volume(work, name, fs, 16 if fs == "fat16" else 40)
    v.mkdir("app", "app/src", "Docs", "música")
    for path, size in (("readme.txt", 900), ("notes.TXT", 1200), ("LIST.txt", 300), ("app/src/main.c", 4000),
                       ("app/build.bat", 200), ("Docs/letter.doc", 2500), ("Docs/Mixed.Txt", 600),
                       ("Docs/gone.txt", 800), ("UPPER.TXT", 100), ("café.txt", 700), ("Docs/RÉSUMÉ.DOC", 1500),
                       ("música/été.jpg", 3000)):
        v.put(path, size)
    v.delete("Docs/gone.txt")
    truth = live_truth(v)
    truth.add("Docs/xone.txt", v.deleted["Docs/gone.txt"], True, deleted_fate(v, "Docs/gone.txt"))
    return v, truth, ["quick", "extensive", "snapshot", "old-snapshot"]


def windows_names(work, name, fs):
    """A stick as people fill it: a camera folder of 200 small files written in a row with Android's empty .nomedia,
    a folder of long names over more than one cluster, names as Windows writes them (a short entry alone with
    letters of the DOS code page, õlo.txt's first byte 0x05), one of them deleted, empty files (one deleted), and a
    long name holding a character no name may (a damaged piece): listed under its short name."""
    v = Volume(work, name, fs, 16 if fs == "fat16" else 40)
    cluster = v.spc * SECTOR
    v.mkdir("DCIM", "DCIM/100MEDIA", "Letters", "música")
    photos = {"IMG_%04d.JPG" % i: 1 + (i * 37) % cluster for i in range(200)}
    v.put_many("DCIM/100MEDIA", dict(photos, **{".nomedia": 0}))
    v.put_many("Letters", {"Letter to the bank about the loan number %03d.doc" % i: 300 + i for i in range(40)})
    if len(v.chain_of("Letters")) < 2:
        raise RuntimeError("the long names fill one cluster")
    for path, size in (("café.txt", 700), ("RÉSUMÉ.DOC", 1500), ("õlo.txt", 900), ("música/ÄPFEL.TXT", 2000),
                       ("música/été.jpg", 3000), ("empty.txt", 0), ("música/vide.txt", 0),
                       ("música/Bad name.text", 600)):
        v.put(path, size)
    v.delete("música/été.jpg", "música/vide.txt")
    patch_long_name(v.raw, "Bad name.text", "Bad?name.text")
    truth = live_truth(v, place=lambda p: "música/BADNAM~1.TEX" if p == "música/Bad name.text" else p)
    truth.add("música/xté.jpg", v.deleted["música/été.jpg"], True, deleted_fate(v, "música/été.jpg"))
    truth.add("música/xide.txt", b"", True, WHOLE)
    return v, truth, ["quick", "extensive", "snapshot"]


# Names as Windows writes them on systems of other OEM code pages: {code page: (files, folders, deleted files)}.
# A name that fits 8.3 in the code page is a short entry alone, its capitals in the code page and the case flags
# of a part in small letters; one that does not (Отчет за май.doc) has a long name beside its short one.
CODE_PAGE_NAMES = {
    866: (["отчет.doc", "ПРИКАЗ.TXT", "папка/смета.xls", "Отчет за май.doc"], ["папка"], ["хлам.txt", "ТЕСТ.TXT"]),
    852: (["zażółć.txt", "ŁÓDŹ.DOC", "łąka/źródło.txt"], ["łąka"], ["świat.txt"]),
    737: (["βιβλία.txt", "ΈΡΓΟ.DOC", "έργα/σχέδιο.doc"], ["έργα"], ["ψάρι.txt"]),
    857: (["şirket.doc", "õlo.txt", "çiçek/gül.txt"], ["çiçek"], ["ağaç.txt"]),
    # Two bytes a character, one whose second byte is '\\', a first byte 0xE5 as 0x05, deleted names whose first
    # character was of two bytes.
    932: (["日本語.TXT", "資料.txt", "ソフト.TXT", "薔薇.JPG", "写真/旅行.JPG"], ["写真"], ["文書.TXT", "テスト.TXT"]),
}


def code_page_names(work, name, fs, page):
    """Files and folders named in the system's OEM code page `page`, some deleted, read with that code page: the
    volume as a Russian, Polish, Greek, Turkish or Japanese system writes it. An old snapshot, which named the
    short names by 850 whatever the system, loads too. mtools writes the volume under names of ASCII (its own
    code pages lose names now and then), each 8.3 entry then given the bytes Windows writes."""
    v = Volume(work, name, fs, 16 if fs == "fat16" else 40)
    v.code_page = page
    files, folders, deleted = CODE_PAGE_NAMES[page]
    placeholder = {}
    for i, path in enumerate(folders + files + deleted):
        folder, _, base = path.rpartition("/")
        extension = "." + base.rpartition(".")[2].upper() if "." in base else ""
        ascii_name = "CP%05d%s" % (i, extension) if fits_8_3(base, page) else base
        placeholder[path] = (folder and placeholder[folder] + "/") + ascii_name
    v.mkdir(*[placeholder[f] for f in folders])
    for path in files + deleted:
        v.put(placeholder[path], 700 + 300 * len(v.files))
    v.delete(*[placeholder[p] for p in deleted])
    for path in sorted(placeholder, key=lambda p: -p.count("/")):
        if placeholder[path] != path:
            v.name_as_windows(placeholder[path], path.rpartition("/")[2], page)
    truth = live_truth(v)
    # What an old snapshot holds: the 850 reading of each short name alone. (A reading that no file name may hold,
    # ソフト.TXT's "â\\âtâg.TXT", was not listed by an old scan; the file keeps its name here.)
    v.former_names = {}
    for path in files + folders + deleted:
        for part in path.split("/"):
            if fits_8_3(part, page) and not set('"\\/?*<>|') & set(former_short_name(part, page)):
                v.former_names.update({form: former_short_name(form, page) for form in (part, part.upper())})
    for path in deleted:
        folder, _, base = path.rpartition("/")
        # The deleted mark took the first character (of one byte or two): the rest is the name's.
        truth.add((folder and folder + "/") + "x" + base[1:], v.deleted[path], True, deleted_fate(v, path))
        v.former_names["x" + base[1:]] = "x" + former_short_name(base, page)[1:]
    return v, truth, ["quick", "extensive", "snapshot", "old-snapshot"]


def fits_8_3(name, page):
    """Whether Windows writes name as a short entry alone: 8 bytes and 3 at most in the code page, each part in
    capitals or in small letters."""
    base, _, ext = name.rpartition(".") if "." in name else (name, "", "")
    return (" " not in name and len(base.upper().encode("cp%d" % page)) <= 8 and len(ext) <= 3 and
            all(p in (p.upper(), p.lower()) for p in (base, ext)))


def former_short_name(name, page):
    """A short name Windows wrote in code page `page` as snapshots named it before they read the system's code page:
    each byte a character of 850, a part written in small letters (its case flag set) in small letters."""
    base, dot, ext = name.rpartition(".") if "." in name else (name, "", "")
    parts = [p.upper().encode("cp%d" % page).decode("cp850") for p in (base, ext)]
    parts = [text.lower() if p != p.upper() else text for p, text in zip((base, ext), parts)]
    return parts[0] + dot + parts[1]


def root_only(work, name, fs):
    """A healthy volume whose files all lie in its root (no folder for an Extensive Scan to find it by): its boot
    sector is enough."""
    v = Volume(work, name, fs, 16 if fs == "fat16" else 40)
    for i in range(6):
        v.put("photo %d.jpg" % i, 5000 + 3000 * i)
    v.put("NOTES.TXT", 900)
    v.put("GONE.BIN", 2000)
    v.delete("GONE.BIN")
    truth = live_truth(v)
    truth.add("xONE.BIN", v.deleted["GONE.BIN"], True, deleted_fate(v, "GONE.BIN"))
    return v, truth, ["quick", "extensive"]


def kept_image(work, name, kind):
    """The bytes of a disk image file as people keep one on a stick: a 1.44 MB floppy (kind "floppy") as DOS boot
    disks are, its files in the root and one folder, or a small VM disk (kind "vhd": a fixed VHD of 10 MiB, its FAT12
    volume in a partition of type 1 at sector 63, as DOS made them). Their folders and root lie in the image's bytes,
    directory entries that name the image's own clusters."""
    inner = Volume(work, name + "_inner", "fat12", 0 if kind == "floppy" else 8, spc=8)
    inner.mkdir("DOS")
    for i in range(100):
        inner.put("FILE%04d.%s" % (i, ("COM", "SYS", "TXT", "EXE")[i % 4]), 300 + 97 * i)
    inner.put_many("DOS", {"UTIL%02d.EXE" % i: 700 + 131 * i for i in range(40)})
    with open(inner.raw, "rb") as f:
        volume = f.read()
    if kind == "floppy":
        return volume
    disk = os.path.join(work, name + "_disk.raw")
    make_sparse(disk, 10 << 20)
    patch(disk, 63 * SECTOR, volume)
    write_table(disk, 0x5EED0000, [{"start": 63, "size": len(volume) // SECTOR, "type": 0x01}])
    with open(disk, "rb") as f:
        raw = f.read()
    return raw + vhd.make_footer(len(raw), 2, vhd.unique_id(name), 0xFFFFFFFFFFFFFFFF)


def image_kept(work, name, fs, mib, spc, kind, state):
    """A stick of photos that also keeps a disk image file (kept_image), live, deleted, or deleted and its entry then
    taken by a file of a name as long (state "gone": no entry names its clusters): 60 photos, the image, 20 photos
    after it, then every third photo deleted. What the image holds is its bytes, never folders or files of the
    stick's."""
    v = Volume(work, name, fs, mib, spc=spc)
    v.mkdir("DCIM", "DCIM/100CANON", "Backup")
    photos = ["DCIM/100CANON/IMG_%04d.JPG" % i for i in range(80)]
    for i, p in enumerate(photos[:60]):
        v.put(p, 3000 + 1711 * (i % 23))
    image = "Backup/" + ("floppy.img" if kind == "floppy" else "dos.vhd")
    v.put(image, 0, data=kept_image(work, name, kind))
    for i, p in enumerate(photos[60:]):
        v.put(p, 5000 + 977 * i)
    gone = photos[::3] + ([image] if state != "live" else [])
    v.delete(*gone)
    if state == "gone":
        v.put("Backup/notes.txt", 700)
        gone.remove(image)
    truth = live_truth(v)
    for p in gone:
        folder, _, base = p.rpartition("/")
        truth.add(folder + "/x" + base[1:], v.deleted[p], True, deleted_fate(v, p))
    truth.complete = True
    return v, truth, ["quick", "extensive", "extensive-snapshot"]


def device_tables(work, name, mib, spc):
    """A FAT32 card whose tables a camera's FAT library wrote: both copies begin F8 FF FF FF FF FF FF FF (its first
    entry's top four bits set, its second all set), and both boot sectors lost: 75 photos and clips in the camera's
    folders, every fifth one deleted."""
    v = Volume(work, name, "fat32", mib, spc=spc)
    cluster = v.spc * SECTOR
    v.mkdir("DCIM", "DCIM/100CANON", "DCIM/101CANON", "MISC")
    files = ["DCIM/10%dCANON/IMG_%04d.JPG" % (i // 40, i) for i in range(72)] + ["MISC/AUTPRINT.MRK", "MISC/A.CTG",
                                                                                   "DCIM/101CANON/MVI_0072.MOV"]
    for i, p in enumerate(files):
        v.put(p, (1 + i % 7) * cluster - 13 * i + (60 * cluster if p.endswith(".MOV") else 0))
    gone = files[::5]
    v.delete(*gone)
    for copy in (1, 2):
        patch(v.raw, (v.reserved + (copy - 1) * v.spf) * SECTOR, bytes.fromhex("F8FFFFFFFFFFFFFF"))
    v.zero_sectors(0, 6)
    truth = live_truth(v)
    for p in gone:
        folder, _, base = p.rpartition("/")
        truth.add(folder + "/x" + base[1:], v.deleted[p], True, deleted_fate(v, p))
    return v, truth, ["quick", "extensive", "extensive-snapshot"]


def other_type(work, name, fs, type_code, logical, boot_lost):
    """A volume in a partition whose type names another kind (FAT16 in a FAT32 entry, FAT12 in a FAT16 or FAT32 one,
    FAT32 in a FAT16 one), or its own, its boot sector lost or not: 8 files in the root, 8 in each of three folders,
    one of them nested. Read by a Quick Scan of the partition."""
    v = Volume(work, name, fs, 0 if fs == "fat12" else 40 if fs == "fat32" else 16)
    v.mkdir("Docs", "Photos", "Photos/2021")
    for folder in ("", "Docs/", "Photos/", "Photos/2021/"):
        for i in range(8):
            v.put("%sfile %d.dat" % (folder, i), 700 + 1300 * i + 91 * len(folder))
    if boot_lost:
        v.zero_sectors(0, *([6] if v.fat32 else []))
    v.partition = (type_code, logical)
    return v, live_truth(v), ["partition", "partition-snapshot"]


def either_kind(work, name, fs):
    """A FAT16 (or FAT12) volume whose first two clusters each end a chain (a folder and a small file of one cluster),
    so that its tables begin F8 FF FF FF FF FF FF FF as a camera's FAT32 tables do; its boot sector lost. Searched as
    FAT32 by the Extensive Scan and read in a FAT32-typed partition by Quick Scan: the root folder between its tables
    and its data area says FAT16."""
    v = Volume(work, name, fs, 0 if fs == "fat12" else 16, spc=4)
    v.mkdir("Alpha")
    v.put("one.txt", 100)
    v.mkdir("Beta", "Beta/Gamma")
    for folder in ("", "Alpha/", "Beta/", "Beta/Gamma/"):
        for i in range(6):
            v.put("%sdata %d.bin" % (folder, i), 900 + 2100 * i)
    with open(v.raw, "rb") as f:
        f.seek(v.reserved * SECTOR)
        if f.read(8)[1:] != b"\xff" * 7:
            raise RuntimeError("the tables do not begin as a camera's FAT32 tables do")
    v.zero_sectors(0)
    v.searched = "fat32"
    v.partition = (0x0B, False)
    return v, live_truth(v), ["extensive", "partition"]


def cases():
    out = {}
    for fs in ("fat16", "fat32"):
        for copies in ((1,), (2,), (1, 2)):
            out["run_on_%s_copy%s" % (fs, "".join(map(str, copies)))] = (run_on, fs, copies)
        for copies in ((1,), (2,), (1, 2)):
            for beta_first in (False, True):
                out["crossed_%s_%s_%s" % (fs, "".join(map(str, copies)), "beta_first" if beta_first else "alpha_first")] = \
                    (crossed_folders, fs, copies, beta_first)
        for copies in ((1,), (2,)):
            for beta_first in (False, True):
                order = "beta_first" if beta_first else "alpha_first"
                out["crossed_sub_%s_%s_%s" % (fs, "".join(map(str, copies)), order)] = \
                    (crossed_folders, fs, copies, beta_first, True)
        for copy in (1, 2):
            out["copies_differ_%s_copy%d" % (fs, copy)] = (copies_differ, fs, copy)
        for spc in (1, 2):
            out["reused_%s_spc%d" % (fs, spc)] = (reused, fs, spc)
        out["quick_format_%s" % fs] = (quick_format, fs)
        out["long_folder_format_%s" % fs] = (long_folder_format, fs)
        out["format_overlaps_%s" % fs] = (format_overlaps, fs)
        for when in ("later", "same_day", "copied"):
            out["deleted_twice_%s_%s" % (fs, when)] = (deleted_twice, fs, when)
        out["folder_over_deleted_%s" % fs] = (folder_over_deleted, fs)
        out["lower_case_%s" % fs] = (lower_case, fs)
        out["windows_names_%s" % fs] = (windows_names, fs)
        out["root_only_%s" % fs] = (root_only, fs)
        for page in CODE_PAGE_NAMES:
            out["code_page_%d_%s" % (page, fs)] = (code_page_names, fs, page)
    for fs, mib, spc, kind, state in (("fat16", 24, 1, "floppy", "live"), ("fat32", 40, 1, "vhd", "live"),
                                      ("fat16", 32, 4, "floppy", "deleted"), ("fat32", 280, 8, "floppy", "live"),
                                      ("fat16", 160, 64, "vhd", "deleted"), ("fat32", 40, 1, "floppy", "deleted"),
                                      ("fat16", 24, 1, "floppy", "gone"), ("fat32", 40, 1, "vhd", "gone")):
        out["image_kept_%s_%s_%d_%s" % (fs, kind, spc * SECTOR, state)] = (image_kept, fs, mib, spc, kind, state)
    out["device_tables_fat32_40m"] = (device_tables, 40, 1)
    out["device_tables_fat32_400m"] = (device_tables, 400, 8)
    out["either_kind_fat16"] = (either_kind, "fat16")
    out["either_kind_fat12"] = (either_kind, "fat12")
    for fs, type_code, logical, boot_lost in (("fat16", 0x0B, False, True), ("fat16", 0x0C, False, True),
                                              ("fat16", 0x06, False, True), ("fat16", 0x0C, False, False),
                                              ("fat12", 0x01, True, True), ("fat12", 0x01, False, False),
                                              ("fat12", 0x01, False, True), ("fat12", 0x06, False, True),
                                              ("fat12", 0x0B, False, True), ("fat12", 0x0C, True, False),
                                              ("fat32", 0x06, False, True), ("fat32", 0x0E, True, True)):
        out["other_type_%s_%02x_%s%s" % (fs, type_code, "logical" if logical else "primary",
                                         "_boot_lost" if boot_lost else "")] = \
            (other_type, fs, type_code, logical, boot_lost)
    out["folder_over_deleted_fat16_4k"] = (folder_over_deleted, "fat16", 8)
    out["floppy_fat12"] = (floppy,)
    out["reserved_fat32_6158"] = (reserved, "fat32", 6158)
    out["reserved_fat32_32"] = (reserved, "fat32", 32)
    out["reserved_fat16_64"] = (reserved, "fat16", 64)
    out["table_start_fat16_copy2_8k"] = (table_start, "fat16", 2, 16)
    return out


# ---------------------------------------------------------------- reading and judging

def listed_files(stdout):
    """{path: (deleted, size)} of the files a tree listing holds."""
    out = {}
    for line in stdout.decode("utf-8").splitlines():
        kind, deleted, size, path = line.split("\t", 3)
        if kind == "F":
            out[path[1:]] = (deleted == "1", int(size))
    return out


def audit_files(path):
    """{path: damaged} of the files a save counted saved (none when a refused save wrote no audit)."""
    out = {}
    if not os.path.exists(path):
        return out
    with open(path, encoding="utf-8") as f:
        for line in f.read().splitlines():
            kind, _, rest = line.partition("\t")
            if kind in ("saved", "damaged"):
                out[rest] = kind == "damaged"
    return out


def found_at(args, image, source, base, env=None):
    """The number of the file system an Extensive Scan finds with its cluster 0 at sector base."""
    proc = run(args.enginectl, "extensive", image, *source, env=env)
    for line in proc.stdout.decode().splitlines():
        fields = line.split("\t")
        if int(fields[3]) == base:
            return fields[0]
    return None


def judge(truth, listed, saved, out):
    """(figures, problems) of one reading: listed is the tree's files, saved the audit's."""
    problems = []
    by_name = {}
    for path, data, deleted, fate in truth.files:
        by_name.setdefault(path.rsplit("/", 1)[-1], []).append(data)
    figures = {"files": len(truth.files), "listed": 0, "missing": 0, "whole": len(saved) - sum(saved.values()),
               "wrong": 0, "damaged": sum(saved.values()), "destroyed": sum(1 for f in truth.files if f[3] == DESTROYED)}
    judged = set()
    for path, data, deleted, fate in truth.files:
        judged.add(path)
        got = listed.get(path)
        if got == (deleted, len(data)):
            figures["listed"] += 1
        elif fate == WHOLE:
            figures["missing"] += 1
            problems.append("not listed: %s (%s)" % (path, "got %s" % (got,) if got else "absent"))
        if path not in saved:
            if fate == WHOLE and got:
                problems.append("not saved: " + path)
            continue
        with open(os.path.join(out, *path.split("/")), "rb") as f:
            bytes_saved = f.read()
        if saved[path]:
            if fate == WHOLE:
                problems.append("counted damaged: " + path)
        elif bytes_saved != data:
            figures["wrong"] += 1
            problems.append("counted whole with other bytes: %s (%d bytes saved, %d written)" %
                            (path, len(bytes_saved), len(data)))
    phantoms = sorted(p for p in listed if p not in judged)
    figures["phantoms"] = len(phantoms) if truth.complete else 0
    if truth.complete and phantoms:
        problems.append("%d files listed that were never written, as %s" % (len(phantoms), ", ".join(phantoms[:3])))
    for path, damaged in saved.items():
        if path in judged or damaged:
            continue
        with open(os.path.join(out, *path.split("/")), "rb") as f:
            bytes_saved = f.read()
        # A file listed in two places (a cluster two folders reach) holds the bytes written under its name.
        if bytes_saved not in by_name.get(path.rsplit("/", 1)[-1], []):
            figures["wrong"] += 1
            problems.append("counted whole, written by no file of its name: %s" % path)
    return figures, problems


def legacy_name(name):
    """A short name with letters of the DOS code page as snapshots named it before they read the code page: one
    character per byte (the case flags applied to A-Z alone)."""
    return "".join(c if ord(c) < 128 else chr(c.upper().encode("cp850")[0]) for c in name)


def legacy_of(v):
    """How an old snapshot names a short name of v: as one of the code page's names (former_names), else one
    character per byte."""
    former = getattr(v, "former_names", None)
    return (lambda name: former.get(name, name)) if former is not None else legacy_name


# A FAT snapshot: its header and scan parameters, then the folders and the entries, each record a u16 length L and
# L bytes: its name item (the name and its terminator; for an entry the name it was found under or two zero bytes,
# then its times), then the fixed fields of FOLDER_FIELDS or ENTRY_FIELDS bytes.
SNAPSHOT_LISTS_AT = 12 + 68
FOLDER_FIELDS, ENTRY_FIELDS, ENTRY_TIMES = 15, 21, 8


def utf16_until_zero(data, at):
    """(text, offset after its terminator) of the UTF-16 text at data[at:]."""
    end = at
    while data[end:end + 2] != b"\0\0":
        end += 2
    return data[at:end].decode("utf-16-le"), end + 2


def as_old_snapshot(snapshot, truth, legacy):
    """Rewrites the names of a FAT snapshot of the truth's files and folders as an old snapshot holds them."""
    names = {part for path, _, _, _ in truth.files for part in path.split("/") if not part.isascii()}
    rename = lambda name: legacy(name) if name in names or name.lower() in {n.lower() for n in names} else name  # noqa
    with open(snapshot, "rb") as f:
        data = f.read()
    out, at = bytearray(data[:SNAPSHOT_LISTS_AT]), SNAPSHOT_LISTS_AT
    for fields in (FOLDER_FIELDS, ENTRY_FIELDS):
        count = int.from_bytes(data[at:at + 4], "little")
        out += data[at:at + 4]
        at += 4
        for _ in range(count):
            length = int.from_bytes(data[at:at + 2], "little")
            item, rest = data[at + 2:at + 2 + length - fields], data[at + 2 + length - fields:at + 2 + length]
            shown, after = utf16_until_zero(item, 0)
            tail = item[after:]
            if fields == ENTRY_FIELDS and len(tail) > 2 + ENTRY_TIMES:
                found, end = utf16_until_zero(item, after)
                tail = rename(found).encode("utf-16-le") + b"\0\0" + item[end:]
            new = rename(shown).encode("utf-16-le") + b"\0\0" + tail
            out += (len(new) + fields).to_bytes(2, "little") + new + rest
            at += 2 + length
    out += data[at:]
    with open(snapshot, "wb") as f:
        f.write(bytes(out))


def read_way(args, v, way, work, truth):
    """(tree listing, save) of one way of reading the volume."""
    image = v.image()
    # The system the volume was written on: its OEM code page.
    env = {"DORVANE_OEM_CODE_PAGE": str(v.code_page)} if v.code_page else None
    source = ["--range", CODES[getattr(v, "searched", v.fs)], 0, v.sectors]
    if way.startswith("partition"):
        image, source = v.partitioned(*v.partition), ["--partition", 0]
    extra = []
    if way in ("extensive", "extensive-snapshot"):
        k = found_at(args, image, source, v.data - 2 * v.spc, env)
        if k is None:
            return None, None
        extra = ["--choose", k]
    if way.endswith("snapshot"):
        snapshot = os.path.join(work, way + ".vsnp")
        run(args.enginectl, "extensive" if extra else "quick", image, *source, *extra, "--snapshot-save", snapshot,
            env=env)
        extra = []
        if way == "old-snapshot":
            as_old_snapshot(snapshot, truth, legacy_of(v))
        listing = run(args.enginectl, "snapshot-load", snapshot, "--image", image, env=env)
        source = ["--snapshot", snapshot]
    else:
        listing = run(args.enginectl, "extensive" if way == "extensive" else "quick", image, *source, *extra, env=env)
    audit = os.path.join(work, way + ".audit")
    save = Save(args.enginectl, image, source, os.path.join(work, "save_" + way), extra + ["--audit", audit], env=env)
    return listing, (save, audit)


def check(args, name, case):
    work = os.path.join(args.work, name)
    os.makedirs(work)
    try:
        v, truth, ways = case[0](work, name, *case[1:])
    except Exception as e:  # noqa: BLE001  (a volume the tools could not make is the case's failure)
        return name, ["the volume could not be made: %s" % e]
    problems = []
    for way in ways:
        listing, saved = read_way(args, v, way, work, truth)
        if listing is None:
            problems.append("%s: no file system found at cluster base %d" % (way, v.data - 2 * v.spc))
            continue
        save, audit = saved
        if way == "old-snapshot":
            old = Truth()
            for path, data, deleted, fate in truth.files:
                old.add("/".join(legacy_of(v)(part) for part in path.split("/")), data, deleted, fate)
        figures, found = judge(old if way == "old-snapshot" else truth, listed_files(listing.stdout),
                               audit_files(audit), save.out)
        if save.status not in (0, 3):
            found.append("save status %d: %s" % (save.status, save.stderr))
        if args.figures:
            print("%s %s: %d files, %d listed, %d missing, %d listed never written, %d counted whole, %d counted whole "
                  "with wrong bytes, %d counted damaged (%d destroyed)" %
                  (name, way, figures["files"], figures["listed"], figures["missing"], figures["phantoms"],
                   figures["whole"], figures["wrong"], figures["damaged"], figures["destroyed"]))
        problems += ["%s: %s" % (way, p) for p in found]
    return name, problems


def main():
    figures = "--figures" in sys.argv
    if figures:
        sys.argv.remove("--figures")
    table = cases()
    args = case_arguments(list(table))
    args.figures = figures
    names = [n for n in table if not args.only or n in args.only]
    return run_cases(names, lambda n: check(args, n, table[n]))


if __name__ == "__main__":
    sys.exit(main())
