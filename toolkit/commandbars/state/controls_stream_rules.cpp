#include "toolkit/commandbars/state/controls_stream_rules.h"

#include <algorithm>
#include <deque>
#include <unordered_map>

namespace tkpstream {

namespace {

bool GridFits(long long cells, long long cell) {
  return cells >= 0 && cells <= kMostSelectorCells && IsExtent(cells * cell);
}

}  // namespace

bool SelectorFits(Extent itemsCount, Extent itemsMax, Extent cell) {
  if (cell.cx < 1 || cell.cy < 1 || !IsExtent(cell.cx) || !IsExtent(cell.cy)) return false;
  return GridFits(itemsCount.cx, cell.cx) && GridFits(itemsCount.cy, cell.cy) && GridFits(itemsMax.cx, cell.cx) &&
         GridFits(itemsMax.cy, cell.cy);
}

bool HostedWindowFits(long long left, long long top, long long right, long long bottom, Extent size) {
  for (long long part : {left, top, right, bottom, size.cx, size.cy}) {
    if (!IsExtent(part)) return false;
  }
  return IsExtent(left + right + size.cx) && IsExtent(top + bottom + size.cy);
}

Storage StorageFor(size_t bytes) { return bytes <= kMostBytesInProfile ? Storage::kProfile : Storage::kFile; }

namespace {

bool KeptInName(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u' ' ||
         c == u'-' || c == u'_' || c == u'.';
}

char16_t Folded(char16_t c) {
  if (c == u'/') return u'\\';
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool Fail(std::string* why, const char* text) {
  if (why != nullptr) *why = text;
  return false;
}

}  // namespace

std::u16string SafeFileName(const std::u16string& name) {
  std::u16string safe;
  for (char16_t c : name) safe += KeptInName(c) ? c : u'_';
  if (safe.empty() || safe[0] == u'.') safe.insert(safe.begin(), u'_');
  return safe;
}

bool IsFileInFolder(const std::u16string& folder, const std::u16string& path) {
  std::u16string base;
  for (char16_t c : folder) base += Folded(c);
  while (!base.empty() && base.back() == u'\\') base.pop_back();
  if (base.empty() || path.size() <= base.size() + 1) return false;
  for (size_t i = 0; i < base.size(); ++i) {
    if (Folded(path[i]) != base[i]) return false;
  }
  if (Folded(path[base.size()]) != u'\\') return false;
  const std::u16string name = path.substr(base.size() + 1);
  if (name == u"." || name == u"..") return false;
  return std::all_of(name.begin(), name.end(), [](char16_t c) {
    return c >= 0x20 && c != u'\\' && c != u'/' && c != u':' && c != u'*' && c != u'?' && c != u'"' &&
           c != u'<' && c != u'>' && c != u'|';
  });
}

bool CheckLinks(const std::vector<StreamBar>& bars, std::string* why) {
  if (bars.size() > kMostBars) return Fail(why, "too many bars");
  std::unordered_map<uint32_t, size_t> toolbars, popups;
  for (size_t i = 0; i < bars.size(); ++i) {
    const StreamBar& bar = bars[i];
    if (bar.toolbar && bar.id == 0) return Fail(why, "a toolbar without an id");
    auto& ids = bar.toolbar ? toolbars : popups;
    if (bar.id != 0 && !ids.emplace(bar.id, i).second) return Fail(why, "two bars with one id");
  }
  // Each bar's popup bars, and how many link to each; the walk below goes from the bars nothing links
  // to, so a bar it never reaches lies on a loop.
  std::vector<std::vector<size_t>> opens(bars.size());
  std::vector<size_t> linkedBy(bars.size(), 0);
  for (size_t i = 0; i < bars.size(); ++i) {
    for (uint32_t id : bars[i].popupIds) {
      if (id == 0) continue;
      const auto found = popups.find(id);
      if (found == popups.end()) return Fail(why, "a popup names no popup bar of the stream");
      opens[i].push_back(found->second);
      ++linkedBy[found->second];
    }
  }
  std::deque<size_t> ready;
  std::vector<size_t> depth(bars.size(), 0);
  // The ways each bar is reached from the bars nothing links to, counted no further than the limit.
  std::vector<uint64_t> paths(bars.size(), 0);
  for (size_t i = 0; i < bars.size(); ++i) {
    if (linkedBy[i] != 0) continue;
    ready.push_back(i);
    paths[i] = 1;
  }
  size_t reached = 0;
  uint64_t walked = 0;
  while (!ready.empty()) {
    const size_t bar = ready.front();
    ready.pop_front();
    ++reached;
    walked += paths[bar] * (1 + std::min<uint64_t>(bars[bar].controls, kMostWalkedControls));
    if (walked > kMostWalkedControls) return Fail(why, "popups shared along too many paths");
    for (size_t next : opens[bar]) {
      depth[next] = std::max(depth[next], depth[bar] + 1);
      if (depth[next] > kMostPopupDepth) return Fail(why, "popups nested too deep");
      paths[next] = std::min(paths[next] + paths[bar], kMostWalkedControls + 1);
      if (--linkedBy[next] == 0) ready.push_back(next);
    }
  }
  if (reached != bars.size()) return Fail(why, "a popup bar opens itself");
  return true;
}

}  // namespace tkpstream
