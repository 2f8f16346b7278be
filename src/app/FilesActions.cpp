// The controller's files tools: the size and bitrate estimate, the playlist export and the
// Filename Changer. None of them opens the change panel.
#include "AppDelegate.h"

#include "foundation/StringHelpers.h"
#include "support/FormattedString.h"
#include "support/Presenter.h"
#include "support/Tasks.h"

#include <QDebug>

namespace tessel {

namespace {

const QString kCalculatingResults = QStringLiteral("Calculating results…");

// An error that ended a run early, as its alert.
AlertRequest cutShortAlert(const TesselError& error) {
    return okAlert(error.name(), sentence(error.reason()) +
                                     QStringLiteral(" The tracks after it were not looked at."));
}

// Dead tracks have no file a player could open; they are left out, and said to be.
AlertRequest leftOutAlert(int leftOut) {
    return okAlert(QStringLiteral("Dead Tracks Left Out"),
                   leftOut == 1 ? QStringLiteral("1 track whose file cannot be found was left "
                                                 "out of the playlist.")
                                : formattedString(QStringLiteral("%i tracks whose files cannot "
                                                                 "be found were left out of "
                                                                 "the playlist."),
                                                  leftOut));
}

}  // namespace

void AppDelegate::performCalculate() {
    presenter_.endEditing();
    const SizeCalculator tool({selectedBitrate_});
    if (const std::optional<AlertRequest> alert = tool.validate()) {
        showAlert(*alert);
        emit runEnded(false);
        return;
    }
    progress_.begin(kCalculatingResults);
    runInBackground([this, tool, gather = gatherer()]() {
        SizeCalculator::Result result;
        try {
            result = tool.estimate(gather, progress_);
        } catch (const std::exception& error) {
            result.stoppedBy = TesselError(QStringLiteral("Calculation Failed"),
                                           QString::fromLocal8Bit(error.what()));
        }
        onMain([this, result] { finishCalculate(result); });
    });
}

void AppDelegate::finishCalculate(const SizeCalculator::Result& result) {
    progress_.end();
    if (result.stoppedBy)
        showAlert(cutShortAlert(*result.stoppedBy));
    else if (result.gathered)
        showAlert(SizeCalculator::resultAlert(result.estimate));
    emit runEnded(result.gathered && !result.stoppedBy);
}

void AppDelegate::performExport(int format) {
    presenter_.endEditing();
    const PlaylistExport tool(
        {format, playlists_.value(selectedPlaylist_), selectedExportPaths_, exportFolder_});
    if (const std::optional<AlertRequest> alert = tool.validate()) {
        showAlert(*alert);
        emit runEnded(false);
        return;
    }
    progress_.begin(QStringLiteral("Collecting changes…"));
    runInBackground([this, tool, gather = gatherer()]() {
        PlaylistExport::Result result;
        try {
            result = tool.collect(gather, progress_);
        } catch (const std::exception& error) {
            result.stoppedBy =
                TesselError(QStringLiteral("Export Failed"), QString::fromLocal8Bit(error.what()));
        }
        onMain([this, tool, result] { finishExport(tool, result); });
    });
}

// Gathering that failed has shown its alert: an empty file saved after it would claim an
// empty playlist, so nothing is offered. A list cut short is said to be so, then offered.
void AppDelegate::finishExport(const PlaylistExport& tool, const PlaylistExport::Result& result) {
    progress_.end();
    if (result.stoppedBy)
        showAlert(okAlert(result.stoppedBy->name(),
                          sentence(result.stoppedBy->reason()) +
                              QStringLiteral(" The export holds only the tracks before it.")));
    if (!result.gathered) {
        emit runEnded(false);
        return;
    }
    // The proposed name is a file name: a "/" in the playlist's name would point elsewhere.
    QString proposed = playlists_.value(selectedPlaylist_);
    proposed.replace(u'/', u'-');
    const std::optional<QString> path = presenter_.chooseSaveFile(proposed, tool.fileType());
    if (!path) {
        emit runEnded(!result.stoppedBy);
        return;
    }
    const PlaylistText document = tool.document(result, *path);
    try {
        PlaylistExport::save(*path, document.text);
    } catch (const TesselError& error) {
        showAlert(okAlert(error.name(), sentence(error.reason())));
        emit runEnded(false);
        return;
    }
    if (document.leftOut > 0)
        showAlert(leftOutAlert(document.leftOut));
    emit playlistExported(*path, document.entries, document.leftOut);
    emit runEnded(!result.stoppedBy);
}

void AppDelegate::performExportAll(int format, const std::optional<QString>& saveFolder) {
    presenter_.endEditing();
    std::optional<QString> folder = saveFolder;
    if (!folder) {
        const std::optional<QUrl> chosen =
            presenter_.chooseFolder(tr("Choose the Folder for the Playlists"), {});
        if (!chosen) {
            emit runEnded(false);
            return;
        }
        folder = chosen->toLocalFile();
    }
    const AllPlaylistsExport tool({{format, {}, selectedExportPaths_, exportFolder_},
                                   *folder,
                                   playlistIds_.value(selectedPlaylist_)});
    if (const std::optional<AlertRequest> alert = tool.validate()) {
        showAlert(*alert);
        emit runEnded(false);
        return;
    }
    progress_.begin(QStringLiteral("Exporting playlists…"));
    runInBackground([this, tool, folder = *folder, application = application_]() {
        AllPlaylistsExport::Summary summary;
        try {
            summary = tool.run(*application(), progress_);
        } catch (const TesselError& error) {
            summary.stoppedBy = error;
        }
        onMain([this, folder, summary] { finishExportAll(folder, summary); });
    });
}

void AppDelegate::finishExportAll(const QString& folder,
                                  const AllPlaylistsExport::Summary& summary) {
    progress_.end();
    if (summary.stoppedBy)
        showAlert(okAlert(summary.stoppedBy->name(),
                          sentence(summary.stoppedBy->reason()) +
                              QStringLiteral(" The playlists after it were not exported.")));
    QString text =
        formattedString(QStringLiteral("%i playlists with %i entries were saved to “%@”."),
                        summary.playlists, summary.entries, folder);
    if (summary.leftOut == 1)
        text += QStringLiteral(" 1 track whose file cannot be found was left out.");
    else if (summary.leftOut > 1)
        text +=
            formattedString(QStringLiteral(" %i tracks whose files cannot be found were left out."),
                            summary.leftOut);
    showAlert(okAlert(QStringLiteral("Playlists Exported"), text));
    emit playlistsExported(summary.playlists, summary.entries, summary.leftOut);
    emit runEnded(!summary.stoppedBy);
}

void AppDelegate::performRename(bool apply) {
    presenter_.endEditing();
    // The library must be there to follow the files it holds.
    std::shared_ptr<itunes::Application> library;
    try {
        library = application_();
    } catch (const TesselError& error) {
        qWarning().noquote() << error.description();
    }
    const FilenameChanger tool({folderPath_.isEmpty() ? std::nullopt : std::optional(folderPath_),
                                filenameString_, selectedTrailingZeroes_, renameRecursiveScan_,
                                renameSkipMissing_, renameChangeExtension_,
                                renameExtensionVisible_});
    std::optional<AlertRequest> stop = library ? tool.validate() : FilenameChanger::libraryAlert();
    if (!stop) {
        if (const std::optional<AlertRequest> warning = tool.managedFolderWarning()) {
            if (showAlert(*warning) == kAlertDefault) {  // "Cancel"
                emit runEnded(false);
                return;
            }
        }
    }
    const QStringList files = stop ? QStringList() : tool.musicFiles();
    if (!stop && files.isEmpty())
        stop = FilenameChanger::noFilesAlert();
    if (stop) {
        showAlert(*stop);
        emit runEnded(false);
        return;
    }
    progress_.begin(QStringLiteral("Applying changes…"));
    FileMover move;
    if (apply) {
        // Each rename is journaled, so the run can be taken back.
        auto journal = std::make_shared<RenameJournal>(application_);
        move = [library, journal](const QString& from, const QString& to) {
            journal->renaming(from, to);
            library->renameFile(from, to);
            journal->renamed();
        };
    }
    runInBackground([this, tool, files, move]() {
        // A file's own failure is in its outcome; nothing else is expected to throw here.
        const QList<Rename> renames = tool.run(files, move, progress_);
        onMain([this, renames] { finishRename(renames); });
    });
}

// A taken or unusable name leaves a file alone by design; a move that failed is said.
void AppDelegate::finishRename(const QList<Rename>& renames) {
    progress_.end();
    emit filesRenamed(renames);
    QList<Rename> failed;
    for (const Rename& rename : renames) {
        if (rename.outcome == Rename::Failed)
            failed.append(rename);
    }
    if (!failed.isEmpty()) {
        const QString reason = sentence(failed.first().reason);
        showAlert(okAlert(
            QStringLiteral("Files Not Renamed"),
            failed.size() == 1
                ? QStringLiteral("A file could not be renamed and keeps its name: ") + reason
                : formattedString(QStringLiteral("%i files could not be renamed and keep their "
                                                 "names. The first: %@"),
                                  int(failed.size()), reason)));
    }
    emit runEnded(failed.isEmpty());
}

}  // namespace tessel
