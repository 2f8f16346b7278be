// The playlist export: artist, title, album and duration of each gathered track, as
// tab-separated text or as a small XML document, written to a file the user chooses. It reads
// tags only.
#pragma once

#include "Collection.h"
#include "support/Presenter.h"
#include "support/ProgressSink.h"

#include <QString>

#include <optional>

namespace tessel {

class PlaylistExport {
  public:
    /// The formats, by the tag of the control that starts the export.
    enum Format : int { kText = 1, kXml = 2 };

    struct Options {
        int format = kText;
        QString playlistName;  // the playlist chosen in the window, whatever the source
    };

    explicit PlaylistExport(Options options);

    /// The check on the main thread: a format of the two.
    std::optional<AlertRequest> validate() const;
    /// The file type the save dialog offers: "txt" or "xml".
    QString fileType() const;

    struct Result {
        bool gathered = false;
        QString text;    // what is saved; the tracks before an error when one stopped the loop
        int tracks = 0;  // the tracks it holds
        std::optional<TesselError> stoppedBy = std::nullopt;
    };
    /// The background run (validate() first): progress "%i/%i - %@" per track. An error reading
    /// a track ends the list there; the tracks before it stay in the text, which for XML is
    /// still closed by its footer.
    Result collect(const TrackGatherer& gather, ProgressSink& progress) const;

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
    Options options_;
};

}  // namespace tessel
