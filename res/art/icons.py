"""Icons: the application's, the trees', the toolbar's, the list headers' and the buttons'."""

import canvas
import glyphs
import palette as p


def render(draw, size, badge=None):
    """One image of an icon: the glyph filling the square, with an optional badge at its lower right."""
    sk = canvas.Sketch(size, size)
    draw(sk, 0, 0, size)
    if badge:
        badge(sk, 0, 0, size)
    return sk.result()


def icon(draw, sizes, badge=None):
    return [render(draw, size, badge) for size in sizes]


def _scaled(draw, scale, dx=0.0, dy=0.0):
    """A glyph drawn smaller inside the square, moved by a fraction of the side."""
    return lambda sk, x, y, s: draw(sk, x + s * dx, y + s * dy, s * scale)


def _combine(*parts):
    def draw(sk, x, y, s):
        for part in parts:
            part(sk, x, y, s)
    return draw


def _arrow_badge(up, colour):
    return _scaled(lambda sk, x, y, s: glyphs.arrow(sk, x, y, s, up, colour), 0.55, 0.45, 0.45)


APP = [16, 24, 32, 48, 256]
SMALL = [16, 32]
HEADER = [16, 48]
TOOL = [32, 16]

ICONS = {
    "app.ico": (glyphs.emblem, APP),
    # Trees
    "tree_computer.ico": (glyphs.computer, SMALL),
    "tree_devices.ico": (_scaled(glyphs.disks, 0.9, 0.02, 0.08), SMALL),
    "tree_fixed_disk.ico": (glyphs.disk, SMALL),
    "tree_removable.ico": (glyphs.usb_stick, SMALL),
    "tree_cdrom.ico": (glyphs.disc, SMALL),
    "tree_folder.ico": (glyphs.folder, SMALL),
    "tree_virtual_disk.ico": (glyphs.virtual_disk, SMALL),
    # Column headers of the results list
    "header_name.ico": (glyphs.document, HEADER),
    "header_type.ico": (glyphs.tag, HEADER),
    "header_size.ico": (glyphs.scale_bars, HEADER),
    "header_created.ico": (_combine(glyphs.clock, glyphs.badge_star), HEADER),
    "header_modified.ico": (_combine(glyphs.clock, glyphs.badge_pencil), HEADER),
    "header_id.ico": (glyphs.hash_mark, HEADER),
    "header_path.ico": (_combine(_scaled(glyphs.folder, 0.8),
                                 _scaled(lambda sk, x, y, s: glyphs.chevron(sk, x, y, s, True, p.NAVY, 2.6),
                                         0.55, 0.45, 0.45)), HEADER),
    # Toolbar
    "tool_open.ico": (_combine(_scaled(lambda sk, x, y, s: glyphs.folder(sk, x, y, s, True), 1.0),
                               _scaled(glyphs.virtual_disk, 0.55, 0.45, 0.42)), TOOL),
    "tool_recover.ico": (_combine(_scaled(glyphs.document, 0.9),
                                  _scaled(glyphs.restore_arrow, 0.6, 0.42, 0.42)), TOOL),
    "tool_save_snapshot.ico": (_combine(_scaled(glyphs.layers, 0.85), _arrow_badge(False, p.GREEN)), TOOL),
    "tool_load_snapshot.ico": (_combine(_scaled(glyphs.layers, 0.85), _arrow_badge(True, p.BLUE_MID)), TOOL),
    "tool_find.ico": (glyphs.magnifier, TOOL),
    "tool_settings.ico": (glyphs.gear, TOOL),
    "tool_help.ico": (glyphs.help_mark, TOOL),
    # Buttons
    "select_all_in.ico": (lambda sk, x, y, s: glyphs.checkbox(sk, x, y, s, 1), SMALL),
    "select_all_out.ico": (lambda sk, x, y, s: glyphs.checkbox(sk, x, y, s, 0), SMALL),
    "browse.ico": (lambda sk, x, y, s: glyphs.folder(sk, x, y, s, True), SMALL),
}


def build(out):
    for name, (draw, sizes) in ICONS.items():
        canvas.save_ico(icon(draw, sizes), out(name))


def toolbar_strip(out):
    """The "Standard" toolbar's buttons as one strip of 32-pixel images on the mask colour, in the
    toolbar's order."""
    from PIL import Image

    order = ["tool_open.ico", "tool_recover.ico", "tool_save_snapshot.ico", "tool_load_snapshot.ico",
             "tool_find.ico", "tool_settings.ico", "tool_help.ico"]
    strip = Image.new("RGB", (32 * len(order), 32), p.TOOLBAR_FACE)
    for i, name in enumerate(order):
        image = render(ICONS[name][0], 32)
        strip.paste(image, (32 * i, 0), image)
    canvas.save_bmp(strip, out("toolbar.bmp"))
