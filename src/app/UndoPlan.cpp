#include "UndoPlan.h"

#include "itunes/LibraryTrack.h"
#include "model/TrackGathering.h"
#include "support/FormattedString.h"
#include "tags/FileTags.h"
#include "tags/TagValue.h"

#include <QDebug>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>

namespace tessel {

namespace {

using itunes::RunRecord;

bool sameText(const QVariant& a, const QVariant& b) {
    return valueText(a) == valueText(b);
}

QString shownName(const RunRecord& record) {
    if (!record.title.isEmpty())
        return record.artist.isEmpty()
                   ? record.title
                   : formattedString(QStringLiteral("%@ – %@"), record.artist, record.title);
    return record.path;
}

QString leftAloneLine(const RunRecord& record, const QString& why) {
    return formattedString(QStringLiteral("%@: %@"), shownName(record), why);
}

// What a library track's file holds of the tag when another program changed it behind the
// library's back; absent when it agrees with the library (or the tag stays in the library).
std::optional<QVariant> fileDisagrees(const MusicTrack& track, const QString& tag,
                                      const QVariant& current) {
    const QString key = tag == u"title" ? QStringLiteral("name") : tag;
    if (!track.isLibraryTrack() || !filetags::isWritableThrough(key))
        return std::nullopt;
    const std::optional<QString> path = track.track()->location();
    const QVariantMap inFile = path ? filetags::readForLibrary(*path) : QVariantMap();
    if (inFile.isEmpty() || sameText(inFile.value(key), current))
        return std::nullopt;
    return inFile.value(key);
}

// The records of one tag of one track, in run order.
struct TagGroup {
    QList<RunRecord> records;
    bool anyWritten() const {
        return std::any_of(records.begin(), records.end(), [](const RunRecord& record) {
            return record.state == RunRecord::State::Written;
        });
    }
};

QString groupKey(const RunRecord& record) {
    return (record.trackId ? QString::number(*record.trackId) : record.path) + u'\n' + record.tag;
}

QList<TagGroup> tagGroups(const QList<RunRecord>& records) {
    QList<TagGroup> groups;
    QHash<QString, qsizetype> index;
    for (const RunRecord& record : records) {
        const QString key = groupKey(record);
        if (!index.contains(key)) {
            index.insert(key, groups.size());
            groups.append(TagGroup{});
        }
        groups[index.value(key)].records.append(record);
    }
    return groups;
}

class Planner {
  public:
    Planner(const itunes::RunJournal& journal, itunes::Application& application, UndoPlan& plan)
        : journal_(journal), application_(application), plan_(plan) {}

    void planTags(const QList<RunRecord>& records, ProgressSink& progress);
    void planMembership(const QList<RunRecord>& records, ProgressSink& progress);
    void planRenames(const QList<RunRecord>& records);

  private:
    std::optional<MusicTrack> trackOf(const RunRecord& record);
    void planGroup(const TagGroup& group);
    itunes::TrackPtr libraryTrackOf(const RunRecord& record);
    void planAdded(const RunRecord& record, const itunes::Playlist& playlist);
    void planRemoved(const RunRecord& record, const QSet<QString>& held);
    void leave(const RunRecord& record, const QString& why, const QString& one,
               const QString& many);

    const itunes::RunJournal& journal_;
    itunes::Application& application_;
    UndoPlan& plan_;
};

void Planner::leave(const RunRecord& record, const QString& why, const QString& one,
                    const QString& many) {
    plan_.leftAlone.append(leftAloneLine(record, why));
    passOver(plan_.changes.passedOver, one, many);
}

itunes::TrackPtr Planner::libraryTrackOf(const RunRecord& record) {
    if (!record.trackId)
        return nullptr;
    auto track = std::make_shared<itunes::LibraryTrack>(journal_.connection(), *record.trackId,
                                                        std::nullopt);
    try {
        return track->get();
    } catch (const TesselError&) {
        return nullptr;  // deleted from the library since
    }
}

std::optional<MusicTrack> Planner::trackOf(const RunRecord& record) {
    if (record.trackId) {
        if (itunes::TrackPtr track = libraryTrackOf(record))
            return MusicTrack::withTrack(std::move(track));
        leave(record, QStringLiteral("the track is no longer in the library"),
              QStringLiteral("track no longer found"), QStringLiteral("tracks no longer found"));
        return std::nullopt;
    }
    if (QFileInfo(record.path).isFile())
        return MusicTrack::withPath(record.path);
    leave(record, QStringLiteral("the file is no longer there"),
          QStringLiteral("track no longer found"), QStringLiteral("tracks no longer found"));
    return std::nullopt;
}

void Planner::planGroup(const TagGroup& group) {
    const RunRecord& first = group.records.first();
    const RunRecord& last = group.records.last();
    if (last.tag == u"location" && valueText(first.oldValue).isEmpty()) {
        // A re-linked track had no file; taking its new one away would only kill it again.
        leave(last, QStringLiteral("a re-linked track keeps its file"),
              QStringLiteral("re-linked track"), QStringLiteral("re-linked tracks"));
        return;
    }
    const std::optional<MusicTrack> track = trackOf(last);
    if (!track)
        return;
    QVariantMap now;
    try {
        now = track->valuesForTags({QStringLiteral("name"), QStringLiteral("artist"), last.tag});
    } catch (const TesselError& error) {
        leave(last, sentence(error.reason()), QStringLiteral("track that cannot be read"),
              QStringLiteral("tracks that cannot be read"));
        return;
    }
    const QVariant current = now.value(last.tag);
    if (sameText(current, first.oldValue))
        return;  // back as it was, or never written
    if (!sameText(current, last.newValue)) {
        // A pending record whose value is neither the old nor the new one was never written.
        if (group.anyWritten())
            leave(last,
                  formattedString(QStringLiteral("“%@” is now “%@”, not “%@” as the run wrote"),
                                  last.tag, valueText(current), valueText(last.newValue)),
                  QStringLiteral("value changed since the run"),
                  QStringLiteral("values changed since the run"));
        return;
    }
    // The apply's guard would stop the whole undo at such a track: it is left alone here.
    if (const std::optional<QVariant> inFile = fileDisagrees(*track, last.tag, current)) {
        leave(
            last,
            formattedString(QStringLiteral("its file holds “%@” since, not “%@” as the run wrote"),
                            valueText(*inFile), valueText(current)),
            QStringLiteral("value changed since the run"),
            QStringLiteral("values changed since the run"));
        return;
    }
    plan_.changes.records.append(tagChange(*track, valueText(now.value(QStringLiteral("name"))),
                                           valueText(now.value(QStringLiteral("artist"))), last.tag,
                                           current, first.oldValue));
}

void Planner::planTags(const QList<RunRecord>& records, ProgressSink& progress) {
    const QList<TagGroup> groups = tagGroups(records);
    for (qsizetype i = 0; i < groups.size(); ++i) {
        if (progress.cancelled()) {
            plan_.stopped = true;
            return;
        }
        progress.setProgress(formattedString(QStringLiteral("%i/%lu %@"), int(i + 1),
                                             qint64(groups.size()),
                                             groups.at(i).records.last().title));
        planGroup(groups.at(i));
    }
}

// A track the run added is taken out of the playlist again through its last entry there:
// entries made since for the same track come before it only if the run's was the last.
void Planner::planAdded(const RunRecord& record, const itunes::Playlist& playlist) {
    const itunes::TrackPtr track = libraryTrackOf(record);
    itunes::TrackPtr entry;
    if (track) {
        for (const itunes::TrackPtr& reference : playlist.tracks()) {
            if (reference->isSameTrack(*track))
                entry = reference;
        }
    }
    if (!entry) {
        leave(record,
              formattedString(QStringLiteral("no longer in the playlist “%@”"), playlist.name()),
              QStringLiteral("track no longer found"), QStringLiteral("tracks no longer found"));
        return;
    }
    plan_.changes.records.append(ChangeRecord{true,
                                              MusicTrack::withTrack(entry),
                                              valueText(track->property(QStringLiteral("name"))),
                                              valueText(track->property(QStringLiteral("artist"))),
                                              {},
                                              {},
                                              {},
                                              -1});
}

void Planner::planRemoved(const RunRecord& record, const QSet<QString>& held) {
    const itunes::TrackPtr track = libraryTrackOf(record);
    if (!track) {
        leave(record, QStringLiteral("the track is no longer in the library"),
              QStringLiteral("track no longer found"), QStringLiteral("tracks no longer found"));
        return;
    }
    if (held.contains(track->identity())) {
        leave(record, QStringLiteral("it is in the playlist again"),
              QStringLiteral("track back in its playlist"),
              QStringLiteral("tracks back in their playlist"));
        return;
    }
    plan_.changes.records.append(ChangeRecord{true,
                                              MusicTrack::withTrack(track),
                                              valueText(track->property(QStringLiteral("name"))),
                                              valueText(track->property(QStringLiteral("artist"))),
                                              {},
                                              {},
                                              {},
                                              -1});
}

// Files move back last renamed first: a run may have given a file the name another had just
// left. Whether a name is free is judged as it will be by then.
void Planner::planRenames(const QList<RunRecord>& records) {
    plan_.renames = true;
    QSet<QString> freed;
    QSet<QString> taken;
    const auto occupied = [&](const QString& path) {
        return taken.contains(path) || (QFileInfo::exists(path) && !freed.contains(path));
    };
    for (auto record = records.rbegin(); record != records.rend(); ++record) {
        const QString from = valueText(record->oldValue);
        const QString to = valueText(record->newValue);
        if (!occupied(to)) {
            if (!occupied(from) && record->state == RunRecord::State::Written)
                leave(*record, QStringLiteral("the file is no longer there"),
                      QStringLiteral("track no longer found"),
                      QStringLiteral("tracks no longer found"));
            continue;  // else never moved, or back already
        }
        if (occupied(from)) {
            leave(*record,
                  formattedString(QStringLiteral("“%@” is taken"), QFileInfo(from).fileName()),
                  QStringLiteral("file whose old name is taken"),
                  QStringLiteral("files whose old names are taken"));
            continue;
        }
        freed.insert(to);
        freed.remove(from);
        taken.insert(from);
        taken.remove(to);
        plan_.changes.records.append(tagChange(MusicTrack::withPath(to), QFileInfo(to).fileName(),
                                               QString(), kRenameRecordTag, to, from));
    }
}

void Planner::planMembership(const QList<RunRecord>& records, ProgressSink& progress) {
    const bool added = records.first().membership == RunRecord::Membership::Added;
    plan_.changes.playlist = true;
    plan_.changes.remove = added ? 1 : 0;
    const QString playlistId = records.first().playlistId;
    const itunes::PlaylistPtr playlist = playlistWithId(application_, playlistId);
    if (playlist)
        plan_.target = {playlist->persistentId(), playlist->name()};
    QSet<QString> held;
    if (playlist && !added) {
        for (const itunes::TrackPtr& track : playlist->getTracks())
            held.insert(track->identity());
    }
    for (const RunRecord& record : records) {
        if (progress.cancelled()) {
            plan_.stopped = true;
            return;
        }
        progress.setProgress(record.title);
        if (!playlist || record.playlistId != playlistId)
            leave(record, QStringLiteral("its playlist no longer exists"),
                  QStringLiteral("track of a playlist gone"),
                  QStringLiteral("tracks of a playlist gone"));
        else if (added)
            planAdded(record, *playlist);
        else
            planRemoved(record, held);
    }
}

}  // namespace

ApplyResult applyRenamesBack(const ChangeList& list, const itunes::ApplicationProvider& provider,
                             ProgressSink& progress) {
    ApplyResult result;
    std::shared_ptr<itunes::Application> application;
    try {
        application = provider();
    } catch (const TesselError& error) {
        qWarning().noquote() << error.description();
        result.outcome = ApplyResult::Outcome::Stopped;
        result.error = error;
        return result;
    }
    const qint64 count = list.records.size();
    for (qsizetype row = 0; row < list.records.size(); ++row) {
        const ChangeRecord& record = list.records.at(row);
        if (progress.cancelled()) {
            result.outcome = ApplyResult::Outcome::Interrupted;
            return result;
        }
        progress.setProgress(
            formattedString(QStringLiteral("%i/%lu %@"), int(row + 1), count, record.title));
        if (!record.enabled)
            continue;
        try {
            application->renameFile(valueText(record.oldTag), valueText(record.newTag));
        } catch (const TesselError& error) {
            qWarning().noquote() << error.description();
            result.outcome = ApplyResult::Outcome::Stopped;
            result.error = error;
            result.trackName = record.title;
            return result;
        }
        result.written.append(int(row));
        ++result.done;
    }
    return result;
}

UndoPlan planUndo(const itunes::RunJournal& journal, itunes::Application& application,
                  const itunes::RunSummary& run, ProgressSink& progress) {
    UndoPlan plan;
    plan.run = run;
    const QList<RunRecord> records = journal.records(run.id);
    if (records.isEmpty())
        return plan;
    Planner planner(journal, application, plan);
    if (records.first().tag == kRenameRecordTag)
        planner.planRenames(records);
    else if (records.first().membership == RunRecord::Membership::None)
        planner.planTags(records, progress);
    else
        planner.planMembership(records, progress);
    return plan;
}

QString undoInfoLine(const UndoPlan& plan) {
    const QString when = plan.run.time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    return formattedString(
        QStringLiteral("Taking back run %li (%@, %@): the checked ones of these %li changes "
                       "are undone:"),
        plan.run.id, plan.run.tool, when, qint64(plan.changes.records.size()));
}

}  // namespace tessel
