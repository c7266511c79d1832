// ResourceHtmlCallbacks: a host for a page document that reads only the program's own resources. Its text
// and binary fetches serve "res://" URLs as the viewer's do and give nothing for any other URL; it makes no
// form controls and shows nothing. One process-wide object.
#pragma once

#include "preview/html/html_browser_callbacks.h"

namespace htmlview {

class ResourceHtmlCallbacks : public NullHtmlCallbacks {
 public:
  char16_t* ReadText(const char16_t* url, int* outByteCount) override;
  uint8_t* ReadBinary(const char16_t* url, int* outByteCount) override;
};

ResourceHtmlCallbacks& TheResourceHtmlCallbacks();

}  // namespace htmlview
