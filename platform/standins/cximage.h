// CxImage: a decoded picture, made from a file's path and its picture type (1 to 15, as
// IsSupportedImageFile tells them). This stand-in decodes with the system's own decoder; a type or a file
// that it cannot decode gives a picture that is not valid.
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
  // Draws the picture stretched into the rectangle; false when it is not valid.
  bool Draw(HDC dc, const RECT& target) const;
  // Why the picture is not valid (empty when it is).
  const CString& GetLastError() const { return error_; }

 private:
  uint32_t type_;
  HBITMAP bitmap_ = nullptr;
  uint32_t width_ = 0;
  uint32_t height_ = 0;
  CString error_;
};
