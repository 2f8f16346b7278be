// A library database in a temporary folder, filled from the hand-written Library.xml whose
// one living track is a copy of a fixture music file.
#pragma once

#include "TestSupport.h"
#include "itunes/LibraryApplication.h"
#include "itunes/LibraryImport.h"
#include "itunes/LibraryPlaylist.h"
#include "itunes/PlaylistStore.h"

#include <QStringList>

namespace tessel::test {

class LibraryTest : public TesselTest {
  protected:
    LibraryTest();

    /// The fixture export with the living track's address filled in; written to the
    /// temporary folder under name, with replacements applied to its text.
    QString writeExport(const QString& name = QStringLiteral("Library.xml"),
                        const QList<std::pair<QString, QString>>& replacements = {}) const;
    /// Imports the fixture export into the library file.
    itunes::XmlImportSummary importFixture();

    /// A new application object over the library file (as the provider gives it).
    std::shared_ptr<itunes::LibraryApplication> open() const;
    /// The index-th user playlist of that name; fails the test when there is none.
    itunes::PlaylistPtr playlist(const QString& name, int index = 0) const;
    /// The names of a playlist's tracks, in order.
    static QStringList namesOf(const QList<itunes::TrackPtr>& tracks);

    QString libraryFile;
    QString livingTrack;  // the file of the track named "Café & 🎵 Song"
};

/// The fixture folder of the library tests.
QString libraryDataFolder();

}  // namespace tessel::test
