// Generates a Library.xml of many tracks and playlists, imports it into a new library, then
// gathers its largest playlist the way a tool does. Prints the times; targets on the
// development machine: import under 5 s, gathering under 0.2 s.
#include "itunes/Connection.h"
#include "itunes/LibraryImport.h"
#include "itunes/MusicLibrary.h"
#include "model/TrackGathering.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

namespace {

using namespace tessel;

struct Sizes {
    int tracks = 20000;
    int playlists = 200;
    int bigPlaylist = 10000;
};

void writeTrack(QTextStream& out, int id) {
    out << "<key>" << id << "</key><dict>\n"
        << "<key>Track ID</key><integer>" << id << "</integer>\n"
        << "<key>Name</key><string>Track " << id << " &amp; Co</string>\n"
        << "<key>Artist</key><string>Artist " << id % 500 << "</string>\n"
        << "<key>Album Artist</key><string>Artist " << id % 500 << "</string>\n"
        << "<key>Album</key><string>Album " << id % 2000 << "</string>\n"
        << "<key>Genre</key><string>Genre " << id % 20 << "</string>\n"
        << "<key>Year</key><integer>" << 1960 + id % 60 << "</integer>\n"
        << "<key>Track Number</key><integer>" << id % 12 + 1 << "</integer>\n"
        << "<key>Track Count</key><integer>12</integer>\n"
        << "<key>Play Count</key><integer>" << id % 37 << "</integer>\n"
        << "<key>Rating</key><integer>" << id % 5 * 20 << "</integer>\n"
        << "<key>Total Time</key><integer>" << 180000 + id % 120000 << "</integer>\n"
        << "<key>Bit Rate</key><integer>256</integer>\n"
        << "<key>Persistent ID</key><string>" << QStringLiteral("%1").arg(id, 16, 16, QChar(u'0'))
        << "</string>\n"
        << "<key>Track Type</key><string>File</string>\n"
        << "<key>Location</key><string>file://localhost/Users/someone/Music/Artist%20" << id % 500
        << "/Track%20" << id << ".mp3</string>\n"
        << "</dict>\n";
}

void writePlaylist(QTextStream& out, int index, const QString& name, int first, int count,
                   int tracks) {
    out << "<dict><key>Name</key><string>" << name << "</string>\n"
        << "<key>Playlist Persistent ID</key><string>"
        << QStringLiteral("P%1").arg(index, 15, 10, QChar(u'0')) << "</string>\n"
        << "<key>Playlist Items</key><array>\n";
    for (int i = 0; i < count; ++i)
        out << "<dict><key>Track ID</key><integer>" << (first + i) % tracks + 1
            << "</integer></dict>\n";
    out << "</array></dict>\n";
}

void writeExport(const QString& path, const Sizes& sizes) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    QTextStream out(&file);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE plist PUBLIC \"-//Apple Computer//DTD PLIST 1.0//EN\" "
           "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
           "<plist version=\"1.0\"><dict>\n<key>Tracks</key><dict>\n";
    for (int id = 1; id <= sizes.tracks; ++id)
        writeTrack(out, id);
    out << "</dict>\n<key>Playlists</key><array>\n";
    writePlaylist(out, 0, QStringLiteral("Big"), 0, sizes.bigPlaylist, sizes.tracks);
    for (int i = 1; i < sizes.playlists; ++i)
        writePlaylist(out, i, QStringLiteral("List %1").arg(i), i * 97, 50, sizes.tracks);
    out << "</array>\n</dict></plist>\n";
}

double seconds(const QElapsedTimer& timer) {
    return timer.nsecsElapsed() / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    Sizes sizes;
    if (argc > 1)
        sizes.tracks = std::atoi(argv[1]);
    if (argc > 2)
        sizes.playlists = std::atoi(argv[2]);
    if (argc > 3)
        sizes.bigPlaylist = std::atoi(argv[3]);

    QTemporaryDir folder;
    const QString xml = folder.filePath(QStringLiteral("Library.xml"));
    writeExport(xml, sizes);
    std::printf("export: %d tracks, %d playlists, %.1f MB\n", sizes.tracks, sizes.playlists,
                QFile(xml).size() / 1048576.0);

    const QString library = folder.filePath(QStringLiteral("library.sqlite"));
    QElapsedTimer timer;
    timer.start();
    auto connection = itunes::Connection::open(library);
    const auto summary = itunes::importLibraryXml(*connection, xml);
    std::printf("import: %.3f s (%d tracks, %d playlists)\n", seconds(timer), summary.tracksAdded,
                summary.playlistsAdded);

    timer.restart();
    const auto again = itunes::importLibraryXml(*connection, xml);
    std::printf("re-import: %.3f s (%d tracks updated)\n", seconds(timer), again.tracksUpdated);

    const auto provider = itunes::libraryProvider(library);
    timer.restart();
    const PlaylistMenus names = readPlaylistMenus(*provider());
    std::printf("playlist names: %.3f s (%lld)\n", seconds(timer),
                static_cast<long long>(names.playlists.size()));

    TrackSource source;
    source.selectedMethod = 0;
    source.selectedPlaylist = 0;
    source.playlistIds = names.playlistIds;
    timer.restart();
    const auto tracks = gatherTracks(source, provider).tracks;
    std::printf("gather \"Big\": %.3f s (%lld tracks)\n", seconds(timer),
                static_cast<long long>(tracks.size()));

    timer.restart();
    qint64 characters = 0;
    for (const MusicTrack& track : tracks)
        characters += track.title().size();
    std::printf("read every title: %.3f s (%lld characters)\n", seconds(timer),
                static_cast<long long>(characters));
    return 0;
}
