// File Trace's format readers over arbitrary bytes: the first byte picks the format (an extension of each family),
// the rest is the file, its limit its size. Each reader must stay inside the bytes, end, and never give an end past
// the limit, nor a unit outside what it followed.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "engine/trace/trace_formats.h"

namespace {

const char16_t* const kExtensions[] = {
    u".zip", u".7z",  u".gz",   u".bz2",  u".xz",   u".cab",  u".arj",  u".z",    u".zst",  u".deb",  u".doc",
    u".pdf", u".ps",  u".eps",  u".rtf",  u".wri",  u".chm",  u".hlp",  u".djvu", u".wk1",  u".sqlite", u".pst",
    u".vcf", u".ics", u".html", u".xml",  u".torrent", u".stp", u".dxf", u".evtx", u".pdb", u".jpg",  u".png",
    u".mng", u".gif", u".bmp",  u".ico",  u".tif",  u".psd",  u".pcx",  u".wmf",  u".icns", u".jp2",  u".wav",
    u".aif", u".mp3", u".aac",  u".ogg",  u".mid",  u".au",   u".wma",  u".mkv",  u".flv",  u".mp4",  u".mpg",
    u".voc", u".dsf", u".wv",   u".exe",  u".elf",  u".dex",  u".ttf",  u".ttc",  u".woff", u".swf",  u".glb",
    u".blend", u".u3d", u".vob"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const char16_t* extension = kExtensions[data[0] % (sizeof kExtensions / sizeof kExtensions[0])];
  // An exactly sized copy, so that a read past the end lands outside the allocation.
  const size_t length = size - 1;
  std::unique_ptr<uint8_t[]> copy(new uint8_t[length]);
  if (length > 0) std::memcpy(copy.get(), data + 1, length);
  trace::MemoryBytes bytes(copy.get(), length);
  trace::PlausibleStart(extension, bytes);
  trace::ContentExtension(extension, bytes);
  const std::vector<uint64_t> later = {length / 3, length / 2};
  const trace::FileEnd end = trace::FindFileEnd(extension, bytes, later);
  if (end.length > length) __builtin_trap();
  // Where the file goes on: inside what was followed, at sector starts, ascending.
  const trace::FileUnits units = trace::FindFileUnits(extension, bytes);
  uint64_t last = 0;
  for (uint64_t offset : units.offsets) {
    if (offset <= last || offset >= units.extent || offset % 512 != 0 || units.extent > length) __builtin_trap();
    last = offset;
  }
  return 0;
}
