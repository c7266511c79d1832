#include "toolkit/common/window_pos_record.h"

namespace tk {
namespace {

void Put(uint8_t* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t Get(const uint8_t* at) {
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= static_cast<uint32_t>(at[i]) << (8 * i);
  return value;
}

int32_t GetSigned(const uint8_t* at) { return static_cast<int32_t>(Get(at)); }

}  // namespace

uint32_t NormalizedShowCommand(uint32_t showCmd) { return showCmd == kShowMaximized ? kShowMaximized : kShowNormal; }

std::array<uint8_t, kWindowPosBytes> EncodeWindowPos(const WindowPosRecord& r) {
  std::array<uint8_t, kWindowPosBytes> bytes{};
  const uint32_t words[] = {0,
                            r.length,
                            r.flags,
                            r.showCmd,
                            static_cast<uint32_t>(r.minX),
                            static_cast<uint32_t>(r.minY),
                            static_cast<uint32_t>(r.maxX),
                            static_cast<uint32_t>(r.maxY),
                            static_cast<uint32_t>(r.left),
                            static_cast<uint32_t>(r.top),
                            static_cast<uint32_t>(r.right),
                            static_cast<uint32_t>(r.bottom)};
  for (size_t i = 0; i < kWindowPosBytes / 4; ++i) Put(&bytes[4 * i], words[i]);
  return bytes;
}

std::optional<WindowPosRecord> DecodeWindowPos(const uint8_t* data, size_t size) {
  if (data == nullptr || size < kWindowPosBytes) return std::nullopt;
  WindowPosRecord r;
  r.length = Get(data + 4);
  r.flags = Get(data + 8);
  r.showCmd = Get(data + 12);
  r.minX = GetSigned(data + 16);
  r.minY = GetSigned(data + 20);
  r.maxX = GetSigned(data + 24);
  r.maxY = GetSigned(data + 28);
  r.left = GetSigned(data + 32);
  r.top = GetSigned(data + 36);
  r.right = GetSigned(data + 40);
  r.bottom = GetSigned(data + 44);
  return r;
}

}  // namespace tk
