// tessel-cli link CODE [--print] [--with-preferences]: opens one of the vendor's links (1 the
// support-request mail, 2 the beta-test mail, 3 the product page, 4 the store page, 5 the
// product in the software centre, 6 the update site's page) with the desktop, or prints its
// address. Other codes open nothing.
#pragma once

#include "Command.h"
#include "CommandLine.h"

#include <QIODevice>
#include <QTextStream>

namespace tessel::cli {

/// How a link is handed over.
struct LinkRequest {
    bool help = false;
    bool print = false;            // print the address instead of opening it
    bool withPreferences = false;  // the support mail carries the preferences file
};

/// The options of link and support-mail.
Option printOption();
Option preferencesOption();
LinkRequest readLinkRequest(const CommandLine& line);

/// Opens or prints the address of link code; a code that opens nothing is reported on err.
/// Returns an ExitCode.
int runLink(int code, const LinkRequest& request, QTextStream& out, QTextStream& err);

class LinkCommand : public Command {
  public:
    LinkCommand();
    /// Writes to the given devices (tests).
    LinkCommand(QIODevice* output, QIODevice* errors);

    QString name() const override { return QStringLiteral("link"); }
    QString summary() const override;
    int execute(const QStringList& arguments) override;

  private:
    QTextStream out_;
    QTextStream err_;
};

}  // namespace tessel::cli
