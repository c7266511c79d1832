// What the parse pass's steps share: the running state of one call and bounds-checked scanning of the
// page text. Every position handed around is an index below the text's size, or the size itself.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "preview/html/html_block_ends.h"
#include "preview/html/html_element.h"
#include "preview/html/string_table.h"

namespace htmlview {

// A search of one text whose start only moves forward: a search that found its target at `at` (or
// nothing, at the end) from `from` answers every later search from between the two, so a page full of
// openers that each look for the same far close tag is searched once, not once per opener.
class ForwardSearch {
 public:
  using Find = size_t (*)(std::u16string_view text, size_t from, std::u16string_view needle);
  ForwardSearch(Find find, std::u16string_view needle) : find_(find), needle_(needle) {}
  size_t operator()(std::u16string_view text, size_t pos) {
    if (!(searched_ && pos >= from_ && pos <= at_)) {
      from_ = pos;
      at_ = find_(text, pos, needle_);
      searched_ = true;
    }
    return at_;
  }

 private:
  Find find_;
  std::u16string_view needle_;
  bool searched_ = false;
  size_t from_ = 0, at_ = 0;
};

// The first position at or after from where prefix stands as a tag, or text.size().
size_t FindTag(std::u16string_view text, size_t from, std::u16string_view prefix);

struct ParseState {
  std::u16string_view text;  // the range being parsed
  HtmlElementList* list = nullptr;
  std::u16string face;
  std::u16string_view inheritedFace;
  int fontHeight = 0, inheritedHeight = 0;
  uint32_t textColor = 0, inheritedColor = 0;
  std::u16string_view url;
  int depth = 0;
  int align = 0;  // the inherited alignment
  int noWrap = 0;
  int bold = 0, italic = 0, underline = 0;
  int inLink = 0, linkIndex = -1;
  int sub = 0, sup = 0, strike = 0;
  int centre = 0;
  int textSeen = 0;
  std::unique_ptr<HtmlBlockEnds> blockEnds;  // made at the range's first attributed block
  ForwardSearch selectEnd{FindTag, u"</select"}, nextOption{FindTag, u"<option"};

  int LineAlign() const { return centre ? 2 : align; }
  size_t Size() const { return text.size(); }
};

// The characters that end a tag's name for the parse pass (and the end of the text). A "/" after the name's
// first character ends it too, so that XHTML's "<br/>" and "<hr/>" are the tags they are in every reader.
inline constexpr std::u16string_view kTagNameEnds{u" >\0", 3};
// The index in kKnownTags of the known tag whose "<" stands at pos, its name (any case) followed by the end
// of the text, one of ends or that "/"; -1 when there is none. The name is read once and compared with the known
// tags of its length, rather than each known tag compared in turn at every "<".
int KnownTagIndexAt(std::u16string_view text, size_t pos, std::u16string_view ends = kTagNameEnds);
// True when text[pos..] begins with prefix followed by the end, a space, ">" or "/".
bool TagAt(std::u16string_view text, size_t pos, std::u16string_view prefix);
// The position of the ">" closing the tag at pos, or text.size().
size_t TagClose(std::u16string_view text, size_t pos);
// Just after the tag at pos (its ">" included).
size_t AfterTag(std::u16string_view text, size_t pos);
size_t SkipSpaces(std::u16string_view text, size_t pos);
// The closing tag that matches an opening one whose content starts at from, counting nested opens.
size_t FindMatchingClose(std::u16string_view text, size_t from, std::u16string_view open, std::u16string_view close);

// The tag's attributes: names and keyword values compared without regard to case.
class TagAttributes {
 public:
  TagAttributes(std::u16string_view text, size_t pos);
  bool Has(std::u16string_view name) const { return Find(name) >= 0; }
  // The value of the first attribute of that name, or "" when absent.
  std::u16string Value(std::u16string_view name) const;
  bool Is(std::u16string_view name, std::u16string_view keyword) const;
  std::u16string Raw() const { return raw_; }

 private:
  int Find(std::u16string_view name) const;
  StringTable table_;
  std::u16string raw_;
};

bool EqualsNoCase(std::u16string_view a, std::u16string_view b);

}  // namespace htmlview
