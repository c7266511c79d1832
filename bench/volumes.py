"""The benchmarks' volumes, built once and kept in a cache folder (build/bench of the source tree).

    python3 bench/volumes.py CACHE NAME      (NAME: ntfs50k, ntfs_empty, fat20k, fat_empty, trace512m, trace2g,
                                              fat_chains_50x1000, fat_chains_200x4000)

Each name makes CACHE/NAME.raw (the bare volume, at sector 0, for the other tool) and CACHE/NAME.vhd (the same
volume as a fixed VHD, for enginectl), then prints the volume's sector count. A volume already there is kept
(delete the cache folder after changing a builder here).
Nothing is mounted: NTFS through mkntfs and libntfs-3g (tools/images/ntfs_image_helper), FAT32 through
mkfs.fat and mtools, with the fixed clock of tools/images so that the same sources give the same bytes.
"""

import os
import shutil
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(HERE)
sys.path.insert(0, os.path.join(REPO, "tools", "images"))

import fat_shared_chains  # noqa: E402
import samples  # noqa: E402
from util import MIB, SECTOR, ToolError, fresh_dir, pseudo_bytes, run, text_bytes  # noqa: E402

WORDS = ["report", "invoice", "holiday picture", "notes", "Quarterly summary", "draft", "letter to the bank",
         "scan", "backup copy", "minutes of the meeting"]
EXTENSIONS = ["txt", "doc", "jpg", "pdf", "xls", "csv", "png", "dat"]


def file_name(n):
    """File names of everyday lengths (about 12 to 35 characters), different in every folder."""
    return f"{WORDS[n % len(WORDS)]} {n:05d}.{EXTENSIONS[(n // 7) % len(EXTENSIONS)]}"


def folders(top_count, sub_count):
    """top_count top folders with sub_count subfolders each: paths, parents first."""
    out = []
    for t in range(top_count):
        top = f"Folder {t:02d}"
        out.append(top)
        out.extend(f"{top}/Subfolder {s:03d}" for s in range(sub_count))
    return out


def wrap_fixed_vhd(raw, vhd):
    run(["qemu-img", "convert", "-f", "raw", "-O", "vpc", "-o", "subformat=fixed,force_size=on", raw, vhd])


def ntfs_helper(cache):
    """The libntfs-3g helper of tools/images: the release or native build's, else compiled into the cache."""
    for preset in ("release", "native"):
        built = os.path.join(REPO, "build", preset, "tools", "images", "ntfs_image_helper")
        if os.path.exists(built):
            return built
    out = os.path.join(cache, "ntfs_image_helper")
    if not os.path.exists(out):
        run(["cc", "-O2", "-o", out, os.path.join(REPO, "tools", "images", "ntfs_image_helper.c"), "-lntfs-3g"])
    return out


def build_ntfs_empty(_cache, raw):
    """512 MiB NTFS, 4 KiB clusters, nothing on it."""
    with open(raw, "wb") as f:
        f.truncate(512 * MIB)
    run(["mkntfs", "-q", "-F", "-Q", "-T", "-c", 4096, "-s", SECTOR, "-p", 0, "-H", 255, "-S", 63,
         "-L", "BENCH", raw])


def build_ntfs50k(cache, raw):
    """The empty NTFS volume with 1,000 folders (20 top folders of 49 subfolders), 50 files in each. Four
    files in five stay resident in their MFT record; the fifth gets clusters."""
    work = fresh_dir(os.path.join(cache, "ntfs50k.work"))
    build_ntfs_empty(cache, raw)
    sizes = [180, 420, 700, 60, 5000]
    staged = []
    for i, size in enumerate(sizes):
        path = os.path.join(work, f"{i}.bin")
        with open(path, "wb") as f:
            f.write(text_bytes(f"size {size}", size))
        staged.append(path)
    script = os.path.join(work, "script")
    n = 0
    with open(script, "w", encoding="utf-8") as f:
        for folder in folders(20, 49):
            f.write(f"mkdir\t/{folder}\n")
            for _ in range(50):
                f.write(f"put\t/{folder}/{file_name(n)}\t{staged[n % len(staged)]}\n")
                n += 1
    run([ntfs_helper(cache), raw, script])
    shutil.rmtree(work)


def make_fat32(raw, size_mib, sectors_per_cluster, label):
    if os.path.exists(raw):
        os.remove(raw)
    run(["mkfs.fat", "-C", "--invariant", "--mbr=n", "-F", 32, "-s", sectors_per_cluster, "-g", "255/63",
         "-h", 0, "-n", label, raw, size_mib * 1024])


def build_fat_empty(_cache, raw):
    """256 MiB FAT32, 2 KiB clusters, nothing on it."""
    make_fat32(raw, 256, 4, "BENCH")


def build_fat20k(cache, raw):
    """The empty FAT32 volume with 400 folders (20 top folders of 19 subfolders), 50 files in each, copied in
    from a staged tree by one mcopy."""
    work = fresh_dir(os.path.join(cache, "fat20k.work"))
    build_fat_empty(cache, raw)
    n = 0
    for folder in folders(20, 19):
        path = os.path.join(work, folder)
        os.makedirs(path, exist_ok=True)
        for _ in range(50):
            with open(os.path.join(path, file_name(n)), "wb") as f:
                f.write(text_bytes(str(n), 100 + n % 3000))
            n += 1
    tops = sorted(os.listdir(work))
    run(["mcopy", "-s", "-i", raw, *tops, "::/"], cwd=work)
    shutil.rmtree(work)


# The carving volumes: FAT32 with 512-byte clusters holding the carving samples of tools/images again and again
# between files of random bytes (a round: the samples, then 3 MiB of random bytes), so that a scan reads real data
# and finds many hits; the rounds fill about three fifths of the volume and the rest is left as mkfs.fat leaves it
# (zeros). Two sizes four times apart, filled alike, show how time and memory grow with the volume.
TRACE_FILL = 3 * MIB
TRACE_ROUNDS_PER_GIB = 200


def trace_volume(name, size_mib):
    def build(cache, raw):
        work = fresh_dir(os.path.join(cache, name + ".work"))
        make_fat32(raw, size_mib, 1, "TRACE")
        made = samples.make(work)
        kept = [(n, data) for n, data, _type, _valid, _deleted, _note in made if not n.endswith(".txt")]
        for r in range(TRACE_ROUNDS_PER_GIB * size_mib // 1024):
            folder = os.path.join(work, "tree", f"Round {r:03d}")
            os.makedirs(folder)
            for n, data in kept:
                with open(os.path.join(folder, n), "wb") as f:
                    f.write(data)
            with open(os.path.join(folder, "fill.bin"), "wb") as f:
                f.write(pseudo_bytes(f"fill {r}", TRACE_FILL))
        tree = os.path.join(work, "tree")
        run(["mcopy", "-s", "-i", raw, *sorted(os.listdir(tree)), "::/"], cwd=tree)
        shutil.rmtree(work)
    return build


def fat_chains(folders, chain):
    """A crafted 32 MiB FAT16 volume (512-byte clusters) whose folders all run on into one shared chain of
    directory clusters full of file entries (tools/images/fat_shared_chains.py)."""
    return lambda _cache, raw: fat_shared_chains.build(raw, folders, chain, False, 32)


BUILDERS = {"ntfs50k": build_ntfs50k, "ntfs_empty": build_ntfs_empty, "fat20k": build_fat20k,
            "fat_empty": build_fat_empty, "trace512m": trace_volume("trace512m", 512),
            "trace2g": trace_volume("trace2g", 2048),
            "fat_chains_50x1000": fat_chains(50, 1000), "fat_chains_200x4000": fat_chains(200, 4000)}


def main():
    if len(sys.argv) != 3 or sys.argv[2] not in BUILDERS:
        sys.exit("usage: volumes.py CACHE " + "|".join(BUILDERS))
    cache, name = os.path.abspath(sys.argv[1]), sys.argv[2]
    os.makedirs(cache, exist_ok=True)
    raw = os.path.join(cache, name + ".raw")
    vhd = os.path.join(cache, name + ".vhd")
    if not (os.path.exists(raw) and os.path.exists(vhd)):
        for p in (raw, vhd):
            if os.path.exists(p):
                os.remove(p)
        partial = raw + ".part"
        BUILDERS[name](cache, partial)
        os.replace(partial, raw)
        wrap_fixed_vhd(raw, vhd + ".part")
        os.replace(vhd + ".part", vhd)
    print(os.path.getsize(raw) // SECTOR)


if __name__ == "__main__":
    try:
        main()
    except ToolError as e:
        sys.exit(str(e))
