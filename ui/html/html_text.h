// Preparing marked-up text before it is read, and the text transforms of runs.
#pragma once

#include <string>

#include "ui/html/html_style.h"

namespace html {

// Replaces the entities, removes carriage returns, and turns line feeds into "<br>" and tabs into "<t>"
// (with conversion off both are removed).
std::u16string PrepareHtmlText(std::u16string_view text, bool lineBreakConversion);

// Upper case, lower case, or capitalised (all lower, then each letter at the start or after a blank upper).
std::u16string TransformText(std::u16string_view text, HtmlTextTransform transform);

}  // namespace html
