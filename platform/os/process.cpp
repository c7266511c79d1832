#include <atomic>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>

#include "os_internal.h"

namespace os {
namespace {

std::atomic<OutOfMemoryHandler> g_outOfMemoryHandler{nullptr};

std::mutex& VolumeMapLock() {
  static std::mutex lock;
  return lock;
}
std::map<std::u16string, std::u16string>& VolumeMap() {
  static std::map<std::u16string, std::u16string> map;
  return map;
}
std::map<char16_t, DriveKind>& FakeDriveKinds() {
  static std::map<char16_t, DriveKind> kinds;
  return kinds;
}

char16_t UpperLetter(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }

}  // namespace

std::u16string ProcessTempPath(std::u16string_view stem) {
  std::u16string path = TempFolderPath();
  path += stem;
  path += u'_';
  path += FromAscii(std::to_string(ProcessId()));
  return path;
}

// What a file owns is its handle alone; both systems move it the same way.
File::~File() { Close(); }
File::File(File&& other) noexcept : handle_(other.handle_) { other.handle_ = kClosed; }
File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = other.handle_;
    other.handle_ = kClosed;
  }
  return *this;
}

void SetOutOfMemoryHandler(OutOfMemoryHandler handler) { g_outOfMemoryHandler = handler; }

void OutOfMemory() {
  if (OutOfMemoryHandler handler = g_outOfMemoryHandler) {
    handler(u"Out of memory, close other applications and run again");
  }
  std::_Exit(1);
}

void MapVolumeForTesting(const std::u16string& volumePath, const std::u16string& file) {
  std::lock_guard<std::mutex> hold(VolumeMapLock());
  if (file.empty()) {
    VolumeMap().erase(volumePath);
  } else {
    VolumeMap()[volumePath] = file;
  }
}

// The file a test mapped to volumePath, or empty.
std::u16string MappedVolumeFile(const std::u16string& volumePath) {
  std::lock_guard<std::mutex> hold(VolumeMapLock());
  auto it = VolumeMap().find(volumePath);
  return it == VolumeMap().end() ? std::u16string() : it->second;
}

DriveKind KindOfDrive(char16_t letter) {
  letter = UpperLetter(letter);
  if (letter < u'A' || letter > u'Z') return DriveKind::NoSuchDrive;
  {
    std::lock_guard<std::mutex> hold(VolumeMapLock());
    const auto fake = FakeDriveKinds().find(letter);
    if (fake != FakeDriveKinds().end()) return fake->second;
  }
  return SystemDriveKind(letter);
}

void SetDriveKindForTesting(char16_t letter, DriveKind kind) {
  std::lock_guard<std::mutex> hold(VolumeMapLock());
  FakeDriveKinds()[UpperLetter(letter)] = kind;
}

void ForgetDriveKindsForTesting() {
  std::lock_guard<std::mutex> hold(VolumeMapLock());
  FakeDriveKinds().clear();
}

bool OpenVolume(File& file, const std::u16string& volumePath) {
  const std::u16string mapped = MappedVolumeFile(volumePath);
  if (!mapped.empty()) return file.OpenRead(mapped, Share::ReadWrite);
  return OpenSystemVolume(file, volumePath);
}

}  // namespace os
