"""Running enginectl and comparing what it prints and saves with the test images' manifests (what The Sleuth
Kit, qemu-img and photorec say the images hold). Shared by the driver's tests: quick_test, save_test,
chosen_test and the end-to-end matrix e2e_test.

Where TSK and the engine legitimately differ, both sides are normalised (see also oracle.py):

- TSK's listing without metafiles, orphans and named streams; the engine's without the NTFS metafiles
  ($MFT ... and $Extend's contents), which it lists as ordinary files;
- FAT names: TSK's "_" for the first character of a deleted short name, its NT lower-case flags and its "^" for
  a short name's characters outside ASCII (oracle.fat_names_match);
- NTFS: the folder "Lost Dir", always added; files whose folder record is gone (the damage kit's
  built.damage.lost, which TSK does not list) are expected in "Lost Dir/Dir<n>" in place of that folder;
- folders are compared by path and deleted mark, files also by size;
- a volume TSK cannot read (the damage kit's cleared boot sectors) is expected to list as its intact volume
  (built.damage.intact) does.

Reading a file system that an Extensive Scan found (chosen_tree) has rules of its own: FAT always shows
"Lost Dir"; a folder whose "." entry names a cluster below 3 is no folder candidate: it is not listed, its files
and subfolders are, under "Lost Dir/Dir<cluster>" (the stand-in for the missing parent of its subfolders;
without subfolders nothing stands in for it and its files are not listed). A FAT file system whose root is not
read lists no files of the root, and its top folders as "Dir" + their cluster, not deleted. It follows each
folder's whole cluster chain through the first allocation table: where that table is lost, only a folder's first
cluster is read, and entries beyond it (by the place of their directory entry, which TSK's FAT addresses give)
are not listed.

Saved files are compared with what icat gives (the manifests' sha256 of icat's output): deleted FAT files as
contiguous clusters, as both take them; where a deleted file's later clusters belong to another file by now,
icat stops before them, and its bytes must then begin the saved file, which is the whole contiguous run. A deleted
FAT file any of whose clusters the first allocation table gives out again is saved, but counted damaged.
"""
import argparse
import concurrent.futures
import datetime
import functools
import hashlib
import json
import os
import re
import shutil
import subprocess
import sys

REPO = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..", ".."))
sys.path.insert(0, os.path.join(REPO, "tools", "images"))

import oracle  # noqa: E402

CODES = {"fat16": 100, "fat32": 200, "ntfs": 300}
LOST_DIR = "Lost Dir"
# The smallest cluster the Extensive Scan takes for a subfolder candidate.
LOWEST_CANDIDATE_CLUSTER = 2
TOOL_ENV = dict(os.environ, TZ="UTC", LANG="C.UTF-8")


def load(path):
    with open(path, encoding="utf-8") as f:
        return json.load(f)


def sha256_file(path):
    h = hashlib.sha256()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            h.update(block)
    return h.hexdigest()


# ---------------------------------------------------------------- running enginectl

def run(enginectl, *args, timeout=600, env=None):
    """enginectl with the arguments (env: variables to set for it): the finished process, output as bytes."""
    return subprocess.run([enginectl] + [str(a) for a in args], stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                          timeout=timeout, env=dict(os.environ, **env) if env else None)


def failure(proc, what=""):
    """The problem line of a run that did not end with status 0."""
    return "%sexit status %d: %s" % (what, proc.returncode, proc.stderr.decode("utf-8", "replace").strip())


def partition_starts(enginectl, image):
    """The first sectors of the entries `enginectl partitions` lists, in its order."""
    out = subprocess.run([enginectl, "partitions", image], stdout=subprocess.PIPE, check=True).stdout.decode()
    return [int(line.split("\t")[0]) for line in out.splitlines()]


def saved_tree(out):
    """{relative path with '/': 'D' or 'F'} of everything under out."""
    found = {}
    for folder, dirs, files in os.walk(out):
        rel = os.path.relpath(folder, out)
        prefix = "" if rel == "." else rel.replace(os.sep, "/") + "/"
        for d in dirs:
            found[prefix + d] = "D"
        for f in files:
            found[prefix + f] = "F"
    return found


def saved_contents(out):
    """{relative path: sha256} of every file under out."""
    return {p: sha256_file(os.path.join(out, *p.split("/"))) for p, kind in saved_tree(out).items() if kind == "F"}


class Save:
    """One run of enginectl save into sandbox/inner/out (source: the source options, or --snapshot FILE)."""

    def __init__(self, enginectl, image, source, sandbox, extra=(), out=None, timeout=600, env=None):
        self.sandbox = sandbox
        self.out = out or os.path.join(sandbox, "inner", "out")
        if out is None:
            shutil.rmtree(sandbox, ignore_errors=True)
            os.makedirs(self.out)
        proc = run(enginectl, "save", image, *source, "--out", self.out, *extra, timeout=timeout, env=env)
        self.status = proc.returncode
        self.stderr = proc.stderr.decode("utf-8", "replace").strip()
        self.counts = dict((k, int(v)) for k, v in (l.split("\t") for l in proc.stdout.decode().splitlines()))

    def problems(self, expect_status=0):
        out = []
        if self.status != expect_status:
            out.append("exit status %d (expected %d): %s" % (self.status, expect_status, self.stderr))
        if os.listdir(self.sandbox) != ["inner"] or os.listdir(os.path.join(self.sandbox, "inner")) != ["out"]:
            out.append("written outside the chosen folder: %s" % sorted(saved_tree(self.sandbox)))
        return out


# ---------------------------------------------------------------- the volumes of the manifests

def source_built(images, manifest):
    """built of the raw disk a wrapper holds (of the image itself when it has no source)."""
    source = manifest["built"].get("source")
    return load(os.path.join(images, source + ".manifest.json"))["built"] if source else manifest["built"]


def volume_sectors(images, manifest, volume):
    """The volume's sector count: as the generator placed it, or the bare volume's whole file."""
    for placed in source_built(images, manifest).get("placed_volumes", []):
        if placed["start"] == volume["start"] and "sectors" in placed:
            return placed["sectors"]
    raw = os.path.join(images, manifest["built"].get("source") or manifest["image"])
    return os.path.getsize(raw) // 512 - volume["start"]


def damage_of(images, manifest):
    """built.damage of the image, or of the raw disk a wrapper holds; None when it is not damaged."""
    return source_built(images, manifest).get("damage")


def listed_volume(images, manifest, volume):
    """The volume whose TSK listing the engine's must equal: for the damage kit's volumes, the intact one (TSK
    cannot read a volume whose boot sector is cleared, and takes the files on a zeroed allocation table for
    deleted ones), unless files were lost (built.damage.lost), which the damaged volume's listing goes with."""
    damage = damage_of(images, manifest)
    if not damage or "intact" not in damage or damage.get("lost"):
        return volume
    (intact,) = load(os.path.join(images, damage["intact"] + ".manifest.json"))["volumes"]
    return intact


def volume_fs(images, manifest, volume):
    """fat16, fat32 or ntfs; None for a volume without a file system the engine reads."""
    return volume.get("fs") or listed_volume(images, manifest, volume).get("fs")


def source_args(starts, images, manifest, volume, fs):
    """The source options that choose the volume as the source page would: --partition N when the partition
    table names it (starts: `enginectl partitions` of the image), --range otherwise; None when the table
    should name it and the driver does not list it."""
    if volume["origin"] == "table":
        return ["--partition", str(starts.index(volume["start"]))] if volume["start"] in starts else None
    return ["--range", str(CODES[fs]), str(volume["start"]), str(volume_sectors(images, manifest, volume))]


# ---------------------------------------------------------------- trees

class Entry:
    def __init__(self, folder, deleted, size, path):
        self.folder, self.deleted, self.size, self.path = folder, deleted, size, path

    def text(self):
        return "%s\t%d\t%s\t/%s" % ("D" if self.folder else "F", self.deleted, "-" if self.folder else self.size,
                                     self.path)


def expected_tree(images, manifest, volume):
    """(fs, [(TSK entry or None, Entry)]) of what a Quick Scan of the volume must list; the TSK entry of a file
    whose folder record is gone is the damage kit's record of it (built.damage.lost)."""
    damage = damage_of(images, manifest)
    listed = listed_volume(images, manifest, volume)
    fs = volume.get("fs") or listed["fs"]
    pairs = []
    for e in oracle.user_entries(listed):
        if e["stream"]:
            continue
        folder = e["dir"]
        pairs.append((e, Entry(folder, 1 if e["deleted"] else 0, e["size"], e["path"])))
    if fs == "ntfs":
        pairs.append((None, Entry(True, 0, 0, LOST_DIR)))
    if damage and damage.get("lost"):
        gone = damage["folder"]
        pairs = [(t, e) for t, e in pairs if e.path != gone]
        pairs.append((None, Entry(True, 0, 0, LOST_DIR + "/Dir#")))
        for lost in damage["lost"]:
            path = LOST_DIR + "/Dir#" + lost["path"][len(gone):]
            pairs.append((lost, Entry(lost["dir"], 1 if lost["deleted"] else 0, lost["size"], path)))
    return fs, pairs


def expected_entries(images, manifest, volume):
    """(fs, [Entry]) of what a Quick Scan of the volume must list."""
    fs, pairs = expected_tree(images, manifest, volume)
    return fs, [e for _, e in pairs]


def lost_dir_key(path):
    """An NTFS path with the number of its "Lost Dir/Dir<n>" folder (an MFT number TSK does not give) as "#"."""
    return re.sub(r"^Lost Dir/Dir\d+", LOST_DIR + "/Dir#", path)


def scanned_entries(out, fs):
    """[Entry] of a tree as enginectl prints it."""
    entries = []
    for line in out.splitlines():
        kind, deleted, size, path = line.split("\t", 3)
        path = path[1:]
        if fs == "ntfs":
            if path.startswith("$"):
                continue  # the metafiles, and $Extend with what it holds
            path = lost_dir_key(path)
        entries.append(Entry(kind == "D", int(deleted), int(size), path))
    return entries


def same(expected, got, fs):
    if expected.folder != got.folder or expected.deleted != got.deleted:
        return False
    if not expected.folder and expected.size != got.size:
        return False
    if fs == "ntfs":
        return expected.path == got.path
    a, b = expected.path.split("/"), got.path.split("/")
    return len(a) == len(b) and all(oracle.fat_names_match(x, y, expected.deleted == 1) for x, y in zip(a, b))


def compare(fs, expected, got, allowed_extra=None):
    """The differences, as lines; empty when the listings agree (apart from what got holds beyond expected
    that allowed_extra(entry) allows)."""
    key = (lambda e: e.path) if fs == "ntfs" else (lambda e: oracle.tsk_path_key(e.path))
    pending = {}
    for e in got:
        pending.setdefault(key(e), []).append(e)
    problems = []
    for e in expected:
        candidates = pending.get(key(e), [])
        match = next((g for g in candidates if same(e, g, fs)), None)
        if match is None:
            problems.append("missing: " + e.text() + ("" if not candidates else "  (got " + candidates[0].text() + ")"))
        else:
            candidates.remove(match)
    problems += ["extra:   " + g.text() for rest in pending.values() for g in rest
                 if allowed_extra is None or not allowed_extra(g)]
    return problems


# ---------------------------------------------------------------- a file system an Extensive Scan found

def cluster_base(volume, at):
    """The first sector the Extensive Scan gives the volume (TSK's description) lying at sector at: NTFS its
    first sector, FAT the sector of cluster 0."""
    if volume["fs"] == "ntfs":
        return at
    spc = int(volume["fsstat"]["Cluster Size"]) // 512
    return at + int(volume["fsstat"]["Cluster Area"].split()[0]) - 2 * spc


def folders_by_path(volume):
    """TSK's folders with their clusters, a live folder after a deleted one of the same path (a folder deleted and
    made again), so that a dict built in this order keeps the live one."""
    return sorted((e for e in oracle.user_entries(volume) if e["dir"] and e["runs"]), key=lambda e: not e["deleted"])


def fat_clusters(volume):
    """{folder path: its first cluster} of TSK's listing."""
    spc = int(volume["fsstat"]["Cluster Size"]) // 512
    base = volume["start"] + int(volume["fsstat"]["Cluster Area"].split()[0]) - 2 * spc
    return {e["path"]: (e["runs"][0][0] - base) // spc for e in folders_by_path(volume)}


def fat_folder_owners(volume, raw):
    """[(TSK's entry of a deleted FAT folder, whether the folder's own first sector begins with "." and its ".."
    entry names the folder TSK lists the entry in)] of the volume whose raw file (from sector 0) is raw: an entry
    a move left behind in the old parent names a folder whose ".." names the new one (and a folder whose first
    sector was written over names none)."""
    clusters = fat_clusters(volume)
    root = 0
    if volume["fs"] == "fat32":  # fsstat gives the root's sectors; the ".." of a folder in it may name its cluster
        spc = int(volume["fsstat"]["Cluster Size"]) // 512
        area = int(volume["fsstat"]["Cluster Area"].split()[0])
        root = (int(volume["fsstat"]["Root Directory"].split()[0]) - area) // spc + 2
    out = []
    with open(raw, "rb") as f:
        for e in oracle.user_entries(volume):
            if not (e["dir"] and e["deleted"] and e["runs"]):
                continue
            f.seek((e["runs"][0][0] - volume["start"]) * 512)
            sector = f.read(512)
            parent = clusters.get(e["path"].rpartition("/")[0], 0)
            dotdot = int.from_bytes(sector[52:54], "little") << 16 | int.from_bytes(sector[58:60], "little")
            out.append((e, sector[:2] == b". " and (dotdot == parent or parent == 0 and dotdot == root)))
    return out


def moved_fat_folders(volume, raw):
    """TSK's entries of deleted FAT folders a move left behind: another deleted entry, in the folder the folder's
    own ".." names, names its cluster too. The engine lists the folder once, under that entry; TSK under each."""
    owners = fat_folder_owners(volume, raw)
    owned = {e["runs"][0][0] for e, own in owners if own}
    return [e for e, own in owners if not own and e["runs"][0][0] in owned]


def fat_chain_sectors(volume, clusters):
    """{folder path ("" the FAT32 root): the sectors of the first clusters of its chain (all of them when clusters
    is None)} of TSK's listing."""
    spc = int(volume["fsstat"]["Cluster Size"]) // 512
    runs = {e["path"]: e["runs"] for e in folders_by_path(volume)}
    if volume["fs"] == "fat32" and "root_runs" in volume:
        runs[""] = volume["root_runs"]  # istat's sectors of the root (fsstat gives its first and last only)
    elif volume["fs"] == "fat32":
        first, last = (int(x) for x in volume["fsstat"]["Root Directory"].split(" - "))
        runs[""] = [[volume["start"] + first, last - first + 1]]
    most = None if clusters is None else clusters * spc
    return {path: set([s for first, count in r for s in range(first, first + count)][:most])
            for path, r in runs.items()}


def fat_entry_sector(volume, e):
    """The sector of the directory entry of TSK's FAT entry e: TSK numbers entries by their place, 16 to a
    sector from the data area on, the first being 3."""
    return volume["start"] + int(volume["fsstat"]["Data Area"].split()[0]) + (e["inode"] - 3) // 16


def fat_read_past_chain(volume, chains, entries, e):
    """Whether e, or a folder above it, has its directory entry beyond the clusters the reader follows of its
    folder's chain (chains: fat_chain_sectors; entries: TSK's entries by path)."""
    parts = e["path"].split("/")
    for i in range(len(parts)):
        folder, path = "/".join(parts[:i]), "/".join(parts[: i + 1])
        if folder in chains and path in entries and fat_entry_sector(volume, entries[path]) not in chains[folder]:
            return True
    return False


def fat_place(clusters, root_read, path):
    """Where the chosen file system's tree shows TSK's path, or None when it does not show it."""
    parts = path.split("/")
    for i in range(len(parts)):
        prefix = "/".join(parts[: i + 1])
        cluster = clusters.get(prefix)
        if cluster is None or cluster >= LOWEST_CANDIDATE_CLUSTER:
            continue
        has_subfolders = any(p.startswith(prefix + "/") and p.count("/") == prefix.count("/") + 1 for p in clusters)
        if i == len(parts) - 1 or not has_subfolders:
            return None
        parts = [LOST_DIR, "Dir%d" % cluster] + parts[i + 1:]
        return "/".join(parts)
    if not root_read:
        if len(parts) == 1 and path not in clusters:
            return None  # a file of the root
        parts[0] = "Dir%d" % clusters[parts[0]]
    return "/".join(parts)


def chosen_tree(images, manifest, volume, root_read=True, chain=None):
    """(TSK entry or None, Entry) pairs of what the tree of the volume's file system must hold when an Extensive
    Scan found it (volume: as TSK lists it). chain: the clusters of each FAT folder's chain that are read (None:
    the whole chain; 1 when the first allocation table, which the chains are followed through, is lost)."""
    fs, pairs = expected_tree(images, manifest, volume)
    if fs == "ntfs":
        return pairs
    clusters, chains = fat_clusters(volume), fat_chain_sectors(volume, chain)
    entries = {x["path"]: x for x in oracle.user_entries(volume)}
    out = [(None, Entry(True, 0, 0, LOST_DIR))]
    stand_ins = set()
    for tsk, e in pairs:
        place = fat_place(clusters, root_read, e.path)
        if place is None or fat_read_past_chain(volume, chains, entries, tsk):
            continue
        if place.startswith(LOST_DIR + "/"):
            stand_ins.add("/".join(place.split("/")[:2]))
        deleted = 0 if not root_read and e.folder and "/" not in e.path else e.deleted
        out.append((tsk, Entry(e.folder, deleted, e.size, place)))
    out += [(None, Entry(True, 0, 0, p)) for p in sorted(stand_ins)]
    return out


# ---------------------------------------------------------------- saved files

def expected_files(volume):
    """TSK's folders and files of the volume as a recovery program lists them."""
    folders, files = [], []
    for e in oracle.user_entries(volume):
        if e["stream"]:
            continue
        (folders if e["dir"] else files).append(e)
    return folders, files


def find_saved(saved, e, fat):
    """The saved path that stands for TSK's entry e, or None."""
    if not fat:
        if e["path"] in saved:
            return e["path"]
        return next((p for p in saved if lost_dir_key(p) == e["path"]), None) if "/Dir#" in e["path"] else None
    key = oracle.tsk_path_key(e["path"])
    parts = e["path"].split("/")
    for path in saved:
        if oracle.tsk_path_key(path) != key:
            continue
        got = path.split("/")
        if len(got) == len(parts) and all(oracle.fat_names_match(a, b, e["deleted"]) for a, b in zip(parts, got)):
            return path
    return None


def is_contiguous_with_icat_prefix(saved, raw, start, e):
    """A deleted FAT file whose clusters after the first belong to another file by now: icat gives the
    clusters up to the first one in use, the saver the whole contiguous run. What icat gives must begin
    the saved file, and the saved file must be the contiguous run from the file's first sector."""
    icat = subprocess.run(["icat", "-o", str(start), raw, e["addr"]], stdout=subprocess.PIPE, env=TOOL_ENV,
                          check=True).stdout
    data = open(saved, "rb").read()
    if len(icat) >= e["size"] or not e["runs"] or not data.startswith(icat):
        return False
    with open(raw, "rb") as f:
        f.seek(e["runs"][0][0] * 512)
        return f.read(e["size"]) == data


def icat_sha256(raw, start, e):
    """What icat gives for TSK's entry e of the volume at start of raw: the manifest's record of it, or icat run
    now when the manifest has none."""
    return e.get("sha256") or oracle.icat_sha256(raw, start, e["addr"])


def content_problem(full, raw, start, e, fat):
    """A line when the saved file full does not hold icat's bytes of TSK's entry e; None when it does."""
    if sha256_file(full) == icat_sha256(raw, start, e):
        return None
    if fat and e["deleted"] and raw is not None and is_contiguous_with_icat_prefix(full, raw, start, e):
        return None
    return "content differs from icat: %s (%d bytes saved, %d listed)" % (e["path"], os.path.getsize(full), e["size"])


def tsk_seconds(text):
    """A time as fls -l prints it ("2020-09-13 12:26:40 (UTC)") in seconds since 1970; None for none."""
    if not text or text.startswith("0000"):
        return None
    stamp = datetime.datetime.strptime(text[:19], "%Y-%m-%d %H:%M:%S").replace(tzinfo=datetime.timezone.utc)
    return int(stamp.timestamp())


def time_problem(full, e, access):
    """A line when the saved file's times are not those its volume keeps as The Sleuth Kit reads them: its last write
    (FAT: the entry's date and time, local time read as UTC, which the tools run in; NTFS: the standard
    information's) and, with access, its last access (FAT: the entry's date): only a file not read since it was
    saved keeps that. None when they are."""
    st = os.stat(full)
    checks = [("write", st.st_mtime, e.get("mtime"))] + ([("access", st.st_atime, e.get("atime"))] if access else [])
    problems = []
    for what, got, want in checks:
        expected = tsk_seconds(want)
        if expected is not None and int(got) != expected:
            problems.append("%s time %d, TSK %s" % (what, int(got), want))
    return "times of %s: %s" % (e["path"], "; ".join(problems)) if problems else None


def saved_entry_problems(out, expected, raw, start, fat, times=False, pool=None):
    """Every folder and file of expected missing from its place under out or, for files, without icat's bytes (or
    without the volume's times, with times: its last write, and with times "access" its last access too). expected: (TSK entry, the path the results tree shows it at) pairs. raw,
    start: the file and sector TSK lists the volume from (raw None: only the manifest's records of icat are at
    hand). Also used for what the program's window saves."""
    saved = saved_tree(out)

    def check(pair):
        e, path = pair
        e = dict(e, path=path)
        found = find_saved(saved, e, fat)
        kind = "D" if e["dir"] else "F"
        if found is None or saved[found] != kind:
            return ["%s missing: %s" % ("folder" if e["dir"] else "file", path)]
        if e["dir"]:
            return []
        full = os.path.join(out, *found.split("/"))
        # The times first: reading the bytes moves the last access (relatime: one that lies before the last write or
        # more than a day back).
        differs = (times and time_problem(full, e, times == "access")) or content_problem(full, raw, start, e, fat)
        return [differs] if differs else []

    return [line for found in (pool.map(check, expected) if pool else map(check, expected)) for line in found]


@functools.lru_cache(maxsize=None)
def fat_layout(raw, start):
    """(sector of cluster 0, sectors per cluster, the first allocation table's entries) of the FAT volume at sector
    start of raw, from its boot sector; None when none is there. Read once while the file stays as it is (a table of
    two million entries is asked about for every deleted file)."""
    st = os.stat(raw)
    return _fat_layout(raw, start, st.st_mtime_ns, st.st_size)


@functools.lru_cache(maxsize=8)
def _fat_layout(raw, start, _mtime, _size):
    with open(raw, "rb") as f:
        f.seek(start * 512)
        boot = f.read(512)
        if len(boot) < 512 or boot[510:512] != b"\x55\xaa" or boot[13] == 0:
            return None
        spc, reserved, fats = boot[13], int.from_bytes(boot[14:16], "little"), boot[16]
        roots = int.from_bytes(boot[17:19], "little")
        total = int.from_bytes(boot[19:21], "little") or int.from_bytes(boot[32:36], "little")
        spf = int.from_bytes(boot[22:24], "little") or int.from_bytes(boot[36:40], "little")
        data = reserved + fats * spf + roots * 32 // 512
        clusters = (total - data) // spc + 2
        bits = 32 if boot[22:24] == b"\0\0" else 12 if clusters < 4087 else 16
        f.seek((start + reserved) * 512)
        table = f.read(spf * 512)
    if bits == 12:
        entries = [(int.from_bytes(table[c * 3 // 2:c * 3 // 2 + 2], "little") >> (4 * (c & 1))) & 0xFFF
                   for c in range(clusters)]
    else:
        width = bits // 8
        count = min(clusters, len(table) // width)  # little-endian entries, as the host reads them
        entries = [v & 0x0FFFFFFF for v in memoryview(table[:count * width]).cast("I" if width == 4 else "H")]
        entries += [0] * (clusters - len(entries))
    return start + data - 2 * spc, spc, entries


def fat_file_reused(raw, start, e):
    """Whether a deleted FAT file of TSK's holds clusters the volume's first table gives out again: of its first
    cluster and those after it, as many as its size needs (where a saver reads a deleted file), one is in use. A saver
    then counts the file damaged."""
    layout = fat_layout(raw, start) if e["deleted"] and not e["dir"] and e["size"] and e["runs"] else None
    if layout is None:
        return False
    base, spc, entries = layout
    first = (e["runs"][0][0] - base) // spc
    count = -(-e["size"] // (spc * 512))
    return any(c < len(entries) and entries[c] != 0 for c in range(first, first + count))


def fat_folder_start(raw, base, spc, cluster):
    """Whether the FAT cluster (of the volume whose cluster 0 lies at sector base) begins with a folder's "." entry
    that names it. raw: the volume's path, or the volume opened for reading."""
    if isinstance(raw, str):
        with open(raw, "rb") as f:
            return fat_folder_start(f, base, spc, cluster)
    raw.seek((base + cluster * spc) * 512)
    entry = raw.read(32)
    return len(entry) == 32 and entry[:2] == b". " and entry[11] & 0x10 != 0 and \
        int.from_bytes(entry[26:28], "little") | int.from_bytes(entry[20:22], "little") << 16 == cluster


def fat_created(e):
    """TSK's creation time of an entry, None where the entry keeps none."""
    crtime = e.get("crtime") or ""
    return crtime[:19] if crtime and not crtime.startswith("0000") else None


def fat_free_run_end(table, first, size, spc):
    """One past the last of the consecutive clusters from first that a deleted file of size bytes is read as: as many
    as its size needs, up to the first that the first table (its entries) gives out."""
    end = first + 1
    while end < first + -(-size // (spc * 512)) and end < len(table) and table[end] == 0:
        end += 1
    return end


def fat_run_meets_folder(raw, start, e):
    """Whether a deleted FAT file of TSK's (or of its shape: deleted, dir, size, runs) is read, as consecutive clusters
    (fat_free_run_end), over a cluster that begins with a folder's "." entry naming it: the folder's entries are there,
    not the file's bytes, whether or not an entry still names the folder (one whose own entry was written over is found
    only by its "." entry)."""
    layout = fat_layout(raw, start) if e["deleted"] and not e["dir"] and e["size"] and e["runs"] else None
    if layout is None:
        return False
    base, spc, table = layout
    first = (e["runs"][0][0] - base) // spc
    with open(raw, "rb") as f:
        return any(fat_folder_start(f, base, spc, c) for c in range(max(first, 2), fat_free_run_end(table, first,
                                                                                                     e["size"], spc)))


def fat_contested(raw, start, entries):
    """TSK's addresses of the deleted FAT files (of entries) that another deleted file or a deleted folder claims
    clusters of, where nothing makes this one the newer: each is read as consecutive clusters from its first, as many
    as its size needs and up to the first that the first table gives out, and two such runs that meet are at most one
    file's (the newer one's by its creation time; neither's at one time, or where an entry keeps none); a deleted
    folder's first cluster that still begins with its "." entry is the folder's. Two entries of one first cluster,
    size and day of last write are one file (a rename leaves the old entry deleted). A run over a cluster that begins
    a folder, named by an entry or not, is not its file's (fat_run_meets_folder)."""
    layout = fat_layout(raw, start)
    if layout is None:
        return set()
    base, spc, table = layout
    runs = []
    for e in entries:
        if not e["deleted"] or not e["runs"] or not e["dir"] and not e["size"]:
            continue
        first = (e["runs"][0][0] - base) // spc
        if e["dir"]:
            if 2 <= first < len(table) and fat_folder_start(raw, base, spc, first):
                runs.append((first, first + 1, None, None, e))
            continue
        runs.append((first, fat_free_run_end(table, first, e["size"], spc), fat_created(e), (e["mtime"] or "")[:10], e))
    runs.sort(key=lambda r: r[0])
    out = {e["addr"] for e in entries if fat_run_meets_folder(raw, start, e)}
    newer = lambda a, b: a is not None and b is not None and a > b  # noqa: E731
    for i, (first, end, created, day, e) in enumerate(runs):
        for other_first, _, other_created, other_day, other in runs[i + 1:]:
            if other_first >= end:
                break
            if e["dir"] or other["dir"]:
                out.update(x["addr"] for x in (e, other) if not x["dir"])
                continue
            if (first, e["size"], day) == (other_first, other["size"], other_day):
                continue
            if not newer(created, other_created):
                out.add(e["addr"])
            if not newer(other_created, created):
                out.add(other["addr"])
    return out


def ntfs_record(raw, start, inode):
    """What istat shows of an NTFS record: (allocated, its signs of how lately it was written: the log sequence number
    of its last logged change, the journal number of its standard information (0 when it keeps none) and the later of
    its creation and MFT change times, [(first cluster, count)] of its non-resident attributes). Read once while the
    file stays as it is."""
    st = os.stat(raw)
    return _ntfs_record(raw, start, inode, st.st_mtime_ns, st.st_size)


@functools.lru_cache(maxsize=4096)
def _ntfs_record(raw, start, inode, _mtime, _size):
    out = subprocess.run(["istat", "-o", str(start), raw, str(inode)], stdout=subprocess.PIPE,
                         stderr=subprocess.DEVNULL, env=TOOL_ENV).stdout.decode("utf-8", "replace")
    lsn = re.search(r"\$LogFile Sequence Number: (\d+)", out)
    head, _, rest = out.partition("$STANDARD_INFORMATION Attribute Values:")
    si = rest.split("Attribute Values:", 1)[0]
    times = [m.group(1) for key in ("Created", "MFT Modified") for m in [re.search(key + r":\s+(\S+ \S+)", si)] if m]
    usn = re.search(r"Update Sequence Number: (\d+)", si)
    runs, non_resident = [], False
    for line in out.partition("\nAttributes:")[2].splitlines():
        if line.startswith("Type: "):
            non_resident = "Non-Resident" in line
            continue
        for n in (int(x) for x in line.split() if x.isdigit()) if non_resident else ():
            if n == 0:
                continue  # a sparse hole
            if runs and runs[-1][0] + runs[-1][1] == n:
                runs[-1][1] += 1
            else:
                runs.append([n, 1])
    signs = (int(lsn.group(1)) if lsn else 0, int(usn.group(1)) if usn else 0, max(times) if times else "")
    return re.search(r"^Allocated ", head, re.M) is not None, signs, runs


def ntfs_contested(raw, start, entries, spc):
    """TSK's addresses of the deleted NTFS files (of entries, not reallocated) whose clusters (as many as their size
    needs, of spc sectors) a record of another deleted file or folder claims (a non-resident attribute of it, as istat
    shows it), where the records' signs (ntfs_record) do not make the file's the newer: newer on one and older on
    none."""
    def newer(a, b):
        return all(x >= y for x, y in zip(a, b)) and a != b

    claims = {}
    for e in entries:
        if e["deleted"] and not e["realloc"] and e["inode"] not in claims:
            allocated, signs, runs = ntfs_record(raw, start, e["inode"])
            if not allocated:
                claims[e["inode"]] = (signs, runs)
    out = set()
    for e in entries:
        if e["dir"] or e["inode"] not in claims or not e["size"] or not e["runs"]:
            continue
        left, held = -(-e["size"] // (spc * 512)), []
        for first, count in e["runs"]:
            take = min(left, count // spc)
            held.append(((first - start) // spc, take))
            left -= take
        signs = claims[e["inode"]][0]
        for inode, (other, runs) in claims.items():
            if inode != e["inode"] and not newer(signs, other) and \
                    any(a < b + m and b < a + n for a, n in held for b, m in runs):
                out.add(e["addr"])
                break
    return out


def check_save(save, expected, raw, start, fat, times=False, pool=None):
    """The problems of a save of a whole results tree: its own (status, anything outside the chosen folder,
    files it did not read or write whole, a count that is not the number of files there), and those of
    saved_entry_problems. The deleted FAT files whose clusters are in use again (fat_file_reused) or claimed by another
    deleted file (fat_contested) are saved, but counted damaged, and only they."""
    saved = saved_tree(save.out)
    contested = fat_contested(raw, start, [e for e, _ in expected]) if fat and raw is not None else set()
    reused = sum(1 for e, path in expected if fat and raw is not None and
                 (fat_file_reused(raw, start, e) or e["addr"] in contested) and
                 find_saved(saved, dict(e, path=path), fat) is not None)
    problems = save.problems(3 if reused else 0)
    problems += saved_entry_problems(save.out, expected, raw, start, fat, times, pool)
    if save.counts.get("unreadable") != reused or save.counts.get("unwritten") != 0:
        problems.append("counts: %s (%d deleted files whose clusters are in use again)" % (save.counts, reused))
    saved_files = sum(1 for kind in saved.values() if kind == "F")
    if save.counts.get("saved") != saved_files:
        problems.append("the driver says %s saved, %d files are there" % (save.counts.get("saved"), saved_files))
    return problems


def case_arguments(names):
    """The arguments of a test that makes its own volumes, whose table names its cases (names): --enginectl, --work
    (emptied first) and --only NAME... (the cases to run; all when absent); --list prints the names, one a line, and
    ends the program (the build makes a test of each)."""
    parser = argparse.ArgumentParser()
    parser.add_argument("--enginectl")
    parser.add_argument("--work")
    parser.add_argument("--only", nargs="*")
    parser.add_argument("--list", action="store_true")
    args = parser.parse_args()
    if args.list:
        print("\n".join(names))
        sys.exit(0)
    unknown = [n for n in args.only or () if n not in names]
    if unknown:
        parser.error("no such case: %s" % ", ".join(unknown))
    if not args.enginectl or not args.work:
        parser.error("--enginectl and --work are needed")
    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    return args


def run_cases(cases, check, workers=3):
    """Runs check(case), which gives (name, [problems]), over cases, workers at a time: prints each case's result
    (the first 12 problems of a failure) and a last line of the counts; returns the exit status."""
    failed = 0
    with concurrent.futures.ThreadPoolExecutor(max_workers=workers) as pool:
        for name, problems in pool.map(check, cases):
            print("%s: %s" % (name, "ok" if not problems else "FAILED"))
            for p in problems[:12]:
                print("  " + p)
            failed += bool(problems)
    print("%d passed, %d failed" % (len(cases) - failed, failed))
    return 1 if failed else 0
