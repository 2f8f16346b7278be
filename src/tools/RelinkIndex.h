// What the re-linking tool searches: the audio files below one folder with the artists, title
// and album their tags give, read once and then asked once per dead track.
#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

namespace tessel {

/// One audio file as a search finds it.
struct RelinkCandidate {
    QString path;  // full path
    QString fileName;
    QString album;
    QString title;
    QStringList artists;
};

class RelinkIndex {
  public:
    /// Called now and then while the files are read: files read so far, files in all, the
    /// name of the file being read.
    using Progress = std::function<void(int done, int count, const QString& fileName)>;

    /// Reads the tags of every music file below folder, at any depth (no pipes or devices;
    /// files whose names are not UTF-8 are passed over). A folder that is missing or cannot
    /// be read gives an empty index. Stops early, with what it has, once cancel turns true.
    static RelinkIndex build(const QString& folder, const Progress& progress = {},
                             const std::atomic<bool>* cancel = nullptr);

    /// The files whose title and album equal these and one of whose artists equals artist,
    /// all compared exactly (letter case included), in listing order. An empty artist or
    /// title finds nothing: it would take any untagged file for the track.
    QList<RelinkCandidate> find(const QString& artist, const QString& title,
                                const QString& album) const;

    /// The number of files read.
    int size() const { return int(files_.size()); }

    /// Adds one file; for building an index without reading files.
    void add(RelinkCandidate candidate);

  private:
    QList<RelinkCandidate> files_;
    QHash<QString, QList<int>> byTitleAndAlbum_;
};

}  // namespace tessel
