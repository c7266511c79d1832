// The listers that fill the results item list with the contents of one folder, straight from the record
// lists: FAT and NTFS folders (columns 0 "File Name", 1 "Type", 2 "Size", 3 "Creation Time",
// 4 "Modification Time", 5 "ID") and the files File Trace found (0 "File Name", 1 "Type", 2 "ID").
// Each call replaces the whole content of the list; the listers only read the record lists and run on
// the user-interface thread, or on a worker that has just finished filling the lists.
//
// Rows are inserted with a text and an icon only (the shell's, through host::ShellFileInfoHost); every
// text is written whole. Files pass the file filters (PassesFileFilters) to be listed; folders always
// are. A listing of any folder but the root starts with the row "Parent...".
#pragma once

#include <cstdint>
#include <string_view>

// The FAT folders and files whose parent id is folderId (records::kFatRootId for the root). Below the
// root the "Parent..." row is checked. The tree gets the keyboard focus.
void ListFatFolder(uint32_t folderId);

// The NTFS folders and files whose parent id is folderId (records::kNtfsRootRecord for the root); the
// "Parent..." row stays unchecked. A folder of the NTFS file system chosen after an Extensive Scan is
// listed by NtfsFoundFolderLister instead. The tree gets the keyboard focus.
void ListNtfsFolder(uint32_t folderId);

// Lists the folder of a file system that an Extensive Scan found, from NtfsFoundEntryList; installed by
// the reading of a chosen file system. While it is null such a folder lists nothing.
extern void (*NtfsFoundFolderLister)(uint32_t folderId);

// The File Trace hits of the results-tree node labelled label: byGroup 0 and the label "Root" (any
// case): one folder row per group; byGroup 0 and another label: the hits of that extension (any case);
// byGroup non-zero: the hits of that group (case as written). The tree gets the keyboard focus.
void ListFileTraceFolder(std::u16string_view label, uint32_t byGroup);

// One folder row per group text of FileTraceHitList, groups that differ only in case sharing the row of
// the first.
void ListFileTraceGroups();
