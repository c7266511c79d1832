#include "engine/image/source_values.h"

#include <utility>

const char DevicePathTable[kDevicePathRows][kDevicePathRowBytes] = {
    "\\\\.\\PhysicalDrive0", "\\\\.\\PhysicalDrive1", "\\\\.\\PhysicalDrive2", "\\\\.\\PhysicalDrive3",
    "\\\\.\\PhysicalDrive4", "\\\\.\\PhysicalDrive5", "\\\\.\\PhysicalDrive6", "\\\\.\\PhysicalDrive7",
    "\\\\.\\PhysicalDrive8", "\\\\.\\PhysicalDrive9"};

std::atomic<uint16_t> CurrentDriveIndex{0};
std::atomic<uint16_t> SourceKind{0};
std::atomic<uint32_t> ImageFormat{0};

SourceHandle DeviceHandle;
SourceHandle VolumeHandle;

void SourceHandle::Set(os::File&& file) {
  file_ = std::move(file);
  state_ = file_.IsOpen() ? State::kOpen : State::kInvalid;
}

void SourceHandle::SetInvalid() {
  file_.Close();
  state_ = State::kInvalid;
}

void SourceHandle::Close() {
  file_.Close();
  state_ = State::kZero;
}

SourceHandle& OpenPhysicalDrive() {
  DeviceHandle.Close();
  os::File file;
  const uint16_t row = CurrentDriveIndex;
  if (row < kDevicePathRows) {
    const char* path = DevicePathTable[row];
    size_t length = 0;
    while (length < kDevicePathRowBytes && path[length] != '\0') ++length;
    file.OpenRead(os::FromAscii(std::string(path, length)), os::Share::Read);
  }
  DeviceHandle.Set(std::move(file));
  return DeviceHandle;
}

uint32_t OpenVolumeHandle(const std::u16string& drive) {
  VolumeHandle.Close();
  os::File file;
  os::OpenVolume(file, u"\\\\.\\" + drive.substr(0, 2));
  VolumeHandle.Set(std::move(file));
  return VolumeHandle.IsOpen() ? 1 : 0;
}
