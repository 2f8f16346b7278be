// The property list reader over its chunked tokenizer: a document reads the same wherever the
// chunks of the file end, and faults are refused naming their line, alike whether the value is
// read whole or passed over.
#include "itunes/PlistReader.h"
#include "support/TesselError.h"

#include <QBuffer>
#include <QDateTime>

#include <gtest/gtest.h>

namespace tessel {
namespace {

const QByteArray kHeader =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
    "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n";

QVariant readDocument(const QByteArray& document, bool skipping = false) {
    QByteArray bytes = document;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    itunes::plist::Reader reader(buffer, QStringLiteral("test.xml"));
    reader.begin();
    QVariant whole;
    if (skipping)
        reader.skip();
    else
        whole = reader.value();
    reader.end();
    return whole;
}

// The reason the document is refused, or empty when it is read. A value passed over is checked
// as one read whole: both must end alike.
QString failureOf(const QByteArray& document) {
    QString reasons[2];
    for (bool skipping : {false, true}) {
        try {
            readDocument(document, skipping);
        } catch (const TesselError& error) {
            EXPECT_EQ(error.name(), QStringLiteral("Import Failed"));
            reasons[skipping] = error.reason();
        }
    }
    EXPECT_EQ(reasons[0], reasons[1]);
    return reasons[0];
}

// A file is handed to the parser 64 KB at a time: a character of several bytes, an element
// name, a key or a reference cut by the end of a chunk must read as if it were whole, and the
// lines after it must still be counted right.
TEST(PlistReaderTest, ADocumentReadsTheSameWhereverItsChunksEnd) {
    const QByteArray tail =
        "<key>Caf\xC3\xA9 \xF0\x9F\x8E\xB5</key>\n<string>d\xC3\xA9j\xC3\xA0 &amp; &#233; "
        "\xF0\x9F\x8E\xB5</string>\n<key>Count</key><integer>42</integer>\n<key>When</key>"
        "<date>2001-02-03T04:05:06Z</date><key>Flag</key><true/>\n";
    const QByteArray opening = kHeader + "<plist version=\"1.0\">\n<dict><key>Pad</key><string>";
    const QVariantMap expected{
        {QStringLiteral("Café 🎵"), QStringLiteral("déjà & é 🎵")},
        {QStringLiteral("Count"), 42LL},
        {QStringLiteral("When"), QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6), Qt::UTC)},
        {QStringLiteral("Flag"), true},
    };
    const qsizetype chunk = 64 * 1024;
    for (qsizetype before = 0; before <= tail.size(); ++before) {
        const QByteArray pad(chunk - opening.size() - qsizetype(strlen("</string>")) - before, 'x');
        const QByteArray body = opening + pad + "</string>" + tail;
        const QByteArray whole = body + "</dict>\n</plist>\n";
        QVariantMap read = readDocument(whole).toMap();
        read.remove(QStringLiteral("Pad"));
        EXPECT_EQ(read, expected) << before;
        EXPECT_EQ(failureOf(whole), QString()) << before;
        EXPECT_TRUE(failureOf(body + "<key>Bad</key><integer>4x2</integer></dict></plist>")
                        .contains(u"“test.xml”, line 8: an integer value is not a whole number."))
            << before;
    }
}

TEST(PlistReaderTest, FaultsAreRefusedNamingTheirLineWhetherReadOrPassedOver) {
    QByteArray laughs = "<!DOCTYPE plist [\n<!ENTITY a \"aaaaaaaaaaaaaaaaaaaa\">";
    for (char level = 'b'; level <= 'z'; ++level)
        laughs += "<!ENTITY " + QByteArray(1, level) + " \"" +
                  ("&" + QByteArray(1, level - 1) + ";").repeated(10) + "\">";
    laughs += "]>\n<plist><string>&z;</string></plist>";
    const QByteArray value = "<plist><dict><key>Name</key><string>A &nbsp; B</string></dict>";
    const QList<std::pair<QByteArray, QString>> rows{
        {"<?xml version=\"1.0\"?>\n" + laughs, "line 3: the document declares entities."},
        {"<?xml version=\"1.0\"?>\n<!DOCTYPE plist [<!ENTITY % p \"x\">]>\n<plist/>",
         "line 2: the document declares entities."},
        {kHeader + value + "</plist>", "line 3: unknown entity “&nbsp;”."},
        {"<?xml version=\"1.0\"?>\n" + value + "</plist>", "line 2: unknown entity “&nbsp;”."},
        {kHeader + "<plist>\n<dict><key>A</key><string>caf\xC3", "Premature end of document."},
        {kHeader + "<plist>\n<dict><key>A</key><string>x</dict>\n</plist>",
         "line 4: Opening and ending tag mismatch."},
        {kHeader + "<plist>\n<array><string>x</string>\nstray</array></plist>",
         "line 5: text outside of a value."},
        {kHeader + "<plist>\n<array><date>\"021-03-04T05:06:07Z</date></array></plist>",
         "line 4: a date is not in the form 2001-02-03T04:05:06Z."},
    };
    for (const auto& [document, expected] : rows) {
        const QString reason = failureOf(document);
        EXPECT_TRUE(reason.contains(expected))
            << document.left(60).toStdString() << " → " << reason.toStdString();
    }
}

}  // namespace
}  // namespace tessel
