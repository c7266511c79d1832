"""Damaged and hostile ".html" pages for the preview benchmark, and one good page.

    files() -> [(name, bytes)]

Each hostile page repeats one construct that once made the page viewer's work grow with the square of the
page: unclosed style and title tags, titles whose one close is far away, tabs on one preformatted line,
nested attributed blocks and blocks of alternating alignment nested past the cap, body tags and divs left
without their ">", selects that are never closed and tens of thousands of named ones, tens
of thousands of links and pictures, and text fields a thousand zeros wide up to the preview's 5 MiB; pages
of 5 MiB that make the most elements for their size (headings and empty preformatted lines in a cell) and
the most layout work (words in tables nested five deep, tables nested past the cap, rows of long rowspans,
a forum thread's six levels of layout tables); and a picture on a network share that cannot be
reached. The good page is an ordinary page of text, a table and a few links. Every page is at most the
5 MiB the preview accepts.

    python3 bench/hostile_html.py OUT_DIR    writes the pages into OUT_DIR
"""

import os
import sys


def _fill(unit, size):
    """unit repeated to about size bytes."""
    return unit * max(1, size // len(unit))


def _page(body):
    return ("<html><head><title>Page</title></head><body>" + body + "</body></html>").encode("ascii")


def unclosed_styles(size=280_000):
    return _page(_fill("<style>", size))


def unclosed_titles(size=280_000):
    # Each title ends at a close tag with a space before its ">", so the search for "</title>" runs on.
    return _page(_fill("<title>x</title >", size))


def titles_far_close(size=280_000):
    # Every title runs to the one "</title>" at the end.
    return _page(_fill("<title>x</title >", size) + "</title>")


def open_bodies(size=280_000):
    return _page(_fill("<body ", size))


def open_divs_after_aligned(size=280_000):
    # Divs left without their ">" after an aligned div: each one is asked whether it is aligned.
    return _page("<div align=right>a" + _fill("<div ", size))


def open_selects(size=320_000):
    # Selects never closed and without options: each one looks for its close and its options.
    return _page(_fill("<select>x", size))


def wide_inputs(size=5 * 1024 * 1024 - 100):
    return _page(_fill("<input size=1000>", size))


def headings_in_a_cell(size=5 * 1024 * 1024 - 100):
    # Headings never closed in one table cell: the page that makes the most elements for its size.
    return _page("<table border=1><tr><td>" + _fill("<h3>x ", size - 100))


def lines_in_a_cell(size=5 * 1024 * 1024 - 100):
    # Empty lines of preformatted text in a table cell: a space and a break for every byte.
    return _page("<table border=1><tr><td><pre>" + "\n" * (size - 100) + "</pre>")


def words_in_nested_tables(size=5 * 1024 * 1024 - 100, depth=5):
    # Words in the cell of tables nested five deep: each level measures its cells three times.
    return _page("<table border=1><tr><td>" * depth + _fill("x ", size - 100 - 24 * depth))


def tabs_on_one_line(size=160_000):
    return _page("<pre>" + "\t" * size + "</pre>")


def nested_blocks(size=300_000):
    # Aligned blocks that are never closed, then blocks nested inside each other.
    return _page(_fill("<div align=right>a", size // 2) + _fill("<div align=left><p align=right>", size // 2))


def forum_tables(size=280_000):
    """An ordinary forum thread's shape: posts in tables nested six deep, widths asked at every level."""
    post = ("<tr><td width=120 valign=top><b>member</b><table cellpadding=1><tr><td><img src=a.gif width=48 "
            "height=48></td></tr></table></td><td valign=top><table width=90% border=1><tr><td><i>Quote:</i> "
            "earlier words</td></tr></table><p>Thanks for the answer, the drive shows up again.</p></td></tr>")
    head = ("<table width=100%><tr><td><table width=100%><tr><td><table width=100%><tr><td width=150>menu</td>"
            "<td><table width=100% cellspacing=0 cellpadding=1><tr><td><table width=100% cellspacing=1>")
    return _page(head + _fill(post, size - len(head)) + "</table></td></tr></table></td></tr></table>" * 2)


def deep_tables(size=280_000):
    """Tables nested past the parse pass's cap, a narrow column beside words at every level."""
    return _page("<table border=1><tr><td width=40>x</td><td>" * 50 + _fill("word and more words ", size))


def row_spans(size=280_000):
    """Rows whose cells each span a thousand rows: every later cell passes over the columns they hold."""
    return _page("<table border=1>" + _fill("<tr><td rowspan=1000>a</td><td rowspan=1000>b</td></tr>", size))


def alternating_blocks(size=280_000):
    """Aligned blocks of alternating alignment nested past the depth cap, again and again."""
    unit = "".join("<div align=right>words " if i % 2 else "<div align=center>more " for i in range(60))
    return _page(_fill(unit + "</div>" * 60, size))


def named_selects(size=450_000):
    """Closed-off drop-down lists by the tens of thousands: each would be a window of its own."""
    return _page(_fill("<select name=s>", size))


def many_links(count=40_000):
    return _page("".join(f'<a href="page{i}.html">{i}</a> ' for i in range(count)))


def many_pictures(count=40_000):
    return _page("".join(f'<img src="picture{i}.gif" width=4 height=4>' for i in range(count)))


def network_picture():
    body = ('<p>A picture on a share that does not answer:</p><img src="file://\\\\192.0.2.1\\share\\x.gif">'
            '<table background="file://\\\\?\\UNC\\192.0.2.1\\share\\y.gif"><tr><td>cell</td></tr></table>')
    return _page(body)


def good_page():
    rows = "".join(f"<tr><td>Item {i}</td><td>A line of ordinary text {i}</td><td>{i * 3}.50</td></tr>"
                   for i in range(200))
    body = ("<h1>Quarterly report</h1><p>Some <b>bold</b> and <i>italic</i> words, and "
            '<a href="next.html">a link</a>.</p><table border=1>' + rows + "</table>")
    return _page(body)


def files():
    return [
        ("HostileStyles.html", unclosed_styles()),
        ("HostileTitles.html", unclosed_titles()),
        ("HostileFarTitle.html", titles_far_close()),
        ("HostileBodies.html", open_bodies()),
        ("HostileOpenDivs.html", open_divs_after_aligned()),
        ("HostileSelects.html", open_selects()),
        ("HostileInputs.html", wide_inputs()),
        ("HostileHeadings.html", headings_in_a_cell()),
        ("HostileLines.html", lines_in_a_cell()),
        ("HostileNested.html", words_in_nested_tables()),
        ("HostileTabs.html", tabs_on_one_line()),
        ("HostileBlocks.html", nested_blocks()),
        ("HostileForum.html", forum_tables()),
        ("HostileDeepTables.html", deep_tables()),
        ("HostileRowSpans.html", row_spans()),
        ("HostileAlternating.html", alternating_blocks()),
        ("HostileNamedSelects.html", named_selects()),
        ("HostileLinks.html", many_links()),
        ("HostilePictures.html", many_pictures()),
        ("HostileShare.html", network_picture()),
        ("Good.html", good_page()),
    ]


if __name__ == "__main__":
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name, data in files():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
        print(f"{name}\t{len(data)}")
