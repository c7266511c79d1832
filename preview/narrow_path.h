// Paths for outside libraries that take narrow (system code page) text: the text converters, DXF.dll.
#pragma once

#include <cstddef>

#include "platform/classlib/cstring.h"

// The narrow form of a path in the system's ANSI code page into a buffer of size bytes, terminated; false
// (and an empty buffer) when it does not fit or holds a character the code page can only approximate,
// which could name another file. A folder the code page cannot spell is named by its short form.
bool NarrowPath(const CString& path, char* buffer, size_t size);
// The system's conversion, as WideCharToMultiByte; a test gives one that refuses what Windows refuses.
using WideToNarrowFn = int(__stdcall*)(unsigned, unsigned long, const wchar_t*, int, char*, int, const char*, int*);
// The same in the given code page (UTF-8 among them: a system may use it as its ANSI code page).
bool NarrowPathInCodePage(const CString& path, unsigned codePage, char* buffer, size_t size,
                          WideToNarrowFn convert = nullptr);
