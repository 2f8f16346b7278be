#include "TesselLib.h"

#include "CrashReports.h"
#include "SystemInfo.h"
#include "TesselConfig.h"
#include "UncaughtException.h"
#include "foundation/StringHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
    installUncaughtExceptionHandler();
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

namespace {

QString supportFolderPath() {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString name = QString::fromLatin1(config::kAppName);
    return base.isEmpty() || name.isEmpty() ? QString() : QDir(base).filePath(name);
}

QByteArray fileContents(const QString& path) {
    QFile file(path);
    if (path.isEmpty() || !QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

}  // namespace

std::optional<QUrl> TesselLib::suppURL() const {
    const QString path = supportFolderPath();
    return path.isEmpty() ? std::nullopt : std::optional(QUrl::fromLocalFile(path));
}

QString TesselLib::dataFolderPath() {
    return supportFolderPath();
}

QString TesselLib::crashReportsPath() {
    const QString support = supportFolderPath();
    return support.isEmpty() ? QString() : QDir(support).filePath(QStringLiteral("Crash Reports"));
}

QStringList TesselLib::appCrashLogs() const {
    return crashLogsIn(crashReportsPath(), appName());
}

SupportContext TesselLib::supportContext(bool withPreferences) const {
    SupportContext context;
    context.addresses = VendorAddresses::configured();
    context.appName = appName();
    context.version = appVersionString();
    context.build = appBuild();
    context.machineModel = machineModel();
    context.osVersion = osVersionText();
    context.crashReports = appCrashLogs().size();
    // A preferences file that cannot be read attaches nothing.
    if (withPreferences)
        context.preferences = fileContents(prefsPath());
    return context;
}

QUrl TesselLib::linkURL(quint8 code, bool withPreferences) const {
    // Only the support mail carries the preferences.
    return tessel::linkURL(code, supportContext(withPreferences && code == kLinkSupportMail));
}

void TesselLib::createSupportFolder() const {
    // A folder that cannot be created is not fatal: nothing needs it before it is used.
    if (const auto url = suppURL(); url && !QFileInfo::exists(url->toLocalFile()))
        QDir().mkpath(url->toLocalFile());
}

}  // namespace tessel
