// The playlist files other players read: M3U8 (UTF-8, one "#EXTINF" line and one path per
// entry) and XSPF (the XML Shareable Playlist Format, version 1, with file URLs). A path is
// written absolute, or relative to a base folder, always with "/" between its parts.
#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <optional>

namespace tessel {

/// One entry of a playlist as the tracks give it.
struct PlaylistEntry {
    QString artist;
    QString title;
    QString album;
    QVariant duration;                               // seconds; absent when unknown
    QVariant number;                                 // the track number; absent or 0 when unknown
    std::optional<QString> location = std::nullopt;  // the file; absent for a dead track
    std::optional<QString> stream = std::nullopt;    // a stream's web address
};

/// A document and what went into it.
struct PlaylistText {
    QString text;
    int entries = 0;  // the entries written
    int leftOut = 0;  // the dead tracks (and paths no line can hold) left out
};

namespace playlistdocument {

/// The path of a file as the playlist names it: absolute when base is empty, else relative to
/// the folder base ("../" where it lies outside it); "/" separates its parts.
QString entryPath(const QString& file, const QString& base);

/// "#EXTM3U", then per entry "#EXTINF:seconds,Artist - Title" (-1 for an unknown duration)
/// and the path or the stream's address. A path with a line break cannot be written as a
/// line: it is left out as a dead track is.
PlaylistText m3u8(const QList<PlaylistEntry>& entries, const QString& base);

/// An XSPF document titled name: per entry its location (a percent-encoded "file://" URL, or
/// a relative URL when base is given, or the stream's address), title, creator, album,
/// duration in milliseconds and trackNum, the empty ones left out.
PlaylistText xspf(const QString& name, const QList<PlaylistEntry>& entries, const QString& base);

}  // namespace playlistdocument

}  // namespace tessel
