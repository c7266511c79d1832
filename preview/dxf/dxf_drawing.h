// DxfDrawing: the preview's binding to our drawing library DXF.dll, loaded by name from the program's
// folder when the binding is made. It counts as loaded only when every one of the library's twenty entry
// points is there; each operation answers 0 without calling the library when it is not.
#pragma once

#include <windows.h>

#include "preview/dxf/dxf_library.h"

class DxfDrawing {
 public:
  DxfDrawing();
  ~DxfDrawing();
  DxfDrawing(const DxfDrawing&) = delete;
  DxfDrawing& operator=(const DxfDrawing&) = delete;

  int Create();
  int Destroy();
  void Unload();
  bool IsCreated() const { return m_loaded != 0 && m_drawing != nullptr; }
  bool IsLoaded() const { return m_loaded != 0; }
  int LoadFile(const char* path, HWND progress);
  int InitView(int x, int y, int width, int height);
  int Paint(HDC dc);
  int GetViewProperties(dxf::ViewProperties& view);
  int SetViewProperties(const dxf::ViewProperties& view);
  int ZoomExtents();
  double GetZoomLevel();
  // Zooms about the window's centre; 0 for a level that is not a positive number.
  int SetZoomLevel(double zoom);

 private:
  template <typename Fn>
  Fn Entry(int index) const {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(m_entries[index]));
  }

  HMODULE m_module = nullptr;
  DxfHandle m_drawing = nullptr;
  uint8_t m_loaded = 1;
  FARPROC m_entries[kDxfEntryCount] = {};
};
