// What the FAT and NTFS readers of a chosen file system share: their reports to page 3's form and the
// step that builds the results tree.
#pragma once

#include <cstdint>
#include <string>

#include "engine/host/host.h"

namespace chosen {

// True when a candidate's mark is the chosen file system's number (marks 0, unassigned, and
// records::kNoFileSystemMark, assigned to none, never are).
bool IsChosenMark(uint16_t mark);

// A step begins: its status line, and the progress bar at 0.
void BeginStep(const std::u16string& status);

// The progress bar of one step: done x 100 / total, held at 99, moved only when the percent changes.
class StepProgress {
 public:
  void Show(uint64_t done, uint64_t total);

 private:
  uint32_t shown_ = 0;
};

// A stop ends the step it comes in, not the steps after it: they still run over what the steps before gathered,
// so that what was extracted so far keeps its place and gets its files. Called between steps: waits while the
// question is up (the pause gate), then clears the stop flag.
void StopEndsOneStep();

// "Dir" followed by number in decimal: the name of a folder known only by its cluster or counter.
std::u16string DirName(uint64_t number);

// The last step: "Root" at the top of the results tree, the status, the stop flag cleared and page 3's Stop
// hidden (the tree is built from what was read, stopped or not), addFolders(Root, rootId), Root expanded and
// made the listed node, the list in report view.
void BuildChosenTree(const std::u16string& status, void (*addFolders)(host::TreeKey parentNode, uint32_t parentId),
                     uint32_t rootId);

}  // namespace chosen
