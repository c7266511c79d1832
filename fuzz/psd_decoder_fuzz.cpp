// The PSD decoder over arbitrary bytes: a known result code, and a bitmap only with a successful load,
// sized by the header's rows and columns.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "preview/psd/psd_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  PsdDecoder decoder;
  const int result = decoder.Load(data, size);
  if (result > 0 || result < kPsdUnknownCompression) std::abort();
  if (decoder.HasBitmap()) {
    if (result != kPsdOk) std::abort();
    if (decoder.Bits().size() != decoder.RowStride() * static_cast<size_t>(decoder.Rows())) std::abort();
  }
  return 0;
}
