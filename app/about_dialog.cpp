#include "app/about_dialog.h"

#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/cwinapp.h"
#include "res/resource.h"

BEGIN_MESSAGE_MAP(CAboutDlg, app::SkinnedDialog)
  ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {

struct Link {
  UINT id;
  const TCHAR* target;
};
const Link kLinks[] = {{IDC_ABOUT_HOME_PAGE, _T("https://www.dorvane.example")},
                       {IDC_ABOUT_SUPPORT_MAIL, _T("mailto:support@dorvane.example")},
                       {IDC_ABOUT_SALES_MAIL, _T("mailto:sales@dorvane.example")},
                       {IDC_ABOUT_PRODUCTS, _T("https://www.dorvane.example/products")}};
const UINT kTexts[] = {IDC_ABOUT_PRODUCT, IDC_ABOUT_VERSION, IDC_ABOUT_LEGAL};

}  // namespace

CAboutDlg::CAboutDlg() : app::SkinnedDialog(IDD_ABOUT, IDB_SKIN_ABOUT, nullptr) {}

BOOL CAboutDlg::OnInitDialog() {
  app::SkinnedDialog::OnInitDialog();
  m_normal.CreateFont(16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, _T("Tahoma"));
  m_bold.CreateFont(16, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, _T("Arial"));
  for (size_t i = 0; i < 3; ++i) {
    MakeTransparent(m_texts[i], static_cast<int>(kTexts[i]));
    if (m_texts[i].m_hWnd != nullptr) m_texts[i].SetFont(i == 0 ? &m_bold : &m_normal);
  }
  for (size_t i = 0; i < 4; ++i) {
    // The font first: the link measures its text with it when it takes the control.
    if (CWnd* control = GetDlgItem(kLinks[i].id)) control->SetFont(&m_normal);
    if (m_links[i].SubclassDlgItem(kLinks[i].id, this)) m_links[i].SetURL(kLinks[i].target);
  }
  return TRUE;
}

void CAboutDlg::OnPaint() {
  if (!IsIconic()) {
    Default();
    return;
  }
  CPaintDC dc(this);
  CRect client;
  GetClientRect(client);
  HICON icon = AfxGetApp()->LoadIcon(IDR_MAINFRAME);
  dc.DrawIcon((client.Width() - ::GetSystemMetrics(SM_CXICON) + 1) / 2,
              (client.Height() - ::GetSystemMetrics(SM_CYICON) + 1) / 2, icon);
}
