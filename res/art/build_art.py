#!/usr/bin/env python3
"""Draws every bitmap, icon and cursor of the program into a folder, where the resource compiler picks
them up. Usage: build_art.py OUTPUT_FOLDER"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import buttons  # noqa: E402
import cursors  # noqa: E402
import customize  # noqa: E402
import database_tree  # noqa: E402
import docking_guides  # noqa: E402
import icons  # noqa: E402
import image_editor  # noqa: E402
import placeholders  # noqa: E402
import skins  # noqa: E402
import toolkit  # noqa: E402


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)

    def out(name):
        return os.path.join(folder, name)

    skins.build(out)
    buttons.build(out)
    icons.build(out)
    icons.toolbar_strip(out)
    cursors.build(out)
    toolkit.build(out)
    customize.build(out)
    image_editor.build(out)
    docking_guides.build(out)
    placeholders.build(out)
    database_tree.build(out)


if __name__ == "__main__":
    main()
