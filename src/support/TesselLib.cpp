#include "TesselLib.h"

#include "TesselConfig.h"
#include "foundation/StringHelpers.h"

#include <QDir>
#include <QStandardPaths>

#include <atomic>
#include <stdexcept>

namespace tessel {

namespace {
std::atomic<TesselLib*> sharedInstance{nullptr};
}

TesselLib::TesselLib(std::unique_ptr<SettingsStore> settings)
    : settings_(settings ? std::move(settings) : std::make_unique<QSettingsStore>()) {
    createSupportFolder();
    sharedInstance.store(this);
}

TesselLib::~TesselLib() {
    TesselLib* self = this;
    sharedInstance.compare_exchange_strong(self, nullptr);
}

TesselLib& TesselLib::shared() {
    TesselLib* instance = sharedInstance.load();
    if (!instance)
        throw std::logic_error("TesselLib used before it was created");
    return *instance;
}

bool TesselLib::exists() {
    return sharedInstance.load() != nullptr;
}

QString TesselLib::appID() const {
    return QString::fromLatin1(config::kAppId);
}

QString TesselLib::appName() const {
    return QString::fromLatin1(config::kAppName);
}

QString TesselLib::appVersionString() const {
    return QString::fromLatin1(config::kShortVersion);
}

qint32 TesselLib::appBuild() const {
    return intValue(QString::fromLatin1(config::kBuildNumber));
}

QString TesselLib::prefsPath() const {
    return settings_->fileName();
}

QUrl TesselLib::prefsURL() const {
    return QUrl::fromLocalFile(prefsPath());
}

std::optional<QUrl> TesselLib::suppURL() const {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty() || appName().isEmpty())
        return std::nullopt;
    return QUrl::fromLocalFile(QDir(base).filePath(appName()));
}

void TesselLib::createSupportFolder() const {
    // A folder that cannot be created is not fatal: nothing needs it before it is used.
    if (const auto url = suppURL(); url && !QFileInfo::exists(url->toLocalFile()))
        QDir().mkpath(url->toLocalFile());
}

}  // namespace tessel
