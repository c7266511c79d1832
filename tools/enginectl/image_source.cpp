#include "tools/enginectl/image_source.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "engine/image/read_sectors.h"
#include "engine/records/scan_parameters.h"
#include "platform/os/os.h"

namespace {

bool HasVhdExtension(const std::u16string& path) {
  const size_t dot = path.rfind(u'.');
  if (dot == std::u16string::npos || path.size() - dot != 4) return false;
  const char16_t* want = u"vhd";
  for (size_t i = 0; i < 3; ++i) {
    char16_t c = path[dot + 1 + i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c != want[i]) return false;
  }
  return true;
}

}  // namespace

bool OpenImageSource(const char* path, DiskImage& image) {
  const std::u16string name = os::FromUtf8(path);
  const bool vhd = HasVhdExtension(name);
  image.CreateReader(vhd ? kImageVhd : kImageVhdx);
  if (!image.Open(name)) {
    std::fprintf(stderr, "enginectl: %s: not a %s image that can be read\n", path, vhd ? "VHD" : "VHDX");
    return false;
  }
  ImageFormat = vhd ? 0 : 1;
  CurrentDriveIndex = 0;
  SourceKind = kSourceDisk;
  SetCurrentDiskImage(&image);
  return true;
}

bool ParseNumber(const char* text, const char* what, unsigned long long* value) {
  char* end = nullptr;
  errno = 0;
  *value = std::strtoull(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || text[0] == '-') {
    std::fprintf(stderr, "enginectl: %s is not a number: %s\n", what, text);
    return false;
  }
  return true;
}

bool ParseFileTraceSize(const char* text, unsigned long long* megabytes) {
  return ParseNumber(text, "file size", megabytes) && *megabytes >= 1 && *megabytes <= kLargestFileTraceSizeMb;
}
