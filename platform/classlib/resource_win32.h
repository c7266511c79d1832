// The module whose resources the class library loads (strings for now). Windows build only.
#pragma once

#include <windows.h>

// The executable's own module unless another was set.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hInstResource);
