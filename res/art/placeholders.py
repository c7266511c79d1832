"""The preview pane's placeholder pictures: a white panel with a light frame, a small pictogram that says
why there is no preview, and the reason in one line of dark text across its middle; where the user can do
something about it, a line or two of lighter text below says what. Each 319 x 125."""

import canvas
import glyphs
import palette as p

W, H = 319, 125
TEXT_SIZE = 12
ADVICE_SIZE = 10
ADVICE_STEP = 13


def _badge(g, fill):
    g.ellipse(8.6, 8.6, 16.4, 16.4, fill=fill, outline=p.WHITE, width=0.9)


def _mark_cross(g):
    _badge(g, p.RED)
    g.line([(10.8, 10.8), (14.2, 14.2)], p.WHITE, 1.4)
    g.line([(14.2, 10.8), (10.8, 14.2)], p.WHITE, 1.4)


def _mark_sign(sign, fill):
    def mark(g):
        _badge(g, fill)
        cx, cy = g.pt(12.5, 12.6)
        g.sk.text((cx, cy), sign, 11, p.WHITE, bold=True, anchor="mm")
    return mark


def _mark_pointer(g):
    g.poly([(9, 8.5), (9, 16), (11, 14.2), (12.6, 17), (13.8, 16.3), (12.2, 13.6), (14.8, 13.4)],
           fill=p.AMBER, outline=p.NAVY, width=0.7)


def _mark_disk(g):
    # The disk image the file lies on, in place of a badge.
    glyphs.disk(g.sk, *g.pt(7.5, 7.5), g.u * 8, body=p.BLUE_LIGHT, light=p.AMBER)


def placeholder(text, mark, broken=False, advice=()):
    image = canvas.vertical_gradient(W, H, p.WHITE, p.WHITE)
    sk = canvas.Sketch(W, H)
    sk.rect([0, 0, W - 1, H - 1], fill=p.WHITE, outline=p.SILVER, width=1)
    sk.rect([3, 3, W - 4, H - 4], outline=p.CLOUD, width=1)
    s = 36
    # With advice below, the pictogram and the reason move up to make room for it.
    top, title, rule = (12, 66, 78) if advice else (18, 80, 95)
    x, y = (W - s) / 2, top
    glyphs.document(sk, x, y, s, paper=p.CLOUD if broken else p.WHITE, ink=p.SLATE)
    if broken:
        g = glyphs.Grid(sk, x, y, s)
        g.line([(3, 9), (6, 7.6), (8, 10), (10.5, 8), (13, 9.4)], p.RED, 0.9)
    mark(glyphs.Grid(sk, x, y, s))
    sk.text((W / 2, title), text, TEXT_SIZE, p.NAVY, bold=True, anchor="mm")
    sk.rect([W / 2 - 24, rule, W / 2 + 24, rule + 1.4], fill=p.AMBER_LIGHT)
    for i, line in enumerate(advice):
        sk.text((W / 2, rule + 14 + i * ADVICE_STEP), line, ADVICE_SIZE, p.SLATE, bold=False, anchor="mm")
    canvas.over(image, sk)
    return image


PICTURES = {
    "preview_corrupted.bmp": ("File Corrupted", _mark_cross, True),
    "preview_no_viewer.bmp": ("Preview not available for this file type", _mark_sign("?", p.BLUE), False),
    "preview_select_file.bmp": ("Select file for preview", _mark_pointer, False),
    "preview_large_file.bmp": ("File too large to preview", _mark_sign("!", p.AMBER), False),
    "preview_image_needed.bmp": ("Disk image needed to preview", _mark_disk, False,
                                 ("Open the image this file was found on,",
                                  "then load the recovery snapshot over it.")),
}


def build(out):
    for name, (text, mark, broken, *advice) in PICTURES.items():
        advice = advice[0] if advice else ()
        assert canvas.text_width(text, TEXT_SIZE) < W - 24, text
        for line in advice:
            assert canvas.text_width(line, ADVICE_SIZE, bold=False) < W - 24, line
        canvas.save_bmp(placeholder(text, mark, broken, advice), out(name))
