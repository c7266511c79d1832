// The names one save takes in the chosen folder. A file this save wrote is never overwritten nor skipped
// for a later file of its name: the later one is saved as "Copy (n ) of" the name. The duplicate-name
// setting (rename, overwrite, skip) is about what the folder held before the save. Likewise two different
// folders that come to one name (a live and a deleted one, names equal once made safe, or names in other
// capitals where the system does not tell them apart) are made as two, the later as "Copy (n ) of" its
// name. What the save made is known by its identity on the volume (os::FileIdentity): the system's own
// rules decide which names are one name. The savers run on one thread: this state is that thread's.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/os/os.h"

namespace save {

// "Copy (" n " ) of " name, no longer than a name may be (the stem shortened, see NameWithPrefix).
std::u16string CopyName(uint64_t n, std::u16string_view name);

// Forgets the files and folders the save before made (BeginSave).
void ForgetWrittenFiles();

// A user's file is due at *target (named *name in destination), where something exists. False when it
// is to be skipped; else *target and *name say where to write. A file this save wrote, or a folder, keeps
// its name and the newcomer takes a "Copy (n ) of" name; except that a live file takes its name from a
// deleted file this save wrote, which moves to a "Copy (n ) of" name. What was there before the save is
// overwritten or kept (the file skipped) as the setting says, or the newcomer renamed.
bool ResolveDuplicate(const std::u16string& destination, uint32_t deleted, std::u16string* target,
                      std::u16string* name);

// A user's file this save wrote whole, by its identity; deleted: a deleted file's.
void RememberWritten(const os::FileIdentity& file, bool deleted);

// The folder for the folder record key (an id of the file system's folders) in parent: made once a save,
// its path (without a trailing separator) the same every time it is asked for. It takes its name, made
// safe; a folder of that name this save made for another record, or a file of it, sends it to the first
// free "Copy (n ) of" name; a folder of that name from before the save is used as it is. A folder that
// cannot be made is not reported: its files report one by one.
std::u16string MakeSaveFolder(const std::u16string& parent, uint32_t key, std::u16string_view name);

// A test's look at each file moved to make room for a live file of its name: to its new path.
using MovedFileObserver = void (*)(const std::u16string& from, const std::u16string& to);
void SetMovedFileObserver(MovedFileObserver observer);

}  // namespace save
