#!/usr/bin/env python3
"""Writes the seeds of fuzz_ntfs_quick_scan: small NTFS volumes put together record by record (boot sector,
$MFT's record 0 and its mirror copy, then the shape of each seed), in the sparse-file form that
image_fuzz_file.h reads (u32 file size, then pieces of u32 offset, u16 length and bytes; runs of zeros left out).

    python3 fuzz/ntfs_seeds.py

    listed_base    a base record whose attribute list, in clusters of its own, names in turn the hundreds of
                   extension records after it, which name it as their base (read once per base, not once per
                   extension record)
    mft_run        a plain volume whose $MFT run length is 0x7FFFFFFF clusters (the walk stays in the volume)
    plain          a folder and two files, one resident, one in clusters
    deleted_over   200 deleted files, each made later than the one before, whose runs all claim one run of 60
                   clusters (a save weighs each against the others, and the questions stay short)

And fuzz_extensive_scan's ntfs_rebuilt (plain bytes): a volume of 512-byte clusters without a boot sector, found by
its two folders' index records, whose $MFT, $Bitmap and $BadClus (the stream $Bad) tell its size, with a file whose
run points past that size.
"""
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tools", "images"))

import ntfs_records as nr  # noqa: E402

SPC = 8
CLUSTER = SPC * nr.SECTOR
VOLUME = 4 << 20
MFT_CLUSTER, MIRROR_CLUSTER = 4, 2
ROOT = 5


def boot_sector():
    boot = bytearray(nr.SECTOR)
    boot[0:3] = b"\xeb\x52\x90"
    boot[3:11] = b"NTFS    "
    struct.pack_into("<HB", boot, 11, nr.SECTOR, SPC)
    boot[21] = 0xF8
    struct.pack_into("<QQQ", boot, 40, VOLUME // nr.SECTOR - 1, MFT_CLUSTER, MIRROR_CLUSTER)
    boot[64] = 0xF6  # records of 2^10 bytes
    boot[68] = 1     # index records of one cluster
    boot[510:512] = b"\x55\xaa"
    return boot


def plain_record(number, attrs, flags=1, base=0):
    """A record without an update sequence (count 1): its sector ends stay zeros, so the seed stays small."""
    record = nr.put_attributes(nr.record_header(number, flags, base), attrs)
    struct.pack_into("<H", record, 6, 1)
    return bytes(record)


def volume(records, mft_clusters, extra=(), mft_runs=None):
    """The image: boot sector, record 0 naming mft_clusters clusters from MFT_CLUSTER (or mft_runs), its copy in
    the mirror, then records {number: bytes} and extra (byte offset, bytes)."""
    image = bytearray(VOLUME)
    image[0:nr.SECTOR] = boot_sector()
    runs = mft_runs or nr.encode_runs([(MFT_CLUSTER, mft_clusters)])
    size = mft_clusters * CLUSTER
    data = bytearray(nr.non_resident(nr.DATA, [(MFT_CLUSTER, mft_clusters)], size, size, 1))
    data[64:] = runs + bytes(len(data) - 64 - len(runs))
    record0 = plain_record(0, [nr.resident(0x30, nr.file_name_value(ROOT, "$MFT"), 0), bytes(data)])
    for at in (MFT_CLUSTER, MIRROR_CLUSTER):
        image[at * CLUSTER:at * CLUSTER + nr.RECORD] = record0
    for number, record in records.items():
        at = MFT_CLUSTER * CLUSTER + number * nr.RECORD
        image[at:at + nr.RECORD] = record
    for at, data in extra:
        image[at:at + len(data)] = data
    return bytes(image)


def encode(image, gap=16):
    """The sparse-file form: pieces of the non-zero bytes, joined across runs of fewer than gap zeros."""
    out = bytearray(struct.pack("<I", len(image)))
    at = 0
    while at < len(image):
        if image[at] == 0:
            at += 1
            continue
        end, zeros = at, 0
        while end < len(image) and end - at < 65535 and zeros < gap:
            zeros = zeros + 1 if image[end] == 0 else 0
            end += 1
        end -= zeros
        out += struct.pack("<IH", at, end - at) + image[at:end]
        at = end
    return bytes(out)


def file_record(number, name, data_attr, parent=ROOT, flags=1):
    return plain_record(number, [nr.resident(0x10, bytes(48), 0), nr.resident(0x30, nr.file_name_value(parent, name), 1),
                                 data_attr], flags)


def listed_base():
    base, extensions, list_bytes = 16, 300, 32 * 1024
    mft_clusters = (base + 1 + extensions) * nr.RECORD // CLUSTER + 1
    list_cluster = MFT_CLUSTER + mft_clusters
    entries = nr.list_entries(list(range(base + 1, base + 1 + extensions)), list_bytes)
    clusters = len(entries) // CLUSTER
    records = {base: plain_record(base, [
        nr.resident(0x10, bytes(48), 0), nr.resident(0x30, nr.file_name_value(ROOT, "listed base.bin"), 1),
        nr.non_resident(nr.ATTRIBUTE_LIST, [(list_cluster, clusters)], clusters * CLUSTER, len(entries), 2),
        nr.resident(nr.DATA, b"listed", 3)])}
    for n in range(base + 1, base + 1 + extensions):
        records[n] = plain_record(n, [], base=base)
    return volume(records, mft_clusters, [(list_cluster * CLUSTER, entries)])


def plain_volume(mft_runs=None):
    folder = plain_record(16, [nr.resident(0x30, nr.file_name_value(ROOT, "Folder"), 0)], flags=3)
    small = file_record(17, "small.txt", nr.resident(nr.DATA, b"small file", 2), parent=16)
    big = file_record(18, "big.bin", nr.non_resident(nr.DATA, [(40, 3)], 3 * CLUSTER, 3 * CLUSTER - 100, 2))
    return volume({16: folder, 17: small, 18: big}, 8, [(40 * CLUSTER, bytes(range(1, 256)) * 40)], mft_runs)


def deleted_over():
    count, first, length = 200, 100, 60
    records = {}
    for n in range(16, 16 + count):
        times = struct.pack("<QQQQ", *[n * 10000000] * 4) + bytes(16)
        records[n] = plain_record(n, [
            nr.resident(0x10, times, 0), nr.resident(0x30, nr.file_name_value(ROOT, "deleted %d.bin" % n), 1),
            nr.non_resident(nr.DATA, [(first, length)], length * CLUSTER, length * CLUSTER - n, 2)], flags=0)
    return volume(records, (16 + count) * nr.RECORD // CLUSTER + 1)


def named_attribute(kind, name, ident, value=None, runs=None, real=0):
    """A resident attribute holding value, or a non-resident one of runs and size real, named name."""
    encoded = name.encode("utf-16-le")
    header = 24 if value is not None else 64
    body = (header + len(encoded) + 7) // 8 * 8
    payload = value if value is not None else nr.encode_runs(runs)
    a = bytearray((body + len(payload) + 7) // 8 * 8)
    struct.pack_into("<IIBBHHH", a, 0, kind, len(a), value is None, len(name), header, 0, ident)
    a[header:header + len(encoded)] = encoded
    if value is not None:
        struct.pack_into("<IH", a, 16, len(value), body)
    else:
        allocated = sum(n for _, n in runs) * nr.SECTOR
        struct.pack_into("<QQHH", a, 16, 0, sum(n for _, n in runs) - 1, body, 0)
        struct.pack_into("<QQQ", a, 40, allocated, real, real)
    a[body:body + len(payload)] = payload
    return bytes(a)


def index_entry(parent, name):
    key = nr.file_name_value(parent, name)
    entry = bytearray((16 + len(key) + 7) // 8 * 8)
    struct.pack_into("<HH", entry, 8, len(entry), len(key))
    entry[16:16 + len(key)] = key
    return bytes(entry)


def rebuilt_volume():
    sectors, mft, records, bad_clusters = 256, 16, 24, 200
    image = bytearray(sectors * nr.SECTOR)
    image[0] = 60  # the fuzz target's sectors per read; sector 0 is no boot sector
    def put(sector, data):
        image[sector * nr.SECTOR:sector * nr.SECTOR + len(data)] = data
    def record(number, attrs, flags=1):
        put(mft + 2 * number, plain_record(number, [nr.resident(0x30, nr.file_name_value(ROOT, attrs[0]), 0)] +
                                           attrs[1:], flags))
    record(0, ["$MFT", nr.non_resident(nr.DATA, [(mft, 2 * records)], 2 * records * nr.SECTOR, records * nr.RECORD, 1)])
    record(6, ["$Bitmap", nr.non_resident(nr.DATA, [(80, 1)], nr.SECTOR, sectors // 8, 1)])
    put(80, b"\xff" * 16)
    record(8, ["$BadClus", nr.resident(nr.DATA, b"", 1),
               named_attribute(nr.DATA, "$Bad", 2, runs=[(None, bad_clusters)], real=bad_clusters * nr.SECTOR)])
    for number, name, index in ((16, "Alpha", 96), (17, "Beta", 104)):
        root = bytearray(16) + struct.pack("<IIII", 16, 16 + 104, 16 + 104, 1) + index_entry(number, "x.txt")
        record(number, [name, named_attribute(0x90, "$I30", 1, value=bytes(root)),
                        named_attribute(0xA0, "$I30", 2, runs=[(index, 8)], real=8 * nr.SECTOR)], flags=3)
        node = bytearray(8 * nr.SECTOR)
        node[0:4] = b"INDX"
        struct.pack_into("<HH", node, 4, 40, 1)
        struct.pack_into("<I", node, 24, 40)
        node[64:64 + 104] = index_entry(number, "x.txt")
        put(index, bytes(node))
    record(18, ["inside.bin", nr.non_resident(nr.DATA, [(120, 2)], 2 * nr.SECTOR, 1000, 1)])
    record(19, ["past the end.bin", nr.non_resident(nr.DATA, [(230, 4)], 4 * nr.SECTOR, 2048, 1)])
    put(120, bytes(range(1, 256)) * 4)
    return bytes(image)


def main():
    folder = os.path.join(HERE, "corpus", "fuzz_ntfs_quick_scan")
    os.makedirs(folder, exist_ok=True)
    seeds = {"listed_base": listed_base(), "plain": plain_volume(), "deleted_over": deleted_over(),
             "mft_run": plain_volume(bytes([0x14]) + struct.pack("<I", 0x7FFFFFFF) + bytes([MFT_CLUSTER, 0]))}
    for name, image in seeds.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(encode(image))
    with open(os.path.join(HERE, "corpus", "fuzz_extensive_scan", "ntfs_rebuilt"), "wb") as f:
        f.write(rebuilt_volume())
    return 0


if __name__ == "__main__":
    sys.exit(main())
