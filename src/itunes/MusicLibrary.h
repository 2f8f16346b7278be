// Opening Tessel's embedded music library: one SQLite database file that implements the
// library interface of ITunes.h.
#pragma once

#include "ITunes.h"

#include <QString>

namespace tessel::itunes {

/// The library database to use: explicitPath when it is not empty, else the environment
/// variable TESSEL_LIBRARY, else library.sqlite in the per-user data folder.
QString libraryPath(const QString& explicitPath = {});

/// A provider that opens the library at path anew for each use (creating an empty library
/// when the file does not exist yet); it throws a scripting error when the file cannot be
/// opened as a library.
ApplicationProvider libraryProvider(const QString& path);

}  // namespace tessel::itunes
