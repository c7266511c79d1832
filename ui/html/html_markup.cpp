#include "ui/html/html_markup.h"

#include <array>

#include "ui/html/html_style_values.h"
#include "platform/os/os.h"

namespace html {

namespace {

constexpr char16_t kBlank = u' ';


// br and t take a count after the name and one separator character, as in br=2.
int ReadCount(std::u16string_view rest) {
  size_t i = 0;
  while (i < rest.size() && rest[i] == kBlank) ++i;
  if (i < rest.size()) ++i;  // the separator
  std::u16string_view digits = rest.substr(i);
  if (digits.empty() || digits[0] < u'0' || digits[0] > u'9') return 1;
  int count = ReadStyleNumber(digits);
  // A count beyond a screenful of breaks or tabs only makes a layout huge.
  constexpr int kMaxCount = 1000;
  return count > kMaxCount ? kMaxCount : count;
}

void ReadAttributes(std::u16string_view rest, std::vector<HtmlAttribute>& out) {
  size_t i = 0;
  while (i < rest.size()) {
    while (i < rest.size() && rest[i] == kBlank) ++i;
    size_t start = i;
    while (i < rest.size() && rest[i] != kBlank && rest[i] != u'=') ++i;
    HtmlAttribute attribute;
    for (size_t k = start; k < i; ++k) attribute.name.push_back(os::AsciiLower(rest[k]));
    if (i < rest.size() && rest[i] == u'=') {
      ++i;
      if (i < rest.size() && (rest[i] == u'"' || rest[i] == u'\'')) {
        char16_t quote = rest[i++];
        size_t end = rest.find(quote, i);
        if (end == std::u16string_view::npos) end = rest.size();
        attribute.value = std::u16string(rest.substr(i, end - i));
        i = end < rest.size() ? end + 1 : end;
      } else {
        size_t end = rest.find(kBlank, i);
        if (end == std::u16string_view::npos) end = rest.size();
        attribute.value = std::u16string(rest.substr(i, end - i));
        i = end;
      }
    }
    if (!attribute.name.empty()) out.push_back(std::move(attribute));
  }
}

// A name ends at a blank, "=", ">" or, after its first character, "/": XHTML's "<br/>" is "br", as
// "</b>" is a closing "b".
bool EndsTagName(std::u16string_view text, size_t pos, size_t nameStart) {
  return pos >= text.size() || text[pos] == kBlank || text[pos] == u'>' || text[pos] == u'=' ||
         (text[pos] == u'/' && pos > nameStart);
}

}  // namespace

const std::u16string* HtmlToken::Attribute(std::u16string_view name) const {
  for (const HtmlAttribute& attribute : attributes)
    if (attribute.name == name) return &attribute.value;
  return nullptr;
}

bool HtmlTokenizer::Next(HtmlToken& token) {
  token = HtmlToken();
  if (pos_ >= text_.size()) return false;
  if (text_[pos_] == u'<' && !(pos_ + 1 < text_.size() && text_[pos_ + 1] == u'<')) {
    ReadTag(token);
  } else {
    ReadText(token);
  }
  return true;
}

void HtmlTokenizer::ReadText(HtmlToken& token) {
  token.kind = HtmlToken::Kind::kText;
  while (pos_ < text_.size()) {
    char16_t c = text_[pos_];
    if (c == u'<') {
      if (pos_ + 1 < text_.size() && text_[pos_ + 1] == u'<') {
        token.text.push_back(u'<');
        pos_ += 2;
        continue;
      }
      break;
    }
    token.text.push_back(c);
    ++pos_;
  }
}

void HtmlTokenizer::ReadTag(HtmlToken& token) {
  token.kind = HtmlToken::Kind::kTag;
  size_t start = pos_ + 1;
  size_t end = text_.find(u'>', start);
  if (end == std::u16string_view::npos) end = text_.size();
  pos_ = end < text_.size() ? end + 1 : end;
  std::u16string_view body = text_.substr(start, end - start);
  size_t nameEnd = 0;
  while (!EndsTagName(body, nameEnd, 0)) ++nameEnd;
  std::u16string_view name = body.substr(0, nameEnd);
  if (!name.empty() && name[0] == u'/') {
    token.closing = true;
    name.remove_prefix(1);
  }
  token.text = std::u16string(name);
  std::u16string_view rest = body.substr(nameEnd);
  if (name == u"br" || name == u"t") {
    token.count = ReadCount(rest);
  } else {
    ReadAttributes(rest, token.attributes);
  }
}

HtmlTagInfo LookUpTag(std::u16string_view name) {
  struct Entry {
    std::u16string_view name;
    HtmlTag code;
    std::u16string_view style;
  };
  static constexpr std::array<Entry, 38> kTags = {{
      {u"b", HtmlTag::kBold, u"bold"},           {u"i", HtmlTag::kItalic, u"italic"},
      {u"em", HtmlTag::kItalic, u"italic"},      {u"u", HtmlTag::kUnderline, u"underline"},
      {u"s", HtmlTag::kStrikeout, u"strikeout"}, {u"strike", HtmlTag::kStrikeout, u"strikeout"},
      {u"font", HtmlTag::kFont, u"font"},        {u"hr", HtmlTag::kRule, u""},
      {u"br", HtmlTag::kBreak, u""},             {u"t", HtmlTag::kTab, u""},
      {u"left", HtmlTag::kLeft, u"left"},        {u"center", HtmlTag::kCenter, u"center"},
      {u"right", HtmlTag::kRight, u"right"},     {u"justify", HtmlTag::kJustify, u"justify"},
      {u"baseline", HtmlTag::kBaseline, u"baseline"}, {u"top", HtmlTag::kTop, u"top"},
      {u"vcenter", HtmlTag::kVCenter, u"vcenter"}, {u"middle", HtmlTag::kVCenter, u"vcenter"},
      {u"bottom", HtmlTag::kBottom, u"vcenter"},  {u"bmp", HtmlTag::kBitmap, u""},
      {u"icon", HtmlTag::kIcon, u""},            {u"ilst", HtmlTag::kImageList, u""},
      {u"string", HtmlTag::kString, u""},        {u"body", HtmlTag::kRule21, u"body"},
      {u"h1", HtmlTag::kRule21, u"h1"},          {u"h2", HtmlTag::kRule21, u"h2"},
      {u"h3", HtmlTag::kRule21, u"h3"},          {u"h4", HtmlTag::kRule21, u"h4"},
      {u"h5", HtmlTag::kRule21, u"h5"},          {u"h6", HtmlTag::kRule21, u"h6"},
      {u"code", HtmlTag::kRule21, u"code"},      {u"pre", HtmlTag::kRule21, u"pre"},
      {u"big", HtmlTag::kRule21, u"big"},        {u"small", HtmlTag::kRule21, u"small"},
      {u"sub", HtmlTag::kRule21, u"sub"},        {u"sup", HtmlTag::kRule21, u"sup"},
      {u"span", HtmlTag::kSpan, u"span"},        {u"a", HtmlTag::kLink, u"link"},
  }};
  for (const Entry& entry : kTags)
    if (entry.name == name) return {entry.code, entry.style};
  return {};
}

size_t FindTag(std::u16string_view text, std::u16string_view name, size_t from, bool closing) {
  std::u16string needle = closing ? u"</" : u"<";
  needle += name;
  for (size_t at = text.find(needle, from); at != std::u16string_view::npos; at = text.find(needle, at + 1)) {
    if (at > 0 && text[at - 1] == u'<') continue;
    if (EndsTagName(text, at + needle.size(), at + 1)) return at;
  }
  return std::u16string_view::npos;
}

std::vector<HtmlPiece> SplitTables(std::u16string_view text) {
  std::vector<HtmlPiece> pieces;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t open = FindTag(text, u"table", pos, false);
    if (open == std::u16string_view::npos) break;
    if (open > pos) pieces.push_back({false, text.substr(pos, open - pos)});
    // The matching end: nested tables opened and closed are counted. Each search resumes only once the
    // count has passed what it found, so many opens before a far close are read once, not once each.
    int depth = 1;
    size_t at = open + 1;
    size_t end = text.size();
    size_t nextOpen = FindTag(text, u"table", at, false);
    size_t nextClose = FindTag(text, u"table", at, true);
    while (depth > 0) {
      if (nextOpen != std::u16string_view::npos && nextOpen < at) nextOpen = FindTag(text, u"table", at, false);
      if (nextClose != std::u16string_view::npos && nextClose < at) nextClose = FindTag(text, u"table", at, true);
      if (nextClose == std::u16string_view::npos) break;
      if (nextOpen != std::u16string_view::npos && nextOpen < nextClose) {
        ++depth;
        at = nextOpen + 1;
      } else {
        --depth;
        at = nextClose + 1;
        if (depth == 0) {
          size_t close = text.find(u'>', nextClose);
          end = close == std::u16string_view::npos ? text.size() : close + 1;
        }
      }
    }
    pieces.push_back({true, text.substr(open, end - open)});
    pos = end;
  }
  if (pos < text.size()) pieces.push_back({false, text.substr(pos)});
  return pieces;
}

}  // namespace html
