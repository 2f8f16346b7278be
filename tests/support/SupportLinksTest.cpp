#include "TestSupport.h"
#include "support/SupportLinks.h"
#include "support/SystemInfo.h"

#include <QUrlQuery>

namespace tessel {
namespace {

SupportContext context() {
    SupportContext c;
    c.addresses = {"feedback@tessel.example",         "support@tessel.example",
                   "https://tessel.example/",         "https://tessel.example/tessel/",
                   "https://tessel.example/store/t",  "appstream:org.tessel.Tessel",
                   "https://tessel.example/updates/t"};
    c.appName = QStringLiteral("Tessel");
    c.version = QStringLiteral("2.1");
    c.build = 345;
    c.machineModel = QStringLiteral("ThinkPad X1");
    c.osVersion = QStringLiteral("Debian GNU/Linux 12 (bookworm)");
    return c;
}

QString queryValue(const QUrl& url, const char* key) {
    return QUrlQuery(url).queryItemValue(QString::fromLatin1(key), QUrl::FullyDecoded);
}

TEST(SupportLinksTest, EachCodeOpensItsAddressAndOthersNothing) {
    struct Row {
        const char* name;
        int code;
        const char* expected;  // empty: opens nothing
    };
    const Row rows[] = {
        {"zero", 0, ""},
        {"beta mail", 2,
         "mailto:feedback@tessel.example?subject=Tessel%20Beta%20Versions&body=Hello%0AI%20would"
         "%20like%20to%20test%20upcoming%20beta%20versions%20of%20Tessel.%0ABye%0A"},
        {"product page", 3, "https://tessel.example/tessel/"},
        {"store page", 4, "https://tessel.example/store/t"},
        {"store application", 5, "appstream:org.tessel.Tessel"},
        {"update site", 6, "https://tessel.example/updates/t"},
        {"seven", 7, ""},
        {"largest", 255, ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(linkURL(quint8(row.code), context()).toString(QUrl::FullyEncoded),
                  QString::fromLatin1(row.expected))
            << row.name;
}

TEST(SupportLinksTest, MissingAddressesFallBackOrOpenNothing) {
    SupportContext c = context();
    c.addresses.vendorProductPage.clear();
    c.addresses.storeProductPage.clear();
    c.addresses.storeAppPage.clear();
    c.addresses.updatesProductPage.clear();
    c.addresses.feedbackEmail.clear();
    c.appName = QStringLiteral("Tessel Pro");
    // The product page: the web address and the first word of the lower-cased name.
    EXPECT_EQ(linkURL(kLinkVendorPage, c).toString(),
              QStringLiteral("https://tessel.example/tessel/"));
    for (const quint8 code : {kLinkStorePage, kLinkStoreApp, kLinkUpdatesPage})
        EXPECT_TRUE(linkURL(code, c).isEmpty()) << int(code);
    // The support mail goes to the built-in address, the beta mail to nobody.
    EXPECT_EQ(linkURL(kLinkSupportMail, c).path(), QStringLiteral("support@tessel.example"));
    EXPECT_EQ(linkURL(kLinkBetaMail, c).path(), QString());
    EXPECT_EQ(queryValue(linkURL(kLinkBetaMail, c), "subject"),
              QStringLiteral("Tessel Pro Beta Versions"));
    // An address that is no URL opens nothing rather than something mangled.
    c.addresses.storeProductPage = QStringLiteral("https://bad host/");
    EXPECT_TRUE(linkURL(kLinkStorePage, c).isEmpty());
}

TEST(SupportLinksTest, SupportMailCarriesTheMachineAndTheCrashCount) {
    struct Row {
        const char* name;
        qsizetype crashReports;
        QByteArray preferences;
        const char* bodyEnd;
    };
    const Row rows[] = {
        {"no crash reports, no Alt", 0, {}, "Software: Debian GNU/Linux 12 (bookworm)\n"},
        {"three crash reports", 3, {}, "Software: Debian GNU/Linux 12 (bookworm) Problems: 3\n"},
        {"Alt held", 0, "[General]\nLaunches=3\n",
         "Software: Debian GNU/Linux 12 (bookworm)\nW0dlbmVyYWxdCkxhdW5jaGVzPTMK"},
    };
    for (const Row& row : rows) {
        SupportContext c = context();
        c.crashReports = row.crashReports;
        c.preferences = row.preferences;
        const QUrl url = linkURL(kLinkSupportMail, c);
        EXPECT_EQ(url.scheme(), QStringLiteral("mailto")) << row.name;
        EXPECT_EQ(url.path(), QStringLiteral("feedback@tessel.example")) << row.name;
        EXPECT_EQ(queryValue(url, "subject"), QStringLiteral("Tessel v2.1 (345) Support Request"))
            << row.name;
        EXPECT_EQ(queryValue(url, "body"),
                  QStringLiteral("Insert Support Request Here\n\n\n\nP.S: Hardware: ThinkPad X1 ") +
                      QString::fromUtf8(row.bodyEnd))
            << row.name;
    }
}

TEST(SupportLinksTest, ProblemReportCarriesTheWholeDetailToSupport) {
    SupportContext c = context();
    c.crashReports = 2;
    const QString detail = QStringLiteral(" a&b=c #1 100%\n") + QString(401, u'x');
    const QUrl url = problemReportURL(c, QStringLiteral("Broken"), detail);
    EXPECT_EQ(url.path(), QStringLiteral("support@tessel.example"));
    EXPECT_EQ(queryValue(url, "subject"), QStringLiteral("Tessel v2.1 Problem Report"));
    EXPECT_EQ(queryValue(url, "body"),
              QStringLiteral("Hello\nA fatal error in Tessel occured (Broken).\n\nBye\n\n"
                             "P.S. Details: ") +
                  detail +
                  QStringLiteral("\n\n\nP.P.S: Hardware: ThinkPad X1 Software: Debian GNU/Linux "
                                 "12 (bookworm)  Problems: 2"));
}

TEST(SystemInfoTest, MachineModelIsTheFirmwareNameOrEmpty) {
    test::TempFolder temp;
    EXPECT_EQ(machineModel(temp.writeFile("product_name", "ThinkPad X1 Carbon\n")),
              QStringLiteral("ThinkPad X1 Carbon"));
    EXPECT_EQ(machineModel(temp.filePath("missing")), QString());
    EXPECT_EQ(machineModel(temp.path()), QString()) << "a folder is no model";
    EXPECT_EQ(machineModel(temp.writeFile("long", QByteArray(400, 'm'))).size(), 255);
    EXPECT_FALSE(osVersionText().isEmpty());
}

}  // namespace
}  // namespace tessel
