// DXF.dll: drawings read by our reader, kept by handle, fitted, zoomed and painted through the view record.
#include <windows.h>

#include <exception>
#include <memory>
#include <set>
#include <string>
#include <string_view>

#include "preview/dxf/dxf_gdi_painter.h"
#include "preview/dxf/dxf_library.h"
#include "preview/dxf/dxf_reader.h"

#define DXF_EXPORT extern "C" __declspec(dllexport)

namespace {

struct LibraryDrawing {
  dxf::Drawing model;
  dxf::ViewProperties view;
  DxfFontCache fonts;
};

// Handles given out and not yet destroyed: a stale or foreign handle is refused, not followed.
SRWLOCK g_lock = SRWLOCK_INIT;

class Hold {
 public:
  Hold() { ::AcquireSRWLockExclusive(&g_lock); }
  ~Hold() { ::ReleaseSRWLockExclusive(&g_lock); }
  Hold(const Hold&) = delete;
  Hold& operator=(const Hold&) = delete;
};

std::set<LibraryDrawing*>& Live() {
  static std::set<LibraryDrawing*> live;
  return live;
}

LibraryDrawing* Find(DxfHandle handle) {
  Hold hold;
  auto* drawing = static_cast<LibraryDrawing*>(handle);
  return Live().count(drawing) != 0 ? drawing : nullptr;
}

// Runs an entry point's work; an exception becomes the failure result 0.
template <typename Work>
int Guarded(Work work) {
  try {
    return work();
  } catch (...) {
    return 0;
  }
}

bool ReadWholeFile(const char* path, std::string& bytes) {
  HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  bool ok = ::GetFileSizeEx(file, &size) && size.QuadPart <= kDxfMaxFileBytes;
  if (ok) {
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    ok = bytes.empty() || (::ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr) &&
                           read == bytes.size());
  }
  ::CloseHandle(file);
  return ok;
}

int PaintResult(const DxfPaintReport& report) { return report.simplified ? kDxfPaintSimplified : 1; }

// Text in a Windows code page, through the system's own conversion; false for a code page it has not got.
bool DecodeCodePage(std::string_view bytes, unsigned codePage, std::string& utf8) {
  static_assert(sizeof(wchar_t) == 2, "UTF-16 for the Win32 calls");
  const int length = static_cast<int>(bytes.size());
  const int wide = ::MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
  if (wide <= 0) return false;
  std::wstring text(static_cast<size_t>(wide), L'\0');
  ::MultiByteToWideChar(codePage, 0, bytes.data(), length, &text[0], wide);
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return false;
  utf8.assign(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, &utf8[0], size, nullptr, nullptr);
  return true;
}

}  // namespace

DXF_EXPORT DxfHandle WINAPI drwCreate() {
  try {
    auto drawing = std::make_unique<LibraryDrawing>();
    Hold hold;
    Live().insert(drawing.get());
    return drawing.release();
  } catch (...) {
    return nullptr;
  }
}

DXF_EXPORT int WINAPI drwDestroy(DxfHandle handle) {
  return Guarded([&] {
    Hold hold;
    auto* drawing = static_cast<LibraryDrawing*>(handle);
    if (Live().erase(drawing) == 0) return 0;
    delete drawing;
    return 1;
  });
}

DXF_EXPORT int WINAPI drwLoadDataFromFile(DxfHandle handle, DWORD block, DWORD options, const char* path,
                                          HWND progress) {
  return Guarded([&] {
    LibraryDrawing* drawing = Find(handle);
    if (drawing == nullptr || block != 0 || options != 0 || path == nullptr) return 0;
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return 0;
    auto report = [progress](int percent) {
      if (progress != nullptr && ::IsWindow(progress)) ::SendMessageW(progress, kDxfProgressMessage, percent, 0);
    };
    dxf::Drawing model = dxf::ReadDrawing(bytes.data(), bytes.size(), report, DecodeCodePage);
    // A damaged file, or one that ends before anything of a drawing was read, is not a drawing.
    if (model.status == dxf::ReadStatus::kDamaged) return 0;
    if (model.status == dxf::ReadStatus::kTruncated && model.entities.empty()) return 0;
    drawing->model = std::move(model);
    return 1;
  });
}

DXF_EXPORT int WINAPI drwInitView(DxfHandle handle, int x, int y, int width, int height) {
  return Guarded([&] {
    LibraryDrawing* drawing = Find(handle);
    if (drawing == nullptr || width < 0 || height < 0) return 0;
    drawing->view.left = x;
    drawing->view.top = y;
    drawing->view.right = x + width;
    drawing->view.bottom = y + height;
    return 1;
  });
}

DXF_EXPORT int WINAPI drwZoomExtents(DxfHandle handle) {
  return Guarded([&] {
    LibraryDrawing* drawing = Find(handle);
    if (drawing == nullptr) return 0;
    dxf::ZoomToExtents(drawing->view, drawing->model.extents);
    return 1;
  });
}

DXF_EXPORT int WINAPI drwGetViewProperties(DxfHandle handle, dxf::ViewProperties* view) {
  return Guarded([&] {
    LibraryDrawing* drawing = Find(handle);
    if (drawing == nullptr || view == nullptr) return 0;
    *view = drawing->view;
    return 1;
  });
}

DXF_EXPORT int WINAPI drwSetViewProperties(DxfHandle handle, const dxf::ViewProperties* view) {
  return Guarded([&] {
    LibraryDrawing* drawing = Find(handle);
    // A record whose scale or zoom one cannot divide by would make every later step meaningless.
    if (drawing == nullptr || view == nullptr || !dxf::IsUsableView(*view)) return 0;
    drawing->view = *view;
    return 1;
  });
}

DXF_EXPORT int WINAPI drwPaint(DxfHandle handle, HDC dc) {
  return Guarded([&] {
    LibraryDrawing* drawing = Find(handle);
    if (drawing == nullptr || dc == nullptr) return 0;
    const dxf::ViewProperties& view = drawing->view;
    const int width = view.right - view.left, height = view.bottom - view.top;
    // Painted off screen first so that zooming and panning do not flicker.
    HDC memory = width > 0 && height > 0 && width <= 8192 && height <= 8192 ? ::CreateCompatibleDC(dc) : nullptr;
    HBITMAP bitmap = memory != nullptr ? ::CreateCompatibleBitmap(dc, width, height) : nullptr;
    if (bitmap == nullptr) {
      if (memory != nullptr) ::DeleteDC(memory);
      return PaintResult(PaintDxfDrawing(dc, drawing->model, view, drawing->fonts));
    }
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::SetViewportOrgEx(memory, -view.left, -view.top, nullptr);
    const DxfPaintReport report = PaintDxfDrawing(memory, drawing->model, view, drawing->fonts);
    ::SetViewportOrgEx(memory, 0, 0, nullptr);
    ::BitBlt(dc, view.left, view.top, width, height, memory, 0, 0, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    return PaintResult(report);
  });
}

// The library's other entry points: the preview only needs them present.
#define DXF_UNUSED_ENTRY(name) \
  DXF_EXPORT int WINAPI name(DxfHandle, void*) { return 0; }
DXF_UNUSED_ENTRY(drwAddTableType)
DXF_UNUSED_ENTRY(drwDeleteTableType)
DXF_UNUSED_ENTRY(drwFindTableType)
DXF_UNUSED_ENTRY(drwAddBlock)
DXF_UNUSED_ENTRY(drwDeleteBlock)
DXF_UNUSED_ENTRY(drwFindBlock)
DXF_UNUSED_ENTRY(drwAddEntity)
DXF_UNUSED_ENTRY(drwDeleteEntity)
DXF_UNUSED_ENTRY(drwChangeEntity)
DXF_UNUSED_ENTRY(drwFindEntity)
DXF_UNUSED_ENTRY(drwSaveDataToFile)
DXF_UNUSED_ENTRY(drwGetDrawingBorder)
