"""The listed-base benchmark's volumes, built once into a cache folder (build/bench of the source tree).

    python3 bench/listed_base_volumes.py CACHE MIB

Makes CACHE/listed_baseMIB.raw and .vhd (a fixed VHD of it): an NTFS volume of MIB MiB (mkntfs, 4 KiB clusters)
holding plain.txt, whose MFT grows into the volume's longest free run and holds there one base record whose
attribute list of 256 KiB, in clusters of its own, names in turn the extension records after it (as many as
the run holds), which name it as their base (tools/images/ntfs_records.py). Prints the sector count and the
number of extension records.
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "tools", "images"))

import ntfs  # noqa: E402
import ntfs_records  # noqa: E402
from util import SECTOR, fresh_dir, text_bytes  # noqa: E402
from volumes import ntfs_helper, wrap_fixed_vhd  # noqa: E402

LIST_BYTES = 256 * 1024


def main():
    cache, mib = os.path.abspath(sys.argv[1]), int(sys.argv[2])
    os.makedirs(cache, exist_ok=True)
    raw = os.path.join(cache, "listed_base%d.raw" % mib)
    vhd = raw[:-len(".raw")] + ".vhd"
    count = raw + ".extensions"
    if not all(os.path.exists(p) for p in (raw, vhd, count)):
        work = fresh_dir(raw + ".work")
        partial = raw + ".part"
        ntfs.make_empty(partial, mib, 4096, "LISTED")
        local = os.path.join(work, "plain")
        with open(local, "wb") as f:
            f.write(text_bytes("plain", 3000))
        ntfs.run_script(ntfs_helper(cache), partial, [["put", "/plain.txt", local]], os.path.join(work, "script"))
        _, extensions = ntfs_records.add_listed_base(partial, None, LIST_BYTES)
        os.replace(partial, raw)
        if os.path.exists(vhd):
            os.remove(vhd)
        wrap_fixed_vhd(raw, vhd)
        with open(count, "w") as f:
            f.write(str(extensions))
    print(os.path.getsize(raw) // SECTOR, open(count).read())


if __name__ == "__main__":
    main()
