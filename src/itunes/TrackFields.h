// The track properties the library stores: each property key with its column and kind.
// Column names come only from this table, never from input.
#pragma once

#include <QString>
#include <QStringList>

namespace tessel::itunes {

struct TrackField {
    QString key;         // the property key: "name", "albumArtist", "trackNumber", ...
    const char* column;  // its column in the tracks table
    bool integer;        // integer property (qint64) or text (QString)
    bool writable;       // false for what the file decides: "duration", "bitRate"
};

/// Every track property, catalogue order, then "duration" and "bitRate".
const QList<TrackField>& trackFields();

/// The field of a property key; null for an unknown key.
const TrackField* trackField(const QString& key);

/// The kinds of track and their class names.
enum class TrackKind { File, Url, Shared };
QString kindName(TrackKind kind);  // "file", "url", "shared"
TrackKind kindFromName(const QString& name);
QString className(TrackKind kind);  // "ITunesFileTrack", "ITunesURLTrack", "ITunesSharedTrack"

/// A new persistent ID: 16 upper-case hexadecimal digits, as the music players write them.
QString newPersistentId();

}  // namespace tessel::itunes
