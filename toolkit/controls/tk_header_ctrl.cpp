#include "toolkit/controls/tk_header_ctrl.h"

#include <commctrl.h>

#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/cmenu.h"
#include "res/toolkit_resource.h"
#include "toolkit/common/aux_data.h"
#include "toolkit/common/gdi_guards.h"
#include "toolkit/common/resource_manager.h"
#include "toolkit/common/tkp_popup_menu.h"
#include "toolkit/controls/tk_list_logic.h"

IMPLEMENT_DYNAMIC(CTKHeaderCtrl, CHeaderCtrl)
IMPLEMENT_DYNAMIC(CTKFlatHeaderCtrl, CTKHeaderCtrl)

namespace {

constexpr UINT_PTR kHeaderHotTimer = 1;
constexpr int kHeaderSubMenu = 2;

bool ScreenReadsRightToLeft() {
  HDC screen = ::GetDC(nullptr);
  const bool rtl = (::GetTextAlign(screen) & TA_RTLREADING) != 0;
  ::ReleaseDC(nullptr, screen);
  return rtl;
}

}  // namespace

CTKHeaderCtrl::CTKHeaderCtrl()
    : m_themeHost(this, RUNTIME_CLASS(CTKHeaderCtrlThemeFactory)), m_bRightToLeft(ScreenReadsRightToLeft()) {}

CTKHeaderCtrl::~CTKHeaderCtrl() {
  DestroyWindow();
  DestroyColumnImages();
}

CTKFlatHeaderCtrl::CTKFlatHeaderCtrl() {
  auto* pTheme = new CTKHeaderThemeFlat;
  pTheme->m_nTheme = 1;
  ThemeHost().SetTheme(pTheme);
}

// ---- the side map of column images ----

HIMAGELIST CTKHeaderCtrl::GetColumnImages(int nColumn) const {
  const auto found = m_columnImages.find(nColumn);
  return found != m_columnImages.end() ? found->second : nullptr;
}

void CTKHeaderCtrl::SetColumnImages(int nColumn, HIMAGELIST hImages) {
  if (HIMAGELIST old = GetColumnImages(nColumn)) ::ImageList_Destroy(old);
  if (hImages != nullptr)
    m_columnImages[nColumn] = hImages;
  else
    m_columnImages.erase(nColumn);
}

void CTKHeaderCtrl::ColumnInserted(int nColumn) {
  std::map<int, HIMAGELIST> moved;
  for (const auto& [column, images] : m_columnImages) moved[tklist::IndexAfterInsert(column, nColumn)] = images;
  m_columnImages.swap(moved);
}

void CTKHeaderCtrl::ColumnDeleted(int nColumn) {
  SetColumnImages(nColumn, nullptr);
  std::map<int, HIMAGELIST> moved;
  for (const auto& [column, images] : m_columnImages) moved[tklist::IndexAfterRemove(column, nColumn)] = images;
  m_columnImages.swap(moved);
}

void CTKHeaderCtrl::DestroyColumnImages() {
  for (auto& entry : m_columnImages) ::ImageList_Destroy(entry.second);
  m_columnImages.clear();
}

BOOL CTKHeaderCtrl::SetBitmap(int nColumn, UINT nIDBitmap, BOOL bRemove, COLORREF crMask) {
  CTKHeaderTheme* pTheme = GetTheme();
  return pTheme != nullptr && pTheme->SetBitmap(nColumn, nIDBitmap, bRemove, crMask, this);
}

// ---- operations ----

int CTKHeaderCtrl::SetSortImage(int nColumn, BOOL bAscending) {
  const int previous = m_nSortColumn;
  m_nSortColumn = nColumn;
  m_bAscending = bAscending;
  if (m_hWnd != nullptr) RedrawWindow();
  return previous;
}

int CTKHeaderCtrl::GetSortImage(BOOL* pbAscending) const {
  if (pbAscending != nullptr) *pbAscending = m_bAscending;
  return m_nSortColumn;
}

BOOL CTKHeaderCtrl::HasSortArrow() const {
  const CTKHeaderTheme* pTheme = GetTheme();
  return pTheme != nullptr && (pTheme->GetDrawStyle() & kTKHeaderSortArrow) != 0;
}

int CTKHeaderCtrl::ColumnAt(CPoint point) {
  HDHITTESTINFO hit{};
  hit.pt = POINT{point.x, point.y};
  const int column = HitTest(&hit);
  return (hit.flags & HHT_ONHEADER) != 0 ? column : -1;
}

BOOL CTKHeaderCtrl::IsColumnPressed(int nColumn) {
  return m_bLButtonDown && ColumnAt(CTKPClientCursorPos(this)) == nColumn;
}

void CTKHeaderCtrl::ApplyToolkitFont(BOOL bBold) {
  CFont& font = bBold ? TKPAuxData().fontBold : TKPAuxData().font;
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font.GetSafeHandle()), FALSE);
}

void CTKHeaderCtrl::SetFontBold(BOOL bBold) {
  ApplyToolkitFont(bBold);
  RedrawWindow();
}

void CTKHeaderCtrl::SetMenuID(UINT nIDMenu, int nSubMenu) {
  m_nMenuID = nIDMenu;
  m_nSubMenu = nSubMenu;
}

void CTKHeaderCtrl::ShowSortArrow(BOOL bShow) {
  CTKHeaderTheme* pTheme = GetTheme();
  if (pTheme == nullptr) return;
  const int style = pTheme->GetDrawStyle();
  pTheme->SetDrawStyle(bShow ? style | kTKHeaderSortArrow : style & ~kTKHeaderSortArrow, this);
  if (m_hWnd != nullptr) Invalidate(FALSE);
}

BOOL CTKHeaderCtrl::IsRightToLeft() { return ScreenReadsRightToLeft(); }

BOOL CTKHeaderCtrl::IsParentList() const {
  HWND parent = m_hWnd != nullptr ? ::GetParent(m_hWnd) : nullptr;
  wchar_t name[32] = {};
  return parent != nullptr && ::GetClassNameW(parent, name, 32) > 0 && lstrcmpiW(name, WC_LISTVIEWW) == 0;
}

void CTKHeaderCtrl::DistributeWidth(int nTotal) {
  const int width = tklist::DistributedWidth(nTotal, GetItemCount());
  HWND parent = ::GetParent(m_hWnd);
  if (width <= 0 || parent == nullptr) return;
  for (int i = 0, count = GetItemCount(); i < count; ++i) ::SendMessageW(parent, LVM_SETCOLUMNWIDTH, i, width);
}

void CTKHeaderCtrl::FitFieldsToClient(int nWidth) {
  HWND parent = ::GetParent(m_hWnd);
  const bool scrollBar = parent != nullptr && (::GetWindowLongW(parent, GWL_STYLE) & WS_VSCROLL) != 0;
  const int scrollBarWidth = ::GetSystemMetrics(SM_CXVSCROLL);
  DistributeWidth(tklist::FittedTotal(nWidth, CTKPClientRect(this).Width(), scrollBar, scrollBarWidth));
}

void CTKHeaderCtrl::SetAlignment(int nFormat) {
  const int column = RightClickColumn();
  if (column < 0 || !IsParentList()) return;
  HWND list = ::GetParent(m_hWnd);
  LVCOLUMNW info{};
  info.mask = LVCF_FMT;
  if (!::SendMessageW(list, LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&info))) return;
  info.fmt = (info.fmt & ~LVCFMT_JUSTIFYMASK) | (nFormat & LVCFMT_JUSTIFYMASK);
  ::SendMessageW(list, LVM_SETCOLUMNW, column, reinterpret_cast<LPARAM>(&info));
  ::SendMessageW(list, LVM_SETWORKAREAS, 0, 0);
}

int CTKHeaderCtrl::RightClickColumn() { return m_hWnd != nullptr ? ColumnAt(m_ptRightClick) : -1; }

void CTKHeaderCtrl::RecalcLayout() {
  if (m_hWnd == nullptr) return;
  CWnd* pParent = GetParent();
  if (pParent == nullptr) return;
  RECT rc{};
  ::GetClientRect(pParent->m_hWnd, &rc);
  WINDOWPOS pos{};
  HDLAYOUT layout{&rc, &pos};
  if (!Layout(&layout)) return;
  SetWindowPos(CWnd::FromHandle(pos.hwndInsertAfter), pos.x, pos.y, pos.cx, pos.cy, pos.flags | SWP_FRAMECHANGED);
  // A size change makes the list lay out its rows under the new header.
  CRect parentRect;
  pParent->GetWindowRect(parentRect);
  const UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
  pParent->SetWindowPos(nullptr, 0, 0, parentRect.Width(), parentRect.Height() + 1, flags);
  pParent->SetWindowPos(nullptr, 0, 0, parentRect.Width(), parentRect.Height(), flags);
}

// ---- sorting and alignment from the right-click menu ----

void CTKHeaderCtrl::OnRightButtonDown(CPoint point) {
  HWND parent = ::GetParent(m_hWnd);
  if (parent != nullptr && (::GetWindowLongW(parent, GWL_STYLE) & LVS_NOSORTHEADER) != 0) return;
  m_ptRightClick = point;
  CPoint screen(point);
  ClientToScreen(screen);
  if (m_nMenuID != 0) {
    CMenu menu;
    if (!menu.LoadMenu(m_nMenuID)) return;
    HMENU popup = ::GetSubMenu(menu.GetSafeHmenu(), m_nSubMenu);
    CWnd* pOwner = GetOwner() != nullptr ? GetOwner() : GetParent();
    if (popup != nullptr && pOwner != nullptr)
      ::TrackPopupMenu(popup, TPM_RIGHTBUTTON, screen.x, screen.y, 0, pOwner->m_hWnd, nullptr);
    menu.DestroyMenu();
    return;
  }
  const int column = ColumnAt(point);
  if (column >= 0) ShowToolkitMenu(column, screen);
}

void CTKHeaderCtrl::ShowToolkitMenu(int nColumn, CPoint screen) {
  CMenu menu;
  if (!TKPResourceManager()->LoadMenu(&menu, IDR_TK_MENUS)) return;
  HMENU popup = ::GetSubMenu(menu.GetSafeHmenu(), kHeaderSubMenu);
  if (popup == nullptr) return;
  if (nColumn == m_nSortColumn)
    ::CheckMenuItem(popup, m_bAscending ? ID_TK_SORT_ASCENDING : ID_TK_SORT_DESCENDING, MF_BYCOMMAND | MF_CHECKED);
  if (IsParentList()) {
    LVCOLUMNW info{};
    info.mask = LVCF_FMT;
    if (::SendMessageW(::GetParent(m_hWnd), LVM_GETCOLUMNW, nColumn, reinterpret_cast<LPARAM>(&info))) {
      UINT checked = ID_TK_ALIGN_LEFT;
      if ((info.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT) checked = ID_TK_ALIGN_RIGHT;
      if ((info.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_CENTER) checked = ID_TK_ALIGN_CENTER;
      ::CheckMenuItem(popup, checked, MF_BYCOMMAND | MF_CHECKED);
    }
  }
  TKPTrackPopupMenu(popup, TPM_RIGHTBUTTON, screen.x, screen.y, m_hWnd, IDR_TK_HEADER_TOOLBAR);
  menu.DestroyMenu();
}

void CTKHeaderCtrl::OnSortCommand(BOOL bAscending) {
  const int column = RightClickColumn();
  if (column < 0) return;
  if (column == m_nSortColumn && m_bAscending == bAscending) return;
  m_bAscending = bAscending;
  m_nSortColumn = column;
  SendSortNotification(column);
}

void CTKHeaderCtrl::SendSortNotification(int nColumn) {
  if (!IsParentList()) return;
  wchar_t text[256] = {};
  HDITEMW item{};
  item.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT | HDI_LPARAM | HDI_BITMAP | HDI_IMAGE | HDI_ORDER;
  item.pszText = text;
  item.cchTextMax = 256;
  GetItem(nColumn, &item);
  NMHEADERW notify{};
  notify.hdr.hwndFrom = m_hWnd;
  notify.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
  notify.hdr.code = HDN_ITEMCLICKW;
  notify.iItem = nColumn;
  notify.iButton = tklist::kRightButton;
  notify.pitem = &item;
  HWND list = ::GetParent(m_hWnd);
  const WPARAM id = notify.hdr.idFrom;
  ::SendMessageW(list, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&notify));
  CWnd::SendMessageToDescendants(list, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&notify), TRUE, FALSE);
}

// ---- messages ----

void CTKHeaderCtrl::InitHeader() {
  if (CTKHeaderTheme* pTheme = GetTheme()) pTheme->SetDrawStyle(pTheme->GetDrawStyle(), this);
}

void CTKHeaderCtrl::PreSubclassWindow() {
  CHeaderCtrl::PreSubclassWindow();
  InitHeader();
}

void CTKHeaderCtrl::OnPaint() {
  CPaintDC dc(this);
  const CTKPClientRect rc(this);
  CTKPBufferDC buffer(dc.GetSafeHdc(), rc);
  if (CTKHeaderTheme* pTheme = GetTheme()) pTheme->DrawHeader(&buffer, this);
}

void CTKHeaderCtrl::OnTimerStep() {
  const int column = ColumnAt(CTKPClientCursorPos(this));
  if (column < 0) {
    KillTimer(kHeaderHotTimer);
    if (m_bHotShown) Invalidate(FALSE);
    m_bHotShown = FALSE;
    m_nHotColumn = -1;
    return;
  }
  if (column != m_nHotColumn) {
    m_nHotColumn = column;
    m_bHotShown = FALSE;
  }
  if (!m_bHotShown) {
    Invalidate(FALSE);
    m_bHotShown = TRUE;
  }
}

LRESULT CTKHeaderCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  CTKHeaderTheme* pTheme = GetTheme();
  switch (message) {
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
      if (pTheme != nullptr) pTheme->RefreshMetrics();
      break;
    case WM_CREATE: {
      const LRESULT result = CHeaderCtrl::WindowProc(message, wParam, lParam);
      if (result != -1) InitHeader();
      return result;
    }
    case WM_PAINT:
      if (pTheme == nullptr) break;
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return TRUE;
    case WM_LBUTTONDOWN:
      m_bLButtonDown = TRUE;
      break;
    case WM_LBUTTONUP:
      m_bLButtonDown = FALSE;
      break;
    case WM_MOUSEMOVE:
      if (pTheme != nullptr && pTheme->UseVisualStyle(this)) SetTimer(kHeaderHotTimer, 10, nullptr);
      break;
    case WM_TIMER:
      if (wParam != kHeaderHotTimer) break;
      OnTimerStep();
      return 0;
    case WM_DESTROY:
      if (pTheme != nullptr) pTheme->CleanUp(this);
      break;
    case WM_RBUTTONDOWN:
      OnRightButtonDown(CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))));
      return 0;
    case HDM_INSERTITEMA:
    case HDM_INSERTITEMW: {
      // The images belong to columns, not to places: they move with the columns after a new one.
      const LRESULT result = CHeaderCtrl::WindowProc(message, wParam, lParam);
      if (result >= 0) ColumnInserted(static_cast<int>(result));
      return result;
    }
    case HDM_DELETEITEM: {
      const LRESULT result = CHeaderCtrl::WindowProc(message, wParam, lParam);
      if (result != 0) ColumnDeleted(static_cast<int>(wParam));
      return result;
    }
    case HDM_LAYOUT:
      if (pTheme == nullptr) break;
      return pTheme->Layout(reinterpret_cast<HDLAYOUT*>(lParam), this);
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case ID_TK_SORT_ASCENDING: OnSortCommand(TRUE); return 0;
        case ID_TK_SORT_DESCENDING: OnSortCommand(FALSE); return 0;
        case ID_TK_ALIGN_LEFT: SetAlignment(LVCFMT_LEFT); return 0;
        case ID_TK_ALIGN_CENTER: SetAlignment(LVCFMT_CENTER); return 0;
        case ID_TK_ALIGN_RIGHT: SetAlignment(LVCFMT_RIGHT); return 0;
        default: break;
      }
      break;
    default:
      break;
  }
  return CHeaderCtrl::WindowProc(message, wParam, lParam);
}
