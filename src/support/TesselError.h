// The one exception type of the program: a named error with a reason text.
#pragma once

#include <QString>

#include <exception>

namespace tessel {

class TesselError : public std::exception {
  public:
    TesselError(QString name, QString reason)
        : name_(std::move(name)), reason_(std::move(reason)), what_(description().toUtf8()) {}

    const QString& name() const { return name_; }
    const QString& reason() const { return reason_; }
    /// "name: reason", as it goes to the log.
    QString description() const { return name_ + QStringLiteral(": ") + reason_; }
    const char* what() const noexcept override { return what_.constData(); }

  private:
    QString name_;
    QString reason_;
    QByteArray what_;
};

/// Error names used across the program.
namespace errors {
inline const QString kUnsupportedTag = QStringLiteral("Unsupported Tag");
inline const QString kScripting = QStringLiteral("Scripting Error");
inline const QString kTagWrite = QStringLiteral("Tag Write Failed");
}  // namespace errors

}  // namespace tessel
