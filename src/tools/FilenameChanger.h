// The Filename Changer: renames the music files of a folder after their tags, following a name
// pattern such as "#n - #t". It works on the folder only, writes at once and opens no change
// panel; a file is never renamed over another one.
#pragma once

#include "support/Presenter.h"
#include "support/ProgressSink.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariantMap>

#include <functional>
#include <optional>

namespace tessel {

/// What became of one file.
struct Rename {
    enum Outcome {
        Renamed,     // moved to `to` (or, in a dry run, would be)
        SameName,    // the pattern gives the name it has
        TokenLeft,   // skip-missing is on and a token stayed in the name
        UnsafeName,  // the name would be empty, "." or "..", or hold a "/"
        NameTaken,   // a file of the new name is there already
        Failed,      // the move, or the library's following it, failed: `reason`
    };
    QString from;
    QString to;  // the path the pattern gives
    Outcome outcome = SameName;
    QString reason;
};

/// Moves a file to a path where nothing is, taking the library's tracks of it along; throws a
/// TesselError when it cannot, having moved nothing.
using FileMover = std::function<void(const QString& from, const QString& to)>;

class FilenameChanger {
  public:
    /// Padding of one-digit track numbers, by the value of selectedTrailingZeroes: automatic
    /// pads when the file's folder holds 10 or more of the music files found.
    enum Padding : int { kAutomatic = 0, kNever = 1, kAlways = 2 };

    struct Options {
        std::optional<QUrl> folderPath;
        QString filenameString;  // the pattern
        int selectedTrailingZeroes = kAutomatic;
        bool renameRecursiveScan = false;
        bool renameSkipMissing = false;
        // Kept for the page: files on Linux have no extension-hidden attribute, so these two
        // change nothing.
        bool renameChangeExtension = false;
        bool renameExtensionVisible = false;
    };

    explicit FilenameChanger(Options options);

    /// The alert when no library can be opened to follow renamed files.
    static AlertRequest libraryAlert();
    /// "No Folder" when none is chosen.
    std::optional<AlertRequest> validate() const;
    /// The "Warning" (default "Cancel", second "Continue") for a folder inside an
    /// "iTunes/iTunes Music" folder, whose names the player manages itself.
    std::optional<AlertRequest> managedFolderWarning() const;
    /// The music files to rename, in listing order: the folder's own, or with the recursive
    /// scan all below it. Regular files only.
    QStringList musicFiles() const;
    static AlertRequest noFilesAlert();

    /// Renames the files one after another in their order: progress "Preparing changes…",
    /// then "%i/%i - %@" with each file's URL. Without a mover it moves nothing and reports
    /// what it would do, names freed and taken on the way included.
    QList<Rename> run(const QStringList& files, const FileMover& move,
                      ProgressSink& progress) const;

    /// The track number as the name shows it: a one-character number gets a leading "0" when
    /// padding says so for a folder of folderCount music files.
    static QString paddedNumber(const QString& number, int padding, int folderCount);
    /// The pattern with each token whose value is present replaced, all in one pass: text put
    /// in is never expanded again. values are keyed by token ("#a").
    static QString expandedName(const QString& pattern, const QVariantMap& values);
    /// Whether the name holds one of the six tokens.
    static bool holdsToken(const QString& name);
    /// Whether the name can be a file's name in its folder: not empty, ".", "..", no "/".
    static bool isSafeName(const QString& name);

  private:
    QVariantMap tokenValues(const QString& path, int folderCount) const;

    Options options_;
};

}  // namespace tessel
