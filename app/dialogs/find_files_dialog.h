// FindFilesDialog ("Find File(s)", template 195): searches the file records of the current scan for
// names that match a wildcard pattern, lists the matches with their folder path, size, times and id, and
// saves the ticked ones through the saving dialog. A click on a column's header sorts the rows by it as the
// results list sorts (its dates as the lists write them), the same column again the other way.
//
// The search runs on a worker of its own. It touches no window: it queues its matches and posts a note
// to the dialog, which shows them; its end is posted too. Stop Search closes the worker's pause gate
// while it asks, and Yes sets the stop flag the worker tests before each record; the thread is never
// suspended or killed. Close does nothing while a search runs.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "app/dialogs/skinned_dialog.h"
#include "app/dialogs/skinned_labels.h"
#include "app/logic/find_files_search.h"
#include "app/results/regroup_rows.h"
#include "engine/records/pause_gate.h"
#include "platform/classlib/win/cedit.h"
#include "platform/classlib/win/clistctrl.h"
#include "ui/controls/icon_button.h"
#include "ui/controls/shell_file_info.h"

class FindFilesDialog : public app::SkinnedDialog, private app::FindSink {
 public:
  explicit FindFilesDialog(CWnd* pParentWnd = nullptr);
  ~FindFilesDialog() override;

  // Whether a search worker is registered (from Start until its end has been shown).
  bool Searching() const { return m_worker.joinable(); }
  // The gate the search worker passes at each test of its stop (a test holds the worker there).
  PauseGate& SearchGate() { return m_gate; }
  // The record ids of the ticked rows, top to bottom.
  std::vector<uint32_t> TickedIds() const;

  CEdit m_pattern;
  CListCtrl m_results;
  ui::IconButton m_selectAll;

 protected:
  BOOL OnInitDialog() override;
  // Start Search (button 1, the default).
  void OnOK() override;
  // Close (button 2), Esc.
  void OnCancel() override;
  void OnStop();
  void OnSelectAll();
  void OnSave();
  void OnClose();
  void OnDestroy();
  LRESULT OnMatchesQueued(WPARAM, LPARAM);
  LRESULT OnSearchEnded(WPARAM found, LPARAM);
  // The path column is put together when a row is shown (FolderPaths).
  void OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult);
  void OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult);
  DECLARE_MESSAGE_MAP()

 private:
  void AddMatch(const app::FindMatch& match) override;
  void ShowQueuedMatches();
  void ShowCounters();
  void SetSearchControls(bool searching);
  void SetSelectAll(bool checked);
  void TickAll(bool ticked);
  void EndWorker();
  // The arrow of the sort on the column's header, none on the others (column -1: none at all).
  void ShowSortArrow(int column, bool ascending);

  ui::ShellFileInfo m_shell;
  ui::TypeIcons m_icons;
  app::SkinnedLabels m_labels;
  // The tree's folders as the search started, and for each row (its item data is its index here) the id of
  // its record and the folder of its name: the names of a file with hard links share the id, not the folder.
  struct FoundRow {
    uint32_t id;
    uint32_t folder;
  };
  app::FolderPaths m_paths;
  std::vector<FoundRow> m_rows;
  results::SortOrder m_sort{-1, true};

  std::thread m_worker;
  std::atomic<uint32_t> m_stop{0};
  // True once the user answered Yes: the end is not summed up in the status line.
  bool m_stoppedByUser = false;
  PauseGate m_gate;
  std::mutex m_queueLock;
  std::deque<app::FindMatch> m_queue;  // under m_queueLock
};

// The dialog that is open, for the saving worker; null when none is.
extern FindFilesDialog* OpenFindFilesDialog;
