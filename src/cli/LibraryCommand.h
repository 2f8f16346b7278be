// tessel-cli library: filling and inspecting the music library. Its actions:
//   import-xml FILE                 import a Library.xml export
//   add-folder DIR [--playlist NAME]  add the music files below a folder
//   playlists                       the playlists with their kind and track count
//   tracks [--playlist NAME | --selection]  the tracks of the library, a playlist or the
//                                   selection
//   new-playlist NAME [--smart]     create a playlist
//   select --playlist NAME [--rows LIST]  store the selection
// each with --json and --library FILE (else TESSEL_LIBRARY, else the per-user library).
#pragma once

#include "Command.h"

#include <QIODevice>
#include <QTextStream>

namespace tessel::cli {

class LibraryCommand : public Command {
  public:
    /// Writes results to standard output, messages and progress to standard error.
    LibraryCommand();
    /// Writes to the given devices (tests).
    LibraryCommand(QIODevice* output, QIODevice* errors);

    QString name() const override { return QStringLiteral("library"); }
    QString summary() const override;
    int execute(const QStringList& arguments) override;

  private:
    QTextStream out_;
    QTextStream err_;
};

}  // namespace tessel::cli
