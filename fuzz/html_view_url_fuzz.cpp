// URL resolution of arbitrary link and base texts (split at the first zero unit): the result fits the
// viewer's URL buffer, also when copied into a small one. Both texts and the result are judged for where
// they lead: a share or a device always leads outside.
#include <cstdlib>

#include "fuzz/fuzz_text.h"
#include "preview/address_reach.h"
#include "preview/html/html_url.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::u16string text = FuzzText(data, size);
  const size_t split = text.find(u'\0');
  const std::u16string href = text.substr(0, split);
  const std::u16string base = split == std::u16string::npos ? u"" : text.substr(split + 1);
  const std::u16string resolved = htmlview::ResolveUrl(href, base);
  if (resolved.size() > htmlview::kMaxUrlLength) abort();
  for (const std::u16string* address : {&href, &base, &resolved})
    if (preview::NamesShareOrDevice(*address) && !preview::ReachesOutside(*address)) abort();
  char16_t small[16];
  htmlview::ResolveUrl(href.c_str(), small, 16, base.c_str());
  if (std::u16string_view(small).size() > 15) abort();
  return 0;
}
