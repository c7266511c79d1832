// Which viewer of the preview pane shows a file, by its extension, and where the item it shows lies.
// Portable: the pane's dispatcher and the results page both ask here.
#pragma once

#include <cstdint>
#include <string>

// The pane's viewer slots, one per kind of viewer.
enum class PreviewSlot : uint8_t {
  kImage,
  kHtml,
  kDocument,
  kArchive,
  kAvi,
  kMedia,
  kThumb,
  kDbf,
  kMdb,
  kNoPreview,
  kCustomHtml,
  kDxf,
  kPsd,
  kLargeFile,
  kPicture,
};
constexpr int kPreviewSlotCount = 15;

// The order in which the pane visits its slots when it sizes or closes its viewers.
extern const PreviewSlot kPreviewSlotOrder[kPreviewSlotCount];

// What the dispatcher does for an extension.
enum class PreviewAction : uint8_t {
  kNone,  // not previewable: the no-preview view
  kImage,
  kPicture,
  kHtml,
  kCustomHtml,
  kDocument,
  kArchive,
  kPsd,
  kAvi,
  kMedia,
  kSlides,  // the presentation's slides exported as pictures, shown as thumbnails
  kDbf,
  kMdb,
  kDxf,
  kLargeFile,
};

// The action for an extension with its leading "." (compared exactly: callers pass it lower-cased).
PreviewAction PreviewActionFor(const std::u16string& extension);

// 1 when the pane has a viewer for the extension (with its leading "."), else 0. The path plays no part.
uint32_t IsPreviewableExtension(const std::u16string& path, const std::u16string& extension);

// The results list writes "\" + folder path + "\" + name here before it hands a file to the pane; the
// pane's band shows it, and the no-preview view empties it.
extern std::u16string PreviewItemPath;

// The pseudo-extension (and path) of a file the results page did not extract because of its size.
constexpr char16_t kLargeFileExtension[] = u".largefile";
constexpr char16_t kLargeFilePath[] = u"largefile";
// The pseudo-extension (and path) of a file the results page could not read because no disk image is open.
// It has no viewer, so a real file with this extension is refused by the page before it reaches the pane.
constexpr char16_t kImageNeededExtension[] = u".imageneeded";
constexpr char16_t kImageNeededPath[] = u"imageneeded";
