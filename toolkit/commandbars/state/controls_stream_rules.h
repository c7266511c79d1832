// What the stream of customized command bars must satisfy before its bars are taken: where a stream of
// its size is kept, the name and place of the file that holds a large one, how many bars and controls
// one may hold, and how the popup controls' stored bar ids link the bars it holds. The stream comes from
// the profile or a file that anyone can edit: a stream that breaks one of these is refused whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tkpstream {

// A stream up to this size is kept as a binary profile value; a larger one in a file of its own.
constexpr size_t kMostBytesInProfile = 16000;
// Popup bars are numbered from here at each save, so that popup controls can name them.
constexpr uint32_t kFirstPopupBarId = 0x1000000;
// The most a stream holds. The saver reads every stream back before it writes it, so a stream beyond
// these is not one we wrote; bars are counted with the popups of the menus and their original copies.
constexpr size_t kMostBars = 8192;
constexpr size_t kMostControls = 4096;   // in one collection
constexpr size_t kMostPopupDepth = 32;   // popups opened from popups
constexpr size_t kMostStreamBytes = 16 * 1024 * 1024;
// Comparing, copying and resetting the bars visit a popup bar once for every way it is reached: a
// popup bar shared by two popup controls is visited twice, and shared along a chain it is visited once
// per path. The controls visited so, summed over every path, stay below this.
constexpr uint64_t kMostWalkedControls = uint64_t{1} << 20;
constexpr int kMostIconSize = 256;
// The widest a control, a margin or a bar's remembered width may be (as the bars' layout state keeps it):
// larger ones would overflow the layout's sums.
constexpr int kMostExtent = 32767;
constexpr bool IsExtent(long long value) { return value >= 0 && value <= kMostExtent; }
// Images of the user's own are numbered upwards from just above the program's command ids; a stream's
// image ids lie in that range, with room left for the images made after it is read.
constexpr uint32_t kFirstCustomImageId = 0x10AAB;
constexpr uint32_t kMostCustomImageId = kFirstCustomImageId + 0x1000000;

// A grid selector's sizes: cells at least a pixel and no wider than a control may be, and grids (shown
// at first, and grown to at most) of at most kMostSelectorCells a side whose extent is a control's.
constexpr int kMostSelectorCells = 256;
struct Extent {
  long long cx = 0, cy = 0;
};
bool SelectorFits(Extent itemsCount, Extent itemsMax, Extent cell);
// A hosted window's control size and borders: each part, and their sum on each axis, a control's extent.
bool HostedWindowFits(long long left, long long top, long long right, long long bottom, Extent size);

enum class Storage { kProfile, kFile };
// A stream of this size goes into the profile when it can; otherwise into the file.
Storage StorageFor(size_t bytes);

// The file name made from a profile name: letters, digits, spaces, '-', '_' and inner dots stay, every
// other character (path separators, drive colons, wildcards) becomes '_'; a name that would start with
// a dot starts with '_'; an empty name is "_".
std::u16string SafeFileName(const std::u16string& name);
// The path is a file directly inside the folder (compared without regard to case, '/' as '\'): no
// further folders, no "." or "..", no stream or drive colon.
bool IsFileInFolder(const std::u16string& folder, const std::u16string& path);

// One bar of a stream: its id, whether it is a toolbar (linked to by nothing), and the bar ids its popup
// controls stored (0 for none), those of its original controls and menus included.
struct StreamBar {
  uint32_t id = 0;
  bool toolbar = false;
  std::vector<uint32_t> popupIds;
  size_t controls = 0;  // its controls, the original ones and menus' included
};

// The links are sound: toolbars have distinct non-zero ids, popup bars distinct ids, every stored id
// names a popup bar of the stream (never a toolbar), no popup bar opens itself through others, and no
// chain of popups is deeper than kMostPopupDepth, and walking every path through the bars visits no
// more than kMostWalkedControls controls. *why says what was wrong.
bool CheckLinks(const std::vector<StreamBar>& bars, std::string* why);

}  // namespace tkpstream
