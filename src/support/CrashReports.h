// The reports the fatal-error handler leaves behind, one file per fatal error, in a folder of
// the application's own. The support mail counts them.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace tessel {

/// The names of the folder's entries that begin with appName, compared without regard to case
/// and diacritics, in listing order; empty when the folder cannot be read.
QStringList crashLogsIn(const QString& folder, const QString& appName);

/// What one report holds.
struct CrashReport {
    QString appName;
    QString version;
    qint32 build = 0;
    QString machineModel;
    QString osVersion;
    QString message;
    QString detail;
    QDateTime when;
};

/// Writes the report into folder (created when missing) under a name that begins with the
/// application's name; returns its path, or empty text when it could not be written.
QString writeCrashReport(const QString& folder, const CrashReport& report);

}  // namespace tessel
