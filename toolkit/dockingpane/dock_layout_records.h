// The saved form of a docking layout as plain records: one record per pane object, numbered from 1 in
// the order of the layout's object list, children and holders named by those numbers. Reading gives the
// records exactly as stored; Validate decides whether they describe a tree that can be built. A layout is
// read from the registry or a file, so nothing in it is trusted until Validate accepts it.
#pragma once

#include <string>
#include <vector>

#include "platform/classlib/crect.h"
#include "platform/classlib/cstring.h"
#include "toolkit/common/tkp_prop_exchange.h"

namespace dock {

// Pane object types.
enum ObjectType : int {
  kPane = 0,
  kTabbedContainer = 1,
  kSplitterContainer = 2,
  kMiniFrame = 3,
  kClientContainer = 4,
  kAutoHidePanel = 5,
};

// The most objects a layout holds: a layout makes no more, so a saved count above it is damage.
constexpr int kMaxLayoutObjects = 4096;
// Sizes and track sizes beyond this are clamped when written and when read.
constexpr int kMaxExtent = 32000;

struct ObjectRecord {
  int type = -1;
  int dockingCx = 0;
  int dockingCy = 0;
  // A pane (type 0).
  CString title;
  int id = 0;
  int iconId = -1;
  int options = 0;
  int dockingHolder = 0;   // 0 = none
  int floatingHolder = 0;
  int lastHolder = 0;
  bool hasRecord = false;  // the holders are written only for a pane with a pane record
  int minTrackX = 0, minTrackY = 0;
  int maxTrackX = kMaxExtent, maxTrackY = kMaxExtent;
  int tabColor = -1;
  int helpId = 0;
  int tag = 0;
  // Tabbed container (panes), splitter container (children), auto-hide panel (containers).
  std::vector<int> children;
  int selected = 0;        // tabbed container: the selected pane, 0 = none
  BOOL horizontal = FALSE; // splitter container
  // A floating mini frame (type 3).
  CRect windowRect;
  BOOL collapsed = FALSE;
  int expandedHeight = 0;
  int topContainer = 0;
  // An auto-hide panel (type 5).
  int direction = 0;
};

struct LayoutRecords {
  std::vector<ObjectRecord> objects;  // objects[i] has index i + 1
  int topContainer = 0;
  int client = 0;

  const ObjectRecord* At(int index) const {
    return index >= 1 && index <= static_cast<int>(objects.size()) ? &objects[static_cast<size_t>(index) - 1]
                                                                    : nullptr;
  }
};

// A record with its sizes, track sizes and floating place held within their ranges, as reading gives it.
ObjectRecord Storable(const ObjectRecord& record);
// Writes the records in the saved format ("Summary", "Pane-%d"), each as Storable makes it; the tree is
// written as it is (the saver checks it with ValidateLayout first).
void WriteLayout(CTKPPropExchange* px, const LayoutRecords& layout);
// Reads the saved format. False, with a reason, when an entry is missing, a count is absurd or a type is
// unknown; a damaged archive (its exception) is caught and reported the same way.
bool ReadLayout(CTKPPropExchange* px, LayoutRecords* layout, std::string* reason);
// True when the records describe a layout that can be built: the top container is a splitter and holds
// the client container, every index leads to an object of a type its container takes, no object has two
// parents and none contains itself, every pane in a group lies in the top container, a floating frame or
// an auto-hide panel, holders are tabbed containers, panes have ids (any but 0: a pane's
// id is unsigned, kept as an int), at most kMaxLayoutObjects objects, and at most one auto-hide panel
// lies on each side.
bool ValidateLayout(const LayoutRecords& layout, std::string* reason);

}  // namespace dock
