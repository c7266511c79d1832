"""The VHD format: reading its footer, dynamic header and block table, writing the images qemu-img cannot
make (differencing disks, blocks placed beyond 4 GiB in the file), and the damage copies do to image files.
All multi-byte fields are big-endian."""

import hashlib
import os
import random
import struct

from util import FIXED_EPOCH, SECTOR, copy_sparse, patch, run

FOOTER_SIZE = 512
HEADER_OFFSET = 512
HEADER_SIZE = 1024
TABLE_OFFSET = 1536
UNUSED = 0xFFFFFFFF
VHD_EPOCH = 946684800  # 2000-01-01 00:00:00 UTC, the origin of VHD time stamps
FIXED, DYNAMIC, DIFFERENCING = 2, 3, 4
PLATFORM_RELATIVE = b"W2ru"
PLATFORM_ABSOLUTE = b"W2ku"


def checksum(structure, field):
    """One's complement of the byte sum, the checksum field counted as zero."""
    total = sum(structure) - sum(structure[field:field + 4])
    return ~total & 0xFFFFFFFF


def geometry(size):
    """Cylinders, heads and sectors per track for a disk of size bytes, by the format's own rule."""
    sectors = min(size // SECTOR, 65535 * 16 * 255)
    if sectors >= 65535 * 16 * 63:
        spt, heads = 255, 16
        cth = sectors // spt
    else:
        spt = 17
        cth = sectors // spt
        heads = max(4, (cth + 1023) // 1024)
        if cth >= heads * 1024 or heads > 16:
            spt, heads = 31, 16
            cth = sectors // spt
        if cth >= heads * 1024:
            spt, heads = 63, 16
            cth = sectors // spt
    return cth // heads, heads, spt


def unique_id(name):
    return hashlib.md5(("unique id " + name).encode()).digest()


def make_footer(size, disk_type, uid, data_offset):
    f = bytearray(FOOTER_SIZE)
    cyl, heads, spt = geometry(size)
    struct.pack_into(">8sIIQI4sI4sQQHBBI", f, 0, b"conectix", 2, 0x00010000, data_offset,
                     FIXED_EPOCH - VHD_EPOCH, b"win ", 0x000A0000, b"Wi2k", size, size, cyl, heads, spt,
                     disk_type)
    f[68:84] = uid
    struct.pack_into(">I", f, 64, checksum(f, 64))
    return bytes(f)


def parse_footer(f):
    cookie, features, version, data_offset, stamp, app, app_ver, host, orig, cur, cyl, heads, spt, dtype, csum = \
        struct.unpack_from(">8sIIQI4sI4sQQHBBII", f, 0)
    return {
        "cookie": cookie.decode("latin-1"),
        "data_offset": data_offset,
        "timestamp": stamp,
        "creator_app": app.decode("latin-1"),
        "current_size": cur,
        "original_size": orig,
        "cylinders": cyl,
        "heads": heads,
        "sectors_per_track": spt,
        "disk_type": dtype,
        "checksum": csum,
        "checksum_ok": csum == checksum(f, 64),
        "unique_id": f[68:84].hex(),
    }


def parse_header(h):
    cookie, data_offset, table_offset, version, entries, block_size, csum = struct.unpack_from(">8sQQIIII", h, 0)
    out = {
        "cookie": cookie.decode("latin-1"),
        "table_offset": table_offset,
        "max_table_entries": entries,
        "block_size": block_size,
        "checksum_ok": csum == checksum(h, 36),
    }
    if h[40:56] != bytes(16):
        out["parent_unique_id"] = h[40:56].hex()
        out["parent_timestamp"] = struct.unpack_from(">I", h, 56)[0]
        out["parent_name"] = h[64:576].decode("utf-16-be").rstrip("\0")
        out["parent_locators"] = [
            {"code": code.decode("latin-1"), "space": space, "length": length, "offset": offset}
            for code, space, length, _, offset in
            (struct.unpack_from(">4sIIIQ", h, 576 + 24 * i) for i in range(8)) if code != bytes(4)
        ]
    return out


def describe(path):
    """The layout of a VHD file as its fields say: footer, and for dynamic and differencing disks the dynamic
    header and every allocated block (virtual block index, file sector of its bitmap)."""
    with open(path, "rb") as f:
        f.seek(0, 2)
        size = f.tell()
        f.seek(size - FOOTER_SIZE)
        footer = parse_footer(f.read(FOOTER_SIZE))
        out = {"footer": footer}
        if footer["disk_type"] not in (DYNAMIC, DIFFERENCING):
            return out
        f.seek(0)
        out["head_footer_matches"] = f.read(FOOTER_SIZE) == _read_tail(f, size)
        f.seek(HEADER_OFFSET)
        header = parse_header(f.read(HEADER_SIZE))
        out["header"] = header
        f.seek(header["table_offset"])
        table = f.read(4 * header["max_table_entries"])
        blocks = []
        for i in range(header["max_table_entries"]):
            (entry,) = struct.unpack_from(">I", table, 4 * i)
            if entry != UNUSED:
                blocks.append({"block": i, "sector": entry, "data_offset": (entry + 1) * SECTOR})
        out["allocated_blocks"] = blocks
        return out


def _read_tail(f, size):
    f.seek(size - FOOTER_SIZE)
    return f.read(FOOTER_SIZE)


def write_dynamic(path, size, blocks, name, block_size=2 * 1024 * 1024, parent=None, place=None):
    """Writes a dynamic VHD (or, with parent, a differencing one).

    blocks: {block index: (data bytes of block_size, set of sectors present within the block, or None for all)}.
    parent: {"unique_id", "timestamp", "name", "relative", "absolute"} of the parent disk.
    place: optional function (block index, next free sector) -> file sector of the block's bitmap, to put blocks
    where a test needs them (for example beyond 4 GiB); by default blocks follow one another in index order."""
    entries = -(-size // block_size)
    bitmap_sectors = -(-(block_size // SECTOR // 8) // SECTOR)
    table_bytes = -(-(entries * 4) // SECTOR) * SECTOR
    uid = unique_id(name)
    disk_type = DIFFERENCING if parent else DYNAMIC
    footer = make_footer(size, disk_type, uid, HEADER_OFFSET)
    header = bytearray(HEADER_SIZE)
    struct.pack_into(">8sQQIII", header, 0, b"cxsparse", 0xFFFFFFFFFFFFFFFF, TABLE_OFFSET, 0x00010000, entries,
                     block_size)
    next_sector = (TABLE_OFFSET + table_bytes) // SECTOR
    locators = []
    if parent:
        header[40:56] = bytes.fromhex(parent["unique_id"])
        struct.pack_into(">I", header, 56, parent["timestamp"])
        header[64:576] = parent["name"].encode("utf-16-be").ljust(512, b"\0")[:512]
        for i, (code, text) in enumerate(((PLATFORM_RELATIVE, parent["relative"]),
                                          (PLATFORM_ABSOLUTE, parent["absolute"]))):
            data = text.encode("utf-16-le")
            struct.pack_into(">4sIIIQ", header, 576 + 24 * i, code, 1, len(data), 0, next_sector * SECTOR)
            locators.append((next_sector, data))
            next_sector += 1
    struct.pack_into(">I", header, 36, checksum(header, 36))
    table = bytearray(b"\xff" * table_bytes)
    placed = {}
    for index in sorted(blocks):
        sector = place(index, next_sector) if place else next_sector
        placed[index] = sector
        struct.pack_into(">I", table, 4 * index, sector)
        next_sector = max(next_sector, sector + bitmap_sectors + block_size // SECTOR)
    with open(path, "wb") as f:
        f.write(footer)
        f.write(header)
        f.write(table)
        for sector, data in locators:
            f.seek(sector * SECTOR)
            f.write(data)
        for index, sector in placed.items():
            data, present = blocks[index]
            bitmap = bytearray(bitmap_sectors * SECTOR)
            for s in range(block_size // SECTOR) if present is None else present:
                bitmap[s // 8] |= 0x80 >> (s % 8)
            f.seek(sector * SECTOR)
            f.write(bitmap)
            # Leave all-zero runs of the block as holes; they read as zeros just the same.
            for at in range(0, block_size, 64 * 1024):
                piece = data[at:at + 64 * 1024]
                if piece.count(0) != len(piece):
                    f.seek((sector + bitmap_sectors) * SECTOR + at)
                    f.write(piece)
        f.seek(next_sector * SECTOR)
        f.write(footer)
    return placed


def set_footer_field(path, offset, data, fix_checksum, tail_only=False):
    """Changes bytes of the footer (at the end, and of its copy at offset 0 for dynamic disks)."""
    with open(path, "r+b") as f:
        f.seek(0, 2)
        size = f.tell()
        f.seek(size - FOOTER_SIZE)
        tail = bytearray(f.read(FOOTER_SIZE))
        f.seek(0)
        head = bytearray(f.read(FOOTER_SIZE))
        copies = [size - FOOTER_SIZE]
        if head[:8] == b"conectix" and not tail_only:
            copies.append(0)
        for at in copies:
            tail[offset:offset + len(data)] = data
            if fix_checksum:
                struct.pack_into(">I", tail, 64, checksum(tail, 64))
            f.seek(at)
            f.write(tail)


def padded_copy(path, copy):
    """A copy of a dynamic VHD that lost its end, or whose table names blocks past it, made long enough to hold every
    block its table names: qemu-img refuses such a file, and reads the copy's missing bytes as zeros."""
    copy_sparse(path, copy)
    with open(copy, "r+b") as f:
        f.seek(HEADER_OFFSET)
        header = parse_header(f.read(HEADER_SIZE))
        f.seek(TABLE_OFFSET)
        table = f.read(4 * header["max_table_entries"])
        bitmap = -(-(header["block_size"] // SECTOR // 8) // SECTOR) * SECTOR
        ends = [entry * SECTOR + bitmap + header["block_size"] for (entry,) in struct.iter_unpack(">I", table)
                if entry != UNUSED]
        f.seek(0, 2)
        f.truncate(max(ends + [f.tell()]))
    return copy


# Damage to the image file itself, as interrupted or broken copies leave it, and files that other tools write or
# name otherwise than qemu-img:
#   cut-footer     a dynamic VHD without its last 512 bytes (its footer)
#   cut-blocks     a dynamic VHD cut inside one of its last three blocks in the file (never its first)
#   bat-past-end   a dynamic VHD whose table places one block (not the first) past the end of the file
#   raw-vhd        a raw disk named .vhd (a fixed VHD whose footer was cut off)
#   cut-fixed      a fixed VHD cut inside the volume's data (its footer gone with its end), at a byte or a sector
#   raw-vhdx       a raw disk named .vhdx
#   vhd-vhdx       a dynamic VHD named .vhdx
#   vhdx-vhd       a dynamic VHDX, its blocks in the order a guest wrote them (vhdx.guest_order), named .vhd
#   vhdx-guest     a dynamic VHDX, its blocks in the order a guest wrote them
#   vhdx-log       the same, the latest changes of its block table waiting in its log (vhdx.pending_log); its disk
#                  is the one the file held before the log held them back
#   vhdx-4k        a dynamic VHDX of 4096-byte logical sectors (the disk's partition table counts them)
IMAGE_SHAPES = ("cut-footer", "cut-blocks", "bat-past-end", "raw-vhd", "cut-fixed", "raw-vhdx", "vhd-vhdx", "vhdx-vhd",
                "vhdx-guest", "vhdx-log", "vhdx-4k")
VHDX_NAMED = ("raw-vhdx", "vhd-vhdx", "vhdx-guest", "vhdx-log", "vhdx-4k")


def image_name(shape):
    """The name of the shape's image file: its extension is the one a user would see, not what its bytes are."""
    return "disk.vhdx" if shape in VHDX_NAMED else "disk.vhd"


def _vhdx_copy(raw, image, shape, seed, rng):
    """A dynamic VHDX of the disk raw (qemu-img's, of 1, 8 or 32 MiB blocks) in shape; qemu-img's reading of it."""
    import vhdx  # noqa: E402  (the VHDX shapes only)
    block = rng.choice((1, 2) if shape == "vhdx-log" else (1, 8, 32))  # a log needs blocks to hold back
    run(["qemu-img", "convert", "-f", "raw", "-O", "vhdx", "-o", "subformat=dynamic,block_size=%dM" % block, raw,
         image])
    if shape == "vhdx-4k":
        vhdx.set_logical_sector_size(image, 4096)
        return raw
    vhdx.guest_order(image, seed)
    # A log's replay gives the disk as its machine left it: qemu's reading of the file before the crash held part of
    # its table back (qemu, which replays a sequence running around the ring's end from the ring's start, is no
    # judge of the log itself).
    seen = vhdx.qemu_reading(image, image + ".qemu.raw")
    if shape == "vhdx-log" and not vhdx.pending_log(image, seed, os.path.basename(image)):
        return None
    return seen


def damaged_copy(raw, image, shape, seed, extent=None):
    """Writes the disk raw as an image file (a dynamic VHD, qemu-img's, unless the shape says otherwise) in shape;
    returns the raw disk qemu-img reads from the file (what the file lost read as zeros; for a raw disk, raw itself),
    or None when the disk has too few blocks for the shape (a table entry is moved past the end only when it is not
    the first). extent: (first sector, count) of the volume, inside whose data cut-fixed cuts."""
    rng = random.Random(seed * 7919 + IMAGE_SHAPES.index(shape))
    if shape in ("raw-vhd", "raw-vhdx"):
        copy_sparse(raw, image)
        return raw
    if shape.startswith("vhdx-"):
        return _vhdx_copy(raw, image, shape, seed, rng)
    if shape == "cut-fixed":
        run(["qemu-img", "convert", "-f", "raw", "-O", "vpc", "-o", "subformat=fixed,force_size=on", raw, image])
        first, count = extent
        cut = (first + count // 4 + rng.randrange(count * 3 // 4)) * SECTOR + rng.choice((0, rng.randrange(1, SECTOR)))
        with open(image, "r+b") as f:
            f.truncate(cut)
        run(["qemu-img", "convert", "-f", "raw", "-O", "raw", image, image + ".qemu.raw"])
        return image + ".qemu.raw"
    run(["qemu-img", "convert", "-f", "raw", "-O", "vpc", "-o", "subformat=dynamic,force_size=on", raw, image])
    if shape == "vhd-vhdx":
        run(["qemu-img", "convert", "-f", "vpc", "-O", "raw", image, image + ".qemu.raw"])
        return image + ".qemu.raw"
    info = describe(image)
    blocks = sorted(info["allocated_blocks"], key=lambda b: b["sector"])
    block = info["header"]["block_size"]
    size = os.path.getsize(image)
    if len(blocks) < 2 and shape != "cut-footer":
        return None
    if shape == "cut-footer":
        cut = size - FOOTER_SIZE
    elif shape == "cut-blocks":
        first = blocks[-rng.randint(1, min(3, len(blocks) - 1))]
        cut = (first["sector"] + rng.randrange(block // SECTOR)) * SECTOR
    else:
        cut = None
        patch(image, TABLE_OFFSET + 4 * rng.choice(blocks[1:])["block"],
              struct.pack(">I", size // SECTOR + rng.randrange(1 << 16)))
    if cut is not None:
        with open(image, "r+b") as f:
            f.truncate(cut)
    seen = padded_copy(image, image + ".padded")
    run(["qemu-img", "convert", "-f", "vpc", "-O", "raw", seen, image + ".qemu.raw"])
    os.remove(seen)
    return image + ".qemu.raw"


def read_footer(path):
    with open(path, "rb") as f:
        f.seek(-FOOTER_SIZE, 2)
        return f.read(FOOTER_SIZE)
