"""A model of what a user means by ticks, to judge what the program's save writes. It knows only the user's
actions: ticking a file means it, unticking a file does not; ticking a folder means every file beneath it (and
every empty folder), unticking a folder none of them. Filters change what is shown and what a save writes, never
what is meant. It never asks the program what its boxes show.

What a save writes: the files meant that the filters pass, each where the user would look for it: the root's
files in the chosen folder; the files of a folder in that folder, made under the chosen folder as it would be if
it were ticked whole, beneath the top-most folder above it that is meant whole or holds files meant (with the
folders between). A folder meant whole is made with every folder beneath it, files or not.

The volume is the program's own listing of it (the lines enginectl and the window print: kind, deleted mark,
size, path), so that the clicks name what the user sees. File Trace's hits are flat: each is saved in the chosen
folder by its name."""
import posixpath
import random


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
    """Folders and files of a listing ("F\\t0\\t123\\t/A/b.txt" lines), by path without the leading "/"."""

    def __init__(self, listing, skip=lambda path: False):
        self.folders, self.files, self.deleted = set(), {}, {}
        for line in listing.splitlines():
            parts = line.split("\t", 3)
            if len(parts) != 4 or parts[0] not in ("D", "F"):
                continue
            path = parts[3].lstrip("/")
            if skip(path):
                continue
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

    def holds(self, folder):
        return any(self.v.files[f] == folder for f in self.files)

    def place(self, folder):
        """Where the folder goes below the chosen folder ("" the chosen folder itself)."""
        if folder == "":
            return ""
        chain = []
        at = folder
        while at:
            chain.append(at)
            at = posixpath.dirname(at)
        top = 0
        for i, f in enumerate(chain):
            if self.whole(f) or self.holds(f):
                top = i
        anchor = chain[top]
        return posixpath.join(posixpath.basename(anchor), posixpath.relpath(folder, anchor)) \
            if folder != anchor else posixpath.basename(anchor)

    def saved(self, filters=()):
        """{path below the chosen folder: ("D" or "F", the volume's path)} of what a save writes."""
        out = {}

        def folders_of(place, source):
            parts = place.split("/") if place else []
            for n in range(1, len(parts) + 1):
                out.setdefault("/".join(parts[:n]), ("D", None))
            if place:
                out[place] = ("D", source)

        for folder in self.v.folders:
            parent = posixpath.dirname(folder)
            if self.whole(folder) and (parent == "" or not self.whole(parent)):
                for d in self.v.under(folder)[1]:
                    folders_of(self.place(d), d)
        for f in self.files:
            folders_of(self.place(self.v.files[f]), self.v.files[f] or None)
            if passes(posixpath.basename(f), filters):
                out[posixpath.join(self.place(self.v.files[f]), posixpath.basename(f))] = ("F", f)
        return out


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
