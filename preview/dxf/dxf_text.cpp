#include "preview/dxf/dxf_text.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

#include "preview/dxf/dxf_reader.h"

namespace dxf {

namespace {

void AppendUtf8(std::string& out, uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    if (code > 0xFFFF) code = 0xFFFD;
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// "\U+XXXX" at i: the character of that code. Returns the bytes the code takes, 0 when there is none at i.
size_t UnicodeEscape(std::string_view text, size_t i, std::string& out) {
  if (text.compare(i, 3, "\\U+") != 0 || i + 7 > text.size()) return 0;
  uint32_t value = 0;
  const auto parsed = std::from_chars(text.data() + i + 3, text.data() + i + 7, value, 16);
  if (parsed.ptr != text.data() + i + 7 || parsed.ec != std::errc()) return 0;
  AppendUtf8(out, value);
  return 7;
}

// "%%d" and its kin: the degree, plus-minus and diameter signs, a percent sign; underline and overline
// switches are dropped. Returns the bytes the code takes, 0 when there is none at i.
size_t SpecialCharacter(std::string_view text, size_t i, std::string& out) {
  if (text.compare(i, 2, "%%") != 0 || i + 2 >= text.size()) return 0;
  switch (text[i + 2]) {
    case 'd': case 'D': AppendUtf8(out, 0xB0); return 3;
    case 'p': case 'P': AppendUtf8(out, 0xB1); return 3;
    case 'c': case 'C': AppendUtf8(out, 0xD8); return 3;
    case '%': out += '%'; return 3;
    case 'u': case 'U': case 'o': case 'O': case 'k': case 'K': return 3;
    default: return 0;
  }
}

}  // namespace

unsigned DrawingCodePage(std::string_view name) {
  for (std::string_view prefix : {"ANSI_", "DOS"}) {
    if (name.substr(0, prefix.size()) != prefix) continue;
    unsigned page = 0;
    const char* end = name.data() + name.size();
    const auto parsed = std::from_chars(name.data() + prefix.size(), end, page);
    if (parsed.ec == std::errc() && parsed.ptr == end && page > 0 && page < 65536) return page;
  }
  return 1252;
}

std::string TextToUtf8(std::string_view text, bool utf8, unsigned codePage, const CodePageDecoder& decode) {
  if (utf8) return std::string(text);
  const bool ascii = std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; });
  std::string out;
  if (ascii || (decode && decode(text, codePage, out))) return ascii ? std::string(text) : out;
  out.clear();
  for (unsigned char c : text) AppendUtf8(out, c);
  return out;
}

std::string SingleLineText(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size();) {
    size_t used = SpecialCharacter(text, i, out);
    if (used == 0) used = UnicodeEscape(text, i, out);
    if (used != 0) {
      i += used;
    } else {
      out += text[i++];
    }
  }
  return out;
}

std::string CutUtf8(std::string text, size_t n) {
  if (text.size() <= n) return text;
  while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  text.resize(n);
  return text;
}

std::vector<std::string> ParagraphLines(std::string_view text) {
  std::vector<std::string> lines(1);
  auto newLine = [&] {
    if (lines.size() < kMaxParagraphLines) lines.emplace_back();
  };
  for (size_t i = 0; i < text.size();) {
    const char c = text[i];
    std::string& line = lines.back();
    if (c == '{' || c == '}') {
      ++i;
    } else if (c == '^' && i + 1 < text.size()) {  // a caret and a letter: a control character
      const char next = text[i + 1];
      if (next == 'J') newLine();
      else if (next == 'I' || next == ' ') line += next == ' ' ? '^' : ' ';
      i += 2;
    } else if (c == '%') {
      const size_t used = SpecialCharacter(text, i, line);
      line += used == 0 ? "%" : "";
      i += used == 0 ? 1 : used;
    } else if (c != '\\' || i + 1 >= text.size()) {
      line += c;
      ++i;
    } else {
      const char code = text[i + 1];
      i += 2;
      const size_t semicolon = text.find(';', i);
      const size_t upToEnd = semicolon == std::string_view::npos ? text.size() : semicolon + 1;
      switch (code) {
        case 'P': case 'N': newLine(); break;
        case '~': line += ' '; break;
        case '\\': case '{': case '}': line += code; break;
        case 'L': case 'l': case 'O': case 'o': case 'K': case 'k': case 'X': break;
        case 'S': {  // a stacked fraction reads as one
          std::string stacked(text.substr(i, (semicolon == std::string_view::npos ? text.size() : semicolon) - i));
          for (char& s : stacked)
            if (s == '^' || s == '#') s = '/';
          line += stacked;
          i = upToEnd;
          break;
        }
        case 'U': {  // \U+XXXX: a character by its code
          const size_t used = UnicodeEscape(text, i - 2, line);
          if (used != 0) i += used - 2;
          else line += code;
          break;
        }
        case 'f': case 'F': case 'H': case 'W': case 'Q': case 'T': case 'A': case 'C': case 'c': case 'p':
          i = upToEnd;  // a setting up to its semicolon
          break;
        default: line += code; break;
      }
    }
  }
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

namespace {

// Arial's advances in thousandths of its height, for the characters from the space to the tilde (Liberation
// Sans, which Wine draws for Arial, has the same).
constexpr unsigned short kAsciiAdvance[95] = {
    278, 278, 355, 556, 556, 889, 667, 191, 333, 333, 389, 584, 278, 333, 278, 278,
    556, 556, 556, 556, 556, 556, 556, 556, 556, 556, 278, 278, 584, 584, 584, 556,
    1015, 667, 667, 722, 722, 667, 611, 778, 722, 278, 500, 667, 556, 833, 722, 778,
    667, 778, 722, 667, 611, 722, 667, 944, 667, 667, 611, 278, 278, 278, 469, 556,
    333, 556, 556, 500, 556, 556, 278, 556, 556, 222, 222, 500, 222, 833, 556, 556,
    556, 556, 333, 500, 278, 556, 500, 722, 500, 500, 500, 334, 260, 334, 584};

// The advance of the character that starts at byte i: other letters take a digit's, those of the scripts
// written in squares (from U+2E80) a whole height. Bytes that continue a character take nothing.
unsigned Advance(std::string_view utf8, size_t i) {
  const auto byte = [&](size_t k) { return k < utf8.size() ? static_cast<unsigned char>(utf8[k]) : 0u; };
  const unsigned c = byte(i);
  if (c >= 0x20 && c < 0x7F) return kAsciiAdvance[c - 0x20];
  if ((c & 0xC0) == 0x80) return 0;
  const unsigned code = c >= 0xF0 ? 0x10000 : c >= 0xE0 ? (c & 0x0F) << 12 | (byte(i + 1) & 0x3F) << 6 : 0;
  return code >= 0x2E80 ? 1000 : 556;
}

}  // namespace

double TextWidth(std::string_view utf8, double height) {
  unsigned thousandths = 0;
  for (size_t i = 0; i < utf8.size(); ++i) thousandths += Advance(utf8, i);
  return thousandths * height / 1000;
}

std::vector<std::string> WrapLine(const std::string& line, double height, double width) {
  std::vector<std::string> lines(1);
  const double space = TextWidth(" ", height);
  double taken = 0;  // the width of the last line
  for (size_t start = 0; start <= line.size();) {
    size_t end = line.find(' ', start);
    if (end == std::string::npos) end = line.size();
    const std::string_view word(line.data() + start, end - start);
    const double wide = TextWidth(word, height);
    std::string& last = lines.back();
    if (start == 0) {
      last = word;
      taken = wide;
    } else if (taken + space + wide <= width || lines.size() >= kMaxParagraphLines) {
      (last += ' ') += word;
      taken += space + wide;
    } else {
      lines.emplace_back(word);
      taken = wide;
    }
    start = end + 1;
  }
  return lines;
}

}  // namespace dxf
