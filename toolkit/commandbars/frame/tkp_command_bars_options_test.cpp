// The options' keys in their stored order for the user's options and for the full set, the command sets
// in both back-ends, and the keyboard-cue modes.
#include "toolkit/commandbars/frame/tkp_command_bars_options.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/classlib/cmemfile.h"
#include "toolkit/common/tkp_prop_values.h"

namespace {

// Records the names it is asked for, in order, with a section's names prefixed by the section's.
class RecordingExchange : public CTKPPropExchange {
 public:
  RecordingExchange(std::vector<std::string>* names, std::string prefix, int schema)
      : m_names(names), m_prefix(std::move(prefix)) {
    m_nSchema = schema;
  }
  BOOL ExchangeProp(LPCTSTR pszPropName, int, void*, const void*) override {
    m_names->push_back(m_prefix + Narrow(pszPropName));
    return TRUE;
  }
  CTKPPropExchange* GetSection(LPCTSTR pszSection) override {
    return new RecordingExchange(m_names, m_prefix + Narrow(pszSection) + "/", m_nSchema);
  }
  void WriteCount(DWORD) override { m_names->push_back(m_prefix + "Count"); }

 private:
  static std::string Narrow(LPCTSTR text) {
    std::string out;
    for (; text != nullptr && *text != 0; ++text) out += static_cast<char>(*text);
    return out;
  }
  std::vector<std::string>* m_names;
  std::string m_prefix;
};

std::vector<std::string> KeysOf(BOOL userOnly, int schema) {
  std::vector<std::string> names;
  RecordingExchange px(&names, "", schema);
  CTKPCommandBarsOptions options;
  options.DoPropExchange(&px, userOnly);
  return names;
}

TEST(CommandBarsOptions, UserOptionsStopAfterTheAnimation) {
  const std::vector<std::string> expected = {"Schema",          "AlwaysShowFullMenus", "ShowFullAfterDelay",
                                             "ToolBarScreenTips", "ToolBarAccelTips",  "LargeIcons",
                                             "UsedCommands/Count", "Animation"};
  EXPECT_EQ(KeysOf(TRUE, 16), expected);
}

TEST(CommandBarsOptions, TheFullSetRepeatsTwoKeysAndEndsWithTheCues) {
  const std::vector<std::string> expected = {
      "Schema", "AlwaysShowFullMenus", "ShowFullAfterDelay", "ToolBarScreenTips", "ToolBarAccelTips",
      "LargeIcons", "UsedCommands/Count", "Animation", "SyncFloatingBars", "ShowExpandButtonAlways", "IconsSize",
      "LargeIconsSize", "HiddenCommands/Count", "IconsWithShadow", "UseDisabledIcons", "UseFadedIcons",
      "SyncFloatingBars", "ShowExpandButtonAlways", "DblClickFloat", "ShowTextBelowIcons", "AltDragCustomization",
      "AutoHideUnusedPopups", "PopupIconsSize", "KeyboardCuesUse", "KeyboardCuesShow"};
  EXPECT_EQ(KeysOf(FALSE, 16), expected);
}

TEST(CommandBarsOptions, OldSchemasLeaveOutTheLaterKeys) {
  const std::vector<std::string> seven = {"Schema", "AlwaysShowFullMenus", "ShowFullAfterDelay", "ToolBarScreenTips",
                                          "ToolBarAccelTips", "LargeIcons", "SyncFloatingBars",
                                          "ShowExpandButtonAlways", "IconsSize", "LargeIconsSize",
                                          "HiddenCommands/Count", "IconsWithShadow", "UseDisabledIcons",
                                          "UseFadedIcons"};
  EXPECT_EQ(KeysOf(FALSE, 7), seven);
  // Schema 8 has the sets and the second group, but not the cues yet.
  const std::vector<std::string> eight = KeysOf(FALSE, 8);
  EXPECT_EQ(eight.back(), "PopupIconsSize");
  // The user's options keep the animation whatever the schema.
  const std::vector<std::string> userSeven = {"Schema", "AlwaysShowFullMenus", "ShowFullAfterDelay",
                                              "ToolBarScreenTips", "ToolBarAccelTips", "LargeIcons", "Animation"};
  EXPECT_EQ(KeysOf(TRUE, 7), userSeven);
}

TEST(CommandBarsOptions, TheFullSetRoundTripsThroughAnArchive) {
  CTKPCommandBarsOptions saved;
  saved.bAlwaysShowFullMenus = FALSE;
  saved.bLargeIcons = TRUE;
  saved.nAnimationType = 3;
  saved.szIcons = CSize(24, 24);
  saved.szPopupIcons = CSize(20, 20);
  saved.keyboardCuesUse = TKP_CUES_USE_ALL_BARS | TKP_CUES_USE_AMPERSAND;
  for (UINT id : {57600u, 57601u, 32771u}) saved.m_mapHiddenCommands[id] = TRUE;
  saved.m_mapUsedCommands[32771u] = TRUE;
  saved.ShowKeyboardCues(tkpCuesNever);

  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    CTKPPropExchangeArchive px(ar);
    saved.DoPropExchange(&px, FALSE);
    ar.Close();
  }
  file.SeekToBegin();
  CTKPCommandBarsOptions loaded;
  loaded.m_mapUsedCommands[1u] = TRUE;  // what loading replaces
  {
    CArchive ar(&file, CArchive::load);
    CTKPPropExchangeArchive px(ar);
    loaded.DoPropExchange(&px, FALSE);
  }
  EXPECT_FALSE(loaded.bAlwaysShowFullMenus);
  EXPECT_TRUE(loaded.bLargeIcons);
  EXPECT_EQ(loaded.nAnimationType, 3);
  EXPECT_EQ(loaded.szIcons, CSize(24, 24));
  EXPECT_EQ(loaded.szPopupIcons, CSize(20, 20));
  EXPECT_EQ(loaded.keyboardCuesUse, TKP_CUES_USE_ALL_BARS | TKP_CUES_USE_AMPERSAND);
  EXPECT_EQ(loaded.m_mapHiddenCommands.GetCount(), 3);
  BOOL value = FALSE;
  EXPECT_TRUE(loaded.m_mapHiddenCommands.Lookup(57601u, value));
  EXPECT_EQ(loaded.m_mapUsedCommands.GetCount(), 1);
  EXPECT_TRUE(loaded.m_mapUsedCommands.Lookup(32771u, value));
  // Loading applies the cue mode.
  EXPECT_EQ(loaded.GetKeyboardCuesShow(), tkpCuesNever);
  EXPECT_FALSE(loaded.m_bCuesVisible);
}

TEST(CommandBarsOptions, ASetSectionWritesItsIdsInMapOrder) {
  std::vector<std::string> names;
  RecordingExchange px(&names, "", 16);
  CTKPCommandSet set;
  for (UINT id : {100u, 200u, 300u}) set[id] = TRUE;
  TKPExchangeCommandSet(&px, _T("HiddenCommands"), set);
  const std::vector<std::string> expected = {"HiddenCommands/Count", "HiddenCommands/Item0", "HiddenCommands/Item1",
                                             "HiddenCommands/Item2"};
  EXPECT_EQ(names, expected);
}

// Long values by name, sections as name prefixes: a back-end without binary values, as a profile is.
class TableExchange : public CTKPPropExchange {
 public:
  TableExchange(std::map<std::u16string, LONG>* values, BOOL loading, std::u16string prefix = u"")
      : m_values(values), m_prefix(std::move(prefix)) {
    m_bLoading = loading;
  }
  BOOL ExchangeProp(LPCTSTR pszPropName, int nType, void* pvProp, const void*) override {
    if (nType != tkpI4) return FALSE;
    const std::u16string name = m_prefix + CString(pszPropName).ToUtf16();
    if (!m_bLoading) {
      (*m_values)[name] = *static_cast<LONG*>(pvProp);
      return TRUE;
    }
    auto it = m_values->find(name);
    if (it == m_values->end()) return FALSE;
    *static_cast<LONG*>(pvProp) = it->second;
    return TRUE;
  }
  CTKPPropExchange* GetSection(LPCTSTR pszSection) override {
    return new TableExchange(m_values, m_bLoading, m_prefix + CString(pszSection).ToUtf16() + u"/");
  }

 private:
  std::map<std::u16string, LONG>* m_values;
  std::u16string m_prefix;
};

// A long set of ids in the default table of 17 would take time with the square of its length to load:
// loaded, in either back-end, the set's table is sized to its ids. A list cut short keeps the ids before.
TEST(CommandBarsOptions, LongCommandSetsLoadIntoTablesSizedToThem) {
  constexpr UINT kCount = 20000;
  CTKPCommandBarsOptions saved;
  saved.m_mapHiddenCommands.InitHashTable(HashTableSizeFor(kCount));
  for (UINT i = 0; i < kCount; ++i) {
    saved.m_mapHiddenCommands[i * 0x110] = TRUE;  // one bucket of the default table
    saved.m_mapUsedCommands[i] = TRUE;
  }
  const std::vector<BYTE> bytes = TKPArchiveStore([&](CArchive& ar) {
    CTKPPropExchangeArchive px(ar);
    saved.DoPropExchange(&px, FALSE);
  });
  CTKPCommandBarsOptions loaded;
  {
    CMemFile file(const_cast<BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    CTKPPropExchangeArchive px(ar);
    loaded.DoPropExchange(&px, FALSE);
  }
  for (CTKPCommandSet* set : {&loaded.m_mapHiddenCommands, &loaded.m_mapUsedCommands}) {
    EXPECT_EQ(set->GetCount(), static_cast<int>(kCount));
    EXPECT_EQ(set->GetHashTableSize(), HashTableSizeFor(kCount));
  }
  BOOL value = FALSE;
  EXPECT_TRUE(loaded.m_mapHiddenCommands.Lookup((kCount - 1) * 0x110, value));

  std::map<std::u16string, LONG> profile;
  {
    TableExchange px(&profile, FALSE);
    TKPExchangeCommandSet(&px, _T("HiddenCommands"), saved.m_mapHiddenCommands);
  }
  std::u16string missing = u"HiddenCommands/Item";
  for (char digit : std::to_string(kCount - 10)) missing += static_cast<char16_t>(digit);
  ASSERT_EQ(profile.erase(missing), 1u);
  CTKPCommandSet fromProfile;
  {
    TableExchange px(&profile, TRUE);
    TKPExchangeCommandSet(&px, _T("HiddenCommands"), fromProfile);
  }
  EXPECT_EQ(fromProfile.GetCount(), static_cast<int>(kCount - 10));
  EXPECT_EQ(fromProfile.GetHashTableSize(), HashTableSizeFor(kCount - 10));
}

bool SystemHidesCues() { return false; }

TEST(CommandBarsOptions, CueModes) {
  CTKPCommandBarsOptions options;
  EXPECT_TRUE(options.m_bCuesVisible);
  EXPECT_FALSE(options.m_bCuesUntilAlt);
  options.ShowKeyboardCues(tkpCuesNever);
  EXPECT_FALSE(options.m_bCuesVisible);
  // Following the system: shown when it shows them, else hidden until Alt.
  options.ShowKeyboardCues(tkpCuesSystem);
  EXPECT_TRUE(options.m_bCuesVisible);
  EXPECT_FALSE(options.m_bCuesUntilAlt);
  auto* saved = CTKPCommandBarsOptions::s_pfnSystemShowsCues;
  CTKPCommandBarsOptions::s_pfnSystemShowsCues = &SystemHidesCues;
  options.ShowKeyboardCues(tkpCuesSystem);
  CTKPCommandBarsOptions::s_pfnSystemShowsCues = saved;
  EXPECT_FALSE(options.m_bCuesVisible);
  EXPECT_TRUE(options.m_bCuesUntilAlt);
  options.ShowKeyboardCues(tkpCuesAlways);
  EXPECT_TRUE(options.m_bCuesVisible);
  EXPECT_FALSE(options.m_bCuesUntilAlt);
}

}  // namespace
