#include "engine/fat/oem_code_page.h"

char16_t OemSmallLetter(char16_t c) {
  const bool ascii = c >= u'A' && c <= u'Z';
  const bool latin1 = c >= 0x00C0 && c <= 0x00DE && c != 0x00D7;  // not the multiplication sign
  const bool greek = c >= 0x0391 && c <= 0x03A9 && c != 0x03A2;   // no capital final sigma
  return ascii || latin1 || greek ? static_cast<char16_t>(c + 0x20) : c;
}
