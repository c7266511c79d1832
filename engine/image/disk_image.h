// The image dispatcher: holds the reader of the opened image (VHD or VHDX) and forwards open, seek,
// read, close, size and geometry to it. The main frame owns the one instance; ReadSectors reaches it
// through CurrentDiskImage.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/image/vhd_reader.h"
#include "engine/image/vhdx_reader.h"

// Kinds of DiskImage.
constexpr uint32_t kImageVhd = 1;
constexpr uint32_t kImageVhdx = 2;

// What an image file is by its bytes, whatever its name: kImageVhdx for a VHDX (its identifier at the start, or,
// that lost, a header and the region table whole at their places); kImageVhd for anything else, which the VHD
// reader reads (a VHD by its footer or the footer's copy at the start, a raw disk as it stands).
uint32_t ImageKindOfFile(const std::u16string& path);

// What opening an image file by its bytes gave.
enum class ImageOpenResult {
  kOpened,
  kLogNotRead,    // a VHDX opened without its log, which may hold the disk's last changes but cannot be read
  kRefused,       // not an image of its kind that can be read
  kLargeSectors,  // a VHDX of 4096-byte sectors, refused: the disks read here have sectors of 512 bytes
};

// The message that tells the user what opening gave (empty for kOpened); path as it is to be shown.
std::u16string ImageOpenMessage(ImageOpenResult result, uint32_t kind, const std::u16string& path);

class DiskImage {
 public:
  DiskImage() = default;
  ~DiskImage();
  DiskImage(const DiskImage&) = delete;
  DiskImage& operator=(const DiskImage&) = delete;

  // Sets the kind and replaces the reader of that kind with a new one; 1 when a reader was made
  // (kinds 1 and 2), 0 for any other kind. A reader of the other kind stays until DestroyReaders.
  uint32_t CreateReader(uint32_t kind);
  // Every operation below uses the reader of the current kind; without one it returns 0.
  uint32_t Open(std::u16string path);
  // Makes the reader the file's bytes call for (ImageKindOfFile; Kind() tells which) and opens the file with it.
  ImageOpenResult OpenFile(const std::u16string& path);
  uint32_t Seek(uint64_t offset);
  uint32_t Read(void* buffer, uint32_t count);
  uint32_t Close();
  void DestroyReaders();

  // The VHD footer's geometry (kind 1); cylinders and heads are remembered and given again for other kinds.
  uint32_t GetCylinders();
  uint32_t GetHeads();
  uint32_t GetSectorsPerTrack();
  // The VHDX virtual disk size (kind 2); 0 otherwise.
  uint64_t GetVirtualDiskSize() const;
  // The virtual disk's size in bytes for either kind (VHD: the footer's current size); 0 without a reader.
  uint64_t GetDiskSize() const;

  uint32_t Kind() const { return kind_; }

 private:
  VhdReader* Vhd() const { return kind_ == kImageVhd ? vhd_.get() : nullptr; }
  VhdxReader* Vhdx() const { return kind_ == kImageVhdx ? vhdx_.get() : nullptr; }

  uint32_t kind_ = 0;
  std::unique_ptr<VhdReader> vhd_;
  std::unique_ptr<VhdxReader> vhdx_;
  uint32_t cylinders_ = 0;
  uint32_t heads_ = 0;
};

// The one access point to the main frame's DiskImage: the frame sets it when it creates its DiskImage
// and clears it (nullptr) before destroying it; tests set their own.
void SetCurrentDiskImage(DiskImage* image);
DiskImage* CurrentDiskImage();
