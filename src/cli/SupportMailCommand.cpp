#include "SupportMailCommand.h"

#include "LinkCommand.h"
#include "support/SupportLinks.h"

namespace tessel::cli {

namespace {

const QString kUsage = QStringLiteral(
    "Usage: tessel-cli support-mail [--print] [--with-preferences]\n"
    "\nWrites a support request in your mail program, with this computer's model, its\n"
    "operating system and the number of crash reports Tessel left.\n"
    "\n  --print             print the mailto: address instead of opening it\n"
    "  --with-preferences  attach the preferences file (what holding Alt does in the window)\n");

}  // namespace

SupportMailCommand::SupportMailCommand()
    : out_(stdout, QIODevice::WriteOnly), err_(stderr, QIODevice::WriteOnly) {}

SupportMailCommand::SupportMailCommand(QIODevice* output, QIODevice* errors)
    : out_(output), err_(errors) {}

QString SupportMailCommand::summary() const {
    return QStringLiteral("Write a support request by mail, or print its address");
}

int SupportMailCommand::execute(const QStringList& arguments) {
    try {
        const CommandLine line =
            parseCommandLine(arguments, {helpOption(), printOption(), preferencesOption()});
        const LinkRequest request = readLinkRequest(line);
        if (request.help) {
            out_ << kUsage;
            return kExitOk;
        }
        if (!line.positional.isEmpty())
            throw UsageError{QStringLiteral("support-mail takes no operand")};
        return runLink(kLinkSupportMail, request, out_, err_);
    } catch (const UsageError& error) {
        err_ << "tessel-cli support-mail: " << error.message << "\n\n" << kUsage;
        return kExitUsage;
    }
}

}  // namespace tessel::cli
