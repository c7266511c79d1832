#!/usr/bin/env python3
"""Writes every test image and its manifest into one folder.

    python3 tools/images/generate.py --out DIR [--only NAME...] [--force] [--ntfs-helper PATH] [--jobs N]

Incremental: when every image and manifest is there and the stamp (a hash of these sources and of the tools'
versions) matches, it returns at once. --only rebuilds the named images (and whatever they are made from);
--force rebuilds everything.
"""

import argparse
import concurrent.futures
import contextlib
import fcntl
import hashlib
import json
import os
import shutil
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import oracle  # noqa: E402
import recipes  # noqa: E402
from util import run  # noqa: E402

STAMP = ".stamp"


class Context:
    """What a recipe needs: where images go, a scratch area, the NTFS helper and a pool for oracle calls."""

    def __init__(self, out, helper, jobs):
        self.out = out
        self.helper = helper
        self.work_root = os.path.join(out, ".work")
        os.makedirs(self.work_root, exist_ok=True)
        self.pool = concurrent.futures.ThreadPoolExecutor(jobs)
        self.cache = oracle.VolumeCache()
        self._manifests = {}
        self._lock = threading.Lock()

    def path(self, name):
        return os.path.join(self.out, name)

    def work(self, name):
        d = os.path.join(self.work_root, name)
        shutil.rmtree(d, ignore_errors=True)
        os.makedirs(d)
        return d

    @contextlib.contextmanager
    def scratch(self):
        with tempfile.TemporaryDirectory(dir=self.work_root) as d:
            yield d

    def manifest(self, name):
        with self._lock:
            if name not in self._manifests:
                self._manifests[name] = oracle.load(manifest_path(self.out, name))
            return self._manifests[name]

    def forget(self, name):
        with self._lock:
            self._manifests.pop(name, None)


def manifest_path(out, name):
    return os.path.join(out, name + ".manifest.json")


def sources():
    return sorted(f for f in os.listdir(HERE) if f.endswith((".py", ".c", ".txt")) and not f.startswith("."))


def stamp_value():
    h = hashlib.sha256()
    for f in sources():
        h.update(f.encode() + b"\0")
        with open(os.path.join(HERE, f), "rb") as fh:
            h.update(fh.read())
    h.update(json.dumps(oracle.tool_versions(), sort_keys=True).encode())
    return h.hexdigest()


def up_to_date(out, stamp):
    try:
        with open(os.path.join(out, STAMP)) as f:
            if f.read().strip() != stamp:
                return False
    except OSError:
        return False
    return all(os.path.exists(os.path.join(out, n)) and os.path.exists(manifest_path(out, n))
               for n in recipes.RECIPES)


def ensure_helper(out, given):
    """The NTFS helper: the one CMake built, or one compiled here from its source."""
    if given:
        return os.path.abspath(given)
    exe = os.path.join(out, ".work", "ntfs_image_helper")
    src = os.path.join(HERE, "ntfs_image_helper.c")
    if not os.path.exists(exe) or os.path.getmtime(exe) < os.path.getmtime(src):
        os.makedirs(os.path.dirname(exe), exist_ok=True)
        # Several test fixtures may want the helper at once: each compiles to
        # its own file and moves it into place whole.
        tmp = "%s.%d" % (exe, os.getpid())
        run(["cc", "-O1", "-o", tmp, src, "-lntfs-3g"])
        os.replace(tmp, exe)
    return exe


def own_volume_arguments():
    """For a test's generator of volumes of its own: its arguments --images (the shared images, where the NTFS
    helper is built when not given), --out (the file it writes) and --ntfs-helper; returns them, the folder of
    --out (made) and the NTFS helper."""
    parser = argparse.ArgumentParser()
    parser.add_argument("--images", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--ntfs-helper")
    args = parser.parse_args()
    out_dir = os.path.dirname(os.path.abspath(args.out))
    os.makedirs(out_dir, exist_ok=True)
    return args, out_dir, ensure_helper(args.images, args.ntfs_helper)


def make_one(ctx, name):
    r = recipes.RECIPES[name]
    t0 = time.time()
    ctx.forget(name)
    for stale in (ctx.path(name), manifest_path(ctx.out, name)):
        if os.path.exists(stale):
            os.remove(stale)
    built = r.build(ctx)
    manifest = {
        "schema": oracle.SCHEMA,
        "image": name,
        "format": oracle.qemu_format(name),
        "file_size": os.path.getsize(ctx.path(name)),
        "exercises": r.exercises,
        "built": built,
    }
    manifest.update(r.describe(ctx, built))
    r.verify(manifest)
    tmp = manifest_path(ctx.out, name) + ".tmp"
    with open(tmp, "w", encoding="utf-8") as f:
        json.dump(manifest, f, indent=1, ensure_ascii=False, sort_keys=False)
        f.write("\n")
    os.replace(tmp, manifest_path(ctx.out, name))
    shutil.rmtree(os.path.join(ctx.work_root, name), ignore_errors=True)
    return time.time() - t0


def build_all(ctx, order, jobs, verbose):
    """Builds in dependency order, independent images side by side."""
    pending = list(order)
    done = set()
    running = {}
    with concurrent.futures.ThreadPoolExecutor(jobs) as ex:
        while pending or running:
            for name in [n for n in pending if all(d in done or d not in order for d in recipes.RECIPES[n].deps)]:
                if len(running) >= jobs:
                    break
                pending.remove(name)
                running[ex.submit(make_one, ctx, name)] = name
            finished, _ = concurrent.futures.wait(running, return_when=concurrent.futures.FIRST_COMPLETED)
            for fut in finished:
                name = running.pop(fut)
                seconds = fut.result()  # a failure stops the run with the tool's message
                done.add(name)
                if verbose:
                    print(f"  {name}: {seconds:.1f} s", flush=True)


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--out", required=True)
    ap.add_argument("--only", nargs="+")
    ap.add_argument("--force", action="store_true")
    ap.add_argument("--ntfs-helper")
    ap.add_argument("--jobs", type=int, default=min(4, os.cpu_count() or 2))
    ap.add_argument("--quiet", action="store_true")
    args = ap.parse_args(argv)
    out = os.path.abspath(args.out)
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, ".lock"), "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)  # one generator per folder at a time
        stamp = stamp_value()
        if not args.only and not args.force and up_to_date(out, stamp):
            if not args.quiet:
                print(f"images: up to date in {out}")
            return 0
        t0 = time.time()
        order = recipes.build_order(args.only)
        if args.only:  # what the named images are made from is rebuilt only when missing
            order = [n for n in order if n in args.only or not os.path.exists(manifest_path(out, n))]
        if not args.only:
            for stale in (os.path.join(out, STAMP),):
                if os.path.exists(stale):
                    os.remove(stale)
        ctx = Context(out, ensure_helper(out, args.ntfs_helper), args.jobs)
        try:
            build_all(ctx, order, args.jobs, not args.quiet)
        finally:
            ctx.pool.shutdown()
        if not args.only:
            with open(os.path.join(out, STAMP), "w") as f:
                f.write(stamp + "\n")
        if not args.quiet:
            print(f"images: {len(order)} images in {time.time() - t0:.1f} s into {out}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
