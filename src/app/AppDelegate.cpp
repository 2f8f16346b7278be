#include "AppDelegate.h"

#include "FolderSearch.h"
#include "NumericRun.h"
#include "UndoPlan.h"
#include "changes/ChangePanel.h"
#include "foundation/StringHelpers.h"
#include "model/TrackGathering.h"
#include "support/FormattedString.h"
#include "support/Presenter.h"
#include "support/Tasks.h"
#include "tags/TagCatalogue.h"
#include "tools/Capitalization.h"
#include "tools/DataMover.h"
#include "tools/DeadTracks.h"
#include "tools/EncodingConverter.h"
#include "tools/NumericTagChanger.h"
#include "tools/PlaylistManager.h"
#include "tools/SearchReplace.h"
#include "tools/StatsWriter.h"

#include <QDebug>
#include <QMetaProperty>

namespace tessel {

namespace {

const QString kCollectingChanges = QStringLiteral("Collecting changes…");
const QString kApplyingChanges = QStringLiteral("Applying changes…");

// The tool a run came from, as the history of runs names it.
QString runName(const SearchReplace&) {
    return QStringLiteral("Search & Replace");
}
QString runName(const Capitalization&) {
    return QStringLiteral("Capitalization");
}
QString runName(const DataMover&) {
    return QStringLiteral("Data Mover");
}
QString runName(const EncodingConverter&) {
    return QStringLiteral("Encoding Converter");
}
QString runName(const PlaylistManager&) {
    return QStringLiteral("Playlist Manager");
}
QString runName(const DeadTrackRemoval&) {
    return QStringLiteral("Dead Tracks");
}
QString runName(const StatsWriter&) {
    return QStringLiteral("Write Statistics");
}

// The pop-up menus that list playlists carry this tag.
constexpr int kPlaylistPopUpTag = 13;

struct Preset {
    const char* search;
    const char* replace;
};

// Index 0 leaves the texts as they are.
const Preset kPresets[] = {
    {nullptr, nullptr},      {"...(.*)", "$1"},       {"(.*)\\[(.*)\\](.*)", "$1($2)$3"},
    {"The (.*)", "$1, The"}, {"(.*), The", "The $1"}, {"^(.*)", "0$1"},
};

itunes::ApplicationProvider orNoLibrary(itunes::ApplicationProvider application) {
    if (application)
        return application;
    return []() -> std::shared_ptr<itunes::Application> {
        throw itunes::scriptingError(QStringLiteral("No music library is available."));
    };
}

// The alert for an error that cut a collection short: a partial list must not pass for the
// whole one. A tag the tracks cannot give has its own message.
std::optional<AlertRequest> stopAlert(const Collection& collection) {
    if (!collection.stoppedBy)
        return std::nullopt;
    const TesselError& error = *collection.stoppedBy;
    if (error.name() == errors::kUnsupportedTag)
        return okAlert(error.name(), error.reason());
    return okAlert(error.name(), sentence(error.reason()) +
                                     QStringLiteral(" The tracks after it were not looked at."));
}

// The worker must never let an exception out: an error that escaped the tool's own loop ends
// the collection like a read error does, and is reported.
template <typename Tool>
Collection collectGuarded(const Tool& tool, const TrackGatherer& gather, ProgressSink& progress) {
    Collection stopped;
    try {
        return tool.collect(gather, progress);
    } catch (const TesselError& error) {
        stopped.stoppedBy = error;
    } catch (const std::exception& error) {
        stopped.stoppedBy =
            TesselError(QStringLiteral("Collection Failed"), QString::fromLocal8Bit(error.what()));
    }
    qWarning().noquote() << stopped.stoppedBy->description();
    return stopped;
}

}  // namespace

AppDelegate::AppDelegate(itunes::ApplicationProvider application, Presenter& presenter,
                         std::unique_ptr<SettingsStore> settings, QObject* parent)
    : QObject(parent),
      application_(orNoLibrary(std::move(application))),
      presenter_(presenter),
      settings_(std::move(settings)),
      progress_(presenter) {
    connect(&progress_, &Progress::titleChanged, this, &AppDelegate::currentProgressTitleChanged);
    connect(&progress_, &Progress::detailChanged, this, &AppDelegate::currentProgressDetailChanged);
}

AppDelegate::~AppDelegate() = default;

QStringList AppDelegate::optionNames() {
    QStringList names;
    const QMetaObject& meta = staticMetaObject;
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
        if (meta.property(i).isWritable())
            names.append(QString::fromLatin1(meta.property(i).name()));
    }
    return names;
}

void AppDelegate::applicationDidFinishLaunching() {
    if (!TesselLib::exists())
        ownLib_ = std::make_unique<TesselLib>(std::move(settings_));
    runRatingPrompt();
    refreshPlaylists();
    setTagLists();
    setAboutTexts();
    metadataSearches_.clear();
    emit metadataSearchesChanged();
}

bool AppDelegate::isRateable() const {
    return TesselLib::exists() && defaultInt(Progress::usageCounterKey()) > 10;
}

// ---- track sources ----

std::optional<GatheredTracks> AppDelegate::tracks() const {
    return gatherer()();
}

QList<itunes::TrackPtr> AppDelegate::selectedTracks() const {
    return tessel::selectedTracks(*application_());
}

TrackGatherer AppDelegate::gatherer() const {
    const TrackSource source{selectedMethod_, selectedPlaylist_,
                             folderPath_.isEmpty() ? std::nullopt : std::optional(folderPath_),
                             playlistIds_};
    return TrackGatherer::oneByOne([this, source, application = application_](
                                       const TrackFound& found) -> std::optional<GatheredTracks> {
        try {
            return gatherTracks(source, application, found);
        } catch (const TesselError& error) {
            showAlert(okAlert(error.name(), sentence(error.reason())));
            return std::nullopt;
        }
    });
}

void AppDelegate::refreshPlaylists() {
    try {
        const PlaylistMenus menus = readPlaylistMenus(*application_());
        playlists_ = menus.playlists;
        playlistIds_ = menus.playlistIds;
        editablePlaylists_ = menus.editablePlaylists;
        editablePlaylistIds_ = menus.editablePlaylistIds;
        emit playlistsChanged();
        refreshSelectionCount();
    } catch (const TesselError& error) {
        qWarning().noquote() << QStringLiteral("The playlists could not be read:")
                             << error.description();
    }
}

void AppDelegate::popUp(int tag) {
    if (tag == kPlaylistPopUpTag)
        refreshPlaylists();
}

void AppDelegate::pathSelected() {
    setOption("selectedMethod", 1);
}

void AppDelegate::presetClicked(int index) {
    if (index > 0 && index < static_cast<int>(std::size(kPresets))) {
        setOption("searchString", QString::fromLatin1(kPresets[index].search));
        setOption("replaceString", QString::fromLatin1(kPresets[index].replace));
    }
    setOption("useRegular", true);
}

// ---- tools ----

void AppDelegate::performSearchReplace() {
    presenter_.endEditing();
    runTool(SearchReplace(
        {selectedTag_, searchString_, replaceString_, caseInsensitive_, useRegular_}));
}

void AppDelegate::performCapitalization() {
    presenter_.endEditing();
    runTool(Capitalization({selectedTag_, selectedCapitalizationMethod_}));
}

void AppDelegate::performMove() {
    presenter_.endEditing();
    runTool(DataMover({selectedAction_, selectedTag_, selectedTargetTag_, selectedPortion_,
                       portionString_, searchString_, caseInsensitive_, selectedOption_,
                       delimiterString_}));
}

void AppDelegate::performEncoding() {
    presenter_.endEditing();
    runTool(EncodingConverter({selectedTag_, selectedEncodingFrom_, selectedEncodingTo_}));
}

// ---- library maintenance tools ----

void AppDelegate::performPlaylist() {
    presenter_.endEditing();
    // The tool works on a library playlist only.
    setOption("selectedMethod", 0);
    if (conditionString_.isNull())
        setOption("conditionString", QStringLiteral(""));
    PlaylistManager tool({selectedTag_, selectedCondition_, conditionString_, caseInsensitive_,
                          selectedPlaylistAction_,
                          editablePlaylistIds_.value(selectedPlaylistActionPlaylist_), moveTrash_});
    ChangeList shape = tool.shape();
    runTool(std::move(tool), std::move(shape));
}

void AppDelegate::performDead() {
    presenter_.endEditing();
    setOption("selectedMethod", 0);
    runTool(DeadTrackRemoval(), DeadTrackRemoval::shape());
}

void AppDelegate::performWriteStats() {
    presenter_.endEditing();
    runTool(StatsWriter());
}

void AppDelegate::performNumeric() {
    presenter_.endEditing();
    NumericTagChanger tool({selectedNumericTag_, selectedNumeric_, enteredNumber(numericString_)});
    if (const std::optional<AlertRequest> alert = tool.validate()) {
        showAlert(*alert);
        emit runEnded(false);
        return;
    }
    progress_.begin(kApplyingChanges);
    runInBackground([this, tool = std::move(tool), application = application_]() {
        const NumericOutcome outcome = runNumeric(tool, application, progress_);
        onMain([this, outcome] { finishNumeric(outcome); });
    });
}

void AppDelegate::finishNumeric(const NumericOutcome& outcome) {
    progress_.end();
    if (const std::optional<AlertRequest> alert = numericStoppedAlert(outcome))
        showAlert(*alert);
    else
        emit tracksWritten(outcome.selected);
    emit runEnded(!outcome.error);
}

// The one road of every tool that proposes changes: its checks on the main thread, then the
// progress sheet and its collection on a background thread, then the hand-over back here.
template <typename Tool>
void AppDelegate::runTool(Tool tool, ChangeList shape) {
    if (const std::optional<AlertRequest> alert = tool.validate()) {
        showAlert(*alert);
        emit runEnded(false);
        return;
    }
    progress_.begin(kCollectingChanges, true);
    runTool_ = runName(tool);
    runInBackground([this, tool = std::move(tool), gather = gatherer(), shape]() {
        Collection collection = collectGuarded(tool, gather, progress_);
        onMain([this, collection = std::move(collection), shape]() mutable {
            handOver(std::move(collection), std::move(shape), Tool::noChangesAlert());
        });
    });
}

void AppDelegate::handOver(Collection collection, ChangeList list, const AlertRequest& noChanges) {
    progress_.end();
    // A stopped run's list is dropped, even one the worker finished just before the user's
    // Cancel reached it: the user asked for no list.
    if (collection.cancelled || progress_.cancelled()) {
        emit runEnded(false);
        return;
    }
    if (const std::optional<AlertRequest> alert = stopAlert(collection))
        showAlert(*alert);
    const bool complete = collection.gathered && !collection.stoppedBy;
    if (!collection.records.isEmpty()) {
        list.records = std::move(collection.records);
        list.passedOver = std::move(collection.passedOver);
        setChanges(std::move(list));
        beginChanges();
    } else if (complete) {
        // A run cut short found no change in what it read; saying "No Changes" would claim
        // more than it knows.
        showAlert(noChanges);
    }
    emit runEnded(complete);
}

// ---- change panel and apply ----

void AppDelegate::beginChanges() {
    if (!changes_)
        return;
    const QString line =
        undo_ ? undoInfoLine(*undo_)
              : changeInfoLine(*changes_, playlists_.value(selectedPlaylist_),
                               editablePlaylists_.value(selectedPlaylistActionPlaylist_));
    presenter_.showChangePanel(line, passedOverLine(changes_->passedOver), !changes_->playlist);
}

void AppDelegate::checkSelected(const QList<int>& rows, int tag) {
    if (!changes_)
        return;
    emit recordsEnabledChanged(tessel::checkSelected(*changes_, rows, tag));
}

void AppDelegate::cancelChanges(bool discard) {
    presenter_.hideChangePanel();
    if (discard)
        setChanges(std::nullopt);
}

void AppDelegate::applyChanges() {
    if (!changes_)
        return;
    cancelChanges(false);
    progress_.begin(kApplyingChanges, true);
    const TargetPlaylist target =
        undo_ ? undo_->target
              : TargetPlaylist{editablePlaylistIds_.value(selectedPlaylistActionPlaylist_),
                               editablePlaylists_.value(selectedPlaylistActionPlaylist_)};
    const std::optional<qint64> undoing = undo_ ? std::optional(undo_->run.id) : std::nullopt;
    const bool renames = undo_ && undo_->renames;
    runInBackground([this, list = *changes_, target, application = application_, undoing,
                     tool = runTool_, renames]() {
        JournaledApply journaled = JournaledApply::start(application, list, target, tool, undoing);
        const ApplyResult result = renames
                                       ? applyRenamesBack(list, application, progress_)
                                       : tessel::applyChanges(list, application, target, progress_);
        journaled.finish(result);
        const int unchecked = int(list.records.size()) - enabledCount(list);
        onMain([this, result, membership = list.playlist, unchecked] {
            finishApply(result, membership, unchecked);
        });
    });
}

void AppDelegate::finishApply(const ApplyResult& result, bool membership, int unchecked) {
    if (result.outcome == ApplyResult::Outcome::Cancelled)
        showAlert(okAlert(TesselLib::shared().appName(), kDoNotTouchMessage));
    else if (const std::optional<AlertRequest> alert = stoppedAlert(result, membership))
        showAlert(*alert);
    setChanges(std::nullopt);
    progress_.end();
    const bool complete = result.outcome == ApplyResult::Outcome::Finished;
    emit changesApplied(result.done, unchecked, membership, complete);
    emit runEnded(complete);
}

void AppDelegate::setChanges(std::optional<ChangeList> changes) {
    changes_ = std::move(changes);
    undo_.reset();  // a new list, or none: not the undo of a run
    emit changesChanged();
}

// ---- start-up pieces ----

void AppDelegate::setTagLists() {
    tags_ = catalogue::tags();
    readableTags_ = catalogue::readableTags();
    integerTags_ = catalogue::integerTags();
    readableIntegerTags_ = catalogue::readableIntegerTags();
    allTags_ = catalogue::allTags();
    allReadableTags_ = catalogue::allReadableTags();
    emit tagListsChanged();
}

void AppDelegate::setAboutTexts() {
    const TesselLib& lib = TesselLib::shared();
    version_ = formattedString(QStringLiteral("%@ %@"), tr("Version:"), lib.appVersionString());
    build_ = formattedString(QStringLiteral("%@ %i"), tr("Build:"), lib.appBuild());
    emit aboutChanged();
}

void AppDelegate::setOption(const char* name, const QVariant& value) {
    // Through the property system, so the option's change signal goes out.
    setProperty(name, value);
}

int AppDelegate::showAlert(const AlertRequest& alert) const {
    // From a worker, the worker waits until the main thread has shown it and the user answered.
    int answer = kAlertDefault;
    runOnMainBlocking([&] { answer = presenter_.presentAlert(alert); });
    return answer;
}

void AppDelegate::onMain(std::function<void()> task) {
    // Tied to this object: a task still queued when it goes is dropped.
    QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
}

}  // namespace tessel
