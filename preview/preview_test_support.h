// What the preview's window tests share: a frame of their own that is the preview's host, the program's
// document, the pane in the frame, and reading back what a window shows.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/ex_style_doc.h"
#include "platform/classlib/win/cframewnd.h"
#include "preview/main_preview_view.h"
#include "preview/preview_host.h"

namespace previewtest {

class HostFrame : public CFrameWnd, public PreviewHost {
 public:
  void FocusResultList() override { ++focusCalls; }
  int focusCalls = 0;
};

// A frame (client size w x h) holding the pane over a CEx_StyleDoc, with the frame as the main window; the
// real pointer is put off the frame, so that no hover of its own reaches the pane.
class PaneWindow {
 public:
  PaneWindow(int width = 560, int height = 380);
  ~PaneWindow();
  PaneWindow(const PaneWindow&) = delete;
  PaneWindow& operator=(const PaneWindow&) = delete;

  // As the frame hands a file over: the pane becomes the active view, its viewers close, the file shows.
  void Preview(const CString& path, const CString& extension);
  // The slots that hold a viewer, by name, in slot order.
  std::vector<std::string> FilledSlots();

  HostFrame* frame = nullptr;
  CEx_StyleDoc* document = nullptr;
  CMainPreviewView* pane = nullptr;
};

// The window's client area as drawn on the screen: rows from the top, RGBA.
struct Grab {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;
  COLORREF At(int x, int y) const;
};
Grab GrabClient(HWND window);
// True when the window shows the bitmap of the resources centred at its natural size (every 7th pixel
// compared).
bool ShowsPicture(HWND window, UINT bitmapId);

// Pixels of a bitmap: 0x00RRGGBB, rows from the top.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> bgr;
  uint32_t At(int x, int y) const { return bgr[static_cast<size_t>(y) * width + x]; }
};
// The part of the bitmap.
Pixels ReadBitmap(HBITMAP bitmap, const RECT& part);
// Image i of an image list (nothing when it has none).
Pixels ImageListPixels(HIMAGELIST list, int i);

// A file of the given bytes in the temporary folder (deleted by the destructor).
// The bytes of a 24-bit BMP of w x h whose pixel (x, y), counted from the top, is colour(x, y).
std::string Bitmap24(int w, int h, const std::function<COLORREF(int, int)>& colour);

class TempFile {
 public:
  TempFile(const std::wstring& name, const std::string& bytes);
  ~TempFile();
  const CString& Path() const { return path_; }

 private:
  CString path_;
};

}  // namespace previewtest
