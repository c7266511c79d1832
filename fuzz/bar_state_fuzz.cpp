// The saved state of the command bars, read back from a profile that anyone can edit: the toolbar layout
// (records, dock-bar rows, the status bar) and the shortcut table. The input is a list of profile
// values, 6 bytes each: a section, a value name and a 32-bit value; the raw bytes are also offered as a
// stored shortcut table.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/commandbars/state/bar_layout_state.h"
#include "toolkit/commandbars/state/key_names.h"

namespace {

const std::u16string kP = u"CommandBars";

std::u16string Section(uint8_t s) {
  if (s % 16 == 0) return tkpstate::SummarySection(kP);
  if (s % 16 == 1) return kP;
  if (s % 16 < 6) return tkpstate::DockBarSection(kP, s % 16 - 2);
  return tkpstate::BarSection(kP, s % 16 - 6);
}

std::u16string Name(uint8_t n) {
  static const char16_t* const kNames[] = {
      u"Bars", u"ScreenCX", u"ScreenCY", u"BarID", u"Visible", u"Floating", u"XPos", u"YPos", u"MRUWidth",
      u"MRUDockID", u"MRUDockLeftPos", u"MRUDockTopPos", u"MRUDockRightPos", u"MRUDockBottomPos",
      u"MRUFloatXPos", u"MRUFloatYPos", u"DialogBar", u"DialogBarDockingClientCx", u"StatusBar"};
  constexpr size_t kCount = sizeof kNames / sizeof kNames[0];
  if (n < kCount) return kNames[n];
  std::u16string row = u"Bar#";
  row += static_cast<char16_t>(u'0' + (n - kCount) % 10);
  return row;
}

class FuzzProfile : public tkpstate::ProfileReader {
 public:
  bool GetInt(const std::u16string& section, const std::u16string& name, int& value) const override {
    const auto it = values.find({section, name});
    if (it == values.end()) return false;
    value = it->second;
    return true;
  }
  std::map<std::pair<std::u16string, std::u16string>, int> values;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzProfile profile;
  for (size_t at = 0; at + 6 <= size; at += 6) {
    const uint32_t v = data[at + 2] | data[at + 3] << 8 | data[at + 4] << 16 | static_cast<uint32_t>(data[at + 5]) << 24;
    profile.values[{Section(data[at]), Name(data[at + 1])}] = static_cast<int>(v);
  }
  const tkpstate::Screen screen{1024, 768, 32, 32, {}};
  const tkpstate::SavedLayout layout = tkpstate::ReadLayout(profile, kP, screen);
  if (layout.damaged && (!layout.bars.empty() || !layout.rows[0].empty())) std::abort();
  std::set<int> ids;
  for (const tkpstate::BarRecord& r : layout.bars) {
    if (r.barId == 0 || !ids.insert(r.barId).second) std::abort();
    if (r.x > screen.cx - screen.iconCx || r.mruFloat.y > screen.cy - screen.iconCy) std::abort();
    if (r.mruWidth < 1 || r.mruDockId < 0 || r.mruDockId >= tkpstate::kDockBars) std::abort();
    // What was read is what the saver would write again.
    const tkpstate::BarRecord again = tkpstate::Storable(r);
    if (again.mruWidth != r.mruWidth || again.mruDockId != r.mruDockId || again.dockingCx != r.dockingCx) std::abort();
  }
  std::set<int> placed;
  for (const std::vector<int>& row : layout.rows) {
    if (row.size() > static_cast<size_t>(tkpstate::kMostRowEntries)) std::abort();
    for (int id : row) {
      if (id != 0 && !placed.insert(id).second) std::abort();
    }
  }
  std::vector<tkpkeys::Accel> table;
  if (tkpkeys::ParseAccelTable(data, size, table)) {
    if (tkpkeys::SerialiseAccelTable(table).size() != size) std::abort();
    std::u16string text;
    const tkpkeys::KeyNameFn names = [](unsigned vk) { return tkpkeys::BuiltInKeyName(vk); };
    tkpkeys::PreferredShortcut(table, table[0].command, names, text);
  }
  return 0;
}
