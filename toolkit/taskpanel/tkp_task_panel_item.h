// The elements of the task panel: the base element, the group (a caption with a body of items), the item
// inside a group (link, text or embedded control), and the reference-owning collections that hold them.
// Windows build only.
#pragma once

#include <windows.h>

#include <vector>

#include "platform/classlib/win/ccmdtarget.h"
#include "platform/classlib/win/cgdiobject.h"
#include "platform/classlib/win/cimagelist.h"
#include "toolkit/common/tkp_accessible.h"
#include "toolkit/taskpanel/tp_layout.h"
#include "toolkit/taskpanel/tp_props.h"

class CDC;
class CTKPTaskPanel;
class CTKPTaskPanelPaintManager;
class CTKPTaskPanelGroup;
class CTKPTaskPanelItems;
class CTKPImageManagerIcon;

class CTKPTaskPanelItem : public CCmdTarget, public CTKPAccessible {
  DECLARE_DYNCREATE(CTKPTaskPanelItem)

 public:
  CTKPTaskPanelItem();
  ~CTKPTaskPanelItem() override;

  // Accessibility: the element itself only (CHILDID_SELF); a list item named by its caption.
  CCmdTarget* GetOwnerCmdTarget() override { return this; }
  LPUNKNOWN GetInterface(REFIID riid) override { return GetAccessibleInterface(riid); }
  HRESULT AccGetName(VARIANT varChild, BSTR* pszName) override;
  HRESULT AccGetDescription(VARIANT varChild, BSTR* pszDescription) override;
  HRESULT AccGetRole(VARIANT varChild, VARIANT* pvarRole) override;
  HRESULT AccGetState(VARIANT varChild, VARIANT* pvarState) override;
  HRESULT AccLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT varChild) override;
  HRESULT AccHitTest(long xLeft, long yTop, VARIANT* pvarChild) override;
  HRESULT AccDoDefaultAction(VARIANT varChild) override;

  CString GetCaption() const { return m_props.caption; }
  void SetCaption(LPCTSTR lpszCaption);
  CString GetTooltip() const { return m_props.tooltip; }
  void SetTooltip(LPCTSTR lpszTooltip) { m_props.tooltip = lpszTooltip; }
  UINT GetID() const { return static_cast<UINT>(m_props.id); }
  void SetID(UINT nID) { m_props.id = static_cast<LONG>(nID); }
  int GetType() const { return static_cast<int>(m_props.type); }
  void SetType(int nType);
  int GetIconIndex() const { return static_cast<int>(m_props.iconIndex); }
  void SetIconIndex(int nIndex);
  BOOL GetEnabled() const { return m_props.enabled; }
  void SetEnabled(BOOL bEnabled);
  BOOL IsVisible() const { return m_props.visible; }
  void SetVisible(BOOL bVisible);
  CRect GetIconPadding() const { return m_props.iconPadding; }
  int GetAllowDrag() const;
  void SetAllowDrag(int nFlags) { m_props.allowDrag = nFlags; }
  BOOL IsAllowDrop() const;
  void SetAllowDrop(BOOL bAllow) { m_props.allowDrop = bAllow; }

  BOOL IsGroup() const { return GetType() == taskpanel::kTypeGroup; }
  int GetIndex() const;
  // Takes the element out of its collection (which releases it).
  void Remove();
  CTKPTaskPanel* GetTaskPanel() const { return m_pPanel; }
  CTKPTaskPanelItems* GetParentItems() const { return m_pItems; }
  CTKPTaskPanelPaintManager* GetPaintManager() const;
  void RedrawPanel() const;
  // The icon of the icon index in the panel's image manager; null without one.
  CTKPImageManagerIcon* GetImage(int nWidth) const;

  BOOL IsItemHot() const;
  BOOL IsItemDragging() const;
  BOOL IsItemDragOver() const;
  BOOL IsItemPressed() const;
  BOOL IsItemFocused() const;

  // Where the caption was last laid out, and with which DrawText format.
  void SetTextRect(const CRect& rc, UINT nFormat) {
    m_rcText = rc;
    m_nTextFormat = nFormat;
  }
  CRect GetTextRect() const { return m_rcText; }

  virtual BOOL IsAcceptFocus() const;
  virtual CTKPTaskPanelGroup* GetItemGroup() const { return nullptr; }
  // The accessible state bits of this kind of element.
  virtual long GetAccessibleState() const;
  // In the panel's client coordinates; empty when not shown.
  virtual CRect GetHitTestRect() const { return CRect(); }
  virtual void DoPropExchange(CTKPPropExchange* pPX);
  // Sets the owning panel (and that of anything the element holds); null when it leaves the panel.
  virtual void SetTaskPanel(CTKPTaskPanel* pPanel) { m_pPanel = pPanel; }

 protected:
  friend class CTKPTaskPanelItems;

  CTKPTaskPanel* m_pPanel = nullptr;
  CTKPTaskPanelItems* m_pItems = nullptr;
  taskpanel::ElementProps m_props;
  CRect m_rcText;
  UINT m_nTextFormat = 0;
};

// An item inside a group: a link, a text or an embedded control window.
class CTKPTaskPanelGroupItem : public CTKPTaskPanelItem {
  DECLARE_SERIAL(CTKPTaskPanelGroupItem)

 public:
  CTKPTaskPanelGroupItem();
  ~CTKPTaskPanelGroupItem() override;

  CRect GetItemRect() const { return m_rcItem; }
  CRect GetMargins() const { return m_itemProps.margins; }
  void SetMargins(const CRect& rc) { m_itemProps.margins = rc; }
  BOOL IsBold() const { return m_itemProps.bold; }
  void SetBold(BOOL bBold);
  CSize GetSize() const { return m_itemProps.itemSize; }
  void SetSize(CSize size);
  BOOL IsAutoHeight() const { return m_itemProps.autoHeight; }
  // Takes a share of the spare height of an open group in toolbox and list behaviour.
  void SetAutoHeight(BOOL bAutoHeight) { m_itemProps.autoHeight = bAutoHeight; }
  void SetDragText(LPCTSTR lpszText) { m_itemProps.dragText = lpszText; }
  // The window shown inside the group (type 3); the item does not own it.
  void SetControlHandle(HWND hWnd);
  HWND GetControlHandle() const { return m_hWndControl; }

  BOOL IsItemSelected() const;
  void SetItemSelected(BOOL bSelected);
  // Whether the item was loaded as the selected one of a single-selection panel, which focuses it once
  // the whole load has been taken; the answer is given once.
  BOOL TakeLoadedSelection();
  virtual CString GetDragText() const;

  CTKPTaskPanelGroup* GetItemGroup() const override;
  CRect GetHitTestRect() const override;
  void DoPropExchange(CTKPPropExchange* pPX) override;
  long GetAccessibleState() const override;
  HRESULT AccGetDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) override;
  HRESULT AccDoDefaultAction(VARIANT varChild) override;
  HRESULT AccSelect(long flagsSelect, VARIANT varChild) override;
  // An item that leaves the panel hides its control's window.
  void SetTaskPanel(CTKPTaskPanel* pPanel) override;

  // Places the item in the room offered (group-body coordinates); returns its rectangle.
  virtual CRect OnReposition(CDC* pDC, const CRect& rcAvailable);
  virtual void OnDrawItem(CDC* pDC, const CRect& rc);
  // Shows the control window where the item is when its group has settled, else hides it (its
  // preview is drawn instead).
  void PlaceControlWindow();
  // The control's picture while its window is hidden; null when there is none.
  CBitmap* GetPreview() { return m_bmpPreview.GetSafeHandle() ? &m_bmpPreview : nullptr; }

 private:
  friend class CTKPTaskPanelGroup;
  void TakePreview();

  taskpanel::GroupItemProps m_itemProps;
  BOOL m_bLoadedSelected = FALSE;
  CRect m_rcItem;
  HWND m_hWndControl = nullptr;
  CBitmap m_bmpPreview;
};

class CTKPTaskPanelGroup : public CTKPTaskPanelItem {
  DECLARE_SERIAL(CTKPTaskPanelGroup)

 public:
  CTKPTaskPanelGroup();
  ~CTKPTaskPanelGroup() override;

  // Adding items (the group holds the new item; the pointer stays valid while it does).
  CTKPTaskPanelGroupItem* AddLinkItem(UINT nID, int nIconIndex = -1);
  CTKPTaskPanelGroupItem* AddTextItem(LPCTSTR lpszText);
  CTKPTaskPanelGroupItem* AddControlItem(HWND hWnd);

  CTKPTaskPanelItems* GetItems() const { return m_pGroupItems; }
  int GetItemCount() const;
  CTKPTaskPanelGroupItem* GetAt(int nIndex) const;
  CTKPTaskPanelGroupItem* GetNextVisibleItem(int nIndex, int nDirection = 1) const;
  void SelectItem(CTKPTaskPanelItem* pItem);

  BOOL IsExpanded() const;
  void SetExpanded(BOOL bExpanded);
  BOOL IsExpandable() const;
  void SetExpandable(BOOL bExpandable);
  BOOL IsSpecialGroup() const { return m_groupProps.special; }
  void SetSpecialGroup(BOOL bSpecial);
  BOOL IsCaptionVisible() const { return m_groupProps.captionVisible; }
  void SetCaptionVisible(BOOL bVisible);
  int GetItemLayout() const;
  void SetItemLayout(int nLayout);
  CSize GetIconSize() const;
  void SetIconSize(CSize sz) { m_groupProps.iconSize = sz; }
  CRect GetOuterMargins() const { return m_groupProps.marginsOuter; }
  void SetOuterMargins(const CRect& rc) { m_groupProps.marginsOuter = rc; }
  CRect GetInnerMargins() const { return m_groupProps.marginsInner; }
  void SetInnerMargins(const CRect& rc) { m_groupProps.marginsInner = rc; }
  int GetItemsPerRow() const { return m_nItemsPerRow; }
  BOOL IsExpanding() const { return m_geo.expanding; }
  // The body's full height (what shows when expanded).
  int GetBodyHeight() const { return m_geo.bodyHeight; }

  // Rectangles in the panel's content coordinates (unscrolled): caption and body, now and at the end.
  CRect GetCaptionRect() const;
  CRect GetClientRect() const;
  CRect GetTargetCaptionRect() const;
  CRect GetTargetClientRect() const;
  CRect GetCurrentRect() const { return m_geo.current; }
  CRect GetTargetRect() const { return m_geo.target; }
  taskpanel::GroupGeometry& Geometry() { return m_geo; }

  // Scrolling the items (toolbox and list behaviour): the first item shown, its offset in pixels, and
  // whether the items can move up or down.
  int GetFirstVisibleItemIndex() const { return m_nFirstVisible; }
  void SetFirstVisibleItemIndex(int nIndex);
  int GetItemScrollOffset() const;
  BOOL CanScroll(BOOL bUp) const;
  void Scroll(int nRows);
  void EnsureVisible(CTKPTaskPanelItem* pItem);
  // Hands spare body height to the items of automatic height.
  void ShareSpareHeight(int nSpare);
  // Moves the first item shown back as far as the items still fill the body.
  void FillBodyFromTop();
  // Shown inside the body at the group's scroll position (its top, or its bottom, within the body).
  BOOL IsItemVisibleInGroup(const CTKPTaskPanelGroupItem* pItem, BOOL bTop) const;

  // The item under a point of the content coordinates, expanded groups only.
  CTKPTaskPanelGroupItem* HitTest(CPoint pt) const;
  // Lays the items out for the width and measures the caption; fills the geometry's heights.
  void OnCalcClientHeight(CDC* pDC, const CRect& rcPanel);
  // One animation step (0 snaps); returns TRUE when the group moved.
  BOOL OnAnimate(int nStep);
  void OnPaint(CDC* pDC);
  virtual void OnDrawHeaderImage(CDC* pDC, const CRect& rc);
  // The single image drawn at the bottom right of the body, with the size it is drawn at.
  CImageList& GetHeaderImageList() { return m_ilHeader; }
  void SetHeaderImageSize(CSize sz) { m_szHeaderImage = sz; }

  BOOL IsAcceptFocus() const override;
  CTKPTaskPanelGroup* GetItemGroup() const override { return const_cast<CTKPTaskPanelGroup*>(this); }
  CRect GetHitTestRect() const override;
  void DoPropExchange(CTKPPropExchange* pPX) override;
  void SetTaskPanel(CTKPTaskPanel* pPanel) override;
  long GetAccessibleState() const override;
  HRESULT AccGetDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) override;
  HRESULT AccDoDefaultAction(VARIANT varChild) override;

 private:
  friend class CTKPTaskPanel;
  friend class CTKPTaskPanelItems;

  CTKPTaskPanelGroupItem* AddItem(int nType, UINT nID, int nIconIndex);
  // Applies the expanded state loaded while the group was outside its collection.
  void ApplyLoadedExpanded();

  taskpanel::GroupProps m_groupProps;
  taskpanel::GroupGeometry m_geo;
  CTKPTaskPanelItems* m_pGroupItems;
  CImageList m_ilHeader;
  CSize m_szHeaderImage{0, 0};
  int m_nItemsPerRow = 1;
  int m_nFirstVisible = 0;
  int m_nLoadedExpanded = -1;  // -1 none, else the loaded state not yet applied
};

// An ordered collection holding one reference on each element.
class CTKPTaskPanelItems : public CCmdTarget {
  DECLARE_DYNAMIC(CTKPTaskPanelItems)

 public:
  CTKPTaskPanelItems(CTKPTaskPanel* pPanel, CCmdTarget* pOwner);
  ~CTKPTaskPanelItems() override;

  // Takes over the caller's reference. An index at or past the count appends.
  CTKPTaskPanelItem* Add(CTKPTaskPanelItem* pItem) { return InsertAt(GetCount(), pItem); }
  CTKPTaskPanelItem* InsertAt(int nIndex, CTKPTaskPanelItem* pItem);
  void Move(CTKPTaskPanelItem* pItem, int nIndex);
  void Remove(CTKPTaskPanelItem* pItem);
  void RemoveAt(int nIndex);
  void RemoveAll(BOOL bReposition = TRUE);
  int Find(const CTKPTaskPanelItem* pItem) const;
  int GetCount() const { return static_cast<int>(m_items.size()); }
  CTKPTaskPanelItem* GetAt(int nIndex) const;
  CTKPTaskPanelItem* GetFirstVisibleItem() const;
  CTKPTaskPanelItem* GetLastVisibleItem() const;
  // Steps from nIndex by nDirection until a visible element; -1 when it leaves the collection.
  int GetNextVisibleIndex(int nIndex, int nDirection) const;
  CCmdTarget* GetOwner() const { return m_pOwner; }
  void SetTaskPanel(CTKPTaskPanel* pPanel);

  virtual CRuntimeClass* GetDefaultItemClass() const;
  void DoPropExchange(CTKPPropExchange* pPX);

 private:
  void Reposition(BOOL bAnimate) const;

  CTKPTaskPanel* m_pPanel;
  CCmdTarget* m_pOwner;
  std::vector<CTKPTaskPanelItem*> m_items;
};

// The panel's groups.
class CTKPTaskPanelGroups : public CTKPTaskPanelItems {
 public:
  using CTKPTaskPanelItems::CTKPTaskPanelItems;
  CRuntimeClass* GetDefaultItemClass() const override { return RUNTIME_CLASS(CTKPTaskPanelGroup); }
};

// A group's items.
class CTKPTaskPanelGroupItems : public CTKPTaskPanelItems {
 public:
  using CTKPTaskPanelItems::CTKPTaskPanelItems;
  CRuntimeClass* GetDefaultItemClass() const override { return RUNTIME_CLASS(CTKPTaskPanelGroupItem); }
};
