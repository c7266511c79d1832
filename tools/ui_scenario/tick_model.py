"""A model of what a user means by ticks, to judge what the program's save writes. It knows only the user's
actions: ticking a file means it, unticking a file does not; ticking a folder means every file beneath it (and
every empty folder), unticking a folder none of them. Filters change what is shown and what a save writes, never
what is meant. It never asks the program what its boxes show.

What a save writes: the files meant that the filters pass. Where it writes them is judged by properties that hold
for any tick state, not by the save's own rule of placement (judge()): every saved path is a path of the results
tree below one common level, no two different folders are merged, a folder meant whole is saved as itself with
every folder beneath it, and names are whole: files and folders that meet on one name in one folder are it and
"Copy (1 ) of" it, "Copy (2 ) of" it ... without a gap. Among the layouts these allow, the rule chosen: the deepest
folder that holds everything meant is saved as itself, with every level below it.

The volume is the program's own listing of it (the lines enginectl and the window print: kind, deleted mark,
size, path), so that the clicks name what the user sees. File Trace's hits are flat: each is saved in the chosen
folder by its name."""
import posixpath
import random
import re


def matches(name, pattern):
    """The filter patterns the tests use, by their plain meaning: "*.EXT" a name ending so after at least one
    character, "PRE*" a name beginning so and longer, "*" any; letters in any case."""
    n, p = name.upper(), pattern.upper()
    if p == "*":
        return True
    if p.startswith("*"):
        return len(n) > len(p) - 1 and n.endswith(p[1:])
    return len(n) > len(p) - 1 and n.startswith(p[:-1])


def passes(name, filters):
    return not filters or any(matches(name, p) for p in filters)


class Volume:
    """Folders and files of a listing ("F\\t0\\t123\\t/A/b.txt" lines), by path without the leading "/"; count:
    how many the listing holds of each path (a live and a deleted file of one name, say)."""

    def __init__(self, listing, skip=lambda path: False):
        self.folders, self.files, self.deleted, self.count = set(), {}, {}, {}
        for line in listing.splitlines():
            parts = line.split("\t", 3)
            if len(parts) != 4 or parts[0] not in ("D", "F"):
                continue
            path = parts[3].lstrip("/")
            if skip(path):
                continue
            self.count[path] = self.count.get(path, 0) + 1
            if parts[0] == "D":
                self.folders.add(path)
            else:
                self.files[path] = posixpath.dirname(path)
                self.deleted[path] = parts[1] == "1"

    def under(self, folder):
        """The files and folders at or beneath folder ("" the root: everything)."""
        inside = (lambda p: True) if folder == "" else (lambda p: p == folder or p.startswith(folder + "/"))
        return [f for f in self.files if inside(f)], [d for d in self.folders if inside(d)]

    def empty_leaf(self, folder):
        return not any(d.startswith(folder + "/") for d in self.folders) and \
            not any(parent == folder for parent in self.files.values())


class Intent:
    def __init__(self, volume):
        self.v = volume
        self.files, self.leaves = set(), set()

    def tick(self, path, meant):
        """A file or a folder ("" the top node) ticked or unticked."""
        if path in self.v.files:
            (self.files.add if meant else self.files.discard)(path)
            return
        files, folders = self.v.under(path)
        for f in files:
            (self.files.add if meant else self.files.discard)(f)
        for d in folders:
            if self.v.empty_leaf(d):
                (self.leaves.add if meant else self.leaves.discard)(d)

    def whole(self, folder):
        files, folders = self.v.under(folder)
        return all(f in self.files for f in files) and \
            all(d in self.leaves for d in folders if self.v.empty_leaf(d))

    def meant(self, filters=()):
        """The files meant that the filters pass, by their paths."""
        return sorted(f for f in self.files if passes(posixpath.basename(f), filters) for _ in range(self.v.count[f]))

    def whole_tops(self):
        """The top-most folders meant whole."""
        return sorted(d for d in self.v.folders
                      if self.whole(d) and (posixpath.dirname(d) == "" or not self.whole(posixpath.dirname(d))))


COPY = re.compile(r"^Copy \((\d+) \) of (.+)$")


def base_name(name):
    """A name without its "Copy (n ) of " prefix."""
    m = COPY.match(name)
    return m.group(2) if m else name


def stripped(path):
    return "/".join(base_name(part) for part in path.split("/"))


def below(path, common):
    """path relative to the folder common ("" the root)."""
    return path if common == "" else path[len(common) + 1:]


def names_problem(written):
    """What is wrong with the names of a saved tree ({path: "D" or "F"}): in each folder, the files and folders of
    one name must be it and its copies numbered from 1, a folder keeping the plain name before a file."""
    groups = {}
    for path, kind in written.items():
        folder, name = posixpath.split(path)
        groups.setdefault((folder, base_name(name)), []).append((name, kind))
    for (folder, name), items in sorted(groups.items()):
        want = sorted([name] + [f"Copy ({n} ) of {name}" for n in range(1, len(items))])
        if sorted(n for n, _ in items) != want:
            return f"the names of {posixpath.join(folder, name)} are not it and its copies numbered from 1"
        if any(k == "D" for _, k in items) and dict(items)[name] != "D":
            return f"a file took the name of the folder {posixpath.join(folder, name)}"
    return None


def folders_below(intent, common):
    """The folders a save below common makes, relative to it: those on the way to the folder of each file meant
    (whether the filters let it through or not: the layout is the ticks'), and every folder of a folder meant
    whole."""
    wanted = set()
    for d in [posixpath.dirname(f) for f in intent.files] + [d for t in intent.whole_tops() for d in intent.v.under(t)[1]]:
        while d and d != common:
            wanted.add(below(d, common))
            d = posixpath.dirname(d)
    return wanted


def common_level(intent, meant, written):
    """The folder ("" the root) below which the saved files and folders (their paths, "Copy (n ) of" and all) lie
    where the meant files and the folders they need lie in the tree; None when there is none."""
    folders = [posixpath.dirname(f) for f in intent.files] + intent.whole_tops()
    common = posixpath.commonpath(["/" + d for d in folders])[1:] if folders else ""
    levels = [common]
    while common:
        common = posixpath.dirname(common)
        levels.append(common)
    files = sorted(stripped(p) for p, k in written.items() if k == "F")
    made = {stripped(p) for p, k in written.items() if k == "D"}
    return next((c for c in levels if sorted(below(f, c) for f in meant) == files and
                 folders_below(intent, c) == made), None)


def judge(intent, written, filters=()):
    """(problem or None, [(saved path, the volume's path)]) for a save that wrote written ({path: "D" or "F"}) after
    the user's clicks: the files meant with their names whole, below one common level of the results tree, each
    folder meant whole saved as itself with all its folders, no other folder made and none made twice (merged
    folders would show one folder where the files' folders are two). Files of one folder and name are paired in
    order, the plain name with a live one."""
    meant = intent.meant(filters)
    files = sorted(p for p, k in written.items() if k == "F")
    if sorted(base_name(posixpath.basename(p)) for p in files) != sorted(posixpath.basename(f) for f in meant):
        return "saved other files than the user meant", []
    problem = names_problem(written)
    if problem:
        return problem, []
    common = common_level(intent, meant, written)
    if common is None:
        return "the saved files and folders are not paths of the results tree below one common level", []
    if any(t == common or not (common == "" or t.startswith(common + "/")) for t in intent.whole_tops()):
        return "a folder meant whole is not saved as itself", []
    # The rule chosen among those the rest allow, by the ticks alone (not the filters): the deepest folder that
    # holds every file meant and every folder meant whole is saved as itself, and no level above it.
    ticked = [posixpath.dirname(f) for f in intent.files] + intent.whole_tops()
    deepest = posixpath.commonpath(["/" + d for d in ticked])[1:] if ticked else ""
    if meant and common != posixpath.dirname(deepest):
        return "the folder holding everything meant is not saved as itself below the chosen folder", []
    made = [stripped(p) for p, k in written.items() if k == "D"]
    if any(made.count(d) != intent.v.count.get(posixpath.join(common, d), 1) for d in set(made)):
        return "folders of the tree merged, or one saved as two", []
    by_place, written_at, pairs = {}, {}, []
    for f in sorted(meant, key=lambda f: (intent.v.deleted.get(f, False), f)):
        by_place.setdefault(below(f, common), []).append(f)
    for p in sorted(files, key=lambda p: (COPY.match(posixpath.basename(p)) is not None, p)):
        written_at.setdefault(stripped(p), []).append(p)
    for place, sources in by_place.items():
        pairs.extend(zip(written_at[place], sources))
    return None, pairs


class TraceIntent:
    """File Trace: hits by name, each under its group and its type ("/Group/.ext/N.ext" lines). A group's box
    means its hits, a type's box every hit of that extension, a hit's row the hit; the save writes each hit meant
    by its name in the chosen folder."""

    def __init__(self, listing):
        self.hits = {}
        for line in listing.splitlines():
            parts = line.split("\t", 3)
            if len(parts) == 4 and parts[0] == "F" and parts[3].count("/") == 3:
                _, group, extension, name = parts[3].split("/")
                self.hits[name] = (group, extension)
        self.meant = set()

    def tick(self, path, meant):
        parts = [p for p in path.split("/") if p]
        if parts and parts[-1] in self.hits:
            chosen = [parts[-1]]
        elif len(parts) == 2:
            chosen = [h for h, (_, extension) in self.hits.items() if extension.upper() == parts[1].upper()]
        elif len(parts) == 1:
            chosen = [h for h, (group, _) in self.hits.items() if group == parts[0]]
        else:
            chosen = list(self.hits)
        for h in chosen:
            (self.meant.add if meant else self.meant.discard)(h)

    def saved(self, filters=()):
        return {h: ("F", h) for h in self.meant if passes(h, filters)}


def random_trace_clicks(intent, rng, steps):
    """Like random_clicks, over File Trace's groups, types and hits (a hit by its group's list or its type's)."""
    filters = []
    args = []
    names = sorted(intent.hits)
    for _ in range(steps):
        roll = rng.random()
        meant = rng.random() < 0.6
        if roll < 0.45 and names:
            shown = [h for h in names if passes(h, filters)]
            if not shown:
                continue
            h = rng.choice(shown)
            group, extension = intent.hits[h]
            path = f"/{group}/{h}" if rng.random() < 0.5 else f"/{group}/{extension}/{h}"
        elif roll < 0.85 and names:
            group, extension = intent.hits[rng.choice(names)]
            path = f"/{group}" if rng.random() < 0.5 else f"/{group}/{extension}"
        elif roll < 0.9:
            path = "/"
        else:
            filters = rng.choice([["*.jpg"], ["1*", "*.png"], []])
            args += ["--filters", ",".join(filters)] if filters else ["--no-filters"]
            continue
        args += ["--tick" if meant else "--untick", path]
        intent.tick(path, meant)
    return args, filters


def random_clicks(volume, rng, steps):
    """(arguments for scripts/ui-scenario, Intent after them) of a random session: files ticked and unticked on
    their folder's list (only those the filters show), folders ticked and unticked in the tree, filters set and
    cleared; the filters stay as the session left them for the save."""
    intent = Intent(volume)
    filters = []
    args = []
    files, folders = sorted(volume.files), sorted(volume.folders)
    for _ in range(steps):
        roll = rng.random()
        if roll < 0.45 and files:
            shown = [f for f in files if passes(posixpath.basename(f), filters)]
            if not shown:
                continue
            f = rng.choice(shown)
            meant = rng.random() < 0.65
            args += ["--tick" if meant else "--untick", "/" + f]
            intent.tick(f, meant)
        elif roll < 0.85 and folders:
            d = rng.choice(folders) if rng.random() < 0.95 else ""
            meant = rng.random() < 0.6
            args += ["--tick" if meant else "--untick", "/" + d]
            intent.tick(d, meant)
        elif roll < 0.95:
            filters = rng.choice([["*.txt"], ["IMG*"], ["*.bin", "*.csv"], ["*.jpg"]])
            args += ["--filters", ",".join(filters)]
        else:
            filters = []
            args += ["--no-filters"]
    return args, intent, filters


def session_rng(seed):
    return random.Random(seed)
