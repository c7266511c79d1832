// The rows the results list shows for one folder of a scan's results, as the driver prints them: one row
// per line, in list order, the six columns ("File Name", "Type", "Size", "Creation Time",
// "Modification Time", "ID") separated by tabs. Types come from the fixed table of host::FixedShellFileInfo.
#pragma once

#include "engine/host/result_tree_fakes.h"

// Lists the folder at path ("/" the top node, "/Documents/Reports" below it; node texts joined with "/")
// with ListFatFolder or ListNtfsFolder, by CurrentFileSystem's kind, and prints its rows. Returns the exit
// status: 0 printed, 1 when the tree has no such folder (said on standard error).
int PrintFolderListing(const host::RecordingResultTree& tree, const char* path);
