// Adding a folder of music files to the library.
#include "LibraryImport.h"

#include "PlaylistStore.h"
#include "TrackStore.h"
#include "support/FormattedString.h"
#include "tags/FileTags.h"
#include "tags/MusicFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace tessel::itunes {

namespace {

constexpr int kProgressEvery = 100;

void report(ProgressSink* progress, const QString& line) {
    stopWhenCancelled(progress);
    if (progress)
        progress->setProgress(line);
}

QStringList musicFilesIn(const QString& folder) {
    const auto files = musicFilesBelow(folder);
    if (!files)
        throw importError(formattedString(QStringLiteral("The folder “%@” could not be read."),
                                          QFileInfo(folder).absoluteFilePath()));
    QStringList paths = files->paths;
    std::sort(paths.begin(), paths.end());
    return paths;
}

// A file without a title is named after the file, as music players show it.
trackstore::TrackRecord recordFor(const QString& path) {
    trackstore::TrackRecord record;
    record.persistentId = newPersistentId();
    record.kind = TrackKind::File;
    record.location = path;
    const QVariantMap fields = filetags::readForLibrary(path);
    for (auto it = fields.cbegin(); it != fields.cend(); ++it)
        record.set(it.key(), it.value());
    if (fields.value(QStringLiteral("name")).toString().isEmpty())
        record.set(QStringLiteral("name"), QFileInfo(path).completeBaseName());
    return record;
}

// The playlist of that persistent ID or of that name, when it exists; it must take entries by
// hand, and a name must name one playlist only.
std::optional<qint64> checkTarget(sql::Database& db, const QString& name) {
    const auto matches = playliststore::matching(db, name);
    if (matches.isEmpty())
        return std::nullopt;
    if (matches.size() > 1)
        throw importError(formattedString(
            QStringLiteral("%i playlists are named “%@”; choose one by its persistent ID."),
            int(matches.size()), name));
    if (matches.first().kind != playliststore::PlaylistKind::User)
        throw importError(playliststore::notEditable(matches.first().name).reason());
    return matches.first().id;
}

// The playlist of that persistent ID or name, created at the end of the library order when
// there is none.
qint64 targetPlaylist(sql::Database& db, const QString& name) {
    if (const auto existing = checkTarget(db, name))
        return *existing;
    return playliststore::create(db, name, playliststore::PlaylistKind::User);
}

class FolderImporter {
  public:
    explicit FolderImporter(sql::Database& db) : db_(db) {}

    FolderImportSummary run(const QList<trackstore::TrackRecord>& records,
                            const std::optional<QString>& playlist) {
        sql::Transaction transaction(db_);
        const QList<qint64> ids = storeTracks(records);
        if (playlist)
            appendMissing(targetPlaylist(db_, *playlist), ids);
        transaction.commit();
        return summary_;
    }

  private:
    QList<qint64> storeTracks(const QList<trackstore::TrackRecord>& records) {
        trackstore::Upserter upserter(db_);
        QList<qint64> ids;
        for (const auto& record : records) {
            if (const auto present = trackstore::idForLocation(db_, *record.location)) {
                ids.append(*present);
                fillPlayStats(*present, record);
                ++summary_.tracksPresent;
            } else {
                ids.append(upserter.upsert(record).id);
                ++summary_.tracksAdded;
            }
        }
        return ids;
    }

    // A rating or play count the file holds fills the library's only where it has none.
    void fillPlayStats(qint64 id, const trackstore::TrackRecord& record) {
        for (const char* key : {"rating", "playedCount"}) {
            const TrackField& field = *trackField(QLatin1String(key));
            const QVariant fromFile = record.values.value(int(&field - trackFields().constData()));
            if (fromFile.toLongLong() > 0 && trackstore::value(db_, id, field).toLongLong() == 0)
                trackstore::setValue(db_, id, field, fromFile);
        }
    }

    void appendMissing(qint64 playlistId, const QList<qint64>& ids) {
        QSet<qint64> held;
        for (const auto& entry : playliststore::entries(db_, playlistId))
            held.insert(entry.trackId);
        playliststore::Appender appender(db_);
        for (qint64 id : ids) {
            if (held.contains(id))
                continue;
            appender.append(playlistId, id);
            held.insert(id);
            ++summary_.entriesAdded;
        }
    }

    sql::Database& db_;
    FolderImportSummary summary_;
};

}  // namespace

FolderImportSummary importFolder(Connection& connection, const QString& folder,
                                 const std::optional<QString>& playlist, ProgressSink* progress) {
    const QStringList files = musicFilesIn(folder);
    if (playlist) {
        // Refuse an unusable target before the files are read; checked again when writing.
        connection.locked([&](sql::Database& db) { checkTarget(db, *playlist); });
    }
    // Files are read before the library is locked: reading is the slow part.
    QList<trackstore::TrackRecord> records;
    records.reserve(files.size());
    for (const QString& path : files) {
        stopWhenCancelled(progress);
        records.append(recordFor(path));
        if (records.size() % kProgressEvery == 0 || records.size() == files.size())
            report(progress, formattedString(QStringLiteral("Files %i/%i"), int(records.size()),
                                             int(files.size())));
    }
    return connection.locked(
        [&](sql::Database& db) { return FolderImporter(db).run(records, playlist); });
}

}  // namespace tessel::itunes
