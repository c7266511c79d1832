// The customize dialog's pages: toolbars (show, hide, new, rename, delete, reset), commands (by category,
// dragged out onto bars), keyboard (shortcuts of each command) and options; and the small classes they
// draw their lists and headings with.
#pragma once

#include <windows.h>

#include <vector>

#include "platform/classlib/win/clistbox.h"
#include "platform/classlib/win/cpropertysheet.h"
#include "platform/classlib/win/cstatic.h"

class CTKPCommandBar;
class CTKPCommandBars;
class CTKPControls;
class CTKPCustomizeSheet;
class CTKPPaintManager;

// The notification of a list line whose check box changed.
constexpr UINT TKP_CLBN_CHKCHANGE = 0x28;

// A list box whose lines carry a check box (a click on the box or Space toggles it and tells the parent).
class CTKPCustomizeCheckList : public CListBox {
 public:
  BOOL GetCheck(int nIndex) const;
  void SetCheck(int nIndex, BOOL bCheck);
  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
  void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
  // The height the paint manager gives an entry.
  int EntryHeight();

 protected:
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  DECLARE_MESSAGE_MAP()

 private:
  void Toggle(int nIndex);
  std::vector<BOOL> m_checks;
};

class CTKPCustomizeToolbarsPage : public CPropertyPage {
  DECLARE_DYNCREATE(CTKPCustomizeToolbarsPage)

 public:
  CTKPCustomizeToolbarsPage();
  void SetSheet(CTKPCustomizeSheet* pSheet) { m_pSheet = pSheet; }
  BOOL OnInitDialog() override;
  void RefreshList();
  CTKPCustomizeCheckList& GetList() { return m_list; }

  afx_msg void OnSelChange();
  afx_msg void OnCheckChange();
  afx_msg void OnNew();
  afx_msg void OnRename();
  afx_msg void OnDelete();
  afx_msg void OnReset();

 protected:
  DECLARE_MESSAGE_MAP()

 private:
  CTKPCommandBars* Bars() const;
  CTKPCommandBar* SelectedBar() const;
  CTKPCustomizeSheet* m_pSheet = nullptr;
  CTKPCustomizeCheckList m_list;
};

// The commands list: each line is a control, drawn with its icon and caption; a press drags it out.
class CTKPCustomizeCommandList : public CListBox {
 public:
  void SetSheet(CTKPCustomizeSheet* pSheet) { m_pSheet = pSheet; }
  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
  void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
  // The height the paint manager gives an entry.
  int EntryHeight();

 protected:
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()

 private:
  CTKPPaintManager* GetPaintManager() const;
  CTKPCustomizeSheet* m_pSheet = nullptr;
};

class CTKPCustomizeCommandsPage : public CPropertyPage {
  DECLARE_DYNCREATE(CTKPCustomizeCommandsPage)

 public:
  CTKPCustomizeCommandsPage();
  void SetSheet(CTKPCustomizeSheet* pSheet) { m_pSheet = pSheet; }
  BOOL OnInitDialog() override;
  afx_msg void OnCategoryChange();
  CTKPCustomizeCommandList& GetCommandList() { return m_commands; }

 protected:
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  CTKPCustomizeSheet* m_pSheet = nullptr;
  CListBox m_categories;
  CTKPCustomizeCommandList m_commands;
};

// The edit that captures a key combination: every key goes to the page instead of the dialog manager.
class CTKPCustomizeKeyEdit : public CWnd {
 public:
  class CTKPCustomizeKeyboardPage* m_pPage = nullptr;

 protected:
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CTKPCustomizeKeyboardPage : public CPropertyPage {
 public:
  CTKPCustomizeKeyboardPage();
  void SetSheet(CTKPCustomizeSheet* pSheet) { m_pSheet = pSheet; }
  BOOL OnInitDialog() override;
  // The combination the capture edit holds (flags FVIRTKEY | FCONTROL | FSHIFT | FALT, key).
  void SetCapturedKey(BYTE fVirt, WORD key);
  CListBox& GetCommandList() { return m_commands; }
  CListBox& GetKeyList() { return m_keys; }
  afx_msg void OnCategoryChange();
  afx_msg void OnCommandChange();
  afx_msg void OnKeysChange();
  afx_msg void OnAssign();
  afx_msg void OnRemove();
  afx_msg void OnResetAll();

 protected:
  DECLARE_MESSAGE_MAP()

 private:
  void FillKeys();
  void UpdateButtons();
  std::vector<ACCEL> Table() const;
  void SetTable(const std::vector<ACCEL>& table);
  int SelectedCommand() const;

  CTKPCustomizeSheet* m_pSheet = nullptr;
  CComboBox m_category;
  CListBox m_commands;
  CListBox m_keys;
  CTKPCustomizeKeyEdit m_edit;
  ACCEL m_captured{};
  BOOL m_bCaptured = FALSE;
};

// A section heading: its text, then an etched line to the far edge.
class CTKPCustomizeHeading : public CStatic {
 public:
  // The text and, beside it, a line to the far edge: etched, or under visual styles one pixel in the
  // button theme's edge-shadow colour, the text then in its group-box colour.
  void DrawHeading(CDC* pDC);

 protected:
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()
};

class CTKPCustomizeOptionsPage : public CPropertyPage {
 public:
  CTKPCustomizeOptionsPage();
  void SetSheet(CTKPCustomizeSheet* pSheet) { m_pSheet = pSheet; }
  BOOL OnInitDialog() override;
  afx_msg void OnFullMenus();
  afx_msg void OnFullMenusDelay();
  afx_msg void OnLargeIcons();
  afx_msg void OnToolTips();
  afx_msg void OnToolTipShortcuts();
  afx_msg void OnAnimation();
  afx_msg void OnResetUsage();

 protected:
  DECLARE_MESSAGE_MAP()

 private:
  void UpdateEnabling();
  BOOL Checked(int nID) const;
  CTKPCustomizeSheet* m_pSheet = nullptr;
  CTKPCustomizeHeading m_headings[2];
};
