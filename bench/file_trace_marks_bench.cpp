// File Trace's marks on the results page, under Wine, at two sizes: a File Trace result whose type ".jpg"
// holds N hits (besides one hit of each of 39 other types in 10 groups), every other group ticked; the
// seconds to list ".jpg" (its N rows written, then their boxes restored from the ticked hits and nodes), to
// restore the boxes alone, and to tick one hit on that list (its type and group recomputed). Best of three, the listing once.
// Then a FAT root folder of as many files (of 10 types) listed in the same list, for comparison.
// Each size twice: the window hidden, every row given icon 0 and the type "File"; then the window shown, with
// the shell's icons (copied into the list's cells, as the results page does) and type names.
//   file_trace_marks_bench [hidden|shown] [HITS...]   (default both, 12500 50000)
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/results/result_list_ctrl.h"
#include "app/results/result_tree_ctrl.h"
#include "app/results/row_icon_list.h"
#include "engine/host/fakes.h"
#include "engine/host/host.h"
#include "engine/host/shell_file_info_host.h"
#include "engine/listing/results_listing.h"
#include "engine/records/fat_records.h"
#include "engine/records/file_trace_hits.h"
#include "engine/records/scan_records.h"
#include "engine/records/result_tree_builders.h"
#include "engine/records/scan_parameters.h"
#include "platform/classlib/win/classlib_win.h"
#include "res/resource.h"
#include "ui/controls/shell_file_info.h"

namespace {

class BenchApp : public CWinApp {
 public:
  BenchApp() : CWinApp(_T("FileTraceMarksBench")) {}
};
BenchApp theApp;

// No shell: every row gets icon 0 and its extension as its type.
class NoShell : public host::ShellFileInfoHost {
 public:
  int32_t GetFolderIconIndex(bool) override { return 0; }
  int32_t GetIconIndex(const std::u16string&, bool) override { return 0; }
  std::u16string GetFileTypeName(const std::u16string&) override { return u"File"; }
};

// The shell's answers, as the results page asks for them.
class RealShell : public host::ShellFileInfoHost {
 public:
  int32_t GetFolderIconIndex(bool small) override { return shell.GetFolderIconIndex(small); }
  int32_t GetIconIndex(const std::u16string& name, bool small) override {
    return shell.GetIconIndex(CString::FromUtf16(name), small);
  }
  std::u16string GetFileTypeName(const std::u16string& name) override {
    return shell.GetFileTypeName(CString::FromUtf16(name)).ToUtf16();
  }
  ui::ShellFileInfo shell;
};

double BestOfThree(const std::function<void()>& run) {
  double best = 0;
  for (int i = 0; i < 3 && (i == 0 || best < 10); ++i) {
    const auto start = std::chrono::steady_clock::now();
    run();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (i == 0 || seconds < best) best = seconds;
  }
  return best;
}

void Run(uint32_t hits, bool shown) {
  CWnd host;
  LPCTSTR cls = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW), ::GetSysColorBrush(COLOR_BTNFACE));
  host.CreateEx(0, cls, _T("Marks"), WS_POPUP | (shown ? WS_VISIBLE : 0), 0, 0, 900, 500, nullptr, nullptr);
  ResultTreeCtrl tree;
  ResultListCtrl list;
  tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_CHECKBOXES, CRect(0, 0, 240, 500), &host,
              IDC_RESULT_TREE);
  tree.SetUp();
  list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHAREIMAGELISTS, CRect(250, 0, 900, 500), &host, IDC_RESULT_LIST);
  list.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  list.SetResultColumns(records::kFileTrace);
  list.SetUp();
  tree.SetList(&list);
  list.SetTree(&tree);
  NoShell noShell;
  RealShell realShell;
  RowIconList icons;
  if (shown) {
    icons.Create(realShell.shell.GetSystemImageList(true));
    list.SetRowIcons(&icons);
  }
  host::Hosts hosts;
  hosts.resultTree = &tree;
  hosts.resultList = &list;
  hosts.shellFileInfo = shown ? static_cast<host::ShellFileInfoHost*>(&realShell) : &noShell;
  host::ScopedHosts installed(hosts);

  RecoveryMode = records::kFileTrace;
  uint32_t id = 1;
  for (uint32_t i = 0; i < hits; ++i, ++id) AppendFileTraceHit(u"f" + std::u16string(1, u'0' + i % 10) + u".jpg", u".jpg", u"Group 0", id, id);
  for (int type = 1; type < 40; ++type, ++id) {
    const std::u16string group = u"Group " + std::u16string(1, static_cast<char16_t>(u'0' + type % 10));
    const std::u16string extension = u".t" + std::u16string(1, static_cast<char16_t>(u'a' + type % 26)) +
                                     std::u16string(1, static_cast<char16_t>(u'a' + type / 26));
    AppendFileTraceHit(u"x" + extension, extension, group, id, id);
  }
  AddFileTraceGroups(tree.AddItem(u"Root", host::kNoTreeKey, host::TreeImage::kDrive, false));
  HTREEITEM top = tree.CTreeCtrl::GetRootItem();
  tree.CTreeCtrl::Expand(top, TVE_EXPAND);
  // Every group but the one of ".jpg" ticked: its rows show unticked, each looked up among the ticked nodes.
  for (HTREEITEM group = tree.CTreeCtrl::GetChildItem(top); group != nullptr; group = tree.CTreeCtrl::GetNextSiblingItem(group)) {
    const std::u16string name = tree.CTreeCtrl::GetItemText(group).ToUtf16();
    if (name == u"Group 0") continue;
    std::vector<uint32_t> hits;
    for (const FileTraceHit& hit : FileTraceHitList) {
      if (hit.group == name) hits.push_back(hit.id);
    }
    tree.Checks().FileTraceNodeToggled(reinterpret_cast<results::Item>(group), hits, true);
  }
  HTREEITEM jpg = tree.FindChild(tree.FindChild(top, u"Group 0"), u".jpg");
  tree.SetCurrentNode(ResultTreeCtrl::Key(jpg));

  // Listed once: the list view's own work for so many rows takes most of a minute.
  const auto start = std::chrono::steady_clock::now();
  tree.ListNode(jpg);
  if (shown) host.UpdateWindow();  // the listing as drawn
  const double listing = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double restore = BestOfThree([&] { list.RestoreChecks(); });
  const double tick = BestOfThree([&] {
    list.ToggleRowBox(0);
    list.ToggleRowBox(0);
  }) / 2;
  std::printf("%-6s %7u hits, %3zu ticked nodes: listing %7.3f s   restoring the boxes %7.3f s   a hit ticked %7.3f s\n",
              shown ? "shown" : "hidden", hits, list.Sets().checkedNodes.size(), listing, restore, tick);
  FreeFileTraceResultList();

  RecoveryMode = records::kQuickScan;
  list.SetResultColumns(records::kQuickScan);
  static const char16_t* const kTypes[] = {u".jpg", u".txt", u".doc", u".png", u".pdf",
                                           u".xls", u".zip", u".htm", u".mp3", u".bmp"};
  for (uint32_t i = 0; i < hits; ++i, ++ScanCounters.entryCount) {
    AppendFatEntry(u"file" + std::u16string(kTypes[i % 10]), 100 + i, records::kFatRootId, 0x5129, 0x5129, i, 0);
  }
  const auto fatStart = std::chrono::steady_clock::now();
  ListFatFolder(records::kFatRootId);
  list.RestoreChecks();
  if (shown) host.UpdateWindow();
  const double fat = std::chrono::duration<double>(std::chrono::steady_clock::now() - fatStart).count();
  std::printf("%-6s %7u files of a FAT folder: listing %7.3f s\n", shown ? "shown" : "hidden", hits, fat);
  std::fflush(stdout);
  FreeScanRecordLists();
  list.DestroyWindow();
  tree.DestroyWindow();
  host.DestroyWindow();
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<uint32_t> sizes;
  std::vector<bool> modes = {false, true};
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "hidden" || arg == "shown") {
      modes = {arg == "shown"};
    } else {
      sizes.push_back(static_cast<uint32_t>(std::strtoul(argv[i], nullptr, 10)));
    }
  }
  if (sizes.empty()) sizes = {12500, 50000};
  for (bool shown : modes) {
    for (uint32_t hits : sizes) Run(hits, shown);
  }
  return 0;
}
