#include "tools/ui_scenario/preview_probe.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>

#include "platform/harness/driver.h"
#include "res/resource.h"
#include "tools/ui_scenario/remote_controls.h"

namespace scenario {
namespace {

constexpr size_t kMostTextChars = 4000;
constexpr int kMostRows = 60;

struct PictureId {
  int id;
  const char* name;
};
const PictureId kPlaceholders[] = {{IDB_PREVIEW_CORRUPTED, "corrupted"},
                                   {IDB_PREVIEW_NO_VIEWER, "not-available"},
                                   {IDB_PREVIEW_SELECT_FILE, "select-file"},
                                   {IDB_PREVIEW_LARGE_FILE, "too-large"},
                                   {IDB_PREVIEW_IMAGE_NEEDED, "image-needed"}};

bool IsRichEdit(const std::wstring& name) {
  std::wstring upper = name;
  for (wchar_t& c : upper) c = static_cast<wchar_t>(::towupper(c));
  return upper.compare(0, 8, L"RICHEDIT") == 0;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM parameter) {
  reinterpret_cast<std::vector<HWND>*>(parameter)->push_back(window);
  return TRUE;
}

std::vector<HWND> Descendants(HWND window) {
  std::vector<HWND> found;
  ::EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&found));
  return found;
}

// The control's text through WM_GETTEXT, which the system carries across processes; line breaks as " | ".
std::string ControlText(HWND control) {
  std::wstring text(kMostTextChars + 1, L'\0');
  const LRESULT length = ::SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<size_t>(std::max<LRESULT>(length, 0)));
  std::wstring flat;
  for (wchar_t c : text) {
    if (c == L'\r') continue;
    if (c == L'\n') {
      flat += L" | ";
    } else {
      flat += c;
    }
  }
  return Utf8(flat);
}

// Each row's cells, "a, b, c", rows apart by " | ".
std::string RowsText(HANDLE process, HWND list) {
  HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
  const int columns = header != nullptr ? std::max(1, static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0))) : 1;
  std::string rows;
  const int count = std::min(RowCount(list), kMostRows);
  for (int row = 0; row < count; ++row) {
    if (row > 0) rows += " | ";
    for (int column = 0; column < columns; ++column) rows += (column > 0 ? ", " : "") + Utf8(RowText(process, list, row, column));
  }
  return "rows=" + std::to_string(RowCount(list)) + ": " + rows;
}

size_t DistinctColours(const std::vector<uint8_t>& rgba) {
  std::set<uint32_t> colours;
  for (size_t i = 0; i + 3 < rgba.size(); i += 4) {
    colours.insert(static_cast<uint32_t>(rgba[i]) << 16 | static_cast<uint32_t>(rgba[i + 1]) << 8 | rgba[i + 2]);
  }
  return colours.size();
}

// The size of the smallest rectangle holding what a viewer drew on its white ground, "WxH", its outermost two
// pixels (where a frame may stand) left out.
std::string DrawnBox(const std::vector<uint8_t>& rgba, int width, int height) {
  int left = width, top = height, right = -1, bottom = -1;
  for (int y = 2; y + 2 < height; ++y) {
    for (int x = 2; x + 2 < width; ++x) {
      const uint8_t* p = &rgba[(static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 4];
      if (p[0] == 255 && p[1] == 255 && p[2] == 255) continue;
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
    }
  }
  if (right < 0) return "0x0";
  return std::to_string(right - left + 1) + "x" + std::to_string(bottom - top + 1);
}

// The lines a page shows: bands of pixel rows holding something other than its ground (its most common
// colour), apart by rows of ground alone.
int InkLines(const std::vector<uint8_t>& rgba, int width, int height) {
  std::map<uint32_t, size_t> counts;
  const auto colour = [&rgba](size_t i) {
    return static_cast<uint32_t>(rgba[i]) << 16 | static_cast<uint32_t>(rgba[i + 1]) << 8 | rgba[i + 2];
  };
  for (size_t i = 0; i + 3 < rgba.size(); i += 4) ++counts[colour(i)];
  if (counts.empty()) return 0;
  const uint32_t ground =
      std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) { return a.second < b.second; })->first;
  int lines = 0;
  bool inLine = false;
  for (int y = 0; y < height; ++y) {
    bool ink = false;
    for (int x = 0; x < width && !ink; ++x)
      ink = colour((static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 4) != ground;
    if (ink && !inLine) ++lines;
    inLine = ink;
  }
  return lines;
}

}  // namespace

PlaceholderPictures::PlaceholderPictures(const std::wstring& program) {
  HMODULE module = ::LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (module == nullptr) return;
  HDC screen = ::GetDC(nullptr);
  for (const PictureId& placeholder : kPlaceholders) {
    HBITMAP bitmap = static_cast<HBITMAP>(::LoadImageW(module, MAKEINTRESOURCEW(placeholder.id), IMAGE_BITMAP, 0, 0,
                                                       LR_CREATEDIBSECTION));
    if (bitmap == nullptr) continue;
    BITMAP info{};
    ::GetObjectW(bitmap, sizeof info, &info);
    Picture picture{placeholder.name, info.bmWidth, info.bmHeight, {}};
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof header.bmiHeader;
    header.bmiHeader.biWidth = info.bmWidth;
    header.bmiHeader.biHeight = -info.bmHeight;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    std::vector<uint8_t> bgra(static_cast<size_t>(info.bmWidth) * static_cast<size_t>(info.bmHeight) * 4);
    if (::GetDIBits(screen, bitmap, 0, static_cast<UINT>(info.bmHeight), bgra.data(), &header, DIB_RGB_COLORS) != 0) {
      for (size_t i = 0; i < bgra.size(); i += 4) {
        picture.rgb.insert(picture.rgb.end(), {bgra[i + 2], bgra[i + 1], bgra[i]});
      }
      pictures_.push_back(std::move(picture));
    }
    ::DeleteObject(bitmap);
  }
  ::ReleaseDC(nullptr, screen);
  ::FreeLibrary(module);
}

std::string PlaceholderPictures::Match(const std::vector<uint8_t>& rgba, int width, int height) const {
  for (const Picture& picture : pictures_) {
    // Placed as the placeholder views place it: centred, at its own size, clipped by the view.
    const int left = width / 2 - picture.width / 2, top = height / 2 - picture.height / 2;
    size_t compared = 0, same = 0;
    for (int y = std::max(0, top); y < std::min(height, top + picture.height); ++y) {
      for (int x = std::max(0, left); x < std::min(width, left + picture.width); ++x) {
        const uint8_t* shown = &rgba[(static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 4];
        const uint8_t* drawn = &picture.rgb[(static_cast<size_t>(y - top) * static_cast<size_t>(picture.width) +
                                             static_cast<size_t>(x - left)) * 3];
        ++compared;
        if (std::abs(shown[0] - drawn[0]) <= 8 && std::abs(shown[1] - drawn[1]) <= 8 && std::abs(shown[2] - drawn[2]) <= 8) {
          ++same;
        }
      }
    }
    if (compared > 1000 && same * 100 >= compared * 98) return picture.name;
  }
  return {};
}

HWND TopViewer(HWND pane) {
  for (HWND child = ::GetWindow(pane, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (::IsWindowVisible(child)) return child;
  }
  return nullptr;
}

std::vector<uint8_t> ViewerPixels(HWND viewer, int* width, int* height) {
  RECT client{};
  ::GetClientRect(viewer, &client);
  POINT origin{0, 0};
  ::ClientToScreen(viewer, &origin);
  *width = client.right;
  *height = client.bottom;
  if (*width <= 0 || *height <= 0) return {};
  return harness::ScreenPixels(origin.x, origin.y, *width, *height);
}

PreviewShown DescribePreview(HANDLE process, HWND pane, const PlaceholderPictures& placeholders) {
  // Every viewer covers the same place: a failed one stays beside the placeholder that the pane adds, and
  // the screen, not the windows' order, tells which one the user sees.
  std::vector<HWND> viewers;
  for (HWND child = ::GetWindow(pane, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (::IsWindowVisible(child)) viewers.push_back(child);
  }
  if (viewers.empty()) return {"none", ""};
  int width = 0, height = 0;
  const std::vector<uint8_t> pixels = ViewerPixels(viewers.front(), &width, &height);
  const std::string placeholder = placeholders.Match(pixels, width, height);
  if (!placeholder.empty()) return {"placeholder", placeholder};
  for (HWND viewer : viewers) {
    const std::vector<HWND> children = Descendants(viewer);
    for (HWND child : children) {
      if (IsRichEdit(ClassName(child))) return {"text", ControlText(child)};
    }
    for (HWND child : children) {
      if (ClassName(child) == WC_LISTVIEWW) return {"list", RowsText(process, child)};
    }
    // A viewer that shows its picture in a static control still shows a drawn picture. Other controls are
    // named by class, with the texts they show (the viewer's own, such as a page's title; a status bar's, a
    // button's).
    std::string classes, texts = ControlText(viewer);
    if (!texts.empty()) texts = " | " + texts;
    int lines = -1;
    for (HWND child : children) {
      if (!::IsWindowVisible(child) || ClassName(child) == L"Static") continue;
      classes += (classes.empty() ? "" : " ") + Utf8(ClassName(child));
      const std::string text = ControlText(child);
      if (!text.empty()) texts += " | " + text;
      // A page viewer's canvas: the lines its page shows.
      if (ClassName(child) == L"#32770" && lines < 0) {
        int w = 0, h = 0;
        const std::vector<uint8_t> canvas = ViewerPixels(child, &w, &h);
        lines = InkLines(canvas, w, h);
      }
    }
    if (lines >= 0) texts += " | lines=" + std::to_string(lines);
    if (!classes.empty()) return {"window", classes + texts};
  }
  return {"drawn", "colours=" + std::to_string(DistinctColours(pixels)) + " box=" + DrawnBox(pixels, width, height)};
}

bool PanePainted(HWND pane) {
  if (::GetUpdateRect(pane, nullptr, FALSE)) return false;
  for (HWND child : Descendants(pane)) {
    if (::IsWindowVisible(child) && ::GetUpdateRect(child, nullptr, FALSE)) return false;
  }
  return true;
}

}  // namespace scenario
