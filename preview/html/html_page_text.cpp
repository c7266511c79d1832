#include "preview/html/html_page_text.h"

#include <algorithm>

#include "preview/html/html_attributes.h"
#include "preview/html/html_entities.h"
#include "preview/html/string_table.h"
#include "preview/viewers/text_encoding.h"

namespace htmlview {
namespace {

struct CharsetName {
  const char* label;
  uint32_t codePage;
};

// The labels pages use for the encodings this viewer reads, by the names the web gives them. Latin-1 and
// ASCII are read as Windows-1252, as browsers read them.
const CharsetName kCharsets[] = {
    {"utf-8", kUtf8CodePage},      {"utf8", kUtf8CodePage},        {"unicode-1-1-utf-8", kUtf8CodePage},
    {"utf-16", kUtf8CodePage},     {"utf-16le", kUtf8CodePage},    {"utf-16be", kUtf8CodePage},
    {"unicode", kUtf8CodePage},    {"ucs-2", kUtf8CodePage},       {"us-ascii", 1252},
    {"ascii", 1252},               {"latin1", 1252},               {"l1", 1252},
    {"latin2", 28592},             {"koi8-r", 20866},              {"koi8-u", 21866},
    {"shift_jis", 932},            {"shift-jis", 932},             {"sjis", 932},
    {"windows-31j", 932},          {"x-sjis", 932},                {"euc-jp", 20932},
    {"iso-2022-jp", 50220},        {"gb2312", 936},                {"gbk", 936},
    {"x-gbk", 936},                {"gb18030", 54936},             {"big5", 950},
    {"euc-kr", 949},               {"ks_c_5601-1987", 949},        {"windows-874", 874},
    {"tis-620", 874},              {"ibm866", 866},                {"cp866", 866},
    {"macintosh", 10000},          {"x-mac-cyrillic", 10007},
};

bool IsAsciiSpace(uint8_t c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

std::string AsciiLowerTrimmed(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) {
    if (c >= 0x80) return {};  // no label holds more than ASCII
    out.push_back(static_cast<char>(c >= u'A' && c <= u'Z' ? c + 32 : c));
  }
  const auto space = [](char c) { return IsAsciiSpace(static_cast<uint8_t>(c)); };
  out.erase(out.begin(), std::find_if_not(out.begin(), out.end(), space));
  out.erase(std::find_if_not(out.rbegin(), out.rend(), space).base(), out.end());
  return out;
}

bool StartsWithNoCase(const uint8_t* bytes, size_t size, size_t at, std::string_view prefix) {
  if (size - at < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    const uint8_t c = bytes[at + i];
    if ((c >= 'A' && c <= 'Z' ? c + 32 : c) != static_cast<uint8_t>(prefix[i])) return false;
  }
  return true;
}

constexpr uint8_t kCommentEnd[] = {'-', '-', '>'};

// True when the tag named by name (its "<" included, in small letters) starts at at: the name in any case,
// then the end, a space, "/" or ">".
bool TagStartsAt(const uint8_t* bytes, size_t size, size_t at, std::string_view name) {
  if (!StartsWithNoCase(bytes, size, at, name)) return false;
  const size_t after = at + name.size();
  return after == size || IsAsciiSpace(bytes[after]) || bytes[after] == '/' || bytes[after] == '>';
}

// The label in a content value such as "text/html; charset=utf-8".
std::string ContentCharset(std::u16string_view content) {
  const std::string lower = AsciiLowerTrimmed(content);
  const size_t at = lower.find("charset");
  if (at == std::string::npos) return {};
  size_t p = at + 7;
  while (p < lower.size() && IsAsciiSpace(static_cast<uint8_t>(lower[p]))) ++p;
  if (p >= lower.size() || lower[p] != '=') return {};
  ++p;
  while (p < lower.size() && (IsAsciiSpace(static_cast<uint8_t>(lower[p])) || lower[p] == '"' || lower[p] == '\'')) ++p;
  const size_t end = lower.find_first_of(" \t\r\n\f;\"'", p);
  return lower.substr(p, end == std::string::npos ? std::string::npos : end - p);
}

// The number after prefix in label ("windows-1251" after "windows-"), or 0.
uint32_t NumberAfter(std::string_view label, std::string_view prefix) {
  if (label.substr(0, prefix.size()) != prefix || label.size() == prefix.size() || label.size() > prefix.size() + 5)
    return 0;
  uint32_t n = 0;
  for (char c : label.substr(prefix.size())) {
    if (c < '0' || c > '9') return 0;
    n = n * 10 + static_cast<uint32_t>(c - '0');
  }
  return n;
}

}  // namespace

std::string MetaCharset(const uint8_t* bytes, size_t size) {
  StringTable attributes;
  for (size_t at = 0; at < size; ++at) {
    if (bytes[at] != '<') continue;
    // A comment hides what it holds (a charset commented out); its end is searched from the opener itself,
    // as the page's loader does.
    if (StartsWithNoCase(bytes, size, at, "<!--")) {
      const uint8_t* end = std::search(bytes + at + 2, bytes + size, kCommentEnd, kCommentEnd + 3);
      if (end == bytes + size) return {};
      at = static_cast<size_t>(end - bytes) + 2;
      continue;
    }
    if (TagStartsAt(bytes, size, at, "</head") || TagStartsAt(bytes, size, at, "<body")) return {};
    if (!TagStartsAt(bytes, size, at, "<meta")) continue;
    // The tag's bytes one unit each: its names and values are ASCII where they matter. The search goes on
    // after it, so each byte of the head is read once however many metas it holds.
    std::u16string tag;
    for (; at < size && bytes[at] != '>'; ++at) tag.push_back(bytes[at]);
    ParseAttributes(tag, attributes);
    std::string label;
    for (int row = 0; row < attributes.RowCount(); ++row) {
      const std::string name = AsciiLowerTrimmed(attributes.GetCell(row, 0));
      if (name == "charset") label = AsciiLowerTrimmed(attributes.GetCell(row, 1));
      if (name == "content" && label.empty()) label = ContentCharset(attributes.GetCell(row, 1));
    }
    if (!label.empty()) return label;
  }
  return {};
}

uint32_t CharsetCodePage(std::string_view label) {
  for (const CharsetName& name : kCharsets)
    if (label == name.label) return name.codePage;
  for (std::string_view prefix : {"windows-", "cp", "x-cp"}) {
    const uint32_t n = NumberAfter(label, prefix);
    if (n >= 1250 && n <= 1258) return n;
  }
  // ISO 8859 parts; part 1 is read as Windows-1252.
  for (std::string_view prefix : {"iso-8859-", "iso8859-", "iso_8859-"}) {
    const uint32_t part = NumberAfter(label, prefix);
    if (part == 1) return 1252;
    if (part >= 2 && part <= 15 && part != 12) return 28590 + part;
  }
  return 0;
}

std::u16string PageTextFromBytes(const uint8_t* bytes, size_t size, const CodePageReader& codePages,
                                 bool zerosAsSpaces) {
  const TextStart start = ExamineText(bytes, size);
  const std::string_view all(reinterpret_cast<const char*>(bytes), size);
  const std::string_view body = all.substr(start.markLength);
  uint32_t codePage = start.decided ? 0 : CharsetCodePage(MetaCharset(bytes, size));
  if (!start.decided && codePage == 0) {
    Utf8Check check;
    check.Feed(bytes, size);
    if (check.IsUtf8()) codePage = kUtf8CodePage;
  }
  std::u16string text;
  if (start.encoding == TextEncoding::kUtf16LittleEndian || start.encoding == TextEncoding::kUtf16BigEndian) {
    text = DecodeUtf16(body, start.encoding == TextEncoding::kUtf16BigEndian);
  } else if (start.encoding == TextEncoding::kUtf8 || codePage == kUtf8CodePage) {
    text = DecodeUtf8(body, true);
  } else {
    text = codePages(body, codePage);
  }
  if (zerosAsSpaces) {
    std::replace(text.begin(), text.end(), u'\0', u' ');
  } else {
    text.resize(std::min(text.size(), text.find(u'\0')));
  }
  const bool byCodePage = !start.decided && codePage != kUtf8CodePage;
  return byCodePage ? RepairUtf8Copy(text) : text;
}

}  // namespace htmlview
