#include "engine/scan/hex_byte_pairs.h"

std::string SwapHexBytePairs(std::string_view hex) {
  if (hex.size() < 4) return std::string();
  return std::string{hex[2], hex[3], hex[0], hex[1]};
}
