#include "toolkit/taskpanel/tkp_task_panel_item.h"

#include <algorithm>
#include <climits>
#include <memory>

#include "platform/classlib/win/cdc.h"
#include "toolkit/common/tkp_image_manager.h"
#include "toolkit/taskpanel/tkp_task_panel.h"
#include "toolkit/taskpanel/tkp_task_panel_paint_manager.h"

using taskpanel::kTypeControl;
using taskpanel::kTypeGroup;
using taskpanel::kTypeLink;
using taskpanel::kTypeText;

IMPLEMENT_DYNCREATE(CTKPTaskPanelItem, CCmdTarget)
IMPLEMENT_SERIAL(CTKPTaskPanelGroupItem, CTKPTaskPanelItem, 16)
IMPLEMENT_SERIAL(CTKPTaskPanelGroup, CTKPTaskPanelItem, 16)
IMPLEMENT_DYNAMIC(CTKPTaskPanelItems, CCmdTarget)

namespace {
// The effective drag flags when nothing on the way sets them.
constexpr int kAllDragFlags = 0xCC;
}  // namespace

// ---- the element ----

CTKPTaskPanelItem::CTKPTaskPanelItem() = default;
CTKPTaskPanelItem::~CTKPTaskPanelItem() = default;

void CTKPTaskPanelItem::SetCaption(LPCTSTR lpszCaption) {
  if (m_props.caption == CString(lpszCaption)) return;
  m_props.caption = lpszCaption;
  if (m_pPanel) m_pPanel->Reposition(FALSE);
}

void CTKPTaskPanelItem::SetType(int nType) {
  m_props.type = nType;
  if (m_pPanel) m_pPanel->Reposition(FALSE);
}

void CTKPTaskPanelItem::SetIconIndex(int nIndex) {
  if (m_props.iconIndex == nIndex) return;
  m_props.iconIndex = nIndex;
  if (m_pPanel) m_pPanel->Reposition(FALSE);
}

void CTKPTaskPanelItem::SetEnabled(BOOL bEnabled) {
  if (m_props.enabled == bEnabled) return;
  m_props.enabled = bEnabled;
  RedrawPanel();
}

void CTKPTaskPanelItem::SetVisible(BOOL bVisible) {
  if (m_props.visible == bVisible) return;
  m_props.visible = bVisible;
  if (m_pPanel) m_pPanel->Reposition(FALSE);
}

int CTKPTaskPanelItem::GetAllowDrag() const {
  if (m_props.allowDrag != 1) return static_cast<int>(m_props.allowDrag);
  if (m_pPanel == nullptr) return kAllDragFlags;
  const CTKPTaskPanelGroup* pGroup = GetItemGroup();
  if (pGroup && pGroup != this && pGroup->m_props.allowDrag != 1) return static_cast<int>(pGroup->m_props.allowDrag);
  return m_pPanel->m_nAllowDrag != 1 ? m_pPanel->m_nAllowDrag : kAllDragFlags;
}

BOOL CTKPTaskPanelItem::IsAllowDrop() const {
  const CTKPTaskPanelGroup* pGroup = GetItemGroup();
  return m_props.allowDrop && (pGroup == nullptr || pGroup->m_props.allowDrop) &&
         (m_pPanel == nullptr || m_pPanel->m_bAllowDrop);
}

int CTKPTaskPanelItem::GetIndex() const { return m_pItems ? m_pItems->Find(this) : -1; }

void CTKPTaskPanelItem::Remove() {
  if (m_pItems) m_pItems->Remove(this);
}

CTKPTaskPanelPaintManager* CTKPTaskPanelItem::GetPaintManager() const {
  return m_pPanel ? m_pPanel->GetPaintManager() : nullptr;
}

void CTKPTaskPanelItem::RedrawPanel() const {
  if (m_pPanel && m_pPanel->GetSafeHwnd() && !m_pPanel->IsLocked()) m_pPanel->Invalidate(FALSE);
}

CTKPImageManagerIcon* CTKPTaskPanelItem::GetImage(int nWidth) const {
  if (m_props.iconIndex < 0 || m_pPanel == nullptr) return nullptr;
  CTKPImageManager* pImages = m_pPanel->GetImageManager();
  return pImages ? pImages->GetImage(static_cast<UINT>(m_props.iconIndex), nWidth) : nullptr;
}

BOOL CTKPTaskPanelItem::IsItemHot() const { return m_pPanel && m_pPanel->m_pItemHot == this && GetEnabled(); }
BOOL CTKPTaskPanelItem::IsItemDragging() const { return m_pPanel && m_pPanel->IsItemDragging(this); }
BOOL CTKPTaskPanelItem::IsItemDragOver() const { return m_pPanel && m_pPanel->IsItemDragOver(this); }
BOOL CTKPTaskPanelItem::IsItemPressed() const { return m_pPanel && m_pPanel->m_pItemPressed == this; }
BOOL CTKPTaskPanelItem::IsItemFocused() const {
  return m_pPanel && m_pPanel->m_pItemFocused == this && GetEnabled();
}

BOOL CTKPTaskPanelItem::IsAcceptFocus() const {
  return (GetType() == kTypeGroup || GetType() == kTypeLink) && GetEnabled() && IsVisible();
}

void CTKPTaskPanelItem::DoPropExchange(CTKPPropExchange* pPX) {
  const LONG type = m_props.type;
  taskpanel::ExchangeElementProps(pPX, m_props);
  // The panel handles an element by its type; a record whose type belies its class is damage.
  if (pPX->IsLoading() && !taskpanel::TypeFitsClass(m_props.type, dynamic_cast<CTKPTaskPanelGroup*>(this) != nullptr,
                                                    dynamic_cast<CTKPTaskPanelGroupItem*>(this) != nullptr)) {
    m_props.type = type;
    AfxThrowArchiveException(CArchiveException::badClass);
  }
}

// ---- the item inside a group ----

CTKPTaskPanelGroupItem::CTKPTaskPanelGroupItem() { m_props.type = kTypeText; }

CTKPTaskPanelGroupItem::~CTKPTaskPanelGroupItem() {
  if (m_hWndControl && ::IsWindow(m_hWndControl)) ::ShowWindow(m_hWndControl, SW_HIDE);
}

void CTKPTaskPanelGroupItem::SetBold(BOOL bBold) {
  if (m_itemProps.bold == bBold) return;
  m_itemProps.bold = bBold;
  if (m_pPanel) m_pPanel->Reposition(FALSE);
}

void CTKPTaskPanelGroupItem::SetSize(CSize size) {
  m_itemProps.itemSize = size;
  if (m_pPanel) m_pPanel->Reposition(FALSE);
}

void CTKPTaskPanelGroupItem::SetControlHandle(HWND hWnd) {
  m_hWndControl = hWnd;
  m_props.type = kTypeControl;
  if (hWnd && m_itemProps.itemSize == CSize(0, 0)) {
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    m_itemProps.itemSize = CSize(rc.right - rc.left, rc.bottom - rc.top);
  }
  if (m_pPanel) m_pPanel->Reposition(FALSE);
}

void CTKPTaskPanelGroupItem::SetTaskPanel(CTKPTaskPanel* pPanel) {
  CTKPTaskPanelItem::SetTaskPanel(pPanel);
  if (pPanel == nullptr && m_hWndControl && ::IsWindow(m_hWndControl)) ::ShowWindow(m_hWndControl, SW_HIDE);
}

BOOL CTKPTaskPanelGroupItem::IsItemSelected() const {
  if (m_pPanel && m_pPanel->IsSingleSelection()) return IsItemFocused();
  return m_itemProps.selected;
}

void CTKPTaskPanelGroupItem::SetItemSelected(BOOL bSelected) {
  if (m_pPanel && m_pPanel->IsSingleSelection()) {
    if (bSelected) m_pPanel->SetFocusedItem(this);
    return;
  }
  if (m_itemProps.selected == bSelected) return;
  m_itemProps.selected = bSelected;
  RedrawPanel();
}

// Only the item's own drag text goes out as plain text; its caption is no stand-in.
CString CTKPTaskPanelGroupItem::GetDragText() const { return m_itemProps.dragText; }

CTKPTaskPanelGroup* CTKPTaskPanelGroupItem::GetItemGroup() const {
  return m_pItems ? dynamic_cast<CTKPTaskPanelGroup*>(m_pItems->GetOwner()) : nullptr;
}

CRect CTKPTaskPanelGroupItem::GetHitTestRect() const {
  const CTKPTaskPanelGroup* pGroup = GetItemGroup();
  if (!IsVisible() || pGroup == nullptr || m_pPanel == nullptr || !pGroup->IsVisible() || !pGroup->IsExpanded()) {
    return CRect();
  }
  if (!pGroup->IsItemVisibleInGroup(this, TRUE)) return CRect();
  CRect rc = m_rcItem;
  rc.OffsetRect(0, pGroup->GetClientRect().top - m_pPanel->GetScrollOffset() - pGroup->GetItemScrollOffset());
  return rc;
}

void CTKPTaskPanelGroupItem::DoPropExchange(CTKPPropExchange* pPX) {
  CTKPTaskPanelItem::DoPropExchange(pPX);
  taskpanel::GroupItemProps props = m_itemProps;
  if (!pPX->IsLoading()) props.selected = IsItemSelected();
  taskpanel::ExchangeGroupItemProps(pPX, props);
  if (!pPX->IsLoading()) return;
  const BOOL bSelected = props.selected;
  props.selected = m_itemProps.selected;
  m_itemProps = props;
  // In a single-selection panel the selected item is the focused one: it is focused only when the load
  // has been taken whole, never while it is read (a refused load would leave the focus on an element in
  // no group).
  if (m_pPanel && m_pPanel->IsSingleSelection()) {
    m_bLoadedSelected = bSelected;
    return;
  }
  SetItemSelected(bSelected);
}

BOOL CTKPTaskPanelGroupItem::TakeLoadedSelection() {
  const BOOL loaded = m_bLoadedSelected;
  m_bLoadedSelected = FALSE;
  return loaded;
}

CRect CTKPTaskPanelGroupItem::OnReposition(CDC* pDC, const CRect& rcAvailable) {
  CTKPTaskPanelPaintManager* pPaint = GetPaintManager();
  const CTKPTaskPanelGroup* pGroup = GetItemGroup();
  if (pPaint == nullptr || pGroup == nullptr) return m_rcItem = CRect();
  if (pGroup->GetItemLayout() == taskpanel::kLayoutImage) return m_rcItem = rcAvailable;
  CRect rc = rcAvailable;
  rc.DeflateRect(pPaint->GetItemOuterMargins(this));
  const CSize size = m_itemProps.itemSize;
  if ((GetType() == kTypeLink || GetType() == kTypeText) && size == CSize(0, 0)) {
    m_rcItem = pPaint->DrawGroupItem(pDC, this, rc, FALSE);
  } else {
    m_rcItem = CRect(rc.left, rc.top, rc.left + size.cx, rc.top + size.cy);
  }
  return m_rcItem;
}

void CTKPTaskPanelGroupItem::OnDrawItem(CDC* pDC, const CRect& rc) {
  if (CTKPTaskPanelPaintManager* pPaint = GetPaintManager()) pPaint->DrawGroupItem(pDC, this, rc, TRUE);
}

void CTKPTaskPanelGroupItem::PlaceControlWindow() {
  if (m_hWndControl == nullptr || !::IsWindow(m_hWndControl)) return;
  CTKPTaskPanelGroup* pGroup = GetItemGroup();
  const bool show = m_pPanel && pGroup && IsVisible() && pGroup->IsVisible() &&
                    pGroup->GetItemLayout() != taskpanel::kLayoutImage && pGroup->IsExpanded() &&
                    taskpanel::IsSettled(pGroup->Geometry()) && pGroup->IsItemVisibleInGroup(this, FALSE);
  if (show) {
    CRect rc = m_rcItem;
    rc.OffsetRect(0, pGroup->GetClientRect().top - m_pPanel->GetScrollOffset() - pGroup->GetItemScrollOffset());
    ::SetWindowPos(m_hWndControl, nullptr, rc.left, rc.top, rc.Width(), rc.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return;
  }
  if (::IsWindowVisible(m_hWndControl)) {
    TakePreview();
    ::ShowWindow(m_hWndControl, SW_HIDE);
  }
}

void CTKPTaskPanelGroupItem::TakePreview() {
  CTKPTaskPanelPaintManager* pPaint = GetPaintManager();
  CTKPTaskPanelGroup* pGroup = GetItemGroup();
  if (pPaint == nullptr || pGroup == nullptr) return;
  RECT rcWindow;
  ::GetWindowRect(m_hWndControl, &rcWindow);
  const int cx = rcWindow.right - rcWindow.left, cy = rcWindow.bottom - rcWindow.top;
  if (cx <= 0 || cy <= 0) return;
  HDC hScreen = ::GetDC(nullptr);
  HDC hDC = ::CreateCompatibleDC(hScreen);
  HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, cx, cy);
  ::ReleaseDC(nullptr, hScreen);
  if (hDC == nullptr || hBitmap == nullptr) {
    if (hBitmap) ::DeleteObject(hBitmap);
    if (hDC) ::DeleteDC(hDC);
    return;
  }
  HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
  const COLORREF back = static_cast<COLORREF>(pPaint->GetGroupColors(pGroup)->clrClient.clrDark);
  HBRUSH hBrush = ::CreateSolidBrush(back);
  RECT rcFill{0, 0, cx, cy};
  ::FillRect(hDC, &rcFill, hBrush);
  ::DeleteObject(hBrush);
  ::SendMessage(m_hWndControl, WM_PRINT, reinterpret_cast<WPARAM>(hDC), PRF_NONCLIENT);
  // The client area lies inside the frame of the window.
  POINT ptClient{0, 0};
  ::ClientToScreen(m_hWndControl, &ptClient);
  POINT old;
  ::SetViewportOrgEx(hDC, ptClient.x - rcWindow.left, ptClient.y - rcWindow.top, &old);
  ::SendMessage(m_hWndControl, WM_PRINT, reinterpret_cast<WPARAM>(hDC), PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
  ::SetViewportOrgEx(hDC, old.x, old.y, nullptr);
  ::SelectObject(hDC, hOld);
  ::DeleteDC(hDC);
  m_bmpPreview.DeleteObject();
  m_bmpPreview.Attach(hBitmap);
}

// ---- the group ----

CTKPTaskPanelGroup::CTKPTaskPanelGroup() : m_pGroupItems(new CTKPTaskPanelGroupItems(nullptr, this)) {
  m_props.type = kTypeGroup;
  m_geo.expanded = true;
}

CTKPTaskPanelGroup::~CTKPTaskPanelGroup() {
  m_pGroupItems->RemoveAll(FALSE);
  m_pGroupItems->InternalRelease();
}

CTKPTaskPanelGroupItem* CTKPTaskPanelGroup::AddItem(int nType, UINT nID, int nIconIndex) {
  auto* pItem = new CTKPTaskPanelGroupItem();
  pItem->SetType(nType);
  pItem->SetID(nID);
  pItem->SetIconIndex(nIconIndex);
  m_pGroupItems->Add(pItem);
  return pItem;
}

CTKPTaskPanelGroupItem* CTKPTaskPanelGroup::AddLinkItem(UINT nID, int nIconIndex) {
  return AddItem(kTypeLink, nID, nIconIndex);
}

CTKPTaskPanelGroupItem* CTKPTaskPanelGroup::AddTextItem(LPCTSTR lpszText) {
  CTKPTaskPanelGroupItem* pItem = AddItem(kTypeText, 0, -1);
  pItem->SetCaption(lpszText);
  return pItem;
}

CTKPTaskPanelGroupItem* CTKPTaskPanelGroup::AddControlItem(HWND hWnd) {
  CTKPTaskPanelGroupItem* pItem = AddItem(kTypeControl, 0, -1);
  pItem->SetControlHandle(hWnd);
  return pItem;
}

int CTKPTaskPanelGroup::GetItemCount() const { return m_pGroupItems->GetCount(); }

CTKPTaskPanelGroupItem* CTKPTaskPanelGroup::GetAt(int nIndex) const {
  return static_cast<CTKPTaskPanelGroupItem*>(m_pGroupItems->GetAt(nIndex));
}

CTKPTaskPanelGroupItem* CTKPTaskPanelGroup::GetNextVisibleItem(int nIndex, int nDirection) const {
  return GetAt(m_pGroupItems->GetNextVisibleIndex(nIndex, nDirection));
}

void CTKPTaskPanelGroup::SelectItem(CTKPTaskPanelItem* pItem) {
  for (int i = 0; i < GetItemCount(); ++i) GetAt(i)->SetItemSelected(GetAt(i) == pItem);
}

BOOL CTKPTaskPanelGroup::IsExpanded() const { return m_pPanel ? m_pPanel->IsGroupExpanded(this) : m_geo.expanded; }

void CTKPTaskPanelGroup::SetExpanded(BOOL bExpanded) {
  if (m_pPanel && m_pItems) {
    m_pPanel->ExpandGroup(this, bExpanded);
  } else {
    m_geo.expanded = bExpanded != FALSE;
  }
}

BOOL CTKPTaskPanelGroup::IsExpandable() const {
  return m_groupProps.expandable && (m_pPanel == nullptr || m_pPanel->IsGroupsExpandable()) && GetEnabled();
}

void CTKPTaskPanelGroup::SetExpandable(BOOL bExpandable) {
  m_groupProps.expandable = bExpandable;
  RedrawPanel();
}

void CTKPTaskPanelGroup::SetSpecialGroup(BOOL bSpecial) {
  m_groupProps.special = bSpecial;
  RedrawPanel();
}

void CTKPTaskPanelGroup::SetCaptionVisible(BOOL bVisible) {
  m_groupProps.captionVisible = bVisible;
  if (m_pPanel) m_pPanel->Reposition(FALSE);
}

int CTKPTaskPanelGroup::GetItemLayout() const {
  if (m_groupProps.layout != 0) return static_cast<int>(m_groupProps.layout);
  return m_pPanel ? m_pPanel->GetItemLayout() : taskpanel::kLayoutImageWithCaption;
}

void CTKPTaskPanelGroup::SetItemLayout(int nLayout) {
  m_groupProps.layout = nLayout;
  if (m_pPanel) m_pPanel->Reposition(FALSE);
}

CSize CTKPTaskPanelGroup::GetIconSize() const {
  if (m_groupProps.iconSize != CSize(0, 0)) return m_groupProps.iconSize;
  return m_pPanel ? m_pPanel->GetItemIconSize() : CSize(16, 16);
}

CRect CTKPTaskPanelGroup::GetCaptionRect() const {
  CRect rc(m_geo.current.left, m_geo.current.top, m_geo.current.right, m_geo.current.top + m_geo.captionHeight);
  // A scroll button drawn in the caption keeps the group spacing and a pixel to itself.
  if (m_pPanel) {
    const int buttonLeft = m_pPanel->GetCaptionButtonLeft(this);
    if (buttonLeft != INT_MAX) {
      rc.right = std::min(static_cast<int>(rc.right), buttonLeft - m_pPanel->GetPaintManager()->GetGroupSpacing(m_pPanel) - 1);
    }
  }
  return rc;
}

CRect CTKPTaskPanelGroup::GetClientRect() const {
  return CRect(m_geo.current.left, m_geo.current.top + m_geo.captionHeight, m_geo.current.right, m_geo.current.bottom);
}

CRect CTKPTaskPanelGroup::GetTargetCaptionRect() const {
  return CRect(m_geo.target.left, m_geo.target.top, m_geo.target.right, m_geo.target.top + m_geo.captionHeight);
}

CRect CTKPTaskPanelGroup::GetTargetClientRect() const {
  return CRect(m_geo.target.left, m_geo.target.top + m_geo.captionHeight, m_geo.target.right, m_geo.target.bottom);
}

CRect CTKPTaskPanelGroup::GetHitTestRect() const {
  if (!IsVisible() || m_pPanel == nullptr || !IsCaptionVisible()) return CRect();
  CRect rc = GetCaptionRect();
  rc.OffsetRect(0, -m_pPanel->GetScrollOffset());
  return rc;
}

CTKPTaskPanelGroupItem* CTKPTaskPanelGroup::HitTest(CPoint pt) const {
  if (!IsExpanded()) return nullptr;
  const CRect body = GetClientRect();
  pt.y -= body.top - GetItemScrollOffset();
  for (int i = m_nFirstVisible; i < GetItemCount(); ++i) {
    CTKPTaskPanelGroupItem* pItem = GetAt(i);
    if (pItem->IsVisible() && pItem->GetItemRect().PtInRect(pt)) return pItem;
  }
  return nullptr;
}

void CTKPTaskPanelGroup::SetFirstVisibleItemIndex(int nIndex) {
  nIndex = taskpanel::SnapFirstVisible(nIndex, m_nItemsPerRow, GetItemCount());
  if (nIndex == m_nFirstVisible) return;
  m_nFirstVisible = nIndex;
  if (m_pPanel) m_pPanel->OnGroupScrolled();
}

int CTKPTaskPanelGroup::GetItemScrollOffset() const {
  if (m_nFirstVisible <= 0 || m_pPanel == nullptr) return 0;
  const CTKPTaskPanelGroupItem* pFirst = GetNextVisibleItem(m_nFirstVisible - 1, 1);
  if (pFirst == nullptr) return 0;
  return pFirst->GetItemRect().top - m_pPanel->GetPaintManager()->GetGroupInnerMargins(this).top;
}

BOOL CTKPTaskPanelGroup::CanScroll(BOOL bUp) const {
  if (bUp) return m_nFirstVisible > 0;
  const CTKPTaskPanelGroupItem* pLast = GetNextVisibleItem(GetItemCount(), -1);
  const int body = m_geo.target.Height() - m_geo.captionHeight;
  return pLast && pLast->GetItemRect().bottom - GetItemScrollOffset() > body;
}

void CTKPTaskPanelGroup::Scroll(int nRows) {
  const int nIndex = m_pGroupItems->GetNextVisibleIndex(m_nFirstVisible, nRows * std::max(1, m_nItemsPerRow));
  if (nIndex >= 0) SetFirstVisibleItemIndex(nIndex);
}

BOOL CTKPTaskPanelGroup::IsItemVisibleInGroup(const CTKPTaskPanelGroupItem* pItem, BOOL bTop) const {
  if (!pItem->IsVisible() || pItem->GetIndex() < m_nFirstVisible) return FALSE;
  if (m_pPanel == nullptr || m_pPanel->IsExplorerBehaviour()) return TRUE;
  const int y = (bTop ? pItem->GetItemRect().top : pItem->GetItemRect().bottom) - GetItemScrollOffset();
  return y >= 0 && y <= m_geo.target.Height() - m_geo.captionHeight;
}

void CTKPTaskPanelGroup::ShareSpareHeight(int nSpare) {
  std::vector<taskpanel::LayoutItem> items(static_cast<size_t>(GetItemCount()));
  for (int i = 0; i < GetItemCount(); ++i) {
    const CTKPTaskPanelGroupItem* pItem = GetAt(i);
    items[i].visible = pItem->IsVisible() != FALSE;
    items[i].rect = pItem->m_rcItem;
    items[i].spareWeight = pItem->IsAutoHeight() ? std::max(1, static_cast<int>(pItem->GetSize().cy)) : 0;
  }
  taskpanel::ShareSpareHeight(items, nSpare);
  for (int i = 0; i < GetItemCount(); ++i) GetAt(i)->m_rcItem = items[i].rect;
}

void CTKPTaskPanelGroup::FillBodyFromTop() {
  m_nFirstVisible = taskpanel::SnapFirstVisible(m_nFirstVisible, m_nItemsPerRow, GetItemCount());
  const CTKPTaskPanelGroupItem* pLast = GetNextVisibleItem(GetItemCount(), -1);
  if (pLast == nullptr || m_pPanel == nullptr) return;
  const int body = m_geo.target.Height() - m_geo.captionHeight;
  const int innerTop = m_pPanel->GetPaintManager()->GetGroupInnerMargins(this).top;
  while (m_nFirstVisible > 0) {
    const int candidate = taskpanel::SnapFirstVisible(m_nFirstVisible - std::max(1, m_nItemsPerRow), m_nItemsPerRow,
                                                      GetItemCount());
    const CTKPTaskPanelGroupItem* pFirst = GetNextVisibleItem(candidate - 1, 1);
    const int offset = pFirst ? pFirst->GetItemRect().top - innerTop : 0;
    if (pLast->GetItemRect().bottom - offset > body) break;
    m_nFirstVisible = candidate;
  }
}

void CTKPTaskPanelGroup::EnsureVisible(CTKPTaskPanelItem* pItem) {
  const int nIndex = m_pGroupItems->Find(pItem);
  if (nIndex < 0 || !IsExpanded()) return;
  if (nIndex < m_nFirstVisible) {
    SetFirstVisibleItemIndex(nIndex);
    return;
  }
  const int body = m_geo.target.Height() - m_geo.captionHeight;
  const CRect rc = GetAt(nIndex)->GetItemRect();
  while (m_nFirstVisible < nIndex && rc.bottom - GetItemScrollOffset() > body) {
    const int nBefore = m_nFirstVisible;
    Scroll(1);
    if (m_nFirstVisible == nBefore) break;
  }
}

BOOL CTKPTaskPanelGroup::IsAcceptFocus() const {
  return CTKPTaskPanelItem::IsAcceptFocus() && IsExpandable() && IsCaptionVisible();
}

namespace {

// Lets the portable layout place the group's items through their own repositioning.
class GroupItemMeasurer : public taskpanel::ItemMeasurer {
 public:
  GroupItemMeasurer(CTKPTaskPanelGroup* pGroup, CDC* pDC) : m_pGroup(pGroup), m_pDC(pDC) {}
  CRect PlaceItem(int index, const CRect& available) override {
    return m_pGroup->GetAt(index)->OnReposition(m_pDC, available);
  }

 private:
  CTKPTaskPanelGroup* m_pGroup;
  CDC* m_pDC;
};

}  // namespace

void CTKPTaskPanelGroup::OnCalcClientHeight(CDC* pDC, const CRect& rcPanel) {
  CTKPTaskPanelPaintManager* pPaint = GetPaintManager();
  if (pPaint == nullptr) return;
  taskpanel::GroupLayoutInput in;
  in.left = rcPanel.left;
  in.right = rcPanel.right;
  in.outerMargins = pPaint->GetGroupOuterMargins(this);
  in.innerMargins = pPaint->GetGroupInnerMargins(this);
  in.layout = GetItemLayout();
  in.multiColumn = m_pPanel && m_pPanel->IsMultiColumn();
  in.columnWidth = m_pPanel ? m_pPanel->GetColumnWidth() : 100;
  in.iconSize = GetIconSize();
  in.imagePadding = pPaint->GetImageMargins();
  std::vector<taskpanel::LayoutItem> items(static_cast<size_t>(GetItemCount()));
  for (int i = 0; i < GetItemCount(); ++i) {
    items[i].visible = GetAt(i)->IsVisible() != FALSE;
    items[i].bottomMargin = pPaint->GetItemOuterMargins(GetAt(i)).bottom;
  }
  GroupItemMeasurer measurer(this, pDC);
  const taskpanel::GroupLayoutResult result = taskpanel::LayoutGroupItems(in, items, measurer);
  m_nItemsPerRow = result.itemsPerRow;
  m_geo.bodyHeight = result.bodyHeight;
  m_geo.captionHeight = pPaint->DrawGroupCaption(pDC, this, FALSE);
  m_geo.outerMargins = in.outerMargins;
}

BOOL CTKPTaskPanelGroup::OnAnimate(int nStep) {
  const BOOL bMoved = taskpanel::StepTowardTarget(m_geo, nStep);
  if (m_geo.current == m_geo.target && m_geo.expanding) {
    m_geo.expanding = false;
    if (m_pPanel) m_pPanel->NotifyOwner(NotifyGroupExpanded, reinterpret_cast<LPARAM>(this));
  }
  for (int i = 0; i < GetItemCount(); ++i) GetAt(i)->PlaceControlWindow();
  return bMoved;
}

void CTKPTaskPanelGroup::OnPaint(CDC* pDC) {
  CTKPTaskPanelPaintManager* pPaint = GetPaintManager();
  if (!IsVisible() || pPaint == nullptr) return;
  pPaint->DrawGroupCaption(pDC, this, TRUE);
  pPaint->DrawGroupClient(pDC, this);
}

void CTKPTaskPanelGroup::OnDrawHeaderImage(CDC* pDC, const CRect& rc) {
  if (m_ilHeader.GetSafeHandle() == nullptr || m_ilHeader.GetImageCount() != 1) return;
  const CPoint pt(rc.right - m_szHeaderImage.cx, rc.bottom - m_szHeaderImage.cy);
  ::ImageList_Draw(m_ilHeader.GetSafeHandle(), 0, pDC->GetSafeHdc(), pt.x, pt.y, ILD_NORMAL);
}

void CTKPTaskPanelGroup::DoPropExchange(CTKPPropExchange* pPX) {
  CTKPTaskPanelItem::DoPropExchange(pPX);
  taskpanel::GroupProps props = m_groupProps;
  props.expanded = IsExpanded();
  taskpanel::ExchangeGroupProps(pPX, props);
  std::unique_ptr<CTKPPropExchange> pItems(pPX->GetSection(_T("Items")));
  if (pPX->IsLoading()) {
    const BOOL bExpanded = props.expanded;
    m_groupProps = props;
    m_pGroupItems->SetTaskPanel(m_pPanel);
    if (pItems) m_pGroupItems->DoPropExchange(pItems.get());
    // A group loaded into a panel is not in its collection yet: the panel hears of the state once it is.
    if (m_pPanel != nullptr && m_pItems == nullptr) {
      m_nLoadedExpanded = bExpanded ? 1 : 0;
    } else {
      SetExpanded(bExpanded);
    }
  } else if (pItems) {
    m_pGroupItems->DoPropExchange(pItems.get());
  }
}

void CTKPTaskPanelGroup::ApplyLoadedExpanded() {
  const int loaded = m_nLoadedExpanded;
  m_nLoadedExpanded = -1;
  if (loaded < 0) return;
  // Where one group is open at a time, a group that cannot close or open keeps the loaded state itself;
  // in explorer behaviour the owner decides, and a refusal keeps the state the group had.
  if (m_pPanel != nullptr && !m_pPanel->IsExplorerBehaviour()) m_geo.expanded = loaded != 0;
  SetExpanded(loaded);
}

void CTKPTaskPanelGroup::SetTaskPanel(CTKPTaskPanel* pPanel) {
  CTKPTaskPanelItem::SetTaskPanel(pPanel);
  m_pGroupItems->SetTaskPanel(pPanel);
}

// ---- the collection ----

CTKPTaskPanelItems::CTKPTaskPanelItems(CTKPTaskPanel* pPanel, CCmdTarget* pOwner)
    : m_pPanel(pPanel), m_pOwner(pOwner) {}

CTKPTaskPanelItems::~CTKPTaskPanelItems() { RemoveAll(FALSE); }

CTKPTaskPanelItem* CTKPTaskPanelItems::InsertAt(int nIndex, CTKPTaskPanelItem* pItem) {
  if (pItem == nullptr) return nullptr;
  nIndex = std::clamp(nIndex, 0, GetCount());
  m_items.insert(m_items.begin() + nIndex, pItem);
  pItem->m_pItems = this;
  pItem->SetTaskPanel(m_pPanel);
  Reposition(FALSE);
  return pItem;
}

void CTKPTaskPanelItems::Move(CTKPTaskPanelItem* pItem, int nIndex) {
  const int nOld = Find(pItem);
  if (nOld < 0) return;
  m_items.erase(m_items.begin() + nOld);
  nIndex = std::clamp(nIndex, 0, GetCount());
  m_items.insert(m_items.begin() + nIndex, pItem);
  Reposition(FALSE);
}

void CTKPTaskPanelItems::Remove(CTKPTaskPanelItem* pItem) { RemoveAt(Find(pItem)); }

void CTKPTaskPanelItems::RemoveAt(int nIndex) {
  if (nIndex < 0 || nIndex >= GetCount()) return;
  CTKPTaskPanelItem* pItem = m_items[nIndex];
  m_items.erase(m_items.begin() + nIndex);
  if (m_pPanel) m_pPanel->OnItemRemoved(pItem);
  pItem->m_pItems = nullptr;
  pItem->SetTaskPanel(nullptr);
  pItem->InternalRelease();
  Reposition(FALSE);
}

void CTKPTaskPanelItems::RemoveAll(BOOL bReposition) {
  std::vector<CTKPTaskPanelItem*> items;
  items.swap(m_items);
  for (CTKPTaskPanelItem* pItem : items) {
    if (m_pPanel) m_pPanel->OnItemRemoved(pItem);
    pItem->m_pItems = nullptr;
    pItem->SetTaskPanel(nullptr);
    pItem->InternalRelease();
  }
  if (bReposition) Reposition(FALSE);
}

int CTKPTaskPanelItems::Find(const CTKPTaskPanelItem* pItem) const {
  const auto it = std::find(m_items.begin(), m_items.end(), pItem);
  return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
}

CTKPTaskPanelItem* CTKPTaskPanelItems::GetAt(int nIndex) const {
  return nIndex >= 0 && nIndex < GetCount() ? m_items[nIndex] : nullptr;
}

CTKPTaskPanelItem* CTKPTaskPanelItems::GetFirstVisibleItem() const { return GetAt(GetNextVisibleIndex(-1, 1)); }

CTKPTaskPanelItem* CTKPTaskPanelItems::GetLastVisibleItem() const {
  return GetAt(GetNextVisibleIndex(GetCount(), -1));
}

int CTKPTaskPanelItems::GetNextVisibleIndex(int nIndex, int nDirection) const {
  if (nDirection == 0) return -1;
  for (int i = nIndex + nDirection; i >= 0 && i < GetCount(); i += nDirection) {
    if (m_items[i]->IsVisible()) return i;
  }
  return -1;
}

void CTKPTaskPanelItems::SetTaskPanel(CTKPTaskPanel* pPanel) {
  m_pPanel = pPanel;
  for (CTKPTaskPanelItem* pItem : m_items) pItem->SetTaskPanel(pPanel);
}

CRuntimeClass* CTKPTaskPanelItems::GetDefaultItemClass() const { return RUNTIME_CLASS(CTKPTaskPanelItem); }

void CTKPTaskPanelItems::Reposition(BOOL bAnimate) const {
  if (m_pPanel) m_pPanel->Reposition(bAnimate);
}

void CTKPTaskPanelItems::DoPropExchange(CTKPPropExchange* pPX) {
  // The panel lays out once, after the last element.
  struct RedrawLock {
    CTKPTaskPanel* p;
    explicit RedrawLock(CTKPTaskPanel* panel) : p(panel) { if (p) p->SetLockRedraw(TRUE); }
    ~RedrawLock() { if (p) p->SetLockRedraw(FALSE); }
  } lock(m_pPanel);
  std::unique_ptr<CTKPSectionEnumerator> pEnum(pPX->GetEnumerator(_T("Item")));
  POSITION pos = pEnum->GetPosition(pPX->IsLoading() ? 0 : static_cast<DWORD>(GetCount()));
  if (!pPX->IsLoading()) {
    for (int nIndex = 0; pos != nullptr && nIndex < GetCount(); ++nIndex) {
      std::unique_ptr<CTKPPropExchange> pSection(pEnum->GetNext(pos));
      if (!pSection) break;
      CObject* pObject = m_items[nIndex];
      pSection->ExchangeObjectInstance(&pObject, GetDefaultItemClass());
      m_items[nIndex]->DoPropExchange(pSection.get());
    }
    return;
  }
  // Every element is read before the collection changes: a load refused half-way leaves it as it was.
  std::vector<CTKPTaskPanelItem*> loaded;
  try {
    while (pos) {
      std::unique_ptr<CTKPPropExchange> pSection(pEnum->GetNext(pos));
      if (!pSection) break;
      CObject* pObject = nullptr;
      // Only classes of this collection's kind are made; anything else is damage.
      if (!pSection->ExchangeObjectInstance(&pObject, GetDefaultItemClass())) {
        delete pObject;
        AfxThrowArchiveException(CArchiveException::badClass);
      }
      auto* pItem = static_cast<CTKPTaskPanelItem*>(pObject);
      pItem->SetTaskPanel(m_pPanel);
      loaded.push_back(pItem);
      pItem->DoPropExchange(pSection.get());
    }
  } catch (...) {
    for (CTKPTaskPanelItem* pItem : loaded) {
      pItem->SetTaskPanel(nullptr);
      pItem->InternalRelease();
    }
    throw;
  }
  RemoveAll(FALSE);
  for (CTKPTaskPanelItem* pItem : loaded) {
    Add(pItem);
    if (auto* pGroup = dynamic_cast<CTKPTaskPanelGroup*>(pItem)) pGroup->ApplyLoadedExpanded();
  }
  if (m_pPanel && m_pPanel->GetGroups() == this) m_pPanel->FocusLoadedSelection();
}
