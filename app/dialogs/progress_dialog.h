// ProgressDialog: a small modeless window with a bar and its percentage, for work that runs outside the
// scan pages (listers, results tree builders, snapshot readers). It disables its top-level owner while it
// is up and gives the owner back only if it took it. Another thread moves the bar by sending
// kSetPosMessage with the position.
#pragma once

#include <cstdint>

#include "app/dialogs/skinned_dialog.h"
#include "platform/classlib/win/cprogressctrl.h"

class ProgressDialog : public app::SkinnedDialog {
 public:
  static constexpr UINT kSetPosMessage = WM_USER + 1;

  // captionId 0: the caption "Progress..." of the string table.
  explicit ProgressDialog(UINT captionId = 0);
  ~ProgressDialog() override;

  // Creates the modeless dialog over parent's top-level owner; FALSE (and the owner as it was) on failure.
  BOOL Create(CWnd* parent);
  BOOL DestroyWindow() override;

  void SetRange(int lower, int upper);
  int SetStep(int step);
  // Dispatches the thread's pending messages first, so the window and its owner stay responsive while the
  // caller works on this thread; then moves the bar and refreshes the percent text.
  int SetPos(int position);
  // Set by the Cancel button; the window stays.
  bool CancelRequested() const { return m_cancel != 0; }
  CString PercentText() const;
  HWND Owner() const { return m_owner; }

 protected:
  BOOL OnInitDialog() override;
  void OnCancel() override;
  void OnOK() override {}
  afx_msg LRESULT OnSetPosMessage(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void UpdatePercent();
  void PumpPendingMessages();

  UINT m_captionId;
  int m_lower = 0;
  int m_upper = 100;
  int m_step = 10;
  int m_position = 0;
  uint32_t m_cancel = 0;
  HWND m_owner = nullptr;
  uint32_t m_ownerDisabled = 0;
  CProgressCtrl m_bar;
  skin::CTransparentStatic m_percent;
};
