#include "SizeCommand.h"

#include "TerminalPresenter.h"
#include "app/AppDelegate.h"
#include "tools/SizeCalculator.h"

namespace tessel::cli {

QList<Flag> flagsWithoutApply() {
    QList<Flag> flags;
    for (const Flag& flag : commonFlags()) {
        if (flag.name != u"--apply" && flag.name != u"--uncheck")
            flags.append(flag);
    }
    return flags;
}

QString SizeCommand::summary() const {
    return QStringLiteral(
        "Estimate the size of the tracks now and converted to 128, 192 or 256 kbps.");
}

QList<Flag> SizeCommand::toolFlags() const {
    return {
        {"--bitrate", "KBPS", "the bitrate to convert to: 128, 192 or 256 (default: 128)",
         [](const QString& text) -> Step {
             const int index = SizeCalculator::bitrates().indexOf(text.trimmed().toInt());
             if (index < 0)
                 throw UsageError{
                     QStringLiteral("--bitrate: '%1' is not one of 128, 192, 256").arg(text)};
             return
                 [index](AppDelegate& delegate) { delegate.setProperty("selectedBitrate", index); };
         }},
    };
}

QList<Flag> SizeCommand::sharedFlags() const {
    return flagsWithoutApply();
}

void SizeCommand::perform(AppDelegate& delegate) const {
    delegate.performCalculate();
}

QString SizeCommand::resultTitle() const {
    return SizeCalculator::resultTitle();
}

bool SizeCommand::runAction(AppDelegate& delegate, const ToolArguments&,
                            const TerminalPresenter& presenter, RunReport& report) const {
    const bool succeeded = runToEnd(delegate, [&] { perform(delegate); });
    if (succeeded && !presenter.alerts().isEmpty() &&
        presenter.alerts().last().request.title == resultTitle())
        report.result = presenter.alerts().last().request.message;
    return succeeded;
}

QString SizeCommand::writesHelp() const {
    return QStringLiteral("It reads the tracks' durations and bitrates and writes nothing.");
}

}  // namespace tessel::cli
