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
"""
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


def main():
    args, out_dir, helper = own_volume_arguments()
    work = fresh_dir(os.path.join(out_dir, "listed_data_work"))
    raw = build_raw(work, helper)
    values = oracle.fsstat(raw, 0)
    lines = ["#volume\t%s\t%d\t%s" % (VOLUME, int(values["Cluster Size"]) // 512, values["First Cluster of MFT"])]
    inodes = {e["name"]: e["inode"] for e in oracle.fls(raw, 0) if not e["dir"] and not e["stream"]}
    for name in ("spread.bin", "plain.txt"):
        inode = inodes[name]
        if name == "spread.bin":
            check_spread(raw, inode)
        data = run(["icat", raw, inode], binary=True)
        expected = "listed_data.%s.icat" % name
        with open(os.path.join(out_dir, expected), "wb") as f:
            f.write(data)
        lines.append("file\t%d\t%d\t%s\t%s" % (inode, len(data), name, expected))
    image = os.path.join(out_dir, VOLUME)
    if os.path.exists(image):
        os.remove(image)
    run(["qemu-img", "convert", "-f", "raw", "-O", "vpc", "-o", "subformat=fixed,force_size=on", raw, image])
    shutil.rmtree(work)
    with open(args.out, "w", encoding="utf-8") as f:
        f.writelines(line + "\n" for line in lines)
    return 0


if __name__ == "__main__":
    sys.exit(main())
