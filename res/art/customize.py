"""The customize drag's cursors: the drag pointer carrying a small toolbar button instead of a sheet, with
a plus for a copy and a red no-entry sign where nothing takes the button."""

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
