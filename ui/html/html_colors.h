// The colour names of marked-up text: the named colours and the system colour names, whose values come
// from the platform through HtmlSystemColours (the Windows build reads GetSysColor, tests fix them).
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace html {

class HtmlSystemColours {
 public:
  virtual ~HtmlSystemColours() = default;
  // The platform's system colour of the index (0 to 30).
  virtual uint32_t SystemColour(int index) const = 0;
};

// System colours from a table: what tests and the fuzz target use.
class FixedSystemColours : public HtmlSystemColours {
 public:
  static constexpr int kCount = 31;
  uint32_t SystemColour(int index) const override;
  std::array<uint32_t, kCount> colours{};
};

// The system colour index of the button shadow: the drawer's default disabled colour.
constexpr int kSysColourButtonShadow = 16;

// The value (0x00BBGGRR) of one of the named colours alone (no system colour names), ignoring the case of
// A to Z; false for any other name. The page viewer's colour table takes its values from here.
bool FindNamedColour(std::u16string_view name, uint32_t& colour);

class HtmlColourTable {
 public:
  // Reads the system colours once, now.
  explicit HtmlColourTable(const HtmlSystemColours& system);
  // Looks the name up, ignoring the case of A to Z; false when it is not there.
  bool Find(std::u16string_view name, uint32_t& colour) const;
  size_t Size() const { return colours_.size(); }

 private:
  std::map<std::u16string, uint32_t, std::less<>> colours_;
};

}  // namespace html
