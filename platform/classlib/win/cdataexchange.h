// Dialog data exchange: DoDataExchange lists, control by control, which member a control shows.
// UpdateData(FALSE) writes the members into the controls, UpdateData(TRUE) reads them back and checks
// them; a value that does not read (a number that is none) is reported to the user, the focus goes to
// its control and the exchange stops (Fail).
#pragma once

#include <windows.h>

#include "platform/classlib/cexception.h"
#include "platform/classlib/cstring.h"

class CWnd;

// What Fail throws; UpdateData catches it. The user has been told already.
class CUserException : public CException {
  DECLARE_DYNAMIC(CUserException)
};

class CDataExchange {
 public:
  CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

  BOOL m_bSaveAndValidate;
  CWnd* m_pDlgWnd;

  // The control's window (for the focus when a value fails); a missing control fails the exchange.
  HWND PrepareCtrl(int nIDC);
  HWND PrepareEditCtrl(int nIDC);
  // Gives the focus to the last control prepared (its text selected when it is an edit) and throws.
  [[noreturn]] void Fail();

 private:
  int m_idLastControl = 0;
  BOOL m_bEditLastControl = FALSE;
};

// The control window becomes rControl's (subclassed) on the first exchange.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// A number in decimal, optionally signed (int) and surrounded by blanks; anything else fails.
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
// A check box: 0 unchecked, 1 checked, 2 indeterminate.
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// The radio buttons of the group that starts at nIDC (the control with WS_GROUP): the index of the
// checked one, -1 for none.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
// The selected item of a combo box or list box, -1 for none.
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
