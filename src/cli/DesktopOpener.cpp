#include "DesktopOpener.h"

#include <QProcess>

namespace tessel::cli {

bool openWithDesktop(const QUrl& url) {
    return QProcess::startDetached(QStringLiteral("xdg-open"), {url.toString(QUrl::FullyEncoded)});
}

}  // namespace tessel::cli
