#include "toolkit/dockingpane/dock_layout_records.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "platform/classlib/classlib_testing.h"

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

}  // namespace
}  // namespace dock
