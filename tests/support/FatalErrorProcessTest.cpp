// Exceptions that nobody caught, in a program of their own: each ends the process with exit
// status 1 after the fatal-error dialog (printed here) and leaves one report behind.
#include "TestSupport.h"

#include <QDir>
#include <QProcess>

namespace tessel {
namespace {

struct Outcome {
    int exitCode = -1;
    QString err;
    QStringList reports;  // the texts of the reports left behind
};

Outcome runHelper(const test::TempFolder& temp, const QString& mode) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_DATA_HOME", temp.filePath("data"));
    environment.insert("XDG_CONFIG_HOME", temp.filePath("config"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TESSEL_FATAL_HELPER), {mode});
    if (!process.waitForFinished(60000))
        ADD_FAILURE() << "the helper did not finish";
    Outcome outcome{process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2,
                    QString::fromUtf8(process.readAllStandardError()),
                    {}};
    const QDir reports(temp.filePath("data/Tessel/Crash Reports"));
    for (const QString& name : reports.entryList(QDir::Files))
        outcome.reports.append(QString::fromUtf8(test::fileBytes(reports.filePath(name))));
    return outcome;
}

TEST(FatalErrorProcessTest, AnUncaughtExceptionEndsTheProcessAndLeavesAReport) {
    struct Row {
        const char* mode;
        const char* message;
        const char* reason;
        const char* where;
    };
    const Row rows[] = {
        {"slot", "Broken Slot", "The slot gave up.", "{where: event handler"},
        {"background", "std::runtime_error", "The job gave up.",
         "{where: background job, thread: worker}"},
        {"terminate", "Broken Thread", "Nobody caught it.",
         "{where: std::terminate, thread: worker}"},
    };
    for (const Row& row : rows) {
        test::TempFolder temp;
        const Outcome outcome = runHelper(temp, QString::fromLatin1(row.mode));
        EXPECT_EQ(outcome.exitCode, 1) << row.mode << outcome.err.toStdString();
        EXPECT_TRUE(outcome.err.contains(QStringLiteral("Fatal Error: ") +
                                         QString::fromUtf8(row.message) + QStringLiteral("\n\n")))
            << row.mode << outcome.err.toStdString();
        ASSERT_EQ(outcome.reports.size(), 1) << row.mode;
        const QString& report = outcome.reports.first();
        EXPECT_TRUE(
            report.contains(QStringLiteral("Fatal error: ") + QString::fromUtf8(row.message)))
            << row.mode;
        EXPECT_TRUE(report.contains(QString::fromUtf8(row.reason))) << row.mode;
        EXPECT_TRUE(report.contains(QString::fromUtf8(row.where))) << row.mode;
    }
}

}  // namespace
}  // namespace tessel
