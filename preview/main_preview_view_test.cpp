// The preview pane in a frame of the test's own: which slot each extension fills, the old viewer closed
// before the new one is made, viewers that cannot be made, that throw or that cannot show their file,
// the sizes of the viewers, the placeholders' pictures read back by pixel, and the screenshots
// preview_band.png and preview_placeholders.png.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/classlib/cexception.h"
#include "platform/harness/driver.h"
#include "platform/harness/png_writer.h"
#include "platform/os/os.h"
#include "preview/placeholder_views.h"
#include "preview/preview_test_support.h"
#include "res/resource.h"

using previewtest::PaneWindow;

namespace {

std::vector<std::string> g_events;

std::string Narrow(const CString& text) { return os::ToUtf8(text.ToUtf16()); }

// A viewer that notes its making (with the path the document gave it) and its closing.
class FakeViewer : public CView {
  DECLARE_DYNCREATE(FakeViewer)

 protected:
  void OnDraw(CDC*) override {}
  afx_msg int OnCreate(LPCREATESTRUCT cs) {
    if (CView::OnCreate(cs) == -1) return -1;
    PreviewDocument* document = CurrentPreviewDocument();
    g_events.push_back("create " + std::string(document ? Narrow(document->m_previewPath) : ""));
    return 0;
  }
  afx_msg void OnClose() {
    g_events.push_back("close");
    CView::OnClose();
  }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(FakeViewer, CView)
BEGIN_MESSAGE_MAP(FakeViewer, CView)
  ON_WM_CREATE()
  ON_WM_CLOSE()
END_MESSAGE_MAP()

// Its window cannot be made.
class RefusingViewer : public CView {
  DECLARE_DYNCREATE(RefusingViewer)

 protected:
  void OnDraw(CDC*) override {}
  afx_msg int OnCreate(LPCREATESTRUCT) { return -1; }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(RefusingViewer, CView)
BEGIN_MESSAGE_MAP(RefusingViewer, CView)
  ON_WM_CREATE()
END_MESSAGE_MAP()

// Throws as it is made.
class ThrowingViewer : public CView {
  DECLARE_DYNCREATE(ThrowingViewer)

 public:
  ThrowingViewer() { AfxThrowNotSupportedException(); }

 protected:
  void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(ThrowingViewer, CView)

// Made, but cannot show its file.
class UnreadableViewer : public CView {
  DECLARE_DYNCREATE(UnreadableViewer)

 protected:
  void OnDraw(CDC*) override {}
  afx_msg int OnCreate(LPCREATESTRUCT cs) {
    if (CView::OnCreate(cs) == -1) return -1;
    if (PreviewHost* host = CurrentPreviewHost()) host->m_bPreviewOk = 0;
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(UnreadableViewer, CView)
BEGIN_MESSAGE_MAP(UnreadableViewer, CView)
  ON_WM_CREATE()
END_MESSAGE_MAP()

// Made, but the outside component it needs is not on the machine.
class ComponentlessViewer : public CView {
  DECLARE_DYNCREATE(ComponentlessViewer)

 protected:
  void OnDraw(CDC*) override {}
  afx_msg int OnCreate(LPCREATESTRUCT cs) {
    if (CView::OnCreate(cs) == -1) return -1;
    ReportPreviewComponentMissing();
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(ComponentlessViewer, CView)
BEGIN_MESSAGE_MAP(ComponentlessViewer, CView)
  ON_WM_CREATE()
END_MESSAGE_MAP()

class PreviewPane : public testing::Test {
 protected:
  void SetUp() override {
    g_events.clear();
    ResetPreviewViewerClasses();
  }
  void TearDown() override { ResetPreviewViewerClasses(); }
  // Every viewer but the placeholders a fake.
  static void FakeViewers() {
    for (int i = 0; i < kPreviewSlotCount; ++i) {
      const auto slot = static_cast<PreviewSlot>(i);
      if (slot != PreviewSlot::kNoPreview && slot != PreviewSlot::kLargeFile) {
        PreviewViewerClasses[i] = RUNTIME_CLASS(FakeViewer);
      }
    }
  }
  static void Use(PreviewSlot slot, CRuntimeClass* viewer) { PreviewViewerClasses[static_cast<int>(slot)] = viewer; }
};

using Slots = std::vector<std::string>;

TEST_F(PreviewPane, EachExtensionFillsItsSlot) {
  FakeViewers();
  PaneWindow w;
  EXPECT_EQ(w.FilledSlots(), Slots{"nopreview"});  // at start: asks for a file
  EXPECT_EQ(CCorrupted_NoPreview_View::CurrentPicture(), static_cast<UINT>(IDB_PREVIEW_SELECT_FILE));
  w.frame->m_bNoFileSelected = 0;
  const struct {
    const wchar_t* extension;
    Slots slots;
  } cases[] = {
      {L".JPG", {"image"}},       {L".xls", {"html"}},      {L".avi", {"avi"}},        {L".mp3", {"media"}},
      {L".txt", {"document"}},    {L".CPP", {"document"}},  {L".ico", {"picture"}},    {L".html", {"customhtml"}},
      {L".zip", {"archive"}},     {L".psd", {"psd"}},       {L".dbf", {"dbf"}},        {L".dxf", {"dxf"}},
      {L".largefile", {"largefile"}}, {L"", {"nopreview"}}, {L".exe", {"nopreview"}},
  };
  for (const auto& c : cases) {
    const CString extension(c.extension);
    w.Preview(_T("C:\\Temp\\TMP1") + extension, extension);
    EXPECT_EQ(w.FilledSlots(), c.slots) << Narrow(extension);
    EXPECT_EQ(w.frame->m_bPreviewOk, 1u) << Narrow(extension);
    CString lower = extension;
    lower.MakeLower();
    EXPECT_EQ(w.frame->m_bPreviewSupported, IsPreviewableExtension(u"", lower.ToUtf16()));
  }
  // The viewer read the lower-cased path from the document.
  w.Preview(_T("C:\\Temp\\PIC.PNG"), _T(".PNG"));
  EXPECT_EQ(g_events.back(), "create c:\\temp\\pic.png");
  EXPECT_EQ(CCorrupted_NoPreview_View::CurrentPicture(), static_cast<UINT>(IDB_PREVIEW_CORRUPTED));
  // A type without a viewer is said to be one; the no-preview view empties the band's item path.
  PreviewItemPath = u"\\Folder\\tool.exe";
  w.Preview(_T("C:\\Temp\\tool.exe"), _T(".exe"));
  EXPECT_TRUE(PreviewItemPath.empty());
  EXPECT_EQ(CCorrupted_NoPreview_View::CurrentPicture(), static_cast<UINT>(IDB_PREVIEW_NO_VIEWER));
  EXPECT_TRUE(previewtest::ShowsPicture(w.pane->m_pNoPreviewView->m_hWnd, IDB_PREVIEW_NO_VIEWER));
  // The results list had the keyboard back after each previewable file.
  EXPECT_GE(w.frame->focusCalls, 14);
}

TEST_F(PreviewPane, TheOldViewerClosesBeforeTheNextIsMade) {
  FakeViewers();
  PaneWindow w;
  w.Preview(_T("c:\\t\\a.png"), _T(".png"));
  w.Preview(_T("c:\\t\\b.txt"), _T(".txt"));
  EXPECT_EQ(g_events, (std::vector<std::string>{"create c:\\t\\a.png", "close", "create c:\\t\\b.txt"}));
  EXPECT_EQ(w.FilledSlots(), Slots{"document"});
  int visible = 0;
  for (HWND child = ::GetWindow(w.pane->m_hWnd, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (::IsWindowVisible(child)) ++visible;
  }
  EXPECT_EQ(visible, 1);
}

TEST_F(PreviewPane, AViewerThatCannotBeMadeOrThrowsIsAFailure) {
  FakeViewers();
  PaneWindow w;
  w.frame->m_bNoFileSelected = 0;
  for (CRuntimeClass* viewer : {RUNTIME_CLASS(RefusingViewer), RUNTIME_CLASS(ThrowingViewer)}) {
    Use(PreviewSlot::kImage, viewer);
    Use(PreviewSlot::kDocument, viewer);
    for (const wchar_t* extension : {L".png", L".txt"}) {
      w.Preview(CString(_T("c:\\t\\f")) + extension, extension);
      EXPECT_EQ(w.FilledSlots(), Slots{"nopreview"}) << viewer->m_lpszClassName;
      EXPECT_EQ(w.frame->m_bPreviewOk, 0u);
      EXPECT_TRUE(previewtest::ShowsPicture(w.pane->m_pNoPreviewView->m_hWnd, IDB_PREVIEW_CORRUPTED));
    }
  }
}

TEST_F(PreviewPane, AViewerThatCannotShowItsFileStaysBesideTheCorruptedPicture) {
  FakeViewers();
  Use(PreviewSlot::kDocument, RUNTIME_CLASS(UnreadableViewer));
  PaneWindow w(500, 300);
  w.frame->m_bNoFileSelected = 0;
  // Text files too: a failure is never left looking like a preview.
  for (const wchar_t* extension : {L".txt", L".ini", L".xml", L".cpp", L".pdf"}) {
    w.Preview(CString(_T("c:\\t\\f")) + extension, extension);
    EXPECT_EQ(w.FilledSlots(), (Slots{"document", "nopreview"})) << Narrow(extension);
    EXPECT_EQ(CCorrupted_NoPreview_View::CurrentPicture(), static_cast<UINT>(IDB_PREVIEW_CORRUPTED));
  }
  // Resizing moves both to the area 35 pixels below the top.
  w.pane->MoveWindow(0, 0, 420, 260);
  harness::PumpMessages();
  for (CWnd* view : {w.pane->m_pDocumentView, w.pane->m_pNoPreviewView}) {
    CRect r;
    view->GetWindowRect(r);
    w.pane->ScreenToClient(r);
    EXPECT_EQ(r, CRect(0, 35, 420, 260));
  }
}

TEST_F(PreviewPane, AViewerWithoutItsComponentLeavesTheNotAvailablePicture) {
  FakeViewers();
  Use(PreviewSlot::kDocument, RUNTIME_CLASS(ComponentlessViewer));
  Use(PreviewSlot::kArchive, RUNTIME_CLASS(ComponentlessViewer));
  PaneWindow w(500, 300);
  w.frame->m_bNoFileSelected = 0;
  for (const wchar_t* extension : {L".pdf", L".doc", L".rar"}) {
    w.Preview(CString(_T("c:\\t\\f")) + extension, extension);
    EXPECT_EQ(w.FilledSlots().back(), "nopreview") << Narrow(extension);
    EXPECT_EQ(w.frame->m_bComponentMissing, 1u);
    EXPECT_TRUE(previewtest::ShowsPicture(w.pane->m_pNoPreviewView->m_hWnd, IDB_PREVIEW_NO_VIEWER))
        << Narrow(extension);
  }
  // The next file starts afresh: its viewer's failure is the file's.
  Use(PreviewSlot::kDocument, RUNTIME_CLASS(UnreadableViewer));
  w.Preview(_T("c:\\t\\g.pdf"), _T(".pdf"));
  EXPECT_EQ(w.frame->m_bComponentMissing, 0u);
  EXPECT_TRUE(previewtest::ShowsPicture(w.pane->m_pNoPreviewView->m_hWnd, IDB_PREVIEW_CORRUPTED));
  // A presentation without PowerPoint (none here): not available either, not corrupted.
  w.Preview(_T("c:\\t\\slides.ppt"), _T(".ppt"));
  EXPECT_EQ(w.FilledSlots(), Slots{"nopreview"});
  EXPECT_TRUE(previewtest::ShowsPicture(w.pane->m_pNoPreviewView->m_hWnd, IDB_PREVIEW_NO_VIEWER));
}

TEST_F(PreviewPane, AViewerWhoseWindowWentIsForgottenNotTouched) {
  FakeViewers();
  PaneWindow w;
  w.Preview(_T("c:\\t\\a.png"), _T(".png"));
  ASSERT_NE(w.pane->m_pImageView, nullptr);
  w.pane->m_pImageView->DestroyWindow();  // the view deletes itself
  harness::PumpMessages();
  EXPECT_EQ(w.pane->SlotView(PreviewSlot::kImage), nullptr);
  w.pane->MoveWindow(0, 0, 300, 200);
  w.pane->ClosePreviewViews();
  EXPECT_EQ(w.pane->m_pImageView, nullptr);
  EXPECT_EQ(w.FilledSlots(), Slots{});
}

// ---- the pictures and the screenshots --------------------------------------------------------------

void Paste(std::vector<uint8_t>& sheet, int sheetWidth, const previewtest::Grab& grab, int left, int top) {
  for (int y = 0; y < grab.height; ++y) {
    for (int x = 0; x < grab.width; ++x) {
      const size_t from = (static_cast<size_t>(y) * grab.width + x) * 4;
      const size_t to = (static_cast<size_t>(top + y) * sheetWidth + left + x) * 4;
      for (int k = 0; k < 4; ++k) sheet[to + k] = grab.rgba[from + k];
    }
  }
}

TEST_F(PreviewPane, PlaceholdersAndBand) {
  PaneWindow w(420, 240);
  previewtest::TempFile file(L"dorvane_pane_band.txt", "Quarterly figures");
  struct State {
    const wchar_t* path;
    const wchar_t* extension;
    uint32_t noFileSelected;
    UINT picture;
  } states[] = {
      {L"fileName", L"fileType", 1, IDB_PREVIEW_SELECT_FILE},
      {L"c:\\t\\setup.exe", L".exe", 0, IDB_PREVIEW_NO_VIEWER},
      {L"c:\\t\\missing.png", L".png", 0, IDB_PREVIEW_CORRUPTED},
      {L"largefile", L".largefile", 0, IDB_PREVIEW_LARGE_FILE},
  };
  constexpr int kGap = 10;
  const int sheetWidth = 2 * 420 + 3 * kGap, sheetHeight = 2 * 240 + 3 * kGap;
  std::vector<uint8_t> sheet(static_cast<size_t>(sheetWidth) * sheetHeight * 4, 0xF0);
  for (size_t i = 0; i < 4; ++i) {
    w.frame->m_bNoFileSelected = states[i].noFileSelected;
    w.Preview(states[i].path, states[i].extension);
    CWnd* shown = i == 3 ? w.pane->m_pLargeFileView : w.pane->m_pNoPreviewView;
    ASSERT_NE(shown, nullptr) << i;
    EXPECT_TRUE(previewtest::ShowsPicture(shown->m_hWnd, states[i].picture)) << i;
    const previewtest::Grab grab = previewtest::GrabClient(w.pane->m_hWnd);
    Paste(sheet, sheetWidth, grab, kGap + static_cast<int>(i % 2) * (420 + kGap),
          kGap + static_cast<int>(i / 2) * (240 + kGap));
  }
  EXPECT_TRUE(harness::WritePng(harness::ScreenshotPath("preview_placeholders"), sheetWidth, sheetHeight, sheet));

  // The band over a viewer: "Preview:" and where the item lies, in the window colour.
  w.frame->m_bNoFileSelected = 0;
  PreviewItemPath = u"\\Documents\\Reports 2026\\Quarterly summary.txt";
  w.Preview(file.Path(), _T(".txt"));
  ASSERT_NE(w.pane->m_pDocumentView, nullptr);
  w.pane->Invalidate();
  const previewtest::Grab band = previewtest::GrabClient(w.pane->m_hWnd);
  int textPixels = 0;
  const COLORREF background = band.At(70, 5);
  for (int y = 10; y < 35; ++y) {
    for (int x = 75; x < 300; ++x) textPixels += band.At(x, y) != background ? 1 : 0;
  }
  EXPECT_GT(textPixels, 100);  // the path is drawn
  EXPECT_FALSE(harness::CaptureWindow(w.frame->m_hWnd, "preview_band").empty());
}

}  // namespace
