#!/usr/bin/env python3
"""The differential test's NameIndex finds every saved or listed file that name_matches pairs with a name, and only
those, in the order they were filed: a file it missed would go unjudged. The names are those the histories write
(history.py's pieces, short names in the DOS code page, names no file may hold as they stand), as TSK shows them
(capitals, "_" for a deleted short name's first letter, "^" for a letter outside ASCII), and letters whose capitals
are other letters or longer (dotless i, sharp s); each is compared with every other, on FAT and on NTFS, both ways.

    name_index_test.py [--seed N]
"""
import argparse
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from diff_test import NameIndex, name_matches  # noqa: E402
import history  # noqa: E402  (driver.py puts tools/images on the path)
import oracle  # noqa: E402


def names(rng):
    pieces = history.WORDS + history.WIDE_WORDS + history.SHORT_STEMS + ["ıx", "ß", "Aſ", "a:b", "c?", "e ."]
    exts = [e for e in history.EXTENSIONS if e] + ["ß", "ı"]
    out = set(history.OEM_NAMES + history.OEM_FOLDERS)
    for _ in range(150):
        stem = "".join(rng.choice(pieces) for _ in range(rng.randint(1, 2)))[:rng.randint(1, 12)]
        out.add(stem + ("." + rng.choice(exts) if rng.random() < 0.7 else ""))
    for n in list(out):
        out |= {n.upper(), n.lower(), "_" + n[1:], oracle.as_tsk_short_name(n), oracle.as_tsk_short_name(n).upper()}
    return sorted(out)


def problems(pool, fat, tsk_names, deleted):
    index = NameIndex(fat, tsk_names)
    for i, n in enumerate(pool):
        index.add(n, i)
    found = []
    for query in pool:
        def matches(name, _):
            return name_matches(name, query, fat, deleted) if tsk_names else name_matches(query, name, fat, deleted)
        want = [i for i, n in enumerate(pool) if matches(n, i)]
        got = index.find(query, matches)
        if got != want:
            found.append("%s, %s names, deleted %s: %r finds %s, not %s" % (
                "FAT" if fat else "NTFS", "TSK" if tsk_names else "saved", deleted, query,
                [pool[i] for i in got], [pool[i] for i in want]))
    return found


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--seed", type=int, default=1)
    pool = names(random.Random(parser.parse_args().seed))
    found = [p for fat in (True, False) for tsk_names in (True, False) for deleted in (False, True)
             for p in problems(pool, fat, tsk_names, deleted)]
    for p in found[:20]:
        print("FAILED:", p)
    print("%d names, %d problems" % (len(pool), len(found)))
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
