// Opening an image as the image page does, for the driver's modes.
#pragma once

#include <string>

#include "engine/image/disk_image.h"

// Opens path in image with the reader its bytes call for (DiskImage::OpenFile), makes it the current DiskImage
// and the image the current source. false when it does not open or is refused (the message is printed to
// stderr, as is the warning of a VHDX whose log cannot be read).
bool OpenImageSource(const char* path, DiskImage& image);

// Parses a whole decimal number; false (with a message naming what) when text is not one.
bool ParseNumber(const char* text, const char* what, unsigned long long* value);
// A File Trace size in MB, one the file-types dialog offers (1 to 20); false otherwise.
bool ParseFileTraceSize(const char* text, unsigned long long* megabytes);
