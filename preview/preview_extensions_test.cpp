#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <vector>

#include "preview/placeholder_picture.h"
#include "preview/preview_extensions.h"

namespace {

// Every extension with the viewer that shows it, written out apart from the code's own table.
const std::map<std::u16string, PreviewAction>& Expected() {
  static const std::map<std::u16string, PreviewAction> table = [] {
    std::map<std::u16string, PreviewAction> t;
    auto add = [&t](std::vector<std::u16string> list, PreviewAction action) {
      for (const auto& e : list) t.emplace(e, action);
    };
    add({u".png", u".j2k", u".jp2", u".j2c", u".jpc", u".jpeg", u".pcx", u".pnm", u".pgm", u".ppm", u".bmp",
         u".tga", u".tif", u".tiff", u".jpg"},
        PreviewAction::kImage);
    add({u".ico", u".emf"}, PreviewAction::kPicture);
    add({u".gif", u".vdoc", u".xls", u".xlsx", u".htm", u".mht"}, PreviewAction::kHtml);
    add({u".html"}, PreviewAction::kCustomHtml);
    add({u".pdf", u".rtf", u".doc", u".docx", u".c", u".cpp", u".h", u".hpp", u".txt", u".ini", u".xml"},
        PreviewAction::kDocument);
    add({u".zip", u".cab", u".rar"}, PreviewAction::kArchive);
    add({u".psd"}, PreviewAction::kPsd);
    add({u".avi"}, PreviewAction::kAvi);
    add({u".wmv", u".asf", u".wm", u".wma", u".wav", u".snd", u".au", u".aif", u".mpeg", u".mpg", u".m1v",
         u".mp2", u".mpa", u".mid", u".rmi", u".midi", u".dvr-ms", u".wvx", u".wmx", u".asx", u".mp3", u".dat"},
        PreviewAction::kMedia);
    add({u".ppt", u".pptx"}, PreviewAction::kSlides);
    add({u".dbf"}, PreviewAction::kDbf);
    add({u".mdb"}, PreviewAction::kMdb);
    add({u".dxf"}, PreviewAction::kDxf);
    add({u".largefile"}, PreviewAction::kLargeFile);
    return t;
  }();
  return table;
}

TEST(PreviewDispatch, EveryExtensionGoesToItsViewer) {
  EXPECT_EQ(Expected().size(), 68u);
  for (const auto& [extension, action] : Expected()) {
    EXPECT_EQ(PreviewActionFor(extension), action) << std::string(extension.begin(), extension.end());
    EXPECT_EQ(IsPreviewableExtension(u"C:\\any\\path", extension), 1u);
  }
  // Spreadsheets go to the browser view and ".avi" to its own view, never the document or media views.
  EXPECT_EQ(PreviewActionFor(u".xls"), PreviewAction::kHtml);
  EXPECT_EQ(PreviewActionFor(u".avi"), PreviewAction::kAvi);
}

TEST(PreviewDispatch, OnlyExactLowerCaseExtensionsAreTaken) {
  // The dispatcher lower-cases before it asks; the question itself is exact.
  for (const std::u16string e : {u".JPG", u".Png", u".LARGEFILE", u"", u".", u"png", u".png ", u".pngx",
                                 u"largefile", u".exe", u".vhd", u"..png", u".dvr", kImageNeededExtension}) {
    EXPECT_EQ(IsPreviewableExtension(u"", e), 0u) << std::string(e.begin(), e.end());
    EXPECT_EQ(PreviewActionFor(e), PreviewAction::kNone);
  }
  EXPECT_EQ(IsPreviewableExtension(u"largefile", u".largefile"), 1u);
  EXPECT_EQ(IsPreviewableExtension(u"photo.exe", u".jpg"), 1u);  // the path plays no part
}

TEST(PreviewDispatch, SlotOrderVisitsEverySlotOnce) {
  std::set<PreviewSlot> seen(std::begin(kPreviewSlotOrder), std::end(kPreviewSlotOrder));
  EXPECT_EQ(seen.size(), static_cast<size_t>(kPreviewSlotCount));
  EXPECT_EQ(kPreviewSlotOrder[0], PreviewSlot::kDxf);
  EXPECT_EQ(kPreviewSlotOrder[kPreviewSlotCount - 1], PreviewSlot::kPicture);
}

TEST(Placeholders, PictureFollowsTheFlags) {
  EXPECT_EQ(ChooseNoPreviewPicture(1, 0, 1, 0), PlaceholderPicture::kSelectFile);
  EXPECT_EQ(ChooseNoPreviewPicture(1, 1, 0, 0), PlaceholderPicture::kSelectFile);
  EXPECT_EQ(ChooseNoPreviewPicture(0, 0, 1, 0), PlaceholderPicture::kNoViewer);
  EXPECT_EQ(ChooseNoPreviewPicture(0, 1, 0, 0), PlaceholderPicture::kCorrupted);
  EXPECT_EQ(ChooseNoPreviewPicture(0, 1, 1, 0), PlaceholderPicture::kCorrupted);
  EXPECT_EQ(ChooseNoPreviewPicture(0, 0, 0, 0), PlaceholderPicture::kCorrupted);
  // A file without its image says so, whatever the other flags hold; a selection that is no file asks for one.
  for (uint32_t supported : {0u, 1u}) {
    for (uint32_t ok : {0u, 1u}) {
      EXPECT_EQ(ChooseNoPreviewPicture(0, supported, ok, 1), PlaceholderPicture::kImageNeeded);
      EXPECT_EQ(ChooseNoPreviewPicture(1, supported, ok, 1), PlaceholderPicture::kSelectFile);
    }
  }
}

TEST(Placeholders, CentredAtNaturalSizeAndClippedEvenly) {
  EXPECT_EQ(CentredPlaceholder(600, 400, 319, 125).x, 141);
  EXPECT_EQ(CentredPlaceholder(600, 400, 319, 125).y, 138);
  EXPECT_EQ(CentredPlaceholder(100, 50, 319, 125).x, -109);
  EXPECT_EQ(CentredPlaceholder(100, 50, 319, 125).y, -37);
}

}  // namespace
