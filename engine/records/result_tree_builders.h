// The results tree's builders (ResultTreeCtrl::AddFatFolders, AddNtfsFolders, AddFileTraceGroups): they
// only walk the record lists, so they live here once; the scan workers, the snapshot loaders and the tree
// window call them, and they reach the tree through host::ResultTreeHost.
//
// Progress (folders added x 100 / ScanCounters.folderCount, a count of 0 taken as 1, held at 99) goes to
// the snapshot progress dialog while SnapshotLoading is 1; otherwise NTFS folders of an Extensive Scan
// report to the page-3 form, and everything else to the scan page's panel.
// Each builder stops at once when ScanThreadControl.stopFlag is 1.
#pragma once

#include <cstdint>

#include "engine/host/host.h"

// Adds under parentNode, depth first and in list order, one node per folder of FatFolderList (or
// NtfsFolderList) whose parent id is parentId, then the folders beneath each; deleted folders (flag 1) are
// drawn red. Each folder record gets the key of its node. A record becomes at most one node, so folders
// whose ids repeat or form a loop never make the build endless.
void AddFatFolders(host::TreeKey parentNode, uint32_t parentId);
void AddNtfsFolders(host::TreeKey parentNode, uint32_t parentId);

// Adds under parentNode one node per group text of FileTraceHitList (in the order the groups first
// appear; texts differing only in ASCII case share the node of the first), and under each group one node
// per type (extension) of its hits, with a child button, raising ScanCounters.processedCount for each
// type node added.
void AddFileTraceGroups(host::TreeKey parentNode);
