// Page 4 in the real program's frame (each test is a process of its own), over a Quick Scan of the
// generated NTFS volume run on a worker as the scan page runs it: header sorts with folders kept on top and
// ticks kept, the header's menu sorting in the direction chosen, a file row written to a temporary file
// whose bytes are checked against the image's manifest, the preview stand-in naming it, Back deleting it,
// Back by mode and Home. Screenshot page4.png.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <wctype.h>
#include <wincrypt.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/ex_style_app.h"
#include "app/main_frame.h"
#include "app/pages/file_system_view.h"
#include "app/pages/first_view_hdd.h"
#include "app/pages/second_view_hdd.h"
#include "app/pages/third_view_hdd.h"
#include "app/results/preview_temp.h"
#include "app/results/result_columns.h"
#include "app/snapshot_test_files.h"
#include "app/results/result_rows.h"
#include "engine/fat/save_abort.h"
#include "engine/host/fakes.h"
#include "engine/host/scan_fakes.h"
#include "engine/host/scan_page_fakes.h"
#include "engine/image/disk_image.h"
#include "engine/image/source_values.h"
#include "engine/records/ntfs_records.h"
#include "engine/records/scan_control.h"
#include "engine/records/scan_parameters.h"
#include "engine/records/scan_records.h"
#include "engine/save/preview_copy.h"
#include "engine/listing/results_listing.h"
#include "engine/scan/quick_scan.h"
#include "engine/scan/results_tree_build.h"
#include "engine/snapshot/snapshot.h"
#include "platform/harness/driver.h"
#include "platform/harness/modal_script.h"
#include "platform/harness/scripted_seams.h"
#include "platform/os/os.h"
#include "preview/main_preview_view.h"
#include "preview/placeholder_views.h"
#include "preview/preview_extensions.h"
#include "preview/preview_test_support.h"
#include "res/resource.h"
#include "toolkit/common/tkp_mouse_manager.h"
#include "ui/controls/shell_file_info.h"

CEx_StyleApp theApp;

namespace {

const std::string kImage = "ntfs_4k.fixed.vhd";

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The sha256 the image's manifest gives the file at path (as TSK read it).
std::string ManifestSha256(const std::string& path) {
  const std::string manifest = ReadFile(std::string(DORVANE_SHARED_IMAGES) + "/" + kImage + ".manifest.json");
  const size_t entry = manifest.find("\"path\": \"" + path + "\"");
  const size_t hash = manifest.find("\"sha256\": \"", entry);
  if (entry == std::string::npos || hash == std::string::npos) return "";
  return manifest.substr(hash + 11, 64);
}

std::string Sha256(const std::string& bytes) {
  HCRYPTPROV provider = 0;
  HCRYPTHASH hash = 0;
  std::string hex;
  if (::CryptAcquireContextW(&provider, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT) &&
      ::CryptCreateHash(provider, CALG_SHA_256, 0, 0, &hash) &&
      ::CryptHashData(hash, reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()), 0)) {
    BYTE digest[32];
    DWORD length = sizeof digest;
    if (::CryptGetHashParam(hash, HP_HASHVAL, digest, &length, 0)) {
      static const char kDigits[] = "0123456789abcdef";
      for (DWORD i = 0; i < length; ++i) {
        hex += kDigits[digest[i] >> 4];
        hex += kDigits[digest[i] & 15];
      }
    }
  }
  if (hash != 0) ::CryptDestroyHash(hash);
  if (provider != 0) ::CryptReleaseContext(provider, 0);
  return hex;
}

class ResultsPageTest : public ::testing::Test {
 protected:
  ResultsPageTest() {
    // The program starts once in this process; each test begins on page 4 emptied by its Back.
    static bool started = false;
    static bool startedOk = false;
    if (!started) {
      started = true;
      static std::wstring commandLine = L"";
      theApp.SetStartup(::GetModuleHandleW(nullptr), &commandLine[0], SW_SHOW);
      theApp.InitApplication();
      startedOk = theApp.InitInstance() != FALSE;
    }
    started_ = startedOk;
    frame_ = theApp.GetMainFrame();
    page_ = frame_ != nullptr ? static_cast<CThirdView_HDD*>(theApp.PageViews[kPageResults]) : nullptr;
    if (page_ != nullptr) page_->OnBack();
    host::Hosts hosts = host::Current();
    hosts.messages = &messages_;
    hosts.secondDisplay = &panel_;
    hosts.scanPage = &scanPage_;
    scopedHosts_ = std::make_unique<host::ScopedHosts>(hosts);
  }
  ~ResultsPageTest() override {
    // The frame stays until the process ends, as each test is a process of its own.
    scopedHosts_.reset();
    SetCurrentDiskImage(nullptr);
  }

  ResultListCtrl& List() { return page_->ResultList(); }

  void ShowResultsPage(uint32_t mode) {
    RecoveryMode = mode;
    ResultListCtrl& list = List();
    while (list.DeleteColumn(0)) {
    }
    int index = 0;
    for (const results::ResultColumn& c : results::ResultColumnsFor(mode)) {
      list.InsertColumn(index++, reinterpret_cast<const wchar_t*>(c.title), LVCFMT_LEFT, c.width);
    }
    theApp.SwitchView(kPageResults);
    page_->ShowSaveAndHome();
    page_->Button(IDC_BACK).ShowWindow(SW_SHOW);
    page_->Button(IDC_BACK).EnableWindow(TRUE);
    page_->Button(IDC_HOME).ShowWindow(SW_HIDE);
    harness::PumpFor(50);
  }

  // A Quick Scan of the NTFS volume (by default the shared one of 4 KiB clusters) on a worker while this thread
  // serves the windows.
  void QuickScan(const std::string& path = std::string(DORVANE_SHARED_IMAGES) + "/" + kImage) {
    ASSERT_TRUE(started_);
    ASSERT_NE(page_, nullptr);
    OpenImagePath(path);
    ScanRange = ScanRangeRecord{records::kNtfs, 0, 32768, 32767, 0};
    ResultListers = ResultListersRecord{ListFatFolder, ListNtfsFolder};
    SelectedModeText = _T("Selected Mode : Quick Scan");
    ShowResultsPage(records::kQuickScan);
    ScanThreadControl.stopFlag = 0;
    ScanThreadControl.runningFlag = 1;
    std::atomic<bool> done{false};
    uint32_t scanned = 0;
    std::thread worker([&] {
      scanned = QuickScanThread();
      done = true;
    });
    const bool ended = harness::WaitUntil([&] { return done.load(); }, 60000);
    worker.join();
    ASSERT_TRUE(ended);
    ASSERT_EQ(scanned, 1u);
    harness::PumpFor(50);
  }

  int Row(const std::u16string& name) {
    for (int r = 0; r < List().CTKListCtrl::GetItemCount(); ++r) {
      if (List().GetItemText(r, 0) == name) return r;
    }
    return -1;
  }
  // The NTFS record behind a file row (the id in column 5), or null.
  NtfsEntryRecord* EntryOfRow(int row) {
    const std::optional<uint32_t> id = results::ParseId(List().GetItemText(static_cast<uint32_t>(row), 5));
    return id ? FindNtfsEntry(*id) : nullptr;
  }
  std::vector<std::u16string> Names() {
    std::vector<std::u16string> names;
    for (int r = 0; r < List().CTKListCtrl::GetItemCount(); ++r) names.push_back(List().GetItemText(r, 0));
    return names;
  }

  // A real click on a column's header (the list scrolled to show it), and on a row's name.
  void ClickHeader(int column) {
    harness::ClickListHeader(List().m_hWnd, column);
    harness::PumpFor(50);
  }
  // A command of the header's menu, chosen on the column (the menu is opened at the column and closed;
  // with the command bars in the program it is a popup bar, which closes when its tracking is lost).
  static void CALLBACK CloseMenu(HWND, UINT, UINT_PTR, DWORD) {
    ::EndMenu();
    TKPMouseManager()->SendTrackLost();
  }
  void HeaderMenuCommand(int column, UINT command) {
    HWND header = ListView_GetHeader(List().m_hWnd);
    RECT rect{};
    Header_GetItemRect(header, column, &rect);
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, CloseMenu);
    const LPARAM centre = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    ::SendMessageW(header, WM_RBUTTONDOWN, MK_RBUTTON, centre);
    ::KillTimer(nullptr, timer);
    ::SendMessageW(header, WM_COMMAND, command, 0);
    harness::PumpFor(50);
  }
  void ClickRow(int row) {
    List().EnsureVisible(row, FALSE);
    CRect rect;
    ASSERT_TRUE(List().GetItemRect(row, rect, LVIR_LABEL));
    harness::Click(List().m_hWnd, POINT{rect.left + 20, rect.CenterPoint().y});
    harness::PumpFor(50);
  }
  void ClickRowBox(int row) {
    List().EnsureVisible(row, FALSE);
    CRect rect;
    ASSERT_TRUE(List().GetItemRect(row, rect, LVIR_BOUNDS));
    for (int x = rect.left; x < rect.left + 60; ++x) {
      UINT flags = 0;
      if (List().HitTest(CPoint(x, rect.CenterPoint().y), &flags) == row && (flags & LVHT_ONITEMSTATEICON)) {
        harness::Click(List().m_hWnd, POINT{x, rect.CenterPoint().y});
        harness::PumpFor(50);
        return;
      }
    }
    FAIL() << "no check box in row " << row;
  }

  std::u16string ShownPath() { return page_->PreviewPane()->GetShownPath().ToUtf16(); }

  // The first file row (liveOnly: not a deleted file's) of the root listed now, or after a File Trace of the
  // first type of its first group, listed here; -1 when none.
  int FirstFileRow(bool liveOnly) {
    ResultTreeCtrl& tree = page_->ResultTree();
    if (RecoveryMode == records::kFileTrace) {
      HTREEITEM group = tree.CTreeCtrl::GetChildItem(tree.CTreeCtrl::GetRootItem());
      if (group == nullptr) return -1;
      tree.CTreeCtrl::Expand(group, TVE_EXPAND);
      tree.ListNode(tree.CTreeCtrl::GetChildItem(group));
      harness::PumpFor(50);
    }
    for (int row = 0; row < List().CTKListCtrl::GetItemCount(); ++row) {
      const std::u16string type = List().GetItemText(row, 1);
      if (List().Kind(row) == results::RowKind::kFile && !(liveOnly && type == u"Deleted File")) {
        return row;
      }
    }
    return -1;
  }

  // The image opened as the source, as page 0 opens it.
  void OpenImage(const std::string& name) { OpenImagePath(std::string(DORVANE_SHARED_IMAGES) + "/" + name); }
  void OpenImagePath(const std::string& path) {
    image_.Close();
    image_.CreateReader(kImageVhd);
    ASSERT_TRUE(image_.Open(os::FromUtf8(path)));
    ImageFormat = 0;
    CurrentDriveIndex = 0;
    SourceKind = kSourceDisk;
    SetCurrentDiskImage(&image_);
  }
  // A snapshot of the test disk saved by enginectl (app/make_command_snapshots.sh), loaded by the Load command.
  void LoadCommandSnapshot(const std::string& name) {
    seams_.dialogs.Choose({os::FromUtf8(std::string(DORVANE_COMMAND_SNAPSHOTS) + "/" + name + ".vsnp")});
    frame_->SendMessage(WM_COMMAND, ID_LOAD_SNAPSHOT);
    harness::PumpFor(50);
  }
  // A click on a node's check box in the results tree.
  void ClickNodeBox(HTREEITEM node) {
    ResultTreeCtrl& tree = page_->ResultTree();
    CRect text;
    ASSERT_TRUE(tree.GetItemRect(node, text, TRUE));
    for (int x = text.left - 1; x >= 0; --x) {
      UINT flags = 0;
      if (tree.HitTest(CPoint(x, text.CenterPoint().y), &flags) == node && (flags & TVHT_ONITEMSTATEICON)) {
        harness::Click(tree.m_hWnd, POINT{x, text.CenterPoint().y});
        harness::PumpFor(50);
        return;
      }
    }
    FAIL() << "no check box on the node";
  }

  harness::ScopedSeams seams_;
  bool started_ = false;
  CMainFrame* frame_ = nullptr;
  CThirdView_HDD* page_ = nullptr;
  host::RecordingMessages messages_;
  host::RecordingSecondDisplay panel_;
  host::RecordingScanPage scanPage_;
  std::unique_ptr<host::ScopedHosts> scopedHosts_;
  DiskImage image_;
};

TEST_F(ResultsPageTest, QuickScanOfNtfsShowsTreeListAndPreviewWithDeletedItems) {
  QuickScan();
  HTREEITEM top = page_->ResultTree().CTreeCtrl::GetRootItem();
  ASSERT_NE(top, nullptr);
  page_->ResultTree().CTreeCtrl::Expand(top, TVE_EXPAND);
  // The root's deleted folder and file are listed, red; folders above files.
  const int deletedFolder = Row(u"ToDelete");
  const int deletedFile = Row(u"Deleted big file.bin");
  ASSERT_GE(deletedFolder, 0);
  ASSERT_GE(deletedFile, 0);
  EXPECT_EQ(List().GetItemText(deletedFolder, 1), u"Deleted Folder");
  EXPECT_LT(deletedFolder, Row(u"small.txt"));
  // The page's parts are laid out inside the page, below its header and above its buttons.
  CRect pageRect, listRect, previewRect, saveRect;
  page_->GetWindowRect(pageRect);
  List().GetWindowRect(listRect);
  page_->PreviewPane()->GetWindowRect(previewRect);
  page_->Button(IDC_NEXT).GetWindowRect(saveRect);
  EXPECT_TRUE(page_->PreviewPane()->IsWindowVisible());
  EXPECT_GE(listRect.top, pageRect.top + 45);
  EXPECT_LE(listRect.bottom, previewRect.top);
  EXPECT_LE(previewRect.bottom, saveRect.top);
  EXPECT_LE(saveRect.right, pageRect.right);

  // As the user sees it: a folder and a deleted file ticked, sorted by type, a file previewed.
  ClickRowBox(Row(u"Documents"));
  ClickRowBox(deletedFile);
  ClickHeader(1);  // the type column is the start column: the first click turns it
  ClickHeader(1);
  EXPECT_TRUE(page_->CurrentSort().ascending);
  ClickRow(Row(u"small.txt"));
  EXPECT_NE(ShownPath().find(u"tmp"), std::u16string::npos);
  List().EnsureVisible(0, FALSE);
  frame_->ResultsReady = 1;
  frame_->AtStart = 0;
  theApp.OnIdle(0);
  page_->Invalidate();
  harness::PumpFor(200);
  EXPECT_FALSE(harness::CaptureWindow(frame_->m_hWnd, "page4").empty());
}

// An image of a list drawn at (x, y) on a white 20 x 20 square, read back pixel by pixel.
std::vector<COLORREF> DrawnOnWhite(HIMAGELIST images, int index, int x, int y) {
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 20, 20);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  ::PatBlt(dc, 0, 0, 20, 20, WHITENESS);
  ::ImageList_Draw(images, index, dc, x, y, ILD_NORMAL);
  std::vector<COLORREF> pixels;
  for (int py = 0; py < 20; ++py) {
    for (int px = 0; px < 20; ++px) pixels.push_back(::GetPixel(dc, px, py));
  }
  ::SelectObject(dc, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(dc);
  ::ReleaseDC(nullptr, screen);
  return pixels;
}

TEST_F(ResultsPageTest, RowsShowTheShellsIconsCentredInCellsOfTwentyPixels) {
  QuickScan();
  const ui::ShellFileInfo shell;
  HIMAGELIST system = shell.GetSystemImageList(true);
  HIMAGELIST cells = ListView_GetImageList(List().m_hWnd, LVSIL_SMALL);
  ASSERT_NE(cells, nullptr);
  EXPECT_NE(cells, system);
  int cx = 0, cy = 0;
  ASSERT_TRUE(::ImageList_GetIconSize(cells, &cx, &cy));
  EXPECT_EQ(cx, 20);
  EXPECT_EQ(cy, 20);
  auto image = [&](int row) {
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    ListView_GetItem(List().m_hWnd, &item);
    return item.iImage;
  };
  // Folders share the folder's cell; each file type has one cell, made once, the rows sharing it.
  const int folder = image(Row(u"Documents"));
  const int text = image(Row(u"small.txt"));
  EXPECT_EQ(image(Row(u"ToDelete")), folder);
  EXPECT_EQ(image(Row(u"Résumé – ñandú.txt")), text);
  EXPECT_NE(text, folder);

  // The cell shows the shell's own icon with a two-pixel margin.
  const std::vector<COLORREF> ours = DrawnOnWhite(cells, text, 0, 0);
  EXPECT_EQ(ours, DrawnOnWhite(system, shell.GetIconIndex(_T("small.txt"), true), 2, 2));
  EXPECT_GE(std::count_if(ours.begin(), ours.end(), [](COLORREF c) { return c != 0xFFFFFF; }), 40);
  // Rows are as tall as the cells, and regrouping after a sort keeps each row's icon.
  CRect icon;
  ASSERT_TRUE(List().GetItemRect(Row(u"small.txt"), icon, LVIR_ICON));
  EXPECT_GE(icon.Height(), 20);
  page_->RegroupRows();
  EXPECT_EQ(image(Row(u"small.txt")), text);
  EXPECT_EQ(image(Row(u"Documents")), folder);
}

TEST_F(ResultsPageTest, SameHeaderTwiceSortsAscendingThenDescendingWithFoldersOnTopAndTicksKept) {
  QuickScan();
  ClickRowBox(Row(u"Documents"));
  ASSERT_EQ(List().RowCheck(Row(u"Documents")), 1);

  ClickHeader(0);
  EXPECT_EQ(page_->CurrentSort().column, 0);
  EXPECT_TRUE(page_->CurrentSort().ascending);
  std::vector<std::u16string> names = Names();
  // Folders first (Deep, Documents, ..., ToDelete), each part in name order.
  ASSERT_GE(names.size(), 6u);
  EXPECT_LT(Row(u"ToDelete"), Row(u"A long NTFS file name with more than twenty-six characters.txt"));
  EXPECT_LT(Row(u"Deep"), Row(u"Documents"));
  EXPECT_LT(Row(u"empty.dat"), Row(u"small.txt"));
  // The ticked folder row is still ticked, and so is its node.
  EXPECT_EQ(List().RowCheck(Row(u"Documents")), 1);
  EXPECT_EQ(List().RowCheck(Row(u"Deep")), 0);

  ClickHeader(0);
  EXPECT_FALSE(page_->CurrentSort().ascending);
  EXPECT_GT(Row(u"Deep"), Row(u"Documents"));
  EXPECT_GT(Row(u"empty.dat"), Row(u"small.txt"));
  EXPECT_LT(Row(u"ToDelete"), Row(u"small.txt"));
  EXPECT_EQ(List().RowCheck(Row(u"Documents")), 1);

  // Another column starts ascending: sizes as numbers.
  ClickHeader(2);
  EXPECT_EQ(page_->CurrentSort().column, 2);
  EXPECT_TRUE(page_->CurrentSort().ascending);
  EXPECT_LT(Row(u"empty.dat"), Row(u"small.txt"));
  EXPECT_LT(Row(u"small.txt"), Row(u"Deleted big file.bin"));
}

// Text as the lists order it: without case.
std::u16string Lower(std::u16string text) {
  for (char16_t& c : text) c = static_cast<char16_t>(::towlower(c));
  return text;
}

// Every sortable column clicked once and again (ascending, then descending), under a month-first and a day-first
// locale: the files stand in the order of what their records hold, the dates 10 January, 15 February, 2 March
// and 5 September among their times. Screenshot results_sorted_by_date_month_first.png.
TEST_F(ResultsPageTest, EveryColumnSortsByItsRecordsUnderAMonthFirstAndADayFirstLocale) {
  QuickScan();
  // The first four days a month-first reading puts in another order; the others later, in 2021.
  const auto day = [](size_t n) {
    const os::SystemTime first[] = {{2020, 1, 0, 10, 9, 5, 7, 0}, {2020, 2, 0, 15, 23, 0, 0, 0},
                                    {2020, 3, 0, 2, 0, 0, 1, 0}, {2020, 9, 0, 5, 12, 30, 0, 0}};
    if (n < 4) return first[n];
    return os::SystemTime{2021, static_cast<uint16_t>(1 + n % 12), 0, static_cast<uint16_t>(1 + n % 28),
                          static_cast<uint16_t>(n % 24), 0, 0, 0};
  };
  size_t n = 0;
  for (NtfsEntryRecord& e : NtfsEntryList) {
    if (e.parentId != records::kNtfsRootRecord) continue;
    ASSERT_TRUE(os::SystemTimeToFileTime(day(n), &e.creationTime));
    ASSERT_TRUE(os::SystemTimeToFileTime(day(n + 2), &e.modificationTime));
    ++n;
  }
  ASSERT_GE(n, 6u);
  ResultTreeCtrl& tree = page_->ResultTree();
  tree.ListNode(tree.CTreeCtrl::GetRootItem());
  harness::PumpFor(50);
  // The file rows' values in the column, top to bottom.
  const auto values = [&](int column) {
    std::vector<std::u16string> texts;
    std::vector<uint64_t> numbers;
    for (int row = 0; row < List().CTKListCtrl::GetItemCount(); ++row) {
      const NtfsEntryRecord* e = List().Kind(row) == results::RowKind::kFile ? EntryOfRow(row) : nullptr;
      if (e == nullptr) continue;
      texts.push_back(Lower(column == 0 ? e->name : List().GetItemText(static_cast<uint32_t>(row), 1)));
      const uint64_t number[] = {0, 0, e->size, e->creationTime, e->modificationTime, e->id};
      numbers.push_back(number[column]);
    }
    return std::make_pair(texts, numbers);
  };
  for (const wchar_t* format : {L"M/d/yyyy", L"dd/MM/yyyy"}) {
    harness::ScopedUserDateFormat locale(format);
    for (int column = 0; column < 6; ++column) {
      for (int click = 0; click < 2; ++click) {
        ClickHeader(column);
        const bool ascending = page_->CurrentSort().ascending;
        auto [texts, numbers] = values(column);
        if (!ascending) {
          std::reverse(texts.begin(), texts.end());
          std::reverse(numbers.begin(), numbers.end());
        }
        const bool ordered = column < 2 ? std::is_sorted(texts.begin(), texts.end())
                                        : std::is_sorted(numbers.begin(), numbers.end());
        EXPECT_TRUE(ordered) << "column " << column << (ascending ? " ascending " : " descending ")
                             << (format[0] == L'M' ? "month first" : "day first");
      }
    }
    if (std::wstring(format) == L"M/d/yyyy") {
      while (page_->CurrentSort().column != 3 || !page_->CurrentSort().ascending) ClickHeader(3);
      ListView_Scroll(List().m_hWnd, -::GetScrollPos(List().m_hWnd, SB_HORZ), 0);
      harness::PumpFor(50);
      EXPECT_FALSE(harness::CaptureWindow(frame_->m_hWnd, "results_sorted_by_date_month_first").empty());
    }
  }
}

// After a header click the file the preview shows is the one highlighted, wherever the sort put it.
TEST_F(ResultsPageTest, TheHighlightStaysOnThePreviewedFileThroughASort) {
  QuickScan();
  const std::u16string name = u"small.txt";
  ClickRow(Row(name));
  const std::u16string shown = ShownPath();
  ASSERT_FALSE(shown.empty());
  for (int column : {0, 0, 2, 1}) {
    ClickHeader(column);
    const int selected = List().GetNextItem(-1, LVNI_SELECTED);
    ASSERT_GE(selected, 0);
    EXPECT_EQ(List().GetItemText(static_cast<uint32_t>(selected), 0), name) << column;
    EXPECT_EQ(List().GetNextItem(-1, LVNI_FOCUSED), selected) << column;
    EXPECT_EQ(List().GetNextItem(selected, LVNI_SELECTED), -1) << column;
    EXPECT_EQ(ShownPath(), shown);
  }
}

// The listing tests' NTFS volume: a file of three names (hard links) and a last write time never set.
std::string ListingVolume() {
  const std::string expected = DORVANE_LISTING_EXPECTED;
  return expected.substr(0, expected.find_last_of("/\\") + 1) + "listing_sparse.fixed.vhd";
}

// A time as the order of the lists' dates has it: a time never set, or one no calendar holds, shows nothing
// and comes before every date.
int64_t DateOrder(uint64_t time) { return time == 0 || (time >> 63) != 0 ? -1 : static_cast<int64_t>(time); }

// After every header click the selection mark, the row Space, F2 and the context menu act on, is the row the
// user pointed at, wherever the sort and the regrouping put it: in the root (folders with subfolders, "Lost
// Dir" whose times no volume set, a file whose creation time no calendar holds) and in a folder where a file
// has two names, the second of them marked. The rows' times stand in their order, those that show nothing
// first. Space then ticks the marked row and nothing else.
TEST_F(ResultsPageTest, TheSelectionMarkMovesWithItsRowThroughEverySort) {
  QuickScan(ListingVolume());
  for (NtfsEntryRecord& e : NtfsEntryList) {
    if (e.name == u"Huge sparse file.bin") e.creationTime = 0x8000000000000000ull;  // a torn record's time
  }
  ResultTreeCtrl& tree = page_->ResultTree();
  tree.ListNode(tree.CTreeCtrl::GetRootItem());
  harness::PumpFor(50);
  const auto timesInOrder = [&](int column, bool ascending) {
    for (const results::RowKind kind : {results::RowKind::kFolder, results::RowKind::kFile}) {
      std::vector<int64_t> order;
      for (int row = 0; row < List().CTKListCtrl::GetItemCount(); ++row) {
        if (List().Kind(row) != kind) continue;
        uint64_t time = 0;
        if (kind == results::RowKind::kFile) {
          const NtfsEntryRecord* e = EntryOfRow(row);
          if (e == nullptr) continue;
          time = column == 3 ? e->creationTime : e->modificationTime;
        } else {
          const NtfsFolderRecord* f = FindNtfsFolderByTreeKey(
              static_cast<host::TreeKey>(std::stoul(os::ToUtf8(List().GetItemText(static_cast<uint32_t>(row), 5)))));
          if (f == nullptr) continue;
          time = column == 3 ? f->creationTime : f->modificationTime;
        }
        EXPECT_EQ(List().GetItemText(static_cast<uint32_t>(row), static_cast<uint32_t>(column)).empty(),
                  DateOrder(time) < 0);
        order.push_back(DateOrder(time));
      }
      if (!ascending) std::reverse(order.begin(), order.end());
      EXPECT_TRUE(std::is_sorted(order.begin(), order.end()))
          << "column " << column << (ascending ? " ascending" : " descending");
    }
  };
  const auto sortEveryColumn = [&](const std::u16string& marked) {
    // The names in sight (a click on a header scrolls the list to show its column).
    ListView_Scroll(List().m_hWnd, -::GetScrollPos(List().m_hWnd, SB_HORZ), 0);
    ClickRow(Row(marked));
    ASSERT_EQ(List().GetSelectionMark(), Row(marked));
    for (int column = 0; column < 6; ++column) {
      for (int click = 0; click < 2; ++click) {
        ClickHeader(column);
        const int mark = List().GetSelectionMark();
        ASSERT_GE(mark, 0);
        EXPECT_EQ(List().GetItemText(static_cast<uint32_t>(mark), 0), marked) << "column " << column;
        EXPECT_EQ(List().GetNextItem(-1, LVNI_FOCUSED), mark) << "column " << column;
        if (column == 3 || column == 4) timesInOrder(column, page_->CurrentSort().ascending);
      }
    }
    harness::PressKey(List().m_hWnd, VK_SPACE);
    harness::PumpFor(50);
    for (int row = 0; row < List().CTKListCtrl::GetItemCount(); ++row) {
      const std::u16string name = List().GetItemText(static_cast<uint32_t>(row), 0);
      if (List().Kind(row) == results::RowKind::kFolder) {
        EXPECT_EQ(List().RowCheck(row), 0) << os::ToUtf8(name);
      }
    }
    EXPECT_EQ(List().RowCheck(Row(marked)), 1);
  };
  ASSERT_GE(Row(u"Lost Dir"), 0);
  EXPECT_TRUE(List().GetItemText(static_cast<uint32_t>(Row(u"Lost Dir")), 3).empty());
  sortEveryColumn(u"notes.TXT");

  HTREEITEM nested = tree.CTreeCtrl::GetChildItem(tree.CTreeCtrl::GetRootItem());
  while (nested != nullptr && tree.CTreeCtrl::GetItemText(nested) != _T("Nested")) {
    nested = tree.CTreeCtrl::GetNextSiblingItem(nested);
  }
  ASSERT_NE(nested, nullptr);
  tree.ListNode(nested);
  harness::PumpFor(50);
  // Both names of the file, one id: the mark stays on the name the user pointed at.
  ASSERT_GE(Row(u"readme.txt"), 0);
  ASSERT_GE(Row(u"Deeper"), 0);
  ASSERT_EQ(List().GetItemText(static_cast<uint32_t>(Row(u"readme.txt")), 5),
            List().GetItemText(static_cast<uint32_t>(Row(u"readme, second name.txt")), 5));
  sortEveryColumn(u"readme, second name.txt");
}

// The listing volume's readme.txt has a name in Nested and one of the same text in Nested/Deeper. Renamed on
// Deeper's list, that name alone takes the new name, also in a snapshot saved after it and loaded again; and
// "Parent..." above it (the renamed row sorted first) goes up to Nested, the folder that holds Deeper.
TEST_F(ResultsPageTest, ANameOfAFileOfSeveralNamesRenamedIsThatRowsAloneAlsoInItsSnapshot) {
  QuickScan(ListingVolume());
  ResultTreeCtrl& tree = page_->ResultTree();
  const auto child = [&tree](HTREEITEM parent, const CString& text) {
    HTREEITEM node = tree.CTreeCtrl::GetChildItem(parent);
    while (node != nullptr && tree.CTreeCtrl::GetItemText(node) != text) node = tree.CTreeCtrl::GetNextSiblingItem(node);
    return node;
  };
  const auto list = [&](const std::vector<CString>& path) {
    HTREEITEM node = tree.CTreeCtrl::GetRootItem();
    for (const CString& name : path) node = node != nullptr ? child(node, name) : nullptr;
    EXPECT_NE(node, nullptr);
    if (node != nullptr) tree.ListNode(node);
    harness::PumpFor(50);
    return node;
  };
  const auto holds = [&](const std::u16string& name) { return Row(name) >= 0; };
  const std::u16string renamed = u"0 readme.txt";  // sorted before every other name, whatever the case
  list({_T("Nested"), _T("Deeper")});
  ASSERT_GE(Row(u"readme.txt"), 0);
  List().SetFocus();
  CEdit* edit = List().EditLabel(Row(u"readme.txt"));
  ASSERT_NE(edit, nullptr);
  edit->SetWindowText(reinterpret_cast<const wchar_t*>(renamed.c_str()));
  tree.CTreeCtrl::SetFocus();  // the edit loses the focus and ends, keeping its text
  harness::PumpFor(50);

  const auto renamedAlone = [&](const char* when) {
    SCOPED_TRACE(when);
    list({_T("Nested"), _T("Deeper")});
    EXPECT_TRUE(holds(renamed));
    EXPECT_FALSE(holds(u"readme.txt"));
    list({_T("Nested")});
    EXPECT_TRUE(holds(u"readme.txt"));
    EXPECT_TRUE(holds(u"readme, second name.txt"));
    EXPECT_FALSE(holds(renamed));
  };
  renamedAlone("renamed");

  HTREEITEM nested = list({_T("Nested")});
  list({_T("Nested"), _T("Deeper")});
  for (int click = 0; click < 2 && !(page_->CurrentSort().column == 0 && page_->CurrentSort().ascending); ++click) {
    ClickHeader(0);
  }
  ASSERT_EQ(List().GetItemText(1, 0), renamed);
  CRect rect;
  List().GetItemRect(0, rect, LVIR_LABEL);
  List().SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(rect.CenterPoint().x, rect.CenterPoint().y));
  harness::PumpFor(50);
  EXPECT_TRUE(holds(u"Deeper"));
  EXPECT_TRUE(holds(u"readme, second name.txt"));
  EXPECT_EQ(tree.GetSelectedItem(), nested);

  const std::u16string out = os::ProcessTempPath(u"renamed_link");
  const std::u16string path = out + u"\\renamed.vsnp";
  os::RemoveFile(path);
  os::CreateFolder(out);
  seams_.dialogs.Choose({path});
  frame_->SendMessage(WM_COMMAND, ID_SAVE_SNAPSHOT);
  seams_.dialogs.Choose({path});
  frame_->SendMessage(WM_COMMAND, ID_LOAD_SNAPSHOT);
  harness::PumpFor(50);
  EXPECT_TRUE(messages_.shown.empty());
  renamedAlone("saved in a snapshot and loaded");
  os::RemoveFile(path);
  os::RemoveFolder(out);
}

// Back to page 2 after a Quick Scan or a File Trace: the partition is taken anew there, and Drive Information
// tells of no file system until the next scan reads one (not the last one's values with "0" files).
TEST_F(ResultsPageTest, AfterBackToPageTwoDriveInformationShowsNothing) {
  for (const uint32_t mode : {records::kQuickScan, records::kFileTrace}) {
    SCOPED_TRACE(mode);
    QuickScan();
    ASSERT_EQ(CurrentFileSystem.type, records::kNtfs);
    RecoveryMode = mode;
    page_->OnBack();
    harness::PumpFor(50);
    std::vector<std::wstring> values;
    harness::ModalScript script;
    script.OnWindow(L"Drive Information", [&](HWND dialog) {
      for (int i = 0; i < 8; ++i) values.push_back(harness::Text(harness::Control(dialog, IDC_DRIVE_VALUE_1 + i)));
      harness::PostCommand(dialog, IDOK);
    });
    script.Start();
    frame_->SendMessage(WM_COMMAND, ID_DRIVE_INFORMATION);
    EXPECT_TRUE(script.Finished()) << script.Failure();
    EXPECT_EQ(values, std::vector<std::wstring>(8)) << (values.empty() ? L"" : values[0]);
  }
}

TEST_F(ResultsPageTest, TheHeadersMenuSortsInTheDirectionChosenAndShowsItsArrow) {
  QuickScan();
  HeaderMenuCommand(0, ID_TK_SORT_DESCENDING);
  EXPECT_EQ(page_->CurrentSort().column, 0);
  EXPECT_FALSE(page_->CurrentSort().ascending);
  EXPECT_GT(Row(u"Deep"), Row(u"Documents"));
  EXPECT_LT(Row(u"ToDelete"), Row(u"small.txt"));  // folders stay on top
  auto* header = static_cast<CTKHeaderCtrl*>(CWnd::FromHandlePermanent(ListView_GetHeader(List().m_hWnd)));
  ASSERT_NE(header, nullptr);
  BOOL ascending = TRUE;
  EXPECT_EQ(header->GetSortImage(&ascending), 0);
  EXPECT_FALSE(ascending);
  // Chosen again it changes nothing; a click on the header then turns the order.
  HeaderMenuCommand(0, ID_TK_SORT_DESCENDING);
  EXPECT_FALSE(page_->CurrentSort().ascending);
  ClickHeader(0);
  EXPECT_TRUE(page_->CurrentSort().ascending);
  // Sort Ascending on another column starts it ascending, with the arrow there.
  HeaderMenuCommand(1, ID_TK_SORT_ASCENDING);
  EXPECT_EQ(page_->CurrentSort().column, 1);
  EXPECT_TRUE(page_->CurrentSort().ascending);
  EXPECT_EQ(header->GetSortImage(&ascending), 1);
  EXPECT_TRUE(ascending);
}

TEST_F(ResultsPageTest, AFileRowIsWrittenOnceToATemporaryFileThePreviewShowsAndBackDeletesIt) {
  QuickScan();
  const std::u16string longName = u"A long NTFS file name with more than twenty-six characters.txt";
  // A save stopped by the answer No leaves its abort flag set: previews are written all the same.
  SaveAbortFlag = 1;
  // The row above, then Down: the key previews the row it moves to.
  ASSERT_GT(Row(longName), 0);
  ClickRow(Row(longName) - 1);
  List().SetFocus();
  harness::PressKey(List().m_hWnd, VK_DOWN);
  harness::PumpFor(100);
  const std::u16string shown = ShownPath();
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.rfind(os::TempFolderPath(), 0), 0u) << os::ToUtf8(shown);
  EXPECT_EQ(page_->PreviewPane()->GetShownExtension(), CString(_T(".txt")));
  EXPECT_EQ(PreviewItemPath, u"\\" + longName);
  const std::string bytes = ReadFile(os::ToUtf8(shown));
  EXPECT_EQ(bytes.size(), 20000u);
  EXPECT_EQ(Sha256(bytes), ManifestSha256(os::ToUtf8(longName)));
  // Its name is kept for deleting.
  const std::vector<std::u16string> names = PreviewTempFileTable;
  ASSERT_FALSE(names.empty());
  EXPECT_EQ(names.back(), shown);

  // The same file again is not written again: no new name, the same file shown.
  ClickRow(Row(longName));
  EXPECT_EQ(ShownPath(), shown);
  EXPECT_EQ(PreviewTempFileTable, names);

  // A deleted file in a folder, and where it lies.
  HTREEITEM documents = nullptr;
  for (HTREEITEM n = page_->ResultTree().CTreeCtrl::GetChildItem(page_->ResultTree().CTreeCtrl::GetRootItem());
       n != nullptr; n = page_->ResultTree().CTreeCtrl::GetNextSiblingItem(n)) {
    if (page_->ResultTree().CTreeCtrl::GetItemText(n) == CString(_T("Documents"))) documents = n;
  }
  ASSERT_NE(documents, nullptr);
  page_->ResultTree().ListNode(documents);
  ClickRow(Row(u"old draft.txt"));
  const std::u16string draft = ShownPath();
  EXPECT_NE(draft, shown);
  EXPECT_EQ(PreviewItemPath, u"\\Documents\\old draft.txt");
  EXPECT_EQ(Sha256(ReadFile(os::ToUtf8(draft))), ManifestSha256("Documents/old draft.txt"));

  // "Parent..." empties the preview.
  ClickRow(0);
  EXPECT_TRUE(ShownPath().empty());

  // Back deletes the temporary files and goes to the scan page.
  harness::ClickCentre(page_->Button(IDC_BACK).m_hWnd);
  harness::PumpFor(100);
  EXPECT_FALSE(os::FileExists(shown));
  EXPECT_FALSE(os::FileExists(draft));
  EXPECT_EQ(theApp.CurrentPage, static_cast<UINT>(kPageScan));
  // The preview pane had become the frame's active view; the page shown all the same is the scan page.
  EXPECT_FALSE(page_->IsWindowVisible());
  EXPECT_TRUE(theApp.PageViews[kPageScan]->IsWindowVisible());
  EXPECT_EQ(List().CTKListCtrl::GetItemCount(), 0);
  EXPECT_EQ(page_->ResultTree().CTreeCtrl::GetCount(), 0u);
}

// The pages as a scan or a reading of a file system leaves them: Stop shown, the navigation hidden.
void LeaveMidWork(CSecondView_HDD* scan, CFileSystemView* fileSystems) {
  for (UINT id : {IDC_NEXT, IDC_BACK, IDC_HOME}) {
    scan->Button(id).ShowWindow(SW_HIDE);
    fileSystems->Button(id).ShowWindow(SW_HIDE);
  }
  scan->Button(IDC_STOP).ShowWindow(SW_SHOW);
  fileSystems->Button(IDC_STOP).ShowWindow(SW_SHOW);
  fileSystems->Form().SetStatusText(u"Reading");
  fileSystems->Form().SetProgressPos(40);
  scan->Panel().SetStatusText(u"Scanning");
  scan->Panel().SetProgressPos(60);
}

// Next, Back and Home shown and enabled, Stop hidden and disabled.
void ExpectReadyToGoOn(CWnd& next, CWnd& back, CWnd& home, CWnd& stop) {
  for (CWnd* button : {&next, &back, &home}) {
    EXPECT_TRUE(button->IsWindowVisible());
    EXPECT_TRUE(button->IsWindowEnabled());
  }
  EXPECT_FALSE(stop.IsWindowVisible());
  EXPECT_FALSE(stop.IsWindowEnabled());
}

TEST_F(ResultsPageTest, EachBackOnTheWayHomeLeavesItsPageAsBeforeItsWork) {
  ASSERT_TRUE(started_);
  auto* scan = static_cast<CSecondView_HDD*>(theApp.PageViews[kPageScan]);
  auto* fileSystems = static_cast<CFileSystemView*>(theApp.PageViews[kPageFileSystems]);
  ASSERT_NE(scan, nullptr);
  ASSERT_NE(fileSystems, nullptr);
  const auto expectScanPageReady = [&] {
    EXPECT_EQ(theApp.CurrentPage, static_cast<UINT>(kPageScan));
    ExpectReadyToGoOn(scan->Button(IDC_NEXT), scan->Button(IDC_BACK), scan->Button(IDC_HOME), scan->Button(IDC_STOP));
    // The scan panel's status text emptied and its bar at 0.
    EXPECT_TRUE(scan->Panel().StatusText().IsEmpty());
    EXPECT_EQ(scan->Panel().ProgressBar().GetPos(), 0);
  };
  const auto pressBack = [](CView* page) {
    page->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BACK, BN_CLICKED),
                      reinterpret_cast<LPARAM>(::GetDlgItem(page->m_hWnd, IDC_BACK)));
    harness::PumpFor(50);
  };

  // Extensive Scan: page 3 as before the file system was read, then page 2 as before the scan.
  LeaveMidWork(scan, fileSystems);
  ShowResultsPage(records::kExtensiveScan);
  page_->OnBack();
  harness::PumpFor(50);
  EXPECT_EQ(theApp.CurrentPage, static_cast<UINT>(kPageFileSystems));
  ExpectReadyToGoOn(fileSystems->Button(IDC_NEXT), fileSystems->Button(IDC_BACK), fileSystems->Button(IDC_HOME),
                    fileSystems->Button(IDC_STOP));
  CString status;
  fileSystems->Form().StatusLine().GetWindowText(status);
  EXPECT_TRUE(status.IsEmpty());
  EXPECT_EQ(fileSystems->Form().ProgressBar().GetPos(), 0);
  // The disk's scanned range comes back on page 2 as a partition: its end and its size in MB.
  SourceKind = kSourceDisk;
  ScanRange = ScanRangeRecord{records::kFat16, 100, 4096, 4195, 0};
  pressBack(fileSystems);
  expectScanPageReady();
  EXPECT_EQ(std::wstring(scan->Panel().RowValue(0).GetString()), L"FAT16");
  EXPECT_EQ(std::wstring(scan->Panel().RowValue(1).GetString()), L"100");
  EXPECT_EQ(std::wstring(scan->Panel().RowValue(2).GetString()), L"4195");
  EXPECT_EQ(std::wstring(scan->Panel().RowValue(3).GetString()), L"2 MB (Approx)");
  pressBack(scan);
  EXPECT_EQ(theApp.CurrentPage, static_cast<UINT>(kPageSource));
  pressBack(theApp.PageViews[kPageSource]);
  EXPECT_EQ(theApp.CurrentPage, static_cast<UINT>(kPageImage));

  // Quick Scan and File Trace: page 2 as before the scan.
  for (uint32_t mode : {records::kQuickScan, records::kFileTrace}) {
    SCOPED_TRACE(mode);
    LeaveMidWork(scan, fileSystems);
    ShowResultsPage(mode);
    page_->OnBack();
    harness::PumpFor(50);
    expectScanPageReady();
  }

  // Home from every mode ends on the first page.
  for (uint32_t mode : {records::kQuickScan, records::kExtensiveScan, records::kFileTrace}) {
    ShowResultsPage(mode);
    page_->OnHome();
    EXPECT_EQ(theApp.CurrentPage, static_cast<UINT>(kPageImage)) << mode;
  }
}

// Back forgets which folders were drawn red: the live folders of the next results are drawn plain, even
// where the tree hands out a deleted folder's old handle again.
TEST_F(ResultsPageTest, BackForgetsWhichFoldersWereDrawnRed) {
  ASSERT_TRUE(started_);
  ResultTreeCtrl& tree = page_->ResultTree();
  const auto fill = [this, &tree](bool deleted) {
    ShowResultsPage(records::kQuickScan);
    const host::TreeKey root = tree.AddItem(u"Root", host::kNoTreeKey, host::TreeImage::kDrive, false);
    std::vector<HTREEITEM> folders;
    for (int i = 0; i < 20; ++i) {
      const host::TreeKey folder =
          tree.AddItem(u"Folder " + os::FromAscii(std::to_string(i)), root, host::TreeImage::kFolder, deleted);
      folders.push_back(ResultTreeCtrl::Handle(folder));
    }
    return folders;
  };
  const std::vector<HTREEITEM> gone = fill(true);
  for (HTREEITEM folder : gone) ASSERT_TRUE(tree.IsDrawnDeleted(folder));
  page_->OnBack();
  for (HTREEITEM folder : gone) EXPECT_FALSE(tree.IsDrawnDeleted(folder));
  for (HTREEITEM folder : fill(false)) EXPECT_FALSE(tree.IsDrawnDeleted(folder));
  page_->OnBack();
}

// A key as the user presses it: to the window that has the focus, through the program's message loop.
void PressOnFocus(UINT key) {
  const HWND focus = ::GetFocus();
  const LPARAM down = 1 | (static_cast<LPARAM>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16);
  ::PostMessageW(focus, WM_KEYDOWN, key, down);
  ::PostMessageW(focus, WM_KEYUP, key, down | (1 << 30) | (1u << 31));
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) theApp.PumpMessage();
}

// Keys go to the window that has the focus, as the user's do: the page shown, then Save and Back in turn.
TEST_F(ResultsPageTest, TabWalksTreeSaveBackAndEnterPressesTheHighlightedButton) {
  ASSERT_TRUE(started_);
  auto pushed = [this](UINT id) { return (page_->Button(id).SendMessage(BM_GETSTATE) & BST_PUSHED) != 0; };
  ShowResultsPage(records::kQuickScan);
  ASSERT_EQ(::GetFocus(), page_->m_hWnd);
  PressOnFocus(VK_TAB);
  EXPECT_TRUE(pushed(IDC_NEXT));
  EXPECT_EQ(::GetFocus(), page_->Button(IDC_NEXT).m_hWnd);
  PressOnFocus(VK_TAB);
  EXPECT_FALSE(pushed(IDC_NEXT));
  EXPECT_TRUE(pushed(IDC_BACK));
  PressOnFocus(VK_TAB);
  EXPECT_FALSE(pushed(IDC_BACK));
  EXPECT_EQ(::GetFocus(), page_->ResultTree().m_hWnd);

  // The page shown again: Tab twice and Enter press Back.
  theApp.SwitchView(kPageScan);
  ShowResultsPage(records::kQuickScan);
  ASSERT_EQ(::GetFocus(), page_->m_hWnd);
  PressOnFocus(VK_TAB);
  PressOnFocus(VK_TAB);
  EXPECT_EQ(::GetFocus(), page_->Button(IDC_NEXT).m_hWnd);
  EXPECT_TRUE(pushed(IDC_BACK));
  PressOnFocus(VK_RETURN);
  EXPECT_EQ(theApp.CurrentPage, static_cast<UINT>(kPageScan));
}

// Close of "File Filters" lists the root again with the top node selected, and its rows keep their ticks.
TEST_F(ResultsPageTest, ClosingTheFileFiltersSelectsTheRootAndKeepsItsTicks) {
  QuickScan();
  ResultTreeCtrl& tree = page_->ResultTree();
  const int small = Row(u"small.txt");
  ASSERT_GE(small, 0);
  ClickRowBox(small);
  ASSERT_EQ(List().RowCheck(small), 1);
  // A folder listed: the tree's highlight moves to it.
  HTREEITEM top = tree.CTreeCtrl::GetRootItem();
  tree.CTreeCtrl::Expand(top, TVE_EXPAND);
  HTREEITEM documents = tree.FindChild(top, u"Documents");
  ASSERT_NE(documents, nullptr);
  CRect label;
  tree.GetItemRect(documents, label, TRUE);
  harness::Click(tree.m_hWnd, POINT{label.CenterPoint().x, label.CenterPoint().y});
  ASSERT_EQ(tree.GetSelectedItem(), documents);
  ASSERT_EQ(Row(u"small.txt"), -1);

  harness::ModalScript close;
  close.OnWindow(L"File Filters", [](HWND dialog) { harness::ClickCentre(harness::Control(dialog, IDCANCEL)); });
  close.Start();
  frame_->SendMessage(WM_COMMAND, ID_FILE_FILTERS);
  EXPECT_TRUE(close.Finished()) << close.Failure();
  harness::PumpFor(50);
  EXPECT_EQ(tree.GetSelectedItem(), top);
  EXPECT_EQ(::GetFocus(), tree.m_hWnd);
  ASSERT_GE(Row(u"small.txt"), 0);
  EXPECT_EQ(List().RowCheck(Row(u"small.txt")), 1);
  EXPECT_EQ(List().RowCheck(Row(u"Documents")), 0);
}

TEST_F(ResultsPageTest, SaveWithNothingTickedAsksForMarks) {
  QuickScan();
  seams_.boxes.Answer(seams::kOk);
  harness::ClickCentre(page_->Button(IDC_NEXT).m_hWnd);
  harness::PumpFor(100);
  ASSERT_EQ(seams_.boxes.Log().size(), 1u);
  EXPECT_EQ(seams_.boxes.Log()[0].text,
            u"Please mark the file(s) and folder(s) that you want to save\r\nby clicking on check box.");
  EXPECT_EQ(seams_.boxes.Log()[0].kind(), 1u);
  EXPECT_TRUE(seams_.dialogs.FolderRequests().empty());
}

// Save All asks for a folder and saves what is ticked there; a folder dialog cancelled starts no save.
TEST_F(ResultsPageTest, SaveAllSavesTheTickedItemsAndCancellingTheFolderStartsNothing) {
  QuickScan();
  const std::u16string longName = u"A long NTFS file name with more than twenty-six characters.txt";
  ASSERT_GE(Row(longName), 0);
  ClickRowBox(Row(longName));
  const std::u16string out = os::ProcessTempPath(u"save_all");
  const std::u16string saved = out + u"\\" + longName;
  os::RemoveFile(saved);  // what an earlier run may have left
  os::RemoveFolder(out);
  ASSERT_TRUE(os::CreateFolder(out));

  // Cancelled: no saving dialog, no file, no report.
  frame_->SendMessage(WM_COMMAND, ID_SAVE_ALL);
  harness::PumpFor(100);
  EXPECT_EQ(seams_.dialogs.FolderRequests().size(), 1u);
  EXPECT_TRUE(seams_.boxes.Log().empty());
  EXPECT_EQ(::FindWindowW(nullptr, L"Saving the data please wait"), nullptr);
  EXPECT_FALSE(os::FileExists(saved));

  EXPECT_TRUE(messages_.shown.empty());

  // A folder chosen: the saving dialog saves the ticked file and reports success.
  seams_.dialogs.ChooseFolderPath(out);
  frame_->SendMessage(WM_COMMAND, ID_SAVE_ALL);
  harness::PumpFor(100);
  EXPECT_EQ(seams_.dialogs.FolderRequests().size(), 2u);
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text, u" Files Saved successfully.");
  EXPECT_EQ(Sha256(ReadFile(os::ToUtf8(saved))), ManifestSha256(os::ToUtf8(longName)));
  os::RemoveFile(saved);
  os::RemoveFolder(out);
}

// A snapshot of the scan loaded over its image, a file ticked, then a truncated snapshot and one of another
// source: each is refused with its message and the results stay, with their tick, so that Save All saves
// the ticked file with the image's bytes.
TEST_F(ResultsPageTest, ARefusedSnapshotLeavesTheResultsAndTheirTicksToSave) {
  QuickScan();
  const std::u16string out = os::ProcessTempPath(u"refused_load");
  const std::u16string good = out + u"\\scan.vsnp";
  const std::u16string longName = u"A long NTFS file name with more than twenty-six characters.txt";
  const std::u16string saved = out + u"\\save\\" + longName;
  for (const std::u16string& file : {saved, good, out + u"\\cut.vsnp", out + u"\\other.vsnp"}) os::RemoveFile(file);
  os::RemoveFolder(out + u"\\save");
  os::CreateFolder(out);
  ASSERT_TRUE(os::CreateFolder(out + u"\\save"));
  seams_.dialogs.Choose({good});
  frame_->SendMessage(WM_COMMAND, ID_SAVE_SNAPSHOT);
  seams_.dialogs.Choose({good});
  frame_->SendMessage(WM_COMMAND, ID_LOAD_SNAPSHOT);
  harness::PumpFor(50);
  ASSERT_TRUE(messages_.shown.empty());
  ASSERT_GE(Row(longName), 0);
  ClickRowBox(Row(longName));
  const std::vector<std::u16string> names = Names();

  const std::string bytes = ReadFile(os::ToUtf8(good));
  std::ofstream(os::ToUtf8(out + u"\\cut.vsnp"), std::ios::binary) << bytes.substr(0, bytes.size() / 2);
  std::ofstream(os::ToUtf8(out + u"\\other.vsnp"), std::ios::binary)
      << SnapshotBytesFromTestData("extensive_ntfs.vsnp.hex");
  seams_.boxes.Answer(seams::kOk);
  for (const char16_t* refused : {u"\\cut.vsnp", u"\\other.vsnp"}) {
    seams_.dialogs.Choose({out + refused});
    frame_->SendMessage(WM_COMMAND, ID_LOAD_SNAPSHOT);
    harness::PumpFor(50);
    EXPECT_EQ(RecoveryMode, records::kQuickScan);
    EXPECT_EQ(Names(), names);
    EXPECT_EQ(List().RowCheck(Row(longName)), 1);
  }
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text.rfind(u"The recovery snapshot file is damaged: ", 0), 0u);
  ASSERT_EQ(seams_.boxes.Log().size(), 1u);
  EXPECT_EQ(seams_.boxes.Log()[0].text, u"Source file and load recovery snapshot mismatch");

  messages_.shown.clear();
  seams_.dialogs.ChooseFolderPath(out + u"\\save");
  frame_->SendMessage(WM_COMMAND, ID_SAVE_ALL);
  harness::PumpFor(100);
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text, u" Files Saved successfully.");
  EXPECT_EQ(Sha256(ReadFile(os::ToUtf8(saved))), ManifestSha256(os::ToUtf8(longName)));
  for (const std::u16string& file : {saved, good, out + u"\\cut.vsnp", out + u"\\other.vsnp"}) os::RemoveFile(file);
  os::RemoveFolder(out + u"\\save");
  os::RemoveFolder(out);
}

// The selected size goes into static 61488, which the page keeps at zero size.
TEST_F(ResultsPageTest, TheSelectedSizeIsTheTextOfStatic61488) {
  QuickScan();
  const std::u16string name = u"A long NTFS file name with more than twenty-six characters.txt";
  const int row = Row(name);
  ASSERT_GE(row, 0);
  NtfsEntryRecord* entry = EntryOfRow(row);
  ASSERT_NE(entry, nullptr);
  entry->size = 7 * 1048576 + 5;
  ClickRowBox(row);
  page_->ResultTree().UpdateSelectedSize();
  CWnd* summary = page_->GetDlgItem(IDC_SELECTED_SIZE);
  ASSERT_NE(summary, nullptr);
  CString text;
  summary->GetWindowText(text);
  EXPECT_EQ(text, CString(_T("Selected Size : 7 MB")));
  CRect rect;
  summary->GetWindowRect(rect);
  EXPECT_TRUE(rect.IsRectEmpty());
  entry->size = 20000;
}

// Below the rows the list shows its tile (bitmap 160): near-white paper with a dot every 16 pixels.
TEST_F(ResultsPageTest, TheListShowsItsTiledBackgroundBelowTheRows) {
  QuickScan();
  HTREEITEM documents = nullptr;
  ResultTreeCtrl& tree = page_->ResultTree();
  for (HTREEITEM n = tree.CTreeCtrl::GetChildItem(tree.CTreeCtrl::GetRootItem()); n != nullptr;
       n = tree.CTreeCtrl::GetNextSiblingItem(n)) {
    if (tree.CTreeCtrl::GetItemText(n) == CString(_T("Documents"))) documents = n;
  }
  ASSERT_NE(documents, nullptr);
  tree.ListNode(documents);
  List().RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  harness::PumpFor(100);
  EXPECT_FALSE(harness::CaptureWindow(frame_->m_hWnd, "page4_list_background").empty());
  CRect last;
  ASSERT_TRUE(List().GetItemRect(List().CTKListCtrl::GetItemCount() - 1, last, LVIR_BOUNDS));
  CRect client;
  List().GetClientRect(client);
  ASSERT_GT(client.bottom - last.bottom, 40);
  int paper = 0, dots = 0, other = 0;
  HDC dc = ::GetDC(List().m_hWnd);
  for (int y = last.bottom + 4; y < client.bottom - 4; ++y) {
    for (int x = client.left + 4; x < client.right - 4; x += 3) {
      const COLORREF c = ::GetPixel(dc, x, y);
      if (c == RGB(254, 253, 249)) {
        ++paper;
      } else if (c == RGB(238, 232, 214)) {
        ++dots;
      } else {
        ++other;
      }
    }
  }
  ::ReleaseDC(List().m_hWnd, dc);
  EXPECT_GT(paper, 10 * (dots + other));
  EXPECT_GT(dots, 0);
}

// Pages 1, 2 and 3 draw their bars alike: at 50 % the percentage is white over the blue ramp and dark blue
// over the rest.
TEST_F(ResultsPageTest, EveryPagesBarWritesItsPercentageWhiteOnTheBarAndDarkBlueBeside) {
  ASSERT_TRUE(started_);
  auto* source = static_cast<CFirstView_HDD*>(theApp.PageViews[kPageSource]);
  auto* scan = static_cast<CSecondView_HDD*>(theApp.PageViews[kPageScan]);
  auto* fileSystems = static_cast<CFileSystemView*>(theApp.PageViews[kPageFileSystems]);
  const struct {
    const char* page;
    GradientProgressCtrl* bar;
  } bars[] = {{"source", &source->Panel().Progress()},
              {"scan", &scan->Panel().ProgressBar()},
              {"file systems", &fileSystems->Form().ProgressBar()}};
  for (const auto& entry : bars) {
    SCOPED_TRACE(entry.page);
    GradientProgressCtrl& bar = *entry.bar;
    // Drawn on its own, in a window of the test's, at a known size.
    CWnd* parent = bar.GetParent();
    CRect saved;
    bar.GetWindowRect(saved);
    parent->ScreenToClient(saved);
    const bool shown = bar.IsWindowVisible() != FALSE;
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), _T("Bar"), WS_POPUP | WS_VISIBLE, 50, 50, 260, 40, nullptr,
                              nullptr));
    bar.SetParent(&host);
    bar.MoveWindow(10, 10, 240, 22);
    bar.ShowWindow(SW_SHOW);
    bar.SetRange(0, 100);
    bar.SetPos(50);
    bar.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    harness::PumpFor(50);
    int white = 0, darkBlue = 0, ramp = 0;
    HDC dc = ::GetDC(bar.m_hWnd);
    for (int y = 2; y < 18; ++y) {
      for (int x = 2; x < 236; ++x) {
        const COLORREF c = ::GetPixel(dc, x, y);
        if (x < 118 && c == RGB(255, 255, 255)) ++white;
        if (x >= 120 && c == RGB(0, 0, 0x7F)) ++darkBlue;
        if (x < 40 && GetBValue(c) > 200 && GetRValue(c) < 40 && GetGValue(c) < 40) ++ramp;
      }
    }
    ::ReleaseDC(bar.m_hWnd, dc);
    EXPECT_GT(white, 3);
    EXPECT_GT(darkBlue, 3);
    EXPECT_GT(ramp, 100);
    bar.SetPos(0);
    bar.SetParent(parent);
    bar.MoveWindow(saved);
    bar.ShowWindow(shown ? SW_SHOW : SW_HIDE);
    host.DestroyWindow();
  }
}

TEST_F(ResultsPageTest, AFileOverFiveMegabytesGetsTheLargeFileViewAndIsNotWritten) {
  QuickScan();
  const std::u16string name = u"A long NTFS file name with more than twenty-six characters.txt";
  const int row = Row(name);
  ASSERT_GE(row, 0);
  NtfsEntryRecord* entry = EntryOfRow(row);
  ASSERT_NE(entry, nullptr);
  // One byte over the limit: the pane's view of large files, and nothing written.
  entry->size = 5242881;
  const std::vector<std::u16string> names = PreviewTempFileTable;
  ClickRow(row);
  EXPECT_EQ(ShownPath(), u"largefile");
  EXPECT_EQ(page_->PreviewPane()->GetShownExtension(), CString(_T(".largefile")));
  EXPECT_EQ(PreviewTempFileTable, names);
  EXPECT_EQ(LastPreview.text, name);
  // Exactly at the limit it is previewed (its 20000 bytes of data, then zeros up to the size).
  entry->size = 5242880;
  ClickRow(row);
  EXPECT_NE(ShownPath(), u"largefile");
  EXPECT_TRUE(os::FileExists(ShownPath()));
  entry->size = 20000;
}

// Snapshots of every mode and file system loaded over ticked results with a file previewed, each loaded again
// over itself (the same record ids and tree places as the ticks name). The ticks and the preview were the
// results' before: after the load Save asks for marks and writes nothing, the pane shows nothing, the old
// temporary file is gone and the file clicked again is written again.
TEST_F(ResultsPageTest, ALoadOverTickedResultsKeepsNeitherTheirTicksNorTheirPreview) {
  ASSERT_TRUE(started_);
  seams_.boxes.Answer(seams::kOk);
  const std::string trace = "trace_carving";
  for (const std::string name : {"quick_fat16", "quick_fat32", "quick_ntfs", "extensive_fat16", "extensive_fat32",
                                 "extensive_ntfs", "trace_fat16", "trace_ntfs", trace.c_str()}) {
    SCOPED_TRACE(name);
    OpenImage(name == trace ? "carving.dynamic.vhd" : "mbr_primary.fixed.vhd");
    LoadCommandSnapshot(name);
    ASSERT_EQ(theApp.CurrentPage, static_cast<UINT>(kPageResults));
    ResultTreeCtrl& tree = page_->ResultTree();
    HTREEITEM top = tree.CTreeCtrl::GetRootItem();
    ASSERT_NE(top, nullptr);
    ClickNodeBox(top);
    ASSERT_FALSE(List().Sets().checkedFolders.empty() && List().Sets().checkedNodes.empty());
    // A file previewed: in the root, or in the first type of File Trace's first group.
    const int file = FirstFileRow(true);
    std::u16string previewed;
    if (file >= 0) {
      ClickRow(file);
      previewed = ShownPath();
    }
    if (name == trace) {
      EXPECT_FALSE(previewed.empty());
    }

    LoadCommandSnapshot(name);
    EXPECT_TRUE(ShownPath().empty());
    EXPECT_TRUE(LastPreview.tempPath.empty());
    if (!previewed.empty()) {
      EXPECT_FALSE(os::FileExists(previewed));
    }
    const size_t boxes = seams_.boxes.Log().size();
    const size_t folders = seams_.dialogs.FolderRequests().size();
    harness::ClickCentre(page_->Button(IDC_NEXT).m_hWnd);
    harness::PumpFor(100);
    ASSERT_EQ(seams_.boxes.Log().size(), boxes + 1);
    EXPECT_EQ(seams_.boxes.Log().back().text,
              u"Please mark the file(s) and folder(s) that you want to save\r\nby clicking on check box.");
    EXPECT_EQ(seams_.dialogs.FolderRequests().size(), folders);
  }
}

// Snapshots opened as the shell opens them before any image. FAT of both scans and File Trace load: a file
// row clicked, or reached with Down, writes no copy of zeros, and the pane itself says the disk image is
// needed, for that file (the band names it), with no box to close at each row. NTFS ones need the image's MFT
// to load at all: they are refused, saying that image must be opened first, and page 4 is not shown. The frame is at its
// smallest, where the pane is: the placeholder is shown whole there. Screenshot preview/no-image-small.png.
TEST_F(ResultsPageTest, APreviewWithoutTheImageWritesNothingAndSaysTheImageIsNeeded) {
  ASSERT_TRUE(started_);
  seams_.boxes.Answer(seams::kOk);
  MINMAXINFO limits{};
  frame_->SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  ASSERT_GT(limits.ptMinTrackSize.x, 0);
  frame_->SetWindowPos(nullptr, 0, 0, limits.ptMinTrackSize.x, limits.ptMinTrackSize.y, SWP_NOZORDER);
  HBITMAP picture = ::LoadBitmapW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_PREVIEW_IMAGE_NEEDED));
  ASSERT_NE(picture, nullptr);
  BITMAP size{};
  ::GetObjectW(picture, sizeof size, &size);
  ::DeleteObject(picture);
  bool shot = false;
  struct Case {
    const char* name;
    bool loads;
  } const cases[] = {{"quick_ntfs", false},     {"extensive_ntfs", false}, {"quick_fat16", true},
                     {"quick_fat32", true},     {"extensive_fat16", true}, {"extensive_fat32", true},
                     {"trace_carving", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetCurrentDiskImage(nullptr);
    SourceKind = kSourceNothing;
    messages_.shown.clear();
    const size_t boxes = seams_.boxes.Log().size();
    const std::u16string text =
        u"[open(\"" + os::FromUtf8(std::string(DORVANE_COMMAND_SNAPSHOTS) + "/" + c.name + ".vsnp") + u"\")]";
    std::wstring command(text.begin(), text.end());
    theApp.OnDDECommand(&command[0]);
    harness::PumpFor(50);
    if (!c.loads) {
      EXPECT_NE(theApp.CurrentPage, static_cast<UINT>(kPageResults));
      EXPECT_TRUE(messages_.shown.empty());
      ASSERT_EQ(seams_.boxes.Log().size(), boxes + 1);
      EXPECT_EQ(seams_.boxes.Log().back().text, kSnapshotImageNeededText);
      continue;
    }
    ASSERT_EQ(theApp.CurrentPage, static_cast<UINT>(kPageResults));
    const int file = FirstFileRow(false);
    ASSERT_GE(file, 0);
    ASSERT_LT(file + 1, List().CTKListCtrl::GetItemCount());
    ASSERT_EQ(List().Kind(file + 1), results::RowKind::kFile);
    const std::vector<std::u16string> copies = PreviewTempFileTable;
    const std::set<std::wstring> temp = harness::TempFolderNames();
    for (const int row : {file, file + 1, file}) {
      const std::u16string name = List().GetItemText(row, 0);
      const std::u16string next = os::TempFolderPath() + MakePreviewTempName(name);
      if (row == file + 1) {
        // As the user goes on from the row clicked: the list has kept the keyboard.
        ASSERT_EQ(::GetFocus(), List().m_hWnd);
        harness::PressKey(List().m_hWnd, VK_DOWN);
        harness::PumpFor(100);
      } else {
        ClickRow(row);
      }
      SCOPED_TRACE(os::ToUtf8(name));
      EXPECT_EQ(List().GetNextItem(-1, LVNI_SELECTED), row);
      EXPECT_EQ(page_->PreviewPane()->GetShownExtension().ToUtf16(), kImageNeededExtension);
      EXPECT_EQ(CCorrupted_NoPreview_View::CurrentPicture(), static_cast<UINT>(IDB_PREVIEW_IMAGE_NEEDED));
      CWnd* placeholder = page_->PreviewPane()->m_pNoPreviewView;
      ASSERT_NE(placeholder, nullptr);
      // The placeholder fills the pane below its band and holds the picture whole: neither is cut.
      ASSERT_TRUE(placeholder->IsWindowVisible());
      RECT pane{}, shown{};
      page_->PreviewPane()->GetClientRect(&pane);
      page_->PreviewPane()->ClientToScreen(&pane);
      placeholder->GetWindowRect(&shown);
      RECT inside{};
      EXPECT_TRUE(::IntersectRect(&inside, &pane, &shown) && ::EqualRect(&inside, &shown));
      EXPECT_GE(shown.right - shown.left, size.bmWidth);
      EXPECT_GE(shown.bottom - shown.top, size.bmHeight);
      EXPECT_TRUE(previewtest::ShowsPicture(placeholder->m_hWnd, IDB_PREVIEW_IMAGE_NEEDED));
      if (RecoveryMode != records::kFileTrace) {
        EXPECT_EQ(PreviewItemPath, u"\\" + name);
      }
      EXPECT_FALSE(os::FileExists(next));
      EXPECT_EQ(PreviewTempFileTable, copies);
      EXPECT_EQ(harness::TempFolderNames(), temp);
      if (!shot) shot = !harness::CaptureWindow(frame_->m_hWnd, "preview/no-image-small").empty();
    }
    EXPECT_TRUE(messages_.shown.empty());
    EXPECT_EQ(seams_.boxes.Log().size(), boxes);
  }
}

// After a snapshot load page 4 has no Back: Tab passes over it and Enter presses nothing, for every way the
// snapshot comes (the Load command, the shell).
TEST_F(ResultsPageTest, TabAndEnterNeverPressTheBackALoadHid) {
  ASSERT_TRUE(started_);
  auto pushed = [this](UINT id) { return (page_->Button(id).SendMessage(BM_GETSTATE) & BST_PUSHED) != 0; };
  OpenImage("mbr_primary.fixed.vhd");
  const std::string file = std::string(DORVANE_COMMAND_SNAPSHOTS) + "/quick_fat16.vsnp";
  for (const bool shell : {false, true}) {
    SCOPED_TRACE(shell ? "shell" : "Load");
    if (shell) {
      const std::u16string text = u"[open(\"" + os::FromUtf8(file) + u"\")]";
      std::wstring command(text.begin(), text.end());
      ASSERT_TRUE(theApp.OnDDECommand(&command[0]));
      harness::PumpFor(50);
    } else {
      LoadCommandSnapshot("quick_fat16");
    }
    ASSERT_EQ(theApp.CurrentPage, static_cast<UINT>(kPageResults));
    ASSERT_FALSE(page_->Button(IDC_BACK).IsWindowVisible());
    // The user clicks the page beside its buttons, then walks the ring.
    page_->SetFocus();
    ASSERT_EQ(::GetFocus(), page_->m_hWnd);
    PressOnFocus(VK_TAB);
    EXPECT_TRUE(pushed(IDC_NEXT));
    PressOnFocus(VK_TAB);
    EXPECT_FALSE(pushed(IDC_BACK));
    EXPECT_FALSE(pushed(IDC_NEXT));
    EXPECT_EQ(::GetFocus(), page_->ResultTree().m_hWnd);
    page_->SetFocus();
    PressOnFocus(VK_TAB);
    PressOnFocus(VK_TAB);
    PressOnFocus(VK_RETURN);
    EXPECT_EQ(theApp.CurrentPage, static_cast<UINT>(kPageResults));
    EXPECT_NE(page_->ResultTree().CTreeCtrl::GetRootItem(), nullptr);
    page_->OnHome();
  }
}

}  // namespace
