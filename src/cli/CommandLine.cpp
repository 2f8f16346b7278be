#include "CommandLine.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QHash>

namespace tessel::cli {

namespace {

// QCommandLineParser names options without their dashes.
QString bareName(const QString& name) {
    return name.mid(name.startsWith(u"--") ? 2 : 1);
}

QString dashedName(const QString& bare) {
    return (bare.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + bare;
}

const Option* optionNamed(const QList<Option>& options, const QString& bare) {
    for (const Option& option : options) {
        if (bareName(option.name) == bare || (bare == u"h" && option.name == u"--help"))
            return &option;
    }
    return nullptr;
}

// A flag given a value ("--apply=1"): QCommandLineParser says so only in words of its own, so
// the arguments are walked as it reads them, an option that takes a value taking the next
// argument unless it has one after '='.
const Option* flagGivenAValue(const QStringList& arguments, const QList<Option>& options) {
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == u"--")
            break;
        if (!argument.startsWith(u"--"))
            continue;
        const Option* option = optionNamed(options, bareName(argument.section(u'=', 0, 0)));
        if (!option)
            continue;
        const bool hasValue = argument.contains(u'=');
        if (!option->valueName.isEmpty() && !hasValue)
            ++i;
        else if (option->valueName.isEmpty() && hasValue)
            return option;
    }
    return nullptr;
}

QString problem(const QCommandLineParser& parser, const QStringList& arguments,
                const QList<Option>& options) {
    QStringList unknown;
    for (const QString& bare : parser.unknownOptionNames())
        unknown.append(u'\'' + dashedName(bare) + u'\'');
    unknown.removeDuplicates();
    if (unknown.size() == 1)
        return QStringLiteral("unknown argument %1").arg(unknown.first());
    if (!unknown.isEmpty())
        return QStringLiteral("unknown arguments %1").arg(unknown.join(QStringLiteral(", ")));
    // An option that takes a value was found more often than a value for it.
    for (const Option& option : options) {
        const QString bare = bareName(option.name);
        if (!option.valueName.isEmpty() &&
            parser.optionNames().count(bare) > parser.values(bare).size())
            return QStringLiteral("%1 needs a value (%2)").arg(option.name, option.valueName);
    }
    if (const Option* flag = flagGivenAValue(arguments, options))
        return QStringLiteral("%1 takes no value").arg(flag->name);
    return parser.errorText();
}

}  // namespace

Option libraryOption() {
    return {"--library", "FILE", "the library database to use"};
}

Option jsonOption() {
    return {"--json", "", "print one JSON object on standard output"};
}

Option helpOption() {
    return {"--help", "", "show this help"};
}

QString libraryFile(const QString& value) {
    if (value.isEmpty())
        throw UsageError{QStringLiteral("--library: the file name is empty")};
    return QFileInfo(value).absoluteFilePath();
}

CommandLine parseCommandLine(const QStringList& arguments, const QList<Option>& options) {
    QCommandLineParser parser;
    for (const Option& option : options) {
        QStringList names{bareName(option.name)};
        if (option.name == u"--help")
            names.append(QStringLiteral("h"));
        [[maybe_unused]] const bool added =
            parser.addOption(QCommandLineOption(names, option.help, option.valueName));
        Q_ASSERT(added);  // each name once
    }
    // The parser takes the first argument for the program's name.
    if (!parser.parse(QStringList{QStringLiteral("tessel-cli")} + arguments))
        throw UsageError{problem(parser, arguments, options)};

    // Options apply in the order given, a later one winning: the names come in that order,
    // the values of each option in theirs.
    CommandLine line{{}, parser.positionalArguments()};
    QHash<QString, qsizetype> valuesTaken;
    for (const QString& bare : parser.optionNames()) {
        const Option& option = *optionNamed(options, bare);
        QString value;
        if (!option.valueName.isEmpty())
            value = parser.values(bare).at(valuesTaken[option.name]++);
        line.options.append({option.name, value});
    }
    return line;
}

}  // namespace tessel::cli
