// Rich text handed to a rich-edit control as bytes: characters beyond ASCII become RTF escapes (\uN?) so
// that text outside the ANSI code page survives.
#pragma once

#include <string>

namespace tk {

bool LooksLikeRtf(const std::u16string& text);
// ASCII stays as it is (the markup), every other UTF-16 unit becomes \uN? with N signed, as RTF wants.
std::string EscapeRtfText(const std::u16string& text);
// Whether the first paragraph alignment in the markup centres or right-aligns ("\qc", "\qr").
bool HasCentredOrRightParagraph(const std::u16string& text);

}  // namespace tk
