// Document templates: the seven fields of the string resource; a single-document template makes its
// frame, document and first view for a new document, reuses them for a file it reads through
// Serialize, and fails cleanly on a file it cannot open; the application's templates through
// ProcessShellCommand; the main frame's end ends the loop.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "platform/classlib/win/frame_test_support.h"
#include "platform/classlib/win/win_test_support.h"
#include "platform/harness/driver.h"
#include "platform/harness/scripted_seams.h"

using cltest::SampleDoc;
using cltest::SampleFrame;
using cltest::SampleView;

namespace {

CSingleDocTemplate* NewSampleTemplate() {
  return new CSingleDocTemplate(IDR_SAMPLE, RUNTIME_CLASS(SampleDoc), RUNTIME_CLASS(SampleFrame),
                                RUNTIME_CLASS(SampleView));
}

// A file holding one archived string, in the build folder.
CString WriteSampleFile(const char* name, LPCTSTR text) {
  CString path(name);
  CFile file;
  EXPECT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite));
  CArchive archive(&file, CArchive::store);
  archive << CString(text);
  archive.Close();
  file.Close();
  return path;
}

TEST(DocTemplate, TheSevenFieldsOfTheStringResource) {
  std::unique_ptr<CSingleDocTemplate> docTemplate(NewSampleTemplate());
  static const struct {
    CDocTemplate::DocStringIndex index;
    LPCTSTR text;
  } fields[] = {
      {CDocTemplate::windowTitle, _T("Sample")},
      {CDocTemplate::docName, _T("")},
      {CDocTemplate::fileNewName, _T("SampleDoc")},
      {CDocTemplate::filterName, _T("Sample Files (*.smp)")},
      {CDocTemplate::filterExt, _T(".smp")},
      {CDocTemplate::regFileTypeId, _T("Sample.Document")},
      {CDocTemplate::regFileTypeName, _T("Sample Document")},
  };
  for (const auto& field : fields) {
    CString value;
    EXPECT_TRUE(docTemplate->GetDocString(value, field.index)) << field.index;
    EXPECT_EQ(value, field.text) << field.index;
  }
  // A resource with fewer fields answers the missing ones empty.
  CSingleDocTemplate shortTemplate(IDR_SHORT, RUNTIME_CLASS(SampleDoc), RUNTIME_CLASS(SampleFrame),
                                   RUNTIME_CLASS(SampleView));
  CString value;
  EXPECT_TRUE(shortTemplate.GetDocString(value, CDocTemplate::fileNewName));
  EXPECT_EQ(value, _T("ShortDoc"));
  EXPECT_FALSE(shortTemplate.GetDocString(value, CDocTemplate::filterExt));
  EXPECT_TRUE(value.IsEmpty());
}

class SingleDocTest : public testing::Test {
 protected:
  void TearDown() override {
    CWinApp& app = cltest::App();
    app.m_pMainWnd = nullptr;
    delete docTemplate;
    cltest::Pump();
    cltest::TakeQuit();
  }
  CSingleDocTemplate* docTemplate = NewSampleTemplate();
};

TEST_F(SingleDocTest, ANewDocumentComesWithItsFrameAndFirstView) {
  CDocument* pDoc = docTemplate->OpenDocumentFile(nullptr, FALSE);
  ASSERT_NE(pDoc, nullptr);
  auto* doc = static_cast<SampleDoc*>(pDoc);
  EXPECT_TRUE(doc->IsKindOf(RUNTIME_CLASS(SampleDoc)));
  EXPECT_EQ(doc->GetDocTemplate(), docTemplate);
  EXPECT_EQ(doc->newDocuments, 1);
  EXPECT_EQ(doc->GetTitle(), _T("Untitled"));  // the document name field is empty
  POSITION pos = doc->GetFirstViewPosition();
  ASSERT_NE(pos, nullptr);
  CView* pView = doc->GetNextView(pos);
  EXPECT_EQ(pos, nullptr);
  ASSERT_TRUE(pView->IsKindOf(RUNTIME_CLASS(SampleView)));
  EXPECT_EQ(static_cast<SampleView*>(pView)->initialUpdates, 1);
  CFrameWnd* pFrame = pView->GetParentFrame();
  ASSERT_NE(pFrame, nullptr);
  EXPECT_TRUE(pFrame->IsKindOf(RUNTIME_CLASS(SampleFrame)));
  EXPECT_EQ(pFrame->GetActiveView(), pView);
  EXPECT_EQ(pView->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
  EXPECT_EQ(harness::Text(pFrame->m_hWnd), L"Untitled - Sample");
  EXPECT_FALSE(pFrame->IsWindowVisible());  // not asked to be shown
  EXPECT_EQ(cltest::App().m_pMainWnd, pFrame);  // the first frame became the main window
  EXPECT_EQ(docTemplate->GetFirstDocPosition(), reinterpret_cast<POSITION>(doc));

  // The next new document is the same one, in the same frame.
  EXPECT_EQ(docTemplate->OpenDocumentFile(nullptr, FALSE), doc);
  EXPECT_EQ(doc->newDocuments, 2);
  EXPECT_EQ(pView->GetParentFrame(), pFrame);

  // The main frame's end takes the view and the document with it and ends the loop.
  HWND hWnd = pFrame->m_hWnd;
  pFrame->DestroyWindow();
  EXPECT_FALSE(::IsWindow(hWnd));
  EXPECT_EQ(docTemplate->GetFirstDocPosition(), nullptr);
  EXPECT_EQ(cltest::App().m_pMainWnd, nullptr);
  EXPECT_TRUE(cltest::TakeQuit());
}

TEST_F(SingleDocTest, ADocumentOutlivesItsTemplateAndForgetsIt) {
  CDocument* doc = docTemplate->OpenDocumentFile(nullptr, FALSE);
  ASSERT_NE(doc, nullptr);
  POSITION pos = doc->GetFirstViewPosition();
  CFrameWnd* pFrame = doc->GetNextView(pos)->GetParentFrame();
  delete docTemplate;
  docTemplate = nullptr;
  EXPECT_EQ(doc->GetDocTemplate(), nullptr);
  HWND hWnd = pFrame->m_hWnd;
  pFrame->DestroyWindow();  // the document ends with its view, without its template
  EXPECT_FALSE(::IsWindow(hWnd));
}

TEST_F(SingleDocTest, AFileIsReadThroughSerializeAndAFileThatCannotBeOpenedIsReported) {
  CString path = WriteSampleFile("doctemplate_test.smp", _T("from the file"));
  auto* doc = static_cast<SampleDoc*>(docTemplate->OpenDocumentFile(path, TRUE));
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(doc->text, _T("from the file"));
  EXPECT_EQ(doc->newDocuments, 0);
  EXPECT_EQ(doc->GetTitle(), _T("doctemplate_test.smp"));
  EXPECT_TRUE(doc->GetPathName().Right(21) == _T("\\doctemplate_test.smp"));
  EXPECT_FALSE(doc->IsModified());
  POSITION pos = doc->GetFirstViewPosition();
  CFrameWnd* pFrame = doc->GetNextView(pos)->GetParentFrame();
  EXPECT_TRUE(pFrame->IsWindowVisible());
  EXPECT_EQ(harness::Text(pFrame->m_hWnd), L"doctemplate_test.smp - Sample");

  // The path is of the template's type, and the open document is found by it.
  CDocument* pMatch = nullptr;
  EXPECT_EQ(docTemplate->MatchDocType(doc->GetPathName(), pMatch), CDocTemplate::yesAlreadyOpen);
  EXPECT_EQ(pMatch, doc);
  EXPECT_EQ(docTemplate->MatchDocType(_T("other.SMP"), pMatch), CDocTemplate::yesAttemptNative);
  EXPECT_EQ(docTemplate->MatchDocType(_T("other.txt"), pMatch), CDocTemplate::yesAttemptForeign);

  // A file that is missing: the user is told, the document stays as it was.
  harness::ScopedSeams seams;
  seams.boxes.Answer(IDOK);
  EXPECT_EQ(docTemplate->OpenDocumentFile(_T("no such file.smp"), TRUE), nullptr);
  ASSERT_EQ(seams.boxes.Log().size(), 1u);
  EXPECT_NE(seams.boxes.Log()[0].text.find(u"could not be opened"), std::u16string::npos);
  EXPECT_EQ(docTemplate->GetFirstDocPosition(), reinterpret_cast<POSITION>(doc));
  EXPECT_EQ(doc->text, _T("from the file"));

  HWND hWnd = pFrame->m_hWnd;
  pFrame->DestroyWindow();
  EXPECT_FALSE(::IsWindow(hWnd));
  std::remove("doctemplate_test.smp");
}

TEST(Application, TheShellCommandMakesTheDocumentOfItsTemplate) {
  CWinApp& app = cltest::App();
  ASSERT_EQ(app.m_pDocManager, nullptr);
  app.AddDocTemplate(NewSampleTemplate());
  POSITION pos = app.GetFirstDocTemplatePosition();
  ASSERT_NE(pos, nullptr);
  CDocTemplate* pTemplate = app.GetNextDocTemplate(pos);
  EXPECT_EQ(pos, nullptr);
  EXPECT_EQ(pTemplate->m_nIDResource, static_cast<UINT>(IDR_SAMPLE));

  app.OnFileNew();
  ASSERT_NE(app.m_pMainWnd, nullptr);
  auto* pFrame = static_cast<CFrameWnd*>(app.m_pMainWnd);
  auto* doc = static_cast<SampleDoc*>(pFrame->GetActiveDocument());
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(doc->newDocuments, 1);
  EXPECT_TRUE(pFrame->IsWindowVisible());

  // Opening a file through the application reuses the one document.
  CString path = WriteSampleFile("application_test.smp", _T("opened"));
  CCommandLineInfo info;
  info.m_nShellCommand = CCommandLineInfo::FileOpen;
  info.m_strFileName = path;
  EXPECT_TRUE(app.ProcessShellCommand(info));
  EXPECT_EQ(pFrame->GetActiveDocument(), doc);
  EXPECT_EQ(doc->text, _T("opened"));
  // The same file again is only shown again.
  EXPECT_EQ(app.OpenDocumentFile(path), doc);

  // Closing the main window closes every document, and the frame with them.
  HWND hWnd = pFrame->m_hWnd;
  pFrame->SendMessage(WM_CLOSE);
  EXPECT_FALSE(::IsWindow(hWnd));
  EXPECT_EQ(app.m_pMainWnd, nullptr);
  EXPECT_TRUE(cltest::TakeQuit());
  delete app.m_pDocManager;
  app.m_pDocManager = nullptr;
  std::remove("application_test.smp");
}

}  // namespace
