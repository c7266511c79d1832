// The toolkit loading what it keeps from one run to the next, each case at two sizes, best of three: a set
// of command ids as the profile stores it (the command bars' used commands, read at every start), and under
// Wine the image manager's icons: one command's icons as the clipboard carries them (the stream of the fuzz
// target fuzz_icon_record, up to the 16 MiB a paste takes), and the whole manager's icon sets. Each comes in
// the shape a profile or a clipboard holds (ids and widths one after another), and in the worst shape for
// a table: keys that all meet in one bucket of the default table of 17 and, where the table is sized to
// its data, of that table.
//   toolkit_load_bench [SCALE [CASES]]   (SCALE divides every size; CASES: any of sets, pasted, saved)
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <utility>
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

void Report(const std::string& what, size_t bytes, size_t items, double seconds) {
  std::printf("%-58s %8.2f MB %9zu items %10.3f s\n", what.c_str(), static_cast<double>(bytes) / 1e6, items,
              seconds);
  std::fflush(stdout);
}

// Keys one after another from `first`, or keys whose hashes (the key modulo the table size) all meet
// in one bucket of a table of `table`.
std::vector<UINT> Consecutive(size_t count, UINT first) {
  std::vector<UINT> keys(count);
  for (size_t i = 0; i < count; ++i) keys[i] = first + static_cast<UINT>(i);
  return keys;
}
std::vector<UINT> InOneBucket(size_t count, UINT table) {
  std::vector<UINT> keys(count);
  for (size_t i = 0; i < count; ++i) keys[i] = static_cast<UINT>((i + 1) * table * 16);
  return keys;
}

// The shapes of `count` keys that a case is timed with. Keys up to 2^32 fill one bucket of a table sized
// to them only as long as they last: that shape has as many as there can be, and is left out when the
// tables are not sized.
struct Shape {
  std::string name;
  std::vector<UINT> keys;
};
std::vector<Shape> Shapes(const std::string& what, size_t count, UINT first, bool inOneBucketOf17, bool sized) {
  std::vector<Shape> shapes = {{what + " one after another", Consecutive(count, first)}};
  if (inOneBucketOf17) shapes.push_back({what + " in one bucket of 17", InOneBucket(count, 17)});
  const UINT table = HashTableSizeFor(count);
  if (sized && table > 17) {
    const auto most = static_cast<size_t>(std::min<uint64_t>(count, (uint64_t{1} << 32) / (uint64_t{16} * table)));
    shapes.push_back({what + " in one bucket of the sized table", InOneBucket(most, table)});
  }
  return shapes;
}

// The most keys that can all meet in one bucket of a table sized to them: about 14,000.
std::vector<Shape> WorstForASizedTable(const std::string& what, size_t scale) {
  constexpr size_t kMost = 14000;
  const UINT table = HashTableSizeFor(kMost / scale);
  if (table <= 17) return {};
  return {{what + ", 14,000 in one bucket of the sized table", InOneBucket(kMost / scale, table)}};
}

// ---- command sets ----

std::vector<BYTE> CommandSetBytes(const std::vector<UINT>& ids) {
  return TKPArchiveStore([&](CArchive& ar) {
    ar.WriteCount(static_cast<DWORD>(ids.size()));
    for (UINT id : ids) {
      ar << id;
      ar << static_cast<BOOL>(TRUE);
    }
  });
}

void TimeCommandSet(const Shape& shape) {
  const std::vector<BYTE> stored = CommandSetBytes(shape.keys);
  std::unique_ptr<CTKPCommandSet> set;
  const double seconds = BestOfThree([&set] { set = std::make_unique<CTKPCommandSet>(); }, [&] {
    CMemFile file(const_cast<BYTE*>(stored.data()), static_cast<UINT>(stored.size()));
    CArchive ar(&file, CArchive::load);
    CTKPPropExchangeArchive px(ar);
    TKPExchangeCommandSet(&px, _T("UsedCommands"), *set);
  });
  Report(shape.name, stored.size(), static_cast<size_t>(set->GetCount()), seconds);
}

// A value crafted against a table sized to it: as many distinct ids as can meet in one bucket when the
// hash drops `shift` low bits (through every value of those bits), the rest copies of the first of them,
// the one at the end of the chain.
std::vector<UINT> CraftedIds(size_t count, unsigned shift) {
  const uint64_t table = HashTableSizeFor(count);
  const uint64_t step = table << shift;
  const size_t distinct = static_cast<size_t>(std::min<uint64_t>(count / 2, ((uint64_t{1} << 32) / step) << shift));
  std::vector<UINT> ids;
  for (size_t i = 0; i < distinct; ++i) {
    ids.push_back(static_cast<UINT>((i >> shift) * step + (i & ((1u << shift) - 1))));
  }
  ids.resize(count, ids.empty() ? 0 : ids.front());
  return ids;
}

void CommandSets(size_t scale) {
  // The value of 0.8 MB read at every start, and twice that, crafted for each hash.
  for (size_t bytes : {size_t{800000}, size_t{1600000}}) {
    const size_t count = bytes / scale / 8;
    TimeCommandSet({"command set, crafted for a hash of id >> 4", CraftedIds(count, 4)});
    TimeCommandSet({"command set, crafted for a hash of the whole id", CraftedIds(count, 0)});
  }
  // 8 bytes a command; the one-bucket shape at a fifth of the size (it takes minutes before the tables
  // are sized).
  for (size_t bytes : {size_t{1600000}, size_t{3200000}}) {
    const size_t count = bytes / scale / 8;
    for (const Shape& shape : Shapes("command set, ids", count, 1, false, true)) TimeCommandSet(shape);
    TimeCommandSet({"command set, ids in one bucket of 17", InOneBucket(count / 5, 17)});
  }
  for (const Shape& shape : WorstForASizedTable("command set, ids", scale)) TimeCommandSet(shape);
}

#ifdef _WIN32

// ---- icons ----

constexpr LPCTSTR kCheckSum = _T("CTKPImageManagerIcons");

// The icons of one command, an item per width: the width and an icon record without images (the smallest
// record there is, 24 bytes).
void WriteIcons(CArchive& ar, CTKPPropExchange* px, const std::vector<UINT>& widths) {
  CString check(kCheckSum);
  PX_String(px, _T("CheckSum"), check, kCheckSum);
  std::unique_ptr<CTKPSectionEnumerator> icons(px->GetEnumerator(_T("Icon")));
  POSITION pos = icons->GetPosition(static_cast<DWORD>(widths.size()));
  for (UINT width : widths) {
    std::unique_ptr<CTKPPropExchange> item(icons->GetNext(pos));
    LONG value = static_cast<LONG>(width);
    PX_Long(item.get(), _T("Width"), value, 16);
    TKPIconRecord record;
    record.height = 16;
    TKPWriteIconRecord(ar, record);
  }
}

void PastedIcons(size_t scale) {
  constexpr size_t kMostPasted = 16u << 20;
  // 28 bytes an icon; the one-bucket shape at a tenth of the size (it takes minutes when every width is
  // filed). Widths beyond 256 are refused whatever table they would go into.
  for (size_t bytes : {size_t{3800000}, kMostPasted}) {
    const size_t count = (bytes - 64) / scale / 28;  // the check text and the count fit as well
    std::vector<Shape> shapes = Shapes("pasted icons, widths", count, 1, false, false);
    shapes.push_back({"pasted icons, widths in one bucket of 17", InOneBucket(count / 10, 17)});
    for (const Shape& shape : shapes) {
      std::vector<BYTE> stored = TKPArchiveStore([&](CArchive& ar) {
        CTKPPropExchangeArchive px(ar);
        WriteIcons(ar, &px, shape.keys);
      });
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
  // About 82 bytes a set of one icon (its id, the check text and one item).
  for (size_t bytes : {size_t{1900000}, size_t{3800000}}) {
    const size_t count = bytes / scale / 82;
    std::vector<Shape> shapes = Shapes("saved icon sets, ids", count, 32768, true, true);
    if (bytes == 3800000) {
      for (Shape& worst : WorstForASizedTable("saved icon sets, ids", scale)) shapes.push_back(std::move(worst));
    }
    for (const Shape& shape : shapes) {
      const std::vector<BYTE> stored = TKPArchiveStore([&](CArchive& ar) {
        CTKPPropExchangeArchive px(ar);
        std::unique_ptr<CTKPSectionEnumerator> sets(px.GetEnumerator(_T("IconSet")));
        POSITION pos = sets->GetPosition(static_cast<DWORD>(shape.keys.size()));
        for (UINT id : shape.keys) {
          std::unique_ptr<CTKPPropExchange> item(sets->GetNext(pos));
          LONG value = static_cast<LONG>(id);
          PX_LongNoDefault(item.get(), _T("Id"), value);
          WriteIcons(ar, item.get(), {16});
        }
      });
      std::unique_ptr<CTKPImageManager> images;
      const double seconds = BestOfThree([&images] { images = std::make_unique<CTKPImageManager>(); }, [&] {
        CMemFile file(const_cast<BYTE*>(stored.data()), static_cast<UINT>(stored.size()));
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
  const std::string cases = argc > 2 ? argv[2] : "sets,pasted,saved";
  if (cases.find("sets") != std::string::npos) CommandSets(scale);
#ifdef _WIN32
  if (cases.find("pasted") != std::string::npos) PastedIcons(scale);
  if (cases.find("saved") != std::string::npos) SavedIconSets(scale);
#endif
  return 0;
}
