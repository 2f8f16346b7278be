#include "CollectChanges.h"

#include "support/OrderedJobs.h"
#include "support/TesselError.h"
#include "tags/TagValue.h"

#include <QDebug>

#include <deque>
#include <exception>
#include <optional>
#include <vector>

namespace tessel {

namespace {

// How many tracks one job of the workers reads: enough that handing jobs between threads
// costs little next to the parses, few enough that the workers share the last ones evenly.
constexpr std::size_t kBatchSize = 16;
// How many batches may be read ahead of the loop. While a large folder is still being listed
// the loop takes none, so this lets the reads keep pace with the listing; the values held
// stay within a few megabytes.
constexpr int kReadWindow = 256;

// One track's read: its values, or what the read threw.
struct TrackRead {
    QVariantMap values;
    std::exception_ptr error;
};

// The values of the tracks, one read each, in the order the gathering found them. The files
// of a folder are parsed ahead on worker threads, a batch of tracks per job, from the moment
// they are found; a library track is read on the loop's own thread, where a read of the
// library costs little and its connection is used one request at a time anyway.
class TrackReads {
  public:
    explicit TrackReads(QStringList tags) : tags_(std::move(tags)) {}

    // A track the gathering found.
    void found(const MusicTrack& track) {
        if (!track.isLibraryTrack()) {
            filling_.push_back(track);
            if (filling_.size() == kBatchSize)
                endBatch(true);
        } else if (filling_.empty() && !batches_.empty() && !batches_.back().onWorkers) {
            batches_.back().tracks.push_back(track);
            ++batches_.back().count;
        } else {
            endBatch(true);
            batches_.push_back(Batch{{track}, 1, false});
        }
        startBatches();
    }

    // The gathering is over. A lone file is read on the loop's thread, as a list of one.
    void gathered() { endBatch(workers_ || !batches_.empty() || filling_.size() > 1); }

    // The values of the next track; throws what its read threw.
    QVariantMap next() {
        startBatches();
        const Batch& batch = batches_.front();
        if (batch.onWorkers && taken_ == 0)
            current_ = *workers_->take();
        const std::size_t index = taken_++;
        TrackRead read =
            batch.onWorkers ? std::move(current_[index]) : readOne(batch.tracks[index], tags_);
        if (taken_ == batch.count) {
            batches_.pop_front();
            --started_;
            taken_ = 0;
        }
        if (read.error)
            std::rethrow_exception(read.error);
        return std::move(read.values);
    }

  private:
    struct Batch {
        std::vector<MusicTrack> tracks;  // a batch for the workers hands them its tracks
        std::size_t count = 0;
        bool onWorkers = false;
    };

    static TrackRead readOne(const MusicTrack& track, const QStringList& tags) {
        TrackRead read;
        try {
            read.values = track.valuesForTags(tags);
        } catch (...) {
            read.error = std::current_exception();
        }
        return read;
    }

    // Reads a batch in order; a read that fails ends it, as the loop stops at that track.
    static std::vector<TrackRead> readAll(const std::vector<MusicTrack>& tracks,
                                          const QStringList& tags) {
        std::vector<TrackRead> reads;
        reads.reserve(tracks.size());
        for (const MusicTrack& track : tracks) {
            reads.push_back(readOne(track, tags));
            if (reads.back().error)
                break;
        }
        reads.resize(tracks.size());
        return reads;
    }

    void endBatch(bool onWorkers) {
        if (filling_.empty())
            return;
        const std::size_t count = filling_.size();
        batches_.push_back(Batch{std::move(filling_), count, onWorkers});
        filling_ = {};
    }

    // Hands the workers the batches found and not yet started, as far as the window allows.
    void startBatches() {
        for (; started_ < batches_.size(); ++started_) {
            Batch& batch = batches_[started_];
            if (!batch.onWorkers)
                continue;
            if (!workers_)
                workers_.emplace(workerCount(), kReadWindow);
            if (workers_->full())
                return;
            workers_->add(
                [tracks = std::move(batch.tracks), this] { return readAll(tracks, tags_); });
        }
    }

    const QStringList tags_;
    std::vector<MusicTrack> filling_;  // file tracks found since the last batch
    std::deque<Batch> batches_;        // found and not yet wholly taken, in order
    std::size_t started_ = 0;          // how many of batches_ are under way or need no job
    std::vector<TrackRead> current_;   // the reads of the workers' batch being taken
    std::size_t taken_ = 0;            // tracks taken of the front batch
    // Last, so that it is destroyed first: no further read starts, those under way finish.
    std::optional<OrderedJobs<std::vector<TrackRead>>> workers_;
};

// A library track without a file: dead when it is a file track, else a stream or the like.
void passOverFileless(const MusicTrack& track, QList<PassedOver>& passedOver) {
    if (track.isLibraryTrack() && track.track()->className() == itunes::kFileTrackClass)
        passOver(passedOver, QStringLiteral("track whose file is missing"),
                 QStringLiteral("tracks whose files are missing"));
    else
        passOver(passedOver, QStringLiteral("track without a file of its own"),
                 QStringLiteral("tracks without a file of their own"));
}

}  // namespace

Collection collectChanges(const TrackGatherer& gather, ProgressSink& progress,
                          const QStringList& tags, const ProposeFn& propose, FileNeed need) {
    QStringList toRead{QStringLiteral("name"), QStringLiteral("artist")};
    for (const QString& tag : tags) {
        if (!toRead.contains(tag))
            toRead.append(tag);
    }
    const QString location = QStringLiteral("location");
    if (need == FileNeed::Required && !toRead.contains(location))
        toRead.append(location);

    Collection result;
    TrackReads reads(toRead);
    bool stopped = false;
    qsizetype told = 0;
    const std::optional<GatheredTracks> gathered = gather([&](const MusicTrack& track) {
        stopped = progress.cancelled();
        if (!stopped) {
            reads.found(track);
            ++told;
        }
        return !stopped;
    });
    if (!gathered)
        return result;
    result.gathered = true;
    result.passedOver = gathered->passedOver;
    result.cancelled = stopped;
    const QList<MusicTrack>& tracks = gathered->tracks;
    // Tracks the gatherer gave without telling of them are read in their turn all the same.
    for (qsizetype i = told; i < tracks.size() && !stopped; ++i)
        reads.found(tracks.at(i));
    reads.gathered();

    const auto count = static_cast<int>(tracks.size());
    // "%i/%i - %@": the position from 1, the count and the title.
    const QString ofCount = QStringLiteral("/%1 - ").arg(count);
    const QString name = QStringLiteral("name");
    for (int i = 0; i < count && !result.cancelled; ++i) {
        if (progress.cancelled()) {
            result.cancelled = true;
            break;
        }
        const MusicTrack& track = tracks.at(i);
        try {
            const QVariantMap values = reads.next();
            progress.setProgress(QString::number(i + 1) + ofCount + valueText(values.value(name)));
            if (need == FileNeed::Required && isAbsent(values.value(location))) {
                passOverFileless(track, result.passedOver);
                continue;
            }
            propose(track, values, result);
        } catch (const TesselError& error) {
            qWarning().noquote() << error.description();
            result.stoppedBy = error;
            break;
        }
    }
    return result;
}

Collection collectNewTexts(const TrackGatherer& gather, ProgressSink& progress, const QString& tag,
                           const TextTransform& transform, FileNeed need) {
    const auto propose = [&](const MusicTrack& track, const QVariantMap& values,
                             Collection& found) {
        const QVariant value = values.value(tag);
        if (isAbsent(value))
            return;
        const QString text = valueText(value);
        const std::optional<QString> changed = transform(text);
        if (changed && *changed != text)
            found.records.append(changeOf(track, values, tag, value, *changed));
    };
    return collectChanges(gather, progress, {tag}, propose, need);
}

ChangeRecord changeOf(const MusicTrack& track, const QVariantMap& values, const QString& tag,
                      const QVariant& oldValue, const QVariant& newValue) {
    return tagChange(track, valueText(values.value(QStringLiteral("name"))),
                     valueText(values.value(QStringLiteral("artist"))), tag, oldValue, newValue);
}

}  // namespace tessel
