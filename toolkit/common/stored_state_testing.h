// Test support for the toolkit's stored formats: a generator of values at and past their limits (the limits a
// test names, the far ends of an int and random ones), and a stored 32-bit value changed in place to make a
// state no saver writes.
#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>

namespace tktest {

class Generator {
 public:
  explicit Generator(uint32_t seed) : m_state(seed * 2654435761u + 1) {}
  uint32_t Next() {
    m_state ^= m_state << 13;
    m_state ^= m_state >> 17;
    m_state ^= m_state << 5;
    return m_state;
  }
  // One of the limits, INT32_MIN, INT32_MAX or a random int.
  int Value(std::initializer_list<int> limits) {
    const uint32_t at = Next() % (limits.size() + 3);
    if (at < limits.size()) return *(limits.begin() + at);
    return at == limits.size() ? INT32_MIN : at == limits.size() + 1 ? INT32_MAX : static_cast<int32_t>(Next());
  }

 private:
  uint32_t m_state;
};

// The bytes with every stored 32-bit value from changed to to; how many there were.
template <class Bytes>
int ChangeInt32(Bytes& bytes, int32_t from, int32_t to) {
  int found = 0;
  for (size_t i = 0; i + 4 <= bytes.size(); ++i) {
    if (std::memcmp(&bytes[i], &from, 4) != 0) continue;
    std::memcpy(&bytes[i], &to, 4);
    ++found;
  }
  return found;
}

}  // namespace tktest
