// The command-line arguments every tool subcommand shares: the track source, --set for any
// option by its name, preview or --apply, --uncheck, --answer and --json, plus the flags a
// tool adds of its own. Options are applied to the controller in command-line order, so a
// later flag wins over an earlier one.
#pragma once

#include "CommandLine.h"
#include "RowList.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace tessel {
class AppDelegate;
}

namespace tessel::cli {

/// One change to the controller's options, made after start-up.
using Step = std::function<void(AppDelegate&)>;

struct Flag : Option {
    /// Turns the flag's value into a step; throws UsageError for a bad value. Empty for the
    /// flags that shape the run rather than the options.
    std::function<Step(const QString& value)> parse;
};

struct ToolArguments {
    QString library;    // --library FILE; empty: the default library
    QList<Step> steps;  // source, --set and tool flags, in command-line order
    bool apply = false;
    RowList uncheck;
    int answer = 1;  // the button position taken for alerts with several buttons
    bool json = false;
    bool help = false;
    QString saveTo;  // --save-to FILE, as an absolute path: where a save dialog saves
    QString choose;  // --choose DIR: the answer to a folder chooser; empty: cancelled
};

/// The flags every tool subcommand takes, for the help text.
const QList<Flag>& commonFlags();

/// Parses the arguments that follow the subcommand's name: the tool's flags and the shared
/// ones it takes (by default all of commonFlags()); throws UsageError.
ToolArguments parseToolArguments(const QStringList& arguments, const QList<Flag>& toolFlags,
                                 const QList<Flag>& sharedFlags = commonFlags());

/// The help lines of flags: name, value and text.
QString flagsHelp(const QList<Flag>& flags);

/// The menu position of the playlist a value names: the one with that persistent ID, else the
/// one playlist of that name; -1 when there is none (the run then says the playlist is not
/// found). A name several playlists share is refused (UsageError naming flag) with their
/// persistent IDs.
int playlistIndex(const QString& flag, const QString& text, const QStringList& names,
                  const QStringList& ids);

/// --set NAME=VALUE: NAME is an option property; VALUE is read by its type (integers, flags
/// as true/false/1/0, texts, folderPath as a path, numericString as a number, empty for
/// absent). Throws UsageError.
Step optionSetting(const QString& assignment);

}  // namespace tessel::cli
