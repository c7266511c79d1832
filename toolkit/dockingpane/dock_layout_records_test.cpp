#include "toolkit/dockingpane/dock_layout_records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/classlib/classlib_testing.h"
#include "toolkit/common/stored_state_testing.h"

namespace dock {
namespace {

// Named values as the registry keeps them: a missing value reads as its default.
using Table = std::map<std::u16string, std::u16string>;

class TableExchange : public CTKPPropExchange {
 public:
  TableExchange(Table& table, BOOL loading, std::u16string prefix = u"", std::vector<std::u16string>* order = nullptr)
      : m_table(table), m_prefix(std::move(prefix)), m_order(order) {
    m_bLoading = loading;
  }
  BOOL ExchangeProp(LPCTSTR name, int type, void* value, const void* def) override {
    const std::u16string key = m_prefix + CString(name).ToUtf16();
    if (m_order) m_order->push_back(key);
    if (!m_bLoading) {
      m_table[key] = type == tkpString ? static_cast<CString*>(value)->ToUtf16() : Number(*static_cast<int*>(value));
      return TRUE;
    }
    auto it = m_table.find(key);
    if (it == m_table.end()) return def != nullptr && TKPPropCopyValue(type, value, def);
    if (type == tkpString) {
      *static_cast<CString*>(value) = CString::FromUtf16(it->second);
    } else {
      *static_cast<int*>(value) = std::stoi(std::string(it->second.begin(), it->second.end()));
    }
    return TRUE;
  }
  CTKPPropExchange* GetSection(LPCTSTR name) override {
    auto* section = new TableExchange(m_table, m_bLoading, m_prefix + CString(name).ToUtf16() + u"\\", m_order);
    InitSection(section);
    return section;
  }

 private:
  static std::u16string Number(int n) {
    const std::string text = std::to_string(n);
    return std::u16string(text.begin(), text.end());
  }
  Table& m_table;
  std::u16string m_prefix;
  std::vector<std::u16string>* m_order;  // every key in the order it is exchanged, when given
};

ObjectRecord Splitter(std::vector<int> children, BOOL horizontal = TRUE) {
  ObjectRecord r;
  r.type = kSplitterContainer;
  r.children = std::move(children);
  r.horizontal = horizontal;
  return r;
}
ObjectRecord Tabbed(std::vector<int> panes, int selected = 0) {
  ObjectRecord r;
  r.type = kTabbedContainer;
  r.children = std::move(panes);
  r.selected = selected;
  return r;
}
ObjectRecord Pane(int id, const TCHAR* title, int holder = 0) {
  ObjectRecord r;
  r.type = kPane;
  r.id = id;
  r.title = title;
  r.hasRecord = true;
  r.dockingHolder = r.lastHolder = holder;
  r.dockingCx = 180;
  return r;
}
ObjectRecord OfType(int type) {
  ObjectRecord r;
  r.type = type;
  return r;
}

// Client 1, top 2 (horizontal: tabbed 3, client, tabbed 5), panes 4 and 6, a bottom panel 7 holding
// tabbed 8 with pane 9.
LayoutRecords Sample() {
  LayoutRecords l;
  l.objects = {OfType(kClientContainer), Splitter({3, 1, 5}), Tabbed({4}, 4),  Pane(101, _T("Folders\nTree"), 3),
               Tabbed({6}),              Pane(102, _T("Log"), 5),            OfType(kAutoHidePanel), Tabbed({9}),
               Pane(103, _T("Hidden"), 8)};
  l.objects[6].direction = 3;
  l.objects[6].children = {8};
  l.topContainer = 2;
  l.client = 1;
  return l;
}

Table Written(const LayoutRecords& layout) {
  Table table;
  TableExchange px(table, FALSE);
  WriteLayout(&px, layout);
  return table;
}

bool Loads(const Table& table, std::string* reason, LayoutRecords* out = nullptr) {
  Table copy = table;
  TableExchange px(copy, TRUE);
  LayoutRecords read;
  if (!ReadLayout(&px, &read, reason)) return false;
  if (out) *out = read;
  return ValidateLayout(read, reason);
}

std::string Refusal(const LayoutRecords& layout) {
  std::string reason;
  EXPECT_FALSE(Loads(Written(layout), &reason));
  return reason;
}

TEST(DockLayoutRecords, SavedLayoutReadsBackEqual) {
  const Table saved = Written(Sample());
  EXPECT_EQ(saved.at(u"Summary\\Panes"), u"9");
  EXPECT_EQ(saved.at(u"Pane-4\\Title"), u"Folders\nTree");
  EXPECT_EQ(saved.at(u"Pane-2\\Pane-2"), u"1");
  LayoutRecords read;
  std::string reason;
  ASSERT_TRUE(Loads(saved, &reason, &read)) << reason;
  EXPECT_EQ(Written(read), saved);
  EXPECT_EQ(read.objects[2].selected, 4);
  EXPECT_EQ(read.objects[3].dockingHolder, 3);
}

// The archive form is read by position: a tabbed container gives its count, its selection, then its panes.
TEST(DockLayoutRecords, ATabbedContainersKeysComeInTheirOrder) {
  Table table;
  std::vector<std::u16string> order;
  TableExchange px(table, FALSE, u"", &order);
  LayoutRecords layout = Sample();
  layout.objects[2].children = {4, 6};
  layout.objects[4].children = {};
  WriteLayout(&px, layout);
  std::vector<std::u16string> tabbed;
  for (const std::u16string& key : order) {
    if (key.rfind(u"Pane-3\\", 0) == 0) tabbed.push_back(key.substr(7));
  }
  EXPECT_EQ(tabbed, (std::vector<std::u16string>{u"Type", u"DockingCX", u"DockingCY", u"Panes", u"Selected", u"Pane-1",
                                                 u"Pane-2"}));
}

TEST(DockLayoutRecords, ArchiveFormRoundTripsAndATruncatedOneIsRefused) {
  const std::vector<BYTE> bytes = Stored([](CArchive& ar) {
    CTKPPropExchangeArchive px(ar);
    WriteLayout(&px, Sample());
  });
  for (size_t cut : {bytes.size(), bytes.size() / 2, size_t{3}}) {
    bool ok = false;
    std::string reason;
    Loaded(std::vector<BYTE>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut)), [&](CArchive& ar) {
      CTKPPropExchangeArchive px(ar);
      LayoutRecords read;
      ok = ReadLayout(&px, &read, &reason) && ValidateLayout(read, &reason);
    });
    EXPECT_EQ(ok, cut == bytes.size()) << cut << ": " << reason;
  }
}

TEST(DockLayoutRecords, AbsurdCountsAreRefusedBeforeAnythingIsMade) {
  Table saved = Written(Sample());
  saved[u"Summary\\Panes"] = u"1";
  std::string reason;
  EXPECT_FALSE(Loads(saved, &reason));
  saved[u"Summary\\Panes"] = u"2000000000";
  EXPECT_FALSE(Loads(saved, &reason));
  EXPECT_EQ(reason, "the number of objects is absurd");
  saved = Written(Sample());
  saved[u"Pane-2\\Panes"] = u"1000000";
  EXPECT_FALSE(Loads(saved, &reason));
  EXPECT_EQ(reason, "a container's count is absurd");
  saved[u"Pane-2\\Panes"] = u"-1";
  EXPECT_FALSE(Loads(saved, &reason));
}

TEST(DockLayoutRecords, MissingAndUnknownEntriesAreRefused) {
  Table saved = Written(Sample());
  saved[u"Pane-5\\Type"] = u"6";
  std::string reason;
  EXPECT_FALSE(Loads(saved, &reason));
  EXPECT_EQ(reason, "an object has an unknown type");
  saved = Written(Sample());
  saved.erase(u"Pane-4\\ID");
  EXPECT_FALSE(Loads(saved, &reason));
  EXPECT_EQ(reason, "a pane has no id");
  saved = Written(Sample());
  saved.erase(u"Summary\\TopContainer");
  EXPECT_FALSE(Loads(saved, &reason));
  saved = Written(Sample());
  saved.erase(u"Pane-3\\Panes");
  EXPECT_FALSE(Loads(saved, &reason));
}

TEST(DockLayoutRecords, CyclesAndSelfReferencesAreRefused) {
  LayoutRecords l = Sample();
  l.objects[1].children.push_back(2);  // the top container inside itself
  EXPECT_EQ(Refusal(l), "a container names itself");
  // Two splitters inside each other, outside the tree: no double parent, but a loop.
  l = Sample();
  l.objects.push_back(Splitter({11}));  // 10
  l.objects.push_back(Splitter({10}));  // 11
  EXPECT_EQ(Refusal(l), "an object contains itself");
  // The top container named as a child of one of its descendants.
  l = Sample();
  l.objects.push_back(Splitter({2}));  // 10
  l.objects[1].children.push_back(10);
  EXPECT_EQ(Refusal(l), "the top container lies inside another object");
}

TEST(DockLayoutRecords, AnObjectWithTwoParentsIsRefused) {
  LayoutRecords l = Sample();
  l.objects[4].children.push_back(4);  // pane 4 in both tabbed containers
  EXPECT_EQ(Refusal(l), "an object has two parents");
  l = Sample();
  l.objects[1].children.push_back(3);  // a tabbed container twice in the top splitter
  EXPECT_EQ(Refusal(l), "an object has two parents");
}

TEST(DockLayoutRecords, TypesThatDoNotFitTheirContainerAreRefused) {
  LayoutRecords l = Sample();
  l.objects[1].children[0] = 4;  // a bare pane in a splitter
  EXPECT_EQ(Refusal(l), "an object does not fit its container");
  l = Sample();
  l.objects[2].children = {5};  // a tabbed container in a tabbed container
  EXPECT_EQ(Refusal(l), "an object does not fit its container");
  l = Sample();
  l.topContainer = 3;
  EXPECT_EQ(Refusal(l), "the top container is not a splitter container");
  l = Sample();
  l.client = 2;
  EXPECT_EQ(Refusal(l), "the client container is missing");
  l = Sample();
  l.objects[3].floatingHolder = 2;
  EXPECT_EQ(Refusal(l), "a pane's holder is not a tabbed container");
  l = Sample();
  l.objects[1].children = {3, 5};  // the client container left out of the tree
  EXPECT_EQ(Refusal(l), "the client container lies outside the top container");
  l = Sample();
  l.objects[1].children = {3, 1};  // group 5 and its pane left out of every arrangement
  EXPECT_EQ(Refusal(l), "a pane's group lies in no arrangement");
  l = Sample();
  l.objects[1].children.push_back(40);
  EXPECT_EQ(Refusal(l), "an index leads to no object");
  // A splitter in an auto-hide panel would get no tab there and never slide out.
  l = Sample();
  l.objects.push_back(Splitter({8}));  // 10, holding the panel's group
  l.objects[6].children = {10};
  EXPECT_EQ(Refusal(l), "an object does not fit its container");
}

TEST(DockLayoutRecords, FloatingFramesAndPanelsAreChecked) {
  LayoutRecords l = Sample();
  ObjectRecord frame = OfType(kMiniFrame);
  frame.windowRect = CRect(10, 20, 300, 400);
  frame.topContainer = 11;
  l.objects.push_back(frame);             // 10
  l.objects.push_back(Splitter({12}));    // 11
  l.objects.push_back(Tabbed({13}));      // 12
  l.objects.push_back(Pane(104, _T("Floating"), 12));  // 13
  LayoutRecords read;
  std::string reason;
  ASSERT_TRUE(Loads(Written(l), &reason, &read)) << reason;
  EXPECT_EQ(read.objects[9].windowRect, CRect(10, 20, 300, 400));
  l.objects[9].topContainer = 12;
  EXPECT_EQ(Refusal(l), "an object does not fit its container");
  l.objects[9].topContainer = 0;
  EXPECT_EQ(Refusal(l), "a floating frame has no container");
  l = Sample();
  l.objects[6].direction = 7;
  EXPECT_EQ(Refusal(l), "a panel lies on no side");
  l = Sample();
  ObjectRecord panel = OfType(kAutoHidePanel);
  panel.direction = 3;
  l.objects.push_back(panel);
  EXPECT_EQ(Refusal(l), "two panels lie on one side");
}

TEST(DockLayoutRecords, OutOfRangeSizesAreClampedNotTrusted) {
  Table saved = Written(Sample());
  saved[u"Pane-4\\DockingCX"] = u"2147483647";
  saved[u"Pane-4\\MinTrackX"] = u"-5";
  LayoutRecords read;
  std::string reason;
  ASSERT_TRUE(Loads(saved, &reason, &read)) << reason;
  EXPECT_EQ(read.objects[3].dockingCx, kMaxExtent);
  EXPECT_EQ(read.objects[3].minTrackX, 0);
}

// A floating frame's saved place is moved onto the screen by arithmetic on its sides: sides beyond any
// screen, or a frame turned inside out, are brought into range when read.
TEST(DockLayoutRecords, AFloatingFramesPlaceIsKeptInRange) {
  LayoutRecords l = Sample();
  ObjectRecord frame = OfType(kMiniFrame);
  frame.topContainer = 11;
  l.objects.push_back(frame);
  l.objects.push_back(Splitter({12}));
  l.objects.push_back(Tabbed({13}));
  l.objects.push_back(Pane(104, _T("Floating"), 12));
  Table saved = Written(l);
  saved[u"Pane-10\\WindowRectLeftPos"] = u"-2147483648";
  saved[u"Pane-10\\WindowRectRightPos"] = u"2147483647";
  saved[u"Pane-10\\WindowRectTopPos"] = u"500";
  saved[u"Pane-10\\WindowRectBottomPos"] = u"100";
  LayoutRecords read;
  std::string reason;
  ASSERT_TRUE(Loads(saved, &reason, &read)) << reason;
  EXPECT_EQ(read.objects[9].windowRect, CRect(-kMaxExtent, 500, kMaxExtent, 500));
}

// A generator of layouts as a program builds them: panes docked in tabbed groups beside the client, in
// nested splitters, floating and hidden on each side, every value drawn from its limits, the values just
// past them and the far ends of an int.
class LayoutGenerator : public tktest::Generator {
 public:
  using Generator::Generator;
  int Extent() { return Value({-1, 0, 1, 180, 31999, 32000, 32001}); }
  int Side() { return Value({-32001, -32000, -1, 0, 500, 32000, 32001}); }

  // A group of panes in a tabbed container; its index.
  int Group(LayoutRecords& l, int panes) {
    const int tabbed = Add(l, Tabbed({}));
    for (int i = 0; i < panes; ++i) {
      ObjectRecord pane = Pane(0, _T(""), tabbed);
      pane.id = static_cast<int>((++m_ids) * 0x9E3779B1u);  // distinct and never 0, over the whole range
      pane.title = CString(_T('t'), static_cast<int>(Next() % 3 == 0 ? Next() % 2000 : Next() % 20));
      pane.iconId = Value({-1, 0});
      pane.options = Value({0});
      pane.floatingHolder = Next() % 2 ? tabbed : 0;
      pane.minTrackX = Extent();
      pane.minTrackY = Extent();
      pane.maxTrackX = Extent();
      pane.maxTrackY = Extent();
      pane.tabColor = Value({-1, 0});
      pane.helpId = Value({0});
      pane.tag = Value({0});
      const int added = Add(l, pane);
      l.objects[static_cast<size_t>(tabbed) - 1].children.push_back(added);
    }
    ObjectRecord& group = l.objects[static_cast<size_t>(tabbed) - 1];
    group.selected = group.children.empty() ? 0 : group.children[Next() % group.children.size()];
    return tabbed;
  }
  int Add(LayoutRecords& l, ObjectRecord r) {
    r.dockingCx = Extent();
    r.dockingCy = Extent();
    l.objects.push_back(std::move(r));
    return static_cast<int>(l.objects.size());
  }
  LayoutRecords Make(int groups) {
    LayoutRecords l;
    l.client = Add(l, OfType(kClientContainer));
    l.topContainer = Add(l, Splitter({l.client}, static_cast<BOOL>(Next() % 2)));
    int sides = 0;
    for (int g = 0; g < groups; ++g) {
      const int group = Group(l, 1 + static_cast<int>(Next() % 3));
      switch (Next() % 4) {
        case 0: {  // a nested splitter beside the client
          const int nested = Add(l, Splitter({group}, static_cast<BOOL>(Next() % 2)));
          l.objects[static_cast<size_t>(l.topContainer) - 1].children.push_back(nested);
          break;
        }
        case 1: {  // floating
          const int splitter = Add(l, Splitter({group}));
          ObjectRecord frame = OfType(kMiniFrame);
          frame.topContainer = splitter;
          frame.windowRect = CRect(Side(), Side(), Side(), Side());
          frame.collapsed = static_cast<BOOL>(Next() % 2);
          frame.expandedHeight = Extent();
          Add(l, frame);
          break;
        }
        case 2:
          if (sides < 4) {  // hidden on a side of its own
            ObjectRecord panel = OfType(kAutoHidePanel);
            panel.direction = sides++;
            panel.children = {group};
            Add(l, panel);
            break;
          }
          [[fallthrough]];
        default:
          l.objects[static_cast<size_t>(l.topContainer) - 1].children.push_back(group);
      }
    }
    return l;
  }

 private:
  uint32_t m_ids = 0;
};

// The layout as a load gives it back: sizes, track sizes and the floating places held in their ranges.
LayoutRecords Clamped(LayoutRecords l) {
  const auto clamp = [](LONG v, LONG low, LONG high) { return v < low ? low : v > high ? high : v; };
  for (ObjectRecord& r : l.objects) {
    for (int* extent : {&r.dockingCx, &r.dockingCy, &r.minTrackX, &r.minTrackY, &r.maxTrackX, &r.maxTrackY, &r.expandedHeight}) {
      *extent = clamp(*extent, 0, 32000);
    }
    CRect& place = r.windowRect;
    place = CRect(clamp(place.left, -32000, 32000), clamp(place.top, -32000, 32000), clamp(place.right, -32000, 32000),
                  clamp(place.bottom, -32000, 32000));
    place.right = std::max(place.right, place.left);
    place.bottom = std::max(place.bottom, place.top);
  }
  return l;
}

// Whatever layout a program can build is written, and read back as it was written, in the registry's form
// and the archive's: sizes held in their ranges, every pane id (those above 2^31 too), titles of any length.
// A layout of the most objects is taken; one more is neither written by the saver nor read by the loader.
TEST(DockLayoutRecords, WhateverTheSaverWritesIsReadBackAsWritten) {
  for (uint32_t seed = 0; seed < 30; ++seed) {
    SCOPED_TRACE(seed);
    LayoutGenerator gen(seed);
    const LayoutRecords l = gen.Make(1 + static_cast<int>(gen.Next() % 12));
    std::string reason;
    ASSERT_TRUE(ValidateLayout(l, &reason)) << reason;
    LayoutRecords read;
    ASSERT_TRUE(Loads(Written(l), &reason, &read)) << reason;
    EXPECT_EQ(Written(read), Written(Clamped(l)));
    const std::vector<BYTE> bytes = Stored([&](CArchive& ar) {
      CTKPPropExchangeArchive px(ar);
      WriteLayout(&px, l);
    });
    Loaded(bytes, [&](CArchive& ar) {
      CTKPPropExchangeArchive px(ar);
      LayoutRecords fromArchive;
      ASSERT_TRUE(ReadLayout(&px, &fromArchive, &reason) && ValidateLayout(fromArchive, &reason)) << reason;
      EXPECT_EQ(Written(fromArchive), Written(Clamped(l)));
    });
  }
  // The client and top container, and groups of one pane each up to the most objects.
  LayoutGenerator gen(99);
  LayoutRecords most;
  most.client = gen.Add(most, OfType(kClientContainer));
  most.topContainer = gen.Add(most, Splitter({most.client}));
  while (most.objects.size() < static_cast<size_t>(kMaxLayoutObjects)) {
    const int group = gen.Group(most, 1);
    most.objects[1].children.push_back(group);
  }
  ASSERT_EQ(most.objects.size(), static_cast<size_t>(kMaxLayoutObjects));
  std::string reason;
  EXPECT_TRUE(ValidateLayout(most, &reason)) << reason;
  EXPECT_TRUE(Loads(Written(most), &reason)) << reason;
  LayoutRecords more = most;
  gen.Group(more, 0);  // an empty group more, in no container
  more.objects.back().type = kPane;
  more.objects.back().id = 1;
  more.objects[2].children.push_back(static_cast<int>(more.objects.size()));
  EXPECT_FALSE(ValidateLayout(more, &reason));
  EXPECT_FALSE(Loads(Written(more), &reason));
}

}  // namespace
}  // namespace dock
