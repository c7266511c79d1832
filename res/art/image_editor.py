"""The button image editor's pictures: the Tools and Move toolbar strips (sixteen 16 x 16 images, as a
32-bit strip with alpha and as a strip on the toolbar face colour) and the cursors of its tools (pencil,
paint bucket, colour picker, cross hair). Navy ink, like the toolkit's other pictures."""

import struct

from PIL import Image

import canvas
import palette as p
from toolkit import _copy, _paste

TOOLBAR_FACE = p.TOOLBAR_FACE


def _pencil(sk, x, y=0, scale=1.0):
    s = scale
    sk.polygon([(x + 3 * s, y + 13 * s), (x + 11 * s, y + 2 * s), (x + 14 * s, y + 5 * s), (x + 6 * s, y + 15 * s),
                (x + 2 * s, y + 15.5 * s)], fill=p.AMBER_LIGHT, outline=p.NAVY, width=1 * s)
    sk.line([(x + 10 * s, y + 3.5 * s), (x + 13 * s, y + 6.5 * s)], p.NAVY, 1 * s)
    sk.polygon([(x + 2 * s, y + 15.5 * s), (x + 2.6 * s, y + 12.8 * s), (x + 5 * s, y + 15 * s)], fill=p.NAVY)


def _bucket(sk, x, y=0, scale=1.0):
    s = scale
    sk.polygon([(x + 2 * s, y + 7 * s), (x + 8 * s, y + 1 * s), (x + 14 * s, y + 7 * s), (x + 8 * s, y + 13 * s)],
               fill=p.WHITE, outline=p.NAVY, width=1 * s)
    sk.polygon([(x + 2 * s, y + 7 * s), (x + 14 * s, y + 7 * s), (x + 8 * s, y + 13 * s)], fill=p.BLUE_MID)
    sk.ellipse([x + 12.5 * s, y + 9 * s, x + 15.5 * s, y + 14 * s], fill=p.BLUE, outline=None)


def _undo(sk, x, redo=False):
    if redo:
        sk.arc([x + 2, 3, x + 13, 13], 90, 360, p.BLUE, 1.8)
        sk.polygon([(x + 15.5, 8), (x + 10, 8), (x + 13, 12.5)], fill=p.BLUE)
    else:
        sk.arc([x + 3, 3, x + 14, 13], 180, 450, p.BLUE, 1.8)
        sk.polygon([(x + 0.5, 8), (x + 6, 8), (x + 3, 12.5)], fill=p.BLUE)


def _picker(sk, x, y=0, scale=1.0):
    s = scale
    sk.line([(x + 3 * s, y + 13 * s), (x + 10 * s, y + 6 * s)], p.NAVY, 2.2 * s)
    sk.line([(x + 3 * s, y + 13 * s), (x + 10 * s, y + 6 * s)], p.SKY, 0.9 * s)
    sk.ellipse([x + 9 * s, y + 1 * s, x + 15 * s, y + 7 * s], fill=p.NAVY)
    sk.line([(x + 7.5 * s, y + 4.5 * s), (x + 11.5 * s, y + 8.5 * s)], p.NAVY, 1.6 * s)
    sk.line([(x + 1.5 * s, y + 14.5 * s), (x + 3 * s, y + 13 * s)], p.NAVY, 1.2 * s)


def _line(sk, x):
    sk.line([(x + 2, 14), (x + 14, 2)], p.NAVY, 1.6)


def _rectangle(sk, x):
    sk.rect([x + 1.5, 3.5, x + 14.5, 12.5], outline=p.NAVY, width=1.4)


def _ellipse(sk, x):
    sk.ellipse([x + 1, 3, x + 15, 13], outline=p.NAVY, width=1.4)


def _clear(sk, x):
    sk.rect([x + 1.5, 1.5, x + 14.5, 14.5], fill=p.WHITE, outline=p.SLATE, width=1)
    sk.line([(x + 4, 4), (x + 12, 12)], p.RED, 2)
    sk.line([(x + 12, 4), (x + 4, 12)], p.RED, 2)


def _import(sk, x):
    sk.polygon([(x + 1, 4), (x + 6, 4), (x + 7.5, 5.5), (x + 14, 5.5), (x + 14, 14), (x + 1, 14)],
               fill=p.AMBER_LIGHT, outline=p.NAVY, width=1)
    sk.polygon([(x + 8, 1), (x + 12, 1), (x + 12, 4), (x + 14.5, 4), (x + 10, 9), (x + 5.5, 4), (x + 8, 4)],
               fill=p.GREEN, outline=p.NAVY, width=0.8)


def _arrow(sk, x, direction):
    points = {"left": [(2, 8), (8, 2), (8, 5.5), (14, 5.5), (14, 10.5), (8, 10.5), (8, 14)],
              "right": [(14, 8), (8, 2), (8, 5.5), (2, 5.5), (2, 10.5), (8, 10.5), (8, 14)],
              "up": [(8, 2), (2, 8), (5.5, 8), (5.5, 14), (10.5, 14), (10.5, 8), (14, 8)],
              "down": [(8, 14), (2, 8), (5.5, 8), (5.5, 2), (10.5, 2), (10.5, 8), (14, 8)]}[direction]
    sk.polygon([(x + px, py) for px, py in points], fill=p.BLUE_MID, outline=p.NAVY, width=1)


# In the order of the strip: the Tools commands 9363 to 9374, then the Move commands 9354 to 9357.
IMAGES = [
    lambda sk, x: _pencil(sk, x), lambda sk, x: _bucket(sk, x), lambda sk, x: _picker(sk, x), _line, _rectangle,
    _ellipse, _copy, _paste, _clear, lambda sk, x: _undo(sk, x), lambda sk, x: _undo(sk, x, True), _import,
    lambda sk, x: _arrow(sk, x, "left"), lambda sk, x: _arrow(sk, x, "down"), lambda sk, x: _arrow(sk, x, "up"),
    lambda sk, x: _arrow(sk, x, "right"),
]


def _save_bmp32(image, path):
    """A 32-bit bottom-up bitmap that keeps the alpha (PIL writes 24 bits)."""
    w, h = image.size
    px = image.load()
    rows = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b, a = px[x, y]
            rows += bytes((b, g, r, a))
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 32, 0, len(rows), 0, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 14 + len(header) + len(rows), 0, 0, 54) + header + bytes(rows))


def _cross(sk):
    for a, b in (((15.5, 2), (15.5, 12)), ((15.5, 19), (15.5, 29)), ((2, 15.5), (12, 15.5)), ((19, 15.5), (29, 15.5))):
        sk.line([a, b], p.WHITE, 3)
        sk.line([a, b], p.NAVY, 1)


def build(out):
    sk = canvas.Sketch(16 * len(IMAGES), 16)
    for i, draw in enumerate(IMAGES):
        draw(sk, 16 * i)
    layer = sk.result()
    _save_bmp32(layer, out("tk_image_editor_tools32.bmp"))
    strip = Image.new("RGB", layer.size, TOOLBAR_FACE)
    strip.paste(layer.convert("RGB"), (0, 0), layer.getchannel("A").point(lambda v: 255 if v >= 110 else 0))
    canvas.save_bmp(strip, out("tk_image_editor_tools.bmp"))

    def cursor(draw, hotspot, name):
        c = canvas.Sketch(32, 32)
        draw(c)
        canvas.save_cur(c.result(), hotspot, out(name))

    cursor(_cross, (15, 15), "tk_image_editor_shape.cur")
    cursor(lambda c: _picker(c, 0, 0, 1.6), (2, 24), "tk_image_editor_pick.cur")
    cursor(lambda c: _bucket(c, 0, 0, 1.6), (24, 18), "tk_image_editor_fill.cur")
    cursor(lambda c: _pencil(c, 0, 0, 1.6), (3, 25), "tk_image_editor_pencil.cur")
