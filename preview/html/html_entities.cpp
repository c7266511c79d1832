#include "preview/html/html_entities.h"

#include <climits>
#include <vector>

#include "preview/html/html_cp1252.h"

namespace htmlview {
namespace {

struct Entity {
  std::u16string name;  // with its "&" and ";"
  char16_t ch;
};

// Latin-1 entities, in the order of their characters from U+00A0.
constexpr const char16_t* kLatin1Names[96] = {
    u"nbsp",   u"iexcl",  u"cent",   u"pound",  u"curren", u"yen",    u"brvbar", u"sect",   u"uml",    u"copy",
    u"ordf",   u"laquo",  u"not",    u"shy",    u"reg",    u"macr",   u"deg",    u"plusmn", u"sup2",   u"sup3",
    u"acute",  u"micro",  u"para",   u"middot", u"cedil",  u"sup1",   u"ordm",   u"raquo",  u"frac14", u"frac12",
    u"frac34", u"iquest", u"Agrave", u"Aacute", u"Acirc",  u"Atilde", u"Auml",   u"Aring",  u"AElig",  u"Ccedil",
    u"Egrave", u"Eacute", u"Ecirc",  u"Euml",   u"Igrave", u"Iacute", u"Icirc",  u"Iuml",   u"ETH",    u"Ntilde",
    u"Ograve", u"Oacute", u"Ocirc",  u"Otilde", u"Ouml",   u"times",  u"Oslash", u"Ugrave", u"Uacute", u"Ucirc",
    u"Uuml",   u"Yacute", u"THORN",  u"szlig",  u"agrave", u"aacute", u"acirc",  u"atilde", u"auml",   u"aring",
    u"aelig",  u"ccedil", u"egrave", u"eacute", u"ecirc",  u"euml",   u"igrave", u"iacute", u"icirc",  u"iuml",
    u"eth",    u"ntilde", u"ograve", u"oacute", u"ocirc",  u"otilde", u"ouml",   u"divide", u"oslash", u"ugrave",
    u"uacute", u"ucirc",  u"uuml",   u"yacute", u"thorn",  u"yuml",
};

// Typographic entities, each stored as its 1252 byte; several are deliberately plain ASCII stand-ins.
struct CodedEntity {
  const char16_t* name;
  unsigned char code;
};
constexpr CodedEntity kTypographic[] = {
    {u"OElig", 'E'},  {u"oelig", 'e'},  {u"Scaron", 'S'}, {u"scaron", 's'}, {u"Yuml", 0xFF},
    {u"fnof", 'f'},   {u"circ", '^'},   {u"tilde", '~'},  {u"ndash", '-'},  {u"mdash", '-'},
    {u"lsquo", 0x91}, {u"rsquo", 0x92}, {u"sbquo", ','},  {u"ldquo", '"'},  {u"rdquo", '"'},
    {u"bdquo", 0x84}, {u"dagger", 0x86}, {u"Dagger", 0x87}, {u"bull", 0x95}, {u"hellip", 0x85},
    {u"permil", 0x89}, {u"lsaquo", 0x8B}, {u"rsaquo", 0x9B}, {u"euro", 0x80}, {u"trade", 0x99},
};

std::vector<Entity> BuildEntities() {
  std::vector<Entity> rows = {
      {u"&quot;", u'"'}, {u"&amp;", u'&'}, {u"&lt;", u'<'}, {u"&gt;", u'>'}, {u"&apos;", u'\''}};
  for (size_t i = 0; i < 96; ++i)
    rows.push_back({u"&" + std::u16string(kLatin1Names[i]) + u";", static_cast<char16_t>(0xA0 + i)});
  for (const CodedEntity& e : kTypographic)
    rows.push_back({u"&" + std::u16string(e.name) + u";", Cp1252ToUtf16(e.code)});
  // A 1252 dash read as Latin-1, and a no-break space, as they stand in the text.
  rows.push_back({std::u16string(1, char16_t{0x97}), u'-'});
  rows.push_back({std::u16string(1, char16_t{0xA0}), u' '});
  return rows;
}

const std::vector<Entity>& Entities() {
  static const std::vector<Entity> rows = BuildEntities();
  return rows;
}

// True when some row's name begins with c: only there is the table tried, so that plain text costs one
// look per character rather than one per row.
bool BeginsEntity(char16_t c) {
  static const std::u16string firsts = [] {
    std::u16string chars;
    for (const Entity& e : Entities())
      if (chars.find(e.name[0]) == std::u16string::npos) chars += e.name[0];
    return chars;
  }();
  return firsts.find(c) != std::u16string::npos;
}

// True when text starts with name; stops at the text's zero, so never reads past it.
bool StartsWith(const char16_t* text, const std::u16string& name) {
  for (size_t i = 0; i < name.size(); ++i)
    if (text[i] != name[i]) return false;
  return true;
}

int DigitValue(char16_t c, int base) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (base == 16 && c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (base == 16 && c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// The number of a character reference after its "&#": hexadecimal after "x" or "X", otherwise a signed
// decimal; saturated above the int range, so a long run of digits stays out of range. No digits give 0.
long long ReadNumber(const char16_t* p) {
  int base = 10;
  bool negative = false;
  if (*p == u'x' || *p == u'X') {
    base = 16;
    ++p;
  } else if (*p == u'-' || *p == u'+') {
    negative = *p++ == u'-';
  }
  long long value = 0;
  for (int digit; (digit = DigitValue(*p, base)) >= 0; ++p)
    if (value <= INT_MAX) value = value * base + digit;
  return negative ? -value : value;
}

// Writes the character of a numeric reference; returns the new write position. A code outside UTF-16,
// a lone surrogate and zero (which would end the text and lose the rest of it) become U+FFFD; one beyond
// U+FFFF a surrogate pair (the reference is always longer than two units).
char16_t* WriteCode(char16_t* out, long long code) {
  if (code <= 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
    *out++ = 0xFFFD;
  } else if (code > 0xFFFF) {
    code -= 0x10000;
    *out++ = static_cast<char16_t>(0xD800 + (code >> 10));
    *out++ = static_cast<char16_t>(0xDC00 + (code & 0x3FF));
  } else {
    *out++ = static_cast<char16_t>(code);
  }
  return out;
}

}  // namespace

char16_t* DecodeEntities(char16_t* text) {
  char16_t* in = text;
  char16_t* out = text;
  while (*in) {
    const Entity* match = nullptr;
    if (BeginsEntity(*in))
      for (const Entity& e : Entities()) {
        if (StartsWith(in, e.name)) {
          match = &e;
          break;
        }
      }
    if (match) {
      *out++ = match->ch;
      in += match->name.size();
    } else if (in[0] == u'&' && in[1] == u'#') {
      out = WriteCode(out, ReadNumber(in + 2));
      in += 2;
      while (*in && *in != u';' && *in != u' ') ++in;
      if (*in) ++in;
    } else {
      *out++ = *in++;
    }
  }
  *out = 0;
  return text;
}

std::u16string DecodeEntitiesCopy(std::u16string_view text) {
  std::u16string buffer(text);
  return std::u16string(DecodeEntities(buffer.data()));
}

char16_t* RepairUtf8(char16_t* text) {
  char16_t* in = text;
  char16_t* out = text;
  while (*in) {
    if ((in[0] == 0xC2 || in[0] == 0xC3) && in[1] >= 0x80 && in[1] <= 0xBF) {
      const char16_t c = static_cast<char16_t>((in[0] - 0xC0) * 64 + (in[1] - 0x80));
      if (c >= 0xA0) {
        *out++ = c;
        in += 2;
        continue;
      }
    }
    *out++ = *in++;
  }
  *out = 0;
  return text;
}

std::u16string RepairUtf8Copy(std::u16string_view text) {
  std::u16string buffer(text);
  return std::u16string(RepairUtf8(buffer.data()));
}

const char16_t* const kKnownTags[] = {
    u"<br",     u"<i",       u"</i",     u"<b",      u"</b",      u"<strong",     u"</strong",     u"<u",
    u"</u",     u"<a",       u"</a",     u"<small",  u"</small",  u"<big",        u"</big",        u"<center",
    u"</center", u"<p",      u"<font",   u"</font",  u"<img",     u"<h1",         u"</h1",         u"<div",
    u"</div",   u"<hr",      u"<table",  u"</table", u"<tr",      u"</tr",        u"<td",          u"</td",
    u"<h2",     u"</h2",     u"<h3",     u"</h3",    u"<pre",     u"</pre",       u"<input",       u"<ul",
    u"<ol",     u"<li",      u"</ul",    u"</ol",    u"<sub",     u"</sub",       u"<sup",         u"</sup",
    u"<strike", u"</strike", u"<select", u"</select", u"<option", u"<textarea",   u"</textarea",   u"<th",
    u"</th",    u"<form",    u"</form",  u"<blockquote", u"</blockquote", u"</p",
};
const size_t kKnownTagCount = sizeof(kKnownTags) / sizeof(kKnownTags[0]);

int FindKnownTag(std::u16string_view prefix) {
  for (size_t i = 0; i < kKnownTagCount; ++i)
    if (prefix == kKnownTags[i]) return static_cast<int>(i);
  return -1;
}

}  // namespace htmlview
