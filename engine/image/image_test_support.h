// What the tests of the image readers share: where the test images are, and reading a whole disk
// through ReadSectors to compare it with what qemu-img read from the same image.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/image/disk_image.h"

namespace image_test {

constexpr uint64_t kMiB = 1024 * 1024;

// The shared test images (tools/images) and the folder of this library's own (make_test_images.py).
std::u16string SharedImage(const std::string& name);
std::u16string OwnImage(const std::string& name);
// The lines of whole_disk.txt: {path of the image, path of qemu's raw copy}.
std::vector<std::pair<std::u16string, std::u16string>> WholeDiskImages();
// A DiskImage opened on path by its bytes (DiskImage::OpenFile) and made the current one, with SourceKind 1,
// for the life of the object.
class OpenedImage {
 public:
  explicit OpenedImage(const std::u16string& path);
  ~OpenedImage();
  bool opened() const { return opened_; }
  DiskImage& image() { return image_; }

 private:
  DiskImage image_;
  bool opened_ = false;
};

std::vector<uint8_t> ReadFileRange(const std::u16string& path, uint64_t offset, uint32_t length);
uint64_t FileSize(const std::u16string& path);
std::vector<uint8_t> ReadFileAll(const std::u16string& path);
void WriteFile(const std::u16string& path, const std::vector<uint8_t>& bytes);
std::u16string TempPath(const std::u16string& name);

// ReadSectors of count sectors from lba; an empty vector when it returned 0.
std::vector<uint8_t> Sectors(uint64_t lba, uint32_t count);
// The bytes of the raw file from byte offset, zeros past its end.
std::vector<uint8_t> RawBytes(const std::u16string& raw, uint64_t offset, uint32_t length);

// count sectors read from lba of the current image equal raw's, and the first ends with 55 AA (a boot
// sector or partition table found far into a disk).
void ExpectSignedSectorsLikeRaw(const std::u16string& raw, uint64_t lba, uint32_t count);

// Every image of whole_disk.txt whose name ends in extension, but skip, compared with ReadsLikeRaw;
// how many there were.
int ExpectWholeDisksReadLikeRaw(const std::u16string& extension, const std::u16string& skip);

// Every sector of raw read from the image with ReadSectors in runs of runSectors.
::testing::AssertionResult ReadsLikeRaw(const std::u16string& image, const std::u16string& raw,
                                        uint32_t runSectors = 2047);
// The same of the current DiskImage, opened on image by the caller.
::testing::AssertionResult CurrentReadsLikeRaw(const std::u16string& image, const std::u16string& raw,
                                               uint32_t runSectors);

}  // namespace image_test
