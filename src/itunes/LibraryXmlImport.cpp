// Importing the "Library.xml" export of a music library: one thread reads the export while
// this one stores what it read, all in one transaction.
#include "LibraryImport.h"

#include "ExportCount.h"
#include "ExportReader.h"
#include "PlaylistStore.h"
#include "TrackStore.h"
#include "support/FormattedString.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QUrl>

#include <algorithm>
#include <vector>

namespace tessel::itunes {

namespace {

using playliststore::PlaylistKind;

struct XmlField {
    const char* xmlKey;
    const char* property;
};

// The export's track keys and the library properties they fill.
const XmlField kFields[] = {
    {"Name", "name"},
    {"Artist", "artist"},
    {"Album Artist", "albumArtist"},
    {"Composer", "composer"},
    {"Album", "album"},
    {"Genre", "genre"},
    {"Comments", "comment"},
    {"Year", "year"},
    {"Track Number", "trackNumber"},
    {"Track Count", "trackCount"},
    {"Disc Number", "discNumber"},
    {"Disc Count", "discCount"},
    {"BPM", "bpm"},
    {"Rating", "rating"},
    {"Play Count", "playedCount"},
    {"Skip Count", "skippedCount"},
    {"Volume Adjustment", "volumeAdjustment"},
    {"Bit Rate", "bitRate"},
};
constexpr int kFieldCount = int(std::size(kFields));

// The keys read on their own, after those of kFields in the list the reader is given.
enum : int {
    kTrackId = kFieldCount,
    kTotalTime,
    kLocation,
    kTrackType,
    kPersistentId,
};

QStringList trackKeys() {
    QStringList keys;
    for (const XmlField& field : kFields)
        keys.append(QString::fromLatin1(field.xmlKey));
    keys << QStringLiteral("Track ID") << QStringLiteral("Total Time") << QStringLiteral("Location")
         << QStringLiteral("Track Type") << QStringLiteral("Persistent ID");
    return keys;
}

// The library property of each entry of kFields, by its index in trackFields().
const std::vector<qsizetype>& fieldColumns() {
    static const std::vector<qsizetype> columns = [] {
        std::vector<qsizetype> result;
        for (const XmlField& field : kFields)
            result.push_back(trackField(QString::fromLatin1(field.property)) -
                             trackFields().constData());
        return result;
    }();
    return columns;
}

constexpr int kProgressEvery = 500;

// Each progress line is also where a cancelled import stops (inside its transaction, which
// then rolls back).
void report(ProgressSink* progress, const QString& line) {
    stopWhenCancelled(progress);
    if (progress)
        progress->setProgress(line);
}

TrackKind kindOf(const QString& type, const QString& location) {
    if (type == u"File")
        return TrackKind::File;
    if (type == u"URL")
        return TrackKind::Url;
    if (type == u"Remote")
        return TrackKind::Shared;
    if (location.startsWith(u"file:", Qt::CaseInsensitive))
        return TrackKind::File;
    return location.isEmpty() ? TrackKind::Shared : TrackKind::Url;
}

QString persistentIdOf(const QVariant& value) {
    const QString id = value.toString().trimmed().toUpper();
    return id.isEmpty() ? newPersistentId() : id;
}

// A key the export leaves out means an empty text or 0.
QVariant valueOrEmpty(const QVariant& value, qsizetype column) {
    if (value.isValid())
        return value;
    return trackFields().at(column).integer ? QVariant(qint64(0)) : QVariant(QStringLiteral(""));
}

trackstore::TrackRecord recordFrom(const xmlexport::Track& track) {
    const QVariantList& values = track.values;
    trackstore::TrackRecord record;
    record.persistentId = persistentIdOf(values.at(kPersistentId));
    const QString location = values.at(kLocation).toString();
    record.kind = kindOf(values.at(kTrackType).toString(), location);
    if (!location.isEmpty())
        record.location = record.kind == TrackKind::File ? pathFromLocation(location) : location;
    for (int i = 0; i < kFieldCount; ++i) {
        const qsizetype column = fieldColumns()[i];
        record.values[column] = valueOrEmpty(values.at(i), column);
    }
    record.set(QStringLiteral("duration"), values.at(kTotalTime).toLongLong() / 1000.0);
    return record;
}

PlaylistKind playlistKindOf(const QVariantMap& playlist) {
    if (playlist.value(QStringLiteral("Folder")).toBool())
        return PlaylistKind::Folder;
    if (playlist.contains(QStringLiteral("Distinguished Kind")))
        return PlaylistKind::Builtin;
    if (playlist.contains(QStringLiteral("Smart Info")) ||
        playlist.contains(QStringLiteral("Smart Criteria")))
        return PlaylistKind::Smart;
    return PlaylistKind::User;
}

// Settings of the connection while a large library is written, given back afterwards. A larger
// page cache keeps the index pages in memory instead of spilling them halfway. The kinds of
// tracks and playlists are checked by the schema with a list that SQLite builds into a table of
// its own for every row written (a quarter of the work of storing a track); every kind the import
// writes comes from its enum's own name, so the check is left out until the import ends.
class BulkWriting {
  public:
    explicit BulkWriting(sql::Database& db) : db_(db) {
        sql::Statement size(db, "PRAGMA cache_size");
        previous_ = size.step() ? size.integer(0) : -2000;
        db.exec("PRAGMA cache_size = -65536; PRAGMA ignore_check_constraints = ON");
    }
    ~BulkWriting() {
        try {
            db_.exec("PRAGMA ignore_check_constraints = OFF");
            db_.exec(QStringLiteral("PRAGMA cache_size = %1").arg(previous_).toUtf8().constData());
        } catch (const TesselError&) {
        }
    }
    BulkWriting(const BulkWriting&) = delete;
    BulkWriting& operator=(const BulkWriting&) = delete;

  private:
    sql::Database& db_;
    qint64 previous_ = 0;
};

// Stores the tracks and playlists the reader hands over, as they come.
class XmlImporter {
  public:
    XmlImporter(sql::Database& db, xmlexport::Reader& reader, const ExportCounts& expected,
                ProgressSink* progress)
        : db_(db),
          reader_(reader),
          expected_(expected),
          progress_(progress),
          upserter_(db),
          appender_(db) {}

    XmlImportSummary run() {
        for (auto batch = reader_.next(); !batch.empty(); batch = reader_.next()) {
            for (xmlexport::Item& item : batch)
                std::visit([this](auto& read) { store(read); }, item);
        }
        addLateEntries();
        linkParents();
        return summary_;
    }

  private:
    void store(const xmlexport::Track& track) {
        const auto stored = upserter_.upsert(recordFrom(track), true);
        ++(stored.added ? summary_.tracksAdded : summary_.tracksUpdated);
        const QVariant& trackId = track.values.at(kTrackId);
        trackIds_.insert((trackId.isValid() ? trackId : QVariant(track.key)).toLongLong(),
                         stored.id);
        if (++tracksDone_ % kProgressEvery == 0)
            reportCount(QStringLiteral("Tracks %i/%i"), tracksDone_, expected_.tracks);
    }

    void store(const xmlexport::TracksEnd&) {
        if (tracksDone_ % kProgressEvery != 0 || tracksDone_ < expected_.tracks)
            reportCount(QStringLiteral("Tracks %i/%i"), tracksDone_, tracksDone_);
        tracksDone_ = 0;
        tracksRead_ = true;
    }

    void store(const xmlexport::Playlist& playlist) {
        ++playlistsDone_;
        if (playlist.values.value(QStringLiteral("Master")).toBool())
            return;
        addEntries(storePlaylist(playlist.values), playlist.items);
        reportCount(QStringLiteral("Playlists %i/%i"), playlistsDone_, expected_.playlists);
    }

    qint64 storePlaylist(const QVariantMap& playlist) {
        const QString persistentId =
            persistentIdOf(playlist.value(QStringLiteral("Playlist Persistent ID")));
        const QString name = playlist.value(QStringLiteral("Name")).toString();
        const PlaylistKind kind = playlistKindOf(playlist);
        qint64 id = 0;
        if (const auto existing = playliststore::withPersistentId(db_, persistentId)) {
            id = existing->id;
            playliststore::update(db_, id, name, kind);
            playliststore::removeAllEntries(db_, id);
            ++summary_.playlistsUpdated;
        } else {
            id = playliststore::create(db_, name, kind, persistentId);
            ++summary_.playlistsAdded;
        }
        playlistIds_.insert(persistentId, id);
        const QString parent = playlist.value(QStringLiteral("Parent Persistent ID")).toString();
        parents_.append({id, parent.trimmed().toUpper()});
        return id;
    }

    // Entries are numbered by their place in the export's list, so an entry whose track comes
    // later in the file (playlists written before the tracks) takes its place when it is added.
    void addEntries(qint64 playlistId, const std::vector<qint64>& items) {
        qint64 position = 0;
        for (const qint64 exportId : items) {
            ++position;
            const auto track = trackIds_.constFind(exportId);
            if (track != trackIds_.cend())
                appender_.insertAt(playlistId, track.value(), position);
            else if (!tracksRead_)
                lateEntries_.push_back({playlistId, position, exportId});
            else
                ++summary_.entriesSkipped;
        }
    }

    void addLateEntries() {
        for (const LateEntry& entry : lateEntries_) {
            const auto track = trackIds_.constFind(entry.exportId);
            if (track != trackIds_.cend())
                appender_.insertAt(entry.playlistId, track.value(), entry.position);
            else
                ++summary_.entriesSkipped;
        }
    }

    void linkParents() {
        for (const auto& [id, parentPersistentId] : parents_) {
            std::optional<qint64> parent;
            if (playlistIds_.contains(parentPersistentId))
                parent = playlistIds_.value(parentPersistentId);
            playliststore::setParent(db_, id, parent);
        }
    }

    // The count taken ahead of the import is a quick look at the bytes; a line never shows
    // fewer than were done.
    void reportCount(const QString& format, int done, int expected) {
        report(progress_, formattedString(format, done, std::max(done, expected)));
    }

    struct LateEntry {
        qint64 playlistId;
        qint64 position;
        qint64 exportId;
    };

    sql::Database& db_;
    xmlexport::Reader& reader_;
    ExportCounts expected_;
    ProgressSink* progress_;
    trackstore::Upserter upserter_;
    playliststore::Appender appender_;
    XmlImportSummary summary_;
    int tracksDone_ = 0;
    int playlistsDone_ = 0;
    bool tracksRead_ = false;
    QHash<qint64, qint64> trackIds_;      // the export's Track ID → the library's track
    QHash<QString, qint64> playlistIds_;  // persistent ID → the library's playlist
    QList<std::pair<qint64, QString>> parents_;
    std::vector<LateEntry> lateEntries_;  // entries of playlists read before any track
};

}  // namespace

TesselError importError(const QString& reason) {
    return TesselError(QStringLiteral("Import Failed"), reason);
}

void stopWhenCancelled(const ProgressSink* progress) {
    if (progress && progress->cancelled())
        throw TesselError(kImportCancelled, QStringLiteral("The import was stopped; the library "
                                                           "is as it was."));
}

QString pathFromLocation(const QString& location) {
    const QUrl url(location, QUrl::TolerantMode);
    if (url.scheme().compare(u"file", Qt::CaseInsensitive) != 0)
        return location;
    QString path = url.path(QUrl::FullyDecoded);
    const QString host = url.host();
    if (!host.isEmpty() && host.compare(u"localhost", Qt::CaseInsensitive) != 0)
        return QStringLiteral("//") + host + path;
    static const QRegularExpression drive(QStringLiteral("^/[A-Za-z]:(/|$)"));
    if (drive.match(path).hasMatch())
        path.remove(0, 1);
    return path;
}

XmlImportSummary importLibraryXml(Connection& connection, const QString& path,
                                  ProgressSink* progress) {
    const QString fileName = QFileInfo(path).fileName();
    report(progress, formattedString(QStringLiteral("Reading “%@”…"), fileName));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw importError(formattedString(QStringLiteral("“%@” could not be opened: %@."), path,
                                          file.errorString()));
    return connection.locked([&](sql::Database& db) {
        sql::Transaction transaction(db);
        const BulkWriting settings(db);
        xmlexport::Reader reader(file, fileName, trackKeys());
        // Counted while the reader is under way: the counts only serve the progress lines.
        const ExportCounts expected = countExport(path);
        const XmlImportSummary summary = XmlImporter(db, reader, expected, progress).run();
        transaction.commit();
        return summary;
    });
}

}  // namespace tessel::itunes
