#include "NumericCommand.h"

#include "FlagSteps.h"
#include "app/AppDelegate.h"
#include "support/FormattedString.h"
#include "tags/TagCatalogue.h"

namespace tessel::cli {

namespace {

// The number and what is done with it, by the value of selectedNumeric.
Flag changeFlag(const char* name, int change, const char* help) {
    const QString flag = QString::fromLatin1(name);
    return {flag, "N", QString::fromLatin1(help), [flag, change](const QString& text) -> Step {
                const QVariant number = numberValue(flag, text);
                return [change, number](AppDelegate& delegate) {
                    delegate.setProperty("selectedNumeric", change);
                    delegate.setProperty("numericString", number);
                };
            }};
}

QString writtenText(int count) {
    return count == 1 ? QStringLiteral("1 track written.")
                      : formattedString(QStringLiteral("%i tracks written."), count);
}

}  // namespace

QString NumericCommand::summary() const {
    return QStringLiteral(
        "Set, raise or lower one number tag of the tracks selected in the library.");
}

QList<Flag> NumericCommand::toolFlags() const {
    return {
        {"--tag", "TAG", "the number tag, by identifier or name (default: playedCount)",
         [](const QString& text) {
             return tagStep("--tag", "selectedNumericTag", catalogue::integerTags(), text);
         }},
        changeFlag("--set-to", 0, "write N"),
        changeFlag("--add", 1, "add N to the value"),
        changeFlag("--subtract", 2, "subtract N from the value"),
    };
}

QList<Flag> NumericCommand::sharedFlags() const {
    QList<Flag> flags;
    for (const Flag& flag : commonFlags()) {
        if (!QStringList{"--folder", "--playlist", "--selection", "--apply", "--uncheck"}.contains(
                flag.name))
            flags.append(flag);
    }
    return flags;
}

void NumericCommand::perform(AppDelegate& delegate) const {
    delegate.performNumeric();
}

bool NumericCommand::runAction(AppDelegate& delegate, const ToolArguments&,
                               const TerminalPresenter&, RunReport& report) const {
    int written = 0;
    const auto connection = QObject::connect(&delegate, &AppDelegate::tracksWritten,
                                             [&written](int count) { written = count; });
    report.applied = runToEnd(delegate, [&] { perform(delegate); });
    QObject::disconnect(connection);
    if (report.applied)
        report.result = writtenText(written);
    return report.applied;
}

QString NumericCommand::writesHelp() const {
    return QStringLiteral(
        "It works on the library's selection (see 'tessel-cli library select') and writes\n"
        "each track at once: there is no preview. Without --set-to, --add or --subtract it\n"
        "has no number and stops with an alert.");
}

}  // namespace tessel::cli
