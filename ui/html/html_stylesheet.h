// The style sheet of marked-up text (rules in a small subset of CSS), its default rules, and the applier of
// declarations to a style; also the attributes of the font tag, which set the same properties.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "ui/html/html_style.h"
#include "ui/html/html_style_values.h"

namespace html {

// The default rules (body, p, h1 to h6, pre, code, a:link, a:hover, sub, sup, big, small, .cpp-comment),
// each followed by a carriage return and a line feed.
const std::u16string& DefaultStyleSheetText();

// Selectors are tag style names ("body", "h1" ...), "a:link", "a:hover", "hr", and classes (".name").
class HtmlStyleSheet {
 public:
  HtmlStyleSheet() { LoadDefault(); }
  // Clears the sheet and loads the default rules.
  void LoadDefault();
  // Clears the sheet and reads the rules of the text (an empty text gives an empty sheet). A rule is a
  // selector (from a letter, digit or "." to a blank or "{") and the declarations between the next "{" and
  // "}"; a later rule replaces an earlier one with the same selector.
  void Load(std::u16string_view text);
  // The declarations of the selector (case of A to Z ignored), or null.
  const std::u16string* Find(std::u16string_view selector) const;
  size_t Size() const { return rules_.size(); }

 private:
  std::map<std::u16string, std::u16string, std::less<>> rules_;
};

// Applies declarations ("font-size: 10pt; color: black", lower-cased first) to the style. The properties:
// font-size, font-family, font-style, font-weight, text-align, text-transform, color, background-color,
// text-decoration, vertical-align, border-color, border-width (also "size"), border-style, margin, padding;
// others are ignored.
void ApplyDeclarations(std::u16string_view declarations, HtmlStyle& style, const HtmlStyleContext& context);

// Applies the rule of the selector; false (and the style unchanged) when the sheet has none.
bool ApplyStyleRule(const HtmlStyleSheet& sheet, std::u16string_view selector, HtmlStyle& style,
                    const HtmlStyleContext& context);

// One attribute of the font tag: face, size (font scale), color, style (font letters), weight, bkgnd;
// other names are ignored. The name is expected in lower case.
void ApplyFontAttribute(std::u16string_view name, std::u16string_view value, HtmlStyle& style,
                        const HtmlStyleContext& context);

}  // namespace html
