// SaveProgressDialog, "Saving the data please wait": the modal dialog of every save. Opening it starts
// the save worker, which writes what it saves into the dialog's texts and bar (host::SaveProgressHost,
// one message each); "Stop Saving" asks first while the worker waits at its pause gate; "Skip File"
// abandons the file in hand. When the worker has finished it posts its end to the dialog, which shows
// the end report on its own thread and closes.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

#include "app/dialogs/skinned_dialog.h"
#include "engine/host/save_host.h"
#include "ui/controls/text_progress_ctrl.h"

class SaveProgressDialog;

// The save in hand, process-wide (one at a time).
struct SaveDialogState {
  std::atomic<SaveProgressDialog*> dialog{nullptr};
  // 1 from the worker's end to the dialog's closing.
  std::atomic<uint32_t> finished{0};
  // 1 when the save was started from the Find dialog: the worker runs findSaver instead of SaveSelected.
  std::atomic<uint32_t> findSave{0};
  std::function<void()> findSaver;
};
extern SaveDialogState CurrentSave;

class SaveProgressDialog : public app::SkinnedDialog, public host::SaveProgressHost {
 public:
  static constexpr UINT kSaveEndedMessage = WM_APP + 0x35;

  explicit SaveProgressDialog(CWnd* parent = nullptr);
  ~SaveProgressDialog() override;

  // host::SaveProgressHost, called by the savers on the worker thread.
  void SetPathText(const std::u16string& text) override;
  void SetFileNameText(const std::u16string& text) override;
  void SetTotalFilesText(const std::u16string& text) override;
  void SetProgressPos(uint32_t position) override;

  // Whether the last run ended with the save stopped (no success report).
  bool Stopped() const { return m_stopped; }

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;      // "&Stop Saving"
  void OnCancel() override;  // Esc: nothing
  afx_msg void OnSkipFile();
  afx_msg void OnClose();
  afx_msg LRESULT OnSaveEnded(WPARAM stopped, LPARAM);
  DECLARE_MESSAGE_MAP()

 private:
  void SaveThreadProc();
  // The worker's end as the dialog shows it: the report (unless stopped), the state reset, the close.
  void FinishSave(bool stopped);
  // After a question or warning: shows an end that came while it stood.
  void EndAsking();
  void SetItemText(int id, const std::u16string& text);

  std::thread m_worker;
  host::SaveProgressHost* m_previousHost = nullptr;
  bool m_stopped = false;
  // While "Stop Saving" asks, an end that arrives waits for the answer (as if the worker had been held).
  bool m_asking = false;
  bool m_endPending = false;
  bool m_pendingStopped = false;
  skin::CTransparentStatic m_texts[6];
  TextProgressCtrl m_bar;  // 0 to 100, the position in percent
};
