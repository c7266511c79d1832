#include "platform/standins/cximage.h"

#include <objidl.h>

#include <new>
#include <vector>

#include "platform/standins/picture/raster_decoders.h"

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
GpStatus WINAPI GdipCreateBitmapFromStream(IStream* stream, GpBitmap** bitmap);
GpStatus WINAPI GdipCreateHBITMAPFromBitmap(GpBitmap* bitmap, HBITMAP* hbmReturn, DWORD background);
GpStatus WINAPI GdipDisposeImage(GpBitmap* image);
}

// Our decoders hold the whole file: the largest picture they make is 128 MB of pixels.
constexpr LONGLONG kMaxOwnFileSize = 128ll << 20;

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
bool SystemDecodes(uint32_t type) { return (type >= 1 && type <= 6) || type == 10; }

bool ReadWholeFile(LPCTSTR path, std::vector<uint8_t>& bytes) {
  HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  bool ok = ::GetFileSizeEx(file, &size) && size.QuadPart <= kMaxOwnFileSize;
  if (ok) {
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    ok = bytes.empty() || (::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
                           read == bytes.size());
  }
  ::CloseHandle(file);
  return ok;
}

// A top-down 32-bit DIB section holding the pixels (already in DIB order).
HBITMAP BitmapOf(const picture::RasterPicture& decoded) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = static_cast<LONG>(decoded.width);
  info.bmiHeader.biHeight = -static_cast<LONG>(decoded.height);
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr || bits == nullptr) return bitmap;
  ::memcpy(bits, decoded.pixels.data(), decoded.pixels.size() * sizeof(uint32_t));
  return bitmap;
}

}  // namespace

CxImage::CxImage(LPCTSTR path, uint32_t imageType) : type_(imageType) {
  if (path == nullptr) {
    error_ = _T("The picture could not be read.");
  } else if (SystemDecodes(imageType)) {
    DecodeWithSystem(path);
  } else if (picture::OwnDecoderFor(imageType) != nullptr) {
    DecodeOwn(path);
  } else {
    error_ = _T("This picture type cannot be decoded.");
  }
}

namespace {

// The file is read here and decoded from memory: the decoder never holds the file, which may then be
// deleted whatever the decoder made of it (a damaged file's handle is kept by some decoders).
IStream* StreamOfFile(LPCTSTR path) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes)) return nullptr;
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes.empty() ? 1 : bytes.size());
  if (memory == nullptr) return nullptr;
  if (void* at = ::GlobalLock(memory)) {
    if (!bytes.empty()) ::memcpy(at, bytes.data(), bytes.size());
    ::GlobalUnlock(memory);
  }
  IStream* stream = nullptr;
  if (::CreateStreamOnHGlobal(memory, TRUE, &stream) != S_OK) {
    ::GlobalFree(memory);
    return nullptr;
  }
  ULARGE_INTEGER size{};
  size.QuadPart = bytes.size();
  stream->SetSize(size);
  return stream;
}

}  // namespace

void CxImage::DecodeWithSystem(LPCTSTR path) {
  GpBitmap* decoded = nullptr;
  IStream* stream = StartDecoder() ? StreamOfFile(path) : nullptr;
  if (stream == nullptr || GdipCreateBitmapFromStream(stream, &decoded) != 0 || decoded == nullptr) {
    if (stream != nullptr) stream->Release();
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
  stream->Release();
}

void CxImage::DecodeOwn(LPCTSTR path) {
  try {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes)) {
      error_ = _T("The picture could not be read.");
      return;
    }
    picture::RasterPicture decoded;
    if (picture::DecodeError why = picture::OwnDecoderFor(type_)(bytes.data(), bytes.size(), decoded)) {
      error_ = CString(why);
      return;
    }
    bitmap_ = BitmapOf(decoded);
    if (bitmap_ == nullptr) {
      error_ = _T("There is not enough memory for the picture.");
      return;
    }
    width_ = decoded.width;
    height_ = decoded.height;
  } catch (const std::bad_alloc&) {
    error_ = _T("There is not enough memory for the picture.");
  }
}

CxImage::~CxImage() { Destroy(); }

void CxImage::Destroy() {
  if (bitmap_ != nullptr) ::DeleteObject(bitmap_);
  bitmap_ = nullptr;
  width_ = height_ = 0;
}

bool CxImage::Stretch(HDC dc, long x, long y, long width, long height, DWORD rop) const {
  if (bitmap_ == nullptr || dc == nullptr) return false;
  HDC memory = ::CreateCompatibleDC(dc);
  if (memory == nullptr) return false;
  HGDIOBJ old = ::SelectObject(memory, bitmap_);
  // Halftone averages the pixels a shrunk picture leaves out, so photos keep their look.
  const int previousMode = ::SetStretchBltMode(dc, HALFTONE);
  POINT origin{};
  ::SetBrushOrgEx(dc, 0, 0, &origin);
  const BOOL drawn = ::StretchBlt(dc, x, y, width, height, memory, 0, 0, static_cast<int>(width_),
                                  static_cast<int>(height_), rop);
  ::SetBrushOrgEx(dc, origin.x, origin.y, nullptr);
  ::SetStretchBltMode(dc, previousMode);
  ::SelectObject(memory, old);
  ::DeleteDC(memory);
  return drawn != FALSE;
}

bool CxImage::Draw(HDC dc, const RECT& target) const {
  return Stretch(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, SRCCOPY);
}
