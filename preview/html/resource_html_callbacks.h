// ResourceHtmlCallbacks: a host for a page document that reads only the program's own resources. Its text
// and binary fetches serve "res://" URLs as the viewer's do and give nothing for any other URL; it makes no
// form controls and shows nothing. One process-wide object.
#pragma once

#include "preview/html/html_browser_callbacks.h"
#include "preview/html/html_element.h"

namespace htmlview {

class ResourceHtmlCallbacks : public HtmlBrowserCallbacks {
 public:
  void OnParseProgress(int, int, int) override {}
  void Navigate(const char16_t*) override {}
  void OnLinkHover(int, const char16_t*) override {}
  void SetTitle(const char16_t*) override {}
  char16_t* ReadText(const char16_t* url, int* outByteCount) override;
  uint8_t* ReadBinary(const char16_t* url, int* outByteCount) override;
  void OnImagesLoaded(int, int) override {}
  int AddForm(const char16_t*, const char16_t*) override { return -1; }
  HtmlWindowHandle CreateEdit(int, int, int, int, const char16_t*, int, const char16_t*, int, int) override {
    return kNoControl;
  }
  HtmlWindowHandle CreatePushButton(int, int, const char16_t*, const char16_t*, int) override { return kNoControl; }
  HtmlWindowHandle CreateRadioButton(int, int, const char16_t*, const char16_t*, int) override { return kNoControl; }
  HtmlWindowHandle CreateCheckBox(int, int, const char16_t*, const char16_t*, int) override { return kNoControl; }
  HtmlWindowHandle CreateDropDownList(int, int, const StringTable&, int, const char16_t*, int) override {
    return kNoControl;
  }
  void PlaceControl(HtmlWindowHandle, int, int) override {}
  void InvalidateDocumentRect(const HtmlRect&) override {}
};

ResourceHtmlCallbacks& TheResourceHtmlCallbacks();

}  // namespace htmlview
