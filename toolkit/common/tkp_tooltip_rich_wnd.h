// CTKPToolTipRichWnd: a drawn tip whose text is rich text, laid out by a hidden rich-edit child and
// rendered into the tip. Its size is the narrowest width that keeps the text as low as at its widest.
#pragma once

#include "toolkit/common/tkp_tooltip_wnd.h"

class CTKPToolTipRichWnd : public CTKPToolTipWnd {
 public:
  CSize CalcToolSize(TKPToolTipTool* pTool) override;
  void DrawToolText(CDC* pDC, TKPToolTipTool* pTool, CRect rc) override;
  void SetRichText(const std::wstring& text);

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  CSize BestSize();
  CSize Probe(int width);

  HWND m_hRich = nullptr;
  CSize m_requested{0, 0};
};
