#include "engine/image/disk_image.h"

#include <atomic>
#include <exception>

namespace {

std::atomic<DiskImage*> g_current{nullptr};

}  // namespace

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
