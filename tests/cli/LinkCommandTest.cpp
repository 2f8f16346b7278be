// tessel-cli link and support-mail, end to end: the address each prints, and the crash
// reports and preferences the support mail carries.
#include "CliTestSupport.h"
#include "support/SupportLinks.h"
#include "support/SystemInfo.h"

#include <QUrlQuery>

namespace tessel::test {
namespace {

class LinkCommandTest : public CliTest {
  protected:
    static QString bodyOf(const QString& printed) {
        return QUrlQuery(QUrl(printed.trimmed()))
            .queryItemValue(QStringLiteral("body"), QUrl::FullyDecoded);
    }
};

TEST_F(LinkCommandTest, PrintsTheAddressOfALinkCodeAndNothingForOthers) {
    const QString feedback = VendorAddresses::configured().feedbackEmail;
    struct Row {
        QStringList arguments;
        int exitCode;
        QString out;
        QString err;
    };
    const Row rows[] = {
        {{"link", "2", "--print"},
         0,
         "mailto:" + feedback +
             "?subject=Tessel%20Beta%20Versions&body=Hello%0AI%20would%20like%20to%20test%20"
             "upcoming%20beta%20versions%20of%20Tessel.%0ABye%0A\n",
         ""},
        {{"link", "--print", "3"}, 0, VendorAddresses::configured().vendorProductPage + "\n", ""},
        {{"link", "0", "--print"}, 1, "", "Link code 0 opens nothing.\n"},
        {{"link", "7", "--print"}, 1, "", "Link code 7 opens nothing.\n"},
    };
    for (const Row& row : rows) {
        const CliRun result = run(row.arguments);
        EXPECT_EQ(result.exitCode, row.exitCode) << row.arguments.join(' ').toStdString();
        EXPECT_EQ(result.out, row.out) << row.arguments.join(' ').toStdString();
        EXPECT_EQ(result.err, row.err) << row.arguments.join(' ').toStdString();
    }
}

TEST_F(LinkCommandTest, ArgumentsThatAreNoLinkAreUsageErrors) {
    for (const QStringList& arguments :
         {QStringList{"link"}, {"link", "two"}, {"link", "1", "2"}, {"support-mail", "extra"}}) {
        const CliRun result = run(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(result.out.isEmpty()) << arguments.join(' ').toStdString();
    }
}

TEST_F(LinkCommandTest, TheSupportMailCountsCrashReportsAndAttachesPreferencesOnRequest) {
    const QString hardwareLine = QStringLiteral("P.S: Hardware: ") + machineModel() +
                                 QStringLiteral(" Software: ") + osVersionText();
    const QByteArray preferences = "[General]\nLaunches=4\n";
    temp.writeFile("config/Tessel/Tessel.conf", preferences);

    CliRun result = run({"support-mail", "--print"});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_TRUE(bodyOf(result.out).endsWith(hardwareLine + u'\n')) << result.out.toStdString();

    for (const char* name : {"Tessel_1.txt", "Tessel_2.txt", "tessel_3.txt", "Other.txt"})
        temp.writeFile(QStringLiteral("data/Tessel/Crash Reports/") + name, "report");
    result = run({"support-mail", "--print"});
    EXPECT_TRUE(bodyOf(result.out).endsWith(hardwareLine + QStringLiteral(" Problems: 3\n")))
        << result.out.toStdString();

    // Link 1 is the same mail; with the preferences it ends in the file as Base64.
    result = run({"link", "1", "--print", "--with-preferences"});
    EXPECT_TRUE(bodyOf(result.out)
                    .endsWith(QStringLiteral(" Problems: 3\n") +
                              QString::fromLatin1(preferences.toBase64())))
        << result.out.toStdString();
}

}  // namespace
}  // namespace tessel::test
