"""The customize drag's cursors: the drag pointer carrying a small toolbar button instead of a sheet, with
a plus for a copy and a red no-entry sign where nothing takes the button; and the strip of predefined
button images that the customize menu offers."""

import math

import canvas
import palette as p
import toolkit


def _button(sk):
    sk.rect([11, 17, 25, 27], fill=p.TOOLBAR_FACE, outline=p.NAVY, width=1, radius=1.5)
    sk.rect([14, 20, 19, 24], fill=p.BLUE_MID, outline=None)


def build(out):
    canvas.save_cur(toolkit._drag("copy", _button).result(), (1, 1), out("tk_customize_copy.cur"))
    canvas.save_cur(toolkit._drag("move", _button).result(), (1, 1), out("tk_customize_move.cur"))
    canvas.save_cur(toolkit._drag("none", _button).result(), (1, 1), out("tk_customize_nodrop.cur"))
    _predefined_images(out)


# ---- the predefined button images that "Change Button Image" offers --------------------------------------
# Twenty-five 16 x 16 pictures (a square grid of five by five) in the program's ink and accents, one strip
# on the toolbar face colour, which the customize dialog masks out.

def _heart(sk, x):
    sk.ellipse([x + 1.5, 2.5, x + 8.5, 9.5], fill=p.RED)
    sk.ellipse([x + 7.5, 2.5, x + 14.5, 9.5], fill=p.RED)
    sk.polygon([(x + 2, 7.5), (x + 14, 7.5), (x + 8, 14.5)], fill=p.RED)


def _star(sk, x):
    pts = []
    for i in range(10):
        r = 7 if i % 2 == 0 else 3
        a = math.pi * (-0.5 + i / 5)
        pts.append((x + 8 + r * math.cos(a), 8.5 + r * math.sin(a)))
    sk.polygon(pts, fill=p.AMBER_LIGHT, outline=p.NAVY, width=0.9)


def _smiley(sk, x):
    sk.ellipse([x + 1.5, 1.5, x + 14.5, 14.5], fill=p.AMBER_LIGHT, outline=p.NAVY, width=1)
    sk.ellipse([x + 5, 5, x + 6.8, 7], fill=p.NAVY)
    sk.ellipse([x + 9.2, 5, x + 11, 7], fill=p.NAVY)
    sk.arc([x + 4.5, 5, x + 11.5, 11.5], 20, 160, p.NAVY, 1.1)


def _arrow_right(sk, x):
    sk.polygon([(x + 2, 5.5), (x + 8, 5.5), (x + 8, 2), (x + 14.5, 8), (x + 8, 14), (x + 8, 10.5), (x + 2, 10.5)],
               fill=p.GREEN, outline=p.NAVY, width=0.9)


def _arrow_up(sk, x):
    sk.polygon([(x + 5.5, 14), (x + 5.5, 8), (x + 2, 8), (x + 8, 1.5), (x + 14, 8), (x + 10.5, 8), (x + 10.5, 14)],
               fill=p.BLUE_MID, outline=p.NAVY, width=0.9)


def _circle(sk, x):
    sk.ellipse([x + 2, 2, x + 14, 14], fill=p.BLUE_MID, outline=p.NAVY, width=1)


def _square(sk, x):
    sk.rect([x + 2.5, 2.5, x + 13.5, 13.5], fill=p.AMBER, outline=p.NAVY, width=1)


def _triangle(sk, x):
    sk.polygon([(x + 8, 2), (x + 14.5, 14), (x + 1.5, 14)], fill=p.GREEN, outline=p.NAVY, width=1)


def _diamond(sk, x):
    sk.polygon([(x + 8, 1.5), (x + 14.5, 8), (x + 8, 14.5), (x + 1.5, 8)], fill=p.RED, outline=p.NAVY, width=1)


def _flag(sk, x):
    sk.line([(x + 3.5, 1.5), (x + 3.5, 15)], p.NAVY, 1.3)
    sk.polygon([(x + 4, 2), (x + 14, 2), (x + 11.5, 5.5), (x + 14, 9), (x + 4, 9)], fill=p.RED, outline=p.NAVY,
               width=0.8)


def _bell(sk, x):
    sk.polygon([(x + 8, 1.5), (x + 11.5, 4), (x + 12, 10), (x + 14, 12), (x + 2, 12), (x + 4, 10), (x + 4.5, 4)],
               fill=p.AMBER_LIGHT, outline=p.NAVY, width=0.9)
    sk.ellipse([x + 6.5, 12, x + 9.5, 15], fill=p.NAVY)


def _check(sk, x):
    sk.line([(x + 2, 8.5), (x + 6, 12.5), (x + 14, 3.5)], p.GREEN, 2.6)


def _cross(sk, x):
    sk.line([(x + 3, 3), (x + 13, 13)], p.RED, 2.6)
    sk.line([(x + 13, 3), (x + 3, 13)], p.RED, 2.6)


def _key(sk, x):
    sk.ellipse([x + 1.5, 4, x + 8, 10.5], fill=p.AMBER, outline=p.NAVY, width=1)
    sk.ellipse([x + 3.6, 6.1, x + 5.9, 8.4], fill=p.TOOLBAR_FACE)
    sk.line([(x + 8, 7.25), (x + 14.5, 7.25)], p.NAVY, 1.6)
    sk.line([(x + 12, 7.25), (x + 12, 10.5)], p.NAVY, 1.4)
    sk.line([(x + 14, 7.25), (x + 14, 10)], p.NAVY, 1.4)


def _lock(sk, x):
    sk.arc([x + 4, 1.5, x + 12, 10], 180, 360, p.SLATE, 1.8)
    sk.line([(x + 4.9, 6), (x + 4.9, 8)], p.SLATE, 1.8)
    sk.line([(x + 11.1, 6), (x + 11.1, 8)], p.SLATE, 1.8)
    sk.rect([x + 2.5, 7.5, x + 13.5, 14.5], fill=p.AMBER, outline=p.NAVY, width=1)
    sk.rect([x + 7.3, 9.5, x + 8.7, 12.5], fill=p.NAVY)


def _bulb(sk, x):
    sk.ellipse([x + 3, 1, x + 13, 11], fill=p.AMBER_LIGHT, outline=p.NAVY, width=1)
    sk.rect([x + 5.5, 10, x + 10.5, 14.5], fill=p.SILVER, outline=p.NAVY, width=0.9)
    sk.line([(x + 5.5, 12.3), (x + 10.5, 12.3)], p.NAVY, 0.8)


def _note(sk, x):
    sk.ellipse([x + 2, 10, x + 7, 14.5], fill=p.NAVY)
    sk.ellipse([x + 9, 8.5, x + 14, 13], fill=p.NAVY)
    sk.line([(x + 6.4, 12), (x + 6.4, 2.5)], p.NAVY, 1.3)
    sk.line([(x + 13.4, 10.5), (x + 13.4, 1.5)], p.NAVY, 1.3)
    sk.polygon([(x + 5.8, 2), (x + 14, 0.8), (x + 14, 3.8), (x + 5.8, 5)], fill=p.NAVY)


def _clock(sk, x):
    sk.ellipse([x + 1.5, 1.5, x + 14.5, 14.5], fill=p.WHITE, outline=p.NAVY, width=1.2)
    sk.line([(x + 8, 8), (x + 8, 3.5)], p.NAVY, 1.3)
    sk.line([(x + 8, 8), (x + 11.5, 10)], p.RED, 1.3)


def _sun(sk, x):
    for i in range(8):
        a = math.pi * i / 4
        c, s = math.cos(a), math.sin(a)
        sk.line([(x + 8 + 4.8 * c, 8 + 4.8 * s), (x + 8 + 7 * c, 8 + 7 * s)], p.AMBER, 1.3)
    sk.ellipse([x + 4.5, 4.5, x + 11.5, 11.5], fill=p.AMBER_LIGHT, outline=p.AMBER, width=1)


def _moon(sk, x):
    # A crescent: the outer circle's arc round the left, back along a smaller circle's arc.
    def arc(cx, cy, r, angles):
        return [(x + cx + r * math.cos(math.radians(a)), cy + r * math.sin(math.radians(a))) for a in angles]
    outer = arc(8, 8, 6.5, range(-70, -300, -10))
    inner = arc(12, 7, 6, range(100, 260, 10))
    sk.polygon(outer + inner, fill=p.AMBER_LIGHT, outline=p.NAVY, width=1)


def _cloud(sk, x):
    sk.ellipse([x + 1, 6.5, x + 7.5, 13], fill=p.SKY, outline=p.NAVY_LIGHT, width=1)
    sk.ellipse([x + 4.5, 3, x + 12, 10.5], fill=p.SKY, outline=p.NAVY_LIGHT, width=1)
    sk.ellipse([x + 8.5, 6.5, x + 15, 13], fill=p.SKY, outline=p.NAVY_LIGHT, width=1)
    sk.rect([x + 4, 8.5, x + 12, 12.3], fill=p.SKY)


def _lightning(sk, x):
    sk.polygon([(x + 9.5, 1), (x + 3, 9), (x + 7.5, 9), (x + 5.5, 15), (x + 13, 6.5), (x + 8.5, 6.5), (x + 11, 1)],
               fill=p.AMBER_LIGHT, outline=p.NAVY, width=0.9)


def _drop(sk, x):
    sk.polygon([(x + 8, 1), (x + 12.5, 8), (x + 3.5, 8)], fill=p.BLUE_MID)
    sk.ellipse([x + 3.5, 5.5, x + 12.5, 14.5], fill=p.BLUE_MID, outline=None)
    sk.ellipse([x + 5.5, 8.5, x + 7.5, 11], fill=p.SKY)


def _leaf(sk, x):
    sk.ellipse([x + 2, 2.5, x + 14, 12.5], fill=p.GREEN, outline=p.NAVY, width=0.8)
    sk.line([(x + 1.5, 14.5), (x + 12, 4.5)], p.NAVY, 1)


def _house(sk, x):
    sk.rect([x + 3.5, 7.5, x + 12.5, 14.5], fill=p.PAPER, outline=p.NAVY, width=1)
    sk.polygon([(x + 1, 8.5), (x + 8, 1.5), (x + 15, 8.5)], fill=p.RED, outline=p.NAVY, width=1)
    sk.rect([x + 6.8, 10.5, x + 9.2, 14.5], fill=p.NAVY_LIGHT)


def _envelope(sk, x):
    sk.rect([x + 1.5, 3.5, x + 14.5, 12.5], fill=p.WHITE, outline=p.NAVY, width=1)
    sk.line([(x + 1.8, 3.8), (x + 8, 9), (x + 14.2, 3.8)], p.NAVY, 1)


PREDEFINED = [_heart, _star, _smiley, _arrow_right, _arrow_up, _circle, _square, _triangle, _diamond, _flag,
              _bell, _check, _cross, _key, _lock, _bulb, _note, _clock, _sun, _moon, _cloud, _lightning, _drop,
              _leaf, _house]


def _predefined_images(out):
    canvas.save_bmp(toolkit._strip(PREDEFINED, p.TOOLBAR_FACE, 16), out("tk_customize_images.bmp"))
