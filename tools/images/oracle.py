"""What independent tools say a test image holds, in one normalised form.

The tools: qemu-img (image formats to raw bytes), The Sleuth Kit (mmls: partitions; fsstat: file-system
parameters; fls -r -p -l: every path; icat: file contents; istat: where a file lies) and photorec (carving).
Engine tests import this module to run the same tools and to compare names the way the tools write them:

- TSK writes a deleted FAT short name with "_" as its first character (the engine shows its own letter there);
  see fat_names_match().
- TSK honours the NT lower-case flags of an 8.3 name ("notes.txt"); a reader that ignores them shows
  "NOTES.TXT"; fat_names_match() compares such names without regard to case.
- TSK lists metafiles ($MFT, $Secure:$SDS, $MBR, $FAT1, the volume label ...) and puts files whose folder is
  gone under $OrphanFiles; entries carry "meta" and "orphan" marks so that a test can leave them out
  (user_entries()).
"""

import copy
import hashlib
import json
import os
import re
import subprocess
import tempfile
import threading
import xml.etree.ElementTree as ET

from util import MIB, SECTOR, ToolError, data_extents, run, tool_env

SCHEMA = 1
CHUNK = MIB  # granularity of the per-chunk hashes of a virtual disk
FULL_HASH_LIMIT = 1024 * MIB  # larger virtual disks get chunk hashes only
PHOTOREC_TYPES = ["jpg", "png", "gif", "bmp", "pdf", "zip", "doc"]
EXTENDED_TYPES = {0x05, 0x0F, 0x85}
QEMU_FORMATS = {".vhd": "vpc", ".vhdx": "vhdx", ".raw": "raw"}


# ---------------------------------------------------------------- tools

def tool_versions():
    """One line per oracle and builder tool, as each reports itself."""
    probes = {
        "qemu-img": ["qemu-img", "--version"],
        "qemu-io": ["qemu-io", "--version"],
        "mmls": ["mmls", "-V"],
        "photorec": ["photorec", "/version"],
        "mkfs.fat": ["mkfs.fat", "--help"],
        "mtools": ["mtools", "--version"],
        "mkntfs": ["mkntfs", "--version"],
        "sfdisk": ["sfdisk", "--version"],
        "convert": ["convert", "--version"],
        "zip": ["zip", "-v"],
    }
    out = {}
    for name, cmd in probes.items():
        try:
            proc = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL,
                                  env=tool_env())
            text = proc.stdout.decode("utf-8", "replace")
        except OSError as e:
            text = f"missing: {e}"
        line = next((l for l in text.splitlines() if re.search(r"\d+\.\d+", l)), text.strip()[:80])
        out[name] = line.strip()
    return out


def qemu_format(path):
    return QEMU_FORMATS.get(os.path.splitext(path)[1].lower(), "raw")


def to_raw(image, raw):
    """The virtual disk of image as a sparse raw file, as qemu-img reads it."""
    run(["qemu-img", "convert", "-f", qemu_format(image), "-O", "raw", image, raw])
    return raw


def qemu_info(image):
    info = json.loads(run(["qemu-img", "info", "-f", qemu_format(image), "--output=json", image]))
    keep = {k: info[k] for k in ("format", "virtual-size", "cluster-size") if k in info}
    if "format-specific" in info:
        keep["format-specific"] = info["format-specific"]
    return keep


# ---------------------------------------------------------------- virtual disk bytes

def virtual_disk(raw):
    """Size, sha256 (disks up to 1 GiB) and the sha256 of every 1 MiB chunk that holds a non-zero byte."""
    size = os.path.getsize(raw)
    full = hashlib.sha256() if size <= FULL_HASH_LIMIT else None
    zero = bytes(CHUNK)
    chunks = []
    with open(raw, "rb") as f:
        with_data = set()
        for start, n in data_extents(f, size):
            with_data.update(range(start // CHUNK, -(-(start + n) // CHUNK)))
        for c in range(-(-size // CHUNK)):
            length = min(CHUNK, size - c * CHUNK)
            data = zero[:length]
            if c in with_data:
                f.seek(c * CHUNK)
                data = f.read(length)
                if data.count(0) != len(data):
                    chunks.append([c, hashlib.sha256(data).hexdigest()])
            if full:
                full.update(data)
    return {"size": size, "sha256": full.hexdigest() if full else None, "chunk_size": CHUNK,
            "nonzero_chunks": chunks}


# ---------------------------------------------------------------- partitions

MMLS_LINE = re.compile(r"^(\d+):\s+(\S+)\s+(\d+)\s+(\d+)\s+(\d+)\s+(.*)$")


def mmls(raw):
    """Partition table rows as mmls prints them, or {"error": ...} when mmls finds no table."""
    try:
        out = run(["mmls", raw])
    except ToolError as e:
        return {"error": str(e).split(": ", 2)[-1]}
    rows = []
    for line in out.splitlines():
        m = MMLS_LINE.match(line.strip())
        if not m:
            continue
        slot, table, start, end, length, desc = m.groups()
        t = re.search(r"\((0x[0-9a-fA-F]+)\)\s*$", desc)
        kind = "meta" if table == "Meta" else ("unallocated" if table.startswith("-") else "partition")
        rows.append({"slot": slot, "table": table, "start": int(start), "end": int(end), "length": int(length),
                     "description": desc.strip(), "type": int(t.group(1), 16) if t else None, "kind": kind})
    return {"rows": rows}


def table_partitions(parts):
    """The rows of mmls that are partitions holding a volume (not the extended containers)."""
    return [p for p in parts.get("rows", []) if p["kind"] == "partition" and p["type"] not in EXTENDED_TYPES]


# ---------------------------------------------------------------- file systems

def fsstat(raw, start):
    """The "key: value" lines of fsstat's report (before its per-table sections), or raises ToolError."""
    out = run(["fsstat", "-o", start, raw])
    values = {}
    for line in out.splitlines():
        if line.startswith(("FAT CONTENTS", "$AttrDef Attribute Values")):
            break
        m = re.match(r"^\s*\**\s*([^:]+?):\s+(.*\S)\s*$", line)
        if m and m.group(1) not in values:
            values[m.group(1)] = m.group(2)
    return values


def fs_kind(values):
    t = values.get("File System Type", "").upper()
    return {"FAT12": "fat12", "FAT16": "fat16", "FAT32": "fat32", "NTFS": "ntfs"}.get(t, t.lower())


FLS_LINE = re.compile(r"^(\S)/(\S)\s+(\*\s+)?(\(realloc\)\s+)?([\d-]+):\t(.*)$")


def fls(raw, start):
    """Every path fls -r -p -l reports, with TSK's marks and sizes."""
    out = run(["fls", "-r", "-p", "-l", "-o", start, raw])
    entries = []
    for line in out.splitlines():
        m = FLS_LINE.match(line)
        if not m:
            continue
        name_type, meta_type, deleted, realloc, addr, rest = m.groups()
        fields = rest.split("\t")
        path = fields[0]
        name = path.rsplit("/", 1)[-1]
        is_dir = "d" in (name_type, meta_type) or name_type == "V"
        stream = name.split(":", 1)[1] if ":" in name and not path.startswith("$OrphanFiles/") else None
        top = path.split("/", 1)[0]
        meta = (top.startswith("$") and top != "$OrphanFiles") or name_type in "vV" \
            or name.endswith("(Volume Label Entry)")
        entries.append({
            "path": path,
            "name": name,
            "addr": addr,
            "inode": int(addr.split("-")[0]),
            "type": f"{name_type}/{meta_type}",
            "dir": is_dir,
            "deleted": bool(deleted),
            "realloc": bool(realloc),
            "meta": meta,
            "orphan": path.startswith("$OrphanFiles/") or path == "$OrphanFiles",
            "stream": stream,
            "size": int(fields[5]) if len(fields) > 5 and fields[5].isdigit() else None,
            "mtime": fields[1] if len(fields) > 1 else None,
            "atime": fields[2] if len(fields) > 2 else None,
            "crtime": fields[4] if len(fields) > 4 else None,
        })
    return entries


def icat_sha256(raw, start, addr):
    """sha256 of what icat gives for the TSK address (deleted files included), or None when icat fails."""
    h = hashlib.sha256()
    proc = subprocess.Popen(["icat", "-o", str(start), raw, addr], stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL, env=tool_env())
    for block in iter(lambda: proc.stdout.read(MIB), b""):
        h.update(block)
    return h.hexdigest() if proc.wait() == 0 else None


def content_runs(raw, start, addr, cluster_sectors):
    """Where istat says the content of an entry lies: ([[first image sector, sector count], ...], resident).
    FAT: istat's sector list (sector 0 is never a file's); NTFS: the cluster list of the attribute (cluster 0 marks a
    sparse hole, left out)."""
    out = run(["istat", "-o", start, raw, addr], check=False)
    holes = "Sectors:" not in out
    if not holes:
        tail, unit = out.split("Sectors:", 1)[1], 1
        resident = False
    else:
        attr = "(" + "-".join(addr.split("-")[1:]) + ")" if addr.count("-") == 2 else None
        lines = out.splitlines()
        types = [i for i, l in enumerate(lines) if l.startswith("Type: ")]
        line = next((l for l in lines if attr and l.startswith("Type: ") and attr in l), "")
        resident = " Resident" in line
        tail = "\n".join(lines[types[-1] + 1:]) if types else ""
        unit = cluster_sectors
    runs = []
    for n in (int(x) for x in re.findall(r"\d+", tail)):
        if n == 0:
            continue  # NTFS: a sparse hole; FAT: istat fills its last line of eight sectors with zeros
        first = start + n * unit
        if runs and runs[-1][0] + runs[-1][1] == first:
            runs[-1][1] += unit
        else:
            runs.append([first, unit])
    return runs, resident


class VolumeCache:
    """Listings already made in this run, by volume content. The same volume copied to another disk differs only
    in the hidden-sectors field of its boot sectors; its entries are TSK's once, their runs moved to the new start."""

    def __init__(self):
        self._entries = {}
        self._lock = threading.Lock()

    @staticmethod
    def key(raw, start, values):
        fs = fs_kind(values)
        rng = values.get("Total Sector Range" if fs == "ntfs" else "Total Range", "")
        m = re.match(r"0 - (\d+)", rng)
        if not m:
            return None
        sectors = int(m.group(1)) + (2 if fs == "ntfs" else 1)
        patched = [0] + ([6] if fs == "fat32" else []) + ([sectors - 1] if fs == "ntfs" else [])
        h = hashlib.sha256()
        with open(raw, "rb") as f:
            f.seek(start * SECTOR)
            for at in range(0, sectors, 2048):
                block = bytearray(f.read(min(2048, sectors - at) * SECTOR))
                for p in patched:
                    if at <= p < at + 2048:
                        block[(p - at) * SECTOR + 28:(p - at) * SECTOR + 32] = bytes(4)
                h.update(block)
        return h.hexdigest()

    def get(self, key, start):
        with self._lock:
            cached = self._entries.get(key)
        if cached is None:
            return None
        entries = copy.deepcopy(cached)
        for e in entries:
            for r in e.get("runs") or []:
                r[0] += start
        return entries

    def put(self, key, start, entries):
        entries = copy.deepcopy(entries)
        for e in entries:
            for r in e.get("runs") or []:
                r[0] -= start
        with self._lock:
            self._entries[key] = entries


def describe_volume(raw, start, pool=None, cache=None, wanted=None):
    """fsstat values and every fls entry with its content hash (icat) and location (istat) for the volume at
    sector start; with wanted (a test of an fls entry), only the entries it passes get them (the others None): a
    caller that needs a few entries' runs does not run two tools for every entry."""
    vol = {"start": start}
    try:
        values = fsstat(raw, start)
    except ToolError as e:
        vol["error"] = str(e).split(": ", 2)[-1]
        return vol
    vol["fs"] = fs_kind(values)
    vol["fsstat"] = values
    key = cache.key(raw, start, values) if cache and wanted is None else None
    entries = cache.get(key, start) if key else None
    if entries is None:
        entries = list_entries(raw, start, vol["fs"], values, pool, wanted)
        if key:
            cache.put(key, start, entries)
    vol["entries"] = entries
    return vol


def list_entries(raw, start, fs, values, pool, wanted=None):
    cluster_sectors = max(1, int(values.get("Cluster Size", SECTOR)) // SECTOR)
    entries = fls(raw, start)
    empty = hashlib.sha256(b"").hexdigest()

    def examine(e):
        if e["meta"] or wanted is not None and not wanted(e):
            e["sha256"] = e["runs"] = None
            return
        if e["dir"]:
            e["sha256"] = None
        else:
            e["sha256"] = icat_sha256(raw, start, e["addr"]) if e["size"] else empty
        if e["size"] or e["dir"]:
            e["runs"], resident = content_runs(raw, start, e["addr"], cluster_sectors)
            if fs == "ntfs":
                e["resident"] = resident
        else:
            e["runs"] = []

    list(pool.map(examine, entries)) if pool else [examine(e) for e in entries]
    return entries


def user_entries(volume):
    """The entries a recovery program lists as the user's files and folders: no metafiles, no orphans."""
    return [e for e in volume.get("entries", []) if not e["meta"] and not e["orphan"]]


# A name of the 8.3 form, as a FAT short entry holds it.
SHORT_NAME = re.compile(r"[^.]{1,8}(\.[^.]{1,3})?")


def fat_names_match(tsk_name, name, deleted=False):
    """Whether a name a reader shows equals TSK's for a FAT entry, allowing what TSK does differently: "_" in
    place of the first character of a deleted short name, case taken from the NT lower-case flags, and "^" for each
    character of a short name outside ASCII (TSK does not read the DOS code page)."""
    if tsk_name == name:
        return True
    if not SHORT_NAME.fullmatch(tsk_name):
        return False
    a, b = tsk_name.upper(), as_tsk_short_name(name).upper()
    if deleted and tsk_name.startswith("_") and len(a) == len(b):
        return a[1:] == b[1:]
    return a == b


def as_tsk_short_name(name):
    """A name as TSK shows it when it reads it from a short entry: "^" for each character outside ASCII."""
    return re.sub(r"[^\x00-\x7f]", "^", name)


def tsk_path_key(path):
    """A path reduced for matching across readers: case folded, the first character of every component that TSK
    may have replaced ("_") dropped, characters outside ASCII as "^". Use it to pair entries; compare names exactly
    with fat_names_match()."""
    return "/".join(as_tsk_short_name(c[1:]).upper() if c else c for c in path.split("/"))


# ---------------------------------------------------------------- carving

def photorec(raw, workdir, types=PHOTOREC_TYPES):
    """photorec over the whole image (no partition, whole space, paranoid, no corrupted files kept): every file
    it recovers, with the sector where it begins. types None: every type photorec knows."""
    out_dir = os.path.join(workdir, "recup")
    opts = ["partition_none", "options", "paranoid", "keep_corrupted_file_no", "fileopt", "everything",
            "disable" if types is not None else "enable"]
    for t in types or []:
        opts += [t, "enable"]
    opts.append("search")
    cmd = ["photorec", "/log", "/d", out_dir, "/cmd", os.path.abspath(raw), ",".join(opts)]
    run(cmd, cwd=workdir)
    hits = []
    report = os.path.join(out_dir + ".1", "report.xml")
    if os.path.exists(report):
        root = ET.parse(report).getroot()
        for fo in root.iter():
            if not fo.tag.endswith("fileobject"):
                continue
            fields = {c.tag.split("}")[-1]: c for c in fo}
            name = fields["filename"].text
            run0 = next(r for r in fo.iter() if r.tag.endswith("byte_run"))
            img_offset = int(run0.get("img_offset"))
            # Every type enabled, photorec spreads its files over several folders and reports some it did not keep.
            kept = [p for p in (os.path.join(out_dir + f".{n}", os.path.basename(name)) for n in range(1, 100))
                    if os.path.exists(p)]
            if not kept:
                continue
            with open(kept[0], "rb") as f:
                sha = hashlib.sha256(f.read()).hexdigest()
            hits.append({"sector": img_offset // SECTOR, "ext": name.rsplit(".", 1)[-1],
                         "size": int(fields["filesize"].text), "sha256": sha})
    hits.sort(key=lambda h: h["sector"])
    return {"options": ",".join(opts), "hits": hits}


# ---------------------------------------------------------------- whole images

def describe_disk(raw, placed_starts=(), pool=None, listing=True, cache=None):
    """Partitions (mmls) and the volumes at the partitions mmls lists plus those the generator placed without a
    table entry (origin "generator")."""
    parts = mmls(raw)
    out = {"partitions": parts}
    if not listing:
        return out
    starts = [(p["start"], "table") for p in table_partitions(parts)]
    known = {s for s, _ in starts}
    starts += [(s, "generator") for s in placed_starts if s not in known]
    volumes = []
    for start, origin in sorted(starts):
        v = describe_volume(raw, start, pool, cache)
        v["origin"] = origin
        volumes.append(v)
    out["volumes"] = volumes
    return out


def carving(raw, samples, volume_start, pool_dir):
    """Where each sample's content starts (istat) and what photorec finds."""
    entries = {e["path"]: e for e in fls(raw, volume_start)}
    placed = []
    for s in samples:
        e = entries.get(s["path"])
        runs = content_runs(raw, volume_start, e["addr"], 1)[0] if e else []
        placed.append({"path": s["path"], "type": s["type"], "valid": s["valid"],
                       "deleted": e["deleted"] if e else None, "start_sector": runs[0][0] if runs else None})
    with tempfile.TemporaryDirectory(dir=pool_dir) as work:
        rec = photorec(raw, work)
    hit_sectors = {h["sector"] for h in rec["hits"]}
    for p in placed:
        p["photorec_hit"] = p["start_sector"] in hit_sectors
    return {"samples": placed, "photorec": rec}


ORACLE_KEYS = ("container", "layout", "virtual_disk", "partitions", "volumes", "carving")


def oracle_part(manifest):
    return {k: manifest[k] for k in ORACLE_KEYS if k in manifest}


def load(path):
    with open(path, encoding="utf-8") as f:
        return json.load(f)
