// The application object of both programs: an exception that leaves an event handler (a slot,
// a timer, a queued task) ends in the fatal-error dialog instead of tearing the event loop
// down. Application is QCoreApplication or QApplication.
#pragma once

#include "UncaughtException.h"

#include <QEvent>
#include <QObject>
#include <QString>

#include <exception>

namespace tessel {

template <typename Application>
class GuardedApplication : public Application {
  public:
    using Application::Application;

    bool notify(QObject* receiver, QEvent* event) override {
        // Read now: the receiver and the event may be gone once a handler has thrown.
        const int type = event ? int(event->type()) : 0;
        try {
            return Application::notify(receiver, event);
        } catch (...) {
            reportUncaughtException(
                std::current_exception(),
                QStringLiteral("event handler, event type ") + QString::number(type));
        }
    }
};

}  // namespace tessel
