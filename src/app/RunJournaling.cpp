#include "RunJournaling.h"

#include "itunes/LibraryApplication.h"
#include "itunes/LibraryTrack.h"
#include "model/TrackGathering.h"

#include <QDebug>
#include <QFileInfo>
#include <QSet>

namespace tessel {

namespace {

using itunes::RunRecord;

const itunes::LibraryTrack* libraryTrack(const MusicTrack& track) {
    return dynamic_cast<const itunes::LibraryTrack*>(track.track().get());
}

QString locationOf(const MusicTrack& track) {
    try {
        return track.location().value_or(QString());
    } catch (const TesselError&) {
        return {};  // a library track gone meanwhile; the apply will say so
    }
}

// The identities of the tracks the target playlist holds now.
QSet<QString> heldBy(itunes::Application* application, const TargetPlaylist& target) {
    QSet<QString> held;
    if (!application)
        return held;
    if (const itunes::PlaylistPtr playlist = playlistWithId(*application, target.persistentId)) {
        for (const itunes::TrackPtr& track : playlist->getTracks())
            held.insert(track->identity());
    }
    return held;
}

RunRecord baseRecord(const ChangeRecord& change, int position) {
    RunRecord record;
    record.position = position;
    if (const itunes::LibraryTrack* track = libraryTrack(change.track))
        record.trackId = track->trackId();
    record.path = change.track.isLibraryTrack() ? locationOf(change.track) : change.track.path();
    record.title = change.title;
    record.artist = change.artist;
    return record;
}

}  // namespace

std::optional<itunes::RunJournal> openRunJournal(const itunes::ApplicationProvider& application) {
    try {
        const auto library = std::dynamic_pointer_cast<itunes::LibraryApplication>(application());
        if (library &&
            !library->connection()->locked([](sql::Database& db) { return db.readOnly(); }))
            return itunes::RunJournal(library->connection());
        qInfo("This run is not journaled: the music library keeps no journal here.");
    } catch (const TesselError& error) {
        qWarning().noquote() << QStringLiteral("This run is not journaled:") << error.description();
    }
    return std::nullopt;
}

QList<itunes::RunRecord> runRecords(const ChangeList& list, const TargetPlaylist& target,
                                    const itunes::RunJournal& journal,
                                    itunes::Application* application) {
    const QSet<QString> held =
        list.playlist && list.remove == 0 ? heldBy(application, target) : QSet<QString>();
    QSet<QString> added;
    QList<RunRecord> records;
    for (qsizetype row = 0; row < list.records.size(); ++row) {
        const ChangeRecord& change = list.records.at(row);
        if (!change.enabled)
            continue;
        RunRecord record = baseRecord(change, int(row));
        if (!list.playlist) {
            record.tag = change.tagToChange;
            record.oldValue = change.oldTag;
            record.newValue = change.newTag;
        } else if (list.remove != 0) {
            const itunes::LibraryTrack* track = libraryTrack(change.track);
            record.membership = RunRecord::Membership::Removed;
            if (track && track->itemId())
                record.playlistId = journal.playlistOfEntry(*track->itemId());
        } else {
            const QString identity =
                change.track.track() ? change.track.track()->identity() : QString();
            if (held.contains(identity) || added.contains(identity))
                continue;
            added.insert(identity);
            record.membership = RunRecord::Membership::Added;
            record.playlistId = target.persistentId;
        }
        records.append(record);
    }
    return records;
}

JournaledApply JournaledApply::start(const itunes::ApplicationProvider& application,
                                     const ChangeList& list, const TargetPlaylist& target,
                                     const QString& tool, std::optional<qint64> undoing) {
    JournaledApply journaled;
    journaled.journal_ = openRunJournal(application);
    if (!journaled.journal_)
        return journaled;
    try {
        if (undoing) {
            journaled.run_ = *undoing;
            journaled.undoing_ = true;
            journaled.listed_ = list.records.size();
            return journaled;
        }
        const std::shared_ptr<itunes::Application> opened = list.playlist ? application() : nullptr;
        const QList<RunRecord> records =
            runRecords(list, target, *journaled.journal_, opened.get());
        if (records.isEmpty()) {  // nothing the apply can change
            journaled.journal_.reset();
            return journaled;
        }
        journaled.run_ = journaled.journal_->begin(tool, records);
    } catch (const TesselError& error) {
        qWarning().noquote() << QStringLiteral("This run is not journaled:") << error.description();
        journaled.journal_.reset();
    }
    return journaled;
}

void JournaledApply::finish(const ApplyResult& result) {
    if (!journal_)
        return;
    try {
        if (!undoing_)
            journal_->markWritten(run_, result.written);
        else if (result.outcome == ApplyResult::Outcome::Finished &&
                 result.written.size() == listed_)
            journal_->markUndone(run_);  // rows left unchecked stay to be taken back later
    } catch (const TesselError& error) {
        qWarning().noquote()
            << QStringLiteral("The journal of run %1 could not be completed:").arg(run_)
            << error.description();
    }
}

RenameJournal::RenameJournal(const itunes::ApplicationProvider& application)
    : journal_(openRunJournal(application)) {}

void RenameJournal::renaming(const QString& from, const QString& to) {
    if (!journal_)
        return;
    RunRecord record;
    record.position = ++position_;
    record.path = from;
    record.title = QFileInfo(from).fileName();
    record.tag = kRenameRecordTag;
    record.oldValue = from;
    record.newValue = to;
    try {
        if (run_ == 0)
            run_ = journal_->begin(QStringLiteral("Filename Changer"), {record});
        else
            journal_->addRecord(run_, record);
    } catch (const TesselError& error) {
        qWarning().noquote() << QStringLiteral("The renames are not journaled:")
                             << error.description();
        journal_.reset();
    }
}

void RenameJournal::renamed() {
    try {
        if (journal_)
            journal_->markWritten(run_, {position_});
    } catch (const TesselError& error) {
        qWarning().noquote() << error.description();
    }
}

}  // namespace tessel
