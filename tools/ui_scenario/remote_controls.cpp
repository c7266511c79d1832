#include "tools/ui_scenario/remote_controls.h"

#include <commctrl.h>

#include <algorithm>

namespace scenario {

RemoteBuffer::RemoteBuffer(HANDLE process, size_t size)
    : process_(process), address_(::VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}

RemoteBuffer::~RemoteBuffer() {
  if (address_ != nullptr) ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
}

bool RemoteBuffer::Write(size_t offset, const void* data, size_t size) {
  SIZE_T done = 0;
  return ::WriteProcessMemory(process_, At(offset), data, size, &done) && done == size;
}

bool RemoteBuffer::Read(size_t offset, void* data, size_t size) const {
  SIZE_T done = 0;
  return ::ReadProcessMemory(process_, At(offset), data, size, &done) && done == size;
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0], size, nullptr, nullptr);
  return out;
}

std::wstring WindowText(HWND window) {
  wchar_t text[1024] = {};
  ::GetWindowTextW(window, text, 1024);
  return text;
}

std::wstring ClassName(HWND window) {
  wchar_t name[128] = {};
  ::GetClassNameW(window, name, 128);
  return name;
}

namespace {

struct DescendantSearch {
  const wchar_t* className;
  int id;
  HWND found;
};

BOOL CALLBACK MatchDescendant(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<DescendantSearch*>(parameter);
  if (search->className != nullptr && ClassName(window) != search->className) return TRUE;
  if (search->id != 0 && ::GetDlgCtrlID(window) != search->id) return TRUE;
  search->found = window;
  return FALSE;
}

constexpr size_t kTextOffset = 512;
constexpr int kTextChars = 1024;

}  // namespace

HWND FindDescendant(HWND parent, const wchar_t* className, int id) {
  DescendantSearch search{className, id, nullptr};
  ::EnumChildWindows(parent, MatchDescendant, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindDescendantById(HWND parent, int id) { return FindDescendant(parent, nullptr, id); }

std::wstring NodeText(HANDLE process, HWND tree, HTREEITEM node) {
  RemoteBuffer buffer(process, kTextOffset + kTextChars * 2);
  if (!buffer.ok()) return {};
  TVITEMW item{};
  item.mask = TVIF_TEXT | TVIF_HANDLE;
  item.hItem = node;
  item.pszText = reinterpret_cast<wchar_t*>(buffer.At(kTextOffset));
  item.cchTextMax = kTextChars;
  buffer.Write(0, &item, sizeof item);
  if (!::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(buffer.At(0)))) return {};
  std::wstring text(kTextChars, L'\0');
  buffer.Read(kTextOffset, &text[0], kTextChars * 2);
  text.resize(wcsnlen(text.c_str(), kTextChars));
  return text;
}

UINT NodeState(HANDLE, HWND tree, HTREEITEM node) {
  return static_cast<UINT>(::SendMessageW(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(node), 0xFFFF));
}

HTREEITEM FirstChild(HWND tree, HTREEITEM node) {
  return reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, node == nullptr ? TVGN_ROOT : TVGN_CHILD,
                                                    reinterpret_cast<LPARAM>(node)));
}

HTREEITEM NextSibling(HWND tree, HTREEITEM node) {
  return reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(node)));
}

bool NodeTextRect(HANDLE process, HWND tree, HTREEITEM node, RECT* rect) {
  RemoteBuffer buffer(process, sizeof(RECT));
  if (!buffer.ok()) return false;
  // The rectangle's first field carries the node in.
  buffer.Write(0, &node, sizeof node);
  if (!::SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(buffer.At(0)))) return false;
  return buffer.Read(0, rect, sizeof *rect);
}

namespace {

// Hit-tests the control along the line y from x = from towards to (not included) and answers the first point
// that onBox accepts, moved by inward into the box.
template <typename HitInfo, typename OnBox>
bool BoxAlong(HANDLE process, HWND control, UINT message, int y, int from, int to, int inward, OnBox onBox,
              POINT* point) {
  RemoteBuffer buffer(process, sizeof(HitInfo));
  if (!buffer.ok()) return false;
  const int step = from < to ? 1 : -1;
  for (int x = from; x != to; x += step) {
    HitInfo hit{};
    hit.pt = POINT{x, y};
    buffer.Write(0, &hit, sizeof hit);
    ::SendMessageW(control, message, 0, reinterpret_cast<LPARAM>(buffer.At(0)));
    buffer.Read(0, &hit, sizeof hit);
    if (onBox(hit)) {
      *point = POINT{x + inward, y};  // inside the box, not on its edge
      return true;
    }
  }
  return false;
}

}  // namespace

bool CheckBoxPoint(HANDLE process, HWND tree, HTREEITEM node, POINT* point) {
  RECT text{};
  if (!NodeTextRect(process, tree, node, &text)) return false;
  return BoxAlong<TVHITTESTINFO>(process, tree, TVM_HITTEST, (text.top + text.bottom) / 2, text.left - 1, -1, -4,
                                 [node](const TVHITTESTINFO& hit) {
                                   return (hit.flags & TVHT_ONITEMSTATEICON) != 0 && hit.hItem == node;
                                 }, point);
}

int RowCount(HWND list) { return static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

std::wstring RowText(HANDLE process, HWND list, int row, int column) {
  RemoteBuffer buffer(process, kTextOffset + kTextChars * 2);
  if (!buffer.ok()) return {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = reinterpret_cast<wchar_t*>(buffer.At(kTextOffset));
  item.cchTextMax = kTextChars;
  buffer.Write(0, &item, sizeof item);
  const LRESULT length = ::SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(buffer.At(0)));
  std::wstring text(kTextChars, L'\0');
  buffer.Read(kTextOffset, &text[0], kTextChars * 2);
  text.resize(wcsnlen(text.c_str(), static_cast<size_t>(length < kTextChars ? length : kTextChars)));
  return text;
}

namespace {

bool RowRect(HANDLE process, HWND list, int row, int part, RECT* rect) {
  RemoteBuffer buffer(process, sizeof(RECT));
  if (!buffer.ok()) return false;
  RECT in{};
  in.left = part;
  buffer.Write(0, &in, sizeof in);
  if (!::SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(buffer.At(0)))) return false;
  return buffer.Read(0, rect, sizeof *rect);
}

}  // namespace

bool RowLabelRect(HANDLE process, HWND list, int row, RECT* rect) { return RowRect(process, list, row, LVIR_LABEL, rect); }

int RowCheck(HWND list, int row) {
  const LRESULT state = ::SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK);
  return static_cast<int>((state & LVIS_STATEIMAGEMASK) >> 12);
}

bool RowCheckBoxPoint(HANDLE process, HWND list, int row, POINT* point) {
  RECT bounds{};
  if (!RowRect(process, list, row, LVIR_BOUNDS, &bounds)) return false;
  const int left = std::max(0, static_cast<int>(bounds.left));
  return BoxAlong<LVHITTESTINFO>(process, list, LVM_HITTEST, (bounds.top + bounds.bottom) / 2, left, left + 80, 4,
                                 [row](const LVHITTESTINFO& hit) {
                                   return (hit.flags & LVHT_ONITEMSTATEICON) != 0 && hit.iItem == row;
                                 }, point);
}

void Click(HWND window, POINT point) {
  // The cursor goes there first, as the user's hand moves it: buttons follow the cursor while pressed.
  POINT screen = point;
  ::ClientToScreen(window, &screen);
  ::SetCursorPos(screen.x, screen.y);
  const LPARAM at = MAKELPARAM(point.x, point.y);
  ::PostMessageW(window, WM_MOUSEMOVE, 0, at);
  ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::PostMessageW(window, WM_LBUTTONUP, 0, at);
}

void ClickCentre(HWND window) {
  RECT client{};
  ::GetClientRect(window, &client);
  Click(window, POINT{client.right / 2, client.bottom / 2});
}

}  // namespace scenario
