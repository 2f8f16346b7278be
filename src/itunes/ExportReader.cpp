#include "ExportReader.h"

#include "LibraryImport.h"
#include "PlistReader.h"
#include "support/FormattedString.h"

#include <QThread>

namespace tessel::itunes::xmlexport {

namespace {

// Enough items to make the hand-over rare, few enough to keep the memory small; a playlist
// weighs as much as the entries it holds.
constexpr qsizetype kBatchWeight = 256;
constexpr qsizetype kEntriesPerWeight = 256;
constexpr size_t kBatchesAhead = 4;

// Thrown on the reading thread when the reader was stopped.
struct Stopped {};

}  // namespace

// Walks the document on the reading thread and fills the batches.
class Walker {
  public:
    Walker(Reader& owner, QIODevice& device, const QString& fileName, const QStringList& keys)
        : owner_(owner), plist_(device, fileName), fileName_(fileName) {
        for (const QString& key : keys)
            keys_.push_back(key.toStdString());
    }

    void run() {
        plist_.begin();
        bool isExport = false;
        if (plist_.atDict()) {
            plist_.enter();
            std::string key;
            while (plist_.nextEntry(key)) {
                if (key == "Tracks" && plist_.atDict()) {
                    readTracks();
                    isExport = true;
                } else if (key == "Playlists" && plist_.atArray()) {
                    readPlaylists();
                    isExport = true;
                } else {
                    plist_.skip();
                }
            }
        } else {
            plist_.skip();  // a broken document fails at its line before it is refused
        }
        plist_.end();
        if (!isExport)
            throw importError(formattedString(
                QStringLiteral("“%@” is a property list, but not the export of a music library."),
                fileName_));
        handOver();
    }

  private:
    void add(Item&& item, qsizetype weight = 1) {
        batch_.push_back(std::move(item));
        weight_ += weight;
        if (weight_ >= kBatchWeight)
            handOver();
    }

    void handOver() {
        if (batch_.empty())
            return;
        if (!owner_.put(std::move(batch_)))
            throw Stopped();
        batch_ = {};
        weight_ = 0;
    }

    void readTracks() {
        plist_.enter();
        std::string key;
        while (plist_.nextEntry(key))
            add(readTrack(QString::fromStdString(key)));
        add(TracksEnd());
    }

    // A value that is no dict gives a track of no values, as an empty dict would.
    Track readTrack(const QString& entryKey) {
        Track track{entryKey, QVariantList(keys_.size())};
        if (!plist_.atDict()) {
            plist_.skip();
            return track;
        }
        plist_.enter();
        while (plist_.nextEntry(key_)) {
            const qsizetype index = indexOf(key_);
            if (index < 0)
                plist_.skip();
            else
                track.values[index] = plist_.value();
        }
        return track;
    }

    // A track has few keys worth reading among many: comparing their bytes finds them quicker
    // than hashing every key.
    qsizetype indexOf(const std::string& key) const {
        for (size_t i = 0; i < keys_.size(); ++i) {
            if (keys_[i] == key)
                return qsizetype(i);
        }
        return -1;
    }

    void readPlaylists() {
        plist_.enter();
        while (plist_.nextItem()) {
            Playlist playlist = readPlaylist();
            const qsizetype weight = 1 + qsizetype(playlist.items.size()) / kEntriesPerWeight;
            add(std::move(playlist), weight);
        }
    }

    // A value that is no dict gives a playlist of no values, as an empty dict would.
    Playlist readPlaylist() {
        Playlist playlist;
        if (!plist_.atDict()) {
            plist_.skip();
            return playlist;
        }
        plist_.enter();
        std::string key;
        while (plist_.nextEntry(key)) {
            if (key == "Playlist Items") {
                readItems(playlist.items);
            } else if (plist_.atDict() || plist_.atArray() || plist_.atData()) {
                playlist.values.insert(QString::fromStdString(key), QVariant());
                plist_.skip();
            } else {
                const QString name = QString::fromStdString(key);
                playlist.values.insert(name, plist_.value());
            }
        }
        return playlist;
    }

    // A value that is no list holds no entries.
    void readItems(std::vector<qint64>& items) {
        items.clear();
        if (!plist_.atArray()) {
            plist_.skip();
            return;
        }
        plist_.enter();
        while (plist_.nextItem()) {
            qint64 trackId = 0;
            if (plist_.atDict()) {
                plist_.enter();
                while (plist_.nextEntry(key_)) {
                    if (key_ == "Track ID")
                        trackId = plist_.value().toLongLong();
                    else
                        plist_.skip();
                }
            } else {
                plist_.skip();
            }
            items.push_back(trackId);
        }
    }

    Reader& owner_;
    plist::Reader plist_;
    QString fileName_;
    std::vector<std::string> keys_;  // UTF-8
    std::string key_;                // the key being read, keeping its room
    std::vector<Item> batch_;
    qsizetype weight_ = 0;
};

Reader::Reader(QIODevice& device, const QString& fileName, const QStringList& trackKeys) {
    thread_.reset(QThread::create([this, &device, fileName, trackKeys] {
        std::exception_ptr error;
        try {
            Walker(*this, device, fileName, trackKeys).run();
        } catch (const Stopped&) {
        } catch (...) {
            error = std::current_exception();
        }
        finish(error);
    }));
    thread_->start();
}

Reader::~Reader() {
    {
        QMutexLocker lock(&mutex_);
        stopped_ = true;
        changed_.wakeAll();
    }
    thread_->wait();
}

bool Reader::put(std::vector<Item>&& batch) {
    QMutexLocker lock(&mutex_);
    while (!stopped_ && batches_.size() >= kBatchesAhead)
        changed_.wait(&mutex_);
    if (stopped_)
        return false;
    batches_.push_back(std::move(batch));
    changed_.wakeAll();
    return true;
}

void Reader::finish(std::exception_ptr error) {
    QMutexLocker lock(&mutex_);
    finished_ = true;
    error_ = error;
    changed_.wakeAll();
}

std::vector<Item> Reader::next() {
    QMutexLocker lock(&mutex_);
    while (batches_.empty() && !finished_)
        changed_.wait(&mutex_);
    if (!batches_.empty()) {
        std::vector<Item> batch = std::move(batches_.front());
        batches_.pop_front();
        changed_.wakeAll();
        return batch;
    }
    if (error_)
        std::rethrow_exception(error_);
    return {};
}

}  // namespace tessel::itunes::xmlexport
