// The clipboard form read back, refused for classes of another kind and for damaged or oversized data;
// the properties' key order and schema gates; the expand picture's recolouring and the fades.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "toolkit/taskpanel/tp_clip_record.h"
#include "toolkit/taskpanel/tp_color.h"
#include "toolkit/taskpanel/tp_props.h"

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

TEST(TaskPanelRecord, ATextLongerThanTheBoundIsRefused) {
  RecordItem item;
  item.props.caption = CString::FromUtf16(std::u16string(kMaxLoadedText + 1, u'a'));
  const auto bytes = StoreRecord(&item, Exchange);
  const int before = RecordBase::alive;
  EXPECT_EQ(Load(bytes), nullptr);
  EXPECT_EQ(RecordBase::alive, before);
  item.props.caption = CString::FromUtf16(std::u16string(kMaxLoadedText, u'a'));
  CObject* pObject = Load(StoreRecord(&item, Exchange));
  ASSERT_NE(pObject, nullptr);
  delete pObject;
}

// An item height of 1.5e9 overflowed the panel's sums, and heights of a few hundred thousand made each
// paint ask for a bitmap of hundreds of MB: a size or margin beyond any screen is refused as a whole
// record; the largest a screen holds comes back.
TEST(TaskPanelRecord, SizesAndMarginsBeyondAnyScreenAreRefused) {
  const auto loads = [](const GroupItemProps& props) {
    RecordItem item;
    item.itemProps = props;
    CObject* pObject = Load(StoreRecord(&item, Exchange));
    delete pObject;
    return pObject != nullptr;
  };
  const int before = RecordBase::alive;
  for (const CSize size : {CSize(100, 1500000000), CSize(300000, 20), CSize(-1, 20), CSize(20, kMaxLoadedExtent + 1)}) {
    GroupItemProps props;
    props.itemSize = size;
    EXPECT_FALSE(loads(props)) << size.cx << "x" << size.cy;
  }
  for (const CRect margins : {CRect(0, 0, 0, 0x7FFFFFFF), CRect(-kMaxLoadedExtent - 1, 0, 0, 0), CRect(kMaxLoadedExtent + 1, 0, 0, 0)}) {
    GroupItemProps props;
    props.margins = margins;
    EXPECT_FALSE(loads(props)) << margins.left << " " << margins.bottom;
  }
  EXPECT_EQ(RecordBase::alive, before);
  GroupItemProps largest;
  largest.itemSize = CSize(kMaxLoadedExtent, kMaxLoadedExtent);
  largest.margins = CRect(kMaxLoadedExtent, -kMaxLoadedExtent, kDefaultSide, 0);
  EXPECT_TRUE(loads(largest));
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
