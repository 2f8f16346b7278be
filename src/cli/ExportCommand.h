// tessel-cli export: the tracks of a source saved as tab-separated text, XML, M3U8 or XSPF to
// the file of --save-to (replaced whole, or left as it was when the write fails), or every
// playlist into the --save-to folder.
#pragma once

#include "ToolCommand.h"

namespace tessel::cli {

class ExportCommand : public ToolCommand {
  public:
    QString name() const override { return QStringLiteral("export"); }
    QString summary() const override;
    QList<Flag> toolFlags() const override;
    /// All but --apply and --uncheck.
    QList<Flag> sharedFlags() const override;

  protected:
    QString action() const override { return QStringLiteral("performExport"); }
    void perform(AppDelegate& delegate) const override;
    /// Saves the export; the result says how many tracks went to which file.
    bool runAction(AppDelegate& delegate, const ToolArguments& arguments,
                   const TerminalPresenter& presenter, RunReport& report) const override;
    QString synopsis() const override {
        return QStringLiteral("[SOURCE] --save-to FILE [OPTIONS]");
    }
    QString writesHelp() const override;
    /// --all-playlists: every playlist into the folder; the result is the summary.
    bool runAll(AppDelegate& delegate, const QString& folder, RunReport& report) const;

  private:
    // The format chosen by --format; kept here because it is the action's argument, not an
    // option of the controller.
    mutable int format_ = 1;
    mutable bool all_ = false;
};

}  // namespace tessel::cli
