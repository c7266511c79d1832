// What the box shows and stores, as text: the message wrapped with its icon and alignment, and the
// registry key and value name of a "Do not show again" answer.
#pragma once

#include <cstdint>
#include <string>

namespace msgbox {

// With rightAlign the message is wrapped in "<right>…</right>"; with an icon it becomes a table of the
// icon (handle, cell width iconWidth, padding 5) and the message.
std::u16string ComposeMessage(const std::u16string& message, bool rightAlign, bool withIcon, int iconWidth,
                              uintptr_t iconHandle);

// "Software\<company>\<program>\HtmlMessageBox", or without the company level when it is empty.
std::u16string AnswerKey(const std::u16string& company, const std::u16string& programFileName);
// The answer name followed by the message number in decimal.
std::u16string AnswerValueName(const std::u16string& answerName, int32_t messageNumber);
// The last component of a path (after the last "\" or "/").
std::u16string FileNameOf(const std::u16string& path);

}  // namespace msgbox
