#include "MusicLibrary.h"

#include "LibraryApplication.h"
#include "TesselConfig.h"
#include "support/TesselLib.h"

#include <QDir>
#include <QStandardPaths>

namespace tessel::itunes {

namespace {

QString dataFolder() {
    if (TesselLib::exists()) {
        if (const auto url = TesselLib::shared().suppURL())
            return url->toLocalFile();
    }
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QDir(base).filePath(QString::fromUtf8(config::kAppName));
}

}  // namespace

QString libraryPath(const QString& explicitPath) {
    if (!explicitPath.isEmpty())
        return explicitPath;
    const QString fromEnvironment = qEnvironmentVariable("TESSEL_LIBRARY");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return QDir(dataFolder()).filePath(QStringLiteral("library.sqlite"));
}

ApplicationProvider libraryProvider(const QString& path) {
    return [path]() -> std::shared_ptr<Application> {
        return std::make_shared<LibraryApplication>(Connection::open(path));
    };
}

}  // namespace tessel::itunes
