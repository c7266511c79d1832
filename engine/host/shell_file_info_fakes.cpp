#include "engine/host/shell_file_info_fakes.h"
#include "platform/os/os.h"

#include <cstddef>

namespace host {

namespace {

struct KnownType {
  const char16_t* extension;  // lower case, without the dot
  const char16_t* name;
};

constexpr KnownType kKnownTypes[] = {
    {u"txt", u"Text Document"}, {u"jpg", u"JPEG Image"},  {u"png", u"PNG Image"},
    {u"gif", u"GIF Image"},     {u"bmp", u"Bitmap Image"}, {u"pdf", u"PDF Document"},
    {u"zip", u"Compressed Folder"},
};

std::u16string ExtensionOf(const std::u16string& name) {
  const size_t dot = name.rfind(u'.');
  return dot == std::u16string::npos ? std::u16string() : name.substr(dot + 1);
}

char16_t AsciiUpper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }

// The place of the name's type in kKnownTypes, or -1.
int32_t KnownTypeIndex(const std::u16string& name) {
  std::u16string extension = ExtensionOf(name);
  for (char16_t& c : extension) c = os::AsciiLower(c);
  for (size_t i = 0; i < sizeof(kKnownTypes) / sizeof(kKnownTypes[0]); ++i) {
    if (extension == kKnownTypes[i].extension) return static_cast<int32_t>(i);
  }
  return -1;
}

}  // namespace

int32_t FixedShellFileInfo::GetFolderIconIndex(bool) { return kFolderIcon; }

int32_t FixedShellFileInfo::GetIconIndex(const std::u16string& name, bool) {
  const int32_t known = KnownTypeIndex(name);
  return known < 0 ? kPlainFileIcon : kFirstTypeIcon + known;
}

std::u16string FixedShellFileInfo::GetFileTypeName(const std::u16string& name) {
  const int32_t known = KnownTypeIndex(name);
  if (known >= 0) return kKnownTypes[known].name;
  std::u16string extension = ExtensionOf(name);
  if (extension.empty()) return u"File";
  for (char16_t& c : extension) c = AsciiUpper(c);
  return extension + u" File";
}

}  // namespace host
