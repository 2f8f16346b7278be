#include "LinkCommand.h"

#include "CommandLine.h"
#include "DesktopOpener.h"
#include "support/FormattedString.h"
#include "support/TesselLib.h"

#include <memory>

namespace tessel::cli {

namespace {

const QString kUsage = QStringLiteral(
    "Usage: tessel-cli link CODE [--print] [--with-preferences]\n"
    "\nOpens one of the vendor's links with the desktop's default program:\n"
    "  1  a support request in your mail program, with the details of this computer\n"
    "  2  a request to test upcoming beta versions, by mail\n"
    "  3  the product's page\n"
    "  4  the product's store page\n"
    "  5  the product in the desktop's software centre\n"
    "  6  the product's page on an update-tracking site\n"
    "Other codes open nothing. Like a button's tag, only the low 8 bits of CODE count.\n"
    "\n  --print             print the address instead of opening it\n"
    "  --with-preferences  attach the preferences file to the support request (what holding\n"
    "                      Alt does in the window)\n");

int linkCode(const QStringList& positional) {
    if (positional.size() != 1)
        throw UsageError{QStringLiteral("give one link CODE")};
    bool ok = false;
    const int code = positional.first().toInt(&ok);
    if (!ok)
        throw UsageError{
            formattedString(QStringLiteral("“%@” is no link code"), positional.first())};
    return code;
}

}  // namespace

Option printOption() {
    return {QStringLiteral("--print"), {}, {}};
}

Option preferencesOption() {
    return {QStringLiteral("--with-preferences"), {}, {}};
}

LinkRequest readLinkRequest(const CommandLine& line) {
    LinkRequest request;
    for (const GivenOption& option : line.options) {
        request.help |= option.name == u"--help";
        request.print |= option.name == u"--print";
        request.withPreferences |= option.name == u"--with-preferences";
    }
    return request;
}

int runLink(int code, const LinkRequest& request, QTextStream& out, QTextStream& err) {
    // The links read the support folder and the preferences: the program's own when they
    // exist, else made for this run.
    std::unique_ptr<TesselLib> own = TesselLib::exists() ? nullptr : std::make_unique<TesselLib>();
    const QUrl url = TesselLib::shared().linkURL(quint8(code & 0xFF), request.withPreferences);
    if (url.isEmpty()) {
        err << formattedString(QStringLiteral("Link code %i opens nothing."), code) << Qt::endl;
        return kExitFailure;
    }
    if (request.print) {
        out << url.toString(QUrl::FullyEncoded) << Qt::endl;
        return kExitOk;
    }
    if (!openWithDesktop(url)) {
        err << "No program could be started to open it; the address is:" << Qt::endl;
        out << url.toString(QUrl::FullyEncoded) << Qt::endl;
        return kExitFailure;
    }
    return kExitOk;
}

LinkCommand::LinkCommand()
    : out_(stdout, QIODevice::WriteOnly), err_(stderr, QIODevice::WriteOnly) {}

LinkCommand::LinkCommand(QIODevice* output, QIODevice* errors) : out_(output), err_(errors) {}

QString LinkCommand::summary() const {
    return QStringLiteral(
        "Open one of the vendor's links (support mail, product pages), or print it");
}

int LinkCommand::execute(const QStringList& arguments) {
    try {
        const CommandLine line =
            parseCommandLine(arguments, {helpOption(), printOption(), preferencesOption()});
        const LinkRequest request = readLinkRequest(line);
        if (request.help) {
            out_ << kUsage;
            return kExitOk;
        }
        return runLink(linkCode(line.positional), request, out_, err_);
    } catch (const UsageError& error) {
        err_ << "tessel-cli link: " << error.message << "\n\n" << kUsage;
        return kExitUsage;
    }
}

}  // namespace tessel::cli
