"""Small helpers shared by the image builders and the oracle: running tools, deterministic bytes, sparse files."""

import errno
import hashlib
import os
import shutil
import subprocess

SECTOR = 512
MIB = 1024 * 1024

# Every tool runs with the same fixed clock, locale and time zone, so that the same sources give the same bytes.
FIXED_EPOCH = 1600000000  # 2020-09-13 12:26:40 UTC
TOOL_ENV = {
    "LANG": "C.UTF-8",
    "LC_ALL": "C.UTF-8",
    "TZ": "UTC",
    "SOURCE_DATE_EPOCH": str(FIXED_EPOCH),
    "MTOOLS_SKIP_CHECK": "1",
    "NTFS_HELPER_TIME": str(FIXED_EPOCH),
    "TERM": "dumb",
}


class ToolError(RuntimeError):
    pass


def tool_env():
    env = dict(os.environ)
    env.update(TOOL_ENV)
    # mtools reads ~/.mtoolsrc and /etc/mtools.conf; a private empty config keeps a user's drive letters out.
    env.setdefault("MTOOLSRC", os.devnull)
    return env


def run(cmd, cwd=None, input=None, check=True, binary=False, env=None):
    """Runs a tool (env: variables that replace the fixed ones); returns its standard output (text unless binary). A
    failure raises ToolError with stderr."""
    proc = subprocess.run(
        [str(c) for c in cmd],
        cwd=cwd,
        input=input,
        stdout=subprocess.PIPE,
        stderr=subprocess.PIPE,
        env=dict(tool_env(), **(env or {})),
        stdin=None if input is not None else subprocess.DEVNULL,
    )
    if check and proc.returncode != 0:
        err = proc.stderr.decode("utf-8", "replace").strip()
        raise ToolError(f"{' '.join(str(c) for c in cmd)}: exit {proc.returncode}: {err}")
    return proc.stdout if binary else proc.stdout.decode("utf-8", "replace")


def pseudo_bytes(seed, size):
    """size bytes that depend only on seed: file contents that differ from file to file."""
    out = bytearray()
    counter = 0
    while len(out) < size:
        out += hashlib.shake_256(f"{seed}/{counter}".encode()).digest(min(1 << 20, size - len(out)))
        counter += 1
    return bytes(out)


def text_bytes(seed, size):
    """Readable lines of text, size bytes long."""
    out = bytearray()
    n = 1
    while len(out) < size:
        out += f"{seed}: line {n:05d} of a test file written by the image generator.\r\n".encode()
        n += 1
    return bytes(out[:size])


def sha256_bytes(data):
    return hashlib.sha256(data).hexdigest()


# Folders every test volume holds, FAT and NTFS alike.
COMMON_FOLDERS = [
    "Documents",
    "Documents/Reports",
    "Documents/Reports/2019",
    "Deep",
    "Deep/Nested",
    "Deep/Nested/Folder",
    "Deep/Nested/Folder/Chain",
    "ToDelete",
    "ToDelete/Sub",
]


def written_files(written, deleted):
    """The manifest's record of what a builder wrote: {path: bytes} and the set of paths it deleted afterwards."""
    return [{"path": p, "size": len(d), "sha256": sha256_bytes(d), "deleted": p in deleted}
            for p, d in sorted(written.items())]


def sha256_file(path):
    h = hashlib.sha256()
    with open(path, "rb") as f:
        while True:
            b = f.read(4 * MIB)
            if not b:
                break
            h.update(b)
    return h.hexdigest()


def make_sparse(path, size):
    """A new file of size bytes that holds no data yet (a hole)."""
    with open(path, "wb") as f:
        f.truncate(size)


def data_extents(f, size):
    """(offset, length) of the parts of an open file that hold data; holes are skipped where the system knows them."""
    fd = f.fileno()
    pos = 0
    while pos < size:
        try:
            start = os.lseek(fd, pos, os.SEEK_DATA)
        except OSError as e:
            if e.errno != errno.ENXIO:  # the system cannot tell: take the rest as data
                yield pos, size - pos
            return
        end = os.lseek(fd, start, os.SEEK_HOLE)
        yield start, min(end, size) - start
        pos = end


def copy_into(src, dst, offset, length=None):
    """Copies src (or its first length bytes) into dst at byte offset, keeping holes and skipping zero blocks."""
    size = os.path.getsize(src) if length is None else length
    block = MIB
    with open(src, "rb") as s, open(dst, "r+b") as d:
        for start, n in data_extents(s, size):
            s.seek(start)
            done = 0
            while done < n:
                chunk = s.read(min(block, n - done))
                if chunk.count(0) != len(chunk):
                    d.seek(offset + start + done)
                    d.write(chunk)
                done += len(chunk)


def copy_sparse(src, dst):
    make_sparse(dst, os.path.getsize(src))
    copy_into(src, dst, 0)


def patch(path, offset, data):
    with open(path, "r+b") as f:
        f.seek(offset)
        f.write(data)


def read_at(path, offset, size):
    with open(path, "rb") as f:
        f.seek(offset)
        return f.read(size)


def fresh_dir(path):
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(path)
    return path
