// The one running copy: a named mutex made before the application object starts, and closed at exit.
#pragma once

#include <windows.h>

extern HANDLE InstanceMutex;
// GetLastError() right after the mutex was made: ERROR_ALREADY_EXISTS when another copy runs.
extern DWORD InstanceMutexError;

void CreateInstanceMutex();
void CloseInstanceMutex();
