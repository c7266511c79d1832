#include "ui/html/html_flow.h"

#include <algorithm>

#include "ui/html/html_style_values.h"
#include "ui/html/html_text.h"

namespace html {

namespace {

constexpr std::u16string_view kBreakCharacters = u" -.,!:;)}]?";
// Deeper nesting of style tags is ignored: each level keeps a copy of the style.
constexpr size_t kMaxStyleDepth = 256;
constexpr int kMaxWeight = 900;

std::u16string_view TrimBlanks(std::u16string_view text, bool front) {
  if (front) {
    while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
  } else {
    while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
  }
  return text;
}

int CountBlanks(std::u16string_view text) { return static_cast<int>(std::count(text.begin(), text.end(), u' ')); }

// The first length tried when fitting text in a room, doubled until it no longer fits.
constexpr size_t kFirstFitProbe = 32;

// The most characters of the text whose width fits in the room (widths grow with the length). Lengths
// are tried from a short one up, doubling, and then halved between the last that fit and the first that
// did not: a line of a long text costs the measuring of about what fits on it, not of the whole rest.
size_t FitCount(HtmlMetrics& metrics, const HtmlFont& font, std::u16string_view text, int room) {
  size_t low = 0;
  size_t high = text.size();
  for (size_t probe = std::min(kFirstFitProbe, high); probe < high; probe = std::min(2 * probe, high)) {
    if (metrics.TextWidth(font, text.substr(0, probe)) > room) {
      high = probe - 1;
      break;
    }
    low = probe;
  }
  while (low < high) {
    size_t mid = low + (high - low + 1) / 2;
    if (metrics.TextWidth(font, text.substr(0, mid)) <= room) low = mid;
    else high = mid - 1;
  }
  return low;
}

}  // namespace

FlowLayout::FlowLayout(HtmlLayout& layout, const HtmlStyle& base, int left, int top, int width, bool wrap,
                       bool emit)
    : layout_(layout), metrics_(layout.Metrics()), left_(left), top_(top), width_(width), wrap_(wrap),
      emit_(emit), style_(base) {}

HtmlStyleContext FlowLayout::Context(const StyleUnits& units) const {
  const HtmlLayoutSettings& settings = layout_.Settings();
  return HtmlStyleContext{layout_.Colours(), units, settings.coloursEnabled, settings.disabledColour};
}

HtmlLayout::Box FlowLayout::Run(std::u16string_view text) {
  // The body rule applies first.
  HtmlToken body;
  body.kind = HtmlToken::Kind::kTag;
  body.text = u"body";
  Tag(body);
  HtmlTokenizer tokenizer(text);
  HtmlToken token;
  while (tokenizer.Next(token)) {
    if (token.kind == HtmlToken::Kind::kText) Text(token.text);
    else Tag(token);
  }
  if (!items_.empty()) CloseLine(false, 1);
  return {widest_, y_};
}

void FlowLayout::Tag(const HtmlToken& token) {
  HtmlTagInfo info = LookUpTag(token.text);
  if (info.code == HtmlTag::kUnknown) return;
  if (token.closing) {
    if (!info.styleName.empty()) Close(info.styleName);
    return;
  }
  if (!info.styleName.empty()) {
    if (stack_.size() >= kMaxStyleDepth) return;
    stack_.push_back({style_, link_});
    stack_.back().style.name = std::u16string(info.styleName);
    OpenStyle(token, info.code);
    return;
  }
  switch (info.code) {
    case HtmlTag::kRule: Rule(token); break;
    case HtmlTag::kBreak: CloseLine(false, std::max(token.count, 1)); break;
    case HtmlTag::kTab: Tab(token.count); break;
    case HtmlTag::kBitmap:
    case HtmlTag::kIcon:
    case HtmlTag::kImageList: Image(token, info.code); break;
    case HtmlTag::kString: String(token); break;
    default: break;
  }
}

void FlowLayout::OpenStyle(const HtmlToken& token, HtmlTag code) {
  StyleUnits units(metrics_, style_);
  HtmlStyleContext context = Context(units);
  switch (code) {
    case HtmlTag::kBold: style_.fontWeight = std::min(style_.fontWeight * 2, kMaxWeight); break;
    case HtmlTag::kItalic: style_.italic = !style_.italic; break;
    case HtmlTag::kUnderline: style_.underline = !style_.underline; break;
    case HtmlTag::kStrikeout: style_.strikeout = !style_.strikeout; break;
    case HtmlTag::kFont:
      for (const HtmlAttribute& attribute : token.attributes)
        ApplyFontAttribute(attribute.name, attribute.value, style_, context);
      break;
    case HtmlTag::kLeft: style_.textAlign = kHtmlAlignLeft; break;
    case HtmlTag::kCenter: style_.textAlign = kHtmlAlignCenter; break;
    case HtmlTag::kRight: style_.textAlign = kHtmlAlignRight; break;
    case HtmlTag::kJustify: style_.textAlign = kHtmlAlignJustify; break;
    case HtmlTag::kBaseline: style_.verticalAlign = kHtmlVAlignBaseline; break;
    case HtmlTag::kTop: style_.verticalAlign = kHtmlVAlignTop; break;
    case HtmlTag::kVCenter: style_.verticalAlign = kHtmlVAlignCenter; break;
    case HtmlTag::kBottom: style_.verticalAlign = kHtmlVAlignBottom; break;
    case HtmlTag::kRule21: ApplyStyleRule(layout_.Sheet(), token.text, style_, context); break;
    case HtmlTag::kSpan:
      if (const std::u16string* name = token.Attribute(u"class"))
        ApplyStyleRule(layout_.Sheet(), u"." + *name, style_, context);
      break;
    case HtmlTag::kLink: Link(token); break;
    default: break;
  }
}

void FlowLayout::Close(std::u16string_view styleName) {
  if (stack_.empty() || stack_.back().style.name != styleName) return;
  style_ = std::move(stack_.back().style);
  link_ = stack_.back().link;
  stack_.pop_back();
}

void FlowLayout::Link(const HtmlToken& token) {
  link_ = layout_.NextLinkNumber();
  if (const std::u16string* href = token.Attribute(u"href")) {
    style_.linkKind = kHtmlLinkAddress;
    style_.linkTarget = *href;
  } else {
    const std::u16string* message = token.Attribute(u"msg");
    style_.linkKind = kHtmlLinkMessage;
    style_.linkTarget = message ? *message : std::u16string();
  }
  StyleUnits units(metrics_, style_);
  bool hovered = link_ == layout_.Settings().hoveredLink;
  ApplyStyleRule(layout_.Sheet(), hovered ? u"a:hover" : u"a:link", style_, Context(units));
}

void FlowLayout::Text(std::u16string_view raw) {
  std::u16string transformed = TransformText(raw, style_.textTransform);
  std::u16string_view rest = transformed;
  HtmlFont font = FontOf(style_);
  if (!wrap_) {
    AddText(std::u16string(rest), metrics_.TextWidth(font, rest));
    return;
  }
  while (!rest.empty()) {
    size_t fit = FitCount(metrics_, font, rest, width_ - x_);
    if (fit == rest.size()) {
      AddText(std::u16string(rest), metrics_.TextWidth(font, rest));
      return;
    }
    // A blank just past what fits is a break too: it is dropped with the line's end.
    size_t cut = fit < rest.size() && rest[fit] == u' ' ? fit
                 : fit == 0                              ? std::u16string_view::npos
                                                         : rest.find_last_of(kBreakCharacters, fit - 1);
    if (cut != std::u16string_view::npos) {
      std::u16string_view first = TrimBlanks(rest.substr(0, cut + 1), false);
      if (!first.empty()) AddText(std::u16string(first), metrics_.TextWidth(font, first));
      if (!LineEmpty()) CloseLine(true, 1);
      rest = TrimBlanks(rest.substr(cut + 1), true);
    } else if (LineEmpty()) {
      size_t count = std::max<size_t>(fit, 1);
      std::u16string_view first = rest.substr(0, count);
      AddText(std::u16string(first), metrics_.TextWidth(font, first));
      rest = TrimBlanks(rest.substr(count), true);
      if (!rest.empty()) CloseLine(true, 1);
    } else {
      CloseLine(true, 1);
      rest = TrimBlanks(rest, true);
    }
  }
}

void FlowLayout::AddText(std::u16string text, int width) {
  if (text.empty()) return;
  HtmlFontMetrics fontMetrics = metrics_.FontMetrics(FontOf(style_));
  LineItem item;
  item.text = true;
  item.width = width;
  item.ascent = fontMetrics.ascent;
  item.descent = fontMetrics.descent;
  item.blanks = CountBlanks(text);
  item.paint.kind = HtmlPaintItem::Kind::kText;
  item.paint.text = std::move(text);
  Add(std::move(item));
}

void FlowLayout::Add(LineItem item) {
  item.x = x_;
  item.paint.style = style_;
  item.linkKind = style_.linkKind;
  item.link = link_;
  item.target = style_.linkTarget;
  x_ = AddClamped(x_, item.width);
  items_.push_back(std::move(item));
}

void FlowLayout::Tab(int count) {
  int tab = std::max(layout_.Settings().tabWidth, 1);
  long long next = (static_cast<long long>(x_) / tab + 1) * tab + static_cast<long long>(std::max(count, 1) - 1) * tab;
  x_ = AddClamped(0, static_cast<int>(std::min<long long>(next, 1 << 28)));
}

void FlowLayout::Rule(const HtmlToken& token) {
  HtmlStyle rule = style_;
  StyleUnits units(metrics_, rule);
  HtmlStyleContext context = Context(units);
  ApplyStyleRule(layout_.Sheet(), u"hr", rule, context);
  rule.borderStyle = draw::kFrameSolid;
  const std::u16string* width = token.Attribute(u"width");
  const std::u16string* size = token.Attribute(u"size");
  const std::u16string* colour = token.Attribute(u"color");
  LineItem item;
  item.rule = true;
  item.width = std::max(0, width ? context.Size(*width, width_) : width_);
  item.paint.thickness = std::clamp(size ? context.Size(*size, kDefaultRuleThickness) : kDefaultRuleThickness, 0,
                                    kMaxHtmlSize);
  if (colour) rule.textColour = context.Colour(*colour, rule.textColour);
  if (!layout_.Settings().coloursEnabled) rule.textColour = layout_.Settings().disabledColour;
  item.ascent = item.paint.thickness + 8;
  item.paint.kind = HtmlPaintItem::Kind::kRule;
  if (wrap_ && !LineEmpty() && AddClamped(x_, item.width) > width_) CloseLine(true, 1);
  HtmlStyle saved = style_;
  style_ = rule;
  Add(std::move(item));
  style_ = std::move(saved);
}

void FlowLayout::Image(const HtmlToken& token, HtmlTag code) {
  StyleUnits units(metrics_, style_);
  HtmlStyleContext context = Context(units);
  auto attribute = [&token](std::u16string_view name) {
    const std::u16string* value = token.Attribute(name);
    return value ? std::u16string_view(*value) : std::u16string_view();
  };
  HtmlImageItem image;
  image.source.kind = code == HtmlTag::kIcon ? HtmlImageKind::kIcon
                      : code == HtmlTag::kImageList ? HtmlImageKind::kStrip : HtmlImageKind::kBitmap;
  image.source.handle = ReadHandleNumber(attribute(u"handle"));
  image.source.idres = static_cast<uint32_t>(ReadStyleNumber(attribute(u"idres")));
  image.source.iddll = static_cast<uint32_t>(ReadStyleNumber(attribute(u"iddll")));
  image.source.srcdll = std::u16string(attribute(u"srcdll"));
  image.source.file = std::u16string(attribute(u"file"));
  image.index = std::max(0, ReadStyleNumber(attribute(u"index")));
  HtmlSize own = metrics_.ImageSize(image.source);
  if (own.cx <= 0 || own.cy <= 0) return;  // an image that cannot be loaded takes no space
  int frames = 1;
  if (image.source.kind == HtmlImageKind::kStrip) {
    image.cellCx = std::clamp(context.Size(attribute(u"cx"), own.cy), 0, kMaxHtmlSize);
    image.cellCy = std::clamp(context.Size(attribute(u"cy"), own.cy), 0, kMaxHtmlSize);
    if (image.cellCx <= 0 || image.cellCy <= 0) return;
    frames = (own.cx / image.cellCx) * (own.cy / image.cellCy);
    own = {image.cellCx, image.cellCy};
  }
  image.width = std::clamp(context.Size(attribute(u"width"), own.cx), 0, kMaxHtmlSize);
  image.height = std::clamp(context.Size(attribute(u"height"), own.cy), 0, kMaxHtmlSize);
  uint32_t colour = 0;
  image.useMask = ParseColour(attribute(u"mask"), layout_.Colours(), colour);
  image.maskColour = colour;
  const HtmlShadow& shadow = layout_.Settings().shadow;
  uint32_t normal = ReadEffectLetters(attribute(u"style"), shadow);
  const std::u16string* hot = token.Attribute(u"hotstyle");
  uint32_t hotEffect = hot ? ReadEffectLetters(*hot, shadow) : normal;
  bool hovered = style_.linkKind != kHtmlLinkNone && link_ == layout_.Settings().hoveredLink;
  image.effect = hovered ? hotEffect : normal;
  if (!layout_.Settings().coloursEnabled) image.effect = draw::kEffectMono;
  LineItem item;
  item.width = image.width;
  item.ascent = image.height;
  // The shadow's offsets belong to the image's place, hovered or not.
  if (normal & (draw::kEffectShadow | draw::kEffectGradientShadow)) {
    item.width = AddClamped(item.width, std::max(shadow.offsetX, 0));
    item.ascent = AddClamped(item.ascent, std::max(shadow.offsetY, 0));
  }
  if (image.source.kind == HtmlImageKind::kStrip && token.Attribute(u"speed") && emit_) {
    int speed = context.Size(attribute(u"speed"), 0);
    layout_.Out().animations.push_back({image.index, frames, image.index, speed});
  }
  item.paint.kind = HtmlPaintItem::Kind::kImage;
  item.paint.image = std::move(image);
  if (wrap_ && !LineEmpty() && AddClamped(x_, item.width) > width_) CloseLine(true, 1);
  Add(std::move(item));
}

void FlowLayout::String(const HtmlToken& token) {
  const std::u16string* idres = token.Attribute(u"idres");
  const std::u16string* iddll = token.Attribute(u"iddll");
  const std::u16string* id = idres ? idres : iddll;
  if (!id) return;
  std::u16string text = TransformText(metrics_.LoadString(static_cast<uint32_t>(ReadStyleNumber(*id))),
                                      style_.textTransform);
  AddText(text, metrics_.TextWidth(FontOf(style_), text));
}

void FlowLayout::CloseLine(bool wrapped, int count) {
  int ascent = 0;
  int descent = 0;
  for (const LineItem& item : items_) {
    ascent = std::max(ascent, item.ascent);
    descent = std::max(descent, item.descent);
  }
  int height = items_.empty() ? metrics_.FontMetrics(FontOf(style_)).Height() : AddClamped(ascent, descent);
  int lineWidth = x_;
  HtmlTextAlign align = items_.empty() ? style_.textAlign : items_.front().paint.style.textAlign;
  int free = width_ - lineWidth;
  int lineX = 0;
  if (free > 0 && align == kHtmlAlignCenter) lineX = free / 2;
  if (free > 0 && align == kHtmlAlignRight) lineX = free;
  int blanks = 0;
  for (const LineItem& item : items_) blanks += item.blanks;
  // Justify spreads the free width over the blanks, but only on a line that ended by wrapping.
  bool justify = align == kHtmlAlignJustify && wrapped && free > 0 && blanks > 0;
  int blanksBefore = 0;
  int shift = 0;
  for (LineItem& item : items_) {
    if (justify && item.blanks > 0) {
      long long before = static_cast<long long>(free) * blanksBefore / blanks;
      blanksBefore += item.blanks;
      long long after = static_cast<long long>(free) * blanksBefore / blanks;
      item.paint.justifyExtra = static_cast<int>(after - before);
      item.paint.justifyBlanks = item.blanks;
    }
    PlaceItem(item, AddClamped(lineX, shift), height, descent);
    shift = AddClamped(shift, item.paint.justifyExtra);
  }
  widest_ = std::max(widest_, AddClamped(lineWidth, shift));
  long long advance = static_cast<long long>(height) * std::max(count, 1);
  y_ = AddClamped(y_, static_cast<int>(std::min<long long>(advance, 1 << 28)));
  x_ = 0;
  items_.clear();
}

void FlowLayout::PlaceItem(LineItem& item, int lineX, int lineHeight, int lineDescent) {
  if (!emit_) return;
  int height = item.text ? item.ascent + item.descent : item.ascent;
  int top = 0;
  if (!item.rule) {
    switch (item.paint.style.verticalAlign) {
      case kHtmlVAlignTop: top = 0; break;
      case kHtmlVAlignCenter: top = (lineHeight - height) / 2; break;
      case kHtmlVAlignBottom: top = lineHeight - item.ascent; break;
      default: top = lineHeight - lineDescent - item.ascent; break;
    }
  } else {
    height = lineHeight;
  }
  int left = AddClamped(AddClamped(left_, lineX), item.x);
  int y = AddClamped(AddClamped(top_, y_), top);
  int width = AddClamped(item.width, item.paint.justifyExtra);
  item.paint.rect = {left, y, AddClamped(left, width), AddClamped(y, height)};
  HtmlLayoutResult& out = layout_.Out();
  if (item.linkKind != kHtmlLinkNone && item.width > 0)
    out.hotAreas.push_back({item.paint.rect, item.linkKind, item.link, item.target});
  out.items.push_back(std::move(item.paint));
}

}  // namespace html
