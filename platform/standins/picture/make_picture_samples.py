#!/usr/bin/python3
"""Writes the pictures our own decoders are tested against, each with the pixels Pillow reads from it.

Pictures Pillow can write are written by Pillow; Sun raster, 16-bit Targa, plain PNM and WBMP are packed
here byte by byte, and Pillow reads them back for the expected pixels (WBMP, which Pillow does not read,
takes the pattern it was packed from). JPEG 2000 pictures are written by OpenJPEG's opj_compress from PNGs,
and their pixels are what opj_decompress makes of them (a 16-bit result brought to 8 bits by ImageMagick). Each sample NAME.EXT comes with NAME.EXT.rgb: the width and height
(32-bit little-endian) and the pixels as RGB triples, rows from the top, transparent parts over white.
Usage: make_picture_samples.py --out DIR
"""
import argparse
import os
import shutil
import struct
import subprocess

from PIL import Image

W, H = 37, 23  # odd sizes: rows are padded in most formats


def photo(w=W, h=H):
    """A photo-like RGB picture: gradients with a disc and some texture."""
    im = Image.new("RGB", (w, h))
    px = im.load()
    for y in range(h):
        for x in range(w):
            r = (x * 255) // (w - 1)
            g = (y * 255) // (h - 1)
            b = ((x * 7 + y * 13) * 5) % 256
            if (x - w // 2) ** 2 + (y - h // 2) ** 2 < (h // 3) ** 2:
                r, g, b = 250 - g // 2, 200, 40 + x
            px[x, y] = (r, g, b)
    return im


def over_white(im):
    im = im.convert("RGBA")
    out = Image.new("RGB", im.size)
    src, dst = im.load(), out.load()
    for y in range(im.size[1]):
        for x in range(im.size[0]):
            r, g, b, a = src[x, y]
            back = 255 * (255 - a)
            dst[x, y] = tuple((c * a + back + 127) // 255 for c in (r, g, b))
    return out


def write_expected(path, im):
    if im.mode in ("RGBA", "LA", "PA") or (im.mode == "P" and "transparency" in im.info):
        rgb = over_white(im)
    else:
        rgb = im.convert("RGB")
    with open(path + ".rgb", "wb") as f:
        f.write(struct.pack("<II", *rgb.size))
        f.write(rgb.tobytes())


def save_and_expect(out, name, im, **options):
    path = os.path.join(out, name)
    im.save(path, **options)
    with Image.open(path) as back:
        back.load()
        write_expected(path, back)


def pack_and_expect(out, name, data, expected=None):
    path = os.path.join(out, name)
    with open(path, "wb") as f:
        f.write(data)
    if expected is None:
        with Image.open(path) as back:
            back.load()
            write_expected(path, back)
    else:
        write_expected(path, expected)


def alpha_photo():
    im = photo().convert("RGBA")
    px = im.load()
    for y in range(H):
        for x in range(W):
            r, g, b, _ = px[x, y]
            px[x, y] = (r, g, b, (x * 255) // (W - 1))
    return im


def tga16(im):
    """A 16-bit (5-5-5) true-colour Targa, bottom-up."""
    rows = []
    for y in reversed(range(im.size[1])):
        for x in range(im.size[0]):
            r, g, b = im.getpixel((x, y))
            rows.append(struct.pack("<H", ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3)))
    header = struct.pack("<BBBHHBHHHHBB", 0, 0, 2, 0, 0, 0, 0, 0, im.size[0], im.size[1], 16, 0)
    return header + b"".join(rows)


def widened_555(im):
    out = Image.new("RGB", im.size)
    for y in range(im.size[1]):
        for x in range(im.size[0]):
            out.putpixel((x, y), tuple((c >> 3 << 3) | (c >> 5) for c in im.getpixel((x, y))))
    return out


def sun(im, depth, kind=1, colour_map=None, encode=False):
    """A Sun raster of the picture: depth 1 (dark pixels are 1), 8 (grey or mapped), 24 or 32."""
    w, h = im.size
    rows = []
    for y in range(h):
        row = bytearray()
        if depth == 1:
            bits = [1 if sum(im.getpixel((x, y))) < 384 else 0 for x in range(w)] + [0] * 8
            row += bytes(sum(bits[i + k] << (7 - k) for k in range(8)) for i in range(0, w, 8))
        for x in range(w):
            r, g, b = im.getpixel((x, y))
            if depth == 8:
                row.append((r + g + b) // 3 if colour_map is None else (x + y) % (len(colour_map) // 3))
            elif depth >= 24:
                pad = b"\0" if depth == 32 else b""
                row += pad + (bytes((r, g, b)) if kind == 3 else bytes((b, g, r)))
        if len(row) % 2:
            row.append(0)
        rows.append(bytes(row))
    data = b"".join(rows)
    if encode:
        encoded, i = bytearray(), 0
        while i < len(data):
            n = 1
            while i + n < len(data) and data[i + n] == data[i] and n < 256:
                n += 1
            if n > 2 or data[i] == 0x80:
                encoded += bytes((0x80, n - 1, data[i])) if n > 1 or data[i] != 0x80 else b"\x80\x00"
            else:
                encoded += bytes(data[i:i + n])
            i += n
        data = bytes(encoded)
    cmap = colour_map or b""
    header = struct.pack(">8I", 0x59A66A95, w, h, depth, len(data), 2 if encode else kind, 1 if cmap else 0, len(cmap))
    return header + cmap + data


def wbmp(w, h):
    pattern = Image.new("RGB", (w, h))
    rows = bytearray()
    for y in range(h):
        bits = [((x // 3 + y // 2) % 2) for x in range(w)] + [0] * 8
        for x in range(w):
            pattern.putpixel((x, y), (255, 255, 255) if bits[x] else (0, 0, 0))
        rows += bytes(sum(bits[i + k] << (7 - k) for k in range(8)) for i in range(0, w, 8))
    # Width 200 needs two bytes of the multi-byte integer.
    def uintvar(v):
        out = [v & 0x7F]
        v >>= 7
        while v:
            out.insert(0, 0x80 | (v & 0x7F))
            v >>= 7
        return bytes(out)
    return b"\0\0" + uintvar(w) + uintvar(h) + bytes(rows), pattern


def plain_pnm(kind, im, maxval):
    w, h = im.size
    lines = ["P%d" % kind, "# written by hand", "%d %d" % (w, h)]
    if kind != 1:
        lines.append(str(maxval))
    for y in range(h):
        values = []
        for x in range(w):
            r, g, b = im.getpixel((x, y))
            if kind == 1:
                values.append("1" if r + g + b < 384 else "0")
            elif kind == 2:
                values.append(str(((r + g + b) // 3) * maxval // 255))
            else:
                values.extend(str(c * maxval // 255) for c in (r, g, b))
        lines.append(" ".join(values))
    return ("\n".join(lines) + "\n").encode()


def landscape(w=480, h=320):
    """A photo-like picture: an evening sky, a sun, layered hills, a lake and grain, softened."""
    import random
    from PIL import ImageDraw, ImageFilter
    rnd = random.Random(7)
    im = Image.new("RGB", (w, h))
    draw = ImageDraw.Draw(im)
    for y in range(h):
        t = y / h
        draw.line([(0, y), (w, y)], fill=(int(40 + 200 * t), int(70 + 120 * t), int(160 + 40 * (1 - t))))
    draw.ellipse([w * 0.62, h * 0.18, w * 0.62 + 60, h * 0.18 + 60], fill=(255, 236, 170))
    for k, colour in enumerate([(92, 110, 140), (60, 96, 80), (34, 70, 44)]):
        base = h * (0.55 + 0.1 * k)
        points = [(0, h)] + [(x, base - 40 * abs(((x * (k + 2)) % 160) - 80) / 80 - rnd.random() * 6)
                             for x in range(0, w + 8, 8)] + [(w, h)]
        draw.polygon(points, fill=colour)
    draw.rectangle([0, h * 0.86, w, h], fill=(70, 110, 150))
    im = im.filter(ImageFilter.GaussianBlur(1.2))
    px = im.load()
    for y in range(h):
        for x in range(w):
            n = rnd.randint(-6, 6)
            r, g, b = px[x, y]
            px[x, y] = (max(0, min(255, r + n)), max(0, min(255, g + n)), max(0, min(255, b + n)))
    return im


def jpeg2000(out, name, im, *options):
    """NAME written by opj_compress from IM, with the pixels opj_decompress decodes from it."""
    path = os.path.join(out, name)
    work = os.path.join(out, ".jpeg2000")
    os.makedirs(work, exist_ok=True)
    source, decoded = os.path.join(work, name + ".png"), os.path.join(work, name + ".out.png")
    im.save(source)
    quiet = dict(check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    subprocess.run(["opj_compress", "-i", source, "-o", path] + list(options), **quiet)
    subprocess.run(["opj_decompress", "-i", path, "-o", decoded], **quiet)
    with Image.open(decoded) as back:
        back.load()
        if back.mode.startswith("I"):  # 16 bits a sample: ImageMagick's rounding to 8
            raw = subprocess.run(["convert", decoded, "-depth", "8", "gray:-"], check=True, capture_output=True).stdout
            back = Image.frombytes("L", back.size, raw)
        write_expected(path, back)


def jpeg2000_samples(out):
    """Lossless and lossy, grey and colour with and without alpha, tiles, other progressions, a few sizes."""
    im, alpha = photo(), alpha_photo()
    small = ("-n", "3")  # a side of 23 pixels holds three resolutions
    jpeg2000(out, "rgb.j2k", im, *small)
    jpeg2000(out, "rgb.jp2", im, *small)
    jpeg2000(out, "grey.jp2", im.convert("L"), *small)
    jpeg2000(out, "grey_alpha.jp2", alpha.convert("LA"), *small)
    jpeg2000(out, "rgba.j2k", alpha, *small)
    jpeg2000(out, "rgba.jp2", alpha, *small)
    jpeg2000(out, "lossy.jp2", photo(160, 100), "-I", "-r", "20", "-t", "64,48", "-p", "RPCL")
    jpeg2000(out, "lossy_grey.j2c", photo(97, 61).convert("L"), "-r", "8", "-n", "4", "-b", "16,16")
    jpeg2000(out, "layers.j2k", photo(64, 64), "-r", "40,10,1", "-p", "LRCP", "-SOP", "-EPH")
    jpeg2000(out, "one.jp2", Image.new("RGB", (1, 1), (200, 30, 90)), "-n", "1")
    jpeg2000(out, "column.j2k", photo(3, 50), "-n", "2")
    deep = Image.frombytes("I;16", (W, H), bytes(v & 0xFF for i in range(W * H) for v in (i * 77, i * 77 >> 8)))
    jpeg2000(out, "deep_grey.jp2", deep, *small)
    shutil.rmtree(os.path.join(out, ".jpeg2000"))


def system_samples(out):
    """The types the system's imaging component decodes, a photo, an empty ".png", a thumbnail folder."""
    photo_im = landscape()
    small = photo()
    photo_im.save(os.path.join(out, "photo.png"))
    photo_im.save(os.path.join(out, "photo.jpg"), quality=90)
    write_expected(os.path.join(out, "small"), small)
    small.save(os.path.join(out, "small.bmp"))
    small.save(os.path.join(out, "small.png"))
    save_and_expect(out, "small.gif", small)  # Pillow's own reading: the colours GIF kept
    small.save(os.path.join(out, "small.tif"))
    save_and_expect(out, "small.jpg", small, quality=95)
    small.resize((32, 32)).save(os.path.join(out, "small.ico"), sizes=[(32, 32)])
    small.resize((256, 256)).save(os.path.join(out, "large.ico"), sizes=[(256, 256)])  # its size written as 0
    open(os.path.join(out, "empty.png"), "wb").close()
    with open(os.path.join(out, "fake.jp2"), "wb") as f:
        f.write(b"\0\0\0\x0cjP  \r\n\x87\n")
    # Shapes the image view must keep: a 2:1 picture with a square in it, and a phone's upright photo with a
    # yellow band at its top and a green one at its bottom.
    wide = Image.new("RGB", (800, 400), (30, 60, 200))
    wide.paste((220, 20, 20), (300, 100, 500, 300))
    wide.save(os.path.join(out, "two_to_one.png"))
    upright = landscape(1200, 1600)
    upright.paste((240, 220, 40), (0, 0, 1200, 100))
    upright.paste((30, 160, 60), (0, 1440, 1200, 1600))
    upright.save(os.path.join(out, "phone.png"))
    thumbs = os.path.join(out, "thumbs")
    os.makedirs(thumbs, exist_ok=True)
    photo_im.resize((400, 300)).save(os.path.join(thumbs, "slide1.gif"))
    landscape(1000, 250).save(os.path.join(thumbs, "slide2.png"))
    landscape(300, 600).save(os.path.join(thumbs, "slide3.bmp"))
    with open(os.path.join(thumbs, "notes.txt"), "w") as f:
        f.write("not a picture")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--images")  # unused: the pictures need no disk images
    parser.add_argument("--out", required=True)
    out = parser.parse_args().out
    os.makedirs(out, exist_ok=True)
    im = photo()
    palette = im.convert("P", palette=Image.ADAPTIVE, colors=64)

    save_and_expect(out, "rgb.tga", im)
    save_and_expect(out, "rgb_top_down.tga", im, orientation=1)
    save_and_expect(out, "rgb_rle.tga", im, compression="tga_rle")
    save_and_expect(out, "rgba.tga", alpha_photo())
    save_and_expect(out, "grey_rle.tga", im.convert("L"), compression="tga_rle")
    save_and_expect(out, "mapped.tga", palette)
    # Pillow widens 5-bit channels by a shift alone (31 becomes 248); ours repeats the high bits (31 is 255).
    pack_and_expect(out, "rgb16.tga", tga16(im), widened_555(im))

    save_and_expect(out, "mono.pcx", im.convert("1"))
    save_and_expect(out, "grey.pcx", im.convert("L"))
    save_and_expect(out, "mapped.pcx", palette)
    save_and_expect(out, "rgb.pcx", im)

    save_and_expect(out, "mono.pbm", im.convert("1"))
    save_and_expect(out, "grey.pgm", im.convert("L"))
    save_and_expect(out, "rgb.ppm", im)
    pack_and_expect(out, "plain_mono.pbm", plain_pnm(1, im, 1))
    pack_and_expect(out, "plain_grey.pgm", plain_pnm(2, im, 255))
    pack_and_expect(out, "plain_rgb.ppm", plain_pnm(3, im, 255))
    pack_and_expect(out, "deep.ppm", b"P6 2 1 65535\n" + bytes((0xFF, 0xFF, 0x80, 0x00, 0x00, 0x01, 0, 0, 0x7F, 0xFF, 0xFF, 0xFF)),
                    Image.frombytes("RGB", (2, 1), bytes((255, 128, 0, 0, 127, 255))))

    grey_map = bytes(range(0, 256, 32)) * 3
    colour_map = bytes((10, 200, 30, 90)) + bytes((20, 40, 250, 0)) + bytes((250, 0, 100, 60))
    pack_and_expect(out, "mono.ras", sun(im, 1))
    pack_and_expect(out, "grey.ras", sun(im, 8))
    pack_and_expect(out, "grey_map.ras", sun(im, 8, colour_map=grey_map))
    pack_and_expect(out, "mapped.ras", sun(im, 8, colour_map=colour_map))
    pack_and_expect(out, "bgr.ras", sun(im, 24))
    pack_and_expect(out, "rgb.ras", sun(im, 24, kind=3))
    # Pillow reads 32-bit Sun rasters with the pad byte last; the format puts it first (XBGR), as we read it.
    pack_and_expect(out, "xbgr.ras", sun(im, 32), im)
    # Pillow's byte-encoded reading leaves out the rows' padding: these rows need none.
    even = photo(W + 1, H)
    pack_and_expect(out, "encoded.ras", sun(even, 24, encode=True))
    pack_and_expect(out, "encoded_mapped.ras", sun(even, 8, colour_map=colour_map, encode=True))

    data, pattern = wbmp(200, 9)
    pack_and_expect(out, "pattern.wbmp", data, pattern)
    jpeg2000_samples(out)
    system_samples(out)


if __name__ == "__main__":
    main()
