#include "preview/dxf/dxf_text.h"

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

std::string TextToUtf8(std::string_view text, bool utf8) {
  if (utf8) return std::string(text);
  std::string out;
  for (unsigned char c : text) AppendUtf8(out, c);
  return out;
}

std::string SingleLineText(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size();) {
    const size_t used = SpecialCharacter(text, i, out);
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
        case 'U':  // \U+XXXX: a character by its code
          if (i + 5 <= text.size() && text[i] == '+') {
            uint32_t value = 0;
            const auto parsed = std::from_chars(text.data() + i + 1, text.data() + i + 5, value, 16);
            if (parsed.ptr == text.data() + i + 5) {
              AppendUtf8(line, value);
              i += 5;
              break;
            }
          }
          line += code;
          break;
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

}  // namespace dxf
