// One track: a track of the music library (through its interface) or a music file in a
// folder (through TagLib). Nothing is cached; every read goes to the library or the file.
#pragma once

#include "itunes/ITunes.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <functional>
#include <optional>

namespace tessel {

/// The rating and play count in a library track's file, as one value: the text
/// filetags::playStatsText gives ("FMPS_RATING 0.8, FMPS_PLAYCOUNT 12"). Read from the file and
/// written into it, never into the library.
inline const QString kPlayStatsTag = QStringLiteral("playStats");

class MusicTrack {
  public:
    /// A track of the library backend.
    static MusicTrack withTrack(itunes::TrackPtr track);
    /// A track of the file backend.
    static MusicTrack withPath(QString path);

    /// The value of a tag (text or number), or absent (an invalid QVariant). Throws the
    /// "Unsupported Tag" error for a tag the backend cannot give; its reason is the message
    /// the controller shows.
    QVariant valueForTag(const QString& tag) const;

    /// The values of several tags from one parse of a file (one request to the library, and a
    /// look at its file for the tags read from it); the same values and errors as valueForTag.
    /// Fresh on every call.
    QVariantMap valuesForTags(const QStringList& tags) const;

    /// Writes a tag. Throws the "Unsupported Tag" error for a tag the backend
    /// cannot take, and a TesselError when the write itself fails.
    void setTag(const QString& tag, const QVariant& value) const;

    /// Reads tags (as valuesForTags) and, when proceed accepts their values, writes a tag (as
    /// setTag). A file is opened once for both, so a checked write costs one parse and one
    /// save. Returns false, having written nothing, when proceed refuses; the same errors as
    /// valuesForTags and setTag otherwise.
    bool setTagIf(const QString& tag, const QVariant& value, const QStringList& tags,
                  const std::function<bool(const QVariantMap&)>& proceed) const;

    /// For a library track whose file takes the tag, setTagIf also gives proceed the file's
    /// own value of the tag being written, under this key; a library track's read, check and
    /// write then share one write transaction of the library.
    static QString fileValueKey(const QString& tag);

    /// valueForTag of "name", "artist" and "album" as text (absent gives a null text).
    QString title() const;
    QString artist() const;
    QString album() const;
    /// The path of the track's file: a file track's own path, a library track's file path;
    /// absent for a library track without a file.
    std::optional<QString> location() const;
    /// The web address of a library stream; absent for every other track.
    std::optional<QString> streamAddress() const;

    /// A key equal for every MusicTrack of the same library track or the same file path.
    QString identity() const;

    const itunes::TrackPtr& track() const { return track_; }
    const QString& path() const { return path_; }
    void setTrack(itunes::TrackPtr track) { track_ = std::move(track); }
    void setPath(QString path) { path_ = std::move(path); }
    bool isLibraryTrack() const { return track_ != nullptr; }

  private:
    MusicTrack() = default;

    QVariant libraryValue(const QString& tag) const;
    void setLibraryValue(const QString& tag, const QVariant& value) const;
    bool setLibraryValueIf(const QString& tag, const QVariant& value, const QStringList& tags,
                           const std::function<bool(const QVariantMap&)>& proceed) const;
    void writePlayStats(const QVariant& value) const;
    QVariantMap fileValues(const QStringList& tags) const;
    void setFileValue(const QString& tag, const QVariant& value) const;

    itunes::TrackPtr track_;
    QString path_;
};

/// The messages of the "Unsupported Tag" alert and error.
namespace unsupported {
inline const QString kFolderMessage = QStringLiteral(
    "You can operate on this tag only when selecting an iTunes playlist and not directly on a "
    "folder of files.");
inline const QString kCoverMessage =
    QStringLiteral("You can use this tag only as the search tag in the 'playlists' tool.");
}  // namespace unsupported

}  // namespace tessel
