#include "engine/image/image_test_support.h"

#include <algorithm>
#include <cstring>
#include <sstream>

#include "engine/image/read_sectors.h"
#include "platform/os/os.h"

namespace image_test {
namespace {

std::u16string Join(const char* folder, const std::string& name) {
  return os::FromUtf8(folder) + u"\\" + os::FromUtf8(name);
}

bool EndsWith(const std::u16string& s, const std::u16string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

std::u16string SharedImage(const std::string& name) { return Join(DORVANE_SHARED_IMAGES, name); }
std::u16string OwnImage(const std::string& name) { return Join(DORVANE_OWN_IMAGES, name); }

std::vector<std::pair<std::u16string, std::u16string>> WholeDiskImages() {
  const std::vector<uint8_t> text = ReadFileAll(OwnImage("whole_disk.txt"));
  std::istringstream lines(std::string(text.begin(), text.end()));
  std::vector<std::pair<std::u16string, std::u16string>> out;
  std::string where, name;
  while (lines >> where >> name) {
    out.emplace_back(where == "own" ? OwnImage(name) : SharedImage(name), OwnImage(name + ".raw"));
  }
  return out;
}

OpenedImage::OpenedImage(const std::u16string& path) {
  const ImageOpenResult result = image_.OpenFile(path);
  opened_ = result == ImageOpenResult::kOpened || result == ImageOpenResult::kLogNotRead;
  SetCurrentDiskImage(&image_);
  SourceKind = kSourceDisk;
}

OpenedImage::~OpenedImage() { SetCurrentDiskImage(nullptr); }

std::vector<uint8_t> ReadFileRange(const std::u16string& path, uint64_t offset, uint32_t length) {
  std::vector<uint8_t> out(length);
  os::File f;
  uint32_t got = 0;
  if (!f.OpenRead(path) || !f.Seek(static_cast<int64_t>(offset), os::Origin::Begin) ||
      !f.Read(out.data(), length, &got)) {
    ADD_FAILURE() << "cannot read " << os::ToUtf8(path);
    return {};
  }
  out.resize(got);
  return out;
}

uint64_t FileSize(const std::u16string& path) {
  os::File f;
  uint64_t size = 0;
  if (!f.OpenRead(path) || !f.Size(&size)) ADD_FAILURE() << "cannot open " << os::ToUtf8(path);
  return size;
}

std::vector<uint8_t> ReadFileAll(const std::u16string& path) {
  return ReadFileRange(path, 0, static_cast<uint32_t>(FileSize(path)));
}

void WriteFile(const std::u16string& path, const std::vector<uint8_t>& bytes) {
  os::File f;
  ASSERT_TRUE(f.OpenWrite(path)) << os::ToUtf8(path);
  ASSERT_TRUE(f.Write(bytes.data(), static_cast<uint32_t>(bytes.size())));
  ASSERT_TRUE(f.Close());
}

std::u16string TempPath(const std::u16string& name) { return os::ProcessTempPath(u"dorvane_image_test") + u"_" + name; }

std::vector<uint8_t> Sectors(uint64_t lba, uint32_t count) {
  std::vector<uint8_t> out(size_t{count} * kSectorSize, 0xAA);
  const uint32_t ok = ReadSectors(DevicePathTable[0], static_cast<uint32_t>(lba), static_cast<uint32_t>(lba >> 32),
                                  count, out.data());
  if (!ok) {
    EXPECT_EQ(std::count(out.begin(), out.end(), 0), static_cast<long>(out.size())) << "a failed read left bytes";
    return {};
  }
  return out;
}

std::vector<uint8_t> RawBytes(const std::u16string& raw, uint64_t offset, uint32_t length) {
  std::vector<uint8_t> out = ReadFileRange(raw, offset, length);
  out.resize(length, 0);
  return out;
}

void ExpectSignedSectorsLikeRaw(const std::u16string& raw, uint64_t lba, uint32_t count) {
  const std::vector<uint8_t> got = Sectors(lba, count);
  ASSERT_EQ(got.size(), size_t{count} * kSectorSize);
  EXPECT_EQ(got[510], 0x55);
  EXPECT_EQ(got[511], 0xAA);
  EXPECT_EQ(got, RawBytes(raw, lba * kSectorSize, count * kSectorSize));
}

int ExpectWholeDisksReadLikeRaw(const std::u16string& extension, const std::u16string& skip) {
  int seen = 0;
  for (const auto& [image, raw] : WholeDiskImages()) {
    if (!EndsWith(image, extension) || EndsWith(image, skip)) continue;
    SCOPED_TRACE(os::ToUtf8(image));
    EXPECT_TRUE(ReadsLikeRaw(image, raw));
    ++seen;
  }
  return seen;
}

::testing::AssertionResult ReadsLikeRaw(const std::u16string& image, const std::u16string& raw, uint32_t runSectors) {
  OpenedImage opened(image);
  if (!opened.opened()) return ::testing::AssertionFailure() << os::ToUtf8(image) << " does not open";
  return CurrentReadsLikeRaw(image, raw, runSectors);
}

::testing::AssertionResult CurrentReadsLikeRaw(const std::u16string& image, const std::u16string& raw,
                                               uint32_t runSectors) {
  os::File rawFile;
  uint64_t size = 0;
  if (!rawFile.OpenRead(raw) || !rawFile.Size(&size)) {
    return ::testing::AssertionFailure() << "no oracle " << os::ToUtf8(raw);
  }
  const uint64_t sectors = size / kSectorSize;
  std::vector<uint8_t> mine(size_t{runSectors} * kSectorSize);
  std::vector<uint8_t> theirs(mine.size());
  for (uint64_t lba = 0; lba < sectors; lba += runSectors) {
    const auto n = static_cast<uint32_t>(std::min<uint64_t>(runSectors, sectors - lba));
    if (!ReadSectors(DevicePathTable[0], static_cast<uint32_t>(lba), static_cast<uint32_t>(lba >> 32), n,
                     mine.data())) {
      return ::testing::AssertionFailure() << os::ToUtf8(image) << ": ReadSectors failed at sector " << lba;
    }
    uint32_t got = 0;
    if (!rawFile.Read(theirs.data(), n * kSectorSize, &got) || got != n * kSectorSize) {
      return ::testing::AssertionFailure() << "short oracle " << os::ToUtf8(raw);
    }
    if (std::memcmp(mine.data(), theirs.data(), size_t{n} * kSectorSize) != 0) {
      uint32_t s = 0;
      while (std::memcmp(&mine[size_t{s} * kSectorSize], &theirs[size_t{s} * kSectorSize], kSectorSize) == 0) ++s;
      return ::testing::AssertionFailure() << os::ToUtf8(image) << ": sector " << lba + s << " differs from qemu-img's";
    }
  }
  return ::testing::AssertionSuccess();
}

}  // namespace image_test
