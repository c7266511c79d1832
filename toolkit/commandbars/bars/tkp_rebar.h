// CTKPReBar: a host for toolbars as bands of a common-control rebar, in place of the dock bars: each
// band holds one toolbar at its full size, the rebar's rows follow the bands, and the frame lays out
// again when they change.
#pragma once

#include "platform/classlib/win/crebar.h"

class CTKPToolBar;

class CTKPReBar : public CReBar {
  DECLARE_DYNAMIC(CTKPReBar)

 public:
  CTKPReBar() = default;

  // The toolbar as a new band (the manager passes RBBS_BREAK | RBBS_GRIPPERALWAYS): taken out of its
  // dock bar, no longer docking, without its gripper; the band's id is the bar's.
  BOOL AddToolBar(CTKPToolBar* pBar, DWORD dwStyle = RBBS_BREAK | RBBS_GRIPPERALWAYS);
  void RemoveToolBar(CTKPToolBar* pBar);
  // The toolbar of a band, or null.
  CTKPToolBar* GetToolBar(int nBand) const;

  // The bands' least and ideal sizes from their toolbars' layouts at the bands' widths, then the base.
  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()
};
