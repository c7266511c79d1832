// The "Do not show again" answers, kept in the user's registry. Internal to the message box.
#pragma once

#include "ui/msgbox/message_box_params.h"

namespace msgbox {

// The stored answer of a box with a checkbox and an answer name; 0 when there is none (or it is 0).
int StoredAnswer(const MessageBoxParams& params);
// Writes the answer; a failure is ignored (the box is shown again next time).
void StoreAnswer(const MessageBoxParams& params, int answer);

}  // namespace msgbox
