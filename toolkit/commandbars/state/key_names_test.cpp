#include "toolkit/commandbars/state/key_names.h"

#include <gtest/gtest.h>

#include "toolkit/common/stored_state_testing.h"

namespace tkpkeys {
namespace {

const KeyNameFn kBuiltIn = [](unsigned vk) { return BuiltInKeyName(vk); };

Accel Make(uint8_t flags, uint16_t key, uint16_t command = 100) { return Accel{flags, key, command}; }

TEST(KeyNames, TheBuiltInTableNamesItsKeys) {
  EXPECT_EQ(BuiltInKeyCount(), 108u);
  EXPECT_EQ(BuiltInKeyName('7'), u"7");
  EXPECT_EQ(BuiltInKeyName('Q'), u"Q");
  EXPECT_EQ(BuiltInKeyName(0x70), u"F1");
  EXPECT_EQ(BuiltInKeyName(0x7B), u"F12");
  EXPECT_EQ(BuiltInKeyName(0x60), u"Num 0");
  EXPECT_EQ(BuiltInKeyName(0x69), u"Num 9");
  EXPECT_EQ(BuiltInKeyName(0x2E), u"Del");
  EXPECT_EQ(BuiltInKeyName(0xFE), u"Oem Clear");
  EXPECT_EQ(BuiltInKeyName(0x7C), u"");  // F13 is not in the table
  EXPECT_EQ(BuiltInKeyName('a'), u"Num 1");  // 0x61 is a virtual key of the number pad, not a letter
}

TEST(KeyNames, SystemNamesReadWithOneCapital) {
  EXPECT_EQ(CapitaliseSystemName(u"CTRL"), u"Ctrl");
  EXPECT_EQ(CapitaliseSystemName(u"NUM LOCK"), u"Num lock");
  EXPECT_EQ(CapitaliseSystemName(u"-ÄB"), u"-Äb");
  EXPECT_EQ(CapitaliseSystemName(u""), u"");
}

TEST(KeyNames, ModifiersComeInTheirOrderBeforeTheKey) {
  int priority = 0;
  EXPECT_EQ(FormatShortcut(Make(kVirtKey | kShift | kControl, 0x74), kBuiltIn, &priority), u"Ctrl+Shift+F5");
  EXPECT_EQ(priority, 3);
  EXPECT_EQ(FormatShortcut(Make(kAlt, 'x'), kBuiltIn, &priority), u"Alt+x");
  EXPECT_EQ(priority, 2);
  EXPECT_EQ(FormatShortcut(Make(kVirtKey | kShift | kAlt, 0x2E), kBuiltIn, &priority), u"Shift+Alt+Del");
  EXPECT_EQ(priority, 2);
  EXPECT_EQ(FormatShortcut(Make(kVirtKey | kShift, 0x2D), kBuiltIn, &priority), u"Shift+Ins");
  EXPECT_EQ(priority, 1);
  EXPECT_EQ(FormatShortcut(Make(kVirtKey, 0x70), kBuiltIn, &priority), u"F1");
  EXPECT_EQ(priority, 4);
}

TEST(KeyNames, SpecialKeysAndMissingNames) {
  // Ctrl+Break carries its modifier in its own name.
  EXPECT_EQ(FormatShortcut(Make(kVirtKey | kControl, 0x03), kBuiltIn, nullptr), u"Ctrl+Break");
  // A character Escape or Tab shows only its modifiers; a key of 0 drops the trailing "+".
  EXPECT_EQ(FormatShortcut(Make(kControl, 27), kBuiltIn, nullptr), u"Ctrl+");
  EXPECT_EQ(FormatShortcut(Make(kControl | kShift, 0), kBuiltIn, nullptr), u"Ctrl+Shift");
  EXPECT_EQ(FormatShortcut(Make(0, 0), kBuiltIn, nullptr), u"");
  // A modifier the keyboard does not name adds nothing.
  const KeyNameFn noCtrl = [](unsigned vk) { return vk == 0x11 ? std::u16string() : BuiltInKeyName(vk); };
  EXPECT_EQ(FormatShortcut(Make(kVirtKey | kControl, 'S'), noCtrl, nullptr), u"S");
}

TEST(KeyNames, PlainEscapeNeedsPermission) {
  EXPECT_FALSE(IsAccelAllowed(Make(kVirtKey, 0x1B), false));
  EXPECT_TRUE(IsAccelAllowed(Make(kVirtKey, 0x1B), true));
  EXPECT_TRUE(IsAccelAllowed(Make(kVirtKey | kShift, 0x1B), false));
  EXPECT_TRUE(IsAccelAllowed(Make(0, 0x1B), false));  // the character, not the key
}

TEST(KeyNames, MenusShowTheBestRankedShortcut) {
  const std::vector<Accel> table = {Make(kVirtKey | kControl, 0x74, 7), Make(kVirtKey, 0x74, 7),
                                    Make(kVirtKey | kControl, 'S', 8), Make(kVirtKey | kAlt, 'S', 8)};
  std::u16string text;
  EXPECT_TRUE(PreferredShortcut(table, 7, kBuiltIn, text));
  EXPECT_EQ(text, u"F5");
  text.clear();
  EXPECT_TRUE(PreferredShortcut(table, 8, kBuiltIn, text));
  EXPECT_EQ(text, u"Ctrl+S");
  // A text the caller already shows stays when it is one of the command's shortcuts.
  text = u"Alt+S";
  EXPECT_TRUE(PreferredShortcut(table, 8, kBuiltIn, text));
  EXPECT_EQ(text, u"Alt+S");
  text = u"Ctrl+Q";
  EXPECT_TRUE(PreferredShortcut(table, 8, kBuiltIn, text));
  EXPECT_EQ(text, u"Ctrl+S");
  text = u"Ctrl+Q";
  EXPECT_FALSE(PreferredShortcut(table, 9, kBuiltIn, text));
  EXPECT_EQ(text, u"");
}

TEST(KeyNames, StoredTablesAreReadOnlyWhenWhole) {
  const std::vector<Accel> table = {Make(kVirtKey | kControl, 'O', 57601), Make(kVirtKey, 0x70, 57670)};
  const std::vector<uint8_t> bytes = SerialiseAccelTable(table);
  ASSERT_EQ(bytes.size(), 12u);
  EXPECT_EQ(bytes[0], kVirtKey | kControl);
  EXPECT_EQ(bytes[4] | bytes[5] << 8, 57601);
  std::vector<Accel> read;
  ASSERT_TRUE(ParseAccelTable(bytes.data(), bytes.size(), read));
  ASSERT_EQ(read.size(), 2u);
  EXPECT_EQ(read[1].key, 0x70);
  EXPECT_EQ(read[1].command, 57670);

  const std::vector<Accel> kept = read;
  const auto refused = [&](std::vector<uint8_t> damaged) {
    return !ParseAccelTable(damaged.data(), damaged.size(), read) && read.size() == kept.size();
  };
  EXPECT_TRUE(refused({}));
  EXPECT_TRUE(refused(std::vector<uint8_t>(bytes.begin(), bytes.end() - 1)));  // cut short
  std::vector<uint8_t> b = bytes;
  b[0] = 0x40;  // an unknown flag
  EXPECT_TRUE(refused(b));
  b = bytes;
  b[2] = b[3] = 0;  // no key
  EXPECT_TRUE(refused(b));
  b = bytes;
  b[3] = 1;  // a virtual key beyond the key range
  EXPECT_TRUE(refused(b));
  b = bytes;
  b[4] = b[5] = 0;  // no command
  EXPECT_TRUE(refused(b));
  EXPECT_TRUE(refused(std::vector<uint8_t>((kMostRecords + 1) * kRecordBytes, 1)));
  EXPECT_TRUE(ParseAccelTable(bytes.data(), bytes.size(), read));
}

// Tables as a program or its user could make them: every flag byte, keys and commands at and past their
// ends, in counts up to and past the most a table holds. What is stored is read back whole: the records a
// keystroke can give, in their order, with the flags the system knows.
TEST(KeyNames, WhateverTableIsSavedIsReadBack) {
  tktest::Generator gen(12345);
  const auto next = [&gen] { return gen.Next(); };
  const auto pick = [&](std::initializer_list<uint16_t> values) {
    const uint32_t at = next() % (values.size() + 1);
    return at < values.size() ? *(values.begin() + at) : static_cast<uint16_t>(next());
  };
  const size_t counts[] = {1, 2, 999, 1000, 1001, 32767, 32768, 40000};
  for (size_t count : counts) {
    SCOPED_TRACE(count);
    std::vector<Accel> table(count);
    std::vector<Accel> expected;
    for (Accel& a : table) {
      a.flags = static_cast<uint8_t>(next() % 8 == 0 ? next() : next() & 0x1F);
      a.key = pick({0, 1, 'O', 0xFE, 0xFF, 0x100, 0xFFFF});
      a.command = pick({0, 1, 57601, 0xFFFF});
      const bool virtualKey = (a.flags & 1) != 0;
      if (a.key == 0 || a.command == 0 || (virtualKey && a.key > 0xFE) || expected.size() == 32767) continue;
      expected.push_back(Make(a.flags & 0x1F, a.key, a.command));
    }
    const std::vector<uint8_t> bytes = SerialiseAccelTable(table);
    ASSERT_EQ(bytes.size(), expected.size() * kRecordBytes);
    if (expected.empty()) continue;  // stored empty: every shortcut was removed
    std::vector<Accel> read;
    ASSERT_TRUE(ParseAccelTable(bytes.data(), bytes.size(), read));
    ASSERT_EQ(read.size(), expected.size());
    for (size_t i = 0; i < read.size(); ++i) {
      ASSERT_EQ(read[i].flags, expected[i].flags) << i;
      ASSERT_EQ(read[i].key, expected[i].key) << i;
      ASSERT_EQ(read[i].command, expected[i].command) << i;
    }
  }
  // Past the most a table holds is no table of ours.
  std::vector<uint8_t> many = SerialiseAccelTable(std::vector<Accel>(32767, Make(1, 'O', 7)));
  std::vector<Accel> read;
  EXPECT_TRUE(ParseAccelTable(many.data(), many.size(), read));
  many.insert(many.end(), many.begin(), many.begin() + kRecordBytes);
  EXPECT_FALSE(ParseAccelTable(many.data(), many.size(), read));
}

}  // namespace
}  // namespace tkpkeys
