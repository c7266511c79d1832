#include "engine/scan/compound_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <iterator>
#include <tuple>

#include "engine/image/byte_order.h"
#include "engine/image/disk_image.h"
#include "engine/image/source_values.h"
#include "engine/scan/scan_test_support.h"
#include "platform/os/os.h"

namespace {

using namespace scan_test;

struct Sample {
  std::string name;
  std::string appName;      // "" for none
  std::u16string extension;  // "" for none: the hit keeps its own
  std::vector<uint8_t> bytes;
};

// The samples of make_compound_samples.py with what each should give.
std::vector<Sample> Samples() {
  std::vector<Sample> samples;
  for (const auto& row : ReadTable(CompoundSample("index.tsv"))) {
    if (row.size() != 3) continue;
    Sample s{row[0], row[1] == "-" ? "" : row[1], row[2] == "-" ? u"" : os::FromUtf8(row[2]),
             ReadFileBytes(CompoundSample(row[0]))};
    samples.push_back(std::move(s));
  }
  return samples;
}

TEST(CompoundFile, SamplesNameTheirApplication) {
  const std::vector<Sample> samples = Samples();
  ASSERT_GE(samples.size(), 17u);
  for (const Sample& s : samples) {
    SCOPED_TRACE(s.name);
    EXPECT_EQ(ReadCompoundAppName(s.bytes.data(), s.bytes.size()), s.appName);
    EXPECT_EQ(ClassifyCompoundFile(s.bytes.data(), s.bytes.size()), s.extension);
  }
}

TEST(CompoundFile, OwnReaderNamesTheSameApplication) {
  for (const Sample& s : Samples()) {
    SCOPED_TRACE(s.name);
    EXPECT_EQ(ReadCompoundAppNameOwn(s.bytes.data(), s.bytes.size()), s.appName);
  }
}

// A byte of a compound file changed, at an offset into its header or into one of the sectors that the
// samples' writers lay out the same way: 0 allocation table, 1 directory, 2 mini allocation table, 3 the
// mini stream (which starts with the summary information in most samples).
struct Damage {
  const char* what;
  int sector;  // -1: the header
  size_t offset;
};

constexpr Damage kDamages[] = {
    {"signature", -1, 0x00},
    {"major version", -1, 0x1B},
    {"byte order", -1, 0x1C},
    {"sector shift", -1, 0x1E},
    {"mini sector shift", -1, 0x21},
    {"allocation table sector count", -1, 0x2C},
    {"first directory sector", -1, 0x30},
    {"mini stream cutoff", -1, 0x39},
    {"first mini allocation table sector", -1, 0x3C},
    {"mini allocation table sector count", -1, 0x40},
    {"first list sector, none counted", -1, 0x44},
    {"list sector count", -1, 0x48},
    {"first allocation table sector", -1, 0x4C},
    {"allocation table: end of the directory", 0, 4},
    {"allocation table: link in the mini stream", 0, 13},
    {"root: type", 1, 0x42},
    {"root: child", 1, 0x4C},
    {"root: mini stream start", 1, 0x74},
    {"root: mini stream size", 1, 0x7A},
    {"entry 1: first character", 1, 128},
    {"entry 1: name length", 1, 128 + 0x40},
    {"entry 1: type", 1, 128 + 0x42},
    {"entry 1: start", 1, 128 + 0x74},
    {"entry 1: size", 1, 128 + 0x78},
    {"entry 2: first character", 1, 256},
    {"entry 2: name length", 1, 256 + 0x40},
    {"entry 2: start", 1, 256 + 0x74},
    {"mini allocation table: a link", 2, 1},
    {"mini allocation table: a later link", 2, 9},
    {"property set: byte order", 3, 0},
    {"property set: section size", 3, 49},
    {"property set: property count", 3, 52},
    {"property set: code page id", 3, 56},
    {"property set: code page offset", 3, 61},
    {"property set: second offset", 3, 70},
    {"property set: code page type", 3, 80},
};

// The compound-file samples cut short and damaged: both readers must give the same name (in the Windows
// build, the system's structured storage and ours). Not among the damages, as the storage under Wine
// behaves in ways of its own there: a code page that it does not know (it converts into a text of its own
// while ours keeps the bytes), a section offset (it reads the first section whatever the offset says),
// and a Unicode property set (it cuts the name short; ReadSummaryAppName's own test covers ours).
// Directory links past the end or round a loop, from which the storage does not return, never reach it:
// DamagedDirectoryLinksAreRefusedPromptly.
TEST(CompoundFile, BothReadersAgreeOnDamagedSamples) {
  int compared = 0;
  for (const Sample& s : Samples()) {
    if (s.name != "excel.cfb" && s.name != "big_summary.cfb" && s.name != "version4.cfb") continue;
    ASSERT_GT(s.bytes.size(), 4096u);
    const size_t sectorSize = s.bytes[0x1E] == 12 ? 4096 : 512;
    std::vector<std::pair<std::string, std::vector<uint8_t>>> variants;
    for (size_t cut : {size_t{512}, 2 * sectorSize, 3 * sectorSize, 4 * sectorSize, s.bytes.size() - 300}) {
      variants.emplace_back("cut at " + std::to_string(cut),
                            std::vector<uint8_t>(s.bytes.begin(), s.bytes.begin() + static_cast<ptrdiff_t>(cut)));
    }
    for (const Damage& d : kDamages) {
      const size_t at = d.sector < 0 ? d.offset : (static_cast<size_t>(d.sector) + 1) * sectorSize + d.offset;
      std::vector<uint8_t> changed = s.bytes;
      changed[at] ^= 0x41;
      variants.emplace_back(d.what, changed);
    }
    for (const auto& [what, v] : variants) {
      SCOPED_TRACE(s.name + ": " + what);
      EXPECT_EQ(ReadCompoundAppName(v.data(), v.size()), ReadCompoundAppNameOwn(v.data(), v.size()));
      ++compared;
    }
  }
  EXPECT_EQ(compared, 3 * (5 + static_cast<int>(std::size(kDamages))));
}

// The application name, read within a deadline.
std::string ReadWithinDeadline(const std::vector<uint8_t>& bytes, const std::string& what) {
  std::string name;
  RunWithinDeadline(20, "reading the application name of " + what,
                    [&] { name = ReadCompoundAppName(bytes.data(), bytes.size()); });
  return name;
}

// Directories whose links lead past their end or round a loop: refused by our reader's check, so that the
// Windows build never hands them to the system's structured storage, which does not return from some of
// them. Each read must return, with no name, in both builds.
TEST(CompoundFile, DamagedDirectoryLinksAreRefusedPromptly) {
  int damaged = 0;
  for (const Sample& s : Samples()) {
    if (s.name != "excel.cfb" && s.name != "version4.cfb" && s.name != "other_app.cfb") continue;
    SCOPED_TRACE(s.name);
    ASSERT_TRUE(IsSoundCompoundFile(s.bytes.data(), s.bytes.size()));
    EXPECT_EQ(ReadWithinDeadline(s.bytes, s.name), s.appName);
    const size_t sectorSize = s.bytes[0x1E] == 12 ? 4096 : 512;
    const size_t directory = (size_t{LoadLe32(s.bytes.data() + 0x30)} + 1) * sectorSize;
    const uint32_t entries = static_cast<uint32_t>(sectorSize / 128);
    // (entry, link field offset, value): past the directory's end, far past it, onto itself, onto the root.
    std::vector<std::tuple<uint32_t, size_t, uint32_t, std::string>> links;
    for (uint32_t id = 1; id < entries && s.bytes[directory + id * 128 + 0x42] != 0; ++id) {
      for (size_t field : {size_t{0x44}, size_t{0x48}}) {
        links.emplace_back(id, field, entries, "past the end");
        links.emplace_back(id, field, 0xFFFFFFF0u, "far past the end");
        links.emplace_back(id, field, id, "onto itself");
        links.emplace_back(id, field, 0, "onto the root");
      }
    }
    links.emplace_back(0, 0x4C, entries + 7, "root child past the end");
    links.emplace_back(0, 0x4C, 0, "root child onto the root");
    ASSERT_GE(links.size(), 10u);
    for (const auto& [id, field, value, what] : links) {
      std::vector<uint8_t> changed = s.bytes;
      const size_t at = directory + id * 128 + field;
      for (int i = 0; i < 4; ++i) changed[at + i] = static_cast<uint8_t>(value >> (8 * i));
      const std::string label = s.name + " entry " + std::to_string(id) + " link " + std::to_string(field) + " " + what;
      SCOPED_TRACE(label);
      EXPECT_FALSE(IsSoundCompoundFile(changed.data(), changed.size()));
      EXPECT_EQ(ReadWithinDeadline(changed, label), "");
      EXPECT_EQ(ReadCompoundAppNameOwn(changed.data(), changed.size()), "");
      ++damaged;
    }
  }
  EXPECT_GE(damaged, 30);
}

TEST(CompoundFile, ExtensionForApplicationName) {
  const std::pair<const char*, const char16_t*> cases[] = {
      {"Microsoft Office PowerPoint", u".ppt"},
      {"Microsoft Excel", u".xls"},
      {"Microsoft Word 8.0", u".doc"},
      {"Microsoft Office Word", u".doc"},
      {"PowerPoint and Excel and Word", u".ppt"},  // tested in this order
      {"Excel from Word", u".xls"},
      {"Microsoft Publisher", u".pub"},
      {"microsoft word", u".pub"},  // case matters
      {"", u""},                    // no name: the hit keeps its own extension
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first);
    EXPECT_EQ(CompoundExtensionForAppName(c.first), c.second);
  }
}

// A summary-information stream with one section of the given properties.
std::vector<uint8_t> PropertySet(const std::vector<std::pair<uint32_t, std::vector<uint8_t>>>& props) {
  std::vector<uint8_t> table, body;
  auto put32 = [](std::vector<uint8_t>* v, uint32_t x) {
    for (int i = 0; i < 4; ++i) v->push_back(static_cast<uint8_t>(x >> (8 * i)));
  };
  const uint32_t start = 8 + 8 * static_cast<uint32_t>(props.size());
  for (const auto& p : props) {
    put32(&table, p.first);
    put32(&table, start + static_cast<uint32_t>(body.size()));
    body.insert(body.end(), p.second.begin(), p.second.end());
    while (body.size() % 4 != 0) body.push_back(0);
  }
  std::vector<uint8_t> stream = {0xFE, 0xFF, 0, 0, 6, 0, 2, 0};
  stream.resize(24, 0);
  put32(&stream, 1);
  const uint8_t fmtid[16] = {0xE0, 0x85, 0x9F, 0xF2, 0xF9, 0x4F, 0x68, 0x10,
                             0xAB, 0x91, 0x08, 0x00, 0x2B, 0x27, 0xB3, 0xD9};
  stream.insert(stream.end(), fmtid, fmtid + 16);
  put32(&stream, 48);
  put32(&stream, 8 + static_cast<uint32_t>(table.size() + body.size()));
  put32(&stream, static_cast<uint32_t>(props.size()));
  stream.insert(stream.end(), table.begin(), table.end());
  stream.insert(stream.end(), body.begin(), body.end());
  return stream;
}

std::vector<uint8_t> Typed(uint32_t type, uint32_t count, const std::string& bytes) {
  std::vector<uint8_t> v(8 + bytes.size(), 0);
  v[0] = static_cast<uint8_t>(type);
  v[4] = static_cast<uint8_t>(count);
  std::copy(bytes.begin(), bytes.end(), v.begin() + 8);
  return v;
}

std::vector<uint8_t> CodePage(uint16_t cp) {
  return {2, 0, 0, 0, static_cast<uint8_t>(cp & 0xFF), static_cast<uint8_t>(cp >> 8), 0, 0};
}

TEST(SummaryAppName, PropertySets) {
  const std::string excel("Microsoft Excel\0", 16);
  const std::string wide("W\0o\0r\0d\0\xE9\0\0\0", 12);
  const auto withName = [&](const std::vector<uint8_t>& name, uint16_t codePage = 1252) {
    return PropertySet({{1, CodePage(codePage)}, {18, name}});
  };
  // Offsets in a stream of withName(): the section at 48; its size 48, count 52; the code page's id 56 and
  // offset 60; the name's id 64 and offset 68.
  const std::vector<uint8_t> whole = withName(Typed(30, 16, excel));
  const auto changed = [&](size_t at, uint8_t value) {
    std::vector<uint8_t> v = whole;
    v[at] = value;
    return v;
  };
  struct Case {
    const char* what;
    std::vector<uint8_t> stream;
    std::string name;
  };
  const Case cases[] = {
      {"code page and name", whole, "Microsoft Excel"},
      {"no zero in the string", withName(Typed(30, 5, "Excel")), "Excel"},
      {"stops at the first zero", withName(Typed(30, 8, std::string("Ab\0cdefg", 8))), "Ab"},
      {"Unicode code page", withName(Typed(30, 12, wide), 1200), "Word?"},
      {"a section longer than the stream is read as far as it goes", changed(49, 0x40), "Microsoft Excel"},
      {"no code page", PropertySet({{18, Typed(30, 16, excel)}}), ""},
      {"no application name", PropertySet({{1, CodePage(1252)}, {2, Typed(30, 16, excel)}}), ""},
      {"a wide string is no 8-bit string", withName(Typed(31, 6, wide)), ""},
      {"string longer than the section", withName(Typed(30, 200, excel)), ""},
      {"wrong byte order", changed(0, 0xFF), ""},
      {"section past the end", changed(44, 0xF0), ""},
      {"more properties than the section holds", changed(52, 0xFF), ""},
      {"the code page's value outside the section", changed(61, 0x40), ""},
      {"the name's value outside the section", changed(68, 0xF0), ""},
      {"cut short", std::vector<uint8_t>(whole.begin(), whole.begin() + 47), ""},
      {"empty", {}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ReadSummaryAppName(c.stream.data(), c.stream.size()), c.name);
  }
}

// File Trace reads the 1 MB at a hit's sector from the image: carving.fixed.vhd holds the carving samples.
TEST(CompoundFile, ClassifiesFromTheSourceSectors) {
  DiskImage image;
  ASSERT_EQ(image.CreateReader(kImageVhd), 1u);
  ASSERT_EQ(image.Open(SharedImage("carving.fixed.vhd")), 1u);
  SetCurrentDiskImage(&image);
  const uint16_t kind = SourceKind.load();
  SourceKind = kSourceDisk;
  int found = 0;
  for (const Sample& s : Samples()) {
    unsigned sector = 0;
    char type[8] = {};
    if (std::sscanf(s.name.c_str(), "carving_%u_%7[a-z]", &sector, type) != 2) continue;
    SCOPED_TRACE(s.name);
    EXPECT_EQ(ClassifyCompoundFile(static_cast<uint32_t>(sector)), s.extension);
    ++found;
  }
  EXPECT_EQ(found, 4);
  EXPECT_EQ(ClassifyCompoundFile(0xFFFFFF00u), u"");  // past the end: every read fails
  SetCurrentDiskImage(nullptr);
  SourceKind = kind;
  image.Close();
}

}  // namespace
