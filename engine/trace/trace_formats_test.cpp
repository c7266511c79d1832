// The format readers over hostile and unlucky files: each gives "not found" (the limit, not whole) without
// reading past its bytes or working longer than their length; the files of every type are judged by
// enginectl.trace (tools/enginectl/tests/trace_test.py).
#include "engine/trace/trace_formats.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Of(const std::string& text) { return Bytes(text.begin(), text.end()); }

void Put32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

trace::FileEnd End(const char16_t* extension, const Bytes& file, const std::vector<uint64_t>& later = {}) {
  trace::MemoryBytes bytes(file.data(), file.size());
  return trace::FindFileEnd(extension, bytes, later);
}

void ExpectNotFound(const char16_t* extension, const Bytes& file) {
  const trace::FileEnd end = End(extension, file);
  EXPECT_FALSE(end.whole);
  EXPECT_EQ(end.length, file.size());
}

// 4 MiB of each shape: a reader that went back over its bytes would take minutes.
constexpr size_t kLarge = 4 << 20;

TEST(TraceFormats, EndlessStructuresAreNotFound) {
  Bytes markers = Of("\xFF\xD8");
  while (markers.size() < kLarge) markers.insert(markers.end(), {0xFF, 0xE1, 0x00, 0x02});  // empty segments
  ExpectNotFound(u".jpg", markers);
  Bytes fill = Of("\xFF\xD8\xFF\xDA\x00\x02");
  fill.resize(kLarge, 0xFF);  // a scan's data of fill bytes and no marker after them
  ExpectNotFound(u".jpg", fill);
  Bytes records(kLarge, 0);  // PNG chunks of length 0 with a wrong CRC, Lotus records of opcode 0
  ExpectNotFound(u".wk1", records);
  Bytes braces(kLarge, '{');
  braces[0] = '{';
  ExpectNotFound(u".rtf", braces);
  Bytes gif = Of("GIF89a\x01\x00\x01\x00\x00\x00\x00");
  gif.resize(kLarge, 0x21);  // extension introducers whose sub-blocks never end
  ExpectNotFound(u".gif", gif);
}

TEST(TraceFormats, EndRecordsPointingAnywhereAreNotFound) {
  Bytes zip = Of("PK\x03\x04");
  zip.resize(kLarge, 0);
  for (size_t at = 64; at + 22 < zip.size(); at += 22) {  // end records whose directory is nowhere
    std::copy_n("PK\x05\x06", 4, zip.begin() + static_cast<std::ptrdiff_t>(at));
    Put32(zip, at + 12, static_cast<uint32_t>(at * 7));
    Put32(zip, at + 16, 0xFFFFFFFF);
  }
  ExpectNotFound(u".zip", zip);
  // A compound file whose allocation table's list of sectors loops and counts more than the file holds.
  Bytes compound(kLarge, 0xFF);
  std::copy_n("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8, compound.begin());
  const uint8_t header[] = {0x3E, 0, 3, 0, 0xFE, 0xFF, 9, 0, 6, 0};
  std::copy(std::begin(header), std::end(header), compound.begin() + 24);
  Put32(compound, 44, 0x7FFFFFFF);
  Put32(compound, 68, 0);
  Put32(compound, 72, 0x7FFFFFFF);
  ExpectNotFound(u".doc", compound);
  // A TIFF whose directories point at one another, and one with a strip past any file.
  Bytes tiff(4096, 0);
  std::copy_n("II*\0", 4, tiff.begin());
  Put32(tiff, 4, 8);
  tiff[8] = 1;
  Put32(tiff, 8 + 2 + 12, 8);  // the next directory is this one
  EXPECT_TRUE(End(u".tif", tiff).whole);  // its one entry and the loop: 26 bytes
  const uint8_t values[] = {0x0E, 0x01, 4, 0};  // a description of 0x3FFFFFF0 numbers from offset 100
  std::copy(std::begin(values), std::end(values), tiff.begin() + 10);
  Put32(tiff, 14, 0x3FFFFFF0);
  Put32(tiff, 18, 100);
  ExpectNotFound(u".tif", tiff);
}

// A PDF ends with the last %%EOF before the next hit that follows one; a hit before any is a file inside it.
TEST(TraceFormats, APdfEndsBeforeTheNextHitAfterItsEnd) {
  auto edition = [](const std::string& before) {
    return before + "xref\n0 1\ntrailer\n<<>>\nstartxref\n" + std::to_string(before.size()) + "\n%%EOF\n";
  };
  const std::string first = edition("%PDF-1.4\n" + std::string(600, 'a') + "\n");
  const std::string second = edition(first + std::string(100, 'b') + "\n");
  Bytes file = Of(second + std::string(3000, 'c') + "\n" + edition(std::string(1000, 'd')));
  EXPECT_EQ(End(u".pdf", file, {1024}).length, second.size());  // the hit at 1024 lies past both editions
  EXPECT_EQ(End(u".pdf", file, {512}).length, second.size());   // a hit inside: the editions after it count
  EXPECT_EQ(End(u".pdf", file).length, second.size());  // the last %%EOF's pointer is not into this file
  EXPECT_EQ(End(u".pdf", Of(first), {}).length, first.size());
}

// The size a header states, when past the limit, cuts the file there: not whole.
TEST(TraceFormats, AFileLongerThanTheLimitIsCutThere) {
  Bytes bmp = Of("BM");
  bmp.resize(4096, 0);
  Put32(bmp, 2, 4000);
  EXPECT_TRUE(End(u".bmp", bmp).whole);
  EXPECT_EQ(End(u".bmp", bmp).length, 4000u);
  trace::MemoryBytes cut(bmp.data(), bmp.size(), 2048);
  const trace::FileEnd end = trace::FindFileEnd(u".bmp", cut);
  EXPECT_FALSE(end.whole);
  EXPECT_EQ(end.length, 2048u);
}

}  // namespace
