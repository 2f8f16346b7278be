// Not a test: opens the window over an in-memory library of long titles, on a light or a dark
// palette, and saves what a user meets: the window, the change panel, the word after applying,
// and a focused button. Usage: screenshot_helper OUTPUT_DIR light|dark (run under Xvfb).
#include "MemoryLibrary.h"
#include "app/AppDelegate.h"
#include "gui/ChangePanelDialog.h"
#include "gui/ChangeTableModel.h"
#include "gui/FocusRingStyle.h"
#include "gui/GuiPresenter.h"
#include "gui/MainWindow.h"
#include "gui/SearchReplacePage.h"
#include "support/Settings.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

namespace {

QPalette darkPalette() {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(45, 45, 48));
    dark.setColor(QPalette::WindowText, QColor(225, 225, 225));
    dark.setColor(QPalette::Base, QColor(30, 30, 32));
    dark.setColor(QPalette::AlternateBase, QColor(40, 40, 44));
    dark.setColor(QPalette::Text, QColor(225, 225, 225));
    dark.setColor(QPalette::Button, QColor(58, 58, 62));
    dark.setColor(QPalette::ButtonText, QColor(225, 225, 225));
    dark.setColor(QPalette::Highlight, QColor(61, 132, 214));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    dark.setColor(QPalette::ToolTipBase, QColor(60, 60, 64));
    dark.setColor(QPalette::ToolTipText, QColor(225, 225, 225));
    dark.setColor(QPalette::PlaceholderText, QColor(140, 140, 140));
    dark.setColor(QPalette::Disabled, QPalette::Text, QColor(120, 120, 120));
    dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(120, 120, 120));
    dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(120, 120, 120));
    return dark;
}

void save(QWidget* widget, const QString& folder, const QString& name) {
    QTest::qWait(300);
    widget->grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

}  // namespace

int main(int argc, char** argv) {
    // What the window remembers goes to a throw-away folder, never the user's settings.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessel"));
    QApplication::setStyle(QStringLiteral("Fusion"));
    tessel::gui::FocusRingStyle::install();
    const QString folder = QApplication::arguments().value(1, QStringLiteral("."));
    const QString mode = QApplication::arguments().value(2, QStringLiteral("light"));
    if (mode == u"dark")
        QApplication::setPalette(darkPalette());

    tessel::test::MemoryLibrary library;
    const auto music = library.addPlaylist(QStringLiteral("Music"));
    for (int i = 1; i <= 40; ++i) {
        const QString title =
            QStringLiteral(
                "Live at the Royal Albert Hall, London, 14 November 1997, Disc %1, "
                "The Long Road Home (Remastered Edition with Bonus Material, Take %2)")
                .arg(i % 3 + 1)
                .arg(i);
        library.append(music, library.addTrack(title, QStringLiteral("The Tessellations"),
                                               QStringLiteral("/music/Live %1.flac").arg(i)));
    }
    tessel::gui::GuiPresenter presenter;
    tessel::AppDelegate delegate(library.provider(), presenter,
                                 std::make_unique<tessel::MemorySettingsStore>());
    delegate.applicationDidFinishLaunching();
    tessel::gui::MainWindow window(delegate);
    presenter.setWindow(&window);
    window.show();
    save(&window, folder, QStringLiteral("main-") + mode);

    delegate.setProperty("searchString", QStringLiteral("Long Road"));
    delegate.setProperty("replaceString", QStringLiteral("Winding Way"));
    auto* page = static_cast<tessel::gui::SearchReplacePage*>(window.pageView(0));
    page->startButton()->click();
    if (!QTest::qWaitFor([&] { return window.changePanel()->isVisible(); }, 10000))
        return 1;
    window.changePanel()->resize(1100, 520);
    save(window.changePanel(), folder, QStringLiteral("panel-") + mode);
    QTableView* table = window.changePanel()->table();
    const QModelIndex value = table->model()->index(0, tessel::gui::ChangeTableModel::NewValue);
    const QPoint at = table->viewport()->mapToGlobal(table->visualRect(value).center());
    QToolTip::showText(at, value.data(Qt::ToolTipRole).toString(), table);
    QTest::qWait(500);
    QGuiApplication::primaryScreen()->grabWindow(0).save(
        QDir(folder).filePath(QStringLiteral("tooltip-") + mode + QStringLiteral(".png")));
    QToolTip::hideText();

    delegate.checkSelected({1, 4, 7}, 0);
    bool ended = false;
    QObject::connect(&delegate, &tessel::AppDelegate::runEnded, [&] { ended = true; });
    window.changePanel()->applyButton()->click();
    if (!QTest::qWaitFor([&] { return ended; }, 10000))
        return 1;
    page->startButton()->setFocus(Qt::TabFocusReason);
    save(&window, folder, QStringLiteral("after-apply-focus-") + mode);
    window.showTab(5);
    save(&window, folder, QStringLiteral("misc-") + mode);
    return 0;
}
