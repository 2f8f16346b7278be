// The music-library interface the program works against: the application, its sources, user
// playlists and tracks, with exactly the operations the tools rely on. Tessel's embedded
// library implements it; tests may implement it in memory.
//
// Every operation may throw a TesselError named errors::kScripting (library unavailable or
// busy, object deleted). Nothing here catches it; callers do.
#pragma once

#include "support/TesselError.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <functional>
#include <memory>
#include <optional>

namespace tessel::itunes {

class Playlist;
class Track;
using TrackPtr = std::shared_ptr<Track>;
using PlaylistPtr = std::shared_ptr<Playlist>;

/// The class name of a track backed by a local file.
inline const QString kFileTrackClass = QStringLiteral("ITunesFileTrack");

/// A scripting error with its reason.
inline TesselError scriptingError(const QString& reason) {
    return TesselError(errors::kScripting, reason);
}

/// The key under which Track::setPropertyIf gives the file's own value of a property.
inline QString fileValueKey(const QString& key) {
    return QStringLiteral("file:") + key;
}

/// A track: either a reference (as enumerated from a playlist or the selection) or the
/// current object it resolves to. Properties are read and written live; nothing is cached.
class Track {
  public:
    virtual ~Track() = default;

    /// The current track object this reference points at; throws when the track, or the
    /// playlist entry it was reached through, is gone.
    virtual TrackPtr get() const = 0;

    /// A property by key: every tag identifier ("name", "artist", ..., "discCount") plus
    /// "duration" and "bitRate". Text properties give QString, integer properties qint64;
    /// an unknown key throws.
    virtual QVariant property(const QString& key) const = 0;
    virtual void setProperty(const QString& key, const QVariant& value) = 0;

    /// Several properties read together, each under its key as property(key) gives it; the key
    /// "location" gives the file path as get()->location() does (an invalid value for none).
    /// Throws what the first failing key would throw alone.
    virtual QVariantMap properties(const QStringList& keys) const {
        QVariantMap values;
        for (const QString& key : keys) {
            if (key == u"location") {
                const std::optional<QString> path = get()->location();
                values.insert(key, path ? QVariant(*path) : QVariant());
            } else {
                values.insert(key, property(key));
            }
        }
        return values;
    }

    /// Reads the properties keys and, when proceed accepts their values, sets key to value.
    /// The library's own track reads, checks and stores the new value in one write
    /// transaction, so no other writer comes between; for a field it writes into the track's
    /// file it also gives proceed the file's own value under fileValueKey(key). Returns false,
    /// having written nothing, when proceed refuses.
    virtual bool setPropertyIf(const QString& key, const QVariant& value, const QStringList& keys,
                               const std::function<bool(const QVariantMap&)>& proceed) {
        QVariantMap values;
        for (const QString& name : keys)
            values.insert(name, property(name));
        if (!proceed(values))
            return false;
        setProperty(key, value);
        return true;
    }

    /// The path of the track's file; absent for a track without a file or whose file is
    /// missing (a dead track).
    virtual std::optional<QString> location() const = 0;
    /// Points the track at another file.
    virtual void setLocation(const QString& path) = 0;
    /// The web address of a stream; absent for every other kind of track.
    virtual std::optional<QString> streamAddress() const { return std::nullopt; }

    /// "ITunesFileTrack" for a track backed by a local file; other kinds have other names.
    virtual QString className() const = 0;

    /// On a track reached through a playlist: removes that one entry from the playlist.
    virtual void deleteTrack() = 0;

    /// Appends the track to the playlist.
    virtual void duplicateTo(const Playlist& playlist) = 0;

    /// Identity of the underlying track, whatever reference it was reached through.
    virtual bool isSameTrack(const Track& other) const = 0;
    /// A key equal for every reference to the same track of the same library, and different
    /// for every other track: what isSameTrack compares, usable as a hash key.
    virtual QString identity() const = 0;
};

class Playlist {
  public:
    virtual ~Playlist() = default;

    virtual QString name() const = 0;
    /// The identity the library keeps for the playlist whatever its name: 16 hexadecimal
    /// digits. Two playlists may share a name, never a persistent ID.
    virtual QString persistentId() const = 0;
    /// True for smart playlists and for other lists that cannot be edited by hand.
    virtual bool smart() const = 0;
    /// References to the playlist's entries, in playlist order.
    virtual QList<TrackPtr> tracks() const = 0;
    /// The current track objects of all entries, resolved in one request.
    virtual QList<TrackPtr> getTracks() const = 0;
    /// Identity of the playlist.
    virtual bool isSamePlaylist(const Playlist& other) const = 0;

    /// Renames the playlist; the library's own lists refuse.
    virtual void setName(const QString& name) = 0;
    /// Deletes the playlist (its tracks stay in the library); lists that cannot be edited by
    /// hand (smart() is true) refuse.
    virtual void deletePlaylist() = 0;
    /// True for a folder of playlists.
    virtual bool isFolder() const { return false; }
    /// The persistent ID of the folder that holds the playlist; empty at the top level.
    virtual QString folderId() const { return {}; }
};

/// Which user playlists to return; an unset field does not filter.
struct PlaylistFilter {
    std::optional<QString> name;
    std::optional<bool> smart;
    std::optional<QString> persistentId;  // compared without regard to letter case

    static PlaylistFilter named(const QString& name) { return {name, std::nullopt, std::nullopt}; }
    static PlaylistFilter withId(const QString& id) { return {std::nullopt, std::nullopt, id}; }
    static PlaylistFilter editable() { return {std::nullopt, false, std::nullopt}; }
};

/// What the playlist menus show of a playlist and how a choice names it again.
struct PlaylistSummary {
    QString name;
    QString persistentId;
    bool smart = false;
};

class Source {
  public:
    virtual ~Source() = default;

    virtual QString name() const = 0;
    /// The user's playlists in library order, filtered.
    virtual QList<PlaylistPtr> userPlaylists(const PlaylistFilter& filter = {}) const = 0;
    /// The names, persistent IDs and kinds of the user playlists, read in one request.
    virtual QList<PlaylistSummary> userPlaylistSummaries(
        const PlaylistFilter& filter = {}) const = 0;
    /// Creates an empty user playlist of that name at the end of the library order.
    virtual PlaylistPtr makePlaylist(const QString& name) = 0;
};

class Application {
  public:
    virtual ~Application() = default;

    /// The sources; the first is the library.
    virtual QList<std::shared_ptr<Source>> sources() const = 0;
    /// References to the tracks currently selected, in selection order.
    virtual QList<TrackPtr> selection() const = 0;
    /// The number of tracks selected, without reading them.
    virtual int selectionCount() const = 0;
    /// Makes these tracks the selection, in this order; a reference reached through a
    /// playlist keeps its entry. A track or entry that is gone leaves the selection as it was.
    virtual void select(const QList<TrackPtr>& tracks) = 0;

    /// Renames a music file on disk, never over an existing file, and in the same step points
    /// every file track stored at from to the new path, so its playlists keep it. When the
    /// move or the library's change fails, both stay as they were and a TesselError says why.
    virtual void renameFile(const QString& from, const QString& to) = 0;
};

/// Obtains the application object anew for each use; throws a scripting error when the
/// library cannot be opened.
using ApplicationProvider = std::function<std::shared_ptr<Application>()>;

}  // namespace tessel::itunes
