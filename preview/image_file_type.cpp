#include "preview/image_file_type.h"

#include <string>

namespace {

struct Ending {
  const char16_t* text;
  uint32_t type;
};

// Four-character endings are tried first: "wbmp" must not be taken for "bmp".
constexpr Ending kLongEndings[] = {
    {u"jpeg", preview::kImageJpeg}, {u"tiff", preview::kImageTiff}, {u"wbmp", preview::kImageWbmp}};
constexpr Ending kShortEndings[] = {
    {u"bmp", preview::kImageBmp},      {u"gif", preview::kImageGif},      {u"jpg", preview::kImageJpeg},
    {u"png", preview::kImagePng},      {u"ico", preview::kImageIcon},     {u"tif", preview::kImageTiff},
    {u"tga", preview::kImageTga},      {u"pcx", preview::kImagePcx},      {u"wmf", preview::kImageMetafile},
    {u"emf", preview::kImageMetafile}, {u"j2k", preview::kImageJp2},      {u"jp2", preview::kImageJp2},
    {u"j2c", preview::kImageJpc},      {u"jpc", preview::kImageJpc},      {u"pgx", preview::kImagePgx},
    {u"pnm", preview::kImagePnm},      {u"pgm", preview::kImagePnm},      {u"ppm", preview::kImagePnm},
    {u"ras", preview::kImageRas}};

// The last count characters in ASCII lower case (other characters stay as they are and match nothing).
std::u16string LowerTail(std::u16string_view name, size_t count) {
  std::u16string tail(name.substr(name.size() - count));
  for (char16_t& c : tail) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return tail;
}

template <size_t N>
uint32_t Match(std::u16string_view name, const Ending (&endings)[N], size_t length) {
  if (name.size() < length) return 0;
  const std::u16string tail = LowerTail(name, length);
  for (const Ending& ending : endings) {
    if (tail == ending.text) return ending.type;
  }
  return 0;
}

}  // namespace

uint32_t IsSupportedImageFile(std::u16string_view name) {
  if (uint32_t type = Match(name, kLongEndings, 4)) return type;
  return Match(name, kShortEndings, 3);
}
