// Where the noise of the generated patterns comes from: values 0 to 32767. Injectable so that tests are
// deterministic.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace draw {

class RandomSource {
 public:
  static constexpr int kMax = 32767;
  virtual ~RandomSource() = default;
  // 0 to kMax.
  virtual int Next() = 0;
};

// A linear congruential generator (multiplier 214013, increment 2531011, bits 16 to 30).
class LcgRandom : public RandomSource {
 public:
  explicit LcgRandom(uint32_t seed = 1) : state_(seed) {}
  void Seed(uint32_t seed) { state_ = seed; }
  int Next() override;

 private:
  uint32_t state_;
};

// Returns the given values in turn, over and over (0 when none); values are clamped to 0..kMax.
class ScriptedRandom : public RandomSource {
 public:
  explicit ScriptedRandom(std::vector<int> values) : values_(std::move(values)) {}
  int Next() override;

 private:
  std::vector<int> values_;
  size_t next_ = 0;
};

// The process-wide source that DrawManager uses unless it is given one (an LcgRandom of seed 1); for the
// user-interface thread only.
RandomSource& DefaultRandom();

}  // namespace draw
