#include "app/dialogs/progress_dialog.h"

#include "res/resource.h"
#include "ui/controls/progress_math.h"

BEGIN_MESSAGE_MAP(ProgressDialog, app::SkinnedDialog)
  ON_MESSAGE(kSetPosMessage, OnSetPosMessage)
END_MESSAGE_MAP()

ProgressDialog::ProgressDialog(UINT captionId)
    : app::SkinnedDialog(IDD_PROGRESS, IDB_SKIN_PROGRESS, nullptr),
      m_captionId(captionId != 0 ? captionId : IDS_PROGRESS_CAPTION) {}

ProgressDialog::~ProgressDialog() {
  if (GetSafeHwnd() != nullptr) DestroyWindow();
}

BOOL ProgressDialog::Create(CWnd* parent) {
  HWND start = parent != nullptr ? parent->GetSafeHwnd() : nullptr;
  m_owner = start != nullptr ? ::GetAncestor(start, GA_ROOT) : nullptr;
  if (m_owner != nullptr) {
    // The owner's owner, up to the top: the window the user would otherwise click in.
    for (HWND up = ::GetWindow(m_owner, GW_OWNER); up != nullptr; up = ::GetWindow(up, GW_OWNER)) m_owner = up;
  }
  m_ownerDisabled = 0;
  if (m_owner != nullptr && ::IsWindowEnabled(m_owner)) {
    ::EnableWindow(m_owner, FALSE);
    m_ownerDisabled = 1;
  }
  if (!CDialog::Create(IDD_PROGRESS, m_owner != nullptr ? CWnd::FromHandle(m_owner) : nullptr)) {
    if (m_ownerDisabled != 0) ::EnableWindow(m_owner, TRUE);
    m_ownerDisabled = 0;
    return FALSE;
  }
  return TRUE;
}

BOOL ProgressDialog::DestroyWindow() {
  if (m_ownerDisabled != 0 && m_owner != nullptr) ::EnableWindow(m_owner, TRUE);
  m_ownerDisabled = 0;
  return app::SkinnedDialog::DestroyWindow();
}

BOOL ProgressDialog::OnInitDialog() {
  app::SkinnedDialog::OnInitDialog();
  CString caption;
  if (caption.LoadString(m_captionId)) {
    SetWindowText(caption);
    if (CWnd* title = GetWindow(GW_CHILD)) title->SetWindowText(caption);
  }
  HWND bar = nullptr;
  GetDlgItem(IDC_PROGRESS, &bar);
  if (bar != nullptr) m_bar.SubclassWindow(bar);
  MakeTransparent(m_percent, IDC_PROGRESS_PERCENT);
  m_bar.SetRange32(m_lower, m_upper);
  m_bar.SetStep(m_step);
  m_bar.SetPos(m_position);
  return TRUE;
}

void ProgressDialog::SetRange(int lower, int upper) {
  m_lower = lower;
  m_upper = upper;
  if (m_bar.GetSafeHwnd() != nullptr) m_bar.SetRange32(lower, upper);
}

int ProgressDialog::SetStep(int step) {
  const int before = m_step;
  m_step = step;
  if (m_bar.GetSafeHwnd() != nullptr) m_bar.SetStep(step);
  return before;
}

void ProgressDialog::PumpPendingMessages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Left for the thread's own loop.
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (GetSafeHwnd() != nullptr && ::IsDialogMessageW(m_hWnd, &message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

int ProgressDialog::SetPos(int position) {
  PumpPendingMessages();
  const int before = m_position;
  m_position = position;
  if (m_bar.GetSafeHwnd() != nullptr) m_bar.SetPos(position);
  UpdatePercent();
  return before;
}

CString ProgressDialog::PercentText() const { return progress::DialogPercentText(m_lower, m_upper, m_position); }

void ProgressDialog::UpdatePercent() {
  if (m_percent.GetSafeHwnd() == nullptr) return;
  const CString text = PercentText();
  CString shown;
  m_percent.GetWindowText(shown);
  if (shown != text) m_percent.SetWindowText(text);
}

LRESULT ProgressDialog::OnSetPosMessage(WPARAM wParam, LPARAM) {
  SetPos(static_cast<int>(wParam));
  return 0;
}

void ProgressDialog::OnCancel() { m_cancel = 1; }
