#include "ui/draw/random_source.h"

#include <algorithm>

namespace draw {

int LcgRandom::Next() {
  state_ = state_ * 214013u + 2531011u;
  return static_cast<int>((state_ >> 16) & 0x7FFF);
}

int ScriptedRandom::Next() {
  if (values_.empty()) return 0;
  int value = values_[next_];
  next_ = (next_ + 1) % values_.size();
  return std::clamp(value, 0, kMax);
}

RandomSource& DefaultRandom() {
  // A fixed seed: the same area gets the same noise on every run.
  static LcgRandom random(1);
  return random;
}

}  // namespace draw
