#include "engine/image/disk_image.h"

#include <gtest/gtest.h>

#include <sstream>

#include "engine/image/byte_order.h"
#include "engine/image/image_test_support.h"

namespace {

using namespace image_test;

TEST(DiskImage, GeometryAndSizeComeFromTheReaderOfTheKind) {
  const std::u16string vhd = SharedImage("mbr_primary.dynamic.vhd");
  const std::vector<uint8_t> footer = ReadFileRange(vhd, FileSize(vhd) - 512, 512);
  ASSERT_EQ(footer.size(), 512u);
  DiskImage image;
  EXPECT_EQ(image.GetCylinders(), 0u);
  ASSERT_EQ(image.CreateReader(kImageVhd), 1u);
  ASSERT_EQ(image.Open(vhd), 1u);
  EXPECT_EQ(image.GetCylinders(), LoadBe16(&footer[56]));
  EXPECT_EQ(image.GetHeads(), footer[58]);
  EXPECT_EQ(image.GetSectorsPerTrack(), footer[59]);
  EXPECT_EQ(image.GetVirtualDiskSize(), 0u);
  EXPECT_EQ(image.GetDiskSize(), LoadBe64(&footer[48]));
  EXPECT_EQ(image.GetDiskSize(), FileSize(SharedImage("mbr_primary.raw")));

  ASSERT_EQ(image.CreateReader(kImageVhdx), 1u);
  ASSERT_EQ(image.Open(SharedImage("mbr_extended.8m.vhdx")), 1u);
  EXPECT_EQ(image.GetVirtualDiskSize(), FileSize(OwnImage("mbr_extended.8m.vhdx.raw")));
  EXPECT_EQ(image.GetDiskSize(), image.GetVirtualDiskSize());
  EXPECT_EQ(image.GetSectorsPerTrack(), 0u);
  EXPECT_EQ(image.GetCylinders(), LoadBe16(&footer[56])) << "remembered from the VHD";
  EXPECT_EQ(image.GetHeads(), footer[58]);
  EXPECT_EQ(image.Close(), 1u);
  image.DestroyReaders();
  EXPECT_EQ(image.Seek(0), 0u);
}

// A raw disk opened as a VHD (named .vhd) has the file's size, and the geometry qemu-img's footer gives a disk of
// that size.
TEST(DiskImage, ARawDiskNamedVhdIsTheFileWithTheGeometryOfItsSize) {
  const std::u16string fixed = SharedImage("mbr_primary.fixed.vhd");
  const std::u16string raw = SharedImage("mbr_primary.raw");
  const std::vector<uint8_t> footer = ReadFileRange(fixed, FileSize(fixed) - 512, 512);
  ASSERT_EQ(footer.size(), 512u);
  DiskImage image;
  ASSERT_EQ(image.CreateReader(kImageVhd), 1u);
  ASSERT_EQ(image.Open(raw), 1u);
  EXPECT_EQ(image.GetDiskSize(), FileSize(raw));
  EXPECT_EQ(image.GetDiskSize(), LoadBe64(&footer[48]));
  EXPECT_EQ(image.GetCylinders(), LoadBe16(&footer[56]));
  EXPECT_EQ(image.GetHeads(), footer[58]);
  EXPECT_EQ(image.GetSectorsPerTrack(), footer[59]);
}

// Files whose names say another format than their bytes (misnamed.txt of make_test_images.py): the bytes choose
// the reader, and each file reads as qemu-img reads it. A VHDX that lost its identifier is still a VHDX, refused as
// one: read as a raw disk, its volumes would be found at the places of the file, not of the disk.
TEST(DiskImage, TheFilesBytesChooseTheReaderWhateverItsName) {
  const std::vector<uint8_t> text = ReadFileAll(OwnImage("misnamed.txt"));
  std::istringstream lines(std::string(text.begin(), text.end()));
  std::string name, raw;
  uint32_t kind = 0, opens = 0;
  int rows = 0;
  while (lines >> name >> kind >> opens >> raw) {
    SCOPED_TRACE(name);
    ++rows;
    const std::u16string path = OwnImage(name);
    EXPECT_EQ(ImageKindOfFile(path), kind);
    DiskImage image;
    EXPECT_EQ(image.OpenFile(path), opens ? ImageOpenResult::kOpened : ImageOpenResult::kRefused);
    EXPECT_EQ(image.Kind(), kind);
    if (raw != "-") {
      EXPECT_TRUE(ReadsLikeRaw(path, OwnImage(raw)));
    }
  }
  EXPECT_GE(rows, 7);
}

TEST(DiskImage, WhatOpeningGaveIsSaid) {
  EXPECT_EQ(ImageOpenMessage(ImageOpenResult::kOpened, kImageVhdx, u"d.vhdx"), u"");
  EXPECT_EQ(ImageOpenMessage(ImageOpenResult::kRefused, kImageVhd, u"d.vhdx"),
            u"Either VHD file is highly corrupted or it is invalid file type.  Please select another file to recover.");
  EXPECT_EQ(ImageOpenMessage(ImageOpenResult::kRefused, kImageVhdx, u"d.vhd"),
            u"Either VHDX file is highly corrupted or it is invalid file type.  Please select another file to recover.");
  EXPECT_NE(ImageOpenMessage(ImageOpenResult::kLargeSectors, kImageVhdx, u"d.vhdx").find(u"d.vhdx is a VHDX file of "
                                                                                          u"4096-byte sectors"),
            std::u16string::npos);
  EXPECT_NE(ImageOpenMessage(ImageOpenResult::kLogNotRead, kImageVhdx, u"d.vhdx").find(u"The log of d.vhdx cannot "
                                                                                        u"be read."),
            std::u16string::npos);
}

TEST(DiskImage, OtherKindsHaveNoReader) {
  DiskImage image;
  EXPECT_EQ(image.CreateReader(3), 0u);
  uint8_t buffer[512];
  EXPECT_EQ(image.Open(SharedImage("mbr_primary.dynamic.vhd")), 0u);
  EXPECT_EQ(image.Seek(0), 0u);
  EXPECT_EQ(image.Read(buffer, sizeof buffer), 0u);
  EXPECT_EQ(image.Close(), 0u);
}

TEST(DiskImage, ImagesThatDoNotOpen) {
  DiskImage image;
  image.CreateReader(kImageVhd);
  EXPECT_EQ(image.Open(OwnImage("no such file.vhd")), 0u);
  image.CreateReader(kImageVhdx);
  EXPECT_EQ(image.Open(SharedImage("mbr_primary.dynamic.vhd")), 0u) << "a VHD is no VHDX";
  EXPECT_EQ(FileExists(SharedImage("mbr_primary.dynamic.vhd")), 1u);
  EXPECT_EQ(FileExists(OwnImage("no such file.vhd")), 0u);
}

}  // namespace
