#include "ui/msgbox/box_store.h"

#include <windows.h>

#include "ui/msgbox/box_message.h"

namespace msgbox {
namespace {

std::wstring WideCopy(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

std::wstring Key(const MessageBoxParams& params) {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::u16string program = FileNameOf(std::u16string(reinterpret_cast<const char16_t*>(path)));
  return WideCopy(AnswerKey(params.company, program));
}

std::wstring ValueName(const MessageBoxParams& params) {
  return WideCopy(AnswerValueName(params.answerName, params.messageNumber));
}

}  // namespace

int StoredAnswer(const MessageBoxParams& params) {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, Key(params).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
  DWORD value = 0;
  DWORD type = 0;
  DWORD size = sizeof value;
  const LONG read = ::RegQueryValueExW(key, ValueName(params).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value),
                                       &size);
  ::RegCloseKey(key);
  // Only a 4-byte number is an answer: anything else someone wrote there is ignored.
  if (read != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) return 0;
  return static_cast<int>(value);
}

void StoreAnswer(const MessageBoxParams& params, int answer) {
  HKEY key = nullptr;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, Key(params).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return;
  }
  const DWORD value = static_cast<DWORD>(answer);
  ::RegSetValueExW(key, ValueName(params).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  ::RegCloseKey(key);
}

}  // namespace msgbox
