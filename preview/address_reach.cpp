#include "preview/address_reach.h"

#include <algorithm>

namespace preview {
namespace {

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (Lower(text[i]) != Lower(prefix[i])) return false;
  return true;
}

bool EqualsNoCase(std::u16string_view a, std::u16string_view b) { return a.size() == b.size() && StartsWithNoCase(a, b); }

bool IsLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// Browsers and the system's URL parsers skip leading blanks and control characters.
std::u16string_view Trimmed(std::u16string_view address) {
  size_t first = 0;
  while (first < address.size() && address[first] <= u' ') ++first;
  return address.substr(first);
}

bool HasDrive(std::u16string_view path) { return path.size() >= 2 && IsLetter(path[0]) && path[1] == u':'; }

// The names the system opens as devices wherever they stand as a path's last part, with any extension.
bool IsDeviceName(std::u16string_view part) {
  part = part.substr(0, part.find_first_of(u".:"));
  while (!part.empty() && part.back() == u' ') part.remove_suffix(1);
  for (std::u16string_view name : {u"con", u"prn", u"aux", u"nul", u"conin$", u"conout$"})
    if (EqualsNoCase(part, name)) return true;
  if (part.size() != 4 || !(StartsWithNoCase(part, u"com") || StartsWithNoCase(part, u"lpt"))) return false;
  return std::u16string_view(u"123456789\u00B9\u00B2\u00B3").find(part[3]) != std::u16string_view::npos;
}

// The scheme of an address ("http" of "http://h/"), or "" for none; one letter is a drive.
std::u16string_view Scheme(std::u16string_view address) {
  const size_t colon = address.find(u':');
  if (colon == std::u16string_view::npos || colon < 2 || !IsLetter(address[0])) return {};
  for (size_t i = 1; i < colon; ++i) {
    const char16_t c = address[i];
    if (!IsLetter(c) && !(c >= u'0' && c <= u'9') && c != u'+' && c != u'-' && c != u'.') return {};
  }
  return address.substr(0, colon);
}

}  // namespace

std::u16string FileUrlPath(std::u16string_view url) {
  if (!StartsWithNoCase(url, u"file://")) return {};
  std::u16string path(url.substr(7));
  std::replace(path.begin(), path.end(), u'/', u'\\');
  // "file:///C:\x" and "file://\C:\x" both name C:\x.
  if (path.size() >= 3 && path[0] == u'\\' && path[2] == u':') path.erase(0, 1);
  return path;
}

bool NamesShareOrDevice(std::u16string_view address) {
  address = Trimmed(address);
  std::u16string path;
  if (StartsWithNoCase(address, u"file:")) {
    if (!StartsWithNoCase(address, u"file://")) return true;
    path = FileUrlPath(address);
    // "file://host/share/x": what follows the slashes is a host unless it is a drive or a root.
    if (!path.empty() && path[0] != u'\\' && !HasDrive(path)) return true;
  } else {
    path = address;
    std::replace(path.begin(), path.end(), u'/', u'\\');
  }
  if (StartsWithNoCase(path, u"\\\\") || StartsWithNoCase(path, u"\\??\\")) return true;
  const size_t last = path.find_last_of(u'\\');
  std::u16string_view name(path);
  name.remove_prefix(last == std::u16string::npos ? (HasDrive(path) ? 2 : 0) : last + 1);
  return IsDeviceName(name);
}

bool ReachesOutside(std::u16string_view address) {
  address = Trimmed(address);
  if (NamesShareOrDevice(address)) return true;
  const std::u16string_view scheme = Scheme(address);
  if (scheme.empty()) return false;
  if (EqualsNoCase(scheme, u"res")) {
    // "res://" names a library and a resource in it; the library may lie on a share.
    std::u16string_view library = address.substr(scheme.size() + 1);
    if (library.substr(0, 2) == u"//") library.remove_prefix(2);
    return NamesShareOrDevice(library);
  }
  return !EqualsNoCase(scheme, u"file") && !EqualsNoCase(scheme, u"about");
}

}  // namespace preview
