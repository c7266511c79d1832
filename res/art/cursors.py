"""Cursors, 32 x 32: the hand over items, the closed hand on a click, and the hands over an expand button
and over a check box. White with a navy outline, like the system's own pointers."""

import canvas
import glyphs
import palette as p

HAND = [(9, 1), (11, 1), (12, 2), (12, 9), (18, 10), (22, 11), (23, 13), (23, 19), (21, 24), (12, 24),
        (9, 20), (4, 14), (4, 12), (6, 12), (9, 15), (8, 2)]
FIST = [(7, 11), (8, 8), (10, 7), (12, 8), (13, 7), (15, 7), (16, 8), (17, 7), (19, 7), (20, 8), (21, 8),
        (23, 10), (23, 19), (21, 24), (12, 24), (8, 20), (6, 15)]


def _hand(points, knuckles):
    sk = canvas.Sketch(32, 32)
    sk.polygon(points, fill=p.WHITE, outline=p.NAVY, width=1.3)
    for x in knuckles:
        sk.line([(x, 8), (x, 12)], p.NAVY, 1)
    return sk


def build(out):
    canvas.save_cur(_hand(HAND, ()).result(), (10, 1), out("hand.cur"))
    canvas.save_cur(_hand(FIST, (12.5, 16.5, 20)).result(), (14, 10), out("pressed_hand.cur"))
    expand = _hand(HAND, ())
    expand.rect([17, 17, 31, 31], fill=p.WHITE, outline=p.NAVY, width=1.2, radius=2)
    expand.line([(20, 24), (28, 24)], p.NAVY, 1.6)
    expand.line([(24, 20), (24, 28)], p.NAVY, 1.6)
    canvas.save_cur(expand.result(), (10, 1), out("expand.cur"))
    check = _hand(HAND, ())
    glyphs.checkbox(check, 16, 16, 16, 1)
    canvas.save_cur(check.result(), (10, 1), out("check_box.cur"))
