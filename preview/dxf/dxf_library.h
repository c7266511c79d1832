// DXF.dll, our drawing library: what it exports and how the preview calls it. The preview loads it by name
// at run time from the program's folder and needs all twenty entry points, though it calls eight; the
// others are there for the library's shape and answer 0. Every entry point returns 0 on failure and never
// lets an exception out.
#pragma once

#include <windows.h>

#include "preview/dxf/dxf_view_maths.h"

using DxfHandle = void*;

// The drawing as the library keeps it; 0 when there is none.
using DrwCreateFn = DxfHandle(WINAPI*)();
using DrwDestroyFn = int(WINAPI*)(DxfHandle);
// The entry points the preview does not call take a drawing and one record.
using DrwUnusedFn = int(WINAPI*)(DxfHandle, void*);
// (drawing, block 0 = the drawing itself, options 0, ANSI path, window that receives progress or null)
using DrwLoadDataFromFileFn = int(WINAPI*)(DxfHandle, DWORD, DWORD, const char*, HWND);
using DrwInitViewFn = int(WINAPI*)(DxfHandle, int, int, int, int);  // the window: x, y, width, height
// Non-zero when painted; kDxfPaintSimplified when the drawing holds more in view than one paint may draw.
using DrwPaintFn = int(WINAPI*)(DxfHandle, HDC);
constexpr int kDxfPaintSimplified = 2;
using DrwGetViewPropertiesFn = int(WINAPI*)(DxfHandle, dxf::ViewProperties*);
using DrwSetViewPropertiesFn = int(WINAPI*)(DxfHandle, const dxf::ViewProperties*);
using DrwZoomExtentsFn = int(WINAPI*)(DxfHandle);

constexpr int kDxfEntryCount = 20;
constexpr const char* kDxfEntryNames[kDxfEntryCount] = {
    "drwCreate",         "drwDestroy",          "drwAddTableType",      "drwDeleteTableType",
    "drwFindTableType",  "drwAddBlock",         "drwDeleteBlock",       "drwFindBlock",
    "drwAddEntity",      "drwDeleteEntity",     "drwChangeEntity",      "drwFindEntity",
    "drwSaveDataToFile", "drwLoadDataFromFile", "drwInitView",          "drwPaint",
    "drwGetViewProperties", "drwSetViewProperties", "drwGetDrawingBorder", "drwZoomExtents"};
// Their places in that list.
enum DxfEntry {
  kDrwCreate = 0,
  kDrwDestroy = 1,
  kDrwLoadDataFromFile = 13,
  kDrwInitView = 14,
  kDrwPaint = 15,
  kDrwGetViewProperties = 16,
  kDrwSetViewProperties = 17,
  kDrwZoomExtents = 19,
};

// Sent to the progress window while a drawing loads: wParam the percentage read.
constexpr UINT kDxfProgressMessage = WM_USER + 1;

// Files larger than this are not loaded (a drawing worth previewing is far smaller).
constexpr DWORD kDxfMaxFileBytes = 64u << 20;
