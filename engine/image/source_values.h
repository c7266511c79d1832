// What the current source is. Process-wide values written on the user-interface thread (source page,
// image page, snapshot loader) and read by the workers.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "platform/os/os.h"

// The physical drive paths "\\.\PhysicalDrive0" to "\\.\PhysicalDrive9", zero-padded; row
// CurrentDriveIndex is the first argument of every ReadSectors call.
constexpr int kDevicePathRows = 10;
constexpr int kDevicePathRowBytes = 20;
extern const char DevicePathTable[kDevicePathRows][kDevicePathRowBytes];

// Values of SourceKind.
constexpr uint16_t kSourceDisk = 1;          // read through the current DiskImage
constexpr uint16_t kSourceLogicalDrive = 2;  // read through VolumeHandle
constexpr uint16_t kSourceNothing = 3;

extern std::atomic<uint16_t> CurrentDriveIndex;
extern std::atomic<uint16_t> SourceKind;
// 0: the opened image is VHD (DiskImage kind 1); 1: VHDX (kind 2).
extern std::atomic<uint32_t> ImageFormat;
constexpr uint32_t kImageFormatVhdx = 1;

// A handle of the current source as the program keeps it: 0 (nothing opened yet), the invalid value
// (an open that failed), or an open file.
class SourceHandle {
 public:
  bool IsZero() const { return state_ == State::kZero; }
  bool IsInvalid() const { return state_ == State::kInvalid; }
  bool IsOpen() const { return state_ == State::kOpen; }
  os::File& File() { return file_; }

  // Takes the result of an open: an open file, or (not open) the invalid value.
  void Set(os::File&& file);
  // Makes the handle the invalid value, closing an open file.
  void SetInvalid();
  // Closes an open file; the handle becomes 0.
  void Close();

 private:
  enum class State { kZero, kInvalid, kOpen };
  State state_ = State::kZero;
  os::File file_;
};

// The handle opened on the selected physical drive's path. It is only ever a gate that the program
// opens: no sector is read through it, so a failed open (without administrator rights, always under
// Wine) leaves reads from the opened image working.
extern SourceHandle DeviceHandle;
// The handle of the selected logical drive, through which ReadSectors reads when SourceKind is 2.
extern SourceHandle VolumeHandle;

// Closes DeviceHandle, then opens row CurrentDriveIndex of DevicePathTable for reading into it.
SourceHandle& OpenPhysicalDrive();
// Closes VolumeHandle, then opens "\\.\" followed by the first two characters of drive (letter and
// colon) for reading, read and write shared; 1 when it opened.
uint32_t OpenVolumeHandle(const std::u16string& drive);
