"""The one palette of the program's artwork: warm paper, navy ink, one amber accent."""

KEY = (0, 255, 0)            # outside a skinned window's region
WHITE = (255, 255, 255)
TOOLBAR_FACE = (192, 192, 192)  # the mask colour of toolbar strips

# Paper: the pages and dialogs. The page background is PAPER exactly: page 0 breaks its frame line with it.
PAPER = (251, 241, 206)
PAPER_LIGHT = (255, 252, 242)
PAPER_DEEP = (250, 236, 190)
PAPER_EDGE = (226, 212, 168)
FRAME = (172, 168, 153)

# Ink: headers, borders, glyph outlines.
NAVY = (20, 42, 82)
NAVY_LIGHT = (34, 66, 118)
BLUE = (38, 88, 158)
BLUE_MID = (70, 124, 196)
BLUE_LIGHT = (152, 188, 230)
SKY = (220, 232, 248)
INK = (38, 42, 50)
SLATE = (98, 106, 120)
SILVER = (196, 202, 212)
CLOUD = (238, 241, 246)

# Accents, used sparingly.
AMBER = (226, 152, 42)
AMBER_LIGHT = (246, 200, 110)
GREEN = (52, 140, 84)
RED = (188, 54, 46)

# Dialog bodies run from light to deep paper, top to bottom.
BODY_TOP = (255, 252, 240)
BODY_BOTTOM = (253, 239, 200)


def mix(a, b, t):
    """The colour a fraction t of the way from a to b."""
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))
