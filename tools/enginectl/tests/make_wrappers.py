#!/usr/bin/env python3
"""The wrappers the end-to-end matrix needs that the test images do not include: for every raw disk of the
matrix, each of fixed VHD, dynamic VHD and VHDX with 1, 8 and 32 MiB blocks that build/images lacks, made by the
image generator's own recipe (qemu-img convert, then the generator's fixed footer identity and geometry, or its
stable VHDX identities).

    make_wrappers.py --images DIR --out DIR

A wrapper newer than its raw disk is kept. Prints one line per wrapper made.
"""
import argparse
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import driver  # noqa: E402,F401  (puts tools/images on the path)
import e2e_test  # noqa: E402
import recipes  # noqa: E402


class Context:
    """What a recipe's build reads of the generator's context: where each image lies."""

    def __init__(self, images, out, made):
        self.images, self.out, self.made = images, out, made

    def path(self, name):
        return os.path.join(self.out if name == self.made else self.images, name)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--images", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    for disk in e2e_test.RAW_DISKS:
        raw = os.path.join(args.images, disk + ".raw")
        for suffix, fmt, options in e2e_test.WRAPPERS:
            name = disk + suffix
            path = os.path.join(args.out, name)
            if os.path.exists(os.path.join(args.images, name)):
                continue
            if os.path.exists(path) and os.path.getmtime(path) > os.path.getmtime(raw):
                continue
            recipes.qemu_wrapper(name, disk + ".raw", "", fmt, options)
            recipes.RECIPES[name].build(Context(args.images, args.out, name))
            print("made " + name)
    return 0


if __name__ == "__main__":
    sys.exit(main())
