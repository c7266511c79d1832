#include "ui/controls/hyperlink_text.h"

#include <string>

namespace ui {
namespace {

const char16_t* OpenErrorText(int result) {
  switch (result) {
    case 0: return u"The operating system is out\nof memory or resources.";
    case 2: return u"The specified file was not found.";
    case 3: return u"The specified path was not found.";
    case 5: return u"The operating system denied\naccess to the specified file.";
    case 8: return u"There was not enough memory to complete the operation.";
    case 11: return u"The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).";
    case 26: return u"A sharing violation occurred. ";
    case 27: return u"The filename association is\nincomplete or invalid.";
    case 28: return u"The DDE transaction could not\nbe completed because the request timed out.";
    case 29: return u"The DDE transaction failed.";
    case 30: return u"The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed.";
    case 31: return u"There is no application associated\nwith the given filename extension.";
    case 32: return u"The specified dynamic-link library was not found.";
    default: return nullptr;
  }
}

}  // namespace

std::u16string HyperlinkErrorText(int result) {
  std::u16string text = u"Unable to open hyperlink:\n\n";
  if (const char16_t* known = OpenErrorText(result)) return text + known;
  std::string number = std::to_string(result);
  return text + u"Unknown Error (" + std::u16string(number.begin(), number.end()) + u") occurred.";
}

LinkRect FitLinkToText(const LinkRect& current, int width, int height, LinkAlign align, bool centreVertically) {
  LinkRect fitted;
  switch (align) {
    case LinkAlign::kCentre:
      fitted.left = current.left + (current.right - current.left - width) / 2;
      break;
    case LinkAlign::kRight:
      fitted.left = current.right - width;
      break;
    case LinkAlign::kLeft:
      fitted.left = current.left;
      break;
  }
  fitted.top = centreVertically ? current.top + (current.bottom - current.top - height) / 2 : current.top;
  fitted.right = fitted.left + width;
  fitted.bottom = fitted.top + height;
  return fitted;
}

}  // namespace ui
