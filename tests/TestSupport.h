// Shared pieces of the tests: fixture copies in a temporary folder, a TesselLib with an
// in-memory settings store, and a scripted Presenter.
#pragma once

#include "ScriptedPresenter.h"
#include "support/TesselLib.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace tessel::test {

/// The folder of the committed fixture files.
QString fixtureFolder();
/// The folder of real-world files outside the repository; empty when it is not there.
QString corpusFolder();

/// A temporary folder that goes away with the object.
class TempFolder {
  public:
    TempFolder();
    QString path() const { return dir_.path(); }
    QString filePath(const QString& relative) const { return dir_.filePath(relative); }
    /// Copies the fixture into the folder (under another name or subfolder when given) and
    /// returns the copy's full path.
    QString copyFixture(const QString& fixture, const QString& as = {}) const;
    /// Writes a file with the given bytes, creating folders on the way; returns its path.
    QString writeFile(const QString& relative, const QByteArray& bytes = {}) const;

  private:
    QTemporaryDir dir_;
};

QByteArray fileBytes(const QString& path);

/// Runs the event loop until done() or five seconds have passed; done() at the end.
template <typename Done>
bool spinUntil(Done done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

/// A TesselLib with in-memory settings, the shared instance while it lives, and a scripted
/// Presenter for the controllers a test makes.
class TestEnvironment {
  public:
    TestEnvironment();
    ScriptedPresenter presenter;
    TesselLib& lib() { return *lib_; }

  private:
    std::unique_ptr<TesselLib> lib_;
};

/// Fixture base: a fresh TestEnvironment and temporary folder per test.
class TesselTest : public ::testing::Test {
  protected:
    TestEnvironment env;
    TempFolder temp;
    ScriptedPresenter& presenter() { return env.presenter; }
};

}  // namespace tessel::test

/// Lets gtest print QStrings in failure messages.
void PrintTo(const QString& text, std::ostream* os);
void PrintTo(const QStringList& list, std::ostream* os);
