#include "preview/html/html_browser_logic.h"
#include "platform/os/os.h"

#include <algorithm>
#include <cstring>

#include "preview/address_reach.h"

namespace htmlview {
namespace {


std::u16string Ascii(const std::string& text) { return std::u16string(text.begin(), text.end()); }

}  // namespace

bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (os::AsciiLower(text[i]) != os::AsciiLower(prefix[i])) return false;
  return true;
}

bool IsPictureUrl(std::u16string_view url) {
  const size_t dot = url.rfind(u'.');
  if (dot == std::u16string_view::npos) return false;
  const std::u16string_view ext = url.substr(dot + 1);
  if (ext.size() != 3) return false;
  return StartsWithNoCase(ext, u"jpg") || StartsWithNoCase(ext, u"gif") || StartsWithNoCase(ext, u"png");
}

std::u16string PicturePage(std::u16string_view url) {
  return u"<body bgcolor=ffff00><img src=\"" + std::u16string(url) + u"\"></body>";
}

bool IsSubmitUrl(std::u16string_view url, int& formIndex) {
  formIndex = -1;
  if (!StartsWithNoCase(url, u"Submit(")) return false;
  long long n = 0;
  size_t p = 7;
  for (; p < url.size() && url[p] >= u'0' && url[p] <= u'9'; ++p) n = std::min<long long>(n * 10 + (url[p] - u'0'), 1 << 30);
  formIndex = p > 7 ? static_cast<int>(n) : -1;
  return true;
}

bool ImagesLoadedRelayout(int shown, int loaded, int total) {
  long long step = 10;
  if (total > 10) {
    step = 100;
    while (step < total) step *= 10;
  }
  const long long divisor = step / 10;
  return loaded == total || loaded / divisor > shown / divisor;
}

namespace {

void AppendEscapedByte(std::u16string& out, unsigned byte) {
  static const char kHex[] = "0123456789abcdef";
  out += u'%';
  out += static_cast<char16_t>(kHex[(byte >> 4) & 15]);
  out += static_cast<char16_t>(kHex[byte & 15]);
}

// A character beyond ASCII as the escapes of its UTF-8 bytes; a surrogate pair is one character, a lone
// surrogate the replacement character.
void AppendEscapedUtf8(std::u16string& out, char32_t c) {
  if (c < 0x800) {
    AppendEscapedByte(out, 0xC0 | (c >> 6));
  } else if (c < 0x10000) {
    AppendEscapedByte(out, 0xE0 | (c >> 12));
    AppendEscapedByte(out, 0x80 | ((c >> 6) & 0x3F));
  } else {
    AppendEscapedByte(out, 0xF0 | (c >> 18));
    AppendEscapedByte(out, 0x80 | ((c >> 12) & 0x3F));
    AppendEscapedByte(out, 0x80 | ((c >> 6) & 0x3F));
  }
  AppendEscapedByte(out, 0x80 | (c & 0x3F));
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

std::u16string UrlEncodeFormValue(std::u16string_view text, bool utf8) {
  std::u16string out;
  out.reserve(text.size() * 3);
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')) {
      out += c;
    } else if (c == u' ') {
      out += u'+';
    } else if (c < 0x80 || (c <= 0xFF && !utf8)) {
      AppendEscapedByte(out, c);
    } else if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      AppendEscapedUtf8(out, 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[++i] - 0xDC00));
    } else {
      AppendEscapedUtf8(out, IsHighSurrogate(c) || IsLowSurrogate(c) ? char32_t{0xFFFD} : char32_t{c});
    }
  }
  return out;
}

std::u16string FormQuery(const std::vector<FormField>& fields) {
  // One character set for the whole query: a server reads every value of it the same way.
  const bool utf8 = std::any_of(fields.begin(), fields.end(), [](const FormField& f) {
    return std::any_of(f.value.begin(), f.value.end(), [](char16_t c) { return c > 0xFF; });
  });
  std::u16string query;
  for (const FormField& f : fields) {
    query += query.empty() ? u'?' : u'&';
    query += f.name + u"=" + UrlEncodeFormValue(f.value, utf8);
  }
  return query;
}

std::u16string GetFormUrl(std::u16string_view action, std::u16string_view query) {
  std::u16string url(action);
  if (!query.empty() && action.find(u'?') != std::u16string_view::npos) {
    url += u'&';
    url += query.substr(1);
  } else {
    url += query;
  }
  return url;
}

PostTarget SplitPostUrl(std::u16string_view url) {
  PostTarget t;
  const size_t scheme = url.find(u"://");
  t.secure = StartsWithNoCase(url, u"https://");
  if (t.secure) t.port = 443;
  const size_t hostStart = scheme == std::u16string_view::npos ? 0 : scheme + 3;
  const size_t slash = url.find(u'/', hostStart);
  std::u16string_view host = url.substr(hostStart, slash == std::u16string_view::npos ? url.npos : slash - hostStart);
  t.object = slash == std::u16string_view::npos ? u"/" : std::u16string(url.substr(slash));
  const size_t colon = host.rfind(u':');
  if (colon != std::u16string_view::npos) {
    long port = 0;
    bool digits = colon + 1 < host.size();
    for (size_t i = colon + 1; i < host.size(); ++i) {
      if (host[i] < u'0' || host[i] > u'9' || port > 65535) digits = false;
      else port = port * 10 + (host[i] - u'0');
    }
    if (digits && port > 0 && port <= 65535) t.port = static_cast<uint16_t>(port);
    host = host.substr(0, colon);
  }
  t.host = host;
  return t;
}

std::u16string FileUrlPath(std::u16string_view url) { return preview::FileUrlPath(url); }

std::u16string ReadingStatus(long long bytes, long long total) {
  if (total < 1) return Ascii("Reading " + std::to_string(bytes));
  return Ascii("Reading " + std::to_string(bytes) + " of " + std::to_string(total));
}

std::u16string ReadyStatus(int items, int images, int links, int level) {
  return Ascii("Ready, items:" + std::to_string(items) + ", images:" + std::to_string(images) +
               ", links:" + std::to_string(links) + ", level:" + std::to_string(level));
}

std::u16string ParsingStatus(int done, int total) {
  return Ascii("Parsing " + std::to_string(done) + " of " + std::to_string(total));
}

std::u16string CutPageNote(int items) {
  return Ascii("Loaded the first " + std::to_string(items) + " items of the page; the rest is not shown");
}

std::u16string PartialPageNote(const PageCuts& cuts) {
  std::vector<std::u16string> parts;
  if (cuts.items >= 0) parts.push_back(CutPageNote(cuts.items));
  if (cuts.nestedDepth > 0)
    parts.push_back(Ascii("Content nested more than " + std::to_string(cuts.nestedDepth) +
                          " levels deep is left out; the rest of the page is shown"));
  if (cuts.listOptions > cuts.listOptionsShown)
    parts.push_back(Ascii("Loaded " + std::to_string(cuts.listOptionsShown) + " of " + std::to_string(cuts.listOptions) +
                          " total options"));
  std::u16string note;
  for (const std::u16string& part : parts) note += (note.empty() ? u"" : u". ") + part;
  return note;
}

uint8_t* ReplyBuffer::Room(size_t& size) {
  if (used_ >= limit_) {
    size = 0;
    return nullptr;
  }
  if (bytes_.size() - used_ < 1000) {
    const size_t grown = std::min(std::max<size_t>(bytes_.size() * 2, 4096), limit_);
    bytes_.resize(grown);
  }
  size = std::min(bytes_.size(), limit_) - used_;
  return bytes_.data() + used_;
}

uint8_t* ReplyBuffer::Release() {
  auto* out = new uint8_t[used_ + 1];
  if (used_ > 0) std::memcpy(out, bytes_.data(), used_);
  out[used_] = 0;
  return out;
}

}  // namespace htmlview
