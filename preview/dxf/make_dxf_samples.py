#!/usr/bin/python3
"""Writes the drawings the DXF tests read, with ezdxf, one per kind of entity and a floor plan that mixes
them, and beside each drawing NAME.points: what ezdxf itself makes of every entity, read back from the
written file.

A polyface or polygon mesh is recorded as ezdxf's own faces of it (3DFACEs): each face's visible edges, or the
whole face when every edge shows; a drawing seen from above, as the preview shows it.

Each record of NAME.points starts with its kind, whether the entity shows (0 when its layer is off or
frozen) and its colour index (the layer's when it is by layer; -1 when it comes from a block):
  curve SHOWN COLOUR N x1 y1 ... xN yN   the entity flattened by ezdxf's path module
  circle SHOWN COLOUR x y RADIUS         a circle of the large drawings, as ezdxf reads it back
  point SHOWN COLOUR x y
  text SHOWN COLOUR x y HEIGHT N         then N lines "line TEXT": the text without its formatting
"""
import argparse
import math
import os
import random
import re

import ezdxf
from ezdxf import bbox, path
from ezdxf.addons import r12writer
from ezdxf.enums import TextEntityAlignment
from ezdxf.math import Vec3
from PIL import ImageFont


def frame(msp, x0, y0, x1, y1, layer="0"):
    msp.add_lwpolyline([(x0, y0), (x1, y0), (x1, y1), (x0, y1)], close=True, dxfattribs={"layer": layer})


def bulges(doc):
    msp = doc.modelspace()
    msp.add_lwpolyline([(0, 0, 0), (10, 0, 0.5), (14, 4, 0), (14, 8, -0.4), (6, 8, 1), (0, 8, 0)],
                       format="xyb", close=True, dxfattribs={"color": 2})
    msp.add_polyline2d([(2, 2, 0.25), (8, 2, -1), (8, 5, 0), (2, 5, 0)], format="xyb", close=True,
                       dxfattribs={"color": 4})
    msp.add_lwpolyline([(16, 0, 1), (16, 4, 1)], format="xyb", close=True, dxfattribs={"color": 1})


def ellipses(doc):
    msp = doc.modelspace()
    msp.add_ellipse((0, 0), major_axis=(6, 0), ratio=0.5, dxfattribs={"color": 3})
    msp.add_ellipse((14, 2), major_axis=(3, 4), ratio=0.3, dxfattribs={"color": 5})
    msp.add_ellipse((4, 10), major_axis=(-5, 1), ratio=0.6, start_param=0.3, end_param=4.0,
                    dxfattribs={"color": 1})
    msp.add_ellipse((16, 10), major_axis=(0, 3), ratio=0.8, start_param=5.0, end_param=1.0,
                    dxfattribs={"color": 6})


def splines(doc):
    msp = doc.modelspace()
    msp.add_open_spline([(0, 0), (3, 6), (6, -2), (9, 5), (12, 0), (15, 4)], degree=3, dxfattribs={"color": 2})
    msp.add_open_spline([(0, 8), (4, 14), (8, 8), (12, 14)], degree=2, dxfattribs={"color": 3})
    msp.add_rational_spline([(0, 16), (4, 24), (8, 16), (12, 22), (16, 18)], [1, 4, 0.5, 2, 1], degree=3,
                            dxfattribs={"color": 4})
    msp.add_spline([(18, 0), (20, 6), (24, 4), (27, 9), (30, 3)], dxfattribs={"color": 1})


def paragraphs(doc):
    msp = doc.modelspace()
    frame(msp, -2, -12, 40, 12)
    msp.add_mtext(r"{\fArial|b1;Ground} floor\PLiving {\C1;room} 24 m\S2/3;\P%%c 80 mm, 45%%d",
                  dxfattribs={"insert": (0, 10), "char_height": 1.2, "color": 3})
    m = msp.add_mtext(r"\A1;Centred\Pon two lines", dxfattribs={"insert": (20, 0), "char_height": 1.0,
                                                                  "color": 2})
    m.dxf.attachment_point = 5
    m = msp.add_mtext(r"\LKitchen\l \H2x;and store", dxfattribs={"insert": (38, -10), "char_height": 1.0,
                                                                   "color": 4})
    m.dxf.attachment_point = 9
    msp.add_mtext("Turned", dxfattribs={"insert": (4, -8), "char_height": 1.5, "rotation": 30, "color": 5})
    # A paragraph that wraps at the width of its box.
    msp.add_mtext("The kitchen opens onto the garden through two wide doors\\Pof oak", dxfattribs={
        "insert": (12, 8), "char_height": 0.8, "width": 11, "color": 6})
    msp.add_mtext("Cupboards x", dxfattribs={"insert": (30, 8), "char_height": 0.8, "width": 2, "color": 6})


def dimensions(doc):
    msp = doc.modelspace()
    msp.add_lwpolyline([(0, 0), (12, 0), (12, 7)], dxfattribs={"color": 7})
    msp.add_linear_dim(base=(0, -3), p1=(0, 0), p2=(12, 0)).render()
    msp.add_linear_dim(base=(15, 0), p1=(12, 0), p2=(12, 7), angle=90).render()
    msp.add_circle((5, 10), 3, dxfattribs={"color": 3})
    msp.add_radius_dim(center=(5, 10), radius=3, angle=45).render()


def hatches(doc):
    msp = doc.modelspace()
    h = msp.add_hatch(color=3)
    h.paths.add_polyline_path([(0, 0, 0), (8, 0, 0.4), (8, 6, 0), (0, 6, -0.3)], is_closed=True)
    h = msp.add_hatch(color=5)
    edges = h.paths.add_edge_path()
    edges.add_line((12, 0), (20, 0))
    edges.add_arc((20, 3), 3, -90, 90, ccw=True)
    edges.add_line((20, 6), (16, 6))
    edges.add_ellipse((14, 6), (2, 0), 0.5, 0, 180, ccw=True)
    edges.add_line((12, 6), (12, 4))
    edges.add_spline(control_points=[(12, 4), (10, 3), (14, 2), (12, 0)], knot_values=[0, 0, 0, 0, 1, 1, 1, 1],
                     degree=3)
    h = msp.add_hatch(color=1)
    edges = h.paths.add_edge_path()
    edges.add_arc((4, 12), 3, 0, 180, ccw=False)
    edges.add_line((1, 12), (7, 12))
    h = msp.add_hatch(color=6)
    edges = h.paths.add_edge_path()
    edges.add_arc((16, 12), 2.5, 0, 360, ccw=True)


def solids(doc):
    msp = doc.modelspace()
    msp.add_solid([(0, 0), (6, 0), (0, 4), (6, 5)], dxfattribs={"color": 1})
    msp.add_solid([(8, 0), (14, 1), (10, 5)], dxfattribs={"color": 2})
    msp.add_3dface([(0, 8), (6, 8), (7, 13), (1, 12)], dxfattribs={"color": 3})
    msp.add_3dface([(9, 8), (14, 9), (11, 13)], dxfattribs={"color": 4})


def attributes(doc):
    msp = doc.modelspace()
    block = doc.blocks.new("TAGGED")
    block.add_lwpolyline([(0, 0), (4, 0), (4, 2), (0, 2)], close=True)
    block.add_attdef("ROOM", (0.3, 0.5), dxfattribs={"height": 0.8})
    block.add_attdef("AREA", (0.3, -1.2), dxfattribs={"height": 0.5})
    for i, (room, area) in enumerate([("Hall", "6 m2"), ("Study", "11 m2"), ("Bath", "5 m2")]):
        ref = msp.add_blockref("TAGGED", (i * 6, i * 2), dxfattribs={"color": 2 + i})
        ref.add_auto_attribs({"ROOM": room, "AREA": area})
    hidden = msp.add_blockref("TAGGED", (0, 8))
    hidden.add_attrib("ROOM", "Secret", (0.3, 8.5), dxfattribs={"height": 0.8}).is_invisible = True
    hidden.add_attrib("AREA", "Shown", (0.3, 6.8), dxfattribs={"height": 0.5,
                                                             "halign": 1}).dxf.align_point = (2, 6.8)


def references(doc):
    msp = doc.modelspace()
    block = doc.blocks.new("SHAPES", base_point=(1, 1))
    block.add_arc((2, 2), 1.5, 20, 160)
    block.add_ellipse((5, 2), major_axis=(1.5, 0.5), ratio=0.5, start_param=0.5, end_param=4.5)
    block.add_lwpolyline([(0, 4, 0.6), (3, 4, -0.3), (5, 5, 0)], format="xyb")
    block.add_open_spline([(0, 6), (2, 8), (4, 5), (6, 7)])
    block.add_solid([(7, 0), (8, 0), (7, 1), (8, 1.5)])
    msp.add_blockref("SHAPES", (0, 0))
    msp.add_blockref("SHAPES", (14, 0), dxfattribs={"rotation": 30, "xscale": 1.5, "yscale": 1.5})
    msp.add_blockref("SHAPES", (10, 12), dxfattribs={"xscale": -1})
    msp.add_blockref("SHAPES", (22, 12), dxfattribs={"xscale": -1, "yscale": -1, "rotation": 15})
    msp.add_blockref("SHAPES", (24, 14), dxfattribs={"yscale": -2, "xscale": 2, "rotation": 100})
    # Stretched: circles and arcs become ellipses.
    msp.add_blockref("SHAPES", (30, 0), dxfattribs={"xscale": 2, "yscale": 0.8, "rotation": 20})
    msp.add_blockref("SHAPES", (34, 14), dxfattribs={"xscale": -0.7, "yscale": 1.6})


def mirrored(doc):
    """Entities drawn from the back of their plane, as mirroring leaves them: their extrusion points down."""
    msp = doc.modelspace()
    back = {"extrusion": (0, 0, -1)}
    msp.add_arc((3, 2), 2, 10, 120, dxfattribs=dict(back, color=1))
    msp.add_circle((8, 2), 1.5, dxfattribs=dict(back, color=2))
    msp.add_lwpolyline([(0, 6, 0.4), (5, 6, 0), (5, 9, -0.7), (0, 9, 0)], format="xyb", close=True,
                       dxfattribs=dict(back, color=3))
    msp.add_ellipse((-12, 2), major_axis=(2, 1), ratio=0.5, start_param=0.2, end_param=2.0,
                    dxfattribs=dict(back, color=4))
    msp.add_solid([(10, 6), (13, 6), (10, 9)], dxfattribs=dict(back, color=5))
    h = msp.add_hatch(color=6, dxfattribs=back)
    h.paths.add_polyline_path([(14, 0, 0.5), (18, 0, 0), (18, 3, 0)], is_closed=True)
    block = doc.blocks.new("ARCS")
    block.add_arc((0, 0), 1, 0, 135)
    block.add_line((0, 0), (2, 1))
    msp.add_blockref("ARCS", (6, -4), dxfattribs=dict(back, rotation=30))


def layers(doc):
    msp = doc.modelspace()
    doc.layers.add("WALLS", color=7)
    doc.layers.add("FROZEN", color=1).freeze()
    doc.layers.add("OFF", color=3).off()
    doc.layers.add("NOTES", color=4)
    frame(msp, 0, 0, 30, 20, "WALLS")
    msp.add_line((2, 2), (28, 2), dxfattribs={"layer": "NOTES"})
    msp.add_circle((8, 10), 4, dxfattribs={"layer": "FROZEN"})
    msp.add_lwpolyline([(16, 6), (26, 6), (26, 14), (16, 14)], close=True, dxfattribs={"layer": "OFF"})
    msp.add_text("hidden", dxfattribs={"layer": "OFF", "height": 1, "insert": (17, 10)})
    block = doc.blocks.new("MARK")
    block.add_line((-1, -1), (1, 1))  # layer 0: takes the reference's layer
    block.add_line((-1, 1), (1, -1), dxfattribs={"layer": "NOTES"})
    msp.add_blockref("MARK", (6, 17), dxfattribs={"layer": "FROZEN"})  # all of it hidden
    msp.add_blockref("MARK", (14, 17), dxfattribs={"layer": "OFF"})  # only the line on layer 0 hidden
    msp.add_blockref("MARK", (22, 17), dxfattribs={"layer": "WALLS"})


def layouts(doc):
    """A model and, on the paper of its layout, a title block: the paper is not drawn over the model."""
    msp = doc.modelspace()
    msp.add_circle((10, 10), 6, dxfattribs={"color": 3})
    msp.add_text("Model", dxfattribs={"height": 1.5, "insert": (6, 9)})
    paper = doc.layout("Layout1")
    paper.add_lwpolyline([(0, 0), (297, 0), (297, 210), (0, 210)], close=True)
    paper.add_line((200, 0), (200, 30))
    paper.add_text("Title block", dxfattribs={"height": 5, "insert": (205, 10)})


def codepage(doc):
    """A drawing of 2000, whose texts are bytes of the Cyrillic code page its header names, and a text that
    writes a character by its code."""
    doc.encoding = "cp1251"
    msp = doc.modelspace()
    msp.add_line((0, 0), (20, 0))
    msp.add_circle((16, 5), 3)
    msp.add_text("\u0423\u043b\u0438\u0446\u0430 \u0421\u0430\u0434\u043e\u0432\u0430\u044f",  # Garden Street
                 dxfattribs={"height": 1, "insert": (0, 1)})
    msp.add_mtext("\u041a\u0443\u0445\u043d\u044f\\P\u0421\u043f\u0430\u043b\u044c\u043d\u044f",  # kitchen, bedroom
                  dxfattribs={"insert": (0, 6), "char_height": 1})
    msp.add_text("Caf\\U+00e9 No\\U+2116", dxfattribs={"height": 1, "insert": (0, 8)})


def tilted(x, y, z, at=(0.0, 0.0), turn=30.0, tilt=55.0):
    """A point of a model turned about its z axis, tipped towards the viewer about x and moved to at: seen from
    above, as a 3D export drawn in plan shows it."""
    t, u = math.radians(turn), math.radians(tilt)
    x, y = x * math.cos(t) - y * math.sin(t), x * math.sin(t) + y * math.cos(t)
    y, z = y * math.cos(u) - z * math.sin(u), y * math.sin(u) + z * math.cos(u)
    return (at[0] + x, at[1] + y, z)


HOUSE_CORNERS = [(0, 0, 0), (8, 0, 0), (8, 6, 0), (0, 6, 0), (0, 0, 5), (8, 0, 5), (8, 6, 5), (0, 6, 5), (4, 0, 8),
                 (4, 6, 8)]
# Walls as two triangles each, as exporters write quadrilaterals, the diagonal between them hidden; the floor and
# the roof's slopes as quadrilaterals, the gables as triangles. Indexes into HOUSE_CORNERS; a negative one hides
# the edge from that corner to the next.
HOUSE_FACES = [(0, 1, 2, 3), (0, 1, -5), (1, 5, -4), (1, 2, -6), (2, 6, -5), (2, 3, -7), (3, 7, -6), (3, 0, -4),
               (0, 4, -7), (4, 5, 8), (7, 6, 9), (4, 8, 9, 7), (5, 6, 9, 8)]


def house(faces_of, at, turn):
    corners = [tilted(*c, at=at, turn=turn) for c in HOUSE_CORNERS]
    face_list = [[corners[abs(i)] for i in face] for face in HOUSE_FACES]
    mesh = faces_of(face_list)
    # Hide the edges that start at a negative index (ezdxf writes every edge visible).
    for face, (*_, record) in zip(HOUSE_FACES, mesh.faces()):
        for k, index in enumerate(face):
            if index < 0:
                name = "vtx%d" % k
                record.dxf.set(name, -abs(record.dxf.get(name)))
    return mesh


def polyface(doc):
    """Polyface meshes as 3D exports write them: a house in the model, one in a block referenced turned and
    scaled, and a 3D polyline beside them; far from the origin, where face records' zeros would show."""
    msp = doc.modelspace()
    house(lambda faces: _append(msp.add_polyface(dxfattribs={"color": 3}), faces), (60, 40), 30)
    block = doc.blocks.new("HOUSE")
    house(lambda faces: _append(block.add_polyface(), faces), (0, 0), 0)
    msp.add_blockref("HOUSE", (85, 30), dxfattribs={"rotation": 60, "xscale": 0.8, "yscale": 0.8, "zscale": 0.8,
                                                     "color": 5})
    msp.add_polyline3d([tilted(0, 0, 0, (50, 25)), tilted(20, 0, 0, (50, 25)), tilted(20, 0, 6, (50, 25)),
                        tilted(30, 4, 9, (50, 25))], dxfattribs={"color": 2})


def _append(mesh, faces):
    mesh.append_faces(faces)
    mesh.optimize()  # shared corners once, as exports write them
    return mesh


def polymesh(doc):
    """M x N polygon meshes: a ring closed both ways and a rolling surface open both ways, tipped towards the
    viewer, far from the origin."""
    msp = doc.modelspace()
    m, n = 24, 10
    ring = msp.add_polymesh(size=(m, n), dxfattribs={"color": 4})
    for i in range(m):
        for j in range(n):
            a, b = 2 * math.pi * i / m, 2 * math.pi * j / n
            radius = 10 + 3 * math.cos(b)
            ring.set_mesh_vertex((i, j), tilted(radius * math.cos(a), radius * math.sin(a), 3 * math.sin(b), (120, 80)))
    ring.close(True, True)
    m, n = 8, 12
    surface = msp.add_polymesh(size=(m, n), dxfattribs={"color": 2})
    for i in range(m):
        for j in range(n):
            surface.set_mesh_vertex((i, j), tilted(2.5 * j, 2.5 * i, 2 * math.sin(j / 2) * math.cos(i / 3),
                                                   (140, 60), turn=-20))


def marked(doc):
    """A drawing whose file begins with a UTF-8 byte-order mark, as some editors and converters save it; its
    text beyond ASCII is UTF-8 whatever its version (its header names code page 1252)."""
    doc.encoding = "utf-8"
    msp = doc.modelspace()
    msp.add_circle((10, 10), 6, dxfattribs={"color": 3})
    msp.add_line((0, 0), (20, 0))
    msp.add_text("Caf\u00e9 \u0423\u043b\u0438\u0446\u0430", dxfattribs={"height": 1.5, "insert": (2, 2)})


def plan(doc):
    msp = doc.modelspace()
    doc.layers.add("WALLS", color=7)
    doc.layers.add("FURNITURE", color=4)
    doc.layers.add("TEXT", color=3)
    doc.layers.add("DIMENSIONS", color=8)
    doc.layers.add("GRID", color=9).freeze()
    doc.layers.add("CONSTRUCTION", color=1).off()
    walls, furniture, notes = {"layer": "WALLS"}, {"layer": "FURNITURE"}, {"layer": "TEXT"}
    msp.add_lwpolyline([(0, 0), (12, 0), (12, 8), (0, 8)], close=True, dxfattribs=walls)
    msp.add_lwpolyline([(-0.2, -0.2), (12.2, -0.2), (12.2, 8.2), (-0.2, 8.2)], close=True, dxfattribs=walls)
    msp.add_line((7, 0), (7, 3), dxfattribs=walls)
    msp.add_line((7, 4), (7, 8), dxfattribs=walls)
    msp.add_line((7, 5), (9, 5), dxfattribs=walls)
    msp.add_line((10, 5), (12, 5), dxfattribs=walls)
    door = doc.blocks.new("DOOR")
    door.add_line((0, 0), (0.9, 0))
    door.add_arc((0, 0), 0.9, 0, 90)
    msp.add_blockref("DOOR", (7, 3), dxfattribs={"layer": "WALLS", "color": 2})
    msp.add_blockref("DOOR", (10, 5), dxfattribs={"layer": "WALLS", "color": 2, "rotation": 90})
    # A bay window: a polyline with an arc.
    msp.add_lwpolyline([(2, 8, 0), (2, 8.5, -0.25), (5, 8.5, 0), (5, 8, 0)], format="xyb", dxfattribs=walls)
    # A round table and a sofa.
    msp.add_ellipse((3.5, 4.6), major_axis=(1.3, 0), ratio=0.6, dxfattribs=furniture)
    msp.add_lwpolyline([(0.4, 0.4, 0), (3.2, 0.4, 0.1), (3.2, 1.4, 0.15), (0.4, 1.4, 0.1)], format="xyb",
                       close=True, dxfattribs=furniture)
    # A plant, a rug and a kitchen counter.
    msp.add_spline([(9.2, 1.6), (9.6, 2.4), (10.4, 2.2), (10.8, 3.0)], dxfattribs=furniture)
    msp.add_open_spline([(1, 2.8), (1.8, 3.6), (2.6, 2.6), (3.4, 3.6), (4.2, 2.8)], dxfattribs=furniture)
    hatch = msp.add_hatch(color=5, dxfattribs=furniture)
    hatch.paths.add_polyline_path([(7.2, 0.2), (11.8, 0.2), (11.8, 0.9), (7.2, 0.9)], is_closed=True)
    msp.add_solid([(10.3, 6.0), (11.6, 6.0), (10.3, 7.6), (11.6, 7.6)], dxfattribs={"layer": "FURNITURE",
                                                                                   "color": 6})
    msp.add_3dface([(7.6, 5.6), (9.4, 5.6), (9.4, 7.6), (7.6, 7.6)], dxfattribs=furniture)
    # Labels, a tagged room and a dimension.
    msp.add_text("Kitchen", dxfattribs={"layer": "TEXT", "height": 0.45, "insert": (8.0, 2.0)})
    msp.add_mtext(r"Living {\C1;room}\P{\H0.7x;24.5 m%%p}", dxfattribs={"layer": "TEXT", "insert": (0.6, 7.4),
                                                                  "char_height": 0.4})
    tag = doc.blocks.new("TAG")
    tag.add_circle((0, 0), 0.35)
    tag.add_attdef("NAME", (0.5, -0.2), dxfattribs={"height": 0.4})
    ref = msp.add_blockref("TAG", (7.6, 4.4), dxfattribs=notes)
    ref.add_auto_attribs({"NAME": "Bedroom"})
    msp.add_linear_dim(base=(0, -1.2), p1=(0, -0.2), p2=(12, -0.2), override={"dimtxt": 0.35, "dimasz": 0.25},
                       dxfattribs={"layer": "DIMENSIONS"}).render()
    # Hidden layers: a grid that is frozen and construction lines that are off.
    for x in (1, 3, 5):
        msp.add_line((x, 2.15), (x, 2.45), dxfattribs={"layer": "GRID"})
    msp.add_circle((5.2, 2.0), 0.4, dxfattribs={"layer": "CONSTRUCTION"})


STREET_WORDS = ["Oak", "Mill", "Church", "Station", "Chestnut", "Harbour", "Meadow", "Castle", "Willow", "Quarry",
                "Orchard", "Bridge", "Market", "Forge", "Heath", "Abbey", "Linden", "Garden", "Beacon", "Ferry"]
STREET_KINDS = ["Street", "Road", "Lane", "Avenue", "Way", "Row"]


def streets(path, count=1500, seed=1):
    """A town map as map exports write it (R12): each street a polyline running its own way, its name along it
    at the street's own angle, centred on the street; major streets drawn and named larger."""
    rnd = random.Random(seed)
    doc = ezdxf.new("R12")
    msp = doc.modelspace()
    doc.layers.add("STREETS", color=7)
    doc.layers.add("MAJOR", color=2)
    doc.layers.add("NAMES", color=3)
    width, height = 6000.0, 4000.0
    for i in range(count):
        major = i % 5 == 0
        angle = rnd.uniform(-90, 90)
        a, length = math.radians(angle), rnd.uniform(250, 600) * (1.5 if major else 1)
        x, y = rnd.uniform(0, width), rnd.uniform(0, height)
        bend = rnd.uniform(-0.1, 0.1)
        points = [(x + length * t * math.cos(a) - length * bend * t * (1 - t) * math.sin(a),
                   y + length * t * math.sin(a) + length * bend * t * (1 - t) * math.cos(a)) for t in (0, 0.5, 1)]
        msp.add_polyline2d(points, dxfattribs={"layer": "MAJOR" if major else "STREETS"})
        name = f"{STREET_WORDS[i % 20]} {STREET_KINDS[(i // 20) % 6]} {i // 120 + 1}"
        middle = points[1]
        msp.add_text(name, height=70 if major else 50, rotation=angle, dxfattribs={"layer": "NAMES"}).set_placement(
            middle, align=TextEntityAlignment.MIDDLE_CENTER)
    doc.saveas(path)


def circles(path, count=105738, seed=2):
    """A survey of a wood, written by ezdxf's fast writer as survey exports write it (its entities alone, no
    header): each tree a circle of its crown where it stands, crowns overlapping. 4.6 MB, under the preview's
    limit."""
    rnd = random.Random(seed)
    with r12writer(path) as out:
        for _ in range(count):
            radius = rnd.choice((1.5, 2.5, 3.5, 5.0, 7.0))
            out.add_circle((round(rnd.uniform(0, 330), 2), round(rnd.uniform(0, 290), 2)), radius,
                           layer="OLD TREES" if radius > 4 else "TREES")


DRAWINGS = {
    "bulges": bulges, "ellipses": ellipses, "splines": splines, "paragraphs": paragraphs,
    "dimensions": dimensions, "hatches": hatches, "solids": solids, "attributes": attributes,
    "references": references, "mirrored": mirrored,
    "layers": layers, "plan": plan, "layouts": layouts, "codepage": codepage,
    "polyface": polyface, "polymesh": polymesh, "marked": marked,
}
VERSIONS = {"codepage": "R2000", "marked": "R2000"}
# Written with a UTF-8 byte-order mark before their first group.
MARKED = {"marked"}
# Drawings of ordinary size, each written to a path with so many entities: their records give each circle by
# its centre and radius rather than by ezdxf's flattening, which would take minutes and 250 MB.
LARGE_DRAWINGS = {"streets": (streets, 1500), "circles": (circles, 105738)}


ARIAL = "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"  # Wine draws it for Arial


def wrap(line, height, width):
    """The line broken between words where a paragraph of this width breaks it, measured by FreeType in the
    font the preview paints with."""
    font = ImageFont.truetype(ARIAL, 1000)
    lines = []
    for word in line.split(" "):
        joined = lines[-1] + " " + word if lines else word
        if lines and font.getlength(joined) * height / 1000 <= width:
            lines[-1] = joined
        else:
            lines.append(word)
    return lines


class Oracle:
    def __init__(self, doc, compact=False):
        self.doc = doc
        self.records = []
        self.size = 1.0
        self.compact = compact

    def layer(self, name):
        return self.doc.layers.get(name) if self.doc.layers.has_entry(name) else None

    def hidden(self, name):
        layer = self.layer(name)
        return layer is not None and (layer.is_off() or layer.is_frozen())

    def colour(self, e):
        c = e.dxf.get("color", 256)
        if c == 256:
            layer = self.layer(e.dxf.layer)
            c = abs(layer.color) if layer is not None else 7
        return 7 if c == 0 else c

    def add(self, e, shown, colour):
        kind = e.dxftype()
        if kind in ("TEXT", "ATTRIB"):
            if kind == "ATTRIB" and e.is_invisible:
                return
            at = e.dxf.insert if e.get_align_enum() == TextEntityAlignment.LEFT else e.dxf.align_point
            self.text(shown, colour, at, e.dxf.height, [e.plain_text()])
        elif kind == "MTEXT":
            lines = e.plain_text().split("\n")
            if e.dxf.get("width", 0) > 0:
                lines = [part for line in lines for part in wrap(line, e.dxf.char_height, e.dxf.width)]
            self.text(shown, colour, e.dxf.insert, e.dxf.char_height, lines)
        elif kind == "POINT":
            self.records.append(f"point {shown} {colour} {e.dxf.location.x!r} {e.dxf.location.y!r}")
        elif kind in ("INSERT", "DIMENSION"):
            # A reference on a frozen layer hides all of it; on a layer that is off, what it holds on layer
            # "0" (which takes the reference's layer).
            frozen = self.layer(e.dxf.layer) is not None and self.layer(e.dxf.layer).is_frozen()
            for inner in e.virtual_entities():
                layer = e.dxf.layer if inner.dxf.layer == "0" else inner.dxf.layer
                self.add(inner, int(not frozen and not self.hidden(layer)), -1)
            if kind == "INSERT":
                for attrib in e.attribs:
                    self.add(attrib, int(shown and not self.hidden(attrib.dxf.layer)), self.colour(attrib))
        elif kind == "HATCH":
            for p in path.from_hatch(e):
                self.curve(shown, colour, p)
        elif kind in ("ATTDEF",):
            return
        elif kind == "POLYLINE" and e.is_poly_face_mesh:
            # ezdxf's own faces: the corners their indexes name; a negative index hides the edge from its corner.
            for *corners, record in e.faces():
                indexes = [record.dxf.get("vtx%d" % k, 0) for k in range(len(corners))]
                self.face(shown, colour, [v.dxf.location for v in corners], [i > 0 for i in indexes])
        elif kind == "POLYLINE" and e.is_polygon_mesh:
            for face in e.virtual_entities():  # ezdxf's 3DFACEs of the grid's cells, every edge shown
                self.face(shown, colour, list(face.wcs_vertices()), [True] * 4)
        elif kind == "CIRCLE" and self.compact:
            c = e.dxf.center
            self.records.append(f"circle {shown} {colour} {c.x!r} {c.y!r} {e.dxf.radius!r}")
        else:
            self.curve(shown, colour, path.make_path(e))

    def text(self, shown, colour, at, height, lines):
        lines = [re.sub(r"\\U\+([0-9A-Fa-f]{4})", lambda m: chr(int(m[1], 16)), line) for line in lines]
        self.records.append(f"text {shown} {colour} {at.x!r} {at.y!r} {height!r} {len(lines)}")
        self.records.extend(f"line {line}" for line in lines)

    def face(self, shown, colour, corners, visible):
        """A face's edges seen from above: the whole face when every edge shows, else each edge that does."""
        if all(visible):
            self.points(shown, colour, corners + corners[:1])
            return
        for k, edge_visible in enumerate(visible):
            if edge_visible:
                self.points(shown, colour, [corners[k], corners[(k + 1) % len(corners)]])

    def points(self, shown, colour, points):
        numbers = " ".join(f"{v.x!r} {v.y!r}" for v in points)
        self.records.append(f"curve {shown} {colour} {len(points)} {numbers}")

    def curve(self, shown, colour, p):
        self.points(shown, colour, list(p.flattening(self.size / 4000)))


def write(name, make, out, version="R2010"):
    doc = ezdxf.new(version, setup=True)
    make(doc)
    file = os.path.join(out, name + ".dxf")
    doc.saveas(file)
    if name not in MARKED:
        record(file, Oracle(ezdxf.readfile(file)))
        return
    with open(file, "rb") as f:
        data = f.read()
    with open(file, "wb") as f:
        f.write(b"\xef\xbb\xbf" + data)
    # ezdxf's file reader refuses the mark: it reads the text after it, as UTF-8.
    with open(file, encoding="utf-8-sig") as f:
        record(file, Oracle(ezdxf.read(f)))


def write_large(name, make, out, count):
    file = os.path.join(out, name + ".dxf")
    make(file, count)
    record(file, Oracle(ezdxf.readfile(file), compact=True))


def record(file, oracle):
    """NAME.points beside NAME.dxf: what ezdxf makes of the drawing it reads back."""
    msp = oracle.doc.modelspace()
    box = bbox.extents(msp)
    oracle.size = max(box.size.x, box.size.y) if box.has_data else 1.0
    for e in msp:
        oracle.add(e, int(not oracle.hidden(e.dxf.layer)), oracle.colour(e))
    with open(file[:-len(".dxf")] + ".points", "w", encoding="utf-8") as f:
        f.write("\n".join(oracle.records) + "\n")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--out", required=True)
    parser.add_argument("--bench", action="store_true", help="the large drawings at a quarter of their size and "
                        "whole (NAME-quarter.dxf, NAME-full.dxf) for the growth benchmark")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    if args.bench:
        for name, (make, count) in LARGE_DRAWINGS.items():
            for suffix, part in (("quarter", count // 4), ("full", count)):
                write_large(f"{name}-{suffix}", make, args.out, part)
        return
    for name, make in DRAWINGS.items():
        write(name, make, args.out, VERSIONS.get(name, "R2010"))
    for name, (make, count) in LARGE_DRAWINGS.items():
        write_large(name, make, args.out, count)


if __name__ == "__main__":
    main()
