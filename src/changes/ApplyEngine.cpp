#include "ApplyEngine.h"

#include "foundation/StringHelpers.h"
#include "model/TrackGathering.h"
#include "support/FormattedString.h"
#include "support/OrderedJobs.h"
#include "tags/TagValue.h"

#include <QDebug>
#include <QFile>
#include <QHash>

#include <sys/stat.h>

#include <algorithm>
#include <mutex>
#include <vector>

namespace tessel {

namespace {

// The error goes to the log with the place it was caught at.
void logFailure(const TesselError& error, int line) {
    qWarning().noquote() << error.description();
    qWarning("failure %s %d", "ApplyEngine.cpp", line);
}

ApplyResult ended(ApplyResult result, ApplyResult::Outcome outcome, const QString& trackName) {
    result.outcome = outcome;
    result.trackName = trackName;
    return result;
}

bool sameText(const QVariant& current, const QVariant& stored) {
    return valueText(current) == valueText(stored);
}

// ---- tag changes ----

// The values this run has written, so that a later record of the same track expects them: the
// second half of a swap must not take the first half for a change made by someone else, and a
// track a playlist lists twice must not take its first entry's change for one. Every tag counts.
// Keyed by the track's identity, so a long run stays linear.
// Records run on several threads; those of one track run one after another in one lane, so
// the lock only keeps the map itself whole.
class WrittenValues {
  public:
    void add(const ChangeRecord& record) {
        const std::lock_guard lock(mutex_);
        values_.insert(key(record.track, record.tagToChange), record.newTag);
    }

    // The value the track should hold now: the last one this run wrote to the tag, else the
    // one read when the change was computed.
    QVariant expected(const MusicTrack& track, const QString& tag, const QVariant& read) const {
        const std::lock_guard lock(mutex_);
        return values_.value(key(track, tag), read);
    }

    bool wroteTo(const MusicTrack& track, const QString& tag) const {
        const std::lock_guard lock(mutex_);
        return values_.contains(key(track, tag));
    }

  private:
    static QString key(const MusicTrack& track, const QString& tag) {
        const QString name = tag == u"title" ? QStringLiteral("name") : tag;
        return name + u'\n' + track.identity();
    }

    mutable std::mutex mutex_;
    QHash<QString, QVariant> values_;
};

enum class Guarded { Written, AlreadyDone, Changed, Failed, Unchecked };

// Reads the track (one open of a file for the read and the write), makes the progress line,
// guards and writes. A record whose change this run already made to the same track (a track
// listed twice) is recognised as done and not written again.
Guarded guardAndWrite(const ChangeRecord& record, const WrittenValues& written, int counter,
                      qint64 count, std::optional<QString>& line) {
    QStringList tags{QStringLiteral("artist"), QStringLiteral("name")};
    if (!tags.contains(record.tagToChange))
        tags.append(record.tagToChange);
    const QVariant artist = written.expected(record.track, QStringLiteral("artist"), record.artist);
    const QVariant title = written.expected(record.track, QStringLiteral("name"), record.title);
    const QVariant old = written.expected(record.track, record.tagToChange, record.oldTag);
    const bool doneBefore =
        written.wroteTo(record.track, record.tagToChange) && sameText(old, record.newTag);
    bool alreadyDone = false;
    const auto guard = [&](const QVariantMap& values) {
        line = formattedString(QStringLiteral("%i/%lu %@"), counter, count,
                               valueText(values.value(QStringLiteral("name"))));
        // A library track's file may have been changed by another program since the
        // library last read it: its own value must still be the one the preview showed.
        const QString fileKey = MusicTrack::fileValueKey(record.tagToChange);
        const bool unchanged = sameText(values.value(QStringLiteral("artist")), artist) &&
                               sameText(values.value(QStringLiteral("name")), title) &&
                               sameText(values.value(record.tagToChange), old) &&
                               (!values.contains(fileKey) || sameText(values.value(fileKey), old));
        alreadyDone = unchanged && doneBefore;
        return unchanged && !doneBefore;
    };
    if (record.track.setTagIf(record.tagToChange, record.newTag, tags, guard))
        return Guarded::Written;
    return alreadyDone ? Guarded::AlreadyDone : Guarded::Changed;
}

QString displayName(const ChangeRecord& record) {
    if (!record.title.isEmpty() || record.track.isLibraryTrack())
        return record.title;
    return record.track.path();
}

// What became of one record, for the report in list order.
struct RecordOutcome {
    Guarded guarded = Guarded::Unchecked;
    std::optional<QString> line;  // the progress line, once the record was read
    std::optional<TesselError> error;
};

// Records of one file (by its device and inode, so another name of it counts as the same) share
// a lane and run one after another in list order; the library's records all share one lane,
// as its writes take turns on the database anyway. Two files whose keys collide only wait for
// each other. Unchecked records need none.
OrderedJobs<RecordOutcome>::Lane laneOf(const ChangeRecord& record) {
    if (!record.enabled)
        return 0;
    if (record.track.isLibraryTrack())
        return 1;
    struct stat info {};
    const QByteArray path = QFile::encodeName(record.track.path());
    const quint64 key = ::stat(path.constData(), &info) == 0
                            ? qHashMulti(0, quint64(info.st_dev), quint64(info.st_ino))
                            : qHash(path);
    return std::max<quint64>(key, 2);
}

// The tag changes of a list, guarded and written on worker threads: records of different files
// overlap, those of one file keep their order. Every record's outcome is reported in list
// order: its progress line, and the count of records written. The first failure in list order
// ends the run: no record after it starts, and those already under way finish and count.
class TagApplyRun {
  public:
    TagApplyRun(const ChangeList& list, ProgressSink& progress)
        : list_(list), progress_(progress), count_(list.records.size()) {
        // Every lane is known before the first write: a save may give a file a new inode.
        lanes_.reserve(count_);
        for (const ChangeRecord& record : list.records)
            lanes_.push_back(laneOf(record));
        const auto cancelled = [&progress] { return progress.cancelled(); };
        // A few dozen records ahead, so that a worker the system pauses does not stall the
        // others; only the records under way go on after a failure, however many wait.
        OrderedJobs<RecordOutcome> jobs(workerCount(), std::max(32, 8 * workerCount()), cancelled);
        dispatch(jobs);
        while (jobs.pending() > 0)
            report(jobs.take());
        finish();
    }

    const ApplyResult& result() const { return result_; }

  private:
    void dispatch(OrderedJobs<RecordOutcome>& jobs) {
        for (int index = 0; index < count_; ++index) {
            while (jobs.full())
                report(jobs.take());
            if (jobs.stopping())
                return;
            if (progress_.cancelled()) {
                jobs.stop();
                return;
            }
            const ChangeRecord& record = list_.records.at(index);
            if (!record.enabled)
                jobs.add([] { return RecordOutcome{}; });
            else
                jobs.add([this, &jobs, index] { return carryOut(index, jobs); }, lanes_.at(index));
        }
    }

    // On a worker thread.
    RecordOutcome carryOut(int index, OrderedJobs<RecordOutcome>& jobs) {
        const ChangeRecord& record = list_.records.at(index);
        RecordOutcome outcome;
        try {
            outcome.guarded = guardAndWrite(record, written_, index + 1, count_, outcome.line);
        } catch (const TesselError& error) {
            jobs.stopAfter(index);  // first, so that the other threads start no further record
            logFailure(error, __LINE__);
            outcome.guarded = Guarded::Failed;
            outcome.error = error;
            return outcome;
        }
        if (outcome.guarded == Guarded::Changed)
            jobs.stopAfter(index);
        else
            written_.add(record);
        return outcome;
    }

    // The next record in list order: absent when it never started.
    void report(const std::optional<RecordOutcome>& outcome) {
        const int index = reported_++;
        if (!outcome) {
            if (!firstNotStarted_)
                firstNotStarted_ = index;
            return;
        }
        if (outcome->guarded == Guarded::Unchecked)
            progress_.setProgress(formattedString(QStringLiteral("%i/%lu "), index + 1, count_));
        else if (outcome->line)
            progress_.setProgress(*outcome->line);
        switch (outcome->guarded) {
            case Guarded::Written:
            case Guarded::AlreadyDone:
                // the one place a written record is counted, in list order
                result_.written.append(index);
                ++result_.done;
                break;
            case Guarded::Changed:
            case Guarded::Failed:
                if (!failure_) {
                    failure_ = index;
                    result_.error = outcome->error;
                }
                break;
            case Guarded::Unchecked:
                break;
        }
    }

    void finish() {
        using Outcome = ApplyResult::Outcome;
        if (failure_) {
            result_.outcome = result_.error ? Outcome::Stopped : Outcome::Cancelled;
            result_.trackName = displayName(list_.records.at(*failure_));
        } else if (firstNotStarted_ || reported_ < count_) {
            result_.outcome = Outcome::Interrupted;
            result_.trackName = displayName(list_.records.at(firstNotStarted_.value_or(reported_)));
        }
    }

    const ChangeList& list_;
    ProgressSink& progress_;
    const int count_;
    std::vector<OrderedJobs<RecordOutcome>::Lane> lanes_;
    WrittenValues written_;
    ApplyResult result_;
    int reported_ = 0;
    std::optional<int> failure_;          // the first record that failed, in list order
    std::optional<int> firstNotStarted_;  // the first record the run stopped before
};

// ---- membership changes ----

struct ResolvedTrack {
    itunes::TrackPtr reference;  // names the playlist entry it was gathered through
    itunes::TrackPtr object;     // the current track object
};

ResolvedTrack resolve(const ChangeRecord& record) {
    const itunes::TrackPtr& reference = record.track.track();
    if (!reference) {
        throw itunes::scriptingError(formattedString(
            QStringLiteral("“%@” is not a track of the music library."), displayName(record)));
    }
    return {reference, reference->get()};
}

bool guardPasses(const ChangeRecord& record, const itunes::Track& object) {
    return sameText(object.property(QStringLiteral("artist")), record.artist) &&
           sameText(object.property(QStringLiteral("name")), record.title);
}

void moveFileToTrash(const itunes::Track& object) {
    const std::optional<QString> path = object.location();
    if (path && !QFile::moveToTrash(*path))
        qWarning().noquote()
            << QStringLiteral("Could not move “%1” to the trash; it stays in place.").arg(*path);
}

void removeTrack(const ResolvedTrack& track, bool trash) {
    if (trash && track.object->className() == itunes::kFileTrackClass)
        moveFileToTrash(*track.object);
    track.reference->deleteTrack();
}

void addTrack(itunes::Track& object, const itunes::Playlist& target) {
    const QList<itunes::TrackPtr> present = target.getTracks();
    for (const itunes::TrackPtr& track : present) {
        if (track->isSameTrack(object))
            return;
    }
    object.duplicateTo(target);
}

itunes::PlaylistPtr targetPlaylist(itunes::Application& application, const TargetPlaylist& choice,
                                   bool needed) {
    itunes::PlaylistPtr target = playlistWithId(application, choice.persistentId);
    if (!target && needed) {
        throw itunes::scriptingError(formattedString(
            QStringLiteral("The playlist “%@” doesn't exist anymore."), choice.name));
    }
    return target;
}

QString changesPhrase(int done, const QString& verb) {
    if (done == 0)
        return QStringLiteral("No change had been %1").arg(verb);
    if (done == 1)
        return QStringLiteral("1 change had been %1").arg(verb);
    return QStringLiteral("%1 changes had been %2").arg(done).arg(verb);
}

}  // namespace

ApplyResult applyTagChanges(const ChangeList& list, ProgressSink& progress) {
    TagApplyRun run(list, progress);
    return run.result();
}

ApplyResult applyMembershipChanges(const ChangeList& list, itunes::Application& application,
                                   const TargetPlaylist& targetChoice, ProgressSink& progress) {
    using Outcome = ApplyResult::Outcome;
    ApplyResult result;
    QString current;
    try {
        const itunes::PlaylistPtr target =
            targetPlaylist(application, targetChoice, list.remove == 0);
        progress.setProgress(QStringLiteral("Preparation"));
        QList<ResolvedTrack> working;
        QList<int> positions;
        for (qsizetype row = 0; row < list.records.size(); ++row) {
            const ChangeRecord& record = list.records.at(row);
            if (!record.enabled)
                continue;
            positions.append(int(row));
            current = displayName(record);
            if (progress.cancelled())
                return ended(result, Outcome::Interrupted, current);
            working.append(resolve(record));
            if (!guardPasses(record, *working.last().object))
                return ended(result, Outcome::Cancelled, current);
        }
        const qint64 count = working.size();
        for (qsizetype i = 0; i < working.size(); ++i) {
            const ResolvedTrack& track = working.at(i);
            if (progress.cancelled())
                return ended(result, Outcome::Interrupted, current);
            current = valueText(track.object->property(QStringLiteral("name")));
            progress.setProgress(
                formattedString(QStringLiteral("%i/%lu - %@"), i + 1, count, current));
            if (list.remove != 0)
                removeTrack(track, list.trash);
            else
                addTrack(*track.object, *target);
            result.written.append(positions.at(i));
            ++result.done;
        }
    } catch (const TesselError& error) {
        logFailure(error, __LINE__);
        result.error = error;
        return ended(result, Outcome::Stopped, current);
    }
    return result;
}

ApplyResult applyChanges(const ChangeList& list, const itunes::ApplicationProvider& application,
                         const TargetPlaylist& targetPlaylist, ProgressSink& progress) {
    if (!list.playlist)
        return applyTagChanges(list, progress);
    std::shared_ptr<itunes::Application> opened;
    try {
        if (!application)
            throw itunes::scriptingError(QStringLiteral("No music library is available."));
        opened = application();
    } catch (const TesselError& error) {
        logFailure(error, __LINE__);
        ApplyResult result;
        result.outcome = ApplyResult::Outcome::Stopped;
        result.error = error;
        return result;
    }
    return applyMembershipChanges(list, *opened, targetPlaylist, progress);
}

std::optional<AlertRequest> stoppedAlert(const ApplyResult& result, bool membership) {
    if (result.outcome != ApplyResult::Outcome::Stopped || !result.error)
        return std::nullopt;
    if (result.error->name() == errors::kUnsupportedTag)
        return okAlert(result.error->name(), result.error->reason());
    const QString reason = sentence(result.error->reason());
    if (membership) {
        const QString where = result.trackName.isEmpty()
                                  ? QString()
                                  : formattedString(QStringLiteral(" at “%@”"), result.trackName);
        return okAlert(QStringLiteral("Playlist Changes Not Completed"),
                       formattedString(QStringLiteral("The playlist changes stopped%@: %@ %@; "
                                                      "the remaining ones were not made."),
                                       where, reason, changesPhrase(result.done, "made")));
    }
    return okAlert(
        QStringLiteral("Changes Not Completed"),
        formattedString(QStringLiteral("Writing the change to “%@” failed: %@ %@; the remaining "
                                       "ones were not applied."),
                        result.trackName, reason, changesPhrase(result.done, "written")));
}

}  // namespace tessel
