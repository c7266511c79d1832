#!/usr/bin/env python3
"""Checks every image's manifest against a fresh run of the oracle tools.

    python3 tools/images/check_manifests.py --dir DIR [--only NAME...] [--jobs N] [--no-cache]

Each image is described again exactly as the generator described it (qemu-img, mmls, fsstat, fls, icat, istat,
photorec) and the result must equal the manifest; the generator's own promises about each image are checked too.
"""

import argparse
import concurrent.futures
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import generate  # noqa: E402
import oracle  # noqa: E402
import recipes  # noqa: E402


def differences(a, b, path="", out=None, limit=8):
    """Where two JSON values differ, as readable paths (at most limit of them)."""
    out = [] if out is None else out
    if len(out) >= limit:
        return out
    if isinstance(a, dict) and isinstance(b, dict):
        for k in sorted(set(a) | set(b)):
            if k not in a or k not in b:
                out.append(f"{path}/{k}: only in {'manifest' if k in a else 'fresh run'}")
            else:
                differences(a[k], b[k], f"{path}/{k}", out, limit)
    elif isinstance(a, list) and isinstance(b, list) and len(a) == len(b):
        for i, (x, y) in enumerate(zip(a, b)):
            differences(x, y, f"{path}[{i}]", out, limit)
    elif a != b:
        out.append(f"{path}: manifest {str(a)[:80]!r}, fresh run {str(b)[:80]!r}")
    return out


def check_one(ctx, name):
    manifest = ctx.manifest(name)
    problems = []
    size = os.path.getsize(ctx.path(name))
    if manifest.get("file_size") != size:
        problems.append(f"file size {size}, manifest {manifest.get('file_size')}")
    fresh = recipes.RECIPES[name].describe(ctx, manifest["built"])
    problems += differences(oracle.oracle_part(manifest), oracle.oracle_part(fresh))
    try:
        recipes.RECIPES[name].verify(manifest)
    except recipes.NotExercised as e:
        problems.append(str(e))
    return problems


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--dir", required=True)
    ap.add_argument("--only", nargs="+")
    ap.add_argument("--jobs", type=int, default=min(4, os.cpu_count() or 2))
    ap.add_argument("--no-cache", action="store_true", help="list every volume again, even copies of one listed")
    args = ap.parse_args(argv)
    out = os.path.abspath(args.dir)
    names = args.only or list(recipes.RECIPES)
    missing = [n for n in names if not os.path.exists(generate.manifest_path(out, n))
               or not os.path.exists(os.path.join(out, n))]
    if missing:
        print("images.manifests: missing " + ", ".join(missing))
        return 1
    ctx = generate.Context(out, None, args.jobs)
    if args.no_cache:
        ctx.cache = None
    failed = 0
    with concurrent.futures.ThreadPoolExecutor(args.jobs) as ex:
        results = {n: ex.submit(check_one, ctx, n) for n in names}
        for n in names:
            problems = results[n].result()
            if problems:
                failed += 1
                print(f"{n}: differs from a fresh oracle run")
                for p in problems:
                    print("    " + p)
    ctx.pool.shutdown()
    print(f"images.manifests: {len(names) - failed} of {len(names)} manifests match the oracle tools")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
