// CEx_StyleApp: the one application object. It refuses a second running copy, records the program
// folder, registers the snapshot file type, sets up the profile and the single-document template, makes
// the five wizard pages once and switches between them, and opens a snapshot named on the command line.
#pragma once

#include "platform/classlib/cstring.h"
#include "platform/classlib/win/cwinapp.h"
#include "preview/viewers/database_settings.h"

class CView;
class CMainFrame;

// The executable's folder with a trailing backslash ("Raw.dat" and the help file lie there).
extern wchar_t ProgramFolder[260];
// The selected-mode line at the foot of pages 1 to 4.
extern CString SelectedModeText;

// The pages in order, and how many there are.
enum WizardPage : UINT { kPageImage = 0, kPageSource = 1, kPageScan = 2, kPageFileSystems = 3, kPageResults = 4 };
constexpr UINT kPageCount = 5;

// Its database settings (m_bShowSystemObjects, m_bConfirmDelete, m_nMaxRecords) are what the Access
// preview reads.
class CEx_StyleApp : public CWinApp, public DatabaseViewSettings {
 public:
  CEx_StyleApp();
  ~CEx_StyleApp() override;

  BOOL InitInstance() override;
  // Every window is gone by then: the preview's copies their viewers held until the end are deleted.
  int ExitInstance() override;
  // The shell's open of a snapshot double-clicked while the program runs ("[open("path")]"): loaded as
  // one named on the command line, unless a worker runs or a dialog is up. TRUE when it was loaded.
  BOOL OnDDECommand(LPTSTR lpszCommand) override;

  // Shows the page (0..4) in the frame's client area; the page already shown is left alone.
  void SwitchView(UINT nPage);
  // Back to page 0 with the start-up document opened again.
  void RestartWizard();
  // The profile value "File" of "Most Recent Check Book File" (empty when missing).
  void GetRecentDocumentName(CString& name);

  CMainFrame* GetMainFrame() const;

  // What follows the program's name: a snapshot path, opened once at start (emptied then, so that a restart
  // of the wizard never brings it back over what the user did since).
  CString m_strCommandLine;
  UINT CurrentPage = 0;
  CView* PageViews[kPageCount] = {};
  CView* LastActiveView = nullptr;

 protected:
  afx_msg void OnAppAbout();
  DECLARE_MESSAGE_MAP()

 private:
  void RegisterFileType();
  BOOL CreatePages();
  void ShowFrameInTurn();
  // Step after start-up: the recent document, or the command line's snapshot. false when the snapshot was
  // refused (the user was told): the program then waits on page 0 without asking for an image.
  bool OpenStartDocument();
  // Loads the snapshot at path (quoted or not) in the mode its first letter gives; false when refused (a
  // file that cannot be opened, or is no snapshot, is said as the Load command says it). Once one is shown,
  // Load Recovery Snapshot is offered, as after a mode chosen on page 0. atStart: named on the command line,
  // not by the shell's open of a running copy.
  bool OpenSnapshot(const std::u16string& path, bool atStart);
  bool m_shellOpenPending = false;  // started by the shell, whose open request follows
};

CEx_StyleApp* TheApp();
