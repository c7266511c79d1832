// Generated pages of ordinary shape but real size, for the layout tests and the layout benchmark: long
// tables, alone and inside layout tables; forum, news and documentation pages built of nested layout
// tables, and tables nested to a given depth, each asking widths the way page generators do.
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

// A forum thread: two layout tables, a menu column asking width=150 beside the posts, each post a row
// whose author cell holds a small table and whose text quotes the post before in a table of its own.
inline std::u16string ForumPage(int posts) {
  std::u16string text = u"<html><body><table width=100% cellspacing=0><tr><td><table width=100% border=0><tr><td>"
                        u"<table width=100%><tr><td width=150 valign=top><table width=100% cellpadding=2>";

  for (const char16_t* item : {u"Home", u"Forums", u"Search", u"Members", u"Calendar", u"Help"})
    text += u"<tr><td><a href=\"" + std::u16string(item) + u".html\">" + item + u"</a></td></tr>";
  // The posts sit in a dark table of spacing 1 that draws the lines between them.
  text += u"</table></td><td valign=top><table width=100% bgcolor=#333333 cellspacing=0 cellpadding=1><tr><td>"
          u"<table width=100% border=0 cellpadding=4 cellspacing=1>";
  for (int i = 0; i < posts; ++i) {
    const std::u16string n = std::u16string(1, static_cast<char16_t>(u'0' + i % 10));
    text += u"<tr><td width=120 valign=top><b>member" + n + u"</b><table cellpadding=1><tr><td><img src=a" + n +
            u".gif width=48 height=48></td></tr><tr><td><font size=1>Posts: 1" + n + u"4</font></td></tr></table>"
            u"</td><td valign=top>";
    if (i > 0)
      text += u"<table width=90% border=1 align=center><tr><td><i>Quote:</i><br>Earlier words of the thread that "
              u"this reply answers, kept short.</td></tr></table>";
    text += u"<p>Thanks for the answer. I tried the steps from the first page and the drive shows up again, but "
            u"the folder of pictures is still missing after the scan. Is there a setting I have overlooked?</p>"
            u"<p>Regards, member " + n + u"</p></td></tr>";
  }
  return text + u"</table></td></tr></table></td></tr></table></td></tr></table></td></tr></table></body></html>";
}

// A news front page: a header table, then three columns of 20%, 60% and 20%; every story a table of a
// picture beside its text, every side box a framed table holding a title table and a list table.
// The whole sits in a centred page table of 780 pixels inside a frame table.
inline std::u16string NewsPage(int stories) {
  std::u16string text = u"<table width=100% bgcolor=#888888><tr><td align=center><table width=780 bgcolor=white "
                        u"cellpadding=8><tr><td><table width=100% cellpadding=0 cellspacing=0><tr><td width=200><img src=logo.gif "
                        u"width=180 height=40></td><td align=right>Monday edition | <a href=w.html>Weather</a> | "
                        u"<a href=s.html>Sport</a></td></tr></table><table width=100%><tr><td width=20% valign=top>";
  const auto box = [](const std::u16string& title) {
    std::u16string b = u"<table width=100% border=1 cellspacing=0><tr><td><table width=100% bgcolor=#dddddd><tr>"
                       u"<td><b>" + title + u"</b></td></tr></table><table cellpadding=2>";
    for (int k = 0; k < 5; ++k) b += u"<tr><td>&#8226;</td><td><a href=b.html>Headline of a linked story</a></td></tr>";
    return b + u"</table></td></tr></table><br>";
  };
  text += box(u"Latest") + box(u"Most read") + u"</td><td width=60% valign=top>";
  for (int i = 0; i < stories; ++i)
    text += u"<table width=100% cellpadding=3><tr><td valign=top width=130><img src=s.jpg width=120 height=80>"
            u"</td><td valign=top><font size=4><b>Council agrees the budget for the coming year</b></font><br>"
            u"The council met late into the evening and agreed the spending plans, with the bridge repairs "
            u"moved forward and the library opening hours kept as they are. <a href=m.html>More</a>"
            u"<table cellpadding=2><tr><td><font size=1>Related:</font></td><td><a href=r.html>Bridge works</a>"
            u"</td></tr></table></td></tr></table><hr>";
  return text + u"</td><td width=20% valign=top>" + box(u"Markets") + box(u"Weather") +
         u"</td></tr></table></td></tr></table></td></tr></table>";
}

// A page of a reference manual inside a page table with a header row: a navigation column of width 200, the text with a parameter table of
// bordered cells and examples in preformatted text inside a shaded table, and nested lists.
inline std::u16string DocumentationPage(int sections) {
  std::u16string text = u"<table width=100% cellspacing=0><tr><td><table width=100%><tr><td><h1>Volume library</h1>"
                        u"</td><td align=right><a href=c.html>Contents</a></td></tr></table></td></tr><tr><td>"
                        u"<table width=100% cellspacing=0 cellpadding=6><tr><td width=200 valign=top bgcolor=#eeeeee>"
                        u"<ul><li><a href=i.html>Introduction</a><li><a href=r.html>Reference</a><ul><li>Files"
                        u"<li>Volumes</ul><li><a href=x.html>Index</a></ul></td><td valign=top>";
  for (int i = 0; i < sections; ++i) {
    text += u"<h2>OpenVolume</h2><p>Opens a volume for reading. The call fails when the image is locked.</p>"
            u"<table border=1 cellpadding=4 cellspacing=0 width=90%><tr><th width=25%>Parameter</th><th>Meaning"
            u"</th></tr>";
    for (const char16_t* name : {u"path", u"flags", u"result"})
      text += u"<tr><td><code>" + std::u16string(name) + u"</code></td><td>What the caller passes as " + name +
              u", with its range and default.<table><tr><td><b>Default:</b></td><td>0</td></tr></table></td></tr>";
    text += u"</table><table width=100% bgcolor=#f0f0f0><tr><td><pre>handle = OpenVolume(path, 0);\nif (!handle) "
            u"return;</pre></td></tr></table><ol><li>First step<ul><li>a detail</ul><li>Second step</ol>";
  }
  return text + u"</td></tr></table></td></tr></table>";
}

// Tables nested depth deep, each level rows rows of two cells: a column asking a width in pixels or per
// cent beside a sentence; the last row's second cell holds the next level.
inline std::u16string NestedWidthTables(int depth, int rows, int words) {
  std::u16string text, sentence;
  for (int i = 0; i < words; ++i) sentence += u"word" + std::u16string(1, static_cast<char16_t>(u'a' + i % 26)) + u" ";
  const std::u16string row = u"<td>" + sentence + u"</td><td>" + sentence + u"</td></tr><tr>";
  for (int d = 0; d < depth; ++d) {
    text += d % 2 ? u"<table width=100% border=1><tr><td width=30%>" : u"<table border=1 cellpadding=2><tr><td width=90>";
    text += sentence + u"</td><td>" + sentence + u"</td></tr><tr>";
    for (int r = 2; r < rows; ++r) text += row;
    text += u"<td>" + sentence + u"</td><td>";
  }
  for (int d = 0; d < depth; ++d) text += u"</td></tr></table>";
  return text;
}

}  // namespace htmlview
