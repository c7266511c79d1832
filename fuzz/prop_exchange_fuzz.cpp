// Properties read back through an archive exchange from arbitrary bytes, as saved state or the clipboard
// may hold them: date-times, BSTR texts and variants among the other types, in a loop while the data
// lasts. It must never read outside the data, crash or hang; a bad value raises CArchiveException. What
// was read stores again, and what that stored reads back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/classlib/cmemfile.h"
#include "toolkit/common/tkp_prop_exchange.h"

namespace {

struct Values {
  CTKPDateTime date;
  std::u16string text;
  CTKPVariant variant;
  CString string;
  CRect rect;
  LONG number = 0;
};

// One round of every type.
void Exchange(CTKPPropExchange& px, Values& v) {
  px.ExchangeProp(_T("Date"), tkpDate, &v.date, nullptr);
  px.ExchangeProp(_T("Text"), tkpBstr, &v.text, nullptr);
  px.ExchangeProp(_T("Variant"), tkpVariant, &v.variant, nullptr);
  PX_String(&px, _T("String"), v.string, _T(""));
  PX_Rect(&px, _T("Rect"), v.rect, CRect());
  PX_Long(&px, _T("Number"), v.number, 0);
}

std::vector<BYTE> Store(std::vector<Values>& rounds) {
  return TKPArchiveStore([&rounds](CArchive& ar) {
    CTKPPropExchangeArchive px(ar);
    for (Values& v : rounds) Exchange(px, v);
  });
}

// The whole rounds the bytes hold, up to the first bad one.
std::vector<Values> Load(std::vector<BYTE> bytes) {
  std::vector<Values> rounds;
  CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
  CArchive ar(&file, CArchive::load, 64);
  CTKPPropExchangeArchive px(ar);
  for (int i = 0; i < 16; ++i) {
    Values v;
    try {
      Exchange(px, v);
    } catch (CArchiveException* e) {
      e->Delete();
      break;
    }
    rounds.push_back(std::move(v));
  }
  return rounds;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // An exactly sized copy, so that a read past the end lands outside the allocation.
  std::vector<Values> rounds = Load(std::vector<BYTE>(data, data + size));
  const std::vector<BYTE> stored = Store(rounds);
  std::vector<Values> again = Load(stored);
  if (again.size() != rounds.size()) std::abort();
  if (Store(again) != stored) std::abort();
  return 0;
}
