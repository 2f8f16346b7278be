// A track of the library database, reached through a playlist entry or directly. A reference
// reached through a playlist names that entry: get() fails once the entry is gone, and
// deleteTrack() removes that one entry. Every property is read from the database on each
// call, so changes made through another connection are seen at once.
#pragma once

#include "Connection.h"
#include "ITunes.h"
#include "TrackFields.h"

#include <optional>

namespace tessel::itunes {

class LibraryTrack final : public Track {
  public:
    LibraryTrack(ConnectionPtr connection, qint64 trackId, std::optional<qint64> itemId);

    TrackPtr get() const override;
    /// Also "title" for "name". "duration" is in seconds (a double), "bitRate" in kbit/s.
    QVariant property(const QString& key) const override;
    /// One request to the library for all the keys; a file's presence is looked at after it.
    QVariantMap properties(const QStringList& keys) const override;
    /// Setting a tag of a file track whose file exists also writes the field into the file,
    /// recorded in the write journal until the file holds it; when the file cannot be written
    /// the library gets its old value back and the write error (errors::kTagWrite) is thrown.
    /// "duration" and "bitRate" belong to the file and cannot be set.
    void setProperty(const QString& key, const QVariant& value) override;
    /// As setProperty, once proceed has accepted the values read in the same transaction.
    bool setPropertyIf(const QString& key, const QVariant& value, const QStringList& keys,
                       const std::function<bool(const QVariantMap&)>& proceed) override;
    std::optional<QString> location() const override;
    /// Only file tracks can be pointed at a file; the path is stored absolute.
    void setLocation(const QString& path) override;
    std::optional<QString> streamAddress() const override;
    QString className() const override;
    /// Through an entry of a user playlist: removes that entry. Through an entry of one of the
    /// library's own lists (Music, Podcasts, …), or without an entry: removes the track from
    /// the library. Smart playlists and folders refuse.
    void deleteTrack() override;
    /// Appends the track to a user playlist of the same library; other lists refuse.
    void duplicateTo(const Playlist& playlist) override;
    bool isSameTrack(const Track& other) const override;
    QString identity() const override;

    qint64 trackId() const { return trackId_; }
    std::optional<qint64> itemId() const { return itemId_; }
    const QString& libraryId() const { return connection_->libraryId(); }
    QString persistentId() const;
    TrackKind kind() const;
    /// The stored location whether or not a file is there (a stream's address for streams).
    std::optional<QString> storedLocation() const;

  private:
    void checkExists(sql::Database& db) const;
    void removeEntry(sql::Database& db) const;
    bool change(const TrackField& field, const QVariant& value, const QStringList& keys,
                const std::function<bool(const QVariantMap&)>& proceed);
    std::optional<QString> throughPath(const QString& key) const;

    ConnectionPtr connection_;
    qint64 trackId_;
    std::optional<qint64> itemId_;
};

}  // namespace tessel::itunes
