#include "preview/html/html_page_load.h"

#include "preview/html/html_attributes.h"
#include "preview/html/html_color.h"
#include "preview/html/html_entities.h"
#include "preview/html/html_layout_pass.h"
#include "preview/html/html_parse_pass.h"
#include "preview/html/html_parse_scan.h"
#include "preview/html/html_url.h"
#include "platform/os/os.h"

namespace htmlview {
namespace {

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }


bool StartsNoCase(std::u16string_view text, size_t pos, std::u16string_view prefix) {
  if (text.size() - pos < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (os::AsciiLower(text[pos + i]) != os::AsciiLower(prefix[i])) return false;
  return true;
}

// The position of the next prefix (any case) at or after from, or text.size().
size_t FindNoCase(std::u16string_view text, size_t from, std::u16string_view prefix) {
  for (size_t p = from; p < text.size(); ++p)
    if (StartsNoCase(text, p, prefix)) return p;
  return text.size();
}

// Just past the next ">" at or after from (the end when there is none).
size_t PastClose(std::u16string_view text, size_t from) {
  const size_t close = text.find(u'>', from);
  return close == std::u16string_view::npos ? text.size() : close + 1;
}

bool EndsTxt(std::u16string_view url) {
  const size_t dot = url.rfind(u'.');
  return dot != std::u16string_view::npos && url.size() - dot == 4 && StartsNoCase(url, dot + 1, u"txt");
}

class Cleaner {
 public:
  Cleaner(std::u16string_view in, std::u16string_view url, CleanedPage& out) : in_(in), url_(url), out_(out) {
    if (EndsTxt(url)) {
      out_.monospace = true;
      preDepth_ = 1;
    }
  }

  void Run() {
    size_t p = 0;
    while (p < in_.size() && in_[p] != 0) p = Step(p);
    // Only the last title is kept, so only it is decoded: titles that each run to one far "</title>" would
    // otherwise each decode the rest of the page.
    if (out_.hasTitle) out_.title = DecodeEntitiesCopy(in_.substr(title_, titleEnd_ - title_));
  }

 private:
  size_t Step(size_t p) {
    // Scripts, comments, titles, styles and the body are recognised even inside a tag being dropped.
    if (in_[p] == u'<') {
      if (StartsNoCase(in_, p, u"<script")) return PastClose(in_, scriptEnd_(in_, p));
      // The end is searched from the opener itself, so "<!-->" and "<!--->" are empty comments.
      if (StartsNoCase(in_, p, u"<!--")) return PastClose(in_, commentEnd_(in_, p));
      if (StartsNoCase(in_, p, u"<title")) return Title(p);
      if (StartsNoCase(in_, p, u"<body")) Body(p);
      if (StartsNoCase(in_, p, u"<style")) {
        const size_t end = styleEnd_(in_, p);
        return PastClose(in_, end < in_.size() ? end : p);
      }
      if (StartsNoCase(in_, p, u"<pre")) ++preDepth_;
      if (StartsNoCase(in_, p, u"</pre")) --preDepth_;
      if (!inDroppedTag_ && KnownTagIndexAt(in_, p, u" \t\r\n>") < 0) inDroppedTag_ = true;
    }
    const char16_t c = in_[p];
    if (inDroppedTag_) {
      if (c == u'>') inDroppedTag_ = false;
      return p + 1;
    }
    if (IsSpace(c) && preDepth_ == 0) {
      if (out_.text.empty() || out_.text.back() != u' ') out_.text += u' ';
    } else {
      out_.text += c;
    }
    return p + 1;
  }

  size_t Title(size_t p) {
    const size_t end = titleEndFind_(in_, p);
    size_t begin = p + 7 < in_.size() ? p + 7 : in_.size();
    while (begin < end && IsSpace(in_[begin])) ++begin;
    size_t last = end;
    while (last > begin && IsSpace(in_[last - 1])) --last;
    if (begin <= last && end < in_.size()) {
      out_.hasTitle = true;
      title_ = begin;
      titleEnd_ = last;
    }
    return PastClose(in_, titleCloseFind_(in_, p));
  }

  void Body(size_t p) {
    StringTable attributes;
    ParseAttributes(TagText(in_, p), attributes);
    for (int row = 0; row < attributes.RowCount(); ++row) {
      const std::u16string_view name = attributes.GetCell(row, 0);
      const std::u16string_view value = attributes.GetCell(row, 1);
      if (EqualsNoCase(name, u"bgcolor")) out_.backColor = ParseColor(value, out_.backColor);
      if (EqualsNoCase(name, u"background") && !value.empty()) out_.backImage = ResolveUrl(value, url_);
    }
  }

  std::u16string_view in_;
  std::u16string_view url_;
  CleanedPage& out_;
  int preDepth_ = 0;
  bool inDroppedTag_ = false;
  size_t title_ = 0, titleEnd_ = 0;  // the last title's text
  ForwardSearch scriptEnd_{FindNoCase, u"</script"}, commentEnd_{FindNoCase, u"-->"},
      styleEnd_{FindNoCase, u"</style"}, titleEndFind_{FindNoCase, u"</title>"},
      titleCloseFind_{FindNoCase, u"</title"};
};

class ImageTableSizes : public HtmlImageSizes {
 public:
  explicit ImageTableSizes(HtmlImageTable& images) : images_(images) {}
  bool NaturalSize(int index, int wait, int& width, int& height) override {
    if (!images_.DecodeImage(index, wait != 0)) return false;
    const HtmlImageEntry* entry = images_.Decoded(index);
    width = entry->width;
    height = entry->height;
    return true;
  }

 private:
  HtmlImageTable& images_;
};

}  // namespace

void UseLayoutPass(HtmlDocument& doc) {
  doc.layoutPass = [&doc](HtmlElementList& list, HtmlRect& rect) {
    ImageTableSizes sizes(doc.images);
    HtmlLayoutPass(doc, &sizes).Layout(list, rect);
  };
}

CleanedPage CleanPageText(std::u16string_view text, std::u16string_view url) {
  CleanedPage page;
  page.text.reserve(text.size());
  Cleaner(text, url, page).Run();
  return page;
}

void LoadPage(HtmlDocument& doc, HtmlTextMeasurer& measurer, std::u16string_view text, std::u16string_view face,
              int fontSize, std::u16string_view url) {
  doc.busy = 1;
  doc.pageBackColor = 0xFFFFFF;
  doc.pageBackImage = -1;
  doc.itemCount = 0;
  doc.cut = false;
  doc.nestedCut = false;
  doc.cutListsShown = doc.cutListsOptions = 0;
  doc.controlCount = 0;
  doc.level = 0;
  doc.passIndex = -1;
  doc.hoverLink = -1;
  doc.links.Clear();
  doc.elements.clear();
  doc.ForgetHitBoxes();
  doc.elementCount = 0;
  doc.images.ReleaseBitmaps();
  // The pictures are fetched once the whole page is read, however the reading ends.
  struct FetchAfterReading {
    HtmlImageTable& images;
    explicit FetchAfterReading(HtmlImageTable& table) : images(table) { images.PauseFetches(); }
    ~FetchAfterReading() { images.ResumeFetches(); }
  } fetchAfterReading(doc.images);

  const CleanedPage page = CleanPageText(text, url);
  if (page.hasTitle && doc.callbacks) doc.callbacks->SetTitle(page.title.c_str());
  doc.pageBackColor = page.backColor;
  if (!page.backImage.empty()) {
    doc.pageBackImage = doc.images.Find(page.backImage, 1);
    if (doc.pageBackImage < 0) doc.pageBackImage = doc.images.AddImage(page.backImage, 1);
  }
  const std::u16string_view pageFace = page.monospace ? std::u16string_view(u"Courier New") : face;
  HtmlParsePass pass(doc, measurer);
  pass.ParseRange(page.text, doc.elements, pageFace, fontSize, 0, url, 0, 0, page.monospace ? 1 : 0);
  doc.elementCount = static_cast<int>(doc.elements.size());
  const int length = static_cast<int>(page.text.size());
  if (doc.callbacks) doc.callbacks->OnParseProgress(0, length, length);
  doc.busy = 0;
}

}  // namespace htmlview
