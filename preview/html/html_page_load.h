// Loading a page into a document: the text is cleaned for the parse pass (scripts, comments, style
// blocks and unknown tags dropped, white space collapsed outside preformatted text, the title and the
// body's background taken out), then parsed into the document's elements.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "preview/html/html_document.h"
#include "preview/html/html_text_measurer.h"

namespace htmlview {

struct CleanedPage {
  std::u16string text;        // what the parse pass reads
  bool hasTitle = false;
  std::u16string title;       // entities decoded
  uint32_t backColor = 0xFFFFFF;
  std::u16string backImage;   // absolute URL of the body's background picture, or ""
  bool monospace = false;     // a ".txt" page: Courier New, white space kept
};

CleanedPage CleanPageText(std::u16string_view text, std::u16string_view url);

// Replaces the document's page by text; face and fontSize are the defaults, url the base of relative
// links (may be empty). The title goes to the host's SetTitle.
// Makes the document lay itself out with the layout pass, images sized from its image table.
void UseLayoutPass(HtmlDocument& doc);

void LoadPage(HtmlDocument& doc, HtmlTextMeasurer& measurer, std::u16string_view text, std::u16string_view face,
              int fontSize, std::u16string_view url);

}  // namespace htmlview
