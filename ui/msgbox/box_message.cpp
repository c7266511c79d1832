#include "ui/msgbox/box_message.h"

#include <cstdio>

#include "ui/msgbox/box_layout.h"

namespace msgbox {
namespace {

std::u16string Ascii(const std::string& text) { return std::u16string(text.begin(), text.end()); }

}  // namespace

std::u16string ComposeMessage(const std::u16string& message, bool rightAlign, bool withIcon, int iconWidth,
                              uintptr_t iconHandle) {
  std::u16string text = rightAlign ? u"<right>" + message + u"</right>" : message;
  if (!withIcon) return text;
  char handle[32];
  std::snprintf(handle, sizeof handle, "0x%llX", static_cast<unsigned long long>(iconHandle));
  return u"<table cellpadding=" + Ascii(std::to_string(kCellPadding)) + u"><tr><td width=" +
         Ascii(std::to_string(iconWidth)) + u"><icon handle=" + Ascii(handle) + u"></td><td>" + text +
         u"</td></tr></table>";
}

std::u16string AnswerKey(const std::u16string& company, const std::u16string& programFileName) {
  std::u16string key = u"Software\\";
  if (!company.empty()) key += company + u"\\";
  return key + programFileName + u"\\HtmlMessageBox";
}

std::u16string AnswerValueName(const std::u16string& answerName, int32_t messageNumber) {
  return answerName + Ascii(std::to_string(messageNumber));
}

std::u16string FileNameOf(const std::u16string& path) {
  const size_t slash = path.find_last_of(u"\\/");
  return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

}  // namespace msgbox
