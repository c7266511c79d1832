// Photoshop images (".psd"): the composite image of the file as a bottom-up 24-bit bitmap's bits. The
// header, colour-mode data and resources are read in file order, the layers are skipped, and the image
// data (raw or PackBits) is interleaved and converted to RGB by the file's colour mode.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum PsdResult : int {
  kPsdOk = 0,                 // read without error; Bits() is empty when the image data was incomplete
  kPsdCannotOpen = -1,
  kPsdBadHeader = -2,
  kPsdBadDimensions = -3,     // channels, rows or columns outside what a Photoshop file can hold
  kPsdBadResources = -4,      // the resource blocks do not end at their section's length
  kPsdTooLarge = -5,          // decoding would need more memory than we allow a preview
  kPsdUnsupportedDepth = -9,  // only 8 and 16 bits per sample are drawn
  kPsdZip = -10,
  kPsdZipPredicted = -11,
  kPsdUnknownCompression = -12,
};

class PsdDecoder {
 public:
  static constexpr uint16_t kMaxChannels = 56;
  static constexpr uint32_t kMaxSide = 30000;
  // The most bytes the decoded planes, their interleaved copy and the bitmap may take together.
  static constexpr uint64_t kMemoryCap = 384ull << 20;

  int Load(const std::u16string& path);
  int Load(const uint8_t* data, size_t size);
  void Cleanup();

  // The bitmap's bits: rows bottom-up, blue-green-red, each row padded to 4 bytes; empty when none.
  const std::vector<uint8_t>& Bits() const { return m_bits; }
  bool HasBitmap() const { return !m_bits.empty(); }
  int32_t Rows() const { return m_rows; }
  int32_t Columns() const { return m_columns; }
  int16_t Channels() const { return m_channels; }
  int16_t Depth() const { return m_depth; }
  int16_t Mode() const { return m_mode; }
  int32_t PixelsPerMetreX() const { return m_ppmX; }
  int32_t PixelsPerMetreY() const { return m_ppmY; }
  size_t RowStride() const { return (static_cast<size_t>(m_columns) * 3 + 3) & ~size_t{3}; }

 private:
  class Reader;
  int Decode(const uint8_t* data, size_t size);
  int ReadHeader(Reader& in);
  void ReadColourData(Reader& in);
  bool ReadResources(Reader& in);
  void UseResource(uint16_t id, const uint8_t* data, uint32_t size);
  int ReadImageData(Reader& in);
  bool ReadPlanes(Reader& in, bool packBits, std::vector<uint8_t>& planes) const;
  void Convert(const std::vector<uint8_t>& pixels);

  int16_t m_channels = -1;
  int32_t m_rows = -1;
  int32_t m_columns = -1;
  int16_t m_depth = -1;
  int16_t m_mode = -1;
  std::vector<uint8_t> m_colourData;
  int32_t m_indexCount = -1;  // resource 1046; -1 when absent
  int32_t m_ppmX = 3780;
  int32_t m_ppmY = 3780;
  std::vector<uint8_t> m_bits;
};

// Whether a load that gave no picture met a sound file of a kind this decoder does not draw (ZIP-compressed
// data, 1- or 32-bit samples, a picture larger than a preview may take) rather than a damaged one. depth:
// the header's, as read by that load.
bool PsdIsUnsupportedVariant(int result, int depth);

// The colour conversions, exposed for tests. Inputs in 0..1 (c, m, y, k) or L*a*b* units.
void PsdCmykToRgb(double c, double m, double y, double k, uint8_t rgb[3]);
void PsdLabToRgb(int l, int a, int b, uint8_t rgb[3]);
