#include "Tasks.h"

#include "UncaughtException.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <QThreadPool>

namespace tessel {

void runInBackground(Task task) {
    QThreadPool::globalInstance()->start([task = std::move(task)] {
        try {
            task();
        } catch (...) {
            reportUncaughtException(std::current_exception(), QStringLiteral("background job"));
        }
    });
}

void runOnMainAsync(Task task) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) {
        task();
        return;
    }
    QMetaObject::invokeMethod(app, std::move(task), Qt::QueuedConnection);
}

void runOnMainBlocking(const Task& task) {
    if (isMainThread()) {
        task();
        return;
    }
    QMetaObject::invokeMethod(QCoreApplication::instance(), task, Qt::BlockingQueuedConnection);
}

bool isMainThread() {
    QCoreApplication* app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}

}  // namespace tessel
