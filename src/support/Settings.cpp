#include "Settings.h"

#include "TesselLib.h"

#include <QMutexLocker>

namespace tessel {

QSettingsStore::QSettingsStore() : settings_(QStringLiteral("Tessel"), QStringLiteral("Tessel")) {}

qint64 QSettingsStore::intValue(const QString& key) const {
    QMutexLocker lock(&mutex_);
    bool ok = false;
    const qint64 value = settings_.value(key).toLongLong(&ok);
    return ok ? value : 0;
}

void QSettingsStore::setIntValue(const QString& key, qint64 value) {
    QMutexLocker lock(&mutex_);
    settings_.setValue(key, value);
    settings_.sync();
}

QString QSettingsStore::fileName() const {
    return settings_.fileName();
}

qint64 MemorySettingsStore::intValue(const QString& key) const {
    QMutexLocker lock(&mutex_);
    return values_.value(key, 0);
}

void MemorySettingsStore::setIntValue(const QString& key, qint64 value) {
    QMutexLocker lock(&mutex_);
    values_.insert(key, value);
}

qint64 defaultInt(const QString& key) {
    return TesselLib::shared().settings().intValue(key);
}

void setDefaultInt(const QString& key, qint64 value) {
    TesselLib::shared().settings().setIntValue(key, value);
}

}  // namespace tessel
