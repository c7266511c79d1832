"""The database tree's images: a 16 x 16 strip of twelve on magenta, by item kind (0 the database,
2 a table, 3 the tables, 8 a relation, 9 the relations, 10 a query, 11 the queries; the others unused)."""

import canvas
import palette as p
import toolkit


def _database(sk, x):
    sk.rect([x + 3, 3.5, x + 13, 13.5], fill=p.BLUE_MID, outline=p.NAVY, width=1)
    sk.ellipse([x + 3, 11, x + 13, 15], fill=p.BLUE_MID, outline=p.NAVY, width=1)
    sk.rect([x + 3.6, 4, x + 12.4, 13], fill=p.BLUE_MID)
    sk.ellipse([x + 3, 1.5, x + 13, 5.5], fill=p.BLUE_LIGHT, outline=p.NAVY, width=1)


def _grid(sk, x):
    sk.rect([x + 1.5, 2.5, x + 14.5, 13.5], fill=p.WHITE, outline=p.NAVY, width=1)
    sk.rect([x + 1.5, 2.5, x + 14.5, 5.5], fill=p.BLUE_LIGHT, outline=p.NAVY, width=1)
    for y in (8.5, 11):
        sk.line([(x + 2, y), (x + 14, y)], p.SILVER, 1)
    sk.line([(x + 6.5, 3), (x + 6.5, 13)], p.SLATE, 1)


def _folder(badge):
    def draw(sk, x):
        sk.rect([x + 1, 3, x + 7, 6], fill=p.AMBER, outline=p.NAVY, width=1, radius=1)
        sk.rect([x + 1, 5, x + 15, 14], fill=p.AMBER_LIGHT, outline=p.NAVY, width=1, radius=1)
        badge(sk, x)
    return draw


def _relation(sk, x):
    sk.rect([x + 1, 2, x + 7, 7], fill=p.WHITE, outline=p.NAVY, width=1)
    sk.rect([x + 9, 9, x + 15, 14], fill=p.WHITE, outline=p.NAVY, width=1)
    sk.line([(x + 4, 7), (x + 4, 11.5), (x + 9, 11.5)], p.GREEN, 1.4)


def _query(sk, x):
    sk.rect([x + 2, 1.5, x + 11, 14.5], fill=p.WHITE, outline=p.NAVY, width=1)
    for y in (4.5, 7, 9.5):
        sk.line([(x + 4, y), (x + 9, y)], p.BLUE_LIGHT, 1)
    sk.ellipse([x + 7, 7, x + 13, 13], fill=p.SKY, outline=p.BLUE, width=1.3)
    sk.line([(x + 12, 12), (x + 15, 15)], p.BLUE, 1.8)


def _mini_grid(sk, x):
    sk.rect([x + 7.5, 7.5, x + 14.5, 12.5], fill=p.WHITE, outline=p.NAVY, width=1)
    sk.line([(x + 8, 9.5), (x + 14, 9.5)], p.BLUE_MID, 1)
    sk.line([(x + 10.5, 8), (x + 10.5, 12)], p.SLATE, 1)


def _mini_link(sk, x):
    sk.rect([x + 6.5, 7.5, x + 9.5, 10.5], fill=p.WHITE, outline=p.NAVY, width=1)
    sk.rect([x + 11.5, 9.5, x + 14.5, 12.5], fill=p.WHITE, outline=p.NAVY, width=1)
    sk.line([(x + 8, 10.5), (x + 8, 11.5), (x + 11.5, 11.5)], p.GREEN, 1.2)


def _mini_lens(sk, x):
    sk.ellipse([x + 7.5, 7, x + 12.5, 12], fill=p.SKY, outline=p.BLUE, width=1.2)
    sk.line([(x + 11.5, 11), (x + 14.5, 14)], p.BLUE, 1.6)


def strip():
    images = [None] * 12
    images[0] = _database
    images[2] = _grid
    images[3] = _folder(_mini_grid)
    images[8] = _relation
    images[9] = _folder(_mini_link)
    images[10] = _query
    images[11] = _folder(_mini_lens)
    return toolkit._strip(images, toolkit.MAGENTA, 16)


def build(out):
    canvas.save_bmp(strip(), out("database_tree.bmp"))
