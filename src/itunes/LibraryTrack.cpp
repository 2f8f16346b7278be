#include "LibraryTrack.h"

#include "LibraryPlaylist.h"
#include "PlaylistStore.h"
#include "TrackStore.h"
#include "WriteJournal.h"
#include "support/FormattedString.h"
#include "tags/FileTags.h"
#include "tags/TagValue.h"

#include <QDir>
#include <QFileInfo>

namespace tessel::itunes {

namespace {

const TrackField& knownField(const QString& key) {
    const TrackField* field = trackField(key == u"title" ? QStringLiteral("name") : key);
    if (!field)
        throw scriptingError(formattedString(QStringLiteral("A track has no property “%@”."), key));
    return *field;
}

const TrackField& writableField(const QString& key) {
    const TrackField& field = knownField(key);
    if (!field.writable)
        throw scriptingError(
            formattedString(QStringLiteral("The property “%@” cannot be changed."), key));
    return field;
}

}  // namespace

LibraryTrack::LibraryTrack(ConnectionPtr connection, qint64 trackId, std::optional<qint64> itemId)
    : connection_(std::move(connection)), trackId_(trackId), itemId_(itemId) {}

void LibraryTrack::checkExists(sql::Database& db) const {
    if (itemId_ && playliststore::entryTrack(db, *itemId_) != trackId_)
        throw playliststore::entryGone();
    if (!trackstore::exists(db, trackId_))
        throw trackstore::trackGone();
}

TrackPtr LibraryTrack::get() const {
    connection_->locked([this](sql::Database& db) { checkExists(db); });
    return std::make_shared<LibraryTrack>(*this);
}

QVariant LibraryTrack::property(const QString& key) const {
    const TrackField& field = knownField(key);
    return connection_->locked(
        [&](sql::Database& db) { return trackstore::value(db, trackId_, field); });
}

// The keys are walked in order once the row is read, so that each failure is the one reading
// them one by one would meet first: an unknown key, the entry gone (for "location", which
// resolves the reference as get() does) or the track gone.
QVariantMap LibraryTrack::properties(const QStringList& keys) const {
    QList<const TrackField*> fields;
    bool wantsLocation = false;
    for (const QString& key : keys) {
        if (key == u"location")
            wantsLocation = true;
        else if (const TrackField* field =
                     trackField(key == u"title" ? QStringLiteral("name") : key))
            fields.append(field);
    }
    struct Read {
        std::optional<trackstore::StoredTrack> track;
        bool entryHolds = true;
    };
    const Read read = connection_->locked([&](sql::Database& db) {
        Read result;
        const bool checksEntry = wantsLocation && itemId_;
        result.track =
            trackstore::values(db, trackId_, fields, checksEntry ? itemId_ : std::nullopt);
        if (checksEntry) {
            const auto entryTrack =
                result.track ? result.track->entryTrack : playliststore::entryTrack(db, *itemId_);
            result.entryHolds = entryTrack == trackId_;
        }
        return result;
    });
    QVariantMap values;
    qsizetype column = 0;
    for (const QString& key : keys) {
        if (key == u"location") {
            if (!read.entryHolds)
                throw playliststore::entryGone();
            if (!read.track)
                throw trackstore::trackGone();
            const auto& stored = read.track->location;
            const bool isFile =
                read.track->kind == TrackKind::File && stored && QFileInfo(*stored).isFile();
            values.insert(key, isFile ? QVariant(*stored) : QVariant());
            continue;
        }
        knownField(key);
        if (!read.track)
            throw trackstore::trackGone();
        values.insert(key, read.track->values.at(column++));
    }
    return values;
}

void LibraryTrack::setProperty(const QString& key, const QVariant& value) {
    change(writableField(key), value, {}, nullptr);
}

bool LibraryTrack::setPropertyIf(const QString& key, const QVariant& value, const QStringList& keys,
                                 const std::function<bool(const QVariantMap&)>& proceed) {
    return change(writableField(key), value, keys, proceed);
}

// The check and the library's new value are committed together with a journal entry before
// the file is touched: from then on another writer's guard sees the change, and a kill before
// the file holds it leaves an entry that the next start settles from the file. A file that
// refuses the value sets the library back, unless someone changed it since.
bool LibraryTrack::change(const TrackField& field, const QVariant& value, const QStringList& keys,
                          const std::function<bool(const QVariantMap&)>& proceed) {
    struct Planned {
        bool accepted = false;
        std::optional<QString> path;
        QVariant old;
        QVariant stored;
        qint64 entry = 0;
    };
    const Planned plan = connection_->locked([&](sql::Database& db) {
        sql::Transaction transaction(db);
        Planned planned;
        planned.path = throughPath(field.key);
        if (proceed) {
            QVariantMap values;
            for (const QString& name : keys)
                values.insert(name, trackstore::value(db, trackId_, knownField(name)));
            // Another tagger may have changed the file since the library last read it.
            if (planned.path) {
                const QVariantMap inFile = filetags::readForLibrary(*planned.path);
                if (!inFile.isEmpty())
                    values.insert(fileValueKey(field.key), inFile.value(field.key));
            }
            if (!proceed(values))
                return planned;
        }
        planned.accepted = true;
        planned.old = trackstore::value(db, trackId_, field);
        trackstore::setValue(db, trackId_, field, value);
        planned.stored = trackstore::value(db, trackId_, field);
        if (planned.path)
            planned.entry =
                journal::recordPending(db, trackId_, field, planned.old, planned.stored);
        transaction.commit();
        return planned;
    });
    if (!plan.accepted || !plan.path)
        return plan.accepted;
    try {
        filetags::writeField(*plan.path, field.key, plan.stored);
    } catch (const TesselError&) {
        connection_->locked([&](sql::Database& db) {
            sql::Transaction transaction(db);
            if (valueText(trackstore::value(db, trackId_, field)) == valueText(plan.stored))
                trackstore::setValue(db, trackId_, field, plan.old);
            journal::forget(db, plan.entry);
            transaction.commit();
        });
        throw;
    }
    connection_->locked([&](sql::Database& db) { journal::markWritten(db, plan.entry); });
    return true;
}

std::optional<QString> LibraryTrack::throughPath(const QString& key) const {
    if (!filetags::isWritableThrough(key) || kind() != TrackKind::File)
        return std::nullopt;
    return location();
}

std::optional<QString> LibraryTrack::location() const {
    const auto stored = connection_->locked(
        [this](sql::Database& db) { return trackstore::kindAndLocation(db, trackId_); });
    if (stored.kind != TrackKind::File || !stored.location)
        return std::nullopt;
    // A folder or a dangling link at the stored path is no file: the track is dead.
    if (!QFileInfo(*stored.location).isFile())
        return std::nullopt;
    return stored.location;
}

std::optional<QString> LibraryTrack::storedLocation() const {
    return connection_->locked(
        [this](sql::Database& db) { return trackstore::kindAndLocation(db, trackId_).location; });
}

std::optional<QString> LibraryTrack::streamAddress() const {
    const auto stored = connection_->locked(
        [this](sql::Database& db) { return trackstore::kindAndLocation(db, trackId_); });
    if (stored.kind != TrackKind::Url)
        return std::nullopt;
    return stored.location;
}

void LibraryTrack::setLocation(const QString& path) {
    if (path.isEmpty())
        throw scriptingError(QStringLiteral("A track cannot be pointed at an empty path."));
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    connection_->locked([&](sql::Database& db) {
        if (trackstore::kindAndLocation(db, trackId_).kind != TrackKind::File)
            throw scriptingError(
                QStringLiteral("Only a track of a music file can be pointed at a file."));
        trackstore::setLocation(db, trackId_, absolute);
    });
}

QString LibraryTrack::className() const {
    return itunes::className(kind());
}

TrackKind LibraryTrack::kind() const {
    return connection_->locked(
        [this](sql::Database& db) { return trackstore::kindAndLocation(db, trackId_).kind; });
}

QString LibraryTrack::persistentId() const {
    return connection_->locked([this](sql::Database& db) {
        sql::Statement statement(db, "SELECT persistent_id FROM tracks WHERE id = ?");
        statement.bind(1, trackId_);
        if (!statement.step())
            throw trackstore::trackGone();
        return statement.text(0);
    });
}

void LibraryTrack::deleteTrack() {
    connection_->locked([this](sql::Database& db) {
        sql::Transaction transaction(db);
        checkExists(db);
        if (itemId_)
            removeEntry(db);
        else
            trackstore::remove(db, trackId_);
        transaction.commit();
    });
}

void LibraryTrack::removeEntry(sql::Database& db) const {
    using playliststore::PlaylistKind;
    const auto playlist = playliststore::info(db, *playliststore::entryPlaylist(db, *itemId_));
    switch (playlist.kind) {
        case PlaylistKind::User:
            playliststore::removeEntry(db, *itemId_);
            break;
        case PlaylistKind::Builtin:
            // The library's own lists show the library itself: leaving one leaves the library.
            trackstore::remove(db, trackId_);
            break;
        case PlaylistKind::Smart:
        case PlaylistKind::Folder:
            throw playliststore::notEditable(playlist.name);
    }
}

void LibraryTrack::duplicateTo(const Playlist& playlist) {
    const auto* target = dynamic_cast<const LibraryPlaylist*>(&playlist);
    if (!target || target->libraryId() != connection_->libraryId())
        throw scriptingError(QStringLiteral("The playlist belongs to another music library."));
    connection_->locked([&](sql::Database& db) {
        sql::Transaction transaction(db);
        if (!trackstore::exists(db, trackId_))
            throw trackstore::trackGone();
        const auto info = playliststore::info(db, target->id());
        if (info.kind != playliststore::PlaylistKind::User)
            throw playliststore::notEditable(info.name);
        playliststore::Appender(db).append(info.id, trackId_);
        transaction.commit();
    });
}

QString LibraryTrack::identity() const {
    return QString::number(trackId_) + u'@' + connection_->libraryId();
}

bool LibraryTrack::isSameTrack(const Track& other) const {
    const auto* track = dynamic_cast<const LibraryTrack*>(&other);
    return track && track->trackId_ == trackId_ &&
           track->connection_->libraryId() == connection_->libraryId();
}

}  // namespace tessel::itunes
