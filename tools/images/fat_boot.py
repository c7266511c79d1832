"""The geometry a FAT16 or FAT32 boot sector gives, read from a raw volume (from sector 0), for the tools that change
a volume's tables and entries in place."""
import collections
import struct

from util import SECTOR

Geometry = collections.namedtuple(
    "Geometry", "spc reserved fats root_entries spf fat32 root_cluster total root_sector data")


def read(raw):
    """The boot sector's geometry: sectors per cluster, reserved sectors, tables and their sectors (spf), root
    entries (FAT16), FAT32 or not, the FAT32 root cluster, total sectors, and the first sectors of the FAT16 root
    (after the tables) and of the data area."""
    with open(raw, "rb") as f:
        boot = f.read(SECTOR)
    reserved, = struct.unpack_from("<H", boot, 14)
    root_entries, total16 = struct.unpack_from("<HH", boot, 17)
    spf16, = struct.unpack_from("<H", boot, 22)
    fat32 = spf16 == 0
    spf = struct.unpack_from("<I", boot, 36)[0] if fat32 else spf16
    root_sector = reserved + boot[16] * spf
    return Geometry(spc=boot[13], reserved=reserved, fats=boot[16], root_entries=root_entries, spf=spf, fat32=fat32,
                    root_cluster=struct.unpack_from("<I", boot, 44)[0] if fat32 else 0,
                    total=total16 or struct.unpack_from("<I", boot, 32)[0], root_sector=root_sector,
                    data=root_sector + (root_entries * 32 + SECTOR - 1) // SECTOR)
