// Flow text: the style stack, text runs and their wrapping, lines with their alignment, breaks, tabs,
// rules, images, string resources and links.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/html/html_layout.h"
#include "ui/html/html_markup.h"

namespace html {

class FlowLayout {
 public:
  FlowLayout(HtmlLayout& layout, const HtmlStyle& base, int left, int top, int width, bool wrap, bool emit);
  HtmlLayout::Box Run(std::u16string_view text);

 private:
  struct LineItem {
    HtmlPaintItem paint;
    int x = 0;
    int width = 0;
    int ascent = 0;
    int descent = 0;
    bool text = false;
    bool rule = false;
    int blanks = 0;
    HtmlLinkKind linkKind = kHtmlLinkNone;
    int link = -1;
    std::u16string target;
  };
  struct Saved {
    HtmlStyle style;
    int link = -1;
  };

  void Tag(const HtmlToken& token);
  void OpenStyle(const HtmlToken& token, HtmlTag code);
  void Close(std::u16string_view styleName);
  void Text(std::u16string_view raw);
  void AddText(std::u16string text, int width);
  void Rule(const HtmlToken& token);
  void Image(const HtmlToken& token, HtmlTag code);
  void String(const HtmlToken& token);
  void Link(const HtmlToken& token);
  void Tab(int count);
  void Add(LineItem item);
  void CloseLine(bool wrapped, int count);
  void PlaceItem(LineItem& item, int lineX, int lineHeight, int lineDescent);
  bool LineEmpty() const { return items_.empty() && x_ == 0; }
  HtmlStyleContext Context(const StyleUnits& units) const;

  HtmlLayout& layout_;
  HtmlMetrics& metrics_;
  int left_;
  int top_;
  int width_;
  bool wrap_;
  bool emit_;
  HtmlStyle style_;
  int link_ = -1;
  std::vector<Saved> stack_;
  std::vector<LineItem> items_;
  int x_ = 0;
  int y_ = 0;
  int widest_ = 0;
};

}  // namespace html
