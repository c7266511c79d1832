// TKPAuxData: the toolkit's shared colours, cursors, metrics, fonts and version flags, built on first
// use and rebuilt by its Update calls when the system's settings change.
#pragma once

#include <windows.h>

#include "platform/classlib/cstring.h"
#include "platform/classlib/win/cgdiobject.h"
#include "res/toolkit_resource.h"

// The toolkit's cursors: the resource script's ids, named once.
enum : UINT {
  kTKPCursorDragCopy = IDC_TK_DRAG_COPY,
  kTKPCursorDragNone = IDC_TK_DRAG_NONE,
  kTKPCursorDragMove = IDC_TK_DRAG_MOVE,
  kTKPCursorSplitHorz = IDC_TK_SPLIT_HORZ,
  kTKPCursorSplitVert = IDC_TK_SPLIT_VERT,
  kTKPCursorHand = IDC_TK_HAND,
};

class CTKPAuxData {
 public:
  CTKPAuxData();
  CTKPAuxData(const CTKPAuxData&) = delete;
  CTKPAuxData& operator=(const CTKPAuxData&) = delete;

  // Colours after RefreshToolkitColors: system colours, then the colour manager's 30 to 49.
  void UpdateSysColors();
  void UpdateSysMetrics();
  // FALSE at the first cursor that does not load (those before it are kept).
  BOOL LoadSysCursors();
  // FALSE at the first font that cannot be made.
  BOOL UpdateFonts();
  // (major << 16) | minor of the common controls, 0 when unknown; asked once.
  DWORD GetComCtlVersion();

  COLORREF clrBtnFace = 0, clrBtnShadow = 0, clr3DDkShadow = 0, clrBtnHilite = 0, clr3DLight = 0,
           clrBtnText = 0, clrGrayText = 0, clrHighlight = 0, clrHighlightText = 0, clrMenu = 0, clrMenuText = 0,
           clrWindow = 0, clrWindowFrame = 0, clrWindowText = 0, clrActiveCaption = 0, clrInActiveCaption = 0,
           clrGradientActiveCaption = 0, clrGradientInActiveCaption = 0, clrActiveCaptionText = 0,
           clrInactiveCaptionText = 0;
  COLORREF clrToolkit[20] = {};  // the colour manager's 30 to 49

  HCURSOR hcurDragCopy = nullptr, hcurDragNone = nullptr, hcurDragMove = nullptr, hcurHand = nullptr,
          hcurSplitHorz = nullptr, hcurSplitVert = nullptr, hcurMove = nullptr;

  int cxSmIcon = 0, cySmIcon = 0, cxSize = 18, cySize = 18, cxHThumb = 0, cyVThumb = 0, cyMenuItem = 0;

  CFont font, fontBold, fontUnderline, fontVert, fontVertBold, fontIcon, fontIconBold, fontMarlett, fontStatus,
      fontSmCaption;

  BOOL bWin95 = FALSE, bWin98 = FALSE, bWinNT4 = FALSE, bWin2K = FALSE, bWinXP = FALSE;
  const CString* pstrINIFileName = nullptr;  // the registry manager's profile file

 private:
  DWORD m_nComCtlVersion = static_cast<DWORD>(-1);
};

CTKPAuxData& TKPAuxData();
