#include "preview/image_file_type.h"

#include <gtest/gtest.h>

namespace {

TEST(IsSupportedImageFile, EveryEndingInAnyCase) {
  const struct {
    const char16_t* name;
    uint32_t type;
  } cases[] = {
      {u"a.bmp", 1}, {u"A.GIF", 2}, {u"photo.jpg", 3}, {u"photo.JPEG", 3}, {u"photo.Jpg", 3}, {u"x.PnG", 4},
      {u"x.ico", 5}, {u"scan.tif", 6}, {u"scan.TIFF", 6}, {u"x.tga", 7}, {u"x.pcx", 8}, {u"x.wbmp", 9},
      {u"x.WMF", 10}, {u"x.emf", 10}, {u"x.j2k", 11}, {u"x.jp2", 11}, {u"x.j2c", 12}, {u"x.jpc", 12},
      {u"x.pgx", 13}, {u"x.pnm", 14}, {u"x.pgm", 14}, {u"x.ppm", 14}, {u"x.RAS", 15},
  };
  int row = 0;
  for (const auto& c : cases) EXPECT_EQ(IsSupportedImageFile(c.name), c.type) << "case " << row++;
}

TEST(IsSupportedImageFile, OtherEndingsAndShortNamesAreNotPictures) {
  EXPECT_EQ(IsSupportedImageFile(u"photo.jpe"), 0u);
  EXPECT_EQ(IsSupportedImageFile(u"notes.txt"), 0u);
  EXPECT_EQ(IsSupportedImageFile(u"bmp.doc"), 0u);
  EXPECT_EQ(IsSupportedImageFile(u"pn"), 0u);
  EXPECT_EQ(IsSupportedImageFile(u""), 0u);
  EXPECT_EQ(IsSupportedImageFile(u"x.bmp "), 0u);
  // Only ASCII letters fold: a dotted capital I is no "i".
  EXPECT_EQ(IsSupportedImageFile(u"x.\u0130CO"), 0u);
  // The ending is read from the characters alone, as the name is given.
  EXPECT_EQ(IsSupportedImageFile(u"C:\\pictures\\cat.Png"), 4u);
  EXPECT_EQ(IsSupportedImageFile(u"gif"), 2u);
}

}  // namespace
