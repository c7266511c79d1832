// DrawManager: bitmaps, icons, strip cells, effects, shadows and alpha blending. The pixels are read out of
// the bitmaps and the target DC, worked on by the portable routines, and written back.
#include "ui/draw/colour_ops.h"
#include "ui/draw/draw_manager.h"
#include "ui/draw/gdi_pixels.h"
#include "ui/draw/image_effects.h"
#include "ui/draw/soft_shadow.h"

namespace draw {
namespace {

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kBlack = 0x000000;

// The image at the drawn size: stretched when its own size differs.
PixelBuffer Fitted(const PixelBuffer& source, int width, int height) {
  if (source.Width() == width && source.Height() == height) return source;
  return StretchPixels(source, width, height);
}

PixelBuffer WithEffect(PixelBuffer pixels, uint32_t effect, bool useMask, COLORREF maskColour, COLORREF mono,
                       bool* hasAlpha = nullptr) {
  bool alpha = ApplyImageEffect(pixels, effect, useMask, maskColour, mono);
  if (hasAlpha) *hasAlpha = alpha;
  return pixels;
}

// The bitmaps of an icon; a monochrome icon keeps its AND mask above its colour image in one bitmap.
struct IconPixels {
  PixelBuffer colour;
  PixelBuffer mask;
};

bool ReadIcon(HICON icon, int width, int height, IconPixels* out) {
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) return false;
  GdiObject colour(info.hbmColor), mask(info.hbmMask);
  PixelBuffer maskPixels = ReadBitmap(info.hbmMask);
  if (maskPixels.Empty()) return false;
  if (info.hbmColor) {
    out->colour = CropPixels(ReadBitmap(info.hbmColor), width, height);
    out->mask = CropPixels(maskPixels, width, height);
  } else {
    int half = maskPixels.Height() / 2;
    out->mask = CropPixels(maskPixels, width, height);
    PixelBuffer lower(width, height);
    CopyPixels(lower, 0, 0, maskPixels, 0, half, width, height);
    out->colour = lower;
  }
  return !out->colour.Empty() && !out->mask.Empty();
}

}  // namespace

HBITMAP DrawManager::MakeEffectBitmap(HBITMAP bitmap, int width, int height, uint32_t effect, bool useMask,
                                      COLORREF maskColour, COLORREF monoColour) {
  PixelBuffer source = ReadBitmap(bitmap);
  if (source.Empty()) return nullptr;
  bool alpha = false;
  PixelBuffer image = WithEffect(CropPixels(source, width, height), effect, useMask, maskColour, monoColour, &alpha);
  if (alpha) imageHasAlpha_ = 1;
  return CreateSectionFrom(image);
}

void DrawManager::DrawBitmapImage(HDC dc, int x, int y, int width, int height, HBITMAP bitmap, bool useMask,
                                  COLORREF maskColour, uint32_t effect, bool shadowOn, int shadowDx, int shadowDy,
                                  int blurX, int blurY, COLORREF shadowColour) {
  imageHasAlpha_ = 0;
  PixelBuffer source = ReadBitmap(bitmap);
  if (!dc || source.Empty()) return;
  DrawImagePixels(dc, x, y, Fitted(source, width, height), useMask, maskColour, effect,
                  {shadowOn, shadowDx, shadowDy, blurX, blurY, shadowColour});
}

void DrawManager::DrawStripImage(HDC dc, int x, int y, int width, int height, HBITMAP strip, int index,
                                 int cellWidth, int cellHeight, bool useMask, COLORREF maskColour, uint32_t effect,
                                 bool shadowOn, int shadowDx, int shadowDy, int blurX, int blurY,
                                 COLORREF shadowColour) {
  imageHasAlpha_ = 0;
  SIZE size = BitmapSize(strip);
  DrawRect cell;
  if (!dc || !StripCellRect(size.cx, size.cy, cellWidth, cellHeight, index, &cell)) return;
  PixelBuffer source = ReadBitmap(strip);
  PixelBuffer cellPixels(cellWidth, cellHeight);
  CopyPixels(cellPixels, 0, 0, source, cell.left, cell.top, cellWidth, cellHeight);
  if (cellPixels.Empty()) return;
  DrawImagePixels(dc, x, y, Fitted(cellPixels, width, height), useMask, maskColour, effect,
                  {shadowOn, shadowDx, shadowDy, blurX, blurY, shadowColour});
}

void DrawManager::DrawIconImage(HDC dc, int x, int y, int width, int height, HICON icon, uint32_t effect,
                                bool shadowOn, int shadowDx, int shadowDy, int blurX, int blurY,
                                COLORREF shadowColour) {
  imageHasAlpha_ = 0;
  if (!dc || !icon || width <= 0 || height <= 0) return;
  SIZE own = IconSize(icon);
  HICON copy = (own.cx == width && own.cy == height) ? CopyIcon(icon) : ScaleIcon(icon, width, height);
  IconPixels pixels;
  bool read = copy && ReadIcon(copy, width, height, &pixels);
  if (copy) DestroyIcon(copy);
  if (!read) return;
  const bool mono = (effect & kEffectMono) != 0;
  bool alpha = false;
  PixelBuffer image = WithEffect(mono ? pixels.mask : pixels.colour, effect, true, mono ? kWhite : kBlack,
                                 shadowColour, &alpha);
  if (alpha) imageHasAlpha_ = 1;
  Shadow shadow{shadowOn, shadowDx, shadowDy, blurX, blurY, shadowColour};
  PixelBuffer shadowMask;
  if (shadowOn && (effect & (kEffectShadow | kEffectGradientShadow))) {
    shadowMask = WithEffect(pixels.mask, kEffectMask, true, kWhite, Invert(shadowColour));
  }
  Compose(dc, x, y, image, pixels.mask, shadowMask, effect, shadow);
}

void DrawManager::DrawImagePixels(HDC dc, int x, int y, const PixelBuffer& copy, bool useMask, COLORREF maskColour,
                                  uint32_t effect, const Shadow& shadow) {
  if (copy.Empty()) return;
  PixelBuffer mask = WithEffect(copy, kEffectMask, useMask, maskColour, kWhite);
  bool alpha = false;
  PixelBuffer image = WithEffect(copy, effect, useMask, maskColour, shadow.colour, &alpha);
  if (alpha) imageHasAlpha_ = 1;
  PixelBuffer shadowMask;
  if (shadow.on && (effect & (kEffectShadow | kEffectGradientShadow))) {
    shadowMask = WithEffect(copy, kEffectMask, useMask, maskColour, Invert(shadow.colour));
  }
  Compose(dc, x, y, image, mask, shadowMask, effect, shadow);
}

void DrawManager::Compose(HDC dc, int x, int y, const PixelBuffer& image, const PixelBuffer& andMask,
                          const PixelBuffer& shadowMask, uint32_t effect, const Shadow& shadow) {
  if (shadow.on) {
    if (!shadowMask.Empty()) {
      SoftShadowPixels(dc, x + shadow.dx, y + shadow.dy, shadowMask, (effect & kEffectGradientShadow) != 0,
                       shadow.blurX, shadow.blurY);
    } else {
      // No shadow bits: the image itself moves by the shadow offset.
      x += shadow.dx;
      y += shadow.dy;
    }
  }
  PixelBuffer dest = ReadDc(dc, x, y, image.Width(), image.Height());
  if (dest.Empty()) return;
  if (imageHasAlpha_) {
    AlphaBlendPixels(dest, image);
  } else {
    AndPixels(dest, andMask);
    OrPixels(dest, image);
  }
  WriteDc(dc, x, y, dest);
}

void DrawManager::SoftShadowPixels(HDC dc, int x, int y, const PixelBuffer& mask, bool gradient, int depthX,
                                   int depthY) {
  PixelBuffer placed = PlaceShadowMask(mask, mask.Width(), mask.Height(), gradient, depthX, depthY);
  PixelBuffer dest = ReadDc(dc, x, y, placed.Width(), placed.Height());
  if (dest.Empty()) return;
  ApplySoftShadow(dest, placed, gradient, depthX, depthY);
  WriteDc(dc, x, y, dest);
}

void DrawManager::DrawSoftShadow(HDC dc, int x, int y, int width, int height, HBITMAP mask, bool gradient,
                                 int depthX, int depthY) {
  PixelBuffer maskPixels = ReadBitmap(mask);
  if (!dc || maskPixels.Empty() || width <= 0 || height <= 0) return;
  PixelBuffer placed = PlaceShadowMask(gradient ? maskPixels : CropPixels(maskPixels, width, height), width, height,
                                       gradient, depthX, depthY);
  PixelBuffer dest = ReadDc(dc, x, y, width, height);
  if (dest.Empty()) return;
  ApplySoftShadow(dest, placed, gradient, depthX, depthY);
  WriteDc(dc, x, y, dest);
}

void DrawManager::AlphaBlendBlit(HDC dc, int x, int y, int width, int height, HDC source, int sourceX,
                                 int sourceY) {
  PixelBuffer top = ReadDc(source, sourceX, sourceY, width, height);
  PixelBuffer dest = ReadDc(dc, x, y, width, height);
  if (top.Empty() || dest.Empty()) return;
  AlphaBlendPixels(dest, top);
  WriteDc(dc, x, y, dest);
}

SIZE DrawManager::IconSize(HICON icon) {
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) return {0, 0};
  GdiObject colour(info.hbmColor), mask(info.hbmMask);
  return {static_cast<LONG>(info.xHotspot * 2), static_cast<LONG>(info.yHotspot * 2)};
}

SIZE DrawManager::BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || GetObjectW(bitmap, sizeof(info), &info) == 0) return {0, 0};
  return {info.bmWidth, info.bmHeight};
}

HICON DrawManager::ScaleIcon(HICON icon, int width, int height) {
  ICONINFO info{};
  if (!icon || width <= 0 || height <= 0 || !GetIconInfo(icon, &info)) return nullptr;
  GdiObject colour(info.hbmColor), mask(info.hbmMask);
  SIZE from = IconSize(icon);
  // Each new bitmap has the planes and bits per pixel of the old one.
  auto stretched = [&](HBITMAP old) -> HBITMAP {
    BITMAP b{};
    if (!old || GetObjectW(old, sizeof(b), &b) == 0) return nullptr;
    HBITMAP made = CreateBitmap(width, height, b.bmPlanes, b.bmBitsPixel, nullptr);
    MemoryDc source, target;
    if (!made || !source.Select(old) || !target.Select(made)) {
      if (made) DeleteObject(made);
      return nullptr;
    }
    SetStretchBltMode(target.Get(), COLORONCOLOR);
    StretchBlt(target.Get(), 0, 0, width, height, source.Get(), 0, 0, from.cx, from.cy, SRCCOPY);
    return made;
  };
  GdiObject newMask(stretched(info.hbmMask));
  GdiObject newColour(info.hbmColor ? stretched(info.hbmColor) : nullptr);
  if (!newMask || (info.hbmColor && !newColour)) return nullptr;
  ICONINFO made{TRUE, static_cast<DWORD>(width / 2), static_cast<DWORD>(height / 2), newMask.Bitmap(),
                newColour.Bitmap()};
  return CreateIconIndirect(&made);  // copies the bitmaps
}

}  // namespace draw
