// CPropertySheet and CPropertyPage: the system's property sheet with pages built from dialog templates,
// modal (DoModal, through the library's modal loop) or modeless (Create). Each page is a CDialog whose
// object takes its window when the sheet creates it (the first time the page is shown); the sheet's
// notifications reach the page's virtual handlers (OnSetActive, OnKillActive, OnOK, OnCancel, OnApply).
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <vector>

#include "platform/classlib/cstring.h"
#include "platform/classlib/win/cdialog.h"

class CPropertySheet;

class CPropertyPage : public CDialog {
  DECLARE_DYNAMIC(CPropertyPage)

 public:
  // The page's template from the resources; nIDCaption: a string for the tab (else the template's).
  explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);
  explicit CPropertyPage(LPCTSTR lpszTemplateName, UINT nIDCaption = 0);

  // The page record the sheet is built from (a caller may point it at a template in memory with
  // PSP_DLGINDIRECT and pResource before the page is added).
  PROPSHEETPAGEW m_psp{};

  // The page becomes the shown one: TRUE accepts (the default writes the members into the controls
  // the first time). OnKillActive: FALSE keeps the page (the default reads the controls back).
  virtual BOOL OnSetActive();
  virtual BOOL OnKillActive();
  // OK or Apply: OnApply runs OnOK and answers TRUE; FALSE keeps the sheet open.
  virtual BOOL OnApply();
  void OnOK() override;
  void OnCancel() override;
  // Cancel pressed: FALSE keeps the sheet.
  virtual BOOL OnQueryCancel();
  // Tells the sheet that the page has changes to apply (Apply button).
  void SetModified(BOOL bChanged = TRUE);
  CPropertySheet* GetSheet() const { return m_pSheet; }

 protected:
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

 private:
  friend class CPropertySheet;
  static INT_PTR CALLBACK PageDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
  void Construct(LPCTSTR lpszTemplateName, UINT nIDCaption);

  CPropertySheet* m_pSheet = nullptr;
  CString m_strCaption;
  BOOL m_bFirstSetActive = TRUE;
};

class CPropertySheet : public CWnd {
  DECLARE_DYNAMIC(CPropertySheet)

 public:
  CPropertySheet() = default;
  explicit CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
  explicit CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

  // Pages are the caller's; added before the sheet runs, or while it is open.
  void AddPage(CPropertyPage* pPage);
  void RemovePage(CPropertyPage* pPage);
  void RemovePage(int nPage);
  int GetPageCount() const { return static_cast<int>(m_pages.size()); }
  CPropertyPage* GetPage(int nPage) const;
  int GetPageIndex(CPropertyPage* pPage) const;
  CPropertyPage* GetActivePage() const;
  int GetActiveIndex() const;
  BOOL SetActivePage(int nPage);
  BOOL SetActivePage(CPropertyPage* pPage);
  void SetTitle(LPCTSTR lpszText, UINT nStyle = 0);
  // The sheet's tab control (a temporary wrapper unless someone subclassed it).
  CWnd* GetTabControl() const;
  // PSBTN_OK, PSBTN_CANCEL, PSBTN_APPLYNOW, ...
  void PressButton(int nButton);

  // Runs the sheet modally; IDOK when it ended with OK (or Apply then close), IDCANCEL otherwise, -1
  // when it could not be created.
  virtual INT_PTR DoModal();
  // A modeless sheet; it destroys itself (not the object) when OK or Cancel end it.
  virtual BOOL Create(CWnd* pParentWnd = nullptr, DWORD dwStyle = static_cast<DWORD>(-1), DWORD dwExStyle = 0);
  // Modal: ends the run with nEndID; modeless: destroys the sheet.
  void EndDialog(int nEndID);
  // Runs when the sheet's window is taken over (the pages exist from here on only as they are shown).
  virtual BOOL OnInitDialog();

  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL ContinueModal() override;
  // A page heard that the sheet applies (IDOK) or cancels (IDCANCEL): the sheet may be ending.
  void OnPageEnding(int nResult);

  PROPSHEETHEADERW m_psh{};
  CWnd* m_pParentWnd = nullptr;

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  // The idle turn (also posted after a page's last notification): a modeless sheet that ended goes.
  afx_msg LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  static int CALLBACK SheetCallback(HWND hWnd, UINT message, LPARAM lParam);
  void Construct(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage);
  // Builds the header and runs PropertySheetW modeless; the window is this object's when it returns.
  HWND CreateSheet(HWND hWndOwner, DWORD dwStyle, DWORD dwExStyle);
  void PreparePage(CPropertyPage* pPage);
  // The sheet ended itself (OK or Cancel): the current page is gone.
  BOOL HasEnded() const;

  std::vector<CPropertyPage*> m_pages;
  std::vector<PROPSHEETPAGEW> m_records;
  CString m_strCaption;
  BOOL m_bModeless = FALSE;
  int m_nEndResult = IDCANCEL;  // what the pages last heard: apply (IDOK) or cancel
};
