// What the program's preview pane shows, read from the runner's process as its user sees it: the viewer on
// top, its text or rows, a placeholder picture recognised by its pixels, or how many colours a drawn
// viewer paints and the size of what it drew.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace scenario {

struct PreviewShown {
  // "text" (a rich-edit control), "list" (a list view), "window" (other child controls), "placeholder"
  // (one of the pane's pictures), "drawn" (painted by the viewer itself), "none" (no viewer).
  std::string view;
  // The text, the rows, the placeholder's name, the child classes with their texts (and for a page viewer's
  // canvas "lines=N", the bands of its pixel rows that hold more than its ground), or "colours=N box=WxH"
  // (what was drawn on the viewer's white ground).
  std::string detail;
};

// The pane's placeholder pictures, loaded from the program's own resources.
class PlaceholderPictures {
 public:
  explicit PlaceholderPictures(const std::wstring& program);
  // The name of the placeholder drawn centred in these pixels (top-down RGBA of width x height), or empty.
  std::string Match(const std::vector<uint8_t>& rgba, int width, int height) const;

 private:
  struct Picture {
    std::string name;
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;  // top-down
  };
  std::vector<Picture> pictures_;
};

// The first visible viewer in the pane's window order (null when there is none).
HWND TopViewer(HWND pane);
// Its client area as the screen shows it, top-down RGBA.
std::vector<uint8_t> ViewerPixels(HWND viewer, int* width, int* height);
PreviewShown DescribePreview(HANDLE process, HWND pane, const PlaceholderPictures& placeholders);
// Whether the pane and every window in it have painted what they show.
bool PanePainted(HWND pane);

}  // namespace scenario
