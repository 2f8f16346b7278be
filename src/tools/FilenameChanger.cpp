#include "FilenameChanger.h"

#include "foundation/FileHelpers.h"
#include "foundation/StringHelpers.h"
#include "model/MusicTrack.h"
#include "support/FormattedString.h"
#include "support/TesselError.h"
#include "tags/MusicFiles.h"
#include "tags/TagValue.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace tessel {

namespace {

// Token and the tag it takes, in the order the pattern legend lists them.
const QList<QPair<QString, QString>>& tokens() {
    static const QList<QPair<QString, QString>> list{
        {"#a", "artist"}, {"#t", "name"}, {"#g", "genre"},
        {"#l", "album"},  {"#y", "year"}, {"#n", "number"},
    };
    return list;
}

QString folderOf(const QString& path) {
    return QFileInfo(path).path();
}

// A file or a link (even a dangling one) at path.
bool isTaken(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

}  // namespace

FilenameChanger::FilenameChanger(Options options) : options_(std::move(options)) {}

AlertRequest FilenameChanger::libraryAlert() {
    return okAlert(QStringLiteral("iTunes"),
                   QStringLiteral("You will need to launch iTunes before renaming files to "
                                  "prevent the renamed files from being broken in iTunes."));
}

std::optional<AlertRequest> FilenameChanger::validate() const {
    if (!options_.folderPath || options_.folderPath->isEmpty())
        return okAlert(QStringLiteral("No Folder"),
                       QStringLiteral("You didn't select a folder with music files to operate "
                                      "on."));
    return std::nullopt;
}

std::optional<AlertRequest> FilenameChanger::managedFolderWarning() const {
    if (!options_.folderPath ||
        !options_.folderPath->toLocalFile().contains(QStringLiteral("iTunes/iTunes Music")))
        return std::nullopt;
    AlertRequest warning = okAlert(
        QStringLiteral("Warning"),
        QStringLiteral("You selected files within the 'iTunes Music' folder to be renamed. If you "
                       "have not unchecked the option 'Keep iTunes Media folder organized' in "
                       "iTunes you probably do not want to continue as iTunes manages the "
                       "filenames anyway and will get confused if the files are renamed."));
    warning.defaultButton = QStringLiteral("Cancel");
    warning.alternateButton = QStringLiteral("Continue");
    return warning;
}

QStringList FilenameChanger::musicFiles() const {
    if (!options_.folderPath || !options_.folderPath->isLocalFile())
        return {};
    const QString folder = QFileInfo(options_.folderPath->toLocalFile()).absoluteFilePath();
    if (options_.renameRecursiveScan) {
        const std::optional<MusicFiles> files = musicFilesBelow(folder);
        return files ? files->paths : QStringList();
    }
    QStringList paths;
    const QDir dir(folder);
    for (const QString& name : dirContents(folder).value_or(QStringList())) {
        const QString path = QDir::cleanPath(dir.absoluteFilePath(name));
        // isFile follows links and is false for pipes and devices, which would block a read.
        if (audioExtensions().contains(QFileInfo(name).suffix().toLower()) &&
            QFileInfo(path).isFile())
            paths.append(path);
    }
    return paths;
}

AlertRequest FilenameChanger::noFilesAlert() {
    return okAlert(QStringLiteral("No Files"),
                   QStringLiteral("The folder you have selected doesn't seem to contain music "
                                  "files."));
}

QList<Rename> FilenameChanger::run(const QStringList& files, const FileMover& move,
                                   ProgressSink& progress) const {
    progress.setProgress(QStringLiteral("Preparing changes…"));
    QHash<QString, int> folderCounts;
    for (const QString& path : files)
        ++folderCounts[folderOf(path)];

    // Paths freed (false) or taken (true) by the renames so far; the disk answers the rest.
    QHash<QString, bool> changed;
    const auto taken = [&changed](const QString& path) {
        return changed.contains(path) ? changed.value(path) : isTaken(path);
    };

    QList<Rename> renames;
    const auto count = static_cast<int>(files.size());
    for (int k = 0; k < count; ++k) {
        const QString& path = files.at(k);
        progress.setProgress(formattedString(QStringLiteral("%i/%i - %@"), k + 1, count,
                                             QUrl::fromLocalFile(path).toString()));
        const QFileInfo info(path);
        const QString newName = expandedName(options_.filenameString,
                                             tokenValues(path, folderCounts.value(folderOf(path))));
        Rename rename;
        rename.from = path;
        rename.to = info.path() + u'/' + newName + u'.' + info.suffix();
        if (newName == info.completeBaseName())
            rename.outcome = Rename::SameName;
        else if (options_.renameSkipMissing && holdsToken(newName))
            rename.outcome = Rename::TokenLeft;
        else if (!isSafeName(newName))
            rename.outcome = Rename::UnsafeName;
        else if (taken(rename.to))
            rename.outcome = Rename::NameTaken;
        else {
            try {
                if (move)
                    move(rename.from, rename.to);
                rename.outcome = Rename::Renamed;
                changed.insert(rename.from, false);
                changed.insert(rename.to, true);
            } catch (const TesselError& error) {
                qWarning().noquote() << error.description();
                rename.outcome = Rename::Failed;
                rename.reason = error.reason();
            } catch (const std::exception& error) {
                // Whatever else went wrong, this file is not reported renamed.
                rename.outcome = Rename::Failed;
                rename.reason = QString::fromLocal8Bit(error.what());
            }
        }
        renames.append(rename);
    }
    return renames;
}

// A file that cannot be read gives no values, so every token stays in its name.
QVariantMap FilenameChanger::tokenValues(const QString& path, int folderCount) const {
    QStringList tags;
    for (const auto& token : tokens())
        tags.append(token.second);
    QVariantMap tagValues;
    try {
        tagValues = MusicTrack::withPath(path).valuesForTags(tags);
    } catch (const TesselError& error) {
        qWarning().noquote() << error.description();
    }
    QVariantMap values;
    for (const auto& [token, tag] : tokens()) {
        const QVariant value = tagValues.value(tag);
        if (isAbsent(value))
            continue;
        values.insert(token, tag == u"number"
                                 ? paddedNumber(valueText(value), options_.selectedTrailingZeroes,
                                                folderCount)
                                 : valueText(value));
    }
    return values;
}

QString FilenameChanger::paddedNumber(const QString& number, int padding, int folderCount) {
    const bool pad = padding == kAlways || (padding == kAutomatic && folderCount >= 10);
    return pad && number.size() == 1 ? u'0' + number : number;
}

QString FilenameChanger::expandedName(const QString& pattern, const QVariantMap& values) {
    ReplacementTable table;
    for (const auto& token : tokens()) {
        if (values.contains(token.first))
            table.append({token.first, values.value(token.first).toString()});
    }
    return stringByReplacingMultipleStrings(pattern, table);
}

bool FilenameChanger::holdsToken(const QString& name) {
    for (const auto& token : tokens()) {
        if (name.contains(token.first))
            return true;
    }
    return false;
}

bool FilenameChanger::isSafeName(const QString& name) {
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') &&
           !name.contains(QChar(0));
}

}  // namespace tessel
