"""FAT volumes made by mkfs.fat and mtools that keep the truth of what was written to them: every file's bytes (live
or deleted) and the clusters mtools gave it (mshowfat), so that damage done afterwards to one allocation table copy,
to both, or by a later history (space written again after a delete, a quick format) is judged by the files, not by
a reader of the tables (The Sleuth Kit reads the first table only).

    v = Volume(work, "name", "fat16", 16)        # mkfs.fat --invariant; "fat12" of 0 MiB makes a 1.44 MB floppy
    v.mkdir("Docs"); v.put("Docs/a.bin", 3000); v.delete("Docs/a.bin")   # put(..., mtime=T) dates it
    v.redate("Docs/a.bin", T)                     # its last write alone, as a copy keeps its source's
    v.name_as_windows("JP1.TXT", "日本語.TXT", 932)  # an entry's 8.3 bytes as Windows writes them in a code page
    v.link(cluster, value, copies=(1,))           # one table entry of one copy (or both)
    v.image()                                     # a fixed VHD of the raw volume, as the driver reads it
"""
import os
import re
import struct

from disks import write_table
from history import redate_entry
from util import SECTOR, copy_into, copy_sparse, make_sparse, pseudo_bytes, run
import vhd

END = {12: 0xFFF, 16: 0xFFFF, 32: 0x0FFFFFFF}
ALIGN = 2048
EMPTY_FILE = " Root directory or empty file"


class Volume:
    def __init__(self, work, name, fs, mib, spc=1, mkfs=()):
        self.work, self.name, self.fs = work, name, fs
        self.code_page = None  # the OEM code page of the system that wrote it, when not 850
        self.raw = os.path.join(work, name + ".raw")
        self.files = {}     # path -> bytes: live files
        self.deleted = {}   # path -> bytes: deleted files
        self.clusters = {}  # path -> [cluster], as mtools laid the file or folder out
        self._staged = 0
        if fs == "fat12" and mib == 0:
            make_sparse(self.raw, 1440 * 1024)
            run(["mkfs.fat", "--invariant", "-C", "-F", "12", self.raw + ".new", 1440] + list(mkfs))
            os.replace(self.raw + ".new", self.raw)
        else:
            make_sparse(self.raw, mib << 20)
            run(["mkfs.fat", "--invariant", "--mbr=n", "-F", fs[3:], "-s", spc] + list(mkfs) + [self.raw])
        self.read_geometry()

    def read_geometry(self):
        with open(self.raw, "rb") as f:
            boot = f.read(SECTOR)
        self.spc = boot[13]
        self.reserved, = struct.unpack_from("<H", boot, 14)
        root_entries, = struct.unpack_from("<H", boot, 17)
        spf16, = struct.unpack_from("<H", boot, 22)
        self.fat32 = spf16 == 0
        self.spf = struct.unpack_from("<I", boot, 36)[0] if self.fat32 else spf16
        self.root_sector = self.reserved + 2 * self.spf
        self.data = self.root_sector + root_entries * 32 // SECTOR
        self.bits = 32 if self.fat32 else 12 if self.fs == "fat12" else 16
        self.sectors = os.path.getsize(self.raw) // SECTOR

    # ---- writing with mtools

    def _local(self, data):
        staging = os.path.join(self.work, self.name + ".files")
        os.makedirs(staging, exist_ok=True)
        self._staged += 1
        local = os.path.join(staging, str(self._staged))
        with open(local, "wb") as f:
            f.write(data)
        return local

    def mkdir(self, *paths):
        run(["mmd", "-i", self.raw] + ["::/" + p for p in paths])
        self.clusters.update(self.chains_of(paths))

    def put(self, path, size, mtime=None, data=None):
        """Writes a file of size bytes (or the bytes data); dated mtime (seconds since 1970) when given, else now."""
        data = pseudo_bytes(self.name + path, size) if data is None else data
        local = self._local(data)
        if mtime is not None:
            os.utime(local, (mtime, mtime))
        run(["mcopy", "-i", self.raw, "-D", "o"] + (["-m"] if mtime is not None else []) + [local, "::/" + path])
        self.files[path] = data
        self.clusters[path] = self.chain_of(path)
        return data

    def redate(self, path, mtime):
        """The live file's last write date and time mtime (seconds since 1970); its creation stays."""
        redate_entry(self.raw, "/" + path, len(self.files[path]), mtime)

    def delete(self, *paths):
        run(["mdel", "-i", self.raw] + ["::/" + p for p in paths])
        for p in paths:
            self.deleted[p] = self.files.pop(p)
        self.forget_next_free()

    def name_as_windows(self, path, name, page):
        """Gives the entry mtools wrote for path (an 8.3 name of capitals, live or deleted) the 8.3 bytes Windows
        writes for name in code page `page`: its capitals, the case flags of a part in small letters, 0x05 for a
        first byte 0xE5 (a deleted entry keeps its mark). The file (or folder) is known as name afterwards."""
        folder, _, old = path.rpartition("/")
        new_base, _, new_ext = name.rpartition(".") if "." in name else (name, "", "")
        old_base, _, old_ext = old.rpartition(".") if "." in old else (old, "", "")
        codec = "cp%d" % page
        stored = new_base.upper().encode(codec).ljust(8, b" ") + new_ext.upper().encode(codec).ljust(3, b" ")
        if len(stored) != 11:
            raise RuntimeError("%s is no 8.3 name in code page %d" % (name, page))
        if stored[0] == 0xE5:
            stored = b"\x05" + stored[1:]
        flags = (0x08 if new_base != new_base.upper() else 0) | (0x10 if new_ext != new_ext.upper() else 0)
        was = (old_base.encode().ljust(8, b" ") + old_ext.encode().ljust(3, b" "))
        deleted = path in self.deleted
        data = bytearray(open(self.raw, "rb").read())
        hits = [i for i in range(0, len(data) - 31, 32) if data[i + 11] != 0x0F and
                data[i + 1:i + 11] == was[1:] and data[i] == (0xE5 if deleted else was[0])]
        if len(hits) != 1:
            raise RuntimeError("the entry of %s found %d times" % (path, len(hits)))
        i = hits[0]
        data[i + (1 if deleted else 0):i + 11] = stored[1 if deleted else 0:]
        data[i + 12] = flags
        with open(self.raw, "wb") as f:
            f.write(bytes(data))
        new = (folder + "/" if folder else "") + name
        for table in (self.files, self.deleted, self.clusters):
            if path in table:
                table[new] = table.pop(path)
        for table in (self.files, self.deleted, self.clusters):
            for p in [p for p in table if p.startswith(path + "/")]:
                table[new + p[len(path):]] = table.pop(p)

    def forget_next_free(self):
        """FAT32's next-free hint unknown: mtools allocates from the start again and fills freed holes."""
        if self.fat32:
            with open(self.raw, "r+b") as f:
                f.seek(SECTOR + 492)
                f.write(struct.pack("<I", 0xFFFFFFFF))

    def put_many(self, folder, sizes):
        """Files {name: size} into folder by one mcopy."""
        staging = os.path.join(self.work, self.name + ".files", "many%d" % self._staged)
        self._staged += 1
        os.makedirs(staging)
        locals_ = []
        for name, size in sizes.items():
            path = folder + "/" + name
            self.files[path] = pseudo_bytes(self.name + path, size)
            locals_.append(os.path.join(staging, name))
            with open(locals_[-1], "wb") as f:
                f.write(self.files[path])
        run(["mcopy", "-i", self.raw, "-D", "o"] + locals_ + ["::/" + folder + "/"])
        self.clusters.update(self.chains_of([folder + "/" + name for name in sizes]))

    def format(self):
        """mkfs.fat over the volume again (a quick format): new boot sector, tables and root; the files written so
        far are no longer the volume's."""
        run(["mkfs.fat", "--invariant", "--mbr=n", "-F", self.fs[3:], "-s", self.spc, "-R", self.reserved, self.raw])
        self.files, self.deleted = {}, {}
        self.read_geometry()

    def chain_of(self, path):
        return self.chains_of([path])[path]

    def chains_of(self, paths):
        """{path: the clusters mtools gives it, in order} (mshowfat prints "::/path <2-4> <9-11>", and none for an
        empty file)."""
        out = {}
        lines = run(["mshowfat", "-i", self.raw] + ["::/" + p for p in paths]).splitlines()
        for i, line in enumerate(lines):
            # A line a path, in their order: mtools may print a name of letters outside its code page otherwise.
            name = paths[i] if len(lines) == len(paths) else None
            if line.endswith(EMPTY_FILE):
                out[name or line[3:-len(EMPTY_FILE)]] = []
                continue
            where, _, runs = line.partition(" <")
            clusters = []
            for first, last in re.findall(r"(\d+)(?:-(\d+))?", runs):
                clusters += range(int(first), int(last or first) + 1)
            out[name or where[3:]] = clusters
        return out

    # ---- the tables, copy by copy

    def _table_offset(self, copy, cluster):
        at = (self.reserved + (copy - 1) * self.spf) * SECTOR
        return at + (cluster * 3 // 2 if self.bits == 12 else cluster * self.bits // 8)

    def entry(self, cluster, copy=1):
        with open(self.raw, "rb") as f:
            f.seek(self._table_offset(copy, cluster))
            raw = int.from_bytes(f.read(2 if self.bits == 12 else self.bits // 8), "little")
        if self.bits == 12:
            return raw >> 4 if cluster & 1 else raw & 0xFFF
        return raw & 0x0FFFFFFF

    def link(self, cluster, value, copies=(1, 2)):
        """Sets cluster's entry to value (None: the end mark) in the copies named."""
        value = END[self.bits] if value is None else value
        with open(self.raw, "r+b") as f:
            for copy in copies:
                at = self._table_offset(copy, cluster)
                f.seek(at)
                if self.bits == 12:
                    old = int.from_bytes(f.read(2), "little")
                    new = (old & 0x000F) | (value << 4) if cluster & 1 else (old & 0xF000) | value
                    f.seek(at)
                    f.write(new.to_bytes(2, "little"))
                else:
                    f.write(value.to_bytes(self.bits // 8, "little"))

    def allocated(self, cluster):
        """Whether the first table holds cluster in use now."""
        return self.entry(cluster) != 0

    def zero_sectors(self, *sectors):
        with open(self.raw, "r+b") as f:
            for s in sectors:
                f.seek(s * SECTOR)
                f.write(bytes(SECTOR))

    def read_cluster(self, cluster):
        with open(self.raw, "rb") as f:
            f.seek((self.data + (cluster - 2) * self.spc) * SECTOR)
            return f.read(self.spc * SECTOR)

    def intact(self, path, data):
        """Whether the clusters mtools gave path still hold data."""
        cluster_bytes = self.spc * SECTOR
        held = b"".join(self.read_cluster(c) for c in self.clusters[path])
        return held[:len(data)] == data and len(self.clusters[path]) * cluster_bytes >= len(data)

    def partitioned(self, type_code, logical):
        """A fixed VHD of a disk that holds the volume as it is now in a partition at 1 MiB of the type given, a primary
        one or the logical one of an extended partition (from 1 MiB, the volume 1 MiB further on)."""
        start = ALIGN * (2 if logical else 1)
        disk = os.path.join(self.work, self.name + ".disk.raw")
        make_sparse(disk, (start + self.sectors + ALIGN) * SECTOR)
        copy_into(self.raw, disk, start * SECTOR)
        entry = {"start": start, "size": self.sectors, "type": type_code}
        write_table(disk, 0x7A000000 + len(self.name), [{"start": ALIGN, "size": self.sectors + ALIGN, "type": 0x05},
                                                        entry] if logical else [entry])
        image = os.path.join(self.work, self.name + ".disk.vhd")
        copy_sparse(disk, image)
        with open(image, "ab") as f:
            f.write(vhd.make_footer(os.path.getsize(disk), 2, vhd.unique_id(self.name), 0xFFFFFFFFFFFFFFFF))
        return image

    def image(self):
        """A fixed VHD of the raw volume as it is now."""
        image = os.path.join(self.work, self.name + ".vhd")
        copy_sparse(self.raw, image)
        with open(image, "ab") as f:
            f.write(vhd.make_footer(os.path.getsize(self.raw), 2, vhd.unique_id(self.name), 0xFFFFFFFFFFFFFFFF))
        return image
