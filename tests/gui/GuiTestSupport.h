// The widget tests' fixture: the real main window over a controller on an in-memory library,
// and an answerer for the message boxes that runs put up.
#pragma once

#include "MemoryLibrary.h"
#include "TestSupport.h"
#include "app/AppDelegate.h"
#include "gui/GuiPresenter.h"
#include "gui/MainWindow.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

class QMessageBox;

namespace tessel::gui {
class SearchReplacePage;
}

namespace tessel::gui::test {

/// While it lives, answers every message box that comes up (with its default button unless
/// onAlert presses another) and records it as "title: message".
class AlertAnswerer : public QObject {
  public:
    AlertAnswerer();
    QStringList alerts;
    /// Runs with the box before it is answered; it may press a button itself.
    std::function<void(QMessageBox*)> onAlert;

  private:
    void answer();
    QList<QMessageBox*> seen_;
};

/// Waits for a condition while events are processed; false when it timed out.
bool waitFor(const std::function<bool()>& condition, int timeoutMs = 20000);

class GuiTest : public tessel::test::TesselTest {
  protected:
    GuiTest();
    ~GuiTest() override;

    /// Copies the fixtures into a folder and makes it the track source through the page's
    /// "Choose…" button; returns the copies' paths.
    QStringList useFolderOf(const QStringList& fixtures);
    /// The Search & Replace page.
    SearchReplacePage* searchPage() const;
    /// Starts the tool with the page's start button and waits for the change panel.
    bool startAndWaitForPanel();
    /// Runs action and waits for the run it starts to end; returns runEnded's flag.
    bool runToEnd(const std::function<void()>& action);

    tessel::test::MemoryLibrary library;
    tessel::test::MemoryPlaylist music;
    GuiPresenter presenter;
    AppDelegate delegate;
    std::unique_ptr<MainWindow> window;
    AlertAnswerer answerer;
};

/// The title tag of a music file, read with TagLib directly.
QString fileTitle(const QString& path);

}  // namespace tessel::gui::test
