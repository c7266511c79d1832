// The arithmetic of the toolkit's status bar: where its parts end, where the last pane ends, and the
// window text copied out of the message pane. Portable, so that the rules are tested natively.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace tkp_status_bar {

// Room around a pane's text inside its part.
constexpr int kPanePadding = 6;

struct PaneWidth {
  int textWidth = 0;
  bool stretch = false;  // takes a share of the width the other panes leave
};

// The right edge of each visible pane's part, from the inner rectangle's left edge: each part is its
// text width and the padding wide, a stretch pane adds an equal share of what is left while something
// is left, and a border of `border` pixels lies between two parts.
std::vector<int> PartEdges(const std::vector<PaneWidth>& panes, int innerLeft, int innerWidth, int border);

// The right edge of the last visible pane: its text and three edges without stretch; with stretch the
// client's right, less the size grip's room when there is a grip.
int LastPaneRight(int left, int textWidth, bool stretch, int clientRight, bool sizeGrip, int cxEdge, int cxSmallIcon);

// WM_GETTEXT of the bar: as much of the text as fits before the terminator; the number of characters
// copied (0 for a buffer of no characters, which gets nothing).
size_t CopyWindowText(std::u16string_view text, char16_t* buffer, size_t bufferSize);

}  // namespace tkp_status_bar
