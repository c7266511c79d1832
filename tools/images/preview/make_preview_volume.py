#!/usr/bin/python3
"""A fixed VHD holding one FAT32 volume with a sample file of every kind the preview pane shows, a file over
the preview's 5 MiB limit and a damaged file of each kind; beside it `preview.json`, what each file is and
what the pane is expected to show for it.

    make_preview_volume.py --out DIR            # DIR/preview.fixed.vhd and DIR/preview.json
    make_preview_volume.py --out DIR --bench    # DIR/bench.fixed.vhd: a 5 MB JPEG, a 5 MB text, a 1 MB ZIP,
                                                # ezdxf's drawings at two sizes

Everything is made here: pictures by Pillow (JPEG 2000 by OpenJPEG's opj_compress, a photo's and a CMYK PSD by
ImageMagick's convert), a town map by ezdxf (preview/dxf/make_dxf_samples.py), the other formats by small writers of
their own (PSD, DXF, dBASE, AVI, EMF, PDF, compound file), archives by zipfile, tarfile, gcab and zip;
mkfs.fat and mtools build the volume without mounting it. The same sources give the same bytes.

Expected views (`expect` in preview.json): "picture" (a drawn picture), "drawing" (drawn lines), "blank" (a
viewer that draws nothing), "text" (the document view's rich-edit control; `text` names words it must hold),
"list" (a list of rows; `rows` names some), "media" (a player's window), "html" (our page viewer),
"placeholder corrupted|not-available|too-large" (File Corrupted, Preview not available for this file type, File
too large to preview); `box` begins the message the preview shows first; `shape` is a picture's width and height,
whose proportions what the pane draws keeps; `lines` the lines of words and rules a page shows.
"""

import argparse
import gzip
import io
import json
import math
import os
import random
import shutil
import struct
import subprocess
import sys
import tarfile
import wave
import zipfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.dirname(HERE))

import cfb  # noqa: E402
import samples  # noqa: E402
import vhd  # noqa: E402

from PIL import Image, ImageDraw, ImageFilter  # noqa: E402

EPOCH = 1600000000
VOLUME_MIB = 48
BENCH_VOLUME_MIB = 64
PARTITION_START = 2048
CORRUPTED, NOT_AVAILABLE, TOO_LARGE = "placeholder corrupted", "placeholder not-available", "placeholder too-large"

GREEK = "\u039a\u03b1\u03bb\u03b7\u03bc\u03ad\u03c1\u03b1"  # Kalimera
CYRILLIC = "\u041f\u0440\u0438\u0432\u0435\u0442"           # Privet
FRENCH = "d\u00e9j\u00e0 vu, \u00e9t\u00e9"


# ---- pictures -------------------------------------------------------------------------------------------

def landscape(w=320, h=240, seed=7):
    """A photo-like picture: an evening sky, a sun, hills, a lake and grain."""
    rnd = random.Random(seed)
    im = Image.new("RGB", (w, h))
    draw = ImageDraw.Draw(im)
    for y in range(h):
        t = y / h
        draw.line([(0, y), (w, y)], fill=(int(40 + 200 * t), int(70 + 120 * t), int(160 + 40 * (1 - t))))
    draw.ellipse([w * 0.62, h * 0.15, w * 0.62 + h * 0.2, h * 0.35], fill=(255, 236, 170))
    for k, colour in enumerate([(92, 110, 140), (60, 96, 80), (34, 70, 44)]):
        base = h * (0.55 + 0.1 * k)
        points = [(0, h)] + [(x, base - h / 8 * abs(((x * (k + 2)) % 160) - 80) / 80 - rnd.random() * 6)
                             for x in range(0, w + 8, 8)] + [(w, h)]
        draw.polygon(points, fill=colour)
    draw.rectangle([0, h * 0.86, w, h], fill=(70, 110, 150))
    im = im.filter(ImageFilter.GaussianBlur(1.0))
    noise = Image.effect_noise((w, h), 12).convert("RGB")
    return Image.blend(im, noise, 0.08)


def encode(im, fmt, **options):
    out = io.BytesIO()
    im.save(out, fmt, **options)
    return out.getvalue()


def psd(im):
    """An 8-bit RGB Photoshop image, raw (uncompressed) planes."""
    w, h = im.size
    header = b"8BPS" + struct.pack(">H6xHIIHH", 1, 3, h, w, 8, 3)
    planes = b"".join(band.tobytes() for band in im.convert("RGB").split())
    return header + struct.pack(">III", 0, 0, 0) + struct.pack(">H", 0) + planes


def emf(w=200, h=150):
    """An enhanced metafile of w x h pixels: a pale ground, a filled ellipse and a rectangle frame (header,
    brushes, pen, shapes, end)."""
    def record(kind, payload):
        return struct.pack("<II", kind, 8 + len(payload)) + payload
    bounds = struct.pack("<iiii", 0, 0, w - 1, h - 1)
    body = [
        record(39, struct.pack("<IIII", 3, 0, 0x00E0F0D0, 0)),          # CREATEBRUSHINDIRECT 3: pale green
        record(37, struct.pack("<I", 3)),                               # SELECTOBJECT
        record(43, struct.pack("<iiii", 0, 0, w, h)),                    # RECTANGLE: the ground
        record(39, struct.pack("<IIII", 1, 0, 0x0040A0FF, 0)),          # CREATEBRUSHINDIRECT 1: orange
        record(37, struct.pack("<I", 1)),
        record(38, struct.pack("<IIiiI", 2, 0, 6, 0, 0x00603010)),      # CREATEPEN 2: dark blue, 6 wide
        record(37, struct.pack("<I", 2)),
        record(42, struct.pack("<iiii", w // 20, h // 15, w - w // 20, h - h // 15)),  # ELLIPSE
        record(43, struct.pack("<iiii", w // 5, h // 4, w - w // 5, h - h // 4)),      # RECTANGLE
        record(14, struct.pack("<III", 0, 0, 20)),                      # EOF
    ]
    count = len(body) + 1
    # HIMETRIC frame of w x h pixels at 96 dpi; a reference device of 96 dpi (1209 x 907 pixels, 320 x 240 mm).
    frame = struct.pack("<iiii", 0, 0, w * 2540 // 96, h * 2540 // 96)
    size_header = 88
    total = size_header + sum(len(r) for r in body)
    header = struct.pack("<II", 1, size_header) + bounds + frame + b" EMF" + struct.pack(
        "<IIIHHIIIii", 0x00010000, total, count, 4, 0, 0, 0, 0, 1209, 907) + struct.pack("<ii", 320, 240)
    return header + b"".join(body)


# ---- documents, tables, drawings, media -----------------------------------------------------------------

NOTES = ("Recovered notes\r\n" + GREEK + " \u03ba\u03cc\u03c3\u03bc\u03b5\r\n" + CYRILLIC + ", \u043c\u0438\u0440\r\n"
         "Saved in several encodings by the preview samples.\r\n")
ANSI_NOTES = "Recovered notes\r\nA caf\u00e9 and " + FRENCH + " in code page 1252.\r\n"
RTF = (r"{\rtf1\ansi\deff0{\fonttbl{\f0 Arial;}{\f1 Courier New;}}{\colortbl;\red0\green0\blue0;"
       r"\red31\green78\blue121;}\f0\fs20 \cf2\b Quarterly report\b0\cf1\par "
       r"Recovered from a scanned disk image.\par \i Totals\i0 : \u945?\u946?\u947? 1, 2, 3\par "
       r"\f1 status = ok;\f0\par }")
SOURCE = "/* preview sample */\n#include <stdio.h>\n\nint main(void) {\n  puts(\"hello, preview\");\n  return 0;\n}\n"
INI = "[Settings]\nWindow Position=12,34\nRecovered=1\n"
XML = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<inventory>\n  <item name=\"lamp\" count=\"3\"/>\n</inventory>\n"
# The page's pictures lie beside it on the volume; the preview reads the page alone from a temporary file.
HTML = ("<html><head><title>Holiday page</title></head><body bgcolor=\"#ffffff\">\n"
        "<img src=\"lake.png\" width=\"160\" height=\"120\" align=\"left\"> <img src=\"sun.gif\" align=\"right\">\n"
        "<h1>Holiday pictures</h1><p>Two pictures of the lake, and a <a href=\"notes.htm\">link</a>.</p>\n"
        "<table border=\"1\"><tr><td>Day</td><td>Weather</td></tr><tr><td>Monday</td><td>Sunny</td></tr></table>\n"
        "</body></html>\n")


def dbf(fields, records, language=0, codec="cp1252"):
    """A dBASE III table: fields [(name, type, length, decimals)], records [[text or the field's bytes, ...]];
    its text in codec, the code page its language byte names (0: none)."""
    record_length = 1 + sum(f[2] for f in fields)
    header_length = 32 + 32 * len(fields) + 1
    out = bytearray(struct.pack("<BBBBIHH17xB2x", 0x03, 120, 9, 13, len(records), header_length, record_length,
                                language))
    for name, kind, length, decimals in fields:
        out += struct.pack("<11sc4xBB14x", name.encode(codec), kind.encode(), length, decimals)
    out += b"\x0d"
    for values in records:
        out += b" "
        for (name, kind, length, _), value in zip(fields, values):
            text = value if isinstance(value, bytes) else value.encode(codec)
            out += (text.rjust(length) if kind in "NF" else text.ljust(length))[:length]
    return bytes(out + b"\x1a")


def dxf():
    """An ASCII drawing: a frame of lines, a circle, an arc, a polyline and a text."""
    def group(code, value):
        return f"{code:>3}\n{value}\n"
    out = group(0, "SECTION") + group(2, "HEADER") + group(9, "$ACADVER") + group(1, "AC1009")
    out += group(9, "$EXTMIN") + group(10, 0.0) + group(20, 0.0) + group(9, "$EXTMAX") + group(10, 200.0) + group(20, 120.0)
    out += group(0, "ENDSEC") + group(0, "SECTION") + group(2, "ENTITIES")
    corners = [(0, 0), (200, 0), (200, 120), (0, 120), (0, 0)]
    for (x1, y1), (x2, y2) in zip(corners, corners[1:]):
        out += group(0, "LINE") + group(8, "0") + group(10, x1) + group(20, y1) + group(11, x2) + group(21, y2)
    out += group(0, "CIRCLE") + group(8, "0") + group(62, 1) + group(10, 60) + group(20, 60) + group(40, 35)
    out += group(0, "ARC") + group(8, "0") + group(62, 5) + group(10, 140) + group(20, 60) + group(40, 30)
    out += group(50, 0) + group(51, 180)
    out += group(0, "POLYLINE") + group(8, "0") + group(66, 1) + group(62, 3)
    for x, y in [(110, 20), (130, 45), (150, 20), (170, 45)]:
        out += group(0, "VERTEX") + group(8, "0") + group(10, x) + group(20, y)
    out += group(0, "SEQEND") + group(0, "TEXT") + group(8, "0") + group(10, 10) + group(20, 100) + group(40, 8)
    out += group(1, "GROUND FLOOR")
    out += group(0, "ENDSEC") + group(0, "EOF")
    return out.encode()


def avi(frames=8, w=64, h=48):
    """An uncompressed 24-bit AVI: a square crossing a gradient."""
    row = (w * 3 + 3) & ~3
    pictures = []
    for n in range(frames):
        im = Image.new("RGB", (w, h), (30, 60, 120))
        ImageDraw.Draw(im).rectangle([n * 6, 14, n * 6 + 18, 32], fill=(250, 200, 40))
        data = bytearray()
        for y in reversed(range(h)):
            line = im.crop((0, y, w, y + 1)).tobytes("raw", "BGR")
            data += line + b"\0" * (row - len(line))
        pictures.append(bytes(data))

    def chunk(tag, data):
        return tag + struct.pack("<I", len(data)) + data + (b"\0" if len(data) % 2 else b"")

    def lst(kind, data):
        return chunk(b"LIST", kind + data)
    size = row * h
    avih = struct.pack("<IIIIIIIIII16x", 100000, size * 10, 0, 0x10, frames, 0, 1, size, w, h)
    strh = b"vids" + bytes(4) + struct.pack("<IHHIIIIIIIIhhhh", 0, 0, 0, 0, 1, 10, 0, frames, size, 0xFFFFFFFF, 0,
                                           0, 0, w, h)
    strf = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, size, 0, 0, 0, 0)
    hdrl = lst(b"hdrl", chunk(b"avih", avih) + lst(b"strl", chunk(b"strh", strh) + chunk(b"strf", strf)))
    movi_items = [chunk(b"00db", p) for p in pictures]
    movi = lst(b"movi", b"".join(movi_items))
    index, offset = bytearray(), 4
    for item, p in zip(movi_items, pictures):
        index += b"00db" + struct.pack("<III", 0x10, offset, len(p))
        offset += len(item)
    body = b"AVI " + hdrl + movi + chunk(b"idx1", bytes(index))
    return b"RIFF" + struct.pack("<I", len(body)) + body


def wav(seconds=1.0, rate=8000):
    out = io.BytesIO()
    with wave.open(out, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(b"".join(struct.pack("<h", int(12000 * math.sin(2 * math.pi * 440 * i / rate)))
                               for i in range(int(seconds * rate))))
    return out.getvalue()


# ---- archives -------------------------------------------------------------------------------------------

MEMBERS = [("readme.txt", b"Holiday archive\r\n" * 20), ("photos/lake.png", None), ("notes/day one.txt", b"Sunny\r\n")]


def archive_members(im):
    return [(name, data if data is not None else encode(im, "PNG")) for name, data in MEMBERS]


def zip_archive(members):
    out = io.BytesIO()
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as z:
        for name, data in members:
            z.writestr(zipfile.ZipInfo(name, (2021, 3, 4, 5, 6, 8)), data)
    return out.getvalue()


def tar_gz(members):
    raw = io.BytesIO()
    with tarfile.open(fileobj=raw, mode="w", format=tarfile.USTAR_FORMAT) as t:
        for name, data in members:
            item = tarfile.TarInfo(name)
            item.size, item.mtime = len(data), EPOCH
            t.addfile(item, io.BytesIO(data))
    return gzip.compress(raw.getvalue(), mtime=EPOCH)


def jpeg2000(work, im, name, *options):
    """IM written by opj_compress as NAME (its extension picks a JP2 file or a bare codestream)."""
    source, path = os.path.join(work, "jpeg2000.png"), os.path.join(work, name)
    im.save(source)
    subprocess.run(["opj_compress", "-i", source, "-o", path] + list(options), check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    with open(path, "rb") as f:
        return f.read()


def ezdxf_drawing(work, name, count):
    """A large drawing of the DXF tests (preview/dxf/make_dxf_samples.py) of count entities, written by ezdxf:
    "streets", a town map named at many angles, or "circles", a survey of trees."""
    sys.path.insert(0, os.path.join(HERE, "..", "..", "..", "preview", "dxf"))
    import make_dxf_samples  # noqa: E402
    path = os.path.join(work, name + ".dxf")
    make_dxf_samples.LARGE_DRAWINGS[name][0](path, count)
    with open(path, "rb") as f:
        return f.read()


def ezdxf_sample(work, name):
    """A drawing of the DXF tests (preview/dxf/make_dxf_samples.py) written by ezdxf: "polyface" (houses of
    polyface meshes), "polymesh" (M x N meshes), "marked" (saved with a UTF-8 byte-order mark)."""
    sys.path.insert(0, os.path.join(HERE, "..", "..", "..", "preview", "dxf"))
    import make_dxf_samples  # noqa: E402
    make_dxf_samples.write(name, make_dxf_samples.DRAWINGS[name], work, make_dxf_samples.VERSIONS.get(name, "R2010"))
    with open(os.path.join(work, name + ".dxf"), "rb") as f:
        return f.read()


def imagemagick_psd(work, im, *options):
    """IM as a Photoshop file written by ImageMagick's convert with the options."""
    source, path = os.path.join(work, "psd.png"), os.path.join(work, "imagemagick.psd")
    im.save(source)
    subprocess.run(["convert", source] + list(options) + [path], check=True)
    with open(path, "rb") as f:
        return f.read()


def cabinet(work, members):
    """gcab's cabinet of the members (flat names: a cabinet stores the names given)."""
    folder = os.path.join(work, "cab")
    os.makedirs(folder, exist_ok=True)
    names = []
    for name, data in members:
        flat = os.path.basename(name)
        with open(os.path.join(folder, flat), "wb") as f:
            f.write(data)
        os.utime(os.path.join(folder, flat), (EPOCH, EPOCH))
        names.append(flat)
    path = os.path.join(work, "bundle.cab")
    if os.path.exists(path):
        os.remove(path)
    subprocess.run(["gcab", "-c", "-z", path] + names, cwd=folder, check=True)
    with open(path, "rb") as f:
        return f.read()


def rar_archive(members):
    """A RAR (format 1.5 to 4) archive of stored members: marker, archive header, a file header and the data
    of each member, end of archive. Header CRCs are the low 16 bits of the CRC-32 of the header after them."""
    def block(kind, flags, body):
        head = struct.pack("<BHH", kind, flags, 7 + len(body)) + body
        return struct.pack("<H", zlib.crc32(head) & 0xFFFF) + head
    dos_time = (5 << 11) | (6 << 5) | 4  # 05:06:08
    dos_date = ((2021 - 1980) << 9) | (3 << 5) | 4
    out = b"Rar!\x1a\x07\x00" + block(0x73, 0, bytes(6))
    for name, data in members:
        raw = name.replace("/", "\\").encode("ascii")
        body = struct.pack("<IIBIIBBHI", len(data), len(data), 2, zlib.crc32(data), (dos_date << 16) | dos_time,
                           20, 0x30, len(raw), 0x20) + raw
        out += block(0x74, 0x8000, body) + data
    return out + block(0x7B, 0x4000, b"")


def docx(paragraphs):
    """A minimal WordprocessingML document: content types, the package relation and the document part."""
    ns = "http://schemas.openxmlformats.org/"
    parts = [
        ("[Content_Types].xml", f'<?xml version="1.0" encoding="UTF-8"?><Types xmlns="{ns}package/2006/content-types">'
         f'<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
         f'<Default Extension="xml" ContentType="application/xml"/><Override PartName="/word/document.xml" '
         f'ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/></Types>'),
        ("_rels/.rels", f'<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="{ns}package/2006/relationships">'
         f'<Relationship Id="rId1" Type="{ns}officeDocument/2006/relationships/officeDocument" '
         f'Target="word/document.xml"/></Relationships>'),
        ("word/document.xml", f'<?xml version="1.0" encoding="UTF-8"?><w:document xmlns:w="{ns}wordprocessingml/2006/'
         f'main"><w:body>' + "".join(f"<w:p><w:r><w:t>{p}</w:t></w:r></w:p>" for p in paragraphs) +
         "</w:body></w:document>"),
    ]
    return zip_archive([(name, text.encode()) for name, text in parts])


# ---- encodings: pages, texts, tables and archive names as ordinary tools write them --------------------

LETTER = "Voil\u00e0 la lettre \u2014 \u00e9l\u00e8ve"
SAYINGS = "It\u2019s \u20ac5, d\u00e9j\u00e0 vu"


def page(title, body, head=""):
    return f"<html><head>{head}<title>{title}</title></head><body><h1>{title}</h1><p>{body}</p></body></html>\r\n"


def every_type_table():
    """A dBASE table with a field of every type the view reads, binary ones packed by struct, and the rows the
    view must show for it (Python's own formatting of the values written; currencies in the United States
    format the test machine uses)."""
    fields = [("NAME", "C", 16, 0), ("COUNT", "N", 5, 0), ("WEIGHT", "F", 9, 3), ("BOUGHT", "D", 8, 0),
              ("STOCKED", "L", 1, 0), ("ID", "I", 4, 0), ("PRICE", "Y", 8, 4), ("NOTES", "M", 10, 0),
              ("STAMP", "T", 8, 0), ("BLOCK", "B", 10, 0), ("OLE", "G", 10, 0), ("PHOTO", "P", 10, 0)]
    values = [("Lamp", 3, 2.5, "20210304", "T", 7, 0.50), ("Chair \u00e9", 12, -0.125, "20200101", "F", -40000, 250000.00),
              ("Table", 1, 1000.0, "19991231", "y", 2147483647, -1.25)]
    records, rows = [], []
    for i, (name, count, weight, day, stocked, ident, price) in enumerate(values):
        records.append([name, str(count), "%.3f" % weight, day, stocked, struct.pack("<i", ident),
                        struct.pack("<q", round(price * 10000)), "%10d" % (i + 1), struct.pack("<ii", 2459278, 3600000),
                        "%10d" % (i + 4), "%10d" % (i + 7), "%10d" % (i + 10)])
        money = ("(${:,.2f})" if price < 0 else "${:,.2f}").format(abs(price))
        cells = [name.ljust(16), "%f" % count, "%f" % weight, day[:4] + "/" + day[4:6] + "/" + day[6:],
                 "TRUE" if stocked in "TtYy" else "FALSE", str(ident), money, "Memo", "", "%10d" % (i + 4), "General",
                 "Picture"]
        rows.append(", ".join([str(i + 1)] + cells))
    return dbf(fields, records), rows


class OemZipInfo(zipfile.ZipInfo):
    """A member named in code page 437 without the UTF-8 flag, as Windows' compressed folders name them."""
    def _encodeFilenameFlags(self):
        return self.filename.encode("cp437"), self.flag_bits


OEM_NAMES = ["Caf\u00e9 r\u00e9sum\u00e9.txt", "Gr\u00f6\u00dfe \u00bd.txt"]
UTF8_NAMES = [GREEK + ".txt", CYRILLIC + "/" + FRENCH + ".txt"]


def names_zip():
    """zipfile's archive of names in code page 437 (made on Windows) and in UTF-8 with the flag."""
    out = io.BytesIO()
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as z:
        for name in OEM_NAMES:
            item = OemZipInfo(name, (2021, 3, 4, 5, 6, 8))
            item.create_system = 0
            z.writestr(item, name.encode())
        for name in UTF8_NAMES:
            z.writestr(zipfile.ZipInfo(name, (2021, 3, 4, 5, 6, 8)), name.encode())
    return out.getvalue()


def zip_tool_archive(work):
    """zip's archive of the same names: their UTF-8 bytes, without the flag."""
    folder = os.path.join(work, "zip-names")
    shutil.rmtree(folder, ignore_errors=True)
    names = OEM_NAMES + UTF8_NAMES
    for name in names:
        os.makedirs(os.path.dirname(os.path.join(folder, name)), exist_ok=True)
        with open(os.path.join(folder, name), "wb") as f:
            f.write(name.encode())
        os.utime(os.path.join(folder, name), (EPOCH, EPOCH))
    path = os.path.join(work, "names.zip")
    if os.path.exists(path):
        os.remove(path)
    subprocess.run(["zip", "-q", "-X", "-D", path] + names, cwd=folder, check=True,
                   env=dict(os.environ, LC_ALL="C.UTF-8"))
    with open(path, "rb") as f:
        return f.read()


# Pages as e-mail programs and editors save them: XHTML's empty tags, a head of styles or scripts that names
# the charset past its first kilobytes, and tables aligned or floated right that are wider than the pane.
XHTML_LINES = ("<html><head><title>Lines</title></head><body>\r\none<br/>two<br/>three<hr/>four<br/>"
               "more</body></html>\r\n")
XHTML_LINE_COUNT = 6  # five lines of words and the rule
PRICES = "\u041f\u0440\u0430\u0439\u0441-\u043b\u0438\u0441\u0442"            # Price list
CENIK = "Cen\u00edk \u017elu\u0165ou\u010dk\u00fd k\u016f\u0148"            # Price list, a yellow horse
GREEK_PRICES = "\u03a4\u03b9\u03bc\u03bf\u03ba\u03b1\u03c4\u03ac\u03bb\u03bf\u03b3\u03bf\u03c2"  # Price list


def wide_table(words, align):
    """A table of 12 columns of words, 1,400 pixels wide, aligned or floated as align says."""
    cells = "".join(f"<td>{words} {n}</td>" for n in range(12))
    return f'<table{align} border="1" width="1400"><tr>{cells}</tr><tr>{cells}</tr></table>'


def late_charset_page(title, words, meta, filler, table):
    """A page whose head holds filler (a style or a script of several kilobytes) before its charset."""
    return (f"<html><head>{filler}{meta}<title>{title}</title></head><body><h1>{title}</h1>\r\n"
            f"<p>{words}</p>\r\n{table}\r\n<p>{words}</p></body></html>\r\n")


def late_charset_samples():
    style = "<style>\r\n" + "".join(f".c{n} {{ margin: {n}px; color: #{n:06x}; }}\r\n" for n in range(200)) + "</style>"
    script = "<script>\r\n" + "".join(f"var v{n} = {n} * 2; // line {n}\r\n" for n in range(200)) + "</script>"
    assert len(style) > 4096 and len(script) > 4096
    http_equiv = '<meta http-equiv="Content-Type" content="text/html; charset={}">'
    return [
        sample("/Web/lines xhtml.html", XHTML_LINES.encode(), "html", "html-xhtml", text=["Lines"],
               lines=XHTML_LINE_COUNT),
        sample("/Web/prices 1251.html", late_charset_page(PRICES, CYRILLIC, http_equiv.format("windows-1251"), style,
                                                          wide_table(PRICES, ' align="right"')).encode("cp1251"),
               "html", "html-late-charset", text=[PRICES]),
        sample("/Web/cenik 8859-2.html", late_charset_page(CENIK, CENIK, http_equiv.format("iso-8859-2"), script,
                                                           '<div align="right">' + wide_table(CENIK, "") + "</div>")
               .encode("iso-8859-2"), "html", "html-late-charset", text=[CENIK]),
        sample("/Web/prices 8859-7.html", late_charset_page(GREEK_PRICES, GREEK, '<meta charset="iso-8859-7">', style,
                                                            wide_table(GREEK, ' align="right"')).encode("iso-8859-7"),
               "html", "html-late-charset", text=[GREEK_PRICES]),
    ]


# CJK text whose every line holds a character with a zero low byte (U+4E00, U+6700, U+5F00, U+5C00), its line
# ends LF alone: in UTF-16 without a mark its zeros fall on both sides of the pairs as often.
CJK_LINES = ["\u4e00\u6708\u7684\u5929\u6c14\u5f88\u51b7\uff0c\u6211\u4eec\u5728\u5bb6\u91cc\u8bfb\u4e66\u3002",
             "\u6700\u91cd\u8981\u7684\u6587\u4ef6\u90fd\u4fdd\u5b58\u5728\u78c1\u76d8\u4e0a\u3002",
             "\u30d5\u30a1\u30a4\u30eb\u3092\u958b\u3044\u3066\u304b\u3089\u5185\u5bb9\u3092\u78ba\u8a8d\u3057\u3066\u304f"
             "\u3060\u3055\u3044\u3002\u5c00",
             "\u6253\u5f00\u6587\u4ef6\u4ee5\u540e\uff0c\u8bf7\u5148\u68c0\u67e5\u5185\u5bb9\u3002"]
CJK_TEXT = "".join(line + "\n" for line in CJK_LINES * 6)
# dBASE tables of DOS programs and of Russian Windows, each in the code page its language byte names.
DOS_RUSSIAN = [("\u0418\u0432\u0430\u043d\u043e\u0432", "\u041c\u043e\u0441\u043a\u0432\u0430"),
               ("\u041f\u0435\u0442\u0440\u043e\u0432\u0430", "\u0421\u0430\u043c\u0430\u0440\u0430")]
DOS_FRENCH = [("No\u00ebl Lef\u00e8vre", "Besan\u00e7on"), ("Gr\u00e9goire M\u00fcller", "Li\u00e8ge")]
WINDOWS_RUSSIAN = [("\u0421\u043c\u0438\u0440\u043d\u043e\u0432", "\u041a\u0430\u0437\u0430\u043d\u044c"),
                   ("\u0401\u043b\u043a\u0438\u043d\u0430", "\u0422\u0432\u0435\u0440\u044c")]


def language_table(path, people, language, codec, name_field="NAME"):
    """A table of people and towns written by a program of that language: its text in its code page."""
    table = dbf([(name_field, "C", 20, 0), ("TOWN", "C", 12, 0)], [list(p) for p in people], language, codec)
    return sample(path, table, "list", "dbf-codepage", rows=[word for p in people for word in p])


def encoding_samples(work):
    """Files whose text is beyond ASCII or holds zeros; each names the words it must show (a page's title
    shows in the viewer's title)."""
    letter = page(LETTER, SAYINGS)
    report = page("Report " + GREEK, "Totals " + CYRILLIC)
    zeros = bytes(512)  # what a save writes for a sector it could not read
    utf8_notes = NOTES.encode("utf-8")
    table, rows = every_type_table()
    return [
        sample("/Web/letter utf-8.html", letter.encode("utf-8"), "html", "html-utf8", text=[LETTER]),
        sample("/Web/letter utf-8 mark.html", b"\xef\xbb\xbf" + letter.encode("utf-8"), "html", "html", text=[LETTER]),
        sample("/Web/letter meta.html", page(LETTER, SAYINGS, '<meta charset="utf-8">').encode("utf-8"), "html", "html",
               text=[LETTER]),
        sample("/Web/letter 1252.html", page(LETTER, SAYINGS, '<meta http-equiv="Content-Type" content="text/html; '
                                             'charset=windows-1252">').encode("cp1252"), "html", "html", text=[LETTER]),
        sample("/Web/letter ansi.html", letter.encode("cp1252"), "html", "html", text=[LETTER]),
        sample("/Web/privet 1251.html", page(CYRILLIC, CYRILLIC + ", \u043c\u0438\u0440", '<meta charset="windows-1251">')
               .encode("cp1251"), "html", "html", text=[CYRILLIC]),
        sample("/Web/report utf-16.html", report.encode("utf-16"), "html", "html", text=["Report " + GREEK]),
        sample("/Web/report utf-16be.html", report.encode("utf-16-be"), "html", "html", text=["Report " + GREEK]),
        sample("/Documents/notes unmarked utf-16.txt", NOTES.encode("utf-16-le"), "text", "text",
               text=["Recovered notes", GREEK, CYRILLIC]),
        sample("/Documents/notes stray byte.txt", utf8_notes[:17] + b"\xe9" + utf8_notes[17:], "text", "text",
               text=[GREEK, CYRILLIC]),
        sample("/Documents/notes zeros.txt", b"A caf\xe9 line before" + zeros + b"and after the gap\r\n", "text", "text",
               text=["and after the gap"]),
        sample("/Documents/inventory zeros.xml", b'<inventory><item name="lamp"/>' + zeros + b'<item name="chair"/></inventory>',
               "text", "text", text=['<item name="chair"/></inventory>']),
        sample("/Tables/every type.dbf", table, "list", "dbf", rows=rows),
        sample("/Documents/cjk unmarked utf-16.txt", CJK_TEXT.encode("utf-16-le"), "text", "text-cjk",
               text=CJK_LINES),
        sample("/Documents/cjk unmarked utf-16be.txt", CJK_TEXT.encode("utf-16-be"), "text", "text-cjk", text=CJK_LINES),
        # A UTF-16 text whose first cluster a save wrote as zeros.
        sample("/Documents/notes zeroed start utf-16.txt", bytes(4096) + (NOTES * 40).encode("utf-16-le")[4096:],
               "text", "text-zeroed", text=[GREEK, CYRILLIC]),
        language_table("/Tables/dos russian.dbf", DOS_RUSSIAN, 0x65, "cp866"),
        language_table("/Tables/dos french.dbf", DOS_FRENCH, 0x02, "cp850"),
        language_table("/Tables/russian windows.dbf", WINDOWS_RUSSIAN, 0xC9, "cp1251", "\u0418\u041c\u042f"),
        sample("/Archives/names.zip", names_zip(), "list", "zip", rows=OEM_NAMES + UTF8_NAMES),
        sample("/Archives/names zip.zip", zip_tool_archive(work), "list", "zip", rows=OEM_NAMES + UTF8_NAMES),
    ]


# ---- the volume -----------------------------------------------------------------------------------------

def sample(path, data, expect, group, **facts):
    # Capitalised names get long names that keep their case (mtools writes a lower-case 8.3 name with the
    # lower-case flags, which a reader may show in capitals).
    folder, name = path.rsplit("/", 1)
    path = folder + "/" + name[0].upper() + name[1:]
    return dict(path=path, data=data, expect=expect, group=group, **facts)


# Kinds whose damaged file would repeat another's: the same reader behind another name.
SAME_AS_ANOTHER = {"jpeg", "tiff", "pnm", "ini", "xml", "c", "htm"}


# What a damaged file of these kinds shows instead of the corrupted-file picture: the system's picture
# loader takes a metafile by its header and plays none of its broken records (an empty view); a table
# whose first field survives is listed with the garbage that follows as its fields; the media player control
# takes any sound file and reports nothing.
DAMAGED_EXPECT = {"emf": "blank", "dbf": "list", "wav": "media"}


def damaged(data, keep=64):
    """The file's first bytes and then garbage: its signature stands, its structure is gone."""
    rnd = random.Random(len(data))
    return data[:keep] + bytes(rnd.randrange(256) for _ in range(512))


def preview_samples(work):
    im = landscape()
    png, jpg = encode(im, "PNG"), encode(im, "JPEG", quality=90)
    members = archive_members(im)
    zip_bytes, cab_bytes = zip_archive(members), cabinet(work, members)
    psd_bytes = psd(landscape(160, 120, seed=9))
    table = dbf([("NAME", "C", 16, 0), ("COUNT", "N", 5, 0), ("BOUGHT", "D", 8, 0), ("STOCKED", "L", 1, 0)],
                [["Lamp", "3", "20210304", "T"], ["Chair " + "\u00e9", "12", "20200101", "F"],
                 ["Table", "1", "19991231", "T"]])
    doc = cfb.write([("\x05SummaryInformation", cfb.summary_information("Letter", "Microsoft Office Word")),
                     ("WordDocument", b"\xec\xa5" + bytes(4094))])
    pdf = samples.pdf("Preview sample", ["A one-page PDF", "made by the preview samples"])
    mdb = b"\x00\x01\x00\x00Standard Jet DB\x00" + bytes(2048 - 19)
    ppt = cfb.write([("\x05SummaryInformation", cfb.summary_information("Talk", "Microsoft PowerPoint")),
                     ("PowerPoint Document", bytes(4096)), ("Current User", bytes(64))])
    rich = RTF.encode()
    text_checks = ["Recovered notes", GREEK, CYRILLIC]
    files = [
        sample("/Pictures/lake.png", png, "picture", "image"),
        sample("/Pictures/lake.jpg", jpg, "picture", "image"),
        sample("/Pictures/lake.jpeg", jpg, "picture", "image"),
        sample("/Pictures/lake.bmp", encode(im, "BMP"), "picture", "image"),
        sample("/Pictures/lake.tif", encode(im, "TIFF"), "picture", "image"),
        sample("/Pictures/lake.tiff", encode(im, "TIFF", compression="tiff_deflate"), "picture", "image"),
        sample("/Pictures/lake.tga", encode(im, "TGA", compression="tga_rle"), "picture", "image"),
        sample("/Pictures/lake.pcx", encode(im, "PCX"), "picture", "image"),
        sample("/Pictures/lake.ppm", encode(im, "PPM"), "picture", "image"),
        sample("/Pictures/lake.pnm", encode(im, "PPM"), "picture", "image"),
        sample("/Pictures/lake.pgm", encode(im.convert("L"), "PPM"), "picture", "image"),
        sample("/Pictures/lake.jp2", jpeg2000(work, im, "lake.jp2", "-r", "20"), "picture", "image-jpeg2000"),
        sample("/Pictures/lake.j2k", jpeg2000(work, im, "lake.j2k"), "picture", "image-jpeg2000"),
        sample("/Pictures/icon.ico", encode(im.resize((48, 48)), "ICO", sizes=[(48, 48)], bitmap_format="bmp"),
               "picture", "icon-48", shape=[48, 48]),
        sample("/Pictures/icon png.ico", encode(im.resize((48, 48)), "ICO", sizes=[(48, 48)]), "picture", "picture",
               shape=[48, 48]),
        sample("/Pictures/icon 256.ico", encode(im.resize((256, 256)), "ICO", sizes=[(256, 256)]), "picture",
               "picture", shape=[256, 256]),
        sample("/Pictures/icon 16.ico", encode(im.resize((16, 16)), "ICO", sizes=[(16, 16)], bitmap_format="bmp"),
               "picture", "picture", shape=[16, 16]),
        sample("/Pictures/shapes.emf", emf(), "picture", "picture", shape=[200, 150]),
        sample("/Pictures/banner.emf", emf(480, 120), "picture", "picture", shape=[480, 120]),
        sample("/Pictures/tall.emf", emf(90, 240), "picture", "picture", shape=[90, 240]),
        # The browser control here has no HTML engine: it ends its navigation without a document.
        sample("/Pictures/sun.gif", encode(im.convert("P", palette=Image.ADAPTIVE), "GIF"), NOT_AVAILABLE, "browser"),
        sample("/Pictures/painting.psd", psd_bytes, "picture", "psd", shape=[160, 120]),
        sample("/Pictures/photo 3x2.psd", imagemagick_psd(work, landscape(600, 400, seed=4)), "picture", "psd-photo",
               shape=[600, 400]),
        sample("/Pictures/portrait.psd", psd(landscape(200, 300, seed=5)), "picture", "psd", shape=[200, 300]),
        sample("/Pictures/poster cmyk.psd", imagemagick_psd(work, landscape(160, 120, seed=3), "-colorspace", "CMYK"),
               "picture", "psd-imagemagick"),
        sample("/Documents/notes utf-8.txt", b"\xef\xbb\xbf" + NOTES.encode("utf-8"), "text", "text",
               text=text_checks),
        sample("/Documents/notes utf-16.txt", b"\xff\xfe" + NOTES.encode("utf-16-le"), "text", "text",
               text=text_checks),
        sample("/Documents/notes utf-16be.txt", b"\xfe\xff" + NOTES.encode("utf-16-be"), "text", "text",
               text=text_checks),
        sample("/Documents/notes ansi.txt", ANSI_NOTES.encode("cp1252"), "text", "text", text=[FRENCH]),
        sample("/Documents/settings.ini", INI.encode(), "text", "text", text=["Window Position=12,34"]),
        sample("/Documents/inventory.xml", XML.encode(), "text", "text", text=["<item name=\"lamp\""]),
        sample("/Documents/hello.c", SOURCE.encode(), "text", "source", text=["hello, preview"]),
        sample("/Documents/report.rtf", rich, "text", "rtf", text=["Quarterly report", "\u03b1\u03b2\u03b3"]),
        # Word, its text converters, PowerPoint and the PDF control are not on this machine: these sound files
        # are of types it cannot preview, said without a box.
        sample("/Documents/letter.doc", doc, NOT_AVAILABLE, "word"),
        sample("/Documents/letter.docx", docx(["Dear reader,", "the figures are attached."]), NOT_AVAILABLE,
               "word-docx"),
        sample("/Documents/manual.pdf", pdf, NOT_AVAILABLE, "pdf"),
        sample("/Documents/talk.ppt", ppt, NOT_AVAILABLE, "powerpoint"),
        sample("/Archives/holiday.zip", zip_bytes, "list", "zip", rows=["readme.txt", "lake.png", "day one.txt"]),
        sample("/Archives/holiday.cab", cab_bytes, "list", "cab", rows=["readme.txt", "lake.png", "day one.txt"]),
        # The RAR library is not on this machine.
        sample("/Archives/holiday.rar", rar_archive(members), NOT_AVAILABLE, "rar"),
        # No viewer takes ".gz" files.
        sample("/Archives/holiday.tar.gz", tar_gz(members), NOT_AVAILABLE, "tar-gz"),
        sample("/Drawings/ground floor.dxf", dxf(), "drawing", "dxf"),
        sample("/Drawings/street map.dxf", ezdxf_drawing(work, "streets", 1500), "drawing", "dxf-map"),
        # 3D exports: polyface and polygon meshes; a drawing saved with a UTF-8 mark.
        sample("/Drawings/houses polyface.dxf", ezdxf_sample(work, "polyface"), "drawing", "dxf-polyface"),
        sample("/Drawings/ring polymesh.dxf", ezdxf_sample(work, "polymesh"), "drawing", "dxf-polymesh"),
        sample("/Drawings/marked.dxf", ezdxf_sample(work, "marked"), "drawing", "dxf-marked"),
        sample("/Tables/stock.dbf", table, "list", "dbf", rows=["Lamp", "Chair \u00e9", "Table"]),
        # The database engine is not on this machine.
        sample("/Tables/shop.mdb", mdb, NOT_AVAILABLE, "access"),
        sample("/Web/holiday.html", HTML.encode(), "html", "html"),
        sample("/Web/lake.png", png, "picture", "image"),
        sample("/Web/notes.htm", HTML.encode(), NOT_AVAILABLE, "browser"),
        sample("/Media/clip.avi", avi(), "media", "avi"),
        sample("/Media/tone.wav", wav(), "media", "media"),
        sample("/Media/unknown.xyz", b"not a kind the pane knows\r\n", NOT_AVAILABLE, "unknown"),
        sample("/Large/big picture.jpg", jpg + bytes(5 * 1024 * 1024 + 4096), TOO_LARGE, "large"),
    ]
    files += encoding_samples(work)
    files += late_charset_samples()
    # The damaged file of each kind.
    kinds = {}
    for f in files:
        ext = f["path"].rsplit(".", 1)[1]
        if ext in kinds or ext in SAME_AS_ANOTHER or f["expect"] == TOO_LARGE or f["group"] in ("unknown", "tar-gz"):
            continue
        kinds[ext] = f
    for ext, f in kinds.items():
        expect, extra = DAMAGED_EXPECT.get(ext, CORRUPTED), {}
        if f["expect"] in ("text", "html"):
            expect = f["expect"]  # shown as they are: text and pages have no structure to break
        if f["expect"] == NOT_AVAILABLE:
            expect = NOT_AVAILABLE  # without its component nothing looks at the file, damaged or not
        if "box" in f:
            extra["box"] = f["box"]
        files.append(sample("/Damaged/damaged." + ext, damaged(f["data"]), expect, "damaged", **extra))
    return files


def bench_samples(work):
    """Files near the preview's limit for the benchmark: a 5 MB JPEG, a 5 MB text, a 1 MB ZIP; and ordinary
    drawings at two sizes, written by ezdxf: a town map of 375 and 1,500 streets, a survey of 26,434 and 105,738
    trees."""
    rnd = random.Random(5)
    big = landscape(1600, 1200)
    quality, jpg = 98, b""
    for quality in (98, 95, 90, 85, 80):
        noisy = Image.blend(big, Image.effect_noise(big.size, 90).convert("RGB"), 0.5)
        jpg = encode(noisy, "JPEG", quality=quality)
        if len(jpg) <= 5_000_000:
            break
    jpg = jpg[:-2] + bytes(5_000_000 - len(jpg)) + b"\xff\xd9" if len(jpg) < 5_000_000 else jpg
    lines, length = [], 0
    while length < 5_000_000:
        lines.append("%07d %s\r\n" % (len(lines), " ".join(rnd.choice(["lake", "sun", "hill", "boat", "rain"])
                                                           for _ in range(10))))
        length += len(lines[-1])
    text = "".join(lines).encode()[:5_000_000]
    members = [("member %03d.bin" % i, rnd.randbytes(4000)) for i in range(250)]
    drawings = [sample(f"/{label}_{count}.dxf", ezdxf_drawing(work, name, count), "drawing", "bench")
                for name, label, counts in (("streets", "streets", (375, 1500)), ("circles", "trees", (26434, 105738)))
                for count in counts]
    return [sample("/bench.jpg", jpg, "picture", "bench"), sample("/bench.txt", text, "text", "bench"),
            sample("/bench.zip", zip_archive(members), "list", "bench")] + drawings


def build_volume(out, name, files, size_mib, label):
    raw = os.path.join(out, name + ".raw")
    if os.path.exists(raw):
        os.remove(raw)
    env = dict(os.environ, TZ="UTC", SOURCE_DATE_EPOCH=str(EPOCH), MTOOLS_SKIP_CHECK="1")
    subprocess.run(["mkfs.fat", "-C", "--invariant", "--mbr=n", "-F", "32", "-s", "1", "-h", str(PARTITION_START), "-n", label, raw,
                    str(size_mib * 1024)], check=True, stdout=subprocess.DEVNULL, env=env)
    staging = os.path.join(out, ".work", name)
    folders = sorted({os.path.dirname(f["path"]) for f in files} - {"/"})
    for folder in folders:
        subprocess.run(["mmd", "-i", raw, "::" + folder], check=True, env=env)
    for f in files:
        local = os.path.join(staging, f["path"].lstrip("/"))
        os.makedirs(os.path.dirname(local), exist_ok=True)
        with open(local, "wb") as fh:
            fh.write(f["data"])
        os.utime(local, (EPOCH, EPOCH))
        subprocess.run(["mcopy", "-o", "-i", raw, local, "::" + f["path"]], check=True, env=env)
    # The disk: an MBR with the volume as its one partition (FAT32 LBA) at sector 2048.
    disk = os.path.join(out, name + ".disk")
    sectors = os.path.getsize(raw) // 512
    mbr = bytearray(512)
    mbr[446:462] = struct.pack("<B3sB3sII", 0, b"\xfe\xff\xff", 0x0C, b"\xfe\xff\xff", PARTITION_START, sectors)
    mbr[510:512] = b"\x55\xaa"
    with open(disk, "wb") as fh, open(raw, "rb") as volume:
        fh.write(mbr + bytes(512 * (PARTITION_START - 1)))
        while True:
            block = volume.read(1 << 20)
            if not block:
                break
            fh.write(block)
        fh.write(vhd.make_footer(512 * (PARTITION_START + sectors), 2, vhd.unique_id(name), 0xFFFFFFFFFFFFFFFF))
    os.remove(raw)
    os.replace(disk, os.path.join(out, name + ".fixed.vhd"))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--out", required=True)
    parser.add_argument("--bench", action="store_true")
    args = parser.parse_args()
    out = os.path.abspath(args.out)
    os.makedirs(os.path.join(out, ".work"), exist_ok=True)
    if args.bench:
        files = bench_samples(os.path.join(out, ".work"))
        build_volume(out, "bench", files, BENCH_VOLUME_MIB, "BENCH")
        name = "bench"
    else:
        files = preview_samples(os.path.join(out, ".work"))
        build_volume(out, "preview", files, VOLUME_MIB, "PREVIEW")
        name = "preview"
    listing = [{k: v for k, v in f.items() if k != "data"} | {"size": len(f["data"])} for f in files]
    with open(os.path.join(out, name + ".json"), "w", encoding="utf-8") as fh:
        json.dump(listing, fh, indent=1, ensure_ascii=False)
        fh.write("\n")


if __name__ == "__main__":
    main()
