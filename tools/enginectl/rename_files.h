// Page 4's Rename (F2) given to every file of the current results, for the driver's --rename-files.
#pragma once

// Renames every file of the results (FAT, or NTFS of a Quick Scan or of a found file system) to prefix + its
// name, through the results list's own rename.
void RenameEveryFile(const char* prefix);
