// The application-support object: what the running application is, where it keeps things, and
// the user defaults. One shared instance per process.
#pragma once

#include "Settings.h"
#include "SupportLinks.h"

#include <QString>
#include <QUrl>

#include <memory>
#include <optional>

namespace tessel {

class TesselLib {
  public:
    /// Creates the support folder when it is missing, becomes the shared instance and makes
    /// exceptions that nobody catches end in the fatal-error dialog.
    /// Without a store the user's QSettings are used.
    explicit TesselLib(std::unique_ptr<SettingsStore> settings = nullptr);
    ~TesselLib();
    TesselLib(const TesselLib&) = delete;
    TesselLib& operator=(const TesselLib&) = delete;

    /// The shared instance; a logic error when none was created.
    static TesselLib& shared();
    static bool exists();

    QString appID() const;
    QString appName() const;
    QString appVersionString() const;
    qint32 appBuild() const;
    /// The file the user defaults are kept in.
    QString prefsPath() const;
    QUrl prefsURL() const;
    /// The per-user data folder of the application; absent when the platform names none.
    std::optional<QUrl> suppURL() const;

    SettingsStore& settings() { return *settings_; }

    /// The folder the fatal-error handler writes its reports to: "Crash Reports" in the
    /// per-user data folder of the application; empty when the platform names none.
    static QString crashReportsPath();
    /// The per-user data folder of the application (what suppURL() names) as a path; empty
    /// when the platform names none.
    static QString dataFolderPath();
    /// The names of the crash reports there, in listing order.
    QStringList appCrashLogs() const;
    /// What the vendor's links are composed from now; the preferences file is read only when
    /// withPreferences is set.
    SupportContext supportContext(bool withPreferences) const;
    /// The address that link code opens (see LinkCode); empty when it opens nothing.
    QUrl linkURL(quint8 code, bool withPreferences = false) const;

  private:
    void createSupportFolder() const;

    std::unique_ptr<SettingsStore> settings_;
};

}  // namespace tessel
