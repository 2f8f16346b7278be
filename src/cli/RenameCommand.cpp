#include "RenameCommand.h"

#include "FlagSteps.h"
#include "app/AppDelegate.h"
#include "support/FormattedString.h"

#include <QDir>
#include <QFileInfo>

namespace tessel::cli {

namespace {

const QList<QStringList> kPaddings{{"auto", "automatic"}, {"never"}, {"always"}};

// What happened to one file, for people: the path below the folder and the new name.
QString renameLine(const Rename& rename, const QDir& folder, bool applied) {
    const QString from = folder.relativeFilePath(rename.from);
    const QString to = QFileInfo(rename.to).fileName();
    switch (rename.outcome) {
        case Rename::Renamed:
            return formattedString(
                applied ? QStringLiteral("%@ → %@") : QStringLiteral("%@ → %@ (would be renamed)"),
                from, to);
        case Rename::SameName:
            return {};
        case Rename::TokenLeft:
            return formattedString(QStringLiteral("%@: kept, a tag is missing (“%@”)"), from, to);
        case Rename::UnsafeName:
            return formattedString(
                QStringLiteral("%@: kept, the pattern gives no usable name (“%@”)"), from,
                rename.to.mid(QFileInfo(rename.from).path().size() + 1));
        case Rename::NameTaken:
            return formattedString(QStringLiteral("%@: kept, “%@” is taken"), from, to);
        case Rename::Failed:
            return formattedString(QStringLiteral("%@: not renamed, %@"), from, rename.reason);
    }
    return {};
}

QString summaryLine(int renamed, bool applied) {
    if (applied)
        return renamed == 1 ? QStringLiteral("1 file renamed.")
                            : formattedString(QStringLiteral("%i files renamed."), renamed);
    return renamed == 1
               ? QStringLiteral("1 file would be renamed; --apply renames it.")
               : formattedString(QStringLiteral("%i files would be renamed; --apply renames them."),
                                 renamed);
}

}  // namespace

QString RenameCommand::summary() const {
    return QStringLiteral("Rename the music files of a folder after their tags (\"#n - #t\").");
}

QList<Flag> RenameCommand::toolFlags() const {
    return {
        {"--pattern", "PATTERN",
         "the new name: #a artist, #t title, #l album, #g genre, #y year, #n track number; the "
         "rest is kept as typed, the extension too (default: \"#n - #t\")",
         [](const QString& text) { return setTo("filenameString", text); }},
        {"--padding", "PADDING",
         "a 0 before one-digit track numbers: auto (when the file's folder holds 10 or more "
         "music files), never or always (default: auto)",
         [](const QString& text) {
             return choiceStep("--padding", "selectedTrailingZeroes", kPaddings, text);
         }},
        {"--recursive", "", "rename the files in the subfolders too",
         [](const QString&) { return setTo("renameRecursiveScan", true); }},
        {"--skip-missing", "", "keep the name of a file whose new name would still hold a token",
         [](const QString&) { return setTo("renameSkipMissing", true); }},
    };
}

QList<Flag> RenameCommand::sharedFlags() const {
    QList<Flag> flags;
    for (const Flag& flag : commonFlags()) {
        if (!QStringList{"--playlist", "--selection", "--uncheck"}.contains(flag.name))
            flags.append(flag);
    }
    return flags;
}

void RenameCommand::perform(AppDelegate& delegate) const {
    delegate.performRename();
}

bool RenameCommand::runAction(AppDelegate& delegate, const ToolArguments& arguments,
                              const TerminalPresenter&, RunReport& report) const {
    QList<Rename> renames;
    const auto connection =
        QObject::connect(&delegate, &AppDelegate::filesRenamed,
                         [&renames](const QList<Rename>& outcome) { renames = outcome; });
    const bool succeeded = runToEnd(delegate, [&] { delegate.performRename(arguments.apply); });
    QObject::disconnect(connection);

    const QDir folder(delegate.property("folderPath").toUrl().toLocalFile());
    QStringList lines;
    int renamed = 0;
    for (const Rename& rename : renames) {
        renamed += rename.outcome == Rename::Renamed ? 1 : 0;
        const QString line = renameLine(rename, folder, arguments.apply);
        if (!line.isEmpty())
            lines.append(line);
    }
    if (!renames.isEmpty()) {
        lines.append(summaryLine(renamed, arguments.apply));
        report.result = lines.join(u'\n');
    }
    report.applied = arguments.apply && succeeded && !renames.isEmpty();
    return succeeded;
}

QString RenameCommand::writesHelp() const {
    return QStringLiteral(
        "Without --apply nothing is renamed: the renames are listed. With it the files are\n"
        "renamed one after another, and tracks of the library that hold a file follow it. A\n"
        "file is never renamed over another: when its new name is taken, or would be empty,\n"
        "\".\", \"..\" or hold a \"/\", it keeps its name. A folder inside \"iTunes/iTunes "
        "Music\"\n"
        "asks first; --answer 2 continues.");
}

}  // namespace tessel::cli
