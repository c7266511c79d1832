// TextFileReader: a text file read line by line and handed out as UTF-16, in the encoding its bytes tell
// (text_encoding.h): a byte-order mark, UTF-16 without one, UTF-8, else 8-bit text in the system's code page.
// CR, LF and CR LF all end a line. The bytes come from a TextByteSource (a file, or memory in tests), and
// 8-bit lines go through a code-page converter, so the reader itself is portable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/classlib/cstring.h"
#include "preview/viewers/text_encoding.h"

class TextByteSource {
 public:
  virtual ~TextByteSource() = default;
  // Up to count bytes; 0 at the end and on a read error.
  virtual size_t Read(uint8_t* buffer, size_t count) = 0;
  virtual bool SeekToStart() = 0;
  virtual uint64_t Length() const = 0;
};

// The file opened for reading with writers kept out; null when it cannot be opened.
std::unique_ptr<TextByteSource> OpenTextFileSource(const CString& path);
std::unique_ptr<TextByteSource> MemoryTextSource(std::string bytes);

// 8-bit text to UTF-16; the default is the system's code page.
using CodePageConverter = std::function<std::u16string(std::string_view)>;

class TextFileReader {
 public:
  explicit TextFileReader(const CString& path);
  // source may be null (a file that could not be opened).
  explicit TextFileReader(std::unique_ptr<TextByteSource> source, CodePageConverter converter = {});
  virtual ~TextFileReader();
  TextFileReader(const TextFileReader&) = delete;
  TextFileReader& operator=(const TextFileReader&) = delete;

  bool IsOpen() const { return m_source != nullptr; }
  bool IsEof() const { return m_eof; }
  TextEncoding Encoding() const { return m_encoding; }

  // Every line joined with the separator; false (all untouched) when the file is not open. NUL characters
  // show as spaces.
  bool Read(CString& all, const CString& separator = CString(_T("\r\n")));
  // The whole text as read, NULs included.
  bool ReadAll(std::u16string& all, std::u16string_view separator);
  // false at the end of the file.
  bool ReadLine(std::u16string& line);
  virtual void Close();

 private:
  static constexpr int kBlockSize = 1024;

  void ReadByteOrderMark();
  // Reads the whole file once: UTF-16 by where its zeros and line ends fall, else UTF-8 by its bytes.
  TextEncoding EncodingOfUnmarkedText();
  void Rewind();
  uint8_t ReadByte();
  char16_t ReadWideChar();
  bool ReadWideLine(std::u16string& line);
  bool ReadByteLine(std::string& line);
  // Reads the first character of a line, passing over the end of the line before.
  template <typename Unit, typename ReadUnit>
  Unit StartLine(ReadUnit read);
  uint64_t CharacterCount() const;

  std::unique_ptr<TextByteSource> m_source;
  CodePageConverter m_converter;
  TextEncoding m_encoding = TextEncoding::kAnsi;
  bool m_eof = true;
  uint8_t m_buffer[kBlockSize] = {};
  int m_position = -1;  // index of the byte last handed out
  int m_fill = 0;
  bool m_pushedBack = false;
  bool m_firstLine = true;
  char16_t m_kept = 0;            // the character that ended the previous line
};
