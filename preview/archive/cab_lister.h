// Lists the members of a cabinet through the cabinet library's decompression interface (FDI), loaded
// by name for each listing. Nothing is extracted: the notification callback records each member and
// has FDI skip it.
#pragma once

#include <string>
#include <vector>

#include "preview/archive/archive_rows.h"

struct HINSTANCE__;

// FDI's operation code for a library that is missing or lacks an entry point.
constexpr int kCabMissingEntryPoint = 1000;

// The record of one listing: the library, the FDI context and FDI's error record.
struct CabLister {
  HINSTANCE__* module = nullptr;
  void* context = nullptr;
  int errorOperation = 0;
  int errorType = 0;
  int errorFlag = 0;
  // The library gave up on the cabinet part-way: the members are those its own table still names.
  bool damaged = false;
  uint32_t claimed = 0;  // then, the members its header counts
};

// The cabinet's members from the last to the first.
// False when the library or an entry point is missing (operation code 1000), no context could be made,
// or the file is not a cabinet whose table names any member.
bool ListCabinet(const std::u16string& path, std::vector<archive::CabEntry>* entries, CabLister* lister);
