#include "tools/enginectl/image_source.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "engine/image/read_sectors.h"
#include "engine/records/scan_parameters.h"
#include "platform/os/os.h"

bool OpenImageSource(const char* path, DiskImage& image) {
  const std::u16string name = os::FromUtf8(path);
  // The file's bytes choose the reader, whatever its name, as on the program's first page.
  const ImageOpenResult result = image.OpenFile(name);
  const std::string said = os::ToUtf8(ImageOpenMessage(result, image.Kind(), name));
  if (result == ImageOpenResult::kRefused || result == ImageOpenResult::kLargeSectors) {
    std::fprintf(stderr, "enginectl: %s: %s\n", path, said.c_str());
    return false;
  }
  if (!said.empty()) std::fprintf(stderr, "enginectl: %s\n", said.c_str());
  ImageFormat = image.Kind() == kImageVhdx ? 1 : 0;
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
