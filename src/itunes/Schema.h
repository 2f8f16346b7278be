// The layout of the library database and its migrations. A library file carries the
// program's application id and its schema version (user_version); opening a file brings an
// older schema up to date in one transaction and refuses files of other programs or of a
// newer release.
#pragma once

#include "Sqlite.h"

namespace tessel::itunes::schema {

/// The schema version this release writes.
int currentVersion();

/// Sets up a freshly opened connection (busy timeout, foreign keys, WAL) and migrates the
/// schema. Throws a scripting error for a file that is not a library of this program, is
/// damaged, or was made by a newer release.
void prepare(sql::Database& db);

}  // namespace tessel::itunes::schema
