// The runner's command line.
#pragma once

#include <string>
#include <vector>

namespace scenario {

// A file of the results to click on page 4, and where to save a picture of the preview pane it gets.
struct PreviewRequest {
  std::string path;  // "/Folder/Name.ext", from the volume's root
  std::string shot;  // a PNG file, or empty
};

// A box on page 4 clicked until it shows ticked (or unticked): a folder's in the tree, a file's on its
// folder's list.
// In the same order, the File Filters dialog may be given its rows (--filters, --no-filters): then path
// holds the patterns, separated by commas (empty: no filter).
struct TickRequest {
  std::string path;  // "/Folder/Name", from the volume's root; "/" is the top node
  bool tick = true;
  bool filters = false;
};

// A step taken after the results (or, without a mode or snapshot, after the start), with its arguments:
//   mode quick|extensive|trace, next, back, home, pick N (page 2's partition N; -1 the disk),
//   range CODE START COUNT (page 2's fields), choose K (page 3's file system), load FILE, shell FILE,
//   tick-all, save, keys KEY,... (tab, enter), commands, fs-roots, shot NAME.
struct Step {
  std::string action;
  std::vector<std::string> args;
};

struct Options {
  std::string program;       // Dorvane.exe
  std::string image;         // the image the start-up's file dialog is answered with
  std::string mode = "quick";  // quick, extensive, trace
  int partition = -1;        // page 2's "Partition N"; -1: the whole disk
  int rescanPartition = -1;  // after the results: Back, page 2's "Partition N", Next again; -1: none
  unsigned rangeCode = 0;    // with --range: 100 FAT16, 200 FAT32, 300 NTFS
  unsigned long long rangeStart = 0;
  unsigned long long rangeCount = 0;
  int choose = 0;            // page 3's file system, from 1
  std::string types;         // File Trace's types (the dialog's own choice is kept)
  unsigned fileSize = 0;     // File Trace's size in MB, picked in the same dialog; 0: its own choice
  bool tickAll = false;
  std::string saveDir;
  std::string shots;
  std::string snapshotSave;
  std::string snapshotLoad;
  bool printTree = true;
  bool timing = false;       // print the scan's time and the worst delay of the window's thread
  bool tempUnchanged = false;  // the temporary folder holds after the run what it held before
  int timeoutSeconds = 300;  // per step that waits for the engine
  std::vector<PreviewRequest> previews;  // clicked in this order after the scan
  std::vector<TickRequest> ticks;        // after --tick-all, in this order, before Save
  bool modeGiven = false;    // --mode was given
  std::string commandLine;   // a snapshot the program is started with, as the command line names it
  std::vector<Step> steps;   // after everything else, in this order
  std::vector<std::string> expectedBoxes;  // boxes whose text begins so are expected: no failure, No to a question
};

bool ParseOptions(int argc, wchar_t** argv, Options* options, std::string* error);
const char* Usage();

}  // namespace scenario
