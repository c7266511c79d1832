// The parse pass: cleaned page text into the document's element list. Words become text elements, format
// tags change a running state, block tags insert breaks, and whatever owns its own content (aligned blocks,
// cells, list items, quotations, preformatted text, floating images) is parsed by a recursive call.
// The pass positions nothing; the layout pass does that.
#pragma once

#include <string>
#include <string_view>
#include <memory>
#include <unordered_map>

#include "preview/html/html_block_ends.h"
#include "preview/html/html_document.h"
#include "preview/html/html_text_measurer.h"

namespace htmlview {

// Nested structures deeper than this are dropped, so no page can exhaust the stack.
constexpr int kMaxParseDepth = 48;
// Font heights are kept in 1..kMaxFontHeight pixels whatever "size" or nested headings ask.
constexpr int kMaxFontHeight = 400;

struct ParseState;

class HtmlParsePass {
 public:
  HtmlParsePass(HtmlDocument& doc, HtmlTextMeasurer& measurer)
      : scrollBarWidth(measurer.ScrollBarWidth()), doc_(doc), measurer_(measurer) {}

  // Parses all of text into list; face, fontHeight and textColor are the page defaults, url its base.
  void ParseRange(std::u16string_view text, HtmlElementList& list, std::u16string_view face, int fontHeight,
                  uint32_t textColor, std::u16string_view url, int depth, int align, int noWrap);

  int listLevel = 0;
  int formIndex = -1;  // the form that new controls belong to; -1 none
  int scrollBarWidth;  // a drop-down list's button, the system's scroll bar width (from the measurer)
  size_t blockEndsSwept = 0;  // the characters swept to find where attributed blocks end

 private:
  friend struct ParseState;
  // Each step starts at pos (below end) and returns where the next one starts.
  size_t Step(ParseState& s, size_t pos);
  size_t Word(ParseState& s, size_t pos);
  size_t Tag(ParseState& s, size_t pos, int tag);
  size_t AttributedBlock(ParseState& s, size_t pos, bool div);
  size_t BlockBreak(ParseState& s, size_t pos, int tag);
  size_t Image(ParseState& s, size_t pos);
  size_t Table(ParseState& s, size_t pos);
  size_t TableCell(ParseState& s, size_t pos, size_t tableEnd, int row, int column, int& advance);
  size_t Preformatted(ParseState& s, size_t pos);
  size_t List(ParseState& s, size_t pos, bool ordered);
  size_t Quotation(ParseState& s, size_t pos);
  size_t Form(ParseState& s, size_t pos);
  size_t Input(ParseState& s, size_t pos);
  size_t Select(ParseState& s, size_t pos);
  size_t TextArea(ParseState& s, size_t pos);
  // Where the attributed block whose tag is at pos ends in the state's range.
  size_t BlockEnd(ParseState& s, size_t pos);
  // The host that makes the next control, or null: none, or the page has its kMaxFormControls.
  HtmlBrowserCallbacks* ControlHost();

  // Parses text[begin, end) into list with the state's url (a nested call).
  void Nested(ParseState& s, size_t begin, size_t end, HtmlElementList& list, std::u16string_view face,
              int fontHeight, uint32_t textColor, int align, int noWrap);
  void Add(ParseState& s, std::unique_ptr<HtmlElement> e);
  void Add(HtmlElementList& list, std::unique_ptr<HtmlElement> e);
  void AddText(ParseState& s, std::u16string_view text);
  void AddBreak(ParseState& s, int align, int clear = 0);
  void Progress(ParseState& s, size_t pos);
  int LinkIndex(const std::u16string& url);
  // The text length of the text runs that end list (back to its last element of another kind).
  size_t TextRunLength(const HtmlElementList& list) const;

  // The list, length and last element after the last tab, and the text run length there.
  struct TabRun {
    const HtmlElementList* list = nullptr;
    size_t count = 0;
    const HtmlElement* last = nullptr;
    size_t sum = 0;
  } tabRun_;
  // Row 0 of the document's links by LinkKey, for its first linksIndexed_ cells.
  std::unordered_map<std::u16string, int> linkIndex_;
  int linksIndexed_ = 0;

  // The text of the outermost range, and the ends of its attributed blocks once one is met: the ranges
  // nested in it are parts of it and read their blocks' ends from there.
  std::u16string_view rootText_;
  std::unique_ptr<HtmlBlockEnds> rootBlockEnds_;

  HtmlDocument& doc_;
  HtmlTextMeasurer& measurer_;
};

// Sizes from attributes (images, cells, tables, controls) are kept in 0..kMaxPixelSize.
constexpr int kMaxPixelSize = 20000;
int PixelSize(std::u16string_view text);
// The integer at the start of text (spaces and a sign allowed), saturated to +-1e9; 0 when none.
int ParseInteger(std::u16string_view text);

}  // namespace htmlview
