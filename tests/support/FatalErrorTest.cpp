#include "TestSupport.h"
#include "support/CrashReports.h"
#include "support/FatalError.h"
#include "support/TesselError.h"
#include "support/UncaughtException.h"

#include <QUrlQuery>

#include <stdexcept>

namespace tessel {
namespace {

QString informationOf(const AlertRequest& alert) {
    const QString marker = QStringLiteral("\n\nInformation: ");
    return alert.message.mid(alert.message.indexOf(marker) + marker.size());
}

TEST(FatalErrorTest, TheDialogShowsAtMost400CharactersOfTheDetail) {
    struct Row {
        const char* name;
        qsizetype length;
        bool cut;
    };
    const Row rows[] = {{"short", 12, false}, {"exactly 400", 400, false}, {"401", 401, true}};
    for (const Row& row : rows) {
        const QString detail = QString(row.length - 1, u'd') + u'!';
        const AlertRequest alert = fatalErrorAlert(QStringLiteral("Broken"), detail);
        const QString expected =
            row.cut ? QString(400, u'd') + QStringLiteral("  …\n(Remaining message omitted)")
                    : detail;
        EXPECT_EQ(informationOf(alert), expected) << row.name;
        EXPECT_TRUE(alert.message.startsWith(QStringLiteral(
            "Broken\n\n You can contact our support with detailed information so that we can "
            "fix this problem.\n\nInformation: ")))
            << row.name;
    }
}

TEST(FatalErrorTest, SendToSupportOpensTheProblemReportWithTheWholeDetail) {
    struct Row {
        const char* name;
        int answer;
        bool mailed;
    };
    const Row rows[] = {{"send to support", kAlertDefault, true}, {"quit", kAlertAlternate, false}};
    const QString detail = QString(401, u'x');
    SupportContext context;
    context.appName = QStringLiteral("Tessel");
    context.addresses.supportAddress = QStringLiteral("support@tessel.example");
    for (const Row& row : rows) {
        QList<AlertRequest> shown;
        QList<QUrl> opened;
        const FatalErrorFace face{[&](const AlertRequest& alert) {
                                      shown.append(alert);
                                      return row.answer;
                                  },
                                  [&](const QUrl& url) { opened.append(url); }};
        EXPECT_EQ(runFatalErrorDialog(QStringLiteral("Broken"), detail, context, face), row.answer);
        ASSERT_EQ(shown.size(), 1) << row.name;
        EXPECT_EQ(shown.first().title, QStringLiteral("Fatal Error")) << row.name;
        ASSERT_EQ(opened.size(), row.mailed ? 1 : 0) << row.name;
        if (row.mailed) {
            EXPECT_EQ(opened.first().path(), QStringLiteral("support@tessel.example"));
            EXPECT_TRUE(QUrlQuery(opened.first())
                            .queryItemValue(QStringLiteral("body"), QUrl::FullyDecoded)
                            .contains(QStringLiteral("P.S. Details: ") + detail + u'\n'));
        }
    }
}

TEST(FatalErrorTest, AnExceptionIsDescribedByItsNameReasonAndPlace) {
    struct Row {
        const char* name;
        std::exception_ptr error;
        const char* expectedName;
        const char* expectedReason;
    };
    const Row rows[] = {
        {"named error", std::make_exception_ptr(TesselError("Unsupported Tag", "No such tag")),
         "Unsupported Tag", "No such tag"},
        {"standard exception", std::make_exception_ptr(std::runtime_error("disk on fire")),
         "std::runtime_error", "disk on fire"},
        {"not an exception class", std::make_exception_ptr(42), "int", ""},
        {"terminate without exception", nullptr, "Terminated",
         "The program was ended without an exception."},
    };
    for (const Row& row : rows) {
        const UncaughtException described = describeException(row.error, QStringLiteral("slot"));
        EXPECT_EQ(described.name, QString::fromUtf8(row.expectedName)) << row.name;
        EXPECT_EQ(described.reason, QString::fromUtf8(row.expectedReason)) << row.name;
        EXPECT_TRUE(described.detail().startsWith(u' ' + described.name + QStringLiteral(": ") +
                                                  described.reason + u' ' + described.reason +
                                                  QStringLiteral(" {where: slot, thread: main}")))
            << row.name << described.detail().toStdString();
        EXPECT_FALSE(described.callStack.isEmpty()) << row.name;
    }
}

TEST(CrashReportsTest, CountsTheReportsThatBeginWithTheApplicationsName) {
    test::TempFolder temp;
    for (const char* name : {"Tessel_2024-01-01-000000_1.txt", "tessel crash", "TÉSSEL.log",
                             "Other_2024.txt", "xTessel.txt"})
        temp.writeFile(QStringLiteral("reports/") + QString::fromUtf8(name), "r");
    QStringList logs = crashLogsIn(temp.filePath("reports"), QStringLiteral("Tessel"));
    logs.sort();
    EXPECT_EQ(logs, (QStringList{"Tessel_2024-01-01-000000_1.txt", "TÉSSEL.log", "tessel crash"}));
    EXPECT_TRUE(crashLogsIn(temp.filePath("missing"), QStringLiteral("Tessel")).isEmpty());
}

TEST(CrashReportsTest, AReportIsWrittenWholeIntoAFolderMadeForIt) {
    test::TempFolder temp;
    const QString folder = temp.filePath("deep/Crash Reports");
    CrashReport report{"Tessel", "1.0", 7, "Box", "Debian", "Broken", " the detail", {}};
    report.when = QDateTime(QDate(2024, 5, 1), QTime(12, 13, 14));
    const QString path = writeCrashReport(folder, report);
    ASSERT_FALSE(path.isEmpty());
    EXPECT_EQ(crashLogsIn(folder, QStringLiteral("Tessel")).size(), 1);
    const QString text = QString::fromUtf8(test::fileBytes(path));
    EXPECT_TRUE(text.contains(QStringLiteral("Fatal error: Broken\nDetail: the detail\n")));
    EXPECT_TRUE(text.startsWith(QStringLiteral("Tessel 1.0 (7)\nDate: 2024-05-01T12:13:14")));
    // A folder that cannot be made leaves no report and says so.
    temp.writeFile("file", "x");
    EXPECT_TRUE(writeCrashReport(temp.filePath("file/sub"), report).isEmpty());
}

}  // namespace
}  // namespace tessel
