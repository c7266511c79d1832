// How the Access database views behave: settings of the application object, which registers its own
// record; before it does (and in tests without one) a record of the defaults stands in.
#pragma once

#include <cstdint>

struct DatabaseViewSettings {
  uint32_t m_bShowSystemObjects = 0;  // list system tables, relations and queries too
  uint32_t m_bConfirmDelete = 1;      // ask before a table or query is deleted
  int32_t m_nMaxRecords = 10000;      // the most rows loaded into the table list
};

// The settings the views read now.
DatabaseViewSettings& DatabaseSettings();
// The application's record from now on (null: the defaults' record again).
void UseDatabaseSettings(DatabaseViewSettings* settings);
