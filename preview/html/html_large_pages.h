// Generated pages of ordinary shape but real size, for the layout tests and the layout benchmark: long
// tables, alone and inside layout tables.
#pragma once

#include <string>

namespace htmlview {

// rows rows of three cells: a name, a sentence and an amount; about 115 bytes a row.
inline std::u16string LongTableRows(int rows) {
  std::u16string text;
  for (int i = 1; i <= rows; ++i) {
    const std::u16string n(u"0000" + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)));
    text += u"<tr><td>Item " + n + u"</td><td>Description of the stored item, kept with a few more words here</td><td>12.50</td></tr>\n";
  }
  return text;
}

// A table of rows rows inside depth layout tables (0: the table alone), followed by the text "after".
inline std::u16string NestedLongTable(int rows, int depth) {
  std::u16string text;
  for (int i = 0; i < depth; ++i) text += u"<table width=100%><tr><td>";
  text += u"<table border=1>" + LongTableRows(rows) + u"</table>";
  for (int i = 0; i < depth; ++i) text += u"</td></tr></table>";
  return text + u"<p>after";
}

}  // namespace htmlview
