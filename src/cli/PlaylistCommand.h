// tessel-cli playlist: the Playlist Manager from the command line.
#pragma once

#include "ToolCommand.h"

namespace tessel::cli {

class PlaylistCommand : public ToolCommand {
  public:
    QString name() const override { return QStringLiteral("playlist"); }
    QString summary() const override;
    QList<Flag> toolFlags() const override;
    /// A library playlist only: no folder or selection.
    QList<Flag> sharedFlags() const override;

  protected:
    QString action() const override { return QStringLiteral("performPlaylist"); }
    void perform(AppDelegate& delegate) const override;
    QString synopsis() const override;
    QString writesHelp() const override;
};

/// The shared flags without the ones that choose a folder or the selection: for the tools that
/// always work on a library playlist.
QList<Flag> playlistOnlyFlags();

}  // namespace tessel::cli
