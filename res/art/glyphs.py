"""Pictograms on a 16-unit grid, drawn at any size into a Sketch at (x, y) with side s. One stroke
weight, one light source (top left), the palette's colours: they read alike at 16 and at 48 pixels."""

import math

import palette as p


class Grid:
    def __init__(self, sk, x, y, s):
        self.sk, self.x, self.y, self.u = sk, x, y, s / 16.0

    def pt(self, a, b):
        return (self.x + a * self.u, self.y + b * self.u)

    def box(self, a, b, c, d):
        return [self.x + a * self.u, self.y + b * self.u, self.x + c * self.u, self.y + d * self.u]

    def w(self, units):
        return max(1.0, units * self.u)

    def rect(self, a, b, c, d, fill=None, outline=None, width=1.0, radius=0.0):
        self.sk.rect(self.box(a, b, c, d), fill, outline, self.w(width), radius * self.u)

    def ellipse(self, a, b, c, d, fill=None, outline=None, width=1.0):
        self.sk.ellipse(self.box(a, b, c, d), fill, outline, self.w(width))

    def poly(self, pts, fill=None, outline=None, width=1.0):
        self.sk.polygon([self.pt(a, b) for a, b in pts], fill, outline, self.w(width))

    def line(self, pts, colour, width=1.0):
        self.sk.line([self.pt(a, b) for a, b in pts], colour, self.w(width))

    def arc(self, a, b, c, d, start, end, colour, width=1.0):
        self.sk.arc(self.box(a, b, c, d), start, end, colour, self.w(width))


def disk(sk, x, y, s, body=p.SILVER, light=p.GREEN):
    g = Grid(sk, x, y, s)
    g.rect(1, 6, 15, 13, fill=p.SLATE, radius=2)
    g.rect(1, 5, 15, 12, fill=body, outline=p.SLATE, width=1, radius=2)
    g.rect(2.5, 6.5, 13.5, 8, fill=p.CLOUD, radius=0.7)
    g.ellipse(11.2, 9.2, 13.2, 11.2, fill=light)
    g.line([(3, 10.2), (9, 10.2)], p.SLATE, 0.8)


def disks(sk, x, y, s):
    g = Grid(sk, x, y, s)
    disk(sk, g.pt(0, -2.5)[0], g.pt(0, -2.5)[1], s * 0.95)
    disk(sk, g.pt(1, 3)[0], g.pt(1, 3)[1], s * 0.92)


def document(sk, x, y, s, paper=p.WHITE, ink=p.SLATE, lines=True):
    g = Grid(sk, x, y, s)
    g.poly([(3, 1), (10, 1), (13, 4), (13, 15), (3, 15)], fill=paper, outline=ink, width=1)
    g.poly([(10, 1), (10, 4), (13, 4)], fill=p.CLOUD, outline=ink, width=0.8)
    if lines:
        for row in (7, 9.5, 12):
            g.line([(5, row), (11, row)], p.BLUE_LIGHT, 1)


def virtual_disk(sk, x, y, s):
    document(sk, x + s * 0.2, y - s * 0.02, s * 0.75, lines=False)
    g = Grid(sk, x, y, s)
    disk(sk, g.pt(0, 2.5)[0], g.pt(0, 2.5)[1], s * 0.9, body=p.BLUE_LIGHT, light=p.AMBER)


def computer(sk, x, y, s):
    g = Grid(sk, x, y, s)
    g.rect(1, 2, 15, 11.5, fill=p.SILVER, outline=p.SLATE, width=1, radius=1.2)
    g.rect(2.5, 3.5, 13.5, 10, fill=p.BLUE_MID)
    g.poly([(2.5, 3.5), (9, 3.5), (2.5, 8)], fill=p.BLUE_LIGHT)
    g.poly([(6.5, 11.5), (9.5, 11.5), (10.5, 14), (5.5, 14)], fill=p.SLATE)
    g.rect(4, 13.8, 12, 15, fill=p.SILVER, outline=p.SLATE, width=0.8, radius=0.6)


def usb_stick(sk, x, y, s):
    g = Grid(sk, x, y, s)
    g.rect(5.5, 1, 10.5, 5.5, fill=p.CLOUD, outline=p.SLATE, width=1)
    g.rect(6.8, 2.3, 7.8, 3.3, fill=p.SLATE)
    g.rect(8.2, 2.3, 9.2, 3.3, fill=p.SLATE)
    g.rect(4, 5, 12, 15, fill=p.BLUE, outline=p.NAVY, width=1, radius=1.5)
    g.rect(5.5, 7, 10.5, 9, fill=p.BLUE_LIGHT, radius=0.6)


def disc(sk, x, y, s):
    g = Grid(sk, x, y, s)
    g.ellipse(1, 1, 15, 15, fill=p.CLOUD, outline=p.SLATE, width=1)
    g.arc(3, 3, 13, 13, 200, 290, p.BLUE_LIGHT, 1.5)
    g.arc(3, 3, 13, 13, 20, 110, p.AMBER_LIGHT, 1.5)
    g.ellipse(6, 6, 10, 10, fill=p.SILVER, outline=p.SLATE, width=0.8)
    g.ellipse(7.3, 7.3, 8.7, 8.7, fill=(0, 0, 0, 0))


def folder(sk, x, y, s, open_=False):
    g = Grid(sk, x, y, s)
    g.poly([(1, 3), (6, 3), (7.5, 4.5), (15, 4.5), (15, 14), (1, 14)], fill=p.AMBER, outline=(150, 96, 22), width=0.9)
    if open_:
        g.poly([(3, 7), (16, 7), (14, 14), (1, 14)], fill=p.AMBER_LIGHT, outline=(150, 96, 22), width=0.9)
    else:
        g.rect(1, 6, 15, 14, fill=p.AMBER_LIGHT, outline=(150, 96, 22), width=0.9)


def magnifier(sk, x, y, s, lens=p.SKY):
    g = Grid(sk, x, y, s)
    g.line([(9.6, 9.6), (14.5, 14.5)], p.NAVY, 2.6)
    g.ellipse(1.5, 1.5, 11, 11, fill=lens, outline=p.NAVY, width=1.5)
    g.arc(3.5, 3.5, 9, 9, 190, 260, p.WHITE, 1.1)


def gear(sk, x, y, s):
    g = Grid(sk, x, y, s)
    pts = []
    for i in range(16):
        angle = math.pi * 2 * i / 16
        r = 7 if i % 2 == 0 else 5.4
        pts.append((8 + r * math.cos(angle + 0.2), 8 + r * math.sin(angle + 0.2)))
    g.poly(pts, fill=p.SLATE, outline=p.INK, width=0.6)
    g.ellipse(3.8, 3.8, 12.2, 12.2, fill=p.SILVER)
    g.ellipse(5.8, 5.8, 10.2, 10.2, fill=p.CLOUD, outline=p.SLATE, width=0.8)


def help_mark(sk, x, y, s):
    g = Grid(sk, x, y, s)
    g.ellipse(1, 1, 15, 15, fill=p.BLUE, outline=p.NAVY, width=1)
    g.arc(5.3, 3.6, 10.7, 8.6, 180, 400, p.WHITE, 1.7)
    g.line([(9.4, 8.1), (8, 9.2), (8, 10.2)], p.WHITE, 1.7)
    g.ellipse(7.05, 11.4, 8.95, 13.3, fill=p.WHITE)


def layers(sk, x, y, s):
    """A stack of sheets: a snapshot of the scan's state."""
    g = Grid(sk, x, y, s)
    for dy, fill in ((6, p.BLUE), (3, p.BLUE_MID), (0, p.BLUE_LIGHT)):
        g.poly([(8, 1.5 + dy), (15, 4.5 + dy), (8, 7.5 + dy), (1, 4.5 + dy)], fill=fill, outline=p.NAVY, width=0.8)


def arrow(sk, x, y, s, up, colour):
    g = Grid(sk, x, y, s)
    if up:
        g.poly([(8, 1), (14.5, 8), (10.5, 8), (10.5, 15), (5.5, 15), (5.5, 8), (1.5, 8)], fill=colour,
               outline=p.INK, width=0.7)
    else:
        g.poly([(8, 15), (14.5, 8), (10.5, 8), (10.5, 1), (5.5, 1), (5.5, 8), (1.5, 8)], fill=colour,
               outline=p.INK, width=0.7)


def restore_arrow(sk, x, y, s, colour=p.GREEN):
    """A circular arrow: the mark of recovery."""
    g = Grid(sk, x, y, s)
    g.arc(2, 2, 14, 14, 150, 440, colour, 2.4)
    tip = g.pt(2.2, 6.5)
    u = s / 16.0
    sk.polygon([(tip[0] - 2.6 * u, tip[1] - 1.2 * u), (tip[0] + 3.4 * u, tip[1] - 1.8 * u),
                (tip[0] + 0.2 * u, tip[1] + 3.8 * u)], colour)


def emblem(sk, x, y, s):
    """The product's mark: a platter held by the recovery arrow."""
    g = Grid(sk, x, y, s)
    g.ellipse(2.2, 2.2, 13.8, 13.8, fill=p.NAVY_LIGHT, outline=p.NAVY, width=0.8)
    g.ellipse(4.2, 4.2, 11.8, 11.8, fill=p.BLUE)
    g.arc(4.6, 4.6, 11.4, 11.4, 200, 270, p.BLUE_LIGHT, 0.9)
    g.ellipse(6.6, 6.6, 9.4, 9.4, fill=p.CLOUD, outline=p.NAVY, width=0.6)
    g.line([(8, 8), (12.4, 5.2)], p.AMBER_LIGHT, 0.9)
    g.arc(0.6, 0.6, 15.4, 15.4, 215, 500, p.AMBER, 1.5)
    tip = g.pt(1.6, 5.0)
    u = s / 16.0
    sk.polygon([(tip[0] - 1.8 * u, tip[1] + 0.2 * u), (tip[0] + 2.6 * u, tip[1] - 1.6 * u),
                (tip[0] + 0.9 * u, tip[1] + 3.0 * u)], p.AMBER)


def clock(sk, x, y, s):
    g = Grid(sk, x, y, s)
    g.ellipse(1.5, 1.5, 14.5, 14.5, fill=p.WHITE, outline=p.NAVY, width=1.2)
    g.line([(8, 4), (8, 8), (11, 9.5)], p.NAVY, 1.2)


def badge_star(sk, x, y, s):
    g = Grid(sk, x, y, s)
    pts = []
    for i in range(10):
        angle = -math.pi / 2 + math.pi * i / 5
        r = 3.4 if i % 2 == 0 else 1.5
        pts.append((12 + r * math.cos(angle), 12 + r * math.sin(angle)))
    g.poly(pts, fill=p.AMBER, outline=(150, 96, 22), width=0.5)


def badge_pencil(sk, x, y, s):
    g = Grid(sk, x, y, s)
    g.poly([(14.8, 9.2), (15.8, 10.2), (10.2, 15.8), (8.6, 16), (8.8, 14.4)], fill=p.AMBER, outline=p.INK, width=0.5)


def tag(sk, x, y, s):
    g = Grid(sk, x, y, s)
    g.poly([(1.5, 2.5), (8, 2.5), (15, 9.5), (9.5, 15), (1.5, 8.5)], fill=p.AMBER_LIGHT, outline=(150, 96, 22), width=1)
    g.ellipse(4, 5, 6.4, 7.4, fill=p.WHITE, outline=(150, 96, 22), width=0.7)


def scale_bars(sk, x, y, s):
    g = Grid(sk, x, y, s)
    for i, h in enumerate((5, 9, 13)):
        g.rect(1.5 + i * 4.8, 15 - h, 5 + i * 4.8, 15, fill=(p.BLUE_LIGHT, p.BLUE_MID, p.BLUE)[i], outline=p.NAVY, width=0.7)


def hash_mark(sk, x, y, s):
    g = Grid(sk, x, y, s)
    for a in (6, 10.5):
        g.line([(a, 2), (a - 1.5, 14)], p.NAVY, 1.4)
    for b in (6, 10.5):
        g.line([(2, b), (14.5, b)], p.NAVY, 1.4)


def checkbox(sk, x, y, s, state):
    """state: 0 empty, 1 checked, 2 partly checked."""
    g = Grid(sk, x, y, s)
    g.rect(1.5, 1.5, 14.5, 14.5, fill=(250, 250, 250), outline=p.SLATE, width=1.1, radius=1.5)
    if state == 1:
        g.line([(4.3, 8.2), (7, 11), (12, 4.8)], p.BLUE, 2.1)
    elif state == 2:
        g.rect(4.5, 4.5, 11.5, 11.5, fill=p.BLUE_LIGHT, outline=p.BLUE, width=0.8, radius=0.8)


def house(sk, x, y, s, colour=p.WHITE):
    g = Grid(sk, x, y, s)
    g.poly([(8, 1.5), (15, 8), (13, 8), (13, 14.5), (3, 14.5), (3, 8), (1, 8)], fill=colour)
    g.rect(6.5, 9.5, 9.5, 14.5, fill=p.NAVY_LIGHT)


def chevron(sk, x, y, s, right, colour, width=2.2):
    g = Grid(sk, x, y, s)
    pts = [(5, 2), (11, 8), (5, 14)] if right else [(11, 2), (5, 8), (11, 14)]
    g.line(pts, colour, width)


def lightning(sk, x, y, s):
    g = Grid(sk, x, y, s)
    g.poly([(9.5, 0.5), (3, 9), (7.5, 9), (6, 15.5), (13, 6.5), (8.5, 6.5)], fill=p.AMBER, outline=(150, 96, 22), width=0.6)


def sector_grid(sk, x, y, s):
    g = Grid(sk, x, y, s)
    g.rect(1, 1, 15, 15, fill=p.WHITE, outline=p.NAVY, width=1, radius=1)
    for i in range(4):
        for j in range(4):
            hit = (i + 2 * j) % 5 == 0
            g.rect(2.5 + i * 3.2, 2.5 + j * 3.2, 4.9 + i * 3.2, 4.9 + j * 3.2,
                   fill=p.AMBER if hit else p.BLUE_LIGHT)


def signature(sk, x, y, s):
    """A file's signature bytes under the lens."""
    g = Grid(sk, x, y, s)
    document(sk, x, y, s, lines=False)
    for row, widths in ((5.5, (2, 2, 2)), (8, (2, 2)), (10.5, (2, 2, 2))):
        for k, wdt in enumerate(widths):
            g.rect(4.6 + k * 2.8, row, 4.6 + k * 2.8 + wdt, row + 1.4, fill=p.BLUE_MID)
