#include "app/dialogs/save_progress_dialog.h"

#include <string>

#include "engine/fat/save_abort.h"
#include "engine/host/host.h"
#include "engine/records/pause_gate.h"
#include "engine/save/save_state.h"
#include "engine/save/savers.h"
#include "platform/seams/seams.h"
#include "res/resource.h"
#include "ui/msgbox/message_dialogs.h"
#include "ui/msgbox/message_protocol.h"

SaveDialogState CurrentSave;

namespace {

const char16_t kStopQuestion[] = u"Do you want to stop the saving process?";
const char16_t kStopFirst[] = u"Please Stop the Saving process first.";
constexpr int kTextIds[] = {IDC_SAVE_PATH_LABEL, IDC_SAVE_PATH,  IDC_FILE_NAME_LABEL,
                            IDC_ITEM_NAME,       IDC_TOTAL_FILES_LABEL, IDC_TOTAL_FILES};

}  // namespace

BEGIN_MESSAGE_MAP(SaveProgressDialog, app::SkinnedDialog)
  ON_BN_CLICKED(IDC_SKIP_FILE, OnSkipFile)
  ON_WM_CLOSE()
  ON_MESSAGE(kSaveEndedMessage, OnSaveEnded)
END_MESSAGE_MAP()

SaveProgressDialog::SaveProgressDialog(CWnd* parent) : app::SkinnedDialog(IDD_SAVING, IDB_SKIN_SAVING, parent) {}

SaveProgressDialog::~SaveProgressDialog() {
  if (m_worker.joinable()) m_worker.join();
}

BOOL SaveProgressDialog::OnInitDialog() {
  app::SkinnedDialog::OnInitDialog();
  for (size_t i = 0; i < sizeof kTextIds / sizeof kTextIds[0]; ++i) MakeTransparent(m_texts[i], kTextIds[i]);
  m_bar.SubclassDlgItem(IDC_SAVE_PROGRESS, this);
  m_bar.SendMessage(PBM_SETRANGE32, 0, 100);
  m_stopped = false;
  host::Hosts& hosts = host::Current();
  m_previousHost = hosts.saveProgress;
  hosts.saveProgress = this;
  CurrentSave.dialog = this;
  CurrentSave.finished = 0;
  m_worker = std::thread([this] { SaveThreadProc(); });
  return TRUE;
}

void SaveProgressDialog::SaveThreadProc() {
  BeginSave();
  if (CurrentSave.findSave != 0 && CurrentSave.findSaver) {
    CurrentSave.findSaver();
  } else {
    SaveSelected();
  }
  const bool stopped = SaveAbortFlag == 1;
  CurrentSave.finished = 1;
  // The dialog may be covered or minimised: its own thread shows the report and closes it, whether it
  // paints or not.
  PostMessage(kSaveEndedMessage, stopped ? 1 : 0);
}

LRESULT SaveProgressDialog::OnSaveEnded(WPARAM stopped, LPARAM) {
  if (m_worker.joinable()) m_worker.join();
  if (m_asking) {
    // The worker passed its last test of the flag before the question came: the end is shown once the
    // question is answered, so that the report never stands over the question.
    m_endPending = true;
    m_pendingStopped = stopped != 0;
    return 0;
  }
  FinishSave(stopped != 0);
  return 0;
}

void SaveProgressDialog::FinishSave(bool stopped) {
  m_stopped = stopped;
  if (!m_stopped) {
    GetDlgItem(IDOK)->EnableWindow(FALSE);
    GetDlgItem(IDC_SKIP_FILE)->EnableWindow(FALSE);
    ReportSaveResult();
  }
  SaveAbortFlag = 0;
  SavedFileCount = 0;
  CurrentSave.findSave = 0;
  CurrentSave.finished = 0;
  CurrentSave.dialog = nullptr;
  host::Current().saveProgress = m_previousHost;
  EndDialog(IDOK);
}

void SaveProgressDialog::SetItemText(int id, const std::u16string& text) {
  static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 text");
  const std::wstring wide(text.begin(), text.end());
  ::SetDlgItemTextW(m_hWnd, id, wide.c_str());
}

void SaveProgressDialog::SetPathText(const std::u16string& text) { SetItemText(IDC_SAVE_PATH, text); }
void SaveProgressDialog::SetFileNameText(const std::u16string& text) { SetItemText(IDC_ITEM_NAME, text); }
void SaveProgressDialog::SetTotalFilesText(const std::u16string& text) { SetItemText(IDC_TOTAL_FILES, text); }
void SaveProgressDialog::SetProgressPos(uint32_t position) {
  ::SendDlgItemMessageW(m_hWnd, IDC_SAVE_PROGRESS, PBM_SETPOS, position, 0);
}

void SaveProgressDialog::OnOK() {
  if (SaveAbortFlag != 0 || CurrentSave.finished != 0 || m_asking) return;
  m_asking = true;
  {
    // The savers wait at their next test of the flag until the question is answered.
    ClosedGate paused(SavePauseGate);
    const bool yes = msgbox::ShowProtocolBox(kStopQuestion, msgbox::kQuestion, true) == 1;
    // A Yes after the worker has ended comes too late: everything was saved, and the flag would outlive
    // the save.
    if (yes && CurrentSave.finished == 0) {
      GetDlgItem(IDOK)->EnableWindow(FALSE);
      SaveAbortFlag = 1;
    }
  }
  EndAsking();
}

void SaveProgressDialog::EndAsking() {
  m_asking = false;
  if (!m_endPending) return;
  m_endPending = false;
  FinishSave(m_pendingStopped);
}

void SaveProgressDialog::OnCancel() {}

void SaveProgressDialog::OnSkipFile() { SkipCurrentFileFlag = 1; }

void SaveProgressDialog::OnClose() {
  if (m_asking || CurrentSave.finished != 0) return;
  m_asking = true;
  {
    ClosedGate paused(SavePauseGate);
    seams::MessageBoxRequest request;
    request.owner = m_hWnd;
    request.text = kStopFirst;
    request.caption = ProductTitle;
    request.style = seams::kButtonsOk;
    seams::MessageBoxes().Show(request);
  }
  EndAsking();
}
