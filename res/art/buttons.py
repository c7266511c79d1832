"""Buttons drawn as bitmaps: the mode buttons of the first page and the tool buttons of every page,
each in a normal and a hover picture. They stand on the page's paper, which shows at their corners."""

from PIL import Image

import canvas
import glyphs
import palette as p


def _card(w, h, hot, radius):
    """A raised card on paper: white to cloud in the normal state, sky-tinted with a blue rim on hover."""
    image = Image.new("RGB", (w, h), p.PAPER)
    sk = canvas.Sketch(w, h)
    sk.rect([1.5, 2.5, w - 0.5, h - 0.5], fill=p.PAPER_EDGE + (160,), radius=radius)
    top, bottom = ((p.WHITE, p.SKY) if hot else (p.WHITE, p.CLOUD))
    face = canvas.vertical_gradient(w, h, top, bottom).convert("RGBA")
    mask = canvas.rounded_mask(w - 2, h - 3, radius)
    image_rgba = image.convert("RGBA")
    image_rgba.alpha_composite(sk.result())
    image_rgba.paste(face.crop((0, 0, w - 2, h - 3)), (0, 0), mask)
    rim = canvas.Sketch(w, h)
    rim.rect([0.5, 0.5, w - 2.5, h - 3.5], outline=p.BLUE_MID if hot else p.SILVER, width=2 if hot else 1,
             radius=radius)
    image_rgba.alpha_composite(rim.result())
    return image_rgba.convert("RGB")


MODES = {
    "quick_scan": ("Quick Scan", "Partitions and file systems", glyphs.lightning),
    "extensive_scan": ("Extensive Scan", "Searches every sector", glyphs.sector_grid),
    "file_trace": ("File Trace", "Finds files by signature", glyphs.signature),
}


def mode_button(name, hot):
    title, note, glyph = MODES[name]
    w, h = 173, 73
    image = _card(w, h, hot, 10)
    sk = canvas.Sketch(w, h)
    disk_size = 40
    glyphs.disk(sk, 10, 18, disk_size, body=p.BLUE_LIGHT if hot else p.SILVER)
    glyph(sk, 30, 8, 26)
    size = 13
    while size > 9 and canvas.text_width(title, size) > w - 66:
        size -= 1
    sk.text((60, 22), title, size, p.NAVY if hot else p.INK)
    sk.text((60, 43), note, 8, p.BLUE if hot else p.SLATE, bold=False)
    canvas.over(image, sk)
    return image


def tool_button(label, glyph_side, hot, width=85, accent=p.BLUE):
    """A pill-shaped button with a label and a glyph on the side it points to."""
    h = 35
    image = _card(width, h, hot, 14)
    sk = canvas.Sketch(width, h)
    colour = accent if hot else p.NAVY
    text_w = canvas.text_width(label, 12)
    if glyph_side == "right":
        x = (width - 2 - text_w - 14) / 2
        sk.text((x, 16), label, 12, colour, anchor="lm")
        glyphs.chevron(sk, x + text_w + 2, 9, 14, True, colour, 2.4)
    elif glyph_side == "left":
        x = (width - 2 - text_w - 14) / 2
        glyphs.chevron(sk, x - 2, 9, 14, False, colour, 2.4)
        sk.text((x + 14, 16), label, 12, colour, anchor="lm")
    else:
        glyph = glyph_side
        x = (width - 2 - text_w - 22) / 2
        glyph(sk, x, 7, 18)
        sk.text((x + 24, 16), label, 12, colour, anchor="lm")
    canvas.over(image, sk)
    return image


def _stop_glyph(sk, x, y, s):
    sk.rect([x + s * 0.15, y + s * 0.15, x + s * 0.85, y + s * 0.85], fill=p.RED, radius=s * 0.12)


def home_button(hot):
    """A round button, 45 x 45, with a house."""
    w = h = 45
    image = Image.new("RGB", (w, h), p.PAPER)
    sk = canvas.Sketch(w, h)
    sk.ellipse([2, 3, 44, 45], fill=p.PAPER_EDGE + (160,))
    sk.ellipse([1, 1, 42, 42], fill=p.BLUE_MID if hot else p.BLUE, outline=p.NAVY, width=1.5)
    sk.ellipse([5, 3, 38, 22], fill=p.WHITE + (40,))
    glyphs.house(sk, 11, 10, 21, colour=p.WHITE)
    canvas.over(image, sk)
    return image


def build(out):
    ids = {"quick_scan": ("quick_scan.bmp", "quick_scan_hot.bmp"),
           "extensive_scan": ("extensive_scan.bmp", "extensive_scan_hot.bmp"),
           "file_trace": ("file_trace.bmp", "file_trace_hot.bmp")}
    for name, (normal, hot) in ids.items():
        canvas.save_bmp(mode_button(name, False), out(normal))
        canvas.save_bmp(mode_button(name, True), out(hot))
    for hot, suffix in ((False, ""), (True, "_hot")):
        canvas.save_bmp(tool_button("Next", "right", hot), out("next%s.bmp" % suffix))
        canvas.save_bmp(tool_button("Back", "left", hot), out("back%s.bmp" % suffix))
        canvas.save_bmp(tool_button("Stop", _stop_glyph, hot, accent=p.RED), out("stop%s.bmp" % suffix))
        canvas.save_bmp(tool_button("Recover", lambda sk, x, y, s: glyphs.restore_arrow(sk, x, y, s), hot,
                                    width=105, accent=p.GREEN), out("recover%s.bmp" % suffix))
        canvas.save_bmp(home_button(hot), out("home%s.bmp" % suffix))
