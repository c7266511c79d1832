#!/usr/bin/env python3
"""Writes the tables of the code pages that the OS layer reads without the system's help, from Python's own codecs
of them: the DOS (OEM) code pages of FAT short names and archive names, and the DOS and Windows code pages that
dBASE tables name by their language byte:

    make_code_page_tables.py OUT.inc

- kSingleByteTables: code pages of one byte a character, each as the characters of bytes 0x80 to 0xFF (0 where the
  code page has none);
- kCodePage932Single: code page 932's bytes 0x80 to 0xFF that stand alone (0 for a lead byte or none), and
  kCodePage932Pairs: its characters of two bytes, a row for each lead byte 0x81-0x9F and 0xE0-0xFC, a column for
  each second byte 0x40-0xFC (0 where the pair stands for none).
"""
import sys

SINGLE = (437, 737, 850, 852, 857, 860, 861, 863, 865, 866, 874, 1250, 1251, 1253, 1254, 1257)
LEADS = list(range(0x81, 0xA0)) + list(range(0xE0, 0xFD))
TRAILS = range(0x40, 0xFD)


def character(data, page):
    try:
        text = data.decode("cp%d" % page)
    except UnicodeDecodeError:
        return 0
    return ord(text) if len(text) == 1 and ord(text) < 0x10000 else 0


def rows(values, per_line=12):
    out = []
    for i in range(0, len(values), per_line):
        out.append("    " + ", ".join("0x%04X" % v for v in values[i:i + per_line]) + ",")
    return out


def main():
    lines = ["// Written by make_code_page_tables.py from Python's codecs; do not edit.", ""]
    lines.append("struct SingleByteTable {")
    lines.append("  uint32_t codePage;")
    lines.append("  char16_t high[128];")
    lines.append("};")
    lines.append("")
    lines.append("constexpr SingleByteTable kSingleByteTables[] = {")
    for page in SINGLE:
        lines.append("  {%d, {" % page)
        lines += rows([character(bytes([b]), page) for b in range(0x80, 0x100)])
        lines.append("  }},")
    lines.append("};")
    lines.append("")
    lead = set(LEADS)
    lines.append("constexpr char16_t kCodePage932Single[128] = {")
    lines += rows([0 if b in lead else character(bytes([b]), 932) for b in range(0x80, 0x100)])
    lines.append("};")
    lines.append("")
    lines.append("constexpr uint8_t kCodePage932FirstTrail = 0x%02X;" % TRAILS[0])
    lines.append("constexpr uint32_t kCodePage932Trails = %d;" % len(TRAILS))
    lines.append("constexpr char16_t kCodePage932Pairs[%d][%d] = {" % (len(LEADS), len(TRAILS)))
    for first in LEADS:
        lines.append("  {  // lead byte 0x%02X" % first)
        lines += rows([character(bytes([first, t]), 932) for t in TRAILS])
        lines.append("  },")
    lines.append("};")
    with open(sys.argv[1], "w", encoding="ascii") as f:
        f.write("\n".join(lines) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
