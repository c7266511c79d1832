#include "engine/listing/file_name_pattern.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

#include "platform/os/os.h"

namespace {

struct Case {
  const char16_t* name;
  const char16_t* pattern;
  int32_t match;
};

TEST(MatchFileNamePattern, Cases) {
  const Case cases[] = {
      // The documented behaviour.
      {u"README.TXT", u"*.TXT", 1},
      {u"A.TXT", u"*.TXT", 1},
      {u"A.TXTX", u"*.TXT", 0},
      {u"A.B", u"*.*", 1},
      {u"README", u"*.*", 0},
      {u"MYDOC.TXT", u"DOC", 1},          // no wildcard: a substring
      {u"BCDE", u"B?D", 1},               // '?' without '*': a prefix
      {u"X", u"*X", 0},                   // a star takes at least one character
      {u"AX", u"*X", 1},
      {u"AB", u"A*?", 0},                 // a star followed by question marks at the end
      {u"ABC", u"A*?", 0},
      {u"A", u"A*?", 0},
      {u"TX", u"TXT", 0},                 // longer than the name
      {u"", u"*", 0},
      {u"A", u"", 0},
      {u"", u"", 0},
      // Branches of the scan.
      {u"X", u"*", 1},
      {u"ABC", u"A*", 1},
      {u"ABC", u"A***", 1},               // trailing stars count as one
      {u"BA", u"A*", 0},
      {u"A", u"?", 1},
      {u"A", u"??", 0},
      {u"ABD", u"A?C", 0},
      {u"XAAB", u"*AB", 1},
      {u"XAY", u"*A?", 1},
      {u"ABC", u"*B*", 1},
      {u"AB", u"*B*", 1},
      {u"A", u"*?", 0},
      {u"ABX", u"*?X", 1},
      {u"AX", u"*?X", 1},                 // not a glob: the '?' after the star takes nothing here
      {u"AC", u"A*C", 0},
      {u"AXC", u"A*C", 1},
      {u"B", u"**B", 0},
      {u"ABCD", u"*B*D", 1},
      {u"ABD", u"*B*D", 0},
      {u"A.TXT", u"*.T?T", 0},            // not a glob: the text after a star skips the '?'
      {u"ACXCD", u"*CD", 1},
      {u"ACXCDE", u"*CDE", 1},            // found again further on
      {u"ACXYZ", u"*CDE", 0},             // not found again
      {u"ACXCD", u"*CDX", 0},             // found again, but at the very end
      {u"XXABCXX", u"ABC", 1},
      {u"ABC", u"abc", 0},                // callers upper-case first
      {u"AB", u"A\u012A", 1},             // a unit whose low byte is '*' is a star
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MatchFileNamePattern(c.name, c.pattern), c.match)
        << os::ToUtf8(c.name) << " / " << os::ToUtf8(c.pattern);
  }
}

// The same steps written again, plainly, over strings that carry their terminating zero.
int32_t ReferenceMatch(const std::u16string& name, std::u16string pattern) {
  const auto star = [](char16_t c) { return (c & 0xFF) == '*'; };
  const auto question = [](char16_t c) { return (c & 0xFF) == '?'; };
  const auto at = [](const std::u16string& s, int i) -> char16_t { return i < int(s.size()) ? s[i] : 0; };
  const auto findFrom = [](const std::u16string& s, const std::u16string& what, int start) -> int {
    if (start > int(s.size())) return -1;
    const size_t f = s.find(what, start);
    return f == std::u16string::npos ? -1 : int(f);
  };
  const auto endsWith = [](const std::u16string& s, const std::u16string& t) {
    return s.size() >= t.size() && s.compare(s.size() - t.size(), t.size(), t) == 0;
  };
  const int lenN = int(name.size());
  if (lenN == 0 || pattern.empty()) return 0;
  bool anyStar = false, anyQuestion = false;
  for (char16_t c : pattern) anyStar |= star(c), anyQuestion |= question(c);
  if (!anyStar && name.size() < pattern.size()) return 0;
  if (pattern == u"*") return 1;
  if (pattern == u"*.*") return name.find(u'.') != std::u16string::npos;
  if (!anyStar && !anyQuestion) return name.find(pattern) != std::u16string::npos;
  while (pattern.size() > 1 && star(pattern.back()) && star(pattern[pattern.size() - 2])) pattern.pop_back();
  const int lenP = int(pattern.size());
  int n = 0;
  std::u16string text;
  bool starSeen = false;
  for (int p = 0; p < lenP; ++p) {
    const char16_t c = pattern[p];
    const bool last = p == lenP - 1;
    if (star(c)) {
      text.clear();
      starSeen = true;
      if (last) return 1;
      const int r = p;
      while (star(at(pattern, p + 1)) || question(at(pattern, p + 1))) ++p;
      const char16_t d = at(pattern, p + 1);
      if (p == lenP - 1) return (name[lenN - 1] & 0xFF) == d;
      if (p > r) --p;
      ++n;
      if (n >= lenN && p != lenP - 1) {
        return p + 2 == lenP && star(pattern[p]) && findFrom(name, std::u16string(1, d), p + 1) >= 0;
      }
    } else if (question(c) && last) {
      text += c;
      std::u16string tail = int(text.size()) >= lenN ? name : name.substr(lenN - text.size());
      tail.back() = u'?';
      return tail == text;
    } else if (question(c)) {
      const int t = n + 1;
      if (t > lenP) return 0;
      if (p + 2 < lenP && t >= lenN) return 0;
      n = t;
    } else if (!starSeen) {
      if (p >= lenN || c != at(name, n)) return 0;
      ++n;
    } else if (c == at(name, n)) {
      if (p + 2 < lenP && n + 1 >= lenN) return 0;
      text += c;
      if (last) return endsWith(name, text);
      ++n;
    } else {
      text += c;
      if (last) return endsWith(name, text);
      const int f = findFrom(name, text, n - 1);
      if (f < 0 || f + int(text.size()) >= lenN) return 0;
      n = f + int(text.size());
    }
  }
  return 1;
}

TEST(MatchFileNamePattern, AgreesWithAPlainRewriteOnRandomNamesAndPatterns) {
  // Letters, the two wildcards and units that only look like them in their low byte.
  const char16_t alphabet[] = {u'A', u'B', u'C', u'.', u'*', u'?', u'A', u'B', u'*', u'?',
                               u'\u012A', u'\u013F', u'\u0100', u'\u00C9'};
  std::mt19937 random(20240611);
  const auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); };
  const auto randomText = [&](size_t maxLength) {
    std::u16string text(pick(maxLength + 1), u' ');
    for (char16_t& c : text) c = alphabet[pick(sizeof alphabet / sizeof alphabet[0])];
    return text;
  };
  int matches = 0;
  const int rounds = 200000;
  for (int i = 0; i < rounds; ++i) {
    const std::u16string pattern = randomText(7);
    std::u16string name = randomText(9);
    if (i % 2 == 0) {  // a name made from the pattern matches more often
      name = pattern;
      for (char16_t& c : name) {
        if ((c & 0xFF) == '*' || (c & 0xFF) == '?') c = alphabet[pick(4)];
      }
    }
    // Exactly sized copies without a terminator, so that a read past either end is caught.
    std::unique_ptr<char16_t[]> nameCopy(new char16_t[name.size()]);
    std::unique_ptr<char16_t[]> patternCopy(new char16_t[pattern.size()]);
    name.copy(nameCopy.get(), name.size());
    pattern.copy(patternCopy.get(), pattern.size());
    const int32_t got =
        MatchFileNamePattern({nameCopy.get(), name.size()}, {patternCopy.get(), pattern.size()});
    ASSERT_EQ(got, ReferenceMatch(name, pattern)) << os::ToUtf8(name) << " / " << os::ToUtf8(pattern);
    matches += got;
  }
  EXPECT_GT(matches, rounds / 10);
  EXPECT_LT(matches, rounds * 9 / 10);
}

}  // namespace
