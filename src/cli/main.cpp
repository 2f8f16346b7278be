// tessel-cli: the tools of Tessel from the command line, over the same controller as the
// desktop app.
#include "Command.h"
#include "StatusLine.h"
#include "support/GuardedApplication.h"
#include "support/VersionLine.h"
#include "tags/SafeSaveStream.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

namespace {

// Diagnostics share standard error with alerts and progress; a prefix tells them apart, and a
// progress line drawn in place is cleared first so that the two never share a line.
void logToStandardError(QtMsgType type, const QMessageLogContext&, const QString& message) {
    const char* prefix = type == QtCriticalMsg || type == QtFatalMsg ? "error: " : "log: ";
    tessel::cli::StatusLine::aside([&] { QTextStream(stderr) << prefix << message << Qt::endl; });
}

void printUsage(const std::vector<std::unique_ptr<tessel::cli::Command>>& commands, FILE* stream) {
    QTextStream out(stream);
    out << "Usage: tessel-cli COMMAND [OPTIONS]\n       tessel-cli --version\n\nCommands:\n";
    for (const auto& command : commands)
        out << "  " << command->name().leftJustified(16) << command->summary() << '\n';
    out << "\nRun 'tessel-cli COMMAND --help' for the options of a command.\n";
}

}  // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(logToStandardError);
    // An exception nobody caught ends with its report printed and left in the crash folder.
    tessel::GuardedApplication<QCoreApplication> app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Tessel"));
    QCoreApplication::setOrganizationName(QStringLiteral("Tessel"));
    // A save that a kill interrupted left a copy beside its file; the file itself is whole.
    tessel::filetags::removeUnfinishedSaves();

    const auto commands = tessel::cli::allCommands();
    QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty() || arguments.first() == u"--help" || arguments.first() == u"-h") {
        printUsage(commands, arguments.isEmpty() ? stderr : stdout);
        return arguments.isEmpty() ? tessel::cli::kExitUsage : tessel::cli::kExitOk;
    }
    if (arguments.first() == u"--version" || arguments.first() == u"-v") {
        QTextStream(stdout) << tessel::versionLine(QStringLiteral("tessel-cli")) << '\n';
        return tessel::cli::kExitOk;
    }
    const QString name = arguments.takeFirst();
    for (const auto& command : commands) {
        if (command->name() == name)
            return command->execute(arguments);
    }
    QTextStream(stderr) << "tessel-cli: unknown command '" << name << "'\n";
    printUsage(commands, stderr);
    return tessel::cli::kExitUsage;
}
