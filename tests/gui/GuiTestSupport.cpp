#include "GuiTestSupport.h"

#include "app/RunToEnd.h"
#include "gui/ChangePanelDialog.h"
#include "gui/SearchReplacePage.h"
#include "gui/TrackSourceBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <taglib/fileref.h>
#include <taglib/tag.h>

namespace tessel::gui::test {

AlertAnswerer::AlertAnswerer() {
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &AlertAnswerer::answer);
    timer->start(20);
}

void AlertAnswerer::answer() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible() || seen_.contains(box))
        return;
    seen_.append(box);
    alerts.append(box->text() + QStringLiteral(": ") + box->informativeText());
    if (onAlert)
        onAlert(box);
    if (box->isVisible() && box->defaultButton())
        box->defaultButton()->click();
}

bool waitFor(const std::function<bool()>& condition, int timeoutMs) {
    return QTest::qWaitFor(condition, timeoutMs);
}

GuiTest::GuiTest() : delegate(library.provider(), presenter) {
    music = library.addPlaylist(QStringLiteral("Music"));
    delegate.applicationDidFinishLaunching();
    // What an earlier case's window remembered (columns, folders, geometry) does not carry
    // over: the settings live in the run's temporary folder, emptied for each case.
    QSettings(QStringLiteral("Tessel"), QStringLiteral("Tessel")).clear();
    window = std::make_unique<MainWindow>(delegate);
    presenter.setWindow(window.get());
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        ADD_FAILURE() << "the main window was not shown";
}

GuiTest::~GuiTest() {
    presenter.setWindow(nullptr);
}

SearchReplacePage* GuiTest::searchPage() const {
    return static_cast<SearchReplacePage*>(window->pageView(0));
}

QStringList GuiTest::useFolderOf(const QStringList& fixtures) {
    QStringList paths;
    for (const QString& fixture : fixtures)
        paths.append(temp.copyFixture(fixture, QStringLiteral("music/") + fixture));
    window->setFolderChooser(
        [this](QWidget*, const QUrl&) { return QUrl::fromLocalFile(temp.filePath("music")); });
    QTest::mouseClick(searchPage()->trackSource()->chooseButton(), Qt::LeftButton);
    return paths;
}

bool GuiTest::startAndWaitForPanel() {
    searchPage()->startButton()->click();
    return waitFor([this] { return window->changePanel()->isVisible(); });
}

bool GuiTest::runToEnd(const std::function<void()>& action) {
    return tessel::test::runToEnd(delegate, action);
}

QString fileTitle(const QString& path) {
    const TagLib::FileRef file(QFile::encodeName(path).constData());
    if (file.isNull() || !file.tag())
        return {};
    return QString::fromStdWString(file.tag()->title().toWString());
}

}  // namespace tessel::gui::test
