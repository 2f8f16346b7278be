// User defaults: integer values keyed by text, behind a small interface that tests replace.
#pragma once

#include <QHash>
#include <QMutex>
#include <QSettings>
#include <QString>

#include <memory>

namespace tessel {

class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    /// The integer stored under key; 0 when missing or not a number.
    virtual qint64 intValue(const QString& key) const = 0;
    virtual void setIntValue(const QString& key, qint64 value) = 0;
    /// The file the store persists to; empty when it keeps nothing on disk.
    virtual QString fileName() const = 0;
};

/// The user's defaults, kept by QSettings under organisation and application "Tessel".
class QSettingsStore : public SettingsStore {
  public:
    QSettingsStore();
    qint64 intValue(const QString& key) const override;
    void setIntValue(const QString& key, qint64 value) override;
    QString fileName() const override;

  private:
    mutable QSettings settings_;
    mutable QMutex mutex_;
};

/// Keeps values in memory only; for tests and throw-away runs.
class MemorySettingsStore : public SettingsStore {
  public:
    qint64 intValue(const QString& key) const override;
    void setIntValue(const QString& key, qint64 value) override;
    QString fileName() const override { return {}; }

  private:
    QHash<QString, qint64> values_;
    mutable QMutex mutex_;
};

/// The integer default of key in the shared store; 0 when missing.
qint64 defaultInt(const QString& key);
void setDefaultInt(const QString& key, qint64 value);

}  // namespace tessel
