#include "app/about_dialog.h"

#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/cwinapp.h"
#include "res/resource.h"
#include "ui/skin/skin_region.h"

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
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

}  // namespace

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUT) {}

BOOL CAboutDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_normal.CreateFont(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, _T("Tahoma"));
  m_bold.CreateFont(-16, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, _T("Arial"));
  if (m_background.LoadBitmap(IDB_SKIN_ABOUT)) {
    BITMAP info{};
    m_background.GetBitmap(&info);
    SetWindowPos(nullptr, 0, 0, info.bmWidth, info.bmHeight, SWP_NOMOVE | SWP_NOZORDER);
    HRGN region = skin::CreateRegionFromBitmap(static_cast<HBITMAP>(m_background.m_hObject), RGB(0, 0xFF, 0), FALSE);
    if (region != nullptr) SetWindowRgn(region, TRUE);
  }
  if (CWnd* product = GetDlgItem(IDC_ABOUT_PRODUCT)) product->SetFont(&m_bold);
  for (size_t i = 0; i < 4; ++i) {
    if (m_links[i].SubclassDlgItem(kLinks[i].id, this)) m_links[i].SetURL(kLinks[i].target);
  }
  CenterWindow();
  return TRUE;
}

void CAboutDlg::OnPaint() {
  CPaintDC dc(this);
  if (IsIconic()) {
    CRect client;
    GetClientRect(client);
    HICON icon = AfxGetApp()->LoadIcon(IDR_MAINFRAME);
    dc.DrawIcon((client.Width() - ::GetSystemMetrics(SM_CXICON) + 1) / 2,
                (client.Height() - ::GetSystemMetrics(SM_CYICON) + 1) / 2, icon);
    return;
  }
  if (m_background.m_hObject == nullptr) return;
  CDC memory;
  memory.CreateCompatibleDC(&dc);
  CBitmap* old = memory.SelectObject(&m_background);
  BITMAP info{};
  m_background.GetBitmap(&info);
  dc.BitBlt(0, 0, info.bmWidth, info.bmHeight, &memory, 0, 0, SRCCOPY);
  memory.SelectObject(old);
}
