// The format readers over hostile and unlucky files: each gives "not found" (the limit, not whole) without
// reading past its bytes or working longer than their length; the files of every type are judged by
// enginectl.trace (tools/enginectl/tests/trace_test.py).
#include "engine/trace/trace_formats.h"

#include <gtest/gtest.h>

#include "engine/trace/file_runs.h"

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

// A PDF's editions: the first %%EOF whose pointer leads to its cross-reference, then each update whose trailer names
// the cross-reference before it; the hits inside (a picture of an edit at a sector start) do not cut it.
TEST(TraceFormats, APdfEndsWithItsLastUpdate) {
  auto edition = [](const std::string& before, const std::string& trailer) {
    return before + "xref\n0 1\ntrailer\n<<" + trailer + ">>\nstartxref\n" + std::to_string(before.size()) + "\n%%EOF\n";
  };
  const std::string first = edition("%PDF-1.4\n" + std::string(600, 'a') + "\n", "");
  const std::string firstXref = std::to_string(first.find("xref"));
  const std::string second = edition(first + std::string(1000, 'b') + "\n", " /Prev " + firstXref);
  EXPECT_EQ(End(u".pdf", Of(second), {1024}).length, second.size());
  EXPECT_TRUE(End(u".pdf", Of(second), {1024}).whole);
  // A new, shorter document over an older one of two editions, each pointing at its own cross-reference.
  const std::string oldFirst = edition("%PDF-1.4\n" + std::string(2000, 'o') + "\n", "");
  const std::string old = edition(oldFirst + std::string(3000, 'c') + "\n", " /Prev " + std::to_string(oldFirst.find("xref")));
  const std::string over = first + old.substr(first.size());
  EXPECT_EQ(End(u".pdf", Of(over)).length, first.size());
  EXPECT_TRUE(End(u".pdf", Of(over)).whole);
  // Other bytes before the update: its pointer leads nowhere, its trailer names this file's cross-reference.
  const std::string broken = first + std::string(512, 'x') + second.substr(first.size());
  EXPECT_EQ(End(u".pdf", Of(broken)).length, broken.size());
  EXPECT_FALSE(End(u".pdf", Of(broken)).whole);
  // Ends whose pointers lead nowhere, 4 MiB of them after the first edition: each byte looked at a few times.
  std::string many = first;
  while (many.size() < kLarge) many += "/Prev 1 startxref\n7\n%%EOF\n";
  EXPECT_EQ(End(u".pdf", Of(many)).length, first.size());
  // A pointer that lands near an object but not on its header is no cross-reference.
  std::string shifted = "%PDF-1.4\n1 0 obj\n<<>>\nendobj\n";
  shifted += "startxref\n2\n%%EOF\n";
  EXPECT_FALSE(End(u".pdf", Of(shifted)).whole);
}

// MPEG program streams (DVD video, ffmpeg's MPEG-1) without their end code: the packs and packets one after another,
// to where they stop, or to a pack of an earlier clock (another stream written right after); each pack at a sector
// start is a unit of the stream, not a new file.
Bytes ProgramStream(int packs, uint32_t clock, bool mpeg2) {
  Bytes out;
  for (int i = 0; i < packs; ++i) {
    const uint32_t t = clock + static_cast<uint32_t>(i) * 300;
    Bytes pack = mpeg2 ? Bytes{0, 0, 1, 0xBA, static_cast<uint8_t>(0x44 | (t >> 27 & 0x38) | (t >> 28 & 3)),
                               static_cast<uint8_t>(t >> 20), static_cast<uint8_t>((t >> 12 & 0xF8) | 4 | (t >> 13 & 3)),
                               static_cast<uint8_t>(t >> 5), static_cast<uint8_t>(t << 3 | 4), 1, 1, 0x89, 0xC3, 0xF8}
                       : Bytes{0, 0, 1, 0xBA, static_cast<uint8_t>(0x21 | (t >> 29 & 0x0E)), static_cast<uint8_t>(t >> 22),
                               static_cast<uint8_t>(t >> 14 | 1), static_cast<uint8_t>(t >> 7), static_cast<uint8_t>(t << 1 | 1),
                               0x80, 0x1B, 0x83};
    const size_t room = 2048 - pack.size() - 6;
    pack.insert(pack.end(), {0, 0, 1, 0xE0, static_cast<uint8_t>(room >> 8), static_cast<uint8_t>(room)});
    pack.resize(2048, static_cast<uint8_t>(i));
    out.insert(out.end(), pack.begin(), pack.end());
  }
  return out;
}

TEST(TraceFormats, AProgramStreamEndsWhereItsPacksStop) {
  for (bool mpeg2 : {true, false}) {
    Bytes stream = ProgramStream(40, 1000, mpeg2);
    Bytes disk = stream;
    disk.resize(disk.size() + 4096, 0);  // what lies after it
    const trace::FileEnd end = End(u".vob", disk);
    EXPECT_TRUE(end.whole);
    EXPECT_EQ(end.length, stream.size());
    trace::MemoryBytes bytes(disk.data(), disk.size());
    const trace::FileUnits units = trace::FindFileUnits(u".mpg", bytes);
    ASSERT_EQ(units.offsets.size(), 39u);
    EXPECT_EQ(units.offsets[0], 2048u);
    const Bytes next = ProgramStream(10, 0, mpeg2);  // a stream written right after: its clock starts again
    stream.insert(stream.end(), next.begin(), next.end());
    stream.resize(stream.size() + 512, 0);
    EXPECT_EQ(End(u".mpg", stream).length, 40u * 2048);
  }
  Bytes cut = ProgramStream(40, 0, true);  // still going where the bytes stop: cut there
  EXPECT_FALSE(End(u".vob", cut).whole);
}

// The search: a stream found is one hit; its packs at sector starts go on with it. A file of its family found inside
// it is not followed (a reader would go over the same bytes again), one of another family is.
TEST(TraceFormats, AStreamFoundIsOneHit) {
  Bytes stream = ProgramStream(40, 1000, true);
  stream.resize(stream.size() + 4096, 0);
  trace::FileRuns runs;
  trace::MemoryBytes bytes(stream.data(), stream.size());
  runs.Found(100, u".vob", bytes);
  std::vector<uint64_t> goesOn;
  for (uint64_t sector = 101; sector < 300; ++sector) {
    if (runs.GoesOn(sector)) goesOn.push_back(sector);
    if (sector == 102) {
      trace::MemoryBytes inside(stream.data(), stream.size());
      runs.Found(102, u".mpg", inside);  // the same bytes again, two sectors on: not followed
    }
  }
  ASSERT_EQ(goesOn.size(), 39u);
  EXPECT_EQ(goesOn.front(), 104u);
  EXPECT_EQ(goesOn.back(), 100u + 39 * 4);
  // A stream longer than the size its hits are saved with: its packs go on with it to there; the next pack after
  // it begins the next hit, so that the whole stream is saved in pieces of that size.
  trace::FileRuns longer;
  trace::MemoryBytes cut(stream.data(), stream.size(), 20 * 2048);
  longer.Found(0, u".vob", cut);
  int inside = 0;
  for (uint64_t sector = 1; sector <= 20 * 4; ++sector) inside += longer.GoesOn(sector) ? 1 : 0;
  EXPECT_EQ(inside, 19);
  EXPECT_EQ(End(u".vob", Bytes(stream.begin(), stream.begin() + 20 * 2048 + 100)).whole, false);
}

// A song whose Info frame counts its frames ends after them, though frames of the same rate run on (an older song
// written over); fewer frames than it counts are a break.
Bytes Song(uint32_t counted, int frames) {
  Bytes out;
  for (int i = 0; i <= frames; ++i) {
    Bytes frame(417, static_cast<uint8_t>(0x11 * i));
    frame[0] = 0xFF, frame[1] = 0xFB, frame[2] = 0x90, frame[3] = 0x44;
    if (i == 0) {
      std::copy_n("Info\0\0\0\x01", 8, frame.begin() + 36);
      for (int b = 0; b < 4; ++b) frame[44 + b] = static_cast<uint8_t>(counted >> (24 - 8 * b));
    }
    out.insert(out.end(), frame.begin(), frame.end());
  }
  return out;
}

TEST(TraceFormats, ASongEndsAfterTheFramesItCounts) {
  Bytes over = Song(20, 60);  // 21 frames of the new song, then the old one's
  over.resize(over.size() + 100, 0);
  EXPECT_TRUE(End(u".mp3", over).whole);
  EXPECT_EQ(End(u".mp3", over).length, 21u * 417);
  Bytes broken = Song(20, 12);  // 13 frames, then other bytes
  broken.resize(broken.size() + 3000, 0x5A);
  EXPECT_FALSE(End(u".mp3", broken).whole);
  Bytes uncounted = Song(0, 30);
  uncounted.resize(uncounted.size() + 100, 0);
  EXPECT_EQ(End(u".mp3", uncounted).length, 31u * 417);
}

// A RIFF file's chunks lead from one to the next up to its size: other bytes in the way are a break. A recording
// cut off before its size was written (0) is a file of unknown end: to the next hit, never whole.
TEST(TraceFormats, ARiffFilesChunksLeadToItsSize) {
  auto riff = [](const std::string& form, const std::vector<std::pair<std::string, std::string>>& chunks) {
    std::string body = form;
    for (const auto& [id, data] : chunks) {
      std::string size(4, '\0');
      for (int i = 0; i < 4; ++i) size[i] = static_cast<char>(data.size() >> (8 * i));
      body += id + size + data + (data.size() % 2 ? std::string(1, '\0') : "");
    }
    std::string size(4, '\0');
    for (int i = 0; i < 4; ++i) size[i] = static_cast<char>(body.size() >> (8 * i));
    return "RIFF" + size + body;
  };
  const std::string movi = riff("movi", {{"00dc", std::string(999, 'a')}, {"00dc", std::string(1000, 'b')}}).substr(8);
  const std::string avi = riff("AVI ", {{"LIST", movi}, {"idx1", std::string(32, 'i')}});
  EXPECT_TRUE(End(u".avi", Of(avi + std::string(600, '\0'))).whole);
  std::string broken = avi;
  std::fill(broken.begin() + 1030, broken.begin() + 1300, '\x9C');  // other bytes over the second frame's header
  EXPECT_FALSE(End(u".avi", Of(broken)).whole);
  EXPECT_EQ(End(u".avi", Of(broken)).length, avi.size());
  std::string cutOff = riff("WAVE", {{"fmt ", std::string(16, 'f')}, {"data", std::string(3000, 'd')}});
  std::fill(cutOff.begin() + 4, cutOff.begin() + 8, '\0');
  Bytes file = Of(cutOff + std::string(5000, 'z'));
  trace::MemoryBytes bytes(file.data(), file.size());
  EXPECT_TRUE(trace::PlausibleStart(u".wav", bytes));
  const trace::FileEnd toNextHit = End(u".wav", file, {3072});
  EXPECT_EQ(toNextHit.length, 3072u);
  EXPECT_FALSE(toNextHit.whole);
  EXPECT_FALSE(End(u".wav", file).whole);
}

// WordPad's rich edit control ends its files with a zero byte after the closing brace; a zero after another writer's
// brace is what lies after the file.
TEST(TraceFormats, AnRtfOfWordPadKeepsItsZero) {
  const std::string wordpad = "{\\rtf1\\ansi{\\*\\generator Riched20 10.0.19041}\\f0 text\\par\r\n}\r\n";
  Bytes file = Of(wordpad + std::string(1, '\0') + std::string(100, '\0'));
  EXPECT_EQ(End(u".rtf", file).length, wordpad.size() + 1);
  const std::string other = "{\\rtf1\\ansi\\f0 text\\par\r\n}\r\n";
  EXPECT_EQ(End(u".rtf", Of(other + std::string(100, '\0'))).length, other.size());
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
