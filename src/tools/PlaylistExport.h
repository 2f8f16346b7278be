// The playlist export: artist, title, album and duration of each gathered track, as
// tab-separated text or as a small XML document, or the playlist itself as M3U8 or XSPF for
// other players, written to a file the user chooses. It reads tags only.
#pragma once

#include "Collection.h"
#include "PlaylistDocument.h"
#include "support/Presenter.h"
#include "support/ProgressSink.h"

#include <QString>

#include <optional>

namespace tessel {

class PlaylistExport {
  public:
    /// The formats, by the tag of the control that starts the export.
    enum Format : int { kText = 1, kXml = 2, kM3u8 = 3, kXspf = 4 };
    /// How M3U8 and XSPF name the files.
    enum PathStyle : int { kAbsolute = 0, kRelativeToFolder = 1, kRelativeToPlaylist = 2 };

    struct Options {
        int format = kText;
        QString playlistName;  // the playlist chosen in the window, whatever the source
        int pathStyle = kAbsolute;
        QString folder = {};  // the folder of kRelativeToFolder
    };

    explicit PlaylistExport(Options options);

    /// The check on the main thread: a format of the four, and a folder for paths relative to
    /// one.
    std::optional<AlertRequest> validate() const;
    /// The file type the save dialog offers: "txt", "xml", "m3u8" or "xspf".
    QString fileType() const;
    /// True for the formats that name the tracks' files (M3U8 and XSPF).
    bool isPlaylistFile() const { return options_.format == kM3u8 || options_.format == kXspf; }

    struct Result {
        bool gathered = false;
        QString text;    // text or XML: what is saved; the tracks before an error when one
                         // stopped the loop
        int tracks = 0;  // the tracks read
        std::optional<TesselError> stoppedBy = std::nullopt;
        QList<PlaylistEntry> entries = {};  // M3U8 and XSPF: the tracks read
    };
    /// The background run (validate() first): progress "%i/%i - %@" per track. An error reading
    /// a track ends the list there; the tracks before it stay in the text, which for XML is
    /// still closed by its footer.
    Result collect(const TrackGatherer& gather, ProgressSink& progress) const;
    /// The same over a list of tracks.
    Result collectTracks(const QList<MusicTrack>& tracks, ProgressSink& progress) const;

    /// What is saved to path: the collected text, or the M3U8 or XSPF document with its paths
    /// as the options ask (relative to path's folder for kRelativeToPlaylist), dead tracks left
    /// out and counted.
    PlaylistText document(const Result& result, const QString& path) const;

    /// One track: "artist\ttitle\talbum\tduration\n" or its XML element.
    QString trackText(const QString& artist, const QString& title, const QString& album,
                      const QVariant& duration) const;
    /// A duration in seconds taken in single precision, with one decimal ("%0.1f"); none is
    /// "0.0".
    static QString durationText(const QVariant& duration);
    /// Text for a single-quoted XML attribute value: &, < and ' as entity references.
    static QString attributeText(const QString& text);

    /// Writes text as UTF-8 without a byte-order mark to path, through a temporary file beside
    /// it that is renamed over path once complete, so path holds the old file or the whole new
    /// one. Throws a TesselError "Export Failed" saying why when it cannot.
    static void save(const QString& path, const QString& text);

  private:
    PlaylistEntry entry(const MusicTrack& track, const QVariantMap& values) const;

    Options options_;
};

}  // namespace tessel
