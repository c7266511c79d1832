#include "platform/classlib/cstring.h"

#include <gtest/gtest.h>

#include "platform/classlib/classlib_testing.h"

namespace {

CString F(LPCTSTR format, ...) {
  va_list args;
  va_start(args, format);
  CString s;
  s.FormatV(format, args);
  va_end(args);
  return s;
}

TEST(CStringFormat, Integers) {
  EXPECT_EQ(F(_T("%d|%i|%u"), -42, 7, 42u), _T("-42|7|42"));
  EXPECT_EQ(F(_T("[%5d|%-5d|%05d|%+d|% d]"), 42, 42, -42, 5, 5), _T("[   42|42   |-0042|+5| 5]"));
  EXPECT_EQ(F(_T("%u"), static_cast<unsigned>(-1)), _T("4294967295"));
  EXPECT_EQ(F(_T("%x %X %#x %08X %o"), 255, 255, 255, 0xBEEFu, 8), _T("ff FF 0xff 0000BEEF 10"));
  EXPECT_EQ(F(_T("%02d:%02d:%02d"), 5, 7, 123), _T("05:07:123"));
  EXPECT_EQ(F(_T("%ld %lu %lx"), static_cast<LONG>(-7), static_cast<DWORD>(4000000000u), static_cast<DWORD>(0xABCu)),
            _T("-7 4000000000 abc"));
  EXPECT_EQ(F(_T("%I64d %I64u %lld"), -1234567890123LL, 18446744073709551615ULL, 9000000000LL),
            _T("-1234567890123 18446744073709551615 9000000000"));
  EXPECT_EQ(F(_T("%hd %hu"), 70000, 70000), _T("4464 4464"));
  EXPECT_EQ(F(_T("%5.3d|%.0d|%*d|%-*d|"), 7, 0, 4, 7, 3, 1), _T("  007||   7|1  |"));
}

TEST(CStringFormat, FloatingPoint) {
  EXPECT_EQ(F(_T("%.2f %2.2f %f"), 3.14159, 1024.0, 1.5), _T("3.14 1024.00 1.500000"));
  // Correct rounding of the binary value: 0.125 is exact (ties to even), 1.005 lies below 1.005.
  EXPECT_EQ(F(_T("%.2f %.2f %.1f"), 0.125, 1.005, 0.25), _T("0.12 1.00 0.2"));
  EXPECT_EQ(F(_T("[%8.3f|%-8.1f|%08.2f|%+.1f]"), 3.14159, 2.5, -3.5, 2.0), _T("[   3.142|2.5     |-0003.50|+2.0]"));
  EXPECT_EQ(F(_T("%e %E"), 12345.678, 0.00012), _T("1.234568e+04 1.200000E-04"));
  EXPECT_EQ(F(_T("%g %g %G %g"), 0.0001, 1234567.0, 1e-10, 100.0), _T("0.0001 1.23457e+06 1E-10 100"));
  EXPECT_EQ(F(_T("%.*f"), 3, 2.0), _T("2.000"));
}

TEST(CStringFormat, TextAndCharacters) {
  EXPECT_EQ(F(_T("%s and %S"), _T("wide"), "narrow"), _T("wide and narrow"));
  EXPECT_EQ(F(_T("%hs %ls %ws"), "h", _T("l"), _T("w")), _T("h l w"));
  EXPECT_EQ(F(_T("%c%C%hc%lc"), _T('A'), 'b', 'c', _T('D')), _T("AbcD"));
  EXPECT_EQ(F(_T("[%-6s|%6s|%.2s|%3c]"), _T("ab"), _T("cd"), _T("efgh"), _T('x')), _T("[ab    |    cd|ef|  x]"));
  EXPECT_EQ(F(_T("%s|%S"), static_cast<LPCTSTR>(nullptr), static_cast<const char*>(nullptr)), _T("(null)|(null)"));
}

TEST(CStringFormat, PercentAndOddFormats) {
  EXPECT_EQ(F(_T("100%%")), _T("100%"));
  EXPECT_EQ(F(_T("%d%%"), 50), _T("50%"));
  EXPECT_EQ(F(_T("tail %")), _T("tail "));
  EXPECT_EQ(F(_T("%y")), _T("y"));
  // Non-ASCII text passes through unchanged.
  EXPECT_EQ(F(_T("caf\u00e9 %s"), _T("\u043f\u0440\u0438")), _T("caf\u00e9 \u043f\u0440\u0438"));
  CString s = _T("keep");
  s.Format(_T("%s-%d"), s.GetString(), 2);  // the format may read the string being formatted
  EXPECT_EQ(s, _T("keep-2"));
}

TEST(CStringSearch, FindAndReverseFind) {
  const CString s = _T("abcabc");
  struct Case {
    int got, want;
  } cases[] = {
      {s.Find(_T('b')), 1},         {s.Find(_T('b'), 2), 4},    {s.Find(_T('z')), -1},
      {s.Find(_T('a'), 6), -1},     {s.Find(_T('a'), -1), -1},  {s.Find(_T("ca")), 2},
      {s.Find(_T("bc"), 2), 4},     {s.Find(_T("cab"), 3), -1}, {s.Find(_T("")), 0},
      {s.ReverseFind(_T('a')), 3},  {s.ReverseFind(_T('z')), -1}, {CString().Find(_T('a')), -1},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) EXPECT_EQ(cases[i].got, cases[i].want) << i;
}

TEST(CStringSearch, SubstringsClampToTheString) {
  const CString s = _T("Hello");
  EXPECT_EQ(s.Left(2), _T("He"));
  EXPECT_EQ(s.Left(10), _T("Hello"));
  EXPECT_EQ(s.Left(-1), _T(""));
  EXPECT_EQ(s.Right(3), _T("llo"));
  EXPECT_EQ(s.Right(9), _T("Hello"));
  EXPECT_EQ(s.Mid(1, 3), _T("ell"));
  EXPECT_EQ(s.Mid(3), _T("lo"));
  EXPECT_EQ(s.Mid(7), _T(""));
  EXPECT_EQ(s.Mid(-2, 3), _T("Hel"));
}

TEST(CStringCase, UpperLowerAndNoCaseComparison) {
  CString s = _T("Abc \u00e9\u00ff\u0101\u0142 \u03b1\u03c2 \u0436\u0451 1_");
  EXPECT_EQ(CString(s).MakeUpper(), _T("ABC \u00c9\u0178\u0100\u0141 \u0391\u03a3 \u0416\u0401 1_"));
  EXPECT_EQ(CString(_T("\u00c9\u0178\u0100\u0141 \u0416\u0401 XY")).MakeLower(),
            _T("\u00e9\u00ff\u0101\u0142 \u0436\u0451 xy"));
  EXPECT_EQ(S(_T("Hello")).CompareNoCase(_T("hELLO")), 0);
  EXPECT_LT(S(_T("apple")).CompareNoCase(_T("Banana")), 0);
  // Folding goes to lower case, so '_' sorts before letters.
  EXPECT_LT(S(_T("_x")).CompareNoCase(_T("Ax")), 0);
  EXPECT_GT(S(_T("_x")).Compare(_T("Ax")), 0);
  EXPECT_LT(S(_T("ab")).Compare(_T("abc")), 0);
  EXPECT_EQ(S(_T("ab")).Compare(_T("ab")), 0);
}

TEST(CStringEdit, TrimReplaceRemoveInsertDelete) {
  EXPECT_EQ(S(_T(" \t x y \r\n")).TrimLeft(), _T("x y \r\n"));
  EXPECT_EQ(S(_T(" \t x y \r\n")).TrimRight(), _T(" \t x y"));
  EXPECT_EQ(S(_T("xxaxx")).TrimLeft(_T('x')).TrimRight(_T('x')), _T("a"));
  EXPECT_EQ(S(_T("-=a=-")).TrimRight(_T("=-")), _T("-=a"));
  EXPECT_EQ(S(_T("   ")).TrimRight(), _T(""));

  CString s = _T("a.b.c");
  EXPECT_EQ(s.Replace(_T('.'), _T('/')), 2);
  EXPECT_EQ(s, _T("a/b/c"));
  EXPECT_EQ(s.Replace(_T("/"), _T("//")), 2);
  EXPECT_EQ(s, _T("a//b//c"));
  EXPECT_EQ(s.Replace(_T("//"), _T("")), 2);
  EXPECT_EQ(s, _T("abc"));
  EXPECT_EQ(s.Replace(_T(""), _T("x")), 0);
  EXPECT_EQ(s.Replace(_T("abc"), s.GetString()), 1);  // the new text may be the string itself
  EXPECT_EQ(s, _T("abc"));

  CString r = _T("&File &&Open");
  EXPECT_EQ(r.Remove(_T('&')), 3);
  EXPECT_EQ(r, _T("File Open"));
  EXPECT_EQ(r.Insert(4, _T('s')), 10);
  EXPECT_EQ(r.Insert(0, _T(">> ")), 13);
  EXPECT_EQ(r.Insert(99, _T("!")), 14);
  EXPECT_EQ(r, _T(">> Files Open!"));
  EXPECT_EQ(r.Delete(0, 3), 11);
  EXPECT_EQ(r.Delete(5, 99), 5);
  EXPECT_EQ(r, _T("Files"));
}

TEST(CStringBuffer, GetBufferAndReleaseBuffer) {
  CString s = _T("ab");
  LPTSTR p = s.GetBuffer(10);
  p[2] = 'c';
  p[3] = 0;
  s.ReleaseBuffer();
  EXPECT_EQ(s, _T("abc"));
  EXPECT_EQ(s.GetLength(), 3);
  p = s.GetBufferSetLength(5);
  p[3] = 'd';
  p[4] = 'e';
  s.ReleaseBuffer(4);
  EXPECT_EQ(s, _T("abcd"));
}

TEST(CStringConversion, NarrowUtf16AndOperators) {
  EXPECT_EQ(CString("caf\xe9"), _T("caf\u00e9"));  // the 8-bit code page
  EXPECT_EQ(CString::FromUtf16(u"x\u20acy").ToUtf16(), u"x\u20acy");
  EXPECT_EQ(CString(_T('-'), 3), _T("---"));
  EXPECT_EQ(CString(_T("abcdef"), 3), _T("abc"));
  EXPECT_TRUE(CString(static_cast<LPCTSTR>(nullptr)).IsEmpty());
  CString s = _T("a");
  s += _T("b");
  s += _T('c');
  s += CString(_T("d"));
  EXPECT_EQ(s, _T("abcd"));
  EXPECT_EQ(_T("<") + s + _T('>'), _T("<abcd>"));
  EXPECT_TRUE(s == _T("abcd") && _T("abcd") == s && s != _T("x") && s < _T("b") && _T("b") > s);
  EXPECT_EQ(s[1], _T('b'));
  s.SetAt(0, _T('A'));
  EXPECT_EQ(s.GetAt(0), _T('A'));
  s.Empty();
  EXPECT_TRUE(s.IsEmpty());
}

}  // namespace
