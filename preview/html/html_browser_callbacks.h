// What the page side of the viewer asks of its host: fetching, navigation, progress and link notices, the
// title, form controls and repainting. The page holds a pointer to it that may be null; every caller tests
// it first.
#pragma once

#include <cstdint>

namespace htmlview {

class StringTable;

// A window handle as the page keeps it; 0 means no control was made.
using HtmlWindowHandle = uintptr_t;
// What a host gives back when it makes no control.
constexpr HtmlWindowHandle kNoControl = static_cast<HtmlWindowHandle>(-1);

struct HtmlRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

class HtmlBrowserCallbacks {
 public:
  virtual ~HtmlBrowserCallbacks() = default;
  virtual void OnParseProgress(int flag, int done, int total) = 0;
  virtual void Navigate(const char16_t* url) = 0;
  virtual void OnLinkHover(int overLink, const char16_t* url) = 0;
  virtual void SetTitle(const char16_t* text) = 0;
  // New buffers owned by the caller (delete[]), or null when nothing could be fetched.
  virtual char16_t* ReadText(const char16_t* url, int* outByteCount) = 0;
  // Called on the image fetch threads.
  virtual uint8_t* ReadBinary(const char16_t* url, int* outByteCount) = 0;
  virtual void OnImagesLoaded(int loaded, int total) = 0;
  virtual int AddForm(const char16_t* action, const char16_t* method) = 0;
  virtual HtmlWindowHandle CreateEdit(int sizeInChars, int maxLength, int width, int height, const char16_t* text,
                                      int multiLine, const char16_t* name, int form, int password) = 0;
  virtual HtmlWindowHandle CreatePushButton(int width, int height, const char16_t* caption, const char16_t* name,
                                            int form) = 0;
  virtual HtmlWindowHandle CreateRadioButton(int width, int height, const char16_t* value, const char16_t* name,
                                             int form) = 0;
  virtual HtmlWindowHandle CreateCheckBox(int width, int height, const char16_t* value, const char16_t* name,
                                          int form) = 0;
  // options: one row per option, cell 0 its text and cell 1 its value.
  virtual HtmlWindowHandle CreateDropDownList(int width, int height, const StringTable& options, int selected,
                                              const char16_t* name, int form) = 0;
  virtual void PlaceControl(HtmlWindowHandle window, int x, int y) = 0;
  virtual void InvalidateDocumentRect(const HtmlRect& rect) = 0;
};

// A host that does nothing: it fetches nothing, makes no controls and shows nothing. Hosts that need only
// some of the operations start from it.
class NullHtmlCallbacks : public HtmlBrowserCallbacks {
 public:
  void OnParseProgress(int, int, int) override {}
  void Navigate(const char16_t*) override {}
  void OnLinkHover(int, const char16_t*) override {}
  void SetTitle(const char16_t*) override {}
  char16_t* ReadText(const char16_t*, int*) override { return nullptr; }
  uint8_t* ReadBinary(const char16_t*, int*) override { return nullptr; }
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

}  // namespace htmlview
