// The results tree as the window shows it, printed in the format of enginectl's tree listing: one line
// per folder node and per file the list shows under it, sorted by path:
//   D|F <TAB> deleted (0/1) <TAB> size <TAB> /path/from/root
#pragma once

#include <windows.h>

#include <functional>

namespace scenario {

// Each node is selected as the keyboard selects it and the list's rows read once waitListed returns.
// fileTrace: the list alone, one line per found file: "F <TAB> 0 <TAB> 0 <TAB> /name <TAB> type".
void PrintTree(HANDLE process, HWND tree, HWND list, bool fileTrace, const std::function<bool()>& waitListed);

}  // namespace scenario
