"""A save judged by the files that were written (the rows of tools/images/user_history.py: path, size, sha256,
state, fate, required), not by what another reader makes of the volume.

What `enginectl save --audit` counted (each file saved whole or damaged, every sector read) is held against the
rows:
- wrong-bytes: a file counted saved whole, under the name and folder of a file written there at its size, holds
  none of the bytes of the files of that name there (a file holding the bytes of a file of its name written
  elsewhere is a cross-linked folder's listing and passes; where a deleted file of unknown fate of that name and
  size was written there, it is not judged);
- not-counted-damaged: a file counted whole whose row's fate is destroyed (its record failed its check), even
  with the bytes it was written with;
- missing: a required file (live, intact, empty or not) not saved whole with its bytes under its name and folder;
- case: saved whole with its bytes, its FAT short name in other capitals (the lower-case flags of byte 12);
- intact-damaged: a deleted or lost file whose bytes are still in place, counted damaged, unless another deleted
  or lost file's clusters (on FAT its consecutive clusters; on NTFS also those the record of a file the history
  deleted still names) meet its own and no later day of its making makes it the
  newer (contested: a save cannot tell whose they are), or the volume formatted over it gives their place out now
  ("taken": they lie in the slack of another size's cluster), or the file counted is larger than the one written;
- outside: sectors read outside the volume.
FAT names compare as the saver writes them: a deleted short name's first letter is not known; "Copy (n ) of NAME"
stands for NAME. A lost file (its folders' entries gone) may lie under "Lost Dir" and "Dir<n>" folders standing
for the folders above it.
"""
import os
import re

import user_history  # noqa: E402  (driver.py puts tools/images on the path)
from diff_test import COPY_OF, outside_reads, read_audit, saved_name
from driver import sha256_file

CLASSES = ("outside", "wrong-bytes", "not-counted-damaged", "missing", "intact-damaged", "case")
LOST_PART = re.compile(r"Lost Dir|Dir\d+")
SHORT_NAME = re.compile(r"[^.]{1,8}(\.[^.]{1,3})?")


def name_grade(written, saved, fat, deleted):
    """"exact", "case" (a FAT short name in other capitals) or None."""
    written = saved_name(written)
    if written == saved:
        return "exact"
    if not fat or not SHORT_NAME.fullmatch(written) or len(written) != len(saved):
        return None
    if deleted:
        return "exact" if written[1:].upper() == saved[1:].upper() else None
    return "case" if written.upper() == saved.upper() else None


def path_grade(r, parts, fat):
    """How the saved path (its components, the name without a "Copy (n ) of") stands for row r: "exact",
    "case" or None."""
    written = r["path"].split("/")
    tails = [parts]
    if r["state"] == "lost":
        lost = 0
        while lost < len(parts) - 1 and LOST_PART.fullmatch(parts[lost]):
            lost += 1
        tails = [parts[i:] for i in range(lost + 1)]
    for tail in tails:
        if len(tail) > len(written) or r["state"] != "lost" and len(tail) != len(written):
            continue
        grades = [name_grade(w, s, fat, r["fate"] == "unknown" or r["state"] == "deleted" and i == len(tail) - 1)
                  for i, (w, s) in enumerate(zip(written[len(written) - len(tail):], tail))]
        if None not in grades:
            return "case" if "case" in grades else "exact"
    return None


def name_key(name):
    """What a name is indexed by: the first letter of a deleted short name is not known."""
    return name.upper()[1:]


class Saved:
    def __init__(self, out, path, damaged):
        self.path, self.damaged = path, damaged
        parts = path.split("/")
        m = COPY_OF.match(parts[-1])
        self.parts = parts[:-1] + [m.group(1) if m else parts[-1]]
        full = os.path.join(out, *path.split("/"))
        self.size = os.path.getsize(full) if os.path.exists(full) else None
        self.sha = sha256_file(full) if self.size is not None and not damaged else None


def contested_rows(rows, tsk_contested=(), fat=True):
    """The ids of the deleted or lost rows a save may count damaged with their bytes in place: another such row's
    sectors (on FAT consecutive from the first of its place, as many as its size needs; on NTFS those of its runs)
    meet its own, and the day it was made ("day", the same when not given) is not the later (on NTFS the sectors a
    deleted version of the history still claims meet too); TSK lists it among the deleted files another claims
    (tsk_contested: (folder, name without its first letter, size), in capitals); or the volume gives its place out
    now ("taken")."""
    placed = [(tuple(map(tuple, sectors)), r) for r in rows if r["state"] != "live" and r["size"]
              for sectors in [held(r, fat)] if sectors]
    placed.sort(key=lambda x: x[0])
    out = set()
    for i, (sectors, r) in enumerate(placed):
        first, end = sectors[0][0], max(s + n for s, n in sectors)
        for other_sectors, other in placed[i + 1:]:
            other_first = other_sectors[0][0]
            if fat and other_first >= end:
                break
            if not user_history.meet(sectors, other_sectors) or first == other_first and r["size"] == other["size"]:
                continue
            if r.get("day", 0) <= other.get("day", 0):
                out.add(id(r))
            if other.get("day", 0) <= r.get("day", 0):
                out.add(id(other))
    for r in rows:
        folder, _, name = r["path"].upper().rpartition("/")
        if (folder, name[1:], r["size"]) in tsk_contested or r.get("taken"):
            out.add(id(r))
    return out


def held(r, fat):
    """The sectors a row not live lays claim to: its place (on FAT consecutive from its first sector, as many as its
    size needs), else the claims of its deleted NTFS record."""
    if r.get("place") and r["place"]["runs"]:
        return [(r["place"]["runs"][0][0], -(-r["size"] // 512))] if fat else user_history.held_sectors(r)
    return [] if fat else r.get("claims", [])


def judge(rows, out, audit, extent, fat, tsk_contested=()):
    """(problems [(class, line)], figures) of the save into out whose audit is audit; extent: (first sector, count)
    of the volume on the image. Figures: the rows written and destroyed, the deleted or lost rows whose bytes are in
    place (recoverable) and those saved whole with them (recovered), the files listed (counted saved), counted whole
    and damaged, the sectors read outside the volume, and the problems of each other class."""
    reads, files = read_audit(audit)
    saved = [Saved(out, path, damaged) for path, damaged in files]
    by_name, by_sha = {}, {}
    for r in rows:
        by_name.setdefault(name_key(saved_name(r["path"].rsplit("/", 1)[-1])), []).append(r)
        by_sha.setdefault(r["sha256"], []).append(r)
    for s in saved:
        s.rows = [(r, g) for r in by_name.get(name_key(s.parts[-1]), []) for g in [path_grade(r, s.parts, fat)] if g]
    problems = []
    sectors, line = outside_reads(reads, *extent)
    if line:
        problems.append(("outside", line))
    standing = {}
    for s in saved:
        for r, g in s.rows:
            standing.setdefault(id(r), []).append((s, g))
    problems += required_problems(rows, standing)
    problems += whole_problems(saved, by_sha, fat)
    problems += damaged_problems(saved, contested_rows(rows, tsk_contested, fat))
    # Deleted and lost files whose bytes are still in place, and those of them saved whole with their bytes.
    recoverable = [r for r in rows if r["state"] != "live" and r["fate"] == "intact"]
    figures = {"written": len(rows), "destroyed": sum(r["fate"] == "destroyed" for r in rows),
               "recoverable": len(recoverable),
               "recovered": sum(any(not s.damaged and s.sha == r["sha256"] for s, _ in standing.get(id(r), []))
                                for r in recoverable),
               "listed": len(saved), "whole": sum(not s.damaged for s in saved),
               "damaged": sum(s.damaged for s in saved), "outside": sectors}
    for c in CLASSES[1:]:
        figures[c] = sum(1 for k, _ in problems if k == c)
    return problems, figures


def required_problems(rows, standing):
    """standing: {id(row): [(saved file, grade)]} of the saved files that stand for each row."""
    out = []
    for r in rows:
        if not r["required"]:
            continue
        found = standing.get(id(r), [])
        whole = [g for s, g in found if not s.damaged and s.sha == r["sha256"]]
        if "exact" in whole:
            continue
        if whole:
            out.append(("case", "saved under its name in other capitals: %s" % r["path"]))
        elif any(s.damaged for s, _ in found):
            out.append(("missing", "intact, counted damaged: %s (%d bytes)" % (r["path"], r["size"])))
        else:
            got = ", ".join("%s (%s bytes)" % (s.path, s.size) for s, _ in found[:2])
            out.append(("missing", "not saved whole: %s (%d bytes)%s" % (r["path"], r["size"],
                                                                          "; saved " + got if got else "")))
    return out


def whole_problems(saved, by_sha, fat):
    out = []
    for s in saved:
        if s.damaged:
            continue
        rows = [r for r, _ in s.rows]
        hits = [r for r in rows if r["sha256"] == s.sha]
        if hits:
            if all(r["fate"] == "destroyed" for r in hits):
                out.append(("not-counted-damaged", "destroyed, counted saved whole: %s" % s.path))
            continue
        if any(name_grade(r["path"].rsplit("/", 1)[-1], s.parts[-1], fat, True) for r in by_sha.get(s.sha, [])):
            continue  # the bytes of a file of this name written elsewhere: a folder listed along another's chain
        # Only a file of the size of a judged row is taken for it: the history left other entries of the name behind
        # (a file's old entry after a move, its versions before it grew), whose bytes it does not record.
        same_size = [r for r in rows if r["size"] == s.size]
        if not same_size or any(r["fate"] == "unknown" for r in same_size):
            continue
        written = "; ".join("%s %d bytes %s %s" % (r["path"], r["size"], r["state"], r["fate"]) for r in rows[:3])
        out.append(("wrong-bytes", "saved whole with other bytes: %s (%d bytes; written: %s)" %
                    (s.path, s.size, written)))
    return out


def damaged_problems(saved, contested):
    whole = {tuple(s.parts) for s in saved if not s.damaged}
    out = []
    for s in saved:
        if s.damaged and len(s.rows) == 1 and tuple(s.parts) not in whole:
            r = s.rows[0][0]
            # A damaged file ends where its data does, never past its size: a longer one is another file of the name.
            if r["fate"] == "intact" and r["state"] != "live" and id(r) not in contested and \
                    (s.size is None or s.size <= r["size"]):
                out.append(("intact-damaged", "%s, its bytes in place, counted damaged: %s (%d bytes)" %
                            (r["state"], s.path, r["size"])))
    return out
