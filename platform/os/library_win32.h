// Libraries the program loads by name while it runs (optional ones such as the RAR and DXF libraries, and
// system ones it uses when they are there). A library found by its name alone in the current folder would
// run inside the program, and the current folder is where the user's files are. Windows only.
#pragma once

#include <windows.h>

namespace os {

// Loads the library named by fileName (a file name without a folder) from the program's folder or the
// system folder only; null when it is in neither, or when fileName names a folder.
HMODULE LoadProgramOrSystemLibrary(const wchar_t* fileName);

// Takes the current folder out of the folders the system searches for every library the process loads
// from now on (the system's own components and outside controls load theirs by name too).
void KeepCurrentFolderOutOfLibrarySearch();

}  // namespace os
