// The text of a drawing: its encoding (older drawings keep text in the Windows code page their header names,
// newer ones in UTF-8; we keep UTF-8), the special characters of single-line text, the formatting codes of
// paragraph text, and the width a line takes in the font the drawing is painted in.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace dxf {

// Turns text in a Windows code page (1252, 1251, 932, ...) into UTF-8; false when it cannot.
using CodePageDecoder = std::function<bool(std::string_view bytes, unsigned codePage, std::string& utf8)>;

// The code page a drawing's "$DWGCODEPAGE" names ("ANSI_1251" is 1251); 1252 when it names none we know.
unsigned DrawingCodePage(std::string_view name);

// Text of a drawing in UTF-8: as it is when the drawing keeps UTF-8, else decoded from its code page (bytes
// as Latin-1 when no decoder can).
std::string TextToUtf8(std::string_view text, bool utf8, unsigned codePage = 1252, const CodePageDecoder& decode = {});

// Single-line text with "%%d" and its kin made the degree, plus-minus and diameter signs and a percent
// sign, and "\U+00E9" the character of that code; underline and overline switches dropped.
std::string SingleLineText(std::string_view text);

// Cuts to at most n bytes without splitting a UTF-8 character.
std::string CutUtf8(std::string text, size_t n);

// The lines of a paragraph text with its formatting codes removed (UTF-8 in, UTF-8 out).
std::vector<std::string> ParagraphLines(std::string_view formatted);

// The width of a line of UTF-8 text this high in drawing units, in the painter's font (Arial's advances).
double TextWidth(std::string_view utf8, double height);

// A line broken between its words into lines no wider than width, as a paragraph text wraps at its
// width; a word wider than that keeps a line of its own.
std::vector<std::string> WrapLine(const std::string& line, double height, double width);

}  // namespace dxf
