// Pieces the tool tests share: a library track held in memory, a progress sink that records
// its lines, gatherers, and fixture copies with chosen tags.
#pragma once

#include "TestSupport.h"
#include "itunes/ITunes.h"
#include "model/MusicTrack.h"
#include "support/ProgressSink.h"
#include "tools/Collection.h"

#include <QList>
#include <QPair>
#include <QStringList>
#include <QVariantMap>

#include <memory>
#include <optional>

namespace tessel::test {

/// A library track with its properties in a map. Reading the key in failingKey throws a
/// scripting error, as a track deleted meanwhile does.
class InMemoryTrack : public itunes::Track, public std::enable_shared_from_this<InMemoryTrack> {
  public:
    static std::shared_ptr<InMemoryTrack> make(
        QVariantMap properties, std::optional<QString> location = QString("/m.mp3")) {
        auto track = std::make_shared<InMemoryTrack>();
        track->properties = std::move(properties);
        track->path = std::move(location);
        return track;
    }

    itunes::TrackPtr get() const override {
        return std::const_pointer_cast<InMemoryTrack>(shared_from_this());
    }
    QVariant property(const QString& key) const override {
        if (key == failingKey)
            throw itunes::scriptingError(QStringLiteral("The track is gone."));
        return properties.value(key);
    }
    void setProperty(const QString& key, const QVariant& value) override {
        if (key == failingKey)
            throw itunes::scriptingError(QStringLiteral("The track is gone."));
        properties.insert(key, value);
        writes.append({key, value});
    }
    std::optional<QString> location() const override { return path; }
    void setLocation(const QString& location) override { path = location; }
    std::optional<QString> streamAddress() const override { return stream; }
    QString className() const override { return itunes::kFileTrackClass; }
    void deleteTrack() override {}
    void duplicateTo(const itunes::Playlist&) override {}
    bool isSameTrack(const Track& other) const override { return &other == this; }
    QString identity() const override {
        return QString::number(reinterpret_cast<quintptr>(this), 16);
    }

    QVariantMap properties;
    std::optional<QString> path;
    std::optional<QString> stream;
    QString failingKey;
    QList<QPair<QString, QVariant>> writes;
};

class RecordingProgress : public ProgressSink {
  public:
    void setProgress(const QString& detail) override { lines.append(detail); }
    QStringList lines;
};

inline MusicTrack libraryTrack(const QVariantMap& properties,
                               std::optional<QString> location = QString("/m.mp3")) {
    return MusicTrack::withTrack(InMemoryTrack::make(properties, std::move(location)));
}

inline TrackGatherer gathering(QList<MusicTrack> tracks) {
    return [tracks] { return std::optional(GatheredTracks{tracks, {}}); };
}

inline TrackGatherer failedGathering() {
    return [] { return std::optional<GatheredTracks>(); };
}

/// A copy of the fixture with the given tags written into it, as a file track.
inline MusicTrack fileTrack(const TempFolder& folder, const QString& as, const QVariantMap& tags,
                            const QString& fixture = QStringLiteral("tagged.mp3")) {
    const MusicTrack track = MusicTrack::withPath(folder.copyFixture(fixture, as));
    for (auto it = tags.begin(); it != tags.end(); ++it)
        track.setTag(it.key(), it.value());
    return track;
}

}  // namespace tessel::test
