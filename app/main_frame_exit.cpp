// The exit sequence: the preview's temporary files go, the user is asked, and on Yes every worker is
// stopped and waited for, the state is saved, the engine's lists are freed and the frame closes the
// ordinary way, so that every window writes what it keeps at its end and the loop ends with code 0.
#include "app/ex_style_app.h"
#include "app/main_frame.h"
#include "app/results/preview_temp.h"
#include "app/worker_shutdown.h"
#include "engine/records/extensive_lists.h"
#include "engine/records/file_trace_hits.h"
#include "engine/records/scan_records.h"
#include "engine/save/preview_temp_files.h"
#include "engine/scan/selected_signatures.h"
#include "preview/main_preview_view.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/state/tkp_shortcut_manager.h"
#include "ui/msgbox/message_dialogs.h"

namespace {

// While waiting for a worker the thread answers what workers send it (a setter, a question), and nothing
// else: posted input would run commands in the middle of the exit.
void AnswerSentMessages() {
  ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_SENDMESSAGE);
  MSG msg;
  ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

}  // namespace

int CMainFrame::ConfirmExit() {
  DeletePreviewTempFiles();
  // The files are gone whatever the answer (those a viewer holds stay remembered): the file previewed
  // last is written again when it is shown next.
  LastPreview = LastPreviewRecord{};
  MessageText = u"Do you really want to exit ?";
  MessageKind = 3;
  ConfirmDialog question;
  if (question.DoModal() != 1) return 0;

  app::StopWorkersAndWait(AnswerSentMessages);
  // The viewers let go of the copies they still show (a picture, a player, a document control, an open
  // database), which can be deleted then; what a control holds until its window is gone goes at the end.
  if (CMainPreviewView* preview = PreviewPane()) preview->ClosePreviewViews();
  DeletePreviewTempFiles();
  if (m_pCommandBars != nullptr) {
    m_pCommandBars->SaveOptions(kBarsSection);
    m_pCommandBars->SaveBarState(kBarsSection, TRUE);
    m_pCommandBars->GetShortcutManager()->SaveShortcuts(kBarsSection);
  }
  delete m_paneManager.CreateLayout();  // the pane layout is not kept
  m_windowPos.SaveWindowPos(this);
  FreeScanRecordLists();
  FreeNtfsRecordLists();
  FreeExtensiveScanLists();
  FreeFileTraceResultList();
  FreeFileTraceSignatureList();
  return 1;
}
