#!/usr/bin/env python3
"""What the File Trace tests expect of the carving samples, and a small disk of samples of their own.

Writes into --out:
- carving.tsv: one row per carving sample of carving.raw's manifest: start sector, type, valid, deleted,
  photorec_hit (0/1), then what File Trace should give there with every sample type ticked (TYPES): hit (0/1),
  extension and group. The first signature of the signature table (in the file-types tree's order) whose bytes
  begin the sample's sector names the hit; a compound file found through ".doc" takes the extension of the
  application that the sample's summary information names.
- photorec.tsv: photorec's hits in the manifest: sector, extension.
- disks.tsv: the sectors of the disks the tests trace: carving.raw (and its wrappers), trace.fixed.vhd.
- trace.fixed.vhd and trace.tsv: a FAT16 volume (mkfs.fat) in a fixed VHD, with samples written at sectors of
  its free data area: sector, sample name, the extension its compound-file naming gives ("-" for none).
- written_fat32.fixed.vhd, written_ntfs.fixed.vhd and written.tsv: a FAT32 volume (mkfs.fat, mtools) and an NTFS
  volume (mkntfs, the NTFS helper) holding a file of every type of the signature table (samples.every_type), the
  FAT32 one also copies of some fragmented around freed clusters; each as ordinary files written to a fresh volume.
  One row per file, and per file inside a file found at a sector start: disk, name, what File Trace should make of
  it ("whole", "inside" for a whole file inside another, "cut", "open", "fragmented"), its first sector (as The
  Sleuth Kit's istat places it; "-" for a file kept in its MFT record), size, SHA-256, and whether photorec (every
  type enabled, on the same volume) carved it byte for byte (1/0), and where its pieces lie ("first+count,...").
"""

import argparse
import io
import json
import os
import re
import struct
import sys
import tempfile
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tools", "images"))
sys.path.insert(0, HERE)
import make_compound_samples as compound  # noqa: E402
import ntfs  # noqa: E402
import oracle  # noqa: E402
import samples  # noqa: E402
import vhd  # noqa: E402
from util import SECTOR, fresh_dir, make_sparse, pseudo_bytes, run, sha256_bytes  # noqa: E402

TYPES = ["jpg", "png", "gif", "bmp", "pdf", "zip", "doc", "xls", "ppt"]
TRACE_SECTORS = 8192
WRITTEN_MIB = 64


def read_table(path):
    """The signature table's rows: (group, extension, description, signature bytes), usable ones only."""
    rows = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line or line.startswith("#") or line.startswith("group\t"):
                continue
            group, ext, description, compare, signature, _ = line.split("\t")
            data = bytes.fromhex(signature)
            if 1 <= len(data) <= 15 and int(compare) == len(data):
                rows.append((group, ext, description, data))
    return rows


def ticked_rows(rows, extensions):
    """The rows of the ticked extensions in the file-types tree's order: groups as they first appear, types
    within a group likewise, the rows of a type in table order."""
    groups = []
    for group, ext, _, _ in rows:
        entry = next((g for g in groups if g[0] == group), None)
        if entry is None:
            entry = (group, [])
            groups.append(entry)
        if ext not in entry[1]:
            entry[1].append(ext)
    return [r for _, types in groups for t in types if t in extensions for r in rows if r[1] == t]


def first_match(rows, sector_bytes):
    return next((r for r in rows if sector_bytes.startswith(r[3])), None)


def app_extension(app):
    ext = compound.extension(app)
    return "-" if ext == "-" else ext


def carving_expectations(images, table):
    with open(os.path.join(images, "carving.raw.manifest.json")) as f:
        manifest = json.load(f)
    notes = {s["path"]: s["note"] for s in manifest["built"]["samples"]}
    rows = ticked_rows(table, ["." + t for t in TYPES])
    prefix = "compound file; application name "
    out = []
    with open(os.path.join(images, "carving.raw"), "rb") as raw:
        for s in manifest["carving"]["samples"]:
            raw.seek(s["start_sector"] * SECTOR)
            match = first_match(rows, raw.read(SECTOR))
            ext, group = "-", "-"
            if match:
                ext, group = match[1], match[2]
                note = notes[s["path"]]
                named = app_extension(note[len(prefix):]) if note.startswith(prefix) else "-"
                if ext in (".doc", ".docx") and named in [r[1] for r in rows]:
                    ext = named
            out.append([s["start_sector"], s["type"], int(s["valid"]), int(s["deleted"]), int(s["photorec_hit"]),
                        int(match is not None), ext, group])
    hits = [[h["sector"], "." + h["ext"]] for h in manifest["carving"]["photorec"]["hits"]]
    return out, hits, manifest["virtual_disk"]["size"] // SECTOR


def office_open_xml():
    """A ZIP as Office writes its documents: version 2.0 and flags 6 in every local header, as the ".docx"
    signature has them."""
    data = bytearray(compound.zip_bytes())
    at = 0
    while True:
        at = data.find(b"PK\x03\x04", at)
        if at < 0:
            break
        struct.pack_into("<HH", data, at + 4, 0x14, 6)
        at += 4
    at = 0
    while True:
        at = data.find(b"PK\x01\x02", at)
        if at < 0:
            break
        struct.pack_into("<H", data, at + 8, 6)
        at += 4
    assert zipfile.ZipFile(io.BytesIO(bytes(data))).testzip() is None
    return bytes(data)


def sibling_past_the_end(data):
    """The compound file with its first stream entry's right link past the end of the directory."""
    data = bytearray(data)
    directory = (struct.unpack_from("<I", data, 0x30)[0] + 1) * SECTOR
    struct.pack_into("<I", data, directory + 128 + 0x48, SECTOR // 128 + 1)
    return bytes(data)


def trace_samples():
    """[(sector, name, bytes, extension of the compound-file naming)]."""
    other = compound.office("Dorvane Sample Writer")
    return [
        (2048, "office_open_xml.docx", office_open_xml(), "-"),
        (2304, "other_app.cfb", other, ".pub"),
        (2560, "sibling_past_the_end.cfb", sibling_past_the_end(compound.office("Microsoft Excel", "Workbook")), "-"),
        (2816, "word.cfb", compound.office("Microsoft Word"), ".doc"),
        # Office suites other than Microsoft's name no application: the main stream tells.
        (3072, "unnamed_calc.cfb", samples._office("xls", None), ".xls"),
        (3328, "unnamed_impress.cfb", samples._office("ppt", None), ".ppt"),
    ]


def spliced_jpegs(work, count=24):
    """JPEGs broken off inside their scan by other bytes: the first sectors of one, then another's scan data from a
    sector of it to its end marker, as a picture written in pieces between another's clusters reads from the disk:
    [(name, bytes)]."""
    work = fresh_dir(os.path.join(work, "spliced"))
    pictures = [samples._convert(work, f"{i}.jpg", f"{40 + 7 * i}x{30 + 5 * i}", 50 + i, "-quality", str(60 + i))
                for i in range(count + 1)]

    def scan(data):
        at = data.index(b"\xFF\xDA")
        return at + 2 + struct.unpack(">H", data[at + 2:at + 4])[0]
    out = []
    for i, (a, b) in enumerate(zip(pictures, pictures[1:])):
        cut, start = -(-scan(a) // SECTOR) * SECTOR, -(-scan(b) // SECTOR) * SECTOR
        assert cut < len(a) - 2 and start < len(b) - 2
        out.append((f"spliced_{i}.jpg", a[:cut] + b[start:]))
    return out


def write_trace_disk(out):
    volume = os.path.join(out, "trace.raw")
    if os.path.exists(volume):
        os.remove(volume)
    run(["mkfs.fat", "-C", "--invariant", "--mbr=n", "-F", "16", "-s", 1, "-g", "255/63", "-h", 0, "-n", "TRACE",
         volume, TRACE_SECTORS // 2])
    rows = []
    with open(volume, "r+b") as f:
        for sector, name, data, ext in trace_samples():
            f.seek(sector * SECTOR)
            f.write(data)
            rows.append([sector, name, ext])
        for i, (name, data) in enumerate(spliced_jpegs(os.path.join(out, "trace-work"))):
            sector = 4096 + 128 * i
            assert len(data) <= 128 * SECTOR
            f.seek(sector * SECTOR)
            f.write(data)
            rows.append([sector, name, "-"])
        f.seek(TRACE_SECTORS * SECTOR)
        f.write(vhd.make_footer(TRACE_SECTORS * SECTOR, vhd.FIXED, vhd.unique_id("trace"), 0xFFFFFFFFFFFFFFFF))
    os.replace(volume, os.path.join(out, "trace.fixed.vhd"))
    return rows


def every_type(work, table):
    """The files of every type (samples.every_type, then one that only starts like each type left), and the files
    inside them that begin at a sector of theirs: [(name, bytes, expectation, (outer name, offset) or None)]."""
    first = {}
    for _, ext, _, data in table:
        first.setdefault(ext, data)
    made = samples.every_type(work)
    covered = {os.path.splitext(name)[1] for name, *_ in made}
    made += samples.only_starts(sorted(set(first) - covered), first.get)
    files = [(name, data, expect, None) for name, data, expect, _ in made]
    for name, data, _, note in made:
        if "inside" in note:
            for offset in range(SECTOR, len(data), SECTOR):
                inner = next((b for b in inner_samples(data) if data.startswith(b, offset)), None)
                if inner:
                    files.append((f"{name}@{offset}", inner, "inside", (name, offset)))
    return files


def inner_samples(data):
    """The pictures the samples put inside other files: a JPEG or PNG from its signature to its end."""
    found = []
    for sig, end in ((b"\xFF\xD8\xFF", b"\xFF\xD9"), (b"\x89PNG", b"IEND\xAE\x42\x60\x82")):
        at = data.find(sig)
        while at >= 0:
            stop = data.find(end, at)
            if stop > 0:
                found.append(data[at:stop + len(end)])
            at = data.find(sig, at + 1)
    return found


def next_free_hint(raw, value=None):
    """The FAT32 volume's hint of where to look for free clusters (its FSInfo sector), which mtools follows: it takes
    the first free cluster after it. Set to value when given; the hint before is returned."""
    with open(raw, "r+b") as f:
        f.seek(48)
        fsinfo = struct.unpack("<H", f.read(2))[0]
        f.seek(fsinfo * SECTOR + 492)
        old = struct.unpack("<I", f.read(4))[0]
        if value is not None:
            f.seek(fsinfo * SECTOR + 492)
            f.write(struct.pack("<I", value))
    return old


def write_staged(staging, name, data):
    with open(os.path.join(staging, name), "wb") as f:
        f.write(data)


def overwrite_old_files(raw, staging, pairs):
    """Each old file written and deleted, then its new one written from the old one's first cluster: the old file's
    tail stays after the new one's end, as on a disk where nothing else was written there."""
    starts = []
    for old, data, _, _ in pairs:
        write_staged(staging, old, data)
        starts.append(next_free_hint(raw))
        run(["mcopy", "-i", raw, old, "::/"], cwd=staging)
    after = next_free_hint(raw)
    run(["mdel", "-i", raw] + ["::/" + old for old, *_ in pairs])
    for (_, _, new, data), start in zip(pairs, starts):
        write_staged(staging, new, data)
        next_free_hint(raw, start)
        run(["mcopy", "-i", raw, new, "::/"], cwd=staging)
    next_free_hint(raw, after)


def two_pieces(raw, staging, files):
    """Each file written in two pieces: its first half, a run of other bytes (another file's), then the rest. Holes
    are left between those other files, each the size of one file's rest and the next one's first half, and the files
    are written into them in order."""
    clusters = [(len(d) + SECTOR - 1) // SECTOR for _, d in files]
    firsts = [n // 2 for n in clusters]
    holes = [firsts[0]] + [n - a + b for n, a, b in zip(clusters, firsts, firsts[1:])] + [clusters[-1] - firsts[-1]]
    start = next_free_hint(raw)
    names = []
    for i, size in enumerate(holes):
        write_staged(staging, f"hole{i:03d}", pseudo_bytes(f"hole{i}", size * SECTOR))
        write_staged(staging, f"between{i:03d}", pseudo_bytes(f"between{i}", 2 * SECTOR))
        names += [f"hole{i:03d}", f"between{i:03d}"]
    run(["mcopy", "-i", raw] + names + ["::/"], cwd=staging)
    after = next_free_hint(raw)
    run(["mdel", "-i", raw] + ["::/" + n for n in names[::2]])
    for name, data in files:
        write_staged(staging, name, data)
    next_free_hint(raw, start)
    run(["mcopy", "-i", raw] + [n for n, _ in files] + ["::/"], cwd=staging)
    next_free_hint(raw, after)


def fat32_volume(work, raw, files):
    """The files written over bigger old ones, every file copied onto a fresh FAT32 volume of 512-byte clusters, the
    files of more than one cluster again in two pieces, then the fragmented copies: clusters of filler files, every
    other one freed, take them. Returns {name on the volume: (sample name, bytes, kind or None)}."""
    staging = fresh_dir(os.path.join(work, "fat32"))
    if os.path.exists(raw):
        os.remove(raw)
    run(["mkfs.fat", "-C", "--invariant", "--mbr=n", "-F", "32", "-s", 1, "-n", "WRITTEN", raw, WRITTEN_MIB * 1024])
    pairs = samples.overwritten_samples(work)
    overwrite_old_files(raw, staging, pairs)
    named = {new: (new, data, "whole") for _, _, new, data in pairs}
    named.update({old: (old, data, "overwritten:" + new) for old, data, new, _ in pairs})
    names = []
    for i, (name, data, _, outer) in enumerate(files):
        if outer is None:
            names.append(f"{i:03d}{os.path.splitext(name)[1]}")
            write_staged(staging, names[-1], data)
            named[names[-1]] = (name, data, None)
    run(["mcopy", "-i", raw] + names + ["::/"], cwd=staging)
    split = [(f"two{i:03d}{os.path.splitext(name)[1]}", name, data) for i, (name, data, kind, outer) in enumerate(files)
             if outer is None and kind == "whole" and len(data) > SECTOR]
    two_pieces(raw, staging, [(n, d) for n, _, d in split])
    named.update({n: ("two pieces of " + name, d, "two pieces") for n, name, d in split})
    fragmented = samples.fragment_samples(work)
    fillers = [f"fill{i:04d}" for i in range(sum(len(d) // SECTOR + 1 for _, d in fragmented) * 2)]
    for n in fillers:
        write_staged(staging, n, pseudo_bytes(n, SECTOR))
    for n, d in fragmented:
        write_staged(staging, n, d)
    at_fillers = next_free_hint(raw)
    run(["mcopy", "-i", raw] + fillers + ["::/"], cwd=staging)
    # The rest of the volume taken, but for the old files' tails (which it would reach last), so that the freed
    # clusters are the only room left.
    tails = sum(-(-len(old) // SECTOR) - -(-len(new) // SECTOR) for _, old, _, new in pairs)
    free = int(re.search(r"([\d ]+) bytes free", run(["mdir", "-i", raw, "::/"])).group(1).replace(" ", ""))
    make_sparse(os.path.join(staging, "rest"), free - tails * SECTOR)
    run(["mcopy", "-i", raw, "rest", "::/"], cwd=staging)
    run(["mdel", "-i", raw] + ["::/" + n for n in fillers[::2]])
    next_free_hint(raw, at_fillers)
    run(["mcopy", "-i", raw] + [n for n, _ in fragmented] + ["::/"], cwd=staging)
    named.update({n: (n, d, None) for n, d in fragmented})
    return named


def ntfs_volume(work, raw, helper, files):
    """Every file written to a fresh NTFS volume of 4 KiB clusters, then those of more than one cluster again in two
    pieces: the second half written first (the first a hole), then the first half, which the volume places after it
    and after the other files written meanwhile."""
    staging = fresh_dir(os.path.join(work, "ntfs"))
    ntfs.make_empty(raw, WRITTEN_MIB, 4096, "WRITTEN")
    script, named = [], {}
    for i, (name, data, _, outer) in enumerate(files):
        if outer is not None:
            continue
        n = f"{i:03d}{os.path.splitext(name)[1]}"
        write_staged(staging, n, data)
        script.append(["put", "/" + n, os.path.join(staging, n)])
        named[n] = (name, data, None)
    for i, (name, data, kind, outer) in enumerate(files):
        if outer is not None or kind != "whole" or len(data) <= 4096:
            continue
        n, half = f"two{i:03d}{os.path.splitext(name)[1]}", len(data) // 8192 * 4096
        write_staged(staging, n + ".1", data[:half])
        write_staged(staging, n + ".2", data[half:])
        write_staged(staging, f"between{i:03d}", pseudo_bytes(f"between{i}", 8192))
        script += [["sparse", "/" + n, len(data), half, os.path.join(staging, n + ".2")],
                   ["put", f"/between{i:03d}", os.path.join(staging, f"between{i:03d}")],
                   ["write", "/" + n, 0, os.path.join(staging, n + ".1")]]
        named[n] = ("two pieces of " + name, data, "two pieces")
    ntfs.run_script(helper, raw, script, os.path.join(work, "written_ntfs.script"))
    return named


def written_rows(disk, raw, work, files, named):
    """The rows of written.tsv for one volume: where The Sleuth Kit places each file, and photorec's carving. An old
    file written over is deleted: its row places it for the hits its tail may give."""
    cluster = 1 if disk == "written_fat32" else 8
    sectors = {}
    for e in oracle.fls(raw, 0):
        if e["path"] in named and not e["dir"] and not e["deleted"]:
            runs, _ = oracle.content_runs(raw, 0, e["addr"], cluster)
            sectors[e["path"]] = runs
    with tempfile.TemporaryDirectory(dir=work) as carve:
        carved = {h["sha256"] for h in oracle.photorec(raw, carve, types=None)["hits"]}
    expect = {name: (kind, outer) for name, _, kind, outer in files}
    rows = []
    for n, (name, data, kind) in sorted(named.items()):
        runs = sectors.get(n, [])
        if kind and kind.startswith("overwritten:"):  # it began where its new file begins
            runs, kind = sectors.get(kind.split(":", 1)[1], []), "overwritten"
        elif len(runs) > 1:
            kind = "fragmented" if kind is None else kind
        else:
            kind = expect.get(name.removeprefix("two pieces of "), ("whole",))[0] if kind in (None, "two pieces") else kind
        first = runs[0][0] if runs else "-"
        pieces = ",".join(f"{a}+{n}" for a, n in runs) or "-"
        rows.append([disk, name, kind, first, len(data), sha256_bytes(data), int(sha256_bytes(data) in carved), pieces])
        for inner, inner_data, inner_kind, outer in files:
            if outer and outer[0] == name.removeprefix("two pieces of ") and len(runs) == 1:
                rows.append([disk, inner, inner_kind, first + outer[1] // SECTOR, len(inner_data),
                             sha256_bytes(inner_data), int(sha256_bytes(inner_data) in carved), "-"])
    return rows


def write_written_disks(out, table, helper):
    work = fresh_dir(os.path.join(out, "written-work"))
    files = every_type(work, table)
    rows, sectors = [], []
    for disk in ("written_fat32", "written_ntfs"):
        raw = os.path.join(out, disk + ".raw")
        named = fat32_volume(work, raw, files) if disk == "written_fat32" else ntfs_volume(work, raw, helper, files)
        rows += written_rows(disk, raw, work, files, named)
        size = os.path.getsize(raw)
        with open(raw, "ab") as f:
            f.write(vhd.make_footer(size, vhd.FIXED, vhd.unique_id(disk), 0xFFFFFFFFFFFFFFFF))
        os.replace(raw, os.path.join(out, disk + ".fixed.vhd"))
        sectors.append([disk, size // SECTOR])
    return rows, sectors


def write_tsv(path, rows):
    with open(path, "w") as f:
        for row in rows:
            f.write("\t".join(str(c) for c in row) + "\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--images", required=True)
    parser.add_argument("--table", default=os.path.join(ROOT, "tools", "signatures", "signatures.tsv"))
    parser.add_argument("--out", required=True)
    parser.add_argument("--ntfs-helper", required=True)
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    samples, hits, carving_sectors = carving_expectations(args.images, read_table(args.table))
    write_tsv(os.path.join(args.out, "carving.tsv"), samples)
    write_tsv(os.path.join(args.out, "photorec.tsv"), hits)
    write_tsv(os.path.join(args.out, "trace.tsv"), write_trace_disk(args.out))
    written, written_sectors = write_written_disks(args.out, read_table(args.table), args.ntfs_helper)
    write_tsv(os.path.join(args.out, "written.tsv"), written)
    write_tsv(os.path.join(args.out, "disks.tsv"),
              [["carving", carving_sectors], ["trace", TRACE_SECTORS]] + written_sectors)
    return 0


if __name__ == "__main__":
    sys.exit(main())
