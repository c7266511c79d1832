#include "preview/media_playlist.h"

#include <string>

namespace preview {
namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The head as 8-bit text: a UTF-16 one (by its mark) by its low bytes, marks dropped, lower-cased.
std::string HeadText(const uint8_t* head, size_t size) {
  std::string text;
  size_t at = 0, step = 1;
  if (size >= 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF) at = 3;
  if (size >= 2 && ((head[0] == 0xFF && head[1] == 0xFE) || (head[0] == 0xFE && head[1] == 0xFF))) {
    step = 2;
    at = head[0] == 0xFF ? 2 : 3;  // the low byte of each unit
  }
  for (; at < size; at += step) text += Lower(static_cast<char>(head[at]));
  return text;
}

}  // namespace

bool IsMediaPlaylist(std::u16string_view extension, const uint8_t* head, size_t size) {
  for (std::u16string_view playlist : {u".asx", u".wvx", u".wmx"})
    if (extension == playlist) return true;
  if (head == nullptr) return false;
  const std::string text = HeadText(head, size);
  size_t at = 0;
  while (at < text.size() && IsBlank(text[at])) ++at;
  if (text.compare(at, 5, "<?xml") == 0) {
    const size_t end = text.find("?>", at);
    if (end == std::string::npos) return false;
    at = end + 2;
    while (at < text.size() && IsBlank(text[at])) ++at;
  }
  for (const char* start : {"<asx", "[reference]", "<?wpl", "<smil", "#extm3u", "[playlist]"})
    if (text.compare(at, std::char_traits<char>::length(start), start) == 0) return true;
  return false;
}

}  // namespace preview
