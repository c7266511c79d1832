#include "app/instance_mutex.h"

HANDLE InstanceMutex = nullptr;
DWORD InstanceMutexError = 0;

namespace {

const wchar_t kMutexName[] = L"Global\\{5C9E2B71-3D48-4F0A-A6E2-8B17D40C93F5}";

}  // namespace

void CreateInstanceMutex() {
  InstanceMutex = ::CreateMutexW(nullptr, FALSE, kMutexName);
  InstanceMutexError = ::GetLastError();
}

void CloseInstanceMutex() {
  if (InstanceMutex != nullptr) ::CloseHandle(InstanceMutex);
  InstanceMutex = nullptr;
}
