// The text reader over arbitrary bytes: no line holds a line end, the joined text has one separator
// between each two lines, and the line count is one more than the line ends of the bytes (UTF-16: of the
// units after a mark, if any).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "preview/viewers/text_file_reader.h"

namespace {

std::u16string Latin1(std::string_view bytes) {
  std::u16string text;
  for (unsigned char b : bytes) text.push_back(b);
  return text;
}

// Line ends of decoded units (or bytes): CR LF counts once.
template <typename Text>
size_t CountLineEnds(const Text& text) {
  size_t ends = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') ++ends;
    if (text[i] == '\r') {
      ++ends;
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    }
  }
  return ends;
}

// The units of a UTF-16 file after its mark; a lone last byte is dropped.
std::u16string Utf16Units(const std::string& bytes, bool bigEndian) {
  std::u16string units;
  const bool marked = bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') ||
                                            (bytes[0] == '\xFE' && bytes[1] == '\xFF'));
  for (size_t i = marked ? 2 : 0; i + 1 < bytes.size(); i += 2) {
    const auto hi = static_cast<unsigned char>(bytes[bigEndian ? i : i + 1]);
    const auto lo = static_cast<unsigned char>(bytes[bigEndian ? i + 1 : i]);
    units.push_back(static_cast<char16_t>((hi << 8) | lo));
  }
  return units;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  TextFileReader reader(MemoryTextSource(bytes), Latin1);
  size_t lines = 0;
  std::u16string line;
  while (reader.ReadLine(line)) {
    if (line.find_first_of(u"\r\n") != std::u16string::npos) std::abort();
    ++lines;
  }
  if (lines == 0 || !reader.IsEof()) std::abort();

  TextFileReader again(MemoryTextSource(bytes), Latin1);
  std::u16string all;
  if (!again.ReadAll(all, u"\n")) std::abort();
  if (CountLineEnds(all) != lines - 1) std::abort();

  size_t expected = CountLineEnds(bytes);
  if (reader.Encoding() == TextEncoding::kUtf16LittleEndian) expected = CountLineEnds(Utf16Units(bytes, false));
  if (reader.Encoding() == TextEncoding::kUtf16BigEndian) expected = CountLineEnds(Utf16Units(bytes, true));
  if (expected != lines - 1) std::abort();
  return 0;
}
