#include "open_address.h"

#include <gtest/gtest.h>

namespace seams {
namespace {

TEST(OpenAddress, BrowserCommandTakesTheTargetQuotedInPlaceOfTheFirstPercentOne) {
  EXPECT_EQ(BrowserCommandLine(u"\"C:\\Browser\\browser.exe\" -nohome \"%1\" --x", u"http://example.test/a b"),
            u"\"C:\\Browser\\browser.exe\" -nohome \"http://example.test/a b\"");
  EXPECT_EQ(BrowserCommandLine(u"browser.exe %1", u"page.htm"), u"browser.exe \"page.htm\"");
  EXPECT_EQ(BrowserCommandLine(u"browser.exe", u"page.htm"), u"browser.exe \"page.htm\"");
}

TEST(OpenAddress, QuotesAndTrailingBackslashesCannotEndTheArgument) {
  EXPECT_EQ(BrowserCommandLine(u"b.exe %1", u"x\" --evil \"y"), u"b.exe \"x%22 --evil %22y\"");
  EXPECT_EQ(BrowserCommandLine(u"b.exe %1", u"C:\\Help\\"), u"b.exe \"C:\\Help\\\\\"");
}

}  // namespace
}  // namespace seams
