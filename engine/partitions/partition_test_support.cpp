#include "engine/partitions/partition_test_support.h"

#include <cstring>
#include <stdexcept>

#include "engine/image/source_values.h"
#include "platform/os/os.h"

namespace partition_test {
namespace {

void PutBe(uint8_t* at, uint64_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i, value >>= 8) at[i] = static_cast<uint8_t>(value);
}

std::vector<uint8_t> FixedFooter(uint64_t size, const host::DiskGeometry& geometry) {
  std::vector<uint8_t> footer(512, 0);
  std::memcpy(footer.data(), "conectix", 8);
  PutBe(&footer[8], 2, 4);                   // features
  PutBe(&footer[12], 0x00010000, 4);         // version
  PutBe(&footer[16], ~uint64_t{0}, 8);       // no dynamic header
  std::memcpy(&footer[28], "dorv", 4);
  std::memcpy(&footer[36], "Wi2k", 4);
  PutBe(&footer[40], size, 8);
  PutBe(&footer[48], size, 8);
  PutBe(&footer[56], geometry.cylinders, 2);
  footer[58] = static_cast<uint8_t>(geometry.heads);
  footer[59] = static_cast<uint8_t>(geometry.sectorsPerTrack);
  PutBe(&footer[60], 2, 4);                  // fixed disk
  uint32_t sum = 0;
  for (uint8_t b : footer) sum += b;
  PutBe(&footer[64], ~sum, 4);
  return footer;
}

bool EndsWith(const std::u16string& text, const std::u16string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

uint8_t* DiskBytes::At(uint32_t sector, size_t offset, size_t length) {
  const size_t at = size_t{sector} * 512 + offset;
  if (offset + length > 512 || at + length > bytes_.size()) throw std::out_of_range("outside the test disk");
  return &bytes_[at];
}

void DiskBytes::SetEntry(uint32_t sector, int index, uint8_t type, uint32_t first, uint32_t count) {
  uint8_t* entry = At(sector, 446 + 16 * static_cast<size_t>(index), 16);
  entry[4] = type;
  for (int i = 0; i < 4; ++i) {
    entry[8 + i] = static_cast<uint8_t>(first >> (8 * i));
    entry[12 + i] = static_cast<uint8_t>(count >> (8 * i));
  }
}

void DiskBytes::Sign(uint32_t sector) {
  uint8_t* mark = At(sector, 510, 2);
  mark[0] = 0x55;
  mark[1] = 0xAA;
}

void DiskBytes::PutText(uint32_t sector, size_t offset, const std::string& text) {
  std::memcpy(At(sector, offset, text.size()), text.data(), text.size());
}

void DiskBytes::PutLe16(uint32_t sector, size_t offset, uint16_t value) {
  uint8_t* at = At(sector, offset, 2);
  at[0] = static_cast<uint8_t>(value);
  at[1] = static_cast<uint8_t>(value >> 8);
}

void DiskBytes::PutLe32(uint32_t sector, size_t offset, uint32_t value) {
  uint8_t* at = At(sector, offset, 4);
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

bool WriteFixedVhd(const std::u16string& path, const uint8_t* data, size_t size, const host::DiskGeometry& geometry) {
  std::vector<uint8_t> file(data, data + size);
  file.resize((size + 511) / 512 * 512, 0);
  const std::vector<uint8_t> footer = FixedFooter(file.size(), geometry);
  file.insert(file.end(), footer.begin(), footer.end());
  os::File out;
  return out.OpenWrite(path) && out.Write(file.data(), static_cast<uint32_t>(file.size())) && out.Close();
}

CurrentDisk::CurrentDisk(const std::u16string& path) {
  const bool vhd = EndsWith(path, u".vhd");
  image_.CreateReader(vhd ? kImageVhd : kImageVhdx);
  opened_ = image_.Open(path) == 1;
  SetCurrentDiskImage(&image_);
  SourceKind = kSourceDisk;
  CurrentDriveIndex = 0;
  ImageFormat = vhd ? 0 : 1;
}

CurrentDisk::~CurrentDisk() {
  SetCurrentDiskImage(nullptr);
  image_.Close();
}

}  // namespace partition_test
