"""The VHDX format: reading its headers, region table, metadata and block table, writing a differencing disk
(which qemu-img cannot make), and the files other tools leave that qemu-img does not write: blocks placed in the
order a guest wrote them, a log still holding changes (a machine stopped without closing the disk), 4096-byte
logical sectors. All fields little-endian; GUIDs stored in their mixed-endian form."""

import hashlib
import os
import random
import struct
import uuid

from util import copy_sparse, run


KIB = 1024
MIB = 1024 * 1024
HEADER_OFFSETS = (64 * KIB, 128 * KIB)
REGION_OFFSETS = (192 * KIB, 256 * KIB)
REGION_SIZE = 64 * KIB
LOG_OFFSET, LOG_SIZE = 1 * MIB, 1 * MIB
METADATA_OFFSET, METADATA_SIZE = 2 * MIB, 1 * MIB
BAT_OFFSET = 3 * MIB

GUIDS = {
    "bat": uuid.UUID("2DC27766-F623-4200-9D64-115E9BFD4A08"),
    "metadata": uuid.UUID("8B7CA206-4790-4B9A-B8FE-575F050F886E"),
    "file_parameters": uuid.UUID("CAA16737-FA36-4D43-B3B6-33F0AA44E76B"),
    "virtual_disk_size": uuid.UUID("2FA54224-CD1B-4876-B211-5DBED83BF4B8"),
    "page83": uuid.UUID("BECA12AB-B2E6-4523-93EF-C309E000C746"),
    "logical_sector_size": uuid.UUID("8141BF1D-A96F-4709-BA47-F233A8FAAB5F"),
    "physical_sector_size": uuid.UUID("CDA348C7-445D-4471-9CC9-E9885251C556"),
    "parent_locator": uuid.UUID("A8D35F2D-B30B-454D-ABF7-D3D84834AB0C"),
}
NAMES = {g.bytes_le: n for n, g in GUIDS.items()}
LOCATOR_TYPE = uuid.UUID("B04AEFB7-D19E-4A81-B789-25B8E9445913")
NOT_PRESENT, FULLY_PRESENT, PARTIALLY_PRESENT = 0, 6, 7
SB_PRESENT = 6

_CRC_TABLE = []
for _n in range(256):
    _c = _n
    for _ in range(8):
        _c = (_c >> 1) ^ 0x82F63B78 if _c & 1 else _c >> 1
    _CRC_TABLE.append(_c)


def crc32c(data):
    crc = 0xFFFFFFFF
    table = _CRC_TABLE
    for b in data:
        crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8)
    return crc ^ 0xFFFFFFFF


def with_crc(structure, field=4):
    """The structure with its CRC-32C written at field (computed over the whole with the field zero)."""
    s = bytearray(structure)
    s[field:field + 4] = bytes(4)
    struct.pack_into("<I", s, field, crc32c(s))
    return bytes(s)


def crc_ok(structure, field=4):
    return with_crc(structure, field) == bytes(structure)


def chunk_ratio(logical_sector_size, block_size):
    return (1 << 23) * logical_sector_size // block_size


def guid_text(raw):
    return "{" + str(uuid.UUID(bytes_le=bytes(raw))).upper() + "}"


def _read(f, offset, size):
    f.seek(offset)
    return f.read(size)


def _headers(f):
    out = []
    for at in HEADER_OFFSETS:
        h = _read(f, at, 4 * KIB)
        if h[:4] == b"head" and crc_ok(h):
            seq, fwg, dwg, lg, lver, ver, llen, loff = struct.unpack_from("<Q16s16s16sHHIQ", h, 8)
            out.append({"offset": at, "sequence": seq, "file_write_guid": guid_text(fwg),
                        "data_write_guid": guid_text(dwg), "log_guid": guid_text(lg), "version": ver})
    return out


def current_header(f):
    heads = _headers(f)
    return max(heads, key=lambda h: h["sequence"]) if heads else None


def describe(path):
    """The layout of a VHDX file as its fields say: current header, regions, metadata items and the allocated
    entries of the block table (payload blocks and sector-bitmap blocks)."""
    with open(path, "rb") as f:
        out = {"identifier": _read(f, 0, 8).decode("latin-1"), "headers": _headers(f)}
        rt = _read(f, REGION_OFFSETS[0], REGION_SIZE)
        out["region_table_crc_ok"] = crc_ok(rt)
        regions = {}
        for i in range(struct.unpack_from("<I", rt, 8)[0]):
            g, off, length, req = struct.unpack_from("<16sQII", rt, 16 + 32 * i)
            regions[NAMES.get(g, guid_text(g))] = {"offset": off, "length": length, "required": req & 1}
        out["regions"] = regions
        md_off = regions["metadata"]["offset"]
        md = _read(f, md_off, regions["metadata"]["length"])
        items = {}
        for i in range(struct.unpack_from("<H", md, 10)[0]):
            g, off, length, flags = struct.unpack_from("<16sIII", md, 32 + 32 * i)
            items[NAMES.get(g, guid_text(g))] = (off, length, flags)
        out["metadata_items"] = sorted(items)
        off = items["file_parameters"][0]
        block_size, fp_flags = struct.unpack_from("<II", md, off)
        virtual_size = struct.unpack_from("<Q", md, items["virtual_disk_size"][0])[0]
        lss = struct.unpack_from("<I", md, items["logical_sector_size"][0])[0]
        pss = struct.unpack_from("<I", md, items["physical_sector_size"][0])[0]
        ratio = chunk_ratio(lss, block_size)
        data_blocks = -(-virtual_size // block_size)
        has_parent = bool(fp_flags & 2)
        if has_parent:
            total = -(-data_blocks // ratio) * (ratio + 1)
        else:
            total = data_blocks + (data_blocks - 1) // ratio
        out.update({"block_size": block_size, "has_parent": has_parent, "virtual_size": virtual_size,
                    "logical_sector_size": lss, "physical_sector_size": pss, "chunk_ratio": ratio,
                    "data_blocks": data_blocks, "bat_entries": total})
        if "parent_locator" in items:
            out["parent_locator"] = _parse_locator(md[items["parent_locator"][0]:][:items["parent_locator"][1]])
        bat = _read(f, regions["bat"]["offset"], 8 * total)
        entries = []
        states = {}
        for i in range(total):
            (e,) = struct.unpack_from("<Q", bat, 8 * i)
            sb = i % (ratio + 1) == ratio
            kind = "sector_bitmap" if sb else "payload"
            states[f"{kind}/{e & 7}"] = states.get(f"{kind}/{e & 7}", 0) + 1
            if e & ~0xFFFFF:
                entry = {"index": i, "kind": kind, "state": e & 7, "file_offset": e & ~0xFFFFF}
                entry["chunk" if sb else "block"] = i // (ratio + 1) if sb else i - i // (ratio + 1)
                entries.append(entry)
        out["bat_allocated"] = entries
        out["bat_state_counts"] = dict(sorted(states.items()))
        out["sector_bitmap_entry_indices"] = [c * (ratio + 1) + ratio for c in range((total + 1) // (ratio + 1))]
        return out


def _parse_locator(item):
    count = struct.unpack_from("<H", item, 18)[0]
    pairs = {}
    for i in range(count):
        ko, vo, kl, vl = struct.unpack_from("<IIHH", item, 20 + 12 * i)
        pairs[item[ko:ko + kl].decode("utf-16-le")] = item[vo:vo + vl].decode("utf-16-le")
    return {"type": guid_text(item[:16]), "entries": pairs}


def _guid(name):
    return uuid.UUID(bytes=hashlib.md5(name.encode()).digest()).bytes_le


def _locator(pairs):
    head = bytearray(LOCATOR_TYPE.bytes_le + struct.pack("<HH", 0, len(pairs)))
    table = bytearray()
    blob = bytearray()
    base = len(head) + 12 * len(pairs)
    for k, v in pairs:
        kb, vb = k.encode("utf-16-le"), v.encode("utf-16-le")
        table += struct.pack("<IIHH", base + len(blob), base + len(blob) + len(kb), len(kb), len(vb))
        blob += kb + vb
    return bytes(head + table + blob)


def write_differencing(path, size, blocks, name, parent, block_size=2 * MIB, logical=512, physical=4096):
    """Writes a differencing VHDX holding only `blocks`.

    blocks: {block index: (data bytes of block_size, set of logical sectors present within the block, or None for
    all)}: a block with every sector present is fully present; others are partially present, and the sector bitmap
    of their chunk names the sectors this disk holds. parent: {"data_write_guid" (text), "relative", "absolute"}."""
    ratio = chunk_ratio(logical, block_size)
    data_blocks = -(-size // block_size)
    chunks = -(-data_blocks // ratio)
    total = chunks * (ratio + 1)
    bat_len = -(-(total * 8) // MIB) * MIB
    sectors_per_block = block_size // logical
    f_id = bytearray(64 * KIB)
    f_id[:8] = b"vhdxfile"
    f_id[8:8 + 52] = "image generator".encode("utf-16-le").ljust(52, b"\0")

    def header(seq):
        h = bytearray(4 * KIB)
        struct.pack_into("<4sIQ16s16s16sHHIQ", h, 0, b"head", 0, seq, _guid(name + "/file"), _guid(name + "/data"),
                         bytes(16), 0, 1, LOG_SIZE, LOG_OFFSET)
        return with_crc(h)

    rt = bytearray(REGION_SIZE)
    struct.pack_into("<4sIII", rt, 0, b"regi", 0, 2, 0)
    struct.pack_into("<16sQII", rt, 16, GUIDS["bat"].bytes_le, BAT_OFFSET, bat_len, 1)
    struct.pack_into("<16sQII", rt, 48, GUIDS["metadata"].bytes_le, METADATA_OFFSET, METADATA_SIZE, 1)
    rt = with_crc(rt)

    required, virtual = 4, 2
    items = [
        ("file_parameters", struct.pack("<II", block_size, 2), required),
        ("virtual_disk_size", struct.pack("<Q", size), required | virtual),
        ("page83", _guid(name + "/page83"), required | virtual),
        ("logical_sector_size", struct.pack("<I", logical), required | virtual),
        ("physical_sector_size", struct.pack("<I", physical), required | virtual),
        ("parent_locator", _locator([("parent_linkage", parent["data_write_guid"]),
                                     ("relative_path", parent["relative"]),
                                     ("absolute_win32_path", parent["absolute"])]), required),
    ]
    md = bytearray(METADATA_SIZE)
    struct.pack_into("<8sHH", md, 0, b"metadata", 0, len(items))
    at = 64 * KIB
    for i, (key, value, flags) in enumerate(items):
        struct.pack_into("<16sIII", md, 32 + 32 * i, GUIDS[key].bytes_le, at, len(value), flags)
        md[at:at + len(value)] = value
        at += -(-len(value) // 4096) * 4096

    bat = bytearray(bat_len)
    next_off = BAT_OFFSET + bat_len
    bitmaps = {}
    for index in sorted(blocks):
        _, present = blocks[index]
        if present is not None:
            c = index // ratio
            if c not in bitmaps:
                bitmaps[c] = (next_off, bytearray(MIB))
                struct.pack_into("<Q", bat, 8 * (c * (ratio + 1) + ratio), next_off | SB_PRESENT)
                next_off += MIB
            bm = bitmaps[c][1]
            first = (index % ratio) * sectors_per_block
            for s in present:
                bm[(first + s) // 8] |= 1 << ((first + s) % 8)
    placed = {}
    for index in sorted(blocks):
        _, present = blocks[index]
        state = FULLY_PRESENT if present is None else PARTIALLY_PRESENT
        struct.pack_into("<Q", bat, 8 * ((index // ratio) * (ratio + 1) + index % ratio), next_off | state)
        placed[index] = next_off
        next_off += -(-block_size // MIB) * MIB
    with open(path, "wb") as f:
        f.truncate(next_off)
        f.write(f_id)
        for seq, off in enumerate(HEADER_OFFSETS, 1):
            f.seek(off)
            f.write(header(seq))
        for off in REGION_OFFSETS:
            f.seek(off)
            f.write(rt)
        f.seek(METADATA_OFFSET)
        f.write(md)
        f.seek(BAT_OFFSET)
        f.write(bat)
        for off, bm in bitmaps.values():
            f.seek(off)
            f.write(bm)
        for index, off in placed.items():
            data = blocks[index][0]
            for piece in range(0, block_size, 64 * KIB):
                chunk = data[piece:piece + 64 * KIB]
                if chunk.count(0) != len(chunk):
                    f.seek(off + piece)
                    f.write(chunk)
    return placed


def make_stable(path, name):
    """Replaces the random identities qemu gives a VHDX (file and data write GUIDs, sequence numbers, the page 83
    identifier) by values derived from name, and clears the log area when no log is active, so the same virtual
    disk gives the same file. Only done to files with an empty log."""
    with open(path, "r+b") as f:
        heads = sorted(_headers(f), key=lambda h: h["sequence"])
        if any(h["log_guid"] != guid_text(bytes(16)) for h in heads):
            return
        for rank, h in enumerate(heads, 1):
            raw = bytearray(_read(f, h["offset"], 4 * KIB))
            struct.pack_into("<Q16s16s", raw, 8, rank, _guid(name + "/file"), _guid(name + "/data"))
            log_len, log_off = struct.unpack_from("<IQ", raw, 68)
            f.seek(h["offset"])
            f.write(with_crc(raw))
        f.seek(log_off)
        f.write(bytes(log_len))
        rt = _read(f, REGION_OFFSETS[0], REGION_SIZE)
        for i in range(struct.unpack_from("<I", rt, 8)[0]):
            g, off, _, _ = struct.unpack_from("<16sQII", rt, 16 + 32 * i)
            if g == GUIDS["metadata"].bytes_le:
                md = _read(f, off, 64 * KIB)
                for j in range(struct.unpack_from("<H", md, 10)[0]):
                    item, item_off, _, _ = struct.unpack_from("<16sIII", md, 32 + 32 * j)
                    if item == GUIDS["page83"].bytes_le:
                        f.seek(off + item_off)
                        f.write(_guid(name + "/page83"))


def as_plain_dynamic(path):
    """Turns a differencing VHDX into a plain dynamic one in place (parent flag and parent locator removed,
    partially present blocks marked fully present), so that a reader without differencing support shows what the
    file itself holds."""
    info = describe(path)
    with open(path, "r+b") as f:
        md_off = info["regions"]["metadata"]["offset"]
        md = bytearray(_read(f, md_off, 64 * KIB))
        kept = []
        for i in range(struct.unpack_from("<H", md, 10)[0]):
            entry = md[32 + 32 * i:64 + 32 * i]
            g, off = struct.unpack_from("<16sI", entry)
            if g == GUIDS["file_parameters"].bytes_le:
                flags = struct.unpack_from("<I", _read(f, md_off + off + 4, 4))[0]
                f.seek(md_off + off + 4)
                f.write(struct.pack("<I", flags & ~2))
            if g != GUIDS["parent_locator"].bytes_le:
                kept.append(entry)
        struct.pack_into("<H", md, 10, len(kept))
        md[32:] = b"".join(kept).ljust(len(md) - 32, b"\0")
        f.seek(md_off)
        f.write(md)
        bat_off = info["regions"]["bat"]["offset"]
        for e in info["bat_allocated"]:
            if e["kind"] == "payload" and e["state"] == PARTIALLY_PRESENT:
                f.seek(bat_off + 8 * e["index"])
                f.write(struct.pack("<Q", e["file_offset"] | FULLY_PRESENT))
            elif e["kind"] == "sector_bitmap":
                f.seek(bat_off + 8 * e["index"])
                f.write(struct.pack("<Q", 0))



# ---------------------------------------------------------------- what other tools leave

def _bat_payloads(path):
    info = describe(path)
    return info, [e for e in info["bat_allocated"] if e["kind"] == "payload"]


def guest_order(path, seed):
    """Places the payload blocks of a dynamic VHDX (as qemu-img writes it: in the order of the disk) in the order a
    guest wrote them, as Hyper-V allocates them: the same file offsets dealt to the blocks in a shuffled order, the
    first to the disk's first block (its partition table, written first)."""
    info, payloads = _bat_payloads(path)
    block = info["block_size"]
    offsets = sorted(e["file_offset"] for e in payloads)
    dealt = offsets[1:]
    random.Random(seed).shuffle(dealt)
    dealt = offsets[:1] + dealt
    with open(path, "r+b") as f:
        data = {}
        for e in payloads:
            f.seek(e["file_offset"])
            data[e["index"]] = f.read(block)
        for e, at in zip(payloads, dealt):
            f.seek(at)
            f.write(data[e["index"]])
            f.seek(info["regions"]["bat"]["offset"] + 8 * e["index"])
            f.write(struct.pack("<Q", at | e["state"]))


LOG_ENTRY = "<4sIIIQII16sQQ"  # signature, checksum, length, tail, sequence, descriptors, reserved, log GUID,
#                              flushed file offset, last file offset
LOG_PAGE = 4 * KIB


def log_entry(guid, sequence, tail, updates, file_size):
    """One log entry writing updates [(file offset, 4 KiB page), or (file offset, length) for zeros]: its header
    and descriptors, then a data page per page written (its first 8 and last 4 bytes kept in its descriptor)."""
    pages = [(at, page) for at, page in updates if not isinstance(page, int)]
    head = bytearray(-(-(64 + 32 * len(updates)) // LOG_PAGE) * LOG_PAGE)
    length = len(head) + LOG_PAGE * len(pages)
    struct.pack_into(LOG_ENTRY, head, 0, b"loge", 0, length, tail, sequence, len(updates), 0, guid, file_size,
                     file_size)
    for i, (at, page) in enumerate(updates):
        if isinstance(page, int):
            struct.pack_into("<4sIQQQ", head, 64 + 32 * i, b"zero", 0, page, at, sequence)
        else:
            struct.pack_into("<4s4s8sQQ", head, 64 + 32 * i, b"desc", page[-4:], page[:8], at, sequence)
    body = b"".join(struct.pack("<4sI", b"data", sequence >> 32) + page[8:-4] + struct.pack("<I", sequence & 0xFFFFFFFF)
                    for _, page in pages)
    return with_crc(bytes(head) + body)


def write_log(path, sequences, name):
    """Writes log entries into the log region of the VHDX at path and names the log in a new current header (the
    other header slot, its sequence number one more). sequences: [(first position in the log, first sequence
    number, [updates of each entry])]; each sequence's entries follow one another around the ring, each naming the
    sequence's first as its tail. The changes are not made in their places: they wait in the log. Returns the
    position and length of every entry written, in order."""
    guid = _guid(name + "/log")
    written = []
    with open(path, "r+b") as f:
        heads = sorted(_headers(f), key=lambda h: h["sequence"])
        current = bytearray(_read(f, heads[-1]["offset"], 4 * KIB))
        log_length, log_offset = struct.unpack_from("<IQ", current, 68)
        f.seek(0, 2)
        size = f.tell()
        for position, sequence, entries in sequences:
            at = position
            for number, updates in enumerate(entries):
                entry = log_entry(guid, sequence + number, position, updates, size)
                for piece in range(0, len(entry), LOG_PAGE):  # around the ring, a page at a time
                    f.seek(log_offset + (at + piece) % log_length)
                    f.write(entry[piece:piece + LOG_PAGE])
                written.append((at, len(entry)))
                at = (at + len(entry)) % log_length
        struct.pack_into("<Q16s", current, 8, heads[-1]["sequence"] + 1, _guid(name + "/file-after-log"))
        struct.pack_into("<16s", current, 48, guid)
        other = next(at for at in HEADER_OFFSETS if at != heads[-1]["offset"])
        f.seek(other)
        f.write(with_crc(current))
    return written


def log_region(path):
    """(file offset, length) of the log the current header names."""
    with open(path, "rb") as f:
        length, offset = struct.unpack_from("<IQ", _read(f, current_header(f)["offset"], 4 * KIB), 68)
    return offset, length


def pending_log(path, seed, name, torn=False, first=None, extra=(), stale=None):
    """A VHDX as a machine that stopped without closing it leaves it: the payload blocks it allocated last (the
    last in the file, one to half of them, seeded, never the first) were allocated after its table was last written
    in place, their entries there still "not present"; the table
    pages that name them wait in the log, in a sequence of one to three entries, each a later version of the pages
    (one more group of the blocks named), starting anywhere in the ring (so some wrap around its end). torn: the
    last entry's checksum does not match (a write cut off): the blocks it alone names stay absent (two blocks at
    least are held back then, where the disk has three). first: the
    sequence's place in the ring instead; extra: more updates of its first entry; stale: (place, updates) of an
    entry of an earlier sequence, left in the ring (never to be replayed). Returns the indices of the blocks whose
    entries wait in the log (none for a disk of one block: nothing is done)."""
    info, payloads = _bat_payloads(path)
    rng = random.Random(seed)
    by_place = sorted(payloads, key=lambda e: e["file_offset"])
    if len(by_place) < 2:
        return []
    kept = rng.randint(1, max(1, len(by_place) // 2))
    held = by_place[len(by_place) - min(len(by_place) - 1, max(kept, 2 if torn else 1)):]
    rng.shuffle(held)  # the order of allocation among them
    count = min(len(held), rng.randint(2 if torn else 1, 3))
    groups = [held[i::count] for i in range(count)]
    bat = info["regions"]["bat"]["offset"]
    with open(path, "r+b") as f:
        final = {}
        for e in held:
            page = (bat + 8 * e["index"]) // LOG_PAGE * LOG_PAGE
            final.setdefault(page, _read(f, page, LOG_PAGE))
        pages = {page: bytearray(data) for page, data in final.items()}

        def entry_field(e):
            at = bat + 8 * e["index"]
            page = at // LOG_PAGE * LOG_PAGE
            return page, at - page

        for e in held:
            page, off = entry_field(e)
            pages[page][off:off + 8] = bytes(8)
        for page, data in pages.items():
            f.seek(page)
            f.write(data)
        entries = []
        for group in groups:
            touched = set()
            for e in group:
                page, off = entry_field(e)
                pages[page][off:off + 8] = final[page][off:off + 8]
                touched.add(page)
            entries.append([(page, bytes(pages[page])) for page in sorted(touched)])
    entries[0] += list(extra)
    _, log_length = log_region(path)
    place = rng.randrange(log_length // LOG_PAGE) * LOG_PAGE if first is None else first
    sequence = (rng.randrange(1, 1 << 16) << 32) + rng.randrange(1 << 32)
    sequences = [] if stale is None else [(stale[0], sequence - 1000, [stale[1]])]
    written = write_log(path, sequences + [(place, sequence, entries)], name)
    if torn:
        at, length = written[-1]
        offset, _ = log_region(path)
        with open(path, "r+b") as f:  # a byte of the last page of the last entry, as a cut-off write leaves it
            where = offset + (at + length - LOG_PAGE + 100) % log_length
            byte = _read(f, where, 1)
            f.seek(where)
            f.write(bytes([byte[0] ^ 0xFF]))
    return sorted(e["block"] for e in held)


def set_logical_sector_size(path, size):
    """Names 4096-byte (or other) logical sectors in the metadata. The table's layout depends on the size only
    through its sector-bitmap entries, which a disk of fewer blocks than a chunk does not reach."""
    info = describe(path)
    if info["data_blocks"] > chunk_ratio(size, info["block_size"]) and info["data_blocks"] > info["chunk_ratio"]:
        raise ValueError("the table of %s would change" % path)
    md = info["regions"]["metadata"]["offset"]
    with open(path, "r+b") as f:
        table = _read(f, md, 64 * KIB)
        for i in range(struct.unpack_from("<H", table, 10)[0]):
            g, off = struct.unpack_from("<16sI", table, 32 + 32 * i)
            if g == GUIDS["logical_sector_size"].bytes_le:
                f.seek(md + off)
                f.write(struct.pack("<I", size))


def qemu_reading(path, raw):
    """qemu-img's reading of the VHDX at path (whatever its name) into raw. A log that holds changes is replayed
    first, in a copy: qemu reads such a file only once opened for writing (qemu-io opens it so)."""
    with open(path, "rb") as f:
        header = current_header(f)
    if header and header["log_guid"] != guid_text(bytes(16)):
        copy = raw + ".replayed.vhdx"
        copy_sparse(path, copy)
        run(["qemu-io", "-f", "vhdx", "-c", "read 0 512", copy])
        path = copy
    if os.path.exists(raw):
        os.remove(raw)
    run(["qemu-img", "convert", "-f", "vhdx", "-O", "raw", path, raw])
    if path == raw + ".replayed.vhdx":
        os.remove(path)
    return raw
