#include "toolkit/commandbars/state/key_names.h"

#include <algorithm>
#include <iterator>

namespace tkpkeys {
namespace {

struct KeyName {
  unsigned key;
  const char16_t* name;
};

// The keys that are not digits, letters, function keys or the number pad's digits.
constexpr KeyName kNamedKeys[] = {
    {0x01, u"Left Button"}, {0x02, u"Right Button"}, {0x03, u"Ctrl+Break"}, {0x04, u"Middle Button"},
    {0x08, u"Backspace"},   {0x09, u"Tab"},          {0x0C, u"Clear"},      {0x0D, u"Enter"},
    {0x10, u"Shift"},       {0x11, u"Ctrl"},         {0x12, u"Alt"},        {0x13, u"Pause"},
    {0x14, u"Caps Lock"},   {0x1B, u"Esc"},          {0x20, u"Space"},      {0x21, u"Page Up"},
    {0x22, u"Page Down"},   {0x23, u"End"},          {0x24, u"Home"},       {0x25, u"Left Arrow"},
    {0x26, u"Up Arrow"},    {0x27, u"Right Arrow"},  {0x28, u"Down Arrow"}, {0x29, u"Select"},
    {0x2A, u"Print"},       {0x2B, u"Execute"},      {0x2C, u"Snapshot"},   {0x2D, u"Ins"},
    {0x2E, u"Del"},         {0x2F, u"Help"},         {0x5B, u"Left Windows"}, {0x5C, u"Right Windows"},
    {0x5D, u"Application"}, {0x6A, u"Num *"},        {0x6B, u"Num +"},      {0x6C, u"Separator"},
    {0x6D, u"Num -"},       {0x6E, u"Num ."},        {0x6F, u"Num /"},      {0x90, u"Num Lock"},
    {0x91, u"Scrl Lock"},   {0xF6, u"Attn"},         {0xF7, u"Crsel"},      {0xF8, u"Exsel"},
    {0xF9, u"Ereof"},       {0xFA, u"Play"},         {0xFB, u"Zoom"},       {0xFC, u"No Name"},
    {0xFD, u"Pa1"},         {0xFE, u"Oem Clear"}};

constexpr unsigned kFirstFunctionKey = 0x70, kFunctionKeys = 12;
constexpr unsigned kFirstNumPad = 0x60, kNumPadKeys = 10;
constexpr unsigned kEscape = 0x1B, kTab = 0x09, kCtrlBreak = 0x03;
constexpr unsigned kShiftKey = 0x10, kCtrlKey = 0x11, kAltKey = 0x12;
constexpr unsigned kLastVirtualKey = 0xFE;

std::u16string Number(unsigned n) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + n % 10));
    n /= 10;
  } while (n != 0);
  return digits;
}

bool IsUpper(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7); }
bool IsLower(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7); }

}  // namespace

std::u16string BuiltInKeyName(unsigned vk) {
  if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return std::u16string(1, static_cast<char16_t>(vk));
  if (vk >= kFirstFunctionKey && vk < kFirstFunctionKey + kFunctionKeys) return u"F" + Number(vk - kFirstFunctionKey + 1);
  if (vk >= kFirstNumPad && vk < kFirstNumPad + kNumPadKeys) return u"Num " + Number(vk - kFirstNumPad);
  for (const KeyName& k : kNamedKeys) {
    if (k.key == vk) return k.name;
  }
  return {};
}

size_t BuiltInKeyCount() { return 10 + 26 + kFunctionKeys + kNumPadKeys + std::size(kNamedKeys); }

std::u16string CapitaliseSystemName(std::u16string name) {
  for (char16_t& c : name) {
    if (IsUpper(c)) c = static_cast<char16_t>(c + 0x20);
  }
  for (char16_t& c : name) {
    if (IsLower(c)) {
      c = static_cast<char16_t>(c - 0x20);
      break;
    }
  }
  return name;
}

std::u16string FormatShortcut(const Accel& accel, const KeyNameFn& names, int* priority) {
  std::u16string text;
  if (accel.key != kCtrlBreak) {
    // A modifier the keyboard cannot name adds nothing, not a lone "+".
    const auto modifier = [&](uint8_t flag, unsigned key) {
      if ((accel.flags & flag) == 0) return;
      const std::u16string name = names(key);
      if (!name.empty()) text += name + u"+";
    };
    modifier(kControl, kCtrlKey);
    modifier(kShift, kShiftKey);
    modifier(kAlt, kAltKey);
  }
  if (accel.key == 0) {
    if (!text.empty()) text.pop_back();
  } else if ((accel.flags & kVirtKey) != 0) {
    text += names(accel.key);
  } else if (accel.key != kEscape && accel.key != kTab) {
    text += static_cast<char16_t>(accel.key);
  }
  if (priority != nullptr) {
    *priority = (accel.flags & kControl) != 0 ? 3 : (accel.flags & kAlt) != 0 ? 2 : (accel.flags & kShift) != 0 ? 1 : 4;
  }
  return text;
}

bool IsAccelAllowed(const Accel& accel, bool allowEscape) {
  const bool plainEscape = (accel.flags & (kVirtKey | kShift | kControl | kAlt)) == kVirtKey && accel.key == kEscape;
  return allowEscape || !plainEscape;
}

bool PreferredShortcut(const std::vector<Accel>& table, unsigned command, const KeyNameFn& names,
                       std::u16string& text) {
  bool found = false, current = false;
  int best = 0;
  std::u16string preferred;
  for (const Accel& accel : table) {
    if (accel.command != command) continue;
    int priority = 0;
    const std::u16string formatted = FormatShortcut(accel, names, &priority);
    if (!found || priority > best) {
      best = priority;
      preferred = formatted;
    }
    found = true;
    current = current || formatted == text;
  }
  if (!found) {
    text.clear();
    return false;
  }
  if (!current) text = preferred;
  return true;
}

namespace {

constexpr uint8_t kKnownFlags = kVirtKey | kNoInvert | kShift | kControl | kAlt;

// A record a keystroke can give: a key and a command, a virtual key within the key range.
bool IsStorable(const Accel& accel) {
  const bool keyInRange = (accel.flags & kVirtKey) == 0 || accel.key <= kLastVirtualKey;
  return accel.key != 0 && keyInRange && accel.command != 0;
}

}  // namespace

bool ParseAccelTable(const uint8_t* data, size_t size, std::vector<Accel>& out) {
  if (data == nullptr || size == 0 || size % kRecordBytes != 0 || size / kRecordBytes > kMostRecords) return false;
  std::vector<Accel> table;
  table.reserve(size / kRecordBytes);
  for (size_t at = 0; at < size; at += kRecordBytes) {
    Accel accel;
    accel.flags = data[at];
    accel.key = static_cast<uint16_t>(data[at + 2] | data[at + 3] << 8);
    accel.command = static_cast<uint16_t>(data[at + 4] | data[at + 5] << 8);
    if ((accel.flags & ~kKnownFlags) != 0 || !IsStorable(accel)) return false;
    table.push_back(accel);
  }
  out = std::move(table);
  return true;
}

std::vector<uint8_t> SerialiseAccelTable(const std::vector<Accel>& table) {
  std::vector<uint8_t> bytes;
  bytes.reserve(std::min(table.size(), kMostRecords) * kRecordBytes);
  for (const Accel& a : table) {
    if (!IsStorable(a)) continue;
    if (bytes.size() == kMostRecords * kRecordBytes) break;
    const uint8_t record[kRecordBytes] = {static_cast<uint8_t>(a.flags & kKnownFlags), 0,
                                          static_cast<uint8_t>(a.key), static_cast<uint8_t>(a.key >> 8),
                                          static_cast<uint8_t>(a.command), static_cast<uint8_t>(a.command >> 8)};
    bytes.insert(bytes.end(), std::begin(record), std::end(record));
  }
  return bytes;
}

}  // namespace tkpkeys
