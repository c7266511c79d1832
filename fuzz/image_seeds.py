#!/usr/bin/env python3
"""Writes the seeds of fuzz_vhd and fuzz_vhdx: small images made by qemu-img, in the sparse-file form that
image_fuzz_file.h reads (u32 file size, then pieces of u32 offset, u16 length and bytes; only the non-zero
sectors of the file are kept).

    python3 fuzz/image_seeds.py
"""

import os
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
SECTOR = 512
sys.path.insert(0, os.path.join(HERE, "..", "tools", "images"))

import vhdx  # noqa: E402


def encode(path):
    data = open(path, "rb").read()
    out = bytearray(struct.pack("<I", len(data)))
    at = 0
    while at < len(data):
        if data[at:at + SECTOR].count(0) == len(data[at:at + SECTOR]):
            at += SECTOR
            continue
        end = at
        while end < len(data) and end - at < 65024 and data[end:end + SECTOR].count(0) != len(data[end:end + SECTOR]):
            end += SECTOR
        end = min(end, len(data))
        out += struct.pack("<IH", at, end - at) + data[at:end]
        at = end
    return bytes(out)


def qemu(*args):
    subprocess.run(["qemu-img", *args], check=True, stdout=subprocess.DEVNULL)


def write(fmt, path, pattern_writes):
    cmds = []
    for pattern, at, length in pattern_writes:
        cmds += ["-c", f"write -q -P {pattern} {at} {length}"]
    subprocess.run(["qemu-io", "-f", fmt, *cmds, path], check=True)


def seed(target, name, path):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(encode(path))


def main():
    with tempfile.TemporaryDirectory() as tmp:
        p = os.path.join(tmp, "dynamic.vhd")
        qemu("create", "-q", "-f", "vpc", "-o", "subformat=dynamic", p, "8M")
        write("vpc", p, [(0x5A, 2 * 1024 * 1024 - 512, 1024), (0x33, 0, 512)])
        seed("fuzz_vhd", "dynamic", p)
        # The same disk as a copy leaves it: its footer lost (the copy at the start stands in), and a block placed
        # past the end of the file.
        data = open(p, "rb").read()
        cut = os.path.join(tmp, "cut.vhd")
        with open(cut, "wb") as f:
            f.write(data[:-512])
        seed("fuzz_vhd", "cut", cut)
        with open(cut, "wb") as f:
            f.write(data[:1536] + struct.pack(">I", len(data) // 512 + 16) + data[1540:])
        seed("fuzz_vhd", "block_past_end", cut)
        p = os.path.join(tmp, "fixed.vhd")
        qemu("create", "-q", "-f", "vpc", "-o", "subformat=fixed", p, "64K")
        write("vpc", p, [(0x44, 4096, 512)])
        seed("fuzz_vhd", "fixed", p)

        p = os.path.join(tmp, "dynamic.vhdx")
        qemu("create", "-q", "-f", "vhdx", "-o", "subformat=dynamic,block_size=1M", p, "4M")
        write("vhdx", p, [(0x11, 1024 * 1024 - 512, 1024), (0x22, 3 * 1024 * 1024, 512)])
        seed("fuzz_vhdx", "dynamic", p)
        p = os.path.join(tmp, "fixed.vhdx")
        qemu("create", "-q", "-f", "vhdx", "-o", "subformat=fixed,block_size=1M", p, "2M")
        seed("fuzz_vhdx", "fixed", p)
        # A disk its machine left open: blocks in the order it wrote them, its table's latest changes in the log (a
        # sequence running around the ring's end past an earlier one's entry, with a zero descriptor).
        p = os.path.join(tmp, "logged.vhdx")
        qemu("create", "-q", "-f", "vhdx", "-o", "subformat=dynamic,block_size=1M", p, "4M")
        write("vhdx", p, [(0x11, 0, 512), (0x22, 1024 * 1024, 512), (0x33, 3 * 1024 * 1024 + 512, 512)])
        vhdx.guest_order(p, 1)
        offset, length = vhdx.log_region(p)
        info = vhdx.describe(p)
        vhdx.pending_log(p, 2, "logged", first=length - 4096, extra=[(min(
            e["file_offset"] for e in info["bat_allocated"] if e["kind"] == "payload") + 4096, 4096)],
            stale=(length // 2, [(info["regions"]["bat"]["offset"], 4096)]))
        seed("fuzz_vhdx", "logged", p)


if __name__ == "__main__":
    main()
