// The About box: a skinned dialog with the product name, version, legal notice and four links.
#pragma once

#include "platform/classlib/win/cdialog.h"
#include "platform/classlib/win/cgdiobject.h"
#include "ui/controls/hyperlink_ctrl.h"

class CAboutDlg : public CDialog {
 public:
  CAboutDlg();

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

 private:
  CBitmap m_background;
  CFont m_normal;
  CFont m_bold;
  ui::HyperLinkCtrl m_links[4];
};
