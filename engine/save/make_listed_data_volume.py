#!/usr/bin/env python3
"""Writes the NTFS volume whose file keeps its data in several MFT records, and what icat reads of its files.

    make_listed_data_volume.py --images DIR --out FILE [--ntfs-helper PATH]

A small NTFS volume (mkntfs, 1 KiB clusters, filled through libntfs-3g as tools/images/ntfs.py does) holding

    spread.bin   one cluster written at every other cluster offset, SPREAD times: its run list outgrows the
                 base record, libntfs-3g moves the rest into an extension record and the attribute list out
                 of the record into clusters of its own (checked here with istat)
    plain.txt    an ordinary file

written as a fixed VHD, listed_data.fixed.vhd, beside FILE. FILE holds, tab-separated,

    #volume  IMAGE  SECTORS_PER_CLUSTER  MFT_CLUSTER
    file     INODE  SIZE  NAME  EXPECTED

EXPECTED is the file beside FILE holding what icat reads for the inode. The volume starts at sector 0.

And moved_data.fixed.vhd, listed the same way in moved_data.tsv beside FILE: the same volume, with the part of
spread.bin's data that starts it moved out of its base record into a free record of the MFT (a file deleted
for it), which the attribute list now names: the file's data lies wholly in extension records (TSK reads the
same bytes, checked here).

And split_record.fixed.vhd, listed the same way in split_record.tsv beside FILE: 512-byte clusters, filled with
files of three clusters with long names until the MFT, growing into what is left, is fragmented with an extent
of an odd number of sectors; the file whose record starts in the last sector of that extent (its second half
lies in the next one) is the last file made, and is listed.
"""
import os
import re
import shutil
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.abspath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, os.path.join(REPO, "tools", "images"))

import ntfs  # noqa: E402
import ntfs_records  # noqa: E402
import oracle  # noqa: E402
from generate import own_volume_arguments  # noqa: E402
from util import fresh_dir, pseudo_bytes, run, text_bytes  # noqa: E402

VOLUME = "listed_data.fixed.vhd"
CLUSTER = 1024
SPREAD = 400


def build_raw(work, helper):
    raw = os.path.join(work, "volume.raw")
    with open(raw, "wb") as f:
        f.truncate(8 * 1024 * 1024)
    run(["mkntfs", "-q", "-F", "-Q", "-T", "-c", CLUSTER, "-s", 512, "-p", 0, "-H", 255, "-S", 63, "-L", "LISTED",
         raw])
    script = []
    for i in range(SPREAD):
        local = os.path.join(work, "piece%d" % i)
        with open(local, "wb") as f:
            f.write(pseudo_bytes("spread.bin %d" % i, CLUSTER))
        script.append(["put", "/spread.bin", local] if i == 0 else ["write", "/spread.bin", 2 * i * CLUSTER, local])
    local = os.path.join(work, "plain")
    with open(local, "wb") as f:
        f.write(text_bytes("plain.txt", 5000))
    script.append(["put", "/plain.txt", local])
    script_path = os.path.join(work, "volume.script")
    with open(script_path, "w", encoding="utf-8") as f:
        f.writelines("\t".join(str(c) for c in cmd) + "\n" for cmd in script)
    run([helper, raw, script_path])
    return raw


def check_spread(raw, inode):
    """Fails unless istat shows the file's attribute list out of its record and data in another record."""
    report = run(["istat", raw, inode])
    if not re.search(r"^Type: \$ATTRIBUTE_LIST \(32-\d+\)\s+Name: N/A\s+Non-Resident", report, re.M):
        raise SystemExit("spread.bin: istat shows no non-resident attribute list:\n" + report)
    holders = {int(m) for m in re.findall(r"^Type: 128-\d+ \tMFT Entry: (\d+)", report, re.M)}
    if not holders - {inode}:
        raise SystemExit("spread.bin: istat shows no data in another record:\n" + report)


MOVED_VOLUME = "moved_data.fixed.vhd"


def build_moved(raw, work, helper, inode):
    """A copy of the volume whose file `inode` keeps no part of its data in its base record."""
    moved = os.path.join(work, "moved.raw")
    shutil.copyfile(raw, moved)
    local = os.path.join(work, "spare")
    with open(local, "wb") as f:
        f.write(text_bytes("spare", 100))
    ntfs.run_script(helper, moved, [["put", "/spare.bin", local], ["rm", "/spare.bin"]],
                    os.path.join(work, "moved.script"))
    spare = next(e["inode"] for e in oracle.fls(moved, 0) if e["name"] == "spare.bin")
    before = run(["icat", moved, inode], binary=True)
    ntfs_records.move_first_part(moved, inode, ntfs_records.DATA, spare)
    if run(["icat", moved, inode], binary=True) != before:
        raise SystemExit("moved_data: icat reads other bytes once the data moved")
    holders = re.findall(r"^Type: 128-\d+ \tMFT Entry: (\d+) \tVCN: 0$", run(["istat", moved, inode]), re.M)
    if holders != [str(spare)]:
        raise SystemExit("moved_data: istat names %s for the data's first part, not %d" % (holders, spare))
    return moved


SPLIT_VOLUME = "split_record.fixed.vhd"
SPLIT_FILES = 600


def build_split(work, helper, count=SPLIT_FILES):
    raw = os.path.join(work, "split.raw")
    ntfs.make_empty(raw, 4, 512, "SPLIT")
    script = [["mkdir", "/fill"]]
    for i in range(count):
        local = os.path.join(work, "fill%d" % i)
        with open(local, "wb") as f:
            f.write(pseudo_bytes("fill %d" % i, 1500))
        # A long name takes the record's data attribute into its second sector.
        script.append(["put", "/fill/f%04d_%s" % (i, "x" * 200), local])
    ntfs.run_script(helper, raw, script, os.path.join(work, "split.script"))
    return raw


def split_records(raw):
    """The numbers of the records whose two sectors lie in two extents of the MFT (istat's clusters of $MFT)."""
    report = run(["istat", raw, 0])
    section = report.split("Type: $DATA", 1)[1].split("Type:", 1)[0].split("\n", 1)[1]
    sectors = [int(c) for c in re.findall(r"\d+", section)]  # one sector per cluster
    return [n for n in range(len(sectors) // 2) if sectors[2 * n + 1] != sectors[2 * n] + 1]


def write_volume(raw, image_name, names, out_dir, out):
    """Writes the volume as a fixed VHD beside out, and out: the volume's line and the files named (with
    what icat reads of them)."""
    values = oracle.fsstat(raw, 0)
    stem = image_name[:-len(".fixed.vhd")]
    lines = ["#volume\t%s\t%d\t%s" % (image_name, int(values["Cluster Size"]) // 512, values["First Cluster of MFT"])]
    for name, inode in names:
        data = run(["icat", raw, inode], binary=True)
        expected = "%s.%s.icat" % (stem, name[:40])
        with open(os.path.join(out_dir, expected), "wb") as f:
            f.write(data)
        lines.append("file\t%d\t%d\t%s\t%s" % (inode, len(data), name, expected))
    image = os.path.join(out_dir, image_name)
    if os.path.exists(image):
        os.remove(image)
    run(["qemu-img", "convert", "-f", "raw", "-O", "vpc", "-o", "subformat=fixed,force_size=on", raw, image])
    with open(out, "w", encoding="utf-8") as f:
        f.writelines(line + "\n" for line in lines)


def main():
    args, out_dir, helper = own_volume_arguments()
    work = fresh_dir(os.path.join(out_dir, "listed_data_work"))
    raw = build_raw(work, helper)
    inodes = {e["name"]: e["inode"] for e in oracle.fls(raw, 0) if not e["dir"] and not e["stream"]}
    check_spread(raw, inodes["spread.bin"])
    write_volume(raw, VOLUME, [(name, inodes[name]) for name in ("spread.bin", "plain.txt")], out_dir, args.out)
    moved = build_moved(raw, work, helper, inodes["spread.bin"])
    write_volume(moved, MOVED_VOLUME, [(name, inodes[name]) for name in ("spread.bin", "plain.txt")], out_dir,
                 os.path.join(out_dir, "moved_data.tsv"))

    split = build_split(work, helper)
    files = {e["inode"]: e["name"] for e in oracle.fls(split, 0) if not e["dir"] and not e["stream"]}
    listed = [(files[n], n) for n in split_records(split) if n in files]
    if not listed:
        raise SystemExit("split_record: no file's record lies in two extents of the MFT")
    # Made again up to that file, the same way: it is the last file, which every sample of the files takes
    # (a snapshot's check of its source among them).
    split = build_split(work, helper, int(listed[0][0][1:5]) + 1)
    files = {e["inode"]: e["name"] for e in oracle.fls(split, 0) if not e["dir"] and not e["stream"]}
    if max(files) != listed[0][1] or listed[0][1] not in split_records(split):
        raise SystemExit("split_record: made again, the last file's record does not lie in two extents")
    write_volume(split, SPLIT_VOLUME, listed[:1], out_dir, os.path.join(out_dir, "split_record.tsv"))
    shutil.rmtree(work)
    return 0


if __name__ == "__main__":
    sys.exit(main())
