"""Carving samples: real files of the types that signature search looks for, made here with ImageMagick, zip and
two small writers (PDF, compound file)."""

import os

import cfb
from util import FIXED_EPOCH, fresh_dir, pseudo_bytes, run, text_bytes


def _image(work, name, size, seed):
    path = os.path.join(work, name)
    target = "BMP3:" + path if name.endswith(".bmp") else path
    run(["convert", "-seed", seed, "-size", size, "plasma:fractal", "-strip", "-depth", "8",
         "-define", "png:exclude-chunks=date,time", target])
    with open(path, "rb") as f:
        return f.read()


def pdf(title, lines):
    """A one-page PDF whose cross-reference table points at its real object offsets."""
    text = "BT /F1 10 Tf 20 780 Td 12 TL " + " ".join(f"({l}) '" for l in lines) + " ET"
    objects = [
        b"<< /Type /Catalog /Pages 2 0 R >>",
        b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 4 0 R "
        b"/Resources << /Font << /F1 5 0 R >> >> >>",
        f"<< /Length {len(text)} >>\nstream\n{text}\nendstream".encode(),
        b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
        f"<< /Title ({title}) /Producer (image generator) >>".encode(),
    ]
    out = bytearray(b"%PDF-1.4\n%\xe2\xe3\xcf\xd3\n")
    offsets = []
    for i, body in enumerate(objects, 1):
        offsets.append(len(out))
        out += f"{i} 0 obj\n".encode() + body + b"\nendobj\n"
    xref = len(out)
    out += f"xref\n0 {len(objects) + 1}\n0000000000 65535 f \n".encode()
    for off in offsets:
        out += f"{off:010d} 00000 n \n".encode()
    out += f"trailer\n<< /Size {len(objects) + 1} /Root 1 0 R /Info 6 0 R >>\nstartxref\n{xref}\n%%EOF\n".encode()
    return bytes(out)


def _zip(work):
    src = fresh_dir(os.path.join(work, "zipsrc"))
    members = (("inside one.txt", text_bytes("inside one", 3000)), ("inside two.bin", pseudo_bytes("two", 5000)))
    for name, data in members:
        p = os.path.join(src, name)
        with open(p, "wb") as f:
            f.write(data)
        os.utime(p, (FIXED_EPOCH, FIXED_EPOCH))
    out = os.path.join(work, "archive.zip")
    if os.path.exists(out):
        os.remove(out)
    run(["zip", "-X", "-q", "-D", out, "inside one.txt", "inside two.bin"], cwd=src)
    with open(out, "rb") as f:
        return f.read()


def _office(kind, app):
    main = {"doc": "WordDocument", "xls": "Workbook", "ppt": "PowerPoint Document"}[kind]
    return cfb.write([
        ("\x05SummaryInformation", cfb.summary_information(f"A {kind} sample", app)),
        (main, text_bytes(main, 6000)),
    ])


def make(work):
    """[(file name on the volume, bytes, type, valid, deleted, note)] in the order they are written."""
    work = fresh_dir(os.path.join(work, "samples"))
    jpeg = _image(work, "a.jpg", "200x150", 7)
    png = _image(work, "b.png", "160x120", 8)
    gif = _image(work, "c.gif", "120x90", 9)
    bmp = _image(work, "d.bmp", "60x40", 10)
    doc = pdf("Carving sample", [f"Line {i} of a sample document" for i in range(1, 40)])
    return [
        ("Picture one.jpg", jpeg, "jpg", True, False, ""),
        ("Deleted picture.png", png, "png", True, True, ""),
        ("Animation.gif", gif, "gif", True, False, ""),
        ("Deleted bitmap.bmp", bmp, "bmp", True, True, ""),
        ("Report.pdf", doc, "pdf", True, False, ""),
        ("Deleted archive.zip", _zip(work), "zip", True, True, ""),
        ("Letter.doc", _office("doc", "Microsoft Office Word"), "doc", True, False,
         "compound file; application name Microsoft Office Word"),
        ("Deleted sheet.xls", _office("xls", "Microsoft Excel"), "xls", True, True,
         "compound file; application name Microsoft Excel"),
        ("Slides.ppt", _office("ppt", "Microsoft Office PowerPoint"), "ppt", True, False,
         "compound file; application name Microsoft Office PowerPoint"),
        ("Truncated picture.jpg", jpeg[:2000], "jpg", False, False, "JPEG cut short: no end marker"),
        ("Embedded picture.bin", text_bytes("prefix", 100) + png, "png", True, False,
         "PNG 100 bytes into the file: its signature is not at a sector start"),
        ("Plain notes.txt", text_bytes("Plain notes", 3000), "txt", True, False, "no signature"),
    ]
