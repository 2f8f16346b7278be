// The controller's re-linking run. It stays on the main thread: the playlist scan runs inline,
// and the searches run one at a time in the folder's search service, each answered here.
#include "AppDelegate.h"
#include "FolderSearch.h"
#include "foundation/StringHelpers.h"
#include "support/FormattedString.h"
#include "support/Presenter.h"
#include "tools/DeadTracks.h"
#include "tools/Relinking.h"

#include <QDebug>

namespace tessel {

QVariantMap AppDelegate::metadataSearches() const {
    QVariantMap searches;
    for (const auto& [key, search] : metadataSearches_) {
        searches.insert(key, QVariantMap{{QStringLiteral("search"), search->predicate},
                                         {QStringLiteral("track"), search->title}});
    }
    return searches;
}

void AppDelegate::performFix() {
    presenter_.endEditing();
    if (fixRecords_)
        return;  // a run is under way
    showAlert(musicFolderAlert());
    const std::optional<QUrl> folder =
        presenter_.chooseFolder(tr("Choose the Folder of Your Music"), folderPath_);
    if (!folder || !folder->isLocalFile()) {
        emit runEnded(false);
        return;
    }
    setOption("folderPath", *folder);
    progress_.begin(QStringLiteral("Collecting changes…"));
    setOption("selectedMethod", 0);
    folderSearch_ = std::make_unique<FolderSearch>(folder->toLocalFile(), &progress_);
    fixRecords_ = QList<ChangeRecord>();
    fixStoppedBy_.reset();
    const std::optional<GatheredTracks> gathered = tracks();
    fixGathered_ = gathered.has_value();
    if (gathered) {
        const auto count = int(gathered->tracks.size());
        for (int i = 0; i < count; ++i) {
            const MusicTrack& track = gathered->tracks.at(i);
            try {
                progress_.setProgress(scanLine(i + 1, count, track.title()));
                if (isDead(track))
                    addSearchTrack(track);
            } catch (const TesselError& error) {
                // The searches made so far still run; the tracks after this one were not seen.
                qWarning().noquote() << error.description();
                fixStoppedBy_ = error;
                break;
            }
        }
    }
    if (!metadataSearches_.empty())
        startSearchTrack();
    else
        performFixFinished();
}

void AppDelegate::addSearchTrack(const MusicTrack& track) {
    auto search = std::make_unique<PendingSearch>(
        PendingSearch{QString(), track.artist(), track.title(), track.album(), track});
    search->predicate = searchPredicate(search->artist, search->title, search->album);
    qInfo().noquote() << search->predicate;
    const QString key = formattedString(QStringLiteral("%p"), quintptr(search.get()));
    metadataSearches_.emplace(key, std::move(search));
    emit metadataSearchesChanged();
}

void AppDelegate::startSearchTrack() {
    if (metadataSearches_.empty() || !folderSearch_)
        return;
    const auto& [key, search] = *metadataSearches_.begin();
    folderSearch_->find(search->artist, search->title, search->album,
                        [this, key = key](const QList<RelinkCandidate>& found) {
                            searchTrackComplete(key, found);
                        });
}

void AppDelegate::searchTrackComplete(const QString& key, const QList<RelinkCandidate>& found) {
    const auto entry = metadataSearches_.find(key);
    if (entry == metadataSearches_.end() || !fixRecords_)
        return;
    const PendingSearch& search = *entry->second;
    progress_.setProgress(searchLine(search.title, int(metadataSearches_.size())));
    if (found.size() == 1) {
        fixRecords_->append(
            relinkRecord(search.track, search.title, search.artist, found.first().path));
    } else {
        // Several files fit: none is chosen, each is logged.
        for (qsizetype i = 0; i < found.size(); ++i)
            qInfo().noquote() << candidateLogLine(i, found.at(i));
    }
    metadataSearches_.erase(entry);
    emit metadataSearchesChanged();
    if (!metadataSearches_.empty())
        startSearchTrack();
    else
        performFixFinished();
}

void AppDelegate::performFixFinished() {
    progress_.end();
    folderSearch_.reset();
    QList<ChangeRecord> records = fixRecords_ ? std::move(*fixRecords_) : QList<ChangeRecord>();
    fixRecords_.reset();
    if (fixStoppedBy_) {
        showAlert(okAlert(fixStoppedBy_->name(),
                          sentence(fixStoppedBy_->reason()) +
                              QStringLiteral(" The tracks after it were not looked at.")));
    }
    // A playlist that could not be read has had its own alert.
    const bool complete = fixGathered_ && !fixStoppedBy_;
    fixStoppedBy_.reset();
    if (!records.isEmpty()) {
        ChangeList list;
        list.records = std::move(records);
        list.playlist = false;
        setChanges(std::move(list));
        runTool_ = QStringLiteral("Re-linking");
        beginChanges();
    } else if (complete) {
        showAlert(noFixedTracksAlert());
    }
    emit runEnded(complete);
}

}  // namespace tessel
