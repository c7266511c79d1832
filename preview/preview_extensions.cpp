#include "preview/preview_extensions.h"

std::u16string ResultsItemPathText;

uint32_t IsPreviewableExtension(const std::u16string&, const std::u16string& extension) {
  return extension.size() > 1 && extension[0] == u'.' ? 1 : 0;
}
