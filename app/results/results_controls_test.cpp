// The results tree and list in a window of their own, filled by a Quick Scan of a generated FAT16 volume
// that runs on a worker thread: the builders' nodes, the red deleted folder, boxes clicked in the tree and
// in the list kept in step, going up with "Parent...", renaming, the menus, and a save of what was ticked
// against icat's bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/logic/find_files_search.h"
#include "app/results/result_list_ctrl.h"
#include "app/results/result_tree_ctrl.h"
#include "engine/host/fakes.h"
#include "engine/host/save_fakes.h"
#include "engine/host/scan_fakes.h"
#include "engine/host/scan_page_fakes.h"
#include "engine/host/shell_file_info_host.h"
#include "engine/image/disk_image.h"
#include "engine/image/source_values.h"
#include "engine/records/fat_records.h"
#include "engine/records/file_trace_hits.h"
#include "engine/records/result_tree_builders.h"
#include "engine/records/ntfs_records.h"
#include "engine/records/scan_control.h"
#include "engine/records/scan_parameters.h"
#include "engine/records/scan_records.h"
#include "engine/listing/file_filter_table.h"
#include "engine/listing/results_listing.h"
#include "engine/save/save_state.h"
#include "engine/save/savers.h"
#include "engine/scan/quick_scan.h"
#include "engine/scan/results_tree_build.h"
#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "platform/harness/scripted_seams.h"
#include "platform/os/os.h"
#include "res/resource.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/controls/tkp_control_popup.h"
#include "toolkit/controls/tk_header_ctrl.h"
#include "toolkit/commandbars/bars/tkp_popup_bar.h"
#include "ui/controls/shell_file_info.h"

#include <shellapi.h>

namespace {

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp(_T("ResultsControlsTest")) {}
};
TestApp theApp;

// The shell's icons and type names as the program hands them to the listers.
class ShellInfo : public host::ShellFileInfoHost {
 public:
  int32_t GetFolderIconIndex(bool small) override { return shell.GetFolderIconIndex(small); }
  int32_t GetIconIndex(const std::u16string& name, bool small) override {
    return shell.GetIconIndex(CString(reinterpret_cast<LPCWSTR>(name.c_str())), small);
  }
  std::u16string GetFileTypeName(const std::u16string& name) override {
    const CString type = shell.GetFileTypeName(CString(reinterpret_cast<LPCWSTR>(name.c_str())));
    return std::u16string(reinterpret_cast<const char16_t*>(type.GetString()), type.GetLength());
  }
  ui::ShellFileInfo shell;
};

class ResultsWindow : public CWnd {
 public:
  bool Open() {
    LPCTSTR cls = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW), ::GetSysColorBrush(COLOR_BTNFACE));
    if (!CreateEx(0, cls, _T("Results"), WS_POPUP | WS_VISIBLE | WS_BORDER | WS_CLIPCHILDREN, 10, 10, 900, 420,
                  nullptr, nullptr)) {
      return false;
    }
    const DWORD treeStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                            TVS_SHOWSELALWAYS | TVS_CHECKBOXES;
    if (!tree.Create(treeStyle, CRect(5, 5, 245, 410), this, IDC_RESULT_TREE)) return false;
    tree.SetUp();
    const DWORD listStyle =
        WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_EDITLABELS | LVS_SHAREIMAGELISTS;
    if (!list.Create(listStyle, CRect(250, 5, 893, 410), this, IDC_RESULT_LIST)) return false;
    list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    const struct {
      LPCTSTR title;
      int width;
    } columns[] = {{_T("File Name"), 190}, {_T("Type"), 110}, {_T("Size"), 60},
                   {_T("Creation Time"), 120}, {_T("Modification Time"), 120}, {_T("ID"), 60}};
    for (int i = 0; i < 6; ++i) list.InsertColumn(i, columns[i].title, LVCFMT_LEFT, columns[i].width);
    list.SetUp();
    HIMAGELIST system = shell.shell.GetSystemImageList(true);
    ::SendMessageW(list.m_hWnd, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(system));
    tree.SetList(&list);
    list.SetTree(&tree);
    return true;
  }

  // The list's clicks, as its parent (the page) is told of them.
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->hwndFrom == list.m_hWnd && header->code == static_cast<UINT>(NM_CLICK)) {
      clickedListings.push_back(list.CTKListCtrl::GetItemCount() > 0 ? list.GetItemText(0, 0) : u"");
    }
    return CWnd::OnNotify(wParam, lParam, result);
  }

  ShellInfo shell;
  ResultTreeCtrl tree;
  ResultListCtrl list;
  std::vector<std::u16string> clickedListings;  // the first row's name at each click
};

void ResetState() {
  FreeScanRecordLists();
  ClusterList.Free();
  ScanCounters = ScanCountersRecord{};
  ScanRange = ScanRangeRecord{};
  CurrentFileSystem = FileSystemRecord{};
  ScanThreadControl.stopFlag = 0;
  ScanThreadControl.runningFlag = 0;
  SaveAbortFlag = 0;
  ResultListers = ResultListersRecord{};
  SetFileFilters({});
}

class ResultsControlsTest : public ::testing::Test {
 protected:
  ResultsControlsTest() {
    ResetState();
    EXPECT_TRUE(window.Open());
    host::Hosts hosts;
    hosts.messages = &messages;
    hosts.secondDisplay = &panel;
    hosts.scanPage = &page;
    hosts.saveProgress = &saving;
    hosts.resultTree = &window.tree;
    hosts.resultList = &window.list;
    hosts.shellFileInfo = &window.shell;
    installed_ = std::make_unique<host::ScopedHosts>(hosts);
  }
  ~ResultsControlsTest() override {
    window.DestroyWindow();
    installed_.reset();
    SetCurrentDiskImage(nullptr);
    ResetState();
  }

  // A Quick Scan of the FAT16 volume on a worker, as the scan page runs it, while this thread serves the
  // windows: the tree is built and the root listed through sent messages.
  void Scan(const std::string& image = "fat16.fixed.vhd", uint16_t code = records::kFat16, uint32_t sectors = 65536) {
    image_.CreateReader(kImageVhd);
    ASSERT_TRUE(image_.Open(os::FromUtf8(std::string(DORVANE_SHARED_IMAGES) + "/" + image)));
    ImageFormat = 0;
    CurrentDriveIndex = 0;
    SourceKind = kSourceDisk;
    SetCurrentDiskImage(&image_);
    RecoveryMode = records::kQuickScan;
    ScanRange = ScanRangeRecord{code, 0, sectors, sectors - 1, 0};
    ScanThreadControl.runningFlag = 1;
    ResultListers = ResultListersRecord{ListFatFolder, ListNtfsFolder};
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
    ExpandAll(window.tree.CTreeCtrl::GetRootItem());
  }

  void ExpandAll(HTREEITEM node) {
    for (HTREEITEM n = node; n != nullptr; n = window.tree.CTreeCtrl::GetNextSiblingItem(n)) {
      window.tree.CTreeCtrl::Expand(n, TVE_EXPAND);
      ExpandAll(window.tree.CTreeCtrl::GetChildItem(n));
    }
  }

  // The node of the first folder record named name (any case), or of the first deleted one.
  HTREEITEM Folder(const std::u16string& name) const {
    for (const FatFolderRecord& f : FatFolderList) {
      if (f.name == name) return ResultTreeCtrl::Handle(f.treeKey);
    }
    for (const NtfsFolderRecord& f : NtfsFolderList) {
      if (f.name == name) return ResultTreeCtrl::Handle(f.treeKey);
    }
    return nullptr;
  }
  HTREEITEM DeletedFolder() const {
    for (const FatFolderRecord& f : FatFolderList) {
      if (f.deleted != 0 && f.parentId == records::kFatRootId) return ResultTreeCtrl::Handle(f.treeKey);
    }
    return nullptr;
  }
  app::CheckState TreeState(HTREEITEM node) { return window.tree.GetState(reinterpret_cast<results::Item>(node)); }

  int Row(const std::u16string& name) {
    for (int r = 0; r < window.list.CTKListCtrl::GetItemCount(); ++r) {
      if (window.list.GetItemText(r, 0) == name) return r;
    }
    return -1;
  }

  // Clicks the check box of a node or a row, found by hit-testing along its line.
  void ClickTreeBox(HTREEITEM node) {
    CRect rect;
    ASSERT_TRUE(window.tree.GetItemRect(node, rect, TRUE));
    const int y = rect.CenterPoint().y;
    for (int x = 0; x < rect.left; ++x) {
      UINT flags = 0;
      if (window.tree.HitTest(CPoint(x, y), &flags) == node && (flags & TVHT_ONITEMSTATEICON)) {
        window.tree.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        window.tree.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        return;
      }
    }
    FAIL() << "no check box";
  }
  void ClickRowBox(int row) {
    CRect rect;
    ASSERT_TRUE(window.list.GetItemRect(row, rect, LVIR_BOUNDS));
    const int y = rect.CenterPoint().y;
    for (int x = rect.left; x < rect.left + 60; ++x) {
      UINT flags = 0;
      if (window.list.HitTest(CPoint(x, y), &flags) == row && (flags & LVHT_ONITEMSTATEICON)) {
        window.list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        window.list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        return;
      }
    }
    FAIL() << "no check box in row " << row;
  }
  void ClickLabel(HTREEITEM node) {
    CRect rect;
    window.tree.GetItemRect(node, rect, TRUE);
    window.tree.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rect.CenterPoint().x, rect.CenterPoint().y));
  }

  // How many pixels of the node's text are red.
  int RedPixels(HTREEITEM node) {
    window.tree.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    harness::PumpFor(100);
    CRect rect;
    window.tree.GetItemRect(node, rect, TRUE);
    HDC dc = ::GetDC(window.tree.m_hWnd);
    int red = 0;
    for (int y = rect.top; y < rect.bottom; ++y) {
      for (int x = rect.left; x < rect.right; ++x) {
        const COLORREF c = ::GetPixel(dc, x, y);
        if (GetRValue(c) > 180 && GetGValue(c) < 90 && GetBValue(c) < 90) ++red;
      }
    }
    ::ReleaseDC(window.tree.m_hWnd, dc);
    return red;
  }

  ResultsWindow window;
  host::RecordingMessages messages;
  host::RecordingSecondDisplay panel;
  host::RecordingScanPage page;
  host::RecordingSaveProgress saving;

 private:
  DiskImage image_;
  std::unique_ptr<host::ScopedHosts> installed_;
};

TEST_F(ResultsControlsTest, TheBuildersFillTheTreeFromAWorkerAndDrawTheDeletedFolderRed) {
  Scan();
  HTREEITEM top = window.tree.CTreeCtrl::GetRootItem();
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(window.tree.CTreeCtrl::GetItemText(top), CString(_T("Root")));
  HTREEITEM documents = Folder(u"Documents");
  ASSERT_NE(documents, nullptr);
  EXPECT_EQ(window.tree.GetParentItem(documents), top);
  HTREEITEM year = Folder(u"2019");
  ASSERT_NE(year, nullptr);
  EXPECT_EQ(window.tree.GetTreePath(year), CString(_T("Documents\\Reports\\2019")));
  // The top node shows the drive, the folders the folder: two different icons of the tree's own list.
  const auto image = [this](HTREEITEM node) {
    TVITEMW item{};
    item.mask = TVIF_IMAGE;
    item.hItem = node;
    ::SendMessageW(window.tree.m_hWnd, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
  };
  const HIMAGELIST icons =
      reinterpret_cast<HIMAGELIST>(::SendMessageW(window.tree.m_hWnd, TVM_GETIMAGELIST, TVSIL_NORMAL, 0));
  ASSERT_EQ(ImageList_GetImageCount(icons), 2);
  EXPECT_NE(image(top), image(documents));
  EXPECT_EQ(image(year), image(documents));
  // Every folder record got its node.
  for (const FatFolderRecord& f : FatFolderList) EXPECT_NE(f.treeKey, host::kNoTreeKey) << os::ToUtf8(f.name);

  HTREEITEM deleted = DeletedFolder();
  ASSERT_NE(deleted, nullptr);
  EXPECT_TRUE(window.tree.IsDrawnDeleted(deleted));
  EXPECT_GT(RedPixels(deleted), 5);
  EXPECT_EQ(RedPixels(documents), 0);
  // The root was listed by the worker: folders first, each with its node in the id column.
  const int row = Row(u"Documents");
  ASSERT_GE(row, 0);
  EXPECT_EQ(window.list.GetItemText(row, 5), os::FromUtf8(std::to_string(ResultTreeCtrl::Key(documents))));
}

TEST_F(ResultsControlsTest, TreeAndListBoxesStayInStepBothWays) {
  Scan();
  HTREEITEM top = window.tree.CTreeCtrl::GetRootItem();
  HTREEITEM documents = Folder(u"Documents");
  HTREEITEM photos = Folder(u"Photos");
  ASSERT_NE(documents, nullptr);
  ASSERT_NE(photos, nullptr);

  // A click on the tree's box ticks the folder, deeply, and the listed root shows its row ticked.
  ClickTreeBox(documents);
  EXPECT_EQ(TreeState(documents), app::CheckState::kChecked);
  EXPECT_EQ(TreeState(Folder(u"2019")), app::CheckState::kChecked);
  EXPECT_EQ(TreeState(top), app::CheckState::kPartly);
  EXPECT_EQ(window.list.RowCheck(Row(u"Documents")), 1);
  EXPECT_EQ(window.list.RowCheck(Row(u"Photos")), 0);

  // A click on a row's box ticks it once, and the tree follows.
  ClickRowBox(Row(u"Photos"));
  EXPECT_EQ(window.list.RowCheck(Row(u"Photos")), 1);
  EXPECT_EQ(TreeState(photos), app::CheckState::kChecked);
  ClickRowBox(Row(u"Photos"));
  EXPECT_EQ(window.list.RowCheck(Row(u"Photos")), 0);
  EXPECT_EQ(TreeState(photos), app::CheckState::kUnchecked);

  // Listing Documents shows its files ticked; unticking one leaves the folder and its ancestors partly checked.
  ClickLabel(documents);
  ASSERT_EQ(window.list.GetItemText(0, 0), u"Parent...");
  EXPECT_EQ(window.list.RowCheck(0), -1);
  const int letter = Row(u"Letter to the bank.txt");
  ASSERT_GE(letter, 0);
  EXPECT_EQ(window.list.RowCheck(letter), 1);
  ClickRowBox(letter);
  EXPECT_EQ(window.list.RowCheck(letter), 0);
  EXPECT_EQ(TreeState(documents), app::CheckState::kPartly);
  EXPECT_EQ(TreeState(top), app::CheckState::kPartly);
  ClickRowBox(letter);
  EXPECT_EQ(TreeState(documents), app::CheckState::kChecked);

  // Unticking the top node clears every box.
  ClickTreeBox(top);
  ClickTreeBox(top);
  for (HTREEITEM n : {top, documents, photos, Folder(u"2019")}) EXPECT_EQ(TreeState(n), app::CheckState::kUnchecked);
  EXPECT_TRUE(window.list.Sets().fileMarks.empty());
}

// A half-ticked folder makes its checked ancestors partly checked on FAT and NTFS alike: none of them is
// saved whole with the unticked file in it.
TEST_F(ResultsControlsTest, UntickingOneFileLeavesTheFolderAndItsCheckedAncestorsPartlyChecked) {
  for (bool fat : {true, false}) {
    if (fat) {
      Scan();
    } else {
      ResetState();
      window.tree.DeleteAllItems();
      window.list.Sets().Clear();
      Scan("ntfs_4k.fixed.vhd", records::kNtfs, 32768);
    }
    HTREEITEM documents = Folder(u"Documents");
    HTREEITEM reports = Folder(u"Reports");
    ASSERT_NE(reports, nullptr);
    ClickRowBox(Row(u"Documents"));
    EXPECT_EQ(TreeState(reports), app::CheckState::kChecked);
    ClickLabel(reports);
    const int summary = Row(u"summary.csv");
    ASSERT_GE(summary, 0);
    EXPECT_EQ(window.list.RowCheck(summary), 1);
    ClickRowBox(summary);
    EXPECT_EQ(TreeState(reports), app::CheckState::kPartly);
    EXPECT_EQ(TreeState(documents), app::CheckState::kPartly) << fat;
  }
}

// FAT: once the button is up, the rows listed decide the ancestors. Documents listed with only its first file
// ticked: ticking Reports in the tree (its only folder) leaves Documents and the top node partly checked,
// although Documents' children are all checked and its first file is marked.
TEST_F(ResultsControlsTest, ABoxClickedInTheTreeLeavesTheAncestorsOfAHalfTickedListingPartlyChecked) {
  Scan();
  HTREEITEM top = window.tree.CTreeCtrl::GetRootItem();
  HTREEITEM documents = Folder(u"Documents");
  HTREEITEM reports = Folder(u"Reports");
  ASSERT_NE(reports, nullptr);
  uint32_t documentsId = 0;
  for (const FatFolderRecord& f : FatFolderList) {
    if (f.name == u"Documents") documentsId = f.firstCluster;
  }
  const FatEntryRecord* first = nullptr;
  for (const FatEntryRecord& e : FatEntryList) {
    if (e.parentId == documentsId && first == nullptr) first = &e;
  }
  ASSERT_NE(first, nullptr);
  ClickLabel(documents);
  ClickRowBox(Row(first->name));
  ASSERT_TRUE(window.list.Sets().fileMarks.Contains(first->id));
  ClickTreeBox(reports);
  EXPECT_EQ(TreeState(reports), app::CheckState::kChecked);
  EXPECT_EQ(TreeState(documents), app::CheckState::kPartly);
  EXPECT_EQ(TreeState(top), app::CheckState::kPartly);

  // Rows all unchecked under an unchecked node show no tick above it.
  ClickRowBox(Row(first->name));
  ClickTreeBox(reports);
  EXPECT_EQ(TreeState(reports), app::CheckState::kUnchecked);
  EXPECT_EQ(TreeState(documents), app::CheckState::kUnchecked);
  EXPECT_EQ(TreeState(top), app::CheckState::kUnchecked);
}

// A box clicked in the tree while another folder's half-ticked rows are listed: those rows say nothing of the
// node clicked, whose ancestors follow what they hold; and the folder listed stays the one listed.
TEST_F(ResultsControlsTest, ABoxClickedElsewhereLeavesItsAncestorsShowingWhatTheyHold) {
  Scan();
  HTREEITEM photos = Folder(u"Photos");
  HTREEITEM reports = Folder(u"Reports");
  HTREEITEM year = Folder(u"2019");
  ClickLabel(photos);
  ClickRowBox(Row(u"IMG_0001.JPG"));
  ASSERT_EQ(TreeState(photos), app::CheckState::kPartly);
  ClickTreeBox(year);
  EXPECT_EQ(window.tree.CurrentNode(), photos);
  EXPECT_EQ(TreeState(year), app::CheckState::kChecked);
  ClickTreeBox(year);
  EXPECT_EQ(TreeState(year), app::CheckState::kUnchecked);
  EXPECT_EQ(TreeState(reports), app::CheckState::kUnchecked);
  EXPECT_EQ(TreeState(Folder(u"Documents")), app::CheckState::kUnchecked);
  // Everything under Reports ticked: Reports shows ticked, and a click on it unticks it.
  ClickTreeBox(reports);
  ClickTreeBox(year);
  ClickTreeBox(year);
  EXPECT_EQ(TreeState(reports), app::CheckState::kChecked);
  ClickTreeBox(reports);
  EXPECT_EQ(TreeState(reports), app::CheckState::kUnchecked);
  EXPECT_EQ(window.tree.CurrentNode(), photos);
  // IMG_0001.JPG alone stays ticked.
  ASSERT_EQ(window.list.Sets().fileMarks.size(), 1u);
  EXPECT_EQ(FindFatEntry(window.list.Sets().fileMarks.Keys().front())->name, u"IMG_0001.JPG");
}

// A file named "Parent..." is a file like any other: its box ticks it; only the row the lister writes first in a
// folder's listing goes up.
TEST_F(ResultsControlsTest, AFileNamedParentIsTickedLikeAnyFile) {
  Scan();
  uint32_t id = 0;
  for (FatEntryRecord& e : FatEntryList) {
    if (e.name == u"README.TXT") {
      e.name = u"Parent...";
      id = e.id;
    }
  }
  ClickLabel(window.tree.CTreeCtrl::GetRootItem());
  const int row = Row(u"Parent...");
  ASSERT_GE(row, 0);
  EXPECT_EQ(window.list.Kind(row), results::RowKind::kFile);
  EXPECT_EQ(window.list.RowCheck(row), 0);
  ClickRowBox(row);
  EXPECT_TRUE(window.list.Sets().fileMarks.Contains(id));
  ClickLabel(Folder(u"Documents"));
  EXPECT_EQ(window.list.Kind(0), results::RowKind::kParent);
  EXPECT_EQ(window.list.RowCheck(0), -1);
}

// Unticking a folder in the tree sums up what stays ticked: its own files no longer count.
TEST_F(ResultsControlsTest, UntickingAFolderInTheTreeGivesTheSelectedSizeOfWhatStaysTicked) {
  Scan();
  std::u16string summary;
  window.tree.SetSelectedSizeSink([&](const std::u16string& text) { summary = text; });
  for (FatEntryRecord& e : FatEntryList) {
    if (e.name == u"Letter to the bank.txt") e.size = 3 * 1048576 + 1000;
    if (e.name == u"Annual report 2019.txt") e.size = 2 * 1048576;
  }
  ClickTreeBox(Folder(u"Documents"));
  EXPECT_EQ(TreeState(Folder(u"Reports")), app::CheckState::kChecked);
  EXPECT_TRUE(summary.empty());  // ticking does not sum up
  ClickTreeBox(Folder(u"Reports"));
  EXPECT_EQ(summary, u"Selected Size : 3 MB");
}

TEST_F(ResultsControlsTest, ParentGoesUpAndRenamingToNothingKeepsTheName) {
  Scan();
  HTREEITEM top = window.tree.CTreeCtrl::GetRootItem();
  const int rootRows = window.list.CTKListCtrl::GetItemCount();
  ClickLabel(Folder(u"Documents"));
  ASSERT_EQ(window.list.GetItemText(0, 0), u"Parent...");

  // A real double-click on "Parent..." in a folder of the root lists the root with the top node selected.
  CRect rect;
  window.list.GetItemRect(0, rect, LVIR_LABEL);
  window.list.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(rect.CenterPoint().x, rect.CenterPoint().y));
  EXPECT_EQ(window.list.CTKListCtrl::GetItemCount(), rootRows);
  EXPECT_NE(window.list.GetItemText(0, 0), u"Parent...");
  EXPECT_EQ(window.tree.GetSelectedItem(), top);

  // A listing that holds only "Parent..." goes to the root as well.
  ClickLabel(Folder(u"Documents"));
  for (int r = window.list.CTKListCtrl::GetItemCount() - 1; r > 0; --r) window.list.DeleteItem(r);
  window.list.OpenRow(0);
  EXPECT_EQ(window.list.CTKListCtrl::GetItemCount(), rootRows);

  // Renaming: an empty name keeps the old one; a new name reaches the file's record.
  const int row = Row(u"README.TXT");
  ASSERT_GE(row, 0);
  for (const wchar_t* text : {L"", L"Read me first.txt"}) {
    window.list.SetFocus();
    CEdit* edit = window.list.EditLabel(row);
    ASSERT_NE(edit, nullptr);
    edit->SetWindowText(text);
    window.tree.CTreeCtrl::SetFocus();  // the edit loses the focus and ends, keeping its text
    harness::PumpFor(50);
  }
  EXPECT_EQ(window.list.GetItemText(row, 0), u"Read me first.txt");
  const std::optional<uint32_t> id = results::ParseId(window.list.GetItemText(row, 5));
  ASSERT_TRUE(id);
  EXPECT_EQ(FindFatEntry(*id)->name, u"Read me first.txt");
}

// Photos holds IMG_0001.JPG, IMG_0002.JPG and "Holiday picture number three.jpg"; the filter shows the first two.
TEST_F(ResultsControlsTest, RowsAllTickedUnderAFilterLeaveTheFolderPartlyTickedAndTheHiddenFileUnticked) {
  Scan();
  HTREEITEM photos = Folder(u"Photos");
  ASSERT_NE(photos, nullptr);
  ASSERT_TRUE(SetFileFilters({u"IMG*"}));
  ClickLabel(photos);
  ASSERT_EQ(Row(u"Holiday picture number three.jpg"), -1);
  ClickRowBox(Row(u"IMG_0001.JPG"));
  ClickRowBox(Row(u"IMG_0002.JPG"));
  EXPECT_EQ(TreeState(photos), app::CheckState::kPartly);

  ASSERT_TRUE(SetFileFilters({}));
  ClickLabel(photos);
  EXPECT_EQ(window.list.RowCheck(Row(u"Holiday picture number three.jpg")), 0);
  EXPECT_EQ(TreeState(photos), app::CheckState::kPartly);
  EXPECT_TRUE(window.tree.Checks().CollectSaveFolders().empty());
  EXPECT_EQ(window.list.Sets().saveFiles.size(), 2u);
}

// "Parent..." alone in a listing (a folder with no subfolder and its files filtered out) lists the parent.
TEST_F(ResultsControlsTest, ParentOfAFolderListedEmptyIsItsParent) {
  Scan();
  ASSERT_TRUE(SetFileFilters({u"*.none"}));
  HTREEITEM chain = Folder(u"Chain");
  ASSERT_NE(chain, nullptr);
  ClickLabel(chain);
  ASSERT_EQ(window.list.CTKListCtrl::GetItemCount(), 1);
  window.list.OpenRow(0);
  EXPECT_GE(Row(u"Chain"), 0);
  EXPECT_EQ(window.tree.GetSelectedItem(), Folder(u"Folder"));
}

// A double-click on a box is one click on it, as in the tree: the box and what Save takes stay in step, and
// a folder row is not opened.
TEST_F(ResultsControlsTest, ADoubleClickOnARowBoxTogglesItOnceAndOpensNothing) {
  Scan();
  const int rows = window.list.CTKListCtrl::GetItemCount();
  for (const char16_t* name : {u"README.TXT", u"Documents"}) {
    const int row = Row(name);
    ASSERT_GE(row, 0);
    CRect rect;
    ASSERT_TRUE(window.list.GetItemRect(row, rect, LVIR_BOUNDS));
    POINT box{-1, rect.CenterPoint().y};
    for (int x = rect.left; x < rect.left + 60 && box.x < 0; ++x) {
      UINT flags = 0;
      if (window.list.HitTest(CPoint(x, box.y), &flags) == row && (flags & LVHT_ONITEMSTATEICON)) box.x = x;
    }
    ASSERT_GE(box.x, 0);
    const LPARAM at = MAKELPARAM(box.x, box.y);
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
      window.list.PostMessage(message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
    }
    harness::PumpFor(100);
    SCOPED_TRACE(std::string(name, name + std::char_traits<char16_t>::length(name)));
    ASSERT_EQ(window.list.CTKListCtrl::GetItemCount(), rows);
    EXPECT_EQ(window.list.RowCheck(Row(name)), 1);
  }
  EXPECT_TRUE(window.list.Sets().saveFiles.Contains(*results::ParseId(window.list.GetItemText(Row(u"README.TXT"), 5))));
  EXPECT_EQ(TreeState(Folder(u"Documents")), app::CheckState::kChecked);
}

// The commands of a menu and its submenus.
int CommandCount(CMenu* menu) {
  int count = 0;
  for (int i = 0; i < menu->GetMenuItemCount(); ++i) {
    CMenu* sub = menu->GetSubMenu(i);
    count += sub != nullptr ? CommandCount(sub) : (menu->GetMenuItemID(i) != 0 ? 1 : 0);
  }
  return count;
}

TEST_F(ResultsControlsTest, FileTraceMenusLeaveOutWhatItCannotDo) {
  RecoveryMode = records::kFileTrace;
  CMenu listMenu;
  window.list.BuildContextMenu(listMenu);
  EXPECT_EQ(CommandCount(listMenu.GetSubMenu(0)), 5);  // Recover Selected, Icons, List, Details, Rename
  CMenu treeMenu;
  window.tree.BuildContextMenu(treeMenu);
  EXPECT_EQ(CommandCount(treeMenu.GetSubMenu(0)), 4);
  RecoveryMode = records::kQuickScan;
  CMenu full;
  window.list.BuildContextMenu(full);
  EXPECT_EQ(CommandCount(full.GetSubMenu(0)), 8);
}

// File Trace: the top node stands for every group, so ticking it ticks every hit for Recover; unticking clears them.
TEST_F(ResultsControlsTest, FileTraceTopNodeTicksEveryHit) {
  RecoveryMode = records::kFileTrace;
  AppendFileTraceHit(u"1.jpg", u".jpg", u"JPEG Image", 1, 100);
  AppendFileTraceHit(u"2.png", u".png", u"PNG Image", 2, 200);
  AppendFileTraceHit(u"3.jpg", u".jpg", u"JPEG Image", 3, 300);
  AddFileTraceGroups(window.tree.AddItem(u"Root", host::kNoTreeKey, host::TreeImage::kDrive, false));
  HTREEITEM top = window.tree.CTreeCtrl::GetRootItem();
  ASSERT_NE(window.tree.CTreeCtrl::GetChildItem(top), nullptr);
  ClickTreeBox(top);
  EXPECT_EQ(TreeState(top), app::CheckState::kChecked);
  std::vector<uint32_t> ticked = window.list.Sets().saveFiles.Keys();
  std::sort(ticked.begin(), ticked.end());
  EXPECT_EQ(ticked, (std::vector<uint32_t>{1, 2, 3}));
  ClickTreeBox(top);
  EXPECT_EQ(TreeState(top), app::CheckState::kUnchecked);
  EXPECT_TRUE(window.list.Sets().saveFiles.empty());
  FreeFileTraceResultList();
  RecoveryMode = records::kQuickScan;
}

// File Trace: two groups, one of them with two types, listed at the root.
class FileTraceResultsTest : public ResultsControlsTest {
 protected:
  void Build() {
    RecoveryMode = records::kFileTrace;
    AppendFileTraceHit(u"1.jpg", u".jpg", u"Images", 1, 100);
    AppendFileTraceHit(u"2.png", u".png", u"Images", 2, 200);
    AppendFileTraceHit(u"3.jpg", u".jpg", u"Images", 3, 300);
    AppendFileTraceHit(u"4.doc", u".doc", u"Documents", 4, 400);
    AddFileTraceGroups(window.tree.AddItem(u"Root", host::kNoTreeKey, host::TreeImage::kDrive, false));
    top = window.tree.CTreeCtrl::GetRootItem();
    images = window.tree.FindChild(top, u"Images");
    ASSERT_NE(images, nullptr);
    ExpandAll(top);
    ClickLabel(top);
  }
  ~FileTraceResultsTest() override {
    FreeFileTraceResultList();
    RecoveryMode = records::kQuickScan;
  }
  std::vector<uint32_t> SavedHits() {
    std::vector<uint32_t> ticked = window.list.Sets().saveFiles.Keys();
    std::sort(ticked.begin(), ticked.end());
    return ticked;
  }
  // A double-click on the row's name, as the mouse gives it.
  void DoubleClickRow(int row) {
    CRect rect;
    ASSERT_TRUE(window.list.GetItemRect(row, rect, LVIR_LABEL));
    const LPARAM at = MAKELPARAM(rect.CenterPoint().x, rect.CenterPoint().y);
    // Posted: the list view waits for the button's release in its queue.
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
      window.list.PostMessage(message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
    }
    harness::PumpFor(100);
  }

  HTREEITEM top = nullptr;
  HTREEITEM images = nullptr;
};

// A click on a group's box: unticked or with a type not ticked it ticks the group deeply; with every type
// ticked it unticks it, partly checked or not.
TEST_F(FileTraceResultsTest, AGroupBoxTicksUnlessEveryTypeIsTicked) {
  Build();
  ClickTreeBox(images);
  EXPECT_EQ(TreeState(images), app::CheckState::kChecked);
  EXPECT_EQ(SavedHits(), (std::vector<uint32_t>{1, 2, 3}));

  // One hit unticked in the group's listing: its type node and the group follow it.
  DoubleClickRow(Row(u"Images"));
  ClickRowBox(Row(u"2.png"));
  EXPECT_EQ(TreeState(window.tree.FindChild(images, u".png")), app::CheckState::kUnchecked);
  EXPECT_EQ(TreeState(window.tree.FindChild(images, u".jpg")), app::CheckState::kChecked);
  EXPECT_EQ(TreeState(images), app::CheckState::kPartly);
  EXPECT_EQ(SavedHits(), (std::vector<uint32_t>{1, 3}));
  // Partly checked with a type unticked: ticked whole.
  ClickTreeBox(images);
  EXPECT_EQ(TreeState(images), app::CheckState::kChecked);
  EXPECT_EQ(SavedHits(), (std::vector<uint32_t>{1, 2, 3}));
  // Checked with every type ticked: unticked.
  ClickTreeBox(images);
  EXPECT_EQ(TreeState(images), app::CheckState::kUnchecked);
  EXPECT_EQ(TreeState(top), app::CheckState::kUnchecked);
  EXPECT_TRUE(SavedHits().empty());
}

// Under a file filter a type's list shows some of its hits: ticking them all leaves the type partly ticked,
// and once the filter is cleared the hidden hit shows unticked and is not saved.
TEST_F(FileTraceResultsTest, HitsTickedUnderAFilterTickTheirTypeOnlyWhenNoneIsHidden) {
  Build();
  HTREEITEM jpg = window.tree.FindChild(images, u".jpg");
  ASSERT_TRUE(SetFileFilters({u"1*"}));
  ClickLabel(jpg);
  ASSERT_EQ(Row(u"3.jpg"), -1);
  ClickRowBox(Row(u"1.jpg"));
  EXPECT_EQ(TreeState(jpg), app::CheckState::kPartly);
  EXPECT_EQ(TreeState(images), app::CheckState::kPartly);
  ASSERT_TRUE(SetFileFilters({}));
  ClickLabel(jpg);
  EXPECT_EQ(window.list.RowCheck(Row(u"1.jpg")), 1);
  EXPECT_EQ(window.list.RowCheck(Row(u"3.jpg")), 0);
  EXPECT_EQ(SavedHits(), (std::vector<uint32_t>{1}));
  ClickRowBox(Row(u"3.jpg"));
  EXPECT_EQ(TreeState(jpg), app::CheckState::kChecked);
}

// A group row renamed on the list keeps its node: its box ticks the group's hits, and a double-click lists them.
TEST_F(FileTraceResultsTest, ARenamedGroupRowStillStandsForItsGroup) {
  Build();
  const int row = Row(u"Images");
  ASSERT_GE(row, 0);
  window.list.SetFocus();
  CEdit* edit = window.list.EditLabel(row);
  ASSERT_NE(edit, nullptr);
  edit->SetWindowText(L"Pictures");
  window.tree.CTreeCtrl::SetFocus();
  harness::PumpFor(50);
  ASSERT_EQ(window.list.GetItemText(row, 0), u"Pictures");
  ClickRowBox(row);
  EXPECT_EQ(TreeState(images), app::CheckState::kChecked);
  EXPECT_EQ(SavedHits(), (std::vector<uint32_t>{1, 2, 3}));
  window.list.RestoreChecks();
  EXPECT_EQ(window.list.RowCheck(row), 1);
  DoubleClickRow(row);
  EXPECT_GE(Row(u"1.jpg"), 0);
  EXPECT_EQ(Row(u"4.doc"), -1);
}

// A group opened by a double-click is the node its hits' boxes recompute; the double-click then counts as a
// click on the new listing.
TEST_F(FileTraceResultsTest, TickingAHitOfADoubleClickedGroupShowsTheGroupPartlyChecked) {
  Build();
  const std::u16string rootFirst = window.list.GetItemText(0, 0);
  window.clickedListings.clear();
  DoubleClickRow(Row(u"Images"));
  ASSERT_GE(Row(u"1.jpg"), 0);
  EXPECT_EQ(Row(u"4.doc"), -1);
  // The double-click's own click comes once the group's hits are listed.
  ASSERT_FALSE(window.clickedListings.empty());
  EXPECT_EQ(window.clickedListings.back(), window.list.GetItemText(0, 0));
  EXPECT_NE(window.clickedListings.back(), rootFirst);
  ClickRowBox(Row(u"1.jpg"));
  EXPECT_EQ(TreeState(images), app::CheckState::kPartly);
  EXPECT_EQ(TreeState(top), app::CheckState::kPartly);
  EXPECT_EQ(SavedHits(), (std::vector<uint32_t>{1}));
}

// A type of many hits: every hit listed in order with its texts, a hit ticked on the list shows ticked when
// the type is listed again (and its neighbours unticked), and the list is drawn once listed.
TEST_F(FileTraceResultsTest, ATypeOfManyHitsListsEveryHitAndKeepsATickedHitsBox) {
  RecoveryMode = records::kFileTrace;
  constexpr int kHits = 20000;
  for (int i = 0; i < kHits; ++i) {
    const uint32_t id = static_cast<uint32_t>(i) + 1;
    AppendFileTraceHit(u"p" + os::Decimal(100000 + id) + u".jpg", u".jpg", u"Images", id, id * 8);
  }
  AppendFileTraceHit(u"q.png", u".png", u"Images", kHits + 1, 8);
  AddFileTraceGroups(window.tree.AddItem(u"Root", host::kNoTreeKey, host::TreeImage::kDrive, false));
  top = window.tree.CTreeCtrl::GetRootItem();
  images = window.tree.FindChild(top, u"Images");
  ASSERT_NE(images, nullptr);
  ExpandAll(top);
  HTREEITEM jpg = window.tree.FindChild(images, u".jpg");
  ASSERT_NE(jpg, nullptr);
  const std::u16string jpegType = window.shell.GetFileTypeName(u"x.jpg");

  ClickLabel(jpg);
  ASSERT_EQ(window.list.CTKListCtrl::GetItemCount(), kHits);
  EXPECT_EQ(window.list.GetItemText(0, 0), u"p100001.jpg");
  EXPECT_EQ(window.list.GetItemText(0, 1), jpegType);
  EXPECT_EQ(window.list.GetItemText(0, 2), u"1");
  EXPECT_EQ(window.list.GetItemText(kHits - 1, 0), u"p120000.jpg");
  EXPECT_EQ(window.list.GetItemText(kHits - 1, 1), jpegType);
  EXPECT_EQ(window.list.GetItemText(kHits - 1, 2), u"20000");

  constexpr int kTicked = 12345;
  window.list.EnsureVisible(kTicked, FALSE);
  ClickRowBox(kTicked);
  EXPECT_EQ(SavedHits(), (std::vector<uint32_t>{kTicked + 1}));
  EXPECT_EQ(TreeState(jpg), app::CheckState::kPartly);
  ClickLabel(images);
  ClickLabel(jpg);
  ASSERT_EQ(window.list.CTKListCtrl::GetItemCount(), kHits);
  for (int row : {0, kTicked - 1, kTicked + 1, kHits - 1}) EXPECT_EQ(window.list.RowCheck(row), 0) << row;
  EXPECT_EQ(window.list.RowCheck(kTicked), 1);

  // Drawn: the first row's name is painted.
  window.list.EnsureVisible(0, FALSE);
  ASSERT_TRUE(window.list.IsWindowVisible());
  window.list.UpdateWindow();
  CRect label;
  ASSERT_TRUE(window.list.GetItemRect(0, label, LVIR_LABEL));
  HDC dc = ::GetDC(window.list.m_hWnd);
  int dark = 0;
  for (int y = label.top; y < label.bottom; ++y) {
    for (int x = label.left; x < label.right; ++x) {
      const COLORREF c = ::GetPixel(dc, x, y);
      if (GetRValue(c) < 100 && GetGValue(c) < 100 && GetBValue(c) < 100) ++dark;
    }
  }
  ::ReleaseDC(window.list.m_hWnd, dc);
  EXPECT_GT(dark, 10);
  harness::CaptureWindow(window.m_hWnd, "results/file_trace_many_hits");

  // A list hidden on its own stays hidden through a listing.
  window.list.ShowWindow(SW_HIDE);
  ClickLabel(jpg);
  EXPECT_EQ(window.list.CTKListCtrl::GetItemCount(), kHits);
  EXPECT_EQ(window.list.GetStyle() & WS_VISIBLE, 0u);
}

TEST_F(ResultsControlsTest, NothingTickedAsksForMarksInsteadOfSaving) {
  Scan();
  harness::ScopedSeams seams;
  seams.boxes.Answer(seams::kOk);
  window.list.RecoverSelected();
  ASSERT_EQ(seams.boxes.Log().size(), 1u);
  EXPECT_NE(seams.boxes.Log()[0].text.find(u"Please mark the file(s)"), std::u16string::npos);
  EXPECT_EQ(seams.boxes.Log()[0].kind(), 1u);
}

// Paths compared as Windows does: an 8.3 name that TSK shows in lower case (its NT case flags) is the same file.
std::string Folded(std::string path) {
  std::transform(path.begin(), path.end(), path.begin(), [](char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; });
  return path;
}

std::string FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Recover Selected into a fresh folder: what it saved is exactly the expected files, with icat's bytes.
void ExpectRecoveredAsIcatReadsThem(ResultListCtrl& list) {
  const std::filesystem::path out = std::filesystem::temp_directory_path() / "results_controls_save";
  std::filesystem::remove_all(out);
  std::filesystem::create_directories(out);
  // Recover Selected: the folder chosen in the folder browser, then the engine's SaveSelected.
  harness::ScopedSeams seams;
  seams.dialogs.ChooseFolderPath(os::FromUtf8(out.u8string()));
  list.RecoverSelected();
  EXPECT_EQ(seams.boxes.Log().size(), 0u);

  std::set<std::string> expected;
  std::ifstream listing(DORVANE_SAVE_EXPECTED "/save_expected.tsv");
  ASSERT_TRUE(listing.good());
  for (std::string line; std::getline(listing, line);) {
    if (!line.empty()) expected.insert(Folded(line));
  }
  std::set<std::string> saved;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(out)) {
    if (!entry.is_regular_file()) continue;
    const std::string relative = std::filesystem::relative(entry.path(), out).generic_u8string();
    saved.insert(Folded(relative));
    EXPECT_EQ(FileBytes(entry.path()),
              FileBytes(std::filesystem::u8path(DORVANE_SAVE_EXPECTED "/expected/" + relative)))
        << relative;
  }
  EXPECT_EQ(saved, expected);
  std::filesystem::remove_all(out);
}

TEST_F(ResultsControlsTest, SavesExactlyTheTickedFolderAndFilesAsIcatReadsThem) {
  Scan();
  ClickRowBox(Row(u"Documents"));
  ClickRowBox(Row(u"README.TXT"));
  ClickRowBox(Row(u"Twenty six characters.text"));
  // What the user sees when the page is captured: ticked rows, a partly checked top node, the red folder.
  harness::PumpFor(100);
  harness::CaptureWindow(window.m_hWnd, "results_tree_list");
  ExpectRecoveredAsIcatReadsThem(window.list);
}

// Space on the selected node takes the way of a click on its box: the list's rows and the marks follow, and
// what Save writes is what the boxes show.
TEST_F(ResultsControlsTest, SpaceOnAFolderNodeTicksItAsAClickDoes) {
  Scan();
  HTREEITEM top = window.tree.CTreeCtrl::GetRootItem();
  HTREEITEM documents = Folder(u"Documents");
  ASSERT_NE(documents, nullptr);
  ClickLabel(documents);
  ASSERT_EQ(::GetFocus(), window.tree.m_hWnd);
  const int letter = Row(u"Letter to the bank.txt");
  ASSERT_GE(letter, 0);
  harness::PressKey(::GetFocus(), VK_SPACE);
  EXPECT_EQ(TreeState(documents), app::CheckState::kChecked);
  EXPECT_EQ(TreeState(Folder(u"2019")), app::CheckState::kChecked);
  EXPECT_EQ(TreeState(top), app::CheckState::kPartly);
  EXPECT_EQ(window.list.RowCheck(letter), 1);
  // Twice is once undone, marks and all.
  harness::PressKey(::GetFocus(), VK_SPACE);
  EXPECT_EQ(TreeState(documents), app::CheckState::kUnchecked);
  EXPECT_EQ(window.list.RowCheck(letter), 0);
  EXPECT_TRUE(window.list.Sets().fileMarks.empty());
  harness::PressKey(::GetFocus(), VK_SPACE);

  // The root listed again shows the folder ticked; two of its files ticked beside it save as a click would.
  ClickLabel(top);
  EXPECT_EQ(window.list.RowCheck(Row(u"Documents")), 1);
  ClickRowBox(Row(u"README.TXT"));
  ClickRowBox(Row(u"Twenty six characters.text"));
  ExpectRecoveredAsIcatReadsThem(window.list);
}

// ---- the context menus: the toolkit's popup bars, their command returned and run ----

BOOL CALLBACK FindPopup(HWND hwnd, LPARAM out) {
  CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
  if (wnd == nullptr || !::IsWindowVisible(hwnd) || !wnd->IsKindOf(RUNTIME_CLASS(CTKPPopupBar))) return TRUE;
  *reinterpret_cast<CTKPPopupBar**>(out) = static_cast<CTKPPopupBar*>(wnd);
  return FALSE;
}

// The popup bar the thread shows (the menu opened by a right click), or null.
CTKPPopupBar* ShownPopup() {
  CTKPPopupBar* found = nullptr;
  ::EnumThreadWindows(::GetCurrentThreadId(), FindPopup, reinterpret_cast<LPARAM>(&found));
  return found;
}

// Runs inside the menu's loop: acts once a popup shows.
std::function<void(CTKPPopupBar*)> g_onMenu;
void CALLBACK ActOnMenu(HWND, UINT, UINT_PTR id, DWORD) {
  CTKPPopupBar* popup = ShownPopup();
  if (popup == nullptr) return;
  ::KillTimer(nullptr, id);
  g_onMenu(popup);
}

TEST_F(ResultsControlsTest, ListMenuChosenByKeyboardSwitchesTheView) {
  Scan();
  const int row = Row(u"README.TXT");
  ASSERT_GE(row, 0);
  CRect rect;
  ASSERT_TRUE(window.list.GetItemRect(row, rect, LVIR_LABEL));
  const HWND list = window.list.m_hWnd;
  int commands = 0;
  g_onMenu = [&](CTKPPopupBar* popup) {
    commands = popup->GetControlCount();
    // Recover Selected, View, into View (Icons), List, chosen.
    for (UINT key : {VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN}) {
      ::PostMessageW(list, WM_KEYDOWN, key, 1);
      ::PostMessageW(list, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
    }
  };
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, ActOnMenu);
  window.list.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(rect.left + 4, rect.CenterPoint().y));
  ::KillTimer(nullptr, timer);
  EXPECT_EQ(commands, 6);  // menu 192: six commands
  EXPECT_EQ(window.list.GetStyle() & LVS_TYPEMASK, static_cast<DWORD>(LVS_LIST));
  EXPECT_EQ(ShownPopup(), nullptr);
}

TEST_F(ResultsControlsTest, TreeMenuChosenByMouseRunsItsCommand) {
  Scan();
  HTREEITEM documents = Folder(u"Documents");
  ASSERT_NE(documents, nullptr);
  CRect rect;
  ASSERT_TRUE(window.tree.GetItemRect(documents, rect, TRUE));
  harness::ScopedSeams seams;
  seams.boxes.Answer(seams::kOk);
  g_onMenu = [&](CTKPPopupBar* popup) {
    for (int i = 0; i < popup->GetControlCount(); ++i) {
      CTKPControl* control = popup->GetControl(i);
      if (control->GetID() != ID_RECOVER_SELECTED) continue;
      const LPARAM at = MAKELPARAM(control->GetRect().CenterPoint().x, control->GetRect().CenterPoint().y);
      ::PostMessageW(popup->GetSafeHwnd(), WM_MOUSEMOVE, 0, at);
      ::PostMessageW(popup->GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
      ::PostMessageW(popup->GetSafeHwnd(), WM_LBUTTONUP, 0, at);
    }
  };
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, ActOnMenu);
  window.tree.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(rect.left + 4, rect.CenterPoint().y));
  ::KillTimer(nullptr, timer);
  // Menu 325's Recover Selected ran: nothing is ticked, so the user is asked to mark files.
  ASSERT_EQ(seams.boxes.Log().size(), 1u);
  EXPECT_NE(seams.boxes.Log()[0].text.find(u"Please mark the file(s)"), std::u16string::npos);
  EXPECT_EQ(ShownPopup(), nullptr);
}

// ---- every item of both context menus, chosen by keyboard, does what its text says ----

// The captions of the dialogs shown while a command ran; each is cancelled as soon as it shows.
std::vector<std::wstring> g_dialogs;
BOOL CALLBACK CancelDialog(HWND hwnd, LPARAM) {
  wchar_t cls[16] = {};
  ::GetClassNameW(hwnd, cls, 16);
  if (!::IsWindowVisible(hwnd) || std::wstring(cls) != L"#32770") return TRUE;
  wchar_t title[64] = {};
  ::GetWindowTextW(hwnd, title, 64);
  if (std::find(g_dialogs.begin(), g_dialogs.end(), title) == g_dialogs.end()) g_dialogs.push_back(title);
  ::PostMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
  return TRUE;
}
void CALLBACK CancelDialogs(HWND, UINT, UINT_PTR, DWORD) {
  ::EnumThreadWindows(::GetCurrentThreadId(), CancelDialog, 0);
}

struct MenuStep {
  UINT command;
  std::vector<UINT> keys;  // from the menu's opening to the item chosen
};

// Every command of the menu with the keys that reach it (Down to an item, Right into a submenu, Enter).
std::vector<MenuStep> MenuSteps(CMenu* menu) {
  std::vector<MenuStep> steps;
  for (int i = 0; i < menu->GetMenuItemCount(); ++i) {
    std::vector<UINT> keys(static_cast<size_t>(i) + 1, VK_DOWN);
    if (CMenu* sub = menu->GetSubMenu(i)) {
      for (int j = 0; j < sub->GetMenuItemCount(); ++j) {
        std::vector<UINT> inner = keys;
        inner.push_back(VK_RIGHT);
        inner.insert(inner.end(), static_cast<size_t>(j), VK_DOWN);
        inner.push_back(VK_RETURN);
        steps.push_back({sub->GetMenuItemID(j), inner});
      }
    } else if (menu->GetMenuItemID(i) != 0) {
      keys.push_back(VK_RETURN);
      steps.push_back({menu->GetMenuItemID(i), keys});
    }
  }
  return steps;
}

// Opens the context menu of target by a right click at point and chooses by keys; dialogs it opens are
// recorded and cancelled.
void ChooseFromMenu(HWND target, CPoint point, const std::vector<UINT>& keys) {
  g_onMenu = [&](CTKPPopupBar*) {
    for (UINT key : keys) {
      ::PostMessageW(target, WM_KEYDOWN, key, 1);
      ::PostMessageW(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
    }
  };
  const UINT_PTR menuTimer = ::SetTimer(nullptr, 0, 50, ActOnMenu);
  const UINT_PTR dialogTimer = ::SetTimer(nullptr, 0, 100, CancelDialogs);
  ::SendMessageW(target, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(point.x, point.y));
  ::KillTimer(nullptr, menuTimer);
  ::KillTimer(nullptr, dialogTimer);
  harness::PumpFor(50);
}

TEST_F(ResultsControlsTest, EveryItemOfEveryContextMenuDoesWhatItSays) {
  Scan();
  harness::ScopedSeams seams;
  const HTREEITEM documents = Folder(u"Documents");
  ASSERT_NE(documents, nullptr);
  struct Menu {
    const char* name;
    HWND target;
    std::vector<MenuStep> steps;
  } menus[2];
  CMenu listMenu;
  window.list.BuildContextMenu(listMenu);
  menus[0] = {"list", window.list.m_hWnd, MenuSteps(listMenu.GetSubMenu(0))};
  CMenu treeMenu;
  window.tree.BuildContextMenu(treeMenu);
  menus[1] = {"tree", window.tree.m_hWnd, MenuSteps(treeMenu.GetSubMenu(0))};
  EXPECT_EQ(menus[0].steps.size(), 8u);
  EXPECT_EQ(menus[1].steps.size(), 7u);

  for (const Menu& menu : menus) {
    for (const MenuStep& step : menu.steps) {
      SCOPED_TRACE(std::string(menu.name) + " command " + std::to_string(step.command));
      // Each view command starts from another view.
      window.list.SwitchView(step.command == ID_VIEW_DETAILS ? ID_VIEW_LIST : ID_VIEW_DETAILS);
      CRect rect;
      if (menu.target == window.list.m_hWnd) {
        const int row = Row(u"README.TXT");
        ASSERT_GE(row, 0);
        ASSERT_TRUE(window.list.GetItemRect(row, rect, LVIR_LABEL));
      } else {
        ASSERT_TRUE(window.tree.GetItemRect(documents, rect, TRUE));
      }
      g_dialogs.clear();
      const size_t boxes = seams.boxes.Log().size();
      if (step.command == ID_RECOVER_SELECTED) seams.boxes.Answer(seams::kOk);
      ChooseFromMenu(menu.target, CPoint(rect.left + 4, rect.CenterPoint().y), step.keys);
      EXPECT_EQ(ShownPopup(), nullptr);
      const DWORD view = window.list.GetStyle() & LVS_TYPEMASK;
      switch (step.command) {
        case ID_RECOVER_SELECTED:
          // Nothing is ticked: the user is asked to mark files.
          ASSERT_EQ(seams.boxes.Log().size(), boxes + 1);
          EXPECT_NE(seams.boxes.Log().back().text.find(u"Please mark the file(s)"), std::u16string::npos);
          break;
        case ID_VIEW_ICONS:
          EXPECT_EQ(view, static_cast<DWORD>(LVS_SMALLICON));
          break;
        case ID_VIEW_LIST:
          EXPECT_EQ(view, static_cast<DWORD>(LVS_LIST));
          break;
        case ID_VIEW_DETAILS:
          EXPECT_EQ(view, static_cast<DWORD>(LVS_REPORT));
          break;
        case ID_FIND_FILES:
          EXPECT_EQ(g_dialogs, std::vector<std::wstring>{L"Find File(s)"});
          break;
        case ID_SETTINGS:
          EXPECT_EQ(g_dialogs, std::vector<std::wstring>{L"Recovery Settings"});
          break;
        case ID_ITEM_PROPERTIES:
          EXPECT_EQ(g_dialogs, std::vector<std::wstring>{L"File/Folder Properties"});
          break;
        case ID_RENAME_ITEM: {
          const HWND edit = ListView_GetEditControl(window.list.m_hWnd);
          ASSERT_NE(edit, nullptr);
          wchar_t text[32] = {};
          ::GetWindowTextW(edit, text, 32);
          EXPECT_STREQ(text, L"README.TXT");
          ::SendMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0);
          harness::PumpFor(50);
          break;
        }
        default:
          ADD_FAILURE() << "a command this test does not know";
      }
      if (step.command != ID_RECOVER_SELECTED) {
        EXPECT_EQ(seams.boxes.Log().size(), boxes);
      }
    }
  }
  window.list.SwitchView(ID_VIEW_DETAILS);

  // While the Find dialog is open the list's menu does not open.
  FindDialogOpen = 1;
  CRect rect;
  ASSERT_TRUE(window.list.GetItemRect(window.list.CTKListCtrl::GetItemCount() - 1, rect, LVIR_LABEL));
  bool opened = false;
  g_onMenu = [&](CTKPPopupBar*) {
    opened = true;
    ::PostMessageW(window.list.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 1);
  };
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, ActOnMenu);
  window.list.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(rect.left + 4, rect.CenterPoint().y));
  harness::PumpFor(200);
  ::KillTimer(nullptr, timer);
  FindDialogOpen = 0;
  EXPECT_FALSE(opened);
}

// The header's menu, with the command bars in the program a popup bar, shows the sort direction and the
// alignment of the column clicked checked.
TEST_F(ResultsControlsTest, TheHeadersMenuShowsTheSortAndAlignmentOfItsColumnChecked) {
  CTKHeaderCtrl header;
  ASSERT_TRUE(header.SubclassWindow(ListView_GetHeader(window.list.m_hWnd)));
  LVCOLUMNW format{};
  format.mask = LVCF_FMT;
  format.fmt = LVCFMT_RIGHT;
  ASSERT_TRUE(window.list.SetColumn(2, &format));
  for (BOOL ascending : {TRUE, FALSE}) {
    header.SetSortImage(2, ascending);
    std::map<UINT, BOOL> checked;
    // The items of the menu and of its submenu ("Alignment").
    std::function<void(CTKPCommandBar*)> read = [&](CTKPCommandBar* bar) {
      for (int i = 0; bar != nullptr && i < bar->GetControlCount(); ++i) {
        CTKPControl* control = bar->GetControl(i);
        checked[control->GetID()] = control->GetChecked();
        if (control->IsKindOf(RUNTIME_CLASS(CTKPControlPopup))) read(control->GetCommandBar());
      }
    };
    g_onMenu = [&](CTKPPopupBar* popup) {
      read(popup);
      popup->UpdateWindow();
      if (!ascending) harness::CaptureWindow(popup->GetSafeHwnd(), "results/header_menu_descending");
      ::PostMessageW(popup->GetSafeHwnd(), WM_KEYDOWN, VK_ESCAPE, 1);
    };
    CRect rect;
    header.GetItemRect(2, rect);
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, ActOnMenu);
    header.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(rect.CenterPoint().x, rect.CenterPoint().y));
    ::KillTimer(nullptr, timer);
    harness::PumpFor(50);
    ASSERT_EQ(ShownPopup(), nullptr);
    ASSERT_FALSE(checked.empty());
    EXPECT_EQ(checked[ID_TK_SORT_ASCENDING], ascending);
    EXPECT_EQ(checked[ID_TK_SORT_DESCENDING], !ascending);
    EXPECT_TRUE(checked[ID_TK_ALIGN_RIGHT]);
    EXPECT_FALSE(checked[ID_TK_ALIGN_LEFT]);
    EXPECT_FALSE(checked[ID_TK_ALIGN_CENTER]);
  }
  header.UnsubclassWindow();
}

}  // namespace
