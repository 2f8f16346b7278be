// An exception thrown in a slot of the desktop app, in a process of its own: the fatal-error
// dialog comes up over the window, its answer is followed, and the process ends with exit
// status 1 leaving its report.
#include "GuiTestSupport.h"

#include <QDir>
#include <QProcess>
#include <QUrlQuery>

namespace tessel::gui::test {
namespace {

TEST(FatalDialogProcessTest, ASlotThatThrowsEndsInTheDialogAndAReport) {
    struct Row {
        const char* answer;
        bool mailed;
    };
    for (const Row& row : {Row{"quit", false}, Row{"send", true}}) {
        tessel::test::TempFolder temp;
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_DATA_HOME", temp.filePath("data"));
        environment.insert("XDG_CONFIG_HOME", temp.filePath("config"));
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(TESSEL_FATAL_DIALOG_HELPER), {row.answer});
        ASSERT_TRUE(process.waitForFinished(60000)) << row.answer;
        const QString out = QString::fromUtf8(process.readAllStandardOutput());
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << row.answer;
        EXPECT_EQ(process.exitCode(), 1) << row.answer;
        EXPECT_TRUE(out.startsWith(QStringLiteral(
            "Fatal Error\nBroken Slot\n\n You can contact our support with detailed "
            "information so that we can fix this problem.\n\nInformation:  Broken Slot: A slot")))
            << row.answer << out.toStdString();
        EXPECT_TRUE(out.contains(QStringLiteral("  …\n(Remaining message omitted)"))) << row.answer;
        EXPECT_EQ(out.contains(QStringLiteral("\nmailto:support@")), row.mailed)
            << row.answer << out.toStdString();
        const QDir reports(temp.filePath("data/Tessel/Crash Reports"));
        EXPECT_EQ(reports.entryList(QDir::Files).size(), 1) << row.answer;
    }
}

}  // namespace
}  // namespace tessel::gui::test
