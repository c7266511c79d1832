#!/usr/bin/env python3
"""Seeds of about 64 KiB for the fuzz targets of pages, archives and tables, made when the target runs
(scripts/fuzz-target): the fuzzer makes inputs no larger than its largest seed, and work that grows with
the square of the input only shows at such sizes. The pages are bench/hostile_html.py's hostile pages and
its good page, each cut to the size; the archives and the table hold many small members or records.

    python3 fuzz/large_seeds.py TARGET OUT_DIR     writes TARGET's seeds into OUT_DIR (none for others)
"""

import gzip
import io
import os
import struct
import sys
import tarfile
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(HERE)
sys.path.insert(0, os.path.join(REPO, "bench"))
sys.path.insert(0, os.path.join(REPO, "preview", "archive"))

import hostile_html  # noqa: E402
from make_test_archives import tar_bytes  # noqa: E402

SIZE = 65536


def distinct_sizes(named):
    """The seeds each cut to a size no other has: libFuzzer runs its inputs in the order of their sizes, and
    inputs of one size in the order the file system lists them, which would make runs differ from machine
    to machine."""
    sizes, out = set(), []
    for name, data in named:
        while len(data) in sizes:
            data = data[:-1]
        sizes.add(len(data))
        out.append((name, data))
    return out


def pages():
    """Each page of hostile_html.py at about SIZE - 2 bytes."""
    makers = [hostile_html.unclosed_styles, hostile_html.unclosed_titles, hostile_html.titles_far_close,
              hostile_html.open_bodies, hostile_html.open_divs_after_aligned, hostile_html.open_selects,
              hostile_html.wide_inputs, hostile_html.tabs_on_one_line, hostile_html.nested_blocks,
              hostile_html.forum_tables, hostile_html.deep_tables, hostile_html.row_spans,
              hostile_html.alternating_blocks, hostile_html.named_selects]
    out = [(maker.__name__, maker(SIZE - 200)[:SIZE - 2]) for maker in makers]
    out += [("many_links", hostile_html.many_links(2000)[:SIZE - 2]),
            ("many_pictures", hostile_html.many_pictures(1500)[:SIZE - 2]),
            ("good_page", hostile_html.good_page()[:SIZE - 2])]
    return distinct_sizes(out)


def text_seeds(prefix):
    """The pages behind prefix: the first bytes that the target reads before the text."""
    return [(name, prefix + page) for name, page in pages()]


def nest(depth, inside):
    return "<table border=1><tr><td>" * depth + inside + "</td></tr></table>" * depth


def drawer_texts():
    """The drawer's own hostile shapes: tables nested to its depth and past it, tables left open, many
    opens closed once, and long prose, each repeated to about SIZE - 2 bytes (each of another size)."""
    shapes = [("nested_tables", "", nest(8, "a few words") + " ", ""),
              ("nested_tables_two_cells", "", nest(7, "<table><tr><td>one<td width=30>two words</table>") + " ", ""),
              ("tables_past_the_depth", "", nest(40, "deep") + " ", ""),
              ("open_tables", "", "<table><tr><td>open ", ""),
              ("opens_closed_once", "", "<table>", "</table>"),
              ("open_tables_closed_at_the_end", "", "<table><tr><td>x ", "</table>"),
              ("prose", "", "Some words of a long message, ", ""),
              ("prose_without_breaks", "", "abcdefghijklmnopqrstuvwxyz", "")]
    out = []
    for i, (name, head, unit, tail) in enumerate(shapes):
        size = SIZE - 2 - 64 - i
        text = head + unit * ((size - len(head) - len(tail)) // len(unit)) + tail
        out.append((name, (b"\x40\x00" + text.encode())[:SIZE]))
    return out


def many_members_zip():
    out = io.BytesIO()
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as z:
        for i in range(420):
            z.writestr(zipfile.ZipInfo(f"folder{i % 7}/member{i}.txt", (2021, 3, 4, 5, 6, 8)), f"member {i}\n" * 3)
    return out.getvalue()


def many_members_tar():
    return bytes(tar_bytes([(f"member{i}.txt", f"member {i}\n".encode()) for i in range(50)]))


def many_records_dbf():
    """A dBASE III table of 1,200 records of three fields."""
    fields = [(b"NAME", b"C", 20), (b"CITY", b"C", 16), (b"AMOUNT", b"N", 10)]
    records = 1200
    record_length = 1 + sum(length for _, _, length in fields)
    out = bytearray(struct.pack("<BBBBIHH20x", 0x03, 120, 9, 13, records, 32 + 32 * len(fields) + 1, record_length))
    for name, kind, length in fields:
        out += struct.pack("<11sc4xBB14x", name, kind, length, 2 if kind == b"N" else 0)
    out += b"\x0d"
    for i in range(records):
        out += b" " + f"Name {i}".ljust(20).encode() + f"City {i % 50}".ljust(16).encode() + f"{i * 1.5:.2f}".rjust(10).encode()
    return bytes(out + b"\x1a")


def seeds(target):
    if target in ("fuzz_html_view_page_load", "fuzz_html_view_passes", "fuzz_html_style",
                  "fuzz_html_view_entities", "fuzz_html_view_attributes"):
        return text_seeds(b"\x00")  # an even first byte: one character a byte
    if target == "fuzz_html_drawer":
        return distinct_sizes(text_seeds(b"\x40\x00") + drawer_texts())  # a width and no hovered link
    if target == "fuzz_zip_reader":
        return [("many_members.zip", many_members_zip())]
    if target == "fuzz_tar_walk":
        return [("many_members.tar", many_members_tar())]
    if target == "fuzz_tar_gz_archive":
        return [("many_members.zip", many_members_zip()),
                ("many_members.tar.gz", gzip.compress(many_members_tar(), mtime=0))]
    if target == "fuzz_dbf_table":
        return [("many_records.dbf", many_records_dbf())]
    return []


def main():
    target, out = sys.argv[1], sys.argv[2]
    os.makedirs(out, exist_ok=True)
    for name, data in seeds(target):
        assert len(data) <= SIZE, (name, len(data))
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
