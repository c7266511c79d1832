// The Windows side of the page records: an element list that cannot grow is told by a short beep.
#pragma once

#include "preview/html/html_document.h"

namespace htmlview {

// Makes the document beep (1000 Hz, 10 ms) when its element list cannot grow.
void BeepWhenElementsCannotGrow(HtmlDocument& document);

}  // namespace htmlview
