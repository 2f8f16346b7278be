// A small program that lets an exception escape, for the tests of the fatal-error path. Its
// argument says where: "slot" (a slot called by the event loop), "background" (a background
// job) or "terminate" (a thread of its own, which ends in std::terminate).
#include "support/GuardedApplication.h"
#include "support/Tasks.h"
#include "support/TesselError.h"
#include "support/TesselLib.h"

#include <QCoreApplication>
#include <QObject>
#include <QTimer>

#include <stdexcept>
#include <thread>

namespace {

class Thrower : public QObject {
    Q_OBJECT

  public slots:
    void fail() { throw tessel::TesselError("Broken Slot", "The slot gave up."); }
};

void startFailure(const QString& mode, Thrower& thrower) {
    if (mode == u"slot") {
        QTimer::singleShot(0, &thrower, &Thrower::fail);
    } else if (mode == u"background") {
        tessel::runInBackground([] { throw std::runtime_error("The job gave up."); });
    } else if (mode == u"terminate") {
        std::thread([] {
            throw tessel::TesselError("Broken Thread", "Nobody caught it.");
        }).detach();
    }
}

}  // namespace

int main(int argc, char** argv) {
    tessel::GuardedApplication<QCoreApplication> app(argc, argv);
    tessel::TesselLib lib(std::make_unique<tessel::MemorySettingsStore>());
    Thrower thrower;
    startFailure(QCoreApplication::arguments().value(1), thrower);
    // Reaching the end means the failure was lost: exit status 0 tells the test so.
    QTimer::singleShot(20000, &app, &QCoreApplication::quit);
    return QCoreApplication::exec();
}

#include "FatalErrorHelper.moc"
