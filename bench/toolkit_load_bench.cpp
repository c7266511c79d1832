// The toolkit loading what it keeps from one run to the next, at two sizes each, best of three: a set of
// command ids as the profile stores it (the command bars' used commands, read at every start), and under
// Wine the image manager's icons: one command's icons as the clipboard carries them (the fuzz target
// fuzz_icon_record's stream), and the whole manager's icon sets. The inputs are made the way a hostile or
// damaged profile or clipboard would hold them: ids and widths that all fall into one bucket of a table of
// 17, and, for the tables sized to their data, ids that all fall into one bucket of that table.
//   toolkit_load_bench [SCALE]      (SCALE divides every size, for a quick look)
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/classlib/cmemfile.h"
#include "toolkit/commandbars/frame/tkp_command_bars_options.h"
#include "toolkit/common/tkp_image_record.h"
#include "toolkit/common/tkp_prop_exchange.h"
#include "toolkit/common/tkp_prop_values.h"

#ifdef _WIN32
#include <windows.h>

#include "toolkit/common/tkp_image_manager.h"
#endif

namespace {

// Seconds of the best of three runs of `run`, each after `prepare`; a run of more than ten seconds is
// not repeated.
double BestOfThree(const std::function<void()>& prepare, const std::function<void()>& run) {
  double best = 0;
  for (int i = 0; i < 3 && (i == 0 || best < 10); ++i) {
    prepare();
    const auto start = std::chrono::steady_clock::now();
    run();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (i == 0 || seconds < best) best = seconds;
  }
  return best;
}

void Report(const char* what, size_t bytes, size_t items, double seconds) {
  std::printf("%-54s %8.2f MB %9zu items %10.3f s\n", what, static_cast<double>(bytes) / 1e6, items, seconds);
  std::fflush(stdout);
}

// A set of command ids in its stored form: the count, then each id with its value.
std::vector<BYTE> CommandSetBytes(const std::vector<UINT>& ids) {
  return TKPArchiveStore([&](CArchive& ar) {
    ar.WriteCount(static_cast<DWORD>(ids.size()));
    for (UINT id : ids) {
      ar << id;
      ar << static_cast<BOOL>(TRUE);
    }
  });
}

void LoadCommandSet(const std::vector<BYTE>& bytes, CTKPCommandSet& set) {
  CMemFile file(const_cast<BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
  CArchive ar(&file, CArchive::load);
  CTKPPropExchangeArchive px(ar);
  TKPExchangeCommandSet(&px, _T("UsedCommands"), set);
}

// A named list of ids the data holds.
struct IdShape {
  const char* name;
  std::vector<UINT> ids;
};

// `count` ids whose hashes ((id >> 4) modulo the table size) all meet in one bucket of a table of `table`.
std::vector<UINT> CollidingIds(size_t count, UINT table) {
  std::vector<UINT> ids;
  for (size_t i = 0; i < count; ++i) ids.push_back(static_cast<UINT>(i * table * 16));
  return ids;
}

// Ids that all meet in one bucket of a table sized to `count` ids: ids up to 2^32 fill one bucket of it
// only as long as they last.
std::vector<UINT> IdsInOneSizedBucket(size_t count) {
  const UINT table = HashTableSizeFor(count);
  return CollidingIds(static_cast<size_t>(std::min<uint64_t>(count, (uint64_t{1} << 32) / (uint64_t{16} * table))), table);
}

void TimeCommandSet(const char* name, const std::vector<UINT>& ids) {
  const std::vector<BYTE> stored = CommandSetBytes(ids);
  std::unique_ptr<CTKPCommandSet> set;
  const double seconds = BestOfThree([&set] { set = std::make_unique<CTKPCommandSet>(); },
                                     [&] { LoadCommandSet(stored, *set); });
  Report(name, stored.size(), static_cast<size_t>(set->GetCount()), seconds);
}

void CommandSets(size_t scale) {
  for (size_t bytes : {size_t{1600000}, size_t{3200000}}) {
    const size_t count = bytes / scale / 8;
    std::vector<UINT> consecutive(count);
    for (size_t i = 0; i < count; ++i) consecutive[i] = static_cast<UINT>(i);
    const std::vector<IdShape> shapes = {
        {"command set, consecutive ids", consecutive},
        {"command set, ids in one bucket of 17", CollidingIds(count, 17)},
        {"command set, ids in one bucket of the sized table", IdsInOneSizedBucket(count)},
    };
    for (const IdShape& shape : shapes) TimeCommandSet(shape.name, shape.ids);
  }
  // The most ids that can meet in one bucket of a table sized to them.
  constexpr size_t kWorst = 14000;
  TimeCommandSet("command set, 14,000 ids in one bucket of its table", IdsInOneSizedBucket(kWorst / scale));
}

#ifdef _WIN32

constexpr LPCTSTR kCheckSum = _T("CTKPImageManagerIcons");

// One icon item: its width and an icon record without images (the smallest record there is).
void WriteIcon(CTKPPropExchange* item, CArchive& ar, LONG width) {
  PX_Long(item, _T("Width"), width, 16);
  TKPIconRecord record;
  record.height = 16;
  TKPWriteIconRecord(ar, record);
}

// The icons of one command, one item per width.
void WriteIcons(CArchive& ar, CTKPPropExchange* px, const std::vector<LONG>& widths) {
  CString check(kCheckSum);
  PX_String(px, _T("CheckSum"), check, kCheckSum);
  std::unique_ptr<CTKPSectionEnumerator> icons(px->GetEnumerator(_T("Icon")));
  POSITION pos = icons->GetPosition(static_cast<DWORD>(widths.size()));
  for (LONG width : widths) {
    std::unique_ptr<CTKPPropExchange> item(icons->GetNext(pos));
    WriteIcon(item.get(), ar, width);
  }
}

// Items of the clipboard stream of `bytes` bytes: each item is its width and a record of 24 bytes.
size_t IconItems(size_t bytes) { return bytes / 28; }

void PastedIcons(size_t scale) {
  for (size_t bytes : {size_t{3800000}, size_t{16u << 20}}) {
    const size_t count = IconItems(bytes / scale);
    struct Shape {
      const char* name;
      std::vector<LONG> widths;
    };
    std::vector<LONG> colliding, inRange;
    for (size_t i = 0; i < count; ++i) {
      colliding.push_back(static_cast<LONG>((i + 1) * 17 * 16));  // one bucket of 17
      inRange.push_back(static_cast<LONG>(1 + i % 256));
    }
    for (const Shape& shape : {Shape{"pasted icons, widths in one bucket of 17", colliding},
                               Shape{"pasted icons, widths 1 to 256 over and over", inRange}}) {
      std::vector<BYTE> stored = TKPArchiveStore([&](CArchive& ar) {
        CTKPPropExchangeArchive px(ar);
        WriteIcons(ar, &px, shape.widths);
      });
      if (stored.size() > (16u << 20)) stored.resize(16u << 20);  // the most the paste takes
      HGLOBAL data = ::GlobalAlloc(GMEM_MOVEABLE, stored.size());
      std::copy(stored.begin(), stored.end(), static_cast<BYTE*>(::GlobalLock(data)));
      ::GlobalUnlock(data);
      std::unique_ptr<CTKPImageManager> images;
      UINT id = 0;
      const double seconds = BestOfThree([&images] { images = std::make_unique<CTKPImageManager>(); },
                                         [&] { id = images->PasteCustomImage(data); });
      CTKPImageManagerIconSet* set = images->GetIconSet(id);
      Report(shape.name, stored.size(), set != nullptr ? static_cast<size_t>(set->GetIcons().GetCount()) : 0,
             seconds);
      ::GlobalFree(data);
    }
  }
}

void SavedIconSets(size_t scale) {
  for (size_t bytes : {size_t{1900000}, size_t{3800000}}) {
    // A set of one icon: its id, the check text and one item, 82 bytes.
    const size_t count = bytes / scale / 82;
    const std::vector<IdShape> shapes = {
        {"saved icon sets, ids in one bucket of 17", CollidingIds(count, 17)},
        {"saved icon sets, ids in one bucket of the sized table", IdsInOneSizedBucket(count)},
    };
    for (const IdShape& shape : shapes) {
      const std::vector<BYTE> stored = TKPArchiveStore([&](CArchive& ar) {
        CTKPPropExchangeArchive px(ar);
        std::unique_ptr<CTKPSectionEnumerator> sets(px.GetEnumerator(_T("IconSet")));
        POSITION pos = sets->GetPosition(static_cast<DWORD>(shape.ids.size()));
        for (UINT id : shape.ids) {
          std::unique_ptr<CTKPPropExchange> item(sets->GetNext(pos));
          LONG value = static_cast<LONG>(id);
          PX_LongNoDefault(item.get(), _T("Id"), value);
          WriteIcons(ar, item.get(), {16});
        }
      });
      std::unique_ptr<CTKPImageManager> images;
      const double seconds = BestOfThree([&images] { images = std::make_unique<CTKPImageManager>(); },
                                         [&] {
                                           CMemFile file(const_cast<BYTE*>(stored.data()),
                                                         static_cast<UINT>(stored.size()));
                                           CArchive ar(&file, CArchive::load);
                                           images->Serialize(ar);
                                         });
      Report(shape.name, stored.size(), static_cast<size_t>(images->GetIconSetCount()), seconds);
    }
  }
}

#endif

}  // namespace

int main(int argc, char** argv) {
  const size_t scale = argc > 1 ? std::max<size_t>(1, std::strtoul(argv[1], nullptr, 10)) : 1;
  CommandSets(scale);
#ifdef _WIN32
  PastedIcons(scale);
  SavedIconSets(scale);
#endif
  return 0;
}
