// Handing an address to the desktop from the command line.
#pragma once

#include <QUrl>

namespace tessel::cli {

/// Starts the desktop's opener (xdg-open) on url without waiting for it; false when it could
/// not be started.
bool openWithDesktop(const QUrl& url);

}  // namespace tessel::cli
