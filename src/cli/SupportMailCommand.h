// tessel-cli support-mail [--print] [--with-preferences]: the support-request mail (link 1),
// with the details of this computer and the number of crash reports, opened in the mail
// program or printed as its mailto: address.
#pragma once

#include "Command.h"

#include <QIODevice>
#include <QTextStream>

namespace tessel::cli {

class SupportMailCommand : public Command {
  public:
    SupportMailCommand();
    /// Writes to the given devices (tests).
    SupportMailCommand(QIODevice* output, QIODevice* errors);

    QString name() const override { return QStringLiteral("support-mail"); }
    QString summary() const override;
    int execute(const QStringList& arguments) override;

  private:
    QTextStream out_;
    QTextStream err_;
};

}  // namespace tessel::cli
