// The frame layout protocol. A window that lays out its children (a frame, RepositionBars) sends each
// child WM_SIZEPARENT with an AFX_SIZEPARENTPARAMS; a child that lines an edge (a control bar, a dock
// bar, the docking panes) takes its strip from the rectangle, adds it to the total size and, when the
// layout is committed (hDWP not null), moves itself there with AfxRepositionWindow. What is left of the
// rectangle goes to the first pane.
#pragma once

#include <windows.h>

struct AFX_SIZEPARENTPARAMS {
  HDWP hDWP;      // the deferred positioning of a committed layout; null while only measuring
  RECT rect;      // what is left for the next child, in the parent's client coordinates
  SIZE sizeTotal; // what the children took so far: widths of vertical strips, heights of horizontal ones
  BOOL bStretch;  // the bars stretch along their whole edge
};

// Layout modes of CControlBar::CalcDynamicLayout.
constexpr DWORD LM_STRETCH = 0x01;   // stretch along the edge (bHorz: the width)
constexpr DWORD LM_HORZ = 0x02;      // lying horizontally
constexpr DWORD LM_MRUWIDTH = 0x04;  // the most recently used width
constexpr DWORD LM_HORZDOCK = 0x08;  // docked along a top or bottom edge
constexpr DWORD LM_VERTDOCK = 0x10;  // docked along a left or right edge
constexpr DWORD LM_LENGTHY = 0x20;   // nLength is a height, not a width
constexpr DWORD LM_COMMIT = 0x40;    // the size is taken, not only measured

// Places hWnd at rect in the committed layout (deferred) unless it is there already.
void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect);
