// Shared between the portable parts of the OS layer and its two system implementations.
#pragma once

#include "os.h"

namespace os {

// Opens the system's own volume (Win32: CreateFileW on the "\\.\X:" path; POSIX: no volumes).
bool OpenSystemVolume(File& file, const std::u16string& volumePath);
// The system's own answer for the drive of an upper-case letter.
DriveKind SystemDriveKind(char16_t letter);

// A time to set on a file, or null to leave that time alone: 0 is a time its volume never set (not the
// first moment of 1601), and a time with its top bit set is none any system converts (Windows refuses it
// and would then set none of the three).
inline const FileTime* SettableTime(const FileTime* time) {
  return time != nullptr && *time != 0 && (*time >> 63) == 0 ? time : nullptr;
}

#ifdef _WIN32
// The path as the Win32 file functions get it. They refuse paths of MAX_PATH characters and more
// (folders: MAX_PATH - 12) unless the path carries the prefix "\\?\", which in turn turns off the
// system's own tidying of the path: a long path is therefore made full first (separators, "." and ".."
// resolved) and then prefixed ("\\?\UNC\" for a share). Short paths, paths that already have a
// prefix and device paths ("\\.\") are passed as they are.
std::u16string SystemPath(const std::u16string& path);
#endif

}  // namespace os
