// The program's controls read and driven from the runner's process, as its user sees them: tree nodes,
// list rows and their texts through a buffer in the program's memory (a tree or list view answers a
// pointer in its own address space), buttons pressed with the mouse.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace scenario {

class RemoteBuffer {
 public:
  RemoteBuffer(HANDLE process, size_t size);
  ~RemoteBuffer();
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  bool Write(size_t offset, const void* data, size_t size);
  bool Read(size_t offset, void* data, size_t size) const;
  char* At(size_t offset) const { return static_cast<char*>(address_) + offset; }
  bool ok() const { return address_ != nullptr; }

 private:
  HANDLE process_;
  void* address_;
};

std::string Utf8(const std::wstring& text);
std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);
// The first descendant of this class (and, when id is not 0, this control id).
HWND FindDescendant(HWND parent, const wchar_t* className, int id = 0);
HWND FindDescendantById(HWND parent, int id);

// Tree view.
std::wstring NodeText(HANDLE process, HWND tree, HTREEITEM node);
UINT NodeState(HANDLE process, HWND tree, HTREEITEM node);
HTREEITEM FirstChild(HWND tree, HTREEITEM node);  // node null: the first top node
HTREEITEM NextSibling(HWND tree, HTREEITEM node);
bool NodeTextRect(HANDLE process, HWND tree, HTREEITEM node, RECT* rect);
// The point in the tree's client area on the node's check box, found by hit-testing left of its text.
bool CheckBoxPoint(HANDLE process, HWND tree, HTREEITEM node, POINT* point);

// List view: the row's text in a column.
int RowCount(HWND list);
std::wstring RowText(HANDLE process, HWND list, int row, int column);
// The row's label in the list's client area.
bool RowLabelRect(HANDLE process, HWND list, int row, RECT* rect);
// The row's check box state (1 unticked, 2 ticked; 0 no box).
int RowCheck(HWND list, int row);
// The point in the list's client area on the row's check box, found by hit-testing along the row.
bool RowCheckBoxPoint(HANDLE process, HWND list, int row, POINT* point);

// The mouse as the user moves and presses it, at a point of the window's client area.
void Click(HWND window, POINT point);
void ClickCentre(HWND window);

}  // namespace scenario
