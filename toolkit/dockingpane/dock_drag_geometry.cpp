#include "toolkit/dockingpane/dock_drag_geometry.h"

#include <cstdlib>

#include "res/toolkit_resource.h"

namespace dock {

namespace {

constexpr int kParts[] = {kGuideTop, kGuideLeft, kGuideBottom, kGuideRight, kGuideCentre};

Box MakeBox(int l, int t, int r, int b) { return Box{l, t, r, b}; }

bool IsSingleGuide(int code) { return (code & kGuideCross) == 0; }

}  // namespace

Box OffsetToContain(Box rc, int x, int y) {
  int dx = 0, dy = 0;
  if (x < rc.left) dx = x - rc.left;
  if (x >= rc.right) dx = x - rc.right + 1;
  if (y < rc.top) dy = y - rc.top;
  if (y >= rc.bottom) dy = y - rc.bottom + 1;
  return Box{rc.left + dx, rc.top + dy, rc.right + dx, rc.bottom + dy};
}

int NearestDockSide(const Box& rc, int x, int y, bool inside, bool floatable) {
  double sensitivity = 20.0;
  double ratio = 1.0;
  if (inside && !floatable) {
    sensitivity = 32000.0;
    if (rc.Width() > 1 && rc.Height() > 1) ratio = static_cast<double>(rc.Height()) / rc.Width();
  }
  if (rc.Width() == 0 || rc.Height() == 0) return -1;
  const Box test = inside ? rc : Box{rc.left - 20, rc.top - 20, rc.right + 20, rc.bottom + 20};
  if (!test.Contains(x, y)) return -1;
  const int sign = inside ? 1 : -1;
  struct Candidate {
    int offset;
    double distance;
    int direction;
  };
  const Candidate candidates[] = {
      {y - rc.top, std::abs(y - rc.top) * 1.0, 2},
      {rc.bottom - y, std::abs(rc.bottom - y) * 1.0, 3},
      {x - rc.left, std::abs(x - rc.left) * ratio, 0},
      {rc.right - x, std::abs(rc.right - x) * ratio, 1},
  };
  int best = -1;
  double bestDistance = sensitivity;
  for (const Candidate& c : candidates) {
    if (c.distance < bestDistance && c.offset * sign >= 0) {
      bestDistance = c.distance;
      best = c.direction;
    }
  }
  return best;
}

GuideSize GetGuideSize(int code, int style) {
  if ((code & kGuideCross) != 0) return style == 0 ? GuideSize{93, 93} : GuideSize{89, 89};
  if ((code & (kGuideTop | kGuideBottom)) != 0) return style == 0 ? GuideSize{43, 30} : GuideSize{29, 32};
  return style == 0 ? GuideSize{30, 43} : GuideSize{32, 29};
}

Box CentreGuideRect(const Box& container, int style) {
  const GuideSize size = GetGuideSize(kGuideCross, style);
  const int left = (container.left + container.right) / 2 - size.cx / 2;
  const int top = (container.top + container.bottom) / 2 - size.cy / 2;
  return Box{left, top, left + size.cx, top + size.cy};
}

std::vector<PlacedGuide> OuterGuides(const Box& frame, int style, int sides) {
  std::vector<PlacedGuide> guides;
  const int cx = (frame.left + frame.right) / 2;
  const int cy = (frame.top + frame.bottom) / 2;
  for (int part : {kGuideTop, kGuideLeft, kGuideBottom, kGuideRight}) {
    if ((sides & part) == 0) continue;
    const GuideSize s = GetGuideSize(part, style);
    int x = 0, y = 0;
    switch (part) {
      case kGuideTop:
        x = cx - s.cx / 2, y = frame.top + 16;
        break;
      case kGuideLeft:
        x = frame.left + 16, y = cy - s.cy / 2;
        break;
      case kGuideBottom:
        x = cx - s.cx / 2, y = frame.bottom - s.cy - 16;
        break;
      default:
        x = frame.right - s.cx - 16, y = cy - s.cy / 2;
        break;
    }
    guides.push_back(PlacedGuide{part, Box{x, y, x + s.cx, y + s.cy}});
  }
  return guides;
}

Sprite GetPartSprite(int style, int part, bool highlighted, bool single) {
  if (style == 0) {
    switch (part) {
      case kGuideTop:
        return highlighted ? Sprite{25, 0, MakeBox(0, 76, 43, 106)} : Sprite{25, 0, MakeBox(0, 0, 43, 30)};
      case kGuideLeft:
        return highlighted ? Sprite{0, 25, MakeBox(90, 33, 120, 76)} : Sprite{0, 25, MakeBox(30, 33, 60, 76)};
      case kGuideBottom:
        return highlighted ? Sprite{25, 63, MakeBox(43, 76, 86, 106)} : Sprite{25, 63, MakeBox(43, 0, 86, 30)};
      case kGuideRight:
        return highlighted ? Sprite{63, 25, MakeBox(60, 33, 90, 76)} : Sprite{63, 25, MakeBox(0, 33, 30, 76)};
      default:
        return highlighted ? Sprite{30, 30, MakeBox(86, 76, 119, 109)} : Sprite{30, 30, MakeBox(86, 0, 119, 33)};
    }
  }
  if (single) {
    switch (part) {
      case kGuideTop:
        return Sprite{0, 0, highlighted ? MakeBox(0, 90, 29, 122) : MakeBox(0, 29, 29, 61)};
      case kGuideLeft:
        return Sprite{0, 0, highlighted ? MakeBox(29, 93, 61, 122) : MakeBox(29, 32, 61, 61)};
      case kGuideBottom:
        return Sprite{0, 0, highlighted ? MakeBox(32, 61, 61, 93) : MakeBox(32, 0, 61, 32)};
      default:
        return Sprite{0, 0, highlighted ? MakeBox(0, 61, 32, 90) : MakeBox(0, 0, 32, 29)};
    }
  }
  switch (part) {
    case kGuideTop:
      return highlighted ? Sprite{30, 0, MakeBox(61, 90, 90, 120)} : Sprite{30, 0, MakeBox(61, 29, 90, 59)};
    case kGuideLeft:
      return highlighted ? Sprite{0, 30, MakeBox(90, 91, 120, 120)} : Sprite{0, 30, MakeBox(90, 30, 120, 59)};
    case kGuideBottom:
      return highlighted ? Sprite{30, 59, MakeBox(91, 61, 120, 91)} : Sprite{30, 59, MakeBox(91, 0, 120, 30)};
    case kGuideRight:
      return highlighted ? Sprite{60, 30, MakeBox(62, 61, 92, 90)} : Sprite{60, 30, MakeBox(62, 0, 92, 29)};
    default:  // one sprite for both states
      return Sprite{30, 30, MakeBox(120, 82, 148, 111)};
  }
}

Sprite GetCentreBackground(int style, bool highlighted) {
  if (style == 0) return Sprite{25, 25, MakeBox(0, 0, 43, 43), 1};
  return highlighted ? Sprite{24, 24, MakeBox(120, 41, 161, 82)} : Sprite{24, 24, MakeBox(120, 0, 161, 41)};
}

std::vector<GuidePiece> GuidePieces(int code, int style, int highlighted) {
  std::vector<GuidePiece> pieces;
  const bool single = IsSingleGuide(code);
  if (!single) {
    pieces.push_back({0, GetCentreBackground(style, style == 1 && highlighted == kGuideCentre)});
  }
  for (int part : kParts) {
    if ((code & part) == 0) continue;
    Sprite sprite = GetPartSprite(style, part, highlighted == part, single);
    // An outer guide of the first style is the cross's arrow standing alone.
    if (single) sprite.x = sprite.y = 0;
    pieces.push_back({part, sprite});
  }
  return pieces;
}

namespace {

bool PieceInk(const GuidePiece& piece, int x, int y, const InkTest& ink) {
  const Sprite& s = piece.sprite;
  const int sx = x - s.x + s.source.left;
  const int sy = y - s.y + s.source.top;
  if (sx < s.source.left || sx >= s.source.right || sy < s.source.top || sy >= s.source.bottom) return false;
  return ink(s.bitmap, sx, sy);
}

}  // namespace

int GuideStripBitmap(int style, int scheme, bool hitTest) {
  if (style != 0) return IDB_TK_GUIDES_ROUND;
  if (hitTest) return IDB_TK_GUIDES;
  return scheme == 2 ? IDB_TK_GUIDES_OLIVE : scheme == 3 ? IDB_TK_GUIDES_SILVER : IDB_TK_GUIDES;
}

int HitTestGuide(int code, int style, int x, int y, const InkTest& ink) {
  const GuideSize size = GetGuideSize(code, style);
  if (x < 0 || y < 0 || x >= size.cx || y >= size.cy) return 0;
  const bool single = IsSingleGuide(code);
  for (int part : kParts) {
    if ((code & part) == 0) continue;
    GuidePiece piece{part, part == kGuideCentre ? GetCentreBackground(style, false)
                                                : GetPartSprite(style, part, false, single)};
    if (single) piece.sprite.x = piece.sprite.y = 0;
    if (PieceInk(piece, x, y, ink)) return part;
  }
  return 0;
}

std::vector<Box> GuideOutline(int code, int style, const InkTest& ink) {
  const GuideSize size = GetGuideSize(code, style);
  const std::vector<GuidePiece> pieces = GuidePieces(code, style, 0);
  std::vector<Box> runs;
  for (int y = 0; y < size.cy; ++y) {
    int start = -1;
    for (int x = 0; x <= size.cx; ++x) {
      bool inked = false;
      for (size_t i = 0; x < size.cx && !inked && i < pieces.size(); ++i) inked = PieceInk(pieces[i], x, y, ink);
      if (inked && start < 0) start = x;
      if (!inked && start >= 0) {
        runs.push_back(Box{start, y, x, y + 1});
        start = -1;
      }
    }
  }
  return runs;
}

Box DockHalf(const Box& rc, int part) {
  const int midX = rc.left + rc.Width() / 2;
  const int midY = rc.top + rc.Height() / 2;
  switch (part) {
    case kGuideLeft:
      return Box{rc.left, rc.top, midX, rc.bottom};
    case kGuideRight:
      return Box{midX, rc.top, rc.right, rc.bottom};
    case kGuideTop:
      return Box{rc.left, rc.top, rc.right, midY};
    case kGuideBottom:
      return Box{rc.left, midY, rc.right, rc.bottom};
    default:
      return rc;
  }
}

int PartDirection(int part) {
  switch (part) {
    case kGuideLeft:
      return 0;
    case kGuideRight:
      return 1;
    case kGuideTop:
      return 2;
    case kGuideBottom:
      return 3;
    default:
      return -1;
  }
}

}  // namespace dock
