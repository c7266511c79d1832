// The first look at a snapshot file the user names (on the command line or in the load dialog): which
// recovery mode its first UTF-16 character stands for. The file is only ever opened for reading.
#pragma once

#include <cstdint>
#include <string>

#include "app/wizard_stages.h"

namespace app {

enum class SnapshotProbe {
  kMissing,  // the file cannot be opened for reading
  kInvalid,  // its first character is no mode letter (or it is shorter than one character)
  kValid,    // *mode holds the mode: "D" Quick Scan (2), "A" Extensive Scan (0), "R" File Trace (1)
};

// The file dialogs' filter (description and pattern) and default extension of snapshot files: saving and
// loading offer the same files, and a name typed without its extension takes this one.
inline constexpr char16_t kSnapshotFilter[] = u"*.vsnp|*.vsnp||";
inline constexpr char16_t kSnapshotExtension[] = u"vsnp";

// The mode of a snapshot's first character; false for any other letter.
bool SnapshotModeOfLetter(char16_t letter, uint32_t* mode);
SnapshotProbe ProbeSnapshotFile(const std::u16string& path, uint32_t* mode);

// The file a name chosen in the load dialog stands for: its name lower-cased, ".vsnp" appended when the
// name does not already end so.
std::u16string SnapshotLoadPath(const std::u16string& chosen);
// The file a command line names: lower-cased, without double quotes.
std::u16string CommandLineSnapshotPath(const std::u16string& commandLine);

// Loads the snapshot at path with the loader of the mode its first character gave (LoadSnapshotFlat for
// File Trace, LoadSnapshotTree otherwise), RecoveryMode being that mode while the loader runs. *stage is the
// stage of the results shown then, read from the mode the loader leaves, not from the letter: an Extensive
// Scan snapshot of NTFS comes back as a Quick Scan's results. false when the loader refused the file:
// RecoveryMode is back as it was, and *stage untouched.
bool LoadSnapshotInMode(const std::u16string& path, uint32_t mode, Stage* stage);

}  // namespace app
