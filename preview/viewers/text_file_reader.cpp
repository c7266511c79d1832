#include "preview/viewers/text_file_reader.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/classlib/cfile.h"
#include "platform/os/os.h"

namespace {

constexpr char16_t kCr = u'\r';
constexpr char16_t kLf = u'\n';
constexpr char16_t kReplacement = 0xFFFD;
// Reserving more than this up front is left to the string's own growth.
constexpr uint64_t kMaxReserve = 64u << 20;
constexpr size_t kScanBlock = 64u << 10;

// Whether bytes fed in order are well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF),
// and whether they hold a whole character beyond ASCII. A character cut short by the end of the bytes does
// not count against them (a recovered file may end anywhere), nor for them: a code-page text ending in
// one such byte ("caf\xE9") stays the code page's.
class Utf8Check {
 public:
  bool Feed(const uint8_t* bytes, size_t count) {
    for (size_t i = 0; i < count && m_valid; ++i) Take(bytes[i]);
    return m_valid;
  }
  bool Valid() const { return m_valid; }
  bool BeyondAscii() const { return m_beyondAscii; }

 private:
  void Take(uint8_t b) {
    if (m_following > 0) {
      m_valid = b >= m_low && b <= m_high;
      m_low = 0x80;
      m_high = 0xBF;
      if (--m_following == 0) m_beyondAscii = true;
      return;
    }
    if (b < 0x80) return;
    m_low = 0x80;
    m_high = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
      m_following = 1;
    } else if (b >= 0xE0 && b <= 0xEF) {
      m_following = 2;
      if (b == 0xE0) m_low = 0xA0;   // overlong below U+0800
      if (b == 0xED) m_high = 0x9F;  // surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
      m_following = 3;
      if (b == 0xF0) m_low = 0x90;   // overlong below U+10000
      if (b == 0xF4) m_high = 0x8F;  // past U+10FFFF
    } else {
      m_valid = false;
    }
  }

  bool m_valid = true;
  bool m_beyondAscii = false;
  int m_following = 0;
  uint8_t m_low = 0x80, m_high = 0xBF;
};

class FileSource : public TextByteSource {
 public:
  bool Open(const CString& path) { return m_file.Open(path, CFile::modeRead | CFile::shareDenyWrite) != FALSE; }
  size_t Read(uint8_t* buffer, size_t count) override {
    try {
      return m_file.Read(buffer, static_cast<UINT>(count));
    } catch (CException* e) {  // a read error ends the text
      e->Delete();
      return 0;
    }
  }
  bool SeekToStart() override {
    try {
      m_file.SeekToBegin();
      return true;
    } catch (CException* e) {
      e->Delete();
      return false;
    }
  }
  uint64_t Length() const override {
    try {
      return m_file.GetLength();
    } catch (CException* e) {
      e->Delete();
      return 0;
    }
  }

 private:
  CFile m_file;
};

class MemorySource : public TextByteSource {
 public:
  explicit MemorySource(std::string bytes) : m_bytes(std::move(bytes)) {}
  size_t Read(uint8_t* buffer, size_t count) override {
    const size_t n = std::min(count, m_bytes.size() - m_offset);
    std::copy_n(m_bytes.data() + m_offset, n, buffer);
    m_offset += n;
    return n;
  }
  bool SeekToStart() override {
    m_offset = 0;
    return true;
  }
  uint64_t Length() const override { return m_bytes.size(); }

 private:
  std::string m_bytes;
  size_t m_offset = 0;
};

}  // namespace

std::unique_ptr<TextByteSource> OpenTextFileSource(const CString& path) {
  auto source = std::make_unique<FileSource>();
  if (!source->Open(path)) return nullptr;
  return source;
}

std::unique_ptr<TextByteSource> MemoryTextSource(std::string bytes) {
  return std::make_unique<MemorySource>(std::move(bytes));
}

TextFileReader::TextFileReader(const CString& path) : TextFileReader(OpenTextFileSource(path)) {}

TextFileReader::TextFileReader(std::unique_ptr<TextByteSource> source, CodePageConverter converter)
    : m_source(std::move(source)), m_converter(std::move(converter)) {
  if (!m_converter) m_converter = [](std::string_view bytes) { return os::FromCodePage(bytes); };
  m_eof = m_source == nullptr;
  if (IsOpen()) ReadByteOrderMark();
}

TextFileReader::~TextFileReader() { TextFileReader::Close(); }

void TextFileReader::Close() { m_source.reset(); }

void TextFileReader::ReadByteOrderMark() {
  const uint8_t b0 = ReadByte();
  const uint8_t b1 = ReadByte();
  if (b0 == 0xFF && b1 == 0xFE) {
    m_encoding = TextEncoding::kUtf16LittleEndian;
  } else if (b0 == 0xFE && b1 == 0xFF) {
    m_encoding = TextEncoding::kUtf16BigEndian;
  } else if (b0 == 0xEF && b1 == 0xBB && ReadByte() == 0xBF) {
    m_encoding = TextEncoding::kUtf8;
  } else {
    // Most text written today is UTF-8 without a mark: bytes that are UTF-8 and not plain ASCII are read so.
    m_encoding = IsUtf8BeyondAscii() ? TextEncoding::kUtf8 : TextEncoding::kAnsi;
    Rewind();
  }
}

bool TextFileReader::IsUtf8BeyondAscii() {
  if (!m_source->SeekToStart()) return false;
  Utf8Check check;
  std::vector<uint8_t> block(kScanBlock);
  for (size_t n; (n = m_source->Read(block.data(), block.size())) > 0;)
    if (!check.Feed(block.data(), n)) return false;
  return check.BeyondAscii();
}

void TextFileReader::Rewind() {
  m_eof = !m_source->SeekToStart();
  m_pushedBack = false;
  m_pendingLow = 0;
  m_position = -1;
  m_firstLine = true;
}

uint8_t TextFileReader::ReadByte() {
  if (m_pushedBack) {
    m_pushedBack = false;
    return static_cast<uint8_t>(m_kept & 0xFF);
  }
  if (m_eof || m_source == nullptr) {
    m_eof = true;
    return 0;
  }
  if (m_position == -1 || m_position == kBlockSize - 1) {
    m_fill = static_cast<int>(m_source->Read(m_buffer, kBlockSize));
    if (m_fill <= 0) {
      m_eof = true;
      return 0;
    }
    m_position = 0;
    return m_buffer[0];
  }
  if (++m_position >= m_fill) {
    m_eof = true;
    return 0;
  }
  return m_buffer[m_position];
}

char16_t TextFileReader::ReadUtf8Char() {
  const uint8_t b0 = ReadByte();
  if ((b0 & 0x80) == 0) return b0;
  int ones = 0;
  while (ones < 8 && (b0 & (0x80 >> ones)) != 0) ++ones;
  if (ones == 2) return static_cast<char16_t>(((b0 & 0x1F) << 6) | (ReadByte() & 0x3F));
  if (ones == 3) {
    const uint8_t b1 = ReadByte();
    const uint8_t b2 = ReadByte();
    return static_cast<char16_t>(((b0 & 0x0F) << 12) | ((b1 & 0x3F) << 6) | (b2 & 0x3F));
  }
  if (ones != 4) return kReplacement;
  // Beyond U+FFFF: handed out as a surrogate pair, the low half on the next call.
  uint32_t code = b0 & 0x07;
  for (int i = 0; i < 3; ++i) code = (code << 6) | (ReadByte() & 0x3F);
  if (m_eof) return 0;  // cut short: dropped with the end of the file
  if (code < 0x10000 || code > 0x10FFFF) return kReplacement;
  code -= 0x10000;
  m_pendingLow = static_cast<char16_t>(0xDC00 | (code & 0x3FF));
  return static_cast<char16_t>(0xD800 | (code >> 10));
}

char16_t TextFileReader::ReadWideChar() {
  if (m_pushedBack) {
    m_pushedBack = false;
    return m_kept;
  }
  if (m_pendingLow != 0) {
    return std::exchange(m_pendingLow, char16_t{0});
  }
  if (m_encoding == TextEncoding::kUtf8) return ReadUtf8Char();
  const uint8_t b0 = ReadByte();
  const uint8_t b1 = ReadByte();
  if (m_encoding == TextEncoding::kUtf16BigEndian) return static_cast<char16_t>((b0 << 8) | b1);
  return static_cast<char16_t>((b1 << 8) | b0);
}

template <typename Unit, typename ReadUnit>
Unit TextFileReader::StartLine(ReadUnit read) {
  Unit c = read();
  if (m_firstLine) {
    m_firstLine = false;
  } else if (c == static_cast<Unit>(kCr)) {
    c = read();
    if (c == static_cast<Unit>(kLf)) c = read();
  } else if (c == static_cast<Unit>(kLf)) {
    c = read();
  }
  return c;
}

bool TextFileReader::ReadWideLine(std::u16string& line) {
  if (m_eof) return false;
  char16_t c = StartLine<char16_t>([this] { return ReadWideChar(); });
  line.clear();
  while (c != kCr && c != kLf && !m_eof) {
    line.push_back(c);
    c = ReadWideChar();
  }
  m_kept = c;
  m_pushedBack = true;
  return true;
}

bool TextFileReader::ReadByteLine(std::string& line) {
  if (m_eof) return false;
  char c = StartLine<char>([this] { return static_cast<char>(ReadByte()); });
  line.clear();
  while (c != '\r' && c != '\n' && !m_eof) {
    line.push_back(c);
    c = static_cast<char>(ReadByte());
  }
  m_kept = static_cast<uint8_t>(c);
  m_pushedBack = true;
  return true;
}

bool TextFileReader::ReadLine(std::u16string& line) {
  if (m_eof) return false;
  if (m_encoding != TextEncoding::kAnsi) return ReadWideLine(line);
  std::string bytes;
  if (!ReadByteLine(bytes)) return false;
  // A NUL byte ends the line's text.
  line = m_converter(std::string_view(bytes.c_str()));
  return true;
}

uint64_t TextFileReader::CharacterCount() const {
  const uint64_t length = m_source->Length();
  const bool wide = m_encoding == TextEncoding::kUtf16BigEndian || m_encoding == TextEncoding::kUtf16LittleEndian;
  return wide ? length / 2 : length;
}

bool TextFileReader::ReadAll(std::u16string& all, std::u16string_view separator) {
  if (!IsOpen()) return false;
  all.clear();
  // Line ends may become longer separators: the reserve is a hint and the string grows past it.
  all.reserve(static_cast<size_t>(std::min(CharacterCount() + 2, kMaxReserve)));
  std::u16string line;
  bool first = true;
  while (!m_eof) {
    if (!ReadLine(line)) break;
    if (!first) all.append(separator);
    first = false;
    all.append(line);
  }
  return true;
}

bool TextFileReader::Read(CString& all, const CString& separator) {
  std::u16string text;
  if (!ReadAll(text, separator.ToUtf16())) return false;
  // A zeroed stretch of a recovered file must not hide the text after it: NULs show as spaces.
  std::replace(text.begin(), text.end(), u'\0', u' ');
  all = CString::FromUtf16(text);
  return true;
}
