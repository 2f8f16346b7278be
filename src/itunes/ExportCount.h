// How many tracks and playlists a "Library.xml" export holds, counted ahead of its import for
// the progress lines: a quick look at the bytes, not a parse, so the counts of a broken or
// unusual file may be off; the import's own reading decides everything else.
#pragma once

#include <QString>

namespace tessel::itunes {

struct ExportCounts {
    int tracks = 0;     // entries of the top-level "Tracks" dict
    int playlists = 0;  // entries of the top-level "Playlists" array
};

/// Zero counts for a file that cannot be read.
ExportCounts countExport(const QString& path);

}  // namespace tessel::itunes
