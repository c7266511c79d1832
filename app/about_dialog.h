// The About box: the program's skinned dialog with the product name, version, legal notice and four links.
#pragma once

#include "app/dialogs/skinned_dialog.h"
#include "platform/classlib/win/cgdiobject.h"
#include "ui/controls/hyperlink_ctrl.h"
#include "ui/skin/transparent_controls.h"

class CAboutDlg : public app::SkinnedDialog {
 public:
  CAboutDlg();

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

 private:
  CFont m_normal;
  CFont m_bold;
  skin::CTransparentStatic m_texts[3];
  ui::HyperLinkCtrl m_links[4];
};
