// The bar's combo box: its list, selection, field and keys, and the popup list window.
#include "toolkit/commandbars/controls/tkp_control_combo_box.h"

#include <algorithm>
#include <memory>

#include "platform/classlib/win/cdc.h"
#include "toolkit/commandbars/bars/popup_placement.h"
#include "toolkit/commandbars/controls/special_list_logic.h"
#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/paint/tkp_paint_manager.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/draw_helpers.h"
#include "toolkit/common/tkp_image_manager.h"
#include "toolkit/common/tkp_mouse_manager.h"
#include "toolkit/common/tkp_prop_exchange.h"

static_assert(sizeof(wchar_t) == 2, "UTF-16 at the Win32 calls");

// ---- the list window -----------------------------------------------------------------------------

IMPLEMENT_SERIAL(CTKPControlComboBoxList, CTKPPopupBar, 1)

BEGIN_MESSAGE_MAP(CTKPControlComboBoxList, CTKPPopupBar)
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_LBUTTONUP()
  ON_WM_NCPAINT()
END_MESSAGE_MAP()

CTKPControlComboBoxList::CTKPControlComboBoxList() {
  m_barPosition = tkpBarListBox;
  m_bShadow = FALSE;
  // The combo's field keeps its caret while the list is down.
  m_bHideCaretWhileTracking = FALSE;
  // Its lines are items, not controls: customizing neither opens nor changes it.
  m_bCustomizable = FALSE;
}

BOOL CTKPControlComboBoxList::CreateListWindow() {
  if (m_hWnd != nullptr) return TRUE;
  return CreateEx(WS_EX_STATICEDGE | WS_EX_TOOLWINDOW, _T("LISTBOX"), _T(""),
                  WS_POPUP | WS_CLIPCHILDREN | WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, CRect(), nullptr, 0);
}

CTKPCommandBar* CTKPControlComboBoxList::GetParentCommandBar() const {
  return m_pOwner != nullptr ? m_pOwner->GetParent() : nullptr;
}

BOOL CTKPControlComboBoxList::Popup(CTKPControlComboBox* pOwner) {
  CTKPCommandBar* bar = pOwner != nullptr ? pOwner->GetParent() : nullptr;
  if (m_hWnd == nullptr || bar == nullptr || bar->GetSafeHwnd() == nullptr) return FALSE;
  if (IsTrackingMode()) {
    if (m_pOwner == pOwner) return TRUE;
    Close();
  }
  if (CTKPPaintManager* paint = pOwner->GetPaintManager()) SetFont(paint->GetRegularFont(bar), FALSE);
  m_pOwner = pOwner;
  CWnd* site = GetSite();
  if (site != nullptr && site->GetSafeHwnd() != nullptr) {
    site->SendMessage(TKP_WM_INITCOMMANDSPOPUP, 0, reinterpret_cast<LPARAM>(this));
  }
  if (m_pOwner != pOwner) return FALSE;
  const BOOL rtl = bar->IsLayoutRTL();
  const DWORD mirrored = WS_EX_RIGHT | WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR;
  if (rtl) {
    ModifyStyleEx(WS_EX_LAYOUTRTL, mirrored);
  } else {
    ModifyStyleEx(mirrored, 0);
  }
  CRect rc = pOwner->GetRect();
  bar->ClientToScreen(rc);
  const int width = m_nWidth >= 1 ? m_nWidth : rc.Width();
  const int itemHeight = static_cast<int>(SendMessage(LB_GETITEMHEIGHT, 0, 0));
  const int height = TKPComboDropDownHeight(pOwner->GetDropDownItemCount(),
                                            static_cast<int>(SendMessage(LB_GETCOUNT)), itemHeight);
  EnableWindow(TRUE);
  // Tracking gives the field the focus first: that activates the frame, which would otherwise come up
  // over the list.
  SetTrackingMode(1, FALSE, FALSE);
  if (!IsDroppedFor(pOwner)) return FALSE;  // closed meanwhile
  // Below the combo, or above it where the work area ends first, as any drop-down (the larger side,
  // scrolled, when neither has room).
  TKPPopupPlacementRequest request;
  request.work = CTKPDrawHelpers::GetWorkAreaFromRect(static_cast<LPCRECT>(rc));
  request.exclude = rc;
  request.position = CPoint(rc.left, rc.bottom);
  request.size = CSize(width, height);
  request.flags = kTKPPopupDropDown | (rtl ? kTKPPopupLeft : 0u);
  const CRect placed = TKPPlacePopup(request).rect;
  ::SetWindowPos(m_hWnd, HWND_TOPMOST, placed.left, placed.top, placed.Width(), placed.Height(),
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
  return TRUE;
}

BOOL CTKPControlComboBoxList::SetTrackingMode(int nMode, BOOL bSelectFirst, BOOL bKeyboard) {
  // Not the popup bar's: that one destroys its window, and this window holds the items.
  if (!CTKPCommandBar::SetTrackingMode(nMode, bSelectFirst, bKeyboard)) return FALSE;
  CTKPControlComboBox* owner = m_pOwner;
  if (owner == nullptr) return TRUE;
  if (nMode != 0) {
    owner->OnListTracking(TRUE);
    return TRUE;
  }
  if (m_hWnd != nullptr) ShowWindow(SW_HIDE);
  owner->OnListTracking(FALSE);
  CWnd* site = GetSite();
  if (site != nullptr && site->GetSafeHwnd() != nullptr) {
    site->SendMessage(TKP_WM_UNINITCOMMANDSPOPUP, 0, reinterpret_cast<LPARAM>(this));
  }
  m_pOwner = nullptr;
  return TRUE;
}

int CTKPControlComboBoxList::OnHookKeyDown(UINT nChar, LPARAM lParam) {
  CTKPControlComboBox* owner = m_pOwner;
  if (owner == nullptr) return CTKPPopupBar::OnHookKeyDown(nChar, lParam);
  switch (nChar) {
    case VK_ESCAPE:
      // A focused combo restores its text and selection itself.
      return owner->IsFocused() ? 0 : CTKPPopupBar::OnHookKeyDown(nChar, lParam);
    case VK_TAB:
      return 0;
    case VK_RETURN:
      owner->OnExecute();
      return 1;
    default:
      return owner->ListKeyDown(nChar, lParam);
  }
}

int CTKPControlComboBoxList::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam,
                                           LRESULT& lResult) {
  if (nMessage == WM_MOUSEWHEEL && m_hWnd != nullptr) {
    DefWindowProc(WM_MOUSEWHEEL, wParam, lParam);
    return 1;
  }
  return CTKPPopupBar::OnHookMessage(hWnd, nMessage, wParam, lParam, lResult);
}

void CTKPControlComboBoxList::DrawCommandBar(CDC* pDC, CRect rcClipBox) {
  pDC->FillSolidRect(rcClipBox, TKPColorManager()->GetColor(COLOR_WINDOW));
  // The list box draws its items into the bar's buffer.
  DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(pDC->GetSafeHdc()), 0);
}

void CTKPControlComboBoxList::OnMouseMove(UINT, CPoint point) {
  CRect client;
  GetClientRect(client);
  if (!client.PtInRect(point)) return;
  const LRESULT hit = SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
  const int item = HIWORD(hit) == 0 ? LOWORD(hit) : -1;
  if (item >= 0 && item != static_cast<int>(SendMessage(LB_GETCURSEL))) SendMessage(LB_SETCURSEL, item);
}

// The press decides nothing (the release takes the item), and the list box must not take the mouse.
void CTKPControlComboBoxList::OnLButtonDown(UINT, CPoint) {}
void CTKPControlComboBoxList::OnLButtonDblClk(UINT, CPoint) {}

void CTKPControlComboBoxList::OnLButtonUp(UINT, CPoint point) {
  CRect client;
  GetClientRect(client);
  if (m_pOwner == nullptr || !client.PtInRect(point)) return;
  OnMouseMove(0, point);
  m_pOwner->OnListItemTaken();
}

void CTKPControlComboBoxList::OnNcPaint() {
  Default();
  CWindowDC dc(this);
  CRect rc;
  GetWindowRect(rc);
  rc.OffsetRect(-rc.left, -rc.top);
  CTKPColorManager* colors = TKPColorManager();
  const COLORREF frame = colors->GetColor(COLOR_BTNSHADOW);
  dc.Draw3dRect(rc, frame, frame);
  rc.DeflateRect(1, 1);
  dc.Draw3dRect(rc, colors->GetColor(COLOR_WINDOW), colors->GetColor(COLOR_WINDOW));
}

CString CTKPControlComboBoxList::GetItemText(int nIndex) const {
  CString text;
  if (m_hWnd == nullptr || nIndex < 0 || nIndex >= GetItemCount()) return text;
  const int length = static_cast<int>(::SendMessageW(m_hWnd, LB_GETTEXTLEN, static_cast<WPARAM>(nIndex), 0));
  if (length <= 0) return text;
  std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
  ::SendMessageW(m_hWnd, LB_GETTEXT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(buffer.data()));
  return CString(buffer.c_str());
}

int CTKPControlComboBoxList::GetItemCount() const {
  return m_hWnd != nullptr ? static_cast<int>(::SendMessageW(m_hWnd, LB_GETCOUNT, 0, 0)) : 0;
}

int CTKPControlComboBoxList::AddItem(const CString& strItem) {
  if (m_hWnd == nullptr || GetItemCount() >= TKP_COMBO_MAX_ITEMS) return -1;
  const LRESULT index = SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(strItem)));
  return index < 0 ? -1 : static_cast<int>(index);
}

void CTKPControlComboBoxList::AddItemsOf(CTKPControlComboBoxList* pSource) {
  if (pSource == nullptr || pSource == this || !CreateListWindow()) return;
  for (int i = 0; i < pSource->GetItemCount(); ++i) {
    if (AddItem(pSource->GetItemText(i)) < 0) break;
  }
}

void CTKPControlComboBoxList::Copy(CTKPCommandBar* pSource, BOOL bRecursive) {
  CTKPPopupBar::Copy(pSource, bRecursive);
  if (pSource != nullptr && pSource->IsKindOf(RUNTIME_CLASS(CTKPControlComboBoxList))) {
    auto* source = static_cast<CTKPControlComboBoxList*>(pSource);
    m_nWidth = source->m_nWidth;
    AddItemsOf(source);
  }
}

void CTKPControlComboBoxList::DoPropExchange(CTKPPropExchange* pPX) {
  CTKPPopupBar::DoPropExchange(pPX);
  ExchangeItems(pPX);
}

void CTKPControlComboBoxList::ExchangeItems(CTKPPropExchange* pPX) {
  // Freed also when a damaged stream throws part way.
  std::unique_ptr<CTKPPropExchange> itemsSection(pPX->GetSection(_T("Items")));
  CTKPPropExchange* items = itemsSection.get();
  if (items == nullptr) return;
  if (pPX->IsLoading()) {
    // The stored count is not trusted: loading stops where the list is full.
    const DWORD count = items->ReadCount();
    CreateListWindow();
    for (DWORD i = 0; i < count; ++i) {
      CString name, item;
      name.Format(_T("Item%i"), static_cast<int>(i));
      PX_String(items, name, item, _T(""));
      if (AddItem(item) < 0) break;
    }
  } else {
    const int count = GetItemCount();
    items->WriteCount(static_cast<DWORD>(count));
    for (int i = 0; i < count; ++i) {
      CString name, item = GetItemText(i);
      name.Format(_T("Item%i"), i);
      PX_String(items, name, item, _T(""));
    }
  }
}

// ---- the combo box: list and selection -------------------------------------------------------------

IMPLEMENT_SERIAL(CTKPControlComboBox, CTKPControlPopup, 1)

CTKPControlComboBox::CTKPControlComboBox() {
  m_controlType = tkpControlComboBox;
  m_pList = new CTKPControlComboBoxList;
  m_pList->CreateListWindow();
  SetCommandBar(m_pList);
  m_pList->InternalRelease();  // the popup control holds the one reference; its window goes with it
}

CTKPControlComboBox::~CTKPControlComboBox() {
  if (m_pList != nullptr) m_pList->Close();
  if (m_bFocused) --TKPMouseManager()->m_nLockButtonUp;
  m_bFocused = FALSE;
  m_field.DeleteWindowObject();
}

int CTKPControlComboBox::AddString(const CString& strItem) { return m_pList->AddItem(strItem); }

int CTKPControlComboBox::GetCount() const { return m_pList->GetItemCount(); }

void CTKPControlComboBox::ResetContent() {
  if (m_pList->GetSafeHwnd() != nullptr) m_pList->SendMessage(LB_RESETCONTENT);
}

CString CTKPControlComboBox::GetLBText(int nIndex) const { return m_pList->GetItemText(nIndex); }

int CTKPControlComboBox::GetCurSel() const {
  if (m_pList->GetSafeHwnd() == nullptr) return m_nSelNoList;
  return static_cast<int>(m_pList->SendMessage(LB_GETCURSEL));
}

void CTKPControlComboBox::SetCurSel(int nIndex) {
  if (nIndex == m_nSelNoList && nIndex == GetCurSel()) return;
  m_nSelNoList = nIndex;
  if (m_pList->GetSafeHwnd() != nullptr) m_pList->SendMessage(LB_SETCURSEL, static_cast<WPARAM>(nIndex));
  OnSelChanged();
}

CString CTKPControlComboBox::GetListText() const { return GetLBText(GetCurSel()); }

BOOL CTKPControlComboBox::IsDroppedDown() const { return m_pList != nullptr && m_pList->IsDroppedFor(this); }

void CTKPControlComboBox::ShowDropDown(BOOL bShow) {
  if (bShow == IsDroppedDown()) return;
  if (bShow) {
    m_pList->Popup(this);
  } else {
    m_pList->Close();
  }
}

void CTKPControlComboBox::OnSelChanged() {
  if (m_field.m_pWnd != nullptr) {
    m_field.SetText(GetListText());
  } else {
    m_field.m_state.SetText(GetListText());
  }
  RedrawParent();
  NotifySite(CBN_SELCHANGE);
}

void CTKPControlComboBox::OnExecute() {
  const BOOL dropped = IsDroppedDown();
  if (GetCurSel() != -1 && (dropped || (m_field.m_pWnd == nullptr && m_bFocused))) NotifySite(CBN_SELENDOK);
  m_bSelAccepted = TRUE;
  m_nCurSelSaved = GetCurSel();
  if (dropped) ShowDropDown(FALSE);
  CTKPControl::OnExecute();
}

void CTKPControlComboBox::OnListItemTaken() {
  OnSelChanged();
  OnExecute();
}

void CTKPControlComboBox::OnListTracking(BOOL bTracking) {
  CTKPMouseManager* mouse = TKPMouseManager();
  if (bTracking) {
    ++mouse->m_nLockButtonUp;
    if (m_field.HasWindow() && !m_field.HasFocus()) m_field.m_pWnd->SetFocus();
    OnEditChanged();
    NotifySite(CBN_DROPDOWN);
  } else {
    NotifySite(CBN_CLOSEUP);
    --mouse->m_nLockButtonUp;
    if (m_pParent != nullptr) m_pParent->PopupControl(-1);
    OnSetPopup(FALSE);
  }
  RedrawParent();
}

BOOL CTKPControlComboBox::OnSetPopup(BOOL bPopup) {
  if (bPopup) {
    ShowDropDown(TRUE);
    return IsDroppedDown();
  }
  if (IsDroppedDown()) {
    ShowDropDown(FALSE);  // comes back here once the list is closed
    return TRUE;
  }
  if (!m_bFocused && m_field.m_pWnd == nullptr && !m_bSelAccepted) {
    if (GetCurSel() != m_nCurSelSaved) SetCurSel(m_nCurSelSaved);
    NotifySite(CBN_SELENDCANCEL);
  }
  if (!m_bMakingWayForSuggestions && m_field.m_pAutoComplete != nullptr &&
      m_field.m_pAutoComplete->GetSuggestionWnd() != nullptr) {
    ::ShowWindow(m_field.m_pAutoComplete->GetSuggestionWnd(), SW_HIDE);
  }
  return TRUE;
}

// ---- the field -------------------------------------------------------------------------------------

void CTKPControlComboBox::SetDropDownListStyle(BOOL bEditable) {
  m_bDropDown = bEditable;
  if (bEditable && m_field.m_pWnd == nullptr) {
    m_field.m_pWnd = CreateEditWnd();
    m_field.m_pWnd->m_pOwner = this;
    m_bReposition = TRUE;
  } else if (!bEditable) {
    m_field.DeleteWindowObject();
  }
  DelayLayoutParent();
}

CString CTKPControlComboBox::GetEditText() {
  if (m_field.m_pWnd == nullptr) return GetListText();
  return m_field.GetText();
}

void CTKPControlComboBox::SetEditText(const CString& strText) { m_field.SetText(strText); }

void CTKPControlComboBox::SetEditHint(const CString& strHint) {
  m_field.SetHint(strHint);
  RedrawParent();
}

void CTKPControlComboBox::SetShellAutoComplete(DWORD dwFlags) {
  m_field.m_dwShellFlags = dwFlags;
  m_field.ApplyAutoComplete();
}

void CTKPControlComboBox::OnEditChanged() {
  const BOOL both = m_field.HasWindow() && m_pList->GetSafeHwnd() != nullptr;
  if (m_bAutoComplete && !m_bNoComplete && both) {
    const CString typed = m_field.GetText();
    DWORD start = 0, end = 0;
    ::SendMessageW(m_field.GetHwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const DWORD length = static_cast<DWORD>(typed.GetLength());
    if (!typed.IsEmpty() && start == end && end == length) {
      const int found = static_cast<int>(
          m_pList->SendMessage(LB_FINDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(typed))));
      if (found != LB_ERR) {
        const CString item = GetLBText(found);
        m_field.SetText(item);
        ::SendMessageW(m_field.GetHwnd(), EM_SETSEL, static_cast<WPARAM>(item.GetLength()), static_cast<LPARAM>(length));
        ::SendMessageW(m_field.GetHwnd(), EM_SCROLLCARET, 0, 0);
      }
    }
    m_bNoComplete = TRUE;  // the change just made is not completed again
  }
  if (both) {
    const CString text = m_field.GetText();
    const LPARAM key = reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(text));
    const LRESULT exact = m_pList->SendMessage(LB_FINDSTRINGEXACT, 0, key);
    if (exact != LB_ERR) {
      m_pList->SendMessage(LB_SETCURSEL, static_cast<WPARAM>(exact));
    } else {
      const LRESULT prefix = m_pList->SendMessage(LB_FINDSTRING, 0, key);
      if (prefix != LB_ERR) m_pList->SendMessage(LB_SETTOPINDEX, static_cast<WPARAM>(prefix));
      m_pList->SendMessage(LB_SETCURSEL, static_cast<WPARAM>(-1));
    }
  }
  NotifySite(CBN_EDITCHANGE);
}

// ---- focus -------------------------------------------------------------------------------------------

void CTKPControlComboBox::SetFocused(BOOL bFocused) {
  if (bFocused == m_bFocused) return;
  m_bFocused = bFocused;
  if (bFocused) {
    m_nCurSelSaved = GetCurSel();
    m_bSelAccepted = FALSE;
    if (m_field.HasWindow() && !m_field.HasFocus()) m_field.m_pWnd->SetFocus();
    tkp_field::EnterFocus(this);
    NotifySite(CBN_SETFOCUS);
  } else {
    if (!m_bSelAccepted && !IsDroppedDown() && m_field.m_pWnd == nullptr) {
      if (GetCurSel() != m_nCurSelSaved) SetCurSel(m_nCurSelSaved);
      NotifySite(CBN_SELENDCANCEL);
    }
    tkp_field::LeaveFocus(this, m_field, m_hwndPrevFocus);
    NotifySite(CBN_KILLFOCUS);
  }
  RedrawParent();
}

void CTKPControlComboBox::OnEditSetFocus(CWnd* pOldWnd) {
  m_field.OnFocus();
  m_bNoComplete = TRUE;  // the list follows the text without completing it
  OnEditChanged();
  tkp_field::RecordPrevFocus(this, pOldWnd, m_hwndPrevFocus);
  if (m_pParent != nullptr && !IsDroppedDown()) m_pParent->PopupControl(-1);
  SetFocused(TRUE);
  m_field.InstallAutoCompleteHook();
}

void CTKPControlComboBox::OnEditKillFocus() {
  m_field.OnKillFocus();
  SetFocused(FALSE);
  ShowDropDown(FALSE);
  m_field.RemoveAutoCompleteHook();
}

void CTKPControlComboBox::OnEditWindowChanged() {
  if (!m_field.OnWindowChanged()) return;
  if (m_field.HasFocus()) OnEditChanged();
  m_field.ApplyFormat(m_bEnabled);
}

void CTKPControlComboBox::OnEditSuggestionShown() {
  m_bMakingWayForSuggestions = TRUE;
  ShowDropDown(FALSE);
  m_bMakingWayForSuggestions = FALSE;
}

void CTKPControlComboBox::OnEditRButtonDown(CPoint point) {
  ShowDropDown(FALSE);
  SetFocused(TRUE);
  tkp_field::ShowContextMenu(this, m_field, point);
}

BOOL CTKPControlComboBox::OnSetSelected(int bSelected) {
  const BOOL changed = CTKPControl::OnSetSelected(bSelected);
  if (bSelected == 0 && m_bFocused && !IsDroppedDown()) SetFocused(FALSE);
  return changed;
}

// ---- keys and clicks ---------------------------------------------------------------------------------

int CTKPControlComboBox::OnHookKeyDown(UINT nChar, LPARAM lParam) {
  if (!m_bFocused) return 0;
  m_bNoComplete = nChar == VK_DELETE || nChar == VK_BACK;
  if (m_field.IsComposing()) return 2;
  const BOOL alt = TKPIsKeyDown(VK_MENU);
  CTKPEditShellAutoComplete* complete = m_field.m_pAutoComplete;
  if (nChar == VK_TAB && (complete == nullptr || (m_field.m_dwShellFlags & TKP_SHACF_USETAB) == 0)) return 0;
  if (nChar == VK_RETURN) return 0;
  if (nChar == VK_ESCAPE) {
    ShowDropDown(FALSE);
    if (GetCurSel() != m_nCurSelSaved) SetCurSel(m_nCurSelSaved);
    if (m_field.m_pWnd != nullptr) m_field.RestoreSavedText();
    SetFocused(FALSE);
    return 1;
  }
  if ((nChar == VK_F4 && !alt) || ((nChar == VK_UP || nChar == VK_DOWN) && alt)) {
    ShowDropDown(!IsDroppedDown());
    return 1;
  }
  if (nChar != VK_TAB && complete != nullptr && complete->PreTranslateKey(nChar, lParam)) return 1;
  const BOOL navigation = nChar == VK_UP || nChar == VK_DOWN || nChar == VK_PRIOR || nChar == VK_NEXT;
  if ((m_field.m_pWnd == nullptr || (navigation && !alt)) && m_pList->GetSafeHwnd() != nullptr) {
    return ListKeyDown(nChar, lParam) != 0 ? 1 : 2;
  }
  return m_field.m_pWnd != nullptr ? m_field.RouteKey(nChar, lParam) : 2;
}

int CTKPControlComboBox::ListKeyDown(UINT nChar, LPARAM lParam) {
  if (m_pList->GetSafeHwnd() == nullptr) return 0;
  const int before = static_cast<int>(m_pList->SendMessage(LB_GETCURSEL));
  const BOOL alt = TKPIsKeyDown(VK_MENU);
  if (m_field.m_pWnd == nullptr) {
    // Opening and closing keys are the combo's.
    if ((nChar == VK_F4 && !alt) || ((nChar == VK_UP || nChar == VK_DOWN) && alt)) return 0;
    MSG msg{m_pList->GetSafeHwnd(), WM_KEYDOWN, nChar, lParam, 0, {0, 0}};
    ::IsDialogMessageW(m_pList->GetSafeHwnd(), &msg);
  } else {
    if (alt || (nChar != VK_UP && nChar != VK_DOWN && nChar != VK_PRIOR && nChar != VK_NEXT)) return 0;
    m_pList->DefWindowProc(WM_KEYDOWN, nChar, lParam);
  }
  if (static_cast<int>(m_pList->SendMessage(LB_GETCURSEL)) != before) {
    m_nSelNoList = static_cast<int>(m_pList->SendMessage(LB_GETCURSEL));
    OnSelChanged();
    if (m_field.HasWindow()) {
      ::SendMessageW(m_field.GetHwnd(), EM_SETSEL, 0, -1);
      ::SendMessageW(m_field.GetHwnd(), EM_SCROLLCARET, 0, 0);
    }
  }
  return 1;
}

void CTKPControlComboBox::OnClick(BOOL bKeyboard, CPoint) {
  if (m_field.IsComposing()) return;
  if (IsCustomizeMode()) {
    if (m_pParent != nullptr) {
      m_pParent->PopupControl(-1);
      m_pParent->SetSelected(-1);
    }
    return;
  }
  if (!m_bEnabled) return;
  if (bKeyboard) {
    // Return on a focused combo takes what it shows.
    if (m_bFocused) {
      OnExecute();
    } else {
      SetFocused(TRUE);
    }
    return;
  }
  if (IsDroppedDown()) {
    ShowDropDown(FALSE);
    return;
  }
  if (!m_bFocused) SetFocused(TRUE);
  ShowDropDown(TRUE);
}

// ---- placing, measuring and drawing ------------------------------------------------------------------

void CTKPControlComboBox::SetRect(CRect rc) {
  tkp_field::DropStrayWindow(this, m_field);
  if (rc == m_rcControl && (m_field.m_pWnd == nullptr || m_field.HasWindow()) && !m_bReposition) return;
  m_rcControl = rc;
  m_bReposition = FALSE;
  tkp_field::PlaceWindow(this, m_field, EditArea());
}

CRect CTKPControlComboBox::EditArea() const {
  CRect area = tkp_field::WindowRect(m_rcControl, m_nLabelWidth, m_nButtonWidth);
  AdjustEditRect(area);
  return area;
}

void CTKPControlComboBox::AdjustEditRect(CRect& rc) const {
  if (m_nEditIconId < 1) return;
  CTKPImageManager* images = GetImageManager();
  if (images != nullptr && images->GetImage(static_cast<UINT>(m_nEditIconId), 16) != nullptr) rc.left += 16 + 2;
}

void CTKPControlComboBox::SetEnabled(BOOL bEnabled) {
  CTKPControl::SetEnabled(bEnabled);
  if (!m_field.HasWindow()) return;
  ::EnableWindow(m_field.GetHwnd(), bEnabled);
  m_field.ApplyFormat(bEnabled);
}

BOOL CTKPControlComboBox::Compare(CTKPControl* pOther) {
  if (!CTKPControl::Compare(pOther) || pOther->GetRuntimeClass() != GetRuntimeClass()) return FALSE;
  return static_cast<CTKPControlComboBox*>(pOther)->m_nWidth == m_nWidth;
}

void CTKPControlComboBox::SetHideFlags(DWORD dwFlags) {
  m_dwHideFlags = dwFlags;
  tkp_field::ShowWindow(m_field, dwFlags == 0);
}

CSize CTKPControlComboBox::GetSize(CDC* pDC) {
  CTKPPaintManager* paint = GetPaintManager();
  const CSize themed = paint != nullptr ? paint->DrawControlComboBox(pDC, this, FALSE) : CSize();
  if (themed.cx != 0 || themed.cy != 0) return themed;
  m_nLabelWidth = tkp_field::LabelWidth(pDC, this, IsCaptionVisible());
  m_nButtonWidth = 14;
  return CSize(std::max(m_nWidth, m_nLabelWidth + m_nButtonWidth + 20), tkp_field::FieldHeight(pDC, this));
}

void CTKPControlComboBox::Draw(CDC* pDC) {
  CTKPPaintManager* paint = GetPaintManager();
  const CSize themed = paint != nullptr ? paint->DrawControlComboBox(pDC, this, FALSE) : CSize();
  if (themed.cx != 0 || themed.cy != 0) {
    paint->DrawControlComboBox(pDC, this, TRUE);
  } else {
    tkp_field::DrawFrame(pDC, this, m_nLabelWidth, m_bFocused || IsDroppedDown());
    CTKPColorManager* colors = TKPColorManager();
    const CRect rc = m_rcControl;
    const CRect button(rc.right - 2 - m_nButtonWidth, rc.top + 2, rc.right - 2, rc.bottom - 2);
    const BOOL hot = m_bEnabled && (GetSelected() != 0 || m_bFocused || IsDroppedDown());
    pDC->FillSolidRect(button, colors->GetColor(hot ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
    const COLORREF glyph = colors->GetColor(!m_bEnabled ? COLOR_GRAYTEXT : hot ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
    if (paint != nullptr) paint->DrawDropDownGlyph(pDC, button, glyph);
  }
  DrawEditArea(pDC, tkp_field::WindowRect(m_rcControl, m_nLabelWidth, m_nButtonWidth));
}

void CTKPControlComboBox::DrawEditArea(CDC* pDC, CRect rcArea) {
  CTKPColorManager* colors = TKPColorManager();
  const BOOL noField = m_field.m_pWnd == nullptr;
  if (m_bEnabled && m_bFocused && noField) {
    CRect focus = rcArea;
    focus.DeflateRect(1, 1);
    pDC->FillSolidRect(focus, colors->GetColor(COLOR_HIGHLIGHT));
  }
  if (m_nEditIconId >= 1) {
    CTKPImageManager* images = GetImageManager();
    CTKPImageManagerIcon* icon = images != nullptr ? images->GetImage(static_cast<UINT>(m_nEditIconId), 16) : nullptr;
    if (icon != nullptr) {
      const CPoint at(rcArea.left, (rcArea.top + rcArea.bottom - 16) / 2);
      icon->Draw(pDC, at, m_bEnabled ? icon->GetIcon() : icon->GetDisabledIcon(), CSize(16, 16));
      rcArea.left += 16 + 2;
    }
  }
  if (!noField) return;
  CString text = GetText();
  COLORREF colour = colors->GetColor(!m_bEnabled ? COLOR_GRAYTEXT : m_bFocused ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
  if (text.IsEmpty()) {
    if (!m_bEnabled || m_bFocused) return;
    text = GetEditHint();
    colour = colors->GetColor(COLOR_GRAYTEXT);
  }
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(colour);
  pDC->DrawText(text, rcArea, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void CTKPControlComboBox::OnCalcDynamicSize(DWORD dwMode) {
  const DWORD flags = tkp_field::HideFlagsForMode(m_dwHideFlags, dwMode);
  if (flags != m_dwHideFlags) SetHideFlags(flags);
}

void CTKPControlComboBox::SetWidth(int nWidth) {
  if (nWidth == m_nWidth) return;
  m_nWidth = nWidth;
  DelayLayoutParent();
}

void CTKPControlComboBox::SetParent(CTKPCommandBar* pParent) {
  if (pParent == nullptr) {
    ShowDropDown(FALSE);
    m_field.DestroyWindow();
  }
  CTKPControl::SetParent(pParent);
  CWnd* site = pParent != nullptr ? pParent->GetSite() : nullptr;
  if (site != nullptr && m_pList->GetSafeHwnd() != nullptr) {
    ::SetWindowLongPtrW(m_pList->GetSafeHwnd(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(site->GetSafeHwnd()));
  }
}

// ---- saved state and copies ----------------------------------------------------------------------------

void CTKPControlComboBox::DoPropExchange(CTKPPropExchange* pPX) {
  CTKPControl::DoPropExchange(pPX);
  BOOL editable = m_bDropDown;
  LONG width = m_nWidth, style = m_nComboStyle;
  PX_Bool(pPX, _T("DropDown"), editable, TRUE);
  PX_Long(pPX, _T("Width"), width, 0);
  PX_Long(pPX, _T("ComboStyle"), style, 0);
  CString hint = GetEditHint();
  LONG shell = static_cast<LONG>(m_field.m_dwShellFlags), icon = m_nEditIconId, rows = m_nDropDownItemCount;
  if (pPX->GetSchema() > 8) {
    PX_String(pPX, _T("EditHint"), hint, _T(""));
    PX_Long(pPX, _T("ShellAutoCompleteFlags"), shell, 0);
    PX_Bool(pPX, _T("AutoComplete"), m_bAutoComplete, FALSE);
    PX_Long(pPX, _T("EditIconId"), icon, 0);
    PX_Long(pPX, _T("DropDownItemCount"), rows, 12);
  }
  m_pList->ExchangeItems(pPX);
  if (!pPX->IsLoading()) return;
  m_nWidth = static_cast<int>(width);
  m_nComboStyle = static_cast<int>(style);
  m_nEditIconId = static_cast<int>(icon);
  m_nDropDownItemCount = static_cast<int>(rows);
  SetDropDownListStyle(editable);
  SetEditHint(hint);
  m_field.m_dwShellFlags = static_cast<DWORD>(shell);
  m_field.ApplyAutoComplete();
}

void CTKPControlComboBox::Copy(CTKPControl* pSource, BOOL bRecursive) {
  auto* source = tkp_field::KindOf<CTKPControlComboBox>(pSource);
  if (source != nullptr && source != this) {
    m_nComboStyle = source->m_nComboStyle;
    m_nWidth = source->m_nWidth;
    SetDropDownListStyle(source->m_bDropDown);
    SetEditText(source->GetEditText());
    SetEditHint(source->GetEditHint());
    m_bAutoComplete = source->m_bAutoComplete;
    m_field.m_dwShellFlags = source->m_field.m_dwShellFlags;
    m_nEditIconId = source->m_nEditIconId;
    m_nDropDownItemCount = source->m_nDropDownItemCount;
    ResetContent();
    m_pList->AddItemsOf(source->m_pList);
    m_pList->SetListWidth(source->m_pList->GetListWidth());
  }
  CTKPControl::Copy(pSource, bRecursive);
}
