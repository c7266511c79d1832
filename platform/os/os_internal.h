// Shared between the portable parts of the OS layer and its two system implementations.
#pragma once

#include "os.h"

namespace os {

// Opens the system's own volume (Win32: CreateFileW on the "\\.\X:" path; POSIX: no volumes).
bool OpenSystemVolume(File& file, const std::u16string& volumePath);

}  // namespace os
