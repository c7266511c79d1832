#include "toolkit/controls/tk_list_base.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/cwnd.h"
#include "toolkit/common/aux_data.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/gdi_guards.h"
#include "toolkit/common/registry_manager.h"
#include "toolkit/controls/tk_list_logic.h"

static_assert(sizeof(wchar_t) == 2, "UTF-16 wchar_t");

namespace {
constexpr int kTextMax = 256;
// The longest cell text a row copy carries (a list holds longer ones only by a caller's mistake).
constexpr int kItemTextMax = 1 << 20;
}  // namespace

CTKListBase::CTKListBase(CWnd* pList) : m_pList(pList) { RefreshMetrics(); }

CTKListBase::~CTKListBase() { ClearRowColors(); }

HWND CTKListBase::List() const { return m_pList != nullptr ? m_pList->m_hWnd : nullptr; }

LRESULT CTKListBase::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
  HWND list = List();
  return list != nullptr ? ::SendMessageW(list, message, wParam, lParam) : 0;
}

bool CTKListBase::IsReport() const {
  HWND list = List();
  return list != nullptr && (::GetWindowLongW(list, GWL_STYLE) & LVS_TYPEMASK) == LVS_REPORT;
}

HWND CTKListBase::HeaderWindow() const {
  return List() != nullptr ? reinterpret_cast<HWND>(Send(LVM_GETHEADER)) : nullptr;
}

CTKHeaderCtrl* CTKListBase::ToolkitHeader() const {
  HWND header = HeaderWindow();
  CWnd* pWnd = header != nullptr ? CWnd::FromHandlePermanent(header) : nullptr;
  return pWnd != nullptr && pWnd->IsKindOf(RUNTIME_CLASS(CTKHeaderCtrl)) ? static_cast<CTKHeaderCtrl*>(pWnd) : nullptr;
}

// ---- sorting ----

int CTKListBase::SetSortImage(int nColumn, BOOL bAscending) {
  const int previous = m_nSortColumn;
  m_nSortColumn = nColumn;
  m_bSortAscending = bAscending == 1 ? 1 : 0;
  if (CTKHeaderCtrl* pHeader = ToolkitHeader()) pHeader->SetSortImage(nColumn, bAscending);
  return previous;
}

BOOL CTKListBase::SortList(int, BOOL) { return TRUE; }

// ---- stored widths ----

CString CTKListBase::StoredText() {
  CTKRegistryManager registry(HKEY_CURRENT_USER);
  return registry.GetProfileString(m_strSection, m_strValue, m_strDefaults);
}

int CTKListBase::GetStoredColumnWidth(int nIndex) {
  const std::optional<int> field = tklist::ColumnInfoField(StoredText().ToUtf16(), nIndex);
  m_bNoStoredField = !field.has_value();
  return field.value_or(0);
}

void CTKListBase::LoadColumnWidth(int nColumn) {
  HWND header = HeaderWindow();
  if (header == nullptr) return;
  // Widths are stored by display position.
  HDITEMW item{};
  item.mask = HDI_ORDER;
  if (!Header_GetItem(header, nColumn, &item)) return;
  // A class of the owner's may keep its widths elsewhere, and its answer is applied whatever the profile
  // holds. Only the profile's own missing field (the base's answer 0) keeps the column as it is.
  m_bNoStoredField = false;
  const int width = GetStoredColumnWidth(item.iOrder);
  if (width == 0 && m_bNoStoredField) return;
  Send(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(nColumn), MAKELPARAM(width, 0));
}

void CTKListBase::LoadColumnWidths() {
  HWND header = HeaderWindow();
  if (!IsReport() || header == nullptr) return;
  for (int i = 0, count = Header_GetItemCount(header); i < count; ++i) LoadColumnWidth(Header_OrderToIndex(header, i));
}

void CTKListBase::SaveColumnWidths() {
  HWND header = HeaderWindow();
  if (!IsReport() || header == nullptr) return;
  std::vector<int> widths;
  for (int i = 0, count = Header_GetItemCount(header); i < count; ++i)
    widths.push_back(static_cast<int>(Send(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(Header_OrderToIndex(header, i)))));
  CTKRegistryManager registry(HKEY_CURRENT_USER);
  registry.WriteProfileString(m_strSection, m_strValue, CString::FromUtf16(tklist::FormatColumnInfo(widths)));
}

void CTKListBase::AutoSaveColumns(LPCTSTR lpszSection, LPCTSTR lpszValue, LPCTSTR lpszDefaults) {
  m_bAutoSave = 1;
  m_strSection = lpszSection != nullptr ? lpszSection : _T("Settings");
  m_strValue = lpszValue != nullptr ? lpszValue : _T("Column Info");
  if (lpszDefaults != nullptr) m_strDefaults = lpszDefaults;
  LoadColumnWidths();
}

void CTKListBase::AutoSizeColumn(int nColumn) {
  HWND header = HeaderWindow();
  if (header == nullptr) return;
  const int count = Header_GetItemCount(header);
  const int first = nColumn < 0 ? 0 : nColumn;
  const int last = nColumn < 0 ? count - 1 : std::min(nColumn, count - 1);
  Send(WM_SETREDRAW, FALSE);
  CClientDC dc(CWnd::FromHandle(header));
  CTKPFontDC font(&dc, CFont::FromHandle(reinterpret_cast<HFONT>(::SendMessageW(header, WM_GETFONT, 0, 0))));
  CTKHeaderCtrl* pHeader = ToolkitHeader();
  for (int column = first; column <= last; ++column) {
    Send(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(LVSCW_AUTOSIZE, 0));
    const int content = static_cast<int>(Send(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column)));
    wchar_t text[kTextMax] = {};
    LVCOLUMNW info{};
    info.mask = LVCF_TEXT;
    info.pszText = text;
    info.cchTextMax = kTextMax;
    Send(LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
    const int heading = dc.GetTextExtent(CString(text)).cx;
    const bool arrow = pHeader != nullptr && pHeader->HasSortArrow() && column == m_nSortColumn;
    const int width = tklist::AutoSizeWidth(content, heading, arrow, m_nMinColWidth, m_nMaxColWidth);
    Send(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0));
  }
  Send(WM_SETREDRAW, TRUE);
  ::InvalidateRect(List(), nullptr, TRUE);
}

// ---- header and styles ----

BOOL CTKListBase::SubclassHeader(BOOL bBoldFont) {
  if (!IsReport() || m_header.m_hWnd != nullptr) return FALSE;
  HWND header = HeaderWindow();
  if (header == nullptr || !m_header.SubclassWindow(header)) return FALSE;
  m_header.SetFontBold(bBoldFont);
  return TRUE;
}

void CTKListBase::AddExtendedStyle(DWORD dwBits) {
  Send(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(GetExtendedStyle() | dwBits));
}

DWORD CTKListBase::GetExtendedStyle() { return static_cast<DWORD>(Send(LVM_GETEXTENDEDLISTVIEWSTYLE)); }

BOOL CTKListBase::ModifyExtendedStyle(DWORD dwRemove, DWORD dwAdd) {
  const DWORD current = GetExtendedStyle();
  const DWORD wanted = (current & ~dwRemove) | dwAdd;
  if (wanted == current) return FALSE;
  Send(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(wanted));
  return TRUE;
}

BOOL CTKListBase::InitControl() {
  if (List() == nullptr) return FALSE;
  if (m_bUseStandardFont) Send(WM_SETFONT, reinterpret_cast<WPARAM>(TKPAuxData().font.GetSafeHandle()), TRUE);
  return TRUE;
}

void CTKListBase::RefreshMetrics() {
  m_nMaxColWidth = ::GetSystemMetrics(SM_CXFULLSCREEN);
  const COLORREF back = m_bCustomColors && m_crListBack != static_cast<COLORREF>(-1) ? m_crListBack
                                                                                       : ::GetSysColor(COLOR_WINDOW);
  m_crSortBack = CTKPColorRefValue(back).Subtract(0x080808);
  m_crSortText = m_bCustomColors && m_crListText != static_cast<COLORREF>(-1) ? m_crListText
                                                                               : ::GetSysColor(COLOR_WINDOWTEXT);
}

// ---- columns and rows ----

int CTKListBase::GetColumnCount() {
  HWND header = HeaderWindow();
  return IsReport() && header != nullptr ? Header_GetItemCount(header) : -1;
}

int CTKListBase::InsertColumnAt(int nIndex, LPCTSTR lpszHeading, int nWidth, int nFormat) {
  LVCOLUMNW info{};
  info.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  info.fmt = nFormat;
  info.cx = nWidth;
  info.pszText = const_cast<LPWSTR>(lpszHeading);
  info.iSubItem = nIndex;
  return static_cast<int>(Send(LVM_INSERTCOLUMNW, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&info)));
}

int CTKListBase::AddColumn(LPCTSTR lpszHeading, int nWidth, int nFormat) {
  HWND header = HeaderWindow();
  if (!IsReport() || header == nullptr) return -1;
  const int count = Header_GetItemCount(header);
  if (nWidth == -1) {
    HDITEMW item{};
    item.mask = HDI_WIDTH;
    nWidth = count > 0 && Header_GetItem(header, count - 1, &item) ? item.cxy : 0;
  }
  return InsertColumnAt(count, lpszHeading, nWidth, nFormat);
}

BOOL CTKListBase::BuildColumns(int nCount, const int* pWidths, const LPCTSTR* pHeadings) {
  for (int i = 0; i < nCount; ++i) {
    if (InsertColumnAt(i, pHeadings[i], pWidths[i], LVCFMT_LEFT) == -1) return FALSE;
  }
  return TRUE;
}

BOOL CTKListBase::BuildColumns(int nCount, const int* pWidths, const UINT* pHeadingIDs) {
  std::vector<CString> texts(static_cast<size_t>(std::max(nCount, 0)));
  std::vector<LPCTSTR> headings;
  for (int i = 0; i < nCount; ++i) {
    texts[static_cast<size_t>(i)].LoadString(pHeadingIDs[i]);
    headings.push_back(texts[static_cast<size_t>(i)]);
  }
  return BuildColumns(nCount, pWidths, headings.data());
}

CString CTKListBase::ItemText(int nRow, int nColumn) const {
  // The list says how much it copied: a full buffer may have cut the text, so it grows until one is not.
  for (int size = kTextMax;; size *= 2) {
    std::vector<wchar_t> text(static_cast<size_t>(size), L'\0');
    LVITEMW item{};
    item.iSubItem = nColumn;
    item.pszText = text.data();
    item.cchTextMax = size;
    const int copied = static_cast<int>(Send(LVM_GETITEMTEXTW, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(&item)));
    if (copied < size - 1 || size >= kItemTextMax) return CString(text.data(), std::clamp(copied, 0, size - 1));
  }
}

int CTKListBase::CopyRowWith(int nFrom, int nTo, UINT stateMask) {
  const int count = static_cast<int>(Send(LVM_GETITEMCOUNT));
  if (tklist::CopiedRowSource(nFrom, nTo) < 0 || nFrom >= count || nTo > count) return -1;
  LVITEMW item{};
  item.mask = LVIF_IMAGE | LVIF_PARAM | LVIF_INDENT | LVIF_STATE;
  item.iItem = nFrom;
  item.stateMask = stateMask;
  if (!Send(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return -1;
  const UINT state = item.state & stateMask;
  CString text = ItemText(nFrom, 0);
  item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_INDENT;
  item.iItem = nTo;
  item.pszText = const_cast<LPWSTR>(static_cast<LPCWSTR>(text));
  // A sorted list puts the copy where its order says, not at nTo: the rest goes to the row it got.
  nTo = static_cast<int>(Send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  if (nTo < 0) return -1;
  RowInserted(nTo);
  const int source = tklist::IndexAfterInsert(nFrom, nTo);
  // Set after the insertion: a list with check boxes gives every new row an empty box.
  LVITEMW states{};
  states.stateMask = stateMask;
  states.state = state;
  Send(LVM_SETITEMSTATE, static_cast<WPARAM>(nTo), reinterpret_cast<LPARAM>(&states));
  if (const TKRowColor* pColor = FindRowColor(source)) m_rowColors.push_back(TKRowColor{nTo, pColor->crBack, pColor->crText});
  const int columns = GetColumnCount();
  for (int column = 1; column < columns; ++column) {
    CString cell = ItemText(source, column);
    if (cell.IsEmpty()) continue;
    LVITEMW sub{};
    sub.iSubItem = column;
    sub.pszText = const_cast<LPWSTR>(static_cast<LPCWSTR>(cell));
    Send(LVM_SETITEMTEXTW, static_cast<WPARAM>(nTo), reinterpret_cast<LPARAM>(&sub));
  }
  return source;
}

int CTKListBase::CopyRow(int nFrom, int nTo) {
  // A copy is not given the focus: that stays where the user put it.
  return CopyRowWith(nFrom, nTo, LVIS_STATEIMAGEMASK | LVIS_OVERLAYMASK | LVIS_SELECTED | LVIS_CUT | LVIS_DROPHILITED);
}

BOOL CTKListBase::MoveRow(int nFrom, int nTo) {
  const int source = CopyRowWith(nFrom, nTo,
                                 LVIS_STATEIMAGEMASK | LVIS_OVERLAYMASK | LVIS_SELECTED | LVIS_FOCUSED | LVIS_CUT |
                                     LVIS_DROPHILITED);
  if (source < 0 || Send(LVM_DELETEITEM, static_cast<WPARAM>(source)) == 0) return FALSE;
  RowRemoved(source);
  return TRUE;
}

void CTKListBase::RowInserted(int nRow) {
  for (TKRowColor& entry : m_rowColors) entry.nRow = tklist::IndexAfterInsert(entry.nRow, nRow);
}

void CTKListBase::RowRemoved(int nRow) {
  m_rowColors.remove_if([nRow](const TKRowColor& entry) { return entry.nRow == nRow; });
  for (TKRowColor& entry : m_rowColors) entry.nRow = tklist::IndexAfterRemove(entry.nRow, nRow);
}

int CTKListBase::HitTestEx(CPoint point, int* pColumn) {
  if (pColumn != nullptr) *pColumn = 0;
  if (!IsReport()) {
    LVHITTESTINFO hit{};
    hit.pt = POINT{point.x, point.y};
    return static_cast<int>(Send(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  }
  const int count = GetColumnCount();
  std::vector<int> widths, order(static_cast<size_t>(std::max(count, 0)));
  for (int i = 0; i < count; ++i) widths.push_back(static_cast<int>(Send(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(i))));
  if (count > 0) Send(LVM_GETCOLUMNORDERARRAY, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(order.data()));
  const int top = static_cast<int>(Send(LVM_GETTOPINDEX));
  const int last = std::min(top + static_cast<int>(Send(LVM_GETCOUNTPERPAGE)),
                            static_cast<int>(Send(LVM_GETITEMCOUNT)) - 1);
  for (int row = top; row <= last; ++row) {
    RECT rc{};
    rc.left = LVIR_BOUNDS;
    if (!Send(LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rc))) continue;
    if (!CRect(rc).PtInRect(point)) continue;
    const int column = tklist::ColumnAtX(widths, order, rc.left, point.x);
    if (column < 0) return -1;
    if (pColumn != nullptr) *pColumn = column;
    return row;
  }
  return -1;
}

// ---- colours ----

void CTKListBase::SetListColors(TKTextColor text, TKBackColor back) {
  m_crListText = text.value;
  m_crListBack = back.value;
  m_bCustomColors = 1;
  RefreshMetrics();
  if (List() != nullptr) ::RedrawWindow(List(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CTKListBase::SetRowColor(TKRowColor* pRow, TKBackColor back, TKTextColor text) {
  if (pRow == nullptr) return;
  pRow->crBack = back.value;
  pRow->crText = text.value;
  RedrawRowIfShown(pRow->nRow);
}

void CTKListBase::SetRowColor(int nRow, TKTextColor text, TKBackColor back) {
  TKRowColor* pRow = FindRowColor(nRow);
  if (pRow == nullptr) {
    m_rowColors.push_back(TKRowColor{nRow, back.value, text.value});
    pRow = &m_rowColors.back();
  }
  SetRowColor(pRow, back, text);
}

void CTKListBase::RedrawRowIfShown(int nRow) {
  const int top = static_cast<int>(Send(LVM_GETTOPINDEX));
  if (nRow >= top && nRow <= top + static_cast<int>(Send(LVM_GETCOUNTPERPAGE)))
    Send(LVM_REDRAWITEMS, static_cast<WPARAM>(nRow), static_cast<LPARAM>(nRow));
}

void CTKListBase::ClearRowColors() { m_rowColors.clear(); }

TKRowColor* CTKListBase::FindRowColor(int nRow) {
  for (TKRowColor& entry : m_rowColors) {
    if (entry.nRow == nRow) return &entry;
  }
  return nullptr;
}

COLORREF CTKListBase::ListBack() const {
  if (!::IsWindowEnabled(List())) return ::GetSysColor(COLOR_BTNFACE);
  return m_bCustomColors && m_crListBack != static_cast<COLORREF>(-1) ? m_crListBack : ::GetSysColor(COLOR_WINDOW);
}

COLORREF CTKListBase::ListText() const {
  return m_bCustomColors && m_crListText != static_cast<COLORREF>(-1) ? m_crListText
                                                                       : ::GetSysColor(COLOR_WINDOWTEXT);
}

// ---- messages ----

BOOL CTKListBase::HandleHeaderNotify(const NMHDR* pNMHDR, LRESULT* pResult) {
  if (pNMHDR == nullptr || pNMHDR->hwndFrom == nullptr || pNMHDR->hwndFrom != HeaderWindow()) return FALSE;
  const auto* notify = reinterpret_cast<const NMHEADERW*>(pNMHDR);
  switch (pNMHDR->code) {
    case HDN_ITEMCHANGINGA:
    case HDN_ITEMCHANGINGW:
    case HDN_ENDTRACKW:
      if (notify->pitem != nullptr && (notify->pitem->mask & HDI_WIDTH) != 0 && notify->pitem->cxy < m_nMinColWidth)
        notify->pitem->cxy = m_nMinColWidth;
      return FALSE;
    case HDN_BEGINTRACKA:
    case HDN_BEGINTRACKW:
    case HDN_DIVIDERDBLCLICKA:
    case HDN_DIVIDERDBLCLICKW:
      if (!m_bColumnsLocked) return FALSE;
      *pResult = 1;
      return TRUE;
    case HDN_ITEMCLICKA:
    case HDN_ITEMCLICKW: {
      CTKHeaderCtrl* pHeader = ToolkitHeader();
      if (pHeader == nullptr || !pHeader->IsKindOf(RUNTIME_CLASS(CTKFlatHeaderCtrl))) return FALSE;
      BOOL bHeaderAscending = TRUE;
      pHeader->GetSortImage(&bHeaderAscending);
      const auto next = tklist::SortAfterHeaderClick({m_nSortColumn, m_bSortAscending != 0}, notify->iItem,
                                                     notify->iButton, bHeaderAscending != FALSE);
      if (!next) return FALSE;
      m_nSortColumn = next->column;
      m_bSortAscending = next->ascending ? 1 : 0;
      pHeader->SetSortImage(next->column, next->ascending ? TRUE : FALSE);
      SortList(next->column, next->ascending ? TRUE : FALSE);
      return FALSE;
    }
    default:
      return FALSE;
  }
}

void CTKListBase::HandleCustomDraw(NMLVCUSTOMDRAW* pDraw, LRESULT* pResult) {
  switch (pDraw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      *pResult = CDRF_NOTIFYITEMDRAW;
      return;
    case CDDS_ITEMPREPAINT:
      *pResult = CDRF_NOTIFYSUBITEMDRAW;
      return;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
      break;
    default:
      *pResult = 0;
      return;
  }
  *pResult = 0;
  const int row = static_cast<int>(pDraw->nmcd.dwItemSpec);
  const bool inSortColumn = m_bTintSortColumn && pDraw->iSubItem == m_nSortColumn;
  const TKRowColor* pRow = m_bRowColors && !m_rowColors.empty() ? FindRowColor(row) : nullptr;
  const bool selected = (Send(LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) & LVIS_SELECTED) != 0;
  if (!::IsWindowEnabled(List())) {
    pDraw->clrText = ::GetSysColor(COLOR_WINDOWTEXT);
    pDraw->clrTextBk = ::GetSysColor(COLOR_BTNFACE);
  } else if (selected) {
    // A selected row keeps the system's selection colours: colours given here would paint over them.
    return;
  } else if (pRow != nullptr) {
    pDraw->clrText = pRow->crText;
    pDraw->clrTextBk = inSortColumn ? static_cast<COLORREF>(CTKPColorRefValue(pRow->crBack).BlendIn(m_crSortBack, 50))
                                    : pRow->crBack;
  } else if (inSortColumn) {
    pDraw->clrText = m_crSortText;
    pDraw->clrTextBk = m_crSortBack;
  } else {
    pDraw->clrText = ListText();
    pDraw->clrTextBk = ListBack();
  }
}

void CTKListBase::Paint() {
  HWND list = List();
  CPaintDC dc(m_pList);
  if (HWND header = HeaderWindow(); header != nullptr && ::IsWindowVisible(header)) {
    CRect rcHeader;
    ::GetWindowRect(header, rcHeader);
    m_pList->ScreenToClient(rcHeader);
    dc.ExcludeClipRect(rcHeader);
  }
  const CTKPClientRect client(list);
  CTKMemDC memDC(&dc, client, CTKPColorGradient(ListBack()));
  // The list's own erasing, which would draw its background bitmap, never runs: the tile is laid here.
  if (m_hBackgroundTile != nullptr) {
    if (HBRUSH tile = ::CreatePatternBrush(m_hBackgroundTile)) {
      ::FillRect(memDC.GetSafeHdc(), client, tile);
      ::DeleteObject(tile);
    }
  }
  if (m_bTintSortColumn && m_nSortColumn >= 0 && IsReport()) {
    HWND header = HeaderWindow();
    int left = client.left - ::GetScrollPos(list, SB_HORZ);
    for (int i = 0, count = Header_GetItemCount(header); i < count; ++i) {
      const int column = Header_OrderToIndex(header, i);
      const int width = static_cast<int>(Send(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column)));
      if (column == m_nSortColumn) {
        memDC.FillSolidRect(CRect(left, client.top, left + width, client.bottom), m_crSortBack);
        break;
      }
      left += width;
    }
  }
  m_pList->DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(memDC.GetSafeHdc()), 0);
  if (HWND header = HeaderWindow()) {
    ::InvalidateRect(header, nullptr, FALSE);
    ::UpdateWindow(header);
  }
}

BOOL CTKListBase::HandleListMessage(UINT message, WPARAM, LPARAM lParam, LRESULT* pResult) {
  switch (message) {
    case LVM_SETBKIMAGEW: {
      // Remembered for painting; the list view keeps it too.
      const auto* image = reinterpret_cast<const LVBKIMAGEW*>(lParam);
      const bool tile = image != nullptr && (image->ulFlags & LVBKIF_SOURCE_MASK) == LVBKIF_SOURCE_HBITMAP &&
                        (image->ulFlags & LVBKIF_STYLE_TILE) != 0;
      m_hBackgroundTile = tile ? image->hbm : nullptr;
      return FALSE;
    }
    case WM_PAINT:
      Paint();
      *pResult = 0;
      return TRUE;
    case WM_ERASEBKGND:
      *pResult = TRUE;
      return TRUE;
    case WM_SETTINGCHANGE:
      RefreshMetrics();
      return FALSE;
    case WM_DESTROY:
      if (m_bAutoSave) SaveColumnWidths();
      return FALSE;
    default:
      return FALSE;
  }
}
