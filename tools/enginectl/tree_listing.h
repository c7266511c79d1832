// The results tree as the driver prints it: one line per folder node and per file that the results list
// would show under a node, sorted by path:
//   D|F <TAB> deleted (0/1) <TAB> size <TAB> /path/from/root
// Folders print size 0. Paths leave out the top node ("Root") and join the node texts with "/".
#pragma once

#include "engine/host/result_tree_fakes.h"

// The files come from the record lists of CurrentFileSystem's kind (FAT or NTFS; after an Extensive Scan
// the NTFS files found inside CurrentFileSystem): those whose parent id is the folder record that holds a
// node (the root id for the top node).
void PrintResultTree(const host::RecordingResultTree& tree);
