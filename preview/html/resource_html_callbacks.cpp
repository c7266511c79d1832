#include "preview/html/resource_html_callbacks.h"

#include "preview/html/html_browser_logic.h"
#include "preview/html/html_fetch_win32.h"

namespace htmlview {
namespace {

// The resource's reply; false for any URL that is not "res://" or names no resource.
bool FetchResourceUrl(const char16_t* url, FetchResult& result) {
  const std::u16string address = url ? url : u"";
  return StartsWithNoCase(address, u"res://") && FetchUrl(address, FetchOptions{}, result);
}

}  // namespace

char16_t* ResourceHtmlCallbacks::ReadText(const char16_t* url, int* outByteCount) {
  FetchResult result;
  return FetchResourceUrl(url, result) ? TakeReplyText(result, outByteCount) : nullptr;
}

uint8_t* ResourceHtmlCallbacks::ReadBinary(const char16_t* url, int* outByteCount) {
  FetchResult result;
  if (!FetchResourceUrl(url, result)) return nullptr;
  if (outByteCount) *outByteCount = result.size;
  return result.bytes;
}

ResourceHtmlCallbacks& TheResourceHtmlCallbacks() {
  static ResourceHtmlCallbacks callbacks;
  return callbacks;
}

}  // namespace htmlview
