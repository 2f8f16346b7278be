// The application controller: it owns every tool option (a property the window binds to), the
// shared data the tools work on (tag lists, playlist names, the change list, the progress
// texts), runs the start-up, and wires each tool: checks -> progress -> background collection
// -> hand-over to the change panel -> apply. It shows things only through the Presenter it is
// given, so the desktop app, the command line and the tests drive the same controller.
#pragma once

#include "UndoPlan.h"
#include "changes/ApplyEngine.h"
#include "changes/ChangeRecord.h"
#include "changes/Progress.h"
#include "itunes/ITunes.h"
#include "model/MusicTrack.h"
#include "support/Settings.h"
#include "support/TesselLib.h"
#include "tools/AllPlaylistsExport.h"
#include "tools/Collection.h"
#include "tools/FilenameChanger.h"
#include "tools/PlaylistExport.h"
#include "tools/RelinkIndex.h"
#include "tools/SizeCalculator.h"

#include <QObject>
#include <QStringList>
#include <QUrl>
#include <QVariant>
#include <QVariantMap>

#include <map>
#include <memory>
#include <optional>

namespace tessel::itunes {
class Connection;
}

namespace tessel {

class Presenter;
struct NumericOutcome;
class FolderSearch;

class AppDelegate : public QObject {
    Q_OBJECT

    // Tool options. Each is read by the tools when they start; the values are the launch values.
    Q_PROPERTY(int selectedMethod MEMBER selectedMethod_ NOTIFY selectedMethodChanged)
    Q_PROPERTY(int selectedPlaylist MEMBER selectedPlaylist_ NOTIFY selectedPlaylistChanged)
    Q_PROPERTY(int selectedPlaylistAction MEMBER selectedPlaylistAction_ NOTIFY
                   selectedPlaylistActionChanged)
    Q_PROPERTY(int selectedPlaylistActionPlaylist MEMBER selectedPlaylistActionPlaylist_ NOTIFY
                   selectedPlaylistActionPlaylistChanged)
    Q_PROPERTY(int selectedCondition MEMBER selectedCondition_ NOTIFY selectedConditionChanged)
    Q_PROPERTY(int selectedTag MEMBER selectedTag_ NOTIFY selectedTagChanged)
    Q_PROPERTY(int selectedTargetTag MEMBER selectedTargetTag_ NOTIFY selectedTargetTagChanged)
    Q_PROPERTY(int selectedPortion MEMBER selectedPortion_ NOTIFY selectedPortionChanged)
    Q_PROPERTY(int selectedOption MEMBER selectedOption_ NOTIFY selectedOptionChanged)
    Q_PROPERTY(int selectedAction MEMBER selectedAction_ NOTIFY selectedActionChanged)
    Q_PROPERTY(int selectedNumeric MEMBER selectedNumeric_ NOTIFY selectedNumericChanged)
    Q_PROPERTY(int selectedNumericTag MEMBER selectedNumericTag_ NOTIFY selectedNumericTagChanged)
    Q_PROPERTY(int selectedCapitalizationMethod MEMBER selectedCapitalizationMethod_ NOTIFY
                   selectedCapitalizationMethodChanged)
    Q_PROPERTY(
        int selectedEncodingFrom MEMBER selectedEncodingFrom_ NOTIFY selectedEncodingFromChanged)
    Q_PROPERTY(int selectedEncodingTo MEMBER selectedEncodingTo_ NOTIFY selectedEncodingToChanged)
    Q_PROPERTY(int selectedBitrate MEMBER selectedBitrate_ NOTIFY selectedBitrateChanged)
    Q_PROPERTY(int selectedTrailingZeroes MEMBER selectedTrailingZeroes_ NOTIFY
                   selectedTrailingZeroesChanged)
    Q_PROPERTY(
        int selectedNumberSorting MEMBER selectedNumberSorting_ NOTIFY selectedNumberSortingChanged)
    Q_PROPERTY(
        int selectedNumberChange MEMBER selectedNumberChange_ NOTIFY selectedNumberChangeChanged)
    Q_PROPERTY(bool caseInsensitive MEMBER caseInsensitive_ NOTIFY caseInsensitiveChanged)
    Q_PROPERTY(bool useRegular MEMBER useRegular_ NOTIFY useRegularChanged)
    Q_PROPERTY(bool moveTrash MEMBER moveTrash_ NOTIFY moveTrashChanged)
    Q_PROPERTY(bool recursiveScan MEMBER recursiveScan_ NOTIFY recursiveScanChanged)
    Q_PROPERTY(bool renameChangeExtension MEMBER renameChangeExtension_ NOTIFY
                   renameChangeExtensionChanged)
    Q_PROPERTY(bool renameExtensionVisible MEMBER renameExtensionVisible_ NOTIFY
                   renameExtensionVisibleChanged)
    Q_PROPERTY(
        bool renameRecursiveScan MEMBER renameRecursiveScan_ NOTIFY renameRecursiveScanChanged)
    Q_PROPERTY(bool renameSkipMissing MEMBER renameSkipMissing_ NOTIFY renameSkipMissingChanged)
    Q_PROPERTY(QUrl folderPath MEMBER folderPath_ NOTIFY folderPathChanged)
    // How an M3U8 or XSPF export names files: absolute, relative to exportFolder, or relative to
    // the playlist file's own folder (PlaylistExport::PathStyle).
    Q_PROPERTY(
        int selectedExportPaths MEMBER selectedExportPaths_ NOTIFY selectedExportPathsChanged)
    Q_PROPERTY(QString exportFolder MEMBER exportFolder_ NOTIFY exportFolderChanged)
    Q_PROPERTY(QString conditionString MEMBER conditionString_ NOTIFY conditionStringChanged)
    Q_PROPERTY(QString searchString MEMBER searchString_ NOTIFY searchStringChanged)
    Q_PROPERTY(QString replaceString MEMBER replaceString_ NOTIFY replaceStringChanged)
    Q_PROPERTY(QString portionString MEMBER portionString_ NOTIFY portionStringChanged)
    Q_PROPERTY(QString delimiterString MEMBER delimiterString_ NOTIFY delimiterStringChanged)
    Q_PROPERTY(QVariant numericString MEMBER numericString_ NOTIFY numericStringChanged)
    Q_PROPERTY(QString filenameString MEMBER filenameString_ NOTIFY filenameStringChanged)

    // Shared data, read-only to the window.
    Q_PROPERTY(QStringList tags READ tags NOTIFY tagListsChanged)
    Q_PROPERTY(QStringList readableTags READ readableTags NOTIFY tagListsChanged)
    Q_PROPERTY(QStringList integerTags READ integerTags NOTIFY tagListsChanged)
    Q_PROPERTY(QStringList readableIntegerTags READ readableIntegerTags NOTIFY tagListsChanged)
    Q_PROPERTY(QStringList allTags READ allTags NOTIFY tagListsChanged)
    Q_PROPERTY(QStringList allReadableTags READ allReadableTags NOTIFY tagListsChanged)
    Q_PROPERTY(QStringList playlists READ playlists NOTIFY playlistsChanged)
    Q_PROPERTY(QStringList editablePlaylists READ editablePlaylists NOTIFY playlistsChanged)
    Q_PROPERTY(bool hasChanges READ hasChanges NOTIFY changesChanged)
    Q_PROPERTY(
        QString currentProgressTitle READ currentProgressTitle NOTIFY currentProgressTitleChanged)
    Q_PROPERTY(QString currentProgressDetail READ currentProgressDetail NOTIFY
                   currentProgressDetailChanged)
    Q_PROPERTY(QString version READ version NOTIFY aboutChanged)
    Q_PROPERTY(QString build READ build NOTIFY aboutChanged)
    Q_PROPERTY(QVariantMap metadataSearches READ metadataSearches NOTIFY metadataSearchesChanged)
    Q_PROPERTY(bool isRateable READ isRateable)
    Q_PROPERTY(int selectedTrackCount READ selectedTrackCount NOTIFY selectedTrackCountChanged)

  public:
    /// application opens the music library anew for each use; presenter shows alerts, sheets
    /// and the change panel and must outlive this object. Without settings the user's own are
    /// used when start-up creates the application-support object. The controller must outlive
    /// the runs it starts (each ends with runEnded).
    AppDelegate(itunes::ApplicationProvider application, Presenter& presenter,
                std::unique_ptr<SettingsStore> settings = nullptr, QObject* parent = nullptr);
    ~AppDelegate() override;

    /// The names of the tool options, for setting them by name.
    static QStringList optionNames();

    /// Start-up: the application-support object (the one that exists already, else a new
    /// one), the rating prompt, the playlist names, the six tag lists, the About texts and the
    /// empty map of running file searches.
    void applicationDidFinishLaunching();
    /// Whether start-up may ask the user to rate the application (on unless turned off before
    /// start-up; a program that runs unattended turns it off).
    void setAsksForRating(bool asks) { asksForRating_ = asks; }

    // ---- shared data ----
    QStringList tags() const { return tags_; }
    QStringList readableTags() const { return readableTags_; }
    QStringList integerTags() const { return integerTags_; }
    QStringList readableIntegerTags() const { return readableIntegerTags_; }
    QStringList allTags() const { return allTags_; }
    QStringList allReadableTags() const { return allReadableTags_; }
    QStringList playlists() const { return playlists_; }
    QStringList editablePlaylists() const { return editablePlaylists_; }
    /// The persistent IDs of playlists() and editablePlaylists(), position for position: a
    /// choice in a playlist menu names its playlist by them, never by its name.
    QStringList playlistIds() const { return playlistIds_; }
    QStringList editablePlaylistIds() const { return editablePlaylistIds_; }
    QString currentProgressTitle() const { return progress_.title(); }
    QString currentProgressDetail() const { return progress_.detail(); }
    /// The position and count of the detail line; both 0 while the count is unknown.
    int currentProgressStep() const { return progress_.step(); }
    int currentProgressSteps() const { return progress_.steps(); }
    QString version() const { return version_; }
    QString build() const { return build_; }
    /// The pending searches of a re-linking run by their key: the search as logged ("search")
    /// and the dead track's title ("track"). Empty between runs.
    QVariantMap metadataSearches() const;
    /// True when the usage counter of the running version is greater than 10.
    bool isRateable() const;

    /// The open change list; null when none is open.
    const ChangeList* changes() const { return changes_ ? &*changes_ : nullptr; }
    bool hasChanges() const { return changes_.has_value(); }

    // ---- track sources ----
    /// The tracks of the chosen source, gathered afresh; absent after an alert (a library that
    /// cannot be read is reported in one too).
    std::optional<GatheredTracks> tracks() const;
    /// The library's selection resolved into track objects; library errors propagate.
    QList<itunes::TrackPtr> selectedTracks() const;
    /// The number of tracks in the library's selection, as last read.
    int selectedTrackCount() const { return selectedTrackCount_; }
    /// The music library the tools work on, opened anew for each use.
    const itunes::ApplicationProvider& library() const { return application_; }
    /// Whether the run under the progress sheet can be stopped.
    bool runCancellable() const { return progress_.cancellable(); }

    // ---- filling the library (LibraryActions.cpp) ----
    /// Imports a Library.xml export in the background under the progress sheet, which offers
    /// to stop it. The counts, or why it failed, end it in an alert; a failed or stopped import
    /// leaves the library as it was.
    void performImportLibrary(const QString& path);
    /// Adds the music files below folder the same way; with a playlist (a persistent ID or a
    /// name), they are also appended to it (a new user playlist when none has that name).
    void performAddFolder(const QString& folder, const std::optional<QString>& playlist);

    // ---- small playlist edits of the library window (LibraryActions.cpp) ----
    // Each goes through the library interface; a refusal or a library error is an alert and
    // the result is false. Playlists are named by their persistent IDs.
    /// Creates an empty playlist; its persistent ID, or absent after an alert.
    std::optional<QString> makePlaylist(const QString& name);
    bool renamePlaylist(const QString& persistentId, const QString& name);
    /// Deletes a playlist that takes tracks by hand; its tracks stay in the library.
    bool deletePlaylist(const QString& persistentId);
    /// Makes these tracks the library's selection.
    bool selectTracks(const QList<itunes::TrackPtr>& tracks);
    /// Appends the selected tracks to the playlist.
    bool addSelectionToPlaylist(const QString& persistentId);
    /// Removes the selected entries from the playlist, a list that takes tracks by hand in
    /// which they were selected (the library window's Delete).
    bool removeSelectionFromPlaylist(const QString& persistentId);

  public slots:
    /// Re-reads the names of the library's playlists; a library that cannot be read leaves
    /// them as they were (and is logged).
    void refreshPlaylists();
    /// A pop-up menu is about to open: the one tagged 13 lists playlists, so they are re-read.
    void popUp(int tag);
    /// Re-reads the number of selected tracks (the library window changed the selection).
    void refreshSelectionCount();
    /// The user asked to stop the run under the progress sheet; only a run that can stop does.
    void cancelRun();
    /// The folder chooser picked folderPath: the track source becomes the folder.
    void pathSelected();
    /// Fills searchString and replaceString from preset index (0 leaves them) and turns the
    /// regular expression on, whatever the index.
    void presetClicked(int index);
    /// A link button: opens the vendor's link whose code is the low 8 bits of tag (codes 1-6;
    /// others open nothing). withPreferences: the Alt key was held, so the support mail
    /// carries the preferences file.
    void openURL(int tag, bool withPreferences = false);

    // ---- tools ----
    // Each tool that proposes changes: its checks (an alert stops it), the progress sheet, the
    // collection in the background, then the change panel or the tool's "No Changes" alert.
    void performSearchReplace();
    void performCapitalization();
    void performMove();
    void performEncoding();
    /// Sets, raises or lowers one integer tag of the library's selected tracks (whatever the
    /// track source), writing each track at once under the progress sheet: no change panel.
    /// A library error ends the run at that track and is reported in an alert; the tracks
    /// before it stay written.
    void performNumeric();

    // ---- files tools: size estimate, playlist export, Filename Changer (FilesActions.cpp) ----
    /// Estimates the size of the gathered tracks now and at the bitrate of selectedBitrate;
    /// the result is the "Playlist/Folder size" alert.
    void performCalculate();
    /// Exports the gathered tracks as text (format 1), XML (2), M3U8 (3) or XSPF (4) to the
    /// file the save dialog gives, proposed under the chosen playlist's name; the file is
    /// replaced whole or not at all, and a failed write is an alert. Dead tracks left out of
    /// an M3U8 or XSPF file are counted in an alert.
    void performExport(int format);
    /// Exports every editable playlist of the library (or, when the chosen playlist is a folder
    /// of playlists, those inside it) in the format, one file each, into saveFolder or the
    /// folder the chooser gives; the summary is an alert and playlistsExported.
    void performExportAll(int format, const std::optional<QString>& saveFolder = std::nullopt);
    /// Renames the music files of folderPath after their tags (the Filename Changer), at once
    /// and one after another; the library's tracks follow their files. Without apply it
    /// renames nothing and reports what it would do (the command line's dry run).
    void performRename(bool apply = true);
    // ---- library maintenance tools ----
    /// The Playlist Manager over the chosen library playlist (the source becomes that
    /// playlist): the matching tracks are proposed for adding to the target playlist or for
    /// removal from the source playlist.
    void performPlaylist();
    /// Dead-track removal over the chosen library playlist: its tracks whose file the library
    /// cannot find are proposed for removal from it.
    void performDead();
    /// Re-linking: asks for the folder the music is in now, scans the chosen library playlist
    /// (on this thread) for dead tracks, searches the folder for each, one search at a time,
    /// and proposes a new location for every track that exactly one file matches. The folder
    /// becomes folderPath. A cancelled chooser ends the run with nothing done.
    void performFix();
    /// Creates the search of one dead track and registers it under its key; does not start it.
    void addSearchTrack(const MusicTrack& track);
    /// Starts the search of the first key.
    void startSearchTrack();
    /// The search registered under key has found these files: a record for exactly one, the
    /// candidates logged for several; then the next search or the end of the run.
    void searchTrackComplete(const QString& key, const QList<RelinkCandidate>& found);
    /// Ends a re-linking run: the change panel over its records, or "No Fixed Tracks".
    void performFixFinished();
    /// Writes the library's rating and play count of the chosen tracks into their files
    /// (StatsWriter), through the change panel.
    void performWriteStats();

    // ---- undo (UndoActions.cpp) ----
    /// Takes back a run of the runs journal: run, else the newest not taken back yet. The
    /// tracks are read in the background under the progress sheet; what can be restored
    /// opens in the change panel (applied as any list, and the run is then marked undone),
    /// what was changed since is listed in an alert and counted in the panel's note. An undo
    /// is no run of its own in the journal: undoing again goes further back.
    void performUndo(std::optional<qint64> run = std::nullopt);
    /// The runs the journal keeps, newest first; empty when the library keeps none.
    QList<itunes::RunSummary> runHistory() const;
    /// What the last performUndo left alone, one line each.
    const QStringList& undoLeftAlone() const { return undoLeftAlone_; }

    // ---- change panel ----
    /// Opens the change panel over the open list with its info line.
    void beginChanges();
    /// Checks (tag 1) or unchecks (tag 0) the records at rows (0-based).
    void checkSelected(const QList<int>& rows, int tag);
    /// Closes the panel; the user's Cancel (discard) also drops the list.
    void cancelChanges(bool discard);
    /// Closes the panel and applies the checked records of the open list in the background.
    void applyChanges();

  signals:
    /// A tool run or an apply run ended. succeeded: it ran to its end with no alert stopping
    /// or cutting it short (a change list shown, "No Changes", or every checked change made).
    void runEnded(bool succeeded);
    /// The numeric tool wrote every one of the count selected tracks (sent before runEnded).
    void tracksWritten(int count);
    /// An apply run carried out written of the list's checked records and left unchecked
    /// records alone; complete is false when the run was cut short (sent before runEnded).
    void changesApplied(int written, int unchecked, bool membership, bool complete);
    /// The export saved count tracks to path, leaving out leftOut dead ones (sent before
    /// runEnded).
    void playlistExported(const QString& path, int count, int leftOut);
    /// The export of all playlists wrote playlists files with entries entries, leaving out
    /// leftOut dead tracks (sent before runEnded).
    void playlistsExported(int playlists, int entries, int leftOut);
    /// What the Filename Changer did (or would do) with each file (sent before runEnded).
    void filesRenamed(const QList<tessel::Rename>& renames);
    void changesChanged();
    void recordsEnabledChanged(const QList<int>& rows);
    void tagListsChanged();
    void playlistsChanged();
    void currentProgressTitleChanged();
    void currentProgressDetailChanged();
    void aboutChanged();
    void metadataSearchesChanged();
    void selectedTrackCountChanged();

    void selectedMethodChanged();
    void selectedPlaylistChanged();
    void selectedPlaylistActionChanged();
    void selectedPlaylistActionPlaylistChanged();
    void selectedConditionChanged();
    void selectedTagChanged();
    void selectedTargetTagChanged();
    void selectedPortionChanged();
    void selectedOptionChanged();
    void selectedActionChanged();
    void selectedNumericChanged();
    void selectedNumericTagChanged();
    void selectedCapitalizationMethodChanged();
    void selectedEncodingFromChanged();
    void selectedEncodingToChanged();
    void selectedBitrateChanged();
    void selectedTrailingZeroesChanged();
    void selectedNumberSortingChanged();
    void selectedNumberChangeChanged();
    void caseInsensitiveChanged();
    void useRegularChanged();
    void moveTrashChanged();
    void recursiveScanChanged();
    void renameChangeExtensionChanged();
    void renameExtensionVisibleChanged();
    void renameRecursiveScanChanged();
    void renameSkipMissingChanged();
    void folderPathChanged();
    void selectedExportPathsChanged();
    void exportFolderChanged();
    void conditionStringChanged();
    void searchStringChanged();
    void replaceStringChanged();
    void portionStringChanged();
    void delimiterStringChanged();
    void numericStringChanged();
    void filenameStringChanged();

  private:
    template <typename Tool>
    void runTool(Tool tool, ChangeList shape = {});
    TrackGatherer gatherer() const;
    void handOver(Collection collection, ChangeList list, const AlertRequest& noChanges);
    void finishNumeric(const NumericOutcome& outcome);
    void finishCalculate(const SizeCalculator::Result& result);
    void finishExport(const PlaylistExport& tool, const PlaylistExport::Result& result);
    void finishExportAll(const QString& folder, const AllPlaylistsExport::Summary& summary);
    void finishRename(const QList<Rename>& renames);
    void finishApply(const ApplyResult& result, bool membership, int unchecked);
    void finishUndoPlan(std::optional<UndoPlan> plan, const std::optional<AlertRequest>& alert);
    void runImport(const QString& title,
                   std::function<QString(itunes::Connection&, ProgressSink&)> import);
    void finishImport(const QString& counts, const std::optional<TesselError>& error);
    bool editLibrary(const std::function<void(itunes::Application&)>& edit);
    void setChanges(std::optional<ChangeList> changes);
    void setTagLists();
    void runRatingPrompt();
    void setAboutTexts();
    void setOption(const char* name, const QVariant& value);
    void onMain(std::function<void()> task);
    /// Shows an alert through the Presenter from any thread; returns the AlertAnswer.
    int showAlert(const AlertRequest& alert) const;

    itunes::ApplicationProvider application_;
    Presenter& presenter_;
    std::unique_ptr<SettingsStore> settings_;
    std::unique_ptr<TesselLib> ownLib_;
    Progress progress_;
    bool asksForRating_ = true;

    int selectedMethod_ = 0;
    int selectedPlaylist_ = 0;
    int selectedPlaylistAction_ = 0;
    int selectedPlaylistActionPlaylist_ = 0;
    int selectedCondition_ = 2;
    int selectedTag_ = 0;
    int selectedTargetTag_ = 0;
    int selectedPortion_ = 0;
    int selectedOption_ = 0;
    int selectedAction_ = 0;
    int selectedNumeric_ = 0;
    int selectedNumericTag_ = 0;
    int selectedCapitalizationMethod_ = 0;
    int selectedEncodingFrom_ = 0;
    int selectedEncodingTo_ = 0;
    int selectedBitrate_ = 0;
    int selectedTrailingZeroes_ = 0;
    int selectedNumberSorting_ = 0;
    int selectedNumberChange_ = 0;
    bool caseInsensitive_ = true;
    bool useRegular_ = false;
    bool moveTrash_ = false;
    bool recursiveScan_ = false;
    bool renameChangeExtension_ = false;
    bool renameExtensionVisible_ = false;
    bool renameRecursiveScan_ = false;
    bool renameSkipMissing_ = false;
    QUrl folderPath_;
    int selectedExportPaths_ = 0;
    QString exportFolder_;
    QString conditionString_;
    QString searchString_;
    QString replaceString_;
    QString portionString_;
    QString delimiterString_;
    QVariant numericString_;
    QString filenameString_ = QStringLiteral("#n - #t");

    QStringList tags_;
    QStringList readableTags_;
    QStringList integerTags_;
    QStringList readableIntegerTags_;
    QStringList allTags_;
    QStringList allReadableTags_;
    QStringList playlists_;
    QStringList playlistIds_;
    QStringList editablePlaylists_;
    QStringList editablePlaylistIds_;
    std::optional<ChangeList> changes_;
    QString runTool_;               // the tool that proposed the open list, for the journal
    std::optional<UndoPlan> undo_;  // the open list takes back this run
    QStringList undoLeftAlone_;
    QString version_;
    QString build_;
    int selectedTrackCount_ = 0;

    // The re-linking run: its searches by key, the folder's search service, the records found
    // and the library error that cut the playlist scan short.
    struct PendingSearch {
        QString predicate;
        QString artist;
        QString title;
        QString album;
        MusicTrack track;
    };
    std::map<QString, std::unique_ptr<PendingSearch>> metadataSearches_;
    std::unique_ptr<FolderSearch> folderSearch_;
    std::optional<QList<ChangeRecord>> fixRecords_;
    std::optional<TesselError> fixStoppedBy_;
    bool fixGathered_ = false;
};

}  // namespace tessel
