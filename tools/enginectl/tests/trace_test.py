#!/usr/bin/env python3
"""enginectl trace against what the carving samples should give and against photorec's hits in the manifest.

    trace_test.py --enginectl PATH --images DIR --samples DIR --work DIR

--samples is what engine/scan/make_trace_samples.py wrote: carving.tsv (each carving sample of carving.raw with
the hit File Trace should make at its sector when every sample type is ticked), photorec.tsv (photorec's hits),
trace.fixed.vhd with trace.tsv (samples of its own: an Office Open XML document, compound files).

photorec validates the structure of what it carves and File Trace does not: every photorec hit must be a File
Trace hit of the same type, and File Trace may find more (a truncated JPEG). The figures are printed.
"""
import argparse
import hashlib
import json
import os
import shutil
import subprocess
import sys

WRAPPERS = ["carving.fixed.vhd", "carving.dynamic.vhd"]
NOT_FOUND = "Dorvane was unable to find correct partition parameters."
MIB = 1 << 20
WRITTEN_MB = 2
# The formats whose own checks see a file's bytes broken off by other bytes (chunk CRCs, the archive's directory,
# the allocation table's marks and the directory's chains, the cross-reference's place, the JPEG's markers and scan,
# RIFF chunks leading to the stated size, frames as many as the song's Info frame counts, a program's imports,
# relocations and resources where its headers place them). Those that cannot: a bitmap's
# pixels, a WAV's sound after its last chunk header, a stream of packs or frames that stops at the break as a whole
# one stops (an MP3 without an Info frame, MPEG program streams), and formats that state a size and nothing more.
SEEN_BROKEN = {".png", ".zip", ".doc", ".xls", ".ppt", ".pdf", ".jpg", ".avi", ".mp3", ".exe", ".dll"}
# Samples of those formats whose break lies where nothing shows it: compound files whose tables and directory come
# before it (only a stream's bytes lie after), a song without an Info frame.
NOT_SEEN = {"letter.doc", "sheet.xls", "slides.ppt", "picture inside.doc", "song.mp3"}


def break_seen(name):
    name = name.removeprefix("two pieces of ")
    return os.path.splitext(name)[1] in SEEN_BROKEN and name not in NOT_SEEN


def read_tsv(path):
    with open(path, encoding="utf-8") as f:
        return [line.rstrip("\n").split("\t") for line in f if line.strip()]


class Checker:
    def __init__(self, enginectl):
        self.enginectl = enginectl
        self.failures = []

    def check(self, ok, what):
        if not ok:
            self.failures.append(what)
        return ok

    def run(self, *args):
        proc = subprocess.run([self.enginectl, *map(str, args)], stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                              text=True, timeout=300)
        return proc.returncode, proc.stdout, proc.stderr

    def trace(self, image, code, count, types, *extra):
        rc, out, err = self.run("trace", image, "--range", code, 0, count, "--types", ",".join(types), *extra)
        self.check(rc == 0, f"trace {image} {types}: exit {rc}: {err.strip()}")
        hits = {}
        for n, line in enumerate(out.splitlines(), 1):
            sector, name, group = line.split("\t")
            self.check(name.split(".", 1)[0] == str(n), f"{image}: hit {n} is named {name}")
            hits[int(sector)] = (name, "." + name.split(".", 1)[1], group)
        sectors = list(hits)
        self.check(sectors == sorted(sectors), f"{image}: hits not in sector order")
        return hits, out


def sectors_of(path, disk):
    for name, sectors in read_tsv(path):
        if name == disk:
            return int(sectors)
    raise SystemExit(f"no disk {disk} in {path}")


def check_carving(c, images, samples_dir):
    samples = read_tsv(os.path.join(samples_dir, "carving.tsv"))
    photorec = [(int(s), e) for s, e in read_tsv(os.path.join(samples_dir, "photorec.tsv"))]
    count = sectors_of(os.path.join(samples_dir, "disks.tsv"), "carving")
    types = sorted({row[1] for row in samples if row[5] == "1"})
    for wrapper in WRAPPERS:
        image = os.path.join(images, wrapper)
        hits, _ = c.trace(image, 200, count, types)
        for sector, kind, valid, _, _, hit, ext, group in samples:
            sector = int(sector)
            if hit == "1":
                if c.check(sector in hits, f"{wrapper}: no hit at {sector} ({kind}, valid {valid})"):
                    c.check(hits[sector][1:] == (ext, group), f"{wrapper}: {sector} gives {hits[sector]}, not {ext} {group}")
            else:
                c.check(sector not in hits, f"{wrapper}: a hit at {sector} ({kind}), whose signature is not at its start")
        valid_found = [int(r[0]) for r in samples if r[2] == "1" and r[5] == "1" and int(r[0]) in hits]
        common = [s for s, e in photorec if s in hits and hits[s][1] == e]
        for s, e in photorec:
            c.check(s in hits and hits[s][1] == e, f"{wrapper}: photorec's {e} hit at {s} not found as {e}")
        extra = {s: h for s, h in hits.items() if s not in dict(photorec)}
        invalid = {int(r[0]) for r in samples if r[2] == "0"}
        for s, h in extra.items():
            c.check(s in invalid, f"{wrapper}: hit {h[0]} at {s} is neither photorec's nor an invalid sample")
        print(f"{wrapper}: types {','.join(types)}: File Trace {len(hits)} hits, photorec {len(photorec)}, "
              f"common {len(common)}; valid samples found {len(valid_found)} of "
              f"{sum(1 for r in samples if r[2] == '1' and r[5] == '1')}; File Trace only: "
              + ", ".join(f"{s} {h[0]}" for s, h in sorted(extra.items())))
    # Each type alone: photorec's hits of that type are File Trace's of that type.
    image = os.path.join(images, WRAPPERS[0])
    for kind in types:
        hits, _ = c.trace(image, 200, count, ["." + kind])
        for s, e in photorec:
            if e == "." + kind:
                c.check(s in hits and hits[s][1] == e, f"--types {kind}: photorec's hit at {s} not found as {e}")
        c.check(all(h[1] == "." + kind for h in hits.values()), f"--types {kind}: another type among {hits}")


def check_spliced(c, samples_dir, work):
    """JPEGs broken off inside their scan by another's scan data up to its end marker: never counted whole."""
    image = os.path.join(samples_dir, "trace.fixed.vhd")
    count = sectors_of(os.path.join(samples_dir, "disks.tsv"), "trace")
    spliced = [int(sector) for sector, name, _ in read_tsv(os.path.join(samples_dir, "trace.tsv"))
               if name.startswith("spliced_")]
    saved = saved_hits(c, image, 100, count, work, "spliced")
    whole = [s for s in spliced if s in saved and not saved[s][2]]
    c.check(all(s in saved for s in spliced), f"spliced JPEGs not found: {[s for s in spliced if s not in saved]}")
    c.check(not whole, f"spliced JPEGs counted whole: {whole}")
    print(f"trace disk: {len(whole)} of {len(spliced)} JPEGs broken off by another's scan data counted whole")


def check_trace_disk(c, samples_dir):
    image = os.path.join(samples_dir, "trace.fixed.vhd")
    count = sectors_of(os.path.join(samples_dir, "disks.tsv"), "trace")
    samples = {name: (int(sector), named) for sector, name, named in read_tsv(os.path.join(samples_dir, "trace.tsv"))}
    docx = samples["office_open_xml.docx"][0]
    hits, _ = c.trace(image, 100, count, ["docx", "pub"])
    c.check(hits.get(docx, ("", ""))[1] == ".docx", f"docx with pub ticked: {hits.get(docx)}")
    # A compound file found through ".doc" takes the extension its naming gives when that type is ticked too.
    for ticked in (["doc", "pub"], ["doc", "xls", "ppt", "pub"]):
        hits, _ = c.trace(image, 100, count, ticked)
        for name, (sector, named) in samples.items():
            if name.endswith(".cfb"):
                want = named if named[1:] in ticked else ".doc"
                c.check(hits.get(sector, ("", ""))[1] == want, f"{name} with {ticked} ticked: {hits.get(sector)}, not {want}")


def check_failures(c, images, samples_dir, work):
    image = os.path.join(images, WRAPPERS[0])
    count = sectors_of(os.path.join(samples_dir, "disks.tsv"), "carving")
    rc, out, err = c.run("trace", image, "--range", 300, 0, count, "--types", "jpg")
    c.check(rc == 1 and out == "" and f"2\t{NOT_FOUND}" in err, f"NTFS range on a FAT disk: {rc} {out!r} {err!r}")
    for args in (["--types", "nosuchtype"], ["--types", ""], [], ["--types", "jpg", "--raw-dat", os.path.join(work, "none.dat")]):
        rc, out, err = c.run("trace", image, "--range", 200, 0, count, *args)
        c.check(rc == 2 and out == "", f"trace {args}: exit {rc}")
    rc, _, _ = c.run("trace", image, "--types", "jpg")
    c.check(rc == 2, "trace without a range")


def check_snapshot(c, images, samples_dir, work):
    image = os.path.join(images, WRAPPERS[0])
    count = sectors_of(os.path.join(samples_dir, "disks.tsv"), "carving")
    path = os.path.join(work, "trace.vsnp")
    if os.path.exists(path):
        os.remove(path)
    hits, printed = c.trace(image, 200, count, ["jpg", "png", "doc", "xls"], "--file-size", 1, "--snapshot-save", path)
    rc, loaded, err = c.run("snapshot-load", path, "--image", image)
    c.check(rc == 0 and loaded == printed, f"snapshot-load of the saved hits: {rc} {err.strip()}\n{loaded}")
    # Saved from the snapshot: each hit from its sector to where its format ends, the sample written there byte for
    # byte; the JPEG cut short, whose end is not there, at the size chosen for the trace, counted damaged.
    out = os.path.join(work, "trace.saved")
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    rc, _, err = c.run("save", image, "--snapshot", path, "--out", out)
    c.check(rc == 3 and "Files that could not be read whole: 1" in err, f"save from the snapshot: {rc} {err.strip()}")
    with open(os.path.join(images, "carving.raw.manifest.json"), encoding="utf-8") as f:
        manifest = json.load(f)
    placed = {s["start_sector"]: s for s in manifest["carving"]["samples"]}
    built = {s["path"]: s for s in manifest["built"]["samples"]}
    for sector, (name, _, _) in hits.items():
        saved = os.path.join(out, name)
        got = open(saved, "rb").read() if os.path.isfile(saved) else b""
        sample = built[placed[sector]["path"]]
        want = sample["sha256"] if sample["valid"] else None
        ok = hashlib.sha256(got).hexdigest() == want if want else len(got) == MIB
        c.check(ok, f"{name} saved from the snapshot: {len(got)} bytes, not {sample['path']} ({sample['size']} bytes)")


def table_types():
    """Every type of the signature table, as the file-types dialog would have them all ticked."""
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "signatures", "signatures.tsv")
    with open(path, encoding="utf-8") as f:
        rows = [line.split("\t") for line in f if line.strip() and not line.startswith(("#", "group\t"))]
    return sorted({r[1] for r in rows})


def saved_hits(c, image, code, count, work, name):
    """Every type traced at 2 MB and every hit saved: {sector: (hit name, SHA-256 of the saved bytes, counted damaged,
    their length)}."""
    snapshot, out = os.path.join(work, name + ".vsnp"), os.path.join(work, name)
    for path in (snapshot, out + ".audit"):
        if os.path.exists(path):
            os.remove(path)
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    hits, _ = c.trace(image, code, count, table_types(), "--file-size", WRITTEN_MB, "--snapshot-save", snapshot)
    rc, _, err = c.run("save", image, "--snapshot", snapshot, "--out", out, "--audit", out + ".audit")
    c.check(rc in (0, 3), f"{name}: save: {rc} {err.strip()}")
    damaged = {line.split("\t")[1] for line in open(out + ".audit").read().splitlines() if line.startswith("damaged\t")}
    saved = {}
    for sector, (file, _, _) in hits.items():
        path = os.path.join(out, file)
        data = open(path, "rb").read() if os.path.isfile(path) else None
        saved[sector] = (file, data and hashlib.sha256(data).hexdigest(), file in damaged, len(data or b""))
    shutil.rmtree(out)  # a few hundred MB of hits saved at 2 MB
    return saved


def check_written(c, samples_dir, work):
    """The files of every type written to a FAT32 and an NTFS volume, judged by their bytes: a file whose format
    fixes its end is saved byte for byte and counted whole, one longer than the size chosen is cut there and counted
    damaged, one whose end File Trace cannot find is never counted whole; a fragmented one is never counted whole
    when its format's own checks see the break; no hit lies where no file begins (an NTFS volume's $UpCase starts
    like an icon). Printed beside photorec's files carved byte for byte."""
    rows = read_tsv(os.path.join(samples_dir, "written.tsv"))
    for disk, code in (("written_fat32", 200), ("written_ntfs", 300)):
        count = sectors_of(os.path.join(samples_dir, "disks.tsv"), disk)
        hits = saved_hits(c, os.path.join(samples_dir, disk + ".fixed.vhd"), code, count, work, disk)
        figures = {}
        placed, remnants = set(), set()
        for _, name, kind, sector, size, sha, carved, pieces in (r for r in rows if r[0] == disk):
            if sector == "-":
                continue
            if kind == "overwritten":  # a deleted file's tail after the new one: what it gives is not judged
                remnants.update(range(int(sector), int(sector) + (int(size) + 511) // 512))
                continue
            if kind in ("two pieces", "fragmented"):  # a later piece of it may start like a file of its own
                for piece in pieces.split(","):
                    first, count = map(int, piece.split("+"))
                    remnants.update(s for s in range(first, first + count) if s != int(sector))
            placed.add(int(sector))
            file, digest, damaged, length = hits.get(int(sector), (None, None, False, 0))
            same = digest == sha
            tally = figures.setdefault(kind, [0, 0, 0, 0, 0])
            tally[0] += 1
            tally[1] += same
            tally[2] += int(carved)
            tally[3] += file is not None and not damaged and not same
            tally[4] += file is not None and damaged
            if kind in ("whole", "inside"):
                c.check(same and not damaged, f"{disk}: {name} at {sector}: hit {file}, "
                        f"{'not ' if not same else ''}identical, {'damaged' if damaged else 'whole'}")
            elif kind == "cut":
                c.check(damaged and length == WRITTEN_MB * MIB,
                        f"{disk}: {name} (longer than {WRITTEN_MB} MB) saved as {file}, damaged {damaged}")
            elif kind in ("fragmented", "two pieces") and break_seen(name):
                c.check(file is None or damaged or same, f"{disk}: {name}, in {kind}, counted whole with other bytes")
            elif kind == "open":
                c.check(file is None or damaged, f"{disk}: {name}, whose end cannot be known, counted whole as {file}")
            elif kind == "unknown end":
                c.check(file is not None and damaged, f"{disk}: {name}, whose header leaves its end unknown: hit {file}, "
                        f"{'damaged' if damaged else 'whole'}")
        others = {s: h[0] for s, h in hits.items() if s not in placed and s not in remnants}
        c.check(not others, f"{disk}: hits where no file begins: {sorted(others.items())[:8]}")
        for kind, (n, same, carved, wrong, damaged) in sorted(figures.items()):
            print(f"{disk} {kind}: {n} files; File Trace saved {same} byte for byte, counted {wrong} whole with other "
                  f"bytes and {damaged} damaged; photorec carved {carved} byte for byte")
        streams = [r for r in rows if r[0] == disk and r[2] == "whole" and r[3] != "-"
                   and os.path.splitext(r[1])[1] in (".mp3", ".mpg", ".vob")]
        inner = sum(1 for r in streams for s in hits if int(r[3]) < s < int(r[3]) + (int(r[4]) + 511) // 512)
        print(f"{disk}: {len(hits)} hits, {sum(h[3] for h in hits.values())} bytes saved; {len(streams)} MPEG streams "
              f"and songs, {inner} more hits inside them")
        for kind in ("two pieces", "fragmented"):
            wrong = sorted(r[1].removeprefix("two pieces of ") for r in rows if r[0] == disk and r[2] == kind and r[3] != "-"
                           and hits.get(int(r[3]), (None, None, True))[1] not in (None, r[5])
                           and not hits[int(r[3])][2])
            print(f"{disk} {kind} counted whole with other bytes: {' '.join(wrong) or 'none'}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--enginectl", required=True)
    parser.add_argument("--images", required=True)
    parser.add_argument("--samples", required=True)
    parser.add_argument("--work", required=True)
    args = parser.parse_args()
    os.makedirs(args.work, exist_ok=True)
    c = Checker(args.enginectl)
    check_carving(c, args.images, args.samples)
    check_trace_disk(c, args.samples)
    check_spliced(c, args.samples, args.work)
    check_failures(c, args.images, args.samples, args.work)
    check_snapshot(c, args.images, args.samples, args.work)
    check_written(c, args.samples, args.work)
    for f in c.failures:
        print("FAIL:", f)
    print(f"trace: {len(c.failures)} failures")
    return 1 if c.failures else 0


if __name__ == "__main__":
    sys.exit(main())
