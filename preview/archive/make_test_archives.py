#!/usr/bin/env python3
"""Writes the archives the archive tests read: ZIPs made by zipfile, gzip and tar streams made by gzip and
tarfile, a cabinet made by gcab (when it is there), one of many members written here and listings for the
test's stand-in RAR library (one of many members). The hostile archives' writers serve the preview benchmark too."""
import gzip
import io
import os
import shutil
import struct
import subprocess
import sys
import tarfile
import zipfile

STAMP = (2021, 3, 4, 5, 6, 8)          # DOS wall clock of the members
UT_MTIME, UT_ATIME = 1600000000, 1600000100
README = b"Dorvane archive test\r\nsecond line\r\n"


def info(name, system=3, attributes=0o644 << 16, method=zipfile.ZIP_DEFLATED):
    item = zipfile.ZipInfo(name, STAMP)
    item.create_system = system
    item.external_attr = attributes
    item.compress_type = method
    return item


def write_zip(path, members):
    with zipfile.ZipFile(path, "w") as z:
        for item, data in members:
            z.writestr(item, data)


def write_listing(path):
    """What zipfile makes of each member: name, "Yes" for a folder entry, its own (uncompressed) size."""
    with zipfile.ZipFile(path) as z:
        rows = ["%s\t%s\t%d" % (i.filename, "Yes" if i.is_dir() else "No", i.file_size) for i in z.infolist()]
    open(path + ".listing", "w", encoding="utf-8", newline="\n").write("\n".join(rows) + "\n")


def folders_zip(out):
    """Members in folders and the folders' own entries, deflated: sizes that differ from the stored ones."""
    path = os.path.join(out, "folders.zip")
    write_zip(path, [
        (info("Quarterly/", attributes=(0o40755 << 16) | 0x10), b""),
        (info("Quarterly/data_1.bin"), bytes(i % 7 for i in range(831))),
        (info("Quarterly/Old/", attributes=(0o40755 << 16) | 0x10), b""),
        (info("Quarterly/Old/notes.txt"), b"quarterly notes " * 40),
        (info("summary.txt"), README),
    ])
    write_listing(path)


def plain_zip(out):
    timed = info("docs/guide.txt")
    timed.extra = b"UT" + struct.pack("<HBII", 9, 3, UT_MTIME, UT_ATIME)
    write_zip(os.path.join(out, "plain.zip"), [
        (info("readme.txt"), README),
        (info("docs/", attributes=(0o40755 << 16) | 0x10), b""),
        (timed, b"guide " * 1000),
        (info("locked.txt", attributes=0o444 << 16), b"read only"),
        (info("dos-archive.txt", system=0, attributes=0x20), b"made on DOS"),
        (info("dos-readonly.txt", system=0, attributes=0x21), b"made on DOS, read-only"),
        (info("stored.bin", method=zipfile.ZIP_STORED), bytes(range(256)) * 4),
    ])
    write_listing(os.path.join(out, "plain.zip"))


def hostile_zip(out):
    write_zip(os.path.join(out, "hostile.zip"), [
        (info(name), b"should never be written") for name in
        ["../evil.txt", "/abs.txt", "C:/drive.txt", "a/../../up.txt", "..\\back.txt", "ok/inner.txt"]
    ] + [(info("../evil-dir/", attributes=(0o40755 << 16) | 0x10), b"")])


class OemInfo(zipfile.ZipInfo):
    """A member named in code page 437 without the UTF-8 flag, as Windows' compressed folders name them."""
    def _encodeFilenameFlags(self):
        return self.filename.encode("cp437"), self.flag_bits


def names_zips(out):
    """Names beyond ASCII as zippers write them, each archive with a listing of the names written:
    names.zip by zipfile (code page 437 without the UTF-8 flag, and UTF-8 with it), names-zip.zip by zip
    (the names' UTF-8 bytes, without the flag)."""
    oem, utf8 = ["Caf\u00e9 r\u00e9sum\u00e9.txt", "Gr\u00f6\u00dfe \u00bd.txt"], ["\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac.txt"]
    path = os.path.join(out, "names.zip")
    write_zip(path, [(OemInfo(name, STAMP), name.encode()) for name in oem] + [(info(name), name.encode()) for name in utf8])
    open(path + ".listing", "w", encoding="utf-8", newline="\n").write(
        "".join("%s\tNo\t%d\n" % (name, len(name.encode())) for name in oem + utf8))
    work = os.path.join(out, "zip-src")
    os.makedirs(work, exist_ok=True)
    for name in oem + utf8:
        open(os.path.join(work, name), "wb").write(name.encode())
        os.utime(os.path.join(work, name), (UT_MTIME, UT_MTIME))
    target = os.path.join(out, "names-zip.zip")
    if os.path.exists(target):
        os.remove(target)
    subprocess.run(["zip", "-q", "-X", target] + oem + utf8, cwd=work, check=True, env=dict(os.environ, LC_ALL="C.UTF-8"))
    shutil.copyfile(path + ".listing", target + ".listing")


DOS_DATE = ((2021 - 1980) << 9) | (3 << 5) | 4
DOS_TIME = (5 << 11) | (6 << 5) | 4


def damaged_central_zip(count=2000, damaged=1000):
    """count small stored members; the central header of member `damaged` no longer starts with its
    signature, so the directory's chain ends there."""
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w", zipfile.ZIP_STORED) as z:
        for i in range(count):
            z.writestr(info("member %04d.txt" % i, method=zipfile.ZIP_STORED), b"%016d" % i)
    raw = bytearray(buffer.getvalue())
    at = raw.index(b"PK\x01\x02")
    for _ in range(damaged):
        name, extra, comment = struct.unpack_from("<HHH", raw, at + 28)
        at += 46 + name + extra + comment
    raw[at:at + 4] = b"PK\x00\x00"
    return bytes(raw)


def zip64_claim_zip(members=0x7FFFFFFE):
    """One stored member "a.txt", with a ZIP64 end record that claims `members` members in a directory of
    one header."""
    name, body = b"a.txt", b"hello"
    crc = zipfile.crc32(body)
    local = struct.pack("<IHHHHHIIIHH", 0x04034B50, 20, 0, 0, DOS_TIME, DOS_DATE, crc, len(body), len(body),
                        len(name), 0) + name + body
    central = struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 45, 20, 0, 0, DOS_TIME, DOS_DATE, crc, len(body),
                          len(body), len(name), 0, 0, 0, 0, 0x20, 0) + name
    record_at = len(local) + len(central)
    record = struct.pack("<IQHHIIQQQQ", 0x06064B50, 44, 45, 45, 0, 0, members, members, len(central), len(local))
    locator = struct.pack("<IIQI", 0x07064B50, 0, record_at, 1)
    end = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, 0xFFFF, 0xFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0)
    return local + central + record + locator + end


def hand_zip(members, zip64_offsets=False):
    """A ZIP of (name, data, method, flags, extra) members written as they are given: the data are stored
    whatever the method says, so that any method can be listed without its compressor. zip64_offsets: each
    central header gives its local header's offset in a ZIP64 block."""
    body, central = b"", b""
    for name, data, method, flags, extra in members:
        name = name.encode()
        crc = zipfile.crc32(data)
        head = struct.pack("<HHHHHIII", 20, flags, method, DOS_TIME, DOS_DATE, crc, len(data), len(data))
        offset, central_extra = len(body), extra
        if zip64_offsets:
            offset, central_extra = 0xFFFFFFFF, extra + struct.pack("<HHQ", 1, 8, len(body))
        central += struct.pack("<IH", 0x02014B50, 45) + head + struct.pack(
            "<HHHHHII", len(name), len(central_extra), 0, 0, 0, 0x20, offset) + name + central_extra
        body += struct.pack("<I", 0x04034B50) + head + struct.pack("<HH", len(name), len(extra)) + name + extra + data
    end = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(members), len(members), len(central), len(body), 0)
    return body + central + end


def method_zips(out):
    """Sound archives whose members use methods the reader lists but does not extract."""
    with zipfile.ZipFile(os.path.join(out, "lzma.zip"), "w", zipfile.ZIP_LZMA) as z:
        z.writestr(info("readme.txt", method=zipfile.ZIP_LZMA), README)
        z.writestr(info("docs/", attributes=(0o40755 << 16) | 0x10, method=zipfile.ZIP_LZMA), b"")
        z.writestr(info("docs/big.txt", method=zipfile.ZIP_LZMA), b"compressed with LZMA " * 2000)
    aes = struct.pack("<HHH2sBH", 0x9901, 7, 2, b"AE", 3, 8)   # AE-2, AES-256, then deflated
    open(os.path.join(out, "methods.zip"), "wb").write(hand_zip([
        ("stored.txt", b"stored as it is", 0, 0, b""),
        ("deflate64.bin", b"deflate64 bytes" * 10, 9, 0, b""),
        ("ppmd.txt", b"ppmd bytes", 98, 0, b""),
        ("aes.txt", b"aes bytes" * 3, 99, 1, aes),
        ("crypt.txt", b"zipcrypto bytes", 8, 1, b""),
        ("bzip2.txt", b"bzip2 bytes", 12, 0, b""),
    ]))
    # A stub before the archive (as a self-extracting program has); and with it, local headers found
    # through ZIP64 blocks.
    members = [("first.txt", b"first member", 0, 0, b""), ("second.txt", b"second member", 0, 0, b"")]
    open(os.path.join(out, "stub.zip"), "wb").write(b"MZ stub " * 64 + hand_zip(members))
    open(os.path.join(out, "zip64offsets.zip"), "wb").write(b"MZ stub " * 64 + hand_zip(members, zip64_offsets=True))


def many_member_cabinet(count=65535):
    """An uncompressed cabinet of count one-byte members "f00000.txt"... in one folder."""
    names = [("f%05d.txt" % i).encode() + b"\0" for i in range(count)]
    files_at = 36 + 8
    files = b"".join(struct.pack("<IIHHHH", 1, i, 0, DOS_DATE, DOS_TIME, 0x20) + n for i, n in enumerate(names))
    data_at = files_at + len(files)
    payload = bytes(b"abcdefghijklmnopqrstuvwxyz"[i % 26] for i in range(count))
    blocks = [payload[i:i + 32768] for i in range(0, len(payload), 32768)]
    data = b"".join(struct.pack("<IHH", 0, len(b), len(b)) + b for b in blocks)
    header = struct.pack("<4sIIIIIBBHHHHH", b"MSCF", 0, data_at + len(data), 0, files_at, 0, 3, 1, 1, count, 0,
                         0x1234, 0)
    return header + struct.pack("<IHH", data_at, len(blocks), 0) + files + data


def damaged_zips(out):
    data = b"CRC checked data " * 64
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w") as z:
        z.writestr(info("good.txt", method=zipfile.ZIP_STORED), b"good")
        z.writestr(info("bad.txt", method=zipfile.ZIP_STORED), data)
    raw = bytearray(buffer.getvalue())
    at = raw.index(data)
    raw[at + 100] ^= 0x55                        # the stored bytes no longer match their CRC
    open(os.path.join(out, "crc.zip"), "wb").write(raw)
    # Three members; the second one's local header is overwritten, the central directory is whole.
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w") as z:
        for name in ("first.txt", "second.txt", "third.txt"):
            z.writestr(info(name, method=zipfile.ZIP_STORED), name.encode() * 4)
    raw = bytearray(buffer.getvalue())
    second = raw.index(b"PK\x03\x04", 4)
    raw[second:second + 4] = b"XXXX"
    open(os.path.join(out, "badheader.zip"), "wb").write(raw)
    whole = open(os.path.join(out, "plain.zip"), "rb").read()
    open(os.path.join(out, "truncated.zip"), "wb").write(whole[: len(whole) // 2])
    open(os.path.join(out, "notzip.zip"), "wb").write(b"This is a text file, not a ZIP archive.\n" * 10)
    open(os.path.join(out, "badcentral.zip"), "wb").write(damaged_central_zip())
    open(os.path.join(out, "zip64claim.zip"), "wb").write(zip64_claim_zip())
    # A member that would inflate past the preview's limit.
    with zipfile.ZipFile(os.path.join(out, "bigmember.zip"), "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr(info("zeros.bin"), bytes(80 << 20))


def gzip_files(out):
    text = b"A plain gzip stream of text.\nLine two.\n"
    open(os.path.join(out, "text.gz"), "wb").write(gzip.compress(text, mtime=0))
    whole = gzip.compress(text * 200, mtime=0)
    open(os.path.join(out, "truncated.gz"), "wb").write(whole[: len(whole) - 20])
    crc = bytearray(whole)
    crc[-8] ^= 0xFF                               # the trailer's CRC
    open(os.path.join(out, "crc.gz"), "wb").write(crc)
    open(os.path.join(out, "empty.gz"), "wb").write(gzip.compress(b"", mtime=0))
    with open(os.path.join(out, "bomb.gz"), "wb") as f:   # 256 MiB of zeros in a few hundred KB
        with gzip.GzipFile(fileobj=f, mode="wb", mtime=0, compresslevel=9) as g:
            block = bytes(1 << 20)
            for _ in range(256):
                g.write(block)


def tar_bytes(members):
    buffer = io.BytesIO()
    with tarfile.open(fileobj=buffer, mode="w", format=tarfile.USTAR_FORMAT) as t:
        for name, data in members:
            item = tarfile.TarInfo(name)
            if data is None:
                item.type = tarfile.DIRTYPE
            else:
                item.size = len(data)
            item.mtime = UT_MTIME
            t.addfile(item, io.BytesIO(data) if data is not None else None)
    return bytearray(buffer.getvalue())


def tar_files(out):
    members = [("first.txt", b"first member\n"), ("second.txt", b"second member, a little longer\n" * 30),
               ("third.txt", b"third\n")]
    raw = tar_bytes(members)
    open(os.path.join(out, "three.tar.gz"), "wb").write(gzip.compress(bytes(raw), mtime=0))
    bad = bytearray(raw)
    second = 512 + 512                             # header of the second member
    bad[second + 148] = ord("7")                   # its checksum no longer matches
    open(os.path.join(out, "badsum.tar.gz"), "wb").write(gzip.compress(bytes(bad), mtime=0))
    # The last member announces more bytes than the archive holds.
    short = tar_bytes([("whole.txt", b"whole\n"), ("cut.txt", b"x" * 4000)])
    short = short[: 512 * 2 + 512 + 1024]
    open(os.path.join(out, "outside.tar.gz"), "wb").write(gzip.compress(bytes(short), mtime=0))
    folder = tar_bytes([("dir/", None), ("dir/a.txt", b"a\n")])
    open(os.path.join(out, "folder.tar.gz"), "wb").write(gzip.compress(bytes(folder), mtime=0))


def cabinet(out):
    gcab = shutil.which("gcab")
    if gcab is None:
        return
    work = os.path.join(out, "cab-src")
    os.makedirs(os.path.join(work, "sub"), exist_ok=True)
    open(os.path.join(work, "top.txt"), "wb").write(b"top level member\n")
    open(os.path.join(work, "sub", "inner.txt"), "wb").write(b"inner member of the cabinet\n" * 3)
    target = os.path.join(out, "test.cab")
    if os.path.exists(target):
        os.remove(target)
    subprocess.run([gcab, "-c", target, "top.txt", "sub/inner.txt"], cwd=work, check=True)


def many_member_zip(count):
    """count empty stored members "f00000.txt"... in order."""
    buffer = io.BytesIO()
    write_zip(buffer, [(info("f%05d.txt" % i, method=zipfile.ZIP_STORED), b"") for i in range(count)])
    return buffer.getvalue()


def fake_rar(out):
    # name|flags|packed|unpacked|DOS date-time|attributes, read by the test's stand-in library.
    lines = [
        "FAKE-RAR",
        "readme.txt|32960|10|20|%d|32" % ((41 << 25) | (3 << 21) | (4 << 16) | (5 << 11) | (6 << 5) | 4),
        "photos|32992|0|0|%d|16" % ((41 << 25) | (3 << 21) | (4 << 16)),
        "photos\\big.iso|32768|4294967396|5000000000|%d|33" % ((41 << 25) | (3 << 21) | (4 << 16)),
        "Caf\u00e9 odd|224|0|0|%d|0" % ((41 << 25) | (15 << 21) | (4 << 16)),
    ]
    # The library's narrow names are in the OEM code page.
    open(os.path.join(out, "test.rar"), "wb").write(("\n".join(lines) + "\n").encode("cp437"))
    open(os.path.join(out, "empty.rar"), "w", newline="\n").write("FAKE-RAR\n")
    open(os.path.join(out, "broken.rar"), "w", newline="\n").write("not a rar\n")
    many = ["FAKE-RAR"] + ["f%05d.txt|32960|1|1|%d|32" % (i, (41 << 25) | (3 << 21) | (4 << 16)) for i in range(12000)]
    open(os.path.join(out, "many.rar"), "w", newline="\n").write("\n".join(many) + "\n")


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    plain_zip(out)
    folders_zip(out)
    names_zips(out)
    hostile_zip(out)
    damaged_zips(out)
    method_zips(out)
    gzip_files(out)
    tar_files(out)
    cabinet(out)
    open(os.path.join(out, "many.cab"), "wb").write(many_member_cabinet())
    # A thousand members whose table is cut short inside the 501st: the first 500 entries are whole.
    open(os.path.join(out, "cut.cab"), "wb").write(many_member_cabinet(1000)[:44 + 27 * 500 + 5])
    open(os.path.join(out, "many.zip"), "wb").write(many_member_zip(12000))
    fake_rar(out)


if __name__ == "__main__":
    main()
