// Loading the images of marked-up text (Windows build): a handle given by the caller, a resource of the
// program, a resource of the image module or of a named library, or a file.
#pragma once

#include <windows.h>

#include <string>

#include "ui/html/html_metrics.h"

namespace html {

// One loaded image, from the first source given that yields one; frees what it loaded (a handle given by
// the caller is kept).
class HtmlLoadedImage {
 public:
  HtmlLoadedImage(const HtmlImageSource& source, HMODULE imageModule);
  ~HtmlLoadedImage();
  HtmlLoadedImage(const HtmlLoadedImage&) = delete;
  HtmlLoadedImage& operator=(const HtmlLoadedImage&) = delete;

  HBITMAP Bitmap() const { return bitmap_; }
  HICON Icon() const { return icon_; }
  HtmlSize Size() const;

 private:
  HANDLE Load(HMODULE module, const wchar_t* name, UINT flags);
  // Whether the caller's handle is a bitmap (an icon for an icon).
  bool IsImage(HANDLE handle) const;
  bool isIcon_;
  HBITMAP bitmap_ = nullptr;
  HICON icon_ = nullptr;
  bool owned_ = false;
};

// A table's background value: "idres:", "iddll:" or "file:" and a number or a path; null when it names
// nothing that loads. The caller deletes the bitmap.
HBITMAP LoadBackgroundBitmap(const std::u16string& value, HMODULE imageModule);

}  // namespace html
