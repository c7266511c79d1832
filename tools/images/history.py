#!/usr/bin/env python3
"""Random volume histories: a FAT16, FAT32 or NTFS volume made by the real tools (mkfs.fat and mtools; mkntfs and
ntfs_image_helper on libntfs-3g; nothing mounted), then a random sequence of what people do to a volume: folders
and files made (a folder of many files now and then), deleted, renamed and moved, files grown, folders deleted with
what they hold and made again, long and short names, files fragmented by holes and by growing two files in turn.

Everything follows from the seed: plan() draws the volume's geometry and the operations from a model of the
volume, and build() takes them with the tools (on FAT each step as it is drawn, so that a step mtools refuses is
left out of the history; on NTFS all of them afterwards, in one run of the helper). So a history is replayed
from its seed alone:

    history.py --seed N [--kind KIND] [--shape normal|small|empty] --out DIR [--ntfs-helper PATH] [--print]

Kinds: fat16, fat32, ntfs512, ntfs4k; and the sizes real disks have: fat12 (a volume of fewer than 4085
clusters), fat16big (32 KiB and 64 KiB clusters), fat32huge (two million clusters and more, 1 GiB and more at
512-byte clusters, a sparse file) and fat16dirs (a FAT16 volume of 512-byte clusters). On volumes of 512-byte
clusters a history of a new kind, or of seed 2000 or above, may hold a folder of more than 100 clusters (hundreds of files of long
names), which is then moved, or deleted with what it holds and made again. A shape other than normal makes the
small, nearly empty partner volumes of a disk: small (a few steps), empty (no folder, at most a few files).
Seeds below 2000 keep the histories they had before these kinds and shapes (their default kind is one of the
first four, and a partner of shape plain has no big folder): the pinned cases of the differential test name such
seeds. At every seed a normal FAT history ends with what people put on a stick or a card, drawn by a generator of
its own (people_fill): a camera folder of hundreds of small files written in a row with an empty .nomedia, a folder
of long names over more than one cluster, and 8.3 names with letters of the DOS code page as Windows writes them
(a short entry alone, a first byte 0xE5 kept as 0x05), some deleted, and an empty file.

writes DIR/<kind>-<seed>.raw (the volume from sector 0) and <kind>-<seed>.history.json (what build() returns:
the operations, the files that are there at the end, every version of a file's bytes that was deleted or
overwritten); --print lists the operations.
"""
import argparse
import json
import os
import random
import re
import shutil
import struct
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from util import MIB, SECTOR, ToolError, fresh_dir, patch, pseudo_bytes, run, sha256_bytes, text_bytes  # noqa: E402

KINDS = ("fat16", "fat32", "ntfs512", "ntfs4k", "fat12", "fat16big", "fat32huge", "fat16dirs")
SHAPES = ("normal", "small", "empty")
# "plain": a normal history without the big folders, as histories were before them (the partners of old seeds).
ALL_SHAPES = SHAPES + ("plain",)
CODES = {"fat12": 100, "fat16": 100, "fat32": 200, "ntfs": 300}
FS_OF_KIND = {"fat16big": "fat16", "fat32huge": "fat32", "fat16dirs": "fat16"}
# Histories of seeds below this keep what they had before the new kinds and shapes.
SHAPED_SEEDS = 2000


def kinds_for(seed):
    """The kinds a seed's default kind, and its partner's, are drawn from."""
    return KINDS if seed >= SHAPED_SEEDS else KINDS[:4]


def default_kind(seed):
    kinds = kinds_for(seed)
    return kinds[seed % len(kinds)]
# A folder of this many files of long names (three entries each) outgrows 100 clusters of 512 bytes.
BIG_FOLDER_FILES = (560, 700)
MAX_FOLDERS = 24
MAX_DEPTH = 4

# Pieces of names: plain words, words outside ASCII, and the characters that long names may hold.
WORDS = ["report", "Notes", "photo", "Budget", "draft", "old", "backup", "Mail", "data", "final", "Copy", "list",
         "Summer", "invoice", "letter", "x", "2019", "v2", "archive", "Scan"]
WIDE_WORDS = ["Grüße", "résumé", "ñandú", "ελληνικά", "日本語", "Ærø", "façade"]
EXTENSIONS = ["txt", "bin", "jpg", "doc", "csv", "dat", "pdf", "Txt", "JPEG", ""]
SHORT_STEMS = ["README", "DATA", "IMG", "FILE", "TEMP", "LOG", "A", "BK", "PIC", "NOTE"]
SHORT_NAME = re.compile(r"[^.]{1,8}(\.[^.]{1,3})?")
# Names as Windows writes them: 8.3 names in one case a part, with letters of the DOS code page, kept as a short entry
# alone (mtools writes them as Windows does, in code page 850); a first letter of code 0xE5 (O tilde) is kept as
# 0x05.
OEM_NAMES = ["café.txt", "RÉSUMÉ.DOC", "été.jpg", "über.txt", "ÄPFEL.TXT", "niño.txt", "smörgås.doc", "façade.txt",
             "ÅR.TXT", "mädchen.jpg", "õlo.txt", "ÕNIBUS.TXT"]
OEM_FOLDERS = ["música", "FÖTOS", "été"]


class Op:
    """One step of a history: kind and its arguments (paths start with "/")."""

    def __init__(self, kind, *args):
        self.kind, self.args = kind, list(args)

    def text(self):
        return " ".join([self.kind] + [str(a) for a in self.args])


class Geometry:
    def __init__(self, kind, size_mib, cluster):
        self.kind, self.size_mib, self.cluster = kind, size_mib, cluster
        self.fs = "ntfs" if kind.startswith("ntfs") else FS_OF_KIND.get(kind, kind)

    @property
    def sectors(self):
        return self.size_mib * MIB // SECTOR


def draw_geometry(rng, kind):
    """Volume size and cluster size, inside what each file system allows (FAT12: fewer than 4085 clusters, FAT16:
    4085 to 65524, FAT32: at least 65525; mkfs.fat would otherwise make another FAT kind than asked)."""
    if kind == "fat12":
        size = rng.choice([4, 6, 8])
        return Geometry(kind, size, (8 if size == 8 else 4) * SECTOR)
    if kind == "fat16big":
        spc = rng.choice([64, 128])
        return Geometry(kind, rng.choice([160, 200]) * spc // 64, spc * SECTOR)
    if kind == "fat32huge":
        return Geometry(kind, rng.choice([1024, 1100]), SECTOR)
    if kind == "fat16dirs":
        return Geometry(kind, rng.choice([16, 24]), SECTOR)
    if kind == "fat16":
        size = rng.choice([16, 24, 32])
        spc = rng.choice([s for s in (1, 2, 4, 8, 16) if 4500 <= size * MIB // (s * SECTOR) <= 65000])
        return Geometry(kind, size, spc * SECTOR)
    if kind == "fat32":
        spc = rng.choice([1, 1, 2])
        return Geometry(kind, rng.choice([36, 40]) * spc, spc * SECTOR)
    return Geometry(kind, rng.choice([16, 24]), 512 if kind == "ntfs512" else 4096)


class Model:
    """The volume as its user sees it: folders and files (path -> bytes), names unique in a folder regardless
    of case, as both file systems want them."""

    def __init__(self):
        self.folders = {""}
        self.files = {}
        self.gone_folders = []  # folders deleted, which may be made again

    @staticmethod
    def parent(path):
        return path.rsplit("/", 1)[0] if "/" in path else ""

    def names_in(self, folder):
        return {p.rsplit("/", 1)[-1].lower() for p in list(self.folders) + list(self.files)
                if p and self.parent(p) == folder}

    def under(self, folder):
        """Files and folders below folder, deepest first."""
        prefix = folder + "/"
        inside = [p for p in list(self.files) + list(self.folders) if p.startswith(prefix)]
        return sorted(inside, key=lambda p: (-p.count("/"), p in self.folders, p))

    def size(self):
        return sum(len(d) for d in self.files.values())


def draw_name(rng, fat, taken):
    """A name not in taken (lower-cased names): an 8.3 name in capitals, an 8.3 name in small letters (FAT keeps
    these with the case flags and no long name), or a long name with spaces, mixed case or letters outside ASCII."""
    for _ in range(100):
        style = rng.random()
        if style < 0.3:
            stem = rng.choice(SHORT_STEMS) + (str(rng.randrange(100)) if rng.random() < 0.7 else "")
            ext = rng.choice(["TXT", "BIN", "JPG", "DAT", ""])
            name = stem[:8] + ("." + ext if ext else "")
        elif style < 0.45:
            name = rng.choice(["notes", "todo", "index", "a1", "photo"]) + rng.choice([".txt", ".doc", ""])
        else:
            words = [rng.choice(WIDE_WORDS if rng.random() < 0.15 else WORDS) for _ in range(rng.randint(1, 6))]
            name = rng.choice([" ", "_", "-", " "]).join(words)
            if rng.random() < 0.2:
                name += " (%d)" % rng.randrange(10)
            ext = rng.choice(EXTENSIONS)
            name = name + ("." + ext if ext else "")
        if not fat and name.startswith("$"):
            continue
        # mtools keeps an 8.3 name with letters outside ASCII as a short name alone, in the DOS code page, which
        # TSK shows with "^" ("r^sum^.dat"). Such names come from people_fill, which draws from a generator of its
        # own so that every seed keeps the history it had before them.
        if fat and not name.isascii() and SHORT_NAME.fullmatch(name):
            continue
        if name.lower() not in taken:
            return name
    raise RuntimeError("no free name")


def draw_size(rng, room):
    """A file size: empty now and then, small (NTFS keeps those inside the MFT record), or some clusters."""
    r = rng.random()
    if r < 0.05:
        size = 0
    elif r < 0.35:
        size = rng.randint(1, 700)
    elif r < 0.85:
        size = rng.randint(700, 40000)
    else:
        size = rng.randint(40000, 300000)
    return max(0, min(size, room))


def draw_bytes(seed, n, size, rng):
    tag = "%d/%d" % (seed, n)
    return text_bytes(tag, size) if rng.random() < 0.4 else pseudo_bytes(tag, size)


def plan(seed, kind=None, make_tools=None, shape="normal"):
    """(geometry, [Op], model at the end, deleted versions [(path, bytes)]) of the seed's history. With
    make_tools, make_tools(geometry) gives a function that takes each step with the tools as it is drawn and
    says whether they took it: a step the tools refuse is left out of the history."""
    rng = random.Random(seed)
    # The shapes draw from a generator of their own, so that a seed's other steps stay what they were.
    shaped = random.Random(seed * 104729 + 17)
    people = random.Random(seed * 7919 + 5)
    kind = kind or default_kind(seed)
    geo = draw_geometry(rng, kind)
    fat = geo.fs != "ntfs"
    tools = make_tools(geo) if make_tools else None
    budget = geo.size_mib * MIB * 2 // 5  # live bytes kept under this, so that the volume never fills
    m = Model()
    ops, deleted = [], []

    def new_path(folder):
        return (folder + "/" if folder else "") + draw_name(rng, fat, m.names_in(folder))

    def room():
        return max(0, budget - m.size())

    def folders_at_depth():
        return sorted(f for f in m.folders if f.count("/") < MAX_DEPTH - 1)

    def some_file():
        return rng.choice(sorted(m.files)) if m.files else None

    def some_folder():
        live = sorted(f for f in m.folders if f)
        return rng.choice(live) if live else None

    def emit(op):
        if tools is not None and not tools(op):
            return False
        ops.append(op)
        return True

    def drop_file(path):
        deleted.append((path, m.files.pop(path)))

    def mkdir(path):
        if emit(Op("mkdir", "/" + path)):
            m.folders.add(path)

    def put(folder=None):
        folder = rng.choice(sorted(m.folders)) if folder is None else folder
        path = new_path(folder)
        data = draw_bytes(seed, len(ops), draw_size(rng, room()), rng)
        if emit(Op("put", "/" + path, len(data), data)):
            m.files[path] = data

    def grow(path, extra):
        old = m.files[path]
        data = old + draw_bytes(seed, len(ops), extra, rng)
        if not emit(Op("grow", "/" + path, len(data), data)):
            return
        m.files[path] = data
        if fat:
            deleted.append((path, old))  # rewritten whole: the old bytes may stay behind

    def move(path, folder):
        is_folder = path in m.folders
        taken = m.names_in(folder)
        name = path.rsplit("/", 1)[-1]
        if rng.random() < 0.5 or name.lower() in taken:
            name = draw_name(rng, fat, taken | {name.lower()})
        to = (folder + "/" if folder else "") + name
        if not emit(Op("mv", "/" + path, "/" + to)):
            return
        if is_folder:
            for p in sorted(m.folders):
                if p == path or p.startswith(path + "/"):
                    m.folders.remove(p)
                    m.folders.add(to + p[len(path):])
            for p in sorted(m.files):
                if p.startswith(path + "/"):
                    m.files[to + p[len(path):]] = m.files.pop(p)
        else:
            m.files[to] = m.files.pop(path)

    def rmtree(path):
        if not emit(Op("rmtree", "/" + path)):
            return
        for p in m.under(path):
            if p in m.files:
                drop_file(p)
            else:
                m.folders.remove(p)
        m.folders.remove(path)
        m.gone_folders.append(path)

    def big_folder():
        """A folder of hundreds of files, then moved, or deleted with them and made again (or left)."""
        parent = shaped.choice(folders_at_depth())
        path = (parent + "/" if parent else "") + "Big folder %d" % shaped.randrange(1000)
        if path.lower().rsplit("/", 1)[-1] in m.names_in(parent) or not emit(Op("mkdir", "/" + path)):
            return
        m.folders.add(path)
        files = {}
        for i in range(shaped.randint(*BIG_FOLDER_FILES)):
            files["%s/photo of the summer number %04d.jpg" % (path, i)] = draw_bytes(seed, 100000 + i, 1 + shaped.randrange(400), shaped)
        if emit(Op("many", "/" + path, len(files), files)):
            m.files.update(files)
        then = shaped.random()
        if then < 0.45:
            targets = [f for f in folders_at_depth() if f != parent and f != path and not f.startswith(path + "/")]
            if targets:
                move(path, shaped.choice(targets))
        elif then < 0.75:
            rmtree(path)
            if path in m.gone_folders:
                m.gone_folders.remove(path)
                mkdir(path)

    def people_fill():
        """What people put on a stick or a card, after the history: a camera folder of hundreds of small files written
        in a row (with Android's empty .nomedia), a folder of long names over more than one cluster, names as Windows
        writes them (OEM_NAMES, some of them deleted) and an empty file."""
        cluster = geo.cluster

        def new_folder(parent, name):
            path = (parent + "/" if parent else "") + name
            if name.lower() in m.names_in(parent) or not emit(Op("mkdir", "/" + path)):
                return None
            m.folders.add(path)
            return path

        def many(folder, files):
            files = {(folder or "") + "/" + n: d for n, d in files.items()}
            if folder is not None and emit(Op("many", "/" + folder, len(files), files)):
                m.files.update(files)

        camera = new_folder("", "DCIM") if "dcim" not in m.names_in("") else "DCIM"
        camera = camera and new_folder(camera, "%dMEDIA" % people.randrange(100, 999))
        count = min(people.randint(100, 300), room() // cluster)
        photos = {"IMG_%04d.JPG" % (i + 1): draw_bytes(seed, 200000 + i, people.randint(1, min(cluster, 4000)), people)
                  for i in range(count)}
        many(camera, dict(photos, **{".nomedia": b""}))
        name = "Letters about the %s to the bank number %%03d.doc" % people.choice(WORDS)
        entries = 1 + -(-len(name % 0) // 13)
        count = min(cluster * 3 // 2 // (32 * entries) + people.randint(1, 8), room() // cluster)
        many(new_folder(people.choice(folders_at_depth()), "Letters %d" % people.randrange(100)),
             {name % i: draw_bytes(seed, 300000 + i, people.randint(1, 2000), people) for i in range(count)})
        places = [""] + [p for p in (new_folder("", people.choice(OEM_FOLDERS)),) if p]
        written = []
        for n, name in enumerate(people.sample(OEM_NAMES, people.randint(3, 7)) + ["vide.txt"]):
            folder = people.choice(places)
            if name.lower() in m.names_in(folder):
                continue
            path = (folder + "/" if folder else "") + name
            data = b"" if name == "vide.txt" else draw_bytes(seed, 400000 + n, people.randint(1, 3 * cluster), people)
            if emit(Op("put", "/" + path, len(data), data)):
                m.files[path] = data
                written.append(path)
        named = [p for p in written if not p.endswith("vide.txt")]
        for path in people.sample(named, min(2, len(named))):
            if emit(Op("rm", "/" + path)):
                drop_file(path)

    if shape == "empty":
        # A partner volume with nothing to find a file system by: a few files in its root at most.
        for _ in range(rng.randint(0, 3)):
            put("")
        return geo, ops, m, deleted
    # Two folders first, so that a volume whose boot sector is lost has folders to find its geometry by.
    for _ in range(2):
        mkdir(new_path(""))
    steps = rng.randint(2, 8) if shape == "small" else rng.randint(15, 90)
    shaped_seed = shape == "normal" and (seed >= SHAPED_SEEDS or kind not in KINDS[:4])
    big_at = shaped.randrange(steps) if fat and geo.cluster == SECTOR and shaped_seed else None
    weights = {"mkdir": 12, "put": 35, "bulk": 3, "rm": 12, "rmtree": 5, "remake": 4, "rename": 8, "move": 6,
               "grow": 10, "interleave": 0 if fat else 5, "forget": 3 if geo.fs == "fat32" else 0}
    kinds = sorted(weights)
    for step in range(steps):
        if step == big_at:
            big_folder()
        what = rng.choices(kinds, [weights[k] for k in kinds])[0]
        if what == "mkdir" and len(m.folders) >= MAX_FOLDERS:
            what = "put"
        if what == "mkdir":
            mkdir(new_path(rng.choice(folders_at_depth())))
        elif what == "put":
            put()
        elif what == "bulk":
            # A folder of many files: its directory outgrows a cluster (FAT), its index its record (NTFS).
            folder = rng.choice(sorted(m.folders))
            for _ in range(rng.randint(6, 30)):
                put(folder)
        elif what == "rm" and m.files:
            path = some_file()
            if emit(Op("rm", "/" + path)):
                drop_file(path)
        elif what == "rmtree" and some_folder():
            rmtree(some_folder())
        elif what == "remake" and m.gone_folders:
            path = rng.choice(m.gone_folders)
            if m.parent(path) in m.folders and path.rsplit("/", 1)[-1].lower() not in m.names_in(m.parent(path)):
                m.gone_folders.remove(path)
                mkdir(path)
        elif what in ("rename", "move") and (m.files or len(m.folders) > 1):
            path = some_folder() if rng.random() < 0.4 and len(m.folders) > 1 else some_file()
            if path is None:
                continue
            folder = m.parent(path)
            if what == "move":
                targets = [f for f in folders_at_depth() if f != folder and f != path and not f.startswith(path + "/")]
                if path in m.folders:
                    depth = max(p.count("/") for p in [path] + m.under(path)) - path.count("/")
                    targets = [f for f in targets if f.count("/") + depth < MAX_DEPTH - 1]
                if not targets:
                    continue
                folder = rng.choice(targets)
            move(path, folder)
        elif what == "grow" and m.files:
            grow(some_file(), draw_size(rng, room()) or 1)
        elif what == "interleave" and len(m.files) >= 2:
            a, b = rng.sample(sorted(m.files), 2)
            for _ in range(rng.randint(2, 4)):
                for path in (a, b):
                    grow(path, min(rng.randint(1, 3) * geo.cluster + rng.randrange(geo.cluster), room()) or 1)
        elif what == "forget":
            emit(Op("forget-next-free"))
    if fat and shape == "normal":
        people_fill()
    return geo, ops, m, deleted


# ---------------------------------------------------------------- replaying a history with the tools

def make_volume(geo, image, label):
    if os.path.exists(image):
        os.remove(image)
    with open(image, "wb") as f:
        f.truncate(geo.size_mib * MIB)
    format_volume(geo, image, label)


def format_volume(geo, image, label):
    """Writes a new, empty file system of the geometry over the file (a quick format: the data area is left as it
    was)."""
    if geo.fs == "ntfs":
        run(["mkntfs", "-q", "-F", "-Q", "-T", "-c", geo.cluster, "-s", SECTOR, "-p", 0, "-H", 255, "-S", 63,
             "-L", label, image])
    else:
        run(["mkfs.fat", "--invariant", "--mbr=n", "-F", geo.fs[3:], "-s", geo.cluster // SECTOR, "-g", "255/63",
             "-h", "0", "-n", label, image])


class Tracked:
    """The files (path -> bytes) and folders a replay has made so far."""

    def __init__(self):
        self.files, self.folders = {}, set()

    def inside(self, root):
        """Files and folders below root, deepest first, files before folders."""
        found = [p for p in list(self.files) + list(self.folders) if p.startswith(root + "/")]
        return sorted(found, key=lambda p: (-p.count("/"), p in self.folders, p))

    def take(self, op):
        if op.kind in ("put", "grow"):
            self.files[op.args[0]] = op.args[2]
        elif op.kind == "many":
            self.files.update({"/" + p: d for p, d in op.args[2].items()})
        elif op.kind == "mkdir":
            self.folders.add(op.args[0])
        elif op.kind == "rm":
            self.files.pop(op.args[0], None)  # a file made before this replay, too
        elif op.kind == "rmtree":
            for p in self.inside(op.args[0]) + [op.args[0]]:
                self.files.pop(p, None)
                self.folders.discard(p)
        elif op.kind == "mv":
            src, dst = op.args
            for p in sorted(self.files):
                if p == src or p.startswith(src + "/"):
                    self.files[dst + p[len(src):]] = self.files.pop(p)
            for p in sorted(self.folders):
                if p == src or p.startswith(src + "/"):
                    self.folders.remove(p)
                    self.folders.add(dst + p[len(src):])


def stage(staging, n, data):
    local = os.path.join(staging, "%d" % n)
    with open(local, "wb") as f:
        f.write(data)
    return local


class FatTools:
    """Takes each step of a FAT history with mtools as the plan draws it."""

    def __init__(self, image, staging):
        self.image, self.staging, self.steps = image, staging, 0

    def __call__(self, op):
        self.steps += 1
        target = "::" + op.args[0] if op.args else None
        if op.kind == "mkdir":
            run(["mmd", "-i", self.image, target])
        elif op.kind == "many":
            folder = os.path.join(self.staging, "many%d" % self.steps)
            os.makedirs(folder)
            for path, data in op.args[2].items():
                with open(os.path.join(folder, path.rsplit("/", 1)[-1]), "wb") as f:
                    f.write(data)
            run(["mcopy", "-i", self.image] + [os.path.join(folder, n) for n in sorted(os.listdir(folder))] +
                [target + "/"])
        elif op.kind in ("put", "grow"):
            local = stage(self.staging, self.steps, op.args[2])
            # A fourth argument dates the file (seconds since 1970); else it is written now.
            dated = len(op.args) > 3 and op.args[3] is not None
            if dated:
                os.utime(local, (op.args[3], op.args[3]))
            run(["mcopy", "-i", self.image] + (["-D", "o"] if op.kind == "grow" else []) + (["-m"] if dated else []) +
                [local, target])
        elif op.kind == "rm":
            run(["mdel", "-i", self.image, target])
        elif op.kind == "rmtree":
            run(["mdeltree", "-i", self.image, target])
        elif op.kind == "mv":
            try:
                run(["mmove", "-i", self.image, target, "::" + op.args[1]])
            except ToolError as e:
                # mtools 4.0.32 aborts some renames on an assertion of its directory cache, before it writes
                # anything: the history goes on without that step.
                if "Assertion" not in str(e):
                    raise
                return False
        elif op.kind == "redate":
            redate_entry(self.image, op.args[0], op.args[1], op.args[2])
        elif op.kind == "forget-next-free":
            # FSInfo's next-free hint unknown: mtools allocates from the start again and fills freed holes.
            patch(self.image, SECTOR + 492, struct.pack("<I", 0xFFFFFFFF))
        else:
            raise ValueError(op.kind)
        return True


def redate_entry(image, path, size, mtime):
    """Gives the FAT entry of path (of size bytes) the last write date and time mtime (seconds since 1970, written as
    the tools write local time in UTC), as a copy keeps its source's; its creation date and time stay. The entry is
    the one short entry of the volume that names the file's first cluster and size."""
    first = int(re.search(r"<(\d+)", run(["mshowfat", "-i", image, "::" + path])).group(1))
    with open(image, "rb") as f:
        data = f.read()
    needle = struct.pack("<HI", first & 0xFFFF, size)
    found = []
    at = data.find(needle)
    while at >= 0:
        entry = at - 26
        if entry >= 0 and entry % 32 == 0 and data[entry] not in (0, 0xE5) and data[entry + 11] & 0x18 == 0 and \
                data[entry + 11] != 0x0F and struct.unpack_from("<H", data, entry + 20)[0] == first >> 16:
            found.append(entry)
        at = data.find(needle, at + 1)
    if len(found) != 1:
        raise ValueError("%d entries name %s's first cluster %d and size %d" % (len(found), path, first, size))
    t = time.gmtime(mtime)
    patch(image, found[0] + 22, struct.pack("<HH", t.tm_hour << 11 | t.tm_min << 5 | t.tm_sec // 2,
                                            (t.tm_year - 1980) << 9 | t.tm_mon << 5 | t.tm_mday))


def replay_ntfs(ops, image, staging, helper, clock=None):
    """Replays the operations with one run of the NTFS helper, its clock at clock (seconds since 1970) when given."""
    tracked = Tracked()
    lines = []
    for n, op in enumerate(ops):
        if op.kind == "put":
            lines.append(["put", op.args[0], stage(staging, n, op.args[2])])
        elif op.kind == "grow":
            old = tracked.files[op.args[0]]
            lines.append(["append", op.args[0], stage(staging, n, op.args[2][len(old):])])
        elif op.kind in ("mkdir", "rm", "mv"):
            lines.append([op.kind] + op.args)
        elif op.kind == "redate":  # the standard information's last write (and access) time
            lines.append(["times", op.args[0], op.args[2], op.args[2]])
        elif op.kind == "rmtree":
            lines += [["rm", p] for p in tracked.inside(op.args[0]) + [op.args[0]]]
        else:
            raise ValueError(op.kind)
        tracked.take(op)
    script = os.path.join(staging, "script")
    with open(script, "w", encoding="utf-8") as f:
        for line in lines:
            f.write("\t".join(str(x) for x in line) + "\n")
    run([helper, image, script], env={"NTFS_HELPER_TIME": str(clock)} if clock is not None else None)


def build(seed, kind, out_dir, helper=None, shape="normal"):
    """Makes the seed's volume in out_dir; returns its record (also written as NAME.history.json)."""
    kind = kind or default_kind(seed)
    name = "%s-%d" % (kind, seed) + ("" if shape in ("normal", "plain") else "-" + shape)
    image = os.path.join(out_dir, name + ".raw")
    staging = fresh_dir(os.path.join(out_dir, name + ".staging"))

    def fat_tools(geo):
        make_volume(geo, image, "H%d" % (seed % 100000))
        return FatTools(image, staging)

    fat = not kind.startswith("ntfs")
    geo, ops, model, deleted = plan(seed, kind, fat_tools if fat else None, shape)
    if not fat:
        make_volume(geo, image, "H%d" % (seed % 100000))
        replay_ntfs(ops, image, staging, helper)
    shutil.rmtree(staging)
    record = {
        "seed": seed, "kind": geo.kind, "fs": geo.fs, "code": CODES[geo.fs], "image": image,
        "sectors": geo.sectors, "cluster": geo.cluster,
        "ops": [op.text() if op.kind not in ("put", "grow", "many") else "%s %s %d" % (op.kind, op.args[0], op.args[1])
                for op in ops],
        "folders": sorted(model.folders - {""}),
        "files": {p: {"size": len(d), "sha256": sha256_bytes(d)} for p, d in sorted(model.files.items())},
        "deleted": [{"name": p.rsplit("/", 1)[-1], "path": p, "size": len(d), "sha256": sha256_bytes(d)}
                    for p, d in deleted],
    }
    with open(os.path.join(out_dir, name + ".history.json"), "w", encoding="utf-8") as f:
        json.dump(record, f, indent=1, ensure_ascii=False)
    return record


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--seed", type=int, required=True)
    parser.add_argument("--kind", choices=KINDS)
    parser.add_argument("--shape", choices=ALL_SHAPES, default="normal")
    parser.add_argument("--out", required=True)
    parser.add_argument("--ntfs-helper")
    parser.add_argument("--print", action="store_true")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    record = build(args.seed, args.kind, args.out, args.ntfs_helper, args.shape)
    if args.print:
        print("\n".join(record["ops"]))
    print(record["image"])


if __name__ == "__main__":
    main()
