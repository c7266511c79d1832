// How the preview tells the encoding of a text's bytes and decodes them: a byte-order mark, else UTF-16 told
// by where its zeros and line ends fall, else UTF-8 told by all its bytes, else the system's 8-bit code page.
// The text viewer reads its files so, the page viewer its pages (which may also name their encoding).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

enum class TextEncoding : uint32_t { kAnsi = 0, kUtf16BigEndian = 1, kUtf16LittleEndian = 2, kUtf8 = 3 };

constexpr char16_t kReplacementCharacter = 0xFFFD;

struct TextStart {
  TextEncoding encoding = TextEncoding::kAnsi;
  size_t markLength = 0;  // the byte-order mark's bytes, which are not text
  bool decided = false;   // false: no mark and not UTF-16; the whole text must tell
};

// The byte-order mark the bytes begin with; not decided when there is none.
TextStart ByteOrderMark(const uint8_t* bytes, size_t count);

// Whether bytes fed in order from a file's start are UTF-16 without a mark, and in which byte order. Pairs
// are weighed by where they stand in the file, so a text may be fed in blocks of any size; runs of zeros
// (a save writes them for what it could not read, a lost first cluster among them) are passed over.
// UTF-16 is told by either of
// - its zeros: one pair in 16 or more (and 4 at least) with a zero on one side alone, hardly any on the
//   other (the high bytes of Latin, Greek or Cyrillic text);
// - its line ends: 4 or more CR or LF characters of one byte order, and hardly a CR or LF byte on the other
//   side of the pairs (CJK text, whose only zero high bytes may be its line ends, while a character with a
//   zero low byte now and then puts zeros on the other side).
// 8-bit text has its line ends on either side, and a zero run gives at most one pair to each side.
class Utf16Check {
 public:
  void Feed(const uint8_t* bytes, size_t count);
  // kAnsi when the bytes are not told UTF-16.
  TextEncoding Encoding() const;

 private:
  struct Side {
    uint64_t zeros = 0;     // pairs whose only zero is this side's high byte
    uint64_t lineEnds = 0;  // of those, the CR and LF characters
    uint64_t strays = 0;    // CR or LF bytes where this side's high bytes are
  };
  void Pair(uint8_t first, uint8_t second);
  bool Tells(const Side& side, const Side& other) const;

  Side m_little, m_big;
  uint64_t m_pairs = 0;  // pairs not wholly zero
  uint8_t m_first = 0;   // the first byte of a pair whose second has not come
  bool m_odd = false;    // an odd number of bytes fed
  bool m_afterZeros = false;  // the pair before was wholly zero
  // A pair with a zero in its second byte waits for the next: before a zero run it is the run's edge.
  int m_waiting = 0;  // 0, or 1 with a zero high byte of little-endian text, 2 a line end too
};

// A byte-order mark; else UTF-16 without one, by Utf16Check over all the bytes.
TextStart ExamineText(const uint8_t* bytes, size_t count);

// UTF-8 decoded a byte at a time. Each character goes to emit as its code point, each ill-formed sequence
// (a byte that cannot start one, a follow-on byte out of range, an overlong form, a surrogate, a value past
// U+10FFFF, a sequence cut short) as kIllFormed; the byte that broke a sequence then starts the next one.
class Utf8Decoder {
 public:
  static constexpr uint32_t kIllFormed = 0xFFFFFFFF;

  template <typename Emit>
  void Take(uint8_t b, Emit&& emit) {
    if (m_following > 0) {
      if (b >= m_low && b <= m_high) {
        m_code = (m_code << 6) | (b & 0x3Fu);
        m_low = 0x80;
        m_high = 0xBF;
        if (--m_following == 0) emit(m_code);
        return;
      }
      m_following = 0;
      emit(kIllFormed);
    }
    if (b < 0x80) {
      emit(b);
    } else if (!Start(b)) {
      emit(kIllFormed);
    }
  }
  // A sequence begun and not ended.
  bool Pending() const { return m_following > 0; }
  void Reset() { m_following = 0; }

 private:
  bool Start(uint8_t lead);

  uint32_t m_code = 0;
  int m_following = 0;
  uint8_t m_low = 0x80, m_high = 0xBF;
};

// Whether bytes fed in order are UTF-8 text: characters beyond ASCII, and ill-formed sequences few among
// them (a stray byte, a damaged stretch of a long text), each of which then shows as U+FFFD. 8-bit text in
// a code page has its letters beyond ASCII ill-formed nearly every one. A character cut short by the end
// of the bytes counts neither way (a recovered file may end anywhere).
class Utf8Check {
 public:
  void Feed(const uint8_t* bytes, size_t count);
  bool IsUtf8() const;
  // Well-formed throughout, with characters beyond ASCII: for short texts such as names.
  bool IsStrictUtf8() const { return m_illFormed == 0 && m_beyondAscii > 0; }

 private:
  Utf8Decoder m_decoder;
  uint64_t m_beyondAscii = 0;
  uint64_t m_illFormed = 0;
};

// UTF-8 bytes as UTF-16, each ill-formed sequence as U+FFFD; a character cut short by the end of the bytes
// is dropped when atEnd (the end of the file), else it too is U+FFFD.
std::u16string DecodeUtf8(std::string_view bytes, bool atEnd);
// UTF-16 bytes in either order as units; a lone last byte is dropped.
std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian);
