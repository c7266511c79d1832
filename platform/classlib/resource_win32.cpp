#include "platform/classlib/resource_win32.h"

namespace {
HINSTANCE g_resourceHandle = nullptr;
}

HINSTANCE AfxGetResourceHandle() {
  return g_resourceHandle != nullptr ? g_resourceHandle : ::GetModuleHandleW(nullptr);
}

void AfxSetResourceHandle(HINSTANCE hInstResource) { g_resourceHandle = hInstResource; }
