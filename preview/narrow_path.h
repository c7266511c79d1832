// Paths for outside libraries that take narrow (system code page) text: the text converters, DXF.dll.
#pragma once

#include <cstddef>

#include "platform/classlib/cstring.h"

// The narrow form of a path into a buffer of size bytes, terminated; false (and an empty buffer) when it
// does not fit or holds a character the code page can only approximate, which could name another file.
bool NarrowPath(const CString& path, char* buffer, size_t size);
