"""Drawing helpers shared by every piece of art: supersampled shapes, gradients, text, and the writers of
the Windows formats (BMP through Pillow, ICO and CUR of our own)."""

import io
import os
import struct

from PIL import Image, ImageDraw, ImageFont

import palette

SCALE = 4  # shapes are drawn this many times larger and scaled down, for smooth edges

FONT_DIRS = ["/usr/share/fonts/truetype/dejavu", "/usr/share/fonts/truetype/liberation"]


def font(size, bold=True):
    names = (["DejaVuSans-Bold.ttf", "LiberationSans-Bold.ttf"] if bold
             else ["DejaVuSans.ttf", "LiberationSans-Regular.ttf"])
    for folder in FONT_DIRS:
        for name in names:
            path = os.path.join(folder, name)
            if os.path.exists(path):
                return ImageFont.truetype(path, size)
    return ImageFont.load_default()


class Sketch:
    """A transparent drawing surface of size (w, h) in final pixels, drawn at SCALE times the size.
    Coordinates given to its methods are in final pixels (floats allowed)."""

    def __init__(self, w, h):
        self.w, self.h = w, h
        self.image = Image.new("RGBA", (w * SCALE, h * SCALE), (0, 0, 0, 0))
        self.draw = ImageDraw.Draw(self.image)

    def _box(self, box):
        return [round(v * SCALE) for v in box]

    def _pts(self, points):
        return [(round(x * SCALE), round(y * SCALE)) for x, y in points]

    def _width(self, width):
        return max(1, round(width * SCALE))

    def _layer(self, colour):
        """The surface to draw a shape on: translucent shapes go to a layer of their own, blended in by
        blend(), since drawing writes pixels instead of mixing them."""
        if colour is not None and len(colour) == 4 and colour[3] < 255:
            self._pending = Image.new("RGBA", self.image.size, (0, 0, 0, 0))
            return ImageDraw.Draw(self._pending)
        return self.draw

    def _blend(self):
        if getattr(self, "_pending", None) is not None:
            self.image.alpha_composite(self._pending)
            self._pending = None

    def rect(self, box, fill=None, outline=None, width=1, radius=0):
        draw = self._layer(fill)
        if radius:
            draw.rounded_rectangle(self._box(box), radius=radius * SCALE, fill=_rgba(fill),
                                   outline=_rgba(outline), width=self._width(width) if outline else 0)
        else:
            draw.rectangle(self._box(box), fill=_rgba(fill), outline=_rgba(outline),
                           width=self._width(width) if outline else 0)
        self._blend()

    def ellipse(self, box, fill=None, outline=None, width=1):
        self._layer(fill).ellipse(self._box(box), fill=_rgba(fill), outline=_rgba(outline),
                                  width=self._width(width) if outline else 0)
        self._blend()

    def polygon(self, points, fill=None, outline=None, width=1):
        self.draw.polygon(self._pts(points), fill=_rgba(fill))
        if outline:
            self.line(list(points) + [points[0]], outline, width)

    def line(self, points, colour, width=1):
        self.draw.line(self._pts(points), fill=_rgba(colour), width=self._width(width), joint="curve")

    def arc(self, box, start, end, colour, width=1):
        self.draw.arc(self._box(box), start, end, fill=_rgba(colour), width=self._width(width))

    def text(self, xy, text, size, colour, bold=True, anchor="la"):
        self.draw.text((xy[0] * SCALE, xy[1] * SCALE), text, font=font(size * SCALE, bold),
                       fill=_rgba(colour), anchor=anchor)

    def paste(self, other, xy):
        """Draws another sketch over this one at (x, y) final pixels."""
        self.image.alpha_composite(other.image, (round(xy[0] * SCALE), round(xy[1] * SCALE)))

    def result(self):
        """The sketch at its final size (RGBA)."""
        return self.image.resize((self.w, self.h), Image.LANCZOS)


def _rgba(colour):
    if colour is None:
        return None
    return colour if len(colour) == 4 else colour + (255,)


def text_width(text, size, bold=True):
    return font(size, bold).getlength(text)


def vertical_gradient(w, h, top, bottom):
    image = Image.new("RGB", (w, h))
    for y in range(h):
        colour = palette.mix(top, bottom, y / max(1, h - 1))
        image.paste(colour, (0, y, w, y + 1))
    return image


def over(background, sketch, xy=(0, 0)):
    """Composites a sketch's result onto an RGB image in place."""
    layer = sketch.result() if isinstance(sketch, Sketch) else sketch
    base = background.convert("RGBA")
    base.alpha_composite(layer, xy)
    background.paste(base.convert("RGB"))


def keyed(content, shape):
    """An RGB image showing content where the shape mask (L, 0..255) is at least half set, and the
    key colour elsewhere: what lies outside the window's region."""
    mask = shape.point(lambda v: 255 if v >= 128 else 0)
    out = Image.new("RGB", content.size, palette.KEY)
    out.paste(content, (0, 0), mask)
    return out


def rounded_mask(w, h, radius):
    big = Image.new("L", (w * SCALE, h * SCALE), 0)
    ImageDraw.Draw(big).rounded_rectangle([0, 0, w * SCALE - 1, h * SCALE - 1], radius=radius * SCALE, fill=255)
    return big.resize((w, h), Image.LANCZOS)


def save_bmp(image, path):
    image.convert("RGB").save(path, "BMP")


def _dib_entry(image):
    """A 32-bit icon image: BITMAPINFOHEADER (height doubled), BGRA rows bottom-up, then the AND mask."""
    w, h = image.size
    rgba = image.convert("RGBA")
    pixels = rgba.load()
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b, a = pixels[x, y]
            rows += bytes((b, g, r, a))
    mask_stride = ((w + 31) // 32) * 4
    mask = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(mask_stride)
        for x in range(w):
            if pixels[x, y][3] < 128:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    return header + bytes(rows) + bytes(mask)


def _write_group(path, images, kind, hotspots=None):
    entries = [_dib_entry(image) for image in images]
    out = io.BytesIO()
    out.write(struct.pack("<HHH", 0, kind, len(entries)))
    offset = 6 + 16 * len(entries)
    for i, (image, data) in enumerate(zip(images, entries)):
        w, h = image.size
        if kind == 1:
            planes, bits = 1, 32
        else:
            planes, bits = hotspots[i]
        out.write(struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, planes, bits, len(data), offset))
        offset += len(data)
    for data in entries:
        out.write(data)
    with open(path, "wb") as f:
        f.write(out.getvalue())


def save_ico(images, path):
    """An icon with one 32-bit image per size, largest first."""
    _write_group(path, sorted(images, key=lambda i: -i.size[0]), 1)


def save_cur(image, hotspot, path):
    """A cursor: its hot spot stands where an icon has its planes and bit count."""
    _write_group(path, [image], 2, [hotspot])
