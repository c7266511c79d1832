// The stand-in media player control of the tests, registered under its own class id for the life of a
// FakePlayer, with the view pointed at it. Needs DORVANE_FAKE_MEDIA_PLAYER_DLL, the stand-in's path.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <string>

#include "preview/viewers/media_views.h"
#include "preview/viewers/test_registry.h"

namespace mediatest {

// The stand-in control registered under its own class id, and the view pointed at it, for one test.
class FakePlayer {
 public:
  FakePlayer() : saved_(CWMPPlayer4::ControlClsid()) {
    ::CoInitialize(nullptr);  // keeps the stand-in loaded after a view lets COM go
    std::string dll = DORVANE_FAKE_MEDIA_PLAYER_DLL;
    for (char& c : dll) c = c == '/' ? '\\' : c;
    previewtest::SetMachineKey(kKey + L"\\InprocServer32", nullptr, L"Z:" + std::wstring(dll.begin(), dll.end()));
    previewtest::SetMachineKey(kKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
    ::CLSIDFromString(kClsid, &CWMPPlayer4::ControlClsid());
  }
  ~FakePlayer() {
    CWMPPlayer4::ControlClsid() = saved_;
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kKey.c_str());
    ::CoUninitialize();
  }
  // The calls the control took since the last look.
  static std::wstring Calls() {
    using LogFn = const wchar_t* (*)();
    HMODULE dll = ::GetModuleHandleW(L"fake_media_player.dll");
    auto log = dll != nullptr ? reinterpret_cast<LogFn>(reinterpret_cast<void*>(::GetProcAddress(dll, "FakeMediaPlayerLog"))) : nullptr;
    return log != nullptr ? log() : L"(not loaded)";
  }
  // What the control's site answers when the control asks whether it may open url: 3 disallowed, 0 allowed,
  // 1 left to the system, -1 no answer (or the stand-in not loaded).
  static int Follow(const wchar_t* url) {
    using FollowFn = int (*)(const wchar_t*);
    HMODULE dll = ::GetModuleHandleW(L"fake_media_player.dll");
    auto follow =
        dll != nullptr ? reinterpret_cast<FollowFn>(reinterpret_cast<void*>(::GetProcAddress(dll, "FakeMediaPlayerFollow"))) : nullptr;
    return follow != nullptr ? follow(url) : -1;
  }

 private:
  static constexpr const wchar_t* kClsid = L"{8E6F2D41-5C3B-4A7E-9D12-6B4A3C2E1F70}";
  const std::wstring kKey = std::wstring(L"Software\\Classes\\CLSID\\") + kClsid;
  CLSID saved_;
};

// No player control for the life of the object: the view asks for a class id nothing answers to.
class AbsentPlayer {
 public:
  AbsentPlayer() : saved_(CWMPPlayer4::ControlClsid()) {
    CWMPPlayer4::ControlClsid() = CLSID{0x0badc0de, 0x1, 0x2, {3, 4, 5, 6, 7, 8, 9, 10}};
  }
  ~AbsentPlayer() { CWMPPlayer4::ControlClsid() = saved_; }

 private:
  CLSID saved_;
};

}  // namespace mediatest
