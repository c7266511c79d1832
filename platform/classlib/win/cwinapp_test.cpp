// The application: command-line parsing and the shell command, message boxes through the program's
// seam, the wait cursor, reference counting.
#include <gtest/gtest.h>

#include "platform/classlib/win/cwinapp.h"
#include "platform/classlib/win/win_test_support.h"
#include "platform/harness/seam_test.h"

namespace {

struct CommandLineCase {
  const wchar_t* line;
  int command;
  const wchar_t* file;
  bool embedded;
  bool automated;
};

TEST(CommandLine, EachParameterIsParsedAsTheSystemSplitsIt) {
  const CommandLineCase cases[] = {
      {L"", CCommandLineInfo::FileNew, L"", false, false},
      {L"C:\\images\\disk.vsnp", CCommandLineInfo::FileOpen, L"C:\\images\\disk.vsnp", false, false},
      {L"\"C:\\my images\\disk.vsnp\"", CCommandLineInfo::FileOpen, L"C:\\my images\\disk.vsnp", false, false},
      {L"/Embedding", CCommandLineInfo::FileNew, L"", true, false},
      {L"-automation", CCommandLineInfo::FileNew, L"", false, true},
      {L"/p report.vsnp", CCommandLineInfo::FilePrint, L"report.vsnp", false, false},
      {L"/dde", CCommandLineInfo::FileDDE, L"", false, false},
      {L"/unregserver", CCommandLineInfo::AppUnregister, L"", false, false},
      {L"/whatever a.vsnp b.vsnp", CCommandLineInfo::FileOpen, L"a.vsnp", false, false},
  };
  CWinApp& app = cltest::App();
  for (const CommandLineCase& c : cases) {
    CString line(c.line);
    app.m_lpCmdLine = line.GetBuffer(0);
    CCommandLineInfo info;
    app.ParseCommandLine(info);
    line.ReleaseBuffer();
    EXPECT_EQ(info.m_nShellCommand, c.command) << c.line;
    EXPECT_EQ(info.m_strFileName, c.file) << c.line;
    EXPECT_EQ(info.m_bRunEmbedded != FALSE, c.embedded) << c.line;
    EXPECT_EQ(info.m_bRunAutomated != FALSE, c.automated) << c.line;
  }
  app.m_lpCmdLine = nullptr;
}

TEST(CommandLine, PrintToTakesPrinterDriverAndPort) {
  CString line(_T("/pt file.vsnp \"Laser One\" driver LPT1:"));
  CWinApp& app = cltest::App();
  app.m_lpCmdLine = line.GetBuffer(0);
  CCommandLineInfo info;
  app.ParseCommandLine(info);
  line.ReleaseBuffer();
  app.m_lpCmdLine = nullptr;
  EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FilePrintTo);
  EXPECT_EQ(info.m_strFileName, _T("file.vsnp"));
  EXPECT_EQ(info.m_strPrinterName, _T("Laser One"));
  EXPECT_EQ(info.m_strDriverName, _T("driver"));
  EXPECT_EQ(info.m_strPortName, _T("LPT1:"));
}

// Stands in for the document classes: it records the file and opens all but one.
class Documents : public CDocManager {
 public:
  CString opened;
  CDocument* OpenDocumentFile(LPCTSTR lpszFileName) override {
    opened = lpszFileName;
    static char anyDocument;  // the application only tells a document from none
    return opened == _T("missing.vsnp") ? nullptr : reinterpret_cast<CDocument*>(&anyDocument);
  }
  BOOL SaveAllModified() override { return TRUE; }
  void CloseAllDocuments(BOOL) override {}
};

TEST(ShellCommand, FileOpenGoesThroughTheDocumentsAndFailsWithoutAMainWindow) {
  CWinApp& app = cltest::App();
  auto* documents = new Documents;
  app.m_pDocManager = documents;
  CCommandLineInfo info;
  info.m_nShellCommand = CCommandLineInfo::FileOpen;
  info.m_strFileName = _T("disk.vsnp");
  EXPECT_FALSE(app.ProcessShellCommand(info));  // opened, but no main window came of it
  EXPECT_EQ(documents->opened, _T("disk.vsnp"));
  CWnd main;
  ASSERT_TRUE(cltest::CreateTopLevel(main, _T("main"), WS_OVERLAPPEDWINDOW));
  app.m_pMainWnd = &main;
  EXPECT_TRUE(app.ProcessShellCommand(info));
  info.m_strFileName = _T("missing.vsnp");
  EXPECT_FALSE(app.ProcessShellCommand(info));
  info.m_nShellCommand = CCommandLineInfo::FileNothing;
  EXPECT_TRUE(app.ProcessShellCommand(info));
  info.m_nShellCommand = CCommandLineInfo::FileNew;  // ID_FILE_NEW has no handler here
  EXPECT_TRUE(app.ProcessShellCommand(info));        // the main window exists
  app.m_pMainWnd = nullptr;
  EXPECT_FALSE(app.ProcessShellCommand(info));
  main.DestroyWindow();
  delete documents;
  app.m_pDocManager = nullptr;
}

class MessageBoxes : public harness::SeamTest {};

TEST_F(MessageBoxes, AfxMessageBoxShowsTheTextWithTheApplicationsNameAndReturnsTheAnswer) {
  seams.boxes.Answer(seams::kCancel);
  EXPECT_EQ(AfxMessageBox(_T("Reset the toolbar?"), MB_OKCANCEL | MB_ICONWARNING), IDCANCEL);
  auto log = seams.boxes.Log();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].text, u"Reset the toolbar?");
  EXPECT_EQ(log[0].caption, u"ClassLibTest");
  EXPECT_EQ(log[0].style, static_cast<uint32_t>(MB_OKCANCEL | MB_ICONWARNING));
}

TEST(WaitCursor, TheWaitCursorIsCountedAndTheCursorBeforeItComesBack) {
  HCURSOR arrow = ::LoadCursorW(nullptr, IDC_ARROW);
  HCURSOR wait = ::LoadCursorW(nullptr, IDC_WAIT);
  ::SetCursor(arrow);
  CCmdTarget target;
  target.BeginWaitCursor();
  EXPECT_EQ(::GetCursor(), wait);
  {
    CWaitCursor nested;
    ::SetCursor(arrow);  // something else changed it meanwhile
    nested.Restore();
    EXPECT_EQ(::GetCursor(), wait);
  }
  EXPECT_EQ(::GetCursor(), wait);  // the outer one still counts
  target.EndWaitCursor();
  EXPECT_EQ(::GetCursor(), arrow);
}

class Counted : public CCmdTarget {
 public:
  explicit Counted(bool* gone) : gone_(gone) {}
  ~Counted() override { *gone_ = true; }

 private:
  bool* gone_;
};

TEST(ReferenceCount, TheLastReleaseDeletesTheObject) {
  bool gone = false;
  auto* object = new Counted(&gone);
  EXPECT_EQ(object->InternalAddRef(), 2u);
  EXPECT_EQ(object->InternalRelease(), 1u);
  EXPECT_FALSE(gone);
  EXPECT_EQ(object->InternalRelease(), 0u);
  EXPECT_TRUE(gone);
}

}  // namespace

TEST(ShellOpen, OnlyTheShellsOpenCommandGivesAPath) {
  CString path;
  EXPECT_TRUE(DdeOpenPath(_T("[open(\"C:\\a b\\s.vsnp\")]"), &path));
  EXPECT_EQ(path.Compare(_T("C:\\a b\\s.vsnp")), 0);
  EXPECT_TRUE(DdeOpenPath(_T("  [OPEN(\"x.vsnp\")] "), &path));
  EXPECT_EQ(path.Compare(_T("x.vsnp")), 0);
  for (const TCHAR* other : {_T("[print(\"x.vsnp\")]"), _T("[open(\"\")]"), _T("[open(\"a\"\"b\")]"), _T("[open(x)]"),
                             _T("[open(\"x.vsnp\")][open(\"y\")]"), _T("")}) {
    path = _T("kept");
    EXPECT_FALSE(DdeOpenPath(other, &path)) << other;
    EXPECT_EQ(path.Compare(_T("kept")), 0);
  }
}
