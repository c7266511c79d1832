#!/usr/bin/env python3
"""The model that effect_pattern_cases.inc is made from: the generated patterns' formulas written out again,
apart from the C++ (integer division toward zero, pixel bytes modulo 256, rows as stored), over a 12 x 6 pattern
of granularity 20 fed the random values 0, 32767, 12345, 20000, 7, 30000, 16000 in turn.

    effect_pattern_model.py            prints the cases
    effect_pattern_model.py --check F  fails (and says where) when F is not what the model gives
"""
import sys

RAND_MAX = 32767
RANDOM_VALUES = [0, 32767, 12345, 20000, 7, 30000, 16000]
WIDTH, HEIGHT, GRANULARITY = 12, 6, 20
KINDS = ["kFillNoise", "kFillDiagShade", "kFillHShade", "kFillVShade", "kFillHBump", "kFillVBump",
         "kFillSoftBump", "kFillHardBump", "kFillMetal"]


def div(a, b):
    """C's integer division: toward zero."""
    q = abs(a) // abs(b)
    return q if (a >= 0) == (b >= 0) else -q


class Scripted:
    def __init__(self, values):
        self.values, self.at = values, 0

    def next(self):
        value = self.values[self.at % len(self.values)]
        self.at += 1
        return min(max(value, 0), RAND_MAX)


def render(kind, w, h, g, random):
    """The stored indices, row by row from the first stored row."""
    pixels = [[0] * w for _ in range(h)]

    def put(x, y, value):
        if 0 <= x < w and 0 <= y < h:
            pixels[y][x] = value % 256

    def n():
        return div(random.next(), div(RAND_MAX, max(2 * g, 1)))

    def k(t):
        return div(div(t * t * t, 128), 128)

    def ky(y):
        return k(div(255 * y, h) - 127)

    def kx(x):
        return k(div(255 * (w - x), w) - 127)

    every = [(x, y) for y in range(h) for x in range(w)]
    if kind == "kFillNoise":
        for x, y in every:
            put(x, y, n() - g + 128)
    elif kind == "kFillDiagShade":
        m = div(255 - 2 * g, 2)
        for x, y in every:
            put(x, y, div(m * (w - x), w) + div(y * m, h) + g + n() - g)
    elif kind == "kFillHShade":
        for x, y in every:
            put(x, y, div(y * (255 - 2 * g), h) + g + n() - g)
    elif kind == "kFillVShade":
        for x, y in every:
            put(x, y, div((255 - 2 * g) * (w - x), w) + g + n() - g)
    elif kind == "kFillHBump":
        for x, y in every:
            put(x, y, div(ky(y) * (128 - g), 128) + 128 + n() - g)
    elif kind == "kFillVBump":
        for x, y in every:
            put(x, y, div(kx(x) * (128 - g), 128) + 128 + n() - g)
    elif kind == "kFillSoftBump":
        for x, y in every:
            v = min(max(div((kx(x) + ky(y)) * (128 - g), 128) + 128, g), 255 - g)
            put(x, y, v + n() - g)
    elif kind == "kFillHardBump":
        for x, y in every:
            put(x, y, div(ky(y) * (64 - g) * 2, 128) + 128 + n() - g)
        # The ridge pass: every pixel takes one more noise value, in the order the pixels are visited, added to
        # the ridge's value where the ridge changes it and to the stored byte elsewhere.
        s = min(div(w, 6), 16)
        for y in range(h):
            dy = y - div(h, 2)
            lim = div(s * dy * dy, div(h * h, 4)) - s + div(w, 2)
            for x in range(w):
                e = x - div(w, 2)
                v = pixels[y][x]
                if e > lim:
                    v = div(128 * (w - x), s) + g
                if lim + e < 0:
                    v = (255 - g) - div(128 * x, s)
                put(x, y, v + n() - g)
    elif kind == "kFillMetal":
        def step(side):
            return div(RAND_MAX, min(max(side, 1), RAND_MAX))
        for _ in range(200):
            x0 = div(random.next(), step(w))
            y0 = div(random.next(), step(h))
            length = div(random.next(), step(min(w, h)))
            v = div(random.next(), 819)
            for i in range(div(length, 2)):
                if x0 - i >= 1 and y0 + i < h:
                    put(x0 - i, y0 + i, v)
                if x0 + i < w and y0 - i > 0:
                    put(x0 + i, y0 - i, v)
        m = div(215 - 2 * g, 2)
        for x, y in every:
            put(x, y, pixels[y][x] + div(m * (w - x), w) + div(y * m, h) + n())
    return pixels


def cases():
    lines = ["// The stored indices (first stored row first) of each pattern kind, for effect_pattern_test.cpp."]
    for kind in KINDS:
        lines.append(f"  {{{kind}, {{")
        for row in render(kind, WIDTH, HEIGHT, GRANULARITY, Scripted(RANDOM_VALUES)):
            lines.append("    " + " ".join(f"{v:3d}," for v in row))
        lines.append("  }},")
    return "\n".join(lines) + "\n"


def main():
    made = cases()
    if len(sys.argv) == 3 and sys.argv[1] == "--check":
        kept = open(sys.argv[2]).read()
        if kept != made:
            for number, (a, b) in enumerate(zip(kept.splitlines(), made.splitlines()), 1):
                if a != b:
                    print(f"{sys.argv[2]}:{number}: kept {a.strip()!r}, the model gives {b.strip()!r}")
                    break
            else:
                print(f"{sys.argv[2]}: {len(kept.splitlines())} lines kept, the model gives {len(made.splitlines())}")
            return 1
        print(f"{sys.argv[2]}: as the model gives it")
        return 0
    sys.stdout.write(made)
    return 0


if __name__ == "__main__":
    sys.exit(main())
