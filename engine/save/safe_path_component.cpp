#include "engine/save/safe_path_component.h"

#include <array>

namespace {

bool IsForbidden(char16_t c) {
  if (c < 0x20) return true;
  for (char16_t bad : std::u16string_view(u"<>:\"/\\|?*")) {
    if (c == bad) return true;
  }
  return false;
}

char16_t AsciiUpper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 0x20) : c; }

bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

bool IsPortDigit(char16_t c) { return (c >= u'0' && c <= u'9') || c == 0xB9 || c == 0xB2 || c == 0xB3; }

// The part before the first full stop, with the blanks before that stop: what the system compares with
// its device names.
std::u16string_view DeviceStem(std::u16string_view name) {
  std::u16string_view stem = name.substr(0, name.find(u'.'));
  while (!stem.empty() && stem.back() == u' ') stem.remove_suffix(1);
  return stem;
}

bool IsDeviceName(std::u16string_view name) {
  const std::u16string_view stem = DeviceStem(name);
  static const std::array<std::u16string_view, 6> kPlain = {u"CON", u"PRN", u"AUX", u"NUL", u"CONIN$", u"CONOUT$"};
  for (std::u16string_view device : kPlain) {
    if (EqualsIgnoringAsciiCase(stem, device)) return true;
  }
  return stem.size() == 4 && (EqualsIgnoringAsciiCase(stem.substr(0, 3), u"COM") ||
                              EqualsIgnoringAsciiCase(stem.substr(0, 3), u"LPT")) &&
         IsPortDigit(stem[3]);
}

}  // namespace

std::u16string SafePathComponent(std::u16string_view name) {
  std::u16string safe(name);
  for (char16_t& c : safe) {
    if (IsForbidden(c)) c = u'_';
  }
  for (size_t i = safe.size(); i > 0 && (safe[i - 1] == u'.' || safe[i - 1] == u' '); --i) safe[i - 1] = u'_';
  if (safe.empty()) return u"_";
  if (IsDeviceName(safe)) safe.insert(safe.begin(), u'_');
  return safe;
}
