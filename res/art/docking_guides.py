"""The docking guides shown while a pane is dragged: arrow buttons that dock it at a side, a centre
button that joins it to a group as a tab, and the background that holds the cross of arrows together.
Each strip lays its pieces out at fixed places (the drag code knows them) on pure green, the guides'
transparent colour. Navy outlines, a light face, the arrow in the accent of the colour scheme; a
highlighted piece takes the amber face."""

from PIL import Image

import canvas
import palette as p

GREEN_KEY = (0, 255, 0)

# Accent per colour scheme: blue, olive, silver.
ACCENTS = {"blue": p.BLUE, "olive": (86, 118, 70), "silver": p.SLATE}


def _hard(layer):
    """Ink or key, nothing between: a half-covered pixel must not turn greenish."""
    return layer.getchannel("A").point(lambda v: 255 if v >= 110 else 0)


def _place(strip, sketch, box):
    layer = sketch.result()
    strip.paste(layer.convert("RGB"), (box[0], box[1]), _hard(layer))


def _arrow_button(w, h, side, lit, accent):
    """A square button with a window edge on one side and an arrow pointing at it."""
    sk = canvas.Sketch(w, h)
    face = p.AMBER_LIGHT if lit else p.CLOUD
    sk.rect([0.5, 0.5, w - 1.5, h - 1.5], fill=face, outline=p.NAVY, width=1, radius=3)
    cx, cy = (w - 1) / 2, (h - 1) / 2
    inner = [4, 4, w - 5, h - 5]
    bar = {"top": [inner[0], inner[1], inner[2], inner[1] + 3],
           "bottom": [inner[0], inner[3] - 3, inner[2], inner[3]],
           "left": [inner[0], inner[1], inner[0] + 3, inner[3]],
           "right": [inner[2] - 3, inner[1], inner[2], inner[3]]}[side]
    sk.rect(bar, fill=accent)
    r = min(w, h) / 4.2
    tip = {"top": (cx, inner[1] + 5), "bottom": (cx, inner[3] - 5),
           "left": (inner[0] + 5, cy), "right": (inner[2] - 5, cy)}[side]
    if side in ("top", "bottom"):
        d = 1 if side == "top" else -1
        pts = [tip, (cx - r, tip[1] + d * r), (cx + r, tip[1] + d * r)]
    else:
        d = 1 if side == "left" else -1
        pts = [tip, (tip[0] + d * r, cy - r), (tip[0] + d * r, cy + r)]
    sk.polygon(pts, fill=accent, outline=p.NAVY, width=0.8)
    return sk


def _centre_button(w, h, lit, accent):
    """The attach button: a little window with tabs along its bottom."""
    sk = canvas.Sketch(w, h)
    sk.rect([0.5, 0.5, w - 1.5, h - 1.5], fill=p.AMBER_LIGHT if lit else p.CLOUD, outline=p.NAVY, width=1,
            radius=3)
    sk.rect([5, 5, w - 6, h - 9], fill=p.WHITE, outline=p.NAVY, width=1)
    sk.rect([5, 5, w - 6, 8], fill=accent)
    sk.rect([5, h - 9, 13, h - 5], fill=accent, outline=p.NAVY, width=0.8)
    sk.rect([13, h - 9, 20, h - 6], fill=p.SILVER, outline=p.NAVY, width=0.8)
    return sk


def _background(w, h, lit):
    """The plate behind the centre of the cross: a rounded square turned on its corner."""
    sk = canvas.Sketch(w, h)
    m = (w - 1) / 2
    sk.polygon([(m, 0.5), (w - 1.5, m), (m, h - 1.5), (0.5, m)], fill=p.AMBER if lit else p.SILVER,
               outline=p.NAVY, width=1)
    return sk


SIDES = ("top", "left", "bottom", "right")


def _classic_strip(accent):
    """The first style's arrows and centre button, normal and highlighted (120 x 110)."""
    strip = Image.new("RGB", (120, 110), GREEN_KEY)
    normal = {"top": (0, 0, 43, 30), "bottom": (43, 0, 86, 30), "left": (30, 33, 60, 76), "right": (0, 33, 30, 76)}
    lit = {"top": (0, 76, 43, 106), "bottom": (43, 76, 86, 106), "left": (90, 33, 120, 76),
           "right": (60, 33, 90, 76)}
    for table, on in ((normal, False), (lit, True)):
        for side, box in table.items():
            _place(strip, _arrow_button(box[2] - box[0], box[3] - box[1], side, on, accent), box)
    _place(strip, _centre_button(33, 33, False, accent), (86, 0, 119, 33))
    _place(strip, _centre_button(33, 33, True, accent), (86, 76, 119, 109))
    return strip


def _round_strip():
    """The second style in one strip (161 x 122): single arrows, the cross's arrows, the centre."""
    accent = p.BLUE
    strip = Image.new("RGB", (161, 122), GREEN_KEY)
    pieces = [
        # single guides, normal and highlighted
        ("top", (0, 29, 29, 61), (0, 90, 29, 122)), ("left", (29, 32, 61, 61), (29, 93, 61, 122)),
        ("bottom", (32, 0, 61, 32), (32, 61, 61, 93)), ("right", (0, 0, 32, 29), (0, 61, 32, 90)),
        # the cross's arrows
        ("top", (61, 29, 90, 59), (61, 90, 90, 120)), ("left", (90, 30, 120, 59), (90, 91, 120, 120)),
        ("bottom", (91, 0, 120, 30), (91, 61, 120, 91)), ("right", (62, 0, 92, 29), (62, 61, 92, 90)),
    ]
    for side, normal, lit in pieces:
        for box, on in ((normal, False), (lit, True)):
            _place(strip, _arrow_button(box[2] - box[0], box[3] - box[1], side, on, accent), box)
    _place(strip, _background(41, 41, False), (120, 0, 161, 41))
    _place(strip, _background(41, 41, True), (120, 41, 161, 82))
    _place(strip, _centre_button(28, 29, False, accent), (120, 82, 148, 111))
    return strip


def build(out):
    background = Image.new("RGB", (43, 43), GREEN_KEY)
    _place(background, _background(43, 43, False), (0, 0, 43, 43))
    canvas.save_bmp(background, out("tk_guide_centre.bmp"))
    canvas.save_bmp(_classic_strip(ACCENTS["blue"]), out("tk_guides_blue.bmp"))
    canvas.save_bmp(_classic_strip(ACCENTS["olive"]), out("tk_guides_olive.bmp"))
    canvas.save_bmp(_classic_strip(ACCENTS["silver"]), out("tk_guides_silver.bmp"))
    canvas.save_bmp(_round_strip(), out("tk_guides_round.bmp"))
