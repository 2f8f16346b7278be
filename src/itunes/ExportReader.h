// Reading a "Library.xml" export on a thread of its own while the caller stores what was read:
// the reader hands over tracks and playlists in document order, a batch at a time, and never
// holds more than a few batches, so neither the document nor all its tracks are ever in memory.
#pragma once

#include <QIODevice>
#include <QMutex>
#include <QStringList>
#include <QVariant>
#include <QWaitCondition>

#include <deque>
#include <exception>
#include <memory>
#include <variant>
#include <vector>

class QThread;

namespace tessel::itunes::xmlexport {

/// One entry of the export's "Tracks" dict: the values of the keys asked for, in the order
/// asked (invalid for a key the track leaves out), and the entry's own key.
struct Track {
    QString key;
    QVariantList values;
};

/// One entry of the "Playlists" array: its simple values by key (a key whose value is a dict,
/// an array or data is there without a value), and the "Track ID" of each of its "Playlist
/// Items" (0 for an item that has none).
struct Playlist {
    QVariantMap values;
    std::vector<qint64> items;
};

/// The end of a "Tracks" dict.
struct TracksEnd {};

using Item = std::variant<Track, Playlist, TracksEnd>;

class Reader {
  public:
    /// Starts reading the device, which only the reader uses from then on. trackKeys: the
    /// track keys whose values are wanted.
    Reader(QIODevice& device, const QString& fileName, const QStringList& trackKeys);
    /// Stops the reading and waits for it.
    ~Reader();
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    /// The next items in document order; empty once the whole document was read. Throws the
    /// reading's error (an importError naming the line) when it failed.
    std::vector<Item> next();

  private:
    friend class Walker;
    /// For the reading thread: false once the reader is stopped.
    bool put(std::vector<Item>&& batch);
    void finish(std::exception_ptr error);

    QMutex mutex_;
    QWaitCondition changed_;
    std::deque<std::vector<Item>> batches_;
    bool finished_ = false;
    bool stopped_ = false;
    std::exception_ptr error_;
    std::unique_ptr<QThread> thread_;
};

}  // namespace tessel::itunes::xmlexport
