// The recovery settings, file filters, find files and properties dialogs in real windows under Wine,
// over a Quick Scan of a generated FAT16 image: what each shows, what its buttons change in the engine's
// records, the refusals, a search stopped by the user, and the find-and-save of ticked matches compared
// with the image's own bytes. The manifest of the image (what TSK lists) gives every expectation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/dialogs/file_filters_dialog.h"
#include "app/dialogs/find_files_dialog.h"
#include "app/dialogs/properties_dialog.h"
#include "app/dialogs/recovery_settings_dialog.h"
#include "app/logic/folder_totals.h"
#include "engine/host/fakes.h"
#include "engine/host/result_tree_fakes.h"
#include "engine/host/shell_file_info_fakes.h"
#include "engine/image/disk_image.h"
#include "engine/image/source_values.h"
#include "engine/records/fat_records.h"
#include "engine/records/recovery_settings.h"
#include "engine/records/scan_control.h"
#include "engine/records/scan_parameters.h"
#include "engine/records/scan_records.h"
#include "engine/listing/file_filter_table.h"
#include "engine/listing/results_listing.h"
#include "engine/scan/quick_scan.h"
#include "engine/scan/results_tree_build.h"
#include "platform/harness/driver.h"
#include "platform/harness/seam_test.h"
#include "platform/os/os.h"
#include "res/resource.h"

namespace {

const std::string kImages = DORVANE_SHARED_IMAGES;

// ---- the image's manifest ---------------------------------------------------------------------------
struct ManifestEntry {
  std::string path;
  bool dir = false;
  bool meta = false;
  uint64_t size = 0;
  uint64_t firstSector = 0;  // of the first run
};

// The first number at or after at in text (the manifest is indented JSON).
uint64_t NumberAfter(const std::string& text, size_t at) {
  const size_t digit = text.find_first_of("0123456789", at);
  return digit == std::string::npos ? 0 : std::stoull(text.substr(digit, 20));
}

// The "entries" of the manifest's volume: path, kind, size and first run, read field by field.
std::vector<ManifestEntry> ReadManifest(const std::string& image) {
  std::ifstream in(kImages + "/" + image + ".manifest.json", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  const std::string json = text.str();
  std::vector<ManifestEntry> entries;
  const std::string key = "\"path\": \"";
  for (size_t at = json.find(key); at != std::string::npos;) {
    const size_t next = json.find(key, at + 1);
    const std::string body = json.substr(at, next == std::string::npos ? std::string::npos : next - at);
    ManifestEntry entry;
    entry.path = body.substr(key.size(), body.find('"', key.size()) - key.size());
    entry.dir = body.find("\"dir\": true") != std::string::npos;
    entry.meta = body.find("\"meta\": true") != std::string::npos;
    const size_t size = body.find("\"size\": ");
    if (size != std::string::npos) entry.size = NumberAfter(body, size);
    const size_t runs = body.find("\"runs\": [");
    if (runs != std::string::npos) entry.firstSector = NumberAfter(body, runs);
    entries.push_back(entry);
    at = next;
  }
  return entries;
}

const ManifestEntry* Entry(const std::vector<ManifestEntry>& entries, const std::string& path) {
  for (const ManifestEntry& e : entries) {
    if (e.path == path) return &e;
  }
  return nullptr;
}

// The bytes of a file whose data lies in its first run, read from the raw volume the image wraps.
std::string RawBytes(const ManifestEntry& entry) {
  std::ifstream raw(kImages + "/fat16.raw", std::ios::binary);
  raw.seekg(static_cast<std::streamoff>(entry.firstSector * 512));
  std::string bytes(entry.size, '\0');
  raw.read(&bytes[0], static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

std::string FileBytes(const std::u16string& path) {
  std::ifstream in(os::ToUtf8(path).c_str(), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::wstring Wide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }
std::u16string Utf16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

bool EndsWithTxt(std::wstring name) {
  std::transform(name.begin(), name.end(), name.begin(), ::towupper);
  return name.size() >= 4 && name.compare(name.size() - 4, 4, L".TXT") == 0;
}

// ---- the fixture: a Quick Scan of fat16.fixed.vhd with the results page's fakes ---------------------
class DialogsTest : public harness::SeamTest {
 protected:
  void SetUp() override {
    hosts_.resultTree = &tree;
    hosts_.resultList = &list;
    hosts_.shellFileInfo = &shell;
    hosts_.messages = &messages;
    installed_ = std::make_unique<host::ScopedHosts>(hosts_);
    FileFilterTable = FileFilterTableRecord{};
    RecoverySettings = RecoverySettingsRecord{};
    manifest = ReadManifest("fat16.fixed.vhd");
    ASSERT_FALSE(manifest.empty());
    ASSERT_TRUE(Scan("fat16.fixed.vhd", records::kFat16));
  }
  void TearDown() override {
    harness::PumpMessages();
    FreeScanRecordLists();
    FileFilterTable = FileFilterTableRecord{};
    SetCurrentDiskImage(nullptr);
    installed_.reset();
    harness::SeamTest::TearDown();
  }

  bool Scan(const std::string& name, uint16_t code) { return ScanPath(kImages + "/" + name, code); }
  bool ScanPath(const std::string& path, uint16_t code) {
    image_.Close();
    image_.CreateReader(kImageVhd);
    if (!image_.Open(os::FromUtf8(path))) return false;
    ImageFormat = 0;
    CurrentDriveIndex = 0;
    SourceKind = kSourceDisk;
    SetCurrentDiskImage(&image_);
    RecoveryMode = records::kQuickScan;
    const uint32_t sectors = static_cast<uint32_t>(image_.GetVirtualDiskSize() / 512);
    ScanRange = ScanRangeRecord{code, 0, sectors, sectors - 1, 0};
    ScanThreadControl.stopFlag = 0;
    ScanThreadControl.runningFlag = 1;
    ResultListers = ResultListersRecord{ListFatFolder, ListNtfsFolder};
    const uint32_t scanned = QuickScanThread();
    ResultListers = ResultListersRecord{};
    return scanned == 1;
  }

  // The node of a folder below the top node, by its texts from the top.
  host::TreeKey Node(std::vector<std::u16string> path) {
    host::TreeKey node = tree.GetRootItem();
    for (const std::u16string& part : path) {
      host::TreeKey found = host::kNoTreeKey;
      for (host::TreeKey child : tree.Children(node)) {
        if (tree.At(child).text == part) found = child;
      }
      if (found == host::kNoTreeKey) return found;
      node = found;
    }
    return node;
  }

  std::vector<std::wstring> ListedNames() {
    std::vector<std::wstring> names;
    for (uint32_t row = 0; row < list.GetItemCount(); ++row) names.push_back(Wide(list.GetItemText(row, 0)));
    return names;
  }

  // Opens a dialog modelessly, shown and painted.
  template <typename Dialog>
  void Open(Dialog& dialog, UINT templateId) {
    ASSERT_TRUE(dialog.Create(templateId, nullptr));
    dialog.ShowWindow(SW_SHOW);
    dialog.UpdateWindow();
    harness::PumpFor(100);
  }

  HWND Item(CWnd& dialog, int id) { return harness::Control(dialog.GetSafeHwnd(), id); }

  host::RecordingResultTree tree;
  host::RecordingResultList list;
  host::FixedShellFileInfo shell;
  host::RecordingMessages messages;
  std::vector<ManifestEntry> manifest;

 private:
  DiskImage image_;
  host::Hosts hosts_;
  std::unique_ptr<host::ScopedHosts> installed_;
};

// ---- Recovery Settings ------------------------------------------------------------------------------
TEST_F(DialogsTest, SettingsShowTheRecordAndOkWithoutChangeKeepsIt) {
  RecoverySettings = RecoverySettingsRecord{17, 2, 3, 5};
  RecoverySettingsDialog dialog;
  Open(dialog, IDD_RECOVERY_SETTINGS);
  EXPECT_EQ(harness::Selection(Item(dialog, IDC_SECTORS_PER_READ)), 16);
  EXPECT_EQ(harness::Items(Item(dialog, IDC_SECTORS_PER_READ)).size(), 100u);
  EXPECT_EQ(harness::Selection(Item(dialog, IDC_RETRIES)), 4);
  EXPECT_FALSE(harness::StateOf(Item(dialog, IDC_RETRIES)).visible);
  EXPECT_EQ(harness::StateOf(Item(dialog, IDC_OVERWRITE_DUPLICATES)).check, BST_CHECKED);
  EXPECT_EQ(harness::StateOf(Item(dialog, IDC_EXCLUDE_DELETED)).check, BST_CHECKED);
  harness::CaptureWindow(dialog.GetSafeHwnd(), "settings");

  harness::PostCommand(dialog.GetSafeHwnd(), IDOK);
  EXPECT_FALSE(harness::StateOf(dialog.GetSafeHwnd()).visible);
  EXPECT_EQ(RecoverySettings.sectorsPerRead, 17u);
  EXPECT_EQ(RecoverySettings.duplicatePolicy, 2);
  EXPECT_EQ(RecoverySettings.deletedPolicy, 3);
  EXPECT_EQ(RecoverySettings.badSectorRetries, 5);
  dialog.DestroyWindow();
}

TEST_F(DialogsTest, SettingsOkWritesTheChoiceAndCancelLeavesTheRecord) {
  RecoverySettingsDialog changed;
  Open(changed, IDD_RECOVERY_SETTINGS);
  ::SendMessageW(Item(changed, IDC_SECTORS_PER_READ), CB_SETCURSEL, 99, 0);
  harness::ClickCentre(Item(changed, IDC_SKIP_DUPLICATES));
  harness::ClickCentre(Item(changed, IDC_ONLY_DELETED));
  harness::PumpFor(50);
  harness::PostCommand(changed.GetSafeHwnd(), IDOK);
  EXPECT_EQ(RecoverySettings.sectorsPerRead, 100u);
  EXPECT_EQ(RecoverySettings.duplicatePolicy, 3);
  EXPECT_EQ(RecoverySettings.deletedPolicy, 2);
  EXPECT_EQ(RecoverySettings.badSectorRetries, 3);
  changed.DestroyWindow();

  RecoverySettingsDialog cancelled;
  Open(cancelled, IDD_RECOVERY_SETTINGS);
  ::SendMessageW(Item(cancelled, IDC_SECTORS_PER_READ), CB_SETCURSEL, 0, 0);
  harness::ClickCentre(Item(cancelled, IDC_RENAME_DUPLICATES));
  harness::PostCommand(cancelled.GetSafeHwnd(), IDCANCEL);
  EXPECT_EQ(RecoverySettings.sectorsPerRead, 100u);
  EXPECT_EQ(RecoverySettings.duplicatePolicy, 3);
  cancelled.DestroyWindow();
}

// ---- File Filters -----------------------------------------------------------------------------------
class FiltersTest : public DialogsTest {
 protected:
  void Add(FileFiltersDialog& dialog, const std::wstring& text) {
    ::SetWindowTextW(Item(dialog, IDC_FILTER_EDIT), text.c_str());
    harness::PostCommand(dialog.GetSafeHwnd(), IDOK);
  }
};

TEST_F(FiltersTest, FourRefusalsAreErrorsAndLeaveTheList) {
  std::vector<std::u16string> table;
  for (int i = 0; i < 97; ++i) table.push_back(u"F" + os::FromAscii(std::to_string(100 + i)));
  ASSERT_TRUE(SetFileFilters(table));
  FileFiltersDialog dialog;
  Open(dialog, IDD_FILE_FILTERS);
  EXPECT_EQ(harness::Items(Item(dialog, IDC_FILTER_LIST)).size(), 97u);
  EXPECT_TRUE(harness::StateOf(Item(dialog, IDC_FILTER_EDIT)).focused);

  for (int i = 0; i < 4; ++i) seams.boxes.Answer(seams::kOk);
  Add(dialog, L"");                       // blank
  Add(dialog, std::wstring(20, L'x'));    // too long
  EXPECT_EQ(harness::Text(Item(dialog, IDC_FILTER_EDIT)), std::wstring(20, L'x'));
  Add(dialog, L"F100");                   // already there
  Add(dialog, std::wstring(19, L'y'));    // the 98th
  Add(dialog, L"f100");                   // the 99th: case makes it another filter
  Add(dialog, L"*.jpg");                  // the 100th
  EXPECT_EQ(harness::Items(Item(dialog, IDC_FILTER_LIST)).size(), 99u);

  const std::vector<harness::ScriptedMessageBoxes::Shown> boxes = seams.boxes.Log();
  ASSERT_EQ(boxes.size(), 4u);
  const char16_t* texts[] = {u"      You can not add a blank entry.     ", u"      Filter too long     ",
                             u"      Filter already exists in the list     ", u"      You cannot add more Filters     "};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(boxes[i].text, texts[i]);
    EXPECT_EQ(boxes[i].kind(), 2u) << i;
  }
  harness::PostCommand(dialog.GetSafeHwnd(), IDCANCEL);
  EXPECT_EQ(FileFilterTable.count, 99u);
  dialog.DestroyWindow();
}

TEST_F(FiltersTest, TxtFilterHidesOtherFilesInEveryListingAndSaving) {
  FileFiltersDialog dialog;
  Open(dialog, IDD_FILE_FILTERS);
  Add(dialog, L"*.txt");
  harness::CaptureWindow(dialog.GetSafeHwnd(), "filters");
  harness::PostCommand(dialog.GetSafeHwnd(), IDCANCEL);  // Close
  EXPECT_FALSE(harness::StateOf(dialog.GetSafeHwnd()).visible);
  ASSERT_EQ(FileFilterTable.count, 1u);
  EXPECT_EQ(tree.currentNode, tree.GetRootItem());

  // The root was listed again: folders, and files ending in .txt only.
  std::vector<std::wstring> names = ListedNames();
  EXPECT_NE(std::find(names.begin(), names.end(), L"README.TXT"), names.end());
  EXPECT_NE(std::find(names.begin(), names.end(), L"Mixed Case Name.Txt"), names.end());
  EXPECT_NE(std::find(names.begin(), names.end(), L"Photos"), names.end());
  EXPECT_EQ(std::find(names.begin(), names.end(), L"Empty file with a long name.dat"), names.end());
  for (uint32_t row = 0; row < list.GetItemCount(); ++row) {
    if (list.GetItemText(row, 1).find(u"Folder") == std::u16string::npos) {
      EXPECT_TRUE(EndsWithTxt(names[row])) << os::ToUtf8(Utf16(names[row]));
    }
  }
  // Any folder: Photos holds only pictures.
  uint32_t photos = 0;
  for (const FatFolderRecord& folder : FatFolderList) {
    if (folder.name == u"Photos") photos = folder.firstCluster;
  }
  ListFatFolder(photos);
  EXPECT_EQ(ListedNames(), std::vector<std::wstring>{L"Parent..."});

  // Find lists what the filters show, as the lists do (not the picture), and saves every file it lists ticked.
  FindFilesDialog find;
  Open(find, IDD_FIND_FILES);
  ::SetWindowTextW(Item(find, IDC_FIND_PATTERN), L"m");
  harness::PostCommand(find.GetSafeHwnd(), IDOK);
  ASSERT_TRUE(harness::WaitUntil([&] { return !find.Searching(); }));
  harness::PumpMessages();
  for (int row = 0; row < find.m_results.GetItemCount(); ++row) {
    const CString name = find.m_results.GetItemText(row, 0);
    EXPECT_NE(name, _T("IMG_0001.JPG"));
    if (name == _T("Mixed Case Name.Txt")) find.m_results.SetCheck(row, TRUE);
  }
  ASSERT_EQ(find.TickedIds().size(), 1u);
  // Wine gives processes the same numbers again: the time keeps a later run's folder apart.
  const std::u16string folder = os::FromUtf8(std::string("C:\\dorvane-filter-save-") +
                                             std::to_string(::GetCurrentProcessId()) + "-" +
                                             std::to_string(::GetTickCount64()));
  ::CreateDirectoryW(Wide(folder).c_str(), nullptr);
  seams.dialogs.ChooseFolderPath(folder);
  harness::PostCommand(find.GetSafeHwnd(), IDC_FIND_SAVE);
  ASSERT_TRUE(harness::WaitUntil([&] { return !messages.shown.empty(); }));
  ASSERT_NE(Entry(manifest, "Mixed Case Name.Txt"), nullptr);
  EXPECT_EQ(FileBytes(folder + u"\\Mixed Case Name.Txt"), RawBytes(*Entry(manifest, "Mixed Case Name.Txt")));
  EXPECT_FALSE(os::FileExists(folder + u"\\IMG_0001.JPG"));
  find.DestroyWindow();
  dialog.DestroyWindow();
}

// ---- Find Files -------------------------------------------------------------------------------------
class FindTest : public DialogsTest {
 protected:
  void Search(FindFilesDialog& dialog, const std::wstring& pattern) {
    ::SetWindowTextW(Item(dialog, IDC_FIND_PATTERN), pattern.c_str());
    harness::PostCommand(dialog.GetSafeHwnd(), IDOK);
    ASSERT_TRUE(harness::WaitUntil([&] { return !dialog.Searching(); }));
    harness::PumpMessages();
  }
  std::vector<std::vector<std::wstring>> Rows(FindFilesDialog& dialog) {
    return harness::ListViewRows(Item(dialog, IDC_FIND_RESULTS));
  }
};

TEST_F(FindTest, ALowerCasePatternFindsUpperCaseNamesWithTheirPaths) {
  FindFilesDialog dialog;
  Open(dialog, IDD_FIND_FILES);
  EXPECT_EQ(FindDialogOpen.load(), 1u);
  Search(dialog, L"*.txt");
  const auto rows = Rows(dialog);
  std::set<std::wstring> names;
  for (const auto& row : rows) names.insert(row[0]);
  EXPECT_TRUE(names.count(L"README.TXT"));
  EXPECT_TRUE(names.count(L"Mixed Case Name.Txt"));
  EXPECT_TRUE(names.count(L"Annual report 2019.txt"));
  // An 8.3 name written in small letters (its case flags) is found and shown as written.
  EXPECT_TRUE(names.count(L"notes.txt"));
  EXPECT_FALSE(names.count(L"NOTES.TXT"));
  EXPECT_FALSE(names.count(L"IMG_0001.JPG"));
  for (const auto& row : rows) {
    ASSERT_EQ(row.size(), 6u);
    if (row[0] == L"Annual report 2019.txt") {
      EXPECT_EQ(row[1], L"Documents\\Reports\\2019");
      EXPECT_EQ(row[2], std::to_wstring(Entry(manifest, "Documents/Reports/2019/Annual report 2019.txt")->size));
    }
    if (row[0] == L"README.TXT") {
      EXPECT_EQ(row[1], L"");
    }
  }
  EXPECT_EQ(harness::Text(Item(dialog, IDC_FIND_COUNT)), std::to_wstring(rows.size()));
  EXPECT_EQ(harness::Text(Item(dialog, IDC_FIND_LAST_FILE)), rows.back()[0]);
  EXPECT_EQ(harness::Text(Item(dialog, IDC_FIND_STATUS)), L"There were " + std::to_wstring(rows.size()) + L" files found.");
  EXPECT_TRUE(harness::StateOf(Item(dialog, IDOK)).enabled);
  EXPECT_FALSE(harness::StateOf(Item(dialog, IDC_FIND_STOP)).enabled);

  // Select All ticks every row, and again unticks them.
  harness::ClickCentre(Item(dialog, IDC_FIND_SELECT_ALL));
  harness::PumpFor(50);
  EXPECT_EQ(dialog.TickedIds().size(), rows.size());
  EXPECT_EQ(harness::Text(Item(dialog, IDC_FIND_SELECT_ALL)), L"Deselect All");
  harness::CaptureWindow(dialog.GetSafeHwnd(), "find");
  {
    // A raised button, not a flat one: focused, it has a black frame, and, checked, the pressed shadow inside.
    const HWND selectAll = Item(dialog, IDC_FIND_SELECT_ALL);
    ::InvalidateRect(selectAll, nullptr, TRUE);
    ::UpdateWindow(selectAll);
    RECT box{};
    ::GetClientRect(selectAll, &box);
    HDC dc = ::GetDC(selectAll);
    const COLORREF frame = ::GetPixel(dc, box.right / 2, box.bottom - 1);
    const COLORREF edge = ::GetPixel(dc, box.right / 2, box.bottom - 2);
    ::ReleaseDC(selectAll, dc);
    EXPECT_EQ(::GetFocus(), selectAll);
    EXPECT_EQ(frame, RGB(0, 0, 0));
    EXPECT_EQ(edge, ::GetSysColor(COLOR_BTNSHADOW));
  }
  harness::ClickCentre(Item(dialog, IDC_FIND_SELECT_ALL));
  harness::PumpFor(50);
  EXPECT_TRUE(dialog.TickedIds().empty());
  EXPECT_EQ(harness::Text(Item(dialog, IDC_FIND_SELECT_ALL)), L"Select All");

  harness::PostCommand(dialog.GetSafeHwnd(), IDCANCEL);
  EXPECT_FALSE(harness::StateOf(dialog.GetSafeHwnd()).visible);
  dialog.DestroyWindow();
  EXPECT_EQ(FindDialogOpen.load(), 0u);
}

TEST_F(FindTest, NoMatchSaysSoAndSaveAsksForTicks) {
  FindFilesDialog dialog;
  Open(dialog, IDD_FIND_FILES);
  Search(dialog, L"no such name");
  EXPECT_TRUE(Rows(dialog).empty());
  EXPECT_EQ(harness::Text(Item(dialog, IDC_FIND_COUNT)), L"0");
  EXPECT_EQ(harness::Text(Item(dialog, IDC_FIND_LAST_FILE)), L"");
  EXPECT_EQ(harness::Text(Item(dialog, IDC_FIND_STATUS)), L"Search is complete. There are no results to display.");

  seams.boxes.Answer(seams::kOk);
  harness::PostCommand(dialog.GetSafeHwnd(), IDC_FIND_SAVE);
  const auto boxes = seams.boxes.Log();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, u"Please mark the file(s) that you want to save\r\nby clicking on check box.");
  EXPECT_EQ(boxes[0].kind(), 1u);
  dialog.DestroyWindow();
}

TEST_F(FindTest, CloseDuringASearchIsIgnoredAndStopEndsItWhereItStands) {
  FindFilesDialog dialog;
  Open(dialog, IDD_FIND_FILES);
  // A finished search first: its counters must not outlive it.
  Search(dialog, L"*.txt");
  ASSERT_FALSE(Rows(dialog).empty());
  // Many records after the scan's, and a match at the very end that a stopped search never reaches.
  for (uint32_t i = 0; i < 3000000; ++i) AppendFatEntry(u"x", 0, records::kFatRootId, 0, 0, 0, 0).id = 100000 + i;
  AppendFatEntry(u"LATE.BIN", 0, records::kFatRootId, 0, 0, 0, 0).id = 9000000;
  ::SetWindowTextW(Item(dialog, IDC_FIND_PATTERN), L"*.bin");
  // The worker is held at its first test of the stop while Close and the close box come, however busy the
  // machine; the question's answer lets it go.
  dialog.SearchGate().Close();
  dialog.SendMessage(WM_COMMAND, IDOK);
  ASSERT_TRUE(dialog.Searching());
  ASSERT_TRUE(harness::WaitUntil([&] { return dialog.SearchGate().Waiting() > 0; }));
  dialog.SendMessage(WM_COMMAND, IDCANCEL);
  dialog.SendMessage(WM_CLOSE);
  EXPECT_TRUE(harness::StateOf(dialog.GetSafeHwnd()).visible);
  EXPECT_TRUE(dialog.Searching());
  EXPECT_FALSE(harness::StateOf(Item(dialog, IDOK)).enabled);
  EXPECT_TRUE(harness::StateOf(Item(dialog, IDC_FIND_STOP)).enabled);
  EXPECT_FALSE(harness::StateOf(Item(dialog, IDC_FIND_SAVE)).enabled);

  seams.boxes.Answer(seams::kYes);
  dialog.SendMessage(WM_COMMAND, IDC_FIND_STOP);
  EXPECT_TRUE(harness::StateOf(Item(dialog, IDOK)).enabled);
  EXPECT_FALSE(harness::StateOf(Item(dialog, IDC_FIND_STOP)).enabled);
  ASSERT_TRUE(harness::WaitUntil([&] { return !dialog.Searching(); }));
  harness::PumpMessages();
  const auto boxes = seams.boxes.Log();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, u"Do you want to stop file searching ?");
  EXPECT_EQ(boxes[0].kind(), 3u);
  // What was found before the stop stays; the last record was never reached.
  for (const auto& row : Rows(dialog)) EXPECT_NE(row[0], L"LATE.BIN");
  EXPECT_TRUE(harness::StateOf(Item(dialog, IDOK)).enabled);
  EXPECT_TRUE(harness::StateOf(Item(dialog, IDC_FIND_SAVE)).enabled);
  EXPECT_FALSE(harness::StateOf(Item(dialog, IDC_FIND_STOP)).enabled);
  // Stopped by the user: no summary of a finished search, and the counters are those of the rows shown.
  EXPECT_EQ(harness::Text(Item(dialog, IDC_FIND_STATUS)), L"");
  const auto rows = Rows(dialog);
  EXPECT_EQ(harness::Text(Item(dialog, IDC_FIND_COUNT)), std::to_wstring(rows.size()));
  EXPECT_EQ(harness::Text(Item(dialog, IDC_FIND_LAST_FILE)), rows.empty() ? L"" : rows.back()[0]);
  harness::PostCommand(dialog.GetSafeHwnd(), IDCANCEL);
  EXPECT_FALSE(harness::StateOf(dialog.GetSafeHwnd()).visible);
  dialog.DestroyWindow();
}

// A header click sorts the matches by the column, again the other way, under a month-first and a day-first
// locale: the rows stand in the order of their records (names, sizes, dates, ids), 10 January, 15 February,
// 2 March and 5 September among the dates and dates never set (shown empty, before every date), each row
// keeping its path and its tick.
TEST_F(FindTest, EveryColumnSortsByItsRecordsUnderAMonthFirstAndADayFirstLocale) {
  const uint16_t days[] = {(40 << 9) | (1 << 5) | 10, 0, (40 << 9) | (2 << 5) | 15, (40 << 9) | (3 << 5) | 2,
                           (40 << 9) | (9 << 5) | 5, (41 << 9) | (1 << 5) | 1};
  for (size_t i = 0; i < FatEntryList.size(); ++i) {
    FatEntryList[i].firstDateWord = days[i % 6];
    FatEntryList[i].secondDateWord = days[(i + 2) % 6];
  }
  FindFilesDialog dialog;
  Open(dialog, IDD_FIND_FILES);
  Search(dialog, L"*");
  const HWND results = Item(dialog, IDC_FIND_RESULTS);
  // Each row's path, and a tick on every other row, by record id.
  std::map<std::wstring, std::wstring> paths;
  std::set<uint32_t> ticked;
  const auto rows = harness::ListViewRows(results);
  for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
    paths[rows[static_cast<size_t>(row)][5]] = rows[static_cast<size_t>(row)][1];
    if (row % 2 == 0) {
      dialog.m_results.SetCheck(row, TRUE);
      ticked.insert(static_cast<uint32_t>(std::stoul(rows[static_cast<size_t>(row)][5])));
    }
  }
  ASSERT_GE(paths.size(), 5u);
  for (const wchar_t* format : {L"M/d/yyyy", L"dd/MM/yyyy"}) {
    harness::ScopedUserDateFormat locale(format);
    for (int column = 0; column < 6; ++column) {
      for (const bool ascending : {true, false}) {
        harness::ClickListHeader(results, column);
        harness::PumpFor(50);
        std::vector<std::wstring> names;
        std::vector<uint64_t> values;
        for (const auto& row : harness::ListViewRows(results)) {
          const FatEntryRecord* e = FindFatEntry(static_cast<uint32_t>(std::stoul(row[5])));
          ASSERT_NE(e, nullptr);
          EXPECT_EQ(row[1], paths[row[5]]);
          std::wstring name = Wide(column == 0 ? e->name : Utf16(row[1]));
          std::transform(name.begin(), name.end(), name.begin(), ::towlower);
          names.push_back(name);
          const uint64_t value[] = {0, 0, e->size, e->firstDateWord, e->secondDateWord, e->id};
          values.push_back(value[column]);
        }
        if (!ascending) {
          std::reverse(names.begin(), names.end());
          std::reverse(values.begin(), values.end());
        }
        EXPECT_TRUE(column < 2 ? std::is_sorted(names.begin(), names.end()) : std::is_sorted(values.begin(), values.end()))
            << "column " << column << (ascending ? " ascending " : " descending ")
            << (format[0] == L'M' ? "month first" : "day first");
        const std::vector<uint32_t> now = dialog.TickedIds();
        EXPECT_EQ(std::set<uint32_t>(now.begin(), now.end()), ticked);
      }
    }
  }
  dialog.DestroyWindow();
}

// The names of a file with hard links share its id: each row shows the folder of its own name, after every
// sort as well (the names "Nested/readme.txt", "Nested/Deeper/readme.txt" and "Nested/readme, second
// name.txt" of one file, as TSK lists the volume). The last write time of Nested/Deeper/small.txt was never
// set: it shows nothing, and sorts before every date.
TEST_F(FindTest, EachNameOfAFileWithHardLinksShowsItsOwnFolderThroughEverySort) {
  // TSK's listing of the volume: (name, folder as the Path column writes it) of every file, and their times.
  std::multiset<std::pair<std::wstring, std::wstring>> listed;
  std::map<std::wstring, std::wstring> modifiedOf;  // by folder and name
  std::ifstream tsv(DORVANE_LISTING_EXPECTED);
  ASSERT_TRUE(tsv.good());
  for (std::string line; std::getline(tsv, line);) {
    std::vector<std::string> f;
    std::stringstream fields(line);
    for (std::string field; std::getline(fields, field, '\t');) f.push_back(field);
    if (f.size() != 8 || f[0] != "listing_sparse.fixed.vhd" || f[3] != "F") continue;
    std::wstring folder = Wide(os::FromUtf8(f[1]));
    std::replace(folder.begin(), folder.end(), L'/', L'\\');
    listed.emplace(Wide(os::FromUtf8(f[2])), folder);
    modifiedOf[folder + L"\\" + Wide(os::FromUtf8(f[2]))] = f[7] == "-" ? L"" : Wide(os::FromUtf8(f[7]));
  }
  ASSERT_EQ(listed.count({L"readme.txt", L"Nested"}), 1u);
  ASSERT_EQ(listed.count({L"readme.txt", L"Nested\\Deeper"}), 1u);
  FreeScanRecordLists();
  tree.DeleteAllItems();
  std::string volume = DORVANE_LISTING_EXPECTED;
  volume = volume.substr(0, volume.find_last_of("/\\") + 1) + "listing_sparse.fixed.vhd";
  ASSERT_TRUE(ScanPath(volume, records::kNtfs));

  FindFilesDialog dialog;
  Open(dialog, IDD_FIND_FILES);
  Search(dialog, L"*");
  const HWND results = Item(dialog, IDC_FIND_RESULTS);
  // A date as a number that orders dates (year, month, day, hour, minute, second); -1 for none.
  const auto when = [](const std::wstring& text) {
    long long fields[6] = {0, 0, 0, 0, 0, 0};
    if (text.empty() || ::swscanf(text.c_str(), L"%lld-%lld-%lld %lld:%lld:%lld", &fields[2], &fields[1], &fields[0],
                                  &fields[3], &fields[4], &fields[5]) != 6) {
      return -1LL;
    }
    long long key = 0;
    for (long long field : fields) key = key * 100 + field;
    return key;
  };
  for (int column = 0; column < 6; ++column) {
    for (const bool ascending : {true, false}) {
      harness::ClickListHeader(results, column);
      harness::PumpFor(50);
      std::multiset<std::pair<std::wstring, std::wstring>> shown;
      std::vector<long long> modified;
      for (const auto& row : harness::ListViewRows(results)) {
        if (row[0][0] == L'$') continue;  // the metafiles, which TSK does not count among the user's files
        shown.emplace(row[0], row[1]);
        if (column == 4) {
          EXPECT_EQ(row[4], modifiedOf[row[1] + L"\\" + row[0]]) << row[0];
          modified.push_back(when(modifiedOf[row[1] + L"\\" + row[0]]));
        }
      }
      EXPECT_EQ(shown, listed) << "column " << column << (ascending ? " ascending" : " descending");
      if (!ascending) std::reverse(modified.begin(), modified.end());
      EXPECT_TRUE(std::is_sorted(modified.begin(), modified.end())) << (ascending ? "ascending" : "descending");
    }
  }
  // The names side by side: sorted by name, the last rows in sight.
  harness::ClickListHeader(results, 0);
  dialog.m_results.EnsureVisible(dialog.m_results.GetItemCount() - 1, FALSE);
  ListView_Scroll(results, -::GetScrollPos(results, SB_HORZ), 0);
  harness::PumpFor(50);
  harness::CaptureWindow(dialog.GetSafeHwnd(), "find_hard_links");
  dialog.DestroyWindow();
}

TEST_F(FindTest, SavingTickedMatchesWritesExactlyThem) {
  FindFilesDialog dialog;
  Open(dialog, IDD_FIND_FILES);
  Search(dialog, L"*.txt");
  const std::vector<std::string> wanted{"README.TXT", "Mixed Case Name.Txt", "Letter to the bank.txt"};
  for (int row = 0; row < dialog.m_results.GetItemCount(); ++row) {
    const std::string name = os::ToUtf8(dialog.m_results.GetItemText(row, 0).ToUtf16());
    if (std::find(wanted.begin(), wanted.end(), name) != wanted.end()) dialog.m_results.SetCheck(row, TRUE);
  }
  ASSERT_EQ(dialog.TickedIds().size(), wanted.size());
  // Wine gives processes the same numbers again: the time keeps a later run's folder apart.
  const std::u16string folder = os::FromUtf8(std::string("C:\\dorvane-find-save-") +
                                             std::to_string(::GetCurrentProcessId()) + "-" +
                                             std::to_string(::GetTickCount64()));
  ::CreateDirectoryW(Wide(folder).c_str(), nullptr);
  seams.dialogs.ChooseFolderPath(folder);
  harness::PostCommand(dialog.GetSafeHwnd(), IDC_FIND_SAVE);
  ASSERT_TRUE(harness::WaitUntil([&] { return !messages.shown.empty(); }));
  harness::PumpMessages();
  EXPECT_EQ(messages.shown[0].text, u" Files Saved successfully.");

  std::set<std::string> saved;
  WIN32_FIND_DATAW found;
  HANDLE search = ::FindFirstFileW(Wide(folder + u"\\*").c_str(), &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") saved.insert(os::ToUtf8(Utf16(name)));
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  EXPECT_EQ(saved, std::set<std::string>(wanted.begin(), wanted.end()));
  for (const std::string path : {"README.TXT", "Mixed Case Name.Txt", "Documents/Letter to the bank.txt"}) {
    const ManifestEntry* entry = Entry(manifest, path);
    ASSERT_NE(entry, nullptr) << path;
    const std::string name = path.substr(path.find_last_of('/') + 1);
    EXPECT_EQ(FileBytes(folder + u"\\" + os::FromUtf8(name)), RawBytes(*entry)) << path;
  }
  // Afterwards nothing is ticked.
  EXPECT_TRUE(dialog.TickedIds().empty());
  dialog.DestroyWindow();
}

// ---- Properties -------------------------------------------------------------------------------------
TEST_F(DialogsTest, PropertiesOfAFolderCountWhatLiesBelowIt) {
  uint64_t files = 0, bytes = 0, folders = 0;
  for (const ManifestEntry& e : manifest) {
    if (e.meta || e.path.rfind("Documents/", 0) != 0) continue;
    if (e.dir) {
      ++folders;
    } else {
      ++files;
      bytes += e.size;
    }
  }
  PropertiesRequest = PropertiesRequestRecord{u"Documents", u"", u"13-09-2020 ", u"13-09-2020 ",
                                              Node({u"Documents"}), 1};
  ASSERT_NE(PropertiesRequest.treeItem, host::kNoTreeKey);
  PropertiesDialog dialog;
  Open(dialog, IDD_PROPERTIES);
  EXPECT_EQ(harness::Text(Item(dialog, IDC_ITEM_NAME)), L"Documents");
  EXPECT_EQ(harness::Text(Item(dialog, IDC_ITEM_CONTAINS)),
            std::to_wstring(files) + L" File(s) and " + std::to_wstring(folders) + L" Folder(s)");
  ASSERT_LT(bytes, 1024u * 1024u);
  EXPECT_EQ(harness::Text(Item(dialog, IDC_ITEM_SIZE)), L"Less than 1 MB");
  EXPECT_EQ(harness::Text(Item(dialog, IDC_ITEM_CREATED)), L"13-09-2020 ");
  harness::CaptureWindow(dialog.GetSafeHwnd(), "properties");
  harness::PostCommand(dialog.GetSafeHwnd(), IDOK);
  dialog.DestroyWindow();

  // A file shows the size it was given and no contents.
  PropertiesRequest = PropertiesRequestRecord{u"README.TXT", u"2 KB", u"a", u"b", host::kNoTreeKey, 0};
  PropertiesDialog file;
  Open(file, IDD_PROPERTIES);
  EXPECT_EQ(harness::Text(Item(file, IDC_ITEM_SIZE)), L"2 KB");
  EXPECT_EQ(harness::Text(Item(file, IDC_ITEM_CONTAINS)), L"");
  file.DestroyWindow();
}

// The height a text takes in a control's width and font, broken at words (and within a word too long for a line).
int TextHeight(HWND control, const std::wstring& text) {
  RECT area{};
  ::GetClientRect(control, &area);
  HDC dc = ::GetDC(control);
  HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
  ::DrawTextW(dc, text.c_str(), -1, &area, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(dc, &metrics);
  ::SelectObject(dc, old);
  ::ReleaseDC(control, dc);
  return std::min<int>(area.bottom - area.top, 3 * metrics.tmHeight);
}

// A name too long for one line is shown whole: the field takes the lines it needs (three, and a scroll bar for
// more), and the rows below it move down. Screenshots properties_long_name.png, properties_longest_name.png.
TEST_F(DialogsTest, PropertiesShowALongNameWhole) {
  const std::u16string longest(255 - 5, u'x');
  for (const std::u16string& name : {std::u16string(u"Quarterly report 2019 - final version (2).docx"),
                                     u"Tom & Jerry " + longest.substr(12) + u".docx"}) {
    PropertiesRequest = PropertiesRequestRecord{name, u"2 KB", u"13-09-2020 ", u"14-09-2020 ", host::kNoTreeKey, 0};
    PropertiesDialog dialog;
    Open(dialog, IDD_PROPERTIES);
    const HWND field = Item(dialog, IDC_ITEM_NAME);
    EXPECT_EQ(harness::Text(field), Wide(name));
    RECT shown{}, size{};
    ::GetClientRect(field, &shown);
    EXPECT_GE(shown.bottom, TextHeight(field, Wide(name))) << os::ToUtf8(name);
    const bool beyond = ::SendMessageW(field, EM_GETLINECOUNT, 0, 0) > 3;
    EXPECT_EQ((::GetWindowLongW(field, GWL_STYLE) & WS_VSCROLL) != 0, beyond) << os::ToUtf8(name);
    ::GetWindowRect(field, &shown);
    ::GetWindowRect(Item(dialog, IDC_ITEM_SIZE), &size);
    EXPECT_GE(size.top, shown.bottom) << os::ToUtf8(name);
    harness::CaptureWindow(dialog.GetSafeHwnd(), beyond ? "properties_longest_name" : "properties_long_name");
    dialog.DestroyWindow();
  }
}

}  // namespace
