#!/usr/bin/env python3
"""Writes what the FAT directory tests expect of the FAT test volumes, from their manifests (TSK's fls).

    fat_oracle.py --images DIR --out FILE

One line per folder and file that TSK lists as the user's (no metafiles, no orphans), tab-separated:

    IMAGE  KIND  DELETED  SIZE  RUNS  PATH

KIND is D or F. RUNS: where TSK's istat
places a file's content, "FIRST+COUNT" image sectors joined by ",", or "-" (folders, empty files). PATH holds the
components joined by "/", each preceded by how a reader's name compares with TSK's (oracle.fat_names_match):
  "=" exactly;
  "~" exactly: an 8.3 name that TSK shows in lower case by its NT lower-case flags, as the reader does;
  "x" a deleted 8.3 name whose first character TSK shows as "_": the reader shows "x" there and the rest as
      TSK does;
  "s" a long name whose pieces begin in the directory sector before its entry's: a reader of one sector at a
      time keeps the short name (TSK's numbering of FAT entries gives the entry's place in its sector).
"""
import argparse
import json
import os
import re
import sys

REPO = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(REPO, "tools", "images"))

import oracle  # noqa: E402

IMAGES = ("fat16.raw", "fat32.raw", "fat32_512.raw")
SHORT_NAME = re.compile(r"[^.]{1,8}(\.[^.]{1,3})?")


def lower_case_short_name(name):
    """An 8.3 name that TSK may show in lower case by the NT flags: name and extension each in one case."""
    if SHORT_NAME.fullmatch(name) is None or name == name.upper():
        return False
    return all(part in (part.lower(), part.upper()) for part in name.split("."))


def long_name_pieces(name):
    """The 13-character long-name pieces in front of the entry that TSK names so (0 for a plain 8.3 name)."""
    plain = name.isascii() and SHORT_NAME.fullmatch(name) and (name == name.upper() or lower_case_short_name(name))
    return 0 if plain else -(-len(name.encode("utf-16-le")) // 2 // 13)


def entry_index(entry):
    """The place of the entry among the 16 of its directory sector: TSK numbers a FAT entry 3 + 16 x (its
    sector - the first sector of the root folder or data area) + its place."""
    return (int(entry["addr"]) - 3) % 16


def component(entry, index):
    name, deleted = entry["name"], entry["deleted"]
    if long_name_pieces(name) > index:
        return "s" + name
    if deleted and name.startswith("_") and SHORT_NAME.fullmatch(name):
        return "x" + name
    return ("~" if lower_case_short_name(name) else "=") + name


def lines(manifest):
    (volume,) = manifest["volumes"]
    entries = oracle.user_entries(volume)
    by_path = {e["path"]: e for e in entries}
    for e in entries:
        is_dir = e["type"].startswith("d")
        parts = e["path"].split("/")
        own = [by_path["/".join(parts[:i + 1])] for i in range(len(parts))]
        path = "/".join(component(p, entry_index(p)) for p in own)
        # istat pads the last cluster of a FAT file with sector numbers 0: the boot sector is nobody's content.
        runs = ",".join("%d+%d" % (first, count) for first, count in e.get("runs") or [] if first != volume["start"])
        runs = runs or "-"
        yield "\t".join([manifest["image"], "D" if is_dir else "F", "1" if e["deleted"] else "0", str(e["size"]),
                         runs, path])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--images", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    out = []
    for name in IMAGES:
        with open(os.path.join(args.images, name + ".manifest.json"), encoding="utf-8") as f:
            out.extend(lines(json.load(f)))
    os.makedirs(os.path.dirname(args.out), exist_ok=True)
    with open(args.out, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
