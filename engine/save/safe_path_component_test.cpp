#include "engine/save/safe_path_component.h"

#include <gtest/gtest.h>

#include "platform/os/os.h"

namespace {

struct Case {
  std::u16string name;
  std::u16string safe;
};

TEST(SafePathComponent, ReplacesWhatCouldLeaveTheFolderOrNameADevice) {
  const Case cases[] = {
      {u"report.txt", u"report.txt"},
      {u"..\\..\\x", u".._.._x"},
      {u"../../x", u".._.._x"},
      {u"a:b", u"a_b"},
      {u"C:\\Windows", u"C__Windows"},
      {u"<>:\"/\\|?*", u"_________"},
      {u"tab\there", u"tab_here"},
      {std::u16string(u"nul\0byte", 8), u"nul_byte"},
      {u"\x1F\x01", u"__"},
      {u".", u"_"},
      {u"..", u"__"},
      {u"...", u"___"},
      {u"name.", u"name_"},
      {u"name. .", u"name___"},
      {u"trail ", u"trail_"},
      {u" lead", u" lead"},
      {u".hidden", u".hidden"},
      {u"", u"_"},
      {u"CON", u"_CON"},
      {u"con", u"_con"},
      {u"Con.txt", u"_Con.txt"},
      {u"CON .txt", u"_CON .txt"},
      {u"NUL.tar.gz", u"_NUL.tar.gz"},
      {u"PRN", u"_PRN"},
      {u"aux", u"_aux"},
      {u"COM1", u"_COM1"},
      {u"com9.log", u"_com9.log"},
      {u"LPT0", u"_LPT0"},
      {u"COM\u00B9", u"_COM\u00B9"},
      {u"CONIN$", u"_CONIN$"},
      {u"conout$.x", u"_conout$.x"},
      {u"CON.", u"CON_"},
      {u"CONSOLE", u"CONSOLE"},
      {u"COM10", u"COM10"},
      {u"COMA", u"COMA"},
      {u"xCON", u"xCON"},
      {u"Résumé – ñandú.txt", u"Résumé – ñandú.txt"},
      {u"\u65E5\u672C\u8A9E", u"\u65E5\u672C\u8A9E"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SafePathComponent(c.name), c.safe) << os::ToUtf8(c.name);
  }
}

TEST(SafePathComponent, IsStableOnItsOwnResult) {
  for (const std::u16string name : {u"..", u"CON", u"a:b.", u"x\\y", u"LPT1 .txt"}) {
    const std::u16string once = SafePathComponent(name);
    EXPECT_EQ(SafePathComponent(once), once) << os::ToUtf8(name);
  }
}

TEST(NameWithPrefix, ShortensTheStemKeepingTheExtensionAndNeverSplitsAPair) {
  const std::u16string a250(250, u'a');
  const std::u16string pair = u"\U0001F600";  // two units
  struct Prefixed {
    std::u16string prefix, name, result;
  };
  const Prefixed cases[] = {
      {u"Copy (1 ) of ", u"short.txt", u"Copy (1 ) of short.txt"},
      {u"Copy (1 ) of ", a250 + u".txt", u"Copy (1 ) of " + std::u16string(238, u'a') + u".txt"},
      {u"Copy (10 ) of ", a250 + u".txt", u"Copy (10 ) of " + std::u16string(237, u'a') + u".txt"},
      // The cut would fall inside a pair: the pair goes whole.
      {u"Copy (1 ) of ", std::u16string(237, u'a') + pair + u"b.txt", u"Copy (1 ) of " + std::u16string(237, u'a') + u".txt"},
      // A cut after a blank and a full stop leaves neither at the end.
      {u"Copy (1 ) of ", std::u16string(240, u'a') + u" .x" + a250, u"Copy (1 ) of " + std::u16string(240, u'a') + u"__"},
      // An extension that leaves no room: the whole loses its end.
      {u"Copy (1 ) of ", u"a." + a250, u"Copy (1 ) of a." + std::u16string(240, u'a')},
      {u"", a250 + a250 + u".jpg", std::u16string(251, u'a') + u".jpg"},
  };
  for (const Prefixed& c : cases) {
    EXPECT_EQ(NameWithPrefix(c.prefix, c.name), c.result) << os::ToUtf8(c.name);
    EXPECT_LE(NameWithPrefix(c.prefix, c.name).size(), kMaxNameLength);
  }
  EXPECT_EQ(SafePathComponent(a250 + a250 + u".jpg"), std::u16string(251, u'a') + u".jpg");
}

}  // namespace
