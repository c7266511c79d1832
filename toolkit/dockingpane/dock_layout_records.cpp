#include "toolkit/dockingpane/dock_layout_records.h"

#include <algorithm>
#include <memory>

#include "platform/classlib/cexception.h"

namespace dock {
namespace {

using Section = std::unique_ptr<CTKPPropExchange>;

CString Numbered(LPCTSTR prefix, int number) {
  CString name;
  name.Format(_T("%s%d"), prefix, number);
  return name;
}

Section PaneSection(CTKPPropExchange* px, int index) {
  return Section(px->GetSection(Numbered(_T("Pane-"), index)));
}

struct Failure {
  std::string reason;
};

void Check(bool ok, const char* reason) {
  if (!ok) throw Failure{reason};
}

int ClampExtent(int value) { return std::clamp(value, 0, kMaxExtent); }

// A screen rectangle within reach of any screen and not inside out: the frame is moved onto the work
// area by adding and subtracting its sides.
void ClampPlace(CRect* rc) {
  for (LONG* side : {&rc->left, &rc->top, &rc->right, &rc->bottom}) *side = std::clamp<LONG>(*side, -kMaxExtent, kMaxExtent);
  rc->right = std::max(rc->right, rc->left);
  rc->bottom = std::max(rc->bottom, rc->top);
}

// A list of indexes under "Panes" and "Pane-%d". NoDefault counts must be present when loading.
// A container's "Panes" count, its "Selected" entry when it has one, then its "Pane-%d" entries: the
// archive form is read back by position, so the order is fixed.
void ExchangeIndexList(CTKPPropExchange* px, std::vector<int>* list, bool countHasDefault, int objectCount,
                       int* selected = nullptr) {
  LONG count = static_cast<LONG>(list->size());
  const BOOL got = countHasDefault ? PX_Long(px, _T("Panes"), count, 0) : PX_LongNoDefault(px, _T("Panes"), count);
  if (selected) PX_Int(px, _T("Selected"), *selected, 0);
  if (!px->IsLoading()) {
    for (size_t i = 0; i < list->size(); ++i) PX_Int(px, Numbered(_T("Pane-"), static_cast<int>(i) + 1), (*list)[i], 0);
    return;
  }
  Check(got != FALSE, "a container's count is missing");
  // A container cannot hold more than the layout has: a larger count is damage, not a reason to loop.
  Check(count >= 0 && count <= objectCount, "a container's count is absurd");
  list->assign(static_cast<size_t>(count), 0);
  for (LONG i = 0; i < count; ++i) {
    Check(PX_Int(px, Numbered(_T("Pane-"), static_cast<int>(i) + 1), (*list)[static_cast<size_t>(i)], 0) != FALSE,
          "a container's entry is missing");
  }
}

void ExchangePane(CTKPPropExchange* px, ObjectRecord* r) {
  const bool loading = px->IsLoading() != FALSE;
  Check(PX_StringNoDefault(px, _T("Title"), r->title) != FALSE || !loading, "a pane's title is missing");
  PX_Int(px, _T("ID"), r->id, 0);
  PX_Int(px, _T("IconID"), r->iconId, -1);
  PX_Int(px, _T("Options"), r->options, 0);
  if (loading || r->hasRecord) {
    PX_Int(px, _T("DockingHolder"), r->dockingHolder, 0);
    PX_Int(px, _T("FloatingHolder"), r->floatingHolder, 0);
    PX_Int(px, _T("LastHolder"), r->lastHolder, 0);
    r->hasRecord = true;
  }
  PX_Int(px, _T("MinTrackX"), r->minTrackX, 0);
  PX_Int(px, _T("MinTrackY"), r->minTrackY, 0);
  PX_Int(px, _T("MaxTrackX"), r->maxTrackX, kMaxExtent);
  PX_Int(px, _T("MaxTrackY"), r->maxTrackY, kMaxExtent);
  if (px->GetSchema() > 9) {
    PX_Int(px, _T("TabColor"), r->tabColor, -1);
    PX_Int(px, _T("HelpId"), r->helpId, 0);
    PX_Int(px, _T("Tag"), r->tag, 0);
  }
}

void ExchangeMiniFrame(CTKPPropExchange* px, ObjectRecord* r) {
  LONG* sides[] = {&r->windowRect.top, &r->windowRect.bottom, &r->windowRect.left, &r->windowRect.right};
  LPCTSTR names[] = {_T("WindowRectTopPos"), _T("WindowRectBottomPos"), _T("WindowRectLeftPos"),
                     _T("WindowRectRightPos")};
  for (int i = 0; i < 4; ++i) {
    Check(PX_LongNoDefault(px, names[i], *sides[i]) != FALSE || !px->IsLoading(), "a floating frame's place is missing");
  }
  PX_Bool(px, _T("Collapsed"), r->collapsed, FALSE);
  PX_Int(px, _T("ExpandedHeight"), r->expandedHeight, 0);
  LONG top = r->topContainer;
  Check(PX_LongNoDefault(px, _T("TopContaner"), top) != FALSE || !px->IsLoading(), "a floating frame's container is missing");
  r->topContainer = static_cast<int>(top);
}

// One object's own keys, in the order every type exchanges them.
void ExchangeObject(CTKPPropExchange* px, ObjectRecord* r, int objectCount) {
  PX_Int(px, _T("DockingCX"), r->dockingCx, 0);
  PX_Int(px, _T("DockingCY"), r->dockingCy, 0);
  switch (r->type) {
    case kPane:
      ExchangePane(px, r);
      break;
    case kTabbedContainer: {
      ExchangeIndexList(px, &r->children, false, objectCount, &r->selected);
      break;
    }
    case kSplitterContainer:
      PX_Bool(px, _T("Horiz"), r->horizontal, FALSE);
      ExchangeIndexList(px, &r->children, true, objectCount);
      break;
    case kMiniFrame:
      ExchangeMiniFrame(px, r);
      break;
    case kAutoHidePanel: {
      LONG direction = r->direction;
      Check(PX_LongNoDefault(px, _T("Direction"), direction) != FALSE || !px->IsLoading(), "a panel's side is missing");
      r->direction = static_cast<int>(direction);
      ExchangeIndexList(px, &r->children, true, objectCount);
      break;
    }
    default:
      break;
  }
}

void ReadAll(CTKPPropExchange* px, LayoutRecords* layout) {
  Section summary(px->GetSection(_T("Summary")));
  LONG count = 0;
  Check(PX_LongNoDefault(summary.get(), _T("Panes"), count) != FALSE, "the summary has no count");
  Check(count >= 2, "a layout has at least its top and client containers");
  Check(count <= kMaxLayoutObjects, "the number of objects is absurd");
  summary->ExchangeSchema();
  layout->objects.assign(static_cast<size_t>(count), ObjectRecord{});
  for (int i = 1; i <= count; ++i) {
    Section section = PaneSection(px, i);
    ObjectRecord& r = layout->objects[static_cast<size_t>(i) - 1];
    PX_Int(section.get(), _T("Type"), r.type, -1);
    Check(r.type >= kPane && r.type <= kAutoHidePanel, "an object has an unknown type");
  }
  for (int i = 1; i <= count; ++i) {
    Section section = PaneSection(px, i);
    ObjectRecord& r = layout->objects[static_cast<size_t>(i) - 1];
    ExchangeObject(section.get(), &r, static_cast<int>(count));
    r = Storable(r);
  }
  LONG top = 0, client = 0;
  Check(PX_LongNoDefault(summary.get(), _T("TopContainer"), top) != FALSE, "the top container is missing");
  Check(PX_LongNoDefault(summary.get(), _T("Client"), client) != FALSE, "the client container is missing");
  layout->topContainer = static_cast<int>(top);
  layout->client = static_cast<int>(client);
}

bool Fits(int containerType, int childType) {
  switch (containerType) {
    case kTabbedContainer:
      return childType == kPane;
    case kSplitterContainer:
      return childType == kTabbedContainer || childType == kSplitterContainer || childType == kClientContainer;
    case kAutoHidePanel:
      // A panel shows a tab per group: a splitter there would get none and could never slide out.
      return childType == kTabbedContainer;
    case kMiniFrame:
      return childType == kSplitterContainer;
    default:
      return false;
  }
}

// Every object's one parent (0 = none), from the containers' lists and the floating frames' tops.
std::vector<int> Parents(const LayoutRecords& layout) {
  const int count = static_cast<int>(layout.objects.size());
  std::vector<int> parent(static_cast<size_t>(count) + 1, 0);
  auto adopt = [&](int container, int child) {
    const ObjectRecord* c = layout.At(child);
    Check(c != nullptr, "an index leads to no object");
    Check(child != container, "a container names itself");
    Check(Fits(layout.At(container)->type, c->type), "an object does not fit its container");
    Check(parent[static_cast<size_t>(child)] == 0, "an object has two parents");
    Check(child != layout.topContainer, "the top container lies inside another object");
    parent[static_cast<size_t>(child)] = container;
  };
  for (int i = 1; i <= count; ++i) {
    const ObjectRecord& r = *layout.At(i);
    if (r.type == kMiniFrame) {
      Check(r.topContainer != 0, "a floating frame has no container");
      adopt(i, r.topContainer);
    }
    for (int child : r.children) adopt(i, child);
  }
  return parent;
}

void CheckNoCycle(const std::vector<int>& parent, int count) {
  for (int i = 1; i <= count; ++i) {
    int steps = 0;
    for (int p = parent[static_cast<size_t>(i)]; p != 0; p = parent[static_cast<size_t>(p)]) {
      Check(p != i && ++steps <= count, "an object contains itself");
    }
  }
}

bool Inside(const std::vector<int>& parent, int object, int ancestor) {
  for (int p = object; p != 0; p = parent[static_cast<size_t>(p)]) {
    if (p == ancestor) return true;
  }
  return false;
}

// A pane in a group that reaches neither the top container, a floating frame nor an auto-hide panel could
// never be shown.
void CheckPlaced(const LayoutRecords& layout, const std::vector<int>& parent) {
  for (int i = 1; i <= static_cast<int>(layout.objects.size()); ++i) {
    if (layout.At(i)->type != kPane || parent[static_cast<size_t>(i)] == 0) continue;
    int root = i;
    while (parent[static_cast<size_t>(root)] != 0) root = parent[static_cast<size_t>(root)];
    const int type = layout.At(root)->type;
    Check(root == layout.topContainer || type == kMiniFrame || type == kAutoHidePanel, "a pane's group lies in no arrangement");
  }
}

void CheckObjects(const LayoutRecords& layout) {
  bool sides[4] = {};
  for (int i = 1; i <= static_cast<int>(layout.objects.size()); ++i) {
    const ObjectRecord& r = *layout.At(i);
    if (r.type == kPane) {
      Check(r.id != 0, "a pane has no id");
      for (int holder : {r.dockingHolder, r.floatingHolder, r.lastHolder}) {
        const ObjectRecord* h = layout.At(holder);
        Check(holder == 0 || (h != nullptr && h->type == kTabbedContainer), "a pane's holder is not a tabbed container");
      }
    } else if (r.type == kAutoHidePanel) {
      Check(r.direction >= 0 && r.direction <= 3, "a panel lies on no side");
      Check(!sides[r.direction], "two panels lie on one side");
      sides[r.direction] = true;
    }
  }
}

}  // namespace

ObjectRecord Storable(const ObjectRecord& record) {
  ObjectRecord r = record;
  for (int* extent : {&r.dockingCx, &r.dockingCy, &r.minTrackX, &r.minTrackY, &r.maxTrackX, &r.maxTrackY, &r.expandedHeight}) {
    *extent = ClampExtent(*extent);
  }
  ClampPlace(&r.windowRect);
  return r;
}

void WriteLayout(CTKPPropExchange* px, const LayoutRecords& layout) {
  px->EmptySection();
  Section summary(px->GetSection(_T("Summary")));
  LONG count = static_cast<LONG>(layout.objects.size());
  PX_LongNoDefault(summary.get(), _T("Panes"), count);
  summary->ExchangeSchema();
  for (int i = 1; i <= count; ++i) {
    int type = layout.objects[static_cast<size_t>(i) - 1].type;
    PX_Int(PaneSection(px, i).get(), _T("Type"), type, -1);
  }
  for (int i = 1; i <= count; ++i) {
    ObjectRecord copy = Storable(layout.objects[static_cast<size_t>(i) - 1]);
    ExchangeObject(PaneSection(px, i).get(), &copy, count);
  }
  LONG top = layout.topContainer, client = layout.client;
  PX_LongNoDefault(summary.get(), _T("TopContainer"), top);
  PX_LongNoDefault(summary.get(), _T("Client"), client);
}

bool ReadLayout(CTKPPropExchange* px, LayoutRecords* layout, std::string* reason) {
  LayoutRecords read;
  try {
    ReadAll(px, &read);
  } catch (const Failure& failure) {
    if (reason) *reason = failure.reason;
    return false;
  } catch (CException* e) {
    e->Delete();
    if (reason) *reason = "the saved data ends early or is damaged";
    return false;
  }
  *layout = std::move(read);
  return true;
}

bool ValidateLayout(const LayoutRecords& layout, std::string* reason) {
  try {
    const int count = static_cast<int>(layout.objects.size());
    Check(count >= 2 && count <= kMaxLayoutObjects, "the number of objects is absurd");
    const ObjectRecord* top = layout.At(layout.topContainer);
    Check(top != nullptr && top->type == kSplitterContainer, "the top container is not a splitter container");
    const ObjectRecord* client = layout.At(layout.client);
    Check(client != nullptr && client->type == kClientContainer, "the client container is missing");
    const std::vector<int> parent = Parents(layout);
    CheckNoCycle(parent, count);
    Check(Inside(parent, layout.client, layout.topContainer), "the client container lies outside the top container");
    CheckPlaced(layout, parent);
    CheckObjects(layout);
  } catch (const Failure& failure) {
    if (reason) *reason = failure.reason;
    return false;
  }
  return true;
}

}  // namespace dock
