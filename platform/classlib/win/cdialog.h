// CDialog: a dialog box from a template, modal (DoModal, through the library's own modal loop) or
// modeless (Create), from the program's resources or from a template built in memory. The dialog
// object receives the dialog's messages from its creation on; the dialog manager's own handling
// (keyboard navigation, default buttons) stays underneath. OK and Cancel end a modal dialog through
// OnOK and OnCancel; dialog data exchange moves values between members and controls (cdataexchange.h).
#pragma once

#include <windows.h>

#include "platform/classlib/cstring.h"
#include "platform/classlib/win/cwnd.h"

class CDataExchange;

class CDialog : public CWnd {
  DECLARE_DYNAMIC(CDialog)

 public:
  CDialog() = default;
  explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  explicit CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);

  // ---- modeless ------------------------------------------------------------------------------------
  // A pop-up without a parent is owned by the main window; a child template needs its parent.
  virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  virtual BOOL Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
  virtual BOOL CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = nullptr);
  virtual BOOL CreateIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd = nullptr);

  // ---- modal ---------------------------------------------------------------------------------------
  // The template DoModal uses instead of a resource; it must stay valid until DoModal returns.
  BOOL InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = nullptr);
  BOOL InitModalIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd = nullptr);
  // Runs the dialog until EndDialog; its owner (the parent's top-level window, else the main window's
  // last active pop-up) is disabled meanwhile. Answers EndDialog's result, -1 when the dialog could not
  // be created (or the loop ended with WM_QUIT).
  virtual INT_PTR DoModal();
  // Modal: ends the loop with nResult. Modeless: hides the dialog (the owner destroys it).
  void EndDialog(int nResult);
  BOOL IsModal() const { return m_bModal; }

  // TRUE: the dialog manager gives the focus to the first control. The default exchanges the data.
  virtual BOOL OnInitDialog();
  // IDOK: the data back into the members, then EndDialog(IDOK); a value that fails keeps the dialog.
  virtual void OnOK();
  virtual void OnCancel();

  // ---- data exchange -------------------------------------------------------------------------------
  // bSaveAndValidate: controls to members; FALSE when a value failed (the focus is on its control).
  BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
  virtual void DoDataExchange(CDataExchange* pDX);

  // ---- controls ------------------------------------------------------------------------------------
  // The focus to the control, as the dialog manager moves it (an edit's text is selected).
  void GotoDlgCtrl(CWnd* pWndCtrl);
  void NextDlgCtrl() const;
  void PrevDlgCtrl() const;
  void SetDefID(UINT nID);
  // HIWORD DC_HASDEFID, LOWORD the id; 0 when there is no default button.
  DWORD GetDefID() const;
  void MapDialogRect(LPRECT lpRect) const;

  // The dialog's keys go to the dialog manager (Tab, arrows, Enter, Esc, mnemonics).
  BOOL PreTranslateMessage(MSG* pMsg) override;

  CWnd* m_pParentWnd = nullptr;
  LPCTSTR m_lpszTemplateName = nullptr;  // MAKEINTRESOURCE of the id, or m_strTemplateName

 protected:
  // Creates the window from the template: PreCreateWindow sees the template's styles (and may change
  // them), the object takes the window before its first message, WM_INITDIALOG reaches OnInitDialog.
  BOOL CreateDlgIndirect(LPCDLGTEMPLATE lpDialogTemplate, size_t nLimit, CWnd* pParentWnd, HINSTANCE hInstance);
  // The template to create from: a resource, the memory template of InitModalIndirect, or none.
  struct TemplateRef {
    LPCDLGTEMPLATE lpTemplate = nullptr;
    size_t nLimit = 0;
    HGLOBAL hLocked = nullptr;  // unlocked by ReleaseTemplate
  };
  TemplateRef FindTemplate(LPCTSTR lpszTemplateName) const;
  static TemplateRef LockTemplate(HGLOBAL hTemplate);
  static void ReleaseTemplate(const TemplateRef& ref);

  afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  BOOL m_bModal = FALSE;
  LPCDLGTEMPLATE m_lpDialogTemplate = nullptr;
  HGLOBAL m_hDialogTemplate = nullptr;

 private:
  CString m_strTemplateName;
};
