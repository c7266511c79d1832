#include "preview/html/html_element.h"

#include <algorithm>

#include "preview/html/html_entities.h"
#include "preview/html/html_image_table.h"
#include "preview/html/html_text_measurer.h"

namespace htmlview {

HtmlElement::~HtmlElement() {
  HtmlElementList pending = std::move(children);
  while (!pending.empty()) {
    std::unique_ptr<HtmlElement> last = std::move(pending.back());
    pending.pop_back();
    if (!last) continue;
    for (auto& child : last->children) pending.push_back(std::move(child));
    last->children.clear();
  }
}

namespace {

std::unique_ptr<HtmlElement> NewElement(int kind) {
  auto e = std::make_unique<HtmlElement>();
  e->kind = static_cast<int8_t>(kind);
  return e;
}

// The first face of a list ("Verdana, Arial"), cut to the face buffer.
std::u16string_view FirstFace(const char16_t* face) {
  std::u16string_view f = face ? face : u"";
  f = f.substr(0, f.find(u','));
  return f.substr(0, kFontFaceCapacity - 1);
}

int8_t Small(int value) { return static_cast<int8_t>(std::clamp(value, -128, 127)); }

}  // namespace

HtmlFaceName HtmlFaceName::Make(std::u16string_view name) {
  // One parse runs on one thread; each thread keeps its own last name.
  thread_local HtmlFaceName last;
  if (!last.name_ || *last.name_ != name) {
    last.name_ = std::make_shared<const std::u16string>(name);
  }
  return last;
}

const std::u16string& HtmlFaceName::str() const {
  static const std::u16string kNone;
  return name_ ? *name_ : kNone;
}

HtmlContainerFields& HtmlElement::MutableContainer() {
  if (!container) container = std::make_unique<HtmlContainerFields>();
  return *container;
}

std::unique_ptr<HtmlElement> CreateTextElement(HtmlTextMeasurer& measurer, const char16_t* text, uint32_t borderFlags,
                                               int borderWidth, uint32_t borderColor, const char16_t* face,
                                               int fontHeight, int bold, int italic, uint32_t textColor,
                                               uint32_t backColor, int align, int valign, int linkIndex, int tag) {
  auto e = NewElement(kTextRun);
  e->borderFlags = borderFlags;
  e->borderWidth = borderWidth;
  e->borderColor = borderColor;
  e->fontFace = HtmlFaceName::Make(FirstFace(face));
  e->fontHeight = static_cast<int16_t>(std::clamp(fontHeight, -32768, 32767));
  e->bold = Small(bold);
  e->italic = Small(italic);
  e->textColor = textColor;
  e->backColor = backColor;
  e->align = Small(align);
  e->valign = Small(valign);
  e->linkIndex = linkIndex;
  e->tag = Small(tag);
  // Most words hold no entity: they are kept as they are, without the copy. (UTF-8 pairs are repaired where
  // the page's bytes were read, and only when they were read by a code page.)
  const std::u16string_view raw = text ? text : u"";
  if (raw.find(u'&') == std::u16string_view::npos) {
    e->text = raw;
  } else {
    e->text = DecodeEntitiesCopy(raw);
  }
  const HtmlTextSize size = measurer.MeasureText(e->fontFace, fontHeight, bold, italic, e->text.c_str(), 0, -1);
  e->width = size.cx;
  e->height = size.cy;
  return e;
}

std::unique_ptr<HtmlElement> CreateImageElement(const char16_t* url, int /*a1*/, int /*a2*/, int /*a3*/, int align,
                                                HtmlImageTable& images, int linkIndex, int tag, int key,
                                                int borderWidth) {
  auto e = NewElement(kImage);
  const std::u16string address = url ? url : u"";
  e->imageIndex = images.Find(address, key);
  if (e->imageIndex < 0) e->imageIndex = images.AddImage(address, key);
  e->align = Small(align);
  e->linkIndex = linkIndex;
  e->tag = Small(tag);
  if (borderWidth != 0) {
    e->borderFlags = 15;
    e->borderWidth = borderWidth;
  }
  return e;
}

std::unique_ptr<HtmlElement> CreateRuleElement(int height, int width, int align, int ruleTag) {
  auto e = NewElement(kRule);
  e->height = height;
  e->width = width;
  e->align = Small(align);
  e->ruleTag = Small(ruleTag);
  if (width != 0) e->borderFlags = 15;
  e->borderWidth = 1;
  e->borderColor = kSunkenBorder;
  return e;
}

std::unique_ptr<HtmlElement> CreateCellElement(int a0, int a1, int a2, int a3, int a4, uint32_t backColor, int border,
                                               int a7, int a8, int a9, int a10, int a11, int backImageIndex, int a13,
                                               int a14, uint32_t borderColor, int cellTag) {
  auto e = NewElement(kContainer);
  e->borderFlags = border ? 15 : 0;
  e->borderWidth = border ? 1 : 0;
  e->borderColor = borderColor;
  e->backColor = backColor;
  e->align = Small(a3);
  e->valign = Small(a4);
  e->backImageIndex = backImageIndex;
  HtmlContainerFields& fields = e->MutableContainer();
  fields.cell = {a0, a1, std::clamp(a7, 1, 1000), std::clamp(a8, 1, 1000), a2, a11, border, a13, a14,
                 (border ? 1 : 0) + a9, a10};
  fields.cellTag = cellTag;
  return e;
}

void OffsetChildren(HtmlElement& element, int dx, int dy) {
  std::vector<HtmlElement*> pending{&element};
  while (!pending.empty()) {
    HtmlElement* e = pending.back();
    pending.pop_back();
    for (auto& child : e->children) {
      if (!child) continue;
      child->x += dx;
      child->y += dy;
      pending.push_back(child.get());
    }
  }
}

}  // namespace htmlview
