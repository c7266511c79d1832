#include "preview/address_reach.h"

#include <algorithm>
#include <string>

#include "platform/os/os.h"

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

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  c = Lower(c);
  return c >= u'a' && c <= u'f' ? c - u'a' + 10 : -1;
}

// One round of "%xx" escapes undone: a run of escaped bytes is read as UTF-8 where it is valid and byte by
// byte otherwise (a single "%B9" and "%C2%B9" both give U+00B9). The text ends at an escaped zero, where the
// system's path functions end it.
std::u16string PercentDecoded(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  std::string bytes;
  auto flush = [&] {
    const std::u16string utf8 = os::FromUtf8(bytes);
    if (utf8.find(u'\uFFFD') == std::u16string::npos) {
      out += utf8;
    } else {
      for (char b : bytes) out += static_cast<char16_t>(static_cast<unsigned char>(b));
    }
    bytes.clear();
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const int high = text[i] == u'%' && i + 2 < text.size() ? HexValue(text[i + 1]) : -1;
    const int low = high >= 0 ? HexValue(text[i + 2]) : -1;
    if (low >= 0) {
      bytes += static_cast<char>(high * 16 + low);
      i += 2;
      continue;
    }
    flush();
    out += text[i];
  }
  flush();
  return out.substr(0, out.find(u'\0'));
}

// How many rounds of escapes a judgement undoes: the system and the components it hands an address to
// undo one or two between them; an address still escaped after that is no address of a real file.
constexpr int kDecodeRounds = 3;

// True when judge holds for the address as written or after any round of decoding, or when escapes remain
// after the last round.
template <typename Judge>
bool AnyDecoding(std::u16string_view address, Judge judge) {
  std::u16string form(address);
  for (int round = 0; round <= kDecodeRounds; ++round) {
    if (judge(Trimmed(form))) return true;
    std::u16string decoded = PercentDecoded(form);
    if (decoded == form) return false;
    form = std::move(decoded);
  }
  return true;
}

// A path's last part ("\\" or "/" separated, behind any drive) is a device name.
bool LastPartIsDevice(std::u16string_view path) {
  const size_t last = path.find_last_of(u"\\/");
  path.remove_prefix(last == std::u16string_view::npos ? (HasDrive(path) ? 2 : 0) : last + 1);
  return IsDeviceName(path);
}

// A drive letter that the system maps to a network share, or whose kind it cannot tell: reading it may
// connect to a host, and wait while the host does not answer.
bool OnNetworkDrive(std::u16string_view path) {
  if (!HasDrive(path)) return false;
  const os::DriveKind kind = os::KindOfDrive(path[0]);
  return kind == os::DriveKind::Remote || kind == os::DriveKind::Unknown;
}

bool NamesShareOrDeviceAsWritten(std::u16string_view address) {
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
  return OnNetworkDrive(path) || LastPartIsDevice(path);
}

// "res://LIBRARY/RESOURCE" (or ".../TYPE/RESOURCE"): the system loads LIBRARY, and where the library's own
// path holds "/" it tries the text before each "/" as a library. So the address reaches outside when it
// starts with a share or ends in a device, or when any of those candidates is a device.
bool ResLibraryReachesOutside(std::u16string_view library) {
  if (library.substr(0, 2) == u"//") library.remove_prefix(2);
  if (NamesShareOrDeviceAsWritten(library)) return true;
  std::u16string_view rest = library;
  for (size_t slash; (slash = rest.find(u'/')) != std::u16string_view::npos; rest.remove_prefix(slash + 1))
    if (LastPartIsDevice(rest.substr(0, slash))) return true;
  return false;
}

bool ReachesOutsideAsWritten(std::u16string_view address) {
  const std::u16string_view scheme = Scheme(address);
  if (!scheme.empty() && EqualsNoCase(scheme, u"res")) return ResLibraryReachesOutside(address.substr(4));
  if (NamesShareOrDeviceAsWritten(address)) return true;
  return !scheme.empty() && !EqualsNoCase(scheme, u"file") && !EqualsNoCase(scheme, u"about");
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

bool NamesShareOrDevice(std::u16string_view address) { return AnyDecoding(address, NamesShareOrDeviceAsWritten); }

bool ReachesOutside(std::u16string_view address) { return AnyDecoding(address, ReachesOutsideAsWritten); }

}  // namespace preview
