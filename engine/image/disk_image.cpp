#include "engine/image/disk_image.h"

#include <atomic>
#include <cstring>
#include <exception>
#include <vector>

#include "engine/image/byte_order.h"
#include "engine/image/crc32c.h"

namespace {

std::atomic<DiskImage*> g_current{nullptr};

constexpr uint32_t kSectorBytes = 512;

bool Holds(ImageFile& file, uint64_t offset, const char* text, uint32_t length) {
  char bytes[8] = {};
  return file.ReadWhole(offset, bytes, length) && std::memcmp(bytes, text, length) == 0;
}

// A VHDX structure of length bytes at offset: its signature, and its checksum (the 4 bytes after the signature).
bool WholeStructure(ImageFile& file, uint64_t offset, uint32_t length, const char* signature) {
  std::vector<uint8_t> bytes(length);
  return file.ReadWhole(offset, bytes.data(), length) && std::memcmp(bytes.data(), signature, 4) == 0 &&
         Crc32cWithoutField(bytes.data(), length, 4) == LoadLe32(&bytes[4]);
}

// A VHDX whose identifier was lost keeps its headers (64 and 128 KiB) and region tables (192 and 256 KiB).
bool HasVhdxStructures(ImageFile& file) {
  const bool header = WholeStructure(file, 64 * 1024, 4096, "head") || WholeStructure(file, 128 * 1024, 4096, "head");
  return header && (WholeStructure(file, 192 * 1024, 65536, "regi") || WholeStructure(file, 256 * 1024, 65536, "regi"));
}

}  // namespace

uint32_t ImageKindOfFile(const std::u16string& path) {
  ImageFile file;
  if (!file.Open(path, os::Share::ReadWrite)) return kImageVhd;
  if (Holds(file, 0, "vhdxfile", 8)) return kImageVhdx;
  const uint64_t size = file.Size();
  const bool vhd = (size >= kSectorBytes && Holds(file, size - kSectorBytes, "conectix", 8)) ||
                   Holds(file, 0, "conectix", 8);
  return !vhd && HasVhdxStructures(file) ? kImageVhdx : kImageVhd;
}

std::u16string ImageOpenMessage(ImageOpenResult result, uint32_t kind, const std::u16string& path) {
  switch (result) {
    case ImageOpenResult::kOpened:
      return {};
    case ImageOpenResult::kLogNotRead:
      return u"The log of " + path +
             u" cannot be read.  If the disk was not closed properly, what was written to it last may be missing "
             u"from the files recovered, or older.";
    case ImageOpenResult::kLargeSectors:
      return path + u" is a VHDX file of 4096-byte sectors, and only disks of 512-byte sectors can be read.  "
                    u"Please select another file to recover.";
    case ImageOpenResult::kRefused:
      break;
  }
  return kind == kImageVhdx
             ? u"Either VHDX file is highly corrupted or it is invalid file type.  Please select another file to recover."
             : u"Either VHD file is highly corrupted or it is invalid file type.  Please select another file to recover.";
}

void SetCurrentDiskImage(DiskImage* image) { g_current = image; }
DiskImage* CurrentDiskImage() { return g_current; }

DiskImage::~DiskImage() { DestroyReaders(); }

uint32_t DiskImage::CreateReader(uint32_t kind) {
  kind_ = kind;
  if (kind == kImageVhd) {
    vhd_.reset();
    vhd_ = std::make_unique<VhdReader>();
    return 1;
  }
  if (kind == kImageVhdx) {
    vhdx_.reset();
    vhdx_ = std::make_unique<VhdxReader>();
    return 1;
  }
  return 0;
}

uint32_t DiskImage::Open(std::u16string path) {
  if (VhdReader* r = Vhd()) return r->Open(path);
  if (VhdxReader* r = Vhdx()) return r->Open(path);
  return 0;
}

ImageOpenResult DiskImage::OpenFile(const std::u16string& path) {
  CreateReader(ImageKindOfFile(path));
  if (Open(path) != 1) return ImageOpenResult::kRefused;
  const VhdxReader* vhdx = Vhdx();
  if (vhdx == nullptr) return ImageOpenResult::kOpened;
  if (vhdx->GetLogicalSectorSize() != kSectorBytes) {
    CreateReader(kImageVhdx);  // a reader that holds nothing: no read reaches the refused file
    return ImageOpenResult::kLargeSectors;
  }
  return vhdx->LogState() == VhdxLogState::kNotRead ? ImageOpenResult::kLogNotRead : ImageOpenResult::kOpened;
}

uint32_t DiskImage::Seek(uint64_t offset) {
  if (VhdReader* r = Vhd()) return r->Seek(offset);
  if (VhdxReader* r = Vhdx()) return r->Seek(offset);
  return 0;
}

uint32_t DiskImage::Read(void* buffer, uint32_t count) {
  try {
    if (VhdReader* r = Vhd()) return r->Read(buffer, count);
    if (VhdxReader* r = Vhdx()) return r->Read(buffer, count);
  } catch (const std::exception&) {
  }
  return 0;
}

uint32_t DiskImage::Close() {
  if (VhdReader* r = Vhd()) return r->Close();
  if (VhdxReader* r = Vhdx()) {
    r->Close();
    return 1;
  }
  return 0;
}

void DiskImage::DestroyReaders() {
  if (vhdx_) vhdx_->Close();
  vhdx_.reset();
  if (vhd_) vhd_->Close();
  vhd_.reset();
}

uint32_t DiskImage::GetCylinders() {
  if (VhdReader* r = Vhd()) cylinders_ = r->GetCylinders();
  return cylinders_;
}

uint32_t DiskImage::GetHeads() {
  if (VhdReader* r = Vhd()) heads_ = r->GetHeads();
  return heads_;
}

uint32_t DiskImage::GetSectorsPerTrack() {
  const VhdReader* r = Vhd();
  return r ? r->GetSectorsPerTrack() : 0;
}

uint64_t DiskImage::GetDiskSize() const {
  if (const VhdReader* r = Vhd()) return r->GetCurrentSize();
  return GetVirtualDiskSize();
}

uint64_t DiskImage::GetVirtualDiskSize() const {
  const VhdxReader* r = Vhdx();
  return r ? r->GetVirtualDiskSize() : 0;
}
