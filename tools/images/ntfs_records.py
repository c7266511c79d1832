"""MFT records of a raw NTFS volume (at sector 0) read and rewritten in place: the update-sequence fix-up, the
attribute walk, run lists, and the damage and crafted shapes the engine's tests and benchmarks put into volumes
that mkntfs and libntfs-3g made.

    record_sector(raw, number)                 the first sector of record number (through $MFT's runs)
    patch_attribute(raw, number, type, edit)   edit(record, offset) changes the attribute in place
    set_first_run_length(raw, number, type, clusters)
    set_sizes(raw, number, type, allocated, real)
    add_listed_base(raw, extensions, list_bytes)   one base record whose attribute list, in clusters of its
                                                    own, names `extensions` extension records
    move_first_part(raw, number, type, spare)      the part of an attribute that starts its value moved from
                                                    its base record into the free record `spare`
"""
import itertools
import struct

SECTOR = 512
RECORD = 1024
END = 0xFFFFFFFF
DATA = 0x80
ATTRIBUTE_LIST = 0x20


def geometry(raw):
    """(sectors per cluster, MFT cluster) from the boot sector."""
    with open(raw, "rb") as f:
        boot = f.read(SECTOR)
    return boot[13], struct.unpack_from("<Q", boot, 48)[0]


def unprotect(record):
    """The record with each sector's last two bytes taken back from the update-sequence array."""
    record = bytearray(record)
    usa, count = struct.unpack_from("<HH", record, 4)
    for i in range(1, count):
        record[i * SECTOR - 2:i * SECTOR] = record[usa + 2 * i:usa + 2 * i + 2]
    return record


def protect(record):
    """The record as a volume holds it: each sector's last two bytes moved into the array, the number put there."""
    record = bytearray(record)
    usa, count = struct.unpack_from("<HH", record, 4)
    number = record[usa:usa + 2]
    for i in range(1, count):
        record[usa + 2 * i:usa + 2 * i + 2] = record[i * SECTOR - 2:i * SECTOR]
        record[i * SECTOR - 2:i * SECTOR] = number
    return record


def attributes(record):
    """(offset, type, length) of each attribute, in order."""
    out = []
    offset = struct.unpack_from("<H", record, 20)[0]
    while offset + 8 <= RECORD:
        kind, length = struct.unpack_from("<II", record, offset)
        if kind in (0, END) or length == 0:
            break
        out.append((offset, kind, length))
        offset += length
    return out


def decode_runs(record, at):
    """[(start cluster or None for a hole, length)] of the non-resident attribute at `at`."""
    runs, base = [], 0
    pos = at + struct.unpack_from("<H", record, at + 32)[0]
    while record[pos] != 0:
        lw, ow = record[pos] & 0x0F, record[pos] >> 4
        length = int.from_bytes(record[pos + 1:pos + 1 + lw], "little")
        if ow:
            base += int.from_bytes(record[pos + 1 + lw:pos + 1 + lw + ow], "little", signed=True)
            runs.append((base, length))
        else:
            runs.append((None, length))
        pos += 1 + lw + ow
    return runs


def encode_runs(runs):
    """A run list (end marker included) of [(start cluster or None, length)]."""
    out, base = bytearray(), 0
    for start, length in runs:
        lb = length.to_bytes((length.bit_length() + 8) // 8, "little")
        if start is None:
            out += bytes([len(lb)]) + lb
            continue
        delta = start - base
        width = 1
        while not -(1 << (8 * width - 1)) <= delta < (1 << (8 * width - 1)):
            width += 1
        out += bytes([width << 4 | len(lb)]) + lb + delta.to_bytes(width, "little", signed=True)
        base = start
    return bytes(out + b"\0")


def read_sector_record(raw, sector):
    with open(raw, "rb") as f:
        f.seek(sector * SECTOR)
        return unprotect(f.read(RECORD))


def write_sector_record(raw, sector, record):
    with open(raw, "r+b") as f:
        f.seek(sector * SECTOR)
        f.write(protect(record))


def find_attribute(record, kind):
    for offset, k, _ in attributes(record):
        if k == kind and record[offset + 9] == 0:
            return offset
    raise ValueError("no unnamed attribute %#x" % kind)


def mft_extents(raw):
    """[(first sector, sector count)] of the MFT's data, from record 0."""
    spc, mft = geometry(raw)
    record = read_sector_record(raw, mft * spc)
    return [(start * spc, length * spc) for start, length in decode_runs(record, find_attribute(record, DATA))]


def claimed_sectors(raw):
    """{record number: [(first sector, sector count)]} of the non-resident attributes of every record in use (a
    file's data, a folder's index, ...), an extension record's under its base record's number."""
    spc, _ = geometry(raw)
    claims, numbers = {}, itertools.count()
    with open(raw, "rb") as f:
        for first, count in mft_extents(raw):
            f.seek(first * SECTOR)
            for number in itertools.islice(numbers, count * SECTOR // RECORD):
                record = f.read(RECORD)
                if record[:4] != b"FILE" or not struct.unpack_from("<H", record, 22)[0] & 1:
                    continue
                record = unprotect(record)
                base = struct.unpack_from("<Q", record, 32)[0] & 0xFFFFFFFFFFFF
                held = claims.setdefault(base or number, [])
                for at, _, _ in attributes(record):
                    if record[at + 8]:
                        held += [(start * spc, length * spc) for start, length in decode_runs(record, at)
                                 if start is not None]
    return claims


def record_sector(raw, number):
    sector = sector_in(mft_extents(raw), number)
    if sector is None:
        raise ValueError("record %d lies past the MFT" % number)
    return sector


def sector_in(extents, number):
    """The first sector of record number in an MFT of these extents; None past them."""
    offset = 2 * number
    for first, count in extents:
        if offset < count:
            return first + offset
        offset -= count
    return None


def patch_attribute(raw, number, kind, edit):
    sector = record_sector(raw, number)
    record = read_sector_record(raw, sector)
    edit(record, find_attribute(record, kind))
    write_sector_record(raw, sector, record)


def set_first_run_length(raw, number, kind, clusters):
    """The attribute's first run given a four-byte length field holding clusters; the runs after it go."""
    def edit(record, at):
        pos = at + struct.unpack_from("<H", record, at + 32)[0]
        lw, ow = record[pos] & 0x0F, record[pos] >> 4
        offset = bytes(record[pos + 1 + lw:pos + 1 + lw + ow])
        new = bytes([ow << 4 | 4]) + struct.pack("<I", clusters) + offset + b"\0"
        if pos + len(new) > at + struct.unpack_from("<I", record, at + 4)[0]:
            raise ValueError("no room for the longer run in the attribute")
        record[pos:pos + len(new)] = new
    patch_attribute(raw, number, kind, edit)


def set_sizes(raw, number, kind, allocated, real):
    def edit(record, at):
        struct.pack_into("<QQ", record, at + 40, allocated, real)
    patch_attribute(raw, number, kind, edit)


# ---------------------------------------------------------------- a base record whose list names many records

def cluster_bitmap(raw):
    """The value of $Bitmap (record 6): bit c set when cluster c is in use."""
    spc, _ = geometry(raw)
    record = read_sector_record(raw, record_sector(raw, 6))
    at = find_attribute(record, DATA)
    size = struct.unpack_from("<Q", record, at + 48)[0]
    bitmap = bytearray()
    with open(raw, "rb") as f:
        for start, length in decode_runs(record, at):
            f.seek(start * spc * SECTOR)
            bitmap += f.read(length * spc * SECTOR)
    return bitmap[:size]


def free_clusters(raw):
    """The longest run of free clusters by $Bitmap (record 6): (first cluster, count)."""
    bitmap = cluster_bitmap(raw)
    best, run_start, clusters = (0, 0), None, len(bitmap) * 8
    for c in range(clusters + 1):
        used = c == clusters or bitmap[c // 8] >> (c % 8) & 1
        if not used and run_start is None:
            run_start = c
        elif used and run_start is not None:
            if c - run_start > best[1]:
                best = (run_start, c - run_start)
            run_start = None
    return best


def record_header(number, flags=1, base=0):
    record = bytearray(RECORD)
    record[0:4] = b"FILE"
    struct.pack_into("<HH", record, 4, 48, 3)   # update sequence at 48, three entries
    struct.pack_into("<H", record, 16, 1)       # sequence number
    struct.pack_into("<H", record, 18, 1)       # links
    struct.pack_into("<HH", record, 20, 56, flags)
    struct.pack_into("<II", record, 24, 0, RECORD)
    struct.pack_into("<Q", record, 32, base | (1 << 48) if base else 0)
    struct.pack_into("<I", record, 44, number)
    struct.pack_into("<H", record, 48, 1)       # update sequence number
    return record


def put_attributes(record, attrs):
    """Writes the attributes (bytes each, 8-byte aligned) from byte 56 and the end marker."""
    at = 56
    for a in attrs:
        record[at:at + len(a)] = a
        at += len(a)
    struct.pack_into("<I", record, at, END)
    struct.pack_into("<I", record, 24, at + 8)
    return record


def resident(kind, value, ident):
    body = 24 + len(value)
    length = (body + 7) // 8 * 8
    a = bytearray(length)
    struct.pack_into("<IIBBHHHIH", a, 0, kind, length, 0, 0, 0, 0, ident, len(value), 24)
    a[24:24 + len(value)] = value
    return bytes(a)


def non_resident(kind, runs, allocated, real, ident):
    run_list = encode_runs(runs)
    length = (64 + len(run_list) + 7) // 8 * 8
    a = bytearray(length)
    last_vcn = sum(n for _, n in runs) - 1
    struct.pack_into("<IIBBHHH", a, 0, kind, length, 1, 0, 0, 0, ident)
    struct.pack_into("<QQHH", a, 16, 0, last_vcn, 64, 0)
    struct.pack_into("<QQQ", a, 40, allocated, real, real)
    a[64:64 + len(run_list)] = run_list
    return bytes(a)


def file_name_value(parent, name):
    encoded = name.encode("utf-16-le")
    value = bytearray(66)
    struct.pack_into("<Q", value, 0, parent | (5 << 48))
    value[64] = len(name)
    value[65] = 1  # Win32
    return bytes(value) + encoded


def list_entries(records, list_bytes):
    """An attribute list of list_bytes: data entries naming the records in turn."""
    out = bytearray()
    i = 0
    while len(out) + 32 <= list_bytes:
        entry = bytearray(32)
        struct.pack_into("<IHBBQQH", entry, 0, DATA, 32, 0, 26, 0, records[i % len(records)], 0)
        out += entry
        i += 1
    return bytes(out)


def add_listed_base(raw, extensions, list_bytes, name="listed base.bin"):
    """Grows the MFT into the volume's longest free run and puts there one base record named `name` (parent:
    the root) whose non-resident attribute list of list_bytes names, in turn, the `extensions` extension
    records after it (None: as many as the run holds), which name it as their base. Returns the base record's
    number and the number of extension records."""
    spc, mft = geometry(raw)
    cluster = spc * SECTOR
    list_clusters = (list_bytes + cluster - 1) // cluster
    first, count = free_clusters(raw)
    if extensions is None:  # as many as the free run holds
        extensions = (count - list_clusters) * cluster // RECORD - 1
    records = extensions + 1
    mft_clusters = (records * RECORD + cluster - 1) // cluster
    if count < list_clusters + mft_clusters:
        raise ValueError("%d free clusters, %d needed" % (count, list_clusters + mft_clusters))
    grown = (first, mft_clusters)
    list_at = first + mft_clusters
    # Record 0: the new extent after the MFT's own, its sizes grown with it.
    record0 = read_sector_record(raw, mft * spc)
    at = find_attribute(record0, DATA)
    runs = decode_runs(record0, at) + [grown]
    base = sum(n for _, n in runs[:-1]) * cluster // RECORD
    size = sum(n for _, n in runs) * cluster
    if struct.unpack_from("<H", record0, 20)[0] != 56:
        raise ValueError("record 0's attributes do not start at byte 56")
    attrs = [bytes(record0[o:o + n]) for o, _, n in attributes(record0)]
    index = [o for o, _, _ in attributes(record0)].index(at)
    ident = struct.unpack_from("<H", record0, at + 14)[0]
    attrs[index] = non_resident(DATA, runs, size, size, ident)
    header = bytearray(record0[:56])
    write_sector_record(raw, mft * spc, put_attributes(header + bytearray(RECORD - 56), attrs))
    # The base record, its list in clusters of its own, and the extension records.
    numbers = list(range(base + 1, base + records))
    entries = list_entries(numbers, list_bytes)
    with open(raw, "r+b") as f:
        f.seek(list_at * cluster)
        f.write(entries)
        for n in range(records):
            if n == 0:
                record = put_attributes(record_header(base), [
                    resident(0x10, bytes(48), 0),
                    resident(0x30, file_name_value(5, name), 1),
                    non_resident(ATTRIBUTE_LIST, [(list_at, list_clusters)], list_clusters * cluster, len(entries), 2),
                    resident(DATA, name.encode("ascii"), 3)])
            else:
                record = put_attributes(record_header(base + n, base=base), [])
            f.seek((first * spc + 2 * n) * SECTOR)
            f.write(protect(record))
    return base, extensions


# ---------------------------------------------------------------- an attribute moved out of its base record

def attribute_list_value(raw, record):
    """(value, where): the record's attribute list and how to write it back (("resident", offset) or
    ("clusters", [(first byte, length)]))."""
    spc, _ = geometry(raw)
    at = find_attribute(record, ATTRIBUTE_LIST)
    if record[at + 8] == 0:
        length, offset = struct.unpack_from("<IH", record, at + 16)
        return bytearray(record[at + offset:at + offset + length]), ("resident", at + offset)
    real = struct.unpack_from("<Q", record, at + 48)[0]
    pieces, value = [], bytearray()
    with open(raw, "rb") as f:
        for start, length in decode_runs(record, at):
            f.seek(start * spc * SECTOR)
            take = min(length * spc * SECTOR, real - len(value))
            pieces.append((start * spc * SECTOR, take))
            value += f.read(take)
    return value, ("clusters", pieces)


def move_first_part(raw, number, kind, spare):
    """Moves the unnamed attribute of `kind` whose part starts the value (VCN 0) out of base record `number`
    into record `spare` (a free record of the MFT), made an extension record of that base; the base's attribute
    list names it there. The base must have an attribute list."""
    base_sector, spare_sector = record_sector(raw, number), record_sector(raw, spare)
    base, old = read_sector_record(raw, base_sector), read_sector_record(raw, spare_sector)
    if struct.unpack_from("<H", base, 20)[0] != 56:
        raise ValueError("record %d's attributes do not start at byte 56" % number)
    at = find_attribute(base, kind)
    base_sequence, sequence = struct.unpack_from("<H", base, 16)[0], struct.unpack_from("<H", old, 16)[0]
    moved = record_header(spare)
    struct.pack_into("<H", moved, 16, sequence)
    struct.pack_into("<Q", moved, 32, number | base_sequence << 48)
    put_attributes(moved, [bytes(base[at:at + struct.unpack_from("<I", base, at + 4)[0]])])
    value, where = attribute_list_value(raw, base)
    pos, found = 0, False
    while pos + 24 <= len(value):
        entry_kind, length = struct.unpack_from("<IH", value, pos)
        vcn, reference = struct.unpack_from("<QQ", value, pos + 8)
        if entry_kind == kind and value[pos + 6] == 0 and vcn == 0 and reference & 0xFFFFFFFFFFFF == number:
            struct.pack_into("<Q", value, pos + 16, spare | sequence << 48)
            found = True
        if length == 0:
            break
        pos += length
    if not found:
        raise ValueError("record %d's attribute list names no first part of %#x there" % (number, kind))
    kept = [bytes(base[o:o + n]) for o, _, n in attributes(base) if o != at]
    if where[0] == "resident":
        list_at = [o for o, _, _ in attributes(base) if o < where[1]][-1]
        list_index = [o for o, _, _ in attributes(base) if o != at].index(list_at)
        attribute = bytearray(kept[list_index])
        attribute[where[1] - list_at:where[1] - list_at + len(value)] = value
        kept[list_index] = bytes(attribute)
    else:
        with open(raw, "r+b") as f:
            done = 0
            for offset, take in where[1]:
                f.seek(offset)
                f.write(value[done:done + take])
                done += take
    write_sector_record(raw, base_sector, put_attributes(bytearray(base[:56]) + bytearray(RECORD - 56), kept))
    write_sector_record(raw, spare_sector, moved)
