// CTKPControls: the ordered controls of one command bar. It makes controls by type or from the items of
// a menu, inserts, clones, finds and removes them, hit-tests them, walks them for the keyboard, keeps a
// copy of the original controls, and lays a toolbar's controls out in wrapped rows.
#pragma once

#include <windows.h>

#include "platform/classlib/carray.h"
#include "platform/classlib/crect.h"
#include "platform/classlib/cstring.h"
#include "platform/classlib/win/ccmdtarget.h"

class CDC;
class CMenu;
class CTKPCommandBar;
class CTKPCommandBars;
class CTKPControl;
class CTKPPropExchange;

// Messages to the owner window while controls are made from menu items.
constexpr UINT TKP_WM_BEFORE_CREATE_CONTROL = 0x285E;
constexpr UINT TKP_WM_AFTER_CREATE_CONTROL = 0x285F;
constexpr UINT TKP_WM_CREATE_COMMANDBAR = 0x2861;

// The record of 0x285E and 0x285F: the owner may supply the control.
struct TKP_CREATE_CONTROL {
  int nID;
  CTKPControl* pControl;
  BOOL bToolBar;
  int nIndex;
  CMenu* pMenu;
  CTKPCommandBar* pCommandBar;
  CString strCaption;
  int controlType;
  int buttonStyle;
};

// The record of 0x2861: the owner may supply the bar a popup opens.
struct TKP_CREATE_COMMANDBAR {
  CTKPCommandBar* pCommandBar;
  BOOL bPopup;
  BOOL bExpandBar;
  BOOL bTearOffBar;
  LPCTSTR lpcstrCaption;
  CMenu* pMenu;
  UINT nID;
  BOOL bCustomBar;  // a toolbar made by the manager's AddCustomBar
};

// Reserved ids that make special controls.
constexpr int TKP_ID_WINDOWLIST = 35000;
constexpr int TKP_ID_WORKSPACE_ACTIONS = 35002;
constexpr int TKP_ID_FILE_MRU = 35003;
constexpr int TKP_ID_TOOLBARLIST = 59392;
constexpr int TKP_ID_FILE_MRU_FIRST = 57616;
constexpr int TKP_ID_OLE_VERB_FIRST = 57872;

class CTKPControls : public CCmdTarget {
  DECLARE_DYNCREATE(CTKPControls)

 public:
  CTKPControls();
  ~CTKPControls() override;

  // Takes over the caller's reference. A negative or too large nBefore appends.
  CTKPControl* Add(CTKPControl* pControl, int nId, const CString& strParameter = CString(), int nBefore = -1,
                   BOOL bTemporary = FALSE);
  CTKPControl* Add(int nType, int nId, const CString& strParameter = CString(), int nBefore = -1,
                   BOOL bTemporary = FALSE);
  CTKPControl* AddClone(CTKPControl* pClone, int nBefore = -1, BOOL bRecursive = FALSE);
  // The control of item nIndex of the menu, appended; null for an item that makes none.
  CTKPControl* AddMenuItem(CMenu* pMenu, int nIndex);

  void Remove(CTKPControl* pControl);
  void Remove(int nIndex);
  void RemoveAll();

  int GetCount() const { return static_cast<int>(m_arrControls.GetSize()); }
  CTKPControl* GetAt(int nIndex) const;
  CTKPControl* GetFirst() const { return GetAt(0); }
  CTKPControl* GetNext(CTKPControl* pControl) const;
  CTKPControl* FindControl(int nId) const { return FindControl(0, nId, FALSE, FALSE); }
  // Type 0 and id -1 match all.
  CTKPControl* FindControl(int nType, int nId, BOOL bVisible, BOOL bRecursive) const;
  // The next index for keyboard navigation, wrapping once; -1 when none.
  int GetNext(int nIndex, int nDirection, BOOL bSkipNoFocus = TRUE, BOOL bSkipTemporary = FALSE,
              BOOL bSkipExpandHidden = FALSE) const;
  CTKPControl* HitTest(CPoint point) const;
  int GetVisibleCount(BOOL bStrict = TRUE) const;

  CTKPCommandBar* GetParent() const { return m_pParent; }
  void SetParent(CTKPCommandBar* pParent);
  void RefreshIndexes();
  CTKPCommandBars* GetCommandBars() const;
  void SetCommandBars(CTKPCommandBars* pCommandBars) { m_pCommandBars = pCommandBars; }

  CTKPControls* Duplicate(BOOL bRecursive = FALSE);
  void CreateOriginalControls();
  void ReleaseOriginalControls();
  CTKPControls* GetOriginalControls() const { return m_pOriginalControls; }
  // Takes a reference on the new originals (null for none) and lets go of the old ones.
  void SetOriginalControls(CTKPControls* pOriginal);
  // The controls in the stream of customized bars: the lasting ones, then the originals. Loading
  // replaces the controls; a stream that is cut short or names a wrong class raises an archive exception.
  void DoPropExchange(CTKPPropExchange* pPX);
  BOOL Compare(CTKPControls* pOther);
  BOOL IsChanged();

  // The toolbar layout; the mode bits are those of TKPLayoutMode.
  // pWrapped (optional): whether the layout broke a row or left controls out.
  CSize CalcDynamicSize(CDC* pDC, int nLength, DWORD dwMode, const CRect& rcBorder, int nWidth = 0,
                        BOOL* pWrapped = nullptr);

 private:
  void InsertAt(CTKPControl* pControl, int nBefore);
  // The owner that takes part in making controls: the parent's site, else the manager's.
  CWnd* GetOwner() const;
  CTKPControl* CreateByType(int nType, int nId);
  // nDepth: 1 inside the originals, which hold no originals of their own.
  void ExchangeControls(CTKPPropExchange* pPX, int nDepth);

  CTKPCommandBar* m_pParent = nullptr;
  CArray<CTKPControl*, CTKPControl*> m_arrControls;
  CTKPCommandBars* m_pCommandBars = nullptr;
  CTKPControls* m_pOriginalControls = nullptr;
};
