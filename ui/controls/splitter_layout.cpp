#include "ui/controls/splitter_layout.h"

#include <algorithm>

namespace splitter {
namespace {

// The stored sections begin with these five units (the bytes "splt\init_" read as UTF-16).
const TCHAR kSectionPrefix[] = {0x7073, 0x746C, 0x695C, 0x696E, 0x5F74, 0};

CString Section(LPCTSTR layout, UINT id) {
  CString section;
  section.Format(_T("%s%d"), (LPCTSTR)(CString(kSectionPrefix) + layout), static_cast<int>(id));
  return section;
}

}  // namespace

const TCHAR kVerticalValue[] = _T("VertSplitPos");
const TCHAR kHorizontalValue[] = _T("HorizSplitPos");

Placement PlaceVertical(const CRect& client, int x) {
  Placement p;
  p.hit = CRect(x - kHalfBar, client.top, x + kHalfBar, client.bottom);
  p.first = CRect(client.left, client.top, x - kHalfBar, client.bottom);
  p.second = CRect(p.first.right + kBarWidth, client.top, client.right, client.bottom);
  return p;
}

Placement PlaceHorizontal(const CRect& client, int y) {
  Placement p;
  p.hit = CRect(0, y - kHalfBar, client.right, y + kHalfBar);
  p.second = CRect(client.left, y + kHalfBar, client.right, client.bottom);
  p.first = CRect(client.left, client.top, client.right, p.second.top - kBarWidth);
  return p;
}

int ClampBar(int position, int low, int high) {
  // The bar reaches 3 pixels to one side of its position and 2 to the other, one way round for each
  // layout: 3 either way keeps it inside for both.
  int lowest = low + kBarWidth - kHalfBar;
  int highest = high - (kBarWidth - kHalfBar);
  if (highest < lowest) return lowest;
  return std::clamp(position, lowest, highest);
}

int LeastOtherPane(int extent) { return std::min(kUsablePane, std::max(0, extent - kBarWidth) / 3); }

int ShownKeptPane(int kept, int extent) {
  return std::max(0, std::min(kept, extent - kBarWidth - LeastOtherPane(extent)));
}

CString VerticalSection(UINT id) { return Section(_T("vHorizSplitPos"), id); }
CString HorizontalSection(UINT id) { return Section(_T("hVertSplitPos"), id); }

}  // namespace splitter
