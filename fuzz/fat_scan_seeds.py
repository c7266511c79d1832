#!/usr/bin/env python3
"""Writes the seeds of fuzz_fat_scan: FAT volumes made by mkfs.fat and mtools, and crafted ones, in the sparse-file
form of image_fuzz_file.h (image_seeds.encode):
- fat16_history, fat32_history: folders, long names, a deleted folder whose cluster a new folder took, deleted files,
  a folder moved and then deleted (a deleted entry of it in its old parent and one in its new);
- fat16_shared_chains, fat32_shared_chains: folders that all run on into one shared chain of directory clusters
  (tools/images/fat_shared_chains.py), the shape that once made every folder read the whole chain;
- fat12_history: the same history on a FAT12 volume (12-bit table entries, some across a sector's end);
- fat16_crossed_first_copy, fat32_crossed_first_copy: two folders of 40 files, the first's first cluster linked
  into the second's second cluster in the first table copy only (the copies lead the folder two ways);
- fat12_floppy: a 1.44 MB floppy (media F0, a root of 224 entries).

    python3 fuzz/fat_scan_seeds.py
"""
import os
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "tools", "images"))

sys.path.insert(0, os.path.join(os.path.dirname(HERE), "tools", "enginectl", "tests"))

import fat_shared_chains  # noqa: E402
from fat_written_volumes import Volume  # noqa: E402
from fat import _forget_next_free as forget_next_free  # noqa: E402
from image_seeds import encode  # noqa: E402
from util import pseudo_bytes, run  # noqa: E402

HISTORY = [("mmd", "Docs"), ("mmd", "OldDir"), ("mrd", "OldDir"), ("mmd", "Docs/NewDir"), ("mmd", "Docs/A long folder name"),
           ("put", "Docs/NewDir/FILE.TXT", 3000), ("put", "Docs/A long folder name/Notes of the day.txt", 1500),
           ("put", "Gone.bin", 700), ("mdel", "Gone.bin"), ("mmd", "Docs/Moved"),
           ("mmd", "Docs/Attic"), ("put", "Docs/Moved/in.txt", 900), ("mmove", "Docs/Moved", "Docs/Attic/Moved"),
           ("mdeltree", "Docs/Attic")]


def history(raw, fat32, bits=None, mib=None, spc=1):
    with open(raw, "wb") as f:
        f.truncate((mib or (40 if fat32 else 16)) << 20)
    run(["mkfs.fat", "--invariant", "-F", bits or (32 if fat32 else 16), "-s", spc, raw])
    local = raw + ".file"
    for step in HISTORY:
        if step[0] == "put":
            with open(local, "wb") as f:
                f.write(pseudo_bytes(step[1], step[2]))
            run(["mcopy", "-i", raw, "-D", "o", local, "::/" + step[1]])
        else:
            run([step[0], "-i", raw] + ["::/" + p for p in step[1:]])
            forget_next_free(raw, "fat32" if fat32 else "fat16")  # freed clusters are given out again


def main():
    folder = os.path.join(HERE, "corpus", "fuzz_fat_scan")
    os.makedirs(folder, exist_ok=True)
    with tempfile.TemporaryDirectory() as tmp:
        for fat32 in (False, True):
            kind = "fat32" if fat32 else "fat16"
            raw = os.path.join(tmp, kind + ".raw")
            history(raw, fat32)
            with open(os.path.join(folder, kind + "_history"), "wb") as f:
                f.write(encode(raw))
            fat_shared_chains.build(raw, 16, 48, fat32, 40 if fat32 else 16)
            with open(os.path.join(folder, kind + "_shared_chains"), "wb") as f:
                f.write(encode(raw))
        raw = os.path.join(tmp, "fat12.raw")
        history(raw, False, 12, 4, 4)
        with open(os.path.join(folder, "fat12_history"), "wb") as f:
            f.write(encode(raw))
        for kind in ("fat16", "fat32"):
            v = Volume(tmp, kind + "_crossed", kind, 16 if kind == "fat16" else 40)
            v.mkdir("ALPHA", "BETA")
            for name in ("ALPHA", "BETA"):
                v.put_many(name, {"%s%02d.TXT" % (name[0], i): 300 for i in range(40)})
            v.link(v.chain_of("ALPHA")[0], v.chain_of("BETA")[1], (1,))
            with open(os.path.join(folder, kind + "_crossed_first_copy"), "wb") as f:
                f.write(encode(v.raw))
        v = Volume(tmp, "floppy", "fat12", 0)
        v.mkdir("DOCS", "PHOTOS")
        for i in range(4):
            v.put("DOCS/report %d.doc" % i, 1500 + 300 * i)
        with open(os.path.join(folder, "fat12_floppy"), "wb") as f:
            f.write(encode(v.raw))


if __name__ == "__main__":
    main()
