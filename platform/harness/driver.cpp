#include "driver.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <utility>

#include "modal_script.h"

static_assert(sizeof(wchar_t) == 2, "UTF-16 wchar_t");

namespace harness {
namespace {

bool IsDialogWindow(HWND window) {
  wchar_t name[16] = {};
  ::GetClassNameW(window, name, 16);
  return std::wstring(name) == L"#32770";
}

bool KindIs(HWND window, const wchar_t* kind) { return ::lstrcmpiW(ControlKind(window).c_str(), kind) == 0; }

// An item's text from a list box or a combo box, through its pair of length and text messages.
std::wstring ItemText(HWND control, UINT lengthMessage, UINT textMessage, int index) {
  LRESULT length = ::SendMessageW(control, lengthMessage, index, 0);
  if (length < 0) return {};  // LB_ERR and CB_ERR
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  ::SendMessageW(control, textMessage, index, reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<size_t>(length));
  return text;
}

std::wstring ListViewText(HWND control, int row, int column) {
  std::wstring text(1024, L'\0');
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = &text[0];
  item.cchTextMax = static_cast<int>(text.size());
  LRESULT length = ::SendMessageW(control, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
  text.resize(static_cast<size_t>(length));
  return text;
}

int ListViewColumns(HWND control) {
  HWND header = reinterpret_cast<HWND>(::SendMessageW(control, LVM_GETHEADER, 0, 0));
  int columns = header ? static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
  return columns > 0 ? columns : 1;
}

void CollectTree(HWND tree, HTREEITEM item, int depth, std::vector<TreeNode>& out) {
  for (; item; item = TreeView_GetNextSibling(tree, item)) {
    wchar_t text[512] = {};
    TVITEMW info{};
    info.mask = TVIF_TEXT | TVIF_STATE | TVIF_HANDLE;
    info.hItem = item;
    info.stateMask = TVIS_STATEIMAGEMASK | TVIS_EXPANDED | TVIS_BOLD | TVIS_SELECTED;
    info.pszText = text;
    info.cchTextMax = 512;
    ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&info));
    TreeNode node;
    node.text = text;
    node.depth = depth;
    node.stateImage = static_cast<int>((info.state & TVIS_STATEIMAGEMASK) >> 12);
    node.expanded = (info.state & TVIS_EXPANDED) != 0;
    node.bold = (info.state & TVIS_BOLD) != 0;
    node.selected = (info.state & TVIS_SELECTED) != 0;
    out.push_back(node);
    CollectTree(tree, TreeView_GetChild(tree, item), depth + 1, out);
  }
}

// The innermost visible, enabled child under a client point of the window, and the point in its
// coordinates.
HWND InnermostAt(HWND window, POINT& point) {
  for (;;) {
    HWND child = ::ChildWindowFromPointEx(window, point, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (!child || child == window) return window;
    ::MapWindowPoints(window, child, &point, 1);
    window = child;
  }
}

struct ThreadWindowSearch {
  const std::wstring* text;
  HWND found;
};

BOOL CALLBACK MatchThreadWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<ThreadWindowSearch*>(parameter);
  if (::IsWindowVisible(window) && Text(window) == *search->text) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

void PumpMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Left for the loop that owns the thread.
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    HWND root = msg.hwnd ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root && IsDialogWindow(root) && ::IsDialogMessageW(root, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

bool WaitUntil(const std::function<bool()>& condition, unsigned timeoutMs) {
  DWORD start = ::GetTickCount();
  for (;;) {
    PumpMessages();
    if (condition()) return true;
    if (::GetTickCount() - start >= timeoutMs) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

void PumpFor(unsigned milliseconds) {
  DWORD start = ::GetTickCount();
  WaitUntil([&] { return ::GetTickCount() - start >= milliseconds; }, milliseconds + 1000);
}

HWND OpenDialog(int templateId, DLGPROC procedure, LPARAM parameter, HWND owner) {
  HWND dialog = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner,
                                     procedure, parameter);
  if (!dialog) return nullptr;
  ::ShowWindow(dialog, SW_SHOW);
  ::UpdateWindow(dialog);
  PumpMessages();
  return dialog;
}

HWND FindThreadWindow(const std::wstring& text) {
  ThreadWindowSearch search{&text, nullptr};
  ::EnumThreadWindows(::GetCurrentThreadId(), MatchThreadWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::function<void(const std::string&)>& FailureHandler() {
  static std::function<void(const std::string&)> handler = [](const std::string& why) {
    std::fprintf(stderr, "harness: %s\n", why.c_str());
  };
  return handler;
}

void SetFailureHandler(std::function<void(const std::string&)> handler) { FailureHandler() = std::move(handler); }

std::vector<COLORREF> ClientPixels(HWND window, const RECT& rect) {
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return {};
  HDC source = ::GetDC(window);
  HDC memory = ::CreateCompatibleDC(source);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  std::vector<COLORREF> colours;
  if (bitmap != nullptr) {
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, source, rect.left, rect.top, SRCCOPY);
    ::GdiFlush();
    const auto* pixels = static_cast<const uint32_t*>(bits);
    for (int i = 0; i < width * height; ++i) {
      colours.push_back(RGB((pixels[i] >> 16) & 0xFF, (pixels[i] >> 8) & 0xFF, pixels[i] & 0xFF));
    }
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
  }
  ::DeleteDC(memory);
  ::ReleaseDC(window, source);
  return colours;
}

COLORREF ClientPixel(HWND window, int x, int y) {
  std::vector<COLORREF> one = ClientPixels(window, RECT{x, y, x + 1, y + 1});
  return one.empty() ? CLR_INVALID : one[0];
}

bool ColourBetween(COLORREF colour, COLORREF a, COLORREF b, int tolerance) {
  for (int shift : {0, 8, 16}) {
    const int c = (colour >> shift) & 0xFF, x = (a >> shift) & 0xFF, y = (b >> shift) & 0xFF;
    if (c < std::min(x, y) - tolerance || c > std::max(x, y) + tolerance) return false;
  }
  return true;
}

int CountPixels(HWND window, const RECT& rect, COLORREF colour, int tolerance) {
  int count = 0;
  for (COLORREF c : ClientPixels(window, rect)) count += ColourBetween(c, colour, colour, tolerance) ? 1 : 0;
  return count;
}

COLORREF CommonColour(HWND window, const RECT& rect) {
  std::map<COLORREF, int> counts;
  for (COLORREF c : ClientPixels(window, rect)) ++counts[c];
  COLORREF common = CLR_INVALID;
  int most = 0;
  for (const auto& [colour, count] : counts) {
    if (count > most) common = colour, most = count;
  }
  return common;
}

HWND Control(HWND parent, int id) {
  HWND control = ::GetDlgItem(parent, id);
  if (control == nullptr) {
    std::string caption;
    for (wchar_t c : Text(parent)) caption += c < 0x80 ? static_cast<char>(c) : '?';
    const std::string why = "no control with id " + std::to_string(id) + " in the window \"" + caption + "\"";
    FailureHandler()(why);
    ModalScript::FailAll(why);
  }
  return control;
}

void PostCommand(HWND target, int id, int notification, HWND control) {
  ::PostMessageW(target, WM_COMMAND, MAKEWPARAM(id, notification), reinterpret_cast<LPARAM>(control));
  PumpMessages();
}

void PressKey(HWND window, UINT virtualKey) {
  UINT scan = ::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
  LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
  LPARAM up = down | (1 << 30) | (1u << 31);
  ::PostMessageW(window, WM_KEYDOWN, virtualKey, down);
  ::PostMessageW(window, WM_KEYUP, virtualKey, up);
  PumpMessages();
}

void TypeText(HWND window, const std::wstring& text) {
  for (wchar_t c : text) ::PostMessageW(window, WM_CHAR, c, 1);
  PumpMessages();
}

void Click(HWND control, POINT point) {
  HWND target = InnermostAt(control, point);
  POINT screen = point;
  ::ClientToScreen(target, &screen);
  ::SetCursorPos(screen.x, screen.y);
  LPARAM at = MAKELPARAM(point.x, point.y);
  ::PostMessageW(target, WM_MOUSEMOVE, 0, at);
  ::PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::PostMessageW(target, WM_LBUTTONUP, 0, at);
  PumpMessages();
}

void ClickListHeader(HWND listView, int column) {
  HWND header = ListView_GetHeader(listView);
  RECT rect{}, client{};
  Header_GetItemRect(header, column, &rect);
  ::GetClientRect(listView, &client);
  const int scrolled = ::GetScrollPos(listView, SB_HORZ);
  if (rect.right - scrolled > client.right || rect.left < scrolled) {
    ListView_Scroll(listView, rect.left - scrolled, 0);
    PumpMessages();
  }
  // The header moves with the list's scrolling: the item keeps its place in the header's own coordinates.
  Header_GetItemRect(header, column, &rect);
  Click(header, POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

ScopedUserDateFormat::ScopedUserDateFormat(const wchar_t* format) {
  wchar_t kept[80] = {};
  ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, kept, 80);
  kept_ = kept;
  ::SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, format);
}

ScopedUserDateFormat::~ScopedUserDateFormat() { ::SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, kept_.c_str()); }

void ClickCentre(HWND control) {
  RECT client;
  ::GetClientRect(control, &client);
  Click(control, POINT{(client.left + client.right) / 2, (client.top + client.bottom) / 2});
}

std::wstring Text(HWND window) {
  int length = ::GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  int got = ::GetWindowTextW(window, &text[0], length + 1);
  text.resize(static_cast<size_t>(got));
  return text;
}

ControlState StateOf(HWND window) {
  ControlState state;
  if (!window || !::IsWindow(window)) return state;
  state.exists = true;
  state.visible = ::IsWindowVisible(window) != FALSE;
  state.enabled = ::IsWindowEnabled(window) != FALSE;
  state.focused = ::GetFocus() == window;
  if (KindIs(window, L"Button")) state.check = static_cast<int>(::SendMessageW(window, BM_GETCHECK, 0, 0));
  return state;
}

std::wstring ControlKind(HWND window) {
  wchar_t name[128] = {};
  ::RealGetWindowClassW(window, name, 128);
  return name;
}

std::vector<std::wstring> Items(HWND control) {
  std::vector<std::wstring> items;
  if (KindIs(control, L"ListBox")) {
    int count = static_cast<int>(::SendMessageW(control, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) items.push_back(ItemText(control, LB_GETTEXTLEN, LB_GETTEXT, i));
  } else if (KindIs(control, L"ComboBox")) {
    int count = static_cast<int>(::SendMessageW(control, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) items.push_back(ItemText(control, CB_GETLBTEXTLEN, CB_GETLBTEXT, i));
  } else if (KindIs(control, WC_LISTVIEWW)) {
    for (const auto& row : ListViewRows(control)) items.push_back(row.front());
  } else if (KindIs(control, WC_TREEVIEWW)) {
    for (const TreeNode& node : TreeNodes(control)) items.push_back(node.text);
  }
  return items;
}

int Selection(HWND control) {
  if (KindIs(control, L"ListBox")) return static_cast<int>(::SendMessageW(control, LB_GETCURSEL, 0, 0));
  if (KindIs(control, L"ComboBox")) return static_cast<int>(::SendMessageW(control, CB_GETCURSEL, 0, 0));
  if (KindIs(control, WC_LISTVIEWW)) {
    return static_cast<int>(::SendMessageW(control, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  }
  return -1;
}

std::vector<std::vector<std::wstring>> ListViewRows(HWND listView) {
  std::vector<std::vector<std::wstring>> rows;
  int count = static_cast<int>(::SendMessageW(listView, LVM_GETITEMCOUNT, 0, 0));
  int columns = ListViewColumns(listView);
  for (int row = 0; row < count; ++row) {
    std::vector<std::wstring> cells;
    for (int column = 0; column < columns; ++column) cells.push_back(ListViewText(listView, row, column));
    rows.push_back(cells);
  }
  return rows;
}

std::vector<TreeNode> TreeNodes(HWND treeView) {
  std::vector<TreeNode> nodes;
  CollectTree(treeView, TreeView_GetRoot(treeView), 0, nodes);
  return nodes;
}

std::set<std::wstring> TempFolderNames() {
  wchar_t folder[MAX_PATH + 1] = {};
  std::set<std::wstring> names;
  if (::GetTempPathW(MAX_PATH + 1, folder) == 0) return names;
  WIN32_FIND_DATAW found{};
  HANDLE search = ::FindFirstFileW((std::wstring(folder) + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    names.insert(found.cFileName);
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  return names;
}

}  // namespace harness
