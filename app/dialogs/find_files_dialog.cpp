#include "app/dialogs/find_files_dialog.h"

#include <algorithm>
#include <string>
#include <utility>

#include "app/dialogs/save_progress_dialog.h"
#include "engine/host/result_tree_host.h"
#include "engine/save/save_state.h"
#include "engine/save/savers.h"
#include "res/resource.h"
#include "ui/controls/list_column_sorter.h"
#include "ui/controls/list_fill_batch.h"
#include "ui/msgbox/message_dialogs.h"

FindFilesDialog* OpenFindFilesDialog = nullptr;

namespace {

constexpr UINT kMatchesQueued = WM_APP + 0x38;
constexpr UINT kSearchEnded = WM_APP + 0x39;

struct Column {
  const TCHAR* title;
  int width;
};
constexpr Column kColumns[] = {{_T("File Name"), 200},     {_T("Path"), 100},
                               {_T("Size"), 100},          {_T("Creation Time"), 150},
                               {_T("Modification Time"), 150}, {_T("ID"), 150}};

CString Text(const std::u16string& text) { return CString::FromUtf16(text); }

}  // namespace

BEGIN_MESSAGE_MAP(FindFilesDialog, app::SkinnedDialog)
  ON_BN_CLICKED(IDC_FIND_STOP, OnStop)
  ON_BN_CLICKED(IDC_FIND_SELECT_ALL, OnSelectAll)
  ON_BN_CLICKED(IDC_FIND_SAVE, OnSave)
  ON_WM_CLOSE()
  ON_WM_DESTROY()
  ON_MESSAGE(kMatchesQueued, OnMatchesQueued)
  ON_MESSAGE(kSearchEnded, OnSearchEnded)
  ON_NOTIFY(LVN_GETDISPINFOW, IDC_FIND_RESULTS, OnGetDispInfo)
  ON_NOTIFY(LVN_COLUMNCLICK, IDC_FIND_RESULTS, OnColumnClick)
END_MESSAGE_MAP()

FindFilesDialog::FindFilesDialog(CWnd* pParentWnd) : SkinnedDialog(IDD_FIND_FILES, IDB_SKIN_FIND_FILES, pParentWnd) {}

FindFilesDialog::~FindFilesDialog() { EndWorker(); }

BOOL FindFilesDialog::OnInitDialog() {
  SkinnedDialog::OnInitDialog();
  FindDialogOpen = 1;
  OpenFindFilesDialog = this;
  m_pattern.SubclassDlgItem(IDC_FIND_PATTERN, this);
  m_results.SubclassDlgItem(IDC_FIND_RESULTS, this);
  m_selectAll.SubclassDlgItem(IDC_FIND_SELECT_ALL, this);
  m_selectAll.SetFlat(FALSE);
  m_selectAll.SetIcon(IDI_SELECT_ALL_IN, IDI_SELECT_ALL_OUT);
  m_labels.Attach(*this);

  // The system's image list is shared, never destroyed with the list.
  m_results.ModifyStyle(0, LVS_SHAREIMAGELISTS);
  m_results.SetExtendedStyle(m_results.GetExtendedStyle() | LVS_EX_CHECKBOXES | LVS_EX_GRIDLINES |
                             LVS_EX_FULLROWSELECT);
  m_results.SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(m_shell.GetSystemImageList(true)));
  for (int i = 0; i < static_cast<int>(sizeof kColumns / sizeof kColumns[0]); ++i) {
    m_results.InsertColumn(i, kColumns[i].title, LVCFMT_LEFT, kColumns[i].width);
  }
  SetSelectAll(false);
  m_pattern.SetFocus();
  return FALSE;  // the focus is set
}

void FindFilesDialog::SetSearchControls(bool searching) {
  GetDlgItem(IDOK)->EnableWindow(!searching);
  GetDlgItem(IDC_FIND_STOP)->EnableWindow(searching);
  GetDlgItem(IDC_FIND_SAVE)->EnableWindow(!searching);
  m_results.EnableWindow(!searching);
  m_selectAll.EnableWindow(!searching);
}

void FindFilesDialog::SetSelectAll(bool checked) {
  m_selectAll.SetCheck(checked ? 1 : 0);
  m_selectAll.SetWindowText(checked ? _T("Deselect All") : _T("Select All"));
}

void FindFilesDialog::TickAll(bool ticked) {
  for (int row = 0; row < m_results.GetItemCount(); ++row) m_results.SetCheck(row, ticked ? TRUE : FALSE);
}

std::vector<uint32_t> FindFilesDialog::TickedIds() const {
  std::vector<uint32_t> ids;
  for (int row = 0; row < m_results.GetItemCount(); ++row) {
    const DWORD_PTR index = m_results.GetItemData(row);
    if (m_results.GetCheck(row) && index < m_rows.size()) ids.push_back(m_rows[index].id);
  }
  return ids;
}

void FindFilesDialog::OnOK() {
  if (Searching()) return;
  SetSelectAll(false);
  SetSearchControls(true);
  m_results.DeleteAllItems();
  m_rows.clear();
  ShowSortArrow(-1, true);
  // The counters and the summary belong to the rows: a search stopped before its first match shows none.
  ShowCounters();
  SetDlgItemText(IDC_FIND_STATUS, _T(""));
  CString pattern;
  m_pattern.GetWindowText(pattern);
  // The tree is read here, on its own thread; the worker reads only the record list.
  const app::FindSource source = app::CurrentFindSource();
  host::ResultTreeHost* tree = host::Current().resultTree;
  m_paths = tree != nullptr ? app::BuildFolderPaths(*tree, source) : app::FolderPaths();
  m_stop = 0;
  m_stoppedByUser = false;
  HWND window = m_hWnd;
  m_worker = std::thread([this, window, source, text = pattern.ToUtf16()] {
    const uint32_t found = app::SearchFileRecords(
        source, text,
        [this] {
          m_gate.Pass();
          return m_stop.load() != 0;
        },
        *this);
    ::PostMessageW(window, kSearchEnded, found, 0);
  });
}

void FindFilesDialog::AddMatch(const app::FindMatch& match) {
  bool first = false;
  {
    std::lock_guard<std::mutex> lock(m_queueLock);
    first = m_queue.empty();
    m_queue.push_back(match);
  }
  // One note per batch: the dialog takes everything queued when it reads the note.
  if (first) ::PostMessageW(m_hWnd, kMatchesQueued, 0, 0);
}

LRESULT FindFilesDialog::OnMatchesQueued(WPARAM, LPARAM) {
  ShowQueuedMatches();
  return 0;
}

void FindFilesDialog::ShowQueuedMatches() {
  std::deque<app::FindMatch> matches;
  {
    std::lock_guard<std::mutex> lock(m_queueLock);
    matches.swap(m_queue);
  }
  if (matches.empty()) return;
  {
    const ui::ListFillBatch batch(&m_results, static_cast<size_t>(m_results.GetItemCount()) + matches.size());
    for (const app::FindMatch& match : matches) {
      const int row = m_results.InsertItem(m_results.GetItemCount(), Text(match.name), m_icons.Of(match.name, false));
      if (row < 0) continue;
      m_results.SetItemData(row, m_rows.size());
      m_rows.push_back({match.id, match.folder});
      m_results.SetItemText(row, 1, LPSTR_TEXTCALLBACKW);
      m_results.SetItemText(row, 2, Text(match.size));
      m_results.SetItemText(row, 3, Text(match.created));
      m_results.SetItemText(row, 4, Text(match.modified));
      CString id;
      id.Format(_T("%u"), match.id);
      m_results.SetItemText(row, 5, id);
    }
  }
  ShowCounters();
  SetDlgItemText(IDC_FIND_LAST_FILE, Text(matches.back().name));
}

void FindFilesDialog::OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = 0;
  LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(pNMHDR)->item;
  if ((item.mask & LVIF_TEXT) == 0 || item.iSubItem != 1 || item.pszText == nullptr || item.cchTextMax <= 0) return;
  // While a sort runs the item data is the sorter's: no row of ours, no path.
  const DWORD_PTR index = m_results.GetItemData(item.iItem);
  const std::u16string path = index < m_rows.size()
                                  ? m_paths.PathOf(m_rows[index].folder, static_cast<size_t>(item.cchTextMax) - 1)
                                  : std::u16string();
  std::copy(path.begin(), path.end(), reinterpret_cast<char16_t*>(item.pszText));
  item.pszText[path.size()] = L'\0';
}

void FindFilesDialog::OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = 0;
  if (Searching()) return;
  const int column = reinterpret_cast<NMLISTVIEW*>(pNMHDR)->iSubItem;
  m_sort = results::NextSortOrder(m_sort, column, true);
  if (const int type = results::ColumnSortType(column)) {
    ui::ListColumnSorter sorter(&m_results, column);
    sorter.Sort(m_sort.ascending, type);
  }
  ShowSortArrow(m_sort.column, m_sort.ascending);
}

void FindFilesDialog::ShowSortArrow(int column, bool ascending) {
  m_sort.column = column;
  CHeaderCtrl* header = m_results.GetHeaderCtrl();
  if (header == nullptr) return;
  for (int i = 0; i < header->GetItemCount(); ++i) {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    header->GetItem(i, &item);
    item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    if (i == column) item.fmt |= ascending ? HDF_SORTUP : HDF_SORTDOWN;
    header->SetItem(i, &item);
  }
}

// "Files Found" as the list's row count; with no row, no "Last File" either.
void FindFilesDialog::ShowCounters() {
  const int rows = m_results.GetItemCount();
  CString count;
  count.Format(_T("%d"), rows);
  SetDlgItemText(IDC_FIND_COUNT, count);
  if (rows == 0) SetDlgItemText(IDC_FIND_LAST_FILE, _T(""));
}

LRESULT FindFilesDialog::OnSearchEnded(WPARAM, LPARAM) {
  ShowQueuedMatches();
  if (m_worker.joinable()) m_worker.join();
  ShowCounters();
  if (!m_stoppedByUser) {
    SetDlgItemText(IDC_FIND_STATUS, Text(app::FindStatusText(static_cast<uint32_t>(m_results.GetItemCount()))));
  }
  SetSearchControls(false);
  return 0;
}

void FindFilesDialog::OnStop() {
  if (!Searching()) return;
  GetDlgItem(IDC_FIND_STOP)->EnableWindow(FALSE);
  GetDlgItem(IDC_FIND_SAVE)->EnableWindow(TRUE);
  m_selectAll.EnableWindow(TRUE);
  m_results.EnableWindow(TRUE);
  bool yes = false;
  {
    // The worker waits at its next record until the question is answered.
    ClosedGate paused(m_gate);
    MessageText = u"Do you want to stop file searching ?";
    MessageKind = msgbox::kQuestion;
    ConfirmDialog box(this);
    yes = box.DoModal() == 1;
    if (yes) {
      m_stoppedByUser = true;
      m_stop = 1;
    }
  }
  if (!Searching()) return;  // the search ended while the question stood
  if (yes) {
    GetDlgItem(IDOK)->EnableWindow(TRUE);
    return;
  }
  GetDlgItem(IDC_FIND_STOP)->EnableWindow(TRUE);
  GetDlgItem(IDC_FIND_SAVE)->EnableWindow(FALSE);
  m_selectAll.EnableWindow(FALSE);
  m_results.EnableWindow(FALSE);
}

void FindFilesDialog::OnSelectAll() {
  const bool checked = m_selectAll.GetCheck() != 0 && m_results.GetItemCount() > 0;
  SetSelectAll(checked);
  TickAll(checked);
}

void FindFilesDialog::OnSave() {
  const std::vector<uint32_t> ids = TickedIds();
  if (ids.empty()) {
    MessageText = u"Please mark the file(s) that you want to save\r\nby clicking on check box.";
    MessageKind = msgbox::kInformation;
    MessageDialog box(this);
    box.DoModal();
    return;
  }
  SaveDestination.clear();
  BrowseForSaveFolder(m_hWnd);
  if (SaveDestination.empty()) return;
  // The saving dialog's worker saves the ticked records from the list the search walked.
  CurrentSave.findSaver = [ids] { SaveFileIds(ids); };
  CurrentSave.findSave = 1;
  SaveProgressDialog saving(this);
  saving.DoModal();
  CurrentSave.findSave = 0;
  CurrentSave.findSaver = nullptr;
  // A save the user stopped keeps the ticks, for a save of the rest.
  if (saving.Stopped()) return;
  TickAll(false);
  SetSelectAll(false);
}

void FindFilesDialog::OnCancel() {
  if (Searching()) return;
  EndDialog(IDCANCEL);
}

void FindFilesDialog::OnClose() { OnCancel(); }

void FindFilesDialog::OnDestroy() {
  EndWorker();
  FindDialogOpen = 0;
  if (OpenFindFilesDialog == this) OpenFindFilesDialog = nullptr;
  SkinnedDialog::OnDestroy();
}

void FindFilesDialog::EndWorker() {
  m_stop = 1;
  m_gate.Open();
  if (m_worker.joinable()) m_worker.join();
}
