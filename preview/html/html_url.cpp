#include "preview/html/html_url.h"

#include <algorithm>

namespace htmlview {
namespace {

using Npos = std::u16string;

bool StartsWith(std::u16string_view text, std::u16string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool EndsWithSlash(const std::u16string& text) { return !text.empty() && text.back() == u'/'; }

void CutAt(std::u16string& text, size_t length) {
  if (text.size() > length) text.resize(length);
}

bool IsAbsolute(std::u16string_view href) {
  const size_t scheme = href.find(u"://");
  return scheme != std::u16string_view::npos && href.find(u'/') == scheme + 1;
}

// The base's folder: cut at its query and behind its last "/", with "/" for "\".
std::u16string BaseFolder(std::u16string_view base, size_t& schemeEnd) {
  std::u16string out(base.substr(0, base.rfind(u'?')));
  CutAt(out, kMaxUrlLength);
  const size_t scheme = out.find(u"://");
  schemeEnd = scheme == Npos::npos ? 0 : scheme;
  std::replace(out.begin(), out.end(), u'\\', u'/');
  if (out.find(u'/', schemeEnd + 3) == Npos::npos) out += u'/';
  const size_t last = out.rfind(u'/');
  const bool afterScheme = last >= 2 && out.compare(last - 2, 3, u"://") == 0;
  if (!afterScheme) {
    out.resize(last + 1);
  } else if (!EndsWithSlash(out)) {
    out += u'/';
  }
  return out;
}

}  // namespace

std::u16string ResolveUrl(std::u16string_view href, std::u16string_view base) {
  std::u16string out;
  if (IsAbsolute(href)) {
    out = href.substr(0, kMaxUrlLength);
    return out;
  }
  size_t scheme = 0;
  out = BaseFolder(base, scheme);
  while (StartsWith(href, u"../")) {
    if (EndsWithSlash(out)) out.pop_back();
    const size_t last = out.rfind(u'/');
    if (last != Npos::npos && last >= 5) out.resize(last + 1);
    href.remove_prefix(3);
  }
  const bool rooted = StartsWith(href, u"/");
  if (rooted && out.find(u'/', scheme + 4) != Npos::npos) out.resize(out.find(u'/', scheme + 3));
  if (!rooted && !EndsWithSlash(out)) out += u'/';
  CutAt(out, kMaxUrlLength);
  out.append(href.substr(0, kMaxUrlLength - out.size()));
  if (StartsWith(out, u"file://") && out.size() > 7) std::replace(out.begin() + 7, out.end(), u'/', u'\\');
  return out;
}

void CopyBounded(std::u16string_view text, char16_t* out, size_t capacity) {
  if (!out || capacity == 0) return;
  const size_t n = std::min(text.size(), capacity - 1);
  std::copy_n(text.data(), n, out);
  out[n] = 0;
}

void ResolveUrl(const char16_t* href, char16_t* out, size_t outCapacity, const char16_t* base) {
  CopyBounded(ResolveUrl(href ? href : u"", base ? base : u""), out, outCapacity);
}

}  // namespace htmlview
