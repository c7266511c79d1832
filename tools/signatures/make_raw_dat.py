#!/usr/bin/env python3
"""Writes the signature database "Raw.dat" from the readable table signatures.tsv.

Each row becomes one record, in table order (the order in which File Trace tests the signatures):
  u16 record index | group digit "0".."9" | u16 L1, extension | u16 L2, description |
  u16 L3, number of bytes compared (decimal text) | u16 L4, signature bytes | u16 L5, second byte field
Every u16 is little-endian; texts are 8-bit without terminator. The table is checked first: a row that the
program could never use (unknown group, signature longer than 15 bytes or empty, a compare count that is not
the signature's length, an extension in two groups) stops the build with the row named."""

import argparse
import struct
import sys

GROUPS = ["Archive Files", "Document Files", "Database Files", "E-mail Files", "Graphics Files", "Sound Files",
          "Media Files", "Internet Files", "CAD Files", "Other Files"]
HEADER = ["group", "extension", "description", "compare", "signature", "second"]
MAX_SIGNATURE = 15   # File Trace compares the first 15 bytes of a sector
MAX_FIELD = 759      # the reader's field buffer


class TableError(Exception):
    pass


def parse_hex(text, where):
    if text == "-":
        return b""
    try:
        return bytes.fromhex(text)
    except ValueError:
        raise TableError(f"{where}: not hex: {text!r}")


def read_table(path):
    """[(group index, extension, description, compare, signature bytes, second bytes)] in table order."""
    rows = []
    header_seen = False
    with open(path, encoding="ascii") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\r\n")
            if not line or line.startswith("#"):
                continue
            cells = line.split("\t")
            where = f"{path}:{number}"
            if not header_seen:
                if cells != HEADER:
                    raise TableError(f"{where}: the header must be {HEADER}")
                header_seen = True
                continue
            if len(cells) != len(HEADER):
                raise TableError(f"{where}: {len(cells)} cells, {len(HEADER)} expected")
            rows.append(check_row(cells, where))
    if not header_seen:
        raise TableError(f"{path}: no header line")
    check_extensions(rows)
    return rows


def check_row(cells, where):
    group, extension, description, compare, signature, second = cells
    if group not in GROUPS:
        raise TableError(f"{where}: unknown group {group!r}")
    if not extension.startswith(".") or len(extension) < 2 or any(c.isspace() for c in extension):
        raise TableError(f"{where}: the extension must start with a dot: {extension!r}")
    if not description.strip():
        raise TableError(f"{where}: empty description")
    sig = parse_hex(signature, where)
    if not 1 <= len(sig) <= MAX_SIGNATURE:
        raise TableError(f"{where}: a signature has 1 to {MAX_SIGNATURE} bytes, not {len(sig)}")
    if not compare.isdigit() or int(compare) != len(sig):
        raise TableError(f"{where}: compare {compare!r} must be the signature's length {len(sig)}")
    extra = parse_hex(second, where)
    for text in (extension, description):
        if len(text) > MAX_FIELD:
            raise TableError(f"{where}: field longer than {MAX_FIELD} bytes")
    return GROUPS.index(group), extension, description, len(sig), sig, extra


def check_extensions(rows):
    # A ticked type takes every record of its extension: one extension in two groups would tick both.
    seen = {}
    for group, extension, *_ in rows:
        if seen.setdefault(extension, group) != group:
            raise TableError(f"extension {extension} is in two groups: {GROUPS[seen[extension]]}, {GROUPS[group]}")


def field(data):
    return struct.pack("<H", len(data)) + data


def raw_dat(rows):
    out = bytearray()
    for index, (group, extension, description, compare, sig, extra) in enumerate(rows):
        out += struct.pack("<H", index & 0xFFFF) + str(group).encode("ascii")
        out += field(extension.encode("ascii")) + field(description.encode("ascii"))
        out += field(str(compare).encode("ascii")) + field(sig) + field(extra)
    return bytes(out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--table", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    try:
        rows = read_table(args.table)
    except TableError as e:
        print(f"make_raw_dat: {e}", file=sys.stderr)
        return 1
    data = raw_dat(rows)
    with open(args.out, "wb") as f:
        f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
