#!/usr/bin/env python3
"""Test images of the image readers, and what qemu-img reads from each.

    make_test_images.py --images DIR --out DIR

DIR of --images holds the shared test images (tools/images/generate.py, the CTest fixture "images").
Into --out go:
  NAME.raw           for every image a test reads whole: qemu-img convert -O raw of it (for the differencing
                     disks, of a copy made plain dynamic, since they are read without their parent)
  whole_disk.txt     lines "images NAME" or "own NAME": the images the tests compare sector by sector
  images of our own: fixed VHDX disks, a VHD with 4 MiB blocks, a small dynamic VHD and VHDX, and VHDX files
                     with patched region and metadata tables (a .raw for those that must open)
  states.vhdx        the small VHDX with block 0 placed out of reach and block 1 in the state "zero"
  truncated.vhdx     the small VHDX cut in the middle of its last block; truncated.vhdx.raw is what it still
                     holds, truncated.vhdx.cut the virtual offset from which its bytes are missing
  damaged VHDs       copies of mbr_primary.dynamic.vhd: cut_footer.vhd without its last 512 bytes (the footer),
                     cut_blocks.vhd cut in the middle of its last block but one, bat_past.vhd with a table entry
                     past the end of the file; each with qemu-img's raw of the damaged file (made long enough for
                     qemu to take it, what it lacks read as zeros) and NAME.unreadable,
                     the virtual byte ranges ("first length" lines) the file no longer holds; and cut_fixed.vhd,
                     mbr_primary.fixed.vhd cut inside its data (qemu-img's raw reading of what the file holds)
  misnamed.txt       lines "NAME KIND OPENS RAW" of files whose names say another format than their bytes (KIND 1
                     VHD or raw, 2 VHDX; OPENS 1 or 0; RAW the oracle, "-" for none): a VHDX with its blocks in the
                     order a guest wrote them named .vhd, a dynamic VHD, a fixed VHD and a dynamic VHD without its
                     footer named .vhdx, a raw disk named either, a VHDX without its identifier named .vhd
  logs               copies of small.vhdx with changes to their block tables waiting in the log (vhdx.pending_log):
                     log.vhdx, log_torn.vhdx (its last entry cut off), log_wrapped.vhdx (the sequence running around
                     the ring's end, a zero descriptor over block data, an earlier sequence's entry left in the
                     ring), each with NAME.raw, qemu's reading after it replayed the log (qemu-io opens the copy for
                     writing; for log_wrapped.vhdx, small.vhdx's disk with the zeros its log writes, which qemu
                     does not replay: it takes the part of the sequence after the ring's end for the whole);
                     log_unreachable.vhdx (the log named past the end of the file) and no_header.vhdx (both
                     headers damaged), whose logs cannot be read
Incremental: nothing is redone while this script and the shared images are unchanged.
"""

import argparse
import hashlib
import os
import shutil
import struct
import sys

REPO = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(REPO, "tools", "images"))

import vhd  # noqa: E402
import vhdx  # noqa: E402
from util import copy_sparse, fresh_dir, run  # noqa: E402

MIB = 1024 * 1024
SMALL_SIZE = 6 * MIB  # the small VHDX: 1 MiB blocks, blocks 0, 1, 3 and 5 written, 2 and 4 never
REGION_ENTRIES_AT = 16
METADATA_ENTRIES_AT = 32
UNKNOWN_GUID = bytes(range(0x10, 0x20))


def qemu_format(name):
    return "vhdx" if name.lower().endswith(".vhdx") else "vpc"


def to_raw(image, raw):
    if os.path.exists(raw):
        os.remove(raw)
    run(["qemu-img", "convert", "-f", qemu_format(image), "-O", "raw", image, raw])


def shared_images(images):
    """Every VHD and VHDX image of the shared set that is read whole, and how its oracle copy is made."""
    names = sorted(n for n in os.listdir(images)
                   if n.endswith((".vhd", ".vhdx")) and n not in ("big.vhd", "big5g.vhdx"))
    return names + ["big.vhd", "big5g.vhdx"]


def oracle_copy(images, name, work):
    """The file qemu-img reads for name: the image itself, or a copy it accepts that shows the same disk."""
    path = os.path.join(images, name)
    if name.endswith(".diff.vhd"):
        copy = os.path.join(work, name)
        copy_sparse(path, copy)
        vhd.set_footer_field(copy, 60, struct.pack(">I", vhd.DYNAMIC), fix_checksum=True)
        return copy
    if name.endswith(".diff.vhdx"):
        copy = os.path.join(work, name)
        copy_sparse(path, copy)
        vhdx.as_plain_dynamic(copy)
        return copy
    if name == "badfooter.fixed.vhd":  # qemu refuses the bad checksum; the data is the same either way
        copy = os.path.join(work, name)
        copy_sparse(path, copy)
        vhd.set_footer_field(copy, 64, b"", fix_checksum=True, tail_only=True)
        return copy
    return path


def region_table(path):
    with open(path, "rb") as f:
        f.seek(vhdx.REGION_OFFSETS[0])
        return bytearray(f.read(vhdx.REGION_SIZE))


def write_region_table(path, entries):
    """Writes both copies of the region table holding entries (32 bytes each), with a correct checksum."""
    rt = bytearray(vhdx.REGION_SIZE)
    struct.pack_into("<4sIII", rt, 0, b"regi", 0, len(entries), 0)
    for i, e in enumerate(entries):
        rt[REGION_ENTRIES_AT + 32 * i:REGION_ENTRIES_AT + 32 * (i + 1)] = e
    rt = vhdx.with_crc(rt)
    with open(path, "r+b") as f:
        for at in vhdx.REGION_OFFSETS:
            f.seek(at)
            f.write(rt)


def region_entries(path):
    rt = region_table(path)
    count = struct.unpack_from("<I", rt, 8)[0]
    return [bytes(rt[REGION_ENTRIES_AT + 32 * i:REGION_ENTRIES_AT + 32 * (i + 1)]) for i in range(count)]


def entry_named(entries, name):
    return next(e for e in entries if e[:16] == vhdx.GUIDS[name].bytes_le)


def set_count_field(path, offset, fmt, value):
    with open(path, "r+b") as f:
        f.seek(offset)
        f.write(struct.pack(fmt, value))


def metadata_item(path, name):
    """(file offset of the item's value, offset of its table entry) of a metadata item."""
    info = vhdx.describe(path)
    md = info["regions"]["metadata"]["offset"]
    with open(path, "rb") as f:
        f.seek(md)
        table = f.read(64 * 1024)
    for i in range(struct.unpack_from("<H", table, 10)[0]):
        at = METADATA_ENTRIES_AT + 32 * i
        if table[at:at + 16] == vhdx.GUIDS[name].bytes_le:
            return md + struct.unpack_from("<I", table, at + 16)[0], md + at
    raise KeyError(name)


def patch(path, offset, data):
    with open(path, "r+b") as f:
        f.seek(offset)
        f.write(data)


def crafted_vhdx(small):
    """name -> function(path) that patches a copy of the small VHDX; names ending in .bad.vhdx must not open."""
    entries = region_entries(small)
    bat, meta = entry_named(entries, "bat"), entry_named(entries, "metadata")
    # An unknown region of 1 MiB far past the end of the file, where it overlaps nothing.
    unknown = UNKNOWN_GUID + struct.pack("<QII", 100 * MIB, MIB, 0)
    unknown_required = UNKNOWN_GUID + struct.pack("<QII", 100 * MIB, MIB, 1)

    def value(name, data):
        return lambda p: patch(p, metadata_item(p, name)[0], data)

    def entry_field(name, offset, data):
        return lambda p: patch(p, metadata_item(p, name)[1] + offset, data)

    def bat_length(length):
        return lambda p: write_region_table(p, [meta, bat[:24] + struct.pack("<I", length) + bat[28:]])

    return {
        "unknown_region_first.vhdx": lambda p: write_region_table(p, [unknown, bat, meta]),
        "metadata_first.vhdx": lambda p: write_region_table(p, [meta, bat]),
        "metadata_last.vhdx": lambda p: write_region_table(p, [bat, meta]),
        "unknown_required.bad.vhdx": lambda p: write_region_table(p, [unknown_required, bat, meta]),
        "duplicate_bat.bad.vhdx": lambda p: write_region_table(p, [bat, meta, bat]),
        "no_bat.bad.vhdx": lambda p: write_region_table(p, [meta]),
        "no_metadata.bad.vhdx": lambda p: write_region_table(p, [bat]),
        "region_count.bad.vhdx": lambda p: set_count_field(p, vhdx.REGION_OFFSETS[0] + 8, "<I", 2048),
        "metadata_count.bad.vhdx": lambda p: set_count_field(p, vhdx.describe(p)["regions"]["metadata"]["offset"] + 10,
                                                             "<H", 2048),
        "metadata_signature.bad.vhdx": lambda p: patch(p, vhdx.describe(p)["regions"]["metadata"]["offset"],
                                                       b"metadatX"),
        "identifier.bad.vhdx": lambda p: patch(p, 0, b"vhdxfilX"),
        "block0.bad.vhdx": value("file_parameters", struct.pack("<I", 0)),
        "block512k.bad.vhdx": value("file_parameters", struct.pack("<I", MIB // 2)),
        "block3m.bad.vhdx": value("file_parameters", struct.pack("<I", 3 * MIB)),
        "block512m.bad.vhdx": value("file_parameters", struct.pack("<I", 512 * MIB)),
        "sector1024.bad.vhdx": value("logical_sector_size", struct.pack("<I", 1024)),
        "size0.bad.vhdx": value("virtual_disk_size", struct.pack("<Q", 0)),
        "item_outside.bad.vhdx": entry_field("virtual_disk_size", 16, struct.pack("<I", 0xFFFFF000)),
        "item_too_long.bad.vhdx": entry_field("logical_sector_size", 20, struct.pack("<I", 0x7FFFFFFF)),
        "bat_too_small.bad.vhdx": bat_length(8 * 5),
    }


def make_small_vhdx(path):
    run(["qemu-img", "create", "-q", "-f", "vhdx", "-o", "subformat=dynamic,block_size=1M", path, str(SMALL_SIZE)])
    writes = [(0x11, 0, 64 * 1024), (0x22, MIB - 4096, 8192), (0x33, 3 * MIB + 4096, 1020 * 1024),
              (0x44, 5 * MIB, MIB)]
    cmds = []
    for pattern, at, length in writes:
        cmds += ["-c", f"write -q -P {pattern} {at} {length}"]
    run(["qemu-io", "-f", "vhdx", *cmds, path])


def make_sector4096(out, images):
    """big5g.vhdx (32 MiB blocks) with 4096-byte logical sectors: the chunk ratio becomes 1024, so its 160 data
    blocks have no sector-bitmap entry among them; the entry qemu put after block 127 is taken out of the table.
    qemu-img does not read such images; the disk is still big5g.vhdx's, so its .raw is the oracle.
    small.vhdx with 4096-byte logical sectors (too few blocks for any bitmap entry) reads as small.vhdx."""
    path = os.path.join(out, "sector4096.big5g.vhdx")
    copy_sparse(os.path.join(images, "big5g.vhdx"), path)
    info = vhdx.describe(path)
    bat_at, total, ratio = info["regions"]["bat"]["offset"], info["bat_entries"], info["chunk_ratio"]
    with open(path, "r+b") as f:
        f.seek(bat_at)
        entries = [f.read(8) for _ in range(total)]
        kept = [e for i, e in enumerate(entries) if i % (ratio + 1) != ratio]
        f.seek(bat_at)
        f.write(b"".join(kept).ljust(8 * total, b"\0"))
    patch(path, metadata_item(path, "logical_sector_size")[0], struct.pack("<I", 4096))
    copy_sparse(os.path.join(out, "big5g.vhdx.raw"), path + ".raw")

    small = os.path.join(out, "small.vhdx")
    path = os.path.join(out, "sector4096.vhdx")
    copy_sparse(small, path)
    patch(path, metadata_item(path, "logical_sector_size")[0], struct.pack("<I", 4096))
    copy_sparse(small + ".raw", path + ".raw")


def make_block_states(out, small):
    """small.vhdx whose block 0 entry points to a file offset no file can reach (2^64 - 1 MiB) and whose block 1
    is in the state "zero" (2) while its entry keeps the file offset of its data."""
    info = vhdx.describe(small)
    bat_at = info["regions"]["bat"]["offset"]
    path = os.path.join(out, "states.vhdx")
    copy_sparse(small, path)
    block1 = next(e for e in info["bat_allocated"] if e["kind"] == "payload" and e["block"] == 1)
    patch(path, bat_at, struct.pack("<Q", 0xFFFFFFFFFFF00000 | vhdx.FULLY_PRESENT))
    patch(path, bat_at + 8 * block1["index"], struct.pack("<Q", block1["file_offset"] | 2))


def make_truncated(out, small):
    """A copy of the small VHDX that ends in the middle of the block stored last in the file."""
    info = vhdx.describe(small)
    last = max((e for e in info["bat_allocated"] if e["kind"] == "payload"), key=lambda e: e["file_offset"])
    cut_file = last["file_offset"] + MIB // 2
    cut_virtual = last["block"] * MIB + MIB // 2
    path = os.path.join(out, "truncated.vhdx")
    copy_sparse(small, path)
    with open(path, "r+b") as f:
        f.truncate(cut_file)
    raw = path + ".raw"
    copy_sparse(small + ".raw", raw)
    with open(raw, "r+b") as f:
        f.seek(cut_virtual)
        f.write(bytes(MIB // 2))
    with open(path + ".cut", "w") as f:
        f.write(f"{cut_virtual}\n")


def make_damaged_vhds(out, images):
    """The damage an interrupted or broken copy does to a dynamic VHD."""
    source = os.path.join(images, "mbr_primary.dynamic.vhd")
    info = vhd.describe(source)
    block = info["header"]["block_size"]
    blocks = sorted(info["allocated_blocks"], key=lambda b: b["data_offset"])
    size = os.path.getsize(source)
    middle = blocks[len(blocks) // 2]
    damage = {
        "cut_footer.vhd": (size - vhd.FOOTER_SIZE, None, []),
        "cut_blocks.vhd": (blocks[-2]["data_offset"] + block // 2, None,
                           [(blocks[-2]["block"] * block + block // 2, block // 2),
                            (blocks[-1]["block"] * block, block)]),
        "bat_past.vhd": (None, middle, [(middle["block"] * block, block)]),
    }
    for name, (cut, past, unreadable) in damage.items():
        path = os.path.join(out, name)
        copy_sparse(source, path)
        if cut is not None:
            with open(path, "r+b") as f:
                f.truncate(cut)
        if past is not None:
            patch(path, vhd.TABLE_OFFSET + 4 * past["block"], struct.pack(">I", size // vhd.SECTOR + 8))
        to_raw(vhd.padded_copy(path, os.path.join(out, ".work", name)), path + ".raw")
        with open(path + ".unreadable", "w") as f:
            f.write("".join(f"{first} {length}\n" for first, length in unreadable))


def make_cut_fixed(out, images):
    """mbr_primary.fixed.vhd cut inside its data, at a 4 KiB boundary a third of the way in."""
    source = os.path.join(images, "mbr_primary.fixed.vhd")
    raw_size = os.path.getsize(os.path.join(images, "mbr_primary.raw"))
    cut = raw_size // 3 // 4096 * 4096
    path = os.path.join(out, "cut_fixed.vhd")
    copy_sparse(source, path)
    with open(path, "r+b") as f:
        f.truncate(cut)
    if os.path.exists(path + ".raw"):
        os.remove(path + ".raw")
    run(["qemu-img", "convert", "-f", "raw", "-O", "raw", path, path + ".raw"])
    with open(path + ".unreadable", "w") as f:
        f.write(f"{cut} {raw_size - cut}\n")


def make_logged(out, small):
    """Copies of small.vhdx whose block tables' latest changes wait in the log."""
    made = {}
    for name, seed, options in (("log.vhdx", 3, {}), ("log_torn.vhdx", 4, {"torn": True}),
                                ("log_wrapped.vhdx", 5, None), ("log_unreachable.vhdx", 3, {}),
                                ("no_header.vhdx", 3, {})):
        path = os.path.join(out, name)
        copy_sparse(small, path)
        if options is None:
            info = vhdx.describe(path)
            _, length = vhdx.log_region(path)
            data = min(e["file_offset"] for e in info["bat_allocated"] if e["kind"] == "payload")
            options = {"first": length - 4096, "extra": [(data + 4096, 8192)],
                       "stale": (length // 2, [(info["regions"]["bat"]["offset"], 4096)])}
        made[name] = vhdx.pending_log(path, seed, name, **options)
    for name in ("log.vhdx", "log_torn.vhdx"):
        vhdx.qemu_reading(os.path.join(out, name), os.path.join(out, name + ".raw"))
    # log_wrapped.vhdx's disk is what its generator wrote: small.vhdx's, with the zeros its first entry writes over
    # block 0 (at the file's first block). qemu 7.2 is no judge of it: scanning the ring from its start, it replays
    # the sequence's entries after the ring's end alone (it does not follow the last entry's tail back).
    wrapped = os.path.join(out, "log_wrapped.vhdx.raw")
    copy_sparse(small + ".raw", wrapped)
    patch(wrapped, 4096, bytes(8192))
    path = os.path.join(out, "log_unreachable.vhdx")
    with open(path, "r+b") as f:
        at = vhdx.current_header(f)["offset"]
        f.seek(at)
        header = bytearray(f.read(4096))
        struct.pack_into("<Q", header, 72, os.path.getsize(path) + vhdx.MIB)
        f.seek(at)
        f.write(vhdx.with_crc(header))
    for at in vhdx.HEADER_OFFSETS:
        patch(os.path.join(out, "no_header.vhdx"), at + 100, b"\xFF")
    return made


def make_misnamed(out, images):
    """Files named as another format than their bytes are, and misnamed.txt."""
    tiny, tiny_raw, small = (os.path.join(out, n) for n in ("tiny.vhd", "tiny.vhd.raw", "small.vhdx"))
    rows = []

    def row(name, kind, opens, raw, make):
        path = os.path.join(out, name)
        if os.path.exists(path):
            os.remove(path)
        make(path)
        rows.append(f"{name} {kind} {opens} {raw}")

    def guest_ordered(path):
        copy_sparse(small, path)
        vhdx.guest_order(path, 7)
        vhdx.qemu_reading(path, path + ".raw")

    def fixed(path):
        run(["qemu-img", "convert", "-f", "raw", "-O", "vpc", "-o", "subformat=fixed,force_size=on", tiny_raw, path])

    def footerless(path):
        copy_sparse(tiny, path)
        with open(path, "r+b") as f:
            f.truncate(os.path.getsize(tiny) - vhd.FOOTER_SIZE)

    row("vhdx_guest_order.vhd", 2, 1, "vhdx_guest_order.vhd.raw", guest_ordered)
    row("dynamic_vhd.vhdx", 1, 1, "tiny.vhd.raw", lambda p: copy_sparse(tiny, p))
    row("fixed_vhd.vhdx", 1, 1, "tiny.vhd.raw", fixed)
    row("footerless_vhd.vhdx", 1, 1, "tiny.vhd.raw", footerless)
    row("raw_disk.vhdx", 1, 1, "tiny.vhd.raw", lambda p: copy_sparse(tiny_raw, p))
    row("raw_disk.vhd", 1, 1, "tiny.vhd.raw", lambda p: copy_sparse(tiny_raw, p))
    row("vhdx_without_identifier.vhd", 2, 0, "-", lambda p: copy_sparse(os.path.join(out, "identifier.bad.vhdx"), p))
    with open(os.path.join(out, "misnamed.txt"), "w") as f:
        f.write("\n".join(rows) + "\n")


def make_block4m_vhd(out, images):
    """A dynamic VHD with 4 MiB blocks (a two-sector bitmap before each block's data) of mbr_primary.raw."""
    source = os.path.join(images, "mbr_primary.raw")
    size = os.path.getsize(source)
    block = 4 * MIB
    blocks = {}
    with open(source, "rb") as f:
        for i in range(-(-size // block)):
            data = f.read(block).ljust(block, b"\0")
            if data.count(0) != len(data):
                blocks[i] = (data, None)
    path = os.path.join(out, "block4m.vhd")
    vhd.write_dynamic(path, size, blocks, "block4m.vhd", block_size=block)
    return path


def build(images, out):
    fresh_dir(out)
    work = os.path.join(out, ".work")
    os.makedirs(work)
    listed = []
    for name in shared_images(images):
        to_raw(oracle_copy(images, name, work), os.path.join(out, name + ".raw"))
        listed.append(f"images {name}")

    own = []
    for mib in (1, 8, 32):
        name = f"fixed.{mib}m.vhdx"
        path = os.path.join(out, name)
        if os.path.exists(path):
            os.remove(path)
        run(["qemu-img", "convert", "-f", "raw", "-O", "vhdx", "-o", f"subformat=fixed,block_size={mib}M",
             os.path.join(images, "mbr_extended.raw"), path])
        own.append(name)
    own.append(os.path.basename(make_block4m_vhd(out, images)))
    tiny = os.path.join(out, "tiny.vhd")
    if os.path.exists(tiny):
        os.remove(tiny)
    run(["qemu-img", "create", "-q", "-f", "vpc", "-o", "subformat=dynamic", tiny, "8M"])
    run(["qemu-io", "-f", "vpc", "-c", "write -q -P 0x5A 2093056 8192", tiny])  # across the edge of blocks 0 and 1
    own.append("tiny.vhd")
    small = os.path.join(out, "small.vhdx")
    if os.path.exists(small):
        os.remove(small)
    make_small_vhdx(small)
    own.append("small.vhdx")
    for name in own:
        to_raw(os.path.join(out, name), os.path.join(out, name + ".raw"))
        listed.append(f"own {name}")

    make_damaged_vhds(out, images)
    for name, craft in crafted_vhdx(small).items():
        path = os.path.join(out, name)
        copy_sparse(small, path)
        craft(path)
        if not name.endswith(".bad.vhdx"):
            to_raw(path, path + ".raw")
    make_truncated(out, small)
    make_block_states(out, small)
    make_sector4096(out, images)
    make_cut_fixed(out, images)
    make_logged(out, small)
    make_misnamed(out, images)

    with open(os.path.join(out, "whole_disk.txt"), "w") as f:
        f.write("\n".join(listed) + "\n")
    shutil.rmtree(work, ignore_errors=True)


def stamp(images):
    h = hashlib.sha256()
    with open(__file__, "rb") as f:
        h.update(f.read())
    try:
        with open(os.path.join(images, ".stamp"), "rb") as f:
            h.update(f.read())
    except OSError:
        return None  # the shared images are incomplete
    return h.hexdigest()


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--images", required=True)
    ap.add_argument("--out", required=True)
    args = ap.parse_args()
    images, out = os.path.abspath(args.images), os.path.abspath(args.out)
    value = stamp(images)
    stamp_file = os.path.join(out, ".stamp")
    if value and os.path.exists(stamp_file) and open(stamp_file).read().strip() == value:
        return 0
    build(images, out)
    if value:
        with open(stamp_file, "w") as f:
            f.write(value + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
