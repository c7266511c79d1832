"""Carving samples: real files of the types that signature search looks for, made here with ImageMagick, zip and
two small writers (PDF, compound file)."""

import os

import cfb
from util import FIXED_EPOCH, fresh_dir, pseudo_bytes, run, text_bytes


def _image(work, name, size, seed):
    path = os.path.join(work, name)
    target = "BMP3:" + path if name.endswith(".bmp") else path
    run(["convert", "-seed", seed, "-size", size, "plasma:fractal", "-strip", "-depth", "8",
         "-define", "png:exclude-chunks=date,time", target])
    with open(path, "rb") as f:
        return f.read()


def pdf(title, lines):
    """A one-page PDF whose cross-reference table points at its real object offsets."""
    text = "BT /F1 10 Tf 20 780 Td 12 TL " + " ".join(f"({l}) '" for l in lines) + " ET"
    objects = [
        b"<< /Type /Catalog /Pages 2 0 R >>",
        b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 4 0 R "
        b"/Resources << /Font << /F1 5 0 R >> >> >>",
        f"<< /Length {len(text)} >>\nstream\n{text}\nendstream".encode(),
        b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
        f"<< /Title ({title}) /Producer (image generator) >>".encode(),
    ]
    out = bytearray(b"%PDF-1.4\n%\xe2\xe3\xcf\xd3\n")
    offsets = []
    for i, body in enumerate(objects, 1):
        offsets.append(len(out))
        out += f"{i} 0 obj\n".encode() + body + b"\nendobj\n"
    xref = len(out)
    out += f"xref\n0 {len(objects) + 1}\n0000000000 65535 f \n".encode()
    for off in offsets:
        out += f"{off:010d} 00000 n \n".encode()
    out += f"trailer\n<< /Size {len(objects) + 1} /Root 1 0 R /Info 6 0 R >>\nstartxref\n{xref}\n%%EOF\n".encode()
    return bytes(out)


def _zip(work):
    src = fresh_dir(os.path.join(work, "zipsrc"))
    members = (("inside one.txt", text_bytes("inside one", 3000)), ("inside two.bin", pseudo_bytes("two", 5000)))
    for name, data in members:
        p = os.path.join(src, name)
        with open(p, "wb") as f:
            f.write(data)
        os.utime(p, (FIXED_EPOCH, FIXED_EPOCH))
    out = os.path.join(work, "archive.zip")
    if os.path.exists(out):
        os.remove(out)
    run(["zip", "-X", "-q", "-D", out, "inside one.txt", "inside two.bin"], cwd=src)
    with open(out, "rb") as f:
        return f.read()


def _office(kind, app, size=6000, directory_last=False):
    main = {"doc": "WordDocument", "xls": "Workbook", "ppt": "PowerPoint Document"}[kind]
    summary = cfb.summary_information(f"A {kind} sample", app) if app else _summary_without_app(f"A {kind} sample")
    return cfb.write([("\x05SummaryInformation", summary), (main, text_bytes(main, size))], directory_last)


def _summary_without_app(title):
    """A summary as office suites other than Microsoft's write it: a title, no application name."""
    named = cfb.summary_information(title, "-")
    count_at = 48 + 4
    data = bytearray(named)
    struct.pack_into("<I", data, count_at, 2)  # the application, last of three, no longer counted
    return bytes(data)


def make(work):
    """[(file name on the volume, bytes, type, valid, deleted, note)] in the order they are written."""
    work = fresh_dir(os.path.join(work, "samples"))
    jpeg = _image(work, "a.jpg", "200x150", 7)
    png = _image(work, "b.png", "160x120", 8)
    gif = _image(work, "c.gif", "120x90", 9)
    bmp = _image(work, "d.bmp", "60x40", 10)
    doc = pdf("Carving sample", [f"Line {i} of a sample document" for i in range(1, 40)])
    return [
        ("Picture one.jpg", jpeg, "jpg", True, False, ""),
        ("Deleted picture.png", png, "png", True, True, ""),
        ("Animation.gif", gif, "gif", True, False, ""),
        ("Deleted bitmap.bmp", bmp, "bmp", True, True, ""),
        ("Report.pdf", doc, "pdf", True, False, ""),
        ("Deleted archive.zip", _zip(work), "zip", True, True, ""),
        ("Letter.doc", _office("doc", "Microsoft Office Word"), "doc", True, False,
         "compound file; application name Microsoft Office Word"),
        ("Deleted sheet.xls", _office("xls", "Microsoft Excel"), "xls", True, True,
         "compound file; application name Microsoft Excel"),
        ("Slides.ppt", _office("ppt", "Microsoft Office PowerPoint"), "ppt", True, False,
         "compound file; application name Microsoft Office PowerPoint"),
        ("Truncated picture.jpg", jpeg[:2000], "jpg", False, False, "JPEG cut short: no end marker"),
        ("Embedded picture.bin", text_bytes("prefix", 100) + png, "png", True, False,
         "PNG 100 bytes into the file: its signature is not at a sector start"),
        ("Plain notes.txt", text_bytes("Plain notes", 3000), "txt", True, False, "no signature"),
    ]


# ---------------------------------------------------------------- every type File Trace knows
# Files of the signature table's types as their programs write them (real ones where a tool on this machine writes
# the format, else put together by the format's own rules), each with what File Trace should make of it: "whole"
# (the format fixes its end, and the file is saved byte for byte), "cut" (longer than the size the hits are saved
# with: cut there and counted as not read whole), "open" (the format keeps no end File Trace reads, or the file only
# starts like one: never counted whole) or "unknown end" (its header leaves its end unknown: found, never whole).

import bz2
import gzip
import io
import lzma
import sqlite3
import struct
import uuid
import wave
import zipfile
import zlib


def _be(fmt, *v):
    return struct.pack(">" + fmt, *v)


def _le(fmt, *v):
    return struct.pack("<" + fmt, *v)


def _read(path):
    with open(path, "rb") as f:
        return f.read()


def _convert(work, name, size, seed, *extra):
    path = os.path.join(work, name)
    run(["convert", "-seed", seed, "-size", size, "plasma:fractal", "-strip", *extra, path])
    return _read(path)


def _sized(head, size_at, size, fmt="<I"):
    """A file of size bytes whose header (head, then other bytes) states its size at size_at."""
    out = bytearray(head + pseudo_bytes("sized" + str(head[:4]), size - len(head)))
    struct.pack_into(fmt, out, size_at, size)
    return bytes(out)


# ---- pictures

def _jpeg_with_segment(jpeg, marker, payload):
    """The JPEG with a segment inserted right after its start marker."""
    return jpeg[:2] + bytes([0xFF, marker]) + _be("H", len(payload) + 2) + payload + jpeg[2:]


def _multi_picture(primary, preview):
    """A camera's JPEG: a multi-picture APP2 segment lists a preview appended after the primary picture's end."""
    def segment(size, offset):
        ifd = _le("H", 3) + _le("HHII", 0xB000, 7, 4, 0x30303130) + _le("HHII", 0xB001, 4, 1, 2)
        ifd += _le("HHII", 0xB002, 7, 32, 8 + 2 + 3 * 12 + 4) + _le("I", 0)
        entries = _le("IIIHH", 0x030000, size, 0, 0, 0) + _le("IIIHH", 0x010001, len(preview), offset, 0, 0)
        return b"MPF\0" + b"II*\0" + _le("I", 8) + ifd + entries
    size = len(primary) + 4 + len(segment(0, 0))
    tiff_header = 2 + 4 + 4  # the start marker, the segment's marker and length, "MPF\0"
    return _jpeg_with_segment(primary, 0xE2, segment(size, size - tiff_header)) + preview


def _tiff(magic, seed):
    """A little-endian TIFF of one strip (grey, 16 x 16) behind the first bytes magic (padded to 16)."""
    strip = pseudo_bytes(seed, 256)
    entries = [(256, 3, 1, 16), (257, 3, 1, 16), (258, 3, 1, 8), (262, 3, 1, 1), (273, 4, 1, 0), (278, 3, 1, 16),
               (279, 4, 1, len(strip))]
    strip_at = 16 + 2 + 12 * len(entries) + 4
    ifd = _le("H", len(entries)) + b"".join(_le("HHII", t, k, n, strip_at if t == 273 else v) for t, k, n, v in entries)
    out = bytearray(magic.ljust(16, b"\0") + ifd + _le("I", 0) + strip)
    struct.pack_into("<I", out, 4, 16)
    return bytes(out)


def _wmf():
    """A placeable metafile: its 22-byte header, then a metafile of one end record (12 words in all)."""
    return b"\xD7\xCD\xC6\x9A" + bytes(18) + _le("HHHIHIH", 1, 9, 0x300, 12, 0, 3, 0) + _le("IH", 3, 0)


def _icns(png):
    return b"icns" + _be("I", 16 + len(png)) + b"ic07" + _be("I", 8 + len(png)) + png


def _box(kind, body):
    return _be("I", 8 + len(body)) + kind + body


def _ftyp(brand, compatible):
    return _box(b"ftyp", brand + _be("I", 0) + b"".join(compatible))


def _jxl():
    return _box(b"JXL ", b"\r\n\x87\n") + _ftyp(b"jxl ", [b"jxl "]) + _box(b"jxlc", pseudo_bytes("jxl", 900))


# ---- archives

def _zip_of(members, stored=False):
    buf = io.BytesIO()
    with zipfile.ZipFile(buf, "w", zipfile.ZIP_STORED if stored else zipfile.ZIP_DEFLATED) as z:
        for name, data in members:
            info = zipfile.ZipInfo(name, (2020, 9, 13, 12, 0, 0))
            if isinstance(data, tuple):  # (bytes, extra field)
                data, info.extra = data
            z.writestr(info, data)
    return buf.getvalue()


def _zip_with_sector_member(name, data):
    """A stored ZIP whose member's bytes begin 512 bytes into the archive: a file inside a file."""
    extra = 512 - 30 - len(name)
    return _zip_of([(name, (data, _le("HH", 0xCAFE, extra - 4) + bytes(extra - 4)))], stored=True)


def _zip_aligned_members(count=6):
    """A stored ZIP whose members' local headers each begin at a sector start of it, as a backup tool's archive of
    files whose sizes fall so: each is the archive going on, not a file of its own."""
    members = [(f"part{i}.bin", pseudo_bytes(f"aligned{i}", 512 * (i + 2) - 30 - 9)) for i in range(count)]
    data = _zip_of(members, stored=True)
    at = 0
    for name, member in members:
        assert data.startswith(b"PK\x03\x04", at) and at % 512 == 0
        at += 30 + len(name) + len(member)
    return data


def _office_open(folder, part):
    return _zip_of([("[Content_Types].xml", text_bytes("types", 600)), ("_rels/.rels", text_bytes("rels", 400)),
                    (folder + part, text_bytes(part, 5000))])


def _seven_zip():
    header = b"\x01\x00"  # a header that holds nothing else: an empty archive
    start = _le("QQI", 0, len(header), zlib.crc32(header))
    return b"7z\xBC\xAF\x27\x1C\x00\x04" + _le("I", zlib.crc32(start)) + start + header


def _arj(name, data):
    """An ARJ archive of one stored file: its main header, the file's header and bytes, the end header."""
    def header(file_type, stored, crc, filename):
        basic = bytes([30, 11, 1, 0, 0, 0, file_type, 0])
        basic += _le("IIIIHHBB", 0x51000000, len(stored), len(stored), crc, 0, 0, 0, 0) + filename + b"\0\0"
        return b"\x60\xEA" + _le("H", len(basic)) + basic + _le("I", zlib.crc32(basic)) + _le("H", 0)
    return header(2, b"", 0, b"SAMPLE.ARJ") + header(0, data, zlib.crc32(data), name) + data + b"\x60\xEA\0\0"


def _ar_member(name, data):
    head = name.ljust(16) + b"1600000000".ljust(12) + b"0".ljust(6) + b"0".ljust(6) + b"100644".ljust(8)
    return head + str(len(data)).encode().ljust(10) + b"`\n" + data + bytes(len(data) & 1)


def _deb():
    members = [(b"debian-binary", b"2.0\n"), (b"control.tar.gz", pseudo_bytes("c", 501)),
               (b"data.tar.xz", pseudo_bytes("data", 3000))]
    return b"!<arch>\n" + b"".join(_ar_member(name, data) for name, data in members)


# ---- documents

def _pdf_with_picture(jpeg):
    """A PDF whose picture's JPEG bytes begin at a sector start inside it: a file inside a file."""
    head = b"%PDF-1.4\n1 0 obj\n<< /Type /Catalog >>\nendobj\n"
    start = b"2 0 obj\n<< /Type /XObject /Subtype /Image /Filter /DCTDecode /Length %d >>\nstream\n" % len(jpeg)
    pad = b"%" + b"p" * (512 - (len(head) + len(start)) % 512 - 2) + b"\n"
    body = head + pad + start + jpeg + b"\nendstream\nendobj\n"
    trailer = b"xref\n0 1\n0000000000 65535 f \ntrailer\n<< /Size 3 /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n"
    return body + trailer % len(body)


def _startxref(pdf):
    return int(pdf[pdf.rindex(b"startxref") + 9:].split()[0])


def _pdf_updated(base, body=b"<< /Note (edited) >>"):
    """A PDF edited once: an incremental update (an object, its cross-reference section, a trailer naming the one
    before as /Prev) and its own %%EOF after the first."""
    update = b"7 0 obj\n" + body + b"\nendobj\n"
    xref = len(base) + len(update)
    update += b"xref\n7 1\n%010d 00000 n \n" % len(base)
    update += b"trailer\n<< /Size 8 /Root 1 0 R /Prev %d >>\n" % _startxref(base)
    return base + update + b"startxref\n%d\n%%%%EOF\n" % xref


def _pdf_edited_with_picture(base, jpeg):
    """A PDF edited once to add a picture whose JPEG bytes begin at a sector start of the file."""
    start = b"<< /Type /XObject /Subtype /Image /Filter /DCTDecode /Length %d >>\nstream\n" % len(jpeg)
    head = len(base) + len(b"7 0 obj\n") + len(start)
    pad = b"%" + b"p" * ((-head - 2) % 512) + b"\n"
    return _pdf_updated(base, pad + start + jpeg + b"\nendstream")


def _wordpad_rtf():
    """WordPad's way (its rich edit control): the generator named, and a zero byte after the closing brace."""
    return (b"{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 Calibri;}}\r\n"
            b"{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang9 "
            + text_bytes("wordpad", 120) + b"\\par\r\n}\r\n\0")


def _rtf():
    """WordPad's way: groups, escaped braces, and a binary part whose bytes hold braces and a backslash."""
    return (b"{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 A {\\b sample} with \\{braces\\} and "
            + b"{\\*\\blip\\bin8 }}{{\\\\}}}" + b" and more " + text_bytes("rtf", 2000) + b"\\par}\r\n")


def _eps(tiff):
    """A DOS EPS: its header names the PostScript and a TIFF preview after it."""
    ps = b"%!PS-Adobe-3.0 EPSF-3.0\n" + text_bytes("eps", 2000)
    return b"\xC5\xD0\xD3\xC6" + _le("IIIIIIH", 30, len(ps), 0, 0, 30 + len(ps), len(tiff), 0xFFFF) + ps + tiff


def _wri():
    """A Windows Write document: its header's page count (pages of 128 bytes) at offset 96."""
    body = text_bytes("wri", 20 * 128)
    return b"\x31\xBE\0\0\0\xAB" + bytes(8) + _le("I", 128 + len(body)) + bytes(78) + _le("H", 21) + bytes(30) + body


def _chm(size=6000):
    """A compiled help file whose first header section (at 0x60) states its size."""
    return (b"ITSF" + _le("IIIII", 3, 0x60, 1, 0, 0x409) + bytes(32) + _le("QQQQQ", 0x60, 0x18, 0x78, 0x100, 0x178)
            + _le("IIQII", 0x1FE, 0, size, 0, 0) + pseudo_bytes("chm", size - 0x78))


def _lotus(bof, opcode, records, size):
    """A Lotus 1-2-3 worksheet: its beginning record, records of an opcode and a length, the end record."""
    rows = b"".join(_le("HH", opcode, size) + pseudo_bytes(f"wk{opcode}/{i}", size) for i in range(records))
    return bof + rows + _le("HH", 1, 0)


def _torrent():
    info = b"d6:lengthi3000e4:name6:a.file12:piece lengthi16384e6:pieces20:" + pseudo_bytes("torrent", 20) + b"e"
    return b"d8:announce20:http://example.test/4:info" + info + b"e"


def _sqlite(work):
    path = os.path.join(work, "sample.sqlite")
    if os.path.exists(path):
        os.remove(path)
    db = sqlite3.connect(path)
    db.execute("create table t (a text)")
    db.executemany("insert into t values (?)", [(f"row {i} " * 20,) for i in range(200)])
    db.commit()
    db.close()
    return _read(path)


def _outlook(client):
    """Outlook's folders (client "SM") or offline folders ("SO"): the Unicode header's end-of-file offset."""
    return _sized(b"!BDN" + bytes(4) + client + _le("H", 23) + bytes(0x200 - 12), 0xB8, 0x4000, "<Q")


# ---- sound and video

def _riff(form, chunks):
    body = form + b"".join(c + _le("I", len(d)) + d + bytes(len(d) & 1) for c, d in chunks)
    return b"RIFF" + _le("I", len(body)) + body


def _wave_cut_off(seed):
    """A recording cut off before its writer came back to fill in the sizes: RIFF and data sizes still 0."""
    data = _wave(seed)
    return data[:4] + bytes(4) + data[8:40] + bytes(4) + data[44:]


def _wave(seed):
    out = io.BytesIO()
    with wave.open(out, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(8000)
        w.writeframes(pseudo_bytes(seed, 6000))
    return out.getvalue()


def _avi():
    frames = [(b"00dc", pseudo_bytes(f"frame{i}", 999)) for i in range(4)]
    return _riff(b"AVI ", [(b"LIST", _riff(b"hdrl", [(b"avih", bytes(56))])[8:]), (b"LIST", _riff(b"movi", frames)[8:]),
                           (b"idx1", bytes(64))])


def _aif():
    sound = pseudo_bytes("aif", 3992)
    common = b"COMM" + _be("I", 18) + _be("hIh", 1, 2000, 16) + b"\x40\x0b\xfa" + bytes(7)
    data = b"SSND" + _be("I", 8 + len(sound)) + bytes(8) + sound
    return b"FORM" + _be("I", 4 + len(common) + len(data)) + b"AIFF" + common + data


def _syncsafe(n):
    return bytes([(n >> 21) & 127, (n >> 14) & 127, (n >> 7) & 127, n & 127])


def _mp3(seed, frames=24):
    """An ID3 tag, frames of MPEG-1 layer III at 128 kbit/s and 44.1 kHz (417 bytes each), an ID3v1 tag."""
    tag = b"TIT2" + _be("I", 12) + b"\0\0" + b"\0A sample mp"
    out = b"ID3\x03\x00\x00" + _syncsafe(len(tag)) + tag
    out += b"".join(b"\xFF\xFB\x90\x64" + pseudo_bytes(f"{seed}/{i}", 413) for i in range(frames))
    return out + b"TAG" + b"A sample".ljust(125, b"\0")


def _song(seed, seconds, rate=44100, kbits=128, tag_to=None):
    """A song as encoders write it: MPEG-1 layer III frames at a constant rate, padded one byte where the rate's
    bytes run ahead (417 or 418 bytes at 44.1 kHz and 128 kbit/s; 576 at 48 kHz and 192 kbit/s), the first an Info
    frame that counts the frames after it and the bytes from it on. tag_to: an ID3 tag before them, its padding
    taking the frames to that offset (512: a tag padded to a sector); none by default."""
    rate_index = {44100: 0, 48000: 1, 32000: 2}[rate]
    kbit_index = [0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320].index(kbits)
    count = seconds * rate // 1152
    sizes, total = [], 0
    for n in range(count + 1):
        end = (n + 1) * 144000 * kbits // rate
        sizes.append(end - total)
        total = end
    base = 144000 * kbits // rate
    header = lambda size: b"\xFF\xFB" + bytes([kbit_index << 4 | rate_index << 2 | (size > base) << 1, 0x44])
    info = b"Info" + _be("III", 3, count, total) + bytes(sizes[0] - 4 - 32 - 16)
    frames = header(sizes[0]) + bytes(32) + info
    frames += b"".join(header(size) + pseudo_bytes(f"{seed}/{n}", size - 4) for n, size in enumerate(sizes[1:], 1))
    if tag_to is None:
        return frames
    title = b"TIT2" + _be("I", 12) + b"\0\0" + b"\0" + seed.encode()[:11].ljust(11, b" ")
    return b"ID3\x03\x00\x00" + _syncsafe(tag_to - 10) + title + bytes(tag_to - 10 - len(title)) + frames


def _adts(seed, frames=20):
    """AAC in ADTS frames: low complexity, 44.1 kHz, two channels."""
    out = b""
    for i in range(frames):
        payload = pseudo_bytes(f"{seed}/{i}", 300)
        n = len(payload) + 7
        out += bytes([0xFF, 0xF1, 0x50, 0x80 | (n >> 11), (n >> 3) & 0xFF, ((n & 7) << 5) | 0x1F, 0xFC]) + payload
    return out


def _ogg_crc(data):
    crc = 0
    for byte in data:
        crc ^= byte << 24
        for _ in range(8):
            crc = (((crc << 1) ^ 0x04C11DB7) if crc & 0x80000000 else crc << 1) & 0xFFFFFFFF
    return crc


def _ogg(seed, pages=4):
    out = b""
    for i in range(pages):
        body = pseudo_bytes(f"{seed}/{i}", 1000)
        kind = 2 if i == 0 else 4 if i == pages - 1 else 0
        head = bytearray(b"OggS\0" + bytes([kind]) + _le("QIII", i * 1000, 0x5EED, i, 0) + bytes([4] + [250] * 4))
        struct.pack_into("<I", head, 22, _ogg_crc(bytes(head) + body))
        out += bytes(head) + body
    return out


def _midi():
    track = b"\x00\x90\x3c\x40" * 250 + b"\x00\xff\x2f\x00"
    return b"MThd" + _be("IHHH", 6, 0, 1, 96) + b"MTrk" + _be("I", len(track)) + track


def _asf(seed, video):
    """An ASF file: its header object (file properties with the file's size, a stream or two), then its data."""
    def obj(guid, body):
        return uuid.UUID(guid).bytes_le + _le("Q", 24 + len(body)) + body

    def stream(kind):
        body = uuid.UUID(kind).bytes_le + bytes(16) + _le("QIIHI", 0, 0, 0, 1, 0)
        return obj("B7DC0791-A9B7-11CF-8EE6-00C00C205365", body)
    data = obj("75B22636-668E-11CF-A6D9-00AA0062CE6C", bytes(16) + _le("QH", 1, 0x0101) + pseudo_bytes(seed, 3000))
    kinds = ["F8699E40-5B4D-11CF-A8FD-00805F5C442B"] + (["BC19EFC0-5B4D-11CF-A8FD-00805F5C442B"] if video else [])
    streams = b"".join(stream(k) for k in kinds)
    header_size = 30 + 24 + 80 + len(streams)
    properties = _le("QQQQQQIIII", header_size + len(data), 0, 1, 0, 0, 0, 2, 3200, 3200, 0)
    header = uuid.UUID("75B22630-668E-11CF-A6D9-00AA0062CE6C").bytes_le
    header += _le("QIBB", header_size, 1 + len(kinds), 1, 2)
    return header + obj("8CABDCA1-A947-11CF-8EE4-00C00C205365", bytes(16) + properties) + streams + data


def _ebml(ident, body, long_size=False):
    size = bytes([0x01]) + len(body).to_bytes(7, "big") if long_size else bytes([0x80 | len(body)])
    return ident + size + body


def _mkv():
    segment = _ebml(b"\xEC", bytes(100)) + pseudo_bytes("mkv", 3000)
    return _ebml(b"\x1A\x45\xDF\xA3", _ebml(b"\x42\x82", b"matroska")) + _ebml(b"\x18\x53\x80\x67", segment, True)


def _flv():
    tag = lambda i: bytes([8]) + _be("I", 1500)[1:] + bytes(7) + pseudo_bytes(f"flv{i}", 1500) + _be("I", 1511)
    return b"FLV\x01\x05" + _be("II", 9, 0) + b"".join(tag(i) for i in range(3))


def _movie(brand, compatible):
    return _ftyp(brand, compatible) + _box(b"moov", bytes(100)) + _box(b"mdat", pseudo_bytes(brand, 3000))


def _mpeg_program():
    pack = b"\x00\x00\x01\xBA\x44\x00\x04\x00\x04\x01\x01\x89\xC3\xF8"
    packets = b"".join(b"\x00\x00\x01\xE0" + _be("H", 1000) + pseudo_bytes(f"pes{i}", 1000) for i in range(4))
    return pack + packets + b"\x00\x00\x01\xB9"


def _scr(ticks, mpeg2):
    """A pack header's system clock reference at 90 kHz, with its marker bits."""
    if mpeg2:
        return bytes([0x44 | (ticks >> 27) & 0x38 | (ticks >> 28) & 3, (ticks >> 20) & 0xFF,
                      (ticks >> 12) & 0xF8 | 4 | (ticks >> 13) & 3, (ticks >> 5) & 0xFF, (ticks << 3) & 0xF8 | 4, 1])
    return bytes([0x21 | (ticks >> 29) & 0x0E, (ticks >> 22) & 0xFF, (ticks >> 14) & 0xFE | 1, (ticks >> 7) & 0xFF,
                  (ticks << 1) & 0xFE | 1])


def _program_stream(seed, packs, mpeg2):
    """A program stream as DVD video (.vob, MPEG-2) and ffmpeg's .mpg (MPEG-1) lay it out: packs of 2048 bytes, each
    a pack header and one packet (the first pack also the system header; video, audio and, on a DVD, the navigation
    packet that begins each unit), and no program end code after the last pack."""
    out = bytearray()
    rate = b"\x01\x89\xC3" if mpeg2 else b"\x80\x1B\x83"
    for i in range(packs):
        head = b"\x00\x00\x01\xBA" + _scr(i * 300, mpeg2) + (rate + b"\xF8" if mpeg2 else rate)
        if i == 0:
            streams = b"\xE0\xE0\x00\xC0\xC0\x20" + (b"\xBD\xE0\x3A\xBF\xE0\x02" if mpeg2 else b"")
            body = b"\x80\x1B\x83\x04\xE1\xFF" + streams
            head += b"\x00\x00\x01\xBB" + _be("H", len(body)) + body
        stream = (0xBF if mpeg2 and i % 16 == 0 else 0xE0) if i % 5 else (0xBD if mpeg2 else 0xC0)
        room = 2048 - len(head) - 6
        payload = pseudo_bytes(f"{seed}/{i}", room)
        if i % 16 == 1:  # a group of pictures begins: its sequence header in the video packet
            payload = (b"\x81\x80\x05" + bytes(5) if mpeg2 else b"\x0F") + b"\x00\x00\x01\xB3\x2D\x02\x40\x33"
            payload += pseudo_bytes(f"{seed}/{i}", room - len(payload))
        out += head + b"\x00\x00\x01" + bytes([stream]) + _be("H", room) + payload
    return bytes(out)


def _mpeg_video():
    """A video stream: its sequence header, data that holds no start code, its end code."""
    data = pseudo_bytes("m1v", 3000)
    while b"\x00\x00\x01" in data:
        data = data.replace(b"\x00\x00\x01", b"\x00\x01\x01")
    return b"\x00\x00\x01\xB3\x14\x00\xF0\x13" + data + b"\x00\x00\x01\xB7"


def _voc():
    block = b"\x9c\x00" + pseudo_bytes("voc", 3000)
    head = b"Creative Voice File\x1A" + _le("HHH", 26, 0x010A, 0x1129)
    return head + b"\x01" + _le("I", len(block))[:3] + block + b"\0"


def _dsf():
    data = pseudo_bytes("dsf", 4000)
    head = b"DSD " + _le("QQQ", 28, 28 + 52 + 12 + len(data), 0) + b"fmt " + _le("Q", 52) + bytes(40)
    return head + b"data" + _le("Q", 12 + len(data)) + data


def _wavpack():
    block = lambda i: (b"wvpk" + _le("IHBBIIIII", 24 + 1000, 0x410, 0, 0, 3000, i * 1000, 1000, 0x1000 * (i == 2), 0)
                       + pseudo_bytes(f"wv{i}", 1000))
    return b"".join(block(i) for i in range(3))


# ---- programs, fonts and the rest

def _program_without_symbols(program, sections):
    """A program as a release build leaves it: its first sections only (resources and relocations last), no symbol
    table, no checksum."""
    data = bytearray(program)
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    optional, table = pe + 24, pe + 24 + struct.unpack_from("<H", data, pe + 20)[0]
    struct.pack_into("<HxxxxII", data, pe + 6, sections, 0, 0)
    struct.pack_into("<I", data, optional + 64, 0)
    end = max(sum(struct.unpack_from("<II", data, table + 40 * i + 16)) for i in range(sections))
    return bytes(data[:end])


def _ttc(font):
    """A collection of one font: its table offsets moved past the collection's header."""
    font = bytearray(font)
    tables, = struct.unpack_from(">H", font, 4)
    for i in range(tables):
        at = 12 + 16 * i + 8
        struct.pack_into(">I", font, at, struct.unpack_from(">I", font, at)[0] + 16)
    return b"ttcf" + _be("III", 0x00010000, 1, 16) + bytes(font)


def _otf():
    return b"OTTO" + _be("HHHH", 1, 16, 0, 0) + b"CFF " + _be("III", 0, 28, 2000) + pseudo_bytes("otf", 2000)


def _evtx():
    header = b"ElfFile\0" + _le("QQQIHHHH", 0, 0, 1, 128, 1, 3, 4096, 1)
    return header + bytes(4096 - len(header)) + pseudo_bytes("evtx", 65536)


def _pdb():
    header = b"Microsoft C/C++ MSF 7.00\r\n\x1ADS\0\0\0" + _le("IIII", 4096, 1, 4, 0)
    return header + bytes(4096 - len(header)) + pseudo_bytes("pdb", 3 * 4096)


def _blend():
    block = b"REND" + _le("IIII", 72, 0, 0, 1) + pseudo_bytes("blend", 72)
    return b"BLENDER_v300" + block + b"ENDB" + _le("IIII", 0, 0, 0, 0)


def every_type(work):
    """[(file name, bytes, expectation, note)] for the types of the signature table a file can be made of here."""
    work = fresh_dir(os.path.join(work, "types"))
    jpeg = _convert(work, "a.jpg", "200x150", 21, "-quality", "85")
    inner_jpeg = _convert(work, "i.jpg", "180x120", 36, "-quality", "85")
    small_jpeg = _convert(work, "s.jpg", "40x30", 22)
    png = _convert(work, "a.png", "120x90", 23, "-define", "png:exclude-chunks=date,time")
    inner_png = _convert(work, "i.png", "100x70", 37, "-define", "png:exclude-chunks=date,time")
    tiff = _convert(work, "a.tif", "64x48", 24, "-compress", "none")
    large_jpeg = _convert(work, "l.jpg", "1600x1100", 25, "-quality", "100", "+noise", "Random")
    icon = _convert(work, "c.ico", "32x32", 31)
    font = _read("/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf")
    summary = lambda title, app: ("\x05SummaryInformation", cfb.summary_information(title, app))
    text = text_bytes
    whole = [
        ("picture.jpg", jpeg),
        ("exif.jpg", _jpeg_with_segment(jpeg, 0xE1, b"Exif\0\0" + small_jpeg)),  # a thumbnail in a segment
        ("camera.jpg", _multi_picture(jpeg, small_jpeg)),
        ("picture.png", png),
        ("picture.gif", _convert(work, "a.gif", "90x70", 26)),
        ("picture.bmp", _convert(work, "a.bmp", "70x50", 27, "-type", "TrueColor")),
        ("picture.tif", tiff),
        ("raw.cr2", _tiff(b"II*\0\x10\0\0\0CR\x02\0", "cr2")),
        ("raw.orf", _tiff(b"IIRO\x08\0\0\0", "orf")),
        ("raw.rw2", _tiff(b"IIU\0\x08\0\0\0", "rw2")),
        ("picture.psd", _convert(work, "a.psd", "60x40", 29)),
        ("picture.ico", _convert(work, "a.ico", "32x32", 30)),
        ("pointer.cur", icon[:2] + b"\x02" + icon[3:]),
        ("picture.jp2", _convert(work, "a.jp2", "64x48", 33)),
        ("picture.jxl", _jxl()),
        ("animation.mng", _convert(work, "a.mng", "40x30", 34)),
        ("picture.jng", _convert(work, "a.jng", "40x30", 35)),
        ("drawing.wmf", _wmf()),
        ("icon.icns", _icns(png)),
        ("archive.zip", _zip_of([("one.txt", text("one", 3000)), ("two.bin", pseudo_bytes("two", 4000))])),
        ("stored.zip", _zip_with_sector_member("inside.png", inner_png)),
        ("aligned members.zip", _zip_aligned_members()),
        ("letter.docx", _office_open("word/", "document.xml")),
        ("sheet.xlsx", _office_open("xl/", "workbook.xml")),
        ("slides.pptx", _office_open("ppt/", "presentation.xml")),
        ("archive.7z", _seven_zip()),
        ("archive.gz", gzip.compress(text("gz", 20000), mtime=0)),
        ("archive.bz2", bz2.compress(text("bz2", 20000))),
        ("archive.xz", lzma.compress(text("xz", 20000))),
        ("archive.zst", run(["zstd", "-q", "-c", "-"], input=text("zst", 20000), binary=True)),
        ("archive.arj", _arj(b"A.BIN", pseudo_bytes("arj", 3000))),
        ("package.deb", _deb()),
        ("letter.doc", _office("doc", "Microsoft Office Word")),
        ("sheet.xls", _office("xls", "Microsoft Excel")),
        ("slides.ppt", _office("ppt", "Microsoft Office PowerPoint")),
        ("word layout.doc", _office("doc", "Microsoft Office Word", 20000, directory_last=True)),
        ("unnamed calc.xls", _office("xls", None, 9000, directory_last=True)),
        ("unnamed impress.ppt", _office("ppt", None, 9000, directory_last=True)),
        ("leaflet.pub", cfb.write([summary("A leaflet", "Microsoft Publisher"), ("Contents", text("pub", 6000))])),
        ("message.msg", cfb.write([("__properties_version1.0", pseudo_bytes("props", 800)),
                                   ("__substg1.0_0037001F", "A message".encode("utf-16-le")),
                                   ("__substg1.0_1000001F", text("body", 5000))])),
        ("picture inside.doc", cfb.write([summary("A doc", "Microsoft Word"), ("Data", inner_jpeg)])),
        ("report.pdf", pdf("Every type", [f"Line {i}" for i in range(30)])),
        ("edited.pdf", _pdf_updated(pdf("Edited", ["first edition"]))),  # a second %%EOF after an update
        ("edited picture.pdf", _pdf_edited_with_picture(pdf("Edited", ["a picture added"]), inner_jpeg)),
        ("picture inside.pdf", _pdf_with_picture(inner_jpeg)),
        ("page.ps", b"%!PS-Adobe-3.0\n" + text("ps", 3000) + b"showpage\n%%EOF\n"),
        ("figure.eps", _eps(tiff)),
        ("notes.rtf", _rtf()),
        ("wordpad.rtf", _wordpad_rtf()),
        ("page.html", b"<!DOCTYPE html>\n<html><body>" + text("html", 3000) + b"</body></html>\n"),
        ("data.xml", b"<?xml version=\"1.0\"?>\n<catalog>" + text("xml", 2500) + b"</catalog>\r\n"),
        ("contacts.vcf", b"".join(b"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Person %d\r\n" % i + text(f"card{i}", 800)
                                  + b"\r\nEND:VCARD\r\n" for i in range(3))),
        ("events.ics", b"BEGIN:VCALENDAR\r\nVERSION:2.0\r\n" + text("ics", 1500) + b"\r\nEND:VCALENDAR\r\n"),
        ("part.stp", b"ISO-10303-21;\nHEADER;\n" + text("stp", 1500) + b"\nEND-ISO-10303-21;\n"),
        ("drawing.dxf", b"  0\r\nSECTION\r\n" + text("dxf", 1500) + b"\r\n  0\r\nEOF\r\n"),
        ("share.torrent", _torrent()),
        ("sound.wav", _wave("wav")),
        ("video.avi", _avi()),
        ("sound.aif", _aif()),
        ("sound.au", b".snd" + _be("IIIII", 24, 4000, 2, 8000, 1) + pseudo_bytes("au", 4000)),
        ("song.mp3", _mp3("mp3")),
        ("untagged.mp3", _song("untagged", 20)),
        ("padded tag.mp3", _song("padded tag", 20, tag_to=512)),
        ("untagged 48k.mp3", _song("untagged 48k", 20, 48000, 192)),
        ("padded tag 48k.mp3", _song("padded 48k", 20, 48000, 192, tag_to=512)),
        ("sound.aac", _adts("aac")),
        ("sound.ogg", _ogg("ogg")),
        ("tune.mid", _midi()),
        ("sound.wma", _asf("wma", False)),
        ("video.wmv", _asf("wmv", True)),
        ("video.mkv", _mkv()),
        ("video.flv", _flv()),
        ("video.mp4", _movie(b"isom", [b"isom", b"mp41"])),
        ("video.mov", _movie(b"qt  ", [b"qt  "])),
        ("video.3gp", _movie(b"3gp5", [b"3gp5"])),
        ("sound.m4a", _movie(b"M4A ", [b"M4A ", b"mp42", b"isom", b"\0\0\0\0"])),
        ("video.mpg", _mpeg_program()),
        ("dvd.vob", _program_stream("vob", 440, True)),
        ("mpeg1.mpg", _program_stream("mpeg1", 300, False)),
        ("video.m1v", _mpeg_video()),
        ("voice.voc", _voc()),
        ("sound.dsf", _dsf()),
        ("sound.wv", _wavpack()),
        ("database.sqlite", _sqlite(work)),
        ("mail.pst", _outlook(b"SM")),
        ("offline.ost", _outlook(b"SO")),
        ("events.evtx", _evtx()),
        ("symbols.pdb", _pdb()),
        ("letter.wri", _wri()),
        ("help.chm", _chm()),
        ("help.hlp", _sized(_le("IIiI", 0x00035F3F, 16, -1, 0), 12, 5000)),
        ("book.djvu", b"AT&TFORM" + _be("I", 4 + 3000) + b"DJVU" + pseudo_bytes("djvu", 3000)),
        ("sheet.wk1", _lotus(_le("HHH", 0, 2, 0x0406), 0x0F, 20, 100)),
        ("sheet.wk3", _lotus(_le("HHHH", 0, 26, 0x1000, 4) + bytes(22), 0x16, 10, 200)),
        ("program.exe", _read("/usr/lib/i386-linux-gnu/wine/i386-windows/attrib.exe")),
        ("release build.exe", _program_without_symbols(_read("/usr/lib/i386-linux-gnu/wine/i386-windows/attrib.exe"), 8)),
        ("library.dll", _read("/usr/lib/gcc/i686-w64-mingw32/12-posix/libssp-0.dll")),
        ("program.elf", _read("/bin/true")),
        ("program.dex", _sized(b"dex\n035\0" + bytes(0x70 - 8), 32, 4000)),
        ("font.ttf", font),
        ("fonts.ttc", _ttc(font)),
        ("font.otf", _otf()),
        ("font.woff", _sized(b"wOFF" + _be("I", 0x00010000) + bytes(36), 8, 3000, ">I")),
        ("font.woff2", _sized(b"wOF2" + _be("I", 0x00010000) + bytes(40), 8, 3000, ">I")),
        ("movie.swf", b"FWS\x0a" + _le("I", 8 + 3000) + pseudo_bytes("swf", 3000)),
        ("packed.swf", b"CWS\x0a" + _le("I", 8 + 6000) + zlib.compress(text("cws", 6000))),
        ("model.glb", _sized(b"glTF" + _le("II", 2, 0), 8, 3000)),
        ("model.u3d", _sized(b"U3D\0" + _le("IIIII", 32, 0, 0x100, 0, 0) + bytes(12), 24, 3000, "<Q")),
        ("scene.blend", _blend()),
    ]
    inside = {"stored.zip", "picture inside.doc", "picture inside.pdf", "edited picture.pdf"}
    return ([(name, data, "whole", "a picture at a sector start inside" if name in inside else "")
             for name, data in whole]
            + [("large.jpg", large_jpeg, "cut", "longer than the size the hits are saved with"),
               ("large.bmp", _convert(work, "l.bmp", "900x900", 28, "-type", "TrueColor"), "cut", "it says 2.4 MB"),
               ("picture.pcx", _convert(work, "a.pcx", "50x40", 32), "open", ""),
               ("cut off.wav", _wave_cut_off("cut off"), "unknown end", "RIFF size 0")])


def fragment_samples(work):
    """Files of a few types again, other bytes of the same formats: copied in pieces around freed clusters."""
    work = fresh_dir(os.path.join(work, "fragments"))
    return [
        ("frag.jpg", _convert(work, "f.jpg", "240x180", 41)),
        ("frag.png", _convert(work, "f.png", "100x80", 42, "-define", "png:exclude-chunks=date,time")),
        ("frag.bmp", _convert(work, "f.bmp", "60x60", 43, "-type", "TrueColor")),
        ("frag.zip", _zip_of([("a.txt", text_bytes("frag zip", 5000)), ("b.bin", pseudo_bytes("frag zip", 6000))])),
        ("frag.doc", _office("doc", "Microsoft Word")),
        ("frag.pdf", pdf("Fragmented", [f"Line {i} of the fragmented one" for i in range(60)])),
        ("frag.mp3", _song("frag", 2)),
    ]


def overwritten_samples(work):
    """Files deleted and written over from their first cluster by a smaller one of their type: [(old name, old bytes,
    new name, new bytes)]. The new PDF's cross-reference lies inside it; the new song counts its frames, which run on
    into the old song's (same rate, same layout)."""
    old_pdf = pdf("The old, longer one", [f"Line {i} of the old document, which was longer" for i in range(2600)])
    return [
        ("old report.pdf", old_pdf, "new report.pdf", pdf("The new one", ["short"])),
        ("old song.mp3", _song("old song", 30), "new song.mp3", _song("new song", 8)),
    ]


def only_starts(extensions, signature_of):
    """A file for each of the types no sample was made for: its signature, then other bytes."""
    return [(f"starts like{ext}", signature_of(ext) + pseudo_bytes("starts" + ext, 4000), "open",
             "only its signature") for ext in extensions]
