// Reading a subcommand's arguments against its options, on QCommandLineParser: an option is
// given as "--name value" or "--name=value" when it takes a value, options and positional
// arguments may come in any order, and "--" ends the options. What cannot be read is a usage
// error, the one kind every subcommand reports with exit code 2.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace tessel::cli {

/// A mistake in the arguments (exit code 2), with the message to print.
struct UsageError {
    QString message;
};

/// An option of a subcommand. An option named "--help" also answers to "-h".
struct Option {
    QString name;       // "--search"
    QString valueName;  // "TEXT"; empty for a flag that takes no value
    QString help;
};

/// The options the library command and the tools share.
Option libraryOption();
Option jsonOption();
Option helpOption();

/// The file a --library value names, as an absolute path. Throws UsageError for an empty
/// value, which would otherwise stand for the default library.
QString libraryFile(const QString& value);

/// An option as given on the command line.
struct GivenOption {
    QString name;   // the name of its Option: "--search"
    QString value;  // empty for a flag
};

struct CommandLine {
    QList<GivenOption> options;  // in command-line order, each time it was given
    QStringList positional;      // the other arguments, in order
};

/// Reads the arguments that follow a subcommand's name. Throws UsageError naming the unknown
/// options, a flag given a value, or an option whose value is missing.
CommandLine parseCommandLine(const QStringList& arguments, const QList<Option>& options);

}  // namespace tessel::cli
