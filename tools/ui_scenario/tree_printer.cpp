#include "tools/ui_scenario/tree_printer.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "tools/ui_scenario/remote_controls.h"

namespace scenario {
namespace {

struct Line {
  std::string path;
  char kind;
  int deleted;
  std::string size;
};

// The "Parent..." row is the first of a folder's listing and has no type; a file may be named so too.
bool IsParentRow(int row, const std::wstring& name, const std::wstring& type) {
  return row == 0 && name == L"Parent..." && type.empty();
}

bool IsFolderRow(const std::wstring& type) { return type == L"Folder" || type == L"Deleted Folder"; }

bool IsDeletedType(const std::wstring& type) { return type.compare(0, 7, L"Deleted") == 0; }

class Walker {
 public:
  Walker(HANDLE process, HWND tree, HWND list, const std::function<bool()>& waitListed)
      : process_(process), tree_(tree), list_(list), waitListed_(waitListed) {}

  void Walk(HTREEITEM parent, const std::string& path, const std::map<std::wstring, bool>& deletedOfChild) {
    for (HTREEITEM node = FirstChild(tree_, parent); node != nullptr; node = NextSibling(tree_, node)) {
      const std::wstring text = NodeText(process_, tree_, node);
      const bool top = parent == nullptr;
      const std::string nodePath = top ? std::string() : path + "/" + Utf8(text);
      if (!top) {
        auto found = deletedOfChild.find(text);
        lines.push_back({nodePath, 'D', found != deletedOfChild.end() && found->second ? 1 : 0, "0"});
      }
      std::map<std::wstring, bool> children;
      ListFiles(node, nodePath, &children);
      Walk(node, nodePath, children);
    }
  }

  std::vector<Line> lines;

 private:
  void ListFiles(HTREEITEM node, const std::string& path, std::map<std::wstring, bool>* folders) {
    // Clicked as the user clicks a folder: the list shows the folder's rows.
    ::SendMessageW(tree_, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(node));
    RECT text{};
    if (!NodeTextRect(process_, tree_, node, &text)) return;
    Click(tree_, POINT{(text.left + text.right) / 2, (text.top + text.bottom) / 2});
    if (!waitListed_()) return;
    const int rows = RowCount(list_);
    for (int row = 0; row < rows; ++row) {
      const std::wstring name = RowText(process_, list_, row, 0);
      const std::wstring type = RowText(process_, list_, row, 1);
      if (IsParentRow(row, name, type)) continue;
      if (IsFolderRow(type)) {
        (*folders)[name] = IsDeletedType(type);
        continue;
      }
      lines.push_back({path + "/" + Utf8(name), 'F', IsDeletedType(type) ? 1 : 0, Utf8(RowText(process_, list_, row, 2))});
    }
  }

  HANDLE process_;
  HWND tree_;
  HWND list_;
  const std::function<bool()>& waitListed_;
};

}  // namespace

void PrintTree(HANDLE process, HWND tree, HWND list, bool fileTrace, const std::function<bool()>& waitListed) {
  (void)fileTrace;  // File Trace's hits sit in one folder per type, walked as any folder is
  Walker walker(process, tree, list, waitListed);
  walker.Walk(nullptr, "", {});
  std::stable_sort(walker.lines.begin(), walker.lines.end(), [](const Line& a, const Line& b) { return a.path < b.path; });
  for (const Line& line : walker.lines) {
    std::printf("%c\t%d\t%s\t%s\n", line.kind, line.deleted, line.size.c_str(), line.path.c_str());
  }
  std::fflush(stdout);
}

}  // namespace scenario
