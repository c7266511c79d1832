// The image manager's pasted or saved icons from arbitrary bytes: the "CheckSum" text, the numbered
// "Icon" items with their widths and icon records (bitmap headers, counts and pixels). A bad stream is
// refused or raises CArchiveException; nothing is allocated from a count before it is checked.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/classlib/cmemfile.h"
#include "toolkit/common/tkp_image_record.h"
#include "toolkit/common/tkp_prop_exchange.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CMemFile file(const_cast<BYTE*>(data), static_cast<UINT>(size));
  CArchive ar(&file, CArchive::load);
  CTKPPropExchangeArchive px(ar);
  try {
    CString check;
    PX_String(&px, _T("CheckSum"), check, _T("CTKPImageManagerIcons"));
    std::unique_ptr<CTKPSectionEnumerator> items(px.GetEnumerator(_T("Icon")));
    POSITION pos = items->GetPosition();
    while (pos != nullptr) {
      std::unique_ptr<CTKPPropExchange> item(items->GetNext(pos));
      LONG width = 16;
      PX_Long(item.get(), _T("Width"), width, 16);
      TKPIconRecord record;
      if (!TKPReadIconRecord(ar, record)) break;
      // GDI reads the masks and colours a header names after it: an accepted one stays in the block.
      for (const TKPImageRecord* image : {&record.normal, &record.disabled, &record.hot, &record.checked}) {
        for (const TKPBitmapRecord* bitmap : {&image->a, &image->b}) {
          if (bitmap->IsEmpty()) continue;
          const std::uint32_t colours = static_cast<std::uint32_t>(bitmap->info[32] | bitmap->info[33] << 8 |
                                                                   bitmap->info[34] << 16) | std::uint32_t{bitmap->info[35]} << 24;
          const std::uint64_t table = (bitmap->info[16] == 3 ? 12u : 0u) + 4ull * colours;
          if (table > kTKPRecordInfoSize - 40) __builtin_trap();
        }
      }
    }
  } catch (CException* e) {
    e->Delete();
  }
  ar.Abort();
  return 0;
}
