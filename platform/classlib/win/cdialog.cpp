// CDialog: creation from templates, the modal run, ending, and the dialog's own keys and controls.
#include "platform/classlib/win/cdialog.h"

#include "platform/classlib/resource_win32.h"
#include "platform/classlib/win/cdataexchange.h"
#include "platform/classlib/win/cwinapp.h"
#include "platform/classlib/win/dlgtemplate.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
  ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
  ON_COMMAND(IDOK, OnOK)
  ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

namespace {
// The dialog manager's procedure: the object's window procedure has had every message already.
INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
}  // namespace

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_pParentWnd(pParentWnd), m_lpszTemplateName(MAKEINTRESOURCEW(nIDTemplate)) {}

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd) : m_pParentWnd(pParentWnd) {
  if (IS_INTRESOURCE(lpszTemplateName)) {
    m_lpszTemplateName = lpszTemplateName;
  } else {
    m_strTemplateName = lpszTemplateName;
    m_lpszTemplateName = m_strTemplateName;
  }
}

// ---- templates ------------------------------------------------------------------------------------

CDialog::TemplateRef CDialog::FindTemplate(LPCTSTR lpszTemplateName) const {
  TemplateRef ref;
  if (lpszTemplateName == nullptr) return ref;
  HINSTANCE hInstance = AfxGetResourceHandle();
  HRSRC hResource = ::FindResourceW(hInstance, lpszTemplateName, MAKEINTRESOURCEW(5) /* RT_DIALOG */);
  if (hResource == nullptr) return ref;
  HGLOBAL hTemplate = ::LoadResource(hInstance, hResource);
  ref.lpTemplate = static_cast<LPCDLGTEMPLATE>(::LockResource(hTemplate));
  ref.nLimit = ref.lpTemplate != nullptr ? ::SizeofResource(hInstance, hResource) : 0;
  return ref;
}

CDialog::TemplateRef CDialog::LockTemplate(HGLOBAL hTemplate) {
  TemplateRef ref;
  ref.lpTemplate = static_cast<LPCDLGTEMPLATE>(::GlobalLock(hTemplate));
  if (ref.lpTemplate != nullptr) {
    ref.nLimit = ::GlobalSize(hTemplate);
    ref.hLocked = hTemplate;
  }
  return ref;
}

void CDialog::ReleaseTemplate(const TemplateRef& ref) {
  if (ref.hLocked != nullptr) ::GlobalUnlock(ref.hLocked);
}

// ---- creation -------------------------------------------------------------------------------------

BOOL CDialog::CreateDlgIndirect(LPCDLGTEMPLATE lpDialogTemplate, size_t nLimit, CWnd* pParentWnd,
                                HINSTANCE hInstance) {
  DialogTemplateHeader header;
  if (m_hWnd != nullptr || !AfxReadDialogTemplateHeader(lpDialogTemplate, nLimit, &header)) return FALSE;
  CREATESTRUCT cs{};
  cs.style = header.style;
  cs.dwExStyle = header.exStyle;
  cs.x = header.x;
  cs.y = header.y;
  cs.cx = header.cx;
  cs.cy = header.cy;
  cs.hwndParent = pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr;
  cs.lpszClass = MAKEINTRESOURCEW(0x8002);  // the dialog class
  cs.hInstance = hInstance;
  // As for any window, PreCreateWindow may refuse it or change its styles (in a copy of the template).
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  std::vector<BYTE> changed;
  if (static_cast<DWORD>(cs.style) != header.style || cs.dwExStyle != header.exStyle) {
    changed = AfxCopyDialogTemplate(lpDialogTemplate, nLimit, static_cast<DWORD>(cs.style), cs.dwExStyle);
    if (changed.empty()) return FALSE;
    lpDialogTemplate = reinterpret_cast<LPCDLGTEMPLATE>(changed.data());
  }
  AfxHookWindowCreate(this);
  HWND hWnd = ::CreateDialogIndirectParamW(hInstance, lpDialogTemplate, cs.hwndParent, &AfxDlgProc, 0);
  if (!AfxUnhookWindowCreate()) {
    if (hWnd != nullptr) ::DestroyWindow(hWnd);
    PostNcDestroy();  // the window never reached the object
    return FALSE;
  }
  // A dialog that failed in its creation or WM_INITDIALOG has ended already (FinishNcDestroy).
  return hWnd != nullptr && m_hWnd == hWnd;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) { return Create(MAKEINTRESOURCEW(nIDTemplate), pParentWnd); }

BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd) {
  TemplateRef ref = FindTemplate(lpszTemplateName);
  if (ref.lpTemplate == nullptr) return FALSE;
  m_bModal = FALSE;
  if (pParentWnd != nullptr) m_pParentWnd = pParentWnd;
  DialogTemplateHeader header;
  AfxReadDialogTemplateHeader(ref.lpTemplate, ref.nLimit, &header);
  CWnd* pParent = m_pParentWnd;
  // A pop-up without a parent is owned by the main window's top-level window.
  CWnd* pMainWnd = AfxGetMainWnd();
  HWND hWndOwner = pParent == nullptr && (header.style & WS_CHILD) == 0 && pMainWnd != nullptr
                       ? TopLevelWindowOf(pMainWnd->m_hWnd)
                       : nullptr;
  if (hWndOwner != nullptr) pParent = CWnd::FromHandle(hWndOwner);
  if (pParent == nullptr && (header.style & WS_CHILD) != 0) return FALSE;
  return CreateDlgIndirect(ref.lpTemplate, ref.nLimit, pParent, AfxGetResourceHandle());
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd) {
  if (lpDialogTemplate == nullptr) return FALSE;
  m_bModal = FALSE;
  if (pParentWnd != nullptr) m_pParentWnd = pParentWnd;
  // A template in memory carries no length: it is read as far as its own fields say.
  return CreateDlgIndirect(lpDialogTemplate, static_cast<size_t>(-1) / 2, m_pParentWnd, AfxGetInstanceHandle());
}

BOOL CDialog::CreateIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd) {
  TemplateRef ref = LockTemplate(hDialogTemplate);
  if (ref.lpTemplate == nullptr) return FALSE;
  m_bModal = FALSE;
  if (pParentWnd != nullptr) m_pParentWnd = pParentWnd;
  BOOL created = CreateDlgIndirect(ref.lpTemplate, ref.nLimit, m_pParentWnd, AfxGetInstanceHandle());
  ReleaseTemplate(ref);
  return created;
}

// ---- modal ----------------------------------------------------------------------------------------

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd) {
  m_lpDialogTemplate = lpDialogTemplate;
  m_hDialogTemplate = nullptr;
  m_pParentWnd = pParentWnd;
  return lpDialogTemplate != nullptr;
}

BOOL CDialog::InitModalIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd) {
  m_hDialogTemplate = hDialogTemplate;
  m_lpDialogTemplate = nullptr;
  m_pParentWnd = pParentWnd;
  return hDialogTemplate != nullptr;
}

INT_PTR CDialog::DoModal() {
  TemplateRef ref;
  HINSTANCE hInstance = AfxGetInstanceHandle();
  if (m_lpDialogTemplate != nullptr) {
    ref.lpTemplate = m_lpDialogTemplate;
    ref.nLimit = static_cast<size_t>(-1) / 2;
  } else if (m_hDialogTemplate != nullptr) {
    ref = LockTemplate(m_hDialogTemplate);
  } else {
    ref = FindTemplate(m_lpszTemplateName);
    hInstance = AfxGetResourceHandle();
  }
  if (ref.lpTemplate == nullptr) return -1;

  BOOL ownerDisabled = FALSE;
  HWND hWndOwner = PrepareModalOwner(m_pParentWnd, &ownerDisabled);
  m_bModal = TRUE;
  m_nModalResult = -1;
  m_bModalEndPending = FALSE;
  CWnd* pOwner = hWndOwner != nullptr ? CWnd::FromHandle(hWndOwner) : nullptr;
  if (CreateDlgIndirect(ref.lpTemplate, ref.nLimit, pOwner, hInstance)) RunModalLoop(MLF_SHOWONIDLE);
  ReleaseTemplate(ref);
  ReleaseModalOwner(hWndOwner, ownerDisabled);
  m_bModal = FALSE;
  return m_nModalResult;
}

void CDialog::EndDialog(int nResult) {
  if (m_hWnd == nullptr) return;
  if (m_bModal) {
    EndModalLoop(nResult);
  } else {
    ::EndDialog(m_hWnd, nResult);
  }
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) { return OnInitDialog(); }

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

// ---- keys and controls ----------------------------------------------------------------------------

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST || m_hWnd == nullptr) return FALSE;
  if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)) return FALSE;
  return ::IsDialogMessageW(m_hWnd, pMsg);
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl) {
  if (pWndCtrl != nullptr) SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl->m_hWnd), TRUE);
}

void CDialog::NextDlgCtrl() const { SendMessage(WM_NEXTDLGCTL, 0, FALSE); }
void CDialog::PrevDlgCtrl() const { SendMessage(WM_NEXTDLGCTL, 1, FALSE); }
void CDialog::SetDefID(UINT nID) { SendMessage(DM_SETDEFID, nID); }
DWORD CDialog::GetDefID() const { return static_cast<DWORD>(SendMessage(DM_GETDEFID)); }
void CDialog::MapDialogRect(LPRECT lpRect) const { ::MapDialogRect(m_hWnd, lpRect); }
