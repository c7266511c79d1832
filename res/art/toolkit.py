"""The toolkit's pictures: its cursors (splitter bars, dragging, the hand), the caption's push pin and
close images, the image strips of the edit and header context menus, and the task panel's expand
buttons. Navy ink on white, like the program's own pointers and glyphs; strips are 16 x 15 images on a
mask colour."""

from PIL import Image, ImageDraw

import canvas
import cursors
import palette as p

MAGENTA = (255, 0, 255)  # the caption images' transparent colour


def _cursor_base():
    return canvas.Sketch(32, 32)


def _double_arrow(sk, horizontal):
    """A splitter cursor: two bars with arrows pointing away from them."""
    if horizontal:
        sk.rect([14, 6, 15.5, 26], fill=p.WHITE, outline=p.NAVY, width=1)
        sk.rect([17, 6, 18.5, 26], fill=p.WHITE, outline=p.NAVY, width=1)
        sk.polygon([(3, 16), (10, 10), (10, 14), (13, 14), (13, 18), (10, 18), (10, 22)], fill=p.WHITE,
                   outline=p.NAVY, width=1.1)
        sk.polygon([(30, 16), (23, 10), (23, 14), (20, 14), (20, 18), (23, 18), (23, 22)], fill=p.WHITE,
                   outline=p.NAVY, width=1.1)
    else:
        sk.rect([6, 14, 26, 15.5], fill=p.WHITE, outline=p.NAVY, width=1)
        sk.rect([6, 17, 26, 18.5], fill=p.WHITE, outline=p.NAVY, width=1)
        sk.polygon([(16, 3), (10, 10), (14, 10), (14, 13), (18, 13), (18, 10), (22, 10)], fill=p.WHITE,
                   outline=p.NAVY, width=1.1)
        sk.polygon([(16, 30), (10, 23), (14, 23), (14, 20), (18, 20), (18, 23), (22, 23)], fill=p.WHITE,
                   outline=p.NAVY, width=1.1)
    return sk


ARROW = [(1, 1), (1, 19), (5.5, 15), (8.5, 22), (11.5, 20.5), (8.5, 14), (14, 14)]


def _drag(mark, carry=None):
    """The arrow pointer with a dragged sheet (or what carry draws) below it, and a mark on it."""
    sk = _cursor_base()
    if carry:
        carry(sk)
    else:
        sk.rect([12, 18, 26, 28], fill=p.WHITE, outline=p.NAVY, width=1, radius=1)
    sk.polygon(ARROW, fill=p.WHITE, outline=p.NAVY, width=1.1)
    if mark == "copy":
        sk.rect([19, 21.5, 29, 31], fill=p.WHITE, outline=p.NAVY, width=1)
        sk.line([(21, 26.3), (27, 26.3)], p.NAVY, 1.6)
        sk.line([(24, 23.3), (24, 29.3)], p.NAVY, 1.6)
    elif mark == "none":
        sk.ellipse([17, 19, 30, 32], fill=None, outline=p.RED, width=2)
        sk.line([(19, 30), (28, 21)], p.RED, 2)
    return sk


def _pin(sk, x, pinned):
    """A push pin: upright when pinned (the window stays open), lying when not."""
    if pinned:
        sk.rect([x + 5, 2, x + 11, 8], fill=p.BLUE_LIGHT, outline=p.NAVY, width=1)
        sk.line([(x + 3.5, 8.5), (x + 12.5, 8.5)], p.NAVY, 1.2)
        sk.line([(x + 8, 9), (x + 8, 14)], p.NAVY, 1.2)
    else:
        sk.rect([x + 6, 4.5, x + 12, 10.5], fill=p.BLUE_LIGHT, outline=p.NAVY, width=1)
        sk.line([(x + 5.5, 3), (x + 5.5, 12)], p.NAVY, 1.2)
        sk.line([(x + 1, 7.5), (x + 5, 7.5)], p.NAVY, 1.2)


def _close(sk, x):
    sk.line([(x + 4, 3.5), (x + 12, 11.5)], p.NAVY, 1.8)
    sk.line([(x + 12, 3.5), (x + 4, 11.5)], p.NAVY, 1.8)


def _window(sk, x, y, w, h):
    """A small window outline with its title bar."""
    sk.rect([x, y, x + w, y + h], fill=p.WHITE, outline=p.NAVY, width=1)
    sk.rect([x, y, x + w, y + 2], fill=p.NAVY)


def _restore(sk, x):
    _window(sk, x + 5, 2, 8, 7)
    _window(sk, x + 2, 6, 8, 7)


def _minimize(sk, x):
    sk.rect([x + 3, 11, x + 10, 13], fill=p.NAVY)


def _maximize(sk, x):
    _window(sk, x + 2, 2, 12, 11)


def _strip(images, mask, height=15):
    """16-wide images side by side on the mask colour (an image of None leaves its place empty)."""
    sk = canvas.Sketch(16 * len(images), height)
    for i, draw in enumerate(images):
        if draw is not None:
            draw(sk, 16 * i)
    strip = Image.new("RGB", (16 * len(images), height), mask)
    layer = sk.result()
    # Hard edges: a half-covered pixel is either ink or mask, so that nothing of the mask colour bleeds.
    alpha = layer.getchannel("A").point(lambda v: 255 if v >= 110 else 0)
    strip.paste(layer.convert("RGB"), (0, 0), alpha)
    return strip


def _undo(sk, x):
    sk.arc([x + 3, 3, x + 14, 13], 180, 450, p.BLUE, 1.8)
    sk.polygon([(x + 0.5, 8), (x + 6, 8), (x + 3, 12.5)], fill=p.BLUE)


def _cut(sk, x):
    sk.ellipse([x + 2, 9, x + 7, 14], outline=p.NAVY, width=1.3)
    sk.ellipse([x + 9, 9, x + 14, 14], outline=p.NAVY, width=1.3)
    sk.line([(x + 6, 10), (x + 11.5, 1)], p.SLATE, 1.3)
    sk.line([(x + 10, 10), (x + 4.5, 1)], p.SLATE, 1.3)


def _sheet(sk, x, y, w, h):
    sk.rect([x, y, x + w, y + h], fill=p.WHITE, outline=p.NAVY, width=1)
    for i in range(2, int(h) - 1, 3):
        sk.line([(x + 2, y + i), (x + w - 2, y + i)], p.BLUE_LIGHT, 1)


def _copy(sk, x):
    _sheet(sk, x + 1, 1, 9, 10)
    _sheet(sk, x + 6, 4, 9, 10)


def _paste(sk, x):
    sk.rect([x + 1.5, 2, x + 11.5, 14], fill=p.AMBER_LIGHT, outline=p.NAVY, width=1, radius=1)
    sk.rect([x + 4, 0.5, x + 9, 3.5], fill=p.SILVER, outline=p.NAVY, width=1)
    _sheet(sk, x + 7, 6, 8, 8.5)


def _delete(sk, x):
    sk.line([(x + 3, 3), (x + 13, 13)], p.RED, 2.2)
    sk.line([(x + 13, 3), (x + 3, 13)], p.RED, 2.2)


def _sort(sk, x, ascending):
    heights = (4, 7, 10) if ascending else (10, 7, 4)
    for i, h in enumerate(heights):
        sk.rect([x + 1 + 3.5 * i, 13 - h, x + 3.5 + 3.5 * i, 13], fill=p.BLUE_MID, outline=p.NAVY, width=0.8)
    if ascending:
        sk.polygon([(x + 12.5, 1), (x + 15.5, 5.5), (x + 9.5, 5.5)], fill=p.GREEN)
    else:
        sk.polygon([(x + 12.5, 13.5), (x + 15.5, 9), (x + 9.5, 9)], fill=p.GREEN)


def _align(sk, x, where):
    for i, w in enumerate((12, 8, 12, 6)):
        left = {"left": 2, "center": 8 - w / 2, "right": 14 - w}[where]
        sk.line([(x + left, 2.5 + 3 * i), (x + left + w, 2.5 + 3 * i)], p.NAVY, 1.4)


def _expand_button(special):
    """The task panel's expand button, 19 x 19 on white: a ring that the panel recolours to its caption
    colour and draws its chevrons inside; the white inside is transparent, so the caption shows through.
    Drawn without smoothing: a smoothed edge would recolour into a ragged dark fringe. The special groups'
    ring is the bolder one."""
    image = Image.new("RGB", (19, 19), p.WHITE)
    ImageDraw.Draw(image).ellipse([1, 1, 17, 17], outline=p.BLUE_MID, width=2 if special else 1)
    return image


def build(out):
    canvas.save_cur(_double_arrow(_cursor_base(), True).result(), (16, 16), out("tk_split_horz.cur"))
    canvas.save_cur(_double_arrow(_cursor_base(), False).result(), (16, 16), out("tk_split_vert.cur"))
    canvas.save_cur(_drag("move").result(), (1, 1), out("tk_drag_move.cur"))
    canvas.save_cur(_drag("copy").result(), (1, 1), out("tk_drag_copy.cur"))
    canvas.save_cur(_drag("none").result(), (1, 1), out("tk_drag_none.cur"))
    canvas.save_cur(cursors._hand(cursors.HAND, ()).result(), (10, 1), out("tk_hand.cur"))

    caption = _strip([lambda sk, x: _pin(sk, x, True), lambda sk, x: _pin(sk, x, False), _close], MAGENTA)
    canvas.save_bmp(caption, out("tk_caption_buttons.bmp"))
    # The system commands of a maximized document's menu: restore, minimize, maximize, close.
    canvas.save_bmp(_strip([_restore, _minimize, _maximize, _close], MAGENTA, 16), out("tk_system_commands.bmp"))
    canvas.save_bmp(_strip([_undo, _cut, _copy, _paste, _delete], p.TOOLBAR_FACE), out("tk_edit_menu.bmp"))
    header = _strip([lambda sk, x: _sort(sk, x, True), lambda sk, x: _sort(sk, x, False),
                     lambda sk, x: _align(sk, x, "left"), lambda sk, x: _align(sk, x, "center"),
                     lambda sk, x: _align(sk, x, "right")], p.TOOLBAR_FACE)
    canvas.save_bmp(header, out("tk_header_menu.bmp"))
    canvas.save_bmp(_expand_button(False), out("tk_expand.bmp"))
    canvas.save_bmp(_expand_button(True), out("tk_expand_special.bmp"))
