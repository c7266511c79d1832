#include "engine/image/read_sectors.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/image/image_test_support.h"

namespace {

using namespace image_test;

// The image road reads mbr_primary.fixed.vhd (whose virtual disk is the file without its footer); the logical
// drive Q: is tiny.vhd.raw, mapped through the OS layer's test hook. Their bytes tell the roads apart.
class ReadSectorsRoads : public ::testing::Test {
 protected:
  void SetUp() override {
    os::MapVolumeForTesting(u"\\\\.\\Q:", volume_);
    DeviceHandle.Close();
    VolumeHandle.Close();
  }
  void TearDown() override {
    os::MapVolumeForTesting(u"\\\\.\\Q:", u"");
    DeviceHandle.Close();
    VolumeHandle.Close();
    SourceKind = 0;
  }
  const std::u16string image_ = SharedImage("mbr_primary.fixed.vhd");
  const std::u16string volume_ = OwnImage("tiny.vhd.raw");
};

enum class Device { kZero, kInvalid, kOpenedPhysicalDrive };
enum class From { kImage, kVolume, kZeros };

TEST_F(ReadSectorsRoads, SourceValuesChooseTheRoad) {
  const uint64_t volumeSectors = FileSize(volume_) / 512;
  const uint64_t imageSectors = FileSize(image_) / 512;
  struct Case {
    const char* what;
    uint16_t kind;
    Device device;
    bool volumeOpen;
    uint64_t lba;
    uint32_t count;
    uint32_t result;
    From from;
  };
  const Case cases[] = {
      {"disk, DeviceHandle 0", 1, Device::kZero, false, 0, 8, 1, From::kImage},
      {"disk, DeviceHandle INVALID_HANDLE_VALUE", 1, Device::kInvalid, false, 63, 8, 1, From::kImage},
      {"disk, after OpenPhysicalDrive", 1, Device::kOpenedPhysicalDrive, false, 2048, 16, 1, From::kImage},
      {"nothing selected reads the image", 3, Device::kZero, false, 1, 1, 1, From::kImage},
      // The disk ends inside the read: its sectors are kept, the rest cannot be read (zeros, and a failure).
      {"disk, read past the end of its data", 1, Device::kZero, true, imageSectors - 2, 8, 0, From::kImage},
      {"logical drive, although an image is open", 2, Device::kZero, true, 4088, 16, 1, From::kVolume},
      {"logical drive, read past its end", 2, Device::kInvalid, true, volumeSectors - 3, 8, 0, From::kVolume},
      {"logical drive, 65536 sectors read nothing", 2, Device::kZero, true, 0, 65536, 1, From::kZeros},
      {"logical drive not opened", 2, Device::kZero, false, 0, 8, 0, From::kZeros},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    OpenedImage opened(image_);
    ASSERT_TRUE(opened.opened());
    SourceKind = c.kind;
    DeviceHandle.Close();
    if (c.device == Device::kInvalid) DeviceHandle.SetInvalid();
    if (c.device == Device::kOpenedPhysicalDrive) OpenPhysicalDrive();
    VolumeHandle.Close();
    if (c.volumeOpen) {
      ASSERT_EQ(OpenVolumeHandle(u"Q:\\"), 1u);
    }

    std::vector<uint8_t> buffer(size_t{c.count} * 512, 0xAA);
    EXPECT_EQ(ReadSectors(DevicePathTable[0], static_cast<uint32_t>(c.lba), 0, c.count, buffer.data()), c.result);
    const std::u16string& source = c.from == From::kVolume ? volume_ : image_;
    std::vector<uint8_t> expected =
        c.from == From::kZeros ? std::vector<uint8_t>(buffer.size(), 0) : RawBytes(source, c.lba * 512, c.count * 512);
    if (c.from == From::kImage) {
      // The fixed disk's closing footer is no part of the disk: it reads as zeros.
      const uint64_t diskEnd = (imageSectors - 1) * 512;
      for (uint64_t i = 0; i < expected.size(); ++i) {
        if (c.lba * 512 + i >= diskEnd) expected[i] = 0;
      }
    }
    EXPECT_TRUE(buffer == expected);
  }
}

TEST_F(ReadSectorsRoads, RefusedReadsLeaveNoOldBytes) {
  OpenedImage opened(OwnImage("tiny.vhd"));  // dynamic: its table ends a few blocks in
  ASSERT_TRUE(opened.opened());
  EXPECT_TRUE(Sectors(uint64_t{1} << 40, 4).empty()) << "past the block table";
  EXPECT_TRUE(Sectors(uint64_t{1} << 55, 4).empty()) << "byte offset beyond 64 bits";
  EXPECT_FALSE(Sectors(0, 4).empty());
  SetCurrentDiskImage(nullptr);
  EXPECT_TRUE(Sectors(0, 4).empty()) << "no image";
}

TEST_F(ReadSectorsRoads, CountWhoseByteLengthOverflowsIsRefused) {
  OpenedImage opened(image_);
  ASSERT_TRUE(opened.opened());
  uint8_t small[16];
  std::fill(std::begin(small), std::end(small), 0xAA);
  // 0x800000 sectors are 4 GiB: refused before anything is read or written.
  EXPECT_EQ(ReadSectors(DevicePathTable[0], 0, 0, 0x800000, small), 0u);
  EXPECT_EQ(std::count(std::begin(small), std::end(small), 0xAA), 16);
}

TEST_F(ReadSectorsRoads, SeekVolumeGivesThePosition) {
  EXPECT_EQ(SeekVolume(VolumeHandle, 512, 0, 0), -1) << "not opened";
  ASSERT_EQ(OpenVolumeHandle(u"Q:"), 1u);
  EXPECT_EQ(SeekVolume(VolumeHandle, 4096, 0, 0), 4096);
  EXPECT_EQ(SeekVolume(VolumeHandle, 512, 0, 1), 4608);
  EXPECT_EQ(SeekVolume(VolumeHandle, 0, 0, 2), static_cast<int64_t>(FileSize(volume_)));
}

TEST(SourceValues, PhysicalDriveGateFailsWithoutStoppingAnything) {
  EXPECT_STREQ(DevicePathTable[9], "\\\\.\\PhysicalDrive9");
  CurrentDriveIndex = 0;
  EXPECT_FALSE(OpenPhysicalDrive().IsZero());
  CurrentDriveIndex = 10;  // past the table: never opened
  EXPECT_TRUE(OpenPhysicalDrive().IsInvalid());
  CurrentDriveIndex = 0;
  DeviceHandle.Close();
  EXPECT_TRUE(DeviceHandle.IsZero());
}

}  // namespace
