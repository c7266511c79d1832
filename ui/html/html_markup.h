// Reading marked-up text: tokens (text runs and tags with their attributes), the tag table, and the split
// of a text into flow text and tables.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace html {

struct HtmlAttribute {
  std::u16string name;   // lower case
  std::u16string value;
};

struct HtmlToken {
  enum class Kind { kText, kTag };
  Kind kind = Kind::kText;
  std::u16string text;  // a text run ("<<" read as "<"), or the tag's name without its "/"
  bool closing = false;
  std::vector<HtmlAttribute> attributes;
  int count = 1;  // br and t: how many

  // The attribute's value, or null when the tag does not have it.
  const std::u16string* Attribute(std::u16string_view name) const;
};

// Reads tokens one after another; the text must outlive the tokenizer.
class HtmlTokenizer {
 public:
  explicit HtmlTokenizer(std::u16string_view text) : text_(text) {}
  bool Next(HtmlToken& token);
  size_t Position() const { return pos_; }

 private:
  void ReadText(HtmlToken& token);
  void ReadTag(HtmlToken& token);
  std::u16string_view text_;
  size_t pos_ = 0;
};

// The codes of the tag table.
enum class HtmlTag {
  kUnknown = 0, kBold = 1, kItalic, kUnderline, kStrikeout, kFont, kRule, kBreak, kTab, kLeft, kCenter,
  kRight, kJustify, kBaseline, kTop, kVCenter, kBottom, kBitmap, kIcon, kImageList, kString, kRule21 = 21,
  kSpan = 22, kLink = 23,
};
struct HtmlTagInfo {
  HtmlTag code = HtmlTag::kUnknown;
  std::u16string_view styleName;  // empty: the tag pushes no style
};
HtmlTagInfo LookUpTag(std::u16string_view name);

// A text cut into pieces: flow text, or one table from "<table" to its matching "</table>" (whole).
struct HtmlPiece {
  bool table = false;
  std::u16string_view text;
};
std::vector<HtmlPiece> SplitTables(std::u16string_view text);

// Finds "<" + name (a whole tag name) at or after from whose "<" is not preceded by another "<";
// npos when there is none.
size_t FindTag(std::u16string_view text, std::u16string_view name, size_t from, bool closing);

}  // namespace html
