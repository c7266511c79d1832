// Keyboard shortcuts as people read them: the built-in names of the virtual keys, the text of one
// accelerator record ("Ctrl+Shift+F5"), which of a command's shortcuts a menu shows, and the checked
// reading of a table kept in the profile (6-byte records: flags, padding, key, command).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tkpkeys {

// Accelerator flags.
constexpr uint8_t kVirtKey = 0x01;
constexpr uint8_t kNoInvert = 0x02;
constexpr uint8_t kShift = 0x04;
constexpr uint8_t kControl = 0x08;
constexpr uint8_t kAlt = 0x10;
constexpr size_t kRecordBytes = 6;
// The most records a table holds: the most the system makes a table of. The saver writes no more, so a
// stored table larger than this is not one of ours.
constexpr size_t kMostRecords = 32767;

struct Accel {
  uint8_t flags = 0;
  uint16_t key = 0;
  uint16_t command = 0;
};

// The built-in name of a virtual key; empty for a key the table does not know.
std::u16string BuiltInKeyName(unsigned virtualKey);
// How many keys the built-in table names.
size_t BuiltInKeyCount();

// A name the keyboard driver gave ("CTRL", "num lock"): lower case with its first letter upper case.
std::u16string CapitaliseSystemName(std::u16string name);

using KeyNameFn = std::function<std::u16string(unsigned virtualKey)>;

// The shortcut text of one record; *priority (when given) ranks it for menus: no modifier 4, Ctrl 3,
// Alt 2, Shift 1 (a larger number is preferred).
std::u16string FormatShortcut(const Accel& accel, const KeyNameFn& names, int* priority);

// A plain Escape is refused unless Escape may be assigned.
bool IsAccelAllowed(const Accel& accel, bool allowEscape);

// The text a menu shows for a command from all records of the table: the best-ranked one (the first on
// a tie), or current when it is one of the command's texts. False (text emptied) when no record is for
// the command.
bool PreferredShortcut(const std::vector<Accel>& table, unsigned command, const KeyNameFn& names,
                       std::u16string& text);

// A stored table: whole records, 1 to kMostRecords of them, known flag bits, a key and a command in
// each, a virtual key within the key range. False (out untouched) for anything else.
bool ParseAccelTable(const uint8_t* data, size_t size, std::vector<Accel>& out);
// The table as it is stored, so that ParseAccelTable takes it back: flag bits the system does not know
// are dropped, and so are records without a key or a command or with a virtual key beyond the key range
// (no keystroke gives them); no more than kMostRecords.
std::vector<uint8_t> SerialiseAccelTable(const std::vector<Accel>& table);

}  // namespace tkpkeys
