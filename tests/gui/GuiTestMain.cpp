// Entry point of the widget tests: an application object with widgets, on the offscreen
// platform unless another is asked for, and test-mode standard paths.
#include "gui/FocusRingStyle.h"

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Test-mode paths live under the home folder; each test process gets its own, so a test
    // that removes the data folder cannot pull it away from another running in parallel.
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    // Test mode alone would put the settings in one folder shared by every test process that
    // ctest runs side by side; each process gets its own.
    for (const auto format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, home.filePath(QStringLiteral("config")));
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessel"));
    tessel::gui::FocusRingStyle::install();  // the style the app runs with
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
