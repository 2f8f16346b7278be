// The application-support object: what the running application is, where it keeps things, and
// the user defaults. One shared instance per process.
#pragma once

#include "Settings.h"

#include <QString>
#include <QUrl>

#include <memory>
#include <optional>

namespace tessel {

class TesselLib {
  public:
    /// Creates the support folder when it is missing and becomes the shared instance.
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

  private:
    void createSupportFolder() const;

    std::unique_ptr<SettingsStore> settings_;
};

}  // namespace tessel
