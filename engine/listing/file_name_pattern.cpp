#include "engine/listing/file_name_pattern.h"

#include <algorithm>
#include <string>

#include "engine/records/record_list.h"

namespace {

using View = std::u16string_view;

bool IsStar(char16_t c) { return (c & 0xFF) == 0x2A; }
bool IsQuestion(char16_t c) { return (c & 0xFF) == 0x3F; }
bool IsWildcard(char16_t c) { return IsStar(c) || IsQuestion(c); }

// The unit at i, or the terminating zero at and past the end.
char16_t At(View text, size_t i) { return i < text.size() ? text[i] : 0; }

bool EndsWith(View text, View tail) {
  return tail.size() <= text.size() && text.substr(text.size() - tail.size()) == tail;
}

enum class Step { kGoOn, kMatch, kNoMatch };
Step Verdict(bool match) { return match ? Step::kMatch : Step::kNoMatch; }

// The scan over the pattern: p walks the pattern, n the name; text collects the plain characters met
// since the last star.
class PatternScan {
 public:
  PatternScan(View name, View pattern) : name_(name), pattern_(pattern) {}

  int32_t Run() {
    for (p_ = 0; p_ < pattern_.size(); ++p_) {
      const char16_t c = pattern_[p_];
      const Step step = IsStar(c) ? Star() : IsQuestion(c) ? Question() : Plain(c);
      if (step != Step::kGoOn) return step == Step::kMatch ? 1 : 0;
    }
    return 1;
  }

 private:
  bool AtLast() const { return p_ + 1 == pattern_.size(); }

  Step Star() {
    text_.clear();
    starSeen_ = true;
    if (AtLast()) return Step::kMatch;
    const size_t run = p_;
    while (p_ + 1 < pattern_.size() && IsWildcard(pattern_[p_ + 1])) ++p_;
    const char16_t after = At(pattern_, p_ + 1);
    // A run of wildcards that ends the pattern after a star: only the zero after it can match.
    if (AtLast()) return Verdict((name_.back() & 0xFF) == after);
    if (p_ > run) --p_;
    ++n_;  // the star takes at least one character
    if (n_ >= name_.size() && !AtLast()) {
      return Verdict(p_ + 2 == pattern_.size() && IsStar(pattern_[p_]) &&
                     name_.find(after, p_ + 1) != View::npos);
    }
    return Step::kGoOn;
  }

  Step Question() {
    if (AtLast()) {
      text_.push_back(pattern_[p_]);
      // The last len(text) characters of the name, the last of them read as '?'.
      const size_t k = text_.size();
      if (k > name_.size()) return Step::kNoMatch;
      return Verdict(text_.back() == u'?' && name_.substr(name_.size() - k, k - 1) == View(text_).substr(0, k - 1));
    }
    const size_t next = n_ + 1;
    if (next > pattern_.size()) return Step::kNoMatch;
    if (p_ + 2 < pattern_.size() && next >= name_.size()) return Step::kNoMatch;
    n_ = next;
    return Step::kGoOn;
  }

  Step Plain(char16_t c) {
    if (!starSeen_) {
      if (p_ >= name_.size() || c != At(name_, n_)) return Step::kNoMatch;
      ++n_;
      return Step::kGoOn;
    }
    if (c == At(name_, n_)) {
      if (p_ + 2 < pattern_.size() && n_ + 1 >= name_.size()) return Step::kNoMatch;
      text_.push_back(c);
      if (AtLast()) return Verdict(EndsWith(name_, text_));
      ++n_;
      return Step::kGoOn;
    }
    text_.push_back(c);
    if (AtLast()) return Verdict(EndsWith(name_, text_));
    // Look for the collected text again from one character back.
    const size_t found = name_.find(text_, n_ > 0 ? n_ - 1 : 0);
    if (found == View::npos || found + text_.size() >= name_.size()) return Step::kNoMatch;
    n_ = found + text_.size();
    return Step::kGoOn;
  }

  const View name_;
  const View pattern_;
  size_t p_ = 0;
  size_t n_ = 0;
  std::u16string text_;
  bool starSeen_ = false;
};

}  // namespace

int32_t MatchFileNamePattern(std::u16string_view name, std::u16string_view pattern) {
  if (name.empty() || pattern.empty()) return 0;
  const bool hasStar = std::any_of(pattern.begin(), pattern.end(), IsStar);
  const bool hasQuestion = std::any_of(pattern.begin(), pattern.end(), IsQuestion);
  if (!hasStar && name.size() < pattern.size()) return 0;
  if (pattern == u"*") return 1;
  if (pattern == u"*.*") return name.find(u'.') != View::npos ? 1 : 0;
  if (!hasStar && !hasQuestion) return name.find(pattern) != View::npos ? 1 : 0;
  // A run of stars at the end counts as one.
  while (pattern.size() >= 2 && IsStar(pattern.back()) && IsStar(pattern[pattern.size() - 2])) {
    pattern.remove_suffix(1);
  }
  return records::GuardAllocation([&] { return PatternScan(name, pattern).Run(); });
}
