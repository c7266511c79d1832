// Test support: a page's elements as text, one line per element, children indented below their container.
#pragma once

#include <string>

#include "preview/html/html_element.h"

namespace htmlview {

// Each line: kind letter (T text, I image, R rule, C container), "x,y wxh", then what is set of: a<align>,
// f<borderFlags>, h<fontHeight> for text, b (bold), i (italic), L<link>, nw (noWrap), cell fields as
// rc<row>,<col>, pad<padding>, side<cellTag>, and the text in quotes. withPositions false leaves x,y out.
std::string DumpElements(const HtmlElementList& list, bool withPositions = true);

}  // namespace htmlview
