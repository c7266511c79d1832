// The text of a drawing: its encoding (older drawings keep text in the Windows Latin code page, newer ones in
// UTF-8; we keep UTF-8), the special characters of single-line text and the formatting codes of paragraph
// text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace dxf {

std::string TextToUtf8(std::string_view text, bool utf8);

// Single-line text with "%%d" and its kin made the degree, plus-minus and diameter signs and a percent
// sign; underline and overline switches dropped.
std::string SingleLineText(std::string_view text);

// Cuts to at most n bytes without splitting a UTF-8 character.
std::string CutUtf8(std::string text, size_t n);

// The lines of a paragraph text with its formatting codes removed (UTF-8 in, UTF-8 out).
std::vector<std::string> ParagraphLines(std::string_view formatted);

}  // namespace dxf
