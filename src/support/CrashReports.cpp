#include "CrashReports.h"

#include "foundation/StringHelpers.h"

#include <QCoreApplication>
#include <QDir>
#include <QSaveFile>

namespace tessel {

namespace {

QString reportText(const CrashReport& report) {
    return report.appName + u' ' + report.version + QStringLiteral(" (") +
           QString::number(report.build) + QStringLiteral(")\nDate: ") +
           report.when.toString(Qt::ISODate) + QStringLiteral("\nHardware: ") +
           report.machineModel + QStringLiteral("\nSoftware: ") + report.osVersion +
           QStringLiteral("\n\nFatal error: ") + report.message + QStringLiteral("\nDetail:") +
           report.detail + u'\n';
}

QString reportName(const CrashReport& report) {
    // The process ID keeps two reports of one second apart.
    return report.appName + u'_' + report.when.toString(QStringLiteral("yyyy-MM-dd-HHmmss")) +
           u'_' + QString::number(QCoreApplication::applicationPid()) + QStringLiteral(".txt");
}

}  // namespace

QStringList crashLogsIn(const QString& folder, const QString& appName) {
    if (folder.isEmpty())
        return {};
    QStringList logs;
    const QDir::Filters entries =
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    for (const QString& name : QDir(folder).entryList(entries, QDir::Unsorted)) {
        if (startsWithFolded(name, appName))
            logs.append(name);
    }
    return logs;
}

QString writeCrashReport(const QString& folder, const CrashReport& report) {
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return {};
    // Written whole or not at all: a report cut short by a second failure would mislead.
    QSaveFile file(QDir(folder).filePath(reportName(report)));
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(reportText(report).toUtf8());
    return file.commit() ? file.fileName() : QString();
}

}  // namespace tessel
