#include "preview/viewers/text_file_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/os/os.h"

namespace {

// Latin-1 as the code page: every byte is the character of the same number.
std::u16string Latin1(std::string_view bytes) {
  std::u16string text;
  for (unsigned char b : bytes) text.push_back(b);
  return text;
}

TextFileReader Reader(const std::string& bytes) { return TextFileReader(MemoryTextSource(bytes), Latin1); }

std::vector<std::u16string> Lines(const std::string& bytes) {
  TextFileReader reader = Reader(bytes);
  std::vector<std::u16string> lines;
  std::u16string line;
  while (reader.ReadLine(line)) lines.push_back(line);
  return lines;
}

std::u16string All(const std::string& bytes, std::u16string_view separator = u"\r\n") {
  TextFileReader reader = Reader(bytes);
  std::u16string all;
  EXPECT_TRUE(reader.ReadAll(all, separator));
  return all;
}

using Texts = std::vector<std::u16string>;

TEST(TextFileReader, ByteOrderMarks) {
  EXPECT_EQ(Reader("\xEF\xBB\xBFx").Encoding(), TextEncoding::kUtf8);
  EXPECT_EQ(All("\xEF\xBB\xBFx"), u"x");  // the mark is not text
  EXPECT_EQ(Reader("\xEF\xBB\x41").Encoding(), TextEncoding::kAnsi);
  EXPECT_EQ(All("\xEF\xBB\x41"), u"\u00EF\u00BB" u"A");  // read from the first byte
  EXPECT_EQ(Reader("\xFF\xFEx").Encoding(), TextEncoding::kUtf16LittleEndian);
  EXPECT_EQ(All(std::string("\xFF\xFE" "A\0\x3B\x04", 6)), u"A\u043B");
  EXPECT_EQ(Reader("\xFE\xFFx").Encoding(), TextEncoding::kUtf16BigEndian);
  EXPECT_EQ(All(std::string("\xFE\xFF\0A\x04\x3B", 6)), u"A\u043B");
  EXPECT_EQ(Reader("ab").Encoding(), TextEncoding::kAnsi);
  EXPECT_EQ(All("a"), u"a");  // shorter than any mark
}

TEST(TextFileReader, LineEnds) {
  EXPECT_EQ(Lines("a\r\nb\rc\nd"), (Texts{u"a", u"b", u"c", u"d"}));
  EXPECT_EQ(Lines("a\n\nb"), (Texts{u"a", u"", u"b"}));
  EXPECT_EQ(Lines("\r\r\n"), (Texts{u"", u"", u""}));
  EXPECT_EQ(Lines("a\n\rb"), (Texts{u"a", u"", u"b"}));
  // A last line end gives one more, empty, line.
  EXPECT_EQ(Lines("a\r\n"), (Texts{u"a", u""}));
  EXPECT_EQ(All("a\r\nb\r\n"), u"a\r\nb\r\n");
  EXPECT_EQ(All("a\nb", u"|"), u"a|b");
  // The same in UTF-16, where a line end is a whole character.
  EXPECT_EQ(All(std::string("\xFF\xFE" "a\0\r\0\n\0b\0\n\0", 12), u"|"), u"a|b|");
}

TEST(TextFileReader, EmptyAndUnopened) {
  EXPECT_EQ(Lines(""), (Texts{u""}));
  EXPECT_EQ(All(""), u"");
  EXPECT_EQ(All("\xFF\xFE"), u"");
  TextFileReader closed(nullptr, Latin1);
  EXPECT_FALSE(closed.IsOpen());
  EXPECT_TRUE(closed.IsEof());
  CString all(_T("untouched"));
  EXPECT_FALSE(closed.Read(all));
  EXPECT_EQ(all, CString(_T("untouched")));
  TextFileReader missing(CString(_T("/no/such/folder/file.txt")));
  EXPECT_FALSE(missing.IsOpen());
}

TEST(TextFileReader, Utf8) {
  EXPECT_EQ(All("\xEF\xBB\xBF\xE2\x82\xAC"), u"\u20AC");
  EXPECT_EQ(All("\xEF\xBB\xBF\xCE\xB1\xCE\xB2"), u"\u03B1\u03B2");
  // Beyond U+FFFF: a surrogate pair, not one replacement per byte.
  EXPECT_EQ(All("\xEF\xBB\xBF\xF0\x9F\x98\x80!"), u"\U0001F600!");
  // Each ill-formed sequence is one U+FFFD, and the byte that broke it starts the next one.
  EXPECT_EQ(All("\xEF\xBB\xBF\xF4\x90\x80\x80!"), u"\uFFFD\uFFFD\uFFFD\uFFFD!");  // past U+10FFFF
  EXPECT_EQ(All("\xEF\xBB\xBF\xF8\xFF!"), u"\uFFFD\uFFFD!");    // no such lead byte
  EXPECT_EQ(All("\xEF\xBB\xBF\xE2\x82x\xC3\r\n\xA9"), u"\uFFFDx\uFFFD\r\n\uFFFD");  // cut short by a line end
  // A character cut short by the end of the file is dropped.
  EXPECT_EQ(All("\xEF\xBB\xBFok\xE2\x82"), u"ok");
  EXPECT_EQ(All("\xEF\xBB\xBFok\xF0\x9F\x98"), u"ok");
  EXPECT_EQ(All(std::string("\xFF\xFE" "a\0b", 5)), u"a");
}

// Read's text: NUL characters show as spaces, so the text after a zeroed stretch still shows.
std::u16string ReadText(const std::string& bytes) {
  TextFileReader reader = Reader(bytes);
  CString all;
  EXPECT_TRUE(reader.Read(all));
  return all.ToUtf16();
}

TEST(TextFileReader, NulCharacters) {
  // In every encoding the NUL stays in the lines, and Read shows what follows it: a one-line XML file
  // keeps its end after the zeros a save wrote for a part it could not read.
  EXPECT_EQ(All(std::string("ab\0cd\nef", 8)), std::u16string(u"ab\0cd\r\nef", 9));
  EXPECT_EQ(ReadText("<a>" + std::string(600, '\0') + "</a>"), u"<a>" + std::u16string(600, u' ') + u"</a>");
  const std::string wide("\xFF\xFE" "a\0\0\0b\0", 8);
  EXPECT_EQ(All(wide), std::u16string(u"a\0b", 3));
  EXPECT_EQ(ReadText(wide), u"a b");
  EXPECT_EQ(ReadText(std::string("\xEF\xBB\xBF" "a\0\0b\nc", 9)), u"a  b\r\nc");
  EXPECT_EQ(ReadText(std::string("\xC3\xA9\0x", 4)), u"\u00E9 x");  // unmarked UTF-8
  std::string zeroed("\xFF\xFE" "a\0", 4);
  zeroed += std::string(4096, '\0') + std::string("z\0", 2);
  EXPECT_EQ(ReadText(zeroed), u"a" + std::u16string(2048, u' ') + u"z");
}

// Without a mark: well-formed UTF-8 holding characters beyond ASCII is UTF-8; ASCII, and bytes that are not
// UTF-8, are the code page's.
TEST(TextFileReader, UnmarkedTextIsUtf8WhenItsBytesAre) {
  const struct {
    std::string bytes;
    TextEncoding encoding;
    std::u16string text;
  } cases[] = {
      {"Voil\xC3\xA0 la lettre \xE2\x80\x94 \xC3\xA9l\xC3\xA8ve", TextEncoding::kUtf8,
       u"Voil\u00E0 la lettre \u2014 \u00E9l\u00E8ve"},
      {"\xF0\x9F\x98\x80 \xEF\xBF\xBD", TextEncoding::kUtf8, u"\U0001F600 \uFFFD"},
      {"\xC3\xA9 ok \xE2\x82", TextEncoding::kUtf8, u"\u00E9 ok "},  // cut short by the end: dropped
      {"ok \xE2\x82", TextEncoding::kAnsi, u"ok \u00E2\u0082"},            // and nothing else beyond ASCII
      {"plain words\r\n", TextEncoding::kAnsi, u"plain words\r\n"},
      {"caf\xE9", TextEncoding::kAnsi, u"caf\u00E9"},
      {"\xC3\xA9t\xE9s", TextEncoding::kAnsi, u"\u00C3\u00A9t\u00E9s"},  // one UTF-8 character, one not
      {"\xC0\xAF", TextEncoding::kAnsi, u"\u00C0\u00AF"},                // overlong
      {"\xE0\x9F\xBF", TextEncoding::kAnsi, u"\u00E0\u009F\u00BF"},      // overlong, three bytes
      {"\xED\xA0\x80", TextEncoding::kAnsi, u"\u00ED\u00A0\u0080"},      // a surrogate
      {"\xF4\x90\x80\x80", TextEncoding::kAnsi, u"\u00F4\u0090\u0080\u0080"},  // past U+10FFFF
      {"\xC3\xA9\xA9", TextEncoding::kAnsi, u"\u00C3\u00A9\u00A9"},      // a follow-on byte too many
      {"\xC3x", TextEncoding::kAnsi, u"\u00C3x"},                         // one too few
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.bytes));
    EXPECT_EQ(Reader(c.bytes).Encoding(), c.encoding);
    EXPECT_EQ(All(c.bytes), c.text);
  }
  // The whole file counts: a stray byte among many characters keeps it UTF-8 (shown as U+FFFD), a
  // stretch of code-page text far into it does not; and a character across the blocks read.
  std::string late;
  while (late.size() < 200000) late += "\xC3\xA9t\xC3\xA9 ";
  EXPECT_EQ(Reader(late + "\xE9t\xC3\xA9").Encoding(), TextEncoding::kUtf8);
  const std::u16string stray = All(late + "\xE9t\xC3\xA9");
  EXPECT_EQ(stray.substr(stray.size() - 3), u"\uFFFDt\u00E9");
  EXPECT_EQ(Reader("\xC3\xA9t\xC3\xA9 \xC3\xA9t\xC3\xA9 caf\xE9 !").Encoding(), TextEncoding::kUtf8);
  EXPECT_EQ(Reader("\xC3\xA9t\xC3\xA9 caf\xE9 d\xE9j\xE0").Encoding(), TextEncoding::kAnsi);
  std::string mixed = late;
  for (int i = 0; i < 20000; ++i) mixed += "\xE9t\xE9 ";
  EXPECT_EQ(Reader(mixed).Encoding(), TextEncoding::kAnsi);
  const std::string across = std::string((64 << 10) - 1, 'a') + "\xE2\x82\xAC";
  EXPECT_EQ(Reader(across).Encoding(), TextEncoding::kUtf8);
  EXPECT_EQ(All(across).substr((64 << 10) - 1), u"\u20AC");
}

// Without a mark: UTF-16 by the zeros of its first block; zero runs in 8-bit text tell nothing.
TEST(TextFileReader, UnmarkedUtf16) {
  const std::u16string report = u"Report \u00E9t\u00E9\r\n\u039A\u03B1\u03BB\u03B7\u03BC\u03AD\u03C1\u03B1";
  std::string little, big;
  for (char16_t c : report) {
    little += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    big += {static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
  }
  EXPECT_EQ(Reader(little).Encoding(), TextEncoding::kUtf16LittleEndian);
  EXPECT_EQ(All(little), report);
  EXPECT_EQ(Reader(big).Encoding(), TextEncoding::kUtf16BigEndian);
  EXPECT_EQ(All(big), report);
  for (const std::string& ansi : {std::string("abc") + std::string(2000, '\0') + "def", std::string("a\0b", 3),
                                  std::string("Lake\0\0\0 and hills, 1 ") + std::string(1, '\0') + "sun\r\n"})
    EXPECT_EQ(Reader(ansi).Encoding(), TextEncoding::kAnsi) << ansi.size();
}

std::string Utf16Bytes(std::u16string_view text, bool bigEndian) {
  std::string bytes;
  for (char16_t c : text) {
    const char low = static_cast<char>(c & 0xFF), high = static_cast<char>(c >> 8);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

// CJK text without a mark: its only zero high bytes are its line ends, and a character of every line has a zero
// low byte (U+4E00, U+6700, U+5F00), so that the zeros of either side are as many; told by its line ends, LF or
// CR LF, in either byte order. A UTF-16 text whose first cluster (4 or 32 KB) was zeroed is told past the zeros.
TEST(TextFileReader, UnmarkedCjkUtf16AndUtf16AfterZeros) {
  const std::u16string lines[] = {u"\u4E00\u6708\u7684\u5929\u6C14\u5F88\u51B7\uFF0C\u6211\u4EEC\u5728\u5BB6\u8BFB\u4E66\u3002",
                                  u"\u6700\u91CD\u8981\u7684\u6587\u4EF6\u90FD\u4FDD\u5B58\u5728\u78C1\u76D8\u4E0A\u3002",
                                  u"\u6253\u5F00\u6587\u4EF6\u4EE5\u540E\uFF0C\u8BF7\u5148\u68C0\u67E5\u5185\u5BB9\u3002"};
  for (const std::u16string end : {u"\n", u"\r\n"}) {
    std::u16string text;
    for (int i = 0; i < 12; ++i) text += lines[i % 3] + end;
    for (const bool big : {false, true}) {
      SCOPED_TRACE(::testing::Message() << (big ? "big-endian" : "little-endian") << ", line ends " << end.size());
      const std::string bytes = Utf16Bytes(text, big);
      EXPECT_EQ(Reader(bytes).Encoding(), big ? TextEncoding::kUtf16BigEndian : TextEncoding::kUtf16LittleEndian);
      std::u16string expected = text;
      if (end.size() == 1)
        for (size_t at = 0; (at = expected.find(u'\n', at)) != std::u16string::npos; at += 2) expected.replace(at, 1, u"\r\n");
      EXPECT_EQ(All(bytes), expected);
    }
  }
  const std::u16string report = u"Report \u00E9t\u00E9\r\n\u039A\u03B1\u03BB\u03B7\u03BC\u03AD\u03C1\u03B1\r\n";
  std::u16string many;
  for (int i = 0; i < 40; ++i) many += report;
  for (const size_t cluster : {size_t{4096}, size_t{32768}}) {
    for (const bool big : {false, true}) {
      const std::string bytes = std::string(cluster, '\0') + Utf16Bytes(many, big);
      EXPECT_EQ(Reader(bytes).Encoding(), big ? TextEncoding::kUtf16BigEndian : TextEncoding::kUtf16LittleEndian)
          << cluster;
      EXPECT_EQ(All(bytes).substr(cluster / 2), many);
    }
  }
}

// 8-bit text is not taken for UTF-16 by its zeros or its line ends: lines each ended by a NUL, zero runs after
// line ends at every length and place, a table of fixed-width records padded with zeros.
TEST(TextFileReader, EightBitTextWithZerosIsNotUtf16) {
  std::string terminated, runs, records;
  for (int i = 0; i < 200; ++i) {
    terminated += "line " + std::to_string(i * 7) + "\n" + std::string(1, '\0');
    runs += "entry " + std::to_string(i) + (i % 2 ? "\r\n" : "\n") + std::string(static_cast<size_t>(i % 5), '\0');
    std::string record = "item " + std::to_string(i * 13) + ";" + std::string(i % 3, 'x') + "\n";
    records += record + std::string(32 - record.size(), '\0');
  }
  for (const std::string& bytes : {terminated, runs, records})
    EXPECT_EQ(Reader(bytes).Encoding(), TextEncoding::kAnsi) << ::testing::PrintToString(bytes.substr(0, 64));
}

TEST(TextFileReader, LongLinesAndBlockEdges) {
  // Lines longer than a block, and line ends at every offset around the 1024-byte block edges.
  std::string bytes(3000, 'x');
  bytes += "\r\n";
  for (int i = 0; i < 600; ++i) bytes += "ab\n";
  const std::u16string all = All(bytes);
  EXPECT_EQ(all.substr(0, 3002), std::u16string(3000, u'x') + u"\r\n");
  size_t lineEnds = 0;
  for (size_t at = all.find(u"\r\n"); at != std::u16string::npos; at = all.find(u"\r\n", at + 2)) ++lineEnds;
  EXPECT_EQ(lineEnds, 601u);
  // A block edge between CR and LF is still one line end.
  std::string split(1023, 'y');
  split += "\r\nz";
  EXPECT_EQ(Lines(split), (Texts{std::u16string(1023, u'y'), u"z"}));
}

TEST(TextFileReader, SeparatorsLongerThanTheLineEnds) {
  // Every LF becomes CR LF: the text is longer than the file.
  const std::string bytes(5000, '\n');
  std::u16string expected;
  for (int i = 0; i < 5000; ++i) expected += u"\r\n";
  EXPECT_EQ(All(bytes), expected);
  EXPECT_EQ(All(bytes, u"<br/>\r\n").size(), 5000u * 7);
}

TEST(TextFileReader, ReadsAFileWithTheSystemCodePage) {
  const std::u16string path = os::ProcessTempPath(u"reader.txt");
  std::FILE* f = std::fopen(os::ToUtf8(path).c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fputs("\xEF\xBB\xBF\xCE\x9A\xCE\xB1\xCE\xBB\xCE\xB7\xCE\xBC\xCE\xAD\xCF\x81\xCE\xB1\nline two", f);
  std::fclose(f);
  {
    TextFileReader reader(CString::FromUtf16(path));
    ASSERT_TRUE(reader.IsOpen());
    CString all;
    ASSERT_TRUE(reader.Read(all));
    EXPECT_EQ(all.ToUtf16(), u"\u039A\u03B1\u03BB\u03B7\u03BC\u03AD\u03C1\u03B1\r\nline two");
    reader.Close();
    EXPECT_FALSE(reader.IsOpen());
  }
  os::RemoveFile(path);
}

}  // namespace
