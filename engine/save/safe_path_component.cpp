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

// The system drops full stops and blanks at the end of a name: each becomes '_'.
void ReplaceTrailingDotsAndBlanks(std::u16string& name) {
  for (size_t i = name.size(); i > 0 && (name[i - 1] == u'.' || name[i - 1] == u' '); --i) name[i - 1] = u'_';
}

// The first length units of text, one fewer where the cut would split a surrogate pair.
std::u16string_view Head(std::u16string_view text, size_t length) {
  if (length >= text.size()) return text;
  if (length > 0 && text[length] >= 0xDC00 && text[length] <= 0xDFFF) --length;
  return text.substr(0, length);
}

}  // namespace

std::u16string NameWithPrefix(std::u16string_view prefix, std::u16string_view name) {
  std::u16string whole = std::u16string(prefix) + std::u16string(name);
  if (whole.size() <= kMaxNameLength) return whole;
  const size_t dot = name.rfind(u'.');
  const std::u16string_view extension = dot == std::u16string_view::npos || dot == 0 ? u"" : name.substr(dot);
  if (prefix.size() + extension.size() < kMaxNameLength) {
    const size_t room = kMaxNameLength - prefix.size() - extension.size();
    const std::u16string_view stem = name.substr(0, name.size() - extension.size());
    whole = std::u16string(prefix) + std::u16string(Head(stem, room)) + std::u16string(extension);
  } else {
    whole = std::u16string(Head(whole, kMaxNameLength));
  }
  ReplaceTrailingDotsAndBlanks(whole);
  return whole;
}

std::u16string SafePathComponent(std::u16string_view name) {
  std::u16string safe(name);
  for (char16_t& c : safe) {
    if (IsForbidden(c)) c = u'_';
  }
  ReplaceTrailingDotsAndBlanks(safe);
  if (safe.empty()) return u"_";
  if (safe.size() > kMaxNameLength) safe = NameWithPrefix(u"", safe);
  if (IsDeviceName(safe)) safe.insert(safe.begin(), u'_');
  return safe;
}
