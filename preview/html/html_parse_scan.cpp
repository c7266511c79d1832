#include "preview/html/html_parse_scan.h"

#include <array>
#include <vector>

#include "preview/html/html_attributes.h"
#include "platform/os/os.h"
#include "preview/html/html_entities.h"

namespace htmlview {
namespace {


}  // namespace

bool EqualsNoCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (os::AsciiLower(a[i]) != os::AsciiLower(b[i])) return false;
  return true;
}

int KnownTagIndexAt(std::u16string_view text, size_t pos, std::u16string_view ends) {
  constexpr size_t kLongest = 12;  // "</blockquote"
  struct Known {
    int index;
    std::u16string_view name;
  };
  static const std::array<std::vector<Known>, kLongest + 1> byLength = [] {
    std::array<std::vector<Known>, kLongest + 1> table;
    for (size_t i = 0; i < kKnownTagCount; ++i) {
      const std::u16string_view name(kKnownTags[i]);
      table[name.size()].push_back({static_cast<int>(i), name});
    }
    return table;
  }();
  if (pos >= text.size() || text[pos] != u'<') return -1;
  size_t end = pos + 1;
  while (end < text.size() && end - pos <= kLongest && ends.find(text[end]) == std::u16string_view::npos &&
         !(text[end] == u'/' && end > pos + 1))
    ++end;
  const size_t length = end - pos;
  if (length > kLongest) return -1;
  for (const Known& known : byLength[length])
    if (EqualsNoCase(text.substr(pos, length), known.name)) return known.index;
  return -1;
}

bool TagAt(std::u16string_view text, size_t pos, std::u16string_view prefix) {
  if (pos > text.size() || text.size() - pos < prefix.size()) return false;
  // Tag names are read in any case, as the loader keeps them.
  if (!EqualsNoCase(text.substr(pos, prefix.size()), prefix)) return false;
  const size_t after = pos + prefix.size();
  return after == text.size() || text[after] == u' ' || text[after] == u'>' || text[after] == 0 ||
         (text[after] == u'/' && prefix.size() > 1);
}

size_t FindTag(std::u16string_view text, size_t from, std::u16string_view prefix) {
  for (size_t p = from; p < text.size(); ++p)
    if (text[p] == u'<' && TagAt(text, p, prefix)) return p;
  return text.size();
}

size_t TagClose(std::u16string_view text, size_t pos) {
  const size_t close = text.find(u'>', pos);
  return close == std::u16string_view::npos ? text.size() : close;
}

size_t AfterTag(std::u16string_view text, size_t pos) {
  const size_t close = TagClose(text, pos);
  return close < text.size() ? close + 1 : close;
}

size_t SkipSpaces(std::u16string_view text, size_t pos) {
  while (pos < text.size() && text[pos] == u' ') ++pos;
  return pos;
}

size_t FindMatchingClose(std::u16string_view text, size_t from, std::u16string_view open, std::u16string_view close) {
  int nesting = 0;
  for (size_t p = from; p < text.size(); ++p) {
    if (text[p] != u'<') continue;
    if (TagAt(text, p, open)) {
      ++nesting;
    } else if (TagAt(text, p, close)) {
      if (nesting == 0) return p;
      --nesting;
    }
  }
  return text.size();
}

TagAttributes::TagAttributes(std::u16string_view text, size_t pos) : raw_(TagText(text, pos)) {
  ParseAttributes(raw_, table_);
}

int TagAttributes::Find(std::u16string_view name) const {
  for (int r = 0; r < table_.RowCount(); ++r)
    if (EqualsNoCase(table_.GetCell(r, 0), name)) return r;
  return -1;
}

std::u16string TagAttributes::Value(std::u16string_view name) const {
  const int row = Find(name);
  return row < 0 ? std::u16string() : DecodeEntitiesCopy(table_.GetCell(row, 1));
}

bool TagAttributes::Is(std::u16string_view name, std::u16string_view keyword) const {
  const int row = Find(name);
  return row >= 0 && EqualsNoCase(table_.GetCell(row, 1), keyword);
}

}  // namespace htmlview
