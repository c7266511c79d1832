"""NTFS volumes made with mkntfs and filled through libntfs-3g (ntfs_image_helper), without mounting anything."""

import os
import struct

from util import COMMON_FOLDERS, SECTOR, fresh_dir, patch, pseudo_bytes, run, text_bytes, written_files

FOLDERS = COMMON_FOLDERS
# Small files stay resident in their MFT record; the larger ones get clusters.
FILES = [
    ("small.txt", "text", 300),
    ("Résumé – ñandú.txt", "text", 420),
    ("A long NTFS file name with more than twenty-six characters.txt", "text", 20000),
    ("empty.dat", "bin", 0),
    ("Documents/notes.txt", "text", 500),
    ("Documents/old draft.txt", "text", 650),
    ("Documents/Reports/summary.csv", "text", 5000),
    ("Documents/Reports/2019/Annual report 2019.txt", "text", 40000),
    ("Documents/Reports/2019/chart.bin", "bin", 150000),
    ("Deep/Nested/Folder/Chain/leaf.txt", "text", 100),
    ("Deleted big file.bin", "bin", 70000),
    ("ToDelete/a.bin", "bin", 50000),
    ("ToDelete/b.txt", "text", 300),
    ("ToDelete/Sub/c.txt", "text", 200),
]
# A folder is deleted after its contents, in the order given; deletions come after every write so that no later
# record or cluster reuses what they freed.
DELETED = [
    "Documents/old draft.txt",
    "Deleted big file.bin",
    "ToDelete/Sub/c.txt",
    "ToDelete/Sub",
    "ToDelete/a.bin",
    "ToDelete/b.txt",
    "ToDelete",
]
# Written back to front into a file that starts as one hole: each piece is allocated before the one written
# earlier, so the runs go backwards on the disk (negative run offsets) and the file ends up in several fragments.
FRAGMENTED = "Fragmented file.bin"
PIECES = 5
SPARSE = "Sparse file.bin"
SPARSE_SIZE = 4 * 1024 * 1024
SPARSE_AT = 1024 * 1024
SPARSE_DATA = 8192

# Files whose standard information says they were last written and read at other times than the volume's clock (the
# time they were named, which their file-name attributes keep): seconds since 1970.
TIMES = {
    "Documents/notes.txt": (1555555555, 1588888888),
    "Documents/Reports/summary.csv": (1262304000, 1262390400),
}

# The folder whose MFT record the damage kit clears.
DAMAGE_FOLDER = "Documents/Reports"


def make_empty(image, size_mib, cluster, label, record=1024):
    """An empty NTFS volume of size_mib MiB with clusters of cluster bytes, from sector 0; its MFT records of record
    bytes (1024, or 4096 as the large-record option of Windows' format makes them on 512-byte sectors)."""
    size = size_mib * 1024 * 1024
    with open(image, "wb") as f:
        f.truncate(size)
    # mkntfs makes records of the sector's size, each protected in 512-byte strides: a volume of 4 KiB sectors
    # becomes one of 512-byte sectors whose records are 4 KiB when its boot sector says 512-byte sectors.
    run(["mkntfs", "-q", "-F", "-Q", "-T", "-c", cluster, "-s", record if record > 1024 else SECTOR,
         "-p", 0, "-H", 255, "-S", 63, "-L", label, image])
    if record > 1024:
        with open(image, "r+b") as f:
            boot = bytearray(f.read(SECTOR))
            struct.pack_into("<HB", boot, 11, SECTOR, cluster // SECTOR)
            struct.pack_into("<Q", boot, 40, size // SECTOR - 1)
            f.seek(0)
            f.write(boot)
            f.seek(size - SECTOR)
            f.write(boot)


def run_script(helper, image, script, script_path):
    """Writes the helper's commands (lists of fields) to script_path and runs them on the image."""
    with open(script_path, "w", encoding="utf-8") as f:
        for cmd in script:
            f.write("\t".join(str(c) for c in cmd) + "\n")
    run([helper, image, script_path])


def build(image, work, helper, size_mib, cluster, label):
    """Makes the volume image; returns the files written: [{path, sha256, size, deleted}]."""
    staging = fresh_dir(os.path.join(work, "staging"))
    make_empty(image, size_mib, cluster, label)
    written = {}
    script = []

    def stage(path, data):
        local = os.path.join(staging, f"{len(os.listdir(staging)):04d}.bin")
        with open(local, "wb") as f:
            f.write(data)
        return local

    for folder in FOLDERS:
        script.append(["mkdir", "/" + folder])
    for path, kind, size in FILES:
        data = text_bytes(path, size) if kind == "text" else pseudo_bytes(path, size)
        written[path] = data
        script.append(["put", "/" + path, stage(path, data)])
    piece = max(2 * cluster, 8192)
    pieces = [pseudo_bytes(f"{FRAGMENTED}/{i}", piece) for i in range(PIECES)]
    written[FRAGMENTED] = b"".join(pieces)
    last = PIECES - 1
    script.append(["sparse", "/" + FRAGMENTED, PIECES * piece, last * piece, stage(FRAGMENTED, pieces[last])])
    for i in reversed(range(last)):
        script.append(["write", "/" + FRAGMENTED, i * piece, stage(FRAGMENTED, pieces[i])])
    data = pseudo_bytes(SPARSE, SPARSE_DATA)
    written[SPARSE] = bytes(SPARSE_AT) + data + bytes(SPARSE_SIZE - SPARSE_AT - SPARSE_DATA)
    script.append(["sparse", "/" + SPARSE, SPARSE_SIZE, SPARSE_AT, stage(SPARSE, data)])
    for path, (modified, accessed) in TIMES.items():
        script.append(["times", "/" + path, modified, accessed])
    for path in DELETED:
        script.append(["rm", "/" + path])
    run_script(helper, image, script, os.path.join(work, "ntfs.script"))
    return written_files(written, set(DELETED))


def set_hidden_sectors(image, offset, size, hidden):
    """Writes the partition's start into the boot sector and into its backup in the volume's last sector (0 for a
    start past the field's 32 bits)."""
    value = struct.pack("<I", hidden if hidden <= 0xFFFFFFFF else 0)
    patch(image, offset + 28, value)
    patch(image, offset + size - SECTOR + 28, value)
