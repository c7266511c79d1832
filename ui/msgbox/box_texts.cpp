#include "ui/msgbox/box_texts.h"

#include "ui/msgbox/message_box_style.h"

namespace msgbox {
namespace {

struct ButtonTextEntry {
  int number;
  uint32_t resource;
  const char16_t* text;
};

constexpr ButtonTextEntry kButtonTexts[] = {
    {kOk, 9001, u"OK"},
    {kCancel, 9002, u"Cancel"},
    {kAbort, 9005, u"Abort"},
    {kRetry, 9004, u"Retry"},
    {kIgnore, 9003, u"Ignore"},
    {kYes, 9007, u"Yes"},
    {kNo, 9008, u"No"},
    {kHelp, 9006, u"Help"},
    {kTryAgain, 9015, u"Try again"},
    {kContinue, 9009, u"Continue"},
    {kSkip, 9018, u"Skip"},
    {kSkipAll, 9019, u"Skip all"},
    {kIgnoreAll, 9017, u"Ignore all"},
    {kYesToAllButton, 9013, u"Yes to all"},
    {kNoToAllButton, 9014, u"No to all"},
    {kReport, 9016, u"Report"},
    {kLessButton, 9011, u"<< More"},
    {kMoreButton, 9010, u"More >>"},
    {kCheckboxText, 9012, u"Do not show again"},
    {kCountdownText, 9020, u"%s (%d seconds remaining)"},
};

const ButtonTextEntry* Find(int number) {
  for (const ButtonTextEntry& entry : kButtonTexts) {
    if (entry.number == number) return &entry;
  }
  return nullptr;
}

constexpr size_t kMaxResourceText = 260;

std::u16string Decimal(int value) {
  std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

// Replaces the first occurrence of what in text by with.
void ReplaceFirst(std::u16string& text, std::u16string_view what, const std::u16string& with, size_t* from) {
  const size_t at = text.find(what, *from);
  if (at == std::u16string::npos) return;
  text.replace(at, what.size(), with);
  *from = at + with.size();
}

}  // namespace

uint32_t ButtonTextResource(int number) {
  const ButtonTextEntry* entry = Find(number);
  return entry ? entry->resource : 0;
}

std::u16string BuiltInButtonText(int number) {
  const ButtonTextEntry* entry = Find(number);
  return entry ? entry->text : u"";
}

std::u16string ResolveText(const MessageBoxText& text, uint32_t style, StringSource& strings) {
  if (!text.IsResource()) return text.text;
  if (text.resource >= 0x10000 || (style & kNoStringResources)) return {};
  return strings.Load(text.resource, kMaxResourceText).value_or(u"");
}

std::u16string ButtonText(int number, const MessageBoxParams& params, uint32_t style, StringSource& strings) {
  if (params.captionTable != nullptr) {
    auto found = params.captionTable->find(number);
    if (found != params.captionTable->end()) return ResolveText(found->second, style, strings);
  }
  if (const uint32_t resource = ButtonTextResource(number); resource != 0 && !(style & kNoStringResources)) {
    if (std::optional<std::u16string> loaded = strings.Load(resource, kMaxResourceText); loaded && !loaded->empty()) {
      return *loaded;
    }
  }
  if (number == kCheckboxText && !params.checkboxCaption.empty()) return params.checkboxCaption;
  return BuiltInButtonText(number);
}

std::u16string FillCountdown(const std::u16string& format, const std::u16string& text, int seconds) {
  std::u16string filled = format;
  size_t from = 0;
  ReplaceFirst(filled, u"%s", text, &from);
  ReplaceFirst(filled, u"%d", Decimal(seconds), &from);
  return filled;
}

std::u16string CountingCaption(const std::u16string& caption, int seconds) {
  return caption + u" = " + Decimal(seconds);
}

}  // namespace msgbox
