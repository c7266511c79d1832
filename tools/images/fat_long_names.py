"""FAT volumes whose long names of 230 to 255 characters span three directory sectors, made with mkfs.fat and
mtools without mounting anything.

A name of 18 to 20 pieces (13 characters each) placed so that its first piece lies in the last slots of a
directory sector has its pieces in that sector and the whole next one, and its short entry in the sector after:
two sectors before the short entry. Each volume holds such names in one folder (the FAT16 root or a subfolder,
itself named so), every one written after single-slot 8.3 files that move it into place, and next to them a long
name of three sectors that is deleted last (its slots and pieces stay as deletion left them). Every file holds
data, so a subfolder's clusters are allocated between its files' and its chain is not contiguous: with 1-sector
clusters every sector edge is a cluster edge; with 8-sector clusters the names are placed across the edge of two
clusters of the chain.

build() returns the generator's own list of what it wrote (TSK's fls cuts names at 247 characters); verify()
checks with fls that the places promised are the places taken.
"""

import os

from util import fresh_dir, pseudo_bytes, run, text_bytes, written_files

# name, fs, volume MiB, sectors per cluster, folder holding the names ("" the root), where each name's first
# piece goes: (sector of the folder modulo the cluster size or None for anywhere, slot in that sector).
VOLUMES = [
    ("fat16_long_root.raw", "fat16", 8, 1, "", None),
    ("fat16_long_s1.raw", "fat16", 8, 1, "sub", None),
    ("fat16_long_s8.raw", "fat16", 32, 8, "sub", 7),
    ("fat32_long_s1.raw", "fat32", 40, 1, "sub", None),
    ("fat32_long_s8.raw", "fat32", 280, 8, "sub", 7),
]
PIECE = 13
SLOTS_PER_SECTOR = 16


def long_name(tag, length):
    """A name of exactly length characters (ASCII: a 255-byte file name when staged) that starts with tag."""
    words = f"{tag} a long file name of {length} characters whose pieces span three directory sectors "
    body = (words * (length // len(words) + 1))[:length - 4].rstrip(" ")
    body += "x" * (length - 4 - len(body))
    return body + ".txt"


# The names in writing order: (tag, length, deleted, where the first piece goes). A number 0-3 picks one of
# the places that make the name span three sectors; "after" writes it right after the name before it; a deleted
# name marked "before" lies right in front of the next name (its first piece at slot 10, the next name's at 14).
NAMES = [
    ("First", 230, False, 0),
    ("Second", 255, False, 1),
    ("Deleted next to the third", 240, True, "before"),
    ("Third", 234, False, "after"),
    ("Fourth", 243, False, 0),
    ("Deleted over three sectors", 250, True, 1),
    ("Fifth", 255, False, 2),
    ("Sixth", 248, False, 3),
]
SUBFOLDER = long_name("Folder", 240)[:-4]
SUBFOLDER_SHORT = "FOLDER~1"  # mtools names it so; shorter to write than its long name
FIRST_FILE = "README.TXT"
LAST_FOLDER = "OTHER"  # a volume whose names lie in the root gets a subfolder after them


def folders(folder):
    """The folders a volume holds."""
    return [SUBFOLDER] if folder else [LAST_FOLDER]


def pieces(name):
    return -(-len(name) // PIECE)


class Folder:
    """Plans one folder's writing order: 8.3 fillers move each long name to where its first piece must lie.
    mtools writes a folder's entries one after the other when nothing in it was deleted."""

    def __init__(self, first_slot, cluster_sectors, sector_in_cluster):
        self.slot = first_slot
        self.cluster_sectors = cluster_sectors
        self.sector_in_cluster = sector_in_cluster
        self.order = []  # names in writing order
        self.fillers = 0

    def filler(self):
        self.fillers += 1
        self.order.append(f"F{self.fillers:05d}.DAT")
        self.slot += 1

    def place(self, name, where):
        if where == "before":
            # Its pieces run from slot 10 to the next sector, where the next name's first piece follows it at
            # slot 14: that sector is the one the cluster edge asks for.
            self._fill_to(10, 1)
        elif where != "after":
            # A place from which the pieces end two sectors on: slot 32 - pieces to 15.
            self._fill_to(2 * SLOTS_PER_SECTOR - pieces(name) + where % (pieces(name) - SLOTS_PER_SECTOR), 0)
        self.order.append(name)
        self.slot += pieces(name) + 1

    def _fill_to(self, in_sector, sectors_on):
        while True:
            sector, at = divmod(self.slot, SLOTS_PER_SECTOR)
            edge = self.sector_in_cluster is None or (sector + sectors_on) % self.cluster_sectors == self.sector_in_cluster
            if at == in_sector and edge:
                return
            self.filler()


def _stage(staging, folder, name, data, written):
    path = os.path.join(staging, folder, name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
    written[(folder + "/" if folder else "") + name] = data


def build(image, work, fs, size_mib, sectors_per_cluster, folder, sector_in_cluster):
    """Makes the volume image; returns the files written: [{path, sha256, size, deleted}]."""
    staging = fresh_dir(os.path.join(work, "staging"))
    if os.path.exists(image):
        os.remove(image)
    run(["mkfs.fat", "-C", "--invariant", "--mbr=n", "-F", fs[3:], "-s", sectors_per_cluster, "-g", "255/63",
         "-h", "0", image, size_mib * 1024])
    written = {}
    inside = ""
    # A file first, so that no folder has cluster 2 (an Extensive Scan takes no folder there for a candidate).
    _stage(staging, "", FIRST_FILE, text_bytes(FIRST_FILE, 700), written)
    run(["mcopy", "-i", image, FIRST_FILE, "::/"], cwd=staging)
    if folder:
        # mcopy finds no directory slots in a folder whose own name spans three sectors (mtools 4.0): the
        # subfolder's name, next in the root, spans two.
        run(["mmd", "-i", image, "::/" + SUBFOLDER])
        inside = SUBFOLDER
    plan = Folder(2 if inside else 1, sectors_per_cluster, sector_in_cluster)
    gone = set()
    for tag, length, deleted, where in NAMES:
        name = long_name(tag, length)
        plan.place(name, where)
        if deleted:
            gone.add((inside + "/" if inside else "") + name)
    for i, name in enumerate(plan.order):
        data = text_bytes(name, 100) if len(name) <= 12 else pseudo_bytes(name, 3000 + 700 * i)
        _stage(staging, inside, name, data, written)
    # mtools grows a folder by at most one cluster for one file: a name that needs two more (1-sector
    # clusters) first gets its slots from as many 8.3 files, deleted again, whose slots it then takes.
    target = "::/" + (SUBFOLDER_SHORT + "/" if inside else "")
    batch = []
    for name in plan.order:
        if len(name) <= 12:
            batch.append(name)
            continue
        slots = [f"T{i:05d}.TMP" for i in range(pieces(name) + 1)]
        for t in slots:
            _stage(staging, inside, t, b"", {})  # empty: no clusters, no holes left behind
        run(["mcopy", "-i", image, *batch, *slots, target], cwd=os.path.join(staging, inside))
        run(["mdel", "-i", image, *(target + t for t in slots)])
        run(["mcopy", "-i", image, name, target], cwd=os.path.join(staging, inside))
        batch = []
    if not folder:
        run(["mmd", "-i", image, "::/" + LAST_FOLDER])
    run(["mdel", "-i", image, *("::/" + (SUBFOLDER_SHORT + "/" if inside else "") + p.rsplit("/", 1)[-1]
                                for p in sorted(gone))])
    return written_files(written, gone)


def _same_path(tsk, ours):
    """TSK drops the last pieces of some long names (and cuts any at 247 characters): a long component of its
    path is a beginning of ours."""
    a, b = tsk.split("/"), ours.split("/")
    return len(a) == len(b) and all(x == y or (len(x) >= 200 and y.startswith(x)) for x, y in zip(a, b))


def short_entry_places(raw, files):
    """{path: (sector of its folder's area, slot)} of each long-named file from TSK's addresses: TSK numbers a FAT
    entry 3 + 16 x (its sector - the first sector of the root folder or data area) + its slot."""
    out = run(["fls", "-r", "-p", "-o", 0, raw])
    places = {}
    for line in out.splitlines():
        kind_addr, _, path = line.partition("\t")
        addr = kind_addr.split()[-1].rstrip(":").split("-")[0]
        if not addr.isdigit():
            continue
        for f in files:
            if len(f["path"].rsplit("/", 1)[-1]) > 12 and _same_path(path, f["path"]):
                places[f["path"]] = divmod(int(addr) - 3, SLOTS_PER_SECTOR)
    return places


def three_sector_names(raw, files):
    """The long-named files whose pieces begin two sectors before their short entry."""
    places = short_entry_places(raw, files)
    return [p for p, (_, slot) in places.items() if pieces(p.rsplit("/", 1)[-1]) > slot + SLOTS_PER_SECTOR]
