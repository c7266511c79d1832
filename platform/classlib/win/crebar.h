// CReBar: a control bar over the common rebar window, whose bands each hold a child window (a toolbar)
// and which the frame lays out along its top edge; when the bands change rows the frame lays out again.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "platform/classlib/win/ccontrolbar.h"

class CBitmap;

class CReBar : public CControlBar {
  DECLARE_DYNAMIC(CReBar)

 public:
  CReBar() = default;

  // dwCtrlStyle: the rebar's styles (RBS_); dwStyle: window styles and CBRS_ bar styles.
  virtual BOOL Create(CWnd* pParentWnd, DWORD dwCtrlStyle = RBS_BANDBORDERS,
                      DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CBRS_TOP,
                      UINT nID = AFX_IDW_REBAR);
  // A band holding the window (its parent becomes the rebar), with a text and a background bitmap when
  // given; the band's least size is the window's. FALSE when the band could not be added.
  BOOL AddBar(CWnd* pBar, LPCTSTR pszText = nullptr, CBitmap* pbmp = nullptr,
              DWORD dwStyle = RBBS_GRIPPERALWAYS | RBBS_FIXEDBMP);
  int GetBandCount() const { return static_cast<int>(SendMessage(RB_GETBANDCOUNT)); }

  // As high as its rows of bands, as wide as the frame when stretched.
  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  // The bands' windows update themselves.
  void OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHandler) override;

 protected:
  // The rows changed: the frame lays out again.
  afx_msg void OnHeightChange(NMHDR* pNMHDR, LRESULT* pResult);
  DECLARE_MESSAGE_MAP()
};
