#include "MemoryLibrary.h"

#include "foundation/FileHelpers.h"

#include <algorithm>

namespace tessel::test {

namespace {

using Data = MemoryLibrary::Data;

class Track : public itunes::Track {
  public:
    Track(std::shared_ptr<Data> data, MemoryTrack track, MemoryPlaylist playlist, int entry)
        : data_(std::move(data)),
          track_(std::move(track)),
          playlist_(std::move(playlist)),
          entry_(entry) {}

    itunes::TrackPtr get() const override {
        if (track_->deleted)
            throw itunes::scriptingError(QStringLiteral("The track no longer exists."));
        if (playlist_ && !hasEntry())
            throw itunes::scriptingError(QStringLiteral("The playlist entry no longer exists."));
        return std::make_shared<Track>(data_, track_, nullptr, 0);
    }

    QVariant property(const QString& key) const override {
        if (track_->deleted)
            throw itunes::scriptingError(QStringLiteral("The track no longer exists."));
        return track_->properties.value(key);
    }

    void setProperty(const QString& key, const QVariant& value) override {
        if (track_->deleted || track_->failWrites)
            throw itunes::scriptingError(QStringLiteral("The library refused the change."));
        track_->properties.insert(key, value);
        if (track_->afterWrite)
            track_->afterWrite();
    }

    std::optional<QString> location() const override { return track_->location; }
    void setLocation(const QString& path) override { track_->location = path; }
    QString className() const override { return track_->className; }

    void deleteTrack() override {
        if (!playlist_ || !hasEntry())
            throw itunes::scriptingError(QStringLiteral("The track is in no playlist."));
        playlist_->entries.removeIf([this](const MemoryEntry& e) { return e.id == entry_; });
    }

    void duplicateTo(const itunes::Playlist& playlist) override;

    bool isSameTrack(const itunes::Track& other) const override {
        const auto* track = dynamic_cast<const Track*>(&other);
        return track && track->track_ == track_;
    }

    QString identity() const override {
        return QString::number(reinterpret_cast<quintptr>(track_.get()), 16);
    }

    const MemoryTrack& data() const { return track_; }

  private:
    bool hasEntry() const {
        return std::any_of(playlist_->entries.cbegin(), playlist_->entries.cend(),
                           [this](const MemoryEntry& e) { return e.id == entry_; });
    }

    std::shared_ptr<Data> data_;
    MemoryTrack track_;
    MemoryPlaylist playlist_;
    int entry_;
};

class Playlist : public itunes::Playlist {
  public:
    Playlist(std::shared_ptr<Data> data, MemoryPlaylist playlist)
        : data_(std::move(data)), playlist_(std::move(playlist)) {}

    QString name() const override { return playlist_->name; }
    QString persistentId() const override { return playlist_->persistentId; }
    bool smart() const override { return playlist_->smart; }

    QList<itunes::TrackPtr> tracks() const override {
        QList<itunes::TrackPtr> references;
        for (const MemoryEntry& entry : playlist_->entries)
            references.append(std::make_shared<Track>(data_, entry.track, playlist_, entry.id));
        return references;
    }

    QList<itunes::TrackPtr> getTracks() const override {
        QList<itunes::TrackPtr> objects;
        for (const itunes::TrackPtr& reference : tracks())
            objects.append(reference->get());
        return objects;
    }

    bool isSamePlaylist(const itunes::Playlist& other) const override {
        const auto* playlist = dynamic_cast<const Playlist*>(&other);
        return playlist && playlist->playlist_ == playlist_;
    }

    void setName(const QString& name) override { playlist_->name = name; }

    void deletePlaylist() override {
        if (playlist_->smart)
            throw itunes::scriptingError(QStringLiteral("A smart playlist cannot be deleted."));
        data_->playlists.removeAll(playlist_);
    }

    const MemoryPlaylist& data() const { return playlist_; }

  private:
    std::shared_ptr<Data> data_;
    MemoryPlaylist playlist_;
};

void Track::duplicateTo(const itunes::Playlist& playlist) {
    const auto* target = dynamic_cast<const Playlist*>(&playlist);
    if (!target)
        throw itunes::scriptingError(QStringLiteral("Not a playlist of this library."));
    target->data()->entries.append({data_->nextEntry++, track_});
}

bool matches(const MemoryPlaylistData& playlist, const itunes::PlaylistFilter& filter) {
    return (!filter.name || playlist.name == *filter.name) &&
           (!filter.smart || playlist.smart == *filter.smart) &&
           (!filter.persistentId ||
            playlist.persistentId.compare(*filter.persistentId, Qt::CaseInsensitive) == 0);
}

class Source : public itunes::Source {
  public:
    explicit Source(std::shared_ptr<Data> data) : data_(std::move(data)) {}

    QString name() const override { return QStringLiteral("Library"); }

    QList<itunes::PlaylistPtr> userPlaylists(const itunes::PlaylistFilter& filter) const override {
        QList<itunes::PlaylistPtr> playlists;
        for (const MemoryPlaylist& playlist : data_->playlists) {
            if (matches(*playlist, filter))
                playlists.append(std::make_shared<Playlist>(data_, playlist));
        }
        return playlists;
    }

    QList<itunes::PlaylistSummary> userPlaylistSummaries(
        const itunes::PlaylistFilter& filter) const override {
        QList<itunes::PlaylistSummary> summaries;
        for (const MemoryPlaylist& playlist : data_->playlists) {
            if (matches(*playlist, filter))
                summaries.append({playlist->name, playlist->persistentId, playlist->smart});
        }
        return summaries;
    }

    itunes::PlaylistPtr makePlaylist(const QString& name) override {
        auto playlist = std::make_shared<MemoryPlaylistData>();
        playlist->name = name;
        playlist->persistentId =
            QStringLiteral("%1").arg(data_->nextPlaylist++, 16, 10, QLatin1Char('0'));
        data_->playlists.append(playlist);
        return std::make_shared<Playlist>(data_, playlist);
    }

  private:
    std::shared_ptr<Data> data_;
};

class Application : public itunes::Application {
  public:
    explicit Application(std::shared_ptr<Data> data) : data_(std::move(data)) {}

    QList<std::shared_ptr<itunes::Source>> sources() const override {
        return {std::make_shared<Source>(data_)};
    }

    QList<itunes::TrackPtr> selection() const override {
        QList<itunes::TrackPtr> references;
        for (const MemoryTrack& track : data_->selection)
            references.append(std::make_shared<Track>(data_, track, nullptr, 0));
        return references;
    }

    int selectionCount() const override { return int(data_->selection.size()); }

    void select(const QList<itunes::TrackPtr>& tracks) override {
        QList<MemoryTrack> chosen;
        for (const itunes::TrackPtr& track : tracks) {
            const auto* own = dynamic_cast<const Track*>(track.get());
            if (!own)
                throw itunes::scriptingError(QStringLiteral("Not a track of this library."));
            chosen.append(own->data());
        }
        data_->selection = chosen;
    }

    // The file moves first; the tracks of its playlists follow when it moved.
    void renameFile(const QString& from, const QString& to) override {
        if (data_->refuseRenames)
            throw itunes::scriptingError(QStringLiteral("The library refused the change."));
        if (const std::optional<QString> why = moveWithoutReplacing(from, to))
            throw TesselError(QStringLiteral("Rename Failed"), *why);
        for (const MemoryPlaylist& playlist : data_->playlists) {
            for (const MemoryEntry& entry : playlist->entries) {
                if (entry.track->location == from)
                    entry.track->location = to;
            }
        }
    }

  private:
    std::shared_ptr<Data> data_;
};

}  // namespace

MemoryTrack MemoryLibrary::addTrack(const QString& name, const QString& artist,
                                    std::optional<QString> location) {
    auto track = std::make_shared<MemoryTrackData>();
    track->properties = {{QStringLiteral("name"), name}, {QStringLiteral("artist"), artist}};
    track->location = std::move(location);
    return track;
}

MemoryPlaylist MemoryLibrary::addPlaylist(const QString& name, bool smart) {
    auto playlist = std::make_shared<MemoryPlaylistData>();
    playlist->name = name;
    playlist->persistentId =
        QStringLiteral("%1").arg(data_->nextPlaylist++, 16, 10, QLatin1Char('0'));
    playlist->smart = smart;
    data_->playlists.append(playlist);
    return playlist;
}

void MemoryLibrary::append(const MemoryPlaylist& playlist, const MemoryTrack& track) {
    playlist->entries.append({data_->nextEntry++, track});
}

itunes::ApplicationProvider MemoryLibrary::provider() {
    return [data = data_]() -> std::shared_ptr<itunes::Application> {
        return std::make_shared<Application>(data);
    };
}

itunes::TrackPtr MemoryLibrary::reference(const MemoryPlaylist& playlist, int index) {
    return std::make_shared<Track>(data_, playlist->entries.at(index).track, playlist,
                                   playlist->entries.at(index).id);
}

QStringList MemoryLibrary::names(const MemoryPlaylist& playlist) {
    QStringList names;
    for (const MemoryEntry& entry : playlist->entries)
        names.append(entry.track->properties.value(QStringLiteral("name")).toString());
    return names;
}

}  // namespace tessel::test
