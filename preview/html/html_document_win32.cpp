#include "preview/html/html_document_win32.h"

#include <windows.h>

namespace htmlview {

void BeepWhenElementsCannotGrow(HtmlDocument& document) {
  document.allocationFailed = [] { Beep(1000, 10); };
}

}  // namespace htmlview
