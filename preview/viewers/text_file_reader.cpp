#include "preview/viewers/text_file_reader.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/classlib/cfile.h"
#include "platform/os/os.h"

namespace {

constexpr char16_t kCr = u'\r';
constexpr char16_t kLf = u'\n';
// Reserving more than this up front is left to the string's own growth.
constexpr uint64_t kMaxReserve = 64u << 20;
constexpr size_t kScanBlock = 64u << 10;

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
  uint8_t start[3] = {};
  size_t got = 0;
  if (m_source->SeekToStart())
    for (size_t n; got < sizeof start && (n = m_source->Read(start + got, sizeof start - got)) > 0;) got += n;
  const TextStart mark = ByteOrderMark(start, got);
  m_encoding = mark.decided ? mark.encoding : EncodingOfUnmarkedText();
  Rewind();
  for (size_t i = 0; i < mark.markLength; ++i) ReadByte();
}

TextEncoding TextFileReader::EncodingOfUnmarkedText() {
  if (!m_source->SeekToStart()) return TextEncoding::kAnsi;
  Utf16Check utf16;
  Utf8Check utf8;
  std::vector<uint8_t> block(kScanBlock);
  for (size_t n; (n = m_source->Read(block.data(), block.size())) > 0;) {
    utf16.Feed(block.data(), n);
    utf8.Feed(block.data(), n);
  }
  const TextEncoding wide = utf16.Encoding();
  if (wide != TextEncoding::kAnsi) return wide;
  // Most text written today is UTF-8 without a mark: bytes that are UTF-8 and not plain ASCII are read so.
  return utf8.IsUtf8() ? TextEncoding::kUtf8 : TextEncoding::kAnsi;
}

void TextFileReader::Rewind() {
  m_eof = !m_source->SeekToStart();
  m_pushedBack = false;
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

char16_t TextFileReader::ReadWideChar() {
  if (m_pushedBack) {
    m_pushedBack = false;
    return m_kept;
  }
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
  if (m_encoding == TextEncoding::kUtf16BigEndian || m_encoding == TextEncoding::kUtf16LittleEndian)
    return ReadWideLine(line);
  // In UTF-8 as in 8-bit text a CR or LF byte is always a line end, never part of a character.
  std::string bytes;
  if (!ReadByteLine(bytes)) return false;
  // NUL bytes stay in the line (a zeroed stretch must not hide the text after it).
  line = m_encoding == TextEncoding::kUtf8 ? DecodeUtf8(bytes, m_eof) : m_converter(bytes);
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
