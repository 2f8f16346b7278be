#include "ToolArguments.h"

#include "app/AppDelegate.h"

#include <QFileInfo>
#include <QMetaProperty>

#include <algorithm>

namespace tessel::cli {

namespace {

[[noreturn]] void usage(const QString& message) {
    throw UsageError{message};
}

int wholeNumber(const QString& text, const QString& what) {
    bool ok = false;
    const int number = text.trimmed().toInt(&ok);
    if (!ok)
        usage(QStringLiteral("%1: '%2' is not a whole number").arg(what, text));
    return number;
}

QUrl folderUrl(const QString& path) {
    return path.isEmpty() ? QUrl() : QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
}

QVariant optionValue(const QMetaProperty& property, const QString& text, const QString& what) {
    switch (property.typeId()) {
        case QMetaType::Int:
            return wholeNumber(text, what);
        case QMetaType::Bool: {
            const QString flag = text.toLower();
            if (flag == u"true" || flag == u"1")
                return true;
            if (flag == u"false" || flag == u"0")
                return false;
            usage(QStringLiteral("%1: '%2' is not one of true, false, 1, 0").arg(what, text));
        }
        case QMetaType::QUrl:
            return folderUrl(text);
        case QMetaType::QVariant: {  // a number that may be absent
            if (text.isEmpty())
                return QVariant();
            bool ok = false;
            const double number = text.toDouble(&ok);
            if (!ok)
                usage(QStringLiteral("%1: '%2' is not a number").arg(what, text));
            return number;
        }
        default:
            return text;
    }
}

// Words of text on lines that end by the column width, each line after the first indented to
// the column where the first began.
QString wrapped(const QString& text, int indent, int width) {
    QString result;
    int column = indent;
    for (const QString& word : text.split(u' ', Qt::SkipEmptyParts)) {
        if (!result.isEmpty() && column + 1 + word.size() > width) {
            result += u'\n' + QString(indent, u' ');
            column = indent;
        } else if (!result.isEmpty()) {
            result += u' ';
            ++column;
        }
        result += word;
        column += static_cast<int>(word.size());
    }
    return result;
}

Step setOption(const char* name, const QVariant& value) {
    return [name = QByteArray(name), value](AppDelegate& delegate) {
        delegate.setProperty(name.constData(), value);
    };
}

QList<Flag> makeCommonFlags() {
    return {
        {"--folder", "DIR", "work on the music files below DIR",
         [](const QString& dir) -> Step {
             return [url = folderUrl(dir)](AppDelegate& delegate) {
                 delegate.setProperty("folderPath", url);
                 delegate.pathSelected();
             };
         }},
        {"--playlist", "NAME|ID",
         "work on the library playlist with that persistent ID, or the one playlist of that name",
         [](const QString& name) -> Step {
             return [name](AppDelegate& delegate) {
                 delegate.setProperty("selectedMethod", 0);
                 delegate.setProperty("selectedPlaylist",
                                      playlistIndex(QStringLiteral("--playlist"), name,
                                                    delegate.playlists(), delegate.playlistIds()));
             };
         }},
        {"--selection", "", "work on the tracks selected in the library",
         [](const QString&) { return setOption("selectedMethod", 2); }},
        {libraryOption(), nullptr},
        {"--set", "NAME=VALUE", "set any option by its name (repeatable)", optionSetting},
        {"--apply", "", "write the checked changes (default: only show them)", nullptr},
        {"--uncheck", "LIST", "uncheck rows first, e.g. 2,5-7", nullptr},
        {"--answer", "N", "take button N (1 = default) of alerts that offer several", nullptr},
        {jsonOption(), nullptr},
        {helpOption(), nullptr},
    };
}

const Flag& flagNamed(const QList<Flag>& flags, const QString& name) {
    return *std::find_if(flags.begin(), flags.end(),
                         [&name](const Flag& flag) { return flag.name == name; });
}

QString savePath(const QString& value) {
    if (value.isEmpty())
        usage(QStringLiteral("--save-to: the file name is empty"));
    return QFileInfo(value).absoluteFilePath();
}

int buttonPosition(const QString& text) {
    const int position = wholeNumber(text, QStringLiteral("--answer"));
    if (position < 1 || position > 3)
        usage(QStringLiteral("--answer: the button must be 1, 2 or 3"));
    return position;
}

// The answer to a folder chooser, which offers only folders that exist.
QString existingFolder(const QString& path) {
    if (!QFileInfo(path).isDir())
        usage(QStringLiteral("--choose: '%1' is not a folder").arg(path));
    return path;
}

// Flags that shape the run rather than the options.
bool takeRunFlag(const QString& name, const QString& value, ToolArguments& result) {
    if (name == u"--library")
        result.library = libraryFile(value);
    else if (name == u"--apply")
        result.apply = true;
    else if (name == u"--uncheck")
        result.uncheck = RowList::parse(value, name);
    else if (name == u"--answer")
        result.answer = buttonPosition(value);
    else if (name == u"--json")
        result.json = true;
    else if (name == u"--help")
        result.help = true;
    else if (name == u"--save-to")
        result.saveTo = savePath(value);
    else if (name == u"--choose")
        result.choose = existingFolder(value);
    else
        return false;
    return true;
}

}  // namespace

const QList<Flag>& commonFlags() {
    static const QList<Flag> flags = makeCommonFlags();
    return flags;
}

ToolArguments parseToolArguments(const QStringList& arguments, const QList<Flag>& toolFlags,
                                 const QList<Flag>& sharedFlags) {
    const QList<Flag> flags = sharedFlags + toolFlags;
    const CommandLine line = parseCommandLine(arguments, QList<Option>(flags.begin(), flags.end()));
    if (!line.positional.isEmpty())
        usage(QStringLiteral("unknown argument '%1'").arg(line.positional.first()));
    ToolArguments result;
    for (const GivenOption& given : line.options) {
        if (!takeRunFlag(given.name, given.value, result))
            result.steps.append(flagNamed(flags, given.name).parse(given.value));
    }
    return result;
}

QString flagsHelp(const QList<Flag>& flags) {
    QString text;
    for (const Flag& flag : flags) {
        const QString head =
            flag.valueName.isEmpty() ? flag.name : flag.name + u' ' + flag.valueName;
        text += QStringLiteral("  ") + head.leftJustified(22) + u' ' + wrapped(flag.help, 25, 100) +
                u'\n';
    }
    return text;
}

int playlistIndex(const QString& flag, const QString& text, const QStringList& names,
                  const QStringList& ids) {
    for (qsizetype i = 0; i < ids.size(); ++i) {
        if (ids.at(i).compare(text.trimmed(), Qt::CaseInsensitive) == 0)
            return int(i);
    }
    QList<int> named;
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (names.at(i) == text)
            named.append(int(i));
    }
    if (named.size() <= 1)
        return named.value(0, -1);
    QString choices;
    for (int i : named)
        choices += QStringLiteral("\n  %1  %2").arg(ids.value(i), names.at(i));
    usage(QStringLiteral("%1: %2 playlists are named '%3'; give one of their persistent IDs "
                         "instead:%4")
              .arg(flag)
              .arg(named.size())
              .arg(text, choices));
}

Step optionSetting(const QString& assignment) {
    const qsizetype equals = assignment.indexOf(u'=');
    if (equals <= 0)
        usage(QStringLiteral("--set takes NAME=VALUE, not '%1'").arg(assignment));
    const QString name = assignment.left(equals);
    if (!AppDelegate::optionNames().contains(name))
        usage(QStringLiteral("--set: there is no option named '%1'").arg(name));
    const QMetaObject& meta = AppDelegate::staticMetaObject;
    const QMetaProperty property = meta.property(meta.indexOfProperty(name.toLatin1().constData()));
    return setOption(property.name(), optionValue(property, assignment.mid(equals + 1),
                                                  QStringLiteral("--set ") + name));
}

}  // namespace tessel::cli
