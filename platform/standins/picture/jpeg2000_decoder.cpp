// JPEG 2000 through OpenJPEG: the file is handed to the library from memory, refused when it is not whole
// (strict mode: a codestream cut short is an error, not a partly grey picture), and its components are laid
// out as 32-bit pixels.
#include <openjpeg.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/standins/picture/raster_decoders.h"

namespace picture {
namespace {

// OpenJPEG holds every component as 32-bit samples while it decodes: at most 256 MB of them.
constexpr uint64_t kMaxSamples = uint64_t{1} << 26;

struct MemoryStream {
  const uint8_t* data;
  size_t size;
  size_t pos = 0;
};

OPJ_SIZE_T ReadBytes(void* buffer, OPJ_SIZE_T count, void* user) {
  auto* in = static_cast<MemoryStream*>(user);
  if (in->pos >= in->size) return static_cast<OPJ_SIZE_T>(-1);
  const size_t take = std::min<size_t>(count, in->size - in->pos);
  std::memcpy(buffer, in->data + in->pos, take);
  in->pos += take;
  return take;
}

OPJ_OFF_T SkipBytes(OPJ_OFF_T count, void* user) {
  auto* in = static_cast<MemoryStream*>(user);
  if (count < 0 ? static_cast<uint64_t>(-count) > in->pos : static_cast<uint64_t>(count) > in->size - in->pos)
    return -1;
  in->pos = static_cast<size_t>(static_cast<int64_t>(in->pos) + count);
  return count;
}

OPJ_BOOL SeekTo(OPJ_OFF_T pos, void* user) {
  auto* in = static_cast<MemoryStream*>(user);
  if (pos < 0 || static_cast<uint64_t>(pos) > in->size) return OPJ_FALSE;
  in->pos = static_cast<size_t>(pos);
  return OPJ_TRUE;
}

void Quiet(const char*, void*) {}

struct CodecDeleter {
  void operator()(opj_codec_t* codec) const { opj_destroy_codec(codec); }
};
struct StreamDeleter {
  void operator()(opj_stream_t* stream) const { opj_stream_destroy(stream); }
};
struct ImageDeleter {
  void operator()(opj_image_t* image) const { opj_image_destroy(image); }
};

bool StartsWith(const uint8_t* data, size_t size, const char* magic, size_t length) {
  return size >= length && std::memcmp(data, magic, length) == 0;
}

// One component read at the picture's pixels: its samples made unsigned, subsampled ones repeated.
class Component {
 public:
  Component(const opj_image_t& image, const opj_image_comp_t& comp)
      : comp_(&comp),
        offset_(comp.sgnd != 0 ? int64_t{1} << (comp.prec - 1) : 0),
        max_((int64_t{1} << comp.prec) - 1),
        originX_(image.x0),
        originY_(image.y0) {}
  // The raw sample at the picture's pixel (x, y), in 0..Max().
  int64_t At(uint32_t x, uint32_t y) const {
    const uint32_t cx = Index(originX_ + x, comp_->dx, comp_->x0, comp_->w);
    const uint32_t cy = Index(originY_ + y, comp_->dy, comp_->y0, comp_->h);
    return std::clamp<int64_t>(comp_->data[size_t{cy} * comp_->w + cx] + offset_, 0, max_);
  }
  int64_t Max() const { return max_; }
  // A sample in 0..Max() scaled to 0..255 (down, as other readers do: 16-bit 65535 / 257 = 255).
  uint32_t Byte(int64_t v) const { return static_cast<uint32_t>(v * 255 / max_); }
  uint32_t ByteAt(uint32_t x, uint32_t y) const { return Byte(At(x, y)); }

 private:
  // The sample covering grid position p: a component's grid starts at the first multiple of its step.
  static uint32_t Index(uint32_t p, uint32_t step, uint32_t origin, uint32_t size) {
    const uint32_t s = p / step;
    return std::min(s > origin ? s - origin : 0, size - 1);
  }
  const opj_image_comp_t* comp_;
  int64_t offset_, max_;
  uint32_t originX_, originY_;
};

bool ComponentsUsable(const opj_image_t& image, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i) {
    const opj_image_comp_t& c = image.comps[i];
    if (c.data == nullptr || c.w == 0 || c.h == 0 || c.dx == 0 || c.dy == 0 || c.prec < 1 || c.prec > 31)
      return false;
  }
  return true;
}

// YCbCr (sYCC) to RGB, each sample in 0..max with the chroma centred on half of it.
void YccToRgb(const Component& y, const Component& cb, const Component& cr, uint32_t px, uint32_t py, uint32_t rgb[3]) {
  const double luma = static_cast<double>(y.At(px, py));
  const double blue = static_cast<double>(cb.At(px, py) - (cb.Max() + 1) / 2);
  const double red = static_cast<double>(cr.At(px, py) - (cr.Max() + 1) / 2);
  const double values[3] = {luma + 1.402 * red, luma - 0.344136 * blue - 0.714136 * red, luma + 1.772 * blue};
  for (int i = 0; i < 3; ++i) {
    const int64_t v = std::clamp<int64_t>(std::llround(values[i]), 0, y.Max());
    rgb[i] = y.Byte(v);
  }
}

DecodeError Convert(const opj_image_t& image, RasterPicture& out) {
  const uint32_t count = image.numcomps;
  if (count == 0 || count > 4 || !ComponentsUsable(image, count) || image.color_space == OPJ_CLRSPC_CMYK ||
      image.color_space == OPJ_CLRSPC_EYCC)
    return "This kind of JPEG 2000 picture is not read.";
  if (DecodeError why = AllocatePicture(image.x1 - image.x0, image.y1 - image.y0, out)) return why;
  std::vector<Component> comps;
  for (uint32_t i = 0; i < count; ++i) comps.emplace_back(image, image.comps[i]);
  const bool colour = count >= 3, ycc = colour && image.color_space == OPJ_CLRSPC_SYCC;
  // Grey and alpha, colour and alpha: the component after the colour ones is the picture's opacity.
  const bool hasAlpha = count == 2 || count == 4;
  for (uint32_t y = 0; y < out.height; ++y) {
    for (uint32_t x = 0; x < out.width; ++x) {
      uint32_t rgb[3];
      if (ycc) {
        YccToRgb(comps[0], comps[1], comps[2], x, y, rgb);
      } else {
        for (uint32_t i = 0; i < 3; ++i) rgb[i] = comps[colour ? i : 0].ByteAt(x, y);
      }
      const uint32_t alpha = hasAlpha ? comps[count - 1].ByteAt(x, y) : 255;
      out.pixels[size_t{y} * out.width + x] = OverWhite(rgb[0], rgb[1], rgb[2], alpha);
    }
  }
  return nullptr;
}

}  // namespace

DecodeError DecodeJpeg2000(const uint8_t* data, size_t size, RasterPicture& out) {
  OPJ_CODEC_FORMAT format;
  if (StartsWith(data, size, "\0\0\0\x0CjP  \r\n\x87\n", 12)) {
    format = OPJ_CODEC_JP2;
  } else if (StartsWith(data, size, "\xFF\x4F\xFF\x51", 4)) {
    format = OPJ_CODEC_J2K;
  } else {
    return "This is not a JPEG 2000 picture.";
  }
  MemoryStream memory{data, size};
  std::unique_ptr<opj_stream_t, StreamDeleter> stream(opj_stream_create(OPJ_J2K_STREAM_CHUNK_SIZE, OPJ_TRUE));
  std::unique_ptr<opj_codec_t, CodecDeleter> codec(opj_create_decompress(format));
  if (!stream || !codec) return "There is not enough memory for the picture.";
  opj_stream_set_user_data(stream.get(), &memory, nullptr);
  opj_stream_set_user_data_length(stream.get(), size);
  opj_stream_set_read_function(stream.get(), ReadBytes);
  opj_stream_set_skip_function(stream.get(), SkipBytes);
  opj_stream_set_seek_function(stream.get(), SeekTo);
  opj_set_error_handler(codec.get(), Quiet, nullptr);
  opj_set_warning_handler(codec.get(), Quiet, nullptr);
  opj_set_info_handler(codec.get(), Quiet, nullptr);

  opj_dparameters_t parameters;
  opj_set_default_decoder_parameters(&parameters);
  if (!opj_setup_decoder(codec.get(), &parameters) || !opj_decoder_set_strict_mode(codec.get(), OPJ_TRUE))
    return "The JPEG 2000 picture could not be read.";
  opj_image_t* header = nullptr;
  if (!opj_read_header(stream.get(), codec.get(), &header)) {
    opj_image_destroy(header);
    return "The JPEG 2000 header is not valid.";
  }
  std::unique_ptr<opj_image_t, ImageDeleter> image(header);
  const uint64_t width = image->x1 > image->x0 ? image->x1 - image->x0 : 0;
  const uint64_t height = image->y1 > image->y0 ? image->y1 - image->y0 : 0;
  if (width == 0 || height == 0) return "The picture has no pixels.";
  if (image->numcomps > 4) return "This kind of JPEG 2000 picture is not read.";
  if (width > kMaxSide || height > kMaxSide || width * height > kMaxPixels ||
      width * height * image->numcomps > kMaxSamples)
    return "The picture is too large.";
  if (!opj_decode(codec.get(), stream.get(), image.get()) || !opj_end_decompress(codec.get(), stream.get()))
    return "The JPEG 2000 picture is damaged or cut short.";
  return Convert(*image, out);
}

}  // namespace picture
