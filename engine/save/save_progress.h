// What the saving dialog shows of a save: its bar and "Total Files" follow the whole selection, so that a
// save of thousands of small files moves as steadily as one of a single large file. Each file weighs its
// size and a fixed cost for making it (kFileWeight); the bar is the weight done over the selection's. The
// savers run on one thread: this state is that thread's while a save runs.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace save {

// What making one file costs on the bar, beside its bytes: empty files move it too.
constexpr uint64_t kFileWeight = 4096;

// The files a save will write, with their sizes: those the file filters and, for FAT and NTFS files, the
// deleted-file policy let through (WantedBySettings).
struct SelectionSize {
  uint64_t files = 0;
  uint64_t bytes = 0;  // held at its largest value rather than wrapped
  void Add(uint64_t size);
  // A FAT or NTFS file the save comes to, counted when the settings let it through.
  void AddWanted(std::u16string_view name, uint32_t deleted, uint64_t size);
};

// The files of these folders, each saved whole on its own (SaveFatFolderFiles, SaveNtfsFolderFiles: after an
// Extensive Scan those of the chosen file system). A folder no record has counts nothing.
SelectionSize MeasureFolders(const std::vector<uint32_t>& folders);
// File Trace's hits of these ids, each LargeFileSize MB; an id no hit has counts nothing.
SelectionSize MeasureHits(const std::vector<uint32_t>& ids);

// Sets the selection a save is about to walk; {} (BeginSave's) while none is known, as when a saver is
// called on its own: the file in hand is then the whole.
void SetSelection(SelectionSize selection);
// A user's file of the selection is reached (one the settings let through): the files before it are done.
void BeginSelectionFile(uint64_t size);
// "Total Files": "k of N", the file in hand's place among the selection's files; the files started so far
// while no selection is known.
std::u16string SelectionFilesText(uint32_t started);
// The bar at the selection's end, once every file of it was visited.
void ShowSelectionDone();

// The bar while the file in hand is written: done bytes of it (total: its size) on top of the files before.
// Sent only when it moves; nothing for the preview's copy (userSave 0).
class FileProgress {
 public:
  explicit FileProgress(uint32_t userSave) : shown_(userSave == 1) {}
  void Show(uint64_t done, uint64_t total);

 private:
  bool shown_;
};

// The bar's position now, 0 to 100.
uint32_t SelectionPosition(uint64_t doneInFile, uint64_t fileSize);

}  // namespace save
