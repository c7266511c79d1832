"""Every test image: what it exercises, what it is built from, how it is built, and how the oracle describes it.

A recipe's build(ctx) makes the image in ctx.out and returns the generator's own facts about it (the manifest's
"built" part). Its describe(ctx, built) runs the oracle tools over the image; the manifest check runs describe
again and compares."""

import os
import struct

import disks
import fat
import ntfs
import oracle
import samples
import vhd
import vhdx
from util import FIXED_EPOCH, MIB, SECTOR, ToolError, copy_sparse, data_extents, pseudo_bytes, run, sha256_bytes

C = disks.CYLINDER
RECIPES = {}


class Recipe:
    def __init__(self, name, exercises, deps, build, describe, verify=None):
        self.name, self.exercises, self.deps, self.build, self.describe = name, exercises, deps, build, describe
        self.verify = verify or (lambda manifest: None)
        RECIPES[name] = self


class NotExercised(AssertionError):
    """An image does not show what its recipe promises (a tool behaved differently): its tests would be hollow."""


def expect(condition, image, what):
    if not condition:
        raise NotExercised(f"{image}: {what}")


def entry(volume, path):
    return next((e for e in volume.get("entries", []) if e["path"] == path), None)


def verify_written(image, volume, files):
    """Every file the generator wrote is listed by TSK with the same content, deleted ones included."""
    by_key = {}
    for e in volume["entries"]:
        by_key.setdefault(oracle.tsk_path_key(e["path"]), []).append(e)
    for f in files:
        found = [e for e in by_key.get(oracle.tsk_path_key(f["path"]), [])
                 if e["deleted"] == f["deleted"] and oracle.fat_names_match(e["name"], f["path"].rsplit("/", 1)[-1],
                                                                            e["deleted"])]
        expect(found, image, f"{f['path']} not listed (deleted={f['deleted']})")
        expect(any(e["sha256"] == f["sha256"] for e in found), image, f"{f['path']}: content differs")


def verify_fat(image, many=False):
    def verify(m):
        vol = m["volumes"][0]
        verify_written(image, vol, m["built"]["files"])
        frag = entry(vol, fat.FRAGMENTED)
        expect(frag and len(frag["runs"]) >= 3, image, "fragmented file is not in three pieces")
        expect(entry(vol, "Twenty six characters.text"), image, "26-character name missing")
        expect(entry(vol, "notes.txt"), image, "lower-case 8.3 name not shown in lower case")
        gone = entry(vol, "ToDelete")
        expect(gone and gone["deleted"] and gone["dir"], image, "deleted folder not listed")
        if many:
            folder = entry(vol, fat.MANY_FOLDER)
            spc = int(vol["fsstat"]["Cluster Size"]) // SECTOR
            clusters = sum(n for _, n in folder["runs"]) // spc
            expect(clusters > 100, image, f"'{fat.MANY_FOLDER}' spans only {clusters} clusters")

    return verify


def verify_ntfs(image):
    def verify(m):
        vol = m["volumes"][0]
        verify_written(image, vol, m["built"]["files"])
        runs = entry(vol, ntfs.FRAGMENTED)["runs"]
        expect(len(runs) >= 2 and any(b[0] < a[0] for a, b in zip(runs, runs[1:])), image,
               f"fragmented file runs {runs} do not go backwards")
        sparse = entry(vol, ntfs.SPARSE)
        expect(sum(n for _, n in sparse["runs"]) * SECTOR < sparse["size"], image, "sparse file has no hole")
        expect(entry(vol, "small.txt")["resident"], image, "small file is not resident")
        expect(not entry(vol, "Documents/Reports/2019/chart.bin")["resident"], image, "large file is resident")
        gone = entry(vol, "ToDelete")
        expect(gone and gone["deleted"] and gone["dir"], image, "deleted folder not listed")

    return verify


# ---------------------------------------------------------------- raw images (volumes, disks)

def describe_raw(ctx, name, built):
    path = ctx.path(name)
    m = {"virtual_disk": oracle.virtual_disk(path)}
    m.update(oracle.describe_disk(path, [v["start"] for v in built.get("placed_volumes", [])], ctx.pool,
                                  cache=ctx.cache))
    if "samples" in built:
        m["carving"] = oracle.carving(path, built["samples"], 0, ctx.work_root)
    return m


def fat_volume(name, fs, size_mib, spc, label, exercises, many=False):
    def build(ctx):
        files = fat.build(ctx.path(name), ctx.work(name), fs, size_mib, spc, label, many)
        return {"placed_volumes": [{"start": 0, "fs": fs, "volume": name}], "files": files}

    Recipe(name, exercises, [], build, lambda ctx, b: describe_raw(ctx, name, b), verify_fat(name, many))


def ntfs_volume(name, size_mib, cluster, label, exercises):
    def build(ctx):
        files = ntfs.build(ctx.path(name), ctx.work(name), ctx.helper, size_mib, cluster, label)
        return {"placed_volumes": [{"start": 0, "fs": "ntfs", "volume": name}], "files": files}

    Recipe(name, exercises, [], build, lambda ctx, b: describe_raw(ctx, name, b), verify_ntfs(name))


FAT_CONTENT = ("nested folders, long names (one of exactly 26 characters), names outside ASCII, a lower-case 8.3 "
               "name, empty files, a deleted short-name file, deleted long-name files, a deleted folder tree "
               "(mdeltree), a file fragmented around two freed holes")
NTFS_CONTENT = ("folders, resident and non-resident files, a fragmented file (written back to front: its runs go "
                "backwards), a sparse file, names outside ASCII, deleted files, a deleted folder with contents "
                "(contents removed first)")

fat_volume("fat16.raw", "fat16", 32, 4, "FAT16VOL", "FAT16 volume, no partition table, 2 KiB clusters: " + FAT_CONTENT)
fat_volume("fat32.raw", "fat32", 72, 2, "FAT32VOL", "FAT32 volume, no partition table, 1 KiB clusters: " + FAT_CONTENT)
fat_volume("fat32_512.raw", "fat32", 40, 1, "FAT32S512",
           "FAT32 volume with 512-byte clusters: " + FAT_CONTENT + "; and the folder 'Many entries' of "
           f"{fat.MANY_COUNT} long-named files whose cluster chain is longer than 100 clusters", many=True)
ntfs_volume("ntfs_512.raw", 16, 512, "NTFS512", "NTFS volume, 512-byte clusters: " + NTFS_CONTENT)
ntfs_volume("ntfs_4k.raw", 16, 4096, "NTFS4K", "NTFS volume, 4 KiB clusters: " + NTFS_CONTENT)
ntfs_volume("ntfs_64k.raw", 32, 65536, "NTFS64K", "NTFS volume, 64 KiB clusters: " + NTFS_CONTENT)


def build_carving(ctx):
    name = "carving.raw"
    image = ctx.path(name)
    work = ctx.work(name)
    staging = os.path.join(work, "carve")
    os.makedirs(staging, exist_ok=True)
    if os.path.exists(image):
        os.remove(image)
    run(["mkfs.fat", "-C", "--invariant", "--mbr=n", "-F", "32", "-s", 1, "-g", "255/63", "-h", 0, "-n", "CARVING",
         image, 40 * 1024])
    items = samples.make(work)
    for file_name, data, *_ in items:
        with open(os.path.join(staging, file_name), "wb") as f:
            f.write(data)
    run(["mcopy", "-i", image] + [i[0] for i in items] + ["::/"], cwd=staging)
    gone = [i[0] for i in items if i[4]]
    run(["mdel", "-i", image] + ["::/" + n for n in gone])
    listed = [{"path": n, "type": t, "valid": v, "deleted": d, "size": len(data), "sha256": sha256_bytes(data),
               "note": note} for n, data, t, v, d, note in items]
    return {"placed_volumes": [{"start": 0, "fs": "fat32", "volume": name}], "samples": listed}


Recipe("carving.raw", "FAT32 volume with 512-byte clusters holding carving samples (JPEG, PNG, GIF, BMP, PDF, ZIP, "
       "compound files naming Word, Excel and PowerPoint), each starting at a sector, some deleted, one cut short, one "
       "embedded off a sector start; photorec's hits recorded", [], build_carving,
       lambda ctx, b: describe_raw(ctx, "carving.raw", b))


def table_rows(ctx, parts):
    """Partition entries from (start, size or None for the volume's own, type, volume or None)."""
    return [{"start": s, "size": disks.volume_sectors(ctx.out, v) if size is None else size, "type": t, "volume": v}
            for s, size, t, v in parts]


def table_facts(table):
    return [{k: v for k, v in p.items() if k != "volume"} for p in table]


def disk(name, exercises, total, label_id, parts, loose=(), after=None):
    """A disk image of total sectors (None: 2048 after its last partition). parts: (start, size or None for the
    volume's, type, volume or None) in sfdisk order; loose: (volume, start) placed without a table entry;
    after(ctx, path, built) damages the result."""
    deps = sorted({p[3] for p in parts if p[3]} | {v for v, _ in loose})

    def build(ctx):
        path = ctx.path(name)
        table = table_rows(ctx, parts)
        sectors = total or max(p["start"] + p["size"] for p in table) + 2048
        placed = disks.build_disk(path, ctx.out, sectors, label_id, table, loose)
        for p in placed:
            expect(p["start"] + p["sectors"] <= sectors, name, f"volume at {p['start']} runs past the disk's end")
        built = {"placed_volumes": placed, "table": table_facts(table)}
        if after:
            after(ctx, path, built)
        return built

    Recipe(name, exercises, deps, build, lambda ctx, b: describe_raw(ctx, name, b))


disk("mbr_primary.raw", "MBR with four primary partitions: FAT16 (06), FAT32 LBA (0C), NTFS (07) and a blank "
     "Linux (83) partition that no reader should take for a volume", 251904, 0x0D15C001,
     [(2048, None, 0x06, "fat16.raw"), (67584, None, 0x0C, "fat32.raw"), (215040, None, 0x07, "ntfs_4k.raw"),
      (247808, 2048, 0x83, None)])
disk("mbr_extended.raw", "MBR with an NTFS primary partition and an extended partition (05) whose chain of extended "
     "boot records holds a FAT16 and a FAT32 logical partition", 253952, 0x0D15C002,
     [(2048, None, 0x07, "ntfs_4k.raw"), (34816, 217088, 0x05, None), (36864, None, 0x06, "fat16.raw"),
      (104448, None, 0x0B, "fat32.raw")])
CYL_PARTS = [(63, None, 0x06, "fat16.raw"), (5 * C, None, 0x07, "ntfs_4k.raw"), (8 * C, 63 + 147456, 0x0F, None),
             (8 * C + 63, None, 0x0B, "fat32.raw")]
disk("cyl_aligned.raw", "partitions on cylinder boundaries of the 255x63 geometry, for the partition search: FAT16 at "
     "sector 63 (cylinder 0, head 1), NTFS at 5 x 16065 (head 0), an extended partition at 8 x 16065 whose logical "
     "FAT32 starts at 8 x 16065 + 63 (head 1)", 20 * C, 0x0D15C003, CYL_PARTS)


def clear_mbr_signature(ctx, path, built):
    disks.clear_signature(path, 0)
    built["damage"] = {"what": "MBR bytes 510-511 (55 AA) cleared", "sectors": [0]}


disk("mbr_nosig.raw", "the layout of cyl_aligned.raw with the MBR's 55 AA cleared: the table must be ignored and the "
     "volumes found by the partition search", 20 * C, 0x0D15C004, CYL_PARTS, after=clear_mbr_signature)
disk("notable.raw", "a disk with no partition table at all (sector 0 blank): NTFS (512-byte clusters) at sector 63, "
     "FAT32 at 3 x 16065 (head 0), FAT16 at 13 x 16065 + 63 (head 1); only the partition search finds them",
     20 * C, 0, [], loose=[("ntfs_512.raw", 63), ("fat32.raw", 3 * C), ("fat16.raw", 13 * C + 63)])


# ---------------------------------------------------------------- damage kit

def damage(kind):
    def after(ctx, path, built):
        v = built["placed_volumes"][0]
        start = v["start"]
        info = {"volume_start": start, "intact": v["volume"]}
        if kind == "boot_signature":
            disks.clear_signature(path, start)
            info.update(what="boot sector bytes 510-511 (55 AA) cleared", sectors=[start])
        elif kind == "boot_sector":
            disks.zero_sectors(path, start, 1)
            backup = {"fat32": start + 6, "ntfs": start + v["sectors"] - 1}.get(v["fs"])
            info.update(what="boot sector zeroed", sectors=[start], backup_boot_sector=backup)
        elif kind == "first_fat":
            first, count = disks.fat_table_sectors(path, start)
            disks.zero_sectors(path, first, count)
            info.update(what="first allocation table zeroed (the second is intact)",
                        sectors=[first, first + count - 1])
        elif kind == "folder_record":
            folder = ntfs.DAMAGE_FOLDER
            record = disks.tsk_inode(path, start, folder)
            sectors = disks.ntfs_record_sectors(path, start, record)
            for s in sectors:
                disks.zero_sectors(path, s, 1)
            # TSK opens the emptied folder and lists nothing under it, so what was inside comes from the intact
            # volume's listing.
            intact = ctx.manifest(v["volume"])["volumes"][0]["entries"]
            lost = [{k: e[k] for k in ("path", "inode", "dir", "deleted", "size", "sha256")}
                    for e in intact if e["path"].startswith(folder + "/")]
            info.update(what=f"MFT record {record} of the folder {folder} zeroed: its children lose their parent",
                        sectors=sectors, folder=folder, mft_record=record, lost=lost)
        built["damage"] = info

    return after


for _name, _vol, _type, _kind, _text in [
    ("dmg_fat16_sig.raw", "fat16.raw", 0x06, "boot_signature", "a FAT16 volume whose boot sector lacks 55 AA"),
    ("dmg_fat16_boot.raw", "fat16.raw", 0x06, "boot_sector",
     "a FAT16 volume whose boot sector is zeroed (FAT16 has no backup)"),
    ("dmg_fat32_boot.raw", "fat32.raw", 0x0C, "boot_sector",
     "a FAT32 volume whose boot sector is zeroed; the backup at +6 is intact"),
    ("dmg_fat16_fat1.raw", "fat16.raw", 0x06, "first_fat", "a FAT16 volume whose first allocation table is zeroed"),
    ("dmg_fat32_fat1.raw", "fat32.raw", 0x0C, "first_fat", "a FAT32 volume whose first allocation table is zeroed"),
    ("dmg_ntfs_boot.raw", "ntfs_4k.raw", 0x07, "boot_sector",
     "an NTFS volume whose boot sector is zeroed; the backup in the volume's last sector is intact"),
    ("dmg_ntfs_dirrec.raw", "ntfs_4k.raw", 0x07, "folder_record",
     "an NTFS volume whose folder Documents/Reports has its MFT record zeroed: its children are lost"),
]:
    disk(_name, "damage kit: MBR with one partition at 2048 holding " + _text, None, 0x0D15D000 + len(RECIPES),
         [(2048, None, _type, _vol)], after=damage(_kind))


# ---------------------------------------------------------------- wrappers

def describe_wrapper(ctx, name, built):
    path = ctx.path(name)
    m = {}
    try:
        m["container"] = oracle.qemu_info(path)
    except ToolError as e:
        m["container"] = {"error": str(e).split(": ", 2)[-1].replace(path, name)}
    m["layout"] = vhdx.describe(path) if name.endswith(".vhdx") else vhd.describe(path)
    with ctx.scratch() as tmp:
        readable = path
        how = built.get("read_as")
        if how:
            readable = os.path.join(tmp, "readable" + os.path.splitext(name)[1])
            copy_sparse(path, readable)
            if how == "footer_checksum_fixed":
                vhd.set_footer_field(readable, 64, b"", fix_checksum=True)
            elif how == "plain_dynamic_vhd":
                vhd.set_footer_field(readable, 60, struct.pack(">I", vhd.DYNAMIC), fix_checksum=True)
            elif how == "plain_dynamic_vhdx":
                vhdx.as_plain_dynamic(readable)
        raw = oracle.to_raw(readable, os.path.join(tmp, "virtual.raw"))
        m["virtual_disk"] = oracle.virtual_disk(raw)
        source = built.get("source")
        if source and ctx.manifest(source)["virtual_disk"] == m["virtual_disk"]:
            # Same bytes as the source disk: its partitions and volumes, which its own manifest checks.
            src = ctx.manifest(source)
            m["partitions"] = src["partitions"]
            m["volumes"] = src["volumes"]
        else:
            placed_from = ctx.manifest(source)["built"] if source else built
            placed = [v["start"] for v in placed_from.get("placed_volumes", [])]
            m.update(oracle.describe_disk(raw, placed, ctx.pool, listing=not built.get("no_listing"),
                                          cache=ctx.cache))
    return m


def settle_vhd_footer(path, name):
    """qemu stamps the time of day and a random identity into the footer, and with force_size the largest
    geometry (65535/16/255); fixed values keep the file stable, and the geometry the format's rule gives for the
    size is the one other writers put there and the partition search reads. qemu itself reads the size field."""
    vhd.set_footer_field(path, 24, struct.pack(">I", FIXED_EPOCH - vhd.VHD_EPOCH), fix_checksum=True)
    vhd.set_footer_field(path, 68, vhd.unique_id(name), fix_checksum=True)
    size = vhd.parse_footer(vhd.read_footer(path))["current_size"]
    vhd.set_footer_field(path, 56, struct.pack(">HBB", *vhd.geometry(size)), fix_checksum=True)


SEARCHED = {"cyl_aligned.raw", "mbr_nosig.raw", "notable.raw"}  # disks whose volumes the partition search must find


def verify_search_reach(image):
    """The cylinders the partition search walks (the footer's geometry, translated to 255 x 63 unless it already
    has 63 sectors per track) reach every volume."""
    def verify(m):
        f = m["layout"]["footer"]
        c, h, s = f["cylinders"], f["heads"], f["sectors_per_track"]
        cylinders, per = (c, h * s) if s == 63 else (c * h * s // C, C)
        for v in m["volumes"]:
            expect(v["start"] // per < cylinders, image, f"search stops before the volume at {v['start']}")

    return verify


def qemu_wrapper(name, source, exercises, fmt, options):
    def build(ctx):
        path = ctx.path(name)
        if os.path.exists(path):
            os.remove(path)
        run(["qemu-img", "convert", "-f", "raw", "-O", fmt, "-o", options, ctx.path(source), path])
        if fmt == "vpc":
            settle_vhd_footer(path, name)
        else:
            vhdx.make_stable(path, name)
        return {"source": source, "qemu_options": f"-O {fmt} -o {options}"}

    verify = verify_search_reach(name) if fmt == "vpc" and source in SEARCHED else None
    Recipe(name, exercises, [source], build, lambda ctx, b: describe_wrapper(ctx, name, b), verify)


RAW_IMAGES = [n for n in RECIPES if n.endswith(".raw")]
MAIN_DISKS = ["mbr_primary.raw", "mbr_extended.raw", "cyl_aligned.raw", "mbr_nosig.raw", "notable.raw"]
for _raw in RAW_IMAGES:
    _base = _raw[:-4]
    qemu_wrapper(_base + ".fixed.vhd", _raw, f"fixed VHD (qemu-img, force_size) of {_raw}", "vpc",
                 "subformat=fixed,force_size=on")
for _raw in MAIN_DISKS + ["carving.raw"]:
    _base = _raw[:-4]
    qemu_wrapper(_base + ".dynamic.vhd", _raw, f"dynamic VHD (qemu-img, 2 MiB blocks, force_size) of {_raw}", "vpc",
                 "subformat=dynamic,force_size=on")
for _raw in MAIN_DISKS:
    for _mib in (1, 8, 32):
        qemu_wrapper(f"{_raw[:-4]}.{_mib}m.vhdx", _raw, f"dynamic VHDX (qemu-img) of {_raw} with {_mib} MiB blocks",
                     "vhdx", f"subformat=dynamic,block_size={_mib}M")


# ---------------------------------------------------------------- differencing disks

CHILD_FILE = "Added in child.txt"
CHILD_REMOVED = "README.TXT"
CHILD_BIG = "Large file added in child.bin"
CHILD_BIG_SIZE = 5 * MIB // 2  # covers at least one whole 2 MiB block, so that block is fully present


def child_changes(ctx, work):
    """mbr_extended.raw changed by mtools in both FAT partitions (FAT16: a file added, one deleted; FAT32: a large
    file added): the sectors that differ from the parent with the changed disk's bytes, and the changed volumes."""
    parent = ctx.path("mbr_extended.raw")
    changed = os.path.join(work, "changed.raw")
    copy_sparse(parent, changed)
    placed = {v["fs"]: v["start"] for v in ctx.manifest("mbr_extended.raw")["built"]["placed_volumes"]}
    small = os.path.join(work, CHILD_FILE)
    with open(small, "wb") as f:
        f.write(b"".join(f"line {i} written into the child disk only\r\n".encode() for i in range(200)))
    big = os.path.join(work, CHILD_BIG)
    with open(big, "wb") as f:
        f.write(pseudo_bytes(CHILD_BIG, CHILD_BIG_SIZE))
    fat16 = f"{changed}@@{placed['fat16'] * SECTOR}"
    run(["mcopy", "-i", fat16, small, "::/"])
    run(["mdel", "-i", fat16, "::/" + CHILD_REMOVED])
    run(["mcopy", "-i", f"{changed}@@{placed['fat32'] * SECTOR}", big, "::/"])
    sectors = {}
    with open(parent, "rb") as a, open(changed, "rb") as b:
        size = os.path.getsize(parent)
        for at in range(0, size, MIB):
            x, y = a.read(MIB), b.read(MIB)
            if x != y:
                for s in range(0, len(x), SECTOR):
                    if x[s:s + SECTOR] != y[s:s + SECTOR]:
                        sectors[(at + s) // SECTOR] = y[s:s + SECTOR]
    return changed, sectors, [placed["fat16"], placed["fat32"]]


def child_blocks(sectors, block_size):
    per = block_size // SECTOR
    blocks = {}
    for s, data in sectors.items():
        index, within = divmod(s, per)
        buf, present = blocks.setdefault(index, (bytearray(block_size), set()))
        buf[within * SECTOR:(within + 1) * SECTOR] = data
        present.add(within)
    return {i: (bytes(buf), None if len(p) == per else p) for i, (buf, p) in blocks.items()}


def sector_runs(sectors):
    runs = []
    for s in sorted(sectors):
        if runs and runs[-1][0] + runs[-1][1] == s:
            runs[-1][1] += 1
        else:
            runs.append([s, 1])
    return runs


def differencing(name, parent_name, fmt):
    def build(ctx):
        work = ctx.work(name)
        changed, sectors, volume_starts = child_changes(ctx, work)
        size = os.path.getsize(ctx.path("mbr_extended.raw"))
        block_size = 2 * MIB
        blocks = child_blocks(sectors, block_size)
        rel, absolute = ".\\" + parent_name, "C:\\Images\\" + parent_name
        path = ctx.path(name)
        if fmt == "vhd":
            pf = vhd.parse_footer(vhd.read_footer(ctx.path(parent_name)))
            vhd.write_dynamic(path, size, blocks, name, block_size,
                              parent={"unique_id": pf["unique_id"], "timestamp": pf["timestamp"],
                                      "name": parent_name, "relative": rel, "absolute": absolute})
            identity = {"parent_unique_id": pf["unique_id"], "parent_timestamp": pf["timestamp"]}
            how = "plain_dynamic_vhd"
        else:
            with open(ctx.path(parent_name), "rb") as f:
                linkage = vhdx.current_header(f)["data_write_guid"]
            vhdx.write_differencing(path, size, blocks, name, block_size=block_size,
                                    parent={"data_write_guid": linkage, "relative": rel, "absolute": absolute})
            identity = {"parent_linkage": linkage}
            how = "plain_dynamic_vhdx"
        merged = oracle.virtual_disk(changed)
        listings = [oracle.describe_volume(changed, s, ctx.pool, ctx.cache) for s in volume_starts]
        os.remove(changed)
        return {
            "parent": parent_name,
            "read_as": how,
            "no_listing": True,
            "differencing": {
                **identity,
                "block_size": block_size,
                "present_blocks": [
                    {"block": i, "virtual_offset": i * block_size,
                     "sectors": "all" if p is None else sector_runs(p)}
                    for i, (_, p) in sorted(blocks.items())],
                "changed_sectors": sector_runs(sectors),
                "what_changed": f"by mtools: in the FAT16 partition at sector {volume_starts[0]} '{CHILD_FILE}' "
                                f"added and '{CHILD_REMOVED}' deleted; in the FAT32 partition at sector "
                                f"{volume_starts[1]} '{CHILD_BIG}' added",
                "merged_virtual_disk": merged,
                "merged_volumes": listings,
            },
        }

    Recipe(name, f"differencing {fmt.upper()} over {parent_name} (written by {fmt}.py): only the changed "
           "blocks present, each holding just the changed sectors (bitmap bits set for them) and zeros elsewhere; "
           "parent identity and locators filled in", [parent_name, "mbr_extended.raw"], build,
           lambda ctx, b: describe_wrapper(ctx, name, b))


differencing("mbr_extended.diff.vhd", "mbr_extended.dynamic.vhd", "vhd")
differencing("mbr_extended.diff.vhdx", "mbr_extended.32m.vhdx", "vhdx")


# ---------------------------------------------------------------- large images

BIG_SIZE = 6 * 1024 * MIB
BIG_PARTS = [(9437184, None, 0x0C, "fat32.raw"), (10485760, None, 0x07, "ntfs_4k.raw")]  # at 4.5 GiB and 5 GiB
BIG_DATA_AT = 4 * 1024 * MIB  # file offset from which the volumes' blocks are stored


def build_big_vhd(ctx):
    name = "big.vhd"
    work = ctx.work(name)
    composed = os.path.join(work, "big.raw")
    table = table_rows(ctx, BIG_PARTS)
    placed = disks.build_disk(composed, ctx.out, BIG_SIZE // SECTOR, 0x0D15C0B1, table)
    block_size = 2 * MIB
    blocks = {}
    with open(composed, "rb") as f:
        for start, n in data_extents(f, BIG_SIZE):
            for i in range(start // block_size, -(-(start + n) // block_size)):
                if i not in blocks:
                    f.seek(i * block_size)
                    data = f.read(block_size)
                    if data.count(0) != len(data):
                        blocks[i] = (data, None)
    # The first volume block's bitmap sits in the last sector below 4 GiB, so its data begins at 4 GiB exactly.
    first_far = min(i for i in blocks if i > 0)

    def place(index, next_free):
        if index == first_far:
            return BIG_DATA_AT // SECTOR - 1
        return next_free

    layout = vhd.write_dynamic(ctx.path(name), BIG_SIZE, blocks, name, block_size, place=place)
    expected = oracle.virtual_disk(composed)
    os.remove(composed)
    return {"placed_volumes": placed, "table": table_facts(table), "written_by": "vhd.py",
            "block_file_sectors": {str(k): v for k, v in sorted(layout.items())},
            "expected_nonzero_chunks": expected["nonzero_chunks"]}


def verify_big_vhd(m):
    far = [b for b in m["layout"]["allocated_blocks"] if b["data_offset"] >= BIG_DATA_AT]
    expect(len(far) >= 2, "big.vhd", "no blocks beyond file offset 4 GiB")
    expect(m["virtual_disk"]["nonzero_chunks"] == m["built"]["expected_nonzero_chunks"], "big.vhd",
           "qemu reads other bytes than were composed")


Recipe("big.vhd", "dynamic VHD of 6 GiB (written by vhd.py, 2 MiB blocks) whose partitions lie at 4.5 GiB (FAT32) and "
       "5 GiB (NTFS) and whose blocks are stored beyond file offset 4 GiB (the file is sparse)",
       ["fat32.raw", "ntfs_4k.raw"], build_big_vhd, lambda ctx, b: describe_wrapper(ctx, "big.vhd", b),
       verify_big_vhd)

BIG5G_SIZE = 5 * 1024 * MIB
BIG5G_AT = 4500 * MIB


def build_big5g(ctx):
    name = "big5g.vhdx"
    work = ctx.work(name)
    composed = os.path.join(work, "big5g.raw")
    table = table_rows(ctx, [(BIG5G_AT // SECTOR, None, 0x06, "fat16.raw")])
    placed = disks.build_disk(composed, ctx.out, BIG5G_SIZE // SECTOR, 0x0D15C5C5, table)
    path = ctx.path(name)
    if os.path.exists(path):
        os.remove(path)
    run(["qemu-img", "create", "-q", "-f", "vhdx", "-o", "subformat=dynamic,block_size=32M", path, BIG5G_SIZE])
    cmds = []
    with open(composed, "rb") as f:
        for n, (start, length) in enumerate(data_extents(f, BIG5G_SIZE)):
            piece = os.path.join(work, f"piece{n}.bin")
            with open(piece, "wb") as p:
                f.seek(start)
                p.write(f.read(length))
            cmds += ["-c", f"write -q -s {piece} {start} {length}"]
    run(["qemu-io", "-f", "vhdx", *cmds, path])
    vhdx.make_stable(path, name)
    os.remove(composed)
    return {"placed_volumes": placed, "table": table_facts(table), "written_by": "qemu-img create + qemu-io write",
            "data_at": BIG5G_AT}


def verify_big5g(m):
    lay = m["layout"]
    past = [e for e in lay["bat_allocated"] if e["kind"] == "payload" and e["index"] > lay["chunk_ratio"]]
    expect(past and lay["sector_bitmap_entry_indices"] and lay["sector_bitmap_entry_indices"][0] < past[0]["index"],
           "big5g.vhdx", "no data block after a sector-bitmap entry")
    expect(m["volumes"] and m["volumes"][0].get("fs") == "fat16", "big5g.vhdx", "volume at 4500 MiB not read")


Recipe("big5g.vhdx", "dynamic VHDX of 5 GiB, 32 MiB blocks (qemu-img create), the MBR and a FAT16 volume written with "
       "qemu-io, the volume at 4500 MiB: its block lies past the first chunk, so the block table holds a sector-bitmap "
       "entry before it", ["fat16.raw"], build_big5g, lambda ctx, b: describe_wrapper(ctx, "big5g.vhdx", b),
       verify_big5g)


# ---------------------------------------------------------------- broken footers

def bad_footer(name, source, tail_only, exercises):
    def build(ctx):
        path = ctx.path(name)
        copy_sparse(ctx.path(source), path)
        good = struct.unpack(">I", vhd.read_footer(path)[64:68])[0]
        vhd.set_footer_field(path, 64, struct.pack(">I", good ^ 0x00FF0000), fix_checksum=False,
                             tail_only=tail_only)
        built = {"source": source.replace(".fixed.vhd", ".raw").replace(".dynamic.vhd", ".raw"),
                 "copy_of": source, "good_checksum": good, "written_checksum": good ^ 0x00FF0000}
        if not tail_only:
            built["read_as"] = "footer_checksum_fixed"
        return built

    Recipe(name, exercises, [source, "mbr_primary.raw"], build, lambda ctx, b: describe_wrapper(ctx, name, b))


bad_footer("badfooter.vhd", "mbr_primary.dynamic.vhd", True,
           "dynamic VHD of mbr_primary.raw whose footer at the end has a wrong checksum (the copy at offset 0 is "
           "intact, so qemu still reads it)")
bad_footer("badfooter.fixed.vhd", "mbr_primary.fixed.vhd", False,
           "fixed VHD of mbr_primary.raw whose footer has a wrong checksum (qemu refuses it; the oracle reads a copy "
           "with the checksum repaired)")


def build_order(names=None):
    """Recipe names with every dependency before its users; names limits it to those and what they need."""
    wanted = set(RECIPES) if not names else set()
    stack = list(names or [])
    while stack:
        n = stack.pop()
        if n not in RECIPES:
            raise KeyError(f"no image named {n}")
        if n not in wanted:
            wanted.add(n)
            stack += RECIPES[n].deps
    order, done = [], set()

    def visit(n):
        if n in done:
            return
        for d in RECIPES[n].deps:
            visit(d)
        done.add(n)
        order.append(n)

    for n in RECIPES:
        if n in wanted:
            visit(n)
    return order
