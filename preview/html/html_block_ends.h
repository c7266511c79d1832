// Where the attributed blocks of one text end ("<div " and "<p " with attributes), all found in one pass
// over the text. A block's end is its close tag (for a paragraph also the next paragraph or rule) outside
// the tables and divs nested in it; a block that runs out of text ends at the next aligned "<div" outside
// nested tables, else at the end. Searching each block's end on its own costs the rest of the text per
// block, which a page of unclosed blocks turns into a wait that grows with the square of the page. A block
// nested in another is parsed from the outer block's range, a part of the same text: its end there is read
// from the same sweep, so blocks nested to the depth cap do not sweep the text once per level.
#pragma once

#include <string_view>
#include <vector>

namespace htmlview {

class HtmlBlockEnds {
 public:
  explicit HtmlBlockEnds(std::u16string_view text);
  // The end of the block whose tag starts at tagPos; the text's size for a position that holds no block.
  size_t End(size_t tagPos) const { return End(tagPos, size_); }
  // The same for the text cut at rangeEnd: the close when it comes before, else the fallback when it
  // does, else rangeEnd.
  size_t End(size_t tagPos, size_t rangeEnd) const;

 private:
  struct Block {
    size_t tag = 0;      // where "<div " or "<p " stands
    size_t content = 0;  // just after its ">"
    bool div = false;
    size_t close = 0;     // its close tag, or the text's size
    size_t fallback = 0;  // the aligned "<div" it ends at without a close, or the text's size
  };
  void Sweep(std::u16string_view text);

  std::vector<Block> blocks_;  // in text order
  size_t size_;
};

}  // namespace htmlview
