"""A small writer of compound files (structured storage, version 3, 512-byte sectors) with a summary-information
property set naming the application, as office documents carry them. Used for carving samples."""

import struct
import uuid

SECTOR = 512
MINI = 64
CUTOFF = 4096
FREE, END, FATSECT = 0xFFFFFFFF, 0xFFFFFFFE, 0xFFFFFFFD
NOSTREAM = 0xFFFFFFFF
FMTID_SUMMARY = uuid.UUID("F29F85E0-4FF9-1068-AB91-08002B27B3D9")
VT_I2, VT_LPSTR = 2, 30
PID_CODEPAGE, PIDSI_TITLE, PIDSI_APPNAME = 1, 2, 18


def summary_information(title, app):
    """The "\\x05SummaryInformation" stream: code page 1252, a title and the application name."""
    props = []

    def lpstr(text):
        b = text.encode("cp1252") + b"\0"
        v = struct.pack("<II", VT_LPSTR, len(b)) + b
        return v + bytes(-len(v) % 4)

    props.append((PID_CODEPAGE, struct.pack("<HHI", VT_I2, 0, 1252)[:8]))
    props.append((PIDSI_TITLE, lpstr(title)))
    props.append((PIDSI_APPNAME, lpstr(app)))
    table = bytearray()
    body = bytearray()
    start = 8 + 8 * len(props)
    for pid, value in props:
        table += struct.pack("<II", pid, start + len(body))
        body += value
    section = struct.pack("<II", 8 + len(table) + len(body), len(props)) + table + body
    header = struct.pack("<HHI16sI", 0xFFFE, 0, 0x00020006, bytes(16), 1)
    header += FMTID_SUMMARY.bytes_le + struct.pack("<I", 48)
    return bytes(header + section)


def _entry(name, kind, start, size, left=NOSTREAM, right=NOSTREAM, child=NOSTREAM):
    e = bytearray(128)
    n = name.encode("utf-16-le") + b"\0\0"
    e[:len(n)] = n
    struct.pack_into("<HBB", e, 64, len(n), kind, 1)  # colour black
    struct.pack_into("<III", e, 68, left, right, child)
    struct.pack_into("<IQ", e, 116, start, size)
    return bytes(e)


def _key(name):
    return (len(name), name.upper())


def _chain(fat, first, count):
    for i in range(count):
        fat[first + i] = first + i + 1 if i + 1 < count else END


def write(streams, directory_last=False):
    """Bytes of a compound file holding streams [(name, bytes)] in its root storage. directory_last: the directory
    after the streams, as Word lays its documents out, rather than in sector 1."""
    names = sorted(streams, key=lambda s: _key(s[0]))
    small = [(n, d) for n, d in names if len(d) < CUTOFF]
    large = [(n, d) for n, d in names if len(d) >= CUTOFF]
    # Mini stream: every small stream in 64-byte mini sectors, chained in the mini allocation table.
    mini = bytearray()
    minifat = []
    mini_start = {}
    for n, d in small:
        first = len(mini) // MINI
        count = max(1, -(-len(d) // MINI))
        mini_start[n] = first
        mini += d + bytes(count * MINI - len(d))
        minifat += [first + i + 1 if i + 1 < count else END for i in range(count)]
    # Sector plan: 0 allocation table, 1 directory, 2 mini table, then the mini stream, then large streams (the
    # directory after them when it comes last).
    directory_sector = 1
    sector = 3
    mini_sectors = -(-len(mini) // SECTOR)
    mini_stream_first = sector if mini else END
    sector += mini_sectors
    large_start = {}
    for n, d in large:
        large_start[n] = sector
        sector += -(-len(d) // SECTOR)
    if directory_last:
        directory_sector = sector
        sector += 1
    total = sector
    if total > 128:
        raise ValueError("compound file too large for one allocation sector")
    fat = [FREE] * 128
    fat[0] = FATSECT
    fat[directory_sector] = END
    fat[2] = END
    if mini:
        _chain(fat, 3, mini_sectors)
    for n, d in large:
        _chain(fat, large_start[n], -(-len(d) // SECTOR))
    # Directory: root, then the streams as a balanced tree (the middle one the root's child).
    order = [n for n, _ in names]
    ids = {n: i + 1 for i, n in enumerate(order)}

    def tree(lo, hi):
        if lo >= hi:
            return NOSTREAM, {}
        mid = (lo + hi) // 2
        left, l_links = tree(lo, mid)
        right, r_links = tree(mid + 1, hi)
        links = {**l_links, **r_links, order[mid]: (left, right)}
        return ids[order[mid]], links

    top, links = tree(0, len(order))
    directory = bytearray(_entry("Root Entry", 5, mini_stream_first, len(mini), child=top))
    for n, d in names:
        left, right = links[n]
        start = mini_start[n] if n in mini_start else large_start[n]
        directory += _entry(n, 2, start, len(d), left, right)
    directory += bytes(-len(directory) % SECTOR)
    if len(directory) > SECTOR:
        raise ValueError("too many streams for one directory sector")
    header = bytearray(SECTOR)
    struct.pack_into("<8s16sHHHHH6sIIIIIIIII", header, 0, bytes.fromhex("D0CF11E0A1B11AE1"), bytes(16), 0x3E, 3,
                     0xFFFE, 9, 6, bytes(6), 0, 1, directory_sector, 0, CUTOFF, 2 if minifat else END,
                     1 if minifat else 0,
                     END, 0)
    difat = [0] + [FREE] * 108
    struct.pack_into("<109I", header, 76, *difat)
    body = bytearray(struct.pack("<128I", *fat))
    body += directory if not directory_last else bytes(SECTOR)  # sector 1 left free when the directory comes last
    mf = minifat + [FREE] * (128 - len(minifat))
    body += struct.pack("<128I", *mf)
    body += mini + bytes(mini_sectors * SECTOR - len(mini))
    for n, d in large:
        body += d + bytes(-len(d) % SECTOR)
    if directory_last:
        body += directory
    return bytes(header + body)
