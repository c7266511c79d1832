// The state of one save: where it goes, what stops it, and what it achieved. A save runs on the saving
// dialog's worker thread; the dialog's Stop and Skip File commands set the flags from the user-interface
// thread, and the savers test them between reads.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/fat/save_abort.h"

// The folder chosen by BrowseForSaveFolder; empty when the user cancelled. Set on the user-interface
// thread before the worker starts.
extern std::u16string SaveDestination;
// 1 ends the file being written (Skip File); each saver clears it when it starts a file.
extern std::atomic<uint32_t> SkipCurrentFileFlag;
// Files started in this save, as the dialog's "Total Files" shows them.
extern std::atomic<uint32_t> SavedFileCount;
// The time stamp of the file about to be saved, set by the caller of a saver: an NTFS record's creation
// time (a file time), or a FAT record's first date word in the low 16 bits.
extern uint64_t SaveFileTime;

// What the savers report at the end of a save: every file the user asked for counts in one of these,
// unless a filter, a policy, Skip File or Stop passed it over.
struct SaveTallyRecord {
  std::atomic<uint32_t> saved{0};       // written and closed, perhaps with unreadable parts as zeros
  std::atomic<uint32_t> unreadable{0};  // not read whole: parts written as zeros, or its data not found
  std::atomic<uint32_t> elsewhere{0};   // of those, not saved as their data is not in them
  std::atomic<uint32_t> links{0};       // links (symbolic links, junctions) not saved: they hold no data
  std::atomic<uint32_t> unwritten{0};   // could not be created, written or closed (the user was asked), or
                                        // a File Trace hit while no size to save it with was chosen
  // And those passed over, which the report names so that the user knows why nothing was saved:
  std::atomic<uint32_t> skipped{0};     // ended by Skip File (what was written of it removed)
  std::atomic<uint32_t> heldBack{0};    // held back by a file filter or a policy of the recovery settings
};
extern SaveTallyRecord SaveTally;

// The links the report names with their targets (the first kMostLinksNamed of them).
struct PassedLink {
  std::u16string name, target;
};
inline constexpr size_t kMostLinksNamed = 10;
void NotePassedLink(std::u16string name, std::u16string target);
std::vector<PassedLink> PassedLinks();

// Clears SaveAbortFlag, SkipCurrentFileFlag, SavedFileCount, SaveTally and the links noted before a save starts,
// and starts a new save generation.
void BeginSave();
// Raised by each BeginSave: what a saver learns of the source once for a whole save is kept for its generation.
uint64_t SaveGeneration();

// The report at the end of a save that was not stopped: " Files Saved successfully." (kind 1) when files
// were written and every file was read and written whole; "No file was saved." (kind 2) when no file was
// written, nor tried, with why (the files skipped with Skip File, those the filters and the settings held
// back); otherwise (kind 2) how many files were saved, how many could not be read whole and, when any, how
// many could not be written, and what was done with those not read whole. Links passed over (they hold no data)
// are counted after that, the first kMostLinksNamed each with where it points. Returns the kind.
uint32_t SaveResultMessage(std::u16string* text);
// What that report says was done with the files that could not be read whole.
inline constexpr char16_t kUnreadableFilesText[] =
    u"What could be read of them was saved: a file ends where its data could no longer be found, and a part that "
    u"could not be read is zeros. A file whose data could not be found at all was not saved.";
// And, when some of them hold their data elsewhere, why those were not saved.
inline constexpr char16_t kDataElsewhereText[] =
    u"A file that Windows compressed into a stream of its own, deduplicated, moved to other storage or keeps "
    u"online only was not saved: its data is not in the file.";
// The links passed over, before their names and targets.
inline constexpr char16_t kLinksText[] =
    u"Links not saved (a symbolic link or junction holds no data, only the place it points to): ";
// And after a File Trace, whose files end where their formats say.
inline constexpr char16_t kUnreadableTraceText[] =
    u"A found file whose end its format did not show, or that runs past the size chosen in File Types, was saved "
    u"at that size.";
// Shows that report through the message box.
void ReportSaveResult();
