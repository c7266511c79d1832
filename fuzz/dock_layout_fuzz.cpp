// A saved docking layout from arbitrary bytes, as a file gives it: the records are read (counts checked
// before anything is allocated from them) and validated; a layout that validates is written again and
// must read back and validate the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/classlib/cmemfile.h"
#include "toolkit/common/tkp_prop_exchange.h"
#include "toolkit/dockingpane/dock_layout_records.h"

namespace {

bool ReadValid(CMemFile* file, dock::LayoutRecords* records) {
  CArchive ar(file, CArchive::load);
  CTKPPropExchangeArchive px(ar);
  std::string reason;
  const bool ok = dock::ReadLayout(&px, records, &reason) && dock::ValidateLayout(*records, &reason);
  ar.Abort();
  return ok;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CMemFile input(const_cast<BYTE*>(data), static_cast<UINT>(size));
  dock::LayoutRecords records;
  if (!ReadValid(&input, &records)) return 0;
  CMemFile output;
  {
    CArchive ar(&output, CArchive::store);
    CTKPPropExchangeArchive px(ar);
    dock::WriteLayout(&px, records);
  }
  const UINT length = static_cast<UINT>(output.GetLength());
  BYTE* bytes = output.Detach();
  CMemFile again(bytes, length);
  dock::LayoutRecords reread;
  if (!ReadValid(&again, &reread) || reread.objects.size() != records.objects.size()) std::abort();
  std::free(bytes);
  return 0;
}
