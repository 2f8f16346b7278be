// Opens the change panel over a Search & Replace list of many library tracks (100,000 by
// default) and times what a user waits for: the panel shown with its first rows painted,
// frames while paging and jumping through the list, a sort, a filter, Check All and Uncheck
// All; then the peak resident memory. Targets on the development machine: the panel open in
// under 1 s, each scrolling frame under 16 ms.
//
//   build/bench/changepanel/change_panel_bench [ROWS] [SCREENSHOT.png]
//
// Runs on the offscreen platform unless another is asked for, with settings in a temporary
// folder, so it neither needs a display nor touches the user's own settings.
#include "MemoryLibrary.h"
#include "app/AppDelegate.h"
#include "gui/ChangePanelDialog.h"
#include "gui/ChangeTableModel.h"
#include "gui/FocusRingStyle.h"
#include "gui/GuiPresenter.h"
#include "gui/MainWindow.h"
#include "gui/ToolPage.h"
#include "gui/TrackSourceBox.h"
#include "tags/TagCatalogue.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <vector>

#include <sys/resource.h>

namespace {

using namespace tessel;

// Counts the paint events of a widget, so a frame is known to have been drawn.
class PaintCounter : public QObject {
  public:
    int paints = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// Page steps timed from the top; a quarter as many through the sorted list.
constexpr int kPages = 400;

double milliseconds(const QElapsedTimer& timer) {
    return double(timer.nsecsElapsed()) / 1e6;
}

long peakResidentMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;  // kilobytes on Linux
}

// Titles of different lengths and shapes, each with "Song" somewhere.
QString titleOf(int id) {
    switch (id % 4) {
        case 0:
            return QStringLiteral("Song %1").arg(id);
        case 1:
            return QStringLiteral("The Long Song of the Northern Lights, Part %1 (Live)").arg(id);
        case 2:
            return QStringLiteral("Überall Song — %1 Remaster").arg(id);
        default:
            return QStringLiteral(
                       "%1 A very long title that runs far past the width of its "
                       "cell before the Song comes along at last")
                .arg(id);
    }
}

// The comments the run changes: like the titles, and one in ten as long as a song's lyrics,
// with the change in its middle.
QString commentOf(int id) {
    if (id % 10 != 5)
        return titleOf(id);
    return QStringLiteral("Verse and chorus, line after line %1 ").arg(id).repeated(40) +
           QStringLiteral("Song") +
           QStringLiteral(" and the last lines of the song %1").arg(id).repeated(40);
}

double threadCpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Processes events until the counted widget has painted once more.
void awaitPaint(const PaintCounter& counter) {
    QElapsedTimer timer;
    timer.start();
    const int before = counter.paints;
    while (counter.paints == before && timer.elapsed() < 2000)
        QApplication::processEvents();
    QApplication::processEvents();
}

// Frames of one kind: the wall time from a step (a scroll) to its painted result, and the
// main thread's processor time in it, which other programs on the machine cannot stretch.
class Frames {
  public:
    explicit Frames(const PaintCounter& counter) : counter_(counter) {}

    void time(const std::function<void()>& step) {
        QElapsedTimer timer;
        timer.start();
        const double cpu = threadCpuMilliseconds();
        step();
        awaitPaint(counter_);
        cpu_.push_back(threadCpuMilliseconds() - cpu);
        wall_.push_back(milliseconds(timer));
    }

    void print(const char* what) {
        std::sort(wall_.begin(), wall_.end());
        std::sort(cpu_.begin(), cpu_.end());
        std::printf(
            "%s, %zu frames: median %.2f ms, 99th %.2f ms, max %.2f ms (target <= 16 "
            "ms); processor time median %.2f ms, max %.2f ms\n",
            what, wall_.size(), wall_[wall_.size() / 2], wall_[wall_.size() * 99 / 100],
            wall_.back(), cpu_[cpu_.size() / 2], cpu_.back());
    }

  private:
    const PaintCounter& counter_;
    std::vector<double> wall_, cpu_;
};

}  // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    for (const auto format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, home.filePath(QStringLiteral("config")));
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessel"));
    gui::FocusRingStyle::install();  // the style the app runs with
    const int rows = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 100000;

    // The tracks come as the library's selection: reached through a playlist, each track of
    // the in-memory library would look its entry up among all the others.
    test::MemoryLibrary library;
    QList<test::MemoryTrack> tracks;
    tracks.reserve(rows);
    for (int id = 1; id <= rows; ++id) {
        tracks.append(library.addTrack(titleOf(id), QStringLiteral("Artist %1").arg(id % 500),
                                       QStringLiteral("/music/Track %1.mp3").arg(id)));
        tracks.last()->properties.insert(QStringLiteral("comment"), commentOf(id));
    }
    library.select(tracks);
    gui::GuiPresenter presenter;
    AppDelegate delegate(library.provider(), presenter);
    delegate.applicationDidFinishLaunching();
    delegate.setProperty("selectedMethod", gui::TrackSourceBox::Selection);
    gui::MainWindow window(delegate);
    presenter.setWindow(&window);
    window.show();
    QApplication::processEvents();
    std::printf("library of %d tracks in memory; peak resident memory so far %ld MB\n", rows,
                peakResidentMegabytes());

    // The run: Search & Replace over the comments of the selected tracks; the clock starts when its
    // list is handed to the panel and stops once the table has painted its first rows.
    auto* page = static_cast<gui::ToolPage*>(window.pageView(0));
    delegate.setProperty("selectedTag", int(catalogue::tags().indexOf(QStringLiteral("comment"))));
    delegate.setProperty("searchString", QStringLiteral("Song"));
    delegate.setProperty("replaceString", QStringLiteral("Tune"));
    gui::ChangePanelDialog* panel = window.changePanel();
    QTableView* table = panel->table();
    PaintCounter painted;
    table->viewport()->installEventFilter(&painted);
    QElapsedTimer opening;
    QObject::connect(&delegate, &AppDelegate::changesChanged, [&] { opening.start(); });
    QElapsedTimer collecting;
    collecting.start();
    page->startButton()->click();
    while (!(panel->isVisible() && painted.paints > 0) && collecting.elapsed() < 600000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QApplication::processEvents();
    const double opened = milliseconds(opening);
    if (table->model()->rowCount() != rows) {
        std::printf("the panel shows %d rows, not %d\n", table->model()->rowCount(), rows);
        return 1;
    }
    std::printf("collection and hand-over: %.0f ms\n", milliseconds(collecting) - opened);
    std::printf("panel of %d rows open with its first rows painted: %.1f ms (target <= 1000 ms)\n",
                rows, opened);
    std::printf("peak resident memory with the panel open: %ld MB\n", peakResidentMegabytes());
    if (argc > 2)
        panel->grab().save(QString::fromLocal8Bit(argv[2]));

    QScrollBar* bar = table->verticalScrollBar();
    const auto pageDown = [bar] { bar->triggerAction(QAbstractSlider::SliderPageStepAdd); };
    Frames paging(painted);
    for (int step = 0; step < kPages && bar->value() < bar->maximum(); ++step)
        paging.time(pageDown);
    paging.print("paging down from the top");
    Frames jumping(painted);
    for (int step = 0; step <= 100; ++step)
        jumping.time([bar, step] {
            bar->setValue(int(qint64(bar->maximum()) * ((step * 37) % 101) / 100));
        });
    jumping.print("jumping through the list");

    QElapsedTimer timer;
    timer.start();
    table->sortByColumn(gui::ChangeTableModel::NewValue, Qt::AscendingOrder);
    awaitPaint(painted);
    std::printf("sorted by new value: %.1f ms; peak resident memory now %ld MB\n",
                milliseconds(timer), peakResidentMegabytes());
    Frames sorted(painted);
    for (int step = 0; step < kPages / 4 && bar->value() < bar->maximum(); ++step)
        sorted.time(pageDown);
    sorted.print("paging down the sorted list");
    table->sortByColumn(-1, Qt::AscendingOrder);

    timer.restart();
    panel->uncheckAllButton()->click();
    awaitPaint(painted);
    std::printf("Uncheck All (%d rows): %.1f ms\n", rows, milliseconds(timer));
    timer.restart();
    panel->checkAllButton()->click();
    awaitPaint(painted);
    std::printf("Check All (%d rows): %.1f ms\n", rows, milliseconds(timer));

    timer.restart();
    table->selectAll();
    panel->uncheckButton()->click();
    awaitPaint(painted);
    std::printf("all rows selected and unchecked with Uncheck Selected: %.1f ms\n",
                milliseconds(timer));
    timer.restart();
    panel->checkButton()->click();
    awaitPaint(painted);
    std::printf("Check Selected on all rows: %.1f ms\n", milliseconds(timer));
    table->clearSelection();

    timer.restart();
    panel->filterField()->setText(QStringLiteral("Northern"));
    awaitPaint(painted);
    std::printf("filtered to %d rows: %.1f ms\n", table->model()->rowCount(), milliseconds(timer));
    timer.restart();
    panel->filterField()->clear();
    awaitPaint(painted);
    std::printf("filter cleared: %.1f ms\n", milliseconds(timer));

    double load[3] = {};
    getloadavg(load, 3);
    std::printf("peak resident memory: %ld MB\nload average at the end: %.2f %.2f %.2f (2 cores)\n",
                peakResidentMegabytes(), load[0], load[1], load[2]);
    panel->reject();
    presenter.setWindow(nullptr);
    return 0;
}
