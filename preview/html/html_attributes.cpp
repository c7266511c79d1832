#include "preview/html/html_attributes.h"

namespace htmlview {
namespace {

// Every index below is checked against the tag's end, so nothing is read past the text.
class TagReader {
 public:
  explicit TagReader(std::u16string_view tag) : tag_(tag) {}
  bool AtEnd() const { return pos_ >= tag_.size(); }
  char16_t Peek() const { return AtEnd() ? 0 : tag_[pos_]; }
  void Skip() { ++pos_; }
  void SkipSpaces() {
    while (!AtEnd() && tag_[pos_] == u' ') ++pos_;
  }
  // Advances to the first of the stop characters (or the end); returns what it passed.
  std::u16string_view Until(char16_t stop1, char16_t stop2) {
    const size_t start = pos_;
    while (!AtEnd() && tag_[pos_] != stop1 && tag_[pos_] != stop2) ++pos_;
    return tag_.substr(start, pos_ - start);
  }

 private:
  std::u16string_view tag_;
  size_t pos_ = 0;
};

void AddCell(StringTable& table, int row, std::u16string_view text) {
  table.AddCell(row, text.data() ? text.data() : u"", static_cast<int>(text.size()));
}

}  // namespace

void ParseAttributes(std::u16string_view tagText, StringTable& table) {
  table.Clear();
  const size_t close = tagText.find(u'>');
  TagReader reader(tagText.substr(0, close));
  reader.Until(u' ', u' ');  // the tag name
  while (true) {
    reader.SkipSpaces();
    if (reader.AtEnd()) return;
    const int row = table.AddRow() - 1;
    AddCell(table, row, reader.Until(u'=', u' '));
    if (reader.Peek() != u'=') continue;
    reader.Skip();
    reader.SkipSpaces();
    const char16_t quote = reader.Peek();
    if (quote == u'"' || quote == u'\'') {
      reader.Skip();
      AddCell(table, row, reader.Until(quote, quote));
      if (!reader.AtEnd()) reader.Skip();
    } else {
      AddCell(table, row, reader.Until(u' ', u' '));
    }
  }
}

std::u16string_view TagText(std::u16string_view text, size_t pos) {
  if (pos >= text.size()) return {};
  size_t end = pos + 1;
  while (end < text.size() && text[end] != u'>' && text[end] != u'<') ++end;
  return text.substr(pos, end - pos);
}

}  // namespace htmlview
