// A library of 100,000 tracks as a new user meets it: generates a Library.xml of that size,
// times Python's plistlib merely loading it (the floor), then tessel-cli importing it and
// listing its 100,000-track playlist as JSON, each in a child process of its own so that every
// peak resident size is that run's alone, and a Search & Replace preview over that playlist.
// Last, gathers the playlist the way a tool does.
// Targets: import ≤ 0.5× the floor and ≤ 150 MB; the listing ≤ 0.25× the floor and ≤ 150 MB.
// The preview: a peak of ≤ 300 MB.
// The runs go in rounds, side by side, and each figure is the median of its rounds.
#include "itunes/MusicLibrary.h"
#include "model/TrackGathering.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTextStream>
#include <QUrl>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>

extern char** environ;

namespace {

using namespace tessel;

struct Sizes {
    int tracks = 100000;
    int playlists = 1000;
    int bigPlaylist = 100000;
};

// Where the tracks' files are: every track has a name of its own there.
QString trackFile(const QString& musicFolder, int id) {
    return QStringLiteral("%1/Track %2.mp3").arg(musicFolder).arg(id);
}

void writeTrack(QTextStream& out, int id, const QString& musicFolder) {
    out << "<key>" << id << "</key><dict>\n"
        << "<key>Track ID</key><integer>" << id << "</integer>\n"
        << "<key>Name</key><string>Track " << id << " &amp; Co</string>\n"
        << "<key>Artist</key><string>Artist " << id % 500 << "</string>\n"
        << "<key>Album Artist</key><string>Artist " << id % 500 << "</string>\n"
        << "<key>Album</key><string>Album " << id % 2000 << "</string>\n"
        << "<key>Genre</key><string>Genre " << id % 20 << "</string>\n"
        << "<key>Kind</key><string>MPEG audio file</string>\n"
        << "<key>Size</key><integer>" << 4000000 + id % 90000 << "</integer>\n"
        << "<key>Year</key><integer>" << 1960 + id % 60 << "</integer>\n"
        << "<key>Track Number</key><integer>" << id % 12 + 1 << "</integer>\n"
        << "<key>Track Count</key><integer>12</integer>\n"
        << "<key>Date Modified</key><date>2019-03-0" << id % 9 + 1 << "T10:20:30Z</date>\n"
        << "<key>Date Added</key><date>2018-11-1" << id % 9 + 1 << "T08:00:00Z</date>\n"
        << "<key>Play Count</key><integer>" << id % 37 << "</integer>\n"
        << "<key>Rating</key><integer>" << id % 5 * 20 << "</integer>\n"
        << "<key>Total Time</key><integer>" << 180000 + id % 120000 << "</integer>\n"
        << "<key>Bit Rate</key><integer>256</integer>\n"
        << "<key>Persistent ID</key><string>" << QStringLiteral("%1").arg(id, 16, 16, QChar(u'0'))
        << "</string>\n"
        << "<key>Track Type</key><string>File</string>\n"
        << "<key>Location</key><string>"
        << QUrl::fromLocalFile(trackFile(musicFolder, id)).toEncoded() << "</string>\n"
        << "</dict>\n";
}

void writePlaylist(QTextStream& out, int index, const QString& name, int first, int count,
                   int tracks) {
    out << "<dict>\n<key>Name</key><string>" << name << "</string>\n"
        << "<key>Playlist ID</key><integer>" << 200000 + index << "</integer>\n"
        << "<key>Playlist Persistent ID</key><string>"
        << QStringLiteral("P%1").arg(index, 15, 10, QChar(u'0')) << "</string>\n"
        << "<key>All Items</key><true/>\n"
        << "<key>Playlist Items</key>\n<array>\n";
    for (int i = 0; i < count; ++i)
        out << "<dict>\n<key>Track ID</key><integer>" << (first + i) % tracks + 1
            << "</integer>\n</dict>\n";
    out << "</array>\n</dict>\n";
}

// The same file on every run, for the same sizes.
void writeExport(const QString& path, const Sizes& sizes, const QString& musicFolder) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    QTextStream out(&file);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE plist PUBLIC \"-//Apple Computer//DTD PLIST 1.0//EN\" "
           "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
           "<plist version=\"1.0\">\n<dict>\n"
           "<key>Major Version</key><integer>1</integer>\n"
           "<key>Minor Version</key><integer>1</integer>\n"
           "<key>Application Version</key><string>12.9.5.5</string>\n"
           "<key>Library Persistent ID</key><string>0123456789ABCDEF</string>\n"
           "<key>Tracks</key>\n<dict>\n";
    for (int id = 1; id <= sizes.tracks; ++id)
        writeTrack(out, id, musicFolder);
    out << "</dict>\n<key>Playlists</key>\n<array>\n";
    writePlaylist(out, 0, QStringLiteral("Big"), 0, sizes.bigPlaylist, sizes.tracks);
    for (int i = 1; i < sizes.playlists; ++i)
        writePlaylist(out, i, QStringLiteral("List %1").arg(i), i * 97, 50, sizes.tracks);
    out << "</array>\n<key>Music Folder</key>"
           "<string>file://localhost/Users/someone/Music/</string>\n</dict>\n</plist>\n";
}

// The tracks' files: one small tagged MP3 under every track's name, as hard links (a copy for
// each 50,000, below the file system's limit of links), so that the files cost no room and a
// tool's preview finds a living file for each track.
void makeTrackFiles(const QString& musicFolder, int tracks) {
    if (!QDir().mkpath(musicFolder))
        qFatal("cannot make %s", qPrintable(musicFolder));
    constexpr int kLinksPerCopy = 50000;
    QByteArray copy;
    for (int id = 1; id <= tracks; ++id) {
        const QString path = trackFile(musicFolder, id);
        if ((id - 1) % kLinksPerCopy == 0) {
            if (!QFile::copy(QStringLiteral(TESSEL_TEST_DATA "/tagged.mp3"), path))
                qFatal("cannot make %s", qPrintable(path));
            copy = QFile::encodeName(path);
        } else if (::link(copy.constData(), QFile::encodeName(path).constData()) != 0) {
            qFatal("cannot link track %d", id);
        }
    }
}

struct ChildRun {
    double seconds = 0;
    double cpuSeconds = 0;  // user and system time of all its threads
    double peakMb = 0;
    int status = -1;
};

// Runs a program with its output going to files, and measures its time and its own peak
// resident size (wait4 gives the resources of that one child).
ChildRun runChild(const QStringList& command, const QString& out, const QString& err) {
    std::vector<QByteArray> arguments;
    for (const QString& argument : command)
        arguments.push_back(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const QByteArray outPath = out.toLocal8Bit();
    const QByteArray errPath = err.toLocal8Bit();
    posix_spawn_file_actions_addopen(&actions, 1, outPath.constData(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.constData(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    ChildRun run;
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv.front(), &actions, nullptr, argv.data(), environ) != 0)
        qFatal("cannot start %s", argv.front());
    struct rusage usage {};
    int status = 0;
    wait4(pid, &status, 0, &usage);
    run.seconds = timer.nsecsElapsed() / 1e9;
    run.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
                     usage.ru_stime.tv_usec / 1e6;
    run.peakMb = usage.ru_maxrss / 1024.0;  // kilobytes on Linux
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

QString loadAverage() {
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()).trimmed()
                                          : QStringLiteral("?");
}

// The run of median time among rounds, so a burst of load elsewhere sways no figure.
ChildRun median(std::vector<ChildRun> runs) {
    std::sort(runs.begin(), runs.end(),
              [](const ChildRun& a, const ChildRun& b) { return a.seconds < b.seconds; });
    ChildRun middle = runs.at(runs.size() / 2);
    for (const ChildRun& run : runs) {
        middle.peakMb = std::max(middle.peakMb, run.peakMb);
        if (run.status != 0)
            middle.status = run.status;
    }
    return middle;
}

void printFloor(const char* what, const ChildRun& floor) {
    std::printf("%-28s %7.2f s  (floor)                       cpu %6.2f s  peak %6.1f MB%s\n", what,
                floor.seconds, floor.cpuSeconds, floor.peakMb, floor.status == 0 ? "" : "  FAILED");
}

void printAgainstFloor(const char* what, const ChildRun& run, const ChildRun& floor,
                       double timeTarget, double peakTarget) {
    std::printf(
        "%-28s %7.2f s  %.2f× floor (target ≤ %.2f×)  cpu %6.2f s (%.2f× floor's)  "
        "peak %6.1f MB (target ≤ %.0f MB)%s\n",
        what, run.seconds, run.seconds / floor.seconds, timeTarget, run.cpuSeconds,
        run.cpuSeconds / floor.cpuSeconds, run.peakMb, peakTarget,
        run.status == 0 ? "" : "  FAILED");
}

int jsonRows(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    return error.error == QJsonParseError::NoError && document.isArray()
               ? int(document.array().size())
               : -1;
}

int lineCount(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    int lines = 0;
    while (!file.atEnd())
        lines += file.readLine().endsWith('\n') ? 1 : 0;
    return lines;
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
    const int rounds = argc > 4 ? std::max(1, std::atoi(argv[4])) : 3;

    std::printf("load average at the start: %s\n", qPrintable(loadAverage()));
    QTemporaryDir folder;
    const QString xml = folder.filePath(QStringLiteral("Library.xml"));
    const QString musicFolder = folder.filePath(QStringLiteral("Music"));
    writeExport(xml, sizes, musicFolder);
    makeTrackFiles(musicFolder, sizes.tracks);
    std::printf("export: %d tracks, %d playlists, %.1f MB\n", sizes.tracks, sizes.playlists,
                QFile(xml).size() / 1048576.0);
    const QString library = folder.filePath(QStringLiteral("library.sqlite"));
    const QString null = QStringLiteral("/dev/null");
    const QString cli = QStringLiteral(TESSEL_CLI);

    const QStringList floorCommand{
        QStringLiteral("python3"), QStringLiteral("-c"),
        QStringLiteral("import plistlib, sys; plistlib.load(open(sys.argv[1], 'rb'))"), xml};
    const QStringList importCommand{cli, QStringLiteral("library"),   QStringLiteral("import-xml"),
                                    xml, QStringLiteral("--library"), library};
    const QStringList listCommand{cli,
                                  QStringLiteral("library"),
                                  QStringLiteral("tracks"),
                                  QStringLiteral("--playlist"),
                                  QStringLiteral("Big"),
                                  QStringLiteral("--library"),
                                  library};
    // A tool's preview over the whole playlist: every title holds "Co", so the change list holds
    // a record for every track. Each track's file exists; its values come from the library.
    const QStringList previewCommand{cli,
                                     QStringLiteral("search-replace"),
                                     QStringLiteral("--playlist"),
                                     QStringLiteral("Big"),
                                     QStringLiteral("--search"),
                                     QStringLiteral("Co"),
                                     QStringLiteral("--replace"),
                                     QStringLiteral("Company"),
                                     QStringLiteral("--library"),
                                     library};
    const QString progress = folder.filePath(QStringLiteral("progress.txt"));
    const QString listing = folder.filePath(QStringLiteral("big.json"));
    const QString text = folder.filePath(QStringLiteral("big.txt"));
    const QString previewed = folder.filePath(QStringLiteral("preview.txt"));

    // Rounds of floor, import and listings side by side, each import into a new library.
    std::vector<ChildRun> floors, imports, jsonListings, textListings, previews;
    for (int round = 0; round < rounds; ++round) {
        for (const char* suffix : {"", "-wal", "-shm"})
            QFile::remove(library + QLatin1String(suffix));
        floors.push_back(runChild(floorCommand, null, null));
        imports.push_back(runChild(importCommand, null, progress));
        jsonListings.push_back(
            runChild(listCommand + QStringList{QStringLiteral("--json")}, listing, null));
        textListings.push_back(runChild(listCommand, text, null));
        previews.push_back(runChild(previewCommand, previewed, null));
        std::printf(
            "  round %d: plistlib %.2f s, import %.2f s (%.2f×), JSON listing %.2f s "
            "(%.2f×)\n",
            round + 1, floors.back().seconds, imports.back().seconds,
            imports.back().seconds / floors.back().seconds, jsonListings.back().seconds,
            jsonListings.back().seconds / floors.back().seconds);
    }
    const ChildRun floor = median(floors);
    std::printf("medians of %d rounds:\n", rounds);
    printFloor("plistlib.load", floor);
    printAgainstFloor("tessel-cli import-xml", median(imports), floor, 0.5, 150);
    printAgainstFloor("tracks --playlist Big --json", median(jsonListings), floor, 0.25, 150);
    const ChildRun textListing = median(textListings);
    std::printf("%-28s %7.2f s  %.2f× floor                       cpu %6.2f s  peak %6.1f MB\n",
                "tracks --playlist Big", textListing.seconds, textListing.seconds / floor.seconds,
                textListing.cpuSeconds, textListing.peakMb);

    const ChildRun preview = median(previews);
    std::printf(
        "%-28s %7.2f s  %.2f× floor                       cpu %6.2f s  peak %6.1f MB "
        "(target ≤ 300 MB)%s\n",
        "search-replace preview Big", preview.seconds, preview.seconds / floor.seconds,
        preview.cpuSeconds, preview.peakMb, preview.status == 0 ? "" : "  FAILED");

    // Only now may this process grow: a child's peak includes the peak of the process it was
    // started from, until it runs its own program.
    std::printf("  the JSON listing parses as %d rows (%.1f MB)\n", jsonRows(listing),
                QFile(listing).size() / 1048576.0);
    std::printf("  the preview lists %d rows\n", lineCount(previewed) - 1);
    const auto provider = itunes::libraryProvider(library);
    QElapsedTimer timer;
    timer.start();
    TrackSource source;
    source.selectedMethod = 0;
    source.selectedPlaylist = 0;
    source.playlistIds = readPlaylistMenus(*provider()).playlistIds;
    const auto gathered = gatherTracks(source, provider).tracks;
    std::printf("%-28s %7.2f s  (%lld tracks)\n", "gather Big for a tool",
                timer.nsecsElapsed() / 1e9, static_cast<long long>(gathered.size()));
    std::printf("load average at the end: %s\n", qPrintable(loadAverage()));
    return 0;
}
