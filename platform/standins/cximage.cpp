#include "platform/standins/cximage.h"

namespace {

// The GDI+ flat interface, declared here: the picture needs four calls of it.
using GpStatus = int;
struct GpBitmap;
struct GdiplusStartupInput {
  UINT32 GdiplusVersion = 1;
  void* DebugEventCallback = nullptr;
  BOOL SuppressBackgroundThread = FALSE;
  BOOL SuppressExternalCodecs = FALSE;
};
extern "C" {
GpStatus WINAPI GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input, void* output);
GpStatus WINAPI GdipCreateBitmapFromFile(const WCHAR* filename, GpBitmap** bitmap);
GpStatus WINAPI GdipCreateHBITMAPFromBitmap(GpBitmap* bitmap, HBITMAP* hbmReturn, DWORD background);
GpStatus WINAPI GdipDisposeImage(GpBitmap* image);
}

// GDI+ is started once for the process and left running: pictures may be made until the end.
bool StartDecoder() {
  static const bool started = [] {
    ULONG_PTR token = 0;
    GdiplusStartupInput input;
    return GdiplusStartup(&token, &input, nullptr) == 0;
  }();
  return started;
}

// The types the system's decoder reads: 1 BMP, 2 GIF, 3 JPEG, 4 PNG, 5 ICO, 6 TIFF, 10 WMF and EMF.
bool SystemDecodes(uint32_t type) {
  return (type >= 1 && type <= 6) || type == 10;
}

}  // namespace

CxImage::CxImage(LPCTSTR path, uint32_t imageType) : type_(imageType) {
  if (!SystemDecodes(imageType)) {
    error_ = _T("This picture type cannot be decoded.");
    return;
  }
  GpBitmap* decoded = nullptr;
  if (path == nullptr || !StartDecoder() || GdipCreateBitmapFromFile(path, &decoded) != 0 || decoded == nullptr) {
    error_ = _T("The picture could not be read.");
    return;
  }
  HBITMAP bitmap = nullptr;
  // Transparent parts are shown on white, as the preview's background is.
  if (GdipCreateHBITMAPFromBitmap(decoded, &bitmap, 0xFFFFFFFF) == 0 && bitmap != nullptr) {
    BITMAP info{};
    ::GetObjectW(bitmap, sizeof info, &info);
    bitmap_ = bitmap;
    width_ = static_cast<uint32_t>(info.bmWidth);
    height_ = static_cast<uint32_t>(info.bmHeight);
  } else {
    error_ = _T("The picture could not be read.");
  }
  GdipDisposeImage(decoded);
}

CxImage::~CxImage() {
  if (bitmap_ != nullptr) ::DeleteObject(bitmap_);
}

bool CxImage::Draw(HDC dc, const RECT& target) const {
  if (bitmap_ == nullptr || dc == nullptr) return false;
  HDC memory = ::CreateCompatibleDC(dc);
  if (memory == nullptr) return false;
  HGDIOBJ old = ::SelectObject(memory, bitmap_);
  const int previousMode = ::SetStretchBltMode(dc, HALFTONE);
  const BOOL drawn = ::StretchBlt(dc, target.left, target.top, target.right - target.left, target.bottom - target.top,
                                  memory, 0, 0, static_cast<int>(width_), static_cast<int>(height_), SRCCOPY);
  ::SetStretchBltMode(dc, previousMode);
  ::SelectObject(memory, old);
  ::DeleteDC(memory);
  return drawn != FALSE;
}
