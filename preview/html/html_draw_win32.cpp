#include "preview/html/html_draw_win32.h"

#include <ocidl.h>
#include <olectl.h>

#include <algorithm>
#include <cstring>


namespace htmlview {
namespace {

static_assert(sizeof(wchar_t) == 2, "UTF-16 wchar_t");

constexpr COLORREF kSelectedBack = 0x800000;  // navy
constexpr COLORREF kHoverText = 0x0000FF;     // red

void Fill(HDC dc, const RECT& r, COLORREF colour) {
  SetBkColor(dc, colour);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

// Stretches the whole picture into the rectangle; the placeholder is a white rectangle.
void StretchImage(HDC dc, const HtmlImageEntry& entry, int x, int y, int w, int h) {
  if (entry.bitmap == 0) {
    const RECT r{x, y, x + w, y + h};
    Fill(dc, r, RGB(255, 255, 255));
    return;
  }
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, reinterpret_cast<HBITMAP>(entry.bitmap));
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, x, y, w, h, source, 0, 0, entry.width, entry.height, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
}

int FloorMod(int value, int divisor) {
  const int r = value % divisor;
  return r < 0 ? r + divisor : r;
}

// Fills clip with the picture repeated at full size, a tile's top-left corner at (x, y): one fill with a
// pattern brush, so a tiny picture behind a tall cell costs no more than a large one. The placeholder is
// white.
void Tile(HDC dc, const HtmlImageEntry& entry, int x, int y, const RECT& clip) {
  if (entry.width <= 0 || entry.height <= 0 || IsRectEmpty(&clip)) return;
  if (entry.bitmap == 0) {
    Fill(dc, clip, RGB(255, 255, 255));
    return;
  }
  HBRUSH brush = CreatePatternBrush(reinterpret_cast<HBITMAP>(entry.bitmap));
  if (!brush) return;
  POINT old{};
  SetBrushOrgEx(dc, FloorMod(x, entry.width), FloorMod(y, entry.height), &old);
  FillRect(dc, &clip, brush);
  SetBrushOrgEx(dc, old.x, old.y, nullptr);
  DeleteObject(brush);
}

const HtmlImageEntry* Picture(HtmlDocument& doc, int index) {
  if (index < 0 || !doc.images.DecodeImage(index, false)) return nullptr;
  return doc.images.Decoded(index);
}

HFONT MakeFont(const HtmlElement& e) {
  std::u16string face = e.fontFace.str();
  for (char16_t& c : face) c = (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
  const bool symbol = face == u"wingdings";
  // The height as the measurer made it (cell height), so runs fill exactly the width they were given.
  return CreateFontW(e.fontHeight, 0, 0, 0, e.bold > 0 ? FW_BOLD : FW_NORMAL, e.italic ? TRUE : FALSE,
                     e.borderFlags == 8 ? TRUE : FALSE, (e.borderFlags & 16) ? TRUE : FALSE,
                     symbol ? SYMBOL_CHARSET : ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     DEFAULT_QUALITY, DEFAULT_PITCH, reinterpret_cast<const wchar_t*>(e.fontFace.c_str()));
}

void Line(HDC dc, int x1, int y1, int x2, int y2) {
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}


void DrawBorders(HDC dc, const HtmlElement& e, const RECT& box, bool hovered) {
  COLORREF first = e.borderColor == kSunkenBorder   ? RGB(128, 128, 128)
                   : e.borderColor == kRaisedBorder ? RGB(255, 255, 255)
                                                    : static_cast<COLORREF>(e.borderColor);
  COLORREF second = e.borderColor == kSunkenBorder   ? RGB(255, 255, 255)
                    : e.borderColor == kRaisedBorder ? RGB(128, 128, 128)
                                                     : first;
  // Under the mouse the first pen is red; a sunken or raised frame keeps its second colour.
  if (hovered) {
    if (e.borderColor != kSunkenBorder && e.borderColor != kRaisedBorder) second = kHoverText;
    first = kHoverText;
  }
  RECT r = box;
  for (int ring = 0; ring < std::min(e.borderWidth, 100); ++ring) {
    HPEN pen = CreatePen(PS_SOLID, 1, first);
    HGDIOBJ old = SelectObject(dc, pen);
    if (e.borderFlags & 1) Line(dc, r.left, r.top, r.left, r.bottom - 1);
    if (e.borderFlags & 2) Line(dc, r.left, r.top, r.right, r.top);
    HPEN pen2 = CreatePen(PS_SOLID, 1, second);
    SelectObject(dc, pen2);
    DeleteObject(pen);
    if (e.borderFlags & 4) Line(dc, r.right - 1, r.top, r.right - 1, r.bottom - 1);
    if (e.borderFlags & 8) Line(dc, r.left, r.bottom - 1, r.right, r.bottom - 1);
    if (e.borderFlags & 16) {
      const int m = r.bottom - (r.bottom - r.top) / 2 - 1;
      Line(dc, r.left, m, r.right, m);
    }
    SelectObject(dc, old);
    DeleteObject(pen2);
    InflateRect(&r, -1, -1);
  }
}

void DrawList(HtmlDocument& doc, HDC dc, const HtmlElementList& list, const RECT& rect, int sx, int sy, int depth) {
  if (depth >= kMaxElementDepth) return;
  for (const auto& ptr : list) {
    if (!ptr) continue;
    const HtmlElement& e = *ptr;
    if (e.controlWindow != kNoControl) continue;
    const RECT box{e.x - sx, e.y - sy, e.x - sx + e.width, e.y - sy + e.height};
    if (box.right < rect.left || box.left > rect.right || box.bottom < rect.top || box.top > rect.bottom) continue;
    if (e.selected) {
      Fill(dc, box, kSelectedBack);
    } else if (e.backColor != kNoColour) {
      Fill(dc, box, e.backColor);
    }
    if (const HtmlImageEntry* back = Picture(doc, e.backImageIndex)) {
      RECT shown{};
      if (IntersectRect(&shown, &box, &rect)) Tile(dc, *back, box.left, box.top, shown);
    }
    const bool hovered = doc.hoverLink >= 0 && e.linkIndex == doc.hoverLink;
    if (e.kind == kTextRun && e.width != 0) {
      HFONT font = MakeFont(e);
      HGDIOBJ old = SelectObject(dc, font);
      SetTextColor(dc, hovered ? kHoverText : e.selected ? RGB(255, 255, 255) : static_cast<COLORREF>(e.textColor));
      const int x = box.left + ((e.borderFlags & 1) ? e.borderWidth : 0);
      const int y = box.top + ((e.borderFlags & 2) ? 2 * e.borderWidth : 0);
      TextOutW(dc, x, y, reinterpret_cast<const wchar_t*>(e.text.c_str()), static_cast<int>(e.text.size()));
      SelectObject(dc, old);
      DeleteObject(font);
    } else if (e.kind == kImage) {
      if (const HtmlImageEntry* picture = Picture(doc, e.imageIndex))
        StretchImage(dc, *picture, box.left, box.top, e.width, e.height);
    } else if (e.kind == kContainer) {
      DrawList(doc, dc, e.children, rect, sx, sy, depth + 1);
    }
    const bool underlineOnly = e.kind == kTextRun && (e.borderFlags == 8 || e.borderFlags == 16);
    if (e.borderFlags != 0 && !underlineOnly) DrawBorders(dc, e, box, hovered);
  }
}

}  // namespace

HtmlBitmap OlePictureDecoder::Decode(const uint8_t* data, size_t size, int& width, int& height) {
  if (!data || size == 0 || size > 0x7FFFFFFF) return 0;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!memory) return 0;
  void* to = GlobalLock(memory);
  if (!to) {
    GlobalFree(memory);
    return 0;
  }
  std::memcpy(to, data, size);
  GlobalUnlock(memory);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
    GlobalFree(memory);
    return 0;
  }
  IPicture* picture = nullptr;
  const HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(size), TRUE, IID_IPicture,
                                    reinterpret_cast<void**>(&picture));
  stream->Release();
  if (FAILED(hr) || !picture) return 0;
  OLE_XSIZE_HIMETRIC hmWidth = 0;
  OLE_YSIZE_HIMETRIC hmHeight = 0;
  picture->get_Width(&hmWidth);
  picture->get_Height(&hmHeight);
  HDC screen = GetDC(nullptr);
  const long w = MulDiv(hmWidth, GetDeviceCaps(screen, LOGPIXELSX), 2540);
  const long h = MulDiv(hmHeight, GetDeviceCaps(screen, LOGPIXELSY), 2540);
  HBITMAP bitmap = nullptr;
  // A picture of too many pixels (a metafile can ask for any size) is not drawn: the page's image table
  // shows the placeholder.
  if (w > 0 && h > 0 && static_cast<long long>(w) * h <= HtmlImageLimits().picturePixels) {
    bitmap = CreateCompatibleBitmap(screen, w, h);
    HDC memoryDc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memoryDc, bitmap);
    const RECT all{0, 0, w, h};
    Fill(memoryDc, all, RGB(255, 255, 255));
    picture->Render(memoryDc, 0, 0, w, h, 0, hmHeight, hmWidth, -hmHeight, nullptr);
    SelectObject(memoryDc, old);
    DeleteDC(memoryDc);
  }
  ReleaseDC(nullptr, screen);
  picture->Release();
  if (!bitmap) return 0;
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return reinterpret_cast<HtmlBitmap>(bitmap);
}

void OlePictureDecoder::Free(HtmlBitmap bitmap) { DeleteObject(reinterpret_cast<HBITMAP>(bitmap)); }

void DrawDocument(HtmlDocument& doc, HDC dc, const RECT& rect, int scrollX, int scrollY) {
  if (doc.pageBackColor != kNoColour) Fill(dc, rect, doc.pageBackColor);
  // Tiles aligned to the scrolled page.
  if (const HtmlImageEntry* back = Picture(doc, doc.pageBackImage))
    Tile(dc, *back, rect.left - scrollX, rect.top - scrollY, rect);
  SetBkMode(dc, TRANSPARENT);
  SetTextAlign(dc, TA_LEFT | TA_TOP);
  DrawList(doc, dc, doc.elements, rect, scrollX, scrollY, 0);
}

}  // namespace htmlview
