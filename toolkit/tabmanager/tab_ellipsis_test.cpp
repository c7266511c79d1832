#include "toolkit/tabmanager/tab_ellipsis.h"

#include <gtest/gtest.h>

namespace tktab {
namespace {

// Every character is 6 pixels wide, a surrogate pair as one character.
class SixPixels : public TextWidthMeasurer {
 public:
  int Width(std::u16string_view text) override {
    int width = 0;
    for (char16_t c : text) width += (c >= 0xDC00 && c <= 0xDFFF) ? 0 : 6;
    return width;
  }
};

TEST(TabEllipsis, FittingCaptionsStayAndPathsAreLeftToThePathEllipsis) {
  SixPixels measure;
  EXPECT_EQ(MiddleEllipsis(u"Disk", 24, measure).kind, EllipsisKind::kFits);
  const EllipsisResult path = MiddleEllipsis(u"C:\\images\\disk.vhdx", 60, measure);
  EXPECT_EQ(path.kind, EllipsisKind::kPath);
  EXPECT_EQ(path.text, u"C:\\images\\disk.vhdx");
}

TEST(TabEllipsis, TheMiddleGivesWayAndTheEndsStay) {
  SixPixels measure;
  // 60 pixels: "..." takes 18, 42 remain for seven characters, four of the start and three of the end.
  const EllipsisResult cut = MiddleEllipsis(u"Recovered files list", 60, measure);
  EXPECT_EQ(cut.kind, EllipsisKind::kMiddle);
  EXPECT_EQ(cut.text, u"Reco...ist");
  EXPECT_EQ(MiddleEllipsis(u"Recovered", 18, measure).text, u"...");
  EXPECT_EQ(MiddleEllipsis(u"Recovered", 5, measure).text, u"...");
}

TEST(TabEllipsis, SurrogatePairsAreNeverSplit) {
  SixPixels measure;
  // Five pairs (each one character of 6 pixels) and letters between them.
  const std::u16string text = u"\U0001F4BEa\U0001F4BEb\U0001F4BEc\U0001F4BEd\U0001F4BE";
  for (int width = 19; width < 60; ++width) {
    const std::u16string cut = MiddleEllipsis(text, width, measure).text;
    for (size_t i = 0; i < cut.size(); ++i) {
      const bool high = cut[i] >= 0xD800 && cut[i] <= 0xDBFF;
      const bool low = cut[i] >= 0xDC00 && cut[i] <= 0xDFFF;
      if (high) {
        EXPECT_TRUE(i + 1 < cut.size() && cut[i + 1] >= 0xDC00 && cut[i + 1] <= 0xDFFF) << width;
      }
      if (low) {
        EXPECT_TRUE(i > 0 && cut[i - 1] >= 0xD800 && cut[i - 1] <= 0xDBFF) << width;
      }
    }
    EXPECT_LE(measure.Width(cut), width) << width;
  }
}

// 'i' is 1 pixel wide, every other character 20; counts what it was asked to measure.
class CountingMeasurer : public TextWidthMeasurer {
 public:
  int Width(std::u16string_view text) override {
    ++calls;
    int width = 0;
    for (char16_t c : text) width += c == u'i' ? 1 : 20;
    return width;
  }
  int calls = 0;
};

// Narrow ends and a wide middle: a cut estimated from the average width is far off, and was then walked
// one character at a time (about 1,900 measurements here).
TEST(TabEllipsis, AMiddleCutIsFoundInAFewMeasurements) {
  const std::u16string text = std::u16string(1000, u'i') + std::u16string(8000, u'W') + std::u16string(1000, u'i');
  CountingMeasurer measure;
  const EllipsisResult cut = MiddleEllipsis(text, 1060, measure);
  EXPECT_LE(measure.calls, 40);
  EXPECT_EQ(cut.text, std::u16string(500, u'i') + u"..." + std::u16string(500, u'i'));
}

// The end cut of vertical captions: the same search, and the same result as cutting a character at a time.
TEST(TabEllipsis, AnEndCutKeepsWhatFitsAndIsFoundInAFewMeasurements) {
  SixPixels six;
  EXPECT_EQ(EndEllipsis(u"Partitions", 60, six), u"Partitions");
  EXPECT_EQ(EndEllipsis(u"Partitions", 59, six), u"Partit...");
  EXPECT_EQ(EndEllipsis(u"Partitions", 10, six), u"...");
  EXPECT_EQ(EndEllipsis(u"a\U0001F4BEbcdef", 25, six), u"a...");  // the pair is not split
  const std::u16string text = std::u16string(5000, u'W') + std::u16string(5000, u'i');
  CountingMeasurer measure;
  EXPECT_EQ(EndEllipsis(text, 1000, measure), std::u16string(47, u'W') + u"...");
  EXPECT_LE(measure.calls, 20);
}

}  // namespace
}  // namespace tktab
