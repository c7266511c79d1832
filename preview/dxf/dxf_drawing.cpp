#include "preview/dxf/dxf_drawing.h"

#include "platform/os/library_win32.h"

DxfDrawing::DxfDrawing() {
  m_module = os::LoadProgramOrSystemLibrary(L"DXF.dll");
  if (m_module == nullptr) {
    m_loaded = 0;
    return;
  }
  for (int i = 0; i < kDxfEntryCount; ++i) {
    m_entries[i] = ::GetProcAddress(m_module, kDxfEntryNames[i]);
    if (m_entries[i] == nullptr) m_loaded = 0;
  }
}

DxfDrawing::~DxfDrawing() { Unload(); }

int DxfDrawing::Create() {
  if (m_loaded == 0 || m_drawing != nullptr) return 0;
  m_drawing = Entry<DrwCreateFn>(kDrwCreate)();
  return m_drawing != nullptr ? 1 : 0;
}

int DxfDrawing::Destroy() {
  if (m_loaded == 0) return 0;
  const int result = Entry<DrwDestroyFn>(kDrwDestroy)(m_drawing);
  if (result != 0) m_drawing = nullptr;
  return result;
}

void DxfDrawing::Unload() {
  if (m_drawing != nullptr) Destroy();
  if (m_module != nullptr) ::FreeLibrary(m_module);
  m_module = nullptr;
  m_loaded = 0;
}

int DxfDrawing::LoadFile(const char* path, HWND progress) {
  if (m_loaded == 0) return 0;
  return Entry<DrwLoadDataFromFileFn>(kDrwLoadDataFromFile)(m_drawing, 0, 0, path, progress);
}

int DxfDrawing::InitView(int x, int y, int width, int height) {
  if (!IsCreated()) return 0;
  return Entry<DrwInitViewFn>(kDrwInitView)(m_drawing, x, y, width, height);
}

int DxfDrawing::Paint(HDC dc) {
  if (m_loaded == 0) return 0;
  return Entry<DrwPaintFn>(kDrwPaint)(m_drawing, dc);
}

int DxfDrawing::GetViewProperties(dxf::ViewProperties& view) {
  if (m_loaded == 0) return 0;
  return Entry<DrwGetViewPropertiesFn>(kDrwGetViewProperties)(m_drawing, &view);
}

int DxfDrawing::SetViewProperties(const dxf::ViewProperties& view) {
  if (m_loaded == 0) return 0;
  return Entry<DrwSetViewPropertiesFn>(kDrwSetViewProperties)(m_drawing, &view);
}

int DxfDrawing::ZoomExtents() {
  if (m_loaded == 0) return 0;
  return Entry<DrwZoomExtentsFn>(kDrwZoomExtents)(m_drawing);
}

double DxfDrawing::GetZoomLevel() {
  dxf::ViewProperties view;
  if (GetViewProperties(view) == 0) return 0.0;
  return view.zoom;
}

int DxfDrawing::SetZoomLevel(double zoom) {
  dxf::ViewProperties view;
  if (GetViewProperties(view) == 0) return 0;
  if (!dxf::ZoomAboutCentre(view, zoom)) return 0;
  return SetViewProperties(view) != 0 ? 1 : 0;
}
