// The toolkit status bar's part edges, last pane and window text.
#include "toolkit/commandbars/bars/tkp_status_bar_layout.h"

#include <algorithm>

namespace tkp_status_bar {

std::vector<int> PartEdges(const std::vector<PaneWidth>& panes, int innerLeft, int innerWidth, int border) {
  int stretching = 0;
  int free = innerWidth;
  for (const PaneWidth& pane : panes) {
    free -= pane.textWidth + kPanePadding + border;
    if (pane.stretch) ++stretching;
  }
  std::vector<int> edges;
  edges.reserve(panes.size());
  int right = innerLeft;
  for (const PaneWidth& pane : panes) {
    right += pane.textWidth + kPanePadding;
    if (pane.stretch && free > 0 && stretching > 0) {
      int share = free / stretching;
      right += share;
      free -= share;
      --stretching;
    }
    edges.push_back(right);
    right += border;
  }
  return edges;
}

int LastPaneRight(int left, int textWidth, bool stretch, int clientRight, bool sizeGrip, int cxEdge, int cxSmallIcon) {
  if (!stretch) return left + textWidth + 3 * cxEdge;
  return sizeGrip ? clientRight - (cxSmallIcon + cxEdge) : clientRight;
}

size_t CopyWindowText(std::u16string_view text, char16_t* buffer, size_t bufferSize) {
  if (buffer == nullptr || bufferSize == 0) return 0;
  size_t count = std::min(text.size(), bufferSize - 1);
  std::copy_n(text.begin(), count, buffer);
  buffer[count] = u'\0';
  return count;
}

}  // namespace tkp_status_bar
