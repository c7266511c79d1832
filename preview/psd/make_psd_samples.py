#!/usr/bin/python3
"""Writes Photoshop files with ImageMagick's convert, each with the composite ImageMagick itself decodes from it.

Pictures by Pillow (photo-like, odd sizes, a wide one with long runs) go through `convert` as RGB, greyscale
and CMYK, 8 and 16 bits, PackBits (ImageMagick's default) and raw, with an alpha channel and with layers of
their own, and indexed. Each sample NAME.psd comes with NAME.psd.rgb: the width and height (32-bit little-endian) and the
composite's pixels as ImageMagick reads them (`convert NAME.psd[0]`), RGB triples at 8 bits, rows from the top.
ImageMagick writes a colour composite with alpha unblended but reads one as blended with white: its colours
are read back as stored (psd:alpha-unblend=off), which is how the preview draws them.
Usage: make_psd_samples.py --out DIR
"""
import argparse
import os
import shutil
import struct
import subprocess

from PIL import Image, ImageDraw


def photo(w, h):
    """Gradients, a disc and texture: every sample value differs from its neighbours somewhere."""
    im = Image.new("RGB", (w, h))
    px = im.load()
    for y in range(h):
        for x in range(w):
            r, g, b = (x * 255) // max(1, w - 1), (y * 255) // max(1, h - 1), ((x * 7 + y * 13) * 5) % 256
            if (x - w // 2) ** 2 + (y - h // 2) ** 2 < (h // 3) ** 2:
                r, g, b = 250 - g // 2, 200, (40 + x) % 256
            px[x, y] = (r, g, b)
    return im


def flat(w, h):
    """Bands of one colour and a white field: runs far longer than one PackBits run holds."""
    im = Image.new("RGB", (w, h), (255, 255, 255))
    draw = ImageDraw.Draw(im)
    for k, colour in enumerate([(200, 30, 40), (20, 120, 220), (0, 0, 0), (250, 240, 10)]):
        draw.rectangle([k * w // 5, 0, k * w // 5 + w // 8, h - 1], fill=colour)
    draw.line([(0, h // 2), (w - 1, h // 3)], fill=(90, 200, 90), width=3)
    return im


def convert(args):
    return subprocess.run(["convert"] + args, check=True, capture_output=True).stdout


def save(work, name, im):
    path = os.path.join(work, name + ".png")
    im.save(path)
    return path


def write(out, name, size, inputs, *options, alpha=False, reference=None):
    """NAME.psd written by convert from the inputs (the first picture the composite), and its decoded composite
    (or ImageMagick's reading of the reference picture)."""
    psd = os.path.join(out, name + ".psd")
    convert(list(inputs) + list(options) + [psd])
    read = ["-define", "psd:alpha-unblend=off"] if alpha else []
    rgb = convert(read + [reference or psd + "[0]", "-alpha", "off", "-depth", "8", "rgb:-"])
    if len(rgb) != 3 * size[0] * size[1]:
        raise SystemExit(f"{name}: ImageMagick read {len(rgb)} bytes of pixels")
    with open(psd + ".rgb", "wb") as f:
        f.write(struct.pack("<II", *size) + rgb)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--out", required=True)
    out = parser.parse_args().out
    work = os.path.join(out, ".work")
    os.makedirs(work, exist_ok=True)
    im = photo(37, 23)
    size, source, wide = im.size, save(work, "photo", im), save(work, "wide", flat(301, 40))
    raw = ("-compress", "none")
    for depth in (8, 16):
        bits = ("-depth", str(depth))
        write(out, f"rgb{depth}_rle", size, [source], *bits)
        write(out, f"rgb{depth}_raw", size, [source], *bits, *raw)
        write(out, f"grey{depth}_rle", size, [source], "-colorspace", "Gray", *bits)
        write(out, f"grey{depth}_raw", size, [source], "-colorspace", "Gray", *bits, *raw)
        write(out, f"cmyk{depth}_rle", size, [source], "-colorspace", "CMYK", *bits)
        write(out, f"cmyk{depth}_raw", size, [source], "-colorspace", "CMYK", *bits, *raw)
    write(out, "wide_rle", (301, 40), [wide])
    write(out, "wide_cmyk_rle", (301, 40), [wide], "-colorspace", "CMYK")
    alpha = im.convert("RGBA")
    alpha.putalpha(Image.linear_gradient("L").resize(size))
    transparent = save(work, "alpha", alpha)
    write(out, "rgba_rle", size, [transparent], alpha=True)
    write(out, "rgba16_raw", size, [transparent], "-depth", "16", *raw, alpha=True)
    write(out, "grey_alpha_rle", size, [save(work, "grey_alpha", alpha.convert("LA"))], alpha=True)
    # Three layers of other sizes, one with alpha, under the composite; then placed apart.
    layers = [save(work, "layer1", photo(20, 11)), save(work, "layer2", flat(30, 9).convert("RGBA")),
              save(work, "layer3", photo(7, 5))]
    write(out, "layers_rle", size, [source] + layers)
    placed = [a for page, layer in zip(["+3+2", "+0+10", "+25+15"], layers) for a in ("-page", page, layer)]
    write(out, "layers_placed_raw", size, [source] + placed, *raw)
    # ImageMagick refuses the indexed files it writes (without the optional index count): their pixels are
    # its reading of the palette picture they were written from.
    indexed = save(work, "indexed", flat(301, 40).convert("P", palette=Image.ADAPTIVE, colors=8))
    write(out, "indexed_rle", (301, 40), [indexed], reference=indexed)
    write(out, "indexed_raw", (301, 40), [indexed], *raw, reference=indexed)
    shutil.rmtree(work)


if __name__ == "__main__":
    main()
