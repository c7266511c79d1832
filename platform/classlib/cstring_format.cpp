// CString::FormatV: printf-style formatting written here, so that both builds give the same text.
//
// Understood: flags - + space # 0; a width and a precision, each a number or *; the sizes hh h l ll
// I64 I32 w; the conversions d i u o x X c C s S f F e E g G p %. As in the Unicode build of the
// class library, %s and %c take TCHAR text and %S and %C take 8-bit text (code page); h forces 8-bit
// and l or w forces TCHAR. "l" integers are 32-bit (LONG, DWORD), as they are on Windows; 64-bit ones
// need ll or I64. Floating point follows C (two-digit exponents, "inf", "nan").
#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/classlib/cstring.h"

namespace {

using Text = std::basic_string<TCHAR>;

enum class Size { Default, Char, Short, Long, LongLong, Wide };

struct Directive {
  bool left = false, plus = false, space = false, alternate = false, zero = false;
  int width = 0;
  int precision = -1;  // -1: none given
  Size size = Size::Default;
  TCHAR conversion = 0;
};

bool IsDigit(TCHAR ch) { return ch >= '0' && ch <= '9'; }

// Widths and precisions beyond this are taken as this.
constexpr int kMaxWidth = 100000;

int ReadNumber(LPCTSTR& p) {
  int n = 0;
  for (; IsDigit(*p); ++p) n = n < kMaxWidth ? n * 10 + (*p - '0') : kMaxWidth;
  return n;
}

Text Widen(const char* text, size_t length) {
  Text out;
  out.reserve(length);
  for (size_t i = 0; i < length; ++i) out += static_cast<TCHAR>(static_cast<unsigned char>(text[i]));
  return out;
}

class Formatter {
 public:
  explicit Formatter(va_list args) { va_copy(args_, args); }
  ~Formatter() { va_end(args_); }

  Text Run(LPCTSTR p) {
    while (*p != 0) {
      if (*p != '%') {
        out_ += *p++;
        continue;
      }
      ++p;
      Directive directive;
      if (!ParseDirective(p, directive)) break;
      Convert(directive);
    }
    return out_;
  }

 private:
  bool ParseDirective(LPCTSTR& p, Directive& directive) {
    for (;; ++p) {
      if (*p == '-') directive.left = true;
      else if (*p == '+') directive.plus = true;
      else if (*p == ' ') directive.space = true;
      else if (*p == '#') directive.alternate = true;
      else if (*p == '0') directive.zero = true;
      else break;
    }
    if (*p == '*') {
      ++p;
      directive.width = va_arg(args_, int);
      if (directive.width > kMaxWidth) directive.width = kMaxWidth;
      if (directive.width < 0) {
        directive.left = true;
        directive.width = directive.width < -kMaxWidth ? kMaxWidth : -directive.width;
      }
    } else {
      directive.width = ReadNumber(p);
    }
    if (*p == '.') {
      ++p;
      if (*p == '*') {
        ++p;
        directive.precision = va_arg(args_, int);
        if (directive.precision < 0) directive.precision = -1;
      } else {
        directive.precision = ReadNumber(p);
      }
    }
    ParseSize(p, directive);
    directive.conversion = *p;
    if (*p == 0) return false;
    ++p;
    return true;
  }

  static void ParseSize(LPCTSTR& p, Directive& directive) {
    if (p[0] == 'h') {
      directive.size = p[1] == 'h' ? Size::Char : Size::Short;
      p += p[1] == 'h' ? 2 : 1;
    } else if (p[0] == 'l') {
      directive.size = p[1] == 'l' ? Size::LongLong : Size::Long;
      p += p[1] == 'l' ? 2 : 1;
    } else if (p[0] == 'I' && p[1] == '6' && p[2] == '4') {
      directive.size = Size::LongLong;
      p += 3;
    } else if (p[0] == 'I' && p[1] == '3' && p[2] == '2') {
      directive.size = Size::Default;
      p += 3;
    } else if (p[0] == 'w') {
      directive.size = Size::Wide;
      ++p;
    }
  }

  void Convert(const Directive& directive) {
    switch (directive.conversion) {
      case 'd': case 'i': return Signed(directive);
      case 'u': case 'o': case 'x': case 'X': return Unsigned(directive);
      case 'c': case 'C': return Character(directive);
      case 's': case 'S': return String(directive);
      case 'f': case 'F': case 'e': case 'E': case 'g': case 'G': return Floating(directive);
      case 'p': return Pointer(directive);
      default: out_ += directive.conversion;  // "%%" and unknown conversions give the character itself
    }
  }

  void Signed(const Directive& directive) {
    long long value;
    switch (directive.size) {
      case Size::LongLong: value = va_arg(args_, long long); break;
      case Size::Long: value = va_arg(args_, LONG); break;
      case Size::Short: value = static_cast<short>(va_arg(args_, int)); break;
      case Size::Char: value = static_cast<signed char>(va_arg(args_, int)); break;
      default: value = va_arg(args_, int);
    }
    const unsigned long long magnitude =
        value < 0 ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    Integer(directive, magnitude, value < 0);
  }

  void Unsigned(const Directive& directive) {
    unsigned long long value;
    switch (directive.size) {
      case Size::LongLong: value = va_arg(args_, unsigned long long); break;
      case Size::Long: value = va_arg(args_, DWORD); break;
      case Size::Short: value = static_cast<unsigned short>(va_arg(args_, unsigned)); break;
      case Size::Char: value = static_cast<unsigned char>(va_arg(args_, unsigned)); break;
      default: value = va_arg(args_, unsigned);
    }
    Integer(directive, value, false);
  }

  void Integer(const Directive& directive, unsigned long long magnitude, bool negative) {
    const TCHAR c = directive.conversion;
    const int base = c == 'o' ? 8 : (c == 'x' || c == 'X' ? 16 : 10);
    const char* digitSet = c == 'X' ? "0123456789ABCDEF" : "0123456789abcdef";
    Text digits;
    for (unsigned long long v = magnitude; v != 0; v /= base) digits.insert(digits.begin(), digitSet[v % base]);
    const int minDigits = directive.precision >= 0 ? directive.precision : 1;
    if (static_cast<int>(digits.size()) < minDigits) digits.insert(0, minDigits - digits.size(), '0');
    Text prefix = SignOf(directive, negative);
    if (directive.alternate && base == 16 && magnitude != 0) prefix += Widen(c == 'X' ? "0X" : "0x", 2);
    if (directive.alternate && base == 8 && (digits.empty() || digits[0] != '0')) digits.insert(0, 1, '0');
    Pad(directive, prefix, digits, directive.zero && directive.precision < 0);
  }

  static Text SignOf(const Directive& directive, bool negative) {
    if (negative) return Text(1, '-');
    if (directive.plus) return Text(1, '+');
    if (directive.space) return Text(1, ' ');
    return Text();
  }

  // Appends prefix and body padded to the width: blanks on the left or right, or zeros between.
  void Pad(const Directive& directive, const Text& prefix, const Text& body, bool zeroPad) {
    const int length = static_cast<int>(prefix.size() + body.size());
    const size_t fill = directive.width > length ? static_cast<size_t>(directive.width - length) : 0;
    if (directive.left) {
      out_ += prefix + body;
      out_.append(fill, ' ');
    } else if (zeroPad) {
      out_ += prefix;
      out_.append(fill, '0');
      out_ += body;
    } else {
      out_.append(fill, ' ');
      out_ += prefix + body;
    }
  }

  // Whether a %c/%s argument is TCHAR text: the lower-case conversions are, unless h says otherwise;
  // the upper-case ones are not, unless l or w says so.
  static bool IsWide(const Directive& directive) {
    if (directive.size == Size::Short) return false;
    if (directive.size == Size::Long || directive.size == Size::Wide) return true;
    return directive.conversion == 'c' || directive.conversion == 's';
  }

  void Character(const Directive& directive) {
    const int value = va_arg(args_, int);
    const Text body = IsWide(directive) ? Text(1, static_cast<TCHAR>(value))
                                   : Text(CString(std::string(1, static_cast<char>(value)).c_str()));
    Pad(directive, Text(), body, false);
  }

  void String(const Directive& directive) {
    Text body;
    if (IsWide(directive)) {
      LPCTSTR text = va_arg(args_, LPCTSTR);
      body = text != nullptr ? Text(text) : Widen("(null)", 6);
    } else {
      const char* text = va_arg(args_, const char*);
      body = text != nullptr ? Text(CString(text).GetString()) : Widen("(null)", 6);
    }
    if (directive.precision >= 0 && static_cast<size_t>(directive.precision) < body.size()) body.resize(directive.precision);
    Pad(directive, Text(), body, false);
  }

  void Floating(const Directive& directive) {
    const double value = va_arg(args_, double);
    const TCHAR c = directive.conversion;
    const std::chars_format format = (c == 'f' || c == 'F') ? std::chars_format::fixed
                                     : (c == 'e' || c == 'E') ? std::chars_format::scientific
                                                              : std::chars_format::general;
    int precision = directive.precision >= 0 ? directive.precision : 6;
    if (format == std::chars_format::general && precision == 0) precision = 1;
    char buffer[400];  // the widest fixed double (309 digits) with a capped precision
    precision = precision > 60 ? 60 : precision;
    const std::to_chars_result r = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
    Text body = Widen(buffer, static_cast<size_t>(r.ptr - buffer));
    if (c == 'F' || c == 'E' || c == 'G') {
      for (TCHAR& ch : body) ch = ClToUpper(ch);
    }
    const bool negative = !body.empty() && body[0] == '-';
    if (negative) body.erase(0, 1);
    const bool finite = body.empty() || IsDigit(body[0]);
    Pad(directive, SignOf(directive, negative), body, directive.zero && finite);
  }

  void Pointer(const Directive& directive) {
    const auto value = reinterpret_cast<uintptr_t>(va_arg(args_, void*));
    Directive hex = directive;
    hex.conversion = 'X';
    hex.precision = static_cast<int>(2 * sizeof(void*));
    Integer(hex, value, false);
  }

  va_list args_;
  Text out_;
};

}  // namespace

void CString::FormatV(LPCTSTR pszFormat, va_list args) {
  if (pszFormat == nullptr) {
    Empty();
    return;
  }
  m_str = Formatter(args).Run(pszFormat);
}
