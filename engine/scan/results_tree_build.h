// The step that ends a scan that found something: the results tree built under its top node "Root", the
// root folder listed, and the scan page kept busy meanwhile. Quick Scan and File Trace end this way.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "engine/host/host.h"

// The listers that fill the results list with one folder's items (ListFatFolder, ListNtfsFolder) and
// with File Trace's group folders (ListFileTraceGroups), as the results listing installs them; while one
// is null the list keeps what it shows.
struct ResultListersRecord {
  void (*listFatFolder)(uint32_t folderId) = nullptr;
  void (*listNtfsFolder)(uint32_t folderId) = nullptr;
  void (*listFileTraceGroups)() = nullptr;
};
extern ResultListersRecord ResultListers;

// Disables the page's Back, Next and Home and marks it busy; adds "Root" at the top of the results tree;
// restarts the tree counter; shows status; clears the stop flag (a stop has already ended the reading,
// and the tree is built from what was found) and hides Stop; has addNodes add the nodes under Root; then
// expands Root, switches the list to report view, makes Root the current node and lists the root folder
// with listRoot (when given). Returns the Root node.
host::TreeKey BuildScanResultsTree(const std::u16string& status, const std::function<void(host::TreeKey root)>& addNodes,
                                   const std::function<void()>& listRoot);

// The end of a Quick Scan that read its folders: the tree of the folders under the root folder rootId
// (addFolders: AddFatFolders or AddNtfsFolders) built as above, the root listed by lister when it is
// installed, then running 0 and stop 1.
void BuildFolderResults(const std::u16string& status, void (*addFolders)(host::TreeKey parentNode, uint32_t parentId),
                        uint32_t rootId, void (*lister)(uint32_t folderId));
