// The parse pass's forms: each control is a placeholder text element of the control's size, and the host
// makes the real window for it.
#include <algorithm>

#include "preview/html/html_browser_logic.h"
#include "preview/html/html_entities.h"
#include "preview/html/html_parse_pass.h"
#include "preview/html/html_parse_scan.h"
#include "preview/html/html_url.h"

namespace htmlview {
namespace {

constexpr char16_t kControlFace[] = u"MS Sans serif";
constexpr int kControlHeight = 15;
// Widest and tallest control the pass makes, in characters (text edits) and lines (text areas).
constexpr int kMaxControlChars = 1000;

}  // namespace

HtmlBrowserCallbacks* HtmlParsePass::ControlHost() {
  if (!doc_.callbacks || doc_.controlCount >= kMaxFormControls) return nullptr;
  ++doc_.controlCount;
  return doc_.callbacks;
}

size_t HtmlParsePass::Form(ParseState& s, size_t pos) {
  if (doc_.callbacks) {
    const TagAttributes attrs(s.text, pos);
    const std::u16string action = attrs.Has(u"action") ? ResolveUrl(attrs.Value(u"action"), s.url) : u"";
    const std::u16string method = attrs.Has(u"method") ? attrs.Value(u"method") : u"get";
    formIndex = doc_.callbacks->AddForm(action.c_str(), method.c_str());
  }
  return AfterTag(s.text, pos);
}

size_t HtmlParsePass::Input(ParseState& s, size_t pos) {
  const TagAttributes attrs(s.text, pos);
  std::u16string type = attrs.Has(u"type") ? attrs.Value(u"type") : u"text";
  for (auto& c : type)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  const int size = attrs.Has(u"size") ? std::clamp(ParseInteger(attrs.Value(u"size")), 0, kMaxControlChars) : 10;
  const int maxLength = std::max(0, ParseInteger(attrs.Value(u"maxlength")));
  const std::u16string value = attrs.Value(u"value"), name = attrs.Value(u"name");
  const size_t next = AfterTag(s.text, pos);
  auto make = [&](const std::u16string& text, uint32_t borderColor, bool controlFont) {
    return CreateTextElement(measurer_, text.c_str(), 15, 2, borderColor, controlFont ? kControlFace : s.face.c_str(),
                             controlFont ? kControlHeight : s.fontHeight, 0, 0, 0,
                             borderColor == kRaisedBorder ? 0xC0C0C0 : 0xFFFFFF, s.LineAlign(), 0, -1, s.noWrap);
  };
  std::unique_ptr<HtmlElement> e;
  if (type == u"text" || type == u"password") {
    const int password = type == u"password" ? 1 : 0;
    // As wide as size zeros: one is measured, since a width of a thousand would otherwise be a thousand
    // characters decoded and measured for every such field.
    e = make(u"0", kSunkenBorder, true);
    e->width = size * e->width + 8;
    e->height += 4;
    e->text = value;
    if (HtmlBrowserCallbacks* host = ControlHost())
      e->controlWindow = host->CreateEdit(size, maxLength, e->width, e->height, value.c_str(), 0, name.c_str(),
                                          formIndex, password);
    // Drawn as its box, a password field still hides what it holds.
    if (password && e->controlWindow == kNoControl) e->text.assign(value.size(), u'*');
  } else if (type == u"button" || type == u"submit") {
    e = make(value, kRaisedBorder, true);
    e->width += 8;
    e->height += 4;
    if (HtmlBrowserCallbacks* host = ControlHost())
      e->controlWindow = host->CreatePushButton(e->width, e->height, value.c_str(), name.c_str(), formIndex);
  } else if (type == u"radio" || type == u"checkbox") {
    e = make(u"    ", kSunkenBorder, false);
    e->width = e->height = 13;
    if (HtmlBrowserCallbacks* host = ControlHost())
      e->controlWindow = type == u"radio" ? host->CreateRadioButton(13, 13, value.c_str(), name.c_str(), formIndex)
                                          : host->CreateCheckBox(13, 13, value.c_str(), name.c_str(), formIndex);
  } else if (type == u"hidden") {
    e = make(value, kSunkenBorder, false);
    e->width = e->height = 0;
    if (HtmlBrowserCallbacks* host = ControlHost())
      e->controlWindow = host->CreateEdit(size, 0, 0, 0, value.c_str(), 0, name.c_str(), formIndex, 0);
  } else if (type == u"image") {
    const std::u16string address = ResolveUrl(attrs.Value(u"src"), s.url);
    std::u16string link = u"Submit(";
    for (char c : std::to_string(formIndex)) link += static_cast<char16_t>(c);
    link += u")";
    e = CreateImageElement(address.c_str(), 0, 0, 0, s.LineAlign(), doc_.images, LinkIndex(link), s.noWrap, 0, 0);
    if (PixelSize(attrs.Value(u"width")) != 0) e->width = PixelSize(attrs.Value(u"width"));
    if (PixelSize(attrs.Value(u"height")) != 0) e->height = PixelSize(attrs.Value(u"height"));
  } else {
    return next;
  }
  Add(s, std::move(e));
  return next;
}

size_t HtmlParsePass::Select(ParseState& s, size_t pos) {
  const std::u16string_view t = s.text;
  const TagAttributes attrs(t, pos);
  const std::u16string name = attrs.Value(u"name");
  const size_t end = s.selectEnd(t, pos);
  StringTable options;
  int selected = 0, widest = 0;
  long long count = 0;
  size_t resume = AfterTag(t, pos);
  for (size_t p = s.nextOption(t, pos); p < end; ++count) {
    const size_t optionTag = p;
    const size_t textStart = std::min(AfterTag(t, p), end);
    const size_t textEnd = std::min(s.nextOption(t, textStart), end);
    resume = p = textEnd;
    // Past the bound an option is only counted (a "selected" among them selects none of those shown).
    if (count >= kMaxListOptions) continue;
    const TagAttributes optionAttrs(t, optionTag);
    const int row = options.AddRow() - 1;
    if (optionAttrs.Has(u"selected")) selected = row;
    const std::u16string text = DecodeEntitiesCopy(t.substr(textStart, textEnd - textStart));
    options.AddCell(row, text.c_str());
    options.AddCell(row, optionAttrs.Value(u"value").c_str());
    widest = std::max(widest, measurer_.MeasureText(kControlFace, kControlHeight, 0, 0, text.c_str(), 0, -1).cx);
  }
  auto e = CreateTextElement(measurer_, options.GetCell(0, 0), 15, 2, kSunkenBorder, kControlFace, kControlHeight, 0,
                             0, 0, 0xFFFFFF, s.LineAlign(), 0, -1, s.noWrap);
  e->width = scrollBarWidth + widest + 8;
  e->height += 4;
  if (HtmlBrowserCallbacks* host = ControlHost()) {
    e->controlWindow = host->CreateDropDownList(e->width, e->height, options, selected, name.c_str(), formIndex);
    if (count > kMaxListOptions) {
      doc_.cutListsShown += kMaxListOptions;
      doc_.cutListsOptions += count;
    }
  }
  Add(s, std::move(e));
  return resume;
}

size_t HtmlParsePass::TextArea(ParseState& s, size_t pos) {
  const std::u16string_view t = s.text;
  const TagAttributes attrs(t, pos);
  const int cols = attrs.Has(u"cols") ? std::clamp(ParseInteger(attrs.Value(u"cols")), 0, kMaxControlChars) : 15;
  const int rows = attrs.Has(u"rows") ? std::clamp(ParseInteger(attrs.Value(u"rows")), 0, kMaxControlChars) : 3;
  const std::u16string name = attrs.Value(u"name");
  const size_t start = AfterTag(t, pos);
  const size_t end = FindTag(t, start, u"</textarea");
  auto e = CreateTextElement(measurer_, u" ", 15, 2, kSunkenBorder, u"Courier New", kControlHeight, 0, 0, 0,
                             0xFFFFFF, s.LineAlign(), 0, -1, s.noWrap);
  e->width = cols * e->width + 4;
  e->height = rows * e->height + 4;
  e->text = DecodeEntitiesCopy(t.substr(start, end - start));
  if (HtmlBrowserCallbacks* host = ControlHost())
    e->controlWindow = host->CreateEdit(-1, 0, e->width, e->height, e->text.c_str(), 1, name.c_str(),
                                                  formIndex, 0);
  Add(s, std::move(e));
  return end;
}

}  // namespace htmlview
