#include "TrackFields.h"

#include "ITunes.h"

#include <QRandomGenerator>

namespace tessel::itunes {

const QList<TrackField>& trackFields() {
    static const QList<TrackField> fields{
        {"name", "name", false, true},
        {"artist", "artist", false, true},
        {"album", "album", false, true},
        {"lyrics", "lyrics", false, true},
        {"genre", "genre", false, true},
        {"comment", "comment", false, true},
        {"composer", "composer", false, true},
        {"albumArtist", "album_artist", false, true},
        {"playedCount", "played_count", true, true},
        {"skippedCount", "skipped_count", true, true},
        {"bpm", "bpm", true, true},
        {"rating", "rating", true, true},
        {"year", "year", true, true},
        {"volumeAdjustment", "volume_adjustment", true, true},
        {"trackNumber", "track_number", true, true},
        {"trackCount", "track_count", true, true},
        {"discNumber", "disc_number", true, true},
        {"discCount", "disc_count", true, true},
        // Stored in milliseconds; read as seconds (see LibraryTrack).
        {"duration", "duration_ms", true, false},
        {"bitRate", "bit_rate", true, false},
    };
    return fields;
}

const TrackField* trackField(const QString& key) {
    for (const TrackField& field : trackFields()) {
        if (field.key == key)
            return &field;
    }
    return nullptr;
}

QString kindName(TrackKind kind) {
    switch (kind) {
        case TrackKind::Url:
            return QStringLiteral("url");
        case TrackKind::Shared:
            return QStringLiteral("shared");
        case TrackKind::File:
            break;
    }
    return QStringLiteral("file");
}

TrackKind kindFromName(const QString& name) {
    if (name == u"url")
        return TrackKind::Url;
    if (name == u"shared")
        return TrackKind::Shared;
    return TrackKind::File;
}

QString className(TrackKind kind) {
    switch (kind) {
        case TrackKind::Url:
            return QStringLiteral("ITunesURLTrack");
        case TrackKind::Shared:
            return QStringLiteral("ITunesSharedTrack");
        case TrackKind::File:
            break;
    }
    return kFileTrackClass;
}

QString newPersistentId() {
    return QStringLiteral("%1")
        .arg(QRandomGenerator::system()->generate64(), 16, 16, QLatin1Char('0'))
        .toUpper();
}

}  // namespace tessel::itunes
