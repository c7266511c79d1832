// The archive view in a frame of the test's own (the frame is the preview's host, its active view holds
// the preview document): the rows of a ZIP made by zipfile, a cabinet made by gcab and RAR listings
// through the test's stand-in library, read back from the list control; the header icons; the archives
// that cannot be listed. Screenshot preview_archive.png.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/classlib/win/ccreatecontext.h"
#include "platform/classlib/win/cdocument.h"
#include "platform/classlib/win/cframewnd.h"
#include "platform/classlib/win/cheaderctrl.h"
#include "platform/classlib/win/cwinapp.h"
#include "platform/harness/driver.h"
#include "platform/harness/scripted_seams.h"
#include "platform/os/library_win32.h"
#include "platform/seams/seams.h"
#include "preview/archive/archive_list_view.h"
#include "preview/preview_host.h"

namespace archive_list_view_test {

using Rows = std::vector<std::vector<std::wstring>>;

CWinApp& App() {
  static CWinApp app(_T("ArchiveViewTest"));
  return app;
}

class HostFrame : public CFrameWnd, public PreviewHost {};

class HostDocument : public CDocument, public PreviewDocument {};

// The frame's active view: it only carries the document.
class AnchorView : public CView {
 protected:
  void OnDraw(CDC*) override {}
};

// A path as the program has them: with backslashes.
std::wstring WindowsPath(const char* path) {
  std::wstring wide(path, path + std::char_traits<char>::length(path));
  for (wchar_t& c : wide) {
    if (c == L'/') c = L'\\';
  }
  return wide;
}

std::wstring Fixture(const wchar_t* name) { return WindowsPath(DORVANE_ARCHIVE_FIXTURES) + L"\\" + name; }

// The program loads the RAR library from its own folder or the system folder only: the test's stand-in
// is put beside the test program for the life of the object.
class FakeUnrarBesideProgram {
 public:
  FakeUnrarBesideProgram() { ok_ = ::CopyFileW((WindowsPath(DORVANE_FAKE_UNRAR_DIR) + L"\\unrar.dll").c_str(), Path().c_str(), FALSE) != FALSE; }
  ~FakeUnrarBesideProgram() { Remove(); }
  bool ok() const { return ok_; }
  static std::wstring Path() {
    wchar_t program[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring path(program);
    return path.substr(0, path.find_last_of(L'\\') + 1) + L"unrar.dll";
  }
  // One left by a test that did not end is taken away too.
  static void Remove() { ::DeleteFileW(Path().c_str()); }

 private:
  bool ok_ = false;
};

class ArchiveViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeUnrarBesideProgram::Remove();
    seams::InstallMessageBoxes(&boxes_);
    frame_ = new HostFrame;
    frame_->Create(nullptr, _T("Archive"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{10, 20, 1110, 330});
    App().m_pMainWnd = frame_;
    document_ = new HostDocument;
    document_->m_bAutoDelete = FALSE;  // the test deletes it
    CCreateContext context;
    context.m_pCurrentDoc = document_;
    anchor_ = new AnchorView;
    anchor_->Create(nullptr, nullptr, WS_CHILD, RECT{0, 0, 1, 1}, frame_, 0xE901, &context);
    frame_->SetActiveView(anchor_, FALSE);
    harness::PumpMessages();
  }
  void TearDown() override {
    HWND window = frame_->m_hWnd;
    App().m_pMainWnd = nullptr;
    if (::IsWindow(window)) frame_->DestroyWindow();
    delete document_;
    harness::PumpMessages();
    seams::InstallMessageBoxes(nullptr);
  }

  // The view for the file, as the pane makes it: the path in the document, the flag set beforehand.
  CMyListCtrl* Show(const std::wstring& path) {
    if (view_ != nullptr) view_->DestroyWindow();
    document_->m_previewPath = path.c_str();
    frame_->m_bPreviewOk = 1;
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CMyListCtrl);
    context.m_pCurrentDoc = document_;
    view_ = static_cast<CMyListCtrl*>(CFrameWnd::CreateView(frame_, &context, 0xE902));
    CRect client;
    frame_->GetClientRect(client);
    view_->MoveWindow(client);
    view_->ShowWindow(SW_SHOW);
    harness::PumpMessages();
    return view_;
  }
  HWND List() const { return view_->GetListCtrl()->m_hWnd; }
  Rows RowsShown() const { return harness::ListViewRows(List()); }
  std::vector<std::wstring> Headers() const {
    std::vector<std::wstring> titles;
    CHeaderCtrl* header = view_->GetListCtrl()->GetHeaderCtrl();
    for (int i = 0; i < header->GetItemCount(); ++i) {
      wchar_t text[64] = {};
      HDITEM item{};
      item.mask = HDI_TEXT | HDI_IMAGE | HDI_FORMAT;
      item.pszText = text;
      item.cchTextMax = 64;
      header->GetItem(i, &item);
      EXPECT_NE(item.fmt & HDF_IMAGE, 0) << i;
      EXPECT_EQ(item.iImage, i);
      titles.push_back(text);
    }
    return titles;
  }

  // The texts of the boxes shown since the last call.
  std::vector<std::u16string> Notes() {
    std::vector<std::u16string> texts;
    const auto log = boxes_.Log();
    for (size_t i = notesRead_; i < log.size(); ++i) texts.push_back(log[i].text);
    notesRead_ = log.size();
    return texts;
  }

  harness::ScriptedMessageBoxes boxes_;
  size_t notesRead_ = 0;
  HostFrame* frame_ = nullptr;
  HostDocument* document_ = nullptr;
  AnchorView* anchor_ = nullptr;
  CMyListCtrl* view_ = nullptr;
};

const wchar_t kDosTime[] = L"04 Mar 2021, 05:06:08";

// Name, "Directory" and "File Size" of each member, as zipfile lists the archive (ARCHIVE.listing).
Rows ZipfileListing(const wchar_t* archive) {
  std::string path = std::string(DORVANE_ARCHIVE_FIXTURES) + "/";
  for (const wchar_t* c = archive; *c != 0; ++c) path += static_cast<char>(*c);
  std::ifstream in(path + ".listing");
  Rows rows;
  for (std::string line; std::getline(in, line);) {
    std::vector<std::wstring> cells(1);
    for (char c : line) {
      if (c == '\t') cells.emplace_back();
      else cells.back() += static_cast<wchar_t>(c);
    }
    rows.push_back(cells);
  }
  return rows;
}

// The first three columns of the rows shown.
Rows NameFolderAndSize(Rows rows) {
  for (auto& row : rows) row.resize(3);
  return rows;
}

TEST_F(ArchiveViewTest, ZipRowsShowEachMembersOwnSizeAndYesOnlyForFolders) {
  for (const wchar_t* archive : {L"plain.zip", L"folders.zip"}) {
    Show(Fixture(archive));
    const Rows expected = ZipfileListing(archive);
    ASSERT_GE(expected.size(), 5u) << archive;
    EXPECT_EQ(NameFolderAndSize(RowsShown()), expected) << archive;
  }
  // Among them: the folder's own entry, and 831 bytes deflated in it.
  const Rows rows = NameFolderAndSize(RowsShown());
  EXPECT_EQ(rows[0], (std::vector<std::wstring>{L"Quarterly/", L"Yes", L"0"}));
  EXPECT_EQ(rows[1], (std::vector<std::wstring>{L"Quarterly/data_1.bin", L"No", L"831"}));
}

TEST_F(ArchiveViewTest, ZipRowsHeadersAndScreenshot) {
  Show(Fixture(L"plain.zip"));
  EXPECT_EQ(frame_->m_bPreviewOk, 1u);
  EXPECT_EQ(Headers(), (std::vector<std::wstring>{L"File Name", L"Directory", L"File Size", L"Access Time",
                                                  L"Creation Time", L"modify Time", L"Attribute"}));
  const Rows rows = RowsShown();
  ASSERT_EQ(rows.size(), 7u);
  EXPECT_EQ(rows[0], (std::vector<std::wstring>{L"readme.txt", L"No", L"35", kDosTime, kDosTime, kDosTime, L"----"}));
  EXPECT_EQ(rows[1][0], L"docs/");
  EXPECT_EQ(rows[1][1], L"Yes");
  EXPECT_EQ(rows[2][3], L"13 Sep 2020, 12:28:20");  // access and modification times from the "UT" block
  EXPECT_EQ(rows[2][4], kDosTime);
  EXPECT_EQ(rows[2][5], L"13 Sep 2020, 12:26:40");
  EXPECT_EQ(rows[3][6], L"r---");  // made on Unix without the owner's write bit
  EXPECT_EQ(rows[4][6], L"-a--");  // made on DOS: read-only only by its own bit
  EXPECT_EQ(rows[5][6], L"ra--");
  EXPECT_EQ(rows[6], (std::vector<std::wstring>{L"stored.bin", L"No", L"1024", kDosTime, kDosTime, kDosTime, L"----"}));
  EXPECT_TRUE(Notes().empty());  // a sound archive: no note
  ListView_SetItemState(List(), 2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  harness::PumpMessages();
  EXPECT_FALSE(harness::CaptureWindow(frame_->m_hWnd, "preview_archive").empty());
}

TEST_F(ArchiveViewTest, MembersInMethodsThatAreNotExtractedAreAllListedWithoutANote) {
  // Python's LZMA archive; Deflate64, PPMd, AES, traditional encryption and BZIP2 beside a stored member.
  for (const auto& [name, count] : {std::pair<const wchar_t*, size_t>{L"lzma.zip", 3}, {L"methods.zip", 6}}) {
    Show(Fixture(name));
    EXPECT_EQ(frame_->m_bPreviewOk, 1u) << name;
    EXPECT_EQ(RowsShown().size(), count) << name;
    EXPECT_TRUE(Notes().empty()) << name;
  }
}

TEST_F(ArchiveViewTest, MembersAfterADamagedLocalHeaderAreListed) {
  boxes_.Answer(seams::kOk);
  Show(Fixture(L"badheader.zip"));
  EXPECT_EQ(frame_->m_bPreviewOk, 1u);
  const Rows rows = RowsShown();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][0], L"first.txt");
  EXPECT_EQ(rows[1][0], L"third.txt");
  EXPECT_EQ(Notes(), std::vector<std::u16string>{u"Loaded 2 of 3 total members: the archive is damaged"});
}

TEST_F(ArchiveViewTest, ADamagedDirectoryListsTheMembersItCanReach) {
  // Central header 1,000 of 2,000 damaged: the 1,000 members before it, in order, and a note of the rest.
  boxes_.Answer(seams::kOk);
  boxes_.Answer(seams::kOk);
  Show(Fixture(L"badcentral.zip"));
  EXPECT_EQ(frame_->m_bPreviewOk, 1u);
  Rows rows = RowsShown();
  ASSERT_EQ(rows.size(), 1000u);
  EXPECT_EQ(rows[0][0], L"member 0000.txt");
  EXPECT_EQ(rows[999][0], L"member 0999.txt");
  const std::vector<std::u16string> notes = Notes();
  ASSERT_EQ(notes, std::vector<std::u16string>{u"Loaded 1000 of 2000 total members: the archive is damaged"});
  EXPECT_EQ(boxes_.Log().back().buttons(), seams::kButtonsOk);
  EXPECT_EQ(boxes_.Log().back().caption, u"ArchiveViewTest");
  // An end record claiming 2^31 - 2 members where the directory holds one.
  Show(Fixture(L"zip64claim.zip"));
  EXPECT_EQ(frame_->m_bPreviewOk, 1u);
  rows = RowsShown();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][0], L"a.txt");
  EXPECT_EQ(Notes(), std::vector<std::u16string>{u"Loaded 1 of 2147483646 total members: the archive is damaged"});
  EXPECT_EQ(boxes_.Unscripted(), 0u);
}

TEST_F(ArchiveViewTest, AFileThatIsNoZipArchiveIsNotShownAsAnEmptyOne) {
  Show(Fixture(L"notzip.zip"));
  EXPECT_EQ(Headers().size(), 7u);
  EXPECT_TRUE(RowsShown().empty());
  EXPECT_EQ(frame_->m_bPreviewOk, 0u);
  Show(Fixture(L"truncated.zip"));
  EXPECT_EQ(frame_->m_bPreviewOk, 0u);
}

// Run alone with the cabinet library disabled (WINEDLLOVERRIDES); skipped where the library is there.
TEST_F(ArchiveViewTest, WithoutTheCabinetLibraryACabinetIsNotAvailableRatherThanCorrupted) {
  HMODULE library = ::LoadLibraryA("Cabinet.dll");
  if (library != nullptr) {
    ::FreeLibrary(library);
    GTEST_SKIP() << "the cabinet library is on this machine";
  }
  frame_->m_bComponentMissing = 0;
  Show(Fixture(L"test.cab"));
  EXPECT_EQ(frame_->m_bPreviewOk, 0u);
  EXPECT_EQ(frame_->m_bComponentMissing, 1u);
  EXPECT_TRUE(RowsShown().empty());
}

// A cabinet whose table is cut short inside its 501st member: the library gives up on it, and the list
// shows the 500 members the table still names (from the last to the first), with a note, as for a ZIP.
TEST_F(ArchiveViewTest, ACabinetDamagedPartWayListsWhatItsTableStillNames) {
  boxes_.Answer(seams::kOk);
  Show(Fixture(L"cut.cab"));
  EXPECT_EQ(frame_->m_bPreviewOk, 1u);
  const Rows rows = RowsShown();
  ASSERT_EQ(rows.size(), 500u);
  EXPECT_EQ(rows[0], (std::vector<std::wstring>{L"f00499.txt", L"", L"1", kDosTime, L"-a--"}));
  EXPECT_EQ(rows[499][0], L"f00000.txt");
  EXPECT_EQ(Notes(), std::vector<std::u16string>{u"Loaded 500 of 1000 total members: the archive is damaged"});
}

TEST_F(ArchiveViewTest, CabinetMembersFromTheLastToTheFirst) {
  Show(Fixture(L"test.cab"));
  EXPECT_EQ(frame_->m_bPreviewOk, 1u);
  EXPECT_EQ(Headers(), (std::vector<std::wstring>{L"File Name", L"Directory", L"File Size", L"Access Time",
                                                  L"Attribute"}));
  const Rows rows = RowsShown();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][0], L"inner.txt");
  EXPECT_EQ(rows[0][1], L"sub\\");
  EXPECT_EQ(rows[0][2], L"84");
  EXPECT_EQ(rows[0][4], L"-a--");
  EXPECT_EQ(rows[1][0], L"top.txt");
  EXPECT_EQ(rows[1][1], L"");
  EXPECT_EQ(rows[1][2], L"17");
  EXPECT_EQ(rows[1][3].size(), std::wstring(kDosTime).size());  // gcab stamps the files' own times
  // A second cabinet after the first shows its own members only; a file that is none shows nothing.
  Show(Fixture(L"test.cab"));
  EXPECT_EQ(RowsShown().size(), 2u);
  Show(Fixture(L"notzip.zip").substr(0, Fixture(L"notzip.zip").size() - 3) + L"cab");
  EXPECT_EQ(frame_->m_bPreviewOk, 0u);
  EXPECT_TRUE(RowsShown().empty());
}

// A list shows the first ten thousand members of a cabinet, a RAR or a ZIP archive, as the table view its
// records, and says how many the archive has.
TEST_F(ArchiveViewTest, ListsStopAtTenThousandMembersAndSayHowManyThereAre) {
  FakeUnrarBesideProgram unrar;
  ASSERT_TRUE(unrar.ok());
  const struct {
    const wchar_t* file;
    const wchar_t* first;
    const wchar_t* last;
    const char16_t* note;
  } archives[] = {{L"many.cab", L"f65534.txt", L"f55535.txt", u"Loaded 10000 of 65535 total members"},
                  {L"many.rar", L"f00000.txt", L"f09999.txt", u"Loaded 10000 of 12000 total members"},
                  {L"many.zip", L"f00000.txt", L"f09999.txt", u"Loaded 10000 of 12000 total members"}};
  for (const auto& a : archives) {
    Show(Fixture(a.file));
    EXPECT_EQ(frame_->m_bPreviewOk, 1u);
    const HWND list = List();
    ASSERT_EQ(ListView_GetItemCount(list), 10000) << a.file;
    wchar_t text[32] = {};
    ListView_GetItemText(list, 0, 0, text, 32);
    EXPECT_STREQ(text, a.first);
    ListView_GetItemText(list, 9999, 0, text, 32);
    EXPECT_STREQ(text, a.last);
    EXPECT_EQ(Notes(), std::vector<std::u16string>{a.note}) << a.file;
  }
}

TEST_F(ArchiveViewTest, RarMembersThroughTheLibrary) {
  // Without the library the view cannot list, and says so as a missing component (the pane then shows
  // its not-available picture, not the corrupted one).
  frame_->m_bComponentMissing = 0;
  Show(Fixture(L"test.rar"));
  EXPECT_EQ(frame_->m_bPreviewOk, 0u);
  EXPECT_EQ(frame_->m_bComponentMissing, 1u);
  frame_->m_bComponentMissing = 0;
  {
    FakeUnrarBesideProgram unrar;
    ASSERT_TRUE(unrar.ok());
    Show(Fixture(L"test.rar"));
  }
  EXPECT_EQ(frame_->m_bPreviewOk, 1u);
  EXPECT_EQ(frame_->m_bComponentMissing, 0u);
  const Rows rows = RowsShown();
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0], (std::vector<std::wstring>{L"readme.txt", L"No", L"20", kDosTime, L"-a--"}));
  EXPECT_EQ(rows[1], (std::vector<std::wstring>{L"photos", L"Yes", L"0", L"04 Mar 2021, 00:00:00", L"----"}));
  EXPECT_EQ(rows[2][0], L"photos\\big.iso");
  EXPECT_EQ(rows[2][1], L"");  // flags 32768: neither the folder's nor the file's
  EXPECT_EQ(rows[2][2], L"5000000000");  // past 4 GiB: both halves
  EXPECT_EQ(rows[2][4], L"ra--");
  // Flags other than the folder's and the file's leave "Directory" empty; a month 15 gives no time. The
  // narrow name is read in the OEM code page.
  EXPECT_EQ(rows[3], (std::vector<std::wstring>{L"Caf\u00e9 odd", L"", L"0", L"", L"----"}));
}

TEST_F(ArchiveViewTest, RarArchivesThatOpenEmptyOrNotAtAll) {
  FakeUnrarBesideProgram unrar;
  ASSERT_TRUE(unrar.ok());
  Show(Fixture(L"empty.rar"));
  EXPECT_EQ(frame_->m_bPreviewOk, 1u);
  EXPECT_TRUE(RowsShown().empty());
  frame_->m_bComponentMissing = 0;
  Show(Fixture(L"broken.rar"));
  EXPECT_EQ(frame_->m_bPreviewOk, 0u);
  EXPECT_EQ(frame_->m_bComponentMissing, 0u);  // the library refused the file: it is damaged
}

// A library of that name in the current folder, where the user's files are (the image's folder, a
// recovered archive's), is never loaded: neither by the view nor, once the program has started, by any
// load by name.
TEST_F(ArchiveViewTest, ALibraryOnlyInTheCurrentFolderIsNeverLoaded) {
  wchar_t previous[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(::SetCurrentDirectoryW(WindowsPath(DORVANE_FAKE_UNRAR_DIR).c_str()));
  frame_->m_bComponentMissing = 0;
  Show(Fixture(L"test.rar"));
  const uint32_t previewOk = frame_->m_bPreviewOk, componentMissing = frame_->m_bComponentMissing;
  os::KeepCurrentFolderOutOfLibrarySearch();
  HMODULE byName = ::LoadLibraryW(L"unrar.dll");
  if (byName != nullptr) ::FreeLibrary(byName);
  ::SetDllDirectoryW(nullptr);
  ::SetCurrentDirectoryW(previous);
  EXPECT_EQ(previewOk, 0u);
  EXPECT_EQ(componentMissing, 1u);
  EXPECT_TRUE(RowsShown().empty());
  EXPECT_EQ(byName, nullptr);
}

}  // namespace archive_list_view_test
