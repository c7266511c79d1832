#!/usr/bin/env python3
"""Writes NTFS volumes with the histories and damage users bring, and what the engine must make of each: the
bytes this script wrote are the truth (TSK cannot judge most of these shapes).

    make_ntfs_histories.py --images DIR --out FILE [--ntfs-helper PATH]

Beside FILE, each case's image (NAME.fixed.vhd) and, in expected/, the bytes each file must be saved with. Cases:

    bound_badclus    a 16 MiB NTFS volume (4 KiB clusters, two folders of 40 files, victim.bin and kept.bin in the
                     root) at sector 2048 before a FAT16 volume; victim.bin's first data run moved 40 clusters past
                     the volume's end, into the FAT volume; both boot sectors zeroed. Its $BadClus gives its end.
    bound_backup     the same with the first boot sector zeroed only: the backup in the last sector gives the end
    bound_bitmap     both boot sectors and $BadClus's record zeroed: $Bitmap's size gives the end
    bound_free       both boot sectors zeroed, nothing after the volume but free (zero) space to the disk's end
    stop_bounded     the same volume (undamaged) at 2048, boot sectors zeroed, and after it an 8 MiB NTFS volume whose
                     only folder is its root, with 15 files named "foreign NN.txt", also without boot sectors: it
                     cannot be found. Read with a stop after the third file record of the first volume is read.
    stop_unbounded   the same with the first volume's $BadClus and $Bitmap records zeroed: its end is not known
    valid_listed     make_listed_data_volume.py's volume with spread.bin's data moved wholly into extension records,
                     the valid data length of the part that starts it cut to a third of its size
    quick_format     a 32 MiB volume with three folders of 100 files, formatted again over them (mkntfs -Q), then
                     8 MiB of new files: old records lie past the new MFT's end, old clusters hold new bytes
    quick_format_larger, quick_format_smaller   the same formatted with another cluster size, 4 KiB to 8 KiB and
                     8 KiB to 4 KiB (a camera formatting a card a PC formatted): the old records count the old
                     clusters
    torn             resident and non-resident files, two resident and one non-resident rewritten and then given
                     back the second sector their record had before (a write torn by a power loss)
    reused           a nearly full 8 MiB volume: 12 of 30 files deleted, then 6 new ones written into the space
    windows_quick    a 32 MiB volume (4 KiB clusters) filled as Windows fills one: a file with names in two folders
                     and the root and one with two names in one folder (hard links); files of several shapes written
                     into a compressed folder (LZNT1), one of them with its first compression unit's stream cut off; a
                     file compressed by Windows' own file compression (its data in the stream WofCompressedData); a
                     cloud file kept online only and one kept on the disk; a deduplicated file, one recalled in part,
                     a file storage management moved away and one tiered to the cloud; a symbolic link and a junction;
                     a folder of 40 files
    windows_extensive  the same, its file system found by an Extensive Scan
    windows_rebuilt  the same without its boot sectors
    records4k_quick, records4k_extensive, records4k_rebuilt  the same files on a volume of 4 KiB MFT records on
                     512-byte sectors
    mirror_mapped    the bounded volume without its boot sectors and without the first sector of its MFT's record 0,
                     so that only the copy in its mirror maps the MFT, before the unfindable partner of stop_bounded

FILE, tab-separated:

    case   NAME  IMAGE  MODE  RANGE_START  RANGE_COUNT  VOLUME_START  VOLUME_SECTORS  LAST  STOP
    file   NAME  FILE_NAME  STATE  LISTED  EXPECTED
    absent NAME  FILE_NAME

MODE is quick or extensive (the whole range scanned, the volume at VOLUME_START chosen). LAST is the last sector the
file system found must have (0: not checked). STOP is the number of the volume's own file records read while
re-reading the chosen file system after which a stop comes (0: none). Each file line is a file name (unique in
its case): STATE whole (saved whole with EXPECTED's bytes), damaged (saved, counted damaged), elsewhere (its
data is not in the file: counted not read whole, and not saved) or link (a symbolic link or junction: not saved,
the save's report names it with its target, EXPECTED's bytes in UTF-8); LISTED must or may, or folder (a junction,
met by a save of the whole tree alone); EXPECTED the file under expected/ holding its bytes. An absent name must
not be listed.
"""
import os
import shutil
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.abspath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, os.path.join(REPO, "tools", "images"))
sys.path.insert(0, os.path.join(REPO, "engine", "save"))

import disks  # noqa: E402
import ntfs  # noqa: E402
import ntfs_records  # noqa: E402
import oracle  # noqa: E402
from generate import own_volume_arguments  # noqa: E402
from make_extensive_disks import fixed_vhd  # noqa: E402
from make_listed_data_volume import CLUSTER as LISTED_CLUSTER, SPREAD, build_moved, build_raw  # noqa: E402
from util import SECTOR, fresh_dir, make_sparse, patch, pseudo_bytes, run, text_bytes  # noqa: E402

MIB = 1024 * 1024
START = 2048


class Case:
    def __init__(self, out_dir, name, mode, volume_start, volume_sectors, last=0, stop=0):
        self.out_dir, self.name, self.mode, self.stop = out_dir, name, mode, stop
        self.volume_start, self.volume_sectors, self.last = volume_start, volume_sectors, last
        self.files, self.absent = [], []
        os.makedirs(os.path.join(out_dir, "expected", name), exist_ok=True)

    def file(self, name, data, state="whole", listed="must"):
        expected = "%s/%04d.bin" % (self.name, len(self.files))
        with open(os.path.join(self.out_dir, "expected", expected), "wb") as f:
            f.write(data)
        self.files.append((name, state, listed, expected))

    def lines(self, image, range_count):
        out = ["\t".join(str(c) for c in ("case", self.name, image, self.mode, 0, range_count, self.volume_start,
                                          self.volume_sectors, self.last, self.stop))]
        out += ["\t".join(("file", self.name) + f) for f in self.files]
        out += ["\t".join(("absent", self.name, n)) for n in self.absent]
        return out


def staged(work, name, data):
    path = os.path.join(work, "stage_%d" % len(os.listdir(work)))
    with open(path, "wb") as f:
        f.write(data)
    return path


def read_at(path, sector, count):
    with open(path, "rb") as f:
        f.seek(sector * SECTOR)
        return f.read(count * SECTOR)


def inodes(raw):
    return {e["name"]: e["inode"] for e in oracle.fls(raw, 0) if not e["stream"] and not e["deleted"]}


def inodes_with_deleted(raw):
    return {e["name"]: e["inode"] for e in oracle.fls(raw, 0) if not e["stream"]}


def fsstat_number(raw, key, index=1):
    return int(oracle.fsstat(raw, 0)[key].split(" - ")[index]) + (1 if index == 1 else 0)


def record_bytes(raw, inode):
    """(sector of the record, its 1024 bytes as the volume holds them)."""
    sector = ntfs_records.record_sector(raw, inode)
    return sector, read_at(raw, sector, 2)


def data_clusters(raw, inode):
    """The clusters of the file's unnamed data, in order (holes as None); [] when resident."""
    record = ntfs_records.read_sector_record(raw, ntfs_records.record_sector(raw, inode))
    at = ntfs_records.find_attribute(record, ntfs_records.DATA)
    if record[at + 8] == 0:
        return []
    out = []
    for start, length in ntfs_records.decode_runs(record, at):
        out += [None] * length if start is None else list(range(start, start + length))
    return out


def data_size(raw, inode):
    record = ntfs_records.read_sector_record(raw, ntfs_records.record_sector(raw, inode))
    return struct.unpack_from("<Q", record, ntfs_records.find_attribute(record, ntfs_records.DATA) + 48)[0]


def mft_sectors(raw):
    """The sectors of the MFT's records, as far as its data's size."""
    records = data_size(raw, 0) // 1024
    return {ntfs_records.record_sector(raw, n) + i for n in range(records) for i in (0, 1)}


def bytes_at(raw, clusters, spc, size):
    """What the clusters hold now, as far as size."""
    out = bytearray()
    with open(raw, "rb") as f:
        for c in clusters:
            if len(out) >= size:
                break
            if c is None:
                out += bytes(spc * SECTOR)
            else:
                f.seek(c * spc * SECTOR)
                out += f.read(spc * SECTOR)
    return bytes(out[:size])


# ---------------------------------------------------------------- a volume bounded by what it holds

def build_bounded_volume(raw, work, helper):
    """The 16 MiB volume with two folders of 40 files and two root files; returns {name: bytes}."""
    ntfs.make_empty(raw, 16, 4096, "BOUNDED")
    written = {}
    script = []
    for folder in ("Bound first", "Bound second"):
        script.append(["mkdir", "/" + folder])
        for i in range(40):
            name = "%s %02d with a name long enough to fill the index.bin" % (folder, i)
            written[name] = pseudo_bytes(name, 300 + i * 211)
            script.append(["put", "/%s/%s" % (folder, name), staged(work, name, written[name])])
    for name, size in (("victim.bin", 60000), ("kept.bin", 40000)):
        written[name] = pseudo_bytes(name, size)
        script.append(["put", "/" + name, staged(work, name, written[name])])
    ntfs.run_script(helper, raw, script, os.path.join(work, "bounded.script"))
    return written


def move_first_run_past(raw, inode, clusters_past):
    """The file's first run moved to start clusters_past clusters after the volume's last cluster."""
    clusters = fsstat_number(raw, "Total Cluster Range")

    def edit(record, at):
        runs = ntfs_records.decode_runs(record, at)
        runs[0] = (clusters + clusters_past, runs[0][1])
        pos = at + struct.unpack_from("<H", record, at + 32)[0]
        encoded = ntfs_records.encode_runs(runs)
        assert pos + len(encoded) <= at + struct.unpack_from("<I", record, at + 4)[0]
        record[pos:pos + len(encoded)] = encoded
    ntfs_records.patch_attribute(raw, inode, ntfs_records.DATA, edit)


def zero_record(disk, start, raw, inode):
    sector = ntfs_records.record_sector(raw, inode)
    disks.zero_sectors(disk, start + sector, 2)


def bounded_cases(out_dir, work, helper):
    volume = os.path.join(work, "ntfs_bounded.raw")
    written = build_bounded_volume(volume, work, helper)
    intact = os.path.join(work, "ntfs_intact.raw")
    shutil.copyfile(volume, intact)
    numbers = inodes(volume)
    move_first_run_past(volume, numbers["victim.bin"], 40)
    sectors = os.path.getsize(volume) // SECTOR
    spc = 8
    clusters = fsstat_number(volume, "Total Cluster Range")
    total = fsstat_number(volume, "Total Sector Range")
    bitmap_bits = data_size(volume, 6) * 8
    # The neighbour: a FAT16 volume full of other bytes.
    fat = os.path.join(work, "fat16_neighbour.raw")
    make_sparse(fat, 16 * MIB)
    run(["mkfs.fat", "--invariant", "--mbr=n", "-F", 16, "-g", "255/63", "-h", 0, "-n", "NEIGHBOUR", fat])
    filler = staged(work, "filler", pseudo_bytes("neighbour", 12 * MIB))
    run(["mcopy", "-i", fat, filler, "::/FILLER.BIN"])
    out = []
    for name, neighbour, zeroed in (("bound_badclus", True, ("boot", "backup")),
                                    ("bound_backup", True, ("boot",)),
                                    ("bound_bitmap", True, ("boot", "backup", "badclus")),
                                    ("bound_free", False, ("boot", "backup"))):
        disk = os.path.join(out_dir, name + ".raw")
        disk_sectors = START + sectors + 32768 + START
        make_sparse(disk, disk_sectors * SECTOR)
        disks.place_volume(disk, work, os.path.basename(volume), START)
        if neighbour:
            disks.place_volume(disk, work, os.path.basename(fat), START + sectors)
        if "boot" in zeroed:
            disks.zero_sectors(disk, START, 1)
        if "backup" in zeroed:
            disks.zero_sectors(disk, START + sectors - 1, 1)
        if "badclus" in zeroed:
            zero_record(disk, START, volume, 8)
        last = {"bound_backup": START + total,
                "bound_bitmap": START + min(bitmap_bits, sectors // spc) * spc - 1}.get(name, START + clusters * spc - 1)
        case = Case(out_dir, name, "extensive", START, sectors, last)
        for file_name, data in written.items():
            case.file(file_name, data, "damaged" if file_name == "victim.bin" else "whole")
        out += case.lines(fixed_vhd(disk), disk_sectors)
        os.remove(disk)
    return out, volume, intact, written


def partnered_disk(out_dir, work, name, intact, partner):
    """A disk of the intact volume at START and the partner after it, both without boot sectors; (path, sectors)."""
    sectors = os.path.getsize(intact) // SECTOR
    partner_sectors = os.path.getsize(partner) // SECTOR
    disk = os.path.join(out_dir, name + ".raw")
    disk_sectors = START + sectors + partner_sectors + START
    make_sparse(disk, disk_sectors * SECTOR)
    for raw, at, count in ((intact, START, sectors), (partner, START + sectors, partner_sectors)):
        disks.place_volume(disk, work, os.path.basename(raw), at)
        disks.zero_sectors(disk, at, 1)
        disks.zero_sectors(disk, at + count - 1, 1)
    return disk, disk_sectors


def stop_cases(out_dir, work, helper, intact, written):
    partner = os.path.join(work, "ntfs_partner.raw")
    ntfs.make_empty(partner, 8, 4096, "PARTNER")
    foreign = ["foreign %02d.txt" % i for i in range(15)]
    ntfs.run_script(helper, partner, [["put", "/" + n, staged(work, n, text_bytes(n, 200))] for n in foreign],
                    os.path.join(work, "partner.script"))
    sectors = os.path.getsize(intact) // SECTOR
    out = []
    for name, unbounded in (("stop_bounded", False), ("stop_unbounded", True)):
        disk, disk_sectors = partnered_disk(out_dir, work, name, intact, partner)
        if unbounded:
            for number in (6, 8):
                zero_record(disk, START, intact, number)
        # Known, the end is the volume's last cluster; not known, the end of the range.
        last = disk_sectors if unbounded else START + fsstat_number(intact, "Total Cluster Range") * 8 - 1
        case = Case(out_dir, name, "extensive", START, sectors, last, stop=3)
        for file_name, data in written.items():
            # A stop ends the reading of the files: each is listed as the search found it, or not at all.
            case.file(file_name, data, "whole", "may")
        case.absent = foreign
        out += case.lines(fixed_vhd(disk), disk_sectors)
        os.remove(disk)
    return out


# ---------------------------------------------------------------- valid data length in an extension record

def valid_listed_case(out_dir, work, helper):
    listed = fresh_dir(os.path.join(work, "listed"))
    raw = build_raw(listed, helper)
    spread = inodes(raw)["spread.bin"]
    moved = build_moved(raw, listed, helper, spread)
    size = (2 * (SPREAD - 1) + 1) * LISTED_CLUSTER
    content = bytearray(size)
    for i in range(SPREAD):
        content[2 * i * LISTED_CLUSTER:(2 * i + 1) * LISTED_CLUSTER] = pseudo_bytes("spread.bin %d" % i, LISTED_CLUSTER)
    valid = size // 3 + 100  # not on a cluster's edge
    # The part that starts the value now lies in an extension record: the one whose runs start at VCN 0.
    for n in range(16, data_size(moved, 0) // 1024):
        try:
            record = ntfs_records.read_sector_record(moved, ntfs_records.record_sector(moved, n))
            at = ntfs_records.find_attribute(record, ntfs_records.DATA)
        except ValueError:
            continue
        if record[:4] == b"FILE" and struct.unpack_from("<I", record, 32)[0] == spread and record[at + 8] and \
                struct.unpack_from("<Q", record, at + 16)[0] == 0:
            ntfs_records.patch_attribute(moved, n, ntfs_records.DATA,
                                         lambda r, a: struct.pack_into("<Q", r, a + 56, valid))
            break
    else:
        raise SystemExit("valid_listed: no extension record starts spread.bin's data")
    content[valid:] = bytes(size - valid)
    if run(["icat", moved, str(spread)], binary=True) != bytes(content):
        raise SystemExit("valid_listed: icat reads other bytes than those written up to the valid data length")
    image = os.path.join(out_dir, "valid_listed.raw")
    shutil.copyfile(moved, image)
    case = Case(out_dir, "valid_listed", "quick", 0, os.path.getsize(image) // SECTOR)
    case.file("spread.bin", bytes(content))
    case.file("plain.txt", text_bytes("plain.txt", 5000))
    lines = case.lines(fixed_vhd(image), os.path.getsize(image) // SECTOR)
    os.remove(image)
    return lines


# ---------------------------------------------------------------- a quick format over a used volume

def files_before(raw, names):
    """For each name: (record sector, record bytes, data clusters)."""
    numbers = inodes(raw)
    return {n: record_bytes(raw, numbers[n]) + (data_clusters(raw, numbers[n]),) for n in names}


def old_file_line(case, raw, name, data, before, new_mft, spc):
    sector, record, clusters = before
    record_kept = read_at(raw, sector, 2) == record and sector not in new_mft
    intact = not clusters or bytes_at(raw, clusters, spc, len(data)) == data
    case.file(name, data, "whole" if intact else "damaged", "must" if record_kept else "may")


def quick_format_case(out_dir, work, helper, case_name="quick_format", old_cluster=4096, new_cluster=4096):
    raw = os.path.join(out_dir, case_name + ".raw")
    ntfs.make_empty(raw, 32, old_cluster, "OLD")
    old = {}
    script = []
    for d in range(3):
        script.append(["mkdir", "/Old folder %d" % d])
        for i in range(100):
            name = "old %d-%03d.bin" % (d, i)
            old[name] = pseudo_bytes(name, 700 + (i * 7919) % 60000)
            script.append(["put", "/Old folder %d/%s" % (d, name), staged(work, name, old[name])])
    ntfs.run_script(helper, raw, script, os.path.join(work, "old.script"))
    before = files_before(raw, old)
    run(["mkntfs", "-q", "-F", "-Q", "-T", "-c", new_cluster, "-s", SECTOR, "-p", 0, "-H", 255, "-S", 63, "-L", "NEW",
         raw])
    new = {}
    script = [["mkdir", "/New folder"]]
    total = 0
    while total < 8 * MIB:
        name = "new %03d.bin" % len(new)
        new[name] = pseudo_bytes(name, 20000 + (len(new) * 104729) % 200000)
        total += len(new[name])
        script.append(["put", "/New folder/" + name, staged(work, name, new[name])])
    ntfs.run_script(helper, raw, script, os.path.join(work, "new.script"))
    new_mft = mft_sectors(raw)
    sectors = os.path.getsize(raw) // SECTOR
    case = Case(out_dir, case_name, "extensive", 0, sectors)
    for name, data in new.items():
        case.file(name, data)
    for name, data in old.items():
        old_file_line(case, raw, name, data, before[name], new_mft, old_cluster // SECTOR)
    lines = case.lines(fixed_vhd(raw), sectors)
    os.remove(raw)
    return lines


# ---------------------------------------------------------------- torn records

def torn_case(out_dir, work, helper):
    raw = os.path.join(out_dir, "torn.raw")
    ntfs.make_empty(raw, 8, 4096, "TORN")
    # The small files stay in their records (whose second sector their bytes reach); the big ones do not.
    first = {n: text_bytes(n, size) for n, size in (("torn one.txt", 620), ("torn two.txt", 560),
                                                    ("torn big.bin", 30000), ("kept one.txt", 600),
                                                    ("kept big.bin", 30000))}
    ntfs.run_script(helper, raw, [["put", "/" + n, staged(work, n, d)] for n, d in first.items()],
                    os.path.join(work, "torn1.script"))
    numbers = inodes(raw)
    torn = [n for n in first if n.startswith("torn")]
    second_halves = {n: read_at(raw, ntfs_records.record_sector(raw, numbers[n]) + 1, 1) for n in torn}
    # The files written again, so that their records are written anew (the update sequence number moves on): a
    # small one rewritten in its record, a big one grown.
    last = dict(first)
    script = []
    for n in torn:
        if n.endswith(".bin"):
            more = pseudo_bytes(n, 5000)
            last[n] = first[n] + more
            script.append(["append", "/" + n, staged(work, n, more)])
        else:
            last[n] = text_bytes(n + " again", len(first[n]))
            script.append(["write", "/" + n, 0, staged(work, n, last[n])])
    ntfs.run_script(helper, raw, script, os.path.join(work, "torn2.script"))
    for n in torn:
        sector = ntfs_records.record_sector(raw, numbers[n])
        patch(raw, (sector + 1) * SECTOR, second_halves[n])
        record = read_at(raw, sector, 2)
        if record[510:512] == record[1022:1024]:
            raise SystemExit("torn: %s's record was not written again, so it cannot be torn" % n)
    case = Case(out_dir, "torn", "quick", 0, os.path.getsize(raw) // SECTOR)
    for n, data in last.items():
        case.file(n, data, "damaged" if n in torn else "whole")
    lines = case.lines(fixed_vhd(raw), os.path.getsize(raw) // SECTOR)
    os.remove(raw)
    return lines


# ---------------------------------------------------------------- space used again after a delete

def reused_case(out_dir, work, helper):
    raw = os.path.join(out_dir, "reused.raw")
    ntfs.make_empty(raw, 8, 4096, "REUSED")
    files = {"file %02d.bin" % i: pseudo_bytes("file %d" % i, 150000 + (i * 7919) % 40000) for i in range(30)}
    ntfs.run_script(helper, raw, [["put", "/" + n, staged(work, n, d)] for n, d in files.items()],
                    os.path.join(work, "reused1.script"))
    gone = ["file %02d.bin" % i for i in range(0, 30, 5)] + ["file %02d.bin" % i for i in range(2, 30, 5)]
    clusters = {n: data_clusters(raw, number) for n, number in inodes(raw).items() if n in gone}
    ntfs.run_script(helper, raw, [["rm", "/" + n] for n in gone], os.path.join(work, "reused2.script"))
    records = {n: record_bytes(raw, number) for n, number in inodes_with_deleted(raw).items() if n in gone}
    new = {"new %02d.bin" % i: pseudo_bytes("new %d" % i, 200000 + i * 30011) for i in range(6)}
    ntfs.run_script(helper, raw, [["put", "/" + n, staged(work, n, d)] for n, d in new.items()],
                    os.path.join(work, "reused3.script"))
    case = Case(out_dir, "reused", "quick", 0, os.path.getsize(raw) // SECTOR)
    for n, data in list(files.items()) + list(new.items()):
        if n not in gone:
            case.file(n, data)
            continue
        sector, record = records[n]
        intact = bytes_at(raw, clusters[n], 8, len(data)) == data
        # A deleted file is listed while its record was not taken by a new file.
        case.file(n, data, "whole" if intact else "damaged", "must" if read_at(raw, sector, 2) == record else "may")
    lines = case.lines(fixed_vhd(raw), os.path.getsize(raw) // SECTOR)
    os.remove(raw)
    return lines


# ---------------------------------------------------------------- a volume as Windows fills it

def first_data_cluster(raw, inode):
    """The first cluster istat gives the file's unnamed data."""
    lines = run(["istat", raw, str(inode)]).splitlines()
    at = next(i for i, line in enumerate(lines) if line.startswith("Type: $DATA (128-"))
    return next(int(n) for line in lines[at + 1:] for n in line.split() if int(n) != 0)


def build_windows_volume(raw, work, helper, record):
    """The files of the windows cases on a new volume of record-byte MFT records; {path: (bytes, state)}."""
    ntfs.make_empty(raw, 32, 4096, "WINDOWS", record)
    text = lambda n, size: text_bytes(n, size)  # noqa: E731
    files = {
        "Links A/shared report.txt": (text("shared", 30000), "whole"),
        "Links A/twin one.bin": (pseudo_bytes("twin", 9000), "whole"),
        "Compressed/notes.txt": (text("notes", 200000), "whole"),
        "Compressed/random.bin": (pseudo_bytes("random", 100000), "whole"),
        "Compressed/mixed.bin": (text("mixed", 70000) + pseudo_bytes("mixed", 40000) + bytes(90000) +
                                 text("mixed tail", 50001), "whole"),
        "Compressed/small.txt": (text("small", 500), "whole"),
        "Compressed/unit.txt": (text("unit", 65536), "whole"),
        "Compressed/broken.txt": (text("broken", 150000), "damaged"),
        "Cloud/kept here.txt": (text("kept", 150000), "whole"),
        "plain.txt": (text("plain", 5000), "whole"),
    }
    # A folder of many files, whose index outgrows even a 4 KiB record: a volume without its boot sectors is found
    # by two folders' index records.
    files.update({"Many/many %02d with a long name.txt" % i: (text("many %d" % i, 300), "whole") for i in range(40)})
    script = [["mkdir", "/" + d] for d in ("Links A", "Links B", "Compressed", "Cloud", "Many")]
    script.append(["compress", "/Compressed"])
    for path, (data, _) in files.items():
        if not path.startswith("Cloud/"):
            script.append(["put", "/" + path, staged(work, path, data)])
    links = {"Links B/shared report, second name.txt": "Links A/shared report.txt",
             "shared report, third name.txt": "Links A/shared report.txt",
             "Links A/twin two.bin": "Links A/twin one.bin"}
    script += [["link", "/" + target, "/" + name] for name, target in links.items()]
    script.append(["wof", "/Cloud/compressed by Windows.dll", 300000, staged(work, "wof", pseudo_bytes("wof", 120000))])
    script.append(["cloud", "/Cloud/online only.docx", 200000])
    script.append(["cloud", "/Cloud/kept here.txt", 150000, staged(work, "kept", files["Cloud/kept here.txt"][0])])
    # Data that storage keeps elsewhere, by the reparse point of its tag: deduplication's chunk store, other
    # storage of its management, the cloud of tiering; a deduplicated file recalled in part.
    elsewhere = {"Cloud/deduplicated.vhdx": ("80000013", 300000), "Cloud/archived by storage.doc": ("C0000004", 100000),
                 "Cloud/tiered away.pdf": ("8000001E", 120000)}
    for path, (tag, size) in elsewhere.items():
        script.append(["elsewhere", "/" + path, tag, size])
    script.append(["elsewhere", "/Cloud/recalled in part.bin", "80000013", 200000,
                   staged(work, "recalled", pseudo_bytes("recalled", 20000))])
    # Links: a symbolic link to a file and a junction to a folder, holding no data of their own.
    linked = {"Links A/report link.txt": "C:\\Users\\Alice\\Documents\\report.txt",
              "Links A/Documents": "C:\\Users\\Alice\\Documents"}
    script.append(["symlink", "/Links A/report link.txt", linked["Links A/report link.txt"]])
    script.append(["junction", "/Links A/Documents", linked["Links A/Documents"]])
    ntfs.run_script(helper, raw, script, os.path.join(work, "windows.script"))
    files.update({name: files[target] for name, target in links.items()})
    files["Cloud/compressed by Windows.dll"] = (bytes(300000), "elsewhere")
    files["Cloud/online only.docx"] = (bytes(200000), "elsewhere")
    files.update({path: (bytes(size), "elsewhere") for path, (_, size) in elsewhere.items()})
    files["Cloud/recalled in part.bin"] = (bytes(200000), "elsewhere")
    files.update({path: (target.encode(), "link") for path, target in linked.items()})
    numbers = inodes(raw)
    for path, (data, state) in files.items():
        written = state in ("whole", "damaged")
        if written and run(["icat", raw, str(numbers[path.rsplit("/", 1)[-1]])], binary=True) != data:
            raise SystemExit("windows: icat reads other bytes of %s than those written" % path)
    # The first compression unit of broken.txt ends at once: its stream's first chunk header cleared.
    patch(raw, first_data_cluster(raw, numbers["broken.txt"]) * 4096, bytes(2))
    return files


def windows_cases(out_dir, work, helper):
    out = []
    for prefix, record in (("windows", 1024), ("records4k", 4096)):
        raw = os.path.join(out_dir, prefix + ".raw")
        files = build_windows_volume(raw, work, helper, record)
        sectors = os.path.getsize(raw) // SECTOR
        rebuilt = os.path.join(out_dir, prefix + "_rebuilt.raw")
        shutil.copyfile(raw, rebuilt)
        disks.zero_sectors(rebuilt, 0, 1)
        disks.zero_sectors(rebuilt, sectors - 1, 1)
        for mode, image in (("quick", raw), ("extensive", raw), ("rebuilt", rebuilt)):
            case = Case(out_dir, "%s_%s" % (prefix, mode), "quick" if mode == "quick" else "extensive", 0, sectors)
            for path, (data, state) in files.items():
                case.file(path.rsplit("/", 1)[-1], data, state, "folder" if path == "Links A/Documents" else "must")
            out += case.lines(fixed_vhd(image), sectors)
        os.remove(raw)
        os.remove(rebuilt)
    return out


# ---------------------------------------------------------------- an MFT mapped from its mirror

def mirror_case(out_dir, work, intact, written):
    """The volume's record 0 lost with its boot sectors: the copy in the mirror maps its MFT, and bounds it."""
    disk, disk_sectors = partnered_disk(out_dir, work, "mirror_mapped", intact, os.path.join(work, "ntfs_partner.raw"))
    sectors = os.path.getsize(intact) // SECTOR
    disks.zero_sectors(disk, START + ntfs_records.record_sector(intact, 0), 1)
    case = Case(out_dir, "mirror_mapped", "extensive", START, sectors,
                START + fsstat_number(intact, "Total Cluster Range") * 8 - 1)
    for file_name, data in written.items():
        case.file(file_name, data)
    case.absent = ["foreign %02d.txt" % i for i in range(15)]
    lines = case.lines(fixed_vhd(disk), disk_sectors)
    os.remove(disk)
    return lines


def main():
    args, out_dir, helper = own_volume_arguments()
    work = fresh_dir(os.path.join(out_dir, "work"))
    shutil.rmtree(os.path.join(out_dir, "expected"), ignore_errors=True)
    lines, _, intact, written = bounded_cases(out_dir, work, helper)
    lines += stop_cases(out_dir, work, helper, intact, written)
    lines += valid_listed_case(out_dir, work, helper)
    lines += quick_format_case(out_dir, work, helper)
    lines += quick_format_case(out_dir, work, helper, "quick_format_larger", 4096, 8192)
    lines += quick_format_case(out_dir, work, helper, "quick_format_smaller", 8192, 4096)
    lines += torn_case(out_dir, work, helper)
    lines += reused_case(out_dir, work, helper)
    lines += windows_cases(out_dir, work, helper)
    lines += mirror_case(out_dir, work, intact, written)
    shutil.rmtree(work)
    with open(args.out, "w", encoding="utf-8") as f:
        f.writelines(line + "\n" for line in lines)
    return 0


if __name__ == "__main__":
    sys.exit(main())
