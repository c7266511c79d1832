#include "preview/preview_extensions.h"

#include <iterator>

std::u16string PreviewItemPath;

const PreviewSlot kPreviewSlotOrder[kPreviewSlotCount] = {
    PreviewSlot::kDxf,   PreviewSlot::kImage,     PreviewSlot::kHtml,       PreviewSlot::kDocument,
    PreviewSlot::kAvi,   PreviewSlot::kMedia,     PreviewSlot::kDbf,        PreviewSlot::kThumb,
    PreviewSlot::kArchive, PreviewSlot::kMdb,     PreviewSlot::kNoPreview,  PreviewSlot::kCustomHtml,
    PreviewSlot::kPsd,   PreviewSlot::kLargeFile, PreviewSlot::kPicture,
};

namespace {

struct ExtensionGroup {
  PreviewAction action;
  const char16_t* const* extensions;
};

// The groups in the order they are tried; an extension belongs to the first group that lists it.
const char16_t* const kImages[] = {u".png", u".j2k", u".jp2", u".j2c", u".jpc", u".jpeg", u".pcx", u".pnm",
                                   u".pgm", u".ppm", u".bmp", u".tga", u".tif", u".tiff", u".jpg", nullptr};
const char16_t* const kPictures[] = {u".ico", u".emf", nullptr};
const char16_t* const kBrowser[] = {u".gif", u".vdoc", u".xls", u".xlsx", u".htm", u".mht", nullptr};
const char16_t* const kOwnHtml[] = {u".html", nullptr};
const char16_t* const kDocuments[] = {u".pdf", u".rtf", u".doc", u".docx", nullptr};
const char16_t* const kArchives[] = {u".zip", u".cab", u".rar", nullptr};
const char16_t* const kPsd[] = {u".psd", nullptr};
const char16_t* const kAvi[] = {u".avi", nullptr};
const char16_t* const kMedia[] = {u".wmv", u".asf", u".wm",  u".wma", u".wav",    u".snd", u".au",  u".aif",
                                  u".mpeg", u".mpg", u".m1v", u".mp2", u".mpa",   u".mid", u".rmi", u".midi",
                                  u".dvr-ms", u".wvx", u".wmx", u".asx", u".mp3", u".dat", nullptr};
const char16_t* const kSlides[] = {u".ppt", u".pptx", nullptr};
const char16_t* const kDbf[] = {u".dbf", nullptr};
const char16_t* const kMdb[] = {u".mdb", nullptr};
const char16_t* const kSources[] = {u".c", u".cpp", u".h", u".hpp", nullptr};
const char16_t* const kTexts[] = {u".txt", u".ini", u".xml", nullptr};
const char16_t* const kDxf[] = {u".dxf", nullptr};
const char16_t* const kLarge[] = {kLargeFileExtension, nullptr};

const ExtensionGroup kGroups[] = {
    {PreviewAction::kImage, kImages},       {PreviewAction::kPicture, kPictures},
    {PreviewAction::kHtml, kBrowser},       {PreviewAction::kCustomHtml, kOwnHtml},
    {PreviewAction::kDocument, kDocuments}, {PreviewAction::kArchive, kArchives},
    {PreviewAction::kPsd, kPsd},            {PreviewAction::kAvi, kAvi},
    {PreviewAction::kMedia, kMedia},        {PreviewAction::kSlides, kSlides},
    {PreviewAction::kDbf, kDbf},            {PreviewAction::kMdb, kMdb},
    {PreviewAction::kDocument, kSources},   {PreviewAction::kDocument, kTexts},
    {PreviewAction::kDxf, kDxf},            {PreviewAction::kLargeFile, kLarge},
};

}  // namespace

PreviewAction PreviewActionFor(const std::u16string& extension) {
  for (const ExtensionGroup& group : kGroups) {
    for (const char16_t* const* e = group.extensions; *e != nullptr; ++e) {
      if (extension == *e) return group.action;
    }
  }
  return PreviewAction::kNone;
}

uint32_t IsPreviewableExtension(const std::u16string&, const std::u16string& extension) {
  return PreviewActionFor(extension) != PreviewAction::kNone ? 1 : 0;
}
