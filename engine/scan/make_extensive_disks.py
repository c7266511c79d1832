#!/usr/bin/env python3
"""Writes the disks the Extensive Scan tests read besides the shared test images, and what an Extensive Scan must
find on each of them and on some shared ones.

    make_extensive_disks.py --images DIR --out FILE [--ntfs-helper PATH]

Disks (beside FILE, each as NAME.raw and NAME.fixed.vhd; volumes placed as tools/images/disks.py places them,
with their hidden sectors set, and no partition table):

    two_fat16          the shared fat16.raw at 2048 and again at 69632
    two_fat16_noboot   the same with both boot sectors zeroed
    mixed              an NTFS volume whose two big folders have index allocations (ntfs_folders) at 2048,
                       fat16.raw at 36864, and a FAT32 volume whose folders all lie above cluster 65535
                       (fat32_high) at 104448
    mixed_noboot       the same with every boot sector zeroed: NTFS (and its backup in the volume's last sector),
                       FAT16, FAT32 (and its backup at +6)

and ntfs_folders.dynamic.vhd, the bare NTFS volume as a dynamic VHD with 2 MiB blocks: a read that reaches past its
last block fails.

FILE, tab-separated, for each case (an image scanned whole with one file-system code):

    #case  IMAGE  CODE  SECTORS  WHERE
    IMAGE  CODE  K  TYPE  LABEL  FIRST  LAST

one line per file system the scan must find, in the order found: those with a boot sector (a FAT32 one's backup
will do) in the order of their boot sectors, then those rebuilt without one in the order of their first folder,
of the type their tables give. WHERE is "own" for the disks
beside FILE, "shared" for the shared test images; either way NAME.raw beside the image is the raw disk it wraps
(for the tests' own scan of its bytes). The values
come from TSK: fsstat gives each volume's cluster size, cluster area and size (first sector = the sector of cluster
0 for FAT, the volume's first sector for NTFS; last sector = first sector + the sectors the boot sector gives); istat
the folders' clusters. A volume whose boot sector is gone has no last sector (0) for FAT, for NTFS the last sector of
its last cluster (its own $BadClus and $Bitmap give its size: fsstat's cluster range), and for FAT is FAT32 when the
scan is for FAT32 or a folder lies above cluster 65535, else FAT16.
"""
import json
import os
import shutil
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.abspath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, os.path.join(REPO, "tools", "images"))

import disks  # noqa: E402
import oracle  # noqa: E402
from generate import own_volume_arguments  # noqa: E402
from util import SECTOR, copy_sparse, fresh_dir, make_sparse, run, text_bytes  # noqa: E402

CODES = {"fat16": 100, "fat32": 200, "ntfs": 300}
LARGEST_FAT16_CLUSTER = 65535

# The NTFS volume: two folders whose entries do not fit in their index roots, and a small one.
BIG_FOLDERS = ["First big folder", "Second big folder"]
BIG_ENTRIES = 40
SMALL_FOLDER = "Small folder"
# The FAT32 volume: 512-byte clusters, a filler that takes the clusters up to past 65535, then the folders.
FILLER_MIB = 34
HIGH_FOLDERS = ["Late folder", "Late folder/Inner", "Second late folder"]

MIXED = [("ntfs_folders.raw", 2048), ("fat16.raw", 36864), ("fat32_high.raw", 104448)]
TWO_FAT16 = [("fat16.raw", 2048), ("fat16.raw", 69632)]


def build_ntfs_folders(work, helper):
    image = os.path.join(work, "ntfs_folders.raw")
    with open(image, "wb") as f:
        f.truncate(16 * 1024 * 1024)
    run(["mkntfs", "-q", "-F", "-Q", "-T", "-c", 4096, "-s", SECTOR, "-p", 0, "-H", 255, "-S", 63, "-L", "FOLDERS",
         image])
    script = [["mkdir", "/" + folder] for folder in BIG_FOLDERS + [SMALL_FOLDER]]
    staged = os.path.join(work, "entry.txt")
    with open(staged, "wb") as f:
        f.write(text_bytes("entry", 100))
    for folder in BIG_FOLDERS:
        script += [["put", f"/{folder}/Entry number {i:02d} with a name long enough to fill the index.txt", staged]
                   for i in range(BIG_ENTRIES)]
    script.append(["put", f"/{SMALL_FOLDER}/alone.txt", staged])
    script_path = os.path.join(work, "ntfs_folders.script")
    with open(script_path, "w", encoding="utf-8") as f:
        f.writelines("\t".join(str(c) for c in cmd) + "\n" for cmd in script)
    run([helper, image, script_path])
    return image


def build_fat32_high(work):
    image = os.path.join(work, "fat32_high.raw")
    if os.path.exists(image):
        os.remove(image)
    run(["mkfs.fat", "-C", "--invariant", "--mbr=n", "-F", "32", "-s", 1, "-g", "255/63", "-h", 0, "-n", "FAT32HIGH",
         image, 40 * 1024])
    filler = os.path.join(work, "Filler.bin")
    with open(filler, "wb") as f:
        f.write(bytes(FILLER_MIB * 1024 * 1024))
    run(["mcopy", "-i", image, filler, "::/Filler.bin"])
    for folder in HIGH_FOLDERS:
        run(["mmd", "-i", image, "::/" + folder])
    return image


def compose(path, volumes_dir, placed, total):
    make_sparse(path, total * SECTOR)
    return [disks.place_volume(path, volumes_dir, name, start) for name, start in placed]


def clear_boot_sectors(path, placed):
    for v in placed:
        disks.zero_sectors(path, v["start"], 1)
        if v["fs"] == "fat32":
            disks.zero_sectors(path, v["start"] + 6, 1)
        elif v["fs"] == "ntfs":
            disks.zero_sectors(path, v["start"] + v["sectors"] - 1, 1)


def fixed_vhd(raw):
    vhd = raw[:-len(".raw")] + ".fixed.vhd"
    if os.path.exists(vhd):
        os.remove(vhd)
    run(["qemu-img", "convert", "-f", "raw", "-O", "vpc", "-o", "subformat=fixed,force_size=on", raw, vhd])
    return os.path.basename(vhd)


def first_number(text):
    return int(text.split()[0])


def volume_facts(vol, boot):
    """What TSK says of a described volume: {start, fs, base, last, last cluster's last sector, largest folder
    cluster, boot}."""
    values, start = vol["fsstat"], vol["start"]
    spc = int(values["Cluster Size"]) // SECTOR
    clusters_end = 0
    if vol["fs"] == "ntfs":
        base, total = start, int(values["Total Sector Range"].split(" - ")[1]) + 1
        clusters_end = start + (int(values["Total Cluster Range"].split(" - ")[1]) + 1) * spc - 1
    else:
        base = start + first_number(values["Cluster Area"]) - 2 * spc
        total = int(values["Total Range"].split(" - ")[1]) + 1
    folders = [e for e in oracle.user_entries(vol) if e["dir"] and e["runs"]]
    largest = max(((e["runs"][0][0] - base) // spc for e in folders), default=0)
    return {"start": start, "fs": vol["fs"], "base": base, "last": start + total, "clusters_end": clusters_end,
            "largest": largest, "boot": boot}


def expected(volumes, code, range_end):
    """The file systems an Extensive Scan for code finds among volumes, in the order it finds them."""
    ntfs = code == CODES["ntfs"]
    wanted = [v for v in volumes if (v["fs"] == "ntfs") == ntfs]
    lines = []
    # The label names where the volume begins (TSK's start); a FAT volume rebuilt without its boot sector has no
    # known start, only the sector of its cluster 0.
    for v in sorted((v for v in wanted if v["boot"]), key=lambda v: v["start"]):
        lines.append((CODES[v["fs"]], v["base"], v["last"], v["start"]))
    for v in sorted((v for v in wanted if not v["boot"]), key=lambda v: v["start"]):
        if ntfs:
            lines.append((CODES["ntfs"], v["base"], min(v["clusters_end"], range_end), v["base"]))
        else:
            # The tables before the data area give the volume's own type, whichever type the scan was for.
            fat32 = v["fs"] == "fat32" or v["largest"] > LARGEST_FAT16_CLUSTER
            lines.append((CODES["fat32" if fat32 else "fat16"], v["base"], 0, v["base"]))
    names = {100: "FAT16", 200: "FAT32", 300: "NTFS"}
    return [(k, t, f"{names[t]} @{at}", base, last) for k, (t, base, last, at) in enumerate(lines, 1)]


def write_case(out, image, code, sectors, where, volumes):
    out.write(f"#case\t{image}\t{code}\t{sectors}\t{where}\n")
    for line in expected(volumes, code, sectors):
        out.write("\t".join(str(c) for c in (image, code) + line) + "\n")


def shared_volumes(images, name):
    """The volumes of a shared disk as its manifest (or, for the damage kit, its intact volume's) describes them."""
    with open(os.path.join(images, name + ".manifest.json"), encoding="utf-8") as f:
        manifest = json.load(f)
    damage = manifest["built"].get("damage")
    if not damage:
        vols = [volume_facts(v, True) for v in manifest["volumes"] if v.get("fs")]
        return manifest["virtual_disk"]["size"] // SECTOR, vols
    with open(os.path.join(images, damage["intact"] + ".manifest.json"), encoding="utf-8") as f:
        intact = json.load(f)["volumes"][0]
    at = damage["volume_start"]
    moved = dict(intact, start=at,
                 entries=[dict(e, runs=[[s + at, n] for s, n in e["runs"] or []]) for e in intact["entries"]])
    # A FAT32 volume whose first boot sector alone is lost is found by its backup, six sectors on.
    with open(os.path.join(images, name), "rb") as f:
        f.seek((at + 6) * SECTOR)
        backup = f.read(SECTOR)
    kept = intact["fs"] == "fat32" and backup[510:512] == b"\x55\xaa" and backup[82:87] == b"FAT32"
    return manifest["virtual_disk"]["size"] // SECTOR, [volume_facts(moved, kept)]


def main():
    args, out_dir, helper = own_volume_arguments()
    work = fresh_dir(os.path.join(out_dir, "work"))

    # The volumes: the shared FAT16 one, and the two made here.
    copy_sparse(os.path.join(args.images, "fat16.raw"), os.path.join(work, "fat16.raw"))
    ntfs_volume = build_ntfs_folders(work, helper)
    build_fat32_high(work)
    dynamic = os.path.join(out_dir, "ntfs_folders.dynamic.vhd")
    if os.path.exists(dynamic):
        os.remove(dynamic)
    run(["qemu-img", "convert", "-f", "raw", "-O", "vpc", "-o", "subformat=dynamic,force_size=on", ntfs_volume,
         dynamic])

    with open(args.out, "w", encoding="utf-8") as out:
        for name, placed, total, codes in [("two_fat16", TWO_FAT16, 137216, (100,)),
                                           ("mixed", MIXED, 188416, (100, 200, 300))]:
            raw = os.path.join(out_dir, name + ".raw")
            placed_volumes = compose(raw, work, placed, total)
            vols = [volume_facts(oracle.describe_volume(raw, v["start"]), True) for v in placed_volumes]
            cleared = os.path.join(out_dir, name + "_noboot.raw")
            copy_sparse(raw, cleared)
            clear_boot_sectors(cleared, placed_volumes)
            for path, boot in ((raw, True), (cleared, False)):
                image = fixed_vhd(path)
                for code in codes:
                    write_case(out, image, code, total, "own", [dict(v, boot=boot) for v in vols])
        # Shared disks: every volume with its boot sector; the damage kit's FAT volumes without one (its NTFS
        # volumes have a single folder with an index allocation, too few to rebuild their geometry from).
        for name, codes in [("mbr_extended", (100, 200, 300)), ("mbr_primary", (100, 300)),
                            ("dmg_fat16_boot", (100, 200)), ("dmg_fat32_boot", (100, 200))]:
            sectors, vols = shared_volumes(args.images, name + ".raw")
            for code in codes:
                write_case(out, name + ".fixed.vhd", code, sectors, "shared", vols)
    shutil.rmtree(work)
    return 0


if __name__ == "__main__":
    sys.exit(main())
