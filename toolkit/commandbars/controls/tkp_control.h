// CTKPControl: one item of a command bar (a toolbar button, a menu item, a popup, a combo box, an edit, a
// label). It carries the command id, icons, texts and states, measures and paints itself through the
// paint manager, reacts to what its bar forwards, and runs its command. Every control lives in one
// controls collection, which holds a reference on it.
#pragma once

#include <windows.h>

#include "platform/classlib/cmap.h"
#include "platform/classlib/cstring.h"
#include "platform/classlib/crect.h"
#include "platform/classlib/win/ccmdtarget.h"
#include "toolkit/common/tkp_accessible.h"

class CDC;
class CTKPCommandBar;
class CTKPCommandBars;
class CTKPControl;
class CTKPControls;
class CTKPImageManager;
class CTKPImageManagerIcon;
class CTKPPaintManager;
class CTKPPropExchange;

// Control types.
enum TKPControlType {
  tkpControlError = 0,
  tkpControlButton = 1,
  tkpControlPopup = 2,
  tkpControlButtonPopup = 3,
  tkpControlSplitButtonPopup = 4,
  tkpControlComboBox = 5,
  tkpControlEdit = 6,
  tkpControlCustom = 7,
  tkpControlLabel = 8,
};

// Why a control is hidden (visible only when none is set).
enum TKPHideFlags : DWORD {
  tkpNoHide = 0,
  tkpHideGeneric = 1,
  tkpHideWrap = 2,
  tkpHideScroll = 8,
  tkpHideCustomize = 16,
  tkpHideExpand = 32,
  tkpHideDocTemplate = 64,
};

// Behaviour flags.
enum TKPControlFlags : DWORD {
  tkpFlagRightAlign = 1,
  tkpFlagSkipFocus = 2,
  tkpFlagLeftPopup = 4,
  tkpFlagManualUpdate = 8,
  tkpFlagNoMovable = 16,
  tkpFlagControlStretched = 32,
  tkpFlagExpandButton = 0x40,
};

// Display styles.
enum TKPButtonStyle { tkpButtonAutomatic = 0, tkpButtonCaption = 1, tkpButtonIcon = 2, tkpButtonIconAndCaption = 3 };

// The control notification and its code for "execute".
constexpr UINT TKP_WM_CONTROL_NOTIFY = 0x2862;
constexpr int TKP_CN_EXECUTE = 100;

// lParam of the control notification: the window field is always 0.
struct NMTKPCONTROL {
  HWND hwndFrom;
  UINT_PTR idFrom;
  UINT code;
  CTKPControl* pControl;
};

typedef CMap<UINT, UINT, BOOL, BOOL> CTKPDocTemplateMap;

class CTKPControl : public CCmdTarget, public CTKPAccessible {
  DECLARE_SERIAL(CTKPControl)

 public:
  CTKPControl();
  ~CTKPControl() override;

  // ---- identity and texts -----------------------------------------------------------------------
  int GetID() const { return m_nId; }
  // Takes the prompt of the command's string resource when the id changes.
  void SetID(int nId);
  int GetIndex() const { return m_nIndex; }
  int GetType() const { return m_controlType; }
  void SetType(int nType) { m_controlType = nType; }
  int GetIconId() const { return m_nIconId; }
  void SetIconId(int nId) { m_nIconId = nId; }
  int GetCustomIconId() const { return m_nCustomIconId; }
  void SetCustomIconId(int nId) { m_nCustomIconId = nId; }
  DWORD_PTR GetTag() const { return m_nTag; }
  void SetTag(DWORD_PTR nTag) { m_nTag = nTag; }
  // "description\ntooltip"; without a newline both take the whole text; an empty caption takes the tooltip.
  void SetPrompt(const CString& strPrompt);
  // The part behind a tab goes to the caption shortcut.
  void SetCaption(const CString& strCaption);
  CString GetCaption() const { return m_strCustomCaption.IsEmpty() ? m_strCaption : m_strCustomCaption; }
  void SetCustomCaption(const CString& str) { m_strCustomCaption = str; }
  CString GetCustomCaption() const { return m_strCustomCaption; }
  CString GetShortcutText() const { return m_strShortcutText.IsEmpty() ? m_strShortcutTextAuto : m_strShortcutText; }
  void SetShortcutText(const CString& str) { m_strShortcutText = str; }
  // The shortcut the control shows unless one was set: its caption's tab text or the accelerator's.
  CString GetShortcutTextAuto() const { return m_strShortcutTextAuto; }
  void SetShortcutTextAuto(const CString& str) { m_strShortcutTextAuto = str; }
  void SetTooltip(const CString& str) { m_strTooltipText = str; }
  void SetDescription(const CString& str) { m_strDescriptionText = str; }
  CString GetParameter() const { return m_strParameter; }
  void SetParameter(const CString& str) { m_strParameter = str; }
  CString GetCategory() const { return m_strCategory; }
  void SetCategory(const CString& str) { m_strCategory = str; }
  int GetStyle() const { return m_nCustomStyle != 0 ? m_nCustomStyle : m_nStyle; }
  void SetStyle(int nStyle) { m_nStyle = nStyle; }
  void SetCustomStyle(int nStyle) { m_nCustomStyle = nStyle; }

  // ---- state --------------------------------------------------------------------------------------
  BOOL GetEnabled() const { return m_bEnabled; }
  BOOL GetChecked() const { return m_bChecked; }
  void SetChecked(BOOL bChecked);
  int GetPressed() const { return m_bPressed; }
  void SetPressed(int nPressed) { m_bPressed = nPressed; }
  BOOL GetBeginGroup() const { return m_bBeginGroup; }
  BOOL GetWrap() const { return m_bWrap; }
  void SetWrap(BOOL bWrap) { m_bWrap = bWrap; }
  BOOL IsTemporary() const { return m_bTemporary; }
  void SetTemporary(BOOL b) { m_bTemporary = b; }
  DWORD GetHideFlags() const { return m_dwHideFlags; }
  BOOL IsVisible() const { return m_dwHideFlags == tkpNoHide; }
  void SetVisible(BOOL bVisible);
  DWORD GetFlags() const { return m_dwFlags; }
  void SetFlags(DWORD dwFlags) { m_dwFlags = dwFlags; }
  BOOL GetDefaultItem() const { return m_bDefaultItem; }
  void SetDefaultItem(BOOL bDefault);
  BOOL IsHiddenByUsage() const { return m_bHiddenByUsage; }
  void SetHiddenByUsage(BOOL b) { m_bHiddenByUsage = b; }
  BOOL GetCloseSubMenuOnClick() const { return m_bCloseSubMenuOnClick; }
  void SetCloseSubMenuOnClick(BOOL b) { m_bCloseSubMenuOnClick = b; }
  CRect GetRect() const { return m_rcControl; }
  CRect GetRowRect() const { return m_rcRow; }
  void SetRowRect(const CRect& rc) { m_rcRow = rc; }
  CTKPCommandBar* GetParent() const { return m_pParent; }
  CTKPControls* GetControls() const { return m_pControls; }
  CTKPDocTemplateMap& GetDocTemplatesAssigned() { return m_mapDocTemplatesAssigned; }
  CTKPDocTemplateMap& GetDocTemplatesExcluded() { return m_mapDocTemplatesExcluded; }

  // ---- managers and the parent ------------------------------------------------------------------
  CTKPPaintManager* GetPaintManager() const;
  CTKPImageManager* GetImageManager() const;
  BOOL IsCustomizeMode() const;
  // Sends the control notification to the parent bar's site; its answer.
  LRESULT NotifySite(UINT nCode);
  // The modal click of a toolbar button (an empty rc: the control's rectangle); runs the command when
  // the mouse is released over it.
  void ClickToolBarButton(CRect rc = CRect());
  BOOL IsCursorOver() const;
  void RedrawParent();
  void DelayLayoutParent();
  // Invalidates the parent at once without erasing.
  void InvalidateParent();

  // ---- the virtual operations -------------------------------------------------------------------
  virtual CString GetDescription() const { return m_strDescriptionText; }
  virtual CString GetTooltip() const { return m_strTooltipText; }
  virtual void SetBeginGroup(BOOL bBeginGroup);
  virtual void SetEnabled(BOOL bEnabled);
  virtual int GetSelected() const { return m_bSelected; }
  virtual void SetFocused(BOOL /*bFocused*/) {}
  virtual BOOL IsFocused() const { return FALSE; }
  virtual void SetRect(CRect rc) { m_rcControl = rc; }
  virtual BOOL IsCaptionVisible() const;
  virtual BOOL Compare(CTKPControl* pOther);
  virtual CTKPCommandBar* GetCommandBar() { return nullptr; }
  virtual BOOL IsPassive() const { return FALSE; }
  virtual void SetHideFlags(DWORD dwFlags) { m_dwHideFlags = dwFlags; }
  virtual void OnExecute();
  virtual CSize GetSize(CDC* pDC);
  virtual void Draw(CDC* pDC);
  virtual void OnCalcDynamicSize(DWORD /*dwMode*/) {}
  virtual CTKPImageManagerIcon* GetImage(int nWidth = 16) const;
  virtual void DoPropExchange(CTKPPropExchange* pPX);
  virtual void OnUnderlineActivate() { OnExecute(); }
  virtual BOOL IsFocusable() const { return FALSE; }
  virtual int OnHookKeyDown(UINT /*nChar*/, LPARAM /*lParam*/) { return 0; }
  virtual void SetParent(CTKPCommandBar* pParent) { m_pParent = pParent; }
  virtual void Copy(CTKPControl* pSource, BOOL bRecursive);
  virtual BOOL OnSetPopup(BOOL /*bPopup*/) { return FALSE; }
  virtual void OnClick(BOOL /*bKeyboard*/ = FALSE, CPoint /*pt*/ = CPoint()) {}
  virtual void OnLButtonUp(CPoint /*point*/) {}
  virtual BOOL OnRButtonUp(CPoint /*point*/) { return FALSE; }
  virtual BOOL OnLButtonDblClk(CPoint point);
  virtual void OnMouseMove(CPoint /*point*/) {}
  virtual void OnMouseHover();
  virtual BOOL OnSetSelected(int bSelected);
  // Customize mode: a control is dragged over this one (the point in the bar's client coordinates); the
  // bar closes its open popup (tkp_customize_bar.cpp).
  virtual void OnCustomizeDragOver(CTKPControl* pDragged, CPoint point);
  // Customize mode: whether the control may be dropped on the bar; a refusal sets nEffect to none.
  virtual BOOL IsCustomizeDragOverAvail(CTKPCommandBar* /*pBar*/, CPoint /*point*/, int& /*nEffect*/) { return TRUE; }
  virtual BOOL IsCustomizeResizeAllow() const { return FALSE; }
  virtual int GetCustomizeMinWidth() const { return 0; }
  virtual void SetWidth(int /*nWidth*/) {}
  // The width that SetWidth sets (a field's own width, without its label); 0 for fixed controls.
  virtual int GetWidth() const { return 0; }
  // Customize mode: true when the point (bar coordinates) lies within 2 pixels of a side edge.
  BOOL IsCustomizeResizeEdge(CPoint point) const;
  // Customize mode: a press on a side edge drags that edge (an inverted frame on the screen) until the
  // button is released (the new width is set) or Escape; FALSE when the point is not on an edge.
  virtual BOOL CustomizeStartResize(CPoint point);
  virtual CTKPControl* Clone(BOOL bRecursive = FALSE);

  // The icon number that an image comes from: custom icon, else icon id (1 or more), else the id.
  int GetEffectiveIconId() const;

  // ---- accessibility: the control is one element without children ------------------------------
  HRESULT AccGetParent(IDispatch** ppdispParent) override;
  HRESULT AccGetChildCount(long* pcountChildren) override;
  HRESULT AccGetName(VARIANT varChild, BSTR* pszName) override;
  HRESULT AccGetDescription(VARIANT varChild, BSTR* pszDescription) override;
  HRESULT AccGetRole(VARIANT varChild, VARIANT* pvarRole) override;
  HRESULT AccGetState(VARIANT varChild, VARIANT* pvarState) override;
  HRESULT AccLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT varChild) override;
  HRESULT AccHitTest(long xLeft, long yTop, VARIANT* pvarChild) override;
  HRESULT AccSelect(long flagsSelect, VARIANT varChild) override;
  HRESULT AccDoDefaultAction(VARIANT varChild) override;
  CCmdTarget* GetOwnerCmdTarget() override { return this; }
  LPUNKNOWN GetInterface(REFIID riid) override { return GetAccessibleInterface(riid); }

 protected:
  // The drop query of controls that belong in menus only: TRUE on a popup bar, else none.
  static BOOL DropOnPopupBarsOnly(CTKPCommandBar* pBar, int& nEffect);
  // Marks the id, and the id of the control that opened this control's menu, as used.
  void MarkUsed(CTKPCommandBars* pCommandBars) const;
  DWORD_PTR m_nTag = 0;
  int m_nIndex = 0;
  int m_nId = 0;
  int m_nIconId = 0;
  int m_nCustomIconId = 0;
  BOOL m_bWrap = FALSE;
  BOOL m_bBeginGroup = FALSE;
  BOOL m_bEnabled = TRUE;
  BOOL m_bChecked = FALSE;
  int m_bSelected = 0;
  int m_bPressed = 0;
  BOOL m_bTemporary = FALSE;
  CRect m_rcRow;
  CRect m_rcControl;
  DWORD m_dwHideFlags = 0;
  DWORD m_dwFlags = 0;
  CString m_strCaption;
  CString m_strCustomCaption;
  CString m_strShortcutText;
  CString m_strShortcutTextAuto;
  CString m_strTooltipText;
  CString m_strDescriptionText;
  CString m_strParameter;
  CTKPControls* m_pControls = nullptr;
  int m_controlType = tkpControlButton;
  CTKPCommandBar* m_pParent = nullptr;
  BOOL m_bHiddenByUsage = FALSE;
  CString m_strCategory;
  BOOL m_bDefaultItem = FALSE;
  CTKPDocTemplateMap m_mapDocTemplatesAssigned;
  CTKPDocTemplateMap m_mapDocTemplatesExcluded;
  int m_nStyle = tkpButtonAutomatic;
  int m_nCustomStyle = 0;
  BOOL m_bCloseSubMenuOnClick = TRUE;

  friend class CTKPControls;
};
