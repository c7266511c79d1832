#!/usr/bin/env python3
"""Writes what the results-listing tests read besides the shared test images.

    make_listing_volume.py --images DIR --out FILE [--ntfs-helper PATH]

1. A small NTFS volume (mkntfs, filled through libntfs-3g as tools/images/ntfs.py does) whose files are 4 GiB and
   larger, all but a few bytes holes, so that sizes above 32 bits can be listed from a real MFT:

       Huge sparse file.bin            5 GiB, 4 KiB of data at 4 GiB + 8 KiB
       notes.TXT
       Nested/readme.txt
       Nested/Deeper/Exactly four GiB.bin    4 GiB (its low 32 bits are 0)
       Nested/Deeper/small.txt

   and, as Windows volumes hold them, a file of three names (hard links: Nested/readme.txt is also
   Nested/Deeper/readme.txt, one name in two folders as System32 and WinSxS share files, and
   "Nested/readme, second name.txt", two names in one folder), and last write times of several years, one of
   them never set (the time 0, small.txt's; TSK gives none).

   TSK cannot follow a sparse run longer than the volume and lists those files with size 0, so the sizes of this
   volume's files come from ntfs-3g's ntfsls; TSK gives the rest.

   It is written as a fixed VHD, listing_sparse.fixed.vhd, beside FILE, with listing_sparse.fixed.vhd.manifest.json
   holding what TSK's fls lists on it in the shared manifests' form (volumes[0].entries).

2. FILE: what TSK lists in every folder of the FAT16, FAT32 and NTFS volumes the tests scan (fat16.fixed.vhd,
   fat32.fixed.vhd and ntfs_4k.fixed.vhd of the shared images, and the volume above), one line per folder or file
   that a recovery program shows as the user's (oracle.user_entries, no named streams), tab-separated:

       IMAGE  FOLDER  NAME  KIND  DELETED  SIZE  CREATED  MODIFIED

   FOLDER is the path of the containing folder ("" for the root), KIND D or F, NAME as TSK writes it
   (oracle.fat_names_match says how FAT names compare). CREATED and MODIFIED as the results list writes them:
   NTFS TSK's crtime and mtime ("13-9-2020 12:26:40", "-" when TSK gives none or the time was never set, which
   the list shows empty; its mtime is the standard information's); FAT the dates of TSK's mtime and atime ("13-09-2020 "), the write and the access date the list
   shows there. Before the lines of each image, "#volume IMAGE CODE SECTORS" gives its
   file-system code and the volume's size in sectors (every volume starts at sector 0).
"""
import json
import os
import re
import shutil
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.abspath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, os.path.join(REPO, "tools", "images"))

import oracle  # noqa: E402
from generate import own_volume_arguments  # noqa: E402
from util import fresh_dir, pseudo_bytes, run, text_bytes  # noqa: E402

GIB = 1 << 30
VOLUME = "listing_sparse.fixed.vhd"
SHARED = [("fat16.fixed.vhd", 100), ("fat32.fixed.vhd", 200), ("ntfs_4k.fixed.vhd", 300)]
FOLDERS = ["Nested", "Nested/Deeper"]
# path, size, offset of the data, the data
SPARSE = [
    ("Huge sparse file.bin", 5 * GIB, 4 * GIB + 8192, 4096),
    ("Nested/Deeper/Exactly four GiB.bin", 4 * GIB, 4 * GIB - 4096, 4096),
]
TEXTS = [("notes.TXT", 200), ("Nested/readme.txt", 700), ("Nested/Deeper/small.txt", 300)]
# a file's further names: existing path, new name
LINKS = [("Nested/readme.txt", "Nested/Deeper/readme.txt"), ("Nested/readme.txt", "Nested/readme, second name.txt")]
# last write (and access) times, in seconds since 1970; NEVER is the NTFS time 0
NEVER = -11644473600
TIMES = [("notes.TXT", 1609502400), ("Nested/readme.txt", 1562241600), ("Nested/Deeper/small.txt", NEVER),
         ("Nested/Deeper/Exactly four GiB.bin", 1578960000)]
TIME = re.compile(r"^(\d{4})-(\d\d)-(\d\d) (\d\d):(\d\d):(\d\d)")


def build_volume(out_dir, helper):
    work = fresh_dir(os.path.join(out_dir, "listing_work"))
    raw = os.path.join(work, "volume.raw")
    with open(raw, "wb") as f:
        f.truncate(16 * 1024 * 1024)
    run(["mkntfs", "-q", "-F", "-Q", "-T", "-c", 4096, "-s", 512, "-p", 0, "-H", 255, "-S", 63, "-L", "SPARSE", raw])
    script = [["mkdir", "/" + folder] for folder in FOLDERS]
    for i, (path, size) in enumerate(TEXTS):
        local = os.path.join(work, "text%d" % i)
        with open(local, "wb") as f:
            f.write(text_bytes(path, size))
        script.append(["put", "/" + path, local])
    for i, (path, size, at, length) in enumerate(SPARSE):
        local = os.path.join(work, "sparse%d" % i)
        with open(local, "wb") as f:
            f.write(pseudo_bytes(path, length))
        script.append(["sparse", "/" + path, size, at, local])
    script += [["link", "/" + path, "/" + name] for path, name in LINKS]
    script += [["times", "/" + path, when, when] for path, when in TIMES]
    script_path = os.path.join(work, "volume.script")
    with open(script_path, "w", encoding="utf-8") as f:
        f.writelines("\t".join(str(c) for c in cmd) + "\n" for cmd in script)
    run([helper, raw, script_path])
    for path, when in TIMES:
        # TSK reads the time 0 as a date of 2076: ntfs-3g's reading confirms what was written.
        if when == NEVER and "File Altered Time:\t Mon Jan  1 00:00:00 1601 UTC" not in run(["ntfsinfo", "-F", "/" + path, raw]):
            raise SystemExit("listing volume: the last write time of %s is not 0" % path)
    image = os.path.join(out_dir, VOLUME)
    if os.path.exists(image):
        os.remove(image)
    run(["qemu-img", "convert", "-f", "raw", "-O", "vpc", "-o", "subformat=fixed,force_size=on", raw, image])
    entries = oracle.fls(raw, 0)
    sizes = ntfsls_sizes(raw)
    for e in entries:
        if not e["dir"] and e["path"] in sizes:
            e["size"] = sizes[e["path"]]
    volume = {"start": 0, "fs": "ntfs", "origin": "placed", "entries": entries}
    manifest = {"image": VOLUME, "built": {"placed_volumes": [{"start": 0, "sectors": os.path.getsize(raw) // 512,
                                                               "fs": "ntfs"}]}, "volumes": [volume]}
    with open(image + ".manifest.json", "w", encoding="utf-8") as f:
        json.dump(manifest, f, indent=1)
    shutil.rmtree(work)
    return manifest


def ntfsls_sizes(raw):
    """The size of every file ntfsls lists on the volume, by path."""
    sizes, folder = {}, ""
    for line in run(["ntfsls", "-R", "-l", "-F", "-p", "/", raw]).splitlines():
        if line.endswith(":") and line.startswith("/"):
            folder = line[1:-1]
            continue
        m = re.match(r"^\s*(\d+) \w{3} [ \d]\d \d\d:\d\d \d{4} (.*)$", line)
        if m and not m.group(2).endswith("/"):
            sizes[folder + m.group(2)] = int(m.group(1))
    return sizes


def time_text(tsk, fat):
    m = TIME.match(tsk or "")
    if not m or m.group(1) == "0000":
        return "-"
    year, month, day, hour, minute, second = (int(g) for g in m.groups())
    if fat:
        return "%02d-%02d-%d " % (day, month, year)
    return "%d-%d-%d %d:%d:%d" % (day, month, year, hour, minute, second)


def lines(image, code, manifest, sectors, never=()):
    """never: the paths whose last write time the generator left unset (TSK reads another)."""
    (volume,) = manifest["volumes"]
    fat = code != 300
    yield "#volume\t%s\t%d\t%d" % (image, code, sectors)
    for e in oracle.user_entries(volume):
        if e["stream"]:
            continue
        folder = e["path"].rsplit("/", 1)[0] if "/" in e["path"] else ""
        modified = "-" if e["path"] in never else time_text(e["atime"] if fat else e["mtime"], fat)
        created = time_text(e["mtime"] if fat else e["crtime"], fat)
        yield "\t".join([image, folder, e["name"], "D" if e["dir"] else "F", "1" if e["deleted"] else "0",
                         str(e["size"] or 0), created, modified])


def main():
    args, out_dir, helper = own_volume_arguments()
    own = build_volume(out_dir, helper)
    with open(args.out, "w", encoding="utf-8") as f:
        for image, code in SHARED:
            with open(os.path.join(args.images, image + ".manifest.json"), encoding="utf-8") as m:
                manifest = json.load(m)
            sectors = manifest["virtual_disk"]["size"] // 512
            f.writelines(line + "\n" for line in lines(image, code, manifest, sectors))
        sectors = own["built"]["placed_volumes"][0]["sectors"]
        never = {path for path, when in TIMES if when == NEVER}
        f.writelines(line + "\n" for line in lines(VOLUME, 300, own, sectors, never))
    return 0


if __name__ == "__main__":
    sys.exit(main())
