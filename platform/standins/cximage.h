// CxImage: a decoded picture, made from a file's path and its picture type (1 to 15, as
// IsSupportedImageFile tells them). BMP, GIF, JPEG, PNG, ICO, TIFF (and metafiles) are decoded by the
// system's imaging component (GDI+); TGA, PCX, WBMP, PNM, Sun raster and JPEG 2000 (types 11 and 12, through
// OpenJPEG) by our own decoders (platform/standins/picture). PGX (type 13) has no decoder: such a picture
// is not valid, nor is a file that cannot be read or decoded.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/classlib/cstring.h"

class CxImage {
 public:
  CxImage(LPCTSTR path, uint32_t imageType);
  virtual ~CxImage();
  CxImage(const CxImage&) = delete;
  CxImage& operator=(const CxImage&) = delete;

  bool IsValid() const { return bitmap_ != nullptr; }
  uint32_t GetType() const { return type_; }
  uint32_t GetWidth() const { return width_; }
  uint32_t GetHeight() const { return height_; }
  // Draws the whole picture stretched to (x, y, width, height) of the DC with the raster operation;
  // false when it is not valid or nothing was drawn.
  bool Stretch(HDC dc, long x, long y, long width, long height, DWORD rop = SRCCOPY) const;
  // The same, into a rectangle, copying.
  bool Draw(HDC dc, const RECT& target) const;
  // Frees the pixels: the picture is not valid any more.
  void Destroy();
  // Why the picture is not valid (empty when it is).
  const CString& GetLastError() const { return error_; }

 private:
  void DecodeWithSystem(LPCTSTR path);
  void DecodeOwn(LPCTSTR path);

  uint32_t type_;
  HBITMAP bitmap_ = nullptr;
  uint32_t width_ = 0;
  uint32_t height_ = 0;
  CString error_;
};
