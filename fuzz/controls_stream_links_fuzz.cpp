// The checks of a customized bars stream: popup links read from bytes (a bar: its id byte, a byte whose
// low bit says whether it is a toolbar and whose other bits count its controls in 64s, then the popup ids
// it names until a 0xFF), and a file path against its folder. Bars shared along many paths must be
// refused in time linear in the bars, never walked path by path.
#include <cstddef>
#include <cstdint>
#include <string>

#include "toolkit/commandbars/state/controls_stream_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<tkpstream::StreamBar> bars;
  size_t at = 0;
  while (at + 2 <= size && bars.size() <= tkpstream::kMostBars) {
    tkpstream::StreamBar bar;
    bar.id = data[at];
    bar.toolbar = (data[at + 1] & 1) != 0;
    bar.controls = static_cast<size_t>(data[at + 1] >> 1) * 64;
    at += 2;
    while (at < size && data[at] != 0xFF) bar.popupIds.push_back(data[at++]);
    ++at;
    bars.push_back(bar);
  }
  std::string why;
  tkpstream::CheckLinks(bars, &why);
  std::u16string text;
  for (size_t i = 0; i + 1 < size; i += 2) text += static_cast<char16_t>(data[i] | data[i + 1] << 8);
  const std::u16string name = tkpstream::SafeFileName(text);
  tkpstream::IsFileInFolder(u"C:\\Data", u"C:\\Data\\" + name);
  tkpstream::IsFileInFolder(text.substr(0, text.size() / 2), text);
  return 0;
}
