#include "platform/os/markup_escape.h"

#include <gtest/gtest.h>

#include "ui/msgbox/box_message.h"

namespace msgbox {
namespace {

TEST(MarkupEscape, LessThanAndAmpersandBecomeLiterals) {
  EXPECT_EQ(EscapeMarkup(u"<b>x.txt"), u"<<b>x.txt");
  EXPECT_EQ(EscapeMarkup(u"R&D&lt;.doc"), u"R&<>D&<>lt;.doc");
  EXPECT_EQ(EscapeMarkup(u"C:\\Recovered\\plain name.jpg"), u"C:\\Recovered\\plain name.jpg");
  EXPECT_EQ(EscapeMarkup(u""), u"");
  EXPECT_EQ(EscapeMarkup(u"<<"), u"<<<<");
}

TEST(BoxMessage, IconTableAndAlignment) {
  EXPECT_EQ(ComposeMessage(u"Saved.", false, false, 32, 0), u"Saved.");
  EXPECT_EQ(ComposeMessage(u"Saved.", true, false, 32, 0), u"<right>Saved.</right>");
  EXPECT_EQ(ComposeMessage(u"Saved.", false, true, 32, 0x1A2B),
            u"<table cellpadding=5><tr><td width=32><icon handle=0x1A2B></td><td>Saved.</td></tr></table>");
}

TEST(BoxMessage, AnswerKeyAndValueName) {
  EXPECT_EQ(AnswerKey(u"Vantor", u"Dorvane.exe"), u"Software\\Vantor\\Dorvane.exe\\HtmlMessageBox");
  EXPECT_EQ(AnswerKey(u"", u"Dorvane.exe"), u"Software\\Dorvane.exe\\HtmlMessageBox");
  EXPECT_EQ(AnswerValueName(u"ExitQuestion", 12), u"ExitQuestion12");
  EXPECT_EQ(AnswerValueName(u"Q", -1), u"Q-1");
  EXPECT_EQ(FileNameOf(u"C:\\Program Files\\Dorvane\\Dorvane.exe"), u"Dorvane.exe");
  EXPECT_EQ(FileNameOf(u"Dorvane.exe"), u"Dorvane.exe");
}

}  // namespace
}  // namespace msgbox
