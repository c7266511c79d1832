// Opening an image as the image page does, for the driver's modes.
#pragma once

#include <string>

#include "engine/image/disk_image.h"

// Opens path in image (VHD for the extension "vhd" in any case, VHDX otherwise), makes it the current
// DiskImage and the image the current source. false when it does not open (the message is printed).
bool OpenImageSource(const char* path, DiskImage& image);

// Parses a whole decimal number; false (with a message naming what) when text is not one.
bool ParseNumber(const char* text, const char* what, unsigned long long* value);
// A File Trace size in MB, one the file-types dialog offers (1 to 20); false otherwise.
bool ParseFileTraceSize(const char* text, unsigned long long* megabytes);
