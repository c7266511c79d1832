// Lays out markup over the fake font with a body font of 20 pixels (characters 10 wide).
#pragma once

#include <gtest/gtest.h>

#include "ui/html/html_fake_metrics.h"
#include "ui/html/html_layout.h"
#include "ui/html/html_text.h"

namespace html {

class HtmlLayoutFixture : public ::testing::Test {
 protected:
  HtmlLayoutFixture() {
    sheet.Load(u"body {font-size:20px} a:link {color:blue} a:hover {color:blue; text-decoration:underline}");
  }
  HtmlLayoutResult Lay(std::u16string_view markup, int width = 0, bool wrap = false, int hovered = -2) {
    settings.hoveredLink = hovered;
    HtmlLayout layout(metrics, sheet, colours, settings);
    return layout.Run(PrepareHtmlText(markup, true), 0, 0, width, wrap);
  }
  static std::vector<HtmlPaintItem> Texts(const HtmlLayoutResult& result) { return OfKind(result, HtmlPaintItem::Kind::kText); }
  static std::vector<HtmlPaintItem> OfKind(const HtmlLayoutResult& result, HtmlPaintItem::Kind kind) {
    std::vector<HtmlPaintItem> found;
    for (const HtmlPaintItem& item : result.items)
      if (item.kind == kind) found.push_back(item);
    return found;
  }

  HtmlFakeMetrics metrics;
  FixedSystemColours system;
  HtmlColourTable colours{system};
  HtmlStyleSheet sheet;
  HtmlLayoutSettings settings;
};

}  // namespace html
