// Exceptions that nobody caught, wherever they surface: at std::terminate, out of a background
// job, or out of an event handler (see GuardedApplication). Each ends in reportFatalError.
#pragma once

#include <QString>
#include <QStringList>

#include <exception>

namespace tessel {

/// What is known of an exception that nobody caught.
struct UncaughtException {
    QString name;         // a TesselError's name, else the exception's type
    QString reason;       // a TesselError's reason, else what()
    QString description;  // "name: reason"
    QString userInfo;     // where it surfaced and on which thread
    QStringList callStack;

    /// The dialog's detail: " description reason userInfo call stack".
    QString detail() const;
};

/// Describes error (null: std::terminate with no exception) that surfaced at where, with the
/// call stack of the calling thread.
UncaughtException describeException(std::exception_ptr error, const QString& where);

/// reportFatalError for the exception. Never returns.
[[noreturn]] void reportUncaughtException(std::exception_ptr error, const QString& where);

/// Makes std::terminate end in the fatal-error dialog. Safe to call more than once.
void installUncaughtExceptionHandler();

}  // namespace tessel
