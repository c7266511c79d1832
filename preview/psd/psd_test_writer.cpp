#include "preview/psd/psd_test_writer.h"

namespace {

// PackBits: runs of three or more equal bytes repeat, everything else goes out as literals.
std::string PackBits(const std::string& row) {
  std::string out;
  size_t i = 0;
  while (i < row.size()) {
    size_t run = 1;
    while (i + run < row.size() && run < 128 && row[i + run] == row[i]) ++run;
    if (run >= 3) {
      out += static_cast<char>(257 - run);
      out += row[i];
      i += run;
      continue;
    }
    size_t literal = 0;
    while (i + literal < row.size() && literal < 128) {
      const size_t at = i + literal;
      if (at + 2 < row.size() && row[at] == row[at + 1] && row[at] == row[at + 2]) break;
      ++literal;
    }
    out += static_cast<char>(literal - 1);
    out += row.substr(i, literal);
    i += literal;
  }
  return out;
}

}  // namespace

std::string PsdBigEndian(uint64_t value, int bytes) {
  std::string out;
  for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  return out;
}

std::string PsdResource(uint16_t id, const std::string& data) {
  std::string block = "8BIM" + PsdBigEndian(id, 2) + std::string(2, '\0') + PsdBigEndian(data.size(), 4) + data;
  if (data.size() % 2 != 0) block += '\0';
  return block;
}

std::string WritePsd(const PsdTestImage& image) {
  std::string out = "8BPS" + PsdBigEndian(1, 2) + std::string(6, '\0');
  out += PsdBigEndian(image.channels.size(), 2) + PsdBigEndian(image.rows, 4) + PsdBigEndian(image.columns, 4);
  out += PsdBigEndian(image.depth, 2) + PsdBigEndian(image.mode, 2);
  out += PsdBigEndian(image.colourData.size(), 4) + image.colourData;
  out += PsdBigEndian(image.resources.size(), 4) + image.resources;
  out += PsdBigEndian(0, 4);  // no layers
  out += PsdBigEndian(image.packBits ? 1 : 0, 2);
  const int bps = image.depth / 8;
  std::string counts, data;
  for (const auto& channel : image.channels) {
    for (uint32_t y = 0; y < image.rows; ++y) {
      std::string row;
      for (uint32_t x = 0; x < image.columns; ++x) row += PsdBigEndian(channel.at(y * image.columns + x), bps);
      if (image.packBits) row = PackBits(row);
      counts += PsdBigEndian(row.size(), 2);
      data += row;
    }
  }
  return out + (image.packBits ? counts : std::string()) + data;
}
