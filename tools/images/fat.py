"""FAT16 and FAT32 volumes made with mkfs.fat and filled with mtools, without mounting anything."""

import os
import struct
import time

from util import COMMON_FOLDERS, FIXED_EPOCH, SECTOR, fresh_dir, patch, pseudo_bytes, run, text_bytes, written_files

# The folders and files of every FAT test volume, in the order they are written. Content kinds: ("text", n) and
# ("bin", n) make n bytes. Names cover: long names (one of exactly 26 characters), names outside ASCII, a
# lower-case 8.3 name (stored with the NT lower-case flags, no long name), empty files, nesting.
FOLDERS = COMMON_FOLDERS + ["Photos", "Fragments"]
FILES = [
    ("README.TXT", "text", 1500),
    ("notes.txt", "text", 900),
    ("Mixed Case Name.Txt", "text", 200),
    ("Twenty six characters.text", "text", 700),
    ("Grüße aus Köln.txt", "text", 300),
    ("ελληνικά.txt", "text", 250),
    ("日本語のファイル.txt", "text", 120),
    ("empty.txt", "text", 0),
    ("Empty file with a long name.dat", "bin", 0),
    ("DELME.TXT", "text", 400),
    ("Deleted long file name.bin", "bin", 9000),
    ("Documents/Letter to the bank.txt", "text", 3000),
    ("Documents/old draft.txt", "text", 1200),
    ("Documents/Reports/summary.csv", "text", 5000),
    ("Documents/Reports/2019/Annual report 2019.txt", "text", 40000),
    ("Deep/Nested/Folder/Chain/leaf.txt", "text", 100),
    ("Photos/IMG_0001.JPG", "bin", 30000),
    ("Photos/IMG_0002.JPG", "bin", 12000),
    ("Photos/Holiday picture number three.jpg", "bin", 25000),
    ("ToDelete/a.txt", "text", 600),
    ("ToDelete/Second file with a long name.txt", "text", 2500),
    ("ToDelete/Sub/c.bin", "bin", 7000),
]
# Deleted last, so that nothing written afterwards reuses their directory slots or clusters.
DELETED_FILES = ["DELME.TXT", "Deleted long file name.bin", "Documents/old draft.txt"]
DELETED_TREES = ["ToDelete"]

# A file fragmented around two freed holes: six pads of PAD_CLUSTERS clusters, pads 2 and 4 deleted, then the file.
PAD_COUNT = 6
PAD_CLUSTERS = 4
FRAGMENTED = "Fragments/Fragmented file.bin"

# Files whose times differ from the volume's clock and from one another, as Windows leaves a file copied on one day,
# written on another and read on a third: (last write, creation, hundredths of the creation's second, last access),
# seconds since 1970 as the volume's local time. mtools writes the last write (and makes the others the same); the
# creation and access fields are then written into the entry.
TIMES = {
    "README.TXT": (1555555555, 1500000001, 37, 1588888888),
    "notes.txt": (1262304000, 1230768000, 0, 1262390400),
}

# A folder whose cluster chain runs past 100 clusters (only on the volume that asks for it).
MANY_FOLDER = "Many entries"
MANY_COUNT = 300


def many_name(i):
    return f"Entry {i:04d} in a folder whose chain is longer than a hundred clusters.txt"


def _content(path, kind, size):
    return text_bytes(path, size) if kind == "text" else pseudo_bytes(path, size)


def _mcopy(image, staging, folder, names):
    """Copies staged files of one folder in one mtools call, in the given order, each with its staged time."""
    if names:
        run(["mcopy", "-m", "-i", image, *names, "::/" + folder + ("/" if folder else "")],
            cwd=os.path.join(staging, folder))


def _stage(staging, path, data):
    full = os.path.join(staging, path)
    os.makedirs(os.path.dirname(full), exist_ok=True)
    with open(full, "wb") as f:
        f.write(data)
    written = TIMES.get(path, (FIXED_EPOCH,))[0]
    os.utime(full, (written, written))


def _fat_date_time(seconds):
    t = time.gmtime(seconds)
    return ((t.tm_year - 1980) << 9) | (t.tm_mon << 5) | t.tm_mday, (t.tm_hour << 11) | (t.tm_min << 5) | t.tm_sec // 2


def _stamp_entries(image):
    """Writes the creation and access fields of TIMES into the short entries of those files (their 8.3 names are
    unique on the volume)."""
    with open(image, "r+b") as f:
        data = f.read()
        for path, (_, created, hundredths, accessed) in TIMES.items():
            stem, ext = os.path.splitext(os.path.basename(path).upper())
            name = stem.ljust(8).encode() + ext[1:].ljust(3).encode()
            at = data.find(name)
            while at >= 0 and at % 32:
                at = data.find(name, at + 1)
            date, clock = _fat_date_time(created)
            f.seek(at + 13)
            f.write(struct.pack("<BHHH", hundredths + (created % 2) * 100, clock, date, _fat_date_time(accessed)[0]))


def _forget_next_free(image, fs):
    """Marks FAT32's next-free hint unknown, so mtools allocates from the start again and fills freed holes."""
    if fs == "fat32":
        patch(image, SECTOR + 492, struct.pack("<I", 0xFFFFFFFF))


def build(image, work, fs, size_mib, sectors_per_cluster, label, many=False):
    """Makes the volume image; returns the files written: [{path, sha256, size, deleted}]."""
    staging = fresh_dir(os.path.join(work, "staging"))
    if os.path.exists(image):
        os.remove(image)
    bits = "16" if fs == "fat16" else "32"
    run(["mkfs.fat", "-C", "--invariant", "--mbr=n", "-F", bits, "-s", sectors_per_cluster, "-g", "255/63",
         "-h", "0", "-n", label, image, size_mib * 1024])
    cluster = sectors_per_cluster * SECTOR
    written = {}

    def add(path, data):
        _stage(staging, path, data)
        written[path] = data

    for folder in FOLDERS:
        run(["mmd", "-i", image, "::/" + folder])
    if many:
        run(["mmd", "-i", image, "::/" + MANY_FOLDER])
    by_folder = {}
    for path, kind, size in FILES:
        add(path, _content(path, kind, size))
        by_folder.setdefault(os.path.dirname(path), []).append(os.path.basename(path))
    pads = [f"Fragments/pad{i}.bin" for i in range(1, PAD_COUNT + 1)]
    for p in pads:
        add(p, pseudo_bytes(p, PAD_CLUSTERS * cluster))
    by_folder["Fragments"] = [os.path.basename(p) for p in pads]
    if many:
        names = [many_name(i) for i in range(1, MANY_COUNT + 1)]
        for i, n in enumerate(names, 1):
            add(f"{MANY_FOLDER}/{n}", text_bytes(n, 1 + (i * 37) % 900))
        by_folder[MANY_FOLDER] = names
    for folder, names in by_folder.items():
        _mcopy(image, staging, folder, names)

    # Free two holes and write a file larger than both: it fills them and continues after the last pad.
    freed = [pads[1], pads[3]]
    run(["mdel", "-i", image] + ["::/" + p for p in freed])
    for p in freed:
        del written[p]
    _forget_next_free(image, fs)
    add(FRAGMENTED, pseudo_bytes(FRAGMENTED, (2 * PAD_CLUSTERS + 3) * cluster - 100))
    _mcopy(image, staging, "Fragments", [os.path.basename(FRAGMENTED)])

    _stamp_entries(image)
    deleted = set(DELETED_FILES)
    run(["mdel", "-i", image] + ["::/" + p for p in DELETED_FILES])
    for tree in DELETED_TREES:
        deleted.update(p for p in written if p.startswith(tree + "/"))
        run(["mdeltree", "-i", image, "::/" + tree])
    return written_files(written, deleted)


def set_hidden_sectors(image, offset, fs, hidden):
    """Writes the partition's start into the boot sector (and FAT32's backup at +6), as a partitioning tool does."""
    value = struct.pack("<I", hidden)
    patch(image, offset + 28, value)
    if fs == "fat32":
        patch(image, offset + 6 * SECTOR + 28, value)
