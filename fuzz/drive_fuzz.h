// The fuzz input as logical drive F:: the sparse file it describes (image_fuzz_file.h) opened as page 1 opens a
// drive, with the engine's messages recorded rather than shown.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/host/fakes.h"
#include "engine/image/source_values.h"
#include "fuzz/image_fuzz_file.h"
#include "platform/os/os.h"

namespace fuzz_drive {

inline host::RecordingMessages& Messages() {
  static host::RecordingMessages messages;
  static const bool installed = (host::Current().messages = &messages, true);
  (void)installed;
  return messages;
}

// Opens the input as the source; false when it makes no file or the drive does not open.
inline bool OpenInput(const uint8_t* data, size_t size) {
  Messages();
  const std::string path = fuzz_image::WriteImageFile(data, size);
  if (path.empty()) return false;
  os::MapVolumeForTesting(u"\\\\.\\F:", os::FromUtf8(path));
  if (OpenVolumeHandle(u"F:") != 1) return false;
  SourceKind = kSourceLogicalDrive;
  return true;
}

}  // namespace fuzz_drive
