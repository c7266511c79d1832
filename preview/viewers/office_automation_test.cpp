// Word's RTF conversion and PowerPoint's slide export against the test's stand-in Office (an in-process
// automation server registered in the test prefix, under the machine's classes, where this system looks):
// the calls in their order with their arguments, the files written, Word asked to quit on every path,
// macros forced off before anything is opened, the slide folder emptied first; each failure of the
// server; the pane's slides, its corrupted-file picture when PowerPoint fails, its not-available picture when
// PowerPoint is missing.
#include "preview/viewers/office_automation.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/harness/driver.h"
#include "platform/os/os.h"
#include "preview/placeholder_views.h"
#include "preview/viewers/test_registry.h"
#include "preview/viewers/thumb_view.h"
#include "preview/preview_test_support.h"
#include "res/resource.h"

namespace {

using Lines = std::vector<std::string>;

const wchar_t kWordClsid[] = L"{5B0E4C1A-7D3F-4E21-9A8B-1F2E3D4C5B61}";
const wchar_t kPowerPointClsid[] = L"{5B0E4C1A-7D3F-4E21-9A8B-1F2E3D4C5B62}";

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }
std::string Narrow(const CString& text) { return os::ToUtf8(text.ToUtf16()); }

// The fake's DLL by its Windows path.
std::wstring FakeDll() {
  std::wstring path = Wide(DORVANE_FAKE_OFFICE_DLL);
  std::replace(path.begin(), path.end(), L'/', L'\\');
  return path.size() > 1 && path[1] == L':' ? path : L"Z:" + path;
}

void RegisterFakeOffice() {
  for (const auto& [progId, clsid] : {std::pair{L"Word.Application", kWordClsid},
                                      std::pair{L"Powerpoint.Application", kPowerPointClsid}}) {
    previewtest::SetMachineKey(std::wstring(L"Software\\Classes\\") + progId + L"\\CLSID", nullptr, clsid);
    const std::wstring server = std::wstring(L"Software\\Classes\\CLSID\\") + clsid + L"\\InprocServer32";
    previewtest::SetMachineKey(server, nullptr, FakeDll());
    previewtest::SetMachineKey(server, L"ThreadingModel", L"Apartment");
  }
}

void UnregisterFakeOffice() {
  for (const wchar_t* key : {L"Software\\Classes\\Word.Application", L"Software\\Classes\\Powerpoint.Application"}) {
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, key);
  }
  for (const wchar_t* clsid : {kWordClsid, kPowerPointClsid}) {
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(L"Software\\Classes\\CLSID\\") + clsid).c_str());
  }
}

std::string ReadAll(const CString& path) {
  std::ifstream in(Narrow(path).c_str(), std::ios::binary);
  if (!in) {
    // Windows paths are read through the system.
    HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string bytes(1 << 16, '\0');
    DWORD read = 0;
    ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    ::CloseHandle(file);
    bytes.resize(read);
    return bytes;
  }
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool Exists(const CString& path) { return ::GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

std::string Missing(int n) {
  std::string text;
  for (int i = 0; i < n; ++i) text += ",&MISSING";
  return text;
}

class OfficeAutomation : public testing::Test {
 protected:
  void SetUp() override {
    ::CoInitialize(nullptr);
    RegisterFakeOffice();
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    log_ = CString(temp) + _T("dorvane_fake_office.log");
    ::DeleteFileW(log_);
    ::SetEnvironmentVariableW(L"DORVANE_FAKE_OFFICE_LOG", log_);
    Fail(nullptr);
  }
  void TearDown() override {
    Fail(nullptr);
    UnregisterFakeOffice();
    ::DeleteFileW(log_);
    ::DeleteFileW(WordRtfPath());
    ::CoUninitialize();
  }
  static void Fail(const wchar_t* member) { ::SetEnvironmentVariableW(L"DORVANE_FAKE_OFFICE_FAIL", member); }
  // The calls the fake saw, without its objects' releases.
  Lines Calls() const {
    Lines lines;
    std::istringstream in(ReadAll(log_));
    for (std::string line; std::getline(in, line);) {
      if (line.find(".Released") == std::string::npos) lines.push_back(line);
    }
    return lines;
  }
  bool Saw(const std::string& prefix) const {
    for (const std::string& line : Calls()) {
      if (line.rfind(prefix, 0) == 0) return true;
    }
    return false;
  }

  CString log_;
};

TEST_F(OfficeAutomation, TheFakeIsRegistered) {
  CLSID clsid{};
  EXPECT_EQ(::CLSIDFromProgID(L"Word.Application", &clsid), S_OK);
  COleDispatchDriver word;
  SCODE sc = S_OK;
  EXPECT_TRUE(word.CreateDispatch(_T("Word.Application"), &sc)) << std::hex << sc;
}

TEST_F(OfficeAutomation, WordSavesTheDocumentAsRtfWithTheListedCalls) {
  previewtest::TempFile document(L"dorvane report.doc", "a Word file");
  previewtest::TempFile stale(L"New.rtf", "an earlier conversion");
  ASSERT_EQ(ConvertWordToRtf(document.Path()), 1);
  EXPECT_EQ(ReadAll(WordRtfPath()).rfind("{\\rtf1", 0), 0u);
  const std::string path = Narrow(document.Path()), rtf = Narrow(WordRtfPath());
  EXPECT_EQ(Calls(), (Lines{
                         "Word.Create",
                         "Word.AutomationSecurity=I4:3",
                         "Word.Documents()",
                         "Word.Documents.Add(&MISSING,&MISSING)",
                         "Word.Document.Close(&I2:0,&MISSING,&MISSING)",
                         "Word.Documents.Open(&BSTR:" + path + ",&MISSING,&I2:1" + Missing(7) + ")",
                         "Word.Document.SaveAs(&BSTR:" + rtf + ",&I4:6,&MISSING,&BSTR:,&MISSING,&BSTR:" + Missing(5) + ")",
                         "Word.Quit(&I2:0,&MISSING,&MISSING)",
                     }));
  // Every object the program was given went back.
  const std::string all = ReadAll(log_);
  EXPECT_NE(all.find("Word.Released"), std::string::npos);
}

TEST_F(OfficeAutomation, WordFailuresCloseTheDocumentAndQuit) {
  previewtest::TempFile document(L"dorvane broken.doc", "damaged");
  Fail(L"SaveAs");
  EXPECT_EQ(ConvertWordToRtf(document.Path()), 0);
  Lines calls = Calls();
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(calls[calls.size() - 2], "Word.Document.Close(&I2:0,&MISSING,&MISSING)");
  EXPECT_EQ(calls.back(), "Word.Quit(&I2:0,&MISSING,&MISSING)");
  EXPECT_FALSE(Exists(WordRtfPath()));

  // Opening fails: no document to close, Word still quits.
  ::DeleteFileW(log_);
  Fail(L"Open");
  EXPECT_EQ(ConvertWordToRtf(document.Path()), 0);
  calls = Calls();
  EXPECT_EQ(calls.back(), "Word.Quit(&I2:0,&MISSING,&MISSING)");
  EXPECT_EQ(std::count_if(calls.begin(), calls.end(), [](const std::string& l) { return l.find("Close") != std::string::npos; }), 1);

  // Saying it saved without writing the file is no conversion, even with an older "New.rtf" there.
  ::DeleteFileW(log_);
  Fail(L"NoOutput");
  previewtest::TempFile stale(L"New.rtf", "an earlier conversion");
  EXPECT_EQ(ConvertWordToRtf(document.Path()), 0);
  EXPECT_TRUE(Saw("Word.Quit"));
}

TEST_F(OfficeAutomation, NothingIsOpenedWhileMacrosCouldRun) {
  previewtest::TempFile document(L"dorvane macro.doc", "a Word file");
  previewtest::TempFile slides(L"dorvane macro.ppt", "a presentation");
  for (const wchar_t* failure : {L"AutomationSecurity", L"NoSecurity"}) {
    ::DeleteFileW(log_);
    Fail(failure);
    EXPECT_EQ(ConvertWordToRtf(document.Path()), 0);
    CString folder;
    EXPECT_EQ(ExportPresentationSlides(slides.Path(), &folder), 0);
    EXPECT_FALSE(Saw("Word.Documents.Open"));
    EXPECT_FALSE(Saw("PowerPoint.Presentations.Open"));
    EXPECT_TRUE(Saw("Word.Quit"));
    EXPECT_TRUE(Saw("PowerPoint.Quit"));
  }
}

TEST_F(OfficeAutomation, PowerPointExportsTheSlidesIntoAnEmptiedFolder) {
  previewtest::TempFile presentation(L"dorvane talk.ppt", "a presentation");
  const CString folder = PreviewTempFolder() + _T("ssss");
  ::CreateDirectoryW(folder, nullptr);
  previewtest::TempFile old(L"ssss\\Slide9.GIF", "an earlier presentation's slide");
  CString shown;
  ASSERT_EQ(ExportPresentationSlides(presentation.Path(), &shown), 1);
  EXPECT_EQ(shown, folder);
  EXPECT_TRUE(Exists(folder + _T("\\Slide1.GIF")));
  EXPECT_TRUE(Exists(folder + _T("\\Slide2.GIF")));
  EXPECT_FALSE(Exists(folder + _T("\\Slide9.GIF")));
  EXPECT_EQ(Calls(), (Lines{
                         "PowerPoint.Create",
                         "PowerPoint.AutomationSecurity=I4:3",
                         "PowerPoint.Presentations()",
                         "PowerPoint.Presentations.Open(BSTR:" + Narrow(presentation.Path()) + ",I4:1,I4:1,I4:0)",
                         "PowerPoint.Presentation.SaveAs(BSTR:" + Narrow(PreviewTempFolder()) + "ssss.gif,I4:16,I4:0)",
                         "PowerPoint.Quit()",
                     }));
  ::DeleteFileW(folder + _T("\\Slide1.GIF"));
  ::DeleteFileW(folder + _T("\\Slide2.GIF"));
  ::RemoveDirectoryW(folder);

  // An error on the way still asks PowerPoint to quit.
  ::DeleteFileW(log_);
  Fail(L"SaveAs");
  EXPECT_EQ(ExportPresentationSlides(presentation.Path(), &shown), 0);
  EXPECT_EQ(Calls().back(), "PowerPoint.Quit()");
}

// A folder of the user's ("dorvane_no_temp" in the temporary folder, with "ssss" in it). Between Enter and
// Restore it is the program's current folder and the system names no temporary folder (a temporary-folder
// setting longer than any path).
class WithoutTemporaryFolder {
 public:
  WithoutTemporaryFolder() {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    here = CString(temp) + _T("dorvane_no_temp");
    ::CreateDirectoryW(here, nullptr);
    ::CreateDirectoryW(here + _T("\\ssss"), nullptr);
  }
  void Enter() {
    ::GetCurrentDirectoryW(MAX_PATH, previous_);
    changed = ::SetCurrentDirectoryW(here) != FALSE;
    const std::wstring tooLong = L"C:\\" + std::wstring(300, L'x');
    hadTmp_ = ::GetEnvironmentVariableW(L"TMP", tmp_, MAX_PATH) > 0;
    hadTemp_ = ::GetEnvironmentVariableW(L"TEMP", temp_, MAX_PATH) > 0;
    ::SetEnvironmentVariableW(L"TMP", tooLong.c_str());
    ::SetEnvironmentVariableW(L"TEMP", tooLong.c_str());
    noTemp = PreviewTempFolder().IsEmpty();
    entered_ = true;
  }
  // Declared before the files made in it, so those are gone when the folders are removed.
  ~WithoutTemporaryFolder() {
    Restore();
    ::RemoveDirectoryW(here + _T("\\ssss"));
    ::RemoveDirectoryW(here);
  }
  void Restore() {
    if (restored_ || !entered_) return;
    restored_ = true;
    ::SetEnvironmentVariableW(L"TMP", hadTmp_ ? tmp_ : nullptr);
    ::SetEnvironmentVariableW(L"TEMP", hadTemp_ ? temp_ : nullptr);
    ::SetCurrentDirectoryW(previous_);
  }

  CString here;
  bool changed = false;
  bool noTemp = false;

 private:
  wchar_t previous_[MAX_PATH] = {}, tmp_[MAX_PATH] = {}, temp_[MAX_PATH] = {};
  bool hadTmp_ = false, hadTemp_ = false, entered_ = false, restored_ = false;
};

TEST_F(OfficeAutomation, WithoutATemporaryFolderNoSlideFolderIsTouched) {
  previewtest::TempFile presentation(L"dorvane talk.ppt", "a presentation");
  WithoutTemporaryFolder none;
  previewtest::TempFile kept(L"dorvane_no_temp\\ssss\\Slide1.GIF", "a picture of the user's");
  none.Enter();
  ASSERT_TRUE(none.changed);
  CString folder;
  const int exported = ExportPresentationSlides(presentation.Path(), &folder);
  none.Restore();

  ASSERT_TRUE(none.noTemp);
  EXPECT_EQ(exported, 0);
  EXPECT_TRUE(folder.IsEmpty());
  EXPECT_TRUE(ReadAll(kept.Path()) == "a picture of the user's");
  EXPECT_FALSE(Exists(none.here + _T("\\ssss\\Slide2.GIF")));
  EXPECT_FALSE(Exists(none.here + _T("\\ssss.gif")));
  EXPECT_FALSE(Saw("PowerPoint.Presentations.Open"));
  ::DeleteFileW(none.here + _T("\\ssss\\Slide2.GIF"));
  ::DeleteFileW(none.here + _T("\\ssss.gif"));
}

TEST_F(OfficeAutomation, WithoutATemporaryFolderAWordDocumentLeavesTheCurrentFoldersNewRtf) {
  previewtest::TempFile document(L"dorvane letter.doc", "a letter");
  WithoutTemporaryFolder none;
  previewtest::TempFile kept(L"dorvane_no_temp\\New.rtf", "the user's own text");
  none.Enter();
  ASSERT_TRUE(none.changed);
  const int converted = ConvertWordToRtf(document.Path(), nullptr);
  none.Restore();

  ASSERT_TRUE(none.noTemp);
  EXPECT_EQ(converted, 0);
  EXPECT_TRUE(ReadAll(kept.Path()) == "the user's own text");
  EXPECT_FALSE(Saw("Word.Documents.Open"));
}

// The red of the title band of thumbnail i (a pixel inside the band, above the slide's text).
int BandRed(CThumbView* view, int i) {
  const previewtest::Pixels tile = previewtest::ImageListPixels(view->m_imageList.m_hImageList, i);
  return tile.width > 80 && tile.height > 12 ? static_cast<int>(tile.At(80, 12) >> 16) : -1;
}

TEST_F(OfficeAutomation, TwelveSlidesAreShownInTheirOrderNumberedOneToTwelve) {
  ::SetEnvironmentVariableW(L"DORVANE_FAKE_OFFICE_SLIDES", L"12");
  previewtest::PaneWindow w(560, 360);
  w.frame->m_bNoFileSelected = 0;
  previewtest::TempFile presentation(L"dorvane twelve.ppt", "a presentation");
  w.Preview(presentation.Path(), _T(".ppt"));
  ::SetEnvironmentVariableW(L"DORVANE_FAKE_OFFICE_SLIDES", nullptr);
  auto* view = dynamic_cast<CThumbView*>(w.pane->m_pThumbView);
  ASSERT_NE(view, nullptr);
  std::vector<std::wstring> numbers;
  for (int i = 1; i <= 12; ++i) numbers.push_back(std::to_wstring(i));
  EXPECT_EQ(harness::Items(view->m_hWnd), numbers);
  for (int i = 0; i < 12; ++i) EXPECT_NEAR(BandRed(view, i), 15 * (i + 1), 3) << "thumbnail " << i + 1;
}

TEST_F(OfficeAutomation, ThePaneShowsTheSlidesTheCorruptedOrTheNotAvailablePicture) {
  previewtest::PaneWindow w(560, 360);
  w.frame->m_bNoFileSelected = 0;
  previewtest::TempFile presentation(L"dorvane talk.pptx", "a presentation");
  w.Preview(presentation.Path(), _T(".pptx"));
  ASSERT_NE(w.pane->m_pThumbView, nullptr);
  EXPECT_EQ(w.frame->m_bPreviewOk, 1u);
  EXPECT_FALSE(Exists(PreviewTempFolder() + _T("ssss")));  // the pictures live on in the view alone
  harness::CaptureWindow(w.frame->m_hWnd, "preview_slides");

  // The server fails: the corrupted picture, and PowerPoint was asked to quit.
  Fail(L"Open");
  ::DeleteFileW(log_);
  w.Preview(presentation.Path(), _T(".pptx"));
  ASSERT_NE(w.pane->m_pNoPreviewView, nullptr);
  EXPECT_TRUE(previewtest::ShowsPicture(w.pane->m_pNoPreviewView->m_hWnd, IDB_PREVIEW_CORRUPTED));
  EXPECT_EQ(w.frame->m_bComponentMissing, 0u);
  EXPECT_EQ(Calls().back(), "PowerPoint.Quit()");

  // Without Office: nothing answers, and a presentation is a type this machine cannot preview.
  Fail(nullptr);
  UnregisterFakeOffice();
  ::DeleteFileW(log_);
  previewtest::TempFile document(L"dorvane letter.docx", "a Word file");
  EXPECT_EQ(ConvertWordToRtf(document.Path()), 0);
  CString folder;
  EXPECT_EQ(ExportPresentationSlides(presentation.Path(), &folder), 0);
  w.Preview(presentation.Path(), _T(".pptx"));
  EXPECT_EQ(w.FilledSlots(), std::vector<std::string>{"nopreview"});
  EXPECT_EQ(w.frame->m_bComponentMissing, 1u);
  EXPECT_TRUE(previewtest::ShowsPicture(w.pane->m_pNoPreviewView->m_hWnd, IDB_PREVIEW_NO_VIEWER));
  EXPECT_TRUE(Calls().empty());
}

}  // namespace
