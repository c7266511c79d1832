#!/usr/bin/env python3
"""Writes the disks the tests of reading a chosen file system use besides the shared test images.

    make_chosen_disks.py --images DIR --out FILE

Disks (beside FILE, each as NAME.raw and NAME.fixed.vhd):

    two_ntfs              the shared ntfs_512.raw at 2048 and ntfs_4k.raw at 36864, no partition table: two NTFS
                          file systems whose files have the same names and parents
    dmg_fat16_boot_fat1   the shared dmg_fat16_fat1.raw (first allocation table zeroed) with its boot sector
                          zeroed too: only the second table is left to find

FILE, tab-separated, one line per volume: DISK  START  VOLUME  where VOLUME is the shared raw volume whose
manifest lists what it holds.

And five volumes made here, bare (the file system at sector 0), each as NAME.raw and NAME.fixed.vhd:

    fat32_long_chains     FAT32 with 512-byte clusters: a root and a folder whose directories run past a hundred
                          clusters, each with a folder entry and deleted files beyond that, and a subfolder there
    ntfs_lost_files       NTFS whose folder "Gone", holding only files (resident, non-resident, a deleted one),
                          has its MFT record zeroed
    fat16_first_folder    FAT16 whose first folder (cluster 2) holds two files, and a second folder
    ntfs_listed_data      make_listed_data_volume.py's NTFS volume (a file whose data goes on in the records its
                          attribute list names) with a folder of 40 files
    ntfs_healthy          a 24 MiB NTFS volume as mkntfs leaves it (4 KiB clusters), nothing written to it

own.json beside FILE lists them: [{name, code, volume, built}], volume as TSK describes it (oracle.describe_volume)
and, for ntfs_lost_files, built.damage as the damage kit gives it: the folder and what TSK listed inside it before its
record was zeroed (lost).

And NTFS volumes of 16 MiB with folders big enough for index allocations (so that a volume is found without its
boot sector), each bare as NAME.raw: ntfs_pair_a (4 KiB clusters, two folders) and ntfs_pair_b (2 KiB clusters,
three folders), holding different files; ntfs_pair_c and ntfs_pair_d, both with 4 KiB clusters and three folders
of 40 files of the same sizes under other names; ntfs_pair_e and ntfs_pair_f, one layout twice (the same folders
and files at the same places), only the files' bytes differ. Each pair is placed one after the other on disks
(NAME.raw and NAME.fixed.vhd; a and b in both orders, the others in theirs), at sectors 2048 and 36864, with the
boot sectors (first and backup) of the first, of the second or of both zeroed: pair_<order>_<zeroed>. pairs.json
beside FILE lists them: [{name, sectors, volumes: [{volume, at, raw}]}], volume as TSK describes the bare volume.
"""
import concurrent.futures
import json
import os
import shutil
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.abspath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, os.path.join(REPO, "tools", "images"))
sys.path.insert(0, os.path.join(REPO, "engine", "save"))

import disks  # noqa: E402
import ntfs  # noqa: E402
import oracle  # noqa: E402
from generate import own_volume_arguments  # noqa: E402
from make_listed_data_volume import build_raw as build_listed_data  # noqa: E402
from util import SECTOR, copy_sparse, fresh_dir, make_sparse, pseudo_bytes, run, text_bytes  # noqa: E402

TWO_NTFS = [("ntfs_512.raw", 2048), ("ntfs_4k.raw", 36864)]
TWO_NTFS_SECTORS = 71680
DAMAGED_START = 2048


def fixed_vhd(raw):
    vhd = raw[:-len(".raw")] + ".fixed.vhd"
    if os.path.exists(vhd):
        os.remove(vhd)
    run(["qemu-img", "convert", "-f", "raw", "-O", "vpc", "-o", "subformat=fixed,force_size=on", raw, vhd])


# fat32_long_chains: seven directory entries a file (a 66-character name), so that 250 files fill 110 clusters of
# the root and 350 fill 153 of the folder; what is written after them lies past the hundredth cluster.
LONG_ROOT_FILES = 250
LONG_FOLDER = "Long folder"
LONG_FOLDER_FILES = 350
LATE_FOLDER = LONG_FOLDER + "/Late folder"
LONG_DELETED = [1, 2, 240, 330, 349]  # of both lists (the root's and the folder's), by number


def long_name(where, i):
    name = f"{where} file {i:03d}, a name of some seventy characters - seven entries.txt"
    assert 66 <= len(name) <= 77, name  # six long-name parts and the short entry
    return name


def mcopy(image, staging, folder, names, contents):
    """Writes the files of one folder in one mtools call, in the order given."""
    os.makedirs(os.path.join(staging, folder), exist_ok=True)
    for name in names:
        with open(os.path.join(staging, folder, name), "wb") as f:
            f.write(contents(name))
    run(["mcopy", "-i", image, *names, "::/" + folder + ("/" if folder else "")], cwd=os.path.join(staging, folder))


def new_fat(image, work, staging_name, bits, per_cluster, label, kib):
    """A fresh FAT volume (mkfs.fat) at image; returns an empty staging folder for its files."""
    staging = fresh_dir(os.path.join(work, staging_name))
    if os.path.exists(image):
        os.remove(image)
    run(["mkfs.fat", "-C", "--invariant", "--mbr=n", "-F", bits, "-s", per_cluster, "-g", "255/63", "-h", 0, "-n", label,
         image, kib])
    return staging


def build_long_chains(image, work):
    staging = new_fat(image, work, "long_chains", 32, 1, "LONGCHAINS", 40 * 1024)
    contents = lambda name: text_bytes(name, 40 + len(name) * 7 % 400)  # noqa: E731  (one cluster each)
    root = [long_name("Root", i) for i in range(1, LONG_ROOT_FILES + 1)]
    inner = [long_name("Inner", i) for i in range(1, LONG_FOLDER_FILES + 1)]
    mcopy(image, staging, "", root, contents)
    run(["mmd", "-i", image, "::/" + LONG_FOLDER])
    mcopy(image, staging, LONG_FOLDER, inner, contents)
    run(["mmd", "-i", image, "::/" + LATE_FOLDER])
    mcopy(image, staging, LATE_FOLDER, ["late one.txt", "late two.bin"], contents)
    gone = ["::/" + root[i - 1] for i in LONG_DELETED if i <= len(root)]
    gone += ["::/%s/%s" % (LONG_FOLDER, inner[i - 1]) for i in LONG_DELETED]
    run(["mdel", "-i", image, *gone])


# ntfs_lost_files: the folder whose record is zeroed, and what it holds (path, size; "rm" deleted afterwards).
LOST_FOLDER = "Gone"
LOST_FILES = [("Kept/kept.txt", 300, ""), ("Gone/small.txt", 300, ""), ("Gone/big.bin", 20000, ""),
              ("Gone/other.bin", 9000, ""), ("Gone/deleted later.bin", 9000, "rm")]


def build_lost_files(image, work, helper):
    with open(image, "wb") as f:
        f.truncate(16 * 1024 * 1024)
    run(["mkntfs", "-q", "-F", "-Q", "-T", "-c", 4096, "-s", SECTOR, "-p", 0, "-H", 255, "-S", 63, "-L", "LOSTFILES",
         image])
    script = [["mkdir", "/Kept"], ["mkdir", "/" + LOST_FOLDER]]
    for i, (path, size, _) in enumerate(LOST_FILES):
        staged = os.path.join(work, "lost_%d.bin" % i)
        with open(staged, "wb") as f:
            f.write(pseudo_bytes(path, size))
        script.append(["put", "/" + path, staged])
    script += [["rm", "/" + path] for path, _, how in LOST_FILES if how == "rm"]
    script_path = os.path.join(work, "lost_files.script")
    with open(script_path, "w", encoding="utf-8") as f:
        f.writelines("\t".join(str(c) for c in cmd) + "\n" for cmd in script)
    run([helper, image, script_path])


def zero_folder_record(image, pool):
    """Zeroes LOST_FOLDER's MFT record; returns built.damage: the folder and what TSK listed inside it."""
    intact = oracle.describe_volume(image, 0, pool)
    record = disks.tsk_inode(image, 0, LOST_FOLDER)
    sectors = disks.ntfs_record_sectors(image, 0, record)
    for sector in sectors:
        disks.zero_sectors(image, sector, 1)
    lost = [{k: e[k] for k in ("path", "inode", "dir", "deleted", "size", "sha256")}
            for e in intact["entries"] if e["path"].startswith(LOST_FOLDER + "/")]
    return {"folder": LOST_FOLDER, "mft_record": record, "sectors": sectors, "lost": lost}


def build_first_folder(image, work):
    """FAT16 whose first folder, made first, takes cluster 2."""
    staging = new_fat(image, work, "first_folder", 16, 4, "FIRSTFOLDER", 20 * 1024)
    run(["mmd", "-i", image, "::/First folder"])
    mcopy(image, staging, "First folder", ["first one.txt", "first two.bin"], lambda name: text_bytes(name, 3000))
    run(["mmd", "-i", image, "::/Second folder"])
    mcopy(image, staging, "Second folder", ["second.txt"], lambda name: text_bytes(name, 700))


def build_listed_folder(image, work, helper):
    """make_listed_data_volume.py's volume (spread.bin: its data goes on in records its attribute list names)
    with a folder big enough for an index allocation, by which an Extensive Scan finds the volume."""
    staging = fresh_dir(os.path.join(work, "listed"))
    shutil.copyfile(build_listed_data(staging, helper), image)
    script = [["mkdir", "/Index"]]
    for i in range(40):
        local = os.path.join(staging, "entry%d" % i)
        with open(local, "wb") as f:
            f.write(text_bytes("entry %d" % i, 100))
        script.append(["put", "/Index/Entry number %02d with a name long enough to fill the index.txt" % i, local])
    ntfs.run_script(helper, image, script, os.path.join(staging, "index.script"))


def own_volumes(out_dir, helper):
    work = fresh_dir(os.path.join(out_dir, "work"))
    fat_image = os.path.join(out_dir, "fat32_long_chains.raw")
    ntfs_image = os.path.join(out_dir, "ntfs_lost_files.raw")
    first_image = os.path.join(out_dir, "fat16_first_folder.raw")
    listed_image = os.path.join(out_dir, "ntfs_listed_data.raw")
    healthy_image = os.path.join(out_dir, "ntfs_healthy.raw")
    ntfs.make_empty(healthy_image, 24, 4096, "HEALTHY")
    build_long_chains(fat_image, work)
    build_lost_files(ntfs_image, work, helper)
    build_first_folder(first_image, work)
    build_listed_folder(listed_image, work, helper)
    with concurrent.futures.ThreadPoolExecutor(4) as pool:
        damage = zero_folder_record(ntfs_image, pool)
        own = [{"name": "fat32_long_chains", "code": 200, "built": {},
                "volume": oracle.describe_volume(fat_image, 0, pool)},
               {"name": "ntfs_lost_files", "code": 300, "built": {"damage": damage},
                "volume": oracle.describe_volume(ntfs_image, 0, pool)},
               {"name": "fat16_first_folder", "code": 100, "built": {},
                "volume": oracle.describe_volume(first_image, 0, pool)},
               {"name": "ntfs_listed_data", "code": 300, "built": {},
                "volume": oracle.describe_volume(listed_image, 0, pool)},
               {"name": "ntfs_healthy", "code": 300, "built": {},
                "volume": oracle.describe_volume(healthy_image, 0, pool)}]
    for image in (fat_image, ntfs_image, first_image, listed_image, healthy_image):
        fixed_vhd(image)
    with open(os.path.join(out_dir, "own.json"), "w", encoding="utf-8") as f:
        json.dump(own, f)


# The NTFS pairs: name, cluster size, the names of its folders and the label its file names and bytes carry;
# each folder gets PAIR_ENTRIES files. e and f share their names (one layout); their bytes differ by the name.
PAIR_VOLUMES = [("ntfs_pair_a", 4096, ["Alpha first", "Alpha second"], "PAIR_A"),
                ("ntfs_pair_b", 2048, ["Beta first", "Beta second", "Beta third"], "PAIR_B"),
                ("ntfs_pair_c", 4096, ["Gamma first", "Gamma second", "Gamma third"], "PAIR_C"),
                ("ntfs_pair_d", 4096, ["Delta first", "Delta second", "Delta third"], "PAIR_D"),
                ("ntfs_pair_e", 4096, ["Same first", "Same second", "Same third"], "SAME"),
                ("ntfs_pair_f", 4096, ["Same first", "Same second", "Same third"], "SAME")]
# (order, the volumes in it): a and b in both orders (two cluster sizes), then one cluster size, then one layout.
PAIR_ORDERS = [("ab", ["ntfs_pair_a", "ntfs_pair_b"]), ("ba", ["ntfs_pair_b", "ntfs_pair_a"]),
               ("cd", ["ntfs_pair_c", "ntfs_pair_d"]), ("ef", ["ntfs_pair_e", "ntfs_pair_f"])]
PAIR_ENTRIES = 40
PAIR_AT = (2048, 36864)
PAIR_SECTORS = 71680


def build_pair_volume(image, work, helper, cluster, folders, label):
    name = os.path.basename(image)[:-len(".raw")]
    ntfs.make_empty(image, 16, cluster, label)
    script = [["mkdir", "/" + folder] for folder in folders]
    for n, folder in enumerate(folders):
        for i in range(PAIR_ENTRIES):
            staged = os.path.join(work, "%s_%d_%d.bin" % (name, n, i))
            with open(staged, "wb") as f:
                f.write(pseudo_bytes(staged, 200 + i * 397))
            script.append(["put", f"/{folder}/{label} entry {i:02d} with a name long enough to fill the index.bin",
                           staged])
    ntfs.run_script(helper, image, script, os.path.join(work, name + ".script"))


def ntfs_pairs(out_dir, helper):
    work = fresh_dir(os.path.join(out_dir, "pair_work"))
    volumes = {}
    for name, cluster, folders, label in PAIR_VOLUMES:
        raw = os.path.join(out_dir, name + ".raw")
        build_pair_volume(raw, work, helper, cluster, folders, label)
        volumes[name] = (raw, oracle.describe_volume(raw, 0))
    pairs = []
    for order, placed in PAIR_ORDERS:
        for zeroed in ("first", "second", "both"):
            name = "pair_%s_%s" % (order, zeroed)
            disk = os.path.join(out_dir, name + ".raw")
            make_sparse(disk, PAIR_SECTORS * SECTOR)
            entries = []
            for i, (volume, at) in enumerate(zip(placed, PAIR_AT)):
                v = disks.place_volume(disk, out_dir, volume + ".raw", at)
                if zeroed == "both" or zeroed == ("first", "second")[i]:
                    disks.zero_sectors(disk, at, 1)
                    disks.zero_sectors(disk, at + v["sectors"] - 1, 1)
                raw, described = volumes[volume]
                entries.append({"volume": described, "at": at, "raw": raw})
            fixed_vhd(disk)
            pairs.append({"name": name, "sectors": PAIR_SECTORS, "volumes": entries})
    shutil.rmtree(work)
    with open(os.path.join(out_dir, "pairs.json"), "w", encoding="utf-8") as f:
        json.dump(pairs, f)


def main():
    args, out_dir, helper = own_volume_arguments()
    lines = []

    two = os.path.join(out_dir, "two_ntfs.raw")
    make_sparse(two, TWO_NTFS_SECTORS * SECTOR)
    for name, start in TWO_NTFS:
        disks.place_volume(two, args.images, name, start)
        lines.append(("two_ntfs", start, name))
    fixed_vhd(two)

    damaged = os.path.join(out_dir, "dmg_fat16_boot_fat1.raw")
    copy_sparse(os.path.join(args.images, "dmg_fat16_fat1.raw"), damaged)
    disks.zero_sectors(damaged, DAMAGED_START, 1)
    lines.append(("dmg_fat16_boot_fat1", DAMAGED_START, "fat16.raw"))
    fixed_vhd(damaged)

    own_volumes(out_dir, helper)
    ntfs_pairs(out_dir, helper)

    with open(args.out, "w", encoding="utf-8") as f:
        f.writelines("%s\t%d\t%s\n" % line for line in lines)
    return 0


if __name__ == "__main__":
    sys.exit(main())
