#include "preview/html/html_block_ends.h"

#include <algorithm>

#include "preview/html/html_parse_scan.h"

namespace htmlview {
namespace {

// A block whose end is still open. Its count of open tables is tables - tablesAtStart; an older block
// never has fewer open tables or divs than a newer one, so the blocks a tag ends are always the newest.
struct Open {
  size_t block;
  long long tablesAtStart;
  bool hasFallback;
};

// Consecutive open divs whose count of open divs is the same: divs - base. A "</div" that finds no div
// open in a block inside a table leaves the count at 0, which puts such blocks into one group.
struct DivGroup {
  size_t first;  // index in the open divs
  long long base;
};

}  // namespace

HtmlBlockEnds::HtmlBlockEnds(std::u16string_view text) : size_(text.size()) {
  size_t close = 0;  // the next ">" at or after the tag being looked at, once found
  bool found = false;
  for (size_t p = 0; p < text.size(); ++p) {
    if (text[p] != u'<') continue;
    const bool div = TagAt(text, p, u"<div") && p + 4 < text.size() && text[p + 4] == u' ';
    const bool para = TagAt(text, p, u"<p") && p + 2 < text.size() && text[p + 2] == u' ';
    if (!div && !para) continue;
    if (!found || close < p) close = TagClose(text, p);
    found = true;
    const size_t content = close < text.size() ? close + 1 : close;
    blocks_.push_back({p, content, div, text.size(), text.size()});
  }
  if (!blocks_.empty()) Sweep(text);
}

void HtmlBlockEnds::Sweep(std::u16string_view t) {
  std::vector<Open> divs, paras;
  std::vector<DivGroup> groups;
  std::vector<size_t> fallback(blocks_.size(), t.size());
  long long tables = 0, divCount = 0;
  size_t next = 0;  // the next block to open
  auto tablesOpen = [&](const Open& o) { return tables - o.tablesAtStart; };
  // Ends the newest open blocks that have no table open at p.
  auto endWhereNoTable = [&](std::vector<Open>& open, size_t p) {
    while (!open.empty() && tablesOpen(open.back()) == 0) {
      blocks_[open.back().block].close = p;
      open.pop_back();
    }
  };
  auto dropEmptyGroups = [&] {
    while (!groups.empty() && groups.back().first >= divs.size()) groups.pop_back();
  };
  for (size_t p = 0; p < t.size(); ++p) {
    for (; next < blocks_.size() && blocks_[next].content <= p; ++next) {
      if (!blocks_[next].div) {
        paras.push_back({next, tables, false});
        continue;
      }
      divs.push_back({next, tables, false});
      if (groups.empty() || groups.back().base != divCount) groups.push_back({divs.size() - 1, divCount});
    }
    if (t[p] != u'<') continue;
    if (TagAt(t, p, u"<table")) {
      ++tables;
    } else if (TagAt(t, p, u"</table")) {
      endWhereNoTable(divs, p);
      endWhereNoTable(paras, p);
      dropEmptyGroups();
      --tables;
    } else if (TagAt(t, p, u"<div")) {
      ++divCount;
      // The newest divs outside tables that have no fallback yet take this one when it is aligned.
      if (!divs.empty() && tablesOpen(divs.back()) == 0 && !divs.back().hasFallback &&
          TagAttributes(t, p).Has(u"align")) {
        for (size_t i = divs.size(); i > 0 && tablesOpen(divs[i - 1]) == 0 && !divs[i - 1].hasFallback; --i) {
          divs[i - 1].hasFallback = true;
          fallback[divs[i - 1].block] = p;
        }
      }
    } else if (TagAt(t, p, u"</div")) {
      --divCount;
      // Blocks that had no div open: those outside tables end here, the others stay at none open.
      while (!groups.empty() && divCount - groups.back().base < 0) {
        while (divs.size() > groups.back().first && tablesOpen(divs.back()) == 0) {
          blocks_[divs.back().block].close = p;
          divs.pop_back();
        }
        if (divs.size() == groups.back().first) {
          groups.pop_back();
          continue;
        }
        groups.back().base = divCount;
        while (groups.size() > 1 && divCount - groups[groups.size() - 2].base <= 0) {
          groups[groups.size() - 2].base = divCount;
          groups.pop_back();
        }
        break;
      }
    } else if (TagAt(t, p, u"</p") || TagAt(t, p, u"<p") || TagAt(t, p, u"<hr")) {
      endWhereNoTable(paras, p);
    }
  }
  for (size_t i = 0; i < blocks_.size(); ++i) blocks_[i].fallback = fallback[i];
}

size_t HtmlBlockEnds::End(size_t tagPos, size_t rangeEnd) const {
  rangeEnd = std::min(rangeEnd, size_);
  const auto it = std::lower_bound(blocks_.begin(), blocks_.end(), tagPos,
                                   [](const Block& b, size_t pos) { return b.tag < pos; });
  if (it == blocks_.end() || it->tag != tagPos) return rangeEnd;
  if (it->close < rangeEnd) return it->close;
  return std::min(it->fallback, rangeEnd);
}

}  // namespace htmlview
