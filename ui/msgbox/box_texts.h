// The texts of the box: button captions, the checkbox label, the countdown formats, and texts given as
// string-resource numbers. A caption comes from the caption table, else the string module's resource,
// else the built-in text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "ui/msgbox/message_box_params.h"

namespace msgbox {

// Loads string resources; the Windows box reads the string module, tests answer from a table.
class StringSource {
 public:
  virtual ~StringSource() = default;
  // The resource's text (at most maxLength characters), or nothing when it is missing.
  virtual std::optional<std::u16string> Load(uint32_t id, size_t maxLength) = 0;
};

// The string resource that holds a button's caption (or the checkbox's, or the countdown format's); 0 for
// a number that has none.
uint32_t ButtonTextResource(int number);
// The built-in caption; empty for a number that has none.
std::u16string BuiltInButtonText(int number);

// The caption of button number (or kCheckboxText, kCountdownText) for a box of these parameters.
std::u16string ButtonText(int number, const MessageBoxParams& params, uint32_t style, StringSource& strings);
// A text of the parameter block: itself, or its resource (at most 260 characters) unless the style says
// not to load resources; missing gives an empty text.
std::u16string ResolveText(const MessageBoxText& text, uint32_t style, StringSource& strings);

// "%s (%d seconds remaining)" filled in; the format may come from resources, so only its first %s and
// first %d are replaced (anything else in it is kept as written).
std::u16string FillCountdown(const std::u16string& format, const std::u16string& text, int seconds);
// A button's caption while a counter runs: "caption = seconds".
std::u16string CountingCaption(const std::u16string& caption, int seconds);

}  // namespace msgbox
