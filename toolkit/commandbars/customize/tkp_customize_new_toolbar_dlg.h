// CTKPCustomizeNewToolbarDlg: names a new custom toolbar (offering "Custom n") or renames one. OK refuses
// a blank name and a name another toolbar has, and a new toolbar gets the first free custom id.
#pragma once

#include <windows.h>

#include "platform/classlib/cstring.h"
#include "platform/classlib/win/cdialog.h"

class CTKPCommandBar;
class CTKPCommandBars;

class CTKPCustomizeNewToolbarDlg : public CDialog {
 public:
  // pRename: the toolbar to rename, null for a new one.
  CTKPCustomizeNewToolbarDlg(CTKPCommandBars* pCommandBars, CTKPCommandBar* pRename, CWnd* pParent = nullptr);
  INT_PTR DoModal() override;
  BOOL OnInitDialog() override;
  void OnOK() override;

  CString m_strName;
  UINT m_nNewID = 0;  // the id of a new toolbar, chosen on OK

 protected:
  void DoDataExchange(CDataExchange* pDX) override;

 private:
  CTKPCommandBars* m_pCommandBars;
  CTKPCommandBar* m_pRename;
};
