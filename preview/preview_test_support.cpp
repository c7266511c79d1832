#include "preview/preview_test_support.h"

#include "engine/records/scan_parameters.h"
#include "platform/classlib/win/ccreatecontext.h"
#include "platform/classlib/win/cwinapp.h"
#include "platform/harness/driver.h"

namespace previewtest {

namespace {

// A 32-bit top-down device-independent bitmap of w x h.
BITMAPINFO TopDown32(int w, int h) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  return info;
}

CWinApp& App() {
  static CWinApp app(_T("PreviewTest"));
  return app;
}

const char* const kSlotNames[kPreviewSlotCount] = {"image",       "html",      "document", "archive", "avi",
                                                    "media",       "thumb",     "dbf",      "mdb",     "nopreview",
                                                    "customhtml", "dxf",       "psd",      "largefile", "picture"};

}  // namespace

PaneWindow::PaneWindow(int width, int height) {
  frame = new HostFrame;
  CRect rect(0, 0, width, height);
  ::AdjustWindowRectEx(rect, WS_OVERLAPPEDWINDOW, FALSE, 0);
  App();  // the application comes first: the frame's window class is the application's
  const wchar_t* frameClass = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW));
  // The pointer goes off the frame first: left where an earlier click put it, it could lie over a link of
  // the page shown next, whose hover then changes what the test reads on the status line.
  ::SetCursorPos(0, 0);
  frame->CreateEx(0, frameClass, L"Preview", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 30, 30, rect.Width(), rect.Height(),
                  nullptr, nullptr);
  App().m_pMainWnd = frame;
  document = new CEx_StyleDoc;
  CCreateContext context;
  context.m_pCurrentDoc = document;
  pane = new CMainPreviewView;
  pane->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, RECT{0, 0, width, height}, frame, 0xE901, &context);
  frame->SetActiveView(pane, FALSE);
  harness::PumpMessages();
}

PaneWindow::~PaneWindow() {
  HWND window = frame->m_hWnd;
  App().m_pMainWnd = nullptr;
  if (::IsWindow(window)) frame->DestroyWindow();
  MSG quit;
  while (::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
  // The document went with its last view.
  harness::PumpMessages();
  PreviewItemPath.clear();
}

void PaneWindow::Preview(const CString& path, const CString& extension) {
  frame->SetActiveView(pane, FALSE);
  document->m_recoveryMode = RecoveryMode;
  pane->ClosePreviewViews();
  pane->ShowPreviewForFile(path, extension);
  pane->UpdateWindow();
  harness::PumpMessages();
}

std::vector<std::string> PaneWindow::FilledSlots() {
  std::vector<std::string> names;
  for (int i = 0; i < kPreviewSlotCount; ++i) {
    if (pane->SlotView(static_cast<PreviewSlot>(i)) != nullptr) names.push_back(kSlotNames[i]);
  }
  return names;
}

COLORREF Grab::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return CLR_INVALID;
  const size_t at = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 4;
  return RGB(rgba[at], rgba[at + 1], rgba[at + 2]);
}

Grab GrabClient(HWND window) {
  Grab grab;
  RECT client{};
  ::GetClientRect(window, &client);
  grab.width = client.right;
  grab.height = client.bottom;
  if (grab.width <= 0 || grab.height <= 0) return grab;
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  harness::PumpMessages();
  HDC screen = ::GetDC(window);
  HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO info = TopDown32(grab.width, grab.height);
  void* bits = nullptr;
  HBITMAP dib = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = ::SelectObject(memory, dib);
  ::BitBlt(memory, 0, 0, grab.width, grab.height, screen, 0, 0, SRCCOPY);
  ::GdiFlush();
  const auto* bgra = static_cast<const uint8_t*>(bits);
  grab.rgba.resize(static_cast<size_t>(grab.width) * static_cast<size_t>(grab.height) * 4);
  for (size_t i = 0; i < grab.rgba.size(); i += 4) {
    grab.rgba[i] = bgra[i + 2];
    grab.rgba[i + 1] = bgra[i + 1];
    grab.rgba[i + 2] = bgra[i];
    grab.rgba[i + 3] = 255;
  }
  ::SelectObject(memory, old);
  ::DeleteObject(dib);
  ::DeleteDC(memory);
  ::ReleaseDC(window, screen);
  return grab;
}

bool ShowsPicture(HWND window, UINT bitmapId) {
  const Grab grab = GrabClient(window);
  HBITMAP bitmap = ::LoadBitmapW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(bitmapId));
  if (bitmap == nullptr) return false;
  BITMAP size{};
  ::GetObjectW(bitmap, sizeof size, &size);
  HDC memory = ::CreateCompatibleDC(nullptr);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  const int left = grab.width / 2 - size.bmWidth / 2, top = grab.height / 2 - size.bmHeight / 2;
  bool same = true;
  for (int y = 0; y < size.bmHeight && same; y += 7) {
    for (int x = 0; x < size.bmWidth && same; x += 7) {
      const COLORREF shown = grab.At(left + x, top + y);
      if (shown == CLR_INVALID) continue;
      same = shown == ::GetPixel(memory, x, y);
    }
  }
  ::SelectObject(memory, old);
  ::DeleteDC(memory);
  ::DeleteObject(bitmap);
  return same;
}

TempFile::TempFile(const std::wstring& name, const std::string& bytes) {
  wchar_t folder[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, folder);
  path_ = CString(folder) + name.c_str();
  HANDLE file = ::CreateFileW(path_, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  if (!bytes.empty()) ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
}

TempFile::~TempFile() { ::DeleteFileW(path_); }

std::string Bitmap24(int w, int h, const std::function<COLORREF(int, int)>& colour) {
  const int stride = (w * 3 + 3) & ~3;
  std::string b(54 + static_cast<size_t>(stride) * h, '\0');
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, static_cast<uint32_t>(b.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(w));
  put32(22, static_cast<uint32_t>(h));
  b[26] = 1;
  b[28] = 24;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const COLORREF c = colour(x, y);
      const size_t at = 54 + static_cast<size_t>(h - 1 - y) * stride + static_cast<size_t>(x) * 3;  // bottom-up
      b[at] = static_cast<char>(GetBValue(c));
      b[at + 1] = static_cast<char>(GetGValue(c));
      b[at + 2] = static_cast<char>(GetRValue(c));
    }
  }
  return b;
}

Pixels ReadBitmap(HBITMAP bitmap, const RECT& part) {
  BITMAP info{};
  ::GetObjectW(bitmap, sizeof info, &info);
  BITMAPINFO header = TopDown32(info.bmWidth, info.bmHeight);
  std::vector<uint32_t> all(static_cast<size_t>(info.bmWidth) * info.bmHeight);
  HDC screen = ::GetDC(nullptr);
  ::GetDIBits(screen, bitmap, 0, info.bmHeight, all.data(), &header, DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, screen);
  Pixels out;
  out.width = part.right - part.left;
  out.height = part.bottom - part.top;
  for (int y = part.top; y < part.bottom; ++y) {
    for (int x = part.left; x < part.right; ++x) out.bgr.push_back(all[static_cast<size_t>(y) * info.bmWidth + x] & 0xFFFFFF);
  }
  return out;
}

Pixels ImageListPixels(HIMAGELIST list, int i) {
  IMAGEINFO info{};
  if (!::ImageList_GetImageInfo(list, i, &info)) return {};
  return ReadBitmap(info.hbmImage, info.rcImage);
}

}  // namespace previewtest
