"""Backgrounds: the pages' paper and headers, the command bars' banner, the dialog skins, the pattern
brush, the results list's tile and the check-box strips."""

from PIL import Image

import canvas
import glyphs
import palette as p

HEADER_HEIGHT = 40
HEADER_TOP = (30, 62, 112)
HEADER_BOTTOM = (16, 36, 72)


def page_background(out):
    canvas.save_bmp(Image.new("RGB", (16, 16), p.PAPER), out("page_background.bmp"))


def panel_pattern(out):
    """An 8 x 8 paper weave for the scan panel's brush."""
    image = Image.new("RGB", (8, 8), p.PAPER)
    for y in range(8):
        for x in range(8):
            if (x + y) % 4 == 0:
                image.putpixel((x, y), p.PAPER_LIGHT)
    canvas.save_bmp(image, out("panel_pattern.bmp"))


def list_background(out):
    """A quiet tile behind the results list: near-white with a faint dotted grid."""
    image = Image.new("RGB", (64, 64), (254, 253, 249))
    for y in range(0, 64, 16):
        for x in range(0, 64, 16):
            image.putpixel((x, y), (238, 232, 214))
    canvas.save_bmp(image, out("list_background.bmp"))


def _band(w):
    """The header band: a navy gradient with an amber rule along its foot."""
    image = canvas.vertical_gradient(w, HEADER_HEIGHT, HEADER_TOP, HEADER_BOTTOM)
    image.paste(p.AMBER, (0, HEADER_HEIGHT - 2, w, HEADER_HEIGHT))
    image.paste(p.mix(HEADER_TOP, p.WHITE, 0.25), (0, 0, w, 1))
    return image


def _header(out, name, title, glyph):
    width = 46 + round(canvas.text_width(title, 15)) + 60
    image = _band(width)
    sk = canvas.Sketch(width, HEADER_HEIGHT)
    glyphs.emblem(sk, 8, 5, 28)
    sk.line([(44, 9), (44, 31)], p.mix(HEADER_TOP, p.WHITE, 0.35), 1)
    if glyph:
        sk.rect([52, 9, 74, 31], fill=p.CLOUD, radius=4)
        glyph(sk, 55, 12, 16)
        sk.text((78, 20), title, 15, p.WHITE, anchor="lm")
    else:
        sk.text((54, 20), title, 15, p.WHITE, anchor="lm")
    canvas.over(image, sk)
    # The left piece ends where the band goes on as the fill piece.
    canvas.save_bmp(image, out(name))


def headers(out):
    _header(out, "header_start.bmp", "Recover files from VHD and VHDX images", None)
    _header(out, "header_scan_drive.bmp", "Scan a logical drive", glyphs.disk)
    _header(out, "header_scanning.bmp", "Searching for lost data", glyphs.magnifier)
    _header(out, "header_results.bmp", "Recovered files and folders", glyphs.folder)
    _header(out, "header_scan_partition.bmp", "Scan the selected partition", glyphs.disk)
    _header(out, "header_file_systems.bmp", "File systems found", glyphs.sector_grid)
    _header(out, "header_scan_range.bmp", "Extensive Scan of a sector range", glyphs.sector_grid)
    canvas.save_bmp(_band(8), out("header_fill.bmp"))
    # The right piece: the band fading into a trail of sectors, some of them found.
    width = 220
    image = _band(width)
    sk = canvas.Sketch(width, HEADER_HEIGHT)
    for i in range(14):
        x = 40 + i * 12
        for j in range(2):
            found = (i * 3 + j * 5) % 7 == 0
            colour = p.AMBER if found else p.mix(HEADER_TOP, p.BLUE_LIGHT, 0.15 + 0.45 * i / 13)
            sk.rect([x, 10 + j * 11, x + 8, 17 + j * 11], fill=colour, radius=1.2)
    canvas.over(image, sk)
    canvas.save_bmp(image, out("header_right.bmp"))


def banner(out):
    """250 x 51, drawn on the command bars with white left transparent: nothing of it may be white."""
    w, h = 250, 51
    sk = canvas.Sketch(w, h)
    glyphs.emblem(sk, 6, 5, 40)
    sk.text((54, 6), "Dorvane", 24, p.NAVY)
    sk.text((56, 34), "VHD and VHDX Recovery", 10, p.SLATE, bold=False)
    layer = sk.result()
    image = Image.new("RGB", (w, h), p.WHITE)
    image.paste(layer, (0, 0), layer)
    # Smooth edges fade to white; keep them a shade off it so that they stay drawn.
    pixels = image.load()
    alpha = layer.getchannel("A").load()
    for y in range(h):
        for x in range(w):
            if alpha[x, y] and pixels[x, y] == p.WHITE:
                pixels[x, y] = (254, 254, 254)
    canvas.save_bmp(image, out("banner.bmp"))


def state_strip(out, name, states, height=16):
    """Check boxes, 16 pixels wide each and centred in height, on white (the strip's mask colour); None leaves a
    slot empty."""
    image = Image.new("RGB", (16 * len(states), height), p.WHITE)
    for i, state in enumerate(states):
        if state is None:
            continue
        sk = canvas.Sketch(16, 16)
        glyphs.checkbox(sk, 0, 0, 16, state)
        layer = sk.result()
        image.paste(layer, (16 * i, (height - 16) // 2), layer)
    canvas.save_bmp(image, out(name))


DIALOG_CAPTION = 30
DIALOG_RADIUS = 14


def dialog_skin(w, h):
    """A dialog's skin: a paper body under a navy caption band, a navy border, rounded corners; the key
    colour outside. The dialog writes its title on the band."""
    body = canvas.vertical_gradient(w, h, p.BODY_TOP, p.BODY_BOTTOM)
    band = canvas.vertical_gradient(w, DIALOG_CAPTION, HEADER_TOP, HEADER_BOTTOM)
    body.paste(band, (0, 0))
    body.paste(p.AMBER, (0, DIALOG_CAPTION, w, DIALOG_CAPTION + 2))
    sk = canvas.Sketch(w, h)
    glyphs.emblem(sk, 8, 5, 20)
    # A faint watermark of the emblem at the lower right.
    mark = canvas.Sketch(90, 90)
    glyphs.emblem(mark, 0, 0, 90)
    faded = mark.result()
    faded.putalpha(faded.getchannel("A").point(lambda a: a * 18 // 255))
    sk.rect([0.5, 0.5, w - 0.5, h - 0.5], outline=p.NAVY, width=2, radius=DIALOG_RADIUS)
    canvas.over(body, faded, (w - 100, h - 100))
    canvas.over(body, sk)
    return canvas.keyed(body, canvas.rounded_mask(w, h, DIALOG_RADIUS))


# Sizes in pixels; each dialog sizes its window to its skin.
DIALOG_SKINS = {
    "skin_small_dialog.bmp": (380, 300),
    "skin_settings.bmp": (420, 440),
    "skin_file_filters.bmp": (340, 300),
    "skin_properties.bmp": (380, 264),
    "skin_saving.bmp": (460, 220),
    "skin_progress.bmp": (320, 110),
    "skin_about.bmp": (420, 300),
    "skin_find_files.bmp": (500, 410),
}


def build(out):
    page_background(out)
    panel_pattern(out)
    list_background(out)
    headers(out)
    banner(out)
    state_strip(out, "tree_states.bmp", [None, 0, 1, 2])
    # The results list's rows are as high as their 20-pixel icon cells: the boxes sit in the middle beside them.
    state_strip(out, "list_states.bmp", [None, 0, 1, None], height=20)
    for name, (w, h) in DIALOG_SKINS.items():
        canvas.save_bmp(dialog_skin(w, h), out(name))
