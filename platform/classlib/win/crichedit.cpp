// CRichEditCtrl: the rich-edit control's messages, and the library that registers its class.
#include "platform/classlib/win/crichedit.h"
#include "platform/classlib/win/control_params.h"

#include <string>

#include "platform/os/library_win32.h"

IMPLEMENT_DYNAMIC(CRichEditCtrl, CWnd)

BOOL AfxInitRichEdit() {
  // Loaded for the rest of the process: controls of its class may live until the end.
  static const HMODULE library = os::LoadProgramOrSystemLibrary(L"RICHED32.DLL");
  return library != nullptr;
}

namespace {
using classlib_detail::Ptr;

// The first rich-edit version ("RICHEDIT") answers in the ANSI code page whatever the window's
// procedure now is; later versions' classes answer in UTF-16.
bool IsAnsiWindowClass(HWND hWnd) {
  wchar_t name[32] = {};
  ::GetClassNameW(hWnd, name, 32);
  return ::lstrcmpiW(name, L"RICHEDIT") == 0;
}
}  // namespace

BOOL CRichEditCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  if (!AfxInitRichEdit()) return FALSE;
  return CWnd::Create(L"RICHEDIT", nullptr, dwStyle, rect, pParentWnd, nID);
}

// ---- content --------------------------------------------------------------------------------------

long CRichEditCtrl::StreamIn(int nFormat, EDITSTREAM& es) {
  return static_cast<long>(SendMessage(EM_STREAMIN, static_cast<WPARAM>(nFormat), Ptr(&es)));
}
long CRichEditCtrl::StreamOut(int nFormat, EDITSTREAM& es) {
  return static_cast<long>(SendMessage(EM_STREAMOUT, static_cast<WPARAM>(nFormat), Ptr(&es)));
}
long CRichEditCtrl::GetTextLength() const { return static_cast<long>(SendMessage(WM_GETTEXTLENGTH)); }
int CRichEditCtrl::GetLineCount() const { return static_cast<int>(SendMessage(EM_GETLINECOUNT)); }
int CRichEditCtrl::LineIndex(int nLine) const {
  return static_cast<int>(SendMessage(EM_LINEINDEX, static_cast<WPARAM>(nLine)));
}
int CRichEditCtrl::LineLength(int nLine) const {
  return static_cast<int>(SendMessage(EM_LINELENGTH, static_cast<WPARAM>(nLine)));
}
long CRichEditCtrl::LineFromChar(long nIndex) const {
  return static_cast<long>(SendMessage(EM_EXLINEFROMCHAR, 0, nIndex));
}
void CRichEditCtrl::LineScroll(int nLines, int nChars) {
  SendMessage(EM_LINESCROLL, static_cast<WPARAM>(nChars), nLines);
}
BOOL CRichEditCtrl::GetModify() const { return static_cast<BOOL>(SendMessage(EM_GETMODIFY)); }
void CRichEditCtrl::SetModify(BOOL bModified) { SendMessage(EM_SETMODIFY, static_cast<WPARAM>(bModified)); }
void CRichEditCtrl::LimitText(long nChars) { SendMessage(EM_EXLIMITTEXT, 0, nChars); }
long CRichEditCtrl::GetLimitText() const { return static_cast<long>(SendMessage(EM_GETLIMITTEXT)); }
BOOL CRichEditCtrl::SetReadOnly(BOOL bReadOnly) {
  return static_cast<BOOL>(SendMessage(EM_SETREADONLY, static_cast<WPARAM>(bReadOnly)));
}

// ---- selection and editing ------------------------------------------------------------------------

void CRichEditCtrl::GetSel(CHARRANGE& cr) const { SendMessage(EM_EXGETSEL, 0, Ptr(&cr)); }
void CRichEditCtrl::GetSel(long& nStartChar, long& nEndChar) const {
  CHARRANGE range{};
  GetSel(range);
  nStartChar = range.cpMin;
  nEndChar = range.cpMax;
}
void CRichEditCtrl::SetSel(CHARRANGE& cr) { SendMessage(EM_EXSETSEL, 0, Ptr(&cr)); }
void CRichEditCtrl::SetSel(long nStartChar, long nEndChar) {
  CHARRANGE range{nStartChar, nEndChar};
  SetSel(range);
}
CString CRichEditCtrl::GetSelText() const {
  CHARRANGE range{};
  GetSel(range);
  int length = range.cpMax > range.cpMin ? static_cast<int>(range.cpMax - range.cpMin) : 0;
  CString text;
  if (!IsAnsiWindowClass(m_hWnd)) {
    auto copied = static_cast<int>(SendMessage(EM_GETSELTEXT, 0, Ptr(text.GetBuffer(length))));
    text.ReleaseBuffer(copied < 0 ? 0 : copied);
    return text;
  }
  // The system does not convert this message: the selection comes in the ANSI code page (up to two
  // bytes a character).
  std::string bytes(static_cast<size_t>(length) * 2 + 1, '\0');
  auto copied = static_cast<int>(SendMessage(EM_GETSELTEXT, 0, Ptr(&bytes[0])));
  if (copied <= 0) return text;
  int units = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), copied, text.GetBuffer(copied), copied);
  text.ReleaseBuffer(units);
  return text;
}

void CRichEditCtrl::ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo) {
  SendMessage(EM_REPLACESEL, static_cast<WPARAM>(bCanUndo), Ptr(lpszNewText));
}
void CRichEditCtrl::HideSelection(BOOL bHide, BOOL bPerm) {
  SendMessage(EM_HIDESELECTION, static_cast<WPARAM>(bHide), bPerm);
}
void CRichEditCtrl::Clear() { SendMessage(WM_CLEAR); }
void CRichEditCtrl::Copy() { SendMessage(WM_COPY); }
void CRichEditCtrl::Cut() { SendMessage(WM_CUT); }
void CRichEditCtrl::Paste() { SendMessage(WM_PASTE); }
BOOL CRichEditCtrl::Undo() { return static_cast<BOOL>(SendMessage(EM_UNDO)); }
BOOL CRichEditCtrl::CanUndo() const { return static_cast<BOOL>(SendMessage(EM_CANUNDO)); }
BOOL CRichEditCtrl::CanPaste(UINT nFormat) const { return static_cast<BOOL>(SendMessage(EM_CANPASTE, nFormat)); }
void CRichEditCtrl::EmptyUndoBuffer() { SendMessage(EM_EMPTYUNDOBUFFER); }

// ---- formats and behaviour ------------------------------------------------------------------------

namespace {
// The control reads the record's size first.
LRESULT CharFormat(const CRichEditCtrl* pCtrl, UINT message, WPARAM scope, CHARFORMAT& cf) {
  cf.cbSize = sizeof(CHARFORMAT);
  return pCtrl->SendMessage(message, scope, Ptr(&cf));
}
}  // namespace

DWORD CRichEditCtrl::GetDefaultCharFormat(CHARFORMAT& cf) const {
  return static_cast<DWORD>(CharFormat(this, EM_GETCHARFORMAT, SCF_DEFAULT, cf));
}
BOOL CRichEditCtrl::SetDefaultCharFormat(CHARFORMAT& cf) {
  return static_cast<BOOL>(CharFormat(this, EM_SETCHARFORMAT, SCF_DEFAULT, cf));
}
DWORD CRichEditCtrl::GetSelectionCharFormat(CHARFORMAT& cf) const {
  return static_cast<DWORD>(CharFormat(this, EM_GETCHARFORMAT, SCF_SELECTION, cf));
}
BOOL CRichEditCtrl::SetSelectionCharFormat(CHARFORMAT& cf) {
  return static_cast<BOOL>(CharFormat(this, EM_SETCHARFORMAT, SCF_SELECTION, cf));
}
DWORD CRichEditCtrl::GetParaFormat(PARAFORMAT& pf) const {
  pf.cbSize = sizeof(PARAFORMAT);
  return static_cast<DWORD>(SendMessage(EM_GETPARAFORMAT, 0, Ptr(&pf)));
}
BOOL CRichEditCtrl::SetParaFormat(PARAFORMAT& pf) {
  pf.cbSize = sizeof(PARAFORMAT);
  return static_cast<BOOL>(SendMessage(EM_SETPARAFORMAT, 0, Ptr(&pf)));
}
COLORREF CRichEditCtrl::SetBackgroundColor(BOOL bSysColor, COLORREF cr) {
  return static_cast<COLORREF>(SendMessage(EM_SETBKGNDCOLOR, static_cast<WPARAM>(bSysColor), static_cast<LPARAM>(cr)));
}
DWORD CRichEditCtrl::GetEventMask() const { return static_cast<DWORD>(SendMessage(EM_GETEVENTMASK)); }
DWORD CRichEditCtrl::SetEventMask(DWORD dwEventMask) {
  return static_cast<DWORD>(SendMessage(EM_SETEVENTMASK, 0, static_cast<LPARAM>(dwEventMask)));
}
UINT CRichEditCtrl::SetOptions(WORD wOp, DWORD dwFlags) {
  return static_cast<UINT>(SendMessage(EM_SETOPTIONS, wOp, static_cast<LPARAM>(dwFlags)));
}
BOOL CRichEditCtrl::SetOLECallback(IRichEditOleCallback* pCallback) {
  return static_cast<BOOL>(SendMessage(EM_SETOLECALLBACK, 0, Ptr(pCallback)));
}
void CRichEditCtrl::SetRect(LPCRECT lpRect) { SendMessage(EM_SETRECT, 0, Ptr(lpRect)); }
void CRichEditCtrl::RequestResize() { SendMessage(EM_REQUESTRESIZE); }
