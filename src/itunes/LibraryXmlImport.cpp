// Importing the "Library.xml" export of a music library.
#include "LibraryImport.h"

#include "PlaylistStore.h"
#include "PlistReader.h"
#include "TrackStore.h"
#include "support/FormattedString.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QUrl>

namespace tessel::itunes {

namespace {

using playliststore::PlaylistKind;

struct XmlField {
    const char* xmlKey;
    const char* property;
};

// The export's track keys and the library properties they fill. "Total Time", "Location",
// "Track Type" and "Persistent ID" are read on their own.
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

constexpr int kProgressEvery = 500;

// Each progress line is also where a cancelled import stops (inside its transaction, which
// then rolls back).
void report(ProgressSink* progress, const QString& line) {
    stopWhenCancelled(progress);
    if (progress)
        progress->setProgress(line);
}

TrackKind kindOf(const QVariantMap& track) {
    const QString type = track.value(QStringLiteral("Track Type")).toString();
    if (type == u"File")
        return TrackKind::File;
    if (type == u"URL")
        return TrackKind::Url;
    if (type == u"Remote")
        return TrackKind::Shared;
    const QString location = track.value(QStringLiteral("Location")).toString();
    if (location.startsWith(u"file:", Qt::CaseInsensitive))
        return TrackKind::File;
    return location.isEmpty() ? TrackKind::Shared : TrackKind::Url;
}

QString persistentIdOf(const QVariantMap& map, const QString& key) {
    const QString id = map.value(key).toString().trimmed().toUpper();
    return id.isEmpty() ? newPersistentId() : id;
}

// A key the export leaves out means an empty text or 0.
QVariant valueOrEmpty(const QVariantMap& track, const XmlField& field) {
    const QVariant value = track.value(QString::fromLatin1(field.xmlKey));
    if (value.isValid())
        return value;
    return trackField(QString::fromLatin1(field.property))->integer ? QVariant(qint64(0))
                                                                    : QVariant(QStringLiteral(""));
}

trackstore::TrackRecord recordFrom(const QVariantMap& track) {
    trackstore::TrackRecord record;
    record.persistentId = persistentIdOf(track, QStringLiteral("Persistent ID"));
    record.kind = kindOf(track);
    const QString location = track.value(QStringLiteral("Location")).toString();
    if (!location.isEmpty())
        record.location = record.kind == TrackKind::File ? pathFromLocation(location) : location;
    for (const XmlField& field : kFields)
        record.set(QString::fromLatin1(field.property), valueOrEmpty(track, field));
    record.set(QStringLiteral("duration"),
               track.value(QStringLiteral("Total Time")).toLongLong() / 1000.0);
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

class XmlImporter {
  public:
    XmlImporter(sql::Database& db, ProgressSink* progress) : db_(db), progress_(progress) {}

    XmlImportSummary run(const QVariantMap& tracks, const QVariantList& playlists) {
        sql::Transaction transaction(db_);
        importTracks(tracks);
        importPlaylists(playlists);
        linkParents();
        transaction.commit();
        return summary_;
    }

  private:
    void importTracks(const QVariantMap& tracks) {
        trackstore::Upserter upserter(db_);
        int done = 0;
        for (auto it = tracks.cbegin(); it != tracks.cend(); ++it) {
            const QVariantMap track = it.value().toMap();
            const auto stored = upserter.upsert(recordFrom(track), true);
            ++(stored.added ? summary_.tracksAdded : summary_.tracksUpdated);
            const QVariant trackId = track.value(QStringLiteral("Track ID"), it.key());
            trackIds_.insert(trackId.toLongLong(), stored.id);
            if (++done % kProgressEvery == 0 || done == tracks.size())
                report(progress_,
                       formattedString(QStringLiteral("Tracks %i/%i"), done, int(tracks.size())));
        }
    }

    void importPlaylists(const QVariantList& playlists) {
        playliststore::Appender appender(db_);
        int done = 0;
        for (const QVariant& entry : playlists) {
            const QVariantMap playlist = entry.toMap();
            ++done;
            if (playlist.value(QStringLiteral("Master")).toBool())
                continue;
            const qint64 id = storePlaylist(playlist);
            for (const QVariant& item : playlist.value(QStringLiteral("Playlist Items")).toList())
                appendItem(appender, id, item.toMap());
            report(progress_,
                   formattedString(QStringLiteral("Playlists %i/%i"), done, int(playlists.size())));
        }
    }

    qint64 storePlaylist(const QVariantMap& playlist) {
        const QString persistentId =
            persistentIdOf(playlist, QStringLiteral("Playlist Persistent ID"));
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

    void appendItem(playliststore::Appender& appender, qint64 playlistId, const QVariantMap& item) {
        const auto track = trackIds_.constFind(item.value(QStringLiteral("Track ID")).toLongLong());
        if (track == trackIds_.cend()) {
            ++summary_.entriesSkipped;
            return;
        }
        appender.append(playlistId, track.value());
    }

    void linkParents() {
        for (const auto& [id, parentPersistentId] : parents_) {
            std::optional<qint64> parent;
            if (playlistIds_.contains(parentPersistentId))
                parent = playlistIds_.value(parentPersistentId);
            playliststore::setParent(db_, id, parent);
        }
    }

    sql::Database& db_;
    ProgressSink* progress_;
    XmlImportSummary summary_;
    QHash<qint64, qint64> trackIds_;      // the export's Track ID → the library's track
    QHash<QString, qint64> playlistIds_;  // persistent ID → the library's playlist
    QList<std::pair<qint64, QString>> parents_;
};

QVariantMap readExport(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw importError(formattedString(QStringLiteral("“%@” could not be opened: %@."), path,
                                          file.errorString()));
    const QVariant root = plist::read(file, QFileInfo(path).fileName());
    const QVariantMap map = root.toMap();
    const bool isExport =
        root.typeId() == QMetaType::QVariantMap &&
        (map.value(QStringLiteral("Tracks")).typeId() == QMetaType::QVariantMap ||
         map.value(QStringLiteral("Playlists")).typeId() == QMetaType::QVariantList);
    if (!isExport)
        throw importError(formattedString(
            QStringLiteral("“%@” is a property list, but not the export of a music library."),
            QFileInfo(path).fileName()));
    return map;
}

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
    report(progress, formattedString(QStringLiteral("Reading “%@”…"), QFileInfo(path).fileName()));
    const QVariantMap root = readExport(path);
    const QVariantMap tracks = root.value(QStringLiteral("Tracks")).toMap();
    const QVariantList playlists = root.value(QStringLiteral("Playlists")).toList();
    return connection.locked(
        [&](sql::Database& db) { return XmlImporter(db, progress).run(tracks, playlists); });
}

}  // namespace tessel::itunes
