// The clipboard form read back, refused for classes of another kind and for damaged or oversized data;
// the properties' key order and schema gates; the expand picture's recolouring and the fades.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <utility>
#include <string>

#include "toolkit/taskpanel/tp_clip_record.h"
#include "toolkit/taskpanel/tp_color.h"
#include "toolkit/taskpanel/tp_props.h"
#include "toolkit/common/stored_state_testing.h"

// Stand-ins for the element classes: a base, one kind derived from it and an unrelated one.
class RecordBase : public CObject {
  DECLARE_SERIAL(RecordBase)
 public:
  taskpanel::ElementProps props;
  static int alive;
  RecordBase() { ++alive; }
  ~RecordBase() override { --alive; }
};
int RecordBase::alive = 0;
IMPLEMENT_SERIAL(RecordBase, CObject, 16)

class RecordItem : public RecordBase {
  DECLARE_SERIAL(RecordItem)
 public:
  taskpanel::GroupItemProps itemProps;
};
IMPLEMENT_SERIAL(RecordItem, RecordBase, 16)

class RecordStranger : public CObject {
  DECLARE_SERIAL(RecordStranger)
};
IMPLEMENT_SERIAL(RecordStranger, CObject, 16)

namespace taskpanel {
namespace {

void Exchange(CObject* pObject, CTKPPropExchange* pPX) {
  auto* base = static_cast<RecordBase*>(pObject);
  ExchangeElementProps(pPX, base->props);
  if (auto* item = dynamic_cast<RecordItem*>(pObject)) ExchangeGroupItemProps(pPX, item->itemProps);
}
void Discard(CObject* pObject) { delete pObject; }

std::vector<BYTE> StoredItem() {
  RecordItem item;
  item.props.caption = _T("Restore \u00e9t\u00e9 files");
  item.props.id = 42;
  item.props.type = kTypeLink;
  item.itemProps.bold = TRUE;
  item.itemProps.dragText = _T("dragged");
  return StoreRecord(&item, Exchange);
}

CObject* Load(const std::vector<BYTE>& bytes) {
  return LoadRecord(bytes.data(), bytes.size(), RUNTIME_CLASS(RecordBase), Exchange, Discard);
}

TEST(TaskPanelRecord, AnItemComesBackAsItsOwnClassWithItsProperties) {
  const auto bytes = StoredItem();
  ASSERT_FALSE(bytes.empty());
  CObject* pObject = Load(bytes);
  ASSERT_NE(pObject, nullptr);
  auto* item = dynamic_cast<RecordItem*>(pObject);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->props.caption, CString(_T("Restore \u00e9t\u00e9 files")));
  EXPECT_EQ(item->props.id, 42);
  EXPECT_EQ(item->props.iconPadding, DefaultMargins());
  EXPECT_TRUE(item->itemProps.bold);
  EXPECT_EQ(item->itemProps.dragText, CString(_T("dragged")));
  delete pObject;
}

TEST(TaskPanelRecord, AClassOfAnotherKindIsRefusedBeforeAnythingIsMade) {
  RecordStranger stranger;
  const auto bytes = StoreRecord(&stranger, [](CObject*, CTKPPropExchange*) {});
  ASSERT_FALSE(bytes.empty());
  const int before = RecordBase::alive;
  EXPECT_EQ(Load(bytes), nullptr);
  EXPECT_EQ(RecordBase::alive, before);
  // An unknown class name, and a class that is ours but not serialisable, are refused too.
  std::vector<BYTE> unknown = StoredItem();
  unknown[6] = 'X';  // 0xFFFF, schema, name length, then the name
  EXPECT_EQ(Load(unknown), nullptr);
  const std::vector<BYTE> empty;
  EXPECT_EQ(Load(empty), nullptr);
}

TEST(TaskPanelRecord, EveryCutOfAWholeRecordGivesNoElementAndLeaksNothing) {
  const auto bytes = StoredItem();
  const int before = RecordBase::alive;
  for (size_t n = 1; n < bytes.size(); ++n) {
    const std::vector<BYTE> cut(bytes.begin(), bytes.begin() + static_cast<long>(n));
    EXPECT_EQ(Load(cut), nullptr) << n;
  }
  EXPECT_EQ(RecordBase::alive, before);
}

// The record with the one stored 32-bit value from changed to to (the value is there once).
std::vector<BYTE> WithValue(std::vector<BYTE> bytes, int32_t from, int32_t to) {
  EXPECT_EQ(tktest::ChangeInt32(bytes, from, to), 1) << from;
  return bytes;
}

bool LoadsWhole(const std::vector<BYTE>& bytes) {
  CObject* pObject = Load(bytes);
  delete pObject;
  return pObject != nullptr;
}

// A record we could not have written: a text one character past the bound (its length word raised and a
// character added).
TEST(TaskPanelRecord, ATextLongerThanTheBoundIsRefused) {
  RecordItem item;
  item.props.caption = CString::FromUtf16(std::u16string(kMaxLoadedText, u'a'));
  std::vector<BYTE> bytes = StoreRecord(&item, Exchange);
  const int before = RecordBase::alive;
  EXPECT_TRUE(LoadsWhole(bytes));
  const BYTE length[] = {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x7F};  // UTF-16 follows; 0xFFFF: a word of length
  const auto at = std::search(bytes.begin(), bytes.end(), std::begin(length), std::end(length));
  ASSERT_NE(at, bytes.end());
  const size_t offset = static_cast<size_t>(at - bytes.begin());
  bytes[offset + 4] = 0x00;
  bytes[offset + 5] = 0x80;
  const BYTE one[] = {'a', 0};
  bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(offset + 6), std::begin(one), std::end(one));
  EXPECT_FALSE(LoadsWhole(bytes));
  EXPECT_EQ(RecordBase::alive, before);
}

// An item height of 1.5e9 overflowed the panel's sums, and heights of a few hundred thousand made each
// paint ask for a bitmap of hundreds of MB: a record with a size or margin beyond any screen (which we
// do not write) is refused whole; the largest a screen holds comes back.
TEST(TaskPanelRecord, SizesAndMarginsBeyondAnyScreenAreRefused) {
  RecordItem item;
  item.itemProps.itemSize = CSize(1231, 1232);
  item.itemProps.margins = CRect(1233, 1234, 1235, 1236);
  const std::vector<BYTE> good = StoreRecord(&item, Exchange);
  const int before = RecordBase::alive;
  EXPECT_TRUE(LoadsWhole(good));
  const std::pair<int32_t, int32_t> changes[] = {{1232, 1500000000}, {1231, 300000}, {1231, -1}, {1232, kMaxLoadedExtent + 1},
                                                 {1236, 0x7FFFFFFF}, {1233, -kMaxLoadedExtent - 1}, {1233, kMaxLoadedExtent + 1}};
  for (const auto& [from, to] : changes) EXPECT_FALSE(LoadsWhole(WithValue(good, from, to))) << from << " " << to;
  EXPECT_EQ(RecordBase::alive, before);
  EXPECT_TRUE(LoadsWhole(WithValue(WithValue(good, 1231, kMaxLoadedExtent), 1234, -kMaxLoadedExtent)));
  EXPECT_TRUE(LoadsWhole(WithValue(good, 1235, kDefaultSide)));
}

// Elements as a program makes them: texts of any length (up to and past the bound, a surrogate pair across
// it), sizes and margins at, inside and past a screen, the theme's sides. What is stored is read back,
// and as it was stored: texts cut at the bound before a pair, sizes and sides held within a screen.
TEST(TaskPanelRecord, WhateverIsStoredIsReadBack) {
  tktest::Generator gen(2024);
  const auto next = [&gen] { return gen.Next(); };
  const auto pick = [&](std::initializer_list<LONG> values) {
    const uint32_t at = next() % (values.size() + 1);
    return at < values.size() ? *(values.begin() + at) : static_cast<LONG>(next());
  };
  const auto extent = [&] { return pick({-1, 0, 1, kMaxLoadedExtent, kMaxLoadedExtent + 1, INT32_MIN, INT32_MAX}); };
  const auto side = [&] {
    return pick({kDefaultSide, -kMaxLoadedExtent - 1, -kMaxLoadedExtent, 0, 4, kMaxLoadedExtent, kMaxLoadedExtent + 1, INT32_MAX});
  };
  const auto text = [&] {
    const int lengths[] = {0, 1, 300, kMaxLoadedText - 1, kMaxLoadedText, kMaxLoadedText + 1, kMaxLoadedText + 40};
    std::u16string t(static_cast<size_t>(lengths[next() % 7]), u'x');
    // A surrogate pair where the bound falls: it goes whole or not at all.
    if (t.size() > static_cast<size_t>(kMaxLoadedText) && next() % 2 == 0) {
      t[kMaxLoadedText - 1] = 0xD83D;
      t[kMaxLoadedText] = 0xDE00;
    }
    return t;
  };
  const auto expectedText = [](const std::u16string& t) {
    if (t.size() <= static_cast<size_t>(kMaxLoadedText)) return t;
    const bool pairAcross = t[kMaxLoadedText - 1] == 0xD83D;
    return t.substr(0, static_cast<size_t>(kMaxLoadedText) - (pairAcross ? 1 : 0));
  };
  const auto expectedExtent = [](LONG v) { return v < 0 ? 0 : v > kMaxLoadedExtent ? kMaxLoadedExtent : v; };
  const auto expectedSide = [](LONG v) {
    return v == kDefaultSide ? v : v < -kMaxLoadedExtent ? -kMaxLoadedExtent : v > kMaxLoadedExtent ? kMaxLoadedExtent : v;
  };
  const int before = RecordBase::alive;
  for (int n = 0; n < 40; ++n) {
    SCOPED_TRACE(n);
    RecordItem item;
    const std::u16string caption = text(), tooltip = text(), drag = text();
    item.props.caption = CString::FromUtf16(caption);
    item.props.tooltip = CString::FromUtf16(tooltip);
    item.props.id = pick({0, -1, INT32_MAX});
    item.props.iconPadding = CRect(side(), side(), side(), side());
    item.itemProps.margins = CRect(side(), side(), side(), side());
    item.itemProps.itemSize = CSize(extent(), extent());
    item.itemProps.dragText = CString::FromUtf16(drag);
    CObject* pObject = Load(StoreRecord(&item, Exchange));
    auto* read = dynamic_cast<RecordItem*>(pObject);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->props.caption.ToUtf16(), expectedText(caption));
    EXPECT_EQ(read->props.tooltip.ToUtf16(), expectedText(tooltip));
    EXPECT_EQ(read->itemProps.dragText.ToUtf16(), expectedText(drag));
    EXPECT_EQ(read->props.id, item.props.id);
    const CRect& p = item.props.iconPadding;
    EXPECT_EQ(read->props.iconPadding,
              CRect(expectedSide(p.left), expectedSide(p.top), expectedSide(p.right), expectedSide(p.bottom)));
    const CRect& m = item.itemProps.margins;
    EXPECT_EQ(read->itemProps.margins,
              CRect(expectedSide(m.left), expectedSide(m.top), expectedSide(m.right), expectedSide(m.bottom)));
    EXPECT_EQ(read->itemProps.itemSize,
              CSize(expectedExtent(item.itemProps.itemSize.cx), expectedExtent(item.itemProps.itemSize.cy)));
    delete pObject;
  }
  EXPECT_EQ(RecordBase::alive, before);
}

// Records the keys an exchange visits.
class KeyLog : public CTKPPropExchange {
 public:
  explicit KeyLog(int schema) { m_nSchema = schema; }
  BOOL ExchangeProp(LPCTSTR name, int, void*, const void*) override {
    keys += CString(name).ToUtf16() + u" ";
    return TRUE;
  }
  CTKPPropExchange* GetSection(LPCTSTR) override { return nullptr; }
  std::u16string keys;
};

TEST(TaskPanelProps, KeysComeInOrderAndLaterOnesNeedANewerSchema) {
  ElementProps element;
  GroupItemProps item;
  KeyLog old(8);
  ExchangeElementProps(&old, element);
  ExchangeGroupItemProps(&old, item);
  EXPECT_EQ(old.keys, u"Caption Tooltip Id Type IconIndex Enabled AllowDrag AllowDrop Margins Bold ItemSize Selected ");
  KeyLog nine(9);
  ExchangeGroupItemProps(&nine, item);
  EXPECT_EQ(nine.keys, u"Margins Bold ItemSize Selected AutoHeight ");
  KeyLog current(16);
  ExchangeElementProps(&current, element);
  GroupProps group;
  ExchangeGroupProps(&current, group);
  ExchangeGroupItemProps(&current, item);
  EXPECT_EQ(current.keys,
            u"Caption Tooltip Id Type IconIndex Enabled AllowDrag AllowDrop Visible IconPadding CaptionVisible "
            u"Expandable Expanded Special Layout MarginsInner MarginsOuter IconSize Margins Bold ItemSize Selected "
            u"AutoHeight DragText ");
}

TEST(TaskPanelColor, HlsRoundTripsAndGreysHaveNoSaturation) {
  for (tkcolor::Color c : {0x000000u, 0xFFFFFFu, 0x0000FFu, 0x3C8DE6u, 0x808080u, 0xC0FF10u}) {
    EXPECT_EQ(FromHls(ToHls(c)), c) << std::hex << c;
  }
  EXPECT_EQ(ToHls(0x808080).saturation, 0);
  EXPECT_NEAR(ToHls(0xFF0000).hue, 2.0 / 3, 1e-9);  // pure blue
}

TEST(TaskPanelColor, TheExpandPictureTakesTheTargetHueAndNeverDividesByZero) {
  const tkcolor::Color white = 0xFFFFFF, navy = 0x800000;
  EXPECT_EQ(RecolorExpandPixel(white, white, navy), kExpandMask);
  const Hls recoloured = ToHls(RecolorExpandPixel(0x404040, white, navy));
  EXPECT_NEAR(recoloured.hue, ToHls(navy).hue, 0.01);
  // A black background: the ratio is taken as its limit of 1, the pixel keeps its lightness.
  const Hls kept = ToHls(RecolorExpandPixel(0x808080, 0x000000, navy));
  EXPECT_NEAR(kept.lightness, ToHls(0x808080).lightness, 0.01);
  // Both light: the ratio may exceed 1 but the lightness stays at most 1.
  EXPECT_LE(ToHls(RecolorExpandPixel(0xF0F0F0, 0xE8E8E8, 0xFFFFFF)).lightness, 1.0);
}

TEST(TaskPanelColor, PremultiplyAndFade) {
  std::uint8_t px[8] = {200, 100, 50, 128, 10, 20, 30, 0};
  PremultiplyAlpha(px, 2);
  EXPECT_EQ(px[0], 100);
  EXPECT_EQ(px[2], 25);
  EXPECT_EQ(px[3], 128);
  EXPECT_EQ(px[4], 0);
  EXPECT_EQ(FadeAlpha(50, 200), 63);
  EXPECT_EQ(FadeAlpha(300, 200), 255);
  EXPECT_EQ(FadeAlpha(0, 0), 255);
  EXPECT_EQ(FadeAlpha(-4, 10), 0);
}

}  // namespace
}  // namespace taskpanel
