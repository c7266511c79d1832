#include "ui/html/html_fake_metrics.h"

namespace html {

namespace {
constexpr int kFakeMaxWidth = 1 << 28;
}  // namespace

HtmlFontMetrics HtmlFakeMetrics::FontMetrics(const HtmlFont& font) {
  HtmlFontMetrics metrics;
  metrics.ascent = font.size * 3 / 4;
  metrics.descent = font.size - metrics.ascent;
  return metrics;
}

int HtmlFakeMetrics::TextWidth(const HtmlFont& font, std::u16string_view text) {
  // Saturates far below the int range, as a real device's extents would.
  long long width = static_cast<long long>(text.size()) * (font.size / 2);
  return width > kFakeMaxWidth ? kFakeMaxWidth : static_cast<int>(width);
}

HtmlSize HtmlFakeMetrics::ImageSize(const HtmlImageSource& image) {
  if (image.handle != 0) {
    auto given = handles.find(image.handle);
    return given == handles.end() ? HtmlSize{} : given->second;
  }
  auto found = images.find(image.idres);
  if (found == images.end()) return {};
  return found->second;
}

std::u16string HtmlFakeMetrics::LoadString(uint32_t id) {
  auto found = strings.find(id);
  return found == strings.end() ? std::u16string() : found->second;
}

}  // namespace html
